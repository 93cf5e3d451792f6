#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpening.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CWallType = 0;
constexpr int CInsulatingWallType = 1;
constexpr int CRibbonWindowType = 8;
constexpr int CRibbonOpeningType = 9;
constexpr int CInsulatingWallUnitType = 86;

double PropFloat(const IQTKElementDrawObj* drawObj, std::string_view name)
{
    return drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), name) : 0.0;
}

bool IsRibbonType(int typeId)
{
    return typeId == CRibbonWindowType || typeId == CRibbonOpeningType;
}

// The first ring of an opening's plan polygon (a ribbon's from its line element object); nil without one.
const TVRMPolygon2d* OpeningPlanRing(IRDXRecord* opening)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(opening, true);
    const TVRMMultiPolygon2d* plan = nullptr;
    if (auto* hollow = Supports<IQTKWallHollowCalcEDO>(edo.get()))
        plan = hollow->GetPlanPolygon();
    else if (auto* line = Supports<IQTKLineEntBaseCalcEDO>(edo.get()))
        plan = line->GetPlanPolygon();
    return plan && !plan->IsEmpty() ? &plan->GetItems(0) : nullptr;
}

// The plane of the reference face of a slab's original solid: the face before
// the last (its top).
std::optional<TVRMPlane3d> SlabReferencePlane(IQTKCalculatorEDO* slab)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(slab);
    if (!solid || solid->GetFaceCount() < 2)
        return std::nullopt;
    return solid->GetFace(solid->GetFaceCount() - 2).GetPlane();
}

bool LineCrossesOutline(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& outline)
{
    std::vector<TVRMPoint2d> points;
    TVRMIntersectFunc2d::Intersect(line, outline, points);
    return !points.empty();
}

// The lowest bottom of the related members of Types that pass Candidate and span the wall's higher top.
template <class Candidate>
double WallTopUnder(IRDXRecord* wall, const TQTKElementTypeSet& types, Candidate candidate)
{
    const IQTKLineShape* wallShape = GetDrawObjLineShape(GetRecordDrawObj(wall));
    if (!wallShape)
        return 0.0;
    const double top = std::max(wallShape->GetStartPtTopElev(), wallShape->GetEndPtTopElev());
    const TVRMPoint2d middle = wallShape->GetLine().MiddlePoint();
    double result = top;
    TRecordList members;
    GetCalcEDO(wall, true)->GetRelatedByTypes(types, &members);
    for (const RecordRef& member : members) {
        if (!candidate(member.get()))
            continue;
        const IQTKLineShape* shape = GetDrawObjLineShape(GetRecordDrawObj(member.get()));
        if (!shape)
            continue;
        const double memberTop = shape->GetTopElevAt(middle);
        const double memberBottom = shape->GetBottomElevAt(middle);
        if (!LessThan(memberTop, top) && !GreaterThan(memberBottom, top))
            result = std::min(result, memberBottom);
    }
    return result;
}

// Appends the overlay outlines on Wall of the fill walls related to Element; Flag(outline) gives each one's detail
// flag.
template <class FlagOf>
void AppendOverlays(IRDXRecord* element, IRDXRecord* wall, TVRMMultiPolyLinearCalc2d& calc, FlagOf flagOf)
{
    const IQTKElementDrawObj* wallDrawObj = GetRecordDrawObj(wall);
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(element, true);
    const int count = edo->GetRelatedCount();
    for (int i = 0; i < count; ++i) {
        const RecordRef related = edo->GetRelated(i);
        const Ref<IQTKCalculatorEDO> relatedEdo = GetCalcEDO(related, true);
        auto* fillWall = Supports<IQTKWallCalcEDO>(relatedEdo.get());
        if (!fillWall || !wallDrawObj || relatedEdo->GetElementDrawObj()->GetIndexKey() == wallDrawObj->GetIndexKey())
            continue;
        if (fillWall->GetFillWallOverlayState() != 2 || !WallLinksId(related->GetID(), wall))
            continue;
        if (const TVRMMultiPolygon2d* overlay = fillWall->GetOverlayPolygon(wall))
            calc.Append(*overlay, 1, nullptr, flagOf(*overlay));
    }
}

