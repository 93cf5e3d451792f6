#include <algorithm>
#include <cmath>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMGeom2dUtils.h"
#include "Host/VRM/Geometry2d/VRMSplit2d.h"
#include "Host/VRM/VRMCommon2d.h"

using namespace VRMGeom2d;

namespace {

// Position along the extended first line used to order crossings: the signed length for a
// straight line, the arc length travelled from the start (0 .. circumference) for an arc.
double ParamAlong(const TVRMCustomLine2d& line, const TVRMArcData& d, const TVRMPoint2d& p)
{
    if (!d.valid)
        return line.LengthAtPoint(p);
    return line.Radius() * NormalizeAngle(d.sense * ((p - d.center).Angle() - d.startAngle));
}

void SortAndUnique(const TVRMCustomLine2d& line, std::vector<TVRMPoint2d>& points, double tol)
{
    const TVRMArcData d = line.GetArcData();
    std::stable_sort(points.begin(), points.end(), [&](const TVRMPoint2d& p, const TVRMPoint2d& q) {
        return ParamAlong(line, d, p) < ParamAlong(line, d, q);
    });
    std::vector<TVRMPoint2d> unique;
    for (const TVRMPoint2d& p : points)
        if (std::none_of(unique.begin(), unique.end(), [&](const TVRMPoint2d& q) { return q.DistanceTo(p) <= tol; }))
            unique.push_back(p);
    points.swap(unique);
}

bool IsDegenerate(const TVRMCustomLine2d& line, double tol)
{
    return !line.IsValidaty(tol) || (line.IsArc() && !line.GetArcData().valid);
}

// Crossings of a line (through p along unit u) with a circle.
int LineCircle(const TVRMPoint2d& p, const TVRMVector2d& u, const TVRMPoint2d& c, double r,
               std::vector<TVRMPoint2d>& points, double tol)
{
    const double t = (c - p).InnerProduct(u);
    const TVRMPoint2d foot = p + u * t;
    const double h = foot.DistanceTo(c);
    if (h > r + tol)
        return 0;
    if (std::abs(h - r) <= tol) {
        points.push_back(foot);
        return 1;
    }
    const double s = std::sqrt(std::max(0.0, r * r - h * h));
    points.push_back(foot - u * s);
    points.push_back(foot + u * s);
    return 2;
}

int CircleCircle(const TVRMPoint2d& c1, double r1, const TVRMPoint2d& c2, double r2, std::vector<TVRMPoint2d>& points,
                 double tol)
{
    const double d = c1.DistanceTo(c2);
    if (d <= tol)
        return std::abs(r1 - r2) <= tol ? 3 : 0;
    if (d > r1 + r2 + tol || d < std::abs(r1 - r2) - tol)
        return 0;
    const TVRMVector2d u = (c2 - c1) * (1.0 / d);
    const double a = (d * d + r1 * r1 - r2 * r2) / (2.0 * d);
    const double h2 = r1 * r1 - a * a;
    if (std::abs(d - (r1 + r2)) <= tol || std::abs(d - std::abs(r1 - r2)) <= tol || h2 <= 0.0) {
        points.push_back(c1 + u * a);
        return 1;
    }
    const double h = std::sqrt(h2);
    const TVRMVector2d n = u.RotateHalfPi(false);
    points.push_back(c1 + u * a + n * h);
    points.push_back(c1 + u * a - n * h);
    return 2;
}

}  // namespace

