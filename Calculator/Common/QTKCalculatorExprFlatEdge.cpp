#include "Calculator/Common/QTKCalculatorExprFlatEdge.h"

#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CFloorAreaType = 58;
constexpr int CCourtyardType = 59;
constexpr int CSiteLevelingType = 60;
constexpr int CApronType = 61;
constexpr int CBalconyType = 66;
constexpr int CParapetType = 69;
// The parapet formwork texts are checked within 0.001 m².
constexpr double CParapetTolerance = 0.001;

// The outline of the element's shape, for a record of the type in expression mode.
const TVRMMultiPolygon2d* ShapeOutline(const IRDXRecord* record, int typeId)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {typeId});
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    return shape ? &shape->GetOutline() : nullptr;
}

// The area formula of the element's outline; empty without one.
std::string OutlineFormula(const IRDXRecord* record, int typeId, int precision)
{
    const TVRMMultiPolygon2d* outline = ShapeOutline(record, typeId);
    return outline ? PolygonAreaFormula(*outline, precision) : std::string();
}

void AddFormula(IRDXRecord* record, const std::string& formula)
{
    if (!formula.empty())
        AddExprText(record, formula);
}

// "%g<1>+%g<2>..." of the items' uncovered lengths, stored when they add up to the length.
void WriteNumberedLengths(IRDXRecord* record, const TVRMLinearCalcContr* calcs, double length)
{
    if (!calcs || calcs->GetCount() == 0)
        return;
    std::string text;
    double sum = 0.0;
    for (int i = 0; i < calcs->GetCount(); ++i) {
        const double n = ExprLength(calcs->GetItems(i)->GetNullLength());
        sum += n;
        if (i > 0)
            text += '+';
        text += Format("%g<%s>", {n, std::to_string(i + 1)});
    }
    if (IsExprConsistent(ExprLength(length), sum, CVRMEpsilon))
        AddExprText(record, text);
}

// An apron's object, for a record of an apron in expression mode.
Ref<IQTKApronCalcEDO> Apron(IRDXRecord* record)
{
    return GetExprElement(record, {CApronType}) ? RefCast<IQTKApronCalcEDO>(GetCalcEDO(record, true)) : nullptr;
}

// A parapet drawn as a line with a rectangular section: its properties and
// the sizes of the section's first two edges (mm); nil otherwise.
const IPropValues* ParapetSection(const IRDXRecord* record, double& first, double& second)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CParapetType});
    const auto* shape = drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
    if (!shape || !shape->GetPolygon().IsRectangle(CVRMEpsilon))
        return nullptr;
    const TVRMPolygon2d& section = shape->GetPolygon().GetItems(0);
    first = section.GetEdge(0).Length();
    second = section.GetEdge(1).Length();
    return drawObj->GetPropValues();
}

// A rectangular parapet's properties and its middle line's length (mm); nil otherwise.
const IPropValues* ParapetLine(IRDXRecord* record, double& length)
{
    double first = 0, second = 0;
    const IPropValues* props = ParapetSection(record, first, second);
    const Ref<IQTKParapetCalcEDO> parapet = props ? RefCast<IQTKParapetCalcEDO>(GetCalcEDO(record, true)) : nullptr;
    const TVRMCustomLine2d* line = parapet ? parapet->GetMidLine() : nullptr;
    if (!line)
        return nullptr;
    length = line->Length();
    return props;
}

// A section size times the middle line (times the count of faces), checked
// unrounded against the area.
void WriteParapetLineFormboard(IRDXRecord* record, double area, const char* sizeProp, int faces, const char* format)
{
    double length = 0;
    const IPropValues* props = ParapetLine(record, length);
    if (!props)
        return;
    const double size = props->GetFloat(sizeProp);
    AddCheckedExprText(record, ExprArea(size * length * faces), ExprArea(area), CParapetTolerance, format,
                       {ExprLength(size), ExprLength(length)});
}

// The terms of one column of the sloped-roof rows: the values that are not
// 0, each printed in m², joined by "+"; Sum receives the column's total.
std::string ColumnTerms(const std::vector<TQTKSlopedRoofAreaRow>& rows, size_t column, double& sum)
{
    std::string terms;
    sum = 0.0;
    for (const TQTKSlopedRoofAreaRow& row : rows) {
        const double v = row[column];
        sum += v;
        if (IsZero(v))
            continue;
        if (!terms.empty())
            terms += '+';
        terms += Format("%g", {ExprArea(v)});
    }
    return terms;
}

