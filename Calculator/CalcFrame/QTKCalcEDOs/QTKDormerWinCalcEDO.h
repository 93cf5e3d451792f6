// The dormer window (element type 11): a parametric element on a roof. Its
// object is never found touching other elements by solid; it keeps the
// parameters of its parametric shape and evaluates the dormer rules'
// formulas over them, supplying the base thickness "BH" (the "Thickness" of
// the parent of its first sub-element with sub-id 7) and the slope tangent
// "PDXS" (of "SlabAngle", stored in degrees) where the shape lacks them.
#pragma once

#include <memory>
#include <string_view>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TParamPolyInfo;

class TQTKDormerWinCalcEDO final : public TQTKCalculatorEDO, public IQTKDormerWinCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    bool IsSupportedShape() override;
    int GetShapeId() override;
    double CalcParamValue(std::string_view formula) override;

    // Reads the parametric information, the slope tangent and the base thickness again.
    void ClearQtyItems() override;
    void FreeCalcCache() override;

protected:
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;

private:
    // The shape's parameters with the two values the object supplies.
    struct TParams {
        std::shared_ptr<const TParamPolyInfo> info;
        double slopeTangent = 0.0;
        double baseThickness = 0.0;
    };

    ~TQTKDormerWinCalcEDO() override;
    // "BH" and "PDXS" (exact spelling); any other name is a programming error.
    static double ResolveParamValue(const TParams& params, std::string_view name);

    TParams params_;
};
