// The custom point element (element type 71): a user-defined element whose
// quantity is its volume. Its solid lives in the original-solid cache; it
// relates only custom lines and custom faces.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKCustomPointCalcEDO final : public TQTKCalculatorEDO, public IQTKCustomPointCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() override;
    // Custom lines and custom faces by the inherited test; nothing else.
    bool IsIntersectWith(IRDXRecord* record) override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    bool IsOriginalPolyhedronOwned() const override { return false; }

private:
    ~TQTKCustomPointCalcEDO() override;

    std::shared_ptr<TQTKSolidCalc3d> volumeSolidCalc_;
};
