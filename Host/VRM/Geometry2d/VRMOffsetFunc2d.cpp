// Sideways offsets of lines, polylines and rings (our own construction, not a buffer): every edge is
// moved by its width, consecutive moved edges are extended or trimmed to their crossing (mitred
// corners), and edges that turn round (swallowed by their neighbours) are removed one at a time.
#include <algorithm>
#include <cmath>
#include <optional>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMGeom2dUtils.h"
#include "Host/VRM/VRMCommon2d.h"

using namespace VRMGeom2d;

namespace {

struct TOffsetEdge {
    TVRMCustomLine2d line;  // the moved edge, unbounded in use (only its line or circle counts)
    int source;
};

// Directions closer than this (sine of the angle) count as parallel: their crossing would be a
// spike far away, so the moved edges are joined by a connecting edge instead.
constexpr double CParallelSine = 1e-9;

// Where two consecutive moved edges meet near their old corner; false when they do not meet.
bool Junction(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, TVRMPoint2d& p)
{
    const double scale = std::max({1.0, std::abs(a.EndPt().x), std::abs(a.EndPt().y)});
    if (a.EndPt().IsEqualTo(b.StartPt(), 1e-12 * scale)) {
        p = a.EndPt();
        return true;
    }
    if (!a.IsArc() && !b.IsArc() && std::abs(a.Vector().Normal().CrossProduct(b.Vector().Normal())) <= CParallelSine)
        return false;
    std::vector<TVRMPoint2d> points;
    const int code = TVRMIntersectFunc2d::ExtIntersect(a, b, points, 1e-9 * scale);
    if (code != 1 && code != 2)
        return false;
    const TVRMPoint2d reference = MidPoint(a.EndPt(), b.StartPt());
    p = points.front();
    for (const TVRMPoint2d& q : points)
        if (q.DistanceTo(reference) < p.DistanceTo(reference))
            p = q;
    return true;
}

// The moved edge cut to new ends; its signed span along the moved line (negative: turned round).
TVRMCustomLine2d Trimmed(const TVRMCustomLine2d& line, const TVRMPoint2d& s, const TVRMPoint2d& e, double& span)
{
    const double t0 = line.LengthAtPoint(s);
    const double t1 = line.LengthAtPoint(e);
    const TVRMArcData d = line.GetArcData();
    span = t1 - t0;
    if (!d.valid)
        return TVRMCustomLine2d(s, e);
    // A turned-round piece runs back along its circle.
    return TVRMCustomLine2d(s, e, line.Radius(),
                            GetSweepArcKind((d.sense < 0.0) != (span < 0.0), std::abs(span) / line.Radius()));
}

// Remove edges without length and fold-backs (a straight edge followed by one running back along
// it, left where an edge between them was swallowed); a fold is replaced by the edge that remains,
// mapped to the source running its way.
void RemoveFolds(std::vector<TVRMCustomLine2d>& lines, std::vector<int>& sources, bool closed)
{
    bool changed = true;
    while (changed && !lines.empty()) {
        changed = false;
        const size_t m = lines.size();
        for (size_t i = 0; i < m && !changed; ++i) {
            const TVRMCustomLine2d& a = lines[i];
            const double scale = std::max({1.0, std::abs(a.StartPt().x), std::abs(a.StartPt().y)});
            if (!a.IsArc() && a.Vector().Length() <= 1e-9 * scale && m > 1) {
                const size_t next = (i + 1) % m;
                if (closed || i + 1 < m)
                    lines[next].SetStartPt(a.StartPt());
                else
                    lines[i - 1].SetEndPt(a.EndPt());
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
                sources.erase(sources.begin() + static_cast<std::ptrdiff_t>(i));
                changed = true;
                continue;
            }
            if (!closed && i + 1 == m)
                continue;
            const size_t j = (i + 1) % m;
            const TVRMCustomLine2d& b = lines[j];
            if (i == j || a.IsArc() || b.IsArc())
                continue;
            const TVRMVector2d ua = a.Vector().Normal(), ub = b.Vector().Normal();
            if (ua.InnerProduct(ub) >= 0.0 || std::abs(ua.CrossProduct(ub)) > CParallelSine)
                continue;
            const TVRMCustomLine2d merged(a.StartPt(), b.EndPt());
            const int source = merged.Vector().InnerProduct(ua) > 0.0 ? sources[i] : sources[j];
            lines[i] = merged;
            sources[i] = source;
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(j));
            sources.erase(sources.begin() + static_cast<std::ptrdiff_t>(j));
            changed = true;
        }
    }
}

