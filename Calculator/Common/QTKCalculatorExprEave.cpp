#include "Calculator/Common/QTKCalculatorExprEave.h"

#include <cmath>
#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKCompositeElementCalcCommon.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CEaveType = 64;
constexpr int CParapetType = 69;

// Radius of a polygon set whose first polygon is a circle; False otherwise.
bool FirstCircleRadius(const TVRMMultiPolygon2d& polygon, double& radius)
{
    return !polygon.IsEmpty() && polygon.GetItems(0).IsCircle(CVRMEpsilon, &radius);
}

// The label of a formwork deduction by the deducting element's type; nil for another type.
const char* DeductLabel(int typeId)
{
    switch (typeId) {
        case 0:
            return "-%g<扣墙面积>";
        case 1:
            return "-%g<扣保温墙面积>";
        case 3:
            return "-%g<扣墙垛面积>";
        case 15:
            return "-%g<扣梁面积>";
        case 17:
            return "-%g<扣连梁面积>";
        case 18:
            return "-%g<扣圈梁面积>";
        case 19:
            return "-%g<扣现浇板面积>";
        case 20:
            return "-%g<扣预制板面积>";
        case 21:
            return "-%g<扣螺旋板面积>";
        case 24:
            return "-%g<扣板洞面积>";
        case 25:
            return "-%g<扣柱面积>";
        case 26:
            return "-%g<扣构造柱面积>";
        case 27:
            return "-%g<扣柱冒面积>";
        case 28:
            return "-%g<扣柱墩面积>";
        case 29:
            return "-%g<扣楼梯面积>";
        case 30:
            return "-%g<扣直形梯段面积>";
        case 31:
            return "-%g<扣旋转楼梯面积>";
        case 47:
            return "-%g<扣基础梁面积>";
        case 69:
            return "-%g<扣栏板面积>";
        default:
            return nullptr;
    }
}

// The sides of a one-polygon eave: a rectangle by its sizes (the shorter
// printed first), a circle by its radius, else every edge's length.
std::string SideFormboardText(const TVRMPolygon2d& polygon, double t)
{
    double width = 0, length = 0, radius = 0;
    if (GetPolygonRectSize(&polygon, width, length))
        return Format("((%g<长度>+%g<宽度>)*2*%g<厚度>)<侧面模板面积>", {ExprLength(width), ExprLength(length), t});
    if (polygon.IsCircle(CVRMEpsilon, &radius))
        return Format("(2*Pi*%g<半径>*%g<厚度>)<侧面模板面积>", {ExprLength(radius), t});
    std::string lengths;
    for (const TVRMCustomLine2d& edge : polygon.GetEdges()) {
        if (!lengths.empty())
            lengths += '+';
        lengths += Format("%g", {ExprLength(edge.Length())});
    }
    return Format("((%s)*%g<厚度>)<侧面模板面积>", {lengths, t});
}

// The outline of an element's shape; nil without a shape.
const TVRMMultiPolygon2d* OutlineOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    return shape ? &shape->GetOutline() : nullptr;
}

// The first edge of the outline parallel to the line and at most Reach from it.
const TVRMCustomLine2d* FindParallelEdge(const std::vector<TVRMCustomLine2d>& edges, const TVRMCustomLine2d& line,
                                         double reach)
{
    for (const TVRMCustomLine2d& edge : edges) {
        if (!TVRMPositionFunc2d::IsParallel(edge, line, CVRMParallelEpsilon))
            continue;
        const double distance = std::abs(TVRMPositionFunc2d::SignedDistanceTo(line.MiddlePoint(), edge, false));
        if (!GreaterThan(distance, reach))
            return &edge;
    }
    return nullptr;
}

// Among the parapet's related eaves, the one its outline overlaps most (the
// later one on equal overlap); nil when it overlaps none.
RecordRef OwningEave(IQTKCalculatorEDO& parapet, const TVRMMultiPolygon2d& parapetOutline)
{
    TRecordList eaves;
    parapet.GetRelatedByType(CEaveType, &eaves);
    RecordRef owner;
    double most = 0.0;
    for (const RecordRef& eave : eaves) {
        const TVRMMultiPolygon2d* outline = OutlineOf(eave.get());
        if (!outline)
            continue;
        const double overlap = TVRMIntersectFunc2d::IntPolygon(*outline, parapetOutline)->Area();
        if (!owner || overlap >= most) {
            owner = eave;
            most = overlap;
        }
    }
    return GreaterThan(most, 0.0) ? owner : nullptr;
}