// Copy of Piece less the fill walls overlaying the wall that it meets.
std::unique_ptr<TVRMPolyhedron3d> CutPieceBackToWall(const TVRMPolyhedron3d& piece, IRDXRecord* wall)
{
    auto result = piece.Clone();
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(wall, true);
    auto* wallEdo = Supports<IQTKWallCalcEDO>(edo.get());
    if (!wallEdo || wallEdo->GetOverlayFillWallCount() <= 0)
        return result;
    TRecordList walls;
    edo->GetRelatedByType(CWallType, &walls);
    for (const RecordRef& other : walls) {
        const Ref<IQTKCalculatorEDO> otherEdo = GetCalcEDO(other, true);
        auto* otherWall = Supports<IQTKWallCalcEDO>(otherEdo.get());
        if (!otherWall || otherWall->GetFillWallOverlayState() != 2 ||
            !WallLinksId(otherEdo->GetElementDrawObj()->GetIndexKey(), wall))
            continue;
        const std::shared_ptr<const TVRMPolyhedron3d> otherSolid = HoldOriginalSolid(otherEdo.get());
        if (otherSolid && IsIntersectant(*otherSolid, *result))
            TVRMNewPolyBooleanOperator::BooleanOperate(*result, *otherSolid, CVRMBoolSubtract);
    }
    return result;
}

const TVRMPolyhedron3d* WallSolidWithoutFillWalls(IRDXRecord* wall)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(wall, true);
    auto* wallEdo = Supports<IQTKWallCalcEDO>(edo.get());
    return wallEdo ? wallEdo->GetSolidWithoutOverlayFillWalls() : nullptr;
}

int ShellKinds(bool bothKinds)
{
    return bothKinds ? CVRMSuperpositionBoth : CVRMSuperpositionContact;
}

}  // namespace

Ref<IQTKInsulatingWallUnitCalcEDO> GetInsulatingUnitEDO(IRDXRecord* record)
{
    const auto edo = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(record, true));
    if (!edo)
        throw EIntfCastError("element " + std::to_string(record->GetID()) + " is no insulating wall unit");
    return edo;
}

bool IsParallelLineEntOverlapping(IRDXRecord* a, IRDXRecord* b)
{
    if (!IsLineEntsParallel(a, b))
        return false;
    auto* lineA = Supports<IQTKLineEntBaseCalcEDO>(GetCalcEDO(a, true).get());
    auto* lineB = Supports<IQTKLineEntBaseCalcEDO>(GetCalcEDO(b, true).get());
    const TVRMCustomLine2d* midA = lineA ? lineA->GetMidLine() : nullptr;
    const TVRMCustomLine2d* midB = lineB ? lineB->GetMidLine() : nullptr;
    if (!midA || !midB)
        return false;
    TVRMCustomLine2d piece;
    return TVRMPositionFunc2d::SubSeg(*midA, *midB, piece) && GreaterThan(piece.Length(), 0.0);
}

bool IsOutlineBetweenWallFaces(IQTKElementDrawObj* wall, IQTKElementDrawObj* element)
{
    if (!wall || !element || !element->GetShape())
        return false;
    TVRMCustomLine2d line;
    double axisOffset = 0.0;
    if (wall->GetElementTypeID() == CWallType) {
        const IQTKLineShape* shape = GetDrawObjLineShape(wall);
        if (!shape)
            return false;
        line = shape->GetLine();
        // The line shape's offset is the "AxisOffset" property, half the
        // width when the wall has none.
        axisOffset = shape->GetAxisOffset();
    } else {
        const Ref<IQTKCalculatorEDO> edo = GetOrCreateCalcEDO(wall, true);
        auto* unit = Supports<IQTKInsulatingWallUnitCalcEDO>(edo.get());
        if (!unit || !unit->GetMidLine())
            return false;
        line = *unit->GetMidLine();
        axisOffset = PropFloat(wall, "Thickness") / 2.0;
    }
    const TVRMMultiPolygon2d& outline = element->GetShape()->GetOutline();
    // 1 mm beyond the left face, then 1 mm beyond the right one.
    const TVRMCustomLine2d beyondLeft = TVRMOffsetFunc2d::Offset(line, -axisOffset - 1.0);
    if (LineCrossesOutline(beyondLeft, outline))
        return false;
    const TVRMCustomLine2d beyondRight = TVRMOffsetFunc2d::Offset(beyondLeft, PropFloat(wall, "Thickness") + 2.0);
    return !LineCrossesOutline(beyondRight, outline);
}

