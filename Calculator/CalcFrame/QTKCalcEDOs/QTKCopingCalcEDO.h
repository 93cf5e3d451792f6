// The coping (element type 70): a section laid along a wall top. Its object
// keeps the volume, formwork and out-area calculators of the coping rules;
// copings join only copings.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"

class TQTKCopingCalcEDO final : public TQTKHasSectionInfoLineEntCalcEDO, public IQTKCopingCalcEDO {
public:
    using TQTKHasSectionInfoLineEntCalcEDO::TQTKHasSectionInfoLineEntCalcEDO;

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetOutAreaCalc() override { return Kept(outAreaCalc_); }
    void SetOutAreaCalc(std::shared_ptr<TQTKShellCalc3d> calc) override { Keep(outAreaCalc_, std::move(calc)); }

    void FreeCalcCache() override;
    // With an empty detail container, by quantity: 486 and 642 make the volume
    // calculator, 487 the formwork calculator, 603 adds a detail of the
    // element's own solid (m3), 638 reads the out-area calculator.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({70}); }

private:
    ~TQTKCopingCalcEDO() override;

    std::shared_ptr<TQTKSolidCalc3d> volumeSolidCalc_;
    std::shared_ptr<TQTKShellCalc3d> formboardShellCalc_;
    std::shared_ptr<TQTKShellCalc3d> outAreaCalc_;
};
