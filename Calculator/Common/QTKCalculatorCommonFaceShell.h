// Face shells, sloped faces and sloped areas: which faces of an element's
// solid are tops, bottoms or sides, shells made of them, the handling of
// sloped and arched face elements, and the area of a plan polygon laid on a
// sloped surface.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class IRDXRecord;
class IQTKElementDrawObj;
class IQTKFaceShape;
class IQTKFaceElevInfo;
class TQTKShellCalc3d;
class TVRMCustomLine2d;
class TVRMMultiPolygon2d;
class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;
struct TVRMPoint3d;
using TVRMVector3d = TVRMPoint3d;

// Direction codes of a face against a plan line: 1 and 2 the two sides of the
// line (left, right), 3 bottom, 4 top, 5 along the line, 0 invalid.
enum : int {
    CQTKFaceDirInvalid = 0,
    CQTKFaceDirLeft = 1,
    CQTKFaceDirRight = 2,
    CQTKFaceDirBottom = 3,
    CQTKFaceDirTop = 4,
    CQTKFaceDirAlong = 5,
};

// A set of codes 0..7 held in one byte: code c is bit (1 << c). The slope
// classes of BuildShellBySlope use the same form: 2 steep, 4 upward, 8 downward.
using TQTKFaceCodeSet = std::uint8_t;
constexpr TQTKFaceCodeSet MakeFaceCodeSet(std::initializer_list<int> codes)
{
    TQTKFaceCodeSet set = 0;
    for (int code : codes)
        if (code >= 0 && code <= 7)
            set = static_cast<TQTKFaceCodeSet>(set | (1u << code));
    return set;
}
constexpr bool FaceCodeSetHas(TQTKFaceCodeSet set, int code)
{
    return code >= 0 && code <= 7 && (set & (1u << code)) != 0;
}

// Slope classes of BuildShellBySlope.
inline constexpr TQTKFaceCodeSet CQTKSlopeSteep = 2;
inline constexpr TQTKFaceCodeSet CQTKSlopeUp = 4;
inline constexpr TQTKFaceCodeSet CQTKSlopeDown = 8;

// Shells of chosen faces, in face order; an empty shell when no face is
// chosen. The caller owns every returned shell.
std::unique_ptr<TVRMPolyhedronShell3d> BuildFaceShell(const TVRMPolyhedron3d& solid, const std::vector<int>& faces);
std::unique_ptr<TVRMPolyhedronShell3d> BuildNonVerticalFaceShell(const TVRMPolyhedron3d& solid);
// Upward faces (Up) or downward faces.
std::unique_ptr<TVRMPolyhedronShell3d> BuildTopOrBottomFaceShell(const TVRMPolyhedron3d& solid, bool up);
std::unique_ptr<TVRMPolyhedronShell3d> BuildVerticalFaceShell(const TVRMPolyhedron3d& solid);

// A face element whose top is sloped-curved: elevation kind 4, 5 or 6.
bool IsSlopedFaceShape(const IQTKFaceShape* shape);
// Whether a curved top rises from its base (a positive radius or rise);
// asserts a sloped shape.
bool IsSlopedFaceRising(const IQTKFaceShape* shape);
// The faces on the outer side of a curved top (Up) or on its inner side:
// upward faces of a rising surface, downward faces of a sagging one; never
// vertical faces.
std::unique_ptr<TVRMPolyhedronShell3d> BuildSlopeSideFaceShell(const TVRMPolyhedron3d& solid,
                                                               const IQTKFaceShape& shape, bool up);
// Upward (Up) or downward faces; for an arched top also the vertical faces at
// the foot of the arch that face away from (Up) or towards its axis.
std::unique_ptr<TVRMPolyhedronShell3d> BuildSlopedTopOrBottomShell(const TVRMPolyhedron3d& solid,
                                                                   const IQTKFaceShape& shape, bool up);
// The part of the solid over the plan polygon, and of it the faces that
// BuildSlopedTopOrBottomShell takes as top for the record's face shape.
std::unique_ptr<TVRMPolyhedronShell3d> BuildClippedTopShell(IRDXRecord* record, const TVRMPolyhedron3d& solid,
                                                            const TVRMMultiPolygon2d& polygon);
// Deletes the faces that lie above (Above) or below the face shape's surface.
void DeleteFacesOffSlope(TVRMPolyhedronShell3d& shell, const IQTKFaceShape& shape, bool above);

// Area of a plan polygon laid on a sloped surface. Slope definitions: a
// ratio, three points, an edge and a point, a level face (area unchanged),
// an arched (cylinder), domed (sphere) or conical surface (a zero rise is
// level); any other surface scales by its own slope factor. A degenerate
// definition (three points in a line, a vertical plane) gives 0.
double GetSlopedSurfaceArea(const TVRMMultiPolygon2d& polygon, const IQTKFaceElevInfo* slope);

// Subtracts a solid from the shell calculator, showing the record's own
// solid in the deduction detail; returns the area removed.
double SubtractElementSolidFromShell(TQTKShellCalc3d& calc, const TVRMPolyhedron3d& solid, IRDXRecord* record,
                                     int kinds, bool formulaText);

// A polygon laid on the plane of the record's face shape (selector true: its
// top surface) as a one-face shell; an empty shell without a face shape.
std::unique_ptr<TVRMPolyhedronShell3d> BuildFaceShapeShell(IRDXRecord* record, const TVRMMultiPolygon2d& polygon,
                                                           bool top);
// The draw object's own outline on its face-shape plane.
std::unique_ptr<TVRMPolyhedronShell3d> BuildFaceShapeOutlineShell(IQTKElementDrawObj* drawObj, bool top);

// Direction code of a face with a unit normal, a point on it, against a plan
// line and a formwork angle in degrees: a face steeper than the angle is a
// side (1 left, 2 right, 5 along the line); any other face is top (4) or
// bottom (3). An angle of 0 or less makes only level faces top or bottom. A
// zero normal is an assertion failure.
int ClassifyFaceDirection(const TVRMVector3d& normal, const TVRMPoint3d& point, const TVRMCustomLine2d& line,
                          double angle);
// The faces (not in Skip) whose direction code is in Codes, in face order.
void GetFaceIndicesByDirection(const TVRMPolyhedron3d& solid, const TVRMCustomLine2d& line, TQTKFaceCodeSet codes,
                               std::vector<int>& indices, const std::vector<int>& skip, double angle);
// Codes exactly {5}: the given faces themselves. Codes holding 5 among
// others: every face of those codes. Otherwise the faces of those codes other
// than the given ones.
std::unique_ptr<TVRMPolyhedronShell3d> BuildShellByDirection(const TVRMPolyhedron3d& solid,
                                                             const TVRMCustomLine2d& line, TQTKFaceCodeSet codes,
                                                             const std::vector<int>& faces, double angle);
// Faces by slope class against an angle in degrees (CQTKSlopeSteep, Up, Down).
std::unique_ptr<TVRMPolyhedronShell3d> BuildShellBySlope(const TVRMPolyhedron3d& solid, TQTKFaceCodeSet classes,
                                                         double angle);
