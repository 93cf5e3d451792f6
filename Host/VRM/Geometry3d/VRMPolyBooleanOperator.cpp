#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

#include <algorithm>
#include <limits>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <tuple>
#include <utility>

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3dInternal.h"
#include "Host/VRM/Geometry3d/VRMPlan3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

using namespace vrm3d;

// The box of a plan's vertices (arc edges by their ends).
TVRMBox2d vrm3d::VertexBox(const TVRMMultiPolygon2d& plan)
{
    TVRMBox2d box;
    for (const auto& item : plan.Items())
        for (const auto& v : item.Vertices()) {
            box.min.x = std::min(box.min.x, v.pt.x), box.min.y = std::min(box.min.y, v.pt.y);
            box.max.x = std::max(box.max.x, v.pt.x), box.max.y = std::max(box.max.y, v.pt.y);
        }
    return box;
}

namespace {

constexpr double kFlat = 1e-12;  // normal components below this count as zero

// Crossing parity over every ring of a plan (outer rings and holes; arc edges by their chords).
bool Inside(const TVRMMultiPolygon2d& plan, const TVRMPoint2d& c)
{
    bool inside = false;
    for (const auto& item : plan.Items()) {
        const auto& v = item.Vertices();
        for (size_t i = 0, j = v.size() - 1; i < v.size(); j = i++) {
            const TVRMPoint2d &a = v[i].pt, &b = v[j].pt;
            if ((a.y > c.y) != (b.y > c.y) && c.x < a.x + (c.y - a.y) * (b.x - a.x) / (b.y - a.y))
                inside = !inside;
        }
    }
    return inside;
}

// Plans whose edges all run along the axes (walls, beams, columns, openings
// and most slabs) are combined on the grid of their own coordinates: a cell
// is in the result when the operation takes its centre, and the result's
// rings are the cells' boundary. Coordinates that meet on the plan boolean's
// grid are one axis value, with the smallest input coordinate there (as the
// plan boolean gives input vertices back). With no vertex the cleaning would
// remove, it gives the same plans; anything it cannot settle alike (arcs,
// slanted edges, cells thinner than the length tolerance, rings meeting at a
// corner) goes to the plan boolean.
class TGridBoolean {
public:
    // The grid of this thread: its buffers serve call after call (one grid at a time).
    static TGridBoolean& Local()
    {
        thread_local TGridBoolean grid;
        return grid;
    }

    // False when the plans are not for the grid.
    bool Run(const TVRMMultiPolygon2d& x, const TVRMMultiPolygon2d& y, int kind, TVRMMultiPolygon2d& result)
    {
        const TVRMMultiPolygon2d* plans[] = {&x, &y};
        if (!Prepare(plans))
            return false;
        Cells(x, in_);
        Cells(y, other_);
        Combine(in_, other_, kind);
        return Trace(in_, result);
    }

    // The grid of every plan given; false when one is not for the grid.
    bool Prepare(std::span<const TVRMMultiPolygon2d* const> plans)
    {
        xs_.clear();
        ys_.clear();
        for (const auto* plan : plans)
            if (!Collect(*plan))
                return false;
        if (!Axes(xs_) || !Axes(ys_))
            return false;
        nx_ = xs_.size() - 1, ny_ = ys_.size() - 1;
        return true;
    }

    // Whether axis values a < b are two lines of the grid (not one, nor closer than it takes).
    static bool Apart(double a, double b) { return Snap(b) - Snap(a) > CVRMEpsilon; }

    // in := in op other, cell by cell.
    static void Combine(std::vector<char>& in, const std::vector<char>& other, int kind)
    {
        for (size_t k = 0; k < in.size(); ++k)
            in[k] = kind == CVRMBoolIntersect ? in[k] && other[k]
                    : kind == CVRMBoolUnion   ? in[k] || other[k]
                                              : in[k] && !other[k];
    }

    // The cells inside a plan of the grid: crossing parity along each row, from the upright edges.
    void Cells(const TVRMMultiPolygon2d& plan, std::vector<char>& in) const
    {
        in.assign(nx_ * ny_, 0);
        for (const auto& item : plan.Items()) {
            const auto& v = item.Vertices();
            for (size_t k = 0; k < v.size(); ++k) {
                const TVRMPoint2d &p = v[k].pt, &q = v[k + 1 < v.size() ? k + 1 : 0].pt;
                if (p.x != q.x || p.y == q.y)
                    continue;
                const size_t i = IndexOf(xs_, p.x);
                size_t j0 = IndexOf(ys_, p.y), j1 = IndexOf(ys_, q.y);
                if (j1 < j0)
                    std::swap(j0, j1);
                if (i < nx_)
                    for (size_t j = j0; j < j1; ++j)
                        in[j * nx_ + i] ^= 1;
            }
        }
        for (size_t j = 0; j < ny_; ++j)
            for (size_t i = 1; i < nx_; ++i)
                in[j * nx_ + i] ^= in[j * nx_ + i - 1];
    }

    // Adds the rings around the cells marked; false when rings meet at a corner.
    bool Trace(const std::vector<char>& in, TVRMMultiPolygon2d& result)
    {
        const size_t nx = nx_, ny = ny_;
        auto cell = [&](long i, long j) {
            return i >= 0 && j >= 0 && i < static_cast<long>(nx) && j < static_cast<long>(ny) && in[j * nx + i];
        };
        // Boundary edges between grid nodes, the region on their left: node -> next node.
        const long w = static_cast<long>(nx) + 1;  // nodes (i, j) numbered j * w + i
        std::vector<long>& next = next_;
        next.assign((nx + 1) * (ny + 1), -1);
        size_t edges = 0;
        auto edge = [&](long i0, long j0, long i1, long j1) {
            long& to = next[j0 * w + i0];
            if (to >= 0)
                return false;
            to = j1 * w + i1;
            ++edges;
            return true;
        };
        for (long j = 0; j < static_cast<long>(ny); ++j)
            for (long i = 0; i < static_cast<long>(nx); ++i) {
                if (!cell(i, j))
                    continue;
                if ((!cell(i, j - 1) && !edge(i, j, i + 1, j)) || (!cell(i + 1, j) && !edge(i + 1, j, i + 1, j + 1)) ||
                    (!cell(i, j + 1) && !edge(i + 1, j + 1, i, j + 1)) || (!cell(i - 1, j) && !edge(i, j + 1, i, j)))
                    return false;  // rings meet at a corner
            }
        std::vector<long>& nodes = nodes_;
        std::vector<TVRMPoint2d>& ring = ring_;
        for (long start = 0; edges > 0; ++start) {
            if (next[start] < 0)
                continue;
            nodes.clear();
            for (long at = start; next[at] >= 0; --edges) {
                nodes.push_back(at);
                at = std::exchange(next[at], -1);
            }
            // The nodes where the boundary turns.
            ring.clear();
            const size_t m = nodes.size();
            for (size_t k = 0; k < m; ++k) {
                const long a = nodes[(k + m - 1) % m], b = nodes[k], c = nodes[(k + 1) % m];
                const long ax = a % w, ay = a / w, bx = b % w, by = b / w, cx = c % w, cy = c / w;
                if ((bx - ax) * (cy - by) != (by - ay) * (cx - bx))
                    ring.push_back({xs_[bx].exact, ys_[by].exact});
            }
            // Nodes at least a length tolerance apart, turning at each: clean already.
            result.Add(TVRMPolygon2d(ring));
        }
        return true;
    }

private:
    struct TAxis {
        double grid, exact;
    };
    std::vector<TAxis> xs_, ys_;
    size_t nx_ = 0, ny_ = 0;
    std::vector<char> in_, other_;    // cells of Run's operands
    std::vector<long> next_, nodes_;  // Trace's boundary
    std::vector<TVRMPoint2d> ring_;

    bool Collect(const TVRMMultiPolygon2d& plan)
    {
        for (const auto& item : plan.Items()) {
            const auto& v = item.Vertices();
            for (size_t i = 0; i < v.size(); ++i) {
                const TVRMPoint2d &p = v[i].pt, &q = v[i + 1 < v.size() ? i + 1 : 0].pt;
                if (v[i].IsArc() || (p.x != q.x && p.y != q.y))
                    return false;
                xs_.push_back({Snap(p.x), p.x});
                ys_.push_back({Snap(p.y), p.y});
            }
        }
        return true;
    }

    static size_t IndexOf(const std::vector<TAxis>& axis, double v)
    {
        const double grid = Snap(v);
        return static_cast<size_t>(std::lower_bound(axis.begin(), axis.end(), TAxis{grid, v},
                                                    [](const TAxis& a, const TAxis& b) { return a.grid < b.grid; }) -
                                   axis.begin());
    }

    // The plan boolean's grid.
    static double Snap(double v)
    {
        const double scaled = v * 1e4;  // rounded half away from zero, as the plan boolean rounds
        if (!(std::fabs(scaled) < 1e15))
            return v;
        return static_cast<double>(static_cast<long long>(scaled + (scaled >= 0 ? 0.5 : -0.5))) / 1e4;
    }