// Join moved edges into a ring (closed) or a polyline. With dropTurned, edges that turn round are
// dropped and their neighbours joined again; else they stay, running backwards. False when too
// little remains.
bool JoinEdges(std::vector<TOffsetEdge> edges, bool closed, bool dropTurned, std::vector<TVRMCustomLine2d>& lines,
               std::vector<int>& sources, bool* turned = nullptr)
{
    for (;;) {
        const size_t m = edges.size();
        const bool anyArc =
            std::any_of(edges.begin(), edges.end(), [](const TOffsetEdge& e) { return e.line.IsArc(); });
        if (m == 0 || (closed && (m < 2 || (m == 2 && !anyArc))))
            return false;
        // junction[k]: between edge k-1 and edge k.
        std::vector<TVRMPoint2d> junction(m);
        std::vector<bool> meets(m, false);
        for (size_t k = 0; k < m; ++k) {
            if (!closed && k == 0)
                continue;
            meets[k] = Junction(edges[(k + m - 1) % m].line, edges[k].line, junction[k]);
        }
        lines.clear();
        sources.clear();
        double worst = 0.0;
        size_t worstIndex = m;
        for (size_t k = 0; k < m; ++k) {
            const TVRMCustomLine2d& line = edges[k].line;
            const size_t next = (k + 1) % m;
            const bool hasNext = closed || k + 1 < m;
            const TVRMPoint2d s = meets[k] ? junction[k] : line.StartPt();
            const TVRMPoint2d e = hasNext && meets[next] ? junction[next] : line.EndPt();
            double span = 0.0;
            lines.push_back(Trimmed(line, s, e, span));
            sources.push_back(edges[k].source);
            const double scale = std::max({1.0, std::abs(s.x), std::abs(s.y)});
            if (span <= 1e-9 * scale && (worstIndex == m || span < worst))
                worst = span, worstIndex = k;
            if (hasNext && !meets[next]) {
                // Parallel neighbours moved by different widths: a connecting edge.
                lines.emplace_back(line.EndPt(), edges[next].line.StartPt());
                sources.push_back(-1);
            }
        }
        if (turned)
            *turned = worstIndex != m;
        if (worstIndex == m || !dropTurned) {
            RemoveFolds(lines, sources, closed);
            return lines.size() >= (closed ? 2u : 1u);
        }
        edges.erase(edges.begin() + static_cast<std::ptrdiff_t>(worstIndex));
    }
}

TVRMPolygon2d RingOfLines(const std::vector<TVRMCustomLine2d>& lines)
{
    TVRMPolygon2d ring;
    for (const TVRMCustomLine2d& l : lines)
        ring.Add(TVRMVertex2d{l.StartPt(), l.Radius(), l.ArcKind()});
    return ring;
}

// No two edges meet except consecutive ones at their common vertex.
bool IsSimpleRing(const TVRMPolygon2d& ring)
{
    const std::vector<TVRMCustomLine2d> edges = ring.GetEdges();
    const size_t n = edges.size();
    const TVRMBox2d all = ring.Box();
    const double tol =
        1e-9 * std::max({1.0, std::abs(all.min.x), std::abs(all.min.y), std::abs(all.max.x), std::abs(all.max.y)});
    std::vector<TVRMBox2d> boxes;
    for (const TVRMCustomLine2d& e : edges)
        boxes.push_back(e.Box());
    std::vector<TVRMPoint2d> points;
    for (size_t i = 0; i < n; ++i)
        for (size_t j = i + 1; j < n; ++j) {
            if (!boxes[i].Meets(boxes[j], tol))
                continue;
            const int code = TVRMIntersectFunc2d::Intersect(edges[i], edges[j], points, tol);
            if (code < 1 || code > 3)
                continue;
            const bool next = j == i + 1, wrap = i == 0 && j == n - 1;
            if (code == 3 || !(next || wrap) || points.size() > (n == 2 ? 2u : 1u))
                return false;
        }
    return true;
}

