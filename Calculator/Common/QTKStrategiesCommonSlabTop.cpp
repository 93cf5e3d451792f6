#include "Calculator/Common/QTKStrategiesCommonSlabTop.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CTol = 0.0010123456789;
constexpr double CMinCrossingDistance = 500.0;
constexpr double CNoElev = -std::numeric_limits<double>::infinity();
constexpr double CInfinite = std::numeric_limits<double>::infinity();
constexpr int CFaceSlabType = 19;
constexpr int CLevelSlabType = 20;
constexpr int CInsulatingWallUnitType = 86;

// The middle, left and right lines of a line element or an insulating wall
// unit; the object is held while the lines are used.
struct TElementLines {
    Ref<IQTKCalculatorEDO> holder;
    const TVRMCustomLine2d* mid = nullptr;
    const TVRMCustomLine2d* left = nullptr;
    const TVRMCustomLine2d* right = nullptr;
};

TElementLines LinesOf(IRDXRecord* record)
{
    TElementLines lines;
    lines.holder = GetCalcEDO(record, true);
    if (GetRecordElementTypeID(record) == CInsulatingWallUnitType) {
        if (auto* unit = dynamic_cast<IQTKInsulatingWallUnitCalcEDO*>(lines.holder.get())) {
            lines.mid = unit->GetMidLine();
            lines.left = unit->GetLeftLine();
            lines.right = unit->GetRightLine();
        }
    } else if (auto* line = dynamic_cast<IQTKLineEntBaseCalcEDO*>(lines.holder.get())) {
        lines.mid = line->GetMidLine();
        lines.left = line->GetLeftLine();
        lines.right = line->GetRightLine();
    }
    return lines;
}

const IQTKShape* ShapeOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetShape() : nullptr;
}

const TVRMMultiPolygon2d* OutlineOf(IRDXRecord* record)
{
    const IQTKShape* shape = ShapeOf(record);
    return shape ? &shape->GetOutline() : nullptr;
}

const IPropValues* PropsOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetPropValues() : nullptr;
}

const IQTKFaceElevInfo* FaceElevOf(IRDXRecord* face)
{
    const auto* shape = dynamic_cast<const IQTKFaceShape*>(ShapeOf(face));
    return shape ? shape->GetFaceElevInfo() : nullptr;
}

// The first and the last point where the line runs inside the outline: the
// ends of the inside pieces, in the line's direction.
bool InsideSpan(const TVRMCustomLine2d* line, const TVRMMultiPolygon2d& outline, TVRMPoint2d& first, TVRMPoint2d& last)
{
    if (!line)
        return false;
    std::vector<TVRMCustomLine2d> pieces;
    TVRMIntersectFunc2d::Intersect(*line, outline, pieces, CTol);
    if (pieces.empty())
        return false;
    first = pieces.front().StartPt();
    last = pieces.back().EndPt();
    return true;
}

double ElevByCrossingMode(const TVRMCustomLine2d& line, const TVRMPoint2d& first, const TVRMPoint2d& last,
                          const IQTKFaceElevInfo& elev, int mode)
{
    switch (mode) {
        case 0:
            return elev.GetElevAt(line.PointAtLength((line.LengthAtPoint(first) + line.LengthAtPoint(last)) / 2.0));
        case 1:
            return std::max(elev.GetElevAt(first), elev.GetElevAt(last));
        case 2:
            return std::min(elev.GetElevAt(first), elev.GetElevAt(last));
        case 3:
            return (elev.GetElevAt(first) + elev.GetElevAt(last)) / 2.0;
        default:
            QTK_ASSERT_MSG(false, "crossing mode outside 0-3");
            return CNoElev;
    }
}

double FaceElevAtLines(IRDXRecord* lineEnt, IRDXRecord* face, int mode, bool midLineOnly)
{
    QTK_ASSERT(lineEnt != nullptr && face != nullptr);
    const TVRMMultiPolygon2d* outline = OutlineOf(face);
    const IQTKFaceElevInfo* elev = FaceElevOf(face);
    if (!outline || !elev)
        return CNoElev;
    const TElementLines lines = LinesOf(lineEnt);
    TVRMPoint2d first, last;
    for (const TVRMCustomLine2d* line : {lines.mid, lines.left, lines.right}) {
        if (InsideSpan(line, *outline, first, last))
            return ElevByCrossingMode(*line, first, last, *elev, mode);
        if (midLineOnly)
            break;
    }
    return CNoElev;
}

