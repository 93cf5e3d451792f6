// The over-height builder of a tie column's indenting (its toothing into the
// walls beside it): the column's partition applied to the indenting solid.
// Every piece carries the indent ratio of its build (0.5 half, 1.0 full) as
// its second coefficient and the column's solid as its reference solid. A
// related element lowers the top only where the column's insertion point is
// not outside its outline; a null start offset cuts at the column's lowest
// point itself (no margin). It has no over-height test of its own: callers
// build only for a column found over height.
#pragma once

#include "Calculator/Strategies/Common/OverHigh/QTKColumnOverHeightCalcBuilder.h"

class TQTkColumnIndentingOverHeightCalcBuilder : public TQTkColumnOverHeightCalcBuilder {
public:
    // The indenting solid stays the tie column's (never changed or freed here).
    TQTkColumnIndentingOverHeightCalcBuilder(const TVRMPolyhedron3d* indenting, const RecordRef& subject,
                                             const TableSourceRef& business, const TableSourceRef& ruleContext);

    std::unique_ptr<TVRMOverhighSolidCalc3d> BuildVolumeCalc(double ratio);
    std::unique_ptr<TVRMOverhighShellCalc3d> BuildFormboardCalc(bool includeSoffit, double ratio);

protected:
    double GetStartMargin() const override { return 0.0; }
    double GetPieceCoefficient() const override { return ratio_; }
    std::unique_ptr<TVRMPolyhedron3d> MakeReferenceSolid() override;
    bool MayLowerTop(IRDXRecord* element) override;

private:
    const TVRMPolyhedron3d* indenting_;
    double ratio_ = 1.0;
};