// Length of an outline edge: an arc's own length when its centre is known, else the chord.
double EdgeLength(const TVRMCustomLine2d& edge)
{
    TVRMPoint2d centre;
    if (edge.IsArc() && edge.CenterPt(centre))
        return edge.Length();
    return edge.StartPt().DistanceTo(edge.EndPt());
}

}  // namespace

void BuildApronAreaExpr(IRDXRecord* record, double apronDeduction, double wallDeduction)
{
    std::string text = OutlineFormula(record, CApronType, 3);
    if (text.empty())
        return;
    if (const double d = ExprArea(apronDeduction); GreaterThan(d, 0.0))
        text += Format("-%g<扣散水面积>", {d});
    if (const double d = ExprArea(wallDeduction); GreaterThan(d, 0.0))
        text += Format("-%g<扣墙面积>", {d});
    AddExprText(record, text);
}

void BuildApronTouchWallLengthExpr(IRDXRecord* record, double length)
{
    if (const Ref<IQTKApronCalcEDO> apron = Apron(record))
        WriteNumberedLengths(record, apron->GetTunchWallLengthCalc().get(), length);
}

void BuildApronPerimeterExpr(IRDXRecord* record, double length)
{
    if (const Ref<IQTKApronCalcEDO> apron = Apron(record))
        WriteNumberedLengths(record, apron->GetPerimeterCalc().get(), length);
}

void BuildParapetSectionAreaExpr(IRDXRecord* record, double area)
{
    double first = 0, second = 0;
    if (!ParapetSection(record, first, second))
        return;
    const double a = ExprLength(first);
    const double b = ExprLength(second);
    AddCheckedExprText(record, b * a, ExprArea(area), CVRMEpsilon, "%g<截面宽度>*%g<截面高度>", {a, b});
}

void BuildParapetSideFormboardAreaExpr(IRDXRecord* record, double area)
{
    WriteParapetLineFormboard(record, area, "SectionHeight", 2, "%g<截面高度>*%g<长度>*2");
}

void BuildParapetBottomFormboardAreaExpr(IRDXRecord* record, double area)
{
    WriteParapetLineFormboard(record, area, "SectionWidth", 1, "%g<截面宽度>*%g<长度>");
}

void BuildParapetHeadFormboardAreaExpr(IRDXRecord* record, double area)
{
    double first = 0, second = 0;
    const IPropValues* props = ParapetSection(record, first, second);
    const Ref<IQTKLineEdoInfoProvider> ends =
        props ? RefCast<IQTKLineEdoInfoProvider>(GetCalcEDO(record, true)) : nullptr;
    if (!ends)
        return;
    const int freeEnds = (ends->GetStartLineEdoInfos().empty() ? 1 : 0) + (ends->GetEndLineEdoInfos().empty() ? 1 : 0);
    const double width = props->GetFloat("SectionWidth");
    const double heights = props->GetFloat("SectionHeight") * freeEnds;
    AddCheckedExprText(record, ExprArea(width * heights), ExprArea(area), CParapetTolerance,
                       "%g<截面宽度>*%g<截面高度和>", {ExprLength(width), ExprLength(heights)});
}

void BuildBalconyHorizonAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* polygon)
{
    if (GetExprElement(record, {CBalconyType}) && polygon)
        AddFormula(record, PolygonAreaFormula(*polygon, 3));
}

void BuildCourtyardAreaExpr(IRDXRecord* record)
{
    const Ref<IQTKCourtyardCalcEDO> courtyard =
        GetExprElement(record, {CCourtyardType}) ? RefCast<IQTKCourtyardCalcEDO>(GetCalcEDO(record, true)) : nullptr;
    const TVRMMultiPolygon2d* plan = courtyard ? courtyard->GetPlanPolygon() : nullptr;
    if (plan)
        AddFormula(record, PolygonAreaFormula(*plan, 6));
}

