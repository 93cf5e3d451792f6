// The raft foundation (element type 48): a slab-like foundation on an outline
// with a thickness and possibly bevelled edges. Its object keeps what the raft
// rules store on it (volume, formwork, vertical and bevel faces), builds its
// bottom shell, plan projection and brick mould, decides whether it needs a
// foundation scaffold and with which outline, and keeps the element ids the
// rules have handled for it.
//
// The scaffold test and the 500 mm reach are shared with the isolated
// foundation: foundations that need a scaffold relate the rafts and isolated
// foundations whose reach meets theirs, for the scaffold deductions.
#pragma once

#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

struct TVRMPoint3d;

// Whether the foundation needs a foundation scaffold: its depth elevation lies
// more than 2000 mm (length tolerance) below the reference elevation. The
// reference is the "StructuralElevation" of the first floor of the element's
// region when its region flag is set (and that floor exists), else the
// project ground elevation. The depth elevation is the element's "BottomElev";
// with Condition 0 also the bottom of each bedding around it ("TopElev", else
// the lower of "StartPtTopElev" and "EndPtTopElev", less "Thickness") when
// lower. A failure on the way is raised again as a std::runtime_error whose
// message starts with the element's record id and keeps the cause.
bool IsFDScaffoldRequired(IQTKElementDrawObj* drawObj, int condition);
// Clears List and fills it with the beddings (type 55) that the box service
// finds at the element's box; True when any. The business data must hold
// "ElementDrawObj" (assertion).
bool CollectBeddingsAround(IQTKElementDrawObj* drawObj, TRecordList& list);

// The first ring of the element's outline grown outward by 500 mm; the ring
// itself when it cannot be grown; empty without an outline.
std::unique_ptr<TVRMMultiPolygon2d> BuildFDExpandedPolygon(IQTKElementDrawObj* drawObj);
// The scaffold outline: the shape's outline grown outward by Distance (the
// outline itself when it cannot be grown).
std::unique_ptr<TVRMMultiPolygon2d> BuildFDScaffoldOutline(IQTKElementDrawObj* drawObj, double distance);
// Whether the reach of a raft or isolated foundation (the other's expanded
// polygon, else its outline) meets OwnExpanded: their first rings are not
// apart. False for an empty polygon on either side.
bool IsWithinFDReach(const TVRMMultiPolygon2d& ownExpanded, IRDXRecord* other);

// The faces of a raft's solid that make its bottom: those whose normal has a
// positive inner product with ShapeNormal (the face shape's bottom plane
// normal) and is not horizontal. Level faces (normal straight down) go to
// Bottom, the others to Inclined, by index in face order.
void ClassifyRaftBottomFaces(const TVRMPolyhedron3d& solid, const TVRMPoint3d& shapeNormal, std::vector<int>& bottom,
                             std::vector<int>& inclined);

class TQTKRaftFDCalcEDO final : public TQTKCalculatorEDO, public IQTKRaftFDCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return Kept(volumeCalc_); }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) override { Keep(volumeCalc_, std::move(calc)); }
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShell() override { return Kept(formboardShell_); }
    void SetFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(formboardShell_, std::move(shell)); }
    std::shared_ptr<TQTKPlanarCalc2d> GetProjectiveCalc() override;
    std::shared_ptr<TQTKFDBottomAreaShellCalc3d> GetBottomShell() override;
    Ref<IQTKPolyhedron3dIntf> GetBottomAreaCalc() override { return Kept(bottomAreaSolid_); }
    int AddHandledId(int id) override;
    bool IsHandledId(int id) override;
    std::shared_ptr<TQTKShellCalc3d> GetVerticalShell() override { return Kept(verticalShell_); }
    void SetVerticalShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(verticalShell_, std::move(shell)); }
    std::shared_ptr<TQTKShellCalc3d> GetBevelShell() override { return Kept(bevelShell_); }
    void SetBevelShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(bevelShell_, std::move(shell)); }
    const TVRMMultiPolygon2d* GetScaffoldPolygon() override;
    std::shared_ptr<TQTKPlanarCalc2d> GetScaffoldCalc() override;
    const TVRMMultiPolygon2d* GetExpandedPolygon() override;
    void SetBottomAreaCalc(std::unique_ptr<TVRMPolyhedron3d> solid) override;
    std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() override;

    // The union of the sub-solids, less the raft's solid when an edge of the
    // first outline ring carries edge information (a bevel): the brick mould.
    TVRMPolyhedron3d* GetMergedSolid() override;
    // The inherited test; a sump whose parent is this raft; the units of a
    // related isolated foundation join the related list; rafts and isolated
    // foundations within reach when this raft needs a scaffold.
    bool IsIntersectWith(IRDXRecord* record) override;
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    // With an empty detail container: quantity 401 or 630 makes a new volume
    // calculator, 409 the projective calculator.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

private:
    ~TQTKRaftFDCalcEDO() override;

    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> formboardShell_;
    std::shared_ptr<TQTKPlanarCalc2d> projectiveCalc_;
    std::shared_ptr<TQTKFDBottomAreaShellCalc3d> bottomShell_;
    Ref<IQTKPolyhedron3dIntf> bottomAreaSolid_;
    std::shared_ptr<TQTKShellCalc3d> verticalShell_;
    std::shared_ptr<TQTKShellCalc3d> bevelShell_;
    std::shared_ptr<TQTKSolidCalc3d> brickMoldCalc_;
    std::shared_ptr<TVRMMultiPolygon2d> scaffoldPolygon_;
    std::shared_ptr<TQTKPlanarCalc2d> scaffoldCalc_;
    std::shared_ptr<TVRMMultiPolygon2d> expandedPolygon_;
    std::vector<int> handledIds_;
    std::shared_ptr<TVRMPolyhedron3d> brickMoldSolid_;
    bool brickMoldBuilt_ = false;
};
