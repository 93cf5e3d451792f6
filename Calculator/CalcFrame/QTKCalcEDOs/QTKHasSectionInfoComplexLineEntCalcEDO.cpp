#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoComplexLineEntCalcEDO.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// Where a unit line K meets the edge from the left line's end point to the
// right line's (the line extended, a full circle for an arc). Two crossings
// (an arc): the one on the side of the side lines K lies beyond (K inside the
// inner side line: the crossing nearer the inner line's end; outside the
// outer: nearer the outer line's end), else the one nearer the edge's middle.
std::optional<TVRMPoint2d> EndOnEdge(const TVRMCustomLine2d& k, const TVRMCustomLine2d& left,
                                     const TVRMCustomLine2d& right, bool atStart)
{
    const TVRMPoint2d leftPt = atStart ? left.StartPt() : left.EndPt();
    const TVRMPoint2d rightPt = atStart ? right.StartPt() : right.EndPt();
    if (leftPt.DistanceTo(rightPt) < CVRMEpsilon)
        return std::nullopt;
    std::vector<TVRMPoint2d> points;
    switch (TVRMIntersectFunc2d::ExtIntersect(k, TVRMCustomLine2d(leftPt, rightPt), points)) {
        case 1:
            return points[0];
        case 2: {
            const TVRMPoint2d &p1 = points[0], &p2 = points[1];
            // The right line is the inner one on equal radii.
            const bool leftInner = left.IsArc() && right.IsArc() && left.Radius() < right.Radius();
            const TVRMCustomLine2d& inner = leftInner ? left : right;
            const TVRMCustomLine2d& outer = leftInner ? right : left;
            const TVRMPoint2d& innerPt = leftInner ? leftPt : rightPt;
            const TVRMPoint2d& outerPt = leftInner ? rightPt : leftPt;
            if (k.IsArc() && inner.IsArc() && k.Radius() < inner.Radius())
                return p1.DistanceTo(innerPt) < p1.DistanceTo(outerPt) ? p1 : p2;
            if (k.IsArc() && outer.IsArc() && k.Radius() > outer.Radius())
                return p1.DistanceTo(outerPt) < p1.DistanceTo(innerPt) ? p1 : p2;
            const TVRMPoint2d mid((leftPt.x + rightPt.x) / 2.0, (leftPt.y + rightPt.y) / 2.0);
            return p1.DistanceTo(mid) < p2.DistanceTo(mid) ? p1 : p2;
        }
        default:
            return std::nullopt;
    }
}

// K with its ends on the end edges of two side lines; nothing when an end is not met.
std::optional<TVRMCustomLine2d> BetweenEndEdges(const TVRMCustomLine2d& k, const TVRMCustomLine2d& left,
                                                const TVRMCustomLine2d& right)
{
    const std::optional<TVRMPoint2d> from = EndOnEdge(k, left, right, true);
    const std::optional<TVRMPoint2d> to = EndOnEdge(k, left, right, false);
    if (!from || !to)
        return std::nullopt;
    return TVRMPositionFunc2d::SubSeg(k, k.LengthAtPoint(*from), k.LengthAtPoint(*to), true);
}

}  // namespace

TQTKHasSectionInfoComplexLineEntCalcEDO::TQTKHasSectionInfoComplexLineEntCalcEDO(std::uint8_t mode,
                                                                                 IQTKElementDrawObj* drawObj)
    : TQTKHasSectionInfoLineEntCalcEDO(mode, drawObj), sectionMinOffset_(GetCompositeAxisOffset(drawObj))
{
}

