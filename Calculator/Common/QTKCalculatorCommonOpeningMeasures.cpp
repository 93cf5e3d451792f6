#include "Calculator/Common/QTKCalculatorCommonOpeningMeasures.h"

#include <algorithm>
#include <limits>
#include <optional>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOpening.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

constexpr int CRibbonWindowType = 8;
constexpr int CWallFaceFinishType = 36;
constexpr int CDadoType = 37;
// "FrameThickness" of a neighbouring ribbon opening without one.
constexpr double CDefaultFrameThickness = 60.0;

IRDXRecord* ParentOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetParentRecord() : nullptr;
}

// Covered length of mark 1 of the opening's edges inside the polygon.
double EdgeLengthIn(IRDXRecord* opening, IRDXRecord* host, const TVRMMultiPolygon2d* polygon, bool allEdges)
{
    if (!polygon || polygon->IsEmpty())
        return 0.0;
    const std::unique_ptr<TVRMLinearCalcContr> edges = BuildOpeningEdgeCalc(opening, host, allEdges);
    if (!edges)
        return 0.0;
    edges->Append(*polygon, 1);
    return edges->GetLengthFor(1);
}

// Where the opening's line starts: a ribbon opening's calculation middle
// line, any other opening's span on its wall.
std::optional<TVRMPoint2d> OpeningLineStart(IRDXRecord* opening)
{
    if (const auto ribbon = RefCast<IQTKRibbonOpeningCalcEDO>(GetCalcEDO(opening, true)))
        if (const TVRMCustomLine2d* line = ribbon->GetCalcMidLine())
            return line->StartPt();
    const std::optional<TVRMCustomLine2d> span = GetOpeningSpan(opening);
    return span ? std::optional<TVRMPoint2d>(span->StartPt()) : std::nullopt;
}

Ref<IQTKAttachWallFaceEntBaseCalcEDO> AttachEdoOf(IRDXRecord* finish)
{
    return RefCast<IQTKAttachWallFaceEntBaseCalcEDO>(GetCalcEDO(finish, true));
}

// The element the finish is attached to: its object's host, else its parent.
RecordRef FinishHost(IRDXRecord* finish)
{
    const auto attach = AttachEdoOf(finish);
    return attach ? attach->GetHostRecord() : RecordRef(ParentOf(finish));
}

// The elevation range a neighbouring ribbon opening covers at one end of the
// opening; empty (low above high) when none reaches it.
struct TElevRange {
    double bottom = std::numeric_limits<double>::infinity();
    double top = -std::numeric_limits<double>::infinity();
    bool IsSet() const { return bottom <= top; }
};

bool IsParentOrChild(const IQTKElementDrawObj* a, IRDXRecord* b)
{
    if (a->GetParentRecord() == b)
        return true;
    for (int i = 0; i < a->GetChildCount(); ++i)
        if (a->GetChild(i)->GetRecord() == b)
            return true;
    return false;
}

void NeighbourRanges(IRDXRecord* opening, const TVRMCustomLine2d& line, TElevRange& atStart, TElevRange& atEnd)
{
    const IQTKElementDrawObj* openingObj = GetRecordDrawObj(opening);
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(opening, true);
    TRecordList neighbours;
    if (!openingObj || !edo || !edo->GetRelatedByTypes(MakeElementTypeSet({8, 9}), &neighbours))
        return;
    for (const RecordRef& neighbour : neighbours) {
        const IQTKLineShape* shape = GetRecordLineShape(neighbour.get());
        if (!shape)
            continue;
        if (!IsParentOrChild(openingObj, neighbour.get()) &&
            !TVRMPositionFunc2d::IsParallel(shape->GetLine(), line, CVRMParallelEpsilon))
            continue;
        const double reach = GetRecordPropFloat(neighbour.get(), "FrameThickness", CDefaultFrameThickness);
        for (auto [end, range] : {std::pair{line.StartPt(), &atStart}, std::pair{line.EndPt(), &atEnd}}) {
            if (!LessEqualThan(TVRMPositionFunc2d::DistanceTo(end, shape->GetLine()), reach))
                continue;
            range->top = std::max(range->top, shape->GetTopElevAt(end));
            range->bottom = std::min(range->bottom, shape->GetBottomElevAt(end));
        }
    }
}

