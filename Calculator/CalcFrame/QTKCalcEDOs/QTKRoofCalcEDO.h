// The roof (element type 67). Its object keeps the area and waterproof
// calculators the roof rules store (a curved roof builds them from its
// solid's downward faces) and the id of the quantity being calculated.
#pragma once

#include <atomic>
#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKRoofCalcEDO final : public TQTKCalculatorEDO, public IQTKRoofCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() override { return ShellCalc(areaShellCalc_); }
    void SetAreaShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) override { Keep(areaShellCalc_, std::move(calc)); }
    std::shared_ptr<TQTKShellCalc3d> GetWaterproofShellCalc() override { return ShellCalc(waterproofShellCalc_); }
    void SetWaterproofShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) override
    {
        Keep(waterproofShellCalc_, std::move(calc));
    }
    int GetCurrentQtyItemID() override { return currentQtyItemId_.load(); }
    bool IsCurvedFaceShape() override { return curved_.load(); }

    // Reads again whether the roof is curved.
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    // Keeps the quantity's id as the current one; returns False.
    bool AddOriginalQtyDetail(IRDXRecord* qtyRecord) override;

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTKRoofCalcEDO() override;
    std::shared_ptr<TQTKShellCalc3d> ShellCalc(std::shared_ptr<TQTKShellCalc3d>& slot);

    std::shared_ptr<TQTKShellCalc3d> areaShellCalc_;
    std::shared_ptr<TQTKShellCalc3d> waterproofShellCalc_;
    std::atomic<int> currentQtyItemId_{0};
    std::atomic<bool> curved_{false};
};