    static bool Axes(std::vector<TAxis>& values)
    {
        std::sort(values.begin(), values.end(), [](const TAxis& a, const TAxis& b) {
            return a.grid < b.grid || (a.grid == b.grid && a.exact < b.exact);
        });
        values.erase(
            std::unique(values.begin(), values.end(), [](const TAxis& a, const TAxis& b) { return a.grid == b.grid; }),
            values.end());
        for (size_t i = 0; i + 1 < values.size(); ++i)
            if (values[i + 1].grid - values[i].grid <= CVRMEpsilon)
                return false;
        return values.size() >= 2;
    }
};

// The part of a plan without arc edges inside a window, ring by ring (each ring clipped to the
// window's four sides in turn): inside the window every point keeps its winding number, so
// a plan cut down to a window that lies around the other operand by a margin gives the same
// difference or intersection. Only the edges that cross the window's sides are shortened,
// and the window's own edges stay the margin away from the other operand. False (and `out`
// unset) when the plan lies inside the window already or has arc edges. With `origins`: per
// vertex of `out` (its rings in order), the plan's edge that the edge from it lies on (the
// plan's vertices counted on over its rings), or -1 on a side of the window.
struct TClipBuffers {
    std::vector<TVRMPoint2d> ring, clipped;
    std::vector<int> from, clippedFrom;  // per point: the plan edge the edge from it lies on
    std::vector<TVRMBox2d> boxes;        // per ring of the plan
    std::vector<char> plain;             // per ring: no coordinate that is not a number
    std::vector<TVRMPoint2d> made;       // the points the sides put in
};

// The calling thread's buffers (looked up once per clip).
[[gnu::noinline]] TClipBuffers& ClipBuffers()
{
    thread_local TClipBuffers buffers;
    return buffers;
}

// Point p lies inside the side x >= bound (AlongX, Lower), x <= bound, y >= bound or y <= bound.
template <bool AlongX, bool Lower>
bool InsideSide(const TVRMPoint2d& p, double bound)
{
    const double d = (AlongX ? p.x : p.y) - bound;
    return Lower ? d >= 0 : -d >= 0;
}

// A ring of n points (at(i), the edge from it on plan edge fromAt(i)) clipped to one side: each
// edge gives its start when that lies inside and the point where it crosses the side. Into
// `out` and `outFrom` (room for 2 n); the points put in also into `made`. The count given.
template <bool AlongX, bool Lower, class TAt, class TFrom>
size_t ClipSide(size_t n, TAt at, TFrom fromAt, double bound, TVRMPoint2d* out, int* outFrom,
                std::vector<TVRMPoint2d>& made)
{
    size_t k = 0;
    bool pin = InsideSide<AlongX, Lower>(at(0), bound);
    for (size_t i = 0; i < n; ++i) {
        const TVRMPoint2d &p = at(i), &q = at(i + 1 < n ? i + 1 : 0);
        const bool qin = InsideSide<AlongX, Lower>(q, bound);
        if (pin) {
            out[k] = p;
            outFrom[k++] = fromAt(i);
        }
        if (pin != qin) {
            if (AlongX) {
                const double t = (bound - p.x) / (q.x - p.x);
                out[k] = {bound, p.y + t * (q.y - p.y)};
            } else {
                const double t = (bound - p.y) / (q.y - p.y);
                out[k] = {p.x + t * (q.x - p.x), bound};
            }
            made.push_back(out[k]);
            outFrom[k++] = qin ? fromAt(i) : -1;
        }
        pin = qin;
    }
    return k;
}

template <class TAt, class TFrom>
size_t ClipSide(int side, size_t n, TAt at, TFrom fromAt, double bound, TVRMPoint2d* out, int* outFrom,
                std::vector<TVRMPoint2d>& made)
{
    switch (side) {
        case 0:
            return ClipSide<true, true>(n, at, fromAt, bound, out, outFrom, made);
        case 1:
            return ClipSide<true, false>(n, at, fromAt, bound, out, outFrom, made);
        case 2:
            return ClipSide<false, true>(n, at, fromAt, bound, out, outFrom, made);
        default:
            return ClipSide<false, false>(n, at, fromAt, bound, out, outFrom, made);
    }
}

bool InsideSide(int side, const TVRMPoint2d& p, double bound)
{
    switch (side) {
        case 0:
            return InsideSide<true, true>(p, bound);
        case 1:
            return InsideSide<true, false>(p, bound);
        case 2:
            return InsideSide<false, true>(p, bound);
        default:
            return InsideSide<false, false>(p, bound);
    }
}

bool ClipToWindow(const TVRMMultiPolygon2d& plan, const TVRMBox2d& window, TVRMMultiPolygon2d& out,
                  std::vector<int>* origins, TClipBuffers& buffers)
{
    // The rings' boxes (as VertexBox takes them), and whether a ring has a coordinate that is not
    // a number (its sum then is not one either, nor when infinities of both signs meet).
    auto& boxes = buffers.boxes;
    auto& plain = buffers.plain;
    boxes.resize(plan.Items().size());
    plain.resize(boxes.size());
    TVRMBox2d box;
    int kinds = 0;  // of all vertices, or-ed: none an arc when 0
    for (size_t r = 0; r < boxes.size(); ++r) {
        TVRMBox2d b;
        double sum = 0;
        for (const auto& v : plan.Items()[r].Vertices()) {
            b.min.x = std::min(b.min.x, v.pt.x), b.min.y = std::min(b.min.y, v.pt.y);
            b.max.x = std::max(b.max.x, v.pt.x), b.max.y = std::max(b.max.y, v.pt.y);
            sum += v.pt.x + v.pt.y;
            kinds |= v.kind;
        }
        boxes[r] = b;
        plain[r] = sum == sum;
        box.min.x = std::min(box.min.x, b.min.x), box.min.y = std::min(box.min.y, b.min.y);
        box.max.x = std::max(box.max.x, b.max.x), box.max.y = std::max(box.max.y, b.max.y);
    }
    if (box.min.x >= window.min.x && box.min.y >= window.min.y && box.max.x <= window.max.x &&
        box.max.y <= window.max.y)
        return false;
    if (kinds != 0)
        for (const auto& item : plan.Items())
            if (std::any_of(item.Vertices().begin(), item.Vertices().end(), [](const auto& v) { return v.IsArc(); }))
                return false;
    if (origins)
        origins->clear();
    auto &ring = buffers.ring, &clipped = buffers.clipped, &made = buffers.made;
    auto &from = buffers.from, &clippedFrom = buffers.clippedFrom;
    const double bounds[4] = {window.min.x, window.max.x, window.min.y, window.max.y};
    int first = 0;
    for (size_t r = 0; r < boxes.size(); ++r) {
        const auto& vertices = plan.Items()[r].Vertices();
        const int base = first;
        first += static_cast<int>(vertices.size());
        const double reach[4] = {boxes[r].min.x, boxes[r].max.x, boxes[r].min.y, boxes[r].max.y};
        size_t n = vertices.size();
        bool copied = false;  // the ring now in `ring` and `from` (else still `vertices`)
        made.clear();
        // Sides: x >= min.x, x <= max.x, y >= min.y, y <= max.y, one after the other. A side
        // that finds every point of the ring inside gives it back as it is: one is passed by
        // when the ring's box lies inside it, and the points put in so far.
        for (int side = 0; side < 4 && n >= 3; ++side) {
            const double bound = bounds[side];
            const TVRMPoint2d corner = side < 2 ? TVRMPoint2d{reach[side], 0} : TVRMPoint2d{0, reach[side]};
            if (plain[r] && InsideSide(side, corner, bound) &&
                std::all_of(made.begin(), made.end(), [&](const TVRMPoint2d& p) { return InsideSide(side, p, bound); }))
                continue;
            // Each edge gives at most its start and a point on the side.
            if (clipped.size() < 2 * n)
                clipped.resize(2 * n), clippedFrom.resize(2 * n);
            n = copied ? ClipSide(
                             side, n, [&](size_t i) -> const TVRMPoint2d& { return ring[i]; },
                             [&](size_t i) { return from[i]; }, bound, clipped.data(), clippedFrom.data(), made)
                       : ClipSide(
                             side, n, [&](size_t i) -> const TVRMPoint2d& { return vertices[i].pt; },
                             [&](size_t i) { return base + static_cast<int>(i); }, bound, clipped.data(),
                             clippedFrom.data(), made);
            std::swap(ring, clipped);
            std::swap(from, clippedFrom);
            copied = true;
        }
        if (n < 3)
            continue;
        // The ring's points as TVRMPolygon2d takes a list of points (the buffers keep their size).
        std::vector<TVRMVertex2d> points(n);
        for (size_t k = 0; k < n; ++k)
            points[k].pt = copied ? ring[k] : vertices[k].pt;
        out.Add(TVRMPolygon2d(std::move(points)));
        if (origins) {
            if (copied) {
                origins->insert(origins->end(), from.begin(), from.begin() + static_cast<std::ptrdiff_t>(n));
            } else {
                for (size_t k = 0; k < n; ++k)
                    origins->push_back(base + static_cast<int>(k));
            }
        }
    }
    return true;
}

bool ClipToWindow(const TVRMMultiPolygon2d& plan, const TVRMBox2d& window, TVRMMultiPolygon2d& out,
                  std::vector<int>* origins = nullptr)
{
    return ClipToWindow(plan, window, out, origins, ClipBuffers());
}

// x op y (kind as for solids) of two plans. With `origins` (a difference): as CutConvex gives
// them (y's edges as y's own), or left empty.
std::unique_ptr<TVRMMultiPolygon2d> PlanBoolean(const TVRMMultiPolygon2d& x, const TVRMMultiPolygon2d& y, int kind,
                                                std::vector<int>* origins = nullptr)
{
    if (origins)
        origins->clear();
    auto result = TVRMMultiPolygon2d::Create();
    if (TGridBoolean::Local().Run(x, y, kind, *result))
        return result;
    if (kind == CVRMBoolUnion)
        return TVRMIntersectFunc2d::MergePolygon(x, y);
    // Of a difference or an intersection only what lies over x counts: y is cut down to x's
    // window first (a round column of many facets at a slab's corner gives a quarter of them),
    // and for an intersection x to y's window too.
    auto window = [](const TVRMMultiPolygon2d& plan) {
        TVRMBox2d w = VertexBox(plan);
        const double margin = 1 + 1e-3 * std::max(w.max.x - w.min.x, w.max.y - w.min.y);
        w.min.x -= margin, w.min.y -= margin, w.max.x += margin, w.max.y += margin;
        return w;
    };
    TVRMMultiPolygon2d cutX, cutY;
    const TVRMMultiPolygon2d& px =
        kind == CVRMBoolIntersect && !y.IsEmpty() && ClipToWindow(x, window(y), cutX) ? cutX : x;
    if (kind != CVRMBoolSubtract)
        origins = nullptr;
    std::vector<int> clipOrigins;
    const TVRMMultiPolygon2d& py =
        !x.IsEmpty() && ClipToWindow(y, window(x), cutY, origins ? &clipOrigins : nullptr) ? cutY : y;
    if (CutConvex(px, py, kind, *result, origins)) {
        if (origins && &py == &cutY)
            for (int& code : *origins)
                if (code < 0 && (code = -1 - clipOrigins[-1 - code]) >= 0) {
                    origins->clear();  // along a side of the window
                    break;
                }
        return result;
    }
    if (origins)
        origins->clear();
    return kind == CVRMBoolIntersect ? TVRMIntersectFunc2d::IntPolygon(px, py)
                                     : TVRMIntersectFunc2d::SubPolygon(px, py);
}

// A solid of stacked vertical prisms: between consecutive levels, one plan polygon set.
struct TStack {
    std::vector<double> levels;
    std::vector<std::shared_ptr<const TVRMMultiPolygon2d>> plans;  // plans[i] between levels i and i+1
};

// Recognises a solid whose faces are all vertical or level. A curved facet
// (a vertical facet of a round or arc member) is taken by its chord; the
// circles of whole facets are put back on the result (RestoreOrigins).
// Going up level by level, the plan loses what the upward faces there close
// and gains what the downward faces open; the layers must make up
// `planarVolume`, the volume of the solid's planar faces.
bool AsStack(const TVRMPolyhedron3d& solid, double planarVolume, TStack& stack)
{
    if (const TSolidCache* cache = CacheOf(solid).get(); cache && cache->plan) {
        stack.levels = {cache->z0, cache->z1};
        stack.plans = {cache->plan};
        return true;
    }
    struct TLevel {
        TVRMMultiPolygon2d up, down;  // plan rings, counter-clockwise outer rings
    };
    std::map<double, TLevel> levels;
    for (const auto& f : solid.GetFaces()) {
        const TVRMVector3d& n = f.GetNormal();
        if (f.GetArcVolume() != 0)
            return false;
        if (std::fabs(n.z) <= kFlat)
            continue;
        if (f.GetArc())
            return false;
        if (std::fabs(n.x) > kFlat || std::fabs(n.y) > kFlat)
            return false;
        const double z = f.GetLoop(0)[0].z;
        TLevel& level = levels[z];
        for (const auto& l : f.GetLoops()) {
            for (const auto& p : l)
                if (p.z != z)
                    return false;
            if (n.z > 0) {
                AddPlanRing(level.up, l);
            } else {
                AddPlanRing(level.down, TVRMLoop3d(l.rbegin(), l.rend()));
            }
        }
    }
    if (levels.size() < 2)
        return false;
    stack.levels.reserve(levels.size());
    stack.plans.reserve(levels.size() - 1);
    double volume = 0;
    const TVRMMultiPolygon2d* below = nullptr;  // the plan of the layer under this level
    for (auto it = levels.begin(); std::next(it) != levels.end(); ++it) {
        TLevel& level = it->second;
        std::shared_ptr<TVRMMultiPolygon2d> plan;
        if (!below) {
            if (!level.up.IsEmpty())
                return false;
            plan = std::make_unique<TVRMMultiPolygon2d>(std::move(level.down));
        } else {
            if (!level.up.IsEmpty())
                plan = PlanBoolean(*below, level.up, CVRMBoolSubtract);
            if (!level.down.IsEmpty())
                plan = PlanBoolean(plan ? *plan : *below, level.down, CVRMBoolUnion);
            if (!plan)
                plan = below->Clone();
        }
        volume += plan->Area() * (std::next(it)->first - it->first);
        below = plan.get();
        stack.levels.push_back(it->first);
        stack.plans.push_back(std::move(plan));
    }
    stack.levels.push_back(levels.rbegin()->first);
    // The layers must account for the whole solid (a closed, consistently oriented one).
    const double actual = planarVolume;
    return std::fabs(volume - actual) <= 1e-9 * std::fabs(actual);
}

TVRMFace3d PlanFace(const std::vector<TPlanRing>& plan, double z, bool up)
{
    std::vector<TVRMLoop3d> loops;
    loops.reserve(plan.size());
    for (const auto& r : plan) {
        TVRMLoop3d l = LiftRing(r, z);
        if (!up)
            std::reverse(l.begin(), l.end());
        loops.push_back(std::move(l));
    }
    return TVRMFace3d(TVRMPlane3d({0, 0, up ? 1.0 : -1.0}, {0, 0, z}), std::move(loops));
}

struct TLayer {
    double z0, z1;
    const TVRMMultiPolygon2d* plan;  // nil or empty: nothing at these levels
};

bool IsBlank(const TVRMMultiPolygon2d* plan)
{
    return !plan || plan->IsEmpty();
}

using TPlanPair = std::pair<const TVRMMultiPolygon2d*, const TVRMMultiPolygon2d*>;

// What the combination of two stacks already knows about differences x - y
// of its plans: empty when x lies inside y, a plan at hand, or x * z for a plan z (where
// y = x - z: what a deduction takes from a layer of a is a's layer in common with b's,
// the plan boolean with one convex cutter where b's layer is one).
struct TPlanFacts {
    std::set<TPlanPair> subsets;                                 // x inside y
    std::map<TPlanPair, const TVRMMultiPolygon2d*> differences;  // x - y
    std::map<TPlanPair, const TVRMMultiPolygon2d*> commons;      // x - y = x * z
};

// Solid made of stacked prisms: the sides of every layer, then the plan faces
// where the layers start, change and end. Side faces the donor holds as they are (when
// given) are taken over.
TVRMPolyhedron3d StackLayers(std::vector<TLayer> layers, const TPlanFacts& facts, TFaceDonor* donor)
{
    std::vector<TLayer> merged;
    merged.reserve(layers.size());
    for (const auto& l : layers) {
        if (l.z1 <= l.z0)
            continue;
        if (!merged.empty() && merged.back().plan == l.plan && merged.back().z1 == l.z0)
            merged.back().z1 = l.z1;
        else
            merged.push_back(l);
    }
    while (!merged.empty() && IsBlank(merged.back().plan))
        merged.pop_back();
    while (!merged.empty() && IsBlank(merged.front().plan))
        merged.erase(merged.begin());
    if (merged.empty())
        return {};
    if (merged.size() == 1)
        return std::move(*PrismOver(*merged[0].plan, merged[0].z0, merged[0].z1 - merged[0].z0, donor));
    // Each plan faceted once.
    std::map<const TVRMMultiPolygon2d*, std::vector<TPlanRing>> faceted;
    auto facets = [&faceted](const TVRMMultiPolygon2d& plan) -> const std::vector<TPlanRing>& {
        auto [it, added] = faceted.try_emplace(&plan);
        if (added)
            it->second = FacetPlan(plan);
        return it->second;
    };
    // Side faces; a plan edge that goes on in the next layer makes one taller face.
    struct TSide {
        TVRMPoint2d p, q;
        double z0, z1;
    };
    std::vector<TSide> sides;
    sides.reserve(64);
    // The plan edges of the layer below with their sides, sorted, and those of this layer.
    using TEdgeSide = std::pair<std::tuple<double, double, double, double>, size_t>;
    std::vector<TEdgeSide> lower, here;
    lower.reserve(64);
    here.reserve(64);
    for (const auto& l : merged) {
        here.clear();
        if (!IsBlank(l.plan))
            for (const auto& r : facets(*l.plan)) {
                const size_t n = r.points.size();
                for (size_t i = 0; i < n; ++i) {
                    const TVRMPoint2d& p = r.points[i];
                    const TVRMPoint2d& q = r.points[i + 1 < n ? i + 1 : 0];
                    const auto key = std::make_tuple(p.x, p.y, q.x, q.y);
                    const auto it = std::lower_bound(lower.begin(), lower.end(), TEdgeSide{key, 0});
                    if (it != lower.end() && it->first == key && sides[it->second].z1 == l.z0) {
                        sides[it->second].z1 = l.z1;
                        here.push_back(*it);
                    } else {
                        here.push_back({key, sides.size()});
                        sides.push_back({p, q, l.z0, l.z1});
                    }
                }
            }
        std::sort(here.begin(), here.end());
        std::swap(lower, here);
    }
    std::vector<TVRMFace3d> faces;
    faces.reserve(sides.size() + 2 * merged.size() + 2);
    if (donor)
        donor->taken.clear();
    for (const auto& f : sides) {
        // A side the donor holds as it is (a facet the deduction passes by) is taken over.
        const double up = f.z1 - f.z0;
        if (const int k =
                donor && f.z0 + up == f.z1 ? donor->Find({f.p.x, f.p.y, f.z0}, {f.q.x, f.q.y, f.z0}, {0, 0, up}) : -1;
            k >= 0) {
            faces.emplace_back();  // the donor's face, moved in later
            donor->taken.resize(faces.size(), -1);
            donor->taken.back() = k;
            continue;
        }
        faces.push_back(TVRMFace3d::FromLoop(
            {{f.p.x, f.p.y, f.z0}, {f.q.x, f.q.y, f.z0}, {f.q.x, f.q.y, f.z1}, {f.p.x, f.p.y, f.z1}}));
    }
    // x - y, computed once per pair (a layer met twice gives the same differences).
    std::map<std::pair<const TVRMMultiPolygon2d*, const TVRMMultiPolygon2d*>, std::unique_ptr<TVRMMultiPolygon2d>>
        differences;
    auto addPlan = [&](const TVRMMultiPolygon2d* x, const TVRMMultiPolygon2d* y, double z, bool up) {
        if (IsBlank(x) || facts.subsets.count({x, y}))
            return;
        if (IsBlank(y)) {
            faces.push_back(PlanFace(facets(*x), z, up));
            return;
        }
        if (auto known = facts.differences.find({x, y}); known != facts.differences.end()) {
            if (!IsBlank(known->second))
                faces.push_back(PlanFace(facets(*known->second), z, up));
            return;
        }
        auto& d = differences[{x, y}];
        if (!d) {
            const auto common = facts.commons.find({x, y});
            d = common != facts.commons.end() ? PlanBoolean(*x, *common->second, CVRMBoolIntersect)
                                              : PlanBoolean(*x, *y, CVRMBoolSubtract);
        }
        if (!d->IsEmpty())
            faces.push_back(PlanFace(facets(*d), z, up));
    };
    const TVRMMultiPolygon2d* below = nullptr;
    for (size_t i = 0; i <= merged.size(); ++i) {
        const TVRMMultiPolygon2d* above = i < merged.size() ? merged[i].plan : nullptr;
        const double z = i < merged.size() ? merged[i].z0 : merged.back().z1;
        addPlan(below, above, z, true);
        addPlan(above, below, z, false);
        below = above;
    }
    if (donor && !donor->taken.empty())
        donor->taken.resize(faces.size(), -1);
    return TVRMPolyhedron3d(std::move(faces));
}

// The plan of a stack at height z (nil outside it).
const TVRMMultiPolygon2d* PlanAt(const TStack& s, double z, int& index)
{
    index = -1;
    for (size_t i = 0; i + 1 < s.levels.size(); ++i)
        if (z > s.levels[i] && z < s.levels[i + 1]) {
            index = static_cast<int>(i);
            return s.plans[i].get();
        }
    return nullptr;
}

// Whether a single convex ring `outer` covers every vertex of `inner` (both
// without arc edges), so that inner lies inside outer: the common case of a
// slab over a beam or a room over a column, settled without a plan boolean.
// `outerBox`: outer's VertexBox when known (its solid's cache keeps it).
bool Covers(const TVRMMultiPolygon2d& outer, const TVRMMultiPolygon2d& inner, const TVRMBox2d* outerBox = nullptr)
{
    if (outer.GetCount() != 1)
        return false;
    const auto& ring = outer.GetItems(0).Vertices();
    const size_t n = ring.size();
    // A vertex of inner beyond outer's vertices lies outside it (the first one met settles it).
    const TVRMBox2d box = outerBox ? *outerBox : VertexBox(outer);
    for (const auto& item : inner.Items())
        for (const auto& v : item.Vertices())
            if (v.pt.x < box.min.x || v.pt.y < box.min.y || v.pt.x > box.max.x || v.pt.y > box.max.y)
                return false;
    for (size_t i = 0; i < n; ++i) {
        const TVRMPoint2d &a = ring[i].pt, &b = ring[(i + 1) % n].pt, &c = ring[(i + 2) % n].pt;
        if (ring[i].IsArc() || (b - a).CrossProduct(c - b) < 0)
            return false;
    }
    for (const auto& item : inner.Items())
        for (const auto& v : item.Vertices()) {
            if (v.IsArc())
                return false;
            for (size_t i = 0; i < n; ++i) {
                const TVRMPoint2d &a = ring[i].pt, &b = ring[(i + 1) % n].pt;
                if ((b - a).CrossProduct(v.pt - a) < 0)
                    return false;
            }
        }
    return true;
}

// The two level faces of a prism (normals straight up and down), or false.
bool PrismCaps(const TVRMPolyhedron3d& a, int& top, int& bottom)
{
    top = bottom = -1;
    const std::vector<TVRMFace3d>& faces = a.GetFaces();
    for (int k = 0; k < static_cast<int>(faces.size()); ++k) {
        const TVRMVector3d& normal = faces[k].GetNormal();
        if (normal.x != 0 || normal.y != 0)
            continue;
        int& cap = normal.z > 0 ? top : bottom;
        if (cap >= 0)
            return false;
        cap = k;
    }
    return top >= 0 && bottom >= 0;
}

// A single prism less, or in common with, another between a's own levels lies over part of
// a's plan: its top and bottom are pieces of a's (a prism's only level faces, found by their
// normals), marked for RestoreOrigins at the places PrismOver gives them (top n-2, bottom n-1).
void CapsFromPrism(const TVRMPolyhedron3d& a, const TSolidCache& ca, const TSolidCache* result, std::vector<int>& known)
{
    const size_t n = known.size();
    if (!result || !result->plan || result->z0 != ca.z0 || result->z1 != ca.z1 || n < 2 || known[n - 2] != -1 ||
        known[n - 1] != -1)
        return;
    int top = -1, bottom = -1;
    if (!PrismCaps(a, top, bottom))
        return;
    known[n - 2] = -2 - top;
    known[n - 1] = -2 - bottom;
}

size_t VertexCount(const TVRMMultiPolygon2d& plan)
{
    size_t n = 0;
    for (const auto& item : plan.Items())
        n += item.Vertices().size();
    return n;
}

// Whether a face is one quad standing on the plan's edge from its vertex k (the rings' vertices
// counted on): its first two corners over that edge's ends.
bool StandsOn(const TVRMFace3d& face, const TVRMMultiPolygon2d& plan, int k)
{
    const std::vector<TVRMLoop3d>& loops = face.GetLoops();
    if (loops.size() != 1 || loops[0].size() != 4)
        return false;
    for (const auto& item : plan.Items()) {
        const auto& v = item.Vertices();
        const int n = static_cast<int>(v.size());
        if (k >= n) {
            k -= n;
            continue;
        }
        const TVRMPoint2d &p = v[k].pt, &q = v[k + 1 < n ? k + 1 : 0].pt;
        const TVRMLoop3d& l = loops[0];
        return l[0].x == p.x && l[0].y == p.y && l[1].x == q.x && l[1].y == q.y;
    }
    return false;
}

// A face of the prism CutPrismByOrigins builds, in the order ExtrudeRings builds them, with its
// rank (RestoreOrigins).
struct TSide {
    int rank;
    int donor;   // a's face moved over whole, or -1
    int source;  // a's face (below a's count) or a's count + b's face it is a piece of
    TVRMPoint3d p, q;
};

// a - b for prisms over one plan each where b reaches through a's height, the plan difference
// `plan` known with the origin of every edge (PlanBoolean's origins): the result prism built
// straight in its final face order, with no search for the faces' origins. The faces a keeps
// whole are moved over, a's faces cut short become pieces with a's tags, b's faces inside a
// turn round; then the caps (new faces in the storage of faces given up before: TSpareLoops).
// Gives the solid StackBoolean's general way (StackLayers, RestoreOrigins, TakeFaces)
// gives, face for face. False (a untouched) when anything is not as that needs it: the
// general way then.
struct TOriginBuffers {
    std::vector<int> sideOf, order, position;
    std::vector<TSide> sides;
    std::vector<TVRMLoop3d> loops;
};

// The calling thread's buffers (kept from one deduction to the next).
[[gnu::noinline]] TOriginBuffers& OriginBuffers()
{
    thread_local TOriginBuffers buffers;
    return buffers;
}

[[gnu::noinline]] bool CutPrismByOrigins(TVRMPolyhedron3d& a, const TSolidCache& ca, const TVRMPolyhedron3d& b,
                                         const TSolidCache& cb, std::unique_ptr<TVRMMultiPolygon2d>& plan,
                                         double planArea, const std::vector<int>& origins, TVRMPolyhedron3d& result,
                                         TOriginBuffers& w)
{
    const double bottom = ca.z0, height = ca.z1 - ca.z0;
    if (!(height > 0) || bottom + height != ca.z1 || ca.sides.empty() || cb.sides.empty() || !cb.plan)
        return false;
    int top = -1, base = -1;
    if (!PrismCaps(a, top, base))
        return false;
    auto& sides = w.sides;
    auto& loops = w.loops;
    auto& sideOf = w.sideOf;  // per plan vertex: its entry in `sides`, or -1
    auto &order = w.order, &position = w.position;
    const TVRMPolyhedron3d& source = a;
    if (VertexCount(*ca.plan) != ca.sides.size() || VertexCount(*cb.plan) != cb.sides.size())
        return false;
    const TVRMVector3d v{0, 0, height};
    const TVRMVector3d m = TVRMVector3d{0, 0, 1}.Unit();
    sides.clear();
    sideOf.clear();
    const std::vector<TVRMFace3d>& faces = source.GetFaces();
    const int na = a.GetFaceCount();
    // The origins read through a local view (the caller's list is the thread's own).
    const std::span<const int> codes(origins);
    sides.reserve(codes.size() + 2);
    sideOf.reserve(codes.size());
    size_t k = 0;
    int donated = 0;
    loops.resize(plan->Items().size());  // their storage kept from one deduction to the next
    for (size_t r = 0; r < loops.size(); ++r) {
        const auto& vs = std::as_const(plan->Items()[r]).Vertices();  // read only: keeps IsNormalized
        if (vs.size() < 3)
            return false;
        TVRMLoop3d& l = loops[r];
        l.clear();
        l.reserve(vs.size());
        for (const auto& p : vs)
            l.push_back({p.pt.x, p.pt.y, bottom});
    }
    // The result's measure (PrismMeasure) is taken on the way: the rings lie at one level, so
    // an edge's length is its plan length.
    TPrismMeasurer measurer(loops[0][0]);
    for (const auto& ring : loops)
        for (size_t i = 0, n = ring.size(); i < n; ++i, ++k) {
            if (k >= codes.size())
                return false;
            const TVRMPoint3d &p = ring[i], &q = ring[i + 1 < n ? i + 1 : 0];
            const double length = p.DistanceTo(q);
            measurer.Add(p, q, length);
            if (length <= CVRMZero) {  // the points are one
                sideOf.push_back(-1);
                continue;
            }
            if (length < TFaceDonor::kMinLength)
                return false;
            const int origin = codes[k];
            TSide side{0, -1, -1, p, q};
            if (origin >= 0) {
                const int f = ca.sides[origin];
                if (f < 0 || f >= na)
                    return false;
                const TVRMFace3d& face = faces[f];
                const std::vector<TVRMLoop3d>& l = face.GetLoops();
                if (l.size() == 1 && l[0].size() == 4 && l[0][0] == p && l[0][1] == q && l[0][2] == q + v &&
                    l[0][3] == p + v) {
                    // TFaceDonor finds a face by its plane's base point, its first corner.
                    const TVRMPoint3d& at = face.GetPlane().GetBasePoint();
                    if (at.x != p.x || at.y != p.y)
                        return false;
                    side.donor = f, ++donated;
                } else if (!StandsOn(face, *ca.plan, origin)) {
                    return false;
                }
                side.rank = side.source = f;
            } else {
                const int i = -1 - origin;
                const int f = i < static_cast<int>(cb.sides.size()) ? cb.sides[i] : -1;
                if (f < 0 || f >= b.GetFaceCount() || !StandsOn(b.GetFaces()[f], *cb.plan, i))
                    return false;
                side.rank = side.source = na + f;
            }
            sideOf.push_back(static_cast<int>(sides.size()));
            sides.push_back(side);
        }
    if (k != codes.size() || donated == 0)
        return false;
    const TPlanarMeasure measure = measurer.Measure(v);
    if (IsFlat(measure))
        return false;
    // The caps: the top piece of a's top, the bottom of a's bottom.
    const int nSides = static_cast<int>(sides.size());
    sides.push_back({top, -1, top, {}, {}});
    sides.push_back({base, -1, base, {}, {}});
    // By rank, in building order among equal ranks (a counting sort: ranks run below a's and
    // b's face counts together).
    const size_t ranks = static_cast<size_t>(na + b.GetFaceCount()) + 1;
    position.assign(ranks + 1, 0);
    for (const auto& side : sides)
        ++position[side.rank + 1];
    for (size_t r = 1; r <= ranks; ++r)
        position[r] += position[r - 1];
    order.resize(sides.size());
    for (size_t at = 0; at < sides.size(); ++at)
        order[position[sides[at].rank]++] = static_cast<int>(at);
    position.resize(sides.size());
    std::vector<TVRMFace3d>& given = FacesOf(a);
    TSpareLoops& spare = TSpareLoops::Local();
    std::vector<TVRMFace3d> built;
    built.reserve(sides.size());
    for (int at : order) {
        const TSide& side = sides[at];
        position[at] = static_cast<int>(built.size());
        if (side.donor >= 0) {
            built.push_back(std::move(given[side.donor]));
            continue;
        }
        const TVRMFace3d& origin = side.source < na ? faces[side.source] : b.GetFaces()[side.source - na];
        if (at < nSides) {
            spare.AddQuad(built, side.p, side.q, side.q + v, side.p + v);
        } else {
            const bool up = at == nSides;
            built.push_back(ExtrusionCap(loops, m, up ? v : TVRMVector3d{0, 0, 0}, up, spare.Take(true)));
        }
        TVRMFace3d& face = built.back();
        if (side.source < na)
            face.SetTag(origin.GetTag());
        InheritArc(origin, face);
    }
    result = TVRMPolyhedron3d(std::move(built));
    // The cache CachePrism gives, with the side faces where they now stand.
    auto cache = std::make_shared<TSolidCache>();
    cache->measure = measure;
    cache->plan = std::shared_ptr<const TVRMMultiPolygon2d>(std::move(plan));
    cache->planArea = planArea;
    cache->z0 = bottom;
    cache->z1 = bottom + height;
    cache->sides.resize(sideOf.size());
    for (size_t i = 0; i < sideOf.size(); ++i)
        cache->sides[i] = sideOf[i] < 0 ? -1 : position[sideOf[i]];
    SetCache(result, std::move(cache));
    return true;
}

// Boolean of two stacks of vertical prisms: plan booleans level by level. On true, `a` may
// have given its unchanged faces to the result: the result replaces it.
// StackBoolean's lists of the calling thread, kept from one boolean to the next.
struct TStackBuffers {
    TStack sa, sb;
    std::vector<double> levels;
    std::vector<TLayer> layers;
    std::vector<int> origins;
};

[[gnu::noinline]] TStackBuffers& StackBuffers()
{
    thread_local TStackBuffers buffers;
    return buffers;
}

bool StackBoolean(TVRMPolyhedron3d& a, double volumeA, const TVRMPolyhedron3d& b, double volumeB, int kind,
                  TVRMPolyhedron3d& result)
{
    TStackBuffers& w = StackBuffers();
    TStack &sa = w.sa, &sb = w.sb;
    sa.levels.clear(), sa.plans.clear(), sb.levels.clear(), sb.plans.clear();
    struct TRelease {  // the stacks' plans are not held past the boolean
        TStack &sa, &sb;
        ~TRelease() { sa.plans.clear(), sb.plans.clear(); }
    } release{sa, sb};
    if (!AsStack(a, volumeA, sa) || !AsStack(b, volumeB, sb))
        return false;
    // A prism less one reaching through its height: the plan difference with its edges' origins
    // builds the result straight (CutPrismByOrigins).
    const std::shared_ptr<const TSolidCache> ca = CacheOf(a), cb = CacheOf(b);
    const bool byOrigins = kind == CVRMBoolSubtract && ca && cb && ca->plan && cb->plan && !ca->sides.empty() &&
                           !cb->sides.empty() && sa.plans.size() == 1 && sa.plans[0] == ca->plan &&
                           sb.plans.size() == 1 && sb.plans[0] == cb->plan && sb.levels[0] <= sa.levels[0] &&
                           sb.levels[1] >= sa.levels[1];
    std::vector<int>& origins = w.origins;
    origins.clear();
    std::vector<double>& levels = w.levels;
    levels.assign(sa.levels.begin(), sa.levels.end());
    levels.insert(levels.end(), sb.levels.begin(), sb.levels.end());
    std::sort(levels.begin(), levels.end());
    levels.erase(std::unique(levels.begin(), levels.end()), levels.end());
    // One plan per pair of layers met, so that equal neighbours merge.
    std::map<std::pair<int, int>, std::unique_ptr<TVRMMultiPolygon2d>> combined;
    std::vector<TLayer>& layers = w.layers;
    layers.clear();
    layers.reserve(levels.size());
    bool touched = false;
    double slotArea = -1;  // of the one combined plan, when worked out
    for (size_t i = 0; i + 1 < levels.size(); ++i) {
        const double m = (levels[i] + levels[i + 1]) / 2;
        int ia, ib;
        const TVRMMultiPolygon2d* pa = PlanAt(sa, m, ia);
        const TVRMMultiPolygon2d* pb = PlanAt(sb, m, ib);
        const TVRMMultiPolygon2d* plan = nullptr;
        if (pa && pb && Covers(*pb, *pa, cb && pb == cb->plan.get() && cb->planBoxed ? &cb->planBox : nullptr)) {
            // a's layer lies wholly inside b's: nothing is left of it, all of it is common.
            plan = kind == CVRMBoolIntersect ? pa : kind == CVRMBoolUnion ? pb : nullptr;
            touched = true;
        } else if (pa && pb) {
            auto& slot = combined[{ia, ib}];
            if (!slot) {
                switch (kind) {
                    case CVRMBoolIntersect:
                    case CVRMBoolUnion:
                        slot = PlanBoolean(*pa, *pb, kind);
                        break;
                    default:
                        slot = PlanBoolean(*pa, *pb, CVRMBoolSubtract, byOrigins ? &origins : nullptr);
                        if (!touched) {
                            // a's plan area comes with its cache when the boolean that built
                            // a worked it out (the next deduction from the same subject).
                            const double area =
                                ca && pa == ca->plan.get() && ca->planArea >= 0 ? ca->planArea : pa->Area();
                            slotArea = slot->Area();
                            touched = slotArea < area - CVRMZero * std::max(1.0, area);
                        }
                        break;
                }
            }
            plan = slot.get();
        } else if (kind == CVRMBoolUnion || (kind == CVRMBoolSubtract && pa)) {
            plan = pa ? pa : pb;
        }
        layers.push_back({levels[i], levels[i + 1], plan});
    }
    if (kind == CVRMBoolSubtract && !touched) {
        result = a;  // nothing in common
        return true;
    }
    if (byOrigins && !origins.empty() && combined.size() == 1 && combined.begin()->first == std::pair<int, int>{0, 0}) {
        std::unique_ptr<TVRMMultiPolygon2d>& plan = combined.begin()->second;
        TOriginBuffers& buffers = OriginBuffers();
        if (plan && !plan->IsEmpty() && CutPrismByOrigins(a, *ca, b, *cb, plan, slotArea, origins, result, buffers))
            return true;
    }
    // What the plan booleans tell StackLayers (the way above needs none of it).
    TPlanFacts facts;
    for (const auto& [at, slot] : combined) {
        const TVRMMultiPolygon2d *pa = sa.plans[at.first].get(), *pb = sb.plans[at.second].get();
        const TVRMMultiPolygon2d* c = slot.get();
        switch (kind) {
            case CVRMBoolIntersect:
                facts.subsets.insert({c, pa});
                facts.subsets.insert({c, pb});
                break;
            case CVRMBoolUnion:
                facts.subsets.insert({pa, c});
                facts.subsets.insert({pb, c});
                break;
            default:
                facts.subsets.insert({c, pa});
                if (Covers(*pa, *pb))  // an opening inside a: a - (a - b) = b
                    facts.differences[{pa, c}] = pb;
                else  // a - (a - b) = a * b
                    facts.commons[{pa, c}] = pb;
                break;
        }
    }
    // The result takes over the side faces of a that it keeps as they are (a's side faces are
    // the quads of its layers: a facet or wall face the deduction passes by).
    std::optional<TFaceDonor> donor;
    donor.emplace(a);
    result = StackLayers(std::move(layers), facts, donor ? &*donor : nullptr);
    // Origins take tags and circles, and order the faces: the measure and the plan stay.
    std::shared_ptr<const TSolidCache> cache = CacheOf(result);
    std::vector<int>* taken = donor && !donor->taken.empty() ? &donor->taken : nullptr;
    if (taken && ca && ca->plan && kind != CVRMBoolUnion)
        CapsFromPrism(a, *ca, cache.get(), *taken);
    RestoreOrigins(result, a, b, kind, taken);
    if (taken)
        TakeFaces(result, *taken, a);
    SetCache(result, std::move(cache));
    return true;
}

// A solid that every vertical line meets in one interval, with planar faces
// above and below: its upward faces (the top) and its downward faces (the
// bottom) each cover its plan once, and its upright faces stand on the plan's
// outline. Sloped slabs and roofs (their sides upright or leaning), gradient
// beams, walls whose top slopes; no curved facets.
struct TSlopedFace {
    TVRMPlane3d plane;
    std::shared_ptr<const TVRMMultiPolygon2d> plan;  // rings counter-clockwise seen from above
    int origin = -1;                                 // the subject's face it lies on
};

// An upright face over the plan edge p-q, the solid on its left seen from above.
struct TSlopedSide {
    TVRMPoint2d p, q;
    int face;
    double length = 0;  // of p-q
};

}  // namespace