// The reveal edges of a ribbon opening on the host, as calculators.
std::unique_ptr<TVRMLinearCalcContr> BuildRevealCalc(IRDXRecord* opening, IRDXRecord* finish, bool block)
{
    const RecordRef hostRef = FinishHost(finish);
    IRDXRecord* host = hostRef.get();
    const Ref<IQTKSectionPoly> section = GetOpeningSectionOnWall(opening, host);
    const TVRMMultiPolygon2d* polygon = section ? section->GetPolygon() : nullptr;
    const auto ribbon = RefCast<IQTKRibbonOpeningCalcEDO>(GetCalcEDO(opening, true));
    const TVRMCustomLine2d* mid = ribbon ? ribbon->GetMidLine() : nullptr;
    const IQTKLineShape* hostShape = GetRecordLineShape(host);
    const IQTKLineShape* openingShape = GetRecordLineShape(opening);
    if (!polygon || polygon->IsEmpty() || !mid || !hostShape || !openingShape)
        return nullptr;
    TElevRange atStart, atEnd;
    NeighbourRanges(opening, openingShape->GetLine(), atStart, atEnd);
    const bool same = TVRMPositionFunc2d::IsSameDirection(*mid, hostShape->GetLine());
    const TVRMBox2d box = polygon->Box();

    // The sill counts where the finish does not start at the opening's bottom
    // and the opening does not stand in a slab.
    bool sillCounts = false;
    if (const auto attach = RefCast<IQTKWallAttachCalcEDO>(GetCalcEDO(finish, true))) {
        const TVRMCustomLine2d& line = openingShape->GetLine();
        auto finishBottom = [&](const TVRMPoint2d& p) {
            return block ? attach->GetBlockBottomElevAt(p) : attach->GetPlasteringBottomElevAt(p);
        };
        sillCounts = (!SameValue(finishBottom(line.StartPt()), openingShape->GetStartPtBottomElev()) ||
                      !SameValue(finishBottom(line.EndPt()), openingShape->GetEndPtBottomElev())) &&
                     IsOpeningOutsideSlab(opening);
    }

    auto calc = std::make_unique<TVRMLinearCalcContr>();
    for (const TVRMPolygon2d& ring : polygon->Items()) {
        for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
            const TVRMPoint2d a = edge.StartPt(), b = edge.EndPt();
            if (!edge.IsArc() && SameValue(a.x, b.x)) {
                const TElevRange& range = SameValue(a.x, box.min.x) == same ? atStart : atEnd;
                if (!range.IsSet()) {
                    calc->Add(edge);
                    continue;
                }
                const double low = std::min(a.y, b.y), high = std::max(a.y, b.y);
                if (GreaterThan(high, range.top))
                    calc->Add(TVRMCustomLine2d({a.x, std::max(low, range.top)}, {a.x, high}));
                if (LessThan(low, range.bottom))
                    calc->Add(TVRMCustomLine2d({a.x, low}, {a.x, std::min(high, range.bottom)}));
                continue;
            }
            if ((SameValue(a.y, box.min.y) || SameValue(b.y, box.min.y)) && !sillCounts)
                continue;
            calc->Add(edge);
        }
    }
    return calc;
}

}  // namespace

double GetOpeningOutlineArea(IRDXRecord* opening)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(opening);
    if (!drawObj)
        return 0.0;
    if (IsRibbonOpeningType(drawObj->GetElementTypeID())) {
        const Ref<IQTKSectionPoly> section = GetOpeningSectionOnWall(opening, nullptr);
        const TVRMMultiPolygon2d* polygon = section ? section->GetPolygon() : nullptr;
        return polygon ? polygon->Area() : 0.0;
    }
    const IQTKShape* shape = drawObj->GetShape();
    return shape ? shape->GetPolygon().Area() : 0.0;
}

