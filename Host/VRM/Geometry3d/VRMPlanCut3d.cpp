// A plan set less, or intersected with, one convex ring, in general position: the boundary
// walk of the two (parts of the set's rings outside the ring and the ring's own parts inside
// the set, or the parts inside both), with the crossings put where the plan boolean puts them.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPlan3d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace {

// Every vertex lies at least this far from the other operand's boundary, and crossings as far
// from each other (mm): well clear of what the plan boolean's grid and its cleaning merge.
constexpr double kClear = 1e-2;
// Sine of the flattest crossing taken; flatter ones go to the plan boolean.
constexpr double kGrazing = 1e-6;
// A vertex this close to the line of an upright or level edge lies on it (mm): far below the
// plan boolean's grid, which puts it there.
constexpr double kOnLine = 1e-9;

struct TCrossing {
    int ring, edge;  // the set's ring and its edge
    double t;        // along that edge, 0 to 1
    int cEdge;       // the convex ring's edge
    double s;        // along it
    bool enters;     // the set's edge runs into the convex ring here
    bool used;
    TVRMPoint2d point;  // once placed
    bool atVertex;      // at the convex ring's vertex cEdge (its start)
};

// A vertex inside the convex ring by more than twice the clearance.
constexpr char kDeep = 2;

struct TRing {
    const std::vector<TVRMVertex2d>* v;
    bool normalized;                // as the cleaning left it (TVRMPolygon2d::IsNormalized)
    std::vector<int> nearEdges;     // the edges whose box meets the convex ring's box widened by kClear
    std::vector<int> nearVertices;  // the vertices in that box
    std::vector<char> inside;       // per vertex: inside the convex ring (kDeep deep inside), or not
    std::vector<int> crossings;     // indices, in order along the ring
};

// A cut's working lists, kept by each thread from one cut to the next (no allocation per cut).
struct TCutBuffers {
    std::vector<TVRMVector2d> units;
    std::vector<TRing> rings;
    std::vector<TVRMBox2d> boxes;
    std::vector<char> onEdge;
    std::vector<TCrossing> crossings;
    std::vector<double> sides;  // per vertex of the convex ring: its side of a set's edge
    std::vector<int> firstOf, codes, alongC, rankC, rankX, ringCodes;
    std::vector<TVRMPoint2d> points, ring;
    std::vector<size_t> kept;
};

// The calling thread's lists, looked up once per cut (a thread-local reached from inside the loops
// would be looked up again at every use).
[[gnu::noinline]] TCutBuffers& CutBuffers()
{
    thread_local TCutBuffers buffers;
    return buffers;
}

double Cross(const TVRMPoint2d& o, const TVRMPoint2d& p, const TVRMPoint2d& q)
{
    return (p - o).CrossProduct(q - o);
}

// Distance from p to the segment a-b.
double SegmentDistance(const TVRMPoint2d& p, const TVRMPoint2d& a, const TVRMPoint2d& b)
{
    const TVRMVector2d d = b - a;
    const double len2 = d.InnerProduct(d);
    double t = len2 > 0 ? (p - a).InnerProduct(d) / len2 : 0;
    t = std::clamp(t, 0.0, 1.0);
    return p.DistanceTo({a.x + d.x * t, a.y + d.y * t});
}

bool BoxNear(const TVRMBox2d& box, const TVRMPoint2d& p, double margin)
{
    return p.x >= box.min.x - margin && p.x <= box.max.x + margin && p.y >= box.min.y - margin &&
           p.y <= box.max.y + margin;
}

TVRMBox2d SegmentBox(const TVRMPoint2d& p, const TVRMPoint2d& q)
{
    TVRMBox2d b;
    b.min = {std::min(p.x, q.x), std::min(p.y, q.y)};
    b.max = {std::max(p.x, q.x), std::max(p.y, q.y)};
    return b;
}

bool BoxesMeet(const TVRMBox2d& a, const TVRMBox2d& b, double margin)
{
    return a.min.x <= b.max.x + margin && b.min.x <= a.max.x + margin && a.min.y <= b.max.y + margin &&
           b.min.y <= a.max.y + margin;
}

// The box of a ring without arcs (as TVRMPolygon2d::Box gives it, without its edge list).
TVRMBox2d RingBox(const std::vector<TVRMVertex2d>& v)
{
    TVRMBox2d box;
    for (const auto& p : v)
        box.Add(p.pt);
    return box;
}

