// The expression writers of the calculation data.
#include <cmath>

#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

// The parts' formula when their value x factor matches the quantity (scaled to m2 / m3).
bool PartsFormula(const TVRMExprInfo3dArray& parts, double quantity, double scale, double factor, std::string& text)
{
    if (parts.empty())
        return false;
    double sum = 0.0;
    for (const TVRMExprInfo3dRecord& part : parts)
        sum += GetExprInfoValue(part);
    if (!SameValue(sum * factor, FRound(quantity * scale, 4, 1e-12), 0.001))
        return false;
    std::string result;
    for (const TVRMExprInfo3dRecord& part : parts) {
        if (!result.empty())
            result += " + ";
        result += GetShellExpr(part);
    }
    if (!SameValue(factor, 1.0)) {
        const std::string f = FloatToStr(FRound(factor, 4, 1e-12));
        result = parts.size() > 1 ? Format("(%s) * %s", {result, f}) : Format("%s * %s", {result, f});
    }
    text = std::move(result);
    return true;
}

// Writes the text and, with exprFlag, the items of one quantity.
bool WriteExpr(const IRDXRecord* record, const IRDXRecord* other, const TVRMExprInfo3dArray& parts, bool usable,
               double quantity, double factor, TQTKUnitConvertMark unit, bool solidItems, bool exprFlag,
               std::string& text)
{
    const double scale = unit == CQTKUnitVolume ? 1e-9 : 1e-6;
    const bool formula = usable && PartsFormula(parts, quantity, scale, factor, text);
    if (!formula)
        text = unit == CQTKUnitVolume ? MM3ToM3(quantity) : MM2ToM2(quantity);
    if (!exprFlag || !record)
        return formula;
    TQTKEdoGlobalData* data = GetEdoGlobalData(record->GetID());
    const std::string key = data->GetCurQtyKey();
    const RecordRef subject(const_cast<IRDXRecord*>(record));
    if (!formula) {
        const double value = std::abs(factor) > 0.0 ? quantity / factor : quantity;
        data->GetExprContainer().AddValueItem(subject, key, value, factor, unit);
        return false;
    }
    const RecordRef object(const_cast<IRDXRecord*>(other));
    for (const TVRMExprInfo3dRecord& part : parts) {
        if (solidItems)
            data->GetExprContainer().Add(
                std::make_unique<TQTKCalcInternalSolidExprItem>(subject, nullptr, key, part, factor, true));
        else
            data->GetExprContainer().Add(
                std::make_unique<TQTKCalcInternalShellExprItem>(subject, object, key, part, factor, true));
    }
    return true;
}

}  // namespace

bool ShellFormulaText(const TVRMPolyhedronShell3d& shell, double area, double factor, std::string& text)
{
    return PartsFormula(TVRMShellInfoAnalyser::Analyse(shell), area, 1e-6, factor, text);
}

bool SolidFormulaText(const TVRMPolyhedron3d& solid, double volume, double factor, std::string& text)
{
    return PartsFormula(TVRMColumnInfoAnalyser::Analyse(solid), volume, 1e-9, factor, text);
}

bool GShellExprParser(const IRDXRecord* record, const IRDXRecord* other, const TVRMPolyhedronShell3d& shell,
                      std::string& text, int /*kind*/, bool arcFlag, double area, bool exprFlag, int /*reserved*/,
                      double factor)
{
    const TVRMExprInfo3dArray parts = arcFlag ? TVRMExprInfo3dArray{} : TVRMShellInfoAnalyser::Analyse(shell);
    return WriteExpr(record, other, parts, !arcFlag, area, factor, CQTKUnitArea, false, exprFlag, text);
}

bool GVolumeExprParser(const IRDXRecord* record, const IRDXRecord* other, const TVRMPolyhedron3d& solid, double factor,
                       bool exprFlag, double volume, std::string& text)
{
    return WriteExpr(record, other, TVRMColumnInfoAnalyser::Analyse(solid), true, volume, factor, CQTKUnitVolume, true,
                     exprFlag, text);
}

void AddAreaExprDetail(const IRDXRecord* record, const IRDXRecord* other, double first, double second, double factor,
                       bool flag)
{
    if (!record)
        return;
    TVRMExprInfo3dRecord part;
    part.kind = 5;
    part.firstSize = first;
    part.secondSize = second;
    part.quantity = first * second;
    TQTKEdoGlobalData* data = GetEdoGlobalData(record->GetID());
    data->GetExprContainer().Add(std::make_unique<TQTKCalcInternalShellExprItem>(
        RecordRef(const_cast<IRDXRecord*>(record)), RecordRef(const_cast<IRDXRecord*>(other)), data->GetCurQtyKey(),
        part, factor, flag));
}

void AddItemExprDetail(const IRDXRecord* record, const IRDXRecord* /*other*/, double value, double factor, bool flag)
{
    if (!record)
        return;
    TQTKEdoGlobalData* data = GetEdoGlobalData(record->GetID());
    data->GetExprContainer().AddValueItem(RecordRef(const_cast<IRDXRecord*>(record)), data->GetCurQtyKey(), value,
                                          factor, CQTKUnitArea, flag);
}
