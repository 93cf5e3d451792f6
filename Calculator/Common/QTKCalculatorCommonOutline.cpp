#include "Calculator/Common/QTKCalculatorCommonOutline.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace {

// Half length of the probe across a section (mm).
constexpr double CProbeExtent = 10000.0;
constexpr int CLintelTypeID = 12;

// The point where the extended line R meets the segment from p to q; the
// nearer to R's start of two (the second on a tie); R's start when none.
TVRMPoint2d EndOnSegment(const TVRMCustomLine2d& r, const TVRMPoint2d& p, const TVRMPoint2d& q)
{
    const TVRMCustomLine2d segment(p, q);
    std::vector<TVRMPoint2d> points;
    const int code = TVRMIntersectFunc2d::ExtIntersect(r, segment, points);
    if (code != 1 && code != 2)
        return r.StartPt();
    std::vector<TVRMPoint2d> onSegment;
    for (const TVRMPoint2d& x : points)
        if (TVRMPositionFunc2d::PointPosition(x, segment) != 2)
            onSegment.push_back(x);
    if (onSegment.empty())
        return r.StartPt();
    if (onSegment.size() == 1)
        return onSegment.front();
    const double d0 = onSegment[0].DistanceTo(r.StartPt()), d1 = onSegment[1].DistanceTo(r.StartPt());
    return d0 < d1 ? onSegment[0] : onSegment[1];
}

const TVRMPolygon2d* FirstOuterRing(const TVRMMultiPolygon2d& set)
{
    for (int i = 0; i < set.GetCount(); ++i)
        if (!set.IsHole(i))
            return &set.GetItems(i);
    return nullptr;
}

TVRMPolygon2d& FirstOuterRingOf(TVRMMultiPolygon2d& set)
{
    const TVRMPolygon2d* ring = FirstOuterRing(set);
    QTK_ASSERT_MSG(ring != nullptr, "the outline has no outer ring");
    return const_cast<TVRMPolygon2d&>(*ring);
}

// Replaces the ring by its offset when the offset succeeds.
void OffsetRing(TVRMPolygon2d& ring, double d, const std::vector<double>* widths)
{
    TVRMPolygon2d result;
    const bool ok =
        widths ? TVRMOffsetFunc2d::Offset(ring, *widths, result) : TVRMOffsetFunc2d::Offset(ring, d, result);
    if (ok)
        ring = std::move(result);
}

// Position codes of a point against a line: 0 off it, 1 at an end, 2 inside.
int PositionOnLine(const TVRMPoint2d& p, const TVRMCustomLine2d& line)
{
    switch (TVRMPositionFunc2d::PointPosition(p, line)) {
        case 0:
            return 2;
        case 1:
            return 1;
        default:
            return 0;
    }
}

// Width of an outline edge against a line: edges facing the chosen side move.
double EdgeWidthAgainstLine(const TVRMCustomLine2d& edge, const TVRMCustomLine2d& line, int sideCode, bool offSpan,
                            double d)
{
    if (TVRMPositionFunc2d::IsParallel(edge, line))
        return d;
    const auto onSide = [&](const TVRMPoint2d& p) { return TVRMPositionFunc2d::PointSegSide(p, line) == sideCode; };
    const int startPos = PositionOnLine(edge.StartPt(), line);
    const int endPos = PositionOnLine(edge.EndPt(), line);
    if (startPos == 0)
        return onSide(edge.EndPt()) ? d : 0.0;
    if (startPos == 1)
        return !offSpan || onSide(edge.EndPt()) ? d : 0.0;
    if (endPos == 2)
        return d;
    if (endPos == 1)
        return !offSpan || onSide(edge.StartPt()) ? d : 0.0;
    return onSide(edge.StartPt()) ? d : 0.0;
}

const IQTKShape& ShapeOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    QTK_ASSERT_MSG(drawObj != nullptr && drawObj->GetShape() != nullptr, "the element has no shape");
    return *drawObj->GetShape();
}

const IQTKLineShape* LineShapeOf(IRDXRecord* record)
{
    IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
}

bool IsLintel(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj && drawObj->GetElementTypeID() == CLintelTypeID;
}

Ref<IQTKLineEntBaseCalcEDO> LineEntObjectOf(IRDXRecord* record)
{
    return RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(record, true));
}

