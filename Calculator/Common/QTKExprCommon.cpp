#include "Calculator/Common/QTKExprCommon.h"

#include <memory>

#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

double RoundPrinted(double value)
{
    return FRound(value, 4, 1e-12);
}

}  // namespace

bool IsExprMode(const IRDXRecord* record)
{
    return record && GetEdoGlobalData(record->GetID())->GetIsExprMode();
}

bool AddExprText(const IRDXRecord* record, const std::string& text)
{
    return record && GetEdoGlobalData(record->GetID())->AddExprText(text);
}

bool AppendToExprText(const IRDXRecord* record, const std::string& text)
{
    return record && GetEdoGlobalData(record->GetID())->AppendExprText(text);
}

void AppendExprText(const IRDXRecord* record, const std::string& text)
{
    if (!IsExprMode(record) || text.empty())
        return;
    if (!AppendToExprText(record, text))
        AddExprText(record, text);
}

bool HasExprText(const IRDXRecord* record)
{
    if (!record)
        return false;
    const TQTKEdoGlobalData* data = GetEdoGlobalData(record->GetID());
    std::string text;
    return data->GetExprText(data->GetCurQtyKey(), text);
}

void AddOriginalExprItem(IRDXRecord* record, const std::string& text)
{
    if (!record)
        return;
    TQTKEdoGlobalData* data = GetEdoGlobalData(record->GetID());
    data->GetExprContainer().Add(
        std::make_unique<TQTKCalcInternalOriginalExprItem>(RecordRef(record), data->GetCurQtyKey(), text, 1.0, true));
}

double ExprLength(double mm)
{
    return RoundPrinted(mm * 0.001);
}

double ExprArea(double mm2)
{
    return RoundPrinted(mm2 * 1e-6);
}

double ExprVolume(double mm3)
{
    return RoundPrinted(mm3 * 1e-9);
}

double ExprFactor(double factor)
{
    return RoundPrinted(factor);
}

bool IsExprConsistent(double product, double roundedQuantity, double tolerance)
{
    return SameValue(product, roundedQuantity, tolerance);
}

bool IsPrintedZero(double scaledDifference, double tolerance)
{
    return IsZero(RoundPrinted(scaledDifference), tolerance);
}

bool IsExprAreaMatch(double difference)
{
    return IsPrintedZero(difference * 1e-6, CQTKExprAreaTolerance);
}

bool AddCheckedExprText(const IRDXRecord* record, double product, double roundedQuantity, double tolerance,
                        std::string_view format, std::initializer_list<TVarRec> args)
{
    if (!IsExprConsistent(product, roundedQuantity, tolerance))
        return false;
    return AddExprText(record, Format(format, args));
}

std::string PolygonAreaFormula(const TVRMMultiPolygon2d& set, int precision)
{
    std::string formula;
    return TVRMPoly2dAnalyser::ParseMultiPolygonToString(set, formula, precision) ? formula : std::string();
}

bool AddLengthWidthAreaExpr(const IRDXRecord* record, double area, double length, double width)
{
    if (!IsExprMode(record))
        return false;
    const double l = ExprLength(length);
    const double w = ExprLength(width);
    return AddCheckedExprText(record, l * w, ExprArea(area), CQTKExprAreaTolerance, "%g<长度>*%g<宽度>", {l, w});
}

void TQTKExprTerms::Add(double roundedValue, std::string_view format, std::initializer_list<TVarRec> args)
{
    if (IsZero(roundedValue))
        return;
    if (!text_.empty())
        text_ += '+';
    text_ += Format(format, args);
}
