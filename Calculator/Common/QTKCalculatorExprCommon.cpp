#include "Calculator/Common/QTKCalculatorExprCommon.h"

#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Strategies/Common/QTKOutWallFaceCalc.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

// A printed haunch area counts as zero within this (m²).
constexpr double CHaunchZero = 0.0004;
// Agreement of an insulating layer's printed terms with its area (m²).
constexpr double CLayerTolerance = 0.0001;

double Printed(double value)
{
    return FRound(value, 4, 1e-12);
}

// The deduction label of an element type; nil for a type the builder does not name.
const char* DeductLabel(int elementType, bool beam)
{
    switch (elementType) {
        case 0:
            return "-%g<扣墙面积>";
        case 15:
            return "-%g<扣梁面积>";
        case 19:
            return "-%g<扣板面积>";
        case 25:
            return beam ? "-%g<扣柱面积>" : nullptr;
        case 27:
            return beam ? "-%g<扣柱墩柱冒面积>" : nullptr;
        case 68:
            return beam ? "-%g<扣保温层面积>" : nullptr;
        default:
            return nullptr;
    }
}

// The deduction terms of an item and their sum (m²). False when a row's
// element type has no label: its area would count without a term, and the
// text would not state the quantity.
bool AppendDeductions(const TQTKOutWallFaceCalcItem& item, bool beam, std::string& text, double& sum)
{
    sum = 0.0;
    for (const TQTKOutWallFaceDeduct& row : item.GetDeductAreas()) {
        const double d = Printed(row.area * 1e-6);
        const char* label = DeductLabel(static_cast<int>(Round(row.elementType)), beam);
        if (!label)
            return false;
        sum += d;
        text += Format(label, {d});
    }
    return true;
}

// "a*b+c*d" of the item's faces; adds their rounded areas to Sum.
std::string PerFaceTerms(const TQTKOutWallFaceCalcItem& item, double& sum)
{
    std::string terms;
    for (const TQTKOutWallFaceDim& dim : item.GetFaceDims()) {
        sum += Printed(dim.length * dim.height * 1e-6);
        if (!terms.empty())
            terms += '+';
        terms += Format("%g*%g", {Printed(dim.length * 0.001), Printed(dim.height * 0.001)});
    }
    return terms;
}

// The out-wall face calculator of the layer behind the record; nil when the
// record is no insulating layer or its object offers none.
const TQTKOutWallFaceCalc* LayerCalc(IRDXRecord* record, bool beam)
{
    if (!IsExprMode(record))
        return nullptr;
    const auto* drawObj = dynamic_cast<const IQTKElementDrawObj*>(record->GetObject());
    if (!drawObj || drawObj->GetElementTypeID() != 68)
        return nullptr;
    const Ref<IQTKInsulatingLayerCalcEDO> layer = RefCast<IQTKInsulatingLayerCalcEDO>(GetCalcEDO(record, true));
    if (!layer)
        return nullptr;
    return beam ? layer->GetOutWallBeamCalc() : layer->GetOutWallColumnCalc();
}

void AppendItemText(std::string& text, const std::string& itemText)
{
    if (!text.empty())
        text += '+';
    text += itemText;
}

void StoreLayerText(IRDXRecord* record, const std::string& text, double area, double total)
{
    if (!text.empty() && SameValue(Printed(area * 1e-6), total, CLayerTolerance))
        AddExprText(record, text);
}

}  // namespace

void BuildHaunchFormboardAreaExpr(IRDXRecord* record, double deductedArea, double netArea)
{
    if (!IsExprMode(record))
        return;
    const double added = Printed((deductedArea + netArea) * 1e-6);
    const double deducted = Printed(deductedArea * 1e-6);
    const bool noAdded = IsZero(added, CHaunchZero);
    const bool noDeducted = IsZero(deducted, CHaunchZero);
    if (noAdded && noDeducted)
        return;
    if (noDeducted)
        AddExprText(record, Format("%g<加加腋模板面积>", {added}));
    else if (noAdded)
        AddExprText(record, Format("%g<扣加腋模板面积>", {deducted}));
    else
        AddExprText(record, Format("%g<加加腋模板面积> - %g<扣加腋模板面积>", {added, deducted}));
}

void BuildInsulatingLayerOutWallColumnAreaExpr(IRDXRecord* record, double area)
{
    const TQTKOutWallFaceCalc* calc = LayerCalc(record, false);
    if (!calc)
        return;
    const bool several = calc->GetCount() > 1;
    std::string text;
    double total = 0.0;
    for (int i = 0; i < calc->GetCount(); ++i) {
        const TQTKOutWallFaceCalcItem& item = calc->GetItem(i);
        std::string deductText;
        double deductSum = 0.0;
        if (!AppendDeductions(item, false, deductText, deductSum))
            return;
        std::string itemText;
        if (item.GetSameHeight()) {
            std::string lengths;
            double lengthSum = 0.0;
            for (const TQTKOutWallFaceDim& dim : item.GetFaceDims()) {
                const double l = Printed(dim.length * 0.001);
                lengthSum += l;
                if (!lengths.empty())
                    lengths += '+';
                lengths += Format("%g", {l});
            }
            const double h = item.GetFaceDims().empty() ? 0.0 : Printed(item.GetFaceDims().front().height * 0.001);
            itemText = Format(several ? "((%s)*%g%s)" : "(%s)*%g%s", {lengths, h, deductText});
            total += lengthSum * h - deductSum;
        } else {
            const std::string faces = PerFaceTerms(item, total);
            total -= deductSum;
            itemText = Format(several ? "(%s%s)" : "%s%s", {faces, deductText});
        }
        AppendItemText(text, itemText);
    }
    StoreLayerText(record, text, area, total);
}

void BuildInsulatingLayerOutWallBeamAreaExpr(IRDXRecord* record, double area)
{
    static constexpr const char* CExtraLabels[] = {"-%g<扣端头面积>", "-%g<扣顶部面积>", "-%g<扣底部面积>"};
    const TQTKOutWallFaceCalc* calc = LayerCalc(record, true);
    if (!calc)
        return;
    const bool several = calc->GetCount() > 1;
    std::string text;
    double total = 0.0;
    for (int i = 0; i < calc->GetCount(); ++i) {
        const TQTKOutWallFaceCalcItem& item = calc->GetItem(i);
        // An item without its end, top and bottom areas leaves the element without text.
        if (item.GetExtraDeductAreas().empty())
            return;
        std::string extraText;
        double extraSum = 0.0;
        for (size_t k = 0; k < item.GetExtraDeductAreas().size() && k < 3; ++k) {
            const double v = item.GetExtraDeductAreas()[k];
            if (v <= 0.0)
                continue;
            const double e = Printed(v * 1e-6);
            extraSum += e;
            extraText += Format(CExtraLabels[k], {e});
        }
        std::string deductText;
        double deductSum = 0.0;
        if (!AppendDeductions(item, true, deductText, deductSum))
            return;
        double faceSum = 0.0;
        const std::string faces = PerFaceTerms(item, faceSum);
        total += faceSum - deductSum - extraSum;
        AppendItemText(text, Format(several ? "(%s%s%s)" : "%s%s%s", {faces, extraText, deductText}));
    }
    StoreLayerText(record, text, area, total);
}
