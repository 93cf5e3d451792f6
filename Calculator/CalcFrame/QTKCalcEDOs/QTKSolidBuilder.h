// Solids of line elements that the plain swept section does not give: walls
// and wall faces with sloping tops built between their side lines, beams
// built the same way, arched, haunched and gradient beams, each also grown by
// an offset for finishes and formwork. Every routine returns a new solid
// owned by the caller, or nil when it does not apply (the caller then builds
// its own).
#pragma once

#include <memory>

class IQTKElementDrawObj;
class IQTKLineEntBaseCalcEDO;
class IQTKBeamCalcEDO;
class TVRMCustomLine2d;
class TVRMPolyhedron3d;
struct TQTKArchBeamInfo;

class TQTKSolidBuilder {
public:
    TQTKSolidBuilder() = delete;

    // The prism between the element's side lines, by its type: walls and wall
    // faces (0, 1, 36, 37, 38, 68, 86), beams (15-18) that are not arched,
    // gradient or haunched, and 47, 51, 69, 70, 72, 81, 84, when the section
    // is a prism; never for an arc axis.
    static std::unique_ptr<TVRMPolyhedron3d> BuildLineEntSolid(IQTKLineEntBaseCalcEDO* element);
    static bool IsArcLineShape(IQTKLineEntBaseCalcEDO* element);
    // "SectionTypeID" 0, or another type whose section is a rectangle (-1 and 1 never).
    static bool IsPrismSection(const IQTKElementDrawObj* drawObj);
    // The prism between lines A and B with the element's elevations at their
    // ends; nil unless the top is above the bottom at all four end points.
    static std::unique_ptr<TVRMPolyhedron3d> BuildPrismBetweenLines(const IQTKElementDrawObj* drawObj,
                                                                    const TVRMCustomLine2d& a,
                                                                    const TVRMCustomLine2d& b);
    static std::unique_ptr<TVRMPolyhedron3d> BuildSolidBetweenLines(const IQTKElementDrawObj* drawObj,
                                                                    const TVRMCustomLine2d& a,
                                                                    const TVRMCustomLine2d& b);
    // The same grown by Offset down and up (no elevation test); nil for an arc axis.
    static std::unique_ptr<TVRMPolyhedron3d> BuildExpandedSolidBetweenLines(const IQTKElementDrawObj* drawObj,
                                                                            const TVRMCustomLine2d& a, double offset,
                                                                            const TVRMCustomLine2d& b);
    // The section swept along Line, its top on the top elevations at the line's ends.
    static std::unique_ptr<TVRMPolyhedron3d> BuildSectionSolidAlongLine(const IQTKElementDrawObj* drawObj,
                                                                        const TVRMCustomLine2d& line, bool flag = true);
    // Arched, haunched or gradient beams grown by Offset, along the element's
    // extended middle line; nil for any other element.
    static std::unique_ptr<TVRMPolyhedron3d> BuildOffsetSolid(const IQTKElementDrawObj* drawObj, double offset);

    // Moves the arch description's positions onto Line (measured from the
    // point of Line nearest the axis line's start).
    static void ShiftArchInfo(TQTKArchBeamInfo& info, const TVRMCustomLine2d& line, const TVRMCustomLine2d& axis);
    // Grows every arch part by Offset at both ends, lengthening Line where the
    // part would leave it; a part of shape kind 2 also moves its rise outwards.
    static void ExtendArchInfo(TQTKArchBeamInfo& info, int offset, TVRMCustomLine2d& line);
    static std::unique_ptr<TVRMPolyhedron3d> BuildArchBeamSolid(const IQTKElementDrawObj* drawObj,
                                                                const TVRMCustomLine2d& line, double axisOffset,
                                                                double width);
    static std::unique_ptr<TVRMPolyhedron3d> BuildArchBeamOffsetSolid(const IQTKElementDrawObj* drawObj,
                                                                      const TVRMCustomLine2d& line, double offset,
                                                                      double axisOffset, double width);

    // The piece of the axis line from where the beam's height, varying
    // linearly from "SectionHeight" to "EndPtGradChangeHeight" (each grown by
    // twice Offset), would be 0 to Line's far end; a copy of Line when the
    // two heights are equal.
    static TVRMCustomLine2d GetGradientBeamLine(const IQTKElementDrawObj* drawObj, const TVRMCustomLine2d& line,
                                                double offset);
    static std::unique_ptr<TVRMPolyhedron3d> BuildGradientBeamSolid(const IQTKElementDrawObj* drawObj,
                                                                    const TVRMCustomLine2d& line, double axisOffset,
                                                                    double width);
    static std::unique_ptr<TVRMPolyhedron3d> BuildGradientBeamOffsetSolid(const IQTKElementDrawObj* drawObj,
                                                                          const TVRMCustomLine2d& line, double offset,
                                                                          double axisOffset, double width);
    // Gradient beams as above, any other (not arched) element its section along Line.
    static std::unique_ptr<TVRMPolyhedron3d> BuildSolidAlongLine(const IQTKElementDrawObj* drawObj,
                                                                 const TVRMCustomLine2d& line);
    // The section grown by Offset along Line, with the grown haunches.
    static std::unique_ptr<TVRMPolyhedron3d> BuildHaunchedBeamOffsetSolid(const IQTKElementDrawObj* drawObj,
                                                                          const TVRMCustomLine2d& line, double offset,
                                                                          double axisOffset, double width);
    // A copy of Solid with the beam's haunches united into it.
    static std::unique_ptr<TVRMPolyhedron3d> BuildHaunchedBeamSolid(IQTKBeamCalcEDO* beam,
                                                                    const TVRMPolyhedron3d& solid);
};
