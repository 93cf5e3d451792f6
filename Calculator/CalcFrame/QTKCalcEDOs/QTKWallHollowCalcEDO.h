// The common object of the openings that sit in a host wall: doors,
// windows, door-windows, plain openings and alcoves (element types 4, 5, 6, 7
// and 13). It gives the wall, beam and column rules the opening's cutting
// solid (the clear opening inside its frame, reaching well beyond both faces
// of the wall), its outline on a wall's elevation plane and its footprint
// across the wall; the original-quantity detail of the opening's own solid;
// and a relation solid that reaches through the host wall.
//
// Threads: the cutting solid, the plan polygon and the outline on a wall are
// read, built and kept under the object's section lock, each checked again
// once the lock is held. What comes from another element object (a wall's
// lines) is fetched before the lock is taken, so the lock is never held
// while another object works.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"

class IQTKLineShape;
class IQTKPointShape;

// The host wall's lines an alcove's footprint is laid on (copies).
struct TQTKHollowWallLines {
    std::optional<TVRMCustomLine2d> mid, left, right;
};

class TQTKWallHollowCalcEDO : public TQTKCalculatorEDO, public virtual IQTKWallHollowCalcEDO {
public:
    TQTKWallHollowCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    const TVRMPolyhedron3d* GetCutSolid() override;
    Ref<IQTKSectionPoly> GetSectionPolyOnWall(IRDXRecord* wall) override;
    const TVRMMultiPolygon2d* GetPlanPolygon() override;

    // Takes the host wall (the parent record) and forgets the outline on a
    // wall together with the wall it was built for.
    void Prepare(IRDXRecord* record) override;
    // With an empty detail container: the opening's solid (within its master
    // element's solid when it has one, "EDOPID") as an original-quantity detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // The wall the opening sits in; nil without one (or before preparation).
    RecordRef GetHostWallRecord() const;

protected:
    ~TQTKWallHollowCalcEDO() override;

    // The drawn solid, reaching across the host wall and beyond it by half
    // the wall's width (arc walls) or an eighth of it.
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;

    // Windows, openings and alcoves: the clear opening inside the frame
    // ("FillingWidth", "FillingHeight" halved on each side).
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildCutSolid();
    // The wall lines BuildPlanPolygon needs, fetched before the lock is
    // taken (none by default).
    virtual TQTKHollowWallLines GatherPlanWallLines() { return {}; }
    // The full opening width across the host wall's whole thickness.
    virtual std::unique_ptr<TVRMMultiPolygon2d> BuildPlanPolygon(const TQTKHollowWallLines& lines);

    // Where the opening sits in its host wall: the wall's axis line, its
    // width and the distance from the axis to its left face, and the position
    // of the insertion point along the axis.
    struct THostPlace {
        TVRMCustomLine2d axis;
        double width = 0.0;
        double leftOffset = 0.0;
        double position = 0.0;
    };
    // False without a host wall with a line shape or without a point shape.
    bool GetHostPlace(THostPlace& place) const;
    // The band prism across the host wall (8 wall widths, 3.5 beyond each
    // face) over [centre - half, centre + half] of the axis, from bottom to
    // top; nil when the piece is narrower or lower than the tolerance.
    static std::unique_ptr<TVRMPolyhedron3d> BuildWallBandPrism(const THostPlace& place, double centre, double half,
                                                                double bottom, double top);
    // The cutting solid of an opening whose frame takes SideFrame off each
    // side, BottomFrame off the bottom and TopFrame off the top: the band
    // prism over the clear opening, empty when nothing is left; the opening's
    // own solid when it has a section of its own ("SectionTypeID" not 0) or
    // no host wall.
    std::unique_ptr<TVRMPolyhedron3d> BuildClearCutSolid(double sideFrame, double bottomFrame, double topFrame);
    // A copy of the opening's own solid.
    std::unique_ptr<TVRMPolyhedron3d> CopyOwnSolid();
    const IQTKPointShape* GetPointShape() const;
    // A property of the opening (0 when absent) and whether it has it.
    double PropFloat(std::string_view name) const;
    bool HasProp(std::string_view name) const;
    int PropInteger(std::string_view name) const;

private:
    Ref<IQTKSectionPoly> BuildSectionPoly(const TVRMCustomLine2d& wallLine) const;

    RecordRef hostWall_;
    RecordRef cachedWall_;
    Ref<IQTKSectionPoly> cachedSection_;
    std::unique_ptr<TVRMCmpxchgLock> sectionLock_;
    std::unique_ptr<TVRMPolyhedron3d> cutSolid_;
    std::unique_ptr<TVRMMultiPolygon2d> planPolygon_;
};