int TVRMIntersectFunc2d::ExtIntersect(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b,
                                      std::vector<TVRMPoint2d>& points, double tol)
{
    points.clear();
    if (IsDegenerate(a, tol) || IsDegenerate(b, tol))
        return 4;
    const TVRMArcData da = a.GetArcData(), db = b.GetArcData();
    int code;
    if (!da.valid && !db.valid) {
        const TVRMVector2d ua = a.Vector().Normal(), ub = b.Vector().Normal();
        const auto offLine = [&](const TVRMPoint2d& p) { return std::abs(ua.CrossProduct(p - a.StartPt())); };
        if (offLine(b.StartPt()) <= tol && offLine(b.EndPt()) <= tol)
            return 3;
        const double cross = ua.CrossProduct(ub);
        if (std::abs(cross) <= 1e-12)
            return 0;
        const double t = (b.StartPt() - a.StartPt()).CrossProduct(ub) / cross;
        points.push_back(a.StartPt() + ua * t);
        return 1;
    }
    if (da.valid && db.valid)
        code = CircleCircle(da.center, a.Radius(), db.center, b.Radius(), points, tol);
    else if (da.valid)
        code = LineCircle(b.StartPt(), b.Vector().Normal(), da.center, a.Radius(), points, tol);
    else
        code = LineCircle(a.StartPt(), a.Vector().Normal(), db.center, b.Radius(), points, tol);
    if (code == 2)
        SortAndUnique(a, points, 0.0);
    return code;
}

int TVRMIntersectFunc2d::FirstExtIntersect(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, TVRMPoint2d& point,
                                           double tol)
{
    std::vector<TVRMPoint2d> points;
    const int code = ExtIntersect(a, b, points, tol);
    if (!points.empty())
        point = points.front();
    return code;
}

int TVRMIntersectFunc2d::Intersect(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b,
                                   std::vector<TVRMPoint2d>& points, double tol)
{
    std::vector<TVRMPoint2d> ext;
    const int code = ExtIntersect(a, b, ext, tol);
    points.clear();
    if (code == 4)
        return 4;
    const auto onBoth = [&](const TVRMPoint2d& p) {
        return TVRMPositionFunc2d::DistanceTo(p, a) <= tol && TVRMPositionFunc2d::DistanceTo(p, b) <= tol;
    };
    if (code != 3) {
        for (const TVRMPoint2d& p : ext)
            if (onBoth(p))
                points.push_back(p);
    }
    if (code == 3 || points.empty()) {
        // Same line or circle, or a meeting within the tolerance that the crossing of the
        // extensions misses (nearly parallel lines meeting at an end): the ends on the other piece.
        for (const TVRMPoint2d& p : {a.StartPt(), a.EndPt(), b.StartPt(), b.EndPt()})
            if (onBoth(p))
                points.push_back(p);
    }
    SortAndUnique(a, points, tol);
    if (code == 3 && points.size() >= 2) {
        // A common piece, unless the shared ends are all (two halves of one circle).
        points = {points.front(), points.back()};
        const TVRMCustomLine2d common = TVRMPositionFunc2d::SubSeg(a, points[0], points[1]);
        if (TVRMPositionFunc2d::DistanceTo(common.MiddlePoint(), b) <= tol)
            return 3;
    }
    return static_cast<int>(points.size());
}

int TVRMIntersectFunc2d::Intersect(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set,
                                   std::vector<TVRMPoint2d>& points, double tol)
{
    points.clear();
    const TVRMBox2d box = line.Box();
    std::vector<TVRMPoint2d> found;
    for (const TVRMPolygon2d& ring : set.Items()) {
        if (!box.Meets(ring.Box(), tol))
            continue;
        for (int i = 0; i < ring.GetEdgeCount(); ++i) {
            const TVRMCustomLine2d edge = ring.GetEdge(i);
            if (box.Meets(edge.Box(), tol) && Intersect(line, edge, found, tol) != 4)
                points.insert(points.end(), found.begin(), found.end());
        }
    }
    SortAndUnique(line, points, tol);
    return static_cast<int>(points.size());
}