// Turn a ring's vertex list to start at the vertex nearest a point (keeps edge maps stable).
void StartNear(TVRMPolygon2d& ring, const TVRMPoint2d& p)
{
    std::vector<TVRMVertex2d>& v = ring.Vertices();
    if (v.empty())
        return;
    const auto nearest = std::min_element(v.begin(), v.end(), [&p](const TVRMVertex2d& a, const TVRMVertex2d& b) {
        return a.pt.DistanceTo(p) < b.pt.DistanceTo(p);
    });
    std::rotate(v.begin(), nearest, v.end());
}

// For each edge of a resolved ring, the source of the moved edge it runs along (-1 for none, or
// for an edge running against its moved edge). False when no edge runs along its moved edge:
// the ring is a loop turned inside out, left where the moved edges collapsed.
bool SourcesOfEdges(const TVRMPolygon2d& ring, const std::vector<TOffsetEdge>& moved, std::vector<int>& sources)
{
    sources.clear();
    bool anyAlong = false;
    for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
        const TVRMPoint2d mid = edge.MiddlePoint();
        const double tol = 1e-6 * std::max({1.0, std::abs(mid.x), std::abs(mid.y)});
        int source = -1;
        for (size_t k = 0; k < moved.size() && source < 0; ++k)
            if (edge.IsArc() == moved[k].line.IsArc() &&
                std::abs(TVRMPositionFunc2d::SignedDistanceTo(mid, moved[k].line, false)) <= tol &&
                TVRMPositionFunc2d::IsSameDirection(edge, moved[k].line))
                source = moved[k].source;
        anyAlong = anyAlong || source >= 0;
        sources.push_back(source);
    }
    return anyAlong;
}

// A ring offset built from pieces: the ring, with a band along every edge (as wide as its width)
// and a corner piece between moved neighbours (up to their crossing, the mitre), added where they
// grow the ring and cut away where they shrink it. Slower than joining the moved edges, but right
// where moved edges pass each other.
std::unique_ptr<TVRMMultiPolygon2d> PieceOffsetRegion(const TVRMPolygon2d& ring, const std::vector<double>& widths,
                                                      double outward)
{
    const int n = ring.GetEdgeCount();
    TVRMMultiPolygon2d grow, shrink;
    std::vector<TVRMCustomLine2d> edges(n), moved(n);
    std::vector<bool> hasMoved(n, false);
    for (int i = 0; i < n; ++i) {
        edges[i] = ring.GetEdge(i);
        if (edges[i].IsArc() && !edges[i].GetArcData().valid)
            edges[i] = TVRMCustomLine2d(edges[i].StartPt(), edges[i].EndPt());
        const TVRMCustomLine2d& e = edges[i];
        if (widths[i] == 0.0 || !std::isfinite(widths[i]) || e.StartPt() == e.EndPt())
            continue;
        double side = outward * widths[i];  // positive: to the right of the edge
        if (const TVRMArcData d = e.GetArcData(); d.valid && e.Radius() + d.sense * side <= 0.0)
            side = -d.sense * e.Radius() * (1.0 - 1e-12);  // a band past the centre ends at it
        const TVRMPolygon2d band =
            side > 0.0 ? TVRMPolygon2d::CreateBand(e, 0.0, side) : TVRMPolygon2d::CreateBand(e, -side, 0.0);
        (widths[i] > 0.0 ? grow : shrink).Add(band);
        hasMoved[i] = TVRMOffsetFunc2d::Offset(e, side, moved[i]);
    }
    for (int i = 0; i < n; ++i) {
        const int prev = (i + n - 1) % n;
        if (!hasMoved[prev] || !hasMoved[i])
            continue;
        const bool grows = widths[prev] >= 0.0 && widths[i] >= 0.0;
        const bool shrinks = widths[prev] <= 0.0 && widths[i] <= 0.0;
        // A corner turning outward-convex leaves a gap between growing bands; a reflex one
        // between shrinking bands.
        const double turn = edges[prev].EndDirection().CrossProduct(edges[i].StartDirection()) * outward;
        TVRMPoint2d mitre;
        if (!(grows && turn > 0.0) && !(shrinks && turn < 0.0))
            continue;
        if (!Junction(moved[prev], moved[i], mitre))
            continue;
        TVRMPolygon2d corner(
            std::vector<TVRMPoint2d>{edges[i].StartPt(), moved[prev].EndPt(), mitre, moved[i].StartPt()});
        if (corner.IsClockwise())
            corner.Reverse();
        (grows ? grow : shrink).Add(std::move(corner));
    }
    TVRMMultiPolygon2d base;
    base.Add(ring);
    if (outward < 0.0)
        base.GetItems(0).Reverse();
    std::unique_ptr<TVRMMultiPolygon2d> region =
        grow.IsEmpty() ? base.Clone() : TVRMIntersectFunc2d::MergePolygon(base, grow);
    return shrink.IsEmpty() ? std::move(region) : TVRMIntersectFunc2d::SyncSubPolygon(*region, shrink);
}