bool IsCoveredByWalls(IRDXRecord* wall, IRDXRecord* element)
{
    IQTKElementDrawObj* elementDrawObj = GetRecordDrawObj(element);
    if (!elementDrawObj || !elementDrawObj->GetShape())
        return false;
    auto rest = elementDrawObj->GetShape()->GetOutline().Clone();
    if (rest->IsRectangle())
        return IsOutlineBetweenWallFaces(GetRecordDrawObj(wall), elementDrawObj);
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(element, true);
    const int count = edo->GetRelatedCount();
    for (int i = 0; i < count && !rest->IsEmpty(); ++i) {
        const RecordRef related = edo->GetRelated(i);
        const int typeId = GetRecordElementTypeID(related.get());
        const TVRMMultiPolygon2d* plan = nullptr;
        std::unique_ptr<TVRMMultiPolygon2d> unitPlan;
        if (typeId == CWallType || typeId == CInsulatingWallType) {
            if (auto* line = Supports<IQTKLineEntBaseCalcEDO>(GetCalcEDO(related, true).get()))
                plan = line->GetPlanPolygon();
        } else if (typeId == CInsulatingWallUnitType) {
            // A unit's plan: the polygon between its side lines.
            auto* unit = Supports<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(related, true).get());
            if (unit && unit->GetLeftLine() && unit->GetRightLine())
                plan = (unitPlan = CreateMultiPolygonFromLines(*unit->GetLeftLine(), *unit->GetRightLine())).get();
        }
        if (plan)
            rest = TVRMIntersectFunc2d::SyncSubPolygon(*rest, *plan);
    }
    if (rest->IsEmpty() || SameValue(rest->Area(), 0.0, 1.0))
        return true;
    // A sliver thinner than about 1 mm left over counts as covered.
    const double perimeter = rest->Perimeter();
    return GreaterThan(perimeter, 0.0) && LessThan(rest->Area() / perimeter, 0.5);
}

bool IsWallDeductedByWall(IRDXRecord* wall, IRDXRecord* other)
{
    if (IsConcreteWallLinked(wall, other) || IsConcreteWallLinked(other, wall) || IsWallPairSameKind(wall, other))
        return false;
    return IsLineEntCutBy(wall, other, true);
}

bool IsTypeZeroElement(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj && drawObj->GetPropValues() && drawObj->GetPropValues()->HasProp("Type") &&
           drawObj->GetPropValues()->GetInteger("Type", -1) == 0;
}

bool IsOpeningOnWallPlan(IRDXRecord* wall, IRDXRecord* opening)
{
    if (GetRecordElementTypeID(wall) == CInsulatingWallUnitType)
        if (IRDXRecord* host = FindMasterRecord(wall, "EDOPID"))
            wall = host;
    if (!wall || !opening)
        return false;
    if (FieldValueInteger(opening, "EDOPID", -1) == wall->GetID())
        return true;
    auto* wallLine = Supports<IQTKLineEntBaseCalcEDO>(GetCalcEDO(wall, true).get());
    const TVRMMultiPolygon2d* wallPlan = wallLine ? wallLine->GetPlanPolygon() : nullptr;
    const TVRMPolygon2d* openingPlan = OpeningPlanRing(opening);
    if (!wallPlan || wallPlan->IsEmpty() || !openingPlan)
        return false;
    const int position = TVRMPositionFunc2d::PolyPolyPosition(wallPlan->GetItems(0), *openingPlan);
    return position != 0 && position != 2;
}

bool IsHollowHostParallel(IRDXRecord* wall, IRDXRecord* opening)
{
    if (IsRibbonType(GetRecordElementTypeID(opening)))
        return IsLineEntsParallel(wall, opening);
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(opening);
    return drawObj && IsLineEntsParallel(wall, drawObj->GetParentRecord());
}

