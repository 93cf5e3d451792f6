// The eave or canopy drawn as a face (element type 65, or 64 whose "Shape" is
// 0). Its object keeps the horizontal polygon the horizontal-area rules
// store, writes the solid of that polygon as the original-quantity detail of
// the volume quantities, and relates floor areas of its own floor by outline.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKEaveAndCanopyCalcEDO final : public TQTKCalculatorEDO, public IQTKEaveAndCanopyCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<const TVRMMultiPolygon2d> GetHorizonPolygon() override { return Kept(horizonPolygon_); }
    void SetHorizonPolygon(std::unique_ptr<TVRMMultiPolygon2d> polygon) override;

    // A floor area (58) when the outlines meet and both lie on one floor;
    // any other element by the inherited test.
    bool IsIntersectWith(IRDXRecord* record) override;
    void FreeCalcCache() override;
    // Quantities 344 and 475: every detail but the solid details goes, then
    // the solid of the horizontal polygon (the face outline when none was
    // stored) on the top surface, "Thickness" deep, is added as the original
    // quantity (m3).
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTKEaveAndCanopyCalcEDO() override;

    std::shared_ptr<const TVRMMultiPolygon2d> horizonPolygon_;
};