// A ring moved edge by edge: either the ring of the joined moved edges (the common case, its
// edges mapped by construction), or, where moved edges turn round or pass each other (a narrow
// notch closing, an arm swallowed by an inward offset), the region built from pieces.
struct TRingOffset {
    double outward = 1.0;  // +1 for a counter-clockwise ring, -1 for a clockwise one
    std::vector<TOffsetEdge> edges;
    TVRMPoint2d start;  // where the joined ring starts, to start pieces near it
    TVRMPolygon2d ring;
    std::vector<int> sources;
    std::unique_ptr<TVRMMultiPolygon2d> pieces;  // counter-clockwise outer rings and holes
};

bool MoveRing(const TVRMPolygon2d& ring, const std::vector<double>& widths, TRingOffset& offset)
{
    const int n = ring.GetEdgeCount();
    const double area = ring.SignArea();
    if (n < 2 || static_cast<int>(widths.size()) < n || !std::isfinite(area) || area == 0.0 ||
        !std::all_of(widths.begin(), widths.begin() + n, [](double w) { return std::isfinite(w); }))
        return false;
    // Outward is the right of the edges of a counter-clockwise ring, the left of a clockwise one.
    offset.outward = area > 0.0 ? 1.0 : -1.0;
    for (int i = 0; i < n; ++i) {
        TVRMCustomLine2d edge = ring.GetEdge(i);
        if (edge.IsArc() && !edge.GetArcData().valid)
            edge = TVRMCustomLine2d(edge.StartPt(), edge.EndPt());
        if (edge.StartPt() == edge.EndPt())
            continue;
        TVRMCustomLine2d moved;
        if (TVRMOffsetFunc2d::Offset(edge, offset.outward * widths[i], moved))
            offset.edges.push_back({moved, i});
    }
    std::vector<TVRMCustomLine2d> joined;
    bool turned = false;
    if (!JoinEdges(offset.edges, true, false, joined, offset.sources, &turned))
        return false;
    offset.start = joined.front().StartPt();
    offset.ring = RingOfLines(joined);
    if (turned || !IsSimpleRing(offset.ring)) {
        try {
            offset.pieces = PieceOffsetRegion(ring, widths, offset.outward);
        } catch (const EVRMIntersectException&) {
            return false;  // an offset reports failure, it does not raise
        }
        return !offset.pieces->IsEmpty();
    }
    // The ring must keep its orientation; a ring turned inside out has collapsed.
    return offset.ring.SignArea() * offset.outward > 0.0;
}

}  // namespace

bool TVRMOffsetFunc2d::Offset(const TVRMCustomLine2d& line, double d, TVRMCustomLine2d& result)
{
    if (!std::isfinite(d))
        return false;
    if (line.IsArc()) {
        const TVRMArcData arc = line.GetArcData();
        if (!arc.valid)
            return false;
        // The right of a counter-clockwise arc is outside its circle.
        const double radius = line.Radius() + arc.sense * d;
        if (!(radius > 1e-9 * line.Radius()))
            return false;
        const double k = radius / line.Radius();
        result = TVRMCustomLine2d(arc.center + (line.StartPt() - arc.center) * k,
                                  arc.center + (line.EndPt() - arc.center) * k, radius, line.ArcKind());
        return true;
    }
    const TVRMVector2d u = line.Vector().Normal();
    if (u == TVRMVector2d{})
        return false;
    const TVRMVector2d shift = u.RotateHalfPi(true) * d;
    result = TVRMCustomLine2d(line.StartPt() + shift, line.EndPt() + shift);
    return true;
}