std::unique_ptr<TVRMPolyhedron3d> BuildColumnIndentingSolid(IRDXRecord* column, bool whole)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(column);
    const auto* pointShape = drawObj ? dynamic_cast<const IQTKPointShape*>(drawObj->GetShape()) : nullptr;
    if (!pointShape || pointShape->GetOutline().IsEmpty())
        return std::make_unique<TVRMPolyhedron3d>();
    // The masonry walls beside the column: walls that are not concrete, and insulating walls.
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(column, true);
    TRecordList related, walls;
    edo->GetRelatedByType(CWallType, &related);
    for (const RecordRef& wall : related)
        if (!IsConcreteElement(GetRecordDrawObj(wall.get())))
            walls.push_back(wall);
    edo->GetRelatedByType(CInsulatingWallType, &related);
    walls.insert(walls.end(), related.begin(), related.end());

    TVRMPolygon2d ring = pointShape->GetOutline().GetItems(0);
    const TVRMPoint2d insertPt = pointShape->GetInsertPt();
    double width = PropFloat(drawObj, "IndentingWidth");
    if (!whole)
        width /= 2.0;
    if (ring.IsClockwise())
        width = -width;  // every offset moves an edge away from the column
    // Backwards, so that the indexes of the edges still to come stay valid.
    for (int i = ring.GetEdgeCount() - 1; i >= 0; --i) {
        const TVRMCustomLine2d edge = ring.GetEdge(i);
        for (const RecordRef& wall : walls) {
            const IQTKLineShape* wallShape = GetDrawObjLineShape(GetRecordDrawObj(wall.get()));
            if (!wallShape)
                continue;
            // The wall's line moved parallel through the insertion point.
            const TVRMCustomLine2d& axis = wallShape->GetLine();
            const TVRMCustomLine2d through =
                TVRMOffsetFunc2d::Offset(axis, TVRMPositionFunc2d::SignedDistanceTo(insertPt, axis));
            std::vector<TVRMPoint2d> points;
            if (TVRMIntersectFunc2d::Intersect(through, edge, points) != 1)
                continue;
            TVRMCustomLine2d moved;
            if (TVRMOffsetFunc2d::Offset(edge, width, moved)) {
                // The edge becomes a tooth: out to the moved edge, along it, back to the edge's end.
                auto& vertices = ring.Vertices();
                vertices[static_cast<size_t>(i)].radius = 0.0;
                vertices[static_cast<size_t>(i)].kind = CVRMArcKindNone;
                const TVRMVertex2d toothStart{moved.StartPt(), moved.IsArc() ? moved.Radius() : 0.0, moved.ArcKind()};
                const TVRMVertex2d toothEnd{moved.EndPt()};
                vertices.insert(vertices.begin() + i + 1, {toothStart, toothEnd});
            }
            break;  // the first wall whose line crosses the edge decides it
        }
    }
    TVRMMultiPolygon2d plan;
    plan.Add(std::move(ring));
    const double bottom = PropFloat(drawObj, "BottomElev");
    return TVRMPolyhedron3d::CreatePrism(plan, bottom, PropFloat(drawObj, "TopElev") - bottom);
}

std::unique_ptr<TVRMPolyhedron3d> BuildSlabPolygonSolidOverWall(IRDXRecord* slab, IRDXRecord* wall,
                                                                const TVRMMultiPolygon2d& polygon)
{
    const IQTKElementDrawObj* wallDrawObj = GetRecordDrawObj(wall);
    const IQTKLineShape* wallShape = GetDrawObjLineShape(wallDrawObj);
    const Ref<IQTKCalculatorEDO> slabEdo = GetCalcEDO(slab, true);
    const std::optional<TVRMPlane3d> reference = SlabReferencePlane(slabEdo.get());
    if (!wallShape || !reference)
        return std::make_unique<TVRMPolyhedron3d>();
    const Ref<IQTKCalculatorEDO> wallEdo = GetCalcEDO(wall, true);
    double width = wallShape->GetWidth(), axisOffset = wallShape->GetAxisOffset();
    if (auto* info = Supports<IQTKLineEdoInfo>(wallEdo.get())) {
        width = info->GetWidth();
        axisOffset = info->GetAxisOffset();
    }
    TQTKLinearCalc2d calc(wallShape->GetLine(), true, 1.0, 0.0);
    // Coplanar slabs of the same kind claim their stretch of the wall line first.
    const int slabType = GetRecordElementTypeID(slab);
    TRecordList neighbours;
    wallEdo->GetRelatedByType(slabType, &neighbours);
    for (const RecordRef& other : neighbours) {
        if (other->GetID() == slab->GetID())
            continue;
        const Ref<IQTKCalculatorEDO> otherEdo = GetCalcEDO(other, true);
        const std::optional<TVRMPlane3d> plane = SlabReferencePlane(otherEdo.get());
        if (plane && plane->IsSuperposition(*reference) && otherEdo->GetElementDrawObj()->GetShape())
            calc.Append(otherEdo->GetElementDrawObj()->GetShape()->GetOutline(), width, axisOffset, 1, nullptr, true);
    }
    calc.Append(polygon, width, axisOffset, 0, nullptr, true);
    calc.DeleteSameMark();
    // A band twice the wall's width centred on each piece the slab alone covers.
    TVRMMultiPolygon2d bands;
    const TVRMSeg2dList pieces = calc.BuildSubLines(0);
    for (const TVRMCustomLine2d& piece : pieces.Items())
        bands.Add(TVRMPolygon2d::CreateBand(piece, width, width));
    const auto merged = TVRMIntersectFunc2d::MergePolygon(polygon, bands);
    return TVRMPolyhedron3d::CreateOnPlane(*merged, *reference, GetRecordThickness(slab));
}

