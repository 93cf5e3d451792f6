// The slab (element types 19, 20, 21): its solid, which beam and wall rules
// of other elements reshape by handing it polygons to add or cut away, the
// curved solid of an arched slab, the calculators the slab rules store on it,
// its over-height elevations and the original-quantity details of slab
// quantities. A slab solid keeps its top face second to last and its bottom
// face last (an arched one: its top and bottom facet runs as its data says).
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKSlabCalculator final : public TQTKCalculatorEDO,
                                 public IQTKSlabCalculator,
                                 public virtual IQTKOverhighCalcHolder {
public:
    TQTKSlabCalculator(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return Kept(volumeCalc_); }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) override { Keep(volumeCalc_, std::move(calc)); }
    std::shared_ptr<TQTKShellCalc3d> GetAreaCalc() override { return Kept(areaCalc_); }
    void SetAreaCalc(std::shared_ptr<TQTKShellCalc3d> calc) override { Keep(areaCalc_, std::move(calc)); }
    std::shared_ptr<TQTKShellCalc3d> GetProjectiveAreaCalc() override { return Kept(projectiveCalc_); }
    void SetProjectiveAreaCalc(std::shared_ptr<TQTKShellCalc3d> calc) override
    {
        Keep(projectiveCalc_, std::move(calc));
    }
    std::shared_ptr<TQTKShellCalc3d> GetFormboardCalc() override { return Kept(formboardCalc_); }
    void SetFormboardCalc(std::shared_ptr<TQTKShellCalc3d> calc) override { Keep(formboardCalc_, std::move(calc)); }
    std::shared_ptr<TQTKShellCalc3d> GetSideFormboardCalc() override { return Kept(sideFormboardCalc_); }
    void SetSideFormboardCalc(std::shared_ptr<TQTKShellCalc3d> calc) override
    {
        Keep(sideFormboardCalc_, std::move(calc));
    }
    std::shared_ptr<TVRMPolyhedronLines3d> GetContactWallLengthCalc() override { return Kept(contactWallCalc_); }
    void SetContactWallLengthCalc(std::shared_ptr<TVRMPolyhedronLines3d> calc) override
    {
        Keep(contactWallCalc_, std::move(calc));
    }
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() override { return Kept(overhighVolumeCalc_); }
    void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) override
    {
        Keep(overhighVolumeCalc_, std::move(calc));
    }
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() override
    {
        return Kept(overhighFormboardCalc_);
    }
    void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) override
    {
        Keep(overhighFormboardCalc_, std::move(calc));
    }
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighSideFormboardCalc() override
    {
        return Kept(overhighSideFormboardCalc_);
    }
    void SetOverhighSideFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) override
    {
        Keep(overhighSideFormboardCalc_, std::move(calc));
    }
    // The over-height volume and formwork (the slab keeps no value list).
    TQTKOverhighCalcSet GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build) override;
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildOverhighSideFormboardCalc(
        const std::function<std::shared_ptr<TVRMOverhighShellCalc3d>()>& build) override;
    bool IsCurvedFaceShape() override;
    const TVRMPolyhedron3d* GetCurvedSolid() override;
    double GetSettingAreaMM2(const TableSourceRef& ruleContext, std::string_view key) override;
    double GetThickness() override { return thickness_; }
    void AddAddPolygon(int writerId, std::unique_ptr<TVRMMultiPolygon2d> polygon) override;
    void AddDeductPolygon(int writerId, std::unique_ptr<TVRMMultiPolygon2d> polygon) override;
    std::vector<const TVRMMultiPolygon2d*> GetAddPolygons() override;
    std::vector<const TVRMMultiPolygon2d*> GetDeductPolygons() override;
    std::shared_ptr<TQTKOverhighElev> GetOverhighElev() override { return Kept(overhighElev_); }
    void SetOverhighElev(std::shared_ptr<TQTKOverhighElev> elev) override { Keep(overhighElev_, std::move(elev)); }
    const TVRMMultiPolygon2d* GetCalcPolygon() override;

    // Decides the curved flag and applies the add and deduct polygons: the
    // outline united with every add polygon, less every deduct polygon, is
    // the calculation polygon; with an area, the slab's solid is rebuilt on
    // it (on the top plane of the current solid; an arched slab: its curved
    // solid). An outline that cannot be resolved leaves everything as it was.
    void ClearQtyItems() override;
    // Drops the calculators, polygons, elevations and curved solid, and takes
    // the host's solid again.
    void FreeCalcCache() override;
    // Original-quantity details of slab quantities: the bottom face (85, 133,
    // 144) or the solid (86, 134, 145, 628, 641) while the container is
    // empty; for 86 and 134 after a rule's details, the shell details go and
    // the solid detail is added unless one is already there.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // The bottom face indexes of a slab solid: the last face, or an arched
    // solid's bottom facet run.
    static std::vector<int> BottomFaceIndexes(const TVRMPolyhedron3d& solid);

private:
    ~TQTKSlabCalculator() override;

    // Polygons under their writer's record id, ascending (stable for equal ids).
    using TPolygonList = std::vector<std::pair<int, std::shared_ptr<TVRMMultiPolygon2d>>>;
    static void Insert(TPolygonList& list, int writerId, std::unique_ptr<TVRMMultiPolygon2d> polygon);
    std::vector<const TVRMMultiPolygon2d*> Items(const TPolygonList& list);
    std::unique_ptr<TVRMPolyhedron3d> BuildCalcSolid(const TVRMMultiPolygon2d& plan, bool curved);

    const double thickness_;
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> areaCalc_;
    std::shared_ptr<TQTKShellCalc3d> projectiveCalc_;
    std::shared_ptr<TQTKShellCalc3d> formboardCalc_;
    std::shared_ptr<TQTKShellCalc3d> sideFormboardCalc_;
    std::shared_ptr<TVRMPolyhedronLines3d> contactWallCalc_;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolumeCalc_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboardCalc_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighSideFormboardCalc_;
    std::shared_ptr<TVRMMultiPolygon2d> calcPolygon_;
    TPolygonList addPolygons_;
    TPolygonList deductPolygons_;
    std::shared_ptr<TQTKOverhighElev> overhighElev_;
    bool curved_ = false;
    std::shared_ptr<TVRMPolyhedron3d> curvedSolid_;
};