std::unique_ptr<TVRMLinearCalcContr> BuildOpeningEdgeCalc(IRDXRecord* opening, IRDXRecord* host, bool allEdges)
{
    const Ref<IQTKSectionPoly> section = GetOpeningSectionOnWall(opening, host);
    const TVRMMultiPolygon2d* polygon = section ? section->GetPolygon() : nullptr;
    if (!polygon || polygon->IsEmpty())
        return nullptr;
    const double sill = polygon->Box().min.y;
    auto calc = std::make_unique<TVRMLinearCalcContr>();
    for (const TVRMPolygon2d& ring : polygon->Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges())
            if (allEdges || edge.IsArc() || !SameValue(edge.StartPt().y, sill) || !SameValue(edge.EndPt().y, sill))
                calc->Add(edge);
    return calc;
}

double GetHollowSideLength(IRDXRecord* opening, IRDXRecord* finish, const TVRMMultiPolygon2d* polygon)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(opening);
    if (!drawObj)
        return 0.0;
    bool allEdges = false;
    if (IsRibbonOpeningType(drawObj->GetElementTypeID())) {
        const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
        const double floor = GetFloorStructuralElev(opening);
        allEdges = shape && (GreaterThan(shape->GetStartPtBottomElev(), floor) ||
                             GreaterThan(shape->GetEndPtBottomElev(), floor));
    } else {
        const IPropValues* values = drawObj->GetPropValues();
        allEdges = values && values->HasProp("AboveFloorHeight") && values->GetFloat("AboveFloorHeight") != 0.0;
    }
    return EdgeLengthIn(opening, FinishHost(finish).get(), polygon, allEdges);
}

double GetOpeningEdgeLengthIn(IRDXRecord* opening, IRDXRecord* finish, const TVRMMultiPolygon2d* polygon, bool allEdges)
{
    return EdgeLengthIn(opening, FinishHost(finish).get(), polygon, allEdges);
}

double GetHoleBottomArea(IRDXRecord* opening, IRDXRecord* roomHorizon)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(opening, true);
    RecordRef wall;
    if (!edo || !roomHorizon || !edo->IsHostRelated(roomHorizon) || !FindOpeningWall(opening, wall))
        return 0.0;
    const double thickness = GetRecordPropFloat(wall.get(), "Thickness");
    const double frame = GetRecordPropFloat(opening, "FrameThickness");
    if (HasOneRelatedAtTopElev(opening, GetRecordElementTypeID(roomHorizon)))
        return thickness - frame;

    const auto wallEdo = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(wall, true));
    const IQTKElementDrawObj* roomObj = GetRecordDrawObj(roomHorizon);
    const TVRMCustomLine2d* left = wallEdo ? wallEdo->GetLeftLine() : nullptr;
    const TVRMCustomLine2d* right = wallEdo ? wallEdo->GetRightLine() : nullptr;
    if (!left || !right || !roomObj || !roomObj->GetShape())
        return 0.0;
    const TVRMMultiPolygon2d& outline = roomObj->GetShape()->GetOutline();
    const TVRMBox2d box = outline.Box();
    const bool leftIn = box.Contains(left->StartPt()), rightIn = box.Contains(right->StartPt());
    if (leftIn && rightIn)
        return TVRMPositionFunc2d::DistanceTo(left->StartPt(), *right);
    const TVRMCustomLine2d* side = leftIn ? left : rightIn ? right : nullptr;
    const std::optional<TVRMPoint2d> p = OpeningLineStart(opening);
    if (!side || !p || outline.IsEmpty())
        return 0.0;
    for (const TVRMCustomLine2d& edge : outline.GetItems(0).GetEdges())
        if (LessEqualThan(TVRMPositionFunc2d::DistanceTo(*p, edge), thickness))
            return TVRMPositionFunc2d::DistanceTo(*p, *side) - frame / 2.0;
    return 0.0;
}