std::unique_ptr<TVRMPolyhedron3d> BuildSlabSolidOverWall(IRDXRecord* slab, IRDXRecord* wall)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(slab);
    const auto* faceShape = drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
    if (!faceShape)
        return std::make_unique<TVRMPolyhedron3d>();
    return BuildSlabPolygonSolidOverWall(slab, wall, faceShape->GetPolygon());
}

std::optional<TVRMPlane3d> GetSlabReferencePlane(IQTKCalculatorEDO& slab)
{
    return SlabReferencePlane(&slab);
}

double DeductSlabJointStrips(IQTKCalculatorEDO& element, IQTKSlabCalculator& slab, IRDXRecord* slabRecord,
                             const TVRMMultiPolygon2d& plan, const TVRMCustomLine2d& left,
                             const TVRMCustomLine2d& right, std::unique_ptr<TVRMMultiPolygon2d>& rest,
                             const TQTKSlabJointHooks& hooks)
{
    const std::optional<TVRMPlane3d> reference = GetSlabReferencePlane(slab);
    if (!reference)
        return 0.0;
    const int writerId = element.GetElementDrawObj()->GetRecord()->GetID();
    double result = 0.0;
    TRecordList candidates;
    element.GetRelatedByType(slab.GetElementDrawObj()->GetElementTypeID(), &candidates);
    for (const RecordRef& candidate : candidates) {
        if (candidate->GetID() == slabRecord->GetID())
            continue;
        const Ref<IQTKSlabCalculator> other = RefCast<IQTKSlabCalculator>(GetCalcEDO(candidate, true));
        const std::optional<TVRMPlane3d> otherPlane = other ? GetSlabReferencePlane(*other) : std::nullopt;
        const IQTKShape* otherShape = other ? other->GetElementDrawObj()->GetShape() : nullptr;
        if (!otherPlane || !otherShape || !otherPlane->IsSuperposition(*reference) ||
            !GreaterThan(slab.GetThickness(), other->GetThickness()))
            continue;
        // The edges of the remaining outline along the element that lie in the thinner slab.
        std::vector<TVRMCustomLine2d> pieces;
        for (const TVRMPolygon2d& ring : rest->Items())
            for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
                if (!TVRMPositionFunc2d::IsParallel(edge, left))
                    continue;
                std::vector<TVRMCustomLine2d> inside;
                TVRMIntersectFunc2d::Intersect(edge, otherShape->GetOutline(), inside);
                pieces.insert(pieces.end(), inside.begin(), inside.end());
            }
        for (const TVRMCustomLine2d& piece : pieces) {
            // The strip across the element along the joint: the piece, running
            // against the left line, moved onto the left and onto the right line.
            TVRMCustomLine2d first = piece;
            if (GreaterThan(left.TangentAt(first.StartPt()).InnerProduct(first.StartDirection()), 0.0))
                first.Reverse();
            const TVRMCustomLine2d onLeft =
                TVRMOffsetFunc2d::Offset(first, TVRMPositionFunc2d::SignedDistanceTo(first.StartPt(), left));
            const TVRMCustomLine2d onRight =
                TVRMOffsetFunc2d::Offset(first, TVRMPositionFunc2d::SignedDistanceTo(first.StartPt(), right));
            const auto strip = CreateMultiPolygonFromLines(onLeft, onRight);
            const auto clipped = TVRMIntersectFunc2d::IntPolygon(*strip, plan);
            if (clipped->IsEmpty())
                continue;
            if (hooks.recordJointPolygons) {
                slab.AddDeductPolygon(writerId, TVRMIntersectFunc2d::IntPolygon(*clipped, *rest));
                other->AddAddPolygon(writerId, clipped->Clone());
            }
            const auto prism = TVRMPolyhedron3d::CreateOnPlane(
                *clipped, *reference, hooks.combineThickness(slab.GetThickness(), other->GetThickness()));
            result += hooks.deductPiece(*prism);
            rest = TVRMIntersectFunc2d::SyncSubPolygon(*rest, *clipped);
        }
    }
    return result;
}