std::vector<TVRMCustomLine2d> SplitLineAt(const TVRMCustomLine2d& line, const std::vector<TVRMPoint2d>& points,
                                          double tol)
{
    const double length = line.Length();
    std::vector<double> cuts{0.0};
    for (const TVRMPoint2d& p : points) {
        const double t = line.LengthAtPoint(p);
        if (t > cuts.back() + tol && t < length - tol)
            cuts.push_back(t);
    }
    cuts.push_back(length);
    std::vector<TVRMCustomLine2d> pieces;
    for (size_t i = 0; i + 1 < cuts.size(); ++i) {
        TVRMCustomLine2d piece = line.SubLine(cuts[i], cuts[i + 1]);
        if (i == 0)
            piece.SetStartPt(line.StartPt());
        if (i + 2 == cuts.size())
            piece.SetEndPt(line.EndPt());
        pieces.push_back(piece);
    }
    return pieces;
}

std::vector<TVRMSplitPiece> SplitLineBySet(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set, double tol)
{
    std::vector<TVRMSplitPiece> pieces;
    if (IsDegenerate(line, tol))
        return pieces;
    std::vector<TVRMPoint2d> points;
    TVRMIntersectFunc2d::Intersect(line, set, points, tol);
    for (const TVRMCustomLine2d& piece : SplitLineAt(line, points, tol))
        pieces.push_back({piece, TVRMPositionFunc2d::PointPosition(piece.MiddlePoint(), set, tol)});
    return pieces;
}

void CollectPieces(const std::vector<TVRMSplitPiece>& pieces, int positionMask, std::vector<TVRMCustomLine2d>& result,
                   double tol)
{
    bool open = false;
    for (const TVRMSplitPiece& piece : pieces) {
        if (!(positionMask & (1 << piece.position))) {
            open = false;
            continue;
        }
        if (open && result.back().EndPt().IsEqualTo(piece.line.StartPt(), tol)) {
            // Join with the previous piece of the same line (an arc keeps its circle).
            TVRMCustomLine2d& last = result.back();
            const TVRMArcData d = last.GetArcData();
            last = d.valid ? TVRMCustomLine2d(last.StartPt(), piece.line.EndPt(), last.Radius(),
                                              GetSweepArcKind(d.sense < 0.0, d.sweep + piece.line.Sweep()))
                           : TVRMCustomLine2d(last.StartPt(), piece.line.EndPt());
        } else {
            result.push_back(piece.line);
        }
        open = true;
    }
}

bool HasSubstance(const TVRMMultiPolygon2d& set, double tol)
{
    for (const TVRMPolygon2d& ring : set.Items()) {
        const double perimeter = ring.Perimeter();
        if (!ring.IsHole() && perimeter > 0.0 && 2.0 * ring.Area() / perimeter > tol)
            return true;
    }
    return false;
}

int TVRMIntersectFunc2d::Intersect(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set,
                                   std::vector<TVRMCustomLine2d>& pieces, double tol)
{
    pieces.clear();
    CollectPieces(SplitLineBySet(line, set, tol), 0b011, pieces, tol);
    return static_cast<int>(pieces.size());
}

std::unique_ptr<TVRMMultiPolygon2d> TVRMIntersectFunc2d::IntPolygon(const TVRMMultiPolygon2d& a, double y1, double y2)
{
    const TVRMBox2d box = a.Box();
    if (box.IsEmpty() || std::min(y1, y2) >= std::max(y1, y2))
        return TVRMMultiPolygon2d::Create();
    TVRMMultiPolygon2d band;
    band.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{box.min.x - 1.0, std::min(y1, y2)},
                                                    {box.max.x + 1.0, std::min(y1, y2)},
                                                    {box.max.x + 1.0, std::max(y1, y2)},
                                                    {box.min.x - 1.0, std::max(y1, y2)}}));
    return IntPolygon(a, band);
}

