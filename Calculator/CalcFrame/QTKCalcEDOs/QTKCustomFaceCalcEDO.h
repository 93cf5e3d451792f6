// The custom face element (element type 73): a user-defined element whose
// quantities are its area and its volume; it relates only custom points and
// custom lines.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKCustomFaceCalcEDO final : public TQTKCalculatorEDO, public IQTKCustomFaceCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() override;
    // Custom points and custom lines by the inherited test; nothing else.
    bool IsIntersectWith(IRDXRecord* record) override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

private:
    ~TQTKCustomFaceCalcEDO() override;

    std::shared_ptr<TQTKShellCalc3d> areaShellCalc_;
    std::shared_ptr<TQTKSolidCalc3d> volumeSolidCalc_;
};