double GetWallTopUnderMembers(IRDXRecord* wall, const TQTKElementTypeSet& types)
{
    return WallTopUnder(wall, types, [wall](IRDXRecord* member) {
        return IsParallelLineEntOverlapping(wall, member) && IsLineEntOnPosition(wall, member, true, true);
    });
}

double GetWallTopUnderMembersOnLine(IRDXRecord* wall, const TQTKElementTypeSet& types, const TVRMCustomLine2d& line)
{
    return WallTopUnder(wall, types, [wall, &line](IRDXRecord* member) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(member);
        return IsLineEntsParallel(wall, member) && drawObj && drawObj->GetShape() &&
               LineCrossesOutline(line, drawObj->GetShape()->GetOutline());
    });
}

void AppendOpeningSectionsOnWall(TVRMMultiPolyLinearCalc2d& calc, IRDXRecord* wall)
{
    TRecordList openings;
    GetCalcEDO(wall, true)->GetRelatedByTypes(MakeElementTypeSet({4, 5, 6, 7, 8, 9}), &openings);
    for (const RecordRef& opening : openings) {
        const bool onWall =
            (IsRibbonType(GetRecordElementTypeID(opening.get())) && IsLineEntsParallel(wall, opening.get())) ||
            IsOpeningOnWallPlan(wall, opening.get());
        if (!onWall)
            continue;
        const Ref<IQTKSectionPoly> section = GetOpeningSectionOnWall(opening.get(), wall);
        if (section && section->GetPolygon())
            calc.Append(*section->GetPolygon(), 1, nullptr, true);
    }
}

void AppendOverlayFillWallPolygons(IRDXRecord* element, IRDXRecord* wall, TVRMMultiPolyLinearCalc2d& calc, bool flag)
{
    AppendOverlays(element, wall, calc, [flag](const TVRMMultiPolygon2d&) { return flag; });
}

void AppendOverlayFillWallPolygonsByPosition(IRDXRecord* element, IRDXRecord* wall, TVRMMultiPolyLinearCalc2d& calc,
                                             bool flag, const TVRMMultiPolygon2d& polygon)
{
    AppendOverlays(element, wall, calc, [flag, &polygon](const TVRMMultiPolygon2d& overlay) {
        return flag && TVRMPositionFunc2d::MultiPolyMultiPolyPosition(overlay, polygon) == 2;
    });
}

double SubtractWallFromShell(TQTKShellCalc3d& calc, IRDXRecord* wall, bool bothKinds, bool lastFlag)
{
    const TVRMPolyhedron3d* solid = WallSolidWithoutFillWalls(wall);
    if (!solid)
        return 0.0;
    const auto copy = solid->Clone();
    return calc.Subtract(*copy, wall, ShellKinds(bothKinds), nullptr, true, lastFlag);
}

double SubtractWallFromOverhighShell(TVRMOverhighShellCalc3d& calc, IRDXRecord* wall, bool bothKinds)
{
    const TVRMPolyhedron3d* solid = WallSolidWithoutFillWalls(wall);
    if (!solid)
        return 0.0;
    const auto copy = solid->Clone();
    return calc.Subtract(*copy, wall, ShellKinds(bothKinds), nullptr, true, true);
}

double SubtractWallPieceFromShell(const TVRMPolyhedron3d& piece, TQTKShellCalc3d& calc, IRDXRecord* wall,
                                  bool bothKinds)
{
    const auto cut = CutPieceBackToWall(piece, wall);
    return calc.Subtract(*cut, wall, ShellKinds(bothKinds), nullptr, true, true);
}

double SubtractWallPieceFromOverhighShell(const TVRMPolyhedron3d& piece, TVRMOverhighShellCalc3d& calc,
                                          IRDXRecord* wall, bool bothKinds)
{
    const auto cut = CutPieceBackToWall(piece, wall);
    return calc.Subtract(*cut, wall, ShellKinds(bothKinds), nullptr, true, true);
}