// A slab's surface elevation over the element (e) and its vertical thickness
// (t): a face slab (type 19) read where the element runs under it, its
// thickness times the surface's slope factor; a level slab (type 20) its
// "TopElev" and "Thickness".
struct TSlabTop {
    double elev = CNoElev;
    double thickness = 0.0;
    double Underside() const { return elev - thickness; }
};

TSlabTop SlabTopOver(IRDXRecord* element, IRDXRecord* slab, int crossingMode, bool midLineOnly)
{
    TSlabTop top;
    const IPropValues* props = PropsOf(slab);
    if (GetRecordElementTypeID(slab) == CLevelSlabType) {
        top.elev = EdoPropValueFloat(props, "TopElev");
        top.thickness = EdoPropValueFloat(props, "Thickness");
        return top;
    }
    top.elev = FaceElevAtLines(element, slab, crossingMode, midLineOnly);
    const IQTKFaceElevInfo* elev = FaceElevOf(slab);
    top.thickness = EdoPropValueFloat(props, "Thickness") * (elev ? elev->GetSlopeFactor() : 1.0);
    return top;
}

TRecordList RelatedSlabs(IRDXRecord* element)
{
    TRecordList slabs;
    GetCalcEDO(element, true)->GetRelatedByTypes(MakeElementTypeSet({CFaceSlabType, CLevelSlabType}), &slabs);
    return slabs;
}

bool OutlinesOverlap(IRDXRecord* a, IRDXRecord* b)
{
    const TVRMMultiPolygon2d* pa = OutlineOf(a);
    const TVRMMultiPolygon2d* pb = OutlineOf(b);
    return pa && pb && GreaterThan(TVRMIntersectFunc2d::IntPolygon(*pa, *pb)->Area(), 0.0, CTol);
}

// Steps shared by the scaffold heights: from the highest top, the first
// underside at or above the lowest bottom replaces it, later ones raise it.
class TScaffoldTop {
public:
    explicit TScaffoldTop(IRDXRecord* wall)
    {
        const TQTKLineEndElevs elevs = GetLineEndElevs(wall);
        top_ = std::max(elevs.startTop, elevs.endTop);
        bottom_ = std::min(elevs.startBottom, elevs.endBottom);
        result_ = top_;
    }
    void Take(double underside)
    {
        if (!GreaterEqualThan(underside, bottom_, CTol))
            return;
        result_ = SameValue(result_, top_, CTol) ? underside : std::max(underside, result_);
    }
    double Result() const { return result_; }

private:
    double top_ = 0.0;
    double bottom_ = 0.0;
    double result_ = 0.0;
};

}  // namespace

double GetFaceElevAtLineCrossing(IRDXRecord* lineEnt, IRDXRecord* face, int crossingMode)
{
    return FaceElevAtLines(lineEnt, face, crossingMode, false);
}

double GetFaceElevAtMidLineCrossing(IRDXRecord* lineEnt, IRDXRecord* face, int crossingMode)
{
    return FaceElevAtLines(lineEnt, face, crossingMode, true);
}

double GetWallTopByMode(IRDXRecord* record, int topMode)
{
    const TQTKLineEndElevs elevs = GetLineEndElevs(record);
    const double start = elevs.startTop;
    const double end = elevs.endTop;
    switch (topMode) {
        case 0:
        case 3:
            return (start + end) / 2.0;
        case 2:
            return std::min(start, end);
        default:
            return std::max(start, end);
    }
}

double GetScaffoldHeightToSlabBottom(IRDXRecord* wall, const TVRMCustomLine2d& line, int crossingMode)
{
    TScaffoldTop top(wall);
    for (const RecordRef& slab : RelatedSlabs(wall)) {
        if (GetRecordElementTypeID(slab.get()) == CLevelSlabType) {
            TVRMPoint2d first, last;
            const TVRMMultiPolygon2d* outline = OutlineOf(slab.get());
            if (!outline || !InsideSpan(&line, *outline, first, last))
                continue;
        }
        top.Take(SlabTopOver(wall, slab.get(), crossingMode, true).Underside());
    }
    return top.Result();
}