// What the booleans know of a sloped solid: its faces (AsSloped), its outline as Monotone has
// checked it, and the plan edges its upright faces stand on. Kept with the solid's cache: a
// member deducted again and again (and every copy of it) is read once, and a result of the
// sloped path comes with its own.
struct vrm3d::TSlopedSolid {
    std::vector<TSlopedFace> top, bottom;
    std::vector<TSlopedSide> sides;  // the upright faces
    std::shared_ptr<const TVRMMultiPolygon2d> outline;
    double area = 0;      // of the outline
    bool single = false;  // one top and one bottom face, both over the outline
};

namespace {

double HeightOn(const TVRMPlane3d& plane, const TVRMPoint2d& p)
{
    double z = 0;
    plane.GetZ(p.x, p.y, z);
    return z;
}

bool HasArcMeasure(const TVRMFace3d& f)
{
    return f.GetArc() || f.GetArcVolume() != 0 || f.GetArcArea() != 0;
}

// Recognises such a solid by its faces, at least one of them sloped (level ones are stacks);
// Monotone settles the rest.
TSlopedSide SideOf(const TVRMFace3d& face, int k);

// Walks a solid's faces: upright ones into `sides`, each top or bottom one to
// `level(face, k, up)`. False on a curved facet, when `level` refuses a face, or when no top
// or bottom face slopes.
template <class TLevel>
bool WalkSlopedFaces(const TVRMPolyhedron3d& solid, std::vector<TSlopedSide>& sides, TLevel&& level)
{
    bool sloped = false;
    for (int k = 0; k < solid.GetFaceCount(); ++k) {
        const TVRMFace3d& f = solid.GetFace(k);
        if (HasArcMeasure(f))
            return false;
        const TVRMVector3d& n = f.GetNormal();
        if (std::fabs(n.z) <= kFlat) {
            sides.push_back(SideOf(f, k));
            continue;
        }
        sloped = sloped || std::fabs(n.x) > kFlat || std::fabs(n.y) > kFlat;
        if (!level(f, k, n.z > 0))
            return false;
    }
    return sloped;
}

bool AsSloped(const TVRMPolyhedron3d& solid, TSlopedSolid& s)
{
    return WalkSlopedFaces(solid, s.sides,
                           [&s](const TVRMFace3d& f, int k, bool up) {
                               auto plan = std::make_shared<TVRMMultiPolygon2d>();
                               for (const auto& l : f.GetLoops())
                                   AddPlanRing(*plan, up ? l : TVRMLoop3d(l.rbegin(), l.rend()));
                               (up ? s.top : s.bottom).push_back({f.GetPlane(), std::move(plan), k});
                               return true;
                           }) &&
           !s.top.empty() && !s.bottom.empty();
}

// The top and the bottom each cover the outline once (no overhang, no fold), and the upright
// faces stand on the outline with the solid behind them (no step inside the plan).
bool Monotone(const TVRMPolyhedron3d& solid, const TSlopedSolid& s, const TVRMMultiPolygon2d& outline, double area)
{
    double up = 0, down = 0;
    for (const auto& f : s.top)
        up += f.plan->Area();
    for (const auto& f : s.bottom)
        down += f.plan->Area();
    if (!(area > 0) || std::fabs(up - area) > 1e-9 * area || std::fabs(down - area) > 1e-9 * area)
        return false;
    for (const auto& side : s.sides) {
        const TVRMFace3d& f = solid.GetFace(side.face);
        const TVRMLoop3d& loop = f.GetLoop(0);
        TVRMPoint2d c{0, 0};
        for (const auto& p : loop)
            c.x += p.x / static_cast<double>(loop.size()), c.y += p.y / static_cast<double>(loop.size());
        const TVRMVector2d step{f.GetNormal().x * CVRMEpsilon, f.GetNormal().y * CVRMEpsilon};
        if (Inside(outline, c + step) || !Inside(outline, c - step))
            return false;
    }
    return true;
}

// The plan edge an upright face stands on: its corners' extent along the edge direction that
// its outward normal gives.
TSlopedSide SideOf(const TVRMFace3d& face, int k)
{
    const TVRMVector3d& n = face.GetNormal();
    const TVRMVector2d d{-n.y, n.x};
    const TVRMLoop3d& loop = face.GetLoop(0);
    TVRMPoint2d p{loop[0].x, loop[0].y}, q = p;
    double tp = d.x * p.x + d.y * p.y, tq = tp;
    for (const auto& v : loop) {
        const double t = d.x * v.x + d.y * v.y;
        if (t < tp)
            tp = t, p = {v.x, v.y};
        if (t > tq)
            tq = t, q = {v.x, v.y};
    }
    const TVRMVector2d e = q - p;
    return {p, q, k, std::sqrt(e.x * e.x + e.y * e.y)};
}

bool SamePlan(const TVRMMultiPolygon2d& x, const TVRMMultiPolygon2d& y)
{
    if (&x == &y)
        return true;
    if (x.GetCount() != y.GetCount())
        return false;
    for (int k = 0; k < x.GetCount(); ++k)
        if (x.GetItems(k).Vertices() != y.GetItems(k).Vertices())
            return false;
    return true;
}

// The description of a solid read from its faces; nil when it is not such a solid.
std::shared_ptr<const TSlopedSolid> DescribeSloped(const TVRMPolyhedron3d& solid)
{
    auto d = std::make_shared<TSlopedSolid>();
    TSlopedSolid& s = *d;
    if (!AsSloped(solid, s))
        return nullptr;
    d->single = s.top.size() == 1 && s.bottom.size() == 1 && SamePlan(*s.top[0].plan, *s.bottom[0].plan);
    d->outline = s.bottom[0].plan;
    for (size_t i = 1; i < s.bottom.size(); ++i)
        d->outline = PlanBoolean(*d->outline, *s.bottom[i].plan, CVRMBoolUnion);
    d->area = d->outline->Area();
    if (!Monotone(solid, s, *d->outline, d->area))
        return nullptr;
    return d;
}

// A sloped solid against a plan: what the operation leaves of its outline (the plan of the
// result) and of each top and bottom face's plan.
struct TSlopedCut {
    std::shared_ptr<const TVRMMultiPolygon2d> plan;
    std::vector<TSlopedFace> top, bottom;
};

// The box of a plan that is one rectangle along the axes (either orientation), else false.
bool AsRectangle(const TVRMMultiPolygon2d& plan, TVRMBox2d& box)
{
    if (plan.GetCount() != 1)
        return false;
    const auto& v = plan.GetItems(0).Vertices();
    if (v.size() != 4 || v[0].IsArc() || v[1].IsArc() || v[2].IsArc() || v[3].IsArc())
        return false;
    const TVRMPoint2d &a = v[0].pt, &b = v[1].pt, &c = v[2].pt, &d = v[3].pt;
    if (!(a.x == b.x && b.y == c.y && c.x == d.x && d.y == a.y) &&
        !(a.y == b.y && b.x == c.x && c.y == d.y && d.x == a.x))
        return false;
    box.min = {std::min(a.x, c.x), std::min(a.y, c.y)};
    box.max = {std::max(a.x, c.x), std::max(a.y, c.y)};
    return box.min.x < box.max.x && box.min.y < box.max.y;
}

// r - c or r * c of two rectangles along the axes, as the grid gives it (rings counter-clockwise
// from their lowest, leftmost corner, holes clockwise from theirs, in the order of those corners
// by y, then x). False when the grid would merge their coordinates or find them too close.
// Whether sorted axis values are lines of one grid as they are (none merged, none too close).
bool OnGridAsTheyAre(const double* v, size_t n)
{
    for (size_t i = 0; i + 1 < n; ++i)
        if (v[i] != v[i + 1] && !TGridBoolean::Apart(v[i], v[i + 1]))
            return false;
    return true;
}

// r - c or r * c (kind) of boxes whose sides lie on one grid as they are.
void CutBox(const TVRMBox2d& r, const TVRMBox2d& c, int kind, TVRMMultiPolygon2d& out);

bool CutRectangle(const TVRMMultiPolygon2d& plan, const TVRMMultiPolygon2d& cut, int kind, TVRMMultiPolygon2d& out)
{
    TVRMBox2d r, c;
    if (kind == CVRMBoolUnion || !AsRectangle(plan, r) || !AsRectangle(cut, c))
        return false;
    for (bool x : {true, false}) {
        double v[4] = {x ? r.min.x : r.min.y, x ? r.max.x : r.max.y, x ? c.min.x : c.min.y, x ? c.max.x : c.max.y};
        std::sort(v, v + 4);
        if (!OnGridAsTheyAre(v, 4))
            return false;
    }
    CutBox(r, c, kind, out);
    return true;
}

void CutBox(const TVRMBox2d& r, const TVRMBox2d& c, int kind, TVRMMultiPolygon2d& out)
{
    // The part of c over r.
    const double x0 = r.min.x, y0 = r.min.y, x1 = r.max.x, y1 = r.max.y;
    const double ox0 = std::max(x0, c.min.x), oy0 = std::max(y0, c.min.y);
    const double ox1 = std::min(x1, c.max.x), oy1 = std::min(y1, c.max.y);
    const bool meet = ox0 < ox1 && oy0 < oy1;
    auto ring = [&out](std::initializer_list<TVRMPoint2d> points) {
        out.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>(points)));
    };
    auto box = [&ring](double a0, double b0, double a1, double b1) { ring({{a0, b0}, {a1, b0}, {a1, b1}, {a0, b1}}); };
    if (kind == CVRMBoolIntersect) {
        if (meet)
            box(ox0, oy0, ox1, oy1);
        return;
    }
    if (!meet) {
        box(x0, y0, x1, y1);
        return;
    }
    // The sides of r that the part reaches.
    const bool left = ox0 == x0, right = ox1 == x1, bottom = oy0 == y0, top = oy1 == y1;
    if (left && right) {  // across r: what is below, then what is above
        if (!bottom)
            box(x0, y0, x1, oy0);
        if (!top)
            box(x0, oy1, x1, y1);
        return;
    }
    if (bottom && top) {  // up through r: what is left of it, then what is right
        if (!left)
            box(x0, y0, ox0, y1);
        if (!right)
            box(ox1, y0, x1, y1);
        return;
    }
    if (left && bottom)
        ring({{ox1, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, oy1}, {ox1, oy1}});
    else if (right && bottom)
        ring({{x0, y0}, {ox0, y0}, {ox0, oy1}, {x1, oy1}, {x1, y1}, {x0, y1}});
    else if (right && top)
        ring({{x0, y0}, {x1, y0}, {x1, oy0}, {ox0, oy0}, {ox0, y1}, {x0, y1}});
    else if (left && top)
        ring({{x0, y0}, {x1, y0}, {x1, y1}, {ox1, y1}, {ox1, oy0}, {x0, oy0}});
    else if (bottom)
        ring({{x0, y0}, {ox0, y0}, {ox0, oy1}, {ox1, oy1}, {ox1, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
    else if (top)
        ring({{x0, y0}, {x1, y0}, {x1, y1}, {ox1, y1}, {ox1, oy0}, {ox0, oy0}, {ox0, y1}, {x0, y1}});
    else if (left)
        ring({{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}, {x0, oy1}, {ox1, oy1}, {ox1, oy0}, {x0, oy0}});
    else if (right)
        ring({{x0, y0}, {x1, y0}, {x1, oy0}, {ox0, oy0}, {ox0, oy1}, {x1, oy1}, {x1, y1}, {x0, y1}});
    else {  // inside r: a hole
        box(x0, y0, x1, y1);
        ring({{ox0, oy0}, {ox0, oy1}, {ox1, oy1}, {ox1, oy0}});
    }
}

// Every face's plan, the outline and the cut rectangles along the axes whose sides lie on one
// grid as they are (a slab sloped along an axis, its leaning edges): rectangle by rectangle.
bool CutRectangles(const TSlopedSolid& d, const TVRMMultiPolygon2d& cut, int kind, TSlopedCut& out)
{
    thread_local std::vector<TVRMBox2d> boxes;
    thread_local std::vector<double> xs, ys;
    TVRMBox2d c, o;
    if (kind == CVRMBoolUnion || !AsRectangle(cut, c) || !AsRectangle(*d.outline, o))
        return false;
    boxes.clear(), xs.clear(), ys.clear();
    auto add = [](const TVRMBox2d& b) {
        xs.push_back(b.min.x), xs.push_back(b.max.x), ys.push_back(b.min.y), ys.push_back(b.max.y);
    };
    for (const auto* faces : {&d.top, &d.bottom})
        for (const auto& f : *faces) {
            if (!AsRectangle(*f.plan, boxes.emplace_back()))
                return false;
            add(boxes.back());
        }
    // The outline's sides are sides of the bottom faces (the union the grid gives).
    auto among = [](const std::vector<double>& v, double a) { return std::find(v.begin(), v.end(), a) != v.end(); };
    if (!among(xs, o.min.x) || !among(xs, o.max.x) || !among(ys, o.min.y) || !among(ys, o.max.y))
        return false;
    add(c);
    for (auto* v : {&xs, &ys}) {
        std::sort(v->begin(), v->end());
        if (!OnGridAsTheyAre(v->data(), v->size()))
            return false;
    }
    size_t k = 0;
    for (const auto* faces : {&d.top, &d.bottom})
        for (const auto& f : *faces) {
            auto piece = std::make_shared<TVRMMultiPolygon2d>();
            CutBox(boxes[k++], c, kind, *piece);
            if (!piece->IsEmpty())
                (faces == &d.top ? out.top : out.bottom).push_back({f.plane, std::move(piece), f.origin});
        }
    auto rest = std::make_shared<TVRMMultiPolygon2d>();
    CutBox(o, c, kind, *rest);
    out.plan = std::move(rest);
    return true;
}

// On one grid, when every plan is for it.
bool CutOnGrid(const TSlopedSolid& d, const TVRMMultiPolygon2d& cut, int kind, TSlopedCut& out)
{
    const TSlopedSolid& s = d;
    TGridBoolean& grid = TGridBoolean::Local();
    thread_local struct {
        std::vector<const TVRMMultiPolygon2d*> plans;
        std::vector<char> cutCells, outline, in;
    } buffers;
    auto& [plans, cutCells, outline, in] = buffers;
    // One top and one bottom face over the same plan (a right prism between two planes: a
    // gradient beam, a slab sloped as a whole): that plan is the outline, and what the cut
    // leaves of it is the plan of the result, of its top and of its bottom alike.
    if (d.single) {
        const TVRMMultiPolygon2d& plan = *d.outline;
        auto rest = std::make_shared<TVRMMultiPolygon2d>();
        if (!CutRectangle(plan, cut, kind, *rest)) {
            plans.assign({&cut, &plan});
            if (!grid.Prepare(plans))
                return false;
            grid.Cells(cut, cutCells);
            grid.Cells(plan, in);
            TGridBoolean::Combine(in, cutCells, kind);
            if (!grid.Trace(in, *rest))
                return false;
        }
        out.plan = rest;
        if (!rest->IsEmpty()) {
            out.top.push_back({s.top[0].plane, rest, s.top[0].origin});
            out.bottom.push_back({s.bottom[0].plane, rest, s.bottom[0].origin});
        }
        return true;
    }
    if (CutRectangles(d, cut, kind, out))
        return true;
    plans.assign(1, &cut);
    for (const auto* faces : {&s.top, &s.bottom})
        for (const auto& f : *faces)
            plans.push_back(f.plan.get());
    if (!grid.Prepare(plans))
        return false;
    grid.Cells(cut, cutCells);
    outline.assign(cutCells.size(), 0);
    for (const auto* faces : {&s.top, &s.bottom})
        for (const auto& f : *faces) {
            grid.Cells(*f.plan, in);
            if (faces == &s.bottom)
                TGridBoolean::Combine(outline, in, CVRMBoolUnion);
            TGridBoolean::Combine(in, cutCells, kind);
            auto piece = std::make_shared<TVRMMultiPolygon2d>();
            if (!grid.Trace(in, *piece))
                return false;
            if (!piece->IsEmpty())
                (faces == &s.top ? out.top : out.bottom).push_back({f.plane, std::move(piece), f.origin});
        }
    TGridBoolean::Combine(outline, cutCells, kind);
    auto rest = std::make_shared<TVRMMultiPolygon2d>();
    if (!grid.Trace(outline, *rest))
        return false;
    out.plan = std::move(rest);
    return true;
}

// By plan booleans.
void CutByPlanBooleans(const TSlopedSolid& d, const TVRMMultiPolygon2d& cut, int kind, TSlopedCut& out)
{
    out.plan = PlanBoolean(*d.outline, cut, kind);
    const TVRMBox2d cutBox = cut.Box();  // arcs of the cut bulge past its vertices
    for (const auto* faces : {&d.top, &d.bottom})
        for (const auto& f : *faces) {
            const TVRMBox2d fb = VertexBox(*f.plan);
            auto& pieces = faces == &d.top ? out.top : out.bottom;
            if (fb.max.x < cutBox.min.x || fb.min.x > cutBox.max.x || fb.max.y < cutBox.min.y ||
                fb.min.y > cutBox.max.y) {
                if (kind == CVRMBoolSubtract)
                    pieces.push_back(f);
                continue;
            }
            std::shared_ptr<const TVRMMultiPolygon2d> piece = PlanBoolean(*f.plan, cut, kind);
            if (!piece->IsEmpty())
                pieces.push_back({f.plane, std::move(piece), f.origin});
        }
}

// The rings of a face's plan lifted onto its plane (counter-clockwise seen from above),
// with their edges (when asked for).
std::vector<TVRMLoop3d> LiftPlan(const TSlopedFace& face, std::vector<TEdge3>* edges)
{
    std::vector<TVRMLoop3d> loops;
    loops.reserve(face.plan->Items().size());
    for (const auto& item : face.plan->Items()) {
        TVRMLoop3d l;
        l.reserve(item.Vertices().size());
        for (const auto& v : item.Vertices())
            l.push_back({v.pt.x, v.pt.y, HeightOn(face.plane, v.pt)});
        for (size_t i = 0; edges && i < l.size(); ++i)
            edges->push_back({l[i], l[i + 1 < l.size() ? i + 1 : 0]});
        loops.push_back(std::move(l));
    }
    return loops;
}

// The edges of `edges` along the plan segment p-q, in its direction, from p to q in order;
// false when they do not cover it end to end.
bool EdgesAlong(const std::vector<TEdge3>& edges, const TVRMPoint2d& p, const TVRMPoint2d& q,
                std::vector<std::pair<double, const TEdge3*>>& along)
{
    constexpr double kOn = 1e-6;  // mm off the segment
    const TVRMVector2d d = q - p;
    const double length = std::sqrt(d.x * d.x + d.y * d.y);
    along.clear();
    for (const auto& e : edges) {
        const TVRMPoint2d a{e.from.x, e.from.y}, b{e.to.x, e.to.y};
        if (std::fabs(d.CrossProduct(a - p)) > kOn * length || std::fabs(d.CrossProduct(b - p)) > kOn * length)
            continue;
        const double ta = d.InnerProduct(a - p) / length, tb = d.InnerProduct(b - p) / length;
        if (tb > ta && ta >= -kOn && tb <= length + kOn)
            along.push_back({ta, &e});
    }
    std::sort(along.begin(), along.end(), [](const auto& x, const auto& y) { return x.first < y.first; });
    auto at = [](const TVRMPoint3d& x, const TVRMPoint2d& y) {
        return std::fabs(x.x - y.x) <= kOn && std::fabs(x.y - y.y) <= kOn;
    };
    if (along.empty() || !at(along.front().second->from, p) || !at(along.back().second->to, q))
        return false;
    for (size_t i = 1; i < along.size(); ++i)
        if (!at(along[i].second->from, {along[i - 1].second->to.x, along[i - 1].second->to.y}))
            return false;
    return true;
}

// The first of `sides` (by face) that a face over the plan edge p-q, running the same way,
// holds at `m`, the plan point where RestoreOrigins probes the face (the middle of its loop's
// first edge, moved into the face by at most 1e-3); -1 when there is none, -2 when the probe
// might fall on either side of a side's end (a search settles that).
int SideUnder(const std::vector<TSlopedSide>& sides, const TVRMPoint2d& p, const TVRMPoint2d& q, const TVRMPoint2d& m)
{
    constexpr double kOn = 1e-6;     // mm off the edge
    constexpr double kProbe = 2e-3;  // mm: the probe's reach past m, and then some
    const TVRMVector2d e = q - p;
    for (const auto& s : sides) {
        const TVRMVector2d d = s.q - s.p;
        const double length = s.length;
        if (!(d.InnerProduct(e) > 0) || std::fabs(d.CrossProduct(p - s.p)) > kOn * length ||
            std::fabs(d.CrossProduct(q - s.p)) > kOn * length)
            continue;
        const double t = d.InnerProduct(m - s.p) / length;
        if (t < -kProbe || t > length + kProbe)
            continue;
        return t > kProbe && t < length - kProbe ? s.face : -2;
    }
    return -1;
}

// Faces whose origin is known into the order RestoreOrigins gives them (by that origin, in
// order of building among the pieces of one face), the rest after them in order: there is
// then little or nothing left for it to reorder.
void OrderByOrigin(std::vector<TVRMFace3d>& faces, std::vector<int>& known)
{
    const int n = static_cast<int>(faces.size());
    auto rank = [&known](int k) {
        return known[k] >= 0 ? known[k] : known[k] <= -2 ? -2 - known[k] : std::numeric_limits<int>::max();
    };
    int k = 1;
    while (k < n && rank(k - 1) <= rank(k))
        ++k;
    if (k >= n)
        return;
    thread_local std::vector<int> order, ranks;
    thread_local std::vector<char> done;
    order.resize(n), ranks.resize(n);
    for (int i = 0; i < n; ++i)
        order[i] = i, ranks[i] = rank(i);
    for (int i = 1; i < n; ++i)  // insertion sort: stable, without a buffer
        for (int j = i; j > 0 && ranks[order[j - 1]] > ranks[order[j]]; --j)
            std::swap(order[j - 1], order[j]);
    // Position p takes the face built as order[p]: cycle by cycle.
    done.assign(n, 0);
    for (int i = 0; i < n; ++i) {
        if (done[i])
            continue;
        TVRMFace3d face = std::move(faces[i]);
        const int first = known[i];
        int j = i;
        for (;;) {
            done[j] = 1;
            const int from = order[j];
            if (from == i) {
                faces[j] = std::move(face);
                known[j] = first;
                break;
            }
            faces[j] = std::move(faces[from]);
            known[j] = known[from];
            j = from;
        }
    }
}

// The solid over `plan` between the top and bottom faces over it (their plans cover it once):
// those faces, and an upright face on every plan edge from the bottom up to the top. `known`
// takes per face -2 - i for a piece of the subject's face i (an upright one found among the
// subject's sides), -2 - (n + j) for a piece of the other operand's face j (found among its
// sides `others`; n: the subject's face count), or -1 (to be looked for). An upright face of
// `subject` the result keeps as it is (an end the cut passes by) is left empty, with its index in
// `known`, for TakeFaces to move in.
bool BuildSloped(const TVRMMultiPolygon2d& plan, const std::vector<TSlopedFace>& top,
                 const std::vector<TSlopedFace>& bottom, const std::vector<TSlopedSide>& sides,
                 const std::vector<TSlopedSide>& others, const TVRMPolyhedron3d& subject, TVRMPolyhedron3d& result,
                 std::vector<int>& known)
{
    const int n = subject.GetFaceCount();
    std::vector<TVRMFace3d> faces;
    faces.reserve(top.size() + bottom.size() + static_cast<size_t>(plan.GetEdgeCount()));
    // One top and one bottom over the plan itself: each plan edge is an edge of both.
    const bool single =
        top.size() == 1 && bottom.size() == 1 && SamePlan(plan, *top[0].plan) && SamePlan(plan, *bottom[0].plan);
    thread_local std::vector<TEdge3> upper, lower;
    upper.clear(), lower.clear();
    known.clear();
    for (const auto& f : top) {
        faces.emplace_back(f.plane, LiftPlan(f, single ? nullptr : &upper));
        known.push_back(f.origin >= 0 ? -2 - f.origin : -1);
    }
    for (const auto& f : bottom) {
        std::vector<TVRMLoop3d> loops = LiftPlan(f, single ? nullptr : &lower);
        for (auto& l : loops)
            std::reverse(l.begin(), l.end());
        faces.emplace_back(f.plane, std::move(loops));
        known.push_back(f.origin >= 0 ? -2 - f.origin : -1);
    }
    thread_local std::vector<std::pair<double, const TEdge3*>> above, below;
    TVRMLoop3d loop;
    for (const auto& item : plan.Items()) {
        const auto& v = item.Vertices();
        for (size_t i = 0; i < v.size(); ++i) {
            const TVRMPoint2d &p = v[i].pt, &q = v[i + 1 < v.size() ? i + 1 : 0].pt;
            if (v[i].IsArc() || (!single && (!EdgesAlong(upper, p, q, above) || !EdgesAlong(lower, p, q, below))))
                return false;
            // Along the bottom from p to q, back along the top; points where top meets bottom once.
            loop.clear();
            auto add = [&loop](const TVRMPoint3d& x) {
                if (loop.empty() || !loop.back().IsEqualTo(x, kMergeTol))
                    loop.push_back(x);
            };
            if (single) {
                add({p.x, p.y, HeightOn(bottom[0].plane, p)});
                add({q.x, q.y, HeightOn(bottom[0].plane, q)});
                add({q.x, q.y, HeightOn(top[0].plane, q)});
                add({p.x, p.y, HeightOn(top[0].plane, p)});
            } else {
                add(below.front().second->from);
                for (const auto& e : below)
                    add(e.second->to);
                add(above.back().second->to);
                for (auto it = above.rbegin(); it != above.rend(); ++it)
                    add(it->second->from);
            }
            if (loop.size() > 1 && loop.back().IsEqualTo(loop.front(), kMergeTol))
                loop.pop_back();
            if (loop.size() < 3)
                continue;
            // Its area in the upright plane: along the edge times height.
            const TVRMVector2d d = q - p;
            const double length = std::sqrt(d.x * d.x + d.y * d.y);
            double area = 0;
            for (size_t k = 0; k < loop.size(); ++k) {
                const TVRMPoint3d &s = loop[k], &t = loop[k + 1 < loop.size() ? k + 1 : 0];
                const double ts = d.InnerProduct(TVRMPoint2d{s.x, s.y} - p) / length;
                const double tt = d.InnerProduct(TVRMPoint2d{t.x, t.y} - p) / length;
                area += ts * t.z - tt * s.z;
            }
            if (std::fabs(area) / 2 <= CVRMEpsilon * length)
                continue;  // top meets bottom along the edge
            const TVRMPoint2d m{(loop[0].x + loop[1].x) / 2, (loop[0].y + loop[1].y) / 2};
            if (const int side = SideUnder(sides, p, q, m); side != -1) {
                if (side >= 0 && subject.GetFace(side).GetLoopCount() == 1 &&
                    subject.GetFace(side).GetLoop(0) == loop) {
                    faces.emplace_back();  // the subject's face, moved in later
                    known.push_back(side);
                    continue;
                }
                known.push_back(side >= 0 ? -2 - side : -1);
            } else {
                const int other = SideUnder(others, p, q, m);
                known.push_back(other >= 0 ? -2 - (n + other) : -1);
            }
            faces.emplace_back(TVRMPlane3d({d.y, -d.x, 0}, {p.x, p.y, 0}), std::vector<TVRMLoop3d>{loop});
        }
    }
    OrderByOrigin(faces, known);
    result = TVRMPolyhedron3d(std::move(faces));
    return true;
}

// The description of a result BuildSloped built over the cut `c` (its faces ordered by
// RestoreOrigins, `known` with them): pieces of the top and bottom keep their order among the
// pieces of one face. Nil when the result is not such a solid again (a curved facet of the
// other operand on a side, no sloped face left).
std::shared_ptr<const TSlopedSolid> DescribeResult(const TVRMPolyhedron3d& result, TSlopedCut& c, double area,
                                                   const std::vector<int>& known)
{
    auto d = std::make_shared<TSlopedSolid>();
    const bool single = c.top.size() == 1 && c.bottom.size() == 1;
    if (single) {
        d->top = std::move(c.top);
        d->bottom = std::move(c.bottom);
    }
    thread_local std::vector<char> used;
    used.assign(c.top.size() + c.bottom.size(), 0);
    d->sides.reserve(result.GetFaceCount());
    const bool walked = WalkSlopedFaces(result, d->sides, [&](const TVRMFace3d&, int k, bool up) {
        if (single) {
            (up ? d->top : d->bottom)[0].origin = k;
            return true;
        }
        const int origin = known[k] <= -2 ? -2 - known[k] : -1;
        auto& pieces = up ? c.top : c.bottom;
        const size_t first = up ? 0 : c.top.size();
        size_t j = 0;
        while (j < pieces.size() && (used[first + j] || pieces[j].origin != origin))
            ++j;
        if (j == pieces.size())
            return false;
        used[first + j] = 1;
        (up ? d->top : d->bottom).push_back({pieces[j].plane, pieces[j].plan, k});
        return true;
    });
    if (!walked || d->top.empty() || d->bottom.empty())
        return nullptr;
    d->outline = c.plan;
    d->area = area;
    d->single = d->top.size() == 1 && d->bottom.size() == 1 && SamePlan(*d->top[0].plan, *c.plan) &&
                SamePlan(*d->bottom[0].plan, *c.plan);
    return d;
}

// The plan of a vertical prism of one layer, or nil.
std::shared_ptr<const TVRMMultiPolygon2d> PrismPlan(const TVRMPolyhedron3d& b, double volume)
{
    if (const TSolidCache* cache = CacheOf(b).get(); cache && cache->plan)
        return cache->plan;
    TStack sb;
    if (!AsStack(b, volume, sb) || sb.plans.size() != 1)
        return nullptr;
    return sb.plans[0];
}

// a - b or a * b where a is such a solid and b one vertical prism reaching from below a's
// lowest point to above its highest: the plan boolean under a's top and bottom faces. The
// result qualifies again (and comes with its description). False for anything else.
bool SlopedBoolean(TVRMPolyhedron3d& a, const TVRMBox3d& box, const TVRMPolyhedron3d& b, const TPlanarMeasure& mb,
                   int kind, TVRMPolyhedron3d& result)
{
    if (kind == CVRMBoolUnion)
        return false;
    if (mb.box.min.z > box.min.z || mb.box.max.z < box.max.z)
        return false;
    const std::shared_ptr<const TVRMMultiPolygon2d> cut = PrismPlan(b, mb.volume);
    if (!cut)
        return false;
    std::shared_ptr<const TSlopedSolid> own;
    const TSlopedSolid* d = nullptr;
    if (const TSolidCache* cache = CacheOf(a).get())
        d = cache->Sloped(a, DescribeSloped);
    else
        d = (own = DescribeSloped(a)).get();
    if (!d)
        return false;
    TSlopedCut c;
    if (!CutOnGrid(*d, *cut, kind, c)) {
        c = TSlopedCut();
        CutByPlanBooleans(*d, *cut, kind, c);
    }
    const double area = c.plan->Area();
    if (kind == CVRMBoolSubtract && area >= d->area - CVRMZero * std::max(1.0, d->area)) {
        result = a;  // nothing in common
        return true;
    }
    if (c.plan->IsEmpty()) {
        result = TVRMPolyhedron3d();
        return true;
    }
    // The upright faces of b as a result's faces on them run: against them for a difference.
    thread_local std::vector<TSlopedSide> others;
    others.clear();
    for (int k = 0; k < b.GetFaceCount(); ++k)
        if (const TVRMFace3d& f = b.GetFace(k); std::fabs(f.GetNormal().z) <= kFlat) {
            others.push_back(SideOf(f, k));
            if (kind == CVRMBoolSubtract)
                std::swap(others.back().p, others.back().q);
        }
    thread_local std::vector<int> known;
    const int n = a.GetFaceCount();
    if (!BuildSloped(*c.plan, c.top, c.bottom, d->sides, others, a, result, known))
        return false;
    if (std::find(known.begin(), known.end(), -1) == known.end()) {
        // Every origin named, the faces in their order: what RestoreOrigins would give.
        for (int k = 0; k < result.GetFaceCount(); ++k) {
            if (known[k] >= 0)
                continue;  // a's face, moved in below
            TVRMFace3d& face = result.GetFace(k);
            const int i = -2 - known[k];
            face.SetTag(i < n ? a.GetFace(i).GetTag() : -1);
            InheritArc(i < n ? a.GetFace(i) : b.GetFace(i - n), face);
        }
    } else {
        for (int& i : known)
            i = i <= -2 - n ? -1 : i;  // faces on b are looked for
        RestoreOrigins(result, a, b, kind, &known);
    }
    if (std::any_of(known.begin(), known.end(), [](int i) { return i >= 0; }))
        TakeFaces(result, known, a);  // a is replaced by the result
    auto cache = std::make_shared<TSolidCache>();
    cache->measured = false;  // measured when read
    if (auto described = DescribeResult(result, c, area, known))
        cache->SetSloped(std::move(described));  // else worked out from the faces when asked for
    SetCache(result, std::move(cache));
    return true;
}

// Union of solids that share no volume: both sets of faces (those of b tagged -1).
void AppendFaces(TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b)
{
    for (TVRMFace3d f : b.GetFaces()) {
        f.SetTag(-1);
        a.AddFace(std::move(f));
    }
}

}  // namespace

bool TVRMNewPolyBooleanOperator::BooleanOperate(TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, int)
{
    return BooleanOperate(a, b, kind, TVRMBooleanPath::Auto);
}

bool TVRMNewPolyBooleanOperator::BooleanOperate(TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind,
                                                TVRMBooleanPath path)
{
    QTK_ASSERT(kind >= CVRMBoolIntersect && kind <= CVRMBoolSubtract);
    // An operand without volume (flat, folded, non-finite) is the empty solid: A - 0 = A,
    // A * 0 = 0, A + 0 = A, 0 - B = 0, 0 + B = B. No such mesh reaches an engine.
    const TPlanarMeasure ma = MeasureOf(a), mb = MeasureOf(b);
    const bool emptyA = !a.HasFaces() || IsFlat(ma), emptyB = !b.HasFaces() || IsFlat(mb);
    if (emptyA) {
        std::vector<int32_t> data = kind == CVRMBoolIntersect ? std::vector<int32_t>{} : a.GetData();
        a.Clear();
        if (kind == CVRMBoolUnion && !emptyB)
            AppendFaces(a, b);
        a.SetData(std::move(data));
        return true;
    }
    // Trivial cases: an empty operand, or solids whose boxes do not overlap.
    if (emptyB || !ma.box.Meets(mb.box, 0)) {
        if (kind == CVRMBoolIntersect)
            a.Clear();
        else if (kind == CVRMBoolUnion && !emptyB)
            AppendFaces(a, b);
        return true;
    }
    TVRMPolyhedron3d result;
    bool done = false;
    if (path != TVRMBooleanPath::General) {
        try {
            done =
                StackBoolean(a, ma.volume, b, mb.volume, kind, result) || SlopedBoolean(a, ma.box, b, mb, kind, result);
        } catch (const EVRMIntersectException&) {
            done = false;
        }
        if (!done && path == TVRMBooleanPath::Prism)
            return false;
    }
    if (!done && !CorefineBoolean(a, b, kind, result)) {
        // Solids that only touch along an edge or at a point have no manifold
        // union; their union is both sets of faces.
        if (kind != CVRMBoolUnion || Position(a, b) != 2)
            return false;
        result = a;
        AppendFaces(result, b);
    }
    result.SetData(a.GetData());
    a = std::move(result);
    return true;
}

bool TVRMNewPolyBooleanOperator::BooleanOperate(TVRMPolyhedronShell3d& shell, const TVRMPolyhedron3d& solid, int kind,
                                                int superpositionKinds, int)
{
    QTK_ASSERT_MSG(kind == CVRMBoolIntersect || kind == CVRMBoolSubtract, "union is not defined for shells");
    int unresolved = 0;
    if (kind == CVRMBoolSubtract)
        shell.Subtract(solid, superpositionKinds, &unresolved);
    else
        shell.Intersect(solid, superpositionKinds, &unresolved);
    return unresolved == 0;
}

namespace {

// The vertical prism over the region between two lines, reaching past `box` in height.
std::unique_ptr<TVRMPolyhedron3d> BetweenLines(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right,
                                               TVRMBox3d box)
{
    box.min.z -= 1000;
    box.max.z += 1000;
    return TVRMPolyhedron3d::BuildCutPolyhedron(left, right, box);
}

}  // namespace

bool TVRMNewPolyBooleanOperator::Cut(TVRMPolyhedron3d& solid, const TVRMCustomLine2d& left,
                                     const TVRMCustomLine2d& right)
{
    if (!solid.HasFaces())
        return true;
    auto region = BetweenLines(left, right, solid.GetBox());
    return BooleanOperate(solid, *region, CVRMBoolIntersect, TVRMBooleanPath::Auto);
}

bool TVRMNewPolyBooleanOperator::Cut(TVRMPolyhedronShell3d& shell, const TVRMCustomLine2d& left,
                                     const TVRMCustomLine2d& right, int superpositionKinds)
{
    TVRMBox3d box;
    for (const auto& f : shell.GetFaces())
        box.Extend(f.GetBox());
    if (!box.IsValid())
        return true;
    auto region = BetweenLines(left, right, box);
    shell.Intersect(*region, superpositionKinds);
    return true;
}

int Position(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, double tol)
{
    if (!SolidsMeet(a, b, tol))
        return 0;
    TVRMPolyhedron3d common = a;
    if (!TVRMNewPolyBooleanOperator::BooleanOperate(common, b, CVRMBoolIntersect, TVRMBooleanPath::Auto))
        return 1;
    const double scale = std::min(std::fabs(a.GetVolume()), std::fabs(b.GetVolume()));
    return common.GetVolume() > tol * std::max(1.0, scale) ? 1 : 2;
}