// Two rings of the set lie apart: no vertex of either near the other's edges, no crossing.
bool RingsClear(const std::vector<TVRMVertex2d>& r, const std::vector<TVRMVertex2d>& s)
{
    const size_t n = r.size(), m = s.size();
    for (size_t i = 0; i < n; ++i) {
        const TVRMPoint2d &p = r[i].pt, &q = r[i + 1 < n ? i + 1 : 0].pt;
        const TVRMBox2d eb = SegmentBox(p, q);
        for (size_t j = 0; j < m; ++j) {
            const TVRMPoint2d &a = s[j].pt, &b = s[j + 1 < m ? j + 1 : 0].pt;
            if (!BoxesMeet(eb, SegmentBox(a, b), kClear))
                continue;
            if (SegmentDistance(a, p, q) <= kClear || SegmentDistance(p, a, b) <= kClear)
                return false;
            if ((Cross(a, b, p) > 0) != (Cross(a, b, q) > 0) && (Cross(p, q, a) > 0) != (Cross(p, q, b) > 0))
                return false;
        }
    }
    return true;
}

// Crossing parity of a point over every ring of the set.
bool InsideSet(const std::vector<TRing>& rings, const TVRMPoint2d& c)
{
    bool inside = false;
    for (const auto& ring : rings) {
        const auto& v = *ring.v;
        for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
            const TVRMPoint2d &a = v[i].pt, &b = v[j].pt;
            if ((a.y > c.y) != (b.y > c.y) && c.x < a.x + (c.y - a.y) * (b.x - a.x) / (b.y - a.y))
                inside = !inside;
        }
    }
    return inside;
}

// The origins of a cleaned ring's edges: `cleaned` keeps some of the points of `ring` in order,
// whose edges came from `codes` (per point, the edge from it). A cleaned edge spans ring edges of
// one origin (edges without length aside); false otherwise.
bool CleanedOrigins(const std::vector<TVRMPoint2d>& ring, const std::vector<int>& codes,
                    const std::vector<TVRMVertex2d>& cleaned, std::vector<int>& out, std::vector<size_t>& at)
{
    const size_t n = ring.size(), m = cleaned.size();
    if (m == n) {
        // Nothing removed (the cleaning only removes points, and leaves no edge without length):
        // each edge keeps its origin.
        out.insert(out.end(), codes.begin(), codes.end());
        return true;
    }
    at.resize(m + 1);
    for (size_t j = 0, i = 0; j < m; ++j, ++i) {
        const TVRMPoint2d& p = cleaned[j].pt;
        while (i < n && !(ring[i] == p))
            ++i;
        if (i == n)
            return false;
        at[j] = i;
    }
    at[m] = at[0] + n;
    const size_t base = out.size();
    out.resize(base + m);
    for (size_t j = 0, k = at[0]; j < m; ++j) {
        int code = 0;
        bool found = false;
        for (const size_t end = at[j + 1]; k < end; ++k) {
            const size_t i = k < n ? k : k - n, next = i + 1 < n ? i + 1 : 0;
            if (ring[i] == ring[next])
                continue;
            if (found && codes[i] != code)
                return false;
            code = codes[i];
            found = true;
        }
        if (!found)
            return false;
        out[base + j] = code;
    }
    return true;
}

}  // namespace