double GetAlcoveDepthInUnit(IRDXRecord* unit, IRDXRecord* alcove)
{
    const Ref<IQTKCalculatorEDO> unitEdo = GetCalcEDO(unit, true);
    auto* unitObj = Supports<IQTKInsulatingWallUnitCalcEDO>(unitEdo.get());
    auto* hollow = Supports<IQTKWallHollowCalcEDO>(GetCalcEDO(alcove, true).get());
    const TVRMMultiPolygon2d* plan = hollow ? hollow->GetPlanPolygon() : nullptr;
    if (!unitObj || !plan || !unitObj->GetLeftLine() || !unitObj->GetRightLine())
        return 0.0;
    const bool left = LineCrossesOutline(*unitObj->GetLeftLine(), *plan);
    const bool right = LineCrossesOutline(*unitObj->GetRightLine(), *plan);
    if (left && right)
        return PropFloat(unitEdo->GetElementDrawObj(), "Thickness");
    if (!left && !right)
        return 0.0;
    // The alcove's back edge: the first edge parallel to the crossed line whose middle lies in the unit.
    const TVRMCustomLine2d& crossed = left ? *unitObj->GetLeftLine() : *unitObj->GetRightLine();
    const IQTKShape* unitShape = unitEdo->GetElementDrawObj()->GetShape();
    if (!unitShape)
        return 0.0;
    const TVRMBox2d box = unitShape->GetOutline().Box();
    for (const TVRMPolygon2d& ring : plan->Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
            const TVRMPoint2d middle = edge.MiddlePoint();
            if (TVRMPositionFunc2d::IsParallel(edge, crossed) && TVRMPositionFunc2d::IsPointInBox(middle, box))
                return TVRMPositionFunc2d::DistanceTo(middle, crossed);
        }
    return 0.0;
}

namespace {

// The strip of plan across a wall that one holder answers for at a pier: the
// offsets (to the right of the wall's line, along its direction at the pier's
// foot) from From to To. A wall, or the only layer, holds the whole plan.
struct TPierStrip {
    TVRMPoint2d foot;
    TVRMVector2d right;
    double from = -std::numeric_limits<double>::infinity();
    double to = std::numeric_limits<double>::infinity();

    double Offset(const TVRMPoint2d& p) const { return (p - foot).InnerProduct(right); }
    // The share of the straight piece from A to B whose offset lies in [from, to).
    double ShareOf(const TVRMPoint2d& a, const TVRMPoint2d& b) const
    {
        const double sa = Offset(a), sb = Offset(b), length = a.DistanceTo(b);
        if (SameValue(sa, sb))
            return from <= sa && sa < to ? length : 0.0;
        const double t1 = (from - sa) / (sb - sa), t2 = (to - sa) / (sb - sa);
        return length * std::max(0.0, std::min(1.0, std::max(t1, t2)) - std::max(0.0, std::min(t1, t2)));
    }
    double ShareOf(const TVRMCustomLine2d& piece) const
    {
        if (!piece.IsArc())
            return ShareOf(piece.StartPt(), piece.EndPt());
        // An arc side by short chords, each standing for its length of arc.
        constexpr int CSteps = 32;
        const double step = piece.Length() / CSteps;
        double share = 0.0;
        for (int i = 0; i < CSteps; ++i) {
            const TVRMPoint2d a = piece.PointAtLength(i * step), b = piece.PointAtLength((i + 1) * step);
            const double chord = a.DistanceTo(b);
            if (chord > 0.0)
                share += ShareOf(a, b) / chord * step;
        }
        return share;
    }
};

// The wall a holder belongs to: the layer's insulating wall, else itself.
IRDXRecord* WallOfHolder(IRDXRecord* holder, const IQTKElementDrawObj& holderDrawObj)
{
    if (holderDrawObj.GetElementTypeID() != CInsulatingWallUnitType)
        return holder;
    IRDXRecord* parent = holderDrawObj.GetParentRecord();
    const IQTKElementDrawObj* parentDrawObj = GetRecordDrawObj(parent);
    return parentDrawObj && dynamic_cast<const IQTKLineShape*>(parentDrawObj->GetShape()) ? parent : holder;
}

// The least and greatest offset of the outline's corners from the line.
std::pair<double, double> OffsetRange(const TVRMMultiPolygon2d& outline, const TVRMCustomLine2d& line)
{
    double low = std::numeric_limits<double>::infinity(), high = -low;
    for (const TVRMPolygon2d& ring : outline.Items())
        for (const TVRMVertex2d& v : ring.Vertices()) {
            const double offset = TVRMPositionFunc2d::SignedDistanceTo(v.pt, line, false);
            low = std::min(low, offset);
            high = std::max(high, offset);
        }
    return {low, high};
}

TPierStrip PierStripOf(const IQTKPointShape& pierShape, const IQTKLineShape& holderShape,
                       const IQTKLineShape& wallShape)
{
    TPierStrip strip;
    const TVRMCustomLine2d& line = wallShape.GetLine();
    strip.foot = TVRMPositionFunc2d::ClosestPointTo(pierShape.GetInsertPt(), line, false);
    strip.right = line.TangentAt(strip.foot).RotateHalfPi(true);
    if (&holderShape == &wallShape)
        return strip;
    const auto [low, high] = OffsetRange(holderShape.GetOutline(), line);
    const auto [wallLow, wallHigh] = OffsetRange(wallShape.GetOutline(), line);
    // The first and the last layer also hold what lies beyond the wall's face on their side.
    if (!SameValue(low, wallLow))
        strip.from = low;
    if (!SameValue(high, wallHigh))
        strip.to = high;
    return strip;
}

struct TPierHolderShapes {
    const IQTKPointShape* pier = nullptr;
    const IQTKLineShape* holder = nullptr;
    const IQTKLineShape* wall = nullptr;
    IRDXRecord* wallRecord = nullptr;
};

bool GetPierHolderShapes(IRDXRecord* holder, IRDXRecord* pier, TPierHolderShapes& shapes)
{
    const IQTKElementDrawObj* pierDrawObj = GetRecordDrawObj(pier);
    shapes.pier = pierDrawObj ? dynamic_cast<const IQTKPointShape*>(pierDrawObj->GetShape()) : nullptr;
    const IQTKElementDrawObj* holderDrawObj = GetRecordDrawObj(holder);
    shapes.holder = holderDrawObj ? dynamic_cast<const IQTKLineShape*>(holderDrawObj->GetShape()) : nullptr;
    if (!shapes.pier || !shapes.holder)
        return false;
    shapes.wallRecord = WallOfHolder(holder, *holderDrawObj);
    shapes.wall = shapes.wallRecord == holder
                      ? shapes.holder
                      : dynamic_cast<const IQTKLineShape*>(GetRecordDrawObj(shapes.wallRecord)->GetShape());
    return true;
}

}  // namespace

