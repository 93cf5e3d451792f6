#include <algorithm>
#include <cmath>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMGeom2dUtils.h"
#include "Host/VRM/Geometry2d/VRMSplit2d.h"
#include "Host/VRM/VRMCommon2d.h"

using namespace VRMGeom2d;

namespace {

bool IsTrueArc(const TVRMCustomLine2d& line)
{
    return line.GetArcData().valid;
}

// Inside test of one ring (the boundary is handled by the caller): even-odd over the chords, and
// a toggle for each arc segment (between an arc and its chord) that holds the point.
bool InsideRing(const TVRMPoint2d& p, const TVRMPolygon2d& ring)
{
    bool inside = false;
    const int n = ring.GetEdgeCount();
    for (int i = 0; i < n; ++i) {
        const TVRMCustomLine2d e = ring.GetEdge(i);
        const TVRMPoint2d a = e.StartPt(), b = e.EndPt();
        if ((a.y > p.y) != (b.y > p.y)) {
            const double x = a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
            if (p.x < x)
                inside = !inside;
        }
        const TVRMArcData d = e.GetArcData();
        if (d.valid && p.DistanceTo(d.center) < e.Radius()) {
            // The segment lies on the side of the chord where the arc's middle is.
            const TVRMVector2d chord = b - a;
            // A point on the chord's line counts as moved up by a hair (and right by less), as in
            // the crossing test above, so that two arcs sharing a chord toggle exactly once.
            double sideP = chord.CrossProduct(p - a);
            if (sideP == 0.0)
                sideP = chord.x != 0.0 ? chord.x : -chord.y;
            const double sideM = chord.CrossProduct(e.MiddlePoint() - a);
            if (sideP * sideM > 0.0)
                inside = !inside;
        }
    }
    return inside;
}

bool OnRingBoundary(const TVRMPoint2d& p, const TVRMPolygon2d& ring, double tol)
{
    if (!ring.Box().Contains(p, tol))
        return false;
    for (int i = 0; i < ring.GetEdgeCount(); ++i)
        if (TVRMPositionFunc2d::DistanceTo(p, ring.GetEdge(i)) <= tol)
            return true;
    return false;
}

// Smallest distance between two pieces.
double EdgeDistance(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double tol)
{
    std::vector<TVRMPoint2d> points;
    const int code = TVRMIntersectFunc2d::Intersect(a, b, points, tol);
    if (code >= 1 && code <= 3)
        return 0.0;
    double best =
        std::min({TVRMPositionFunc2d::DistanceTo(a.StartPt(), b), TVRMPositionFunc2d::DistanceTo(a.EndPt(), b),
                  TVRMPositionFunc2d::DistanceTo(b.StartPt(), a), TVRMPositionFunc2d::DistanceTo(b.EndPt(), a)});
    // Inner nearest points: an arc's point nearest the other piece lies on the normal of the
    // line, or on the line through both centres.
    auto innerCandidates = [&best](const TVRMCustomLine2d& arc, const TVRMCustomLine2d& other) {
        const TVRMArcData d = arc.GetArcData();
        if (!d.valid)
            return;
        TVRMVector2d dir;
        if (const TVRMArcData od = other.GetArcData(); od.valid)
            dir = (od.center - d.center).Normal();
        else
            dir = other.Vector().Normal().RotateHalfPi(false);
        for (double s : {1.0, -1.0}) {
            const TVRMPoint2d q = d.center + dir * (s * arc.Radius());
            if (TVRMPositionFunc2d::DistanceTo(q, arc) <= 1e-9 * std::max(1.0, arc.Radius()))
                best = std::min(best, TVRMPositionFunc2d::DistanceTo(q, other));
        }
    };
    innerCandidates(a, b);
    innerCandidates(b, a);
    return best;
}

bool BoundariesMeet(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b, double tol)
{
    for (const TVRMPolygon2d& ra : a.Items())
        for (const TVRMPolygon2d& rb : b.Items()) {
            if (!ra.Box().Meets(rb.Box(), tol))
                continue;
            for (int i = 0; i < ra.GetEdgeCount(); ++i) {
                const TVRMCustomLine2d ea = ra.GetEdge(i);
                const TVRMBox2d boxA = ea.Box();
                for (int j = 0; j < rb.GetEdgeCount(); ++j) {
                    const TVRMCustomLine2d eb = rb.GetEdge(j);
                    if (boxA.Meets(eb.Box(), tol) && EdgeDistance(ea, eb, tol) <= tol)
                        return true;
                }
            }
        }
    return false;
}

}  // namespace