double GetHoleSideArea(IRDXRecord* opening, IRDXRecord* finish, bool block)
{
    if (!IsOpeningOnFaceSide(finish, opening))
        return 0.0;
    const IQTKElementDrawObj* openingObj = GetRecordDrawObj(opening);
    const IQTKElementDrawObj* finishObj = GetRecordDrawObj(finish);
    const auto* frame = dynamic_cast<const IQTKOpeningFrameOwner*>(openingObj);
    const IQTKOpeningFrame* frameInfo = frame ? frame->GetOpeningFrame() : nullptr;
    const int hostType = GetRecordElementTypeID(finishObj->GetParentRecord());
    if (frameInfo && !frameInfo->IsSet() && finishObj->GetElementTypeID() == CWallFaceFinishType &&
        (hostType == 0 || hostType == 1 || hostType == 69)) {
        if (IsOuterWallRecord(finish))
            return 0.0;
        return GetRecordPropFloat(finishObj->GetParentRecord(), "Thickness") + GetThicknessWithLayer(finish, block);
    }
    const std::optional<TVRMPoint2d> p = OpeningLineStart(opening);
    const auto attach = AttachEdoOf(finish);
    const TVRMCustomLine2d* side = attach ? attach->GetHostSideLine() : nullptr;
    if (!p || !side)
        return 0.0;
    const double d = TVRMPositionFunc2d::DistanceTo(*p, *side);
    if (openingObj->GetElementTypeID() != CRibbonWindowType)
        return d + GetThicknessWithLayer(finish, block);
    const double halfFrame = GetRecordPropFloat(opening, "FrameThickness") / 2.0;
    return LessEqualThan(d, halfFrame) ? 0.0 : d - halfFrame + GetThicknessWithLayer(finish, block);
}

double GetFinishHoleSideArea(IRDXRecord* opening, IRDXRecord* finish, const TVRMMultiPolygon2d* polygon, bool withDado,
                             bool /*withSkirt*/, bool block, bool /*flag1*/, bool /*flag2*/)
{
    if (!polygon || polygon->IsEmpty())
        return 0.0;
    const std::unique_ptr<TVRMLinearCalcContr> calc = BuildRevealCalc(opening, finish, block);
    if (!calc)
        return 0.0;
    if (withDado) {
        const RecordRef host = FinishHost(finish);
        const int edoPid = EdoPropValueInteger(GetRecordPropValues(finish), "EDOPID", -1);
        TRecordList dados;
        if (const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(finish, true))
            edo->GetRelatedByType(CDadoType, &dados);
        for (const RecordRef& dado : dados) {
            if (EdoPropValueInteger(GetRecordPropValues(dado.get()), "EDOPID", -2) != edoPid)
                continue;
            const auto attach = RefCast<IQTKWallAttachCalcEDO>(GetCalcEDO(dado, true));
            const Ref<IQTKSectionPoly> face = attach ? (block ? attach->GetBlockOriginalPolygon(host.get())
                                                              : attach->GetPlasteringOriginalPolygon(host.get()))
                                                     : nullptr;
            if (face && face->GetPolygon())
                calc->Append(*face->GetPolygon(), 1);
        }
    }
    calc->Append(*polygon, 2);
    return calc->GetLengthFor(2);
}

double GetSkirtHoleSideArea(IRDXRecord* skirt, IRDXRecord* opening, bool block)
{
    if (!IsOpeningOnFaceSide(skirt, opening))
        return 0.0;
    const double depth = GetHoleSideArea(opening, skirt, block);
    const std::optional<TVRMCustomLine2d> span = GetOpeningSpan(opening);
    const auto attach = AttachEdoOf(skirt);
    if (!span || !attach)
        return 0.0;
    // The reveals stand at the opening's two ends, half its length either
    // side of its middle.
    const TVRMCustomLine2d line = attach->GetCalcLine();
    const double middle = line.LengthAtPoint(span->MiddlePoint());
    const double half = span->Length() / 2.0;
    int ends = 0;
    for (const double at : {middle - half, middle + half})
        if (GreaterThan(at, 0.0) && LessThan(at, line.Length()))
            ++ends;
    return GetRecordPropFloat(skirt, "Height") * ends * depth;
}