void TVRMIntersectFunc2d::Cut(const TVRMMultiPolygon2d& set, const TVRMCustomLine2d& line, TVRMMultiPolygon2d& left,
                              TVRMMultiPolygon2d& right)
{
    left.Clear();
    right.Clear();
    const TVRMBox2d box = set.Box();
    const TVRMVector2d u = line.Vector().Normal();
    if (box.IsEmpty() || u == TVRMVector2d{})
        return;
    // Half planes clipped to a rectangle that holds the set's box, along the directed line.
    const TVRMCustomLine2d along = LineOverBox(line, box, 1.0);
    const double reach = box.Width() + box.Height() + line.StartPt().DistanceTo(MidPoint(box.min, box.max)) + 1.0;
    const TVRMPoint2d p0 = along.StartPt(), p1 = along.EndPt();
    const TVRMVector2d n = u.RotateHalfPi(false) * reach;
    TVRMMultiPolygon2d leftHalf, rightHalf;
    leftHalf.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{p0, p1, p1 + n, p0 + n}));
    rightHalf.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{p0 - n, p1 - n, p1, p0}));
    left = *IntPolygon(set, leftHalf);
    right = *IntPolygon(set, rightHalf);
}

bool TVRMIntersectFunc2d::IsMultiPolyInt(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b, double tol)
{
    if (!a.Box().Meets(b.Box(), tol))
        return false;
    return HasSubstance(*IntPolygon(a, b), tol);
}

void TVRMIntersectFunc2d::SubLines(const std::vector<TVRMCustomLine2d>& lines, const TVRMMultiPolygon2d& set,
                                   std::vector<TVRMCustomLine2d>& result, bool keepOnBoundary, bool keepInside,
                                   double tol)
{
    result.clear();
    const int mask = (1 << 2) | (keepOnBoundary ? 1 << 1 : 0) | (keepInside ? 1 : 0);
    for (const TVRMCustomLine2d& line : lines)
        CollectPieces(SplitLineBySet(line, set, tol), mask, result, tol);
}

void TVRMIntersectFunc2d::SubLines(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b,
                                   std::vector<TVRMCustomLine2d>& result, double tol)
{
    result.clear();
    for (const TVRMPolygon2d& ring : a.Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges())
            CollectPieces(SplitLineBySet(edge, b, tol), 0b010, result, tol);
}

bool TVRMBreakFunc2d::BreakAt(const TVRMCustomLine2d& line, const TVRMPoint2d& p, TVRMCustomLine2d& first,
                              TVRMCustomLine2d& second, double tol)
{
    const std::vector<TVRMCustomLine2d> pieces = SplitLineAt(line, {p}, tol);
    if (pieces.size() != 2)
        return false;
    first = pieces[0];
    second = pieces[1];
    second.SetStartPt(first.EndPt());
    return true;
}

std::vector<TVRMCustomLine2d> TVRMMiscFunc2d::CutEdges(const TVRMPolygon2d& ring, const TVRMCustomLine2d& line,
                                                       int sideMask, double tol)
{
    std::vector<TVRMCustomLine2d> kept;
    const TVRMBox2d box = ring.Box();
    if (line.Vector().Normal() == TVRMVector2d{} || box.IsEmpty())
        return kept;
    const TVRMCustomLine2d cutter = LineOverBox(line, box, 1.0);
    TVRMMultiPolygon2d ringSet;
    ringSet.Add(ring);
    for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
        std::vector<TVRMPoint2d> crossings;
        if (TVRMIntersectFunc2d::Intersect(edge, cutter, crossings, tol) == 4)
            crossings.clear();
        std::vector<TVRMSplitPiece> pieces;
        for (const TVRMCustomLine2d& piece : SplitLineAt(edge, crossings, tol)) {
            const int side = TVRMPositionFunc2d::PointSegSide(piece.MiddlePoint(), line, tol);
            pieces.push_back({piece, (sideMask & (1 << side)) ? 2 : 0});
        }
        CollectPieces(pieces, 0b001, kept, tol);
    }
    // The cut across the ring: pieces of the cutter strictly inside.
    CollectPieces(SplitLineBySet(cutter, ringSet, tol), 0b001, kept, tol);
    return kept;
}