TVRMCustomLine2d TVRMOffsetFunc2d::Offset(const TVRMCustomLine2d& line, double d)
{
    TVRMCustomLine2d result = line;
    Offset(line, d, result);
    return result;
}

bool TVRMOffsetFunc2d::Offset(const TVRMLines2d& lines, double d, TVRMLines2d& result)
{
    std::vector<TOffsetEdge> edges;
    for (int i = 0; i < lines.GetEdgeCount(); ++i) {
        TVRMCustomLine2d moved;
        if (!Offset(lines.GetEdge(i), d, moved))
            return false;
        edges.push_back({moved, i});
    }
    std::vector<TVRMCustomLine2d> joined;
    std::vector<int> sources;
    if (edges.empty() || !JoinEdges(edges, false, true, joined, sources))
        return false;
    result = TVRMLines2d::FromLines(joined);
    return true;
}

bool TVRMOffsetFunc2d::Offset(const TVRMPolygon2d& ring, const std::vector<double>& widths, TVRMPolygon2d& result,
                              std::vector<int>* edgeMap)
{
    TRingOffset offset;
    if (!MoveRing(ring, widths, offset))
        return false;
    if (offset.pieces) {
        // Keep the largest piece with an edge along a moved edge, with its edges mapped back.
        std::optional<TVRMPolygon2d> largest;
        std::vector<int> largestSources;
        for (TVRMPolygon2d& r : offset.pieces->Items()) {
            if (r.IsHole() || (largest && r.Area() <= largest->Area()))
                continue;
            if (offset.outward < 0.0)
                r.Reverse();
            StartNear(r, offset.start);
            std::vector<int> ringSources;
            if (SourcesOfEdges(r, offset.edges, ringSources))
                largest = r, largestSources = std::move(ringSources);
        }
        if (!largest)
            return false;
        offset.ring = std::move(*largest);
        offset.sources = std::move(largestSources);
    }
    result = std::move(offset.ring);
    if (edgeMap)
        *edgeMap = std::move(offset.sources);
    return true;
}

bool TVRMOffsetFunc2d::Offset(const TVRMPolygon2d& ring, double d, TVRMPolygon2d& result)
{
    return Offset(ring, std::vector<double>(ring.GetEdgeCount(), d), result, nullptr);
}

bool TVRMOffsetFunc2d::Offset(const TVRMMultiPolygon2d& set, double d, TVRMMultiPolygon2d& result)
{
    TVRMMultiPolygon2d moved;
    bool anyOuter = false;
    for (const TVRMPolygon2d& ring : set.Items()) {
        // A hole grows into the region when the region shrinks and shrinks when it grows.
        const bool hole = ring.IsHole();
        TRingOffset offset;
        if (!MoveRing(ring, std::vector<double>(ring.GetEdgeCount(), hole ? -d : d), offset))
            continue;
        if (!offset.pieces) {
            moved.Add(std::move(offset.ring));
        } else {
            // Every piece, turned like the ring (a hole's pieces stay holes).
            for (TVRMPolygon2d& r : offset.pieces->Items()) {
                if (hole)
                    r.Reverse();
                moved.Add(std::move(r));
            }
        }
        anyOuter = anyOuter || !hole;
    }
    if (!anyOuter)
        return false;
    if (moved.GetCount() > 1) {
        std::unique_ptr<TVRMMultiPolygon2d> merged;
        try {
            merged = TVRMIntersectFunc2d::MergePolygon(moved);
        } catch (const EVRMIntersectException&) {
            return false;
        }
        if (merged->IsEmpty())
            return false;
        result = std::move(*merged);
    } else {
        result = std::move(moved);
    }
    return true;
}