// The section of a line element: a lintel's from its lintel object, any other
// element's from its shape.
std::unique_ptr<TVRMMultiPolygon2d> CopySectionPolygon(IRDXRecord* record)
{
    if (!IsLintel(record))
        return ShapeOf(record).GetPolygon().Clone();
    const auto lintel = RefCast<IQTKLintelCalcEDO>(GetCalcEDO(record, true));
    QTK_ASSERT_MSG(lintel != nullptr, "the lintel has no lintel element object");
    const TVRMMultiPolygon2d* section = lintel->GetPlanPolygon();
    QTK_ASSERT_MSG(section != nullptr, "the lintel has no section polygon");
    return section->Clone();
}

// Per-edge widths of a section against the face of another line element;
// false when the two elements are not parallel, or when either element
// object cannot give the lines compared.
bool SectionEdgeWidths(IRDXRecord* record, IRDXRecord* other, const TVRMPolygon2d& ring, double d, bool side,
                       bool filter, std::vector<double>& widths)
{
    const Ref<IQTKLineEntBaseCalcEDO> face = LineEntObjectOf(other);
    const TVRMCustomLine2d* faceLine = face ? (side ? face->GetLeftLine() : face->GetRightLine()) : nullptr;
    // A lintel lies along its drawn line, any other element along its middle line.
    const TVRMCustomLine2d* ownLine = nullptr;
    if (IsLintel(record)) {
        const IQTKLineShape* shape = LineShapeOf(record);
        ownLine = shape ? &shape->GetLine() : nullptr;
    } else if (const Ref<IQTKLineEntBaseCalcEDO> own = LineEntObjectOf(record)) {
        ownLine = own->GetMidLine();
    }
    if (!faceLine || !ownLine)
        return false;
    const TVRMCustomLine2d& s = *faceLine;
    const TVRMCustomLine2d& m = *ownLine;
    if (!TVRMPositionFunc2d::IsParallel(s, m))
        return false;
    const double y0 = TVRMPositionFunc2d::SignedDistanceTo(s.StartPt(), m, false);
    if (!TVRMPositionFunc2d::IsSameDirection(s, m))
        side = !side;
    const TVRMBox2d box = ring.Box();
    const double x = (box.min.x + box.max.x) / 2.0 + y0;
    const TVRMCustomLine2d probe({x, -CProbeExtent}, {x, CProbeExtent});
    const int count = ring.GetEdgeCount();
    const auto perpendicular = [](const TVRMCustomLine2d& a, const TVRMCustomLine2d& b) {
        return IsZero(a.Vector().Normal().InnerProduct(b.Vector().Normal()), CVRMParallelEpsilon);
    };
    const auto sideWidth = [&](const TVRMPoint2d& p) {
        return TVRMPositionFunc2d::PointSegSide(p, probe) == (side ? 1 : 2) ? d : 0.0;
    };
    widths.assign(count, d);
    for (int i = 0; i < count; ++i) {
        const TVRMCustomLine2d edge = ring.GetEdge(i);
        if (filter && edge.EndPt().x < edge.StartPt().x)
            continue;
        std::vector<TVRMPoint2d> points;
        if (TVRMIntersectFunc2d::Intersect(probe, edge, points) != 1)
            continue;
        const TVRMPoint2d& cross = points.front();
        if (cross.IsEqualTo(edge.StartPt())) {
            if (perpendicular(edge, ring.GetEdge((i + count - 1) % count)))
                widths[i] = sideWidth(edge.StartPt());
        } else if (cross.IsEqualTo(edge.EndPt())) {
            if (perpendicular(edge, ring.GetEdge((i + 1) % count)))
                widths[i] = sideWidth(edge.StartPt());
        }
    }
    return true;
}

// A vertex whose edge to the next vertex runs along a piece of a line.
TVRMVertex2d VertexAlong(const TVRMCustomLine2d& piece)
{
    return {piece.StartPt(), piece.IsArc() ? piece.Radius() : 0.0, piece.IsArc() ? piece.ArcKind() : 0};
}

std::unique_ptr<TVRMMultiPolygon2d> TriangleSet(TVRMPolygon2d triangle)
{
    auto set = TVRMMultiPolygon2d::Create();
    if (triangle.IsClockwise())
        triangle.Reverse();
    if (triangle.Area() > 0.0)
        set->Add(std::move(triangle));
    return set;
}

}  // namespace