// Offsets run to the right of the line, so a unit line Offset to the left of
// the axis lies AxisOffset - Width / 2 - Offset from the middle line.
TVRMCustomLine2d TQTKHasSectionInfoComplexLineEntCalcEDO::GetUnitAxisLine(double offset, double width,
                                                                          double axisOffset)
{
    const TVRMCustomLine2d k = TVRMOffsetFunc2d::Offset(*GetExtendedMidLine(), axisOffset - width / 2.0 - offset);
    if (std::optional<TVRMCustomLine2d> line = BetweenEndEdges(k, *GetLeftLine(), *GetRightLine()))
        return *line;
    return *GetMidLine();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoComplexLineEntCalcEDO::BuildSectionSolid(IRDXRecord* unitRecord)
{
    const IQTKElementDrawObj* unit = GetRecordDrawObj(unitRecord);
    if (!unit)
        return std::make_unique<TVRMPolyhedron3d>();
    // A prism has its end faces, whole, last already.
    if (auto prism = TakeUnitPrism(unit))
        return prism;
    auto solid = BuildLineSegmentSolid(*GetExtendedMidLine(), unit, true, true);
    if (!solid)
        return std::make_unique<TVRMPolyhedron3d>();
    if (solid->HasFaces()) {
        TVRMNewPolyBooleanOperator::Cut(*solid, *GetLeftLine(), *GetRightLine());
        int start = -1, end = -1;
        LocateEndFaces(*solid, *GetLeftLine(), *GetRightLine(), start, end);
    }
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoComplexLineEntCalcEDO::BuildSolid()
{
    if (GetCompositeUnitRecords(GetRecord()).empty())
        return TQTKHasSectionInfoLineEntCalcEDO::BuildSolid();  // no units drawn: its own section
    return BuildCompositeSegmentSolid(*GetExtendedMidLine(), GetElementDrawObj(), true);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoComplexLineEntCalcEDO::CreateSolid()
{
    if (auto solid = TQTKSolidBuilder::BuildLineEntSolid(this))
        return solid;
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const std::vector<const IQTKElementDrawObj*> units = GetCompositeUnitDrawObjs(drawObj);
    if (!units.empty()) {
        TKeptPrisms kept{GetLeftLine(), GetRightLine(), GetExtendedMidLine(), {}};
        std::vector<TUnitBand> bands;
        bands.reserve(units.size());
        for (const IQTKElementDrawObj* unit : units) {
            std::optional<TUnitBand> band = UnitBand(unit);
            if (!band)
                break;
            std::unique_ptr<TVRMPolyhedron3d> prism = BuildUnitPrism(*band);
            if (!prism)
                break;
            kept.byUnit[unit->GetRecord()->GetID()] = std::move(prism);
            bands.push_back(std::move(*band));
        }
        std::unique_ptr<TVRMPolyhedron3d> solid;
        if (bands.size() == units.size()) {
            // Stacked prisms are built whole; others are united.
            std::vector<TQTKUnitPrism> prisms;
            for (const TUnitBand& band : bands)
                prisms.push_back({&band.low, &band.high, band.lowOffset, band.highOffset, band.bottom, band.top});
            solid = BuildStackedUnitPrisms(std::move(prisms));
            if (!solid)
                solid = UniteCompositeUnits(drawObj, [&kept](const IQTKElementDrawObj* unit) {
                    const auto found = kept.byUnit.find(unit->GetRecord()->GetID());
                    return found != kept.byUnit.end() ? found->second->Clone() : nullptr;
                });
        }
        {
            std::lock_guard guard(DataLock());
            keptPrisms_ = std::move(kept);
        }
        if (solid)
            return solid;
    }
    return TQTKHasSectionInfoLineEntCalcEDO::CreateSolid();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoComplexLineEntCalcEDO::TakeUnitPrism(const IQTKElementDrawObj* unit)
{
    const TVRMCustomLine2d *left = GetLeftLine(), *right = GetRightLine(), *mid = GetExtendedMidLine();
    {
        std::lock_guard guard(DataLock());
        TKeptPrisms& kept = keptPrisms_;
        if (kept.left == left && kept.right == right && kept.mid == mid) {
            const auto found = kept.byUnit.find(unit->GetRecord()->GetID());
            if (found != kept.byUnit.end()) {
                std::unique_ptr<TVRMPolyhedron3d> prism = std::move(found->second);
                kept.byUnit.erase(found);
                return prism;
            }
        }
    }
    const std::optional<TUnitBand> band = UnitBand(unit);
    return band ? BuildUnitPrism(*band) : nullptr;
}

std::optional<TQTKHasSectionInfoComplexLineEntCalcEDO::TUnitBand> TQTKHasSectionInfoComplexLineEntCalcEDO::UnitBand(
    const IQTKElementDrawObj* unit)
{
    const TVRMCustomLine2d& left = *GetLeftLine();
    const TVRMCustomLine2d& right = *GetRightLine();
    TVRMCustomLine2d path;
    double half = 0.0, bottom = 0.0, top = 0.0;
    if (left.IsArc() || right.IsArc() || !GetStripUnitLevelBox(*GetExtendedMidLine(), unit, path, half, bottom, top))
        return std::nullopt;
    const double length = path.Length();
    if (IsZero(length) || !TVRMPositionFunc2d::IsSameDirection(left, path) ||
        !TVRMPositionFunc2d::IsSameDirection(right, path))
        return std::nullopt;
    // The side lines run along the path: at one distance from it at both ends.
    constexpr double CSame = 1e-9;
    const double l = TVRMPositionFunc2d::SignedDistanceTo(left.StartPt(), path);
    const double r = TVRMPositionFunc2d::SignedDistanceTo(right.StartPt(), path);
    if (std::abs(TVRMPositionFunc2d::SignedDistanceTo(left.EndPt(), path) - l) > CSame ||
        std::abs(TVRMPositionFunc2d::SignedDistanceTo(right.EndPt(), path) - r) > CSame)
        return std::nullopt;
    const double low = std::max(-half, std::min(l, r)), high = std::min(half, std::max(l, r));
    if (high - low <= CVRMEpsilon)
        return std::nullopt;
    const std::optional<TVRMCustomLine2d> a = BetweenEndEdges(TVRMOffsetFunc2d::Offset(path, low), left, right);
    const std::optional<TVRMCustomLine2d> b = BetweenEndEdges(TVRMOffsetFunc2d::Offset(path, high), left, right);
    if (!a || !b)
        return std::nullopt;
    // The sweep ends square to the path: it must reach past the prism's corners.
    const TVRMVector2d along = path.Vector();
    for (const TVRMPoint2d& p : {a->StartPt(), a->EndPt(), b->StartPt(), b->EndPt()}) {
        const double at = (p - path.StartPt()).InnerProduct(along) / length;
        if (at < -CSame || at > length + CSame)
            return std::nullopt;
    }
    return TUnitBand{*a, *b, low, high, bottom, top};
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoComplexLineEntCalcEDO::BuildUnitPrism(const TUnitBand& band)
{
    std::unique_ptr<TVRMPolyhedron3d> prism =
        BuildStackedUnitPrisms({{&band.low, &band.high, band.lowOffset, band.highOffset, band.bottom, band.top}});
    if (prism) {
        // In the order units have their faces: top, high side, bottom, low
        // side, then the start and end faces.
        prism->ExchangeFace(0, 3);
        prism->ExchangeFace(2, 3);
    }
    return prism;
}

void TQTKHasSectionInfoComplexLineEntCalcEDO::AfterPrepareSolid()
{
    TQTKHasSectionInfoLineEntCalcEDO::AfterPrepareSolid();
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const int unitType = GetCompositeUnitType(drawObj->GetElementTypeID());
    for (const RecordRef& unit : GetCompositeUnitRecords(GetRecord())) {
        const IQTKElementDrawObj* unitObj = GetRecordDrawObj(unit.get());
        if (!unitObj || unitObj->GetElementTypeID() != unitType)
            continue;
        // A unit whose preparation has not begun lays itself from this element,
        // as it stands now, when it is prepared: laying it again would build the
        // same lines and solid twice. One prepared (or being prepared) before is
        // laid again.
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(unit, false);
        const bool laidBefore = edo->GetPrepareState() != CQTKEdoNew;
        GetCalcEDO(unit, true);
        if (!laidBefore)
            continue;
        if (auto* laid = dynamic_cast<IQTKComplexLineEntUnitCalcEDO*>(edo.get()))
            laid->RebuildFromParent();
    }
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoComplexLineEntCalcEDO::BuildRelationPolyhedron()
{
    if (GetCompositeUnitRecords(GetRecord()).empty())
        return TQTKHasSectionInfoLineEntCalcEDO::BuildRelationPolyhedron();
    return BuildCompositeSolid(GetElementDrawObj());
}

bool TQTKHasSectionInfoComplexLineEntCalcEDO::IsPointInRelationSolid(const TVRMPoint3d& p, double tol)
{
    std::vector<const IQTKElementDrawObj*> units = GetCompositeUnitDrawObjs(GetElementDrawObj());
    if (units.empty())
        return TQTKHasSectionInfoLineEntCalcEDO::IsPointInRelationSolid(p, tol);
    // Units whose boxes hold the point are asked first: the likeliest to answer yes.
    std::stable_partition(units.begin(), units.end(),
                          [&](const IQTKElementDrawObj* unit) { return unit->GetBox().Contains(p, tol); });
    return std::any_of(units.begin(), units.end(), [&](const IQTKElementDrawObj* unit) {
        const std::unique_ptr<TVRMPolyhedron3d> solid = unit->BuildPolyhedron(true);
        return solid && solid->HasFaces() && solid->VertexPosition(p, tol) < 2;
    });
}

void TQTKHasSectionInfoComplexLineEntCalcEDO::RebaseLinesOnOwnWidth(TVRMCustomLine2d& mid, TVRMCustomLine2d& left,
                                                                    TVRMCustomLine2d& right)
{
    const IPropValues* props = GetElementDrawObj()->GetPropValues();
    const double width = EdoPropValueFloat(props, "Width");
    const double d =
        TVRMPositionFunc2d::SignedDistanceTo(left.StartPt(), GetLine()) + EdoPropValueFloat(props, "AxisOffset");
    // The own lines may lie outside the joined band: their ends go on the
    // end edges' extensions.
    const TVRMCustomLine2d joinedLeft = left, joinedRight = right;
    const auto moved = [&](double offset) {
        const TVRMCustomLine2d k = TVRMOffsetFunc2d::Offset(joinedLeft, offset);
        return BetweenEndEdges(k, joinedLeft, joinedRight).value_or(k);
    };
    left = moved(-d);
    right = moved(width - d);
    mid = moved(width / 2.0 - d);
}