// The parapet line of the side: the middle line, else the side line facing
// (inner) or turned from (outer) the centre of the eave's outline box.
const TVRMCustomLine2d* SideLine(IQTKLineEntBaseCalcEDO& parapet, const TVRMMultiPolygon2d& eaveOutline, int side)
{
    const TVRMCustomLine2d* middle = parapet.GetMidLine();
    if (side == 1 || !middle)
        return middle;
    const TVRMBox2d box = eaveOutline.Box();
    const TVRMPoint2d centre{(box.min.x + box.max.x) / 2, (box.min.y + box.max.y) / 2};
    const int centreSide = TVRMPositionFunc2d::PointSegSide(centre, *middle, CVRMEpsilon);
    QTK_ASSERT(centreSide != 0);
    const bool left = (centreSide == 1) == (side == 0);
    return left ? parapet.GetLeftLine() : parapet.GetRightLine();
}

// A length detail of the parapet's side line with the pieces its walls and
// columns cover, filed under the eave's current quantity.
void AddParapetSideDetail(IRDXRecord* eave, IRDXRecord* parapet, int side, double length)
{
    const Ref<IQTKLineEntBaseCalcEDO> edo = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(parapet, true));
    const TVRMMultiPolygon2d* eaveOutline = OutlineOf(eave);
    const TVRMCustomLine2d* line = edo && eaveOutline ? SideLine(*edo, *eaveOutline, side) : nullptr;
    if (!line)
        return;
    TQTKLinearCalc2d calc(*line, false);
    TRecordList covering;
    edo->GetRelatedByTypes(MakeElementTypeSet({0, 1, 25, 26}), &covering);
    for (const RecordRef& r : covering)
        if (const TVRMMultiPolygon2d* outline = OutlineOf(r.get()))
            calc.Append(*outline, r->GetID());
    const TVRMMultiPolygon2d* plan = edo->GetPlanPolygon();
    TQTKCurrentQty qty = CurrentQtyOf(eave);
    AddDeductDetail(std::make_unique<TQTKLine2dDeductDetail>(RecordRef(parapet), std::move(qty.code),
                                                             std::move(qty.desc), calc.GetMarkedSegs(),
                                                             plan ? *plan : TVRMMultiPolygon2d(), MMToM(length)));
}

// The side lengths of the parapets on the eave's edges, joined by "+".
void WriteParapetSideLengths(IRDXRecord* record, int side)
{
    const Ref<IQTKCalculatorEDO> edo = GetExprElement(record, {CEaveType}) ? GetCalcEDO(record, true) : nullptr;
    if (!edo)
        return;
    std::string text;
    for (int i = 0; i < edo->GetRelatedCount(); ++i) {
        const RecordRef related = edo->GetRelated(i);
        if (GetRecordElementTypeID(related.get()) != CParapetType || !IsParapetOnEaveEdge(record, related.get()))
            continue;
        const double v = GetParapetSideLength(record, related.get(), side);
        if (!GreaterThan(v, 0.0))
            continue;
        if (!text.empty())
            text += '+';
        text += Format("%g", {ExprLength(v)});
    }
    if (!text.empty())
        AddExprText(record, text);
}

}  // namespace

void BuildEaveVolExpr(IRDXRecord* record, bool lineKind, const TVRMMultiPolygon2d* polygon, double area,
                      double lengthOrThickness)
{
    if (!IsExprMode(record))
        return;
    const double a = ExprArea(area);
    const double t = ExprLength(lengthOrThickness);
    if (lineKind) {
        AddExprText(record, Format("%g<截面>*%g<长度>", {a, t}));
        return;
    }
    if (!polygon || polygon->IsEmpty())
        return;
    double radius = 0;
    if (FirstCircleRadius(*polygon, radius)) {
        const double r = ExprLength(radius);
        AddExprText(record, Format("(Pi*%g<半径>*%g<半径>)*%g<厚度>", {r, r, t}));
        return;
    }
    const std::string formula = PolygonAreaFormula(*polygon, 3);
    if (!formula.empty())
        AddExprText(record, Format("(%s)*%g<厚度>", {formula, t}));
    else
        AddExprText(record, Format("%g<投影面积>*%g<厚度>", {a, t}));
}

void BuildEaveAndCanopyHorizonAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* polygon)
{
    if (!GetExprElement(record, {CEaveType}) || !polygon || polygon->IsEmpty())
        return;
    double radius = 0;
    if (FirstCircleRadius(*polygon, radius)) {
        const double r = ExprLength(radius);
        AddExprText(record, Format("Pi*%g<半径>*%g<半径>", {r, r}));
        return;
    }
    const std::string formula = PolygonAreaFormula(*polygon, 3);
    if (!formula.empty())
        AddExprText(record, formula);
}