double GetWallTopUnderSlab(IRDXRecord* wall, int crossingMode, int topMode)
{
    const TRecordList slabs = RelatedSlabs(wall);
    if (slabs.empty())
        return GetWallTopByMode(wall, topMode);
    TScaffoldTop top(wall);
    for (const RecordRef& slab : slabs)
        if (IsSlabOnWallTop(wall, slab.get()) && OutlinesOverlap(wall, slab.get()))
            top.Take(SlabTopOver(wall, slab.get(), crossingMode, false).Underside());
    return top.Result();
}

double GetWallOverhighTopElev(IRDXRecord* wall, int crossingMode, int topMode)
{
    const TQTKLineEndElevs elevs = GetLineEndElevs(wall);
    const bool levelWall = SameValue(elevs.startTop, elevs.endTop, CTol);
    TRecordList selected;
    for (const RecordRef& slab : RelatedSlabs(wall)) {
        const IQTKFaceElevInfo* elev = FaceElevOf(slab.get());
        const bool levelSlab = elev && elev->GetSlopeFactor() == 1.0;
        if (levelSlab == levelWall && IsSlabOnWallTop(wall, slab.get()) && OutlinesOverlap(wall, slab.get()))
            selected.push_back(slab);
    }
    // The slabs must cover the whole wall.
    if (const TVRMMultiPolygon2d* outline = OutlineOf(wall); outline && !selected.empty()) {
        TVRMMultiPolygon2d covered;
        for (const RecordRef& slab : selected)
            if (const TVRMMultiPolygon2d* slabOutline = OutlineOf(slab.get()))
                covered = *TVRMIntersectFunc2d::MergePolygon(covered, *slabOutline);
        if (GreaterThan(TVRMIntersectFunc2d::SyncSubPolygon(*outline, covered)->Area(), 0.0, CTol))
            selected.clear();
    }
    double least = CInfinite;
    for (const RecordRef& slab : selected) {
        const double underside = SlabTopOver(wall, slab.get(), crossingMode, false).Underside();
        if (underside != CNoElev)
            least = std::min(least, underside);
    }
    return least == CInfinite ? GetWallTopByMode(wall, topMode) : least;
}

bool IsWallCrossingFace(IRDXRecord* lineEnt, IRDXRecord* face)
{
    const TVRMMultiPolygon2d* outline = OutlineOf(face);
    if (!outline)
        return false;
    const TElementLines lines = LinesOf(lineEnt);
    std::vector<TVRMPoint2d> points;
    if (lines.left)
        TVRMIntersectFunc2d::Intersect(*lines.left, *outline, points, CTol);
    if (points.size() != 2) {
        points.clear();
        if (lines.right)
            TVRMIntersectFunc2d::Intersect(*lines.right, *outline, points, CTol);
    }
    return points.size() == 2 && GreaterEqualThan(points[0].DistanceTo(points[1]), CMinCrossingDistance, CTol);
}

double GetBeamOverhighTopElev(IRDXRecord* element, int crossingMode, int topMode)
{
    std::vector<TSlabTop> tops;
    for (const RecordRef& slab : RelatedSlabs(element)) {
        if (!IsSlabOnWallTop(element, slab.get()))
            continue;
        if (!OutlinesOverlap(element, slab.get()) && !IsWallCrossingFace(element, slab.get()))
            continue;
        tops.push_back(SlabTopOver(element, slab.get(), crossingMode, false));
    }
    if (tops.empty())
        return GetWallTopByMode(element, topMode);
    double highest = CNoElev;
    for (const TSlabTop& top : tops)
        highest = std::max(highest, top.elev);
    if (highest == CNoElev)
        return GetWallTopByMode(element, topMode);
    double thickest = 0.0;
    for (const TSlabTop& top : tops)
        if (SameValue(top.elev, highest, CTol))
            thickest = std::max(thickest, top.thickness);
    return highest - thickest;
}