bool vrm3d::CutConvex(const TVRMMultiPolygon2d& x, const TVRMMultiPolygon2d& c, int kind, TVRMMultiPolygon2d& out,
                      std::vector<int>* origins)
{
    if (origins)
        origins->clear();
    if ((kind != CVRMBoolSubtract && kind != CVRMBoolIntersect) || c.GetCount() != 1 || x.IsEmpty())
        return false;
    const std::vector<TVRMVertex2d>& cv = c.GetItems(0).Vertices();
    const int m = static_cast<int>(cv.size());
    if (m < 3)
        return false;
    // The convex ring: counter-clockwise, every turn to the left, once round (the edges' direction
    // passes the x axis from below once), no arcs.
    int rounds = 0;
    TVRMBox2d cbox;
    cbox.min = cbox.max = cv[0].pt;
    for (int i = 0, j = 1, k = 2; i < m; ++i, j = k, k = k + 1 < m ? k + 1 : 0) {
        const TVRMPoint2d &a = cv[i].pt, &b = cv[j].pt, &d = cv[k].pt;
        if (cv[i].IsArc() || !(Cross(a, b, d) > 0))
            return false;
        if ((b - a).y < 0 && (d - b).y >= 0)
            ++rounds;
        cbox.min = {std::min(cbox.min.x, a.x), std::min(cbox.min.y, a.y)};
        cbox.max = {std::max(cbox.max.x, a.x), std::max(cbox.max.y, a.y)};
    }
    if (rounds != 1)
        return false;
    TCutBuffers& buffers = CutBuffers();
    // The convex ring's edge directions, worked out when first asked for (a vertex of the set
    // near the ring, a crossing).
    std::vector<TVRMVector2d>& units = buffers.units;
    bool unitsKnown = false;
    auto knowUnits = [&] {
        if (unitsKnown)
            return;
        units.resize(m);
        for (int i = 0; i < m; ++i)
            units[i] = (cv[i + 1 < m ? i + 1 : 0].pt - cv[i].pt).Normal();
        unitsKnown = true;
    };

    // The set: rings without arcs, counter-clockwise in all, apart from each other.
    const int n = x.GetCount();
    std::vector<TRing>& rings = buffers.rings;
    rings.resize(n);
    // One walk over each ring of the set: its signed area (summed as SignAreaOfRings sums it),
    // and where its vertices lie from the convex ring's box widened by kClear: the edges whose
    // box meets that box (BoxesMeet: an edge misses it when both its ends lie beyond one side)
    // and the vertices in it (BoxNear).
    const double right = cbox.max.x + kClear, above = cbox.max.y + kClear;
    const double left = cbox.min.x - kClear, below = cbox.min.y - kClear;
    auto code = [&](const TVRMPoint2d& p) {
        return static_cast<unsigned>(!(p.x <= right)) | static_cast<unsigned>(!(cbox.min.x <= p.x + kClear)) << 1 |
               static_cast<unsigned>(!(p.y <= above)) << 2 | static_cast<unsigned>(!(cbox.min.y <= p.y + kClear)) << 3;
    };
    double area = 0.0;
    int kinds = 0;  // of all vertices, or-ed: none an arc when 0
    for (int r = 0; r < n; ++r) {
        const auto& v = x.GetItems(r).Vertices();
        const size_t count = v.size();
        if (count < 3)
            return false;
        TRing& ring = rings[r];
        ring.v = &v;
        ring.normalized = x.GetItems(r).IsNormalized();
        ring.crossings.clear();
        ring.nearEdges.clear();
        ring.nearVertices.clear();
        const TVRMPoint2d o = v[0].pt;
        double twice = 0.0;
        TVRMVector2d from = v[0].pt - o;
        const unsigned firstCode = code(o);
        unsigned before = firstCode;
        for (size_t k = 0; k < count; ++k) {
            const TVRMPoint2d& p = v[k].pt;
            kinds |= v[k].kind;
            if (k > 0) {
                const TVRMVector2d to = p - o;
                twice += from.CrossProduct(to);
                from = to;
            }
            const unsigned here = k > 0 ? code(p) : firstCode;
            if (k > 0 && !(before & here))
                ring.nearEdges.push_back(static_cast<int>(k - 1));
            if (p.x >= left && p.x <= right && p.y >= below && p.y <= above)
                ring.nearVertices.push_back(static_cast<int>(k));
            before = here;
        }
        twice += from.CrossProduct(v[0].pt - o);
        if (!(before & firstCode))
            ring.nearEdges.push_back(static_cast<int>(count - 1));
        area += twice / 2.0;
    }
    if (kinds != 0)
        for (const auto& item : x.Items())
            if (std::any_of(item.Vertices().begin(), item.Vertices().end(),
                            [](const TVRMVertex2d& p) { return p.IsArc(); }))
                return false;
    if (!(area > 0))
        return false;
    // The set's rings apart from each other.
    if (n > 1) {
        std::vector<TVRMBox2d>& boxes = buffers.boxes;
        boxes.resize(n);
        for (int r = 0; r < n; ++r) {
            boxes[r] = RingBox(*rings[r].v);
            for (int s = 0; s < r; ++s)
                if (BoxesMeet(boxes[r], boxes[s], kClear) && !RingsClear(*rings[r].v, *rings[s].v))
                    return false;
        }
    }
    // Vertices of the set: inside the convex ring or outside, each well clear of its boundary.
    // Deep inside (twice the clearance; coordinates far below where that drowns in rounding),
    // an edge between two such vertices lies inside, clear of the boundary.
    const bool modest =
        std::max({std::fabs(cbox.min.x), std::fabs(cbox.max.x), std::fabs(cbox.min.y), std::fabs(cbox.max.y)}) < 1e9;
    for (auto& ring : rings) {
        const auto& v = *ring.v;
        ring.inside.assign(v.size(), 0);
        for (const int k : ring.nearVertices) {
            const TVRMPoint2d& p = v[static_cast<size_t>(k)].pt;
            knowUnits();
            double nearest = HUGE_VAL;  // the smallest signed distance to the edges' lines
            for (int i = 0; i < m; ++i) {
                nearest = std::min(nearest, units[i].CrossProduct(p - cv[i].pt));
                if (nearest < -kClear)
                    break;  // outside, and clear of the boundary whatever the other edges give
            }
            if (std::fabs(nearest) <= kClear)
                return false;
            ring.inside[static_cast<size_t>(k)] = nearest > 0 ? (modest && nearest > 2 * kClear ? kDeep : 1) : 0;
        }
    }
    // Crossings; the convex ring's vertices clear of the set's edges.
    std::vector<TCrossing>& crossings = buffers.crossings;
    std::vector<char>& onEdge = buffers.onEdge;
    std::vector<double>& sides = buffers.sides;
    crossings.clear();
    sides.resize(m);
    onEdge.assign(m, 0);
    for (int r = 0; r < n; ++r) {
        const auto& v = *rings[r].v;
        const int count = static_cast<int>(v.size());
        const std::vector<char>& inside = rings[r].inside;
        for (const int e : rings[r].nearEdges) {
            const int f = e + 1 < count ? e + 1 : 0;
            if (inside[static_cast<size_t>(e)] == kDeep && inside[static_cast<size_t>(f)] == kDeep)
                continue;  // inside, clear of the boundary
            const TVRMPoint2d &p = v[e].pt, &q = v[f].pt;
            const TVRMBox2d eb = SegmentBox(p, q);
            const size_t first = crossings.size();
            // A vertex of the convex ring on an upright or level edge of the set (a round
            // column's quarter points on the grid lines through its centre) is a crossing there
            // when the ring's edges run on to either side, as the plan boolean's grid has it.
            const bool level = p.y == q.y, upright = p.x == q.x;
            const TVRMVector2d u = (q - p).Normal();
            for (int i = 0; i < m; ++i) {
                const TVRMPoint2d& a = cv[i].pt;
                if (!BoxNear(eb, a, kClear) || SegmentDistance(a, p, q) > kClear)
                    continue;
                const double off = level ? a.y - p.y : upright ? a.x - p.x : HUGE_VAL;
                const double along = u.InnerProduct(a - p);
                if (!(std::fabs(off) <= kOnLine) || along <= kClear || along >= p.DistanceTo(q) - kClear)
                    return false;
                const TVRMPoint2d &before = cv[i > 0 ? i - 1 : m - 1].pt, &after = cv[i + 1 < m ? i + 1 : 0].pt;
                const double sideBefore = u.CrossProduct(before - p), sideAfter = u.CrossProduct(after - p);
                if (std::fabs(sideBefore) <= kClear || std::fabs(sideAfter) <= kClear ||
                    (sideBefore > 0) == (sideAfter > 0))
                    return false;  // touching, not crossing
                onEdge[i] = 1;
                // The set's edge runs into the ring when it heads between the ring's edges there.
                crossings.push_back(
                    {r, e, along / p.DistanceTo(q), i, 0.0, (after - a).CrossProduct(u) > 0, false, a, true});
            }
            // An edge of the convex ring crosses the set's edge only where its ends lie on either
            // side of the set's edge's line: those sides first, for every vertex once.
            for (int i = 0; i < m; ++i)
                sides[i] = Cross(p, q, cv[i].pt);
            for (int i = 0; i < m; ++i) {
                const int j = i + 1 < m ? i + 1 : 0;
                const double da = sides[i], db = sides[j];
                if ((da > 0) == (db > 0) || onEdge[i] || onEdge[j])
                    continue;
                const TVRMPoint2d &a = cv[i].pt, &b = cv[j].pt;
                const double dp = Cross(a, b, p), dq = Cross(a, b, q);
                if ((dp > 0) == (dq > 0))
                    continue;
                knowUnits();
                const double sine = u.CrossProduct(units[i]);
                if (std::fabs(sine) <= kGrazing)
                    return false;
                crossings.push_back({r, e, dp / (dp - dq), i, da / (da - db), sine < 0, false, {}, false});
            }
            for (size_t k = first; k < crossings.size(); ++k)
                onEdge[crossings[k].cEdge] = 0;  // clear for the next edge
            // Crossings on one edge, in order and clear of each other.
            std::sort(crossings.begin() + static_cast<long>(first), crossings.end(),
                      [](const TCrossing& a, const TCrossing& b) { return a.t < b.t; });
            if (crossings.size() - first >= 2) {
                const double length = p.DistanceTo(q);
                for (size_t k = first + 1; k < crossings.size(); ++k)
                    if ((crossings[k].t - crossings[k - 1].t) * length <= kClear)
                        return false;
            }
        }
    }
    const bool subtract = kind == CVRMBoolSubtract;
    // The first vertex of each of the set's rings, counted on over the rings.
    std::vector<int>& firstOf = buffers.firstOf;
    firstOf.assign(n + 1, 0);
    for (int r = 0; r < n; ++r)
        firstOf[r + 1] = firstOf[r] + static_cast<int>(rings[r].v->size());
    std::vector<int>& codes = buffers.codes;
    codes.clear();
    bool traced = origins != nullptr;
    if (traced)
        codes.reserve(static_cast<size_t>(firstOf[n] + m));
    auto addWhole = [&](int r) {
        out.Add(x.GetItems(r));
        if (traced)
            for (int k = firstOf[r]; k < firstOf[r + 1]; ++k)
                codes.push_back(k);
    };
    if (crossings.empty()) {
        // Each ring wholly inside the convex ring or wholly outside it, and the convex ring
        // inside the set or outside it.
        for (int r = 0; r < n; ++r)
            if ((rings[r].inside[0] != 0) != subtract)
                addWhole(r);
        if (InsideSet(rings, cv[0].pt)) {
            out.Add(c.GetItems(0));
            if (subtract)
                out.GetItems(out.GetCount() - 1).Reverse();
            traced = false;
        }
        if (traced)
            origins->swap(codes);
        return true;
    }
    for (int k = 0; k < static_cast<int>(crossings.size()); ++k)
        rings[crossings[k].ring].crossings.push_back(k);  // already in ring order (edge, then t)
    // The crossings along the convex ring, counter-clockwise.
    std::vector<int>& alongC = buffers.alongC;
    alongC.resize(crossings.size());
    for (size_t k = 0; k < alongC.size(); ++k)
        alongC[k] = static_cast<int>(k);
    std::sort(alongC.begin(), alongC.end(), [&](int a, int b) {
        const TCrossing &p = crossings[a], &q = crossings[b];
        return p.cEdge < q.cEdge || (p.cEdge == q.cEdge && p.s < q.s);
    });
    std::vector<int>&rankC = buffers.rankC, &rankX = buffers.rankX;
    rankC.resize(crossings.size());
    rankX.resize(crossings.size());
    for (size_t k = 0; k < alongC.size(); ++k)
        rankC[alongC[k]] = static_cast<int>(k);
    for (const auto& ring : rings)
        for (size_t k = 0; k < ring.crossings.size(); ++k)
            rankX[ring.crossings[k]] = static_cast<int>(k);

    // The crossing point: where the plan boolean puts it, on the crossing of the two input
    // edges' lines taken in the order the result ring runs through it.
    std::vector<TVRMPoint2d>& points = buffers.points;
    auto place = [&](TCrossing& k, bool fromSet) {
        if (k.atVertex)
            return true;  // the input vertex itself
        const auto& v = *rings[k.ring].v;
        const TVRMCustomLine2d own(v[k.edge].pt, v[(k.edge + 1) % v.size()].pt);
        const TVRMCustomLine2d other(cv[k.cEdge].pt, cv[(k.cEdge + 1) % m].pt);
        if (TVRMIntersectFunc2d::ExtIntersect(fromSet ? own : other, fromSet ? other : own, points, 0.0) != 1)
            return false;
        k.point = points[0];
        return true;
    };
    // Result rings: from a crossing where the kept part of the set's boundary starts (leaving the
    // convex ring for a difference, entering it for an intersection), along the set's ring to its
    // next crossing, then along the convex ring (backwards for a difference) to the next crossing.
    TVRMMultiPolygon2d result;
    std::vector<TVRMPoint2d>& ring = buffers.ring;
    std::vector<int>& ringCodes = buffers.ringCodes;  // per point of `ring`: the origin of the edge from it
    std::vector<size_t>& kept = buffers.kept;         // CleanedOrigins' buffer
    // Room for `count` more points at the end of the ring (and their origins): where they start.
    auto grow = [&](int count) {
        const size_t base = ring.size();
        ring.resize(base + static_cast<size_t>(count));
        ringCodes.resize(ring.size());
        return base;
    };
    const int total = static_cast<int>(crossings.size());
    for (int start = 0; start < total; ++start) {
        if (crossings[start].used || crossings[start].enters == subtract)
            continue;
        ring.clear();
        ringCodes.clear();
        // The longest run of the ring's points that stand between their neighbours in a ring of
        // the set that the cleaning left as it was: the cleaning need not look at them.
        size_t settledFirst = 0, settledCount = 0;
        int at = start;
        for (int steps = 0;; ++steps) {
            if (steps > total)
                return false;
            TCrossing& from = crossings[at];
            if (from.used || from.enters == subtract || !place(from, false))
                return false;
            from.used = true;
            ring.push_back(from.point);
            ringCodes.push_back(firstOf[from.ring] + from.edge);
            // Along the set's ring.
            const TRing& xr = rings[from.ring];
            const auto& v = *xr.v;
            const int nv = static_cast<int>(v.size());
            const int nextX = xr.crossings[(rankX[at] + 1) % xr.crossings.size()];
            TCrossing& to = crossings[nextX];
            if (to.used || to.enters != subtract || !place(to, true))
                return false;
            int vertices = (to.edge - from.edge + nv) % nv;
            if (vertices == 0 && to.t < from.t)
                vertices = nv;
            size_t base = grow(vertices);
            if (xr.normalized && vertices >= 3 && static_cast<size_t>(vertices - 2) > settledCount)
                settledFirst = base + 1, settledCount = static_cast<size_t>(vertices - 2);
            for (int l = 0, k = from.edge + 1 < nv ? from.edge + 1 : 0; l < vertices; ++l, k = k + 1 < nv ? k + 1 : 0) {
                ring[base + l] = v[k].pt;
                ringCodes[base + l] = firstOf[from.ring] + k;
            }
            to.used = true;
            // Along the convex ring.
            const int step = subtract ? total - 1 : 1;
            const int nextC = alongC[(rankC[nextX] + step) % total];
            const TCrossing& then = crossings[nextC];
            if (subtract) {
                int count = (to.cEdge - then.cEdge + m) % m;
                if (count == 0 && then.s > to.s)
                    count = m;
                // A crossing at a vertex of the convex ring is that vertex, with which the walk back
                // along the ring starts: the cleaning would drop the first of the two (the second's
                // origin the one its edge keeps), so it is left out.
                if (!(to.atVertex && count > 0)) {
                    ring.push_back(to.point);
                    ringCodes.push_back(-1 - to.cEdge);
                }
                base = grow(count);
                // Back from the crossing's edge's start: the point at k, then the edge before it.
                for (int l = 0, k = to.cEdge; l < count; ++l) {
                    ring[base + l] = cv[k].pt;
                    k = k > 0 ? k - 1 : m - 1;
                    ringCodes[base + l] = -1 - k;
                }
            } else {
                ring.push_back(to.point);
                ringCodes.push_back(-1 - to.cEdge);
                int count = (then.cEdge - to.cEdge + m) % m;
                if (count == 0 && then.s < to.s)
                    count = m;
                base = grow(count);
                for (int l = 0, k = to.cEdge + 1 < m ? to.cEdge + 1 : 0; l < count; ++l, k = k + 1 < m ? k + 1 : 0) {
                    ring[base + l] = cv[k].pt;
                    ringCodes[base + l] = -1 - k;
                }
            }
            at = nextC;
            if (at == start)
                break;
        }
        TVRMPolygon2d piece(ring);
        if (piece.Normalize(CVRMEpsilon, settledFirst, settledCount)) {
            traced = traced && CleanedOrigins(ring, ringCodes, std::as_const(piece).Vertices(), codes, kept);
            result.Add(std::move(piece));
        }
    }
    if (out.IsEmpty())
        std::swap(out, result);
    else
        out.Add(result);
    // Rings of the set that the convex ring does not cross.
    for (int r = 0; r < n; ++r)
        if (rings[r].crossings.empty() && (rings[r].inside[0] != 0) != subtract)
            addWhole(r);
    if (traced)
        origins->swap(codes);
    return true;
}