bool TVRMPositionFunc2d::IsParallel(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double tol)
{
    const bool arcA = IsTrueArc(a), arcB = IsTrueArc(b);
    if (arcA != arcB)
        return false;
    if (arcA)
        return a.GetArcData().center.DistanceTo(b.GetArcData().center) <= CVRMEpsilon;
    return a.Vector().IsParallelTo(b.Vector(), tol);
}

bool TVRMPositionFunc2d::IsSameDirection(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    if (IsTrueArc(a) && IsTrueArc(b))
        return a.GetArcData().sense == b.GetArcData().sense;
    return a.StartDirection().InnerProduct(b.StartDirection()) > 0.0;
}

TVRMPoint2d TVRMPositionFunc2d::ClosestPointTo(const TVRMPoint2d& p, const TVRMCustomLine2d& line, bool segment)
{
    const TVRMArcData d = line.GetArcData();
    if (!d.valid) {
        const double len = line.StartPt().DistanceTo(line.EndPt());
        if (len == 0.0)
            return line.StartPt();
        double t = line.LengthAtPoint(p);
        if (segment)
            t = std::clamp(t, 0.0, len);
        if (t == 0.0)
            return line.StartPt();
        if (t == len)
            return line.EndPt();
        return line.PointAtLength(t);
    }
    const TVRMVector2d radial = (p - d.center).Normal();
    if (radial == TVRMVector2d{})
        return line.StartPt();
    const TVRMPoint2d foot = d.center + radial * line.Radius();
    if (!segment)
        return foot;
    const double delta = NormalizeAngle(d.sense * (std::atan2(radial.y, radial.x) - d.startAngle));
    if (delta <= d.sweep)
        return foot;
    return p.DistanceTo(line.StartPt()) <= p.DistanceTo(line.EndPt()) ? line.StartPt() : line.EndPt();
}

double TVRMPositionFunc2d::DistanceTo(const TVRMPoint2d& p, const TVRMCustomLine2d& line)
{
    return p.DistanceTo(ClosestPointTo(p, line, true));
}

double TVRMPositionFunc2d::SignedDistanceTo(const TVRMPoint2d& p, const TVRMCustomLine2d& line, bool segment)
{
    const TVRMArcData d = line.GetArcData();
    double infinite;
    if (d.valid)
        infinite = d.sense * (p.DistanceTo(d.center) - line.Radius());  // right of travel
    else
        infinite = -line.Vector().Normal().CrossProduct(p - line.StartPt());
    if (!segment)
        return infinite;
    const double dist = DistanceTo(p, line);
    return infinite < 0.0 ? -dist : dist;
}

TVRMCustomLine2d TVRMPositionFunc2d::SubSeg(const TVRMCustomLine2d& line, double fromLength, double toLength,
                                            bool normalize)
{
    if (normalize && fromLength > toLength)
        std::swap(fromLength, toLength);
    return line.SubLine(fromLength, toLength);
}

TVRMCustomLine2d TVRMPositionFunc2d::SubSeg(const TVRMCustomLine2d& line, const TVRMPoint2d& fromPt,
                                            const TVRMPoint2d& toPt)
{
    return line.SubLine(line.LengthAtPoint(fromPt), line.LengthAtPoint(toPt));
}

bool TVRMPositionFunc2d::SubSeg(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, TVRMCustomLine2d& piece,
                                double tol)
{
    if (!IsParallel(a, b, CVRMParallelEpsilon))
        return false;
    const double t1 = a.LengthAtPoint(b.StartPt());
    double t2;
    if (const TVRMArcData da = a.GetArcData(); da.valid) {
        const double sense = da.sense == b.GetArcData().sense ? 1.0 : -1.0;
        t2 = t1 + sense * a.Radius() * b.Sweep();
    } else {
        t2 = a.LengthAtPoint(b.EndPt());
    }
    const double from = std::max(0.0, std::min(t1, t2));
    const double to = std::min(a.Length(), std::max(t1, t2));
    if (to - from <= tol)
        return false;
    piece = a.SubLine(from, to);
    if (from == 0.0)
        piece.SetStartPt(a.StartPt());
    if (to == a.Length())
        piece.SetEndPt(a.EndPt());
    return true;
}

