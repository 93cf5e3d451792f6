// The foot step (element type 62): an element standing on a slab or lying
// under one touches it on a horizontal face and does not intersect it.
#pragma once

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTkFootStepCalcEDO final : public TQTKCalculatorEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    bool IsIntersectWith(IRDXRecord* record) override;

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTkFootStepCalcEDO() override = default;
};
