// The site levelling (element type 60): a face whose quantities include its
// area extended by 2 m on every side.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKSiteLevelingCalcEDO final : public TQTKCalculatorEDO, public IQTKSiteLevelingCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    const TVRMMultiPolygon2d* GetExtendTwoMeterPolygon() override;
    // With an empty detail container, quantity 464: a plan-area detail of the
    // outline with the original quantity in the quantity's unit.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTKSiteLevelingCalcEDO() override;

    std::shared_ptr<TVRMMultiPolygon2d> extendedPolygon_;
};
