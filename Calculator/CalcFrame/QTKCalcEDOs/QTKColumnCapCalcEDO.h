// The column cap (element type 27), the enlarged head of a column under a
// slab: its object hands out calculators over its volume, its formwork (every
// face not looking straight up), its side faces and its lowest level face,
// and keeps the over-height calculators its rules store.
#pragma once

#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

// Face groups of a cap's solid (length tolerance; a face lies at an elevation
// when its plane's reference point does): Sides every face but a downward one
// at the lowest elevation and an upward one at the highest; Lowest the first
// level face at the lowest elevation (-1 when none); Formboard every face not
// looking straight up.
struct TQTKColumnCapFaces {
    std::vector<int> sides;
    int lowest = -1;
    std::vector<int> formboard;
};
TQTKColumnCapFaces ClassifyColumnCapFaces(const TVRMPolyhedron3d& solid);

class TQTKColumnCapCalculatorEDO final : public TQTKCalculatorEDO,
                                         public IQTKColumnCapCalculatorEDO,
                                         public virtual IQTKOverhighCalcHolder {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetTopFaceShellCalc() override;
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() override { return Kept(overhighVolume_); }
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() override { return Kept(overhighFormboard_); }
    void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) override;
    void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) override;
    std::unique_ptr<TVRMPolyhedronShell3d> CreateFormboardShell() override;
    std::shared_ptr<TFloatList> GetOverhighValueList() override { return Kept(overhighValues_); }
    void SetOverhighValueList(std::shared_ptr<TFloatList> list) override;
    TQTKOverhighCalcSet GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build) override
    {
        return GetOrBuildOverhighSetOf(*this, build);
    }

    // Drops the seven fields (each freed once no rule holds it).
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

private:
    ~TQTKColumnCapCalculatorEDO() override;
    void DropFields();
    std::shared_ptr<TQTKShellCalc3d> ShellCalc(std::unique_ptr<TVRMPolyhedronShell3d> shell);

    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> formboardCalc_;
    std::shared_ptr<TQTKShellCalc3d> sideCalc_;
    std::shared_ptr<TQTKShellCalc3d> lowestCalc_;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolume_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboard_;
    std::shared_ptr<TFloatList> overhighValues_;
};