void BuildEaveAndCanopyFormboardAreaExpr(IRDXRecord* record, const std::vector<TQTKEaveDeductRow>& rows,
                                         double eaveFormboardDeduction)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CEaveType});
    const auto* shape = drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
    if (!shape || shape->GetFlag() == 0 || shape->GetOutline().GetCount() != 1)
        return;
    const TVRMPolygon2d& polygon = shape->GetOutline().GetItems(0);
    std::string bottom;
    if (!TVRMPoly2dAnalyser::ParsePolygonToString(polygon, bottom, 3))
        return;
    const double t = ExprLength(drawObj->GetPropValues()->GetFloat("Thickness"));
    std::string text = Format("(%s)<底面模板面积>", {bottom}) + "+" + SideFormboardText(polygon, t);
    for (const TQTKEaveDeductRow& row : rows)
        if (const char* label = DeductLabel(static_cast<int>(std::lround(row[0]))))
            text += Format(label, {ExprArea(row[1])});
    if (const double d = ExprArea(eaveFormboardDeduction); GreaterThan(d, 0.0))
        text += Format("-%g<扣挑檐模板面积>", {d});
    AddExprText(record, text);
}

void BuildEaveFaceAreaExpr(IRDXRecord* record, const std::vector<double>& lengths, const std::vector<double>& heights,
                           double area, double wallDeduction)
{
    QTK_ASSERT(lengths.size() == heights.size());
    if (!GetExprElement(record, {CEaveType}) || lengths.empty())
        return;
    std::string text;
    double sum = 0.0;
    for (size_t i = 0; i < lengths.size(); ++i) {
        const double l = ExprLength(lengths[i]);
        const double h = ExprLength(heights[i]);
        // The first face adds its printed sizes' product, every further one its rounded area.
        sum += i == 0 ? l * h : ExprArea(lengths[i] * heights[i]);
        if (i > 0)
            text += '+';
        text += Format("%g*%g", {l, h});
    }
    if (const double d = ExprArea(wallDeduction); GreaterThan(wallDeduction, 0.0)) {
        sum -= d;
        text += Format("-%g<扣墙面积>", {d});
    }
    if (IsExprConsistent(sum, ExprArea(area), 0.0001))
        AddExprText(record, text);
}

void BuildEaveAndCanopyTouchWallLengthExpr(IRDXRecord* record, const std::vector<double>& lengths)
{
    if (!GetExprElement(record, {CEaveType}) || lengths.size() < 2)
        return;
    std::string text;
    for (double length : lengths) {
        if (!text.empty())
            text += '+';
        text += Format("%g", {ExprLength(length)});
    }
    AddExprText(record, text);
}

void BuildEaveAndCanopyParapetInnerSideLengthExpr(IRDXRecord* record)
{
    WriteParapetSideLengths(record, 0);
}

void BuildEaveAndCanopyParapetMiddleLineLengthExpr(IRDXRecord* record)
{
    WriteParapetSideLengths(record, 1);
}

void BuildEaveAndCanopyParapetOutSideLengthExpr(IRDXRecord* record)
{
    WriteParapetSideLengths(record, 2);
}

bool IsParapetOnEaveEdge(IRDXRecord* eave, IRDXRecord* parapet)
{
    const TVRMMultiPolygon2d* eaveOutline = OutlineOf(eave);
    const TVRMMultiPolygon2d* parapetOutline = OutlineOf(parapet);
    const Ref<IQTKLineEntBaseCalcEDO> edo = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(parapet, true));
    const TVRMCustomLine2d* middle = edo ? edo->GetMidLine() : nullptr;
    if (!eaveOutline || !parapetOutline || !middle)
        return false;
    std::vector<TVRMCustomLine2d> edges;
    for (const TVRMPolygon2d& ring : eaveOutline->Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges())
            edges.push_back(edge);
    const double reach = 2 * GetDrawObjThickness(GetExprElement(parapet));
    const TVRMCustomLine2d* edge = FindParallelEdge(edges, *middle, reach);
    // A parapet beside the edge's line but past its end covers none of it.
    if (!edge || !GreaterThan(GetSubSegLength(*edge, *middle), 0.0))
        return false;
    const RecordRef owner = OwningEave(*edo, *parapetOutline);
    return !owner || owner->GetID() == eave->GetID();
}

double GetParapetSideLength(IRDXRecord* eave, IRDXRecord* parapet, int side)
{
    static constexpr const char* CSideItems[] = {"NBXCD", "ZXXCD", "WBXCD"};
    QTK_ASSERT(side >= 0 && side <= 2);
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(parapet, true);
    QTK_ASSERT(edo != nullptr);
    // The parapet rules store the lengths in metres.
    const double length = edo->GetQtyItem(CSideItems[side]) * 1000;
    if (GIsDetailMode)
        AddParapetSideDetail(eave, parapet, side, length);
    return length;
}
