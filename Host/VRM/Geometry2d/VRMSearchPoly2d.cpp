#include "Host/VRM/Geometry2d/VRMSearchPoly2d.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <optional>
#include <unordered_map>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMGeom2dUtils.h"
#include "Host/VRM/Geometry2d/VRMSplit2d.h"

namespace {

using PF = TVRMPositionFunc2d;
using IF = TVRMIntersectFunc2d;

// A search line: the middle line of its band, half the band's width, its index and flag.
struct TSearchLine {
    TVRMCustomLine2d line;
    double half = 0.0;
    int index = -1;
    int flag = 0;
};

// Points merged within the tolerance (a hash grid of cells twice the tolerance).
class TVertexTable {
public:
    explicit TVertexTable(double tol) : tol_(tol), cell_(std::max(tol, 1e-9) * 2.0) {}
    int Find(const TVRMPoint2d& p)
    {
        const int64_t ix = static_cast<int64_t>(std::floor(p.x / cell_));
        const int64_t iy = static_cast<int64_t>(std::floor(p.y / cell_));
        for (int64_t dx = -1; dx <= 1; ++dx)
            for (int64_t dy = -1; dy <= 1; ++dy) {
                const auto it = cells_.find(Key(ix + dx, iy + dy));
                if (it == cells_.end())
                    continue;
                for (int id : it->second)
                    if (points_[id].DistanceTo(p) <= tol_)
                        return id;
            }
        points_.push_back(p);
        cells_[Key(ix, iy)].push_back(static_cast<int>(points_.size()) - 1);
        return static_cast<int>(points_.size()) - 1;
    }
    const TVRMPoint2d& Point(int id) const { return points_[id]; }
    int Count() const { return static_cast<int>(points_.size()); }

private:
    static uint64_t Key(int64_t ix, int64_t iy)
    {
        return static_cast<uint64_t>(ix) * 0x9E3779B97F4A7C15ull ^ static_cast<uint64_t>(iy);
    }
    double tol_, cell_;
    std::vector<TVRMPoint2d> points_;
    std::unordered_map<uint64_t, std::vector<int>> cells_;
};

// Lines ordered by the left side of their boxes, for neighbourhood queries.
class TLineIndex {
public:
    explicit TLineIndex(const std::vector<TSearchLine>& lines)
    {
        boxes_.reserve(lines.size());
        for (const TSearchLine& l : lines)
            boxes_.push_back(l.line.Box());
        order_.resize(lines.size());
        std::iota(order_.begin(), order_.end(), 0);
        std::sort(order_.begin(), order_.end(), [&](int a, int b) {
            return boxes_[a].min.x < boxes_[b].min.x || (boxes_[a].min.x == boxes_[b].min.x && a < b);
        });
        for (const TVRMBox2d& b : boxes_)
            maxWidth_ = std::max(maxWidth_, b.Width());
    }
    const TVRMBox2d& Box(int i) const { return boxes_[i]; }
    const std::vector<int>& Order() const { return order_; }
    // Lines whose boxes meet a box, ascending.
    std::vector<int> Query(const TVRMBox2d& box, double tol) const
    {
        std::vector<int> result;
        const double from = box.min.x - maxWidth_ - tol;
        auto it =
            std::lower_bound(order_.begin(), order_.end(), from, [&](int i, double x) { return boxes_[i].min.x < x; });
        for (; it != order_.end() && boxes_[*it].min.x <= box.max.x + tol; ++it)
            if (boxes_[*it].Meets(box, tol))
                result.push_back(*it);
        std::sort(result.begin(), result.end());
        return result;
    }

private:
    std::vector<TVRMBox2d> boxes_;
    std::vector<int> order_;
    double maxWidth_ = 0.0;
};

TVRMBox2d PointBox(const TVRMPoint2d& p, double r)
{
    TVRMBox2d box;
    box.Add(TVRMPoint2d{p.x - r, p.y - r});
    box.Add(TVRMPoint2d{p.x + r, p.y + r});
    return box;
}

bool LinesMeet(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double tol)
{
    std::vector<TVRMPoint2d> points;
    const int code = IF::Intersect(a, b, points, tol);
    return code >= 1 && code <= 3;
}

// Gap closing: every open end is joined to the nearest other line whose band it reaches. Targets
// are found on the lines as given and applied afterwards, so the result does not depend on the
// order in which ends are looked at.
void CloseOpenEnds(std::vector<TSearchLine>& lines, double tol)
{
    const int n = static_cast<int>(lines.size());
    const TLineIndex index(lines);
    double maxHalf = 0.0;
    for (const TSearchLine& l : lines)
        maxHalf = std::max(maxHalf, l.half);
    auto endPt = [&](int i, int end) -> const TVRMPoint2d& {
        return end ? lines[i].line.EndPt() : lines[i].line.StartPt();
    };
    std::vector<char> open(2 * n, 0);
    for (int i = 0; i < n; ++i)
        for (int end = 0; end < 2; ++end) {
            const TVRMPoint2d& e = endPt(i, end);
            bool touches = false;
            for (int j : index.Query(PointBox(e, tol), tol))
                if (j != i && PF::DistanceTo(e, lines[j].line) <= tol) {
                    touches = true;
                    break;
                }
            open[2 * i + end] = touches ? 0 : 1;
        }

    struct TMove {
        int line, end;
        TVRMPoint2d to;
    };
    std::vector<TMove> moves;
    std::vector<TSearchLine> closings;
    for (int i = 0; i < n; ++i)
        for (int end = 0; end < 2; ++end) {
            if (!open[2 * i + end])
                continue;
            const TVRMCustomLine2d& a = lines[i].line;
            const TVRMPoint2d e = endPt(i, end);
            int best = -1;
            double bestD = HUGE_VAL;
            for (int j : index.Query(PointBox(e, lines[i].half + maxHalf + tol), tol)) {
                if (j == i)
                    continue;
                const double d = PF::DistanceTo(e, lines[j].line);
                if (d > lines[i].half + lines[j].half + tol || d >= bestD)
                    continue;
                if (LinesMeet(a, lines[j].line, tol))
                    continue;  // an end beyond a line it already crosses: an overshoot, not a gap
                best = j, bestD = d;
            }
            if (best < 0)
                continue;
            const TVRMCustomLine2d& b = lines[best].line;
            const double reach = lines[i].half + lines[best].half + tol;
            std::optional<TVRMPoint2d> target;
            if (!a.IsArc()) {
                const TVRMVector2d u = end ? a.EndDirection() : -a.StartDirection();
                std::vector<TVRMPoint2d> points;
                const int code = IF::ExtIntersect(a, b, points, tol);
                if (code == 3 && !b.IsArc()) {
                    // Collinear: run on to the nearer end of b; of two open ends facing each other
                    // the line added first moves.
                    double bestT = HUGE_VAL;
                    for (int bEnd = 0; bEnd < 2; ++bEnd) {
                        const TVRMPoint2d& p = endPt(best, bEnd);
                        const double t = (p - e).InnerProduct(u);
                        if (t >= -tol && t <= reach && t < bestT && (!open[2 * best + bEnd] || i < best))
                            bestT = t, target = p;
                    }
                } else if (code == 1 || code == 2) {
                    double bestT = HUGE_VAL;
                    for (const TVRMPoint2d& x : points) {
                        const double t = (x - e).InnerProduct(u);
                        if (t < -tol || t > reach || t >= bestT)
                            continue;
                        bool onB = PF::DistanceTo(x, b) <= tol;
                        if (!onB) {
                            // Beyond an open end of b: b runs on to the same point.
                            const int bEnd = x.DistanceTo(b.EndPt()) < x.DistanceTo(b.StartPt()) ? 1 : 0;
                            onB = open[2 * best + bEnd] && x.DistanceTo(endPt(best, bEnd)) <= reach;
                        }
                        if (onB)
                            bestT = t, target = x;
                    }
                }
            }
            if (target) {
                if (target->DistanceTo(e) > tol)
                    moves.push_back({i, end, *target});
                continue;
            }
            const TVRMPoint2d foot = PF::ClosestPointTo(e, b, true);
            if (foot.DistanceTo(e) > tol)
                closings.push_back({TVRMCustomLine2d(e, foot), 0.0, -1, 0});
        }
    for (const TMove& m : moves) {
        if (m.end)
            lines[m.line].line.SetEndPt(m.to);
        else
            lines[m.line].line.SetStartPt(m.to);
    }
    lines.insert(lines.end(), closings.begin(), closings.end());
}

struct TEdge {
    int u = 0, v = 0;
    TVRMCustomLine2d geom;  // from u to v
    int ordinal = 0;        // search line it lies on
    bool alive = true;
};

struct TCycle {
    std::vector<int> halfEdges;
    int component = 0;
    double area = 0.0;
    TVRMSearchRing2d ring;
};

double SignedCurvature(const TVRMCustomLine2d& g)
{
    const TVRMArcData d = g.GetArcData();
    return d.valid ? d.sense / g.Radius() : 0.0;
}

// Rotate a ring to start at its lowest (then leftmost) vertex.
void RotateToStart(TVRMSearchRing2d& r)
{
    auto& vs = r.ring.Vertices();
    if (vs.empty())
        return;
    size_t k = 0;
    for (size_t i = 1; i < vs.size(); ++i)
        if (vs[i].pt.y < vs[k].pt.y || (vs[i].pt.y == vs[k].pt.y && vs[i].pt.x < vs[k].pt.x))
            k = i;
    std::rotate(vs.begin(), vs.begin() + static_cast<long>(k), vs.end());
    std::rotate(r.edgeIndexes.begin(), r.edgeIndexes.begin() + static_cast<long>(k), r.edgeIndexes.end());
    std::rotate(r.edgeFlags.begin(), r.edgeFlags.begin() + static_cast<long>(k), r.edgeFlags.end());
}

void SortUnique(std::vector<int>& v)
{
    std::sort(v.begin(), v.end());
    v.erase(std::unique(v.begin(), v.end()), v.end());
    v.erase(std::remove(v.begin(), v.end(), -1), v.end());
}

}  // namespace