TVRMCustomLine2d OffsetLineBetweenEnds(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double d)
{
    if (IsZero(d))
        return a;
    TVRMCustomLine2d r;
    if (!TVRMOffsetFunc2d::Offset(a, d, r))
        return a;
    const TVRMPoint2d start = EndOnSegment(r, a.StartPt(), b.StartPt());
    const TVRMPoint2d end = EndOnSegment(r, a.EndPt(), b.EndPt());
    r.SetStartPt(start);
    r.SetEndPt(end);
    if (!(r.Vector().InnerProduct(a.Vector()) > 0.0))
        return a;
    return r;
}

TVRMPolygon2d BuildOffsetBandPolygon(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double dA, double dB)
{
    return TVRMPolygon2d::CreateBetweenLines(OffsetLineBetweenEnds(a, b, -dA), OffsetLineBetweenEnds(b, a, dB));
}

std::unique_ptr<TVRMMultiPolygon2d> CreateMultiPolygonFromLines(const TVRMCustomLine2d& first,
                                                                const TVRMCustomLine2d& second)
{
    auto set = TVRMMultiPolygon2d::Create();
    set->Add(TVRMPolygon2d::CreateBetweenLines(first, second));
    return set;
}

std::unique_ptr<TVRMMultiPolygon2d> GetOffsetOutline(IRDXRecord* record, const TVRMCustomLine2d* line, bool side,
                                                     double d)
{
    auto outline = ShapeOf(record).GetOutline().Clone();
    if (IsZero(d))
        return outline;
    TVRMPolygon2d& ring = FirstOuterRingOf(*outline);
    if (!line) {
        OffsetRing(ring, d, nullptr);
        return outline;
    }
    const TVRMBox2d box = ring.Box();
    const double centre = line->LengthAtPoint({(box.min.x + box.max.x) / 2, (box.min.y + box.max.y) / 2});
    const bool offSpan = centre < 0.0 || centre > line->Length();
    std::vector<double> widths;
    for (const TVRMCustomLine2d& edge : ring.GetEdges())
        widths.push_back(EdgeWidthAgainstLine(edge, *line, side ? 1 : 2, offSpan, d));
    OffsetRing(ring, d, &widths);
    return outline;
}

std::unique_ptr<TVRMMultiPolygon2d> GetOffsetLineEntOutline(IRDXRecord* record, bool filter, IRDXRecord* other,
                                                            double d, bool side, bool perEdge)
{
    auto outline = CopySectionPolygon(record);
    if (IsZero(d))
        return outline;
    TVRMPolygon2d& ring = FirstOuterRingOf(*outline);
    std::vector<double> widths;
    if (perEdge && other && SectionEdgeWidths(record, other, ring, d, side, filter, widths))
        OffsetRing(ring, d, &widths);
    else
        OffsetRing(ring, d, nullptr);
    return outline;
}