bool TQTKPierPlanSides::MeetsHolder() const
{
    return GreaterThan(wallContact, 0.0);
}

bool GetPierPlanSides(IRDXRecord* holder, IRDXRecord* pier, TQTKPierPlanSides& sides)
{
    TPierHolderShapes shapes;
    if (!GetPierHolderShapes(holder, pier, shapes))
        return false;
    TVRMMultiPolyLinearCalc2d calc;
    calc.Add(shapes.pier->GetOutline(), true);
    calc.Append(shapes.holder->GetOutline(), holder->GetID(), nullptr, true, CVRMEpsilon);
    if (shapes.wall != shapes.holder)
        calc.Append(shapes.wall->GetOutline(), shapes.wallRecord->GetID(), nullptr, true, CVRMEpsilon);
    sides.perimeter = shapes.pier->GetPolygon().Perimeter();
    sides.contact = calc.GetLengthFor(holder->GetID());
    sides.wallContact = calc.GetAllLength() - calc.GetNullLength();
    const TPierStrip strip = PierStripOf(*shapes.pier, *shapes.holder, *shapes.wall);
    sides.exposed = 0.0;
    const TVRMSeg2dList exposed = calc.GetMarkedSegs(CQTKNullMark);
    for (const TVRMCustomLine2d& piece : exposed.Items())
        sides.exposed += strip.ShareOf(piece);
    return true;
}

void KeepPierSidesOfHolder(TVRMPolyhedronShell3d& sides, IRDXRecord* holder, IRDXRecord* pier)
{
    TPierHolderShapes shapes;
    if (!GetPierHolderShapes(holder, pier, shapes))
        return;
    const TPierStrip strip = PierStripOf(*shapes.pier, *shapes.holder, *shapes.wall);
    // Upright planes across the strip's edges; the shell keeps the side against each normal.
    const auto keepBelow = [&](double offset, double sign) {
        const TVRMPoint2d at = strip.foot + strip.right * offset;
        const TVRMPlane3d plane(TVRMVector3d(sign * strip.right.x, sign * strip.right.y, 0.0),
                                TVRMPoint3d(at.x, at.y, 0.0));
        std::unique_ptr<TVRMPolyhedronShell3d> beyond;
        const std::unique_ptr<TVRMPolyhedronShell3d> kept = sides.Cut(plane, beyond, CVRMPlaneEpsilon);
        sides = kept ? *kept : TVRMPolyhedronShell3d();
    };
    if (std::isfinite(strip.to))
        keepBelow(strip.to, 1.0);
    if (std::isfinite(strip.from))
        keepBelow(strip.from, -1.0);
}