TVRMMultiPolygon2d TVRMSearchRegion2d::ToMultiPolygon() const
{
    TVRMMultiPolygon2d set;
    set.Add(outer.ring);
    for (const TVRMSearchRing2d& h : holes)
        set.Add(h.ring);
    return set;
}

double TVRMSearchRegion2d::Area() const
{
    double a = outer.ring.SignArea();
    for (const TVRMSearchRing2d& h : holes)
        a += h.ring.SignArea();
    return a;
}

struct TVRMSearchPoly2d::TImpl {
    double tol;
    bool autoClose = false;
    std::vector<TSearchLine> inputs;
    bool searched = false;
    std::vector<TVRMSearchRegion2d> small, big;

    void Search();
};

void TVRMSearchPoly2d::TImpl::Search()
{
    small.clear(), big.clear();
    searched = true;
    std::vector<TSearchLine> lines;
    for (const TSearchLine& l : inputs)
        if (l.line.IsValidaty(tol) && (!l.line.IsArc() || l.line.GetArcData().valid))
            lines.push_back(l);
    if (autoClose)
        CloseOpenEnds(lines, tol);

    // Split every line at its crossings and touching points.
    const int n = static_cast<int>(lines.size());
    const TLineIndex index(lines);
    std::vector<std::vector<TVRMPoint2d>> cuts(n);
    const std::vector<int>& order = index.Order();
    std::vector<TVRMPoint2d> points;
    for (size_t oi = 0; oi < order.size(); ++oi) {
        const int a = order[oi];
        const TVRMBox2d& ba = index.Box(a);
        for (size_t oj = oi + 1; oj < order.size(); ++oj) {
            const int b = order[oj];
            const TVRMBox2d& bb = index.Box(b);
            if (bb.min.x > ba.max.x + tol)
                break;
            if (bb.min.y > ba.max.y + tol || ba.min.y > bb.max.y + tol)
                continue;
            points.clear();
            const int code = IF::Intersect(lines[a].line, lines[b].line, points, tol);
            if (code < 1 || code > 3)
                continue;
            for (const TVRMPoint2d& p : points) {
                cuts[a].push_back(p);
                cuts[b].push_back(p);
            }
        }
    }
    // End points first, so that they keep their exact coordinates where a crossing meets them.
    TVertexTable vertices(tol);
    for (const TSearchLine& l : lines)
        vertices.Find(l.line.StartPt()), vertices.Find(l.line.EndPt());
    std::vector<TEdge> edges;
    for (int i = 0; i < n; ++i) {
        const TVRMCustomLine2d& line = lines[i].line;
        std::vector<std::pair<double, TVRMPoint2d>> sorted;
        for (const TVRMPoint2d& p : cuts[i])
            sorted.emplace_back(line.LengthAtPoint(p), p);
        std::sort(sorted.begin(), sorted.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
        std::vector<TVRMPoint2d> at;
        for (const auto& s : sorted)
            at.push_back(s.second);
        for (const TVRMCustomLine2d& piece : SplitLineAt(line, at, tol)) {
            const int u = vertices.Find(piece.StartPt()), v = vertices.Find(piece.EndPt());
            if (u != v)
                edges.push_back({u, v, piece, i, true});
        }
    }
    const int nv = vertices.Count();
    const int ne = static_cast<int>(edges.size());

    // Pieces lying on each other (overlapping lines) are kept once, on the line added first.
    {
        std::unordered_map<uint64_t, std::vector<int>> byEnds;
        for (int e = 0; e < ne; ++e) {
            const uint64_t key = static_cast<uint64_t>(std::min(edges[e].u, edges[e].v)) << 32 |
                                 static_cast<uint32_t>(std::max(edges[e].u, edges[e].v));
            std::vector<int>& same = byEnds[key];
            const TVRMPoint2d mid = edges[e].geom.MiddlePoint();
            for (int f : same)
                if (edges[f].geom.MiddlePoint().DistanceTo(mid) <= tol) {
                    edges[e].alive = false;
                    break;
                }
            if (edges[e].alive)
                same.push_back(e);
        }
    }

    std::vector<std::vector<int>> adj(nv);
    for (int e = 0; e < ne; ++e)
        if (edges[e].alive)
            adj[edges[e].u].push_back(e), adj[edges[e].v].push_back(e);
    auto other = [&](int e, int v) { return edges[e].u == v ? edges[e].v : edges[e].u; };
    std::vector<int> degree(nv, 0);
    for (int v = 0; v < nv; ++v)
        degree[v] = static_cast<int>(adj[v].size());
    auto prune = [&] {
        std::vector<int> stack;
        for (int v = 0; v < nv; ++v)
            if (degree[v] == 1)
                stack.push_back(v);
        while (!stack.empty()) {
            const int v = stack.back();
            stack.pop_back();
            for (int e : adj[v]) {
                if (!edges[e].alive)
                    continue;
                edges[e].alive = false;
                --degree[v];
                const int w = other(e, v);
                if (--degree[w] == 1)
                    stack.push_back(w);
            }
        }
    };
    // Dangling pieces bound nothing.
    prune();
    // Neither do bridges between closed groups (iterative lowlink search).
    {
        std::vector<int> disc(nv, -1), low(nv, 0);
        int timer = 0;
        struct TFrame {
            int v, parentEdge;
            size_t next;
        };
        std::vector<TFrame> stack;
        for (int s = 0; s < nv; ++s) {
            if (disc[s] >= 0 || degree[s] == 0)
                continue;
            disc[s] = low[s] = timer++;
            stack.push_back({s, -1, 0});
            while (!stack.empty()) {
                TFrame& f = stack.back();
                if (f.next < adj[f.v].size()) {
                    const int e = adj[f.v][f.next++];
                    if (!edges[e].alive || e == f.parentEdge)
                        continue;
                    const int w = other(e, f.v);
                    if (disc[w] < 0) {
                        disc[w] = low[w] = timer++;
                        stack.push_back({w, e, 0});
                    } else
                        low[f.v] = std::min(low[f.v], disc[w]);
                    continue;
                }
                const TFrame done = f;
                stack.pop_back();
                if (stack.empty())
                    continue;
                const int p = stack.back().v;
                low[p] = std::min(low[p], low[done.v]);
                if (low[done.v] > disc[p]) {
                    edges[done.parentEdge].alive = false;
                    --degree[p], --degree[done.v];
                }
            }
        }
    }
    prune();

    // Half edges 2e (u to v) and 2e+1 (v to u); at each vertex the outgoing ones counter-clockwise.
    auto halfGeom = [&](int h) { return (h & 1) ? edges[h >> 1].geom.Reversed() : edges[h >> 1].geom; };
    auto tail = [&](int h) { return (h & 1) ? edges[h >> 1].v : edges[h >> 1].u; };
    auto head = [&](int h) { return (h & 1) ? edges[h >> 1].u : edges[h >> 1].v; };
    std::vector<std::vector<int>> out(nv);
    std::vector<int> position(2 * ne, -1);
    for (int v = 0; v < nv; ++v) {
        std::vector<std::pair<std::pair<double, double>, int>> keyed;
        for (int e : adj[v]) {
            if (!edges[e].alive)
                continue;
            for (int h : {2 * e, 2 * e + 1})
                if (tail(h) == v) {
                    const TVRMCustomLine2d g = halfGeom(h);
                    keyed.push_back({{g.StartDirection().Angle(), SignedCurvature(g)}, h});
                }
        }
        std::sort(keyed.begin(), keyed.end());
        for (size_t k = 0; k < keyed.size(); ++k) {
            out[v].push_back(keyed[k].second);
            position[keyed[k].second] = static_cast<int>(k);
        }
    }

    // Closed groups.
    std::vector<int> group(nv);
    std::iota(group.begin(), group.end(), 0);
    auto find = [&](int v) {
        while (group[v] != v)
            v = group[v] = group[group[v]];
        return v;
    };
    for (const TEdge& e : edges)
        if (e.alive)
            group[find(e.u)] = find(e.v);

    // Faces, each with the face on the left of its half edges.
    std::vector<char> visited(2 * ne, 0);
    std::vector<TCycle> cycles;
    for (int h0 = 0; h0 < 2 * ne; ++h0) {
        if (visited[h0] || !edges[h0 >> 1].alive)
            continue;
        TCycle c;
        int h = h0;
        while (!visited[h]) {
            visited[h] = 1;
            c.halfEdges.push_back(h);
            const int t = head(h);
            const int k = position[h ^ 1];
            const int deg = static_cast<int>(out[t].size());
            h = out[t][(k - 1 + deg) % deg];
        }
        // Consecutive pieces of one line make one edge.
        std::vector<int>& hs = c.halfEdges;
        auto ordinal = [&](int x) { return edges[x >> 1].ordinal; };
        size_t shift = 0;
        while (shift < hs.size() && ordinal(hs[shift]) == ordinal(hs[(shift + hs.size() - 1) % hs.size()]))
            ++shift;
        if (shift < hs.size())
            std::rotate(hs.begin(), hs.begin() + static_cast<long>(shift), hs.end());
        std::vector<TVRMVertex2d> verts;
        for (size_t i = 0; i < hs.size();) {
            size_t j = i + 1;
            while (j < hs.size() && ordinal(hs[j]) == ordinal(hs[i]) && shift < hs.size())
                ++j;
            const TVRMCustomLine2d first = halfGeom(hs[i]);
            TVRMVertex2d vx{vertices.Point(tail(hs[i]))};
            const TVRMArcData d = first.GetArcData();
            if (d.valid) {
                double sweep = 0.0;
                for (size_t k = i; k < j; ++k)
                    sweep += halfGeom(hs[k]).Sweep();
                vx.radius = first.Radius();
                vx.kind = GetSweepArcKind(d.sense < 0.0, sweep);
            }
            verts.push_back(vx);
            const TSearchLine& src = lines[ordinal(hs[i])];
            c.ring.edgeIndexes.push_back(src.index);
            c.ring.edgeFlags.push_back(src.flag);
            i = j;
        }
        c.ring.ring = TVRMPolygon2d(std::move(verts));
        c.area = c.ring.ring.SignArea();
        c.component = find(tail(hs.front()));
        RotateToStart(c.ring);
        cycles.push_back(std::move(c));
    }

    std::vector<std::vector<int>> groupLines(nv);
    for (const TEdge& e : edges)
        if (e.alive)
            groupLines[find(e.u)].push_back(lines[e.ordinal].index);
    std::vector<int> smallOf(cycles.size(), -1);
    for (size_t i = 0; i < cycles.size(); ++i)
        if (cycles[i].area > 0.0) {
            smallOf[i] = static_cast<int>(small.size());
            TVRMSearchRegion2d r;
            r.outer = cycles[i].ring;
            small.push_back(std::move(r));
        }
    for (size_t i = 0; i < cycles.size(); ++i) {
        if (cycles[i].area >= 0.0)
            continue;
        TVRMSearchRegion2d r;
        r.outer = cycles[i].ring;
        r.outer.ring.Reverse();
        std::reverse(r.outer.edgeIndexes.begin(), r.outer.edgeIndexes.end());
        std::reverse(r.outer.edgeFlags.begin(), r.outer.edgeFlags.end());
        RotateToStart(r.outer);
        r.lineIndexes = groupLines[cycles[i].component];
        SortUnique(r.lineIndexes);
        big.push_back(std::move(r));
        // A closed group standing inside a face of another group is a hole of the smallest such face.
        const TVRMPoint2d probe = cycles[i].ring.ring.GetVertex(0).pt;
        int host = -1;
        for (size_t k = 0; k < cycles.size(); ++k)
            if (cycles[k].area > 0.0 && cycles[k].component != cycles[i].component &&
                (host < 0 || cycles[k].area < cycles[host].area) &&
                PF::PointPosition(probe, cycles[k].ring.ring, tol) == 0)
                host = static_cast<int>(k);
        if (host >= 0)
            small[smallOf[host]].holes.push_back(cycles[i].ring);
    }
    for (TVRMSearchRegion2d& r : small) {
        r.lineIndexes = r.outer.edgeIndexes;
        for (const TVRMSearchRing2d& h : r.holes)
            r.lineIndexes.insert(r.lineIndexes.end(), h.edgeIndexes.begin(), h.edgeIndexes.end());
        SortUnique(r.lineIndexes);
    }
    auto before = [](const TVRMSearchRegion2d& a, const TVRMSearchRegion2d& b) {
        const TVRMPoint2d& pa = a.outer.ring.GetVertex(0).pt;
        const TVRMPoint2d& pb = b.outer.ring.GetVertex(0).pt;
        if (pa.y != pb.y)
            return pa.y < pb.y;
        if (pa.x != pb.x)
            return pa.x < pb.x;
        return a.outer.ring.GetEdge(0).StartDirection().Angle() < b.outer.ring.GetEdge(0).StartDirection().Angle();
    };
    std::stable_sort(small.begin(), small.end(), before);
    std::stable_sort(big.begin(), big.end(), before);
}

TVRMSearchPoly2d::TVRMSearchPoly2d(double tol) : impl_(std::make_unique<TImpl>())
{
    impl_->tol = tol;
}

TVRMSearchPoly2d::~TVRMSearchPoly2d() = default;

void TVRMSearchPoly2d::AddLine(const TVRMCustomLine2d& line, int index, int flag)
{
    AddLine(line, index, 0.0, 0.0, flag);
}

void TVRMSearchPoly2d::AddLine(const TVRMCustomLine2d& line, int index, double leftWidth, double rightWidth, int flag)
{
    TSearchLine l{line, (leftWidth + rightWidth) / 2.0, index, flag};
    const double shift = (rightWidth - leftWidth) / 2.0;
    if (shift != 0.0 && !TVRMOffsetFunc2d::Offset(line, shift, l.line))
        return;
    impl_->inputs.push_back(l);
    impl_->searched = false;
}

void TVRMSearchPoly2d::AddWall(const TVRMCustomLine2d& line, int index, double thickness, double axisOffset, int flag)
{
    AddLine(line, index, axisOffset, thickness - axisOffset, flag);
}

void TVRMSearchPoly2d::AddPolygon(const TVRMPolygon2d& ring, int index, int flag)
{
    for (const TVRMCustomLine2d& edge : ring.GetEdges())
        AddLine(edge, index, flag);
}

int TVRMSearchPoly2d::GetLineCount() const noexcept
{
    return static_cast<int>(impl_->inputs.size());
}

void TVRMSearchPoly2d::Clear()
{
    impl_->inputs.clear();
    impl_->small.clear();
    impl_->big.clear();
    impl_->searched = false;
}

void TVRMSearchPoly2d::SetAutoCloseMode(bool on)
{
    impl_->autoClose = on;
    impl_->searched = false;
}

const std::vector<TVRMSearchRegion2d>& TVRMSearchPoly2d::FindPolys()
{
    if (!impl_->searched)
        impl_->Search();
    return impl_->small;
}

const std::vector<TVRMSearchRegion2d>& TVRMSearchPoly2d::FindBigPolys()
{
    if (!impl_->searched)
        impl_->Search();
    return impl_->big;
}