std::unique_ptr<TVRMMultiPolygon2d> GetOverlapBandPolygon(const TVRMCustomLine2d& c, const TVRMPolyhedron3d& a,
                                                          const TVRMPolyhedron3d& b)
{
    auto result = TVRMMultiPolygon2d::Create();
    TVRMPolyhedron3d common = a;
    if (!TVRMNewPolyBooleanOperator::BooleanOperate(common, b, CVRMBoolIntersect))
        return result;
    const std::vector<TVRMPoint3d> vertices = common.GetVertices();
    if (vertices.empty())
        return result;
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    for (const TVRMPoint3d& v : vertices) {
        const double t = c.LengthAtPoint({v.x, v.y});
        lo = std::min(lo, t), hi = std::max(hi, t);
    }
    if (SameValue(lo, hi))
        return result;
    TVRMPoint2d p1 = c.PointAtLength(lo), p2 = c.PointAtLength(hi);
    const TVRMBox3d box = a.GetBox();
    TVRMPoint2d centre;
    if (c.CenterPt(centre)) {
        double r = 0.0;
        for (const TVRMPoint2d& corner : {TVRMPoint2d{box.min.x, box.min.y}, TVRMPoint2d{box.max.x, box.min.y},
                                          TVRMPoint2d{box.max.x, box.max.y}, TVRMPoint2d{box.min.x, box.max.y}})
            r = std::max(r, centre.DistanceTo(corner));
        p1 = centre + (p1 - centre).Normal() * r;
        p2 = centre + (p2 - centre).Normal() * r;
        const int kind = GetSweepArcKind(c.IsClockwise(), (hi - lo) / c.Radius());
        TVRMPolygon2d sector(std::vector<TVRMVertex2d>{{centre}, {p1, r, kind}, {p2}});
        if (sector.IsClockwise())
            sector.Reverse();
        result->Add(std::move(sector));
        return result;
    }
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMRectangle2d({(box.min.x + box.max.x) / 2, (box.min.y + box.max.y) / 2}, (box.max.x - box.min.x) / 2,
                             (box.max.y - box.min.y) / 2));
    // Lines square to C, directed to its left: the band lies right of the
    // first (ahead of P1) and left of the second (behind P2).
    const TVRMVector2d across = c.TangentAt(p1).RotateHalfPi(false);
    TVRMMultiPolygon2d left, ahead, behind, rest;
    TVRMIntersectFunc2d::Cut(plan, TVRMCustomLine2d(p1, p1 + across), left, ahead);
    TVRMIntersectFunc2d::Cut(ahead, TVRMCustomLine2d(p2, p2 + across), behind, rest);
    result->Add(behind);
    return result;
}

std::unique_ptr<TVRMMultiPolygon2d> BuildLineEndPiecePolygon(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b,
                                                             bool start)
{
    const double lenA = a.Length(), lenB = b.Length();
    if (start) {
        const double t = a.LengthAtPoint(b.StartPt());
        if (IsZero(t))
            return TVRMMultiPolygon2d::Create();
        if (t < 0.0) {
            // B starts first: the foot lies on B, opposite A's start.
            const double f = b.LengthAtPoint(a.StartPt());
            return TriangleSet(TVRMPolygon2d(
                std::vector<TVRMVertex2d>{{a.StartPt()}, VertexAlong(b.SubLine(0.0, f)), {b.PointAtLength(f)}}));
        }
        return TriangleSet(TVRMPolygon2d(
            std::vector<TVRMVertex2d>{{a.StartPt()}, {b.StartPt()}, VertexAlong(a.SubLine(0.0, t).Reversed())}));
    }
    const double t = a.LengthAtPoint(b.EndPt());
    if (SameValue(t, lenA))
        return TVRMMultiPolygon2d::Create();
    if (t > lenA) {
        // B ends last: the foot lies on B, opposite A's end.
        const double f = b.LengthAtPoint(a.EndPt());
        return TriangleSet(TVRMPolygon2d(
            std::vector<TVRMVertex2d>{{a.EndPt()}, VertexAlong(b.SubLine(f, lenB).Reversed()), {b.PointAtLength(f)}}));
    }
    return TriangleSet(
        TVRMPolygon2d(std::vector<TVRMVertex2d>{{a.EndPt()}, {b.EndPt()}, VertexAlong(a.SubLine(t, lenA))}));
}

bool PolygonHasArc(const TVRMMultiPolygon2d& polygon)
{
    for (const TVRMPolygon2d& ring : polygon.Items())
        for (const TVRMVertex2d& v : ring.Vertices())
            if (v.IsArc())
                return true;
    return false;
}

double DistanceToPolygon(const TVRMPoint2d& point, const TVRMMultiPolygon2d& polygon)
{
    if (polygon.IsEmpty() || TVRMPositionFunc2d::PointPosition(point, polygon) != 2)
        return 0.0;
    const TVRMPolygon2d& ring = polygon.GetItems(0);
    double best = HUGE_VAL;
    for (const TVRMVertex2d& v : ring.Vertices())
        best = std::min(best, point.DistanceTo(v.pt));
    for (const TVRMCustomLine2d& edge : ring.GetEdges())
        best = std::min(best, TVRMPositionFunc2d::DistanceTo(point, edge));
    return best;
}

double IntegrateGauss5(const std::function<double(double)>& f)
{
    const double outer = f(0.9061798) + f(-0.9061798);
    const double inner = f(0.5384693) + f(-0.5384693);
    return 0.2369269 * outer + 0.4786287 * inner + 0.5688889 * f(0.0);
}