bool TVRMPositionFunc2d::IsSubSeg(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double tol)
{
    return IsParallel(a, b, CVRMParallelEpsilon) && DistanceTo(b.StartPt(), a) <= tol &&
           DistanceTo(b.EndPt(), a) <= tol && DistanceTo(b.MiddlePoint(), a) <= tol;
}

bool TVRMPositionFunc2d::GetTwoLineOverLapPoints(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, TVRMPoint2d& p1,
                                                 TVRMPoint2d& p2, double tol)
{
    std::vector<TVRMPoint2d> points;
    if (TVRMIntersectFunc2d::Intersect(a, b, points, tol) != 3)
        return false;
    p1 = points.front();
    p2 = points.back();
    return true;
}

int TVRMPositionFunc2d::PointSegSide(const TVRMPoint2d& p, const TVRMCustomLine2d& line, double tol)
{
    const double sd = SignedDistanceTo(p, line, false);
    if (std::abs(sd) <= tol)
        return 0;
    return sd < 0.0 ? 1 : 2;
}

int TVRMPositionFunc2d::PointPosition(const TVRMPoint2d& p, const TVRMCustomLine2d& line, double tol)
{
    if (p.DistanceTo(line.StartPt()) <= tol || p.DistanceTo(line.EndPt()) <= tol)
        return 1;
    return DistanceTo(p, line) <= tol ? 0 : 2;
}

int TVRMPositionFunc2d::PointPosition(const TVRMPoint2d& p, const TVRMPolygon2d& polygon, double tol)
{
    if (OnRingBoundary(p, polygon, tol))
        return 1;
    return InsideRing(p, polygon) ? 0 : 2;
}

int TVRMPositionFunc2d::PointPosition(const TVRMPoint2d& p, const TVRMMultiPolygon2d& set, double tol)
{
    int winding = 0;
    for (const TVRMPolygon2d& ring : set.Items()) {
        if (OnRingBoundary(p, ring, tol))
            return 1;
        if (InsideRing(p, ring))
            winding += ring.IsHole() ? -1 : 1;
    }
    return winding > 0 ? 0 : 2;
}

int TVRMPositionFunc2d::PolyPolyPosition(const TVRMPolygon2d& a, const TVRMPolygon2d& b, double tol)
{
    TVRMMultiPolygon2d setA, setB;
    setA.Add(a);
    setB.Add(b);
    return MultiPolyMultiPolyPosition(setA, setB, tol);
}

int TVRMPositionFunc2d::PolyMultiPolyPosition(const TVRMPolygon2d& a, const TVRMMultiPolygon2d& b, double tol)
{
    TVRMMultiPolygon2d setA;
    setA.Add(a);
    return MultiPolyMultiPolyPosition(setA, b, tol);
}

int TVRMPositionFunc2d::MultiPolyMultiPolyPosition(const TVRMMultiPolygon2d& a, const TVRMMultiPolygon2d& b, double tol)
{
    if (!a.Box().Meets(b.Box(), tol))
        return 0;
    if (HasSubstance(*TVRMIntersectFunc2d::IntPolygon(a, b), tol)) {
        const bool restA = HasSubstance(*TVRMIntersectFunc2d::SyncSubPolygon(a, b), tol);
        const bool restB = HasSubstance(*TVRMIntersectFunc2d::SyncSubPolygon(b, a), tol);
        if (!restA && !restB)
            return 7;
        if (!restA)
            return 3;
        if (!restB)
            return 4;
        return 1;
    }
    return BoundariesMeet(a, b, tol) ? 2 : 0;
}

int TVRMPositionFunc2d::LineMultiPolyPosition(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set, double tol)
{
    bool in = false, on = false, out = false;
    for (const TVRMSplitPiece& piece : SplitLineBySet(line, set, tol)) {
        in = in || piece.position == 0;
        on = on || piece.position == 1;
        out = out || piece.position == 2;
    }
    if (in)
        return out ? 4 : 5;
    if (on)
        return 3;
    std::vector<TVRMPoint2d> points;
    return TVRMIntersectFunc2d::Intersect(line, set, points, tol) > 0 ? 2 : 0;
}

void TVRMPositionFunc2d::SortPoint(std::vector<TVRMPoint2d>& points, const TVRMCustomLine2d& line)
{
    std::stable_sort(points.begin(), points.end(), [&line](const TVRMPoint2d& p, const TVRMPoint2d& q) {
        return line.LengthAtPoint(p) < line.LengthAtPoint(q);
    });
}
