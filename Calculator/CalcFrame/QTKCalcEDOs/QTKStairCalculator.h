// The stair (element type 29). A stair may be a parametric element whose
// drawing is described by a parameter set: its object keeps that parameter
// information and evaluates the stair rules' formulas over it. It keeps the
// projective-area calculator the rules store, and relates only the walls it
// stands against and the floor areas it lies in (by outline).
//
// A stair's original solid is the host's solid of its shape (a point shape:
// its outline from bottom to top) until the host builds stair solids.
#pragma once

#include <memory>
#include <string_view>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TParamPolyInfo;

class TQTKStairCalculator final : public TQTKCalculatorEDO, public IQTKStairCalculator {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKPlanarCalc2d> GetProjectiveAreaCalc() override { return Kept(projectiveAreaCalc_); }
    void SetProjectiveAreaCalc(std::shared_ptr<TQTKPlanarCalc2d> calc) override
    {
        Keep(projectiveAreaCalc_, std::move(calc));
    }
    int GetParamPolyInfoType() override;
    double CalcParamExpression(std::string_view formula, bool buildExpr) override;

    // Walls (0) and insulating wall units (86) overlapping the stair by more
    // than 10 mm vertically, floor areas (58) and type 85, each when its
    // outline meets the stair's; nothing else.
    bool IsIntersectWith(IRDXRecord* record) override;
    // Reads the parametric information again (none for a stair that is not parametric).
    void ClearQtyItems() override;
    void FreeCalcCache() override;

protected:
    bool IsRelationSameAsOriginal() const override { return true; }

private:
    ~TQTKStairCalculator() override;

    std::shared_ptr<TQTKPlanarCalc2d> projectiveAreaCalc_;
    std::shared_ptr<const TParamPolyInfo> paramInfo_;
};