void BuildCourtyardPerimeterExpr(IRDXRecord* record, double length)
{
    const Ref<IQTKCourtyardCalcEDO> courtyard =
        GetExprElement(record, {CCourtyardType}) ? RefCast<IQTKCourtyardCalcEDO>(GetCalcEDO(record, true)) : nullptr;
    const TVRMMultiPolygon2d* plan = courtyard ? courtyard->GetPlanPolygon() : nullptr;
    if (!plan || plan->IsEmpty() || !plan->GetItems(0).IsRectangle(CVRMEpsilon))
        return;
    const double a = plan->GetItems(0).GetEdge(0).Length();
    const double b = plan->GetItems(0).GetEdge(1).Length();
    // Compared in mm, unrounded.
    AddCheckedExprText(record, (a + b) * 2, length, CVRMEpsilon, "(%g<长度>+%g<宽度>)*2",
                       {ExprLength(a), ExprLength(b)});
}

void BuildFloorAreaOriginalAreaExpr(IRDXRecord* record)
{
    AddFormula(record, OutlineFormula(record, CFloorAreaType, 6));
}

void BuildFloorAreaCalcMethod1Expr(IRDXRecord* record, const std::vector<TQTKSlopedRoofAreaRow>& rows,
                                   double coefficient)
{
    std::string text = OutlineFormula(record, CFloorAreaType, 6);
    if (text.empty())
        return;
    // The coefficient is printed as the rule gives it.
    if (coefficient != 1.0)
        text = "(" + text + ")" + Format("*%g", {coefficient});
    AddExprText(record, text);
    static constexpr const char* CColumns[3][2] = {
        {"-(", ")<扣坡屋面面积>"}, {"+(", ")<加净空超2.1米坡屋面面积>"}, {"+(", ")<加净空超1.2米小于2.1米坡屋面面积>"}};
    for (size_t column = 0; column < 3; ++column) {
        double sum = 0.0;
        const std::string terms = ColumnTerms(rows, column, sum);
        if (!IsZero(sum))
            AppendToExprText(record, CColumns[column][0] + terms + CColumns[column][1]);
    }
}

void BuildFloorAreaPerimeterExpr(IRDXRecord* record)
{
    const TVRMMultiPolygon2d* outline = ShapeOutline(record, CFloorAreaType);
    if (!outline || outline->GetCount() != 1)
        return;
    const TVRMPolygon2d& polygon = outline->GetItems(0);
    double width = 0, length = 0;
    if (GetPolygonRectSize(&polygon, width, length)) {
        AddExprText(record, Format("(%g<长度>+%g<宽度>)*2", {ExprLength(length), ExprLength(width)}));
        return;
    }
    // From the edge that ends at the first vertex.
    const int count = polygon.GetEdgeCount();
    std::string terms;
    for (int k = 0; k < count; ++k) {
        if (k > 0)
            terms += '+';
        terms += Format("%g", {ExprLength(EdgeLength(polygon.GetEdge((k + count - 1) % count)))});
    }
    if (!terms.empty())
        AddExprText(record, "(" + terms + ")<各边长之和>");
}

void TQTKSiteLevelingExprHandler::BuildSiteLevelingAreaExpr(IRDXRecord* record, double coefficient)
{
    const std::string formula = OutlineFormula(record, CSiteLevelingType, 4);
    if (formula.empty())
        return;
    // The coefficient is printed as the rule gives it.
    if (SameValue(coefficient, 1.0))
        AddExprText(record, formula);
    else
        AddExprText(record, Format("(%s)*%g<系数>", {formula, coefficient}));
}

void TQTKSiteLevelingExprHandler::BuildSiteLevelingExtendAreaExpr(IRDXRecord* record, double value, double deduction)
{
    const Ref<IQTKSiteLevelingCalcEDO> site = GetExprElement(record, {CSiteLevelingType})
                                                  ? RefCast<IQTKSiteLevelingCalcEDO>(GetCalcEDO(record, true))
                                                  : nullptr;
    const TVRMMultiPolygon2d* extended = site ? site->GetExtendTwoMeterPolygon() : nullptr;
    if (!extended || !IsPrintedZero((extended->Area() - deduction - value) * 1e-6, CQTKExprAreaTolerance))
        return;
    const double d = ExprArea(deduction);
    const std::string formula = PolygonAreaFormula(*extended, 4);
    if (IsZero(d))
        AddFormula(record, formula);
    else if (!formula.empty())
        AddExprText(record, Format("(%s)-%g<扣平整场地>", {formula, d}));
    else
        AddExprText(record, Format("%g<原始外放2米面积>-%g<扣平整场地>", {ExprArea(extended->Area()), d}));
}
