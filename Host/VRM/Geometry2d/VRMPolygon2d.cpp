#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMGeom2dUtils.h"
#include "Host/VRM/VRMCommon2d.h"

using namespace VRMGeom2d;

namespace {

// Ring from closed edges (each edge's start with its arc data).
std::vector<TVRMVertex2d> VerticesOfEdges(const std::vector<TVRMCustomLine2d>& edges)
{
    std::vector<TVRMVertex2d> vertices;
    vertices.reserve(edges.size());
    for (const TVRMCustomLine2d& e : edges)
        vertices.push_back({e.StartPt(), e.Radius(), e.ArcKind()});
    return vertices;
}

// Area between an arc and its chord, signed: positive when the arc bulges to the right of its
// chord (a counter-clockwise arc), which adds to a counter-clockwise ring.
double ArcSegmentArea(const TVRMCustomLine2d& e)
{
    const TVRMArcData d = e.GetArcData();
    if (!d.valid)
        return 0.0;
    const double r = e.Radius();
    return d.sense * r * r * (d.sweep - std::sin(d.sweep)) / 2.0;
}

// Twice the area over the perimeter (the width of a long strip) above tol, as Normalize asks.
// The perimeter is summed exactly (Perimeter) only when a sum of square roots, the same within a
// few units in the last place, leaves the answer open.
bool WideEnough(const TVRMPolygon2d& ring, bool arcs, double tol) noexcept
{
    const std::vector<TVRMVertex2d>& vertices = ring.Vertices();
    double twiceArea, bound = 0.0;
    const size_t n = vertices.size();
    if (arcs) {
        twiceArea = 2.0 * ring.Area();
        for (size_t i = 0; i < n; ++i) {
            const TVRMVertex2d& v = vertices[i];
            if (v.IsArc()) {
                bound += ring.GetEdge(static_cast<int>(i)).Length();
            } else {
                const TVRMVector2d d = vertices[i + 1 < n ? i + 1 : 0].pt - v.pt;
                bound += std::sqrt(d.InnerProduct(d));
            }
        }
    } else {
        // Straight edges only: the area as SignArea sums it (no arc segments), in one walk.
        const TVRMPoint2d o = vertices[0].pt;
        double twice = 0.0;
        TVRMVector2d from = vertices[0].pt - o;  // p - o for the edge's start p
        for (size_t i = 0; i < n; ++i) {
            const TVRMPoint2d &p = vertices[i].pt, &q = vertices[i + 1 < n ? i + 1 : 0].pt;
            const TVRMVector2d to = q - o;
            twice += from.CrossProduct(to);
            from = to;
            const TVRMVector2d d = q - p;
            bound += std::sqrt(d.InnerProduct(d));
        }
        twiceArea = 2.0 * std::abs(twice / 2.0 + 0.0);
    }
    if (bound > 0.0 && twiceArea > tol * bound * (1.0 + 1e-9))
        return true;
    const double perimeter = ring.Perimeter();
    return !(perimeter <= 0.0) && !(twiceArea / perimeter <= tol);
}

// Points read as straight-edge vertices: a vertex list built from them in one pass.
struct TStraightVertices {
    using iterator_category = std::forward_iterator_tag;
    using value_type = TVRMVertex2d;
    using difference_type = std::ptrdiff_t;
    using pointer = const TVRMVertex2d*;
    using reference = TVRMVertex2d;

    const TVRMPoint2d* at = nullptr;

    TVRMVertex2d operator*() const noexcept { return {*at}; }
    TStraightVertices& operator++() noexcept
    {
        ++at;
        return *this;
    }
    TStraightVertices operator++(int) noexcept
    {
        TStraightVertices was = *this;
        ++at;
        return was;
    }
    bool operator==(const TStraightVertices&) const noexcept = default;
};

template <class F>
double SumOverRings(const std::vector<TVRMPolygon2d>& rings, F measure) noexcept
{
    double sum = 0.0;
    for (const TVRMPolygon2d& ring : rings)
        sum += measure(ring);
    return sum;
}

}  // namespace

TVRMPolygon2d::TVRMPolygon2d(const std::vector<TVRMPoint2d>& points)
    : vertices_(TStraightVertices{points.data()}, TStraightVertices{points.data() + points.size()})
{
}

TVRMPolygon2d TVRMPolygon2d::CreateBetweenLines(const TVRMCustomLine2d& first, const TVRMCustomLine2d& second)
{
    TVRMPolygon2d ring(VerticesOfEdges({first, TVRMCustomLine2d(first.EndPt(), second.EndPt()), second.Reversed(),
                                        TVRMCustomLine2d(second.StartPt(), first.StartPt())}));
    if (ring.IsClockwise())
        ring.Reverse();
    return ring;
}

TVRMPolygon2d TVRMPolygon2d::CreateBand(const TVRMCustomLine2d& line, double leftWidth, double rightWidth)
{
    TVRMCustomLine2d right, left;
    if (!TVRMOffsetFunc2d::Offset(line, rightWidth, right) || !TVRMOffsetFunc2d::Offset(line, -leftWidth, left))
        return TVRMPolygon2d();
    return CreateBetweenLines(right, left);
}

TVRMPolygon2d TVRMPolygon2d::CreateCircle(const TVRMPoint2d& center, double radius, bool hole)
{
    TVRMPolygon2d ring;
    if (!(radius > 0.0))
        return ring;
    const int kind = hole ? CVRMArcKindCWMajor : CVRMArcKindCCWMajor;
    ring.vertices_ = {{TVRMPoint2d{center.x + radius, center.y}, radius, kind},
                      {TVRMPoint2d{center.x - radius, center.y}, radius, kind}};
    ring.itemKind_ = TVRMPolygonKind::Circle;
    return ring;
}

const TVRMVertex2d& TVRMPolygon2d::GetVertex(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return vertices_[index];
}

void TVRMPolygon2d::Clear() noexcept
{
    normalized_ = false;
    vertices_.clear();
    itemKind_ = TVRMPolygonKind::Polygon;
}

TVRMCustomLine2d TVRMPolygon2d::GetEdge(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetEdgeCount());
    const TVRMVertex2d& v = vertices_[index];
    const TVRMVertex2d& w = vertices_[(index + 1) % vertices_.size()];
    return TVRMCustomLine2d(v.pt, w.pt, v.radius, v.kind);
}

std::vector<TVRMCustomLine2d> TVRMPolygon2d::GetEdges() const
{
    std::vector<TVRMCustomLine2d> edges;
    edges.reserve(vertices_.size());
    for (int i = 0; i < GetEdgeCount(); ++i)
        edges.push_back(GetEdge(i));
    return edges;
}

double TVRMPolygon2d::SignArea() const noexcept
{
    if (vertices_.size() < 2)
        return 0.0;
    // Shoelace relative to the first vertex (far from the origin this keeps the digits), plus
    // the segment between each arc and its chord.
    const TVRMPoint2d o = vertices_[0].pt;
    double twice = 0.0, segments = 0.0;
    const size_t n = vertices_.size();
    for (size_t i = 0; i < n; ++i) {
        const TVRMVertex2d& v = vertices_[i];
        const TVRMPoint2d& w = vertices_[i + 1 < n ? i + 1 : 0].pt;
        twice += (v.pt - o).CrossProduct(w - o);
        if (v.IsArc())
            segments += ArcSegmentArea(GetEdge(static_cast<int>(i)));
    }
    return twice / 2.0 + segments;
}

double TVRMPolygon2d::Area() const noexcept
{
    return std::abs(SignArea());
}

double TVRMPolygon2d::Perimeter() const noexcept
{
    // Edge by edge as TVRMCustomLine2d::Length measures them (straight ones without a line).
    double sum = 0.0;
    const size_t n = vertices_.size();
    for (size_t i = 0; i < n; ++i) {
        const TVRMVertex2d& v = vertices_[i];
        sum += v.IsArc() ? GetEdge(static_cast<int>(i)).Length() : v.pt.DistanceTo(vertices_[i + 1 < n ? i + 1 : 0].pt);
    }
    return sum;
}

TVRMBox2d TVRMPolygon2d::Box() const noexcept
{
    TVRMBox2d box = BoxOfLines(GetEdges());
    if (vertices_.size() == 1)
        box.Add(vertices_[0].pt);
    return box;
}

void TVRMPolygon2d::Reverse()
{
    normalized_ = false;
    if (GetEdgeCount() > 0)
        vertices_ = VerticesOfEdges(ReversedLines(GetEdges()));
}

bool TVRMPolygon2d::Normalize(double tol)
{
    return Normalize(tol, 0, 0);
}

bool TVRMPolygon2d::Normalize(double tol, size_t first, size_t count)
{
    normalized_ = false;
    // Arcs that cannot be drawn are measured as their chords; keep them straight.
    bool arcs = false;  // any arc left
    if (std::any_of(vertices_.begin(), vertices_.end(), [](const TVRMVertex2d& v) { return v.IsArc(); }))
        for (int i = 0; i < GetEdgeCount(); ++i)
            if (vertices_[i].IsArc()) {
                if (GetEdge(i).IsValidaty(tol))
                    arcs = true;
                else
                    vertices_[i].radius = 0.0, vertices_[i].kind = CVRMArcKindNone;
            }
    // The settled vertices, [settled, settledEnd): each would be kept as long as its neighbours
    // stay, so the passes step over them (what a pass decides does not change).
    size_t settled = first, settledEnd = std::min(first + count, vertices_.size());
    // Passes over the ring; after a removal the previous vertex is looked at again.
    const double far = 4.0 * tol * tol;
    bool changed = true;
    while (changed && vertices_.size() >= 2) {
        changed = false;
        for (size_t i = 0, n = vertices_.size(); i < n && n >= 2;) {
            if (i >= settled && i < settledEnd) {
                i = settledEnd;
                continue;
            }
            const TVRMVertex2d& prev = vertices_[i > 0 ? i - 1 : n - 1];
            const TVRMVertex2d& cur = vertices_[i];
            const TVRMVertex2d& next = vertices_[i + 1 < n ? i + 1 : 0];
            // The distances are taken exactly only near the tolerance: squares beyond four times
            // its square settle the rest alike.
            const TVRMVector2d edge = next.pt - cur.pt;
            bool remove = !(edge.InnerProduct(edge) > far) && cur.pt.DistanceTo(next.pt) <= tol;  // no length
            if (!remove && n >= 3 && (!arcs || (!prev.IsArc() && !cur.IsArc()))) {
                // A vertex on the straight run through its neighbours, or the tip of a spike.
                const TVRMVector2d chord = next.pt - prev.pt;
                const double off = chord.CrossProduct(cur.pt - prev.pt), chord2 = chord.InnerProduct(chord);
                if (!(chord2 > far && off * off > 4.0 * tol * tol * chord2)) {
                    const double len = chord.Length();
                    remove = len <= tol || std::abs(off) / len <= tol;
                }
            }
            if (remove) {
                vertices_.erase(vertices_.begin() + static_cast<std::ptrdiff_t>(i));
                // The settled vertices move down past i; those next to it lose a neighbour.
                if (settled < settledEnd) {
                    const bool wasLast = i + 1 == n;
                    if (i < settled)
                        --settled, --settledEnd;
                    if (settled == i || (wasLast && settled == 0))
                        ++settled;  // its previous vertex went
                    if (settledEnd == i || (i == 0 && settledEnd == n - 1))
                        --settledEnd;  // its next vertex went
                }
                n = vertices_.size();
                changed = true;
                i = i > 0 ? i - 1 : 0;
            } else {
                ++i;
            }
        }
    }
    const bool hasArc =
        arcs && std::any_of(vertices_.begin(), vertices_.end(), [](const TVRMVertex2d& v) { return v.IsArc(); });
    const bool enough = vertices_.size() >= 3 || (vertices_.size() == 2 && hasArc);
    if (!enough || !WideEnough(*this, hasArc, tol)) {
        Clear();
        return false;
    }
    if (itemKind_ == TVRMPolygonKind::Rectangle && vertices_.size() != 4)
        itemKind_ = TVRMPolygonKind::Polygon;
    normalized_ = tol == CVRMEpsilon;
    return true;
}

bool TVRMPolygon2d::IsRectangle(double tol) const noexcept
{
    if (itemKind_ == TVRMPolygonKind::Rectangle)
        return true;
    if (vertices_.size() != 4)
        return false;
    for (int i = 0; i < 4; ++i) {
        if (vertices_[i].IsArc())
            return false;
        const TVRMVector2d a = (vertices_[(i + 1) % 4].pt - vertices_[i].pt).Normal();
        const TVRMVector2d b = (vertices_[(i + 2) % 4].pt - vertices_[(i + 1) % 4].pt).Normal();
        if (a == TVRMVector2d{} || b == TVRMVector2d{} || std::abs(a.InnerProduct(b)) > tol)
            return false;
    }
    return true;
}

bool TVRMPolygon2d::IsCircle(double tol, double* radius, TVRMPoint2d* center) const
{
    if (GetEdgeCount() < 2)
        return false;
    TVRMPoint2d c0;
    double sweep = 0.0;
    const TVRMCustomLine2d first = GetEdge(0);
    if (!first.CenterPt(c0))
        return false;
    for (int i = 0; i < GetEdgeCount(); ++i) {
        const TVRMCustomLine2d e = GetEdge(i);
        const TVRMArcData d = e.GetArcData();
        if (!d.valid || !d.center.IsEqualTo(c0, tol) || !SameValue(e.Radius(), first.Radius(), tol) ||
            d.sense != first.GetArcData().sense)
            return false;
        sweep += d.sweep;
    }
    if (std::abs(sweep - TwoPi) * first.Radius() > tol)
        return false;
    if (radius)
        *radius = first.Radius();
    if (center)
        *center = c0;
    return true;
}

void TVRMPolygon2d::Move(const TVRMVector2d& v) noexcept
{
    normalized_ = false;
    for (TVRMVertex2d& vertex : vertices_)
        vertex.pt = vertex.pt + v;
}

TVRMRectangle2d::TVRMRectangle2d(const TVRMPoint2d& center, double halfA, double halfB, double angle)
{
    const double c = std::cos(angle), s = std::sin(angle);
    const double a = std::abs(halfA), b = std::abs(halfB);
    for (const auto& [u, v] : {std::pair{-a, -b}, std::pair{a, -b}, std::pair{a, b}, std::pair{-a, b}})
        vertices_.push_back({TVRMPoint2d{center.x + c * u - s * v, center.y + s * u + c * v}});
    itemKind_ = TVRMPolygonKind::Rectangle;
}

TVRMPolygon2d& TVRMMultiPolygon2d::GetItems(int index)
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return items_[index];
}

const TVRMPolygon2d& TVRMMultiPolygon2d::GetItems(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return items_[index];
}

void TVRMMultiPolygon2d::Add(const TVRMMultiPolygon2d& set)
{
    items_.insert(items_.end(), set.items_.begin(), set.items_.end());
}

void TVRMMultiPolygon2d::Delete(int index)
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    items_.erase(items_.begin() + index);
}

bool TVRMMultiPolygon2d::IsHole(int index) const
{
    return GetItems(index).IsHole();
}

int TVRMMultiPolygon2d::GetEdgeCount() const noexcept
{
    return static_cast<int>(SumOverRings(items_, [](const TVRMPolygon2d& p) { return p.GetEdgeCount(); }));
}

double TVRMMultiPolygon2d::SignArea() const noexcept
{
    return SumOverRings(items_, [](const TVRMPolygon2d& p) { return p.SignArea(); });
}

double TVRMMultiPolygon2d::Area() const noexcept
{
    return std::abs(SignArea());
}

double TVRMMultiPolygon2d::Perimeter() const noexcept
{
    return SumOverRings(items_, [](const TVRMPolygon2d& p) { return p.Perimeter(); });
}

TVRMBox2d TVRMMultiPolygon2d::Box() const noexcept
{
    TVRMBox2d box;
    for (const TVRMPolygon2d& p : items_)
        box.Add(p.Box());
    return box;
}

void TVRMMultiPolygon2d::Normalize(double tol)
{
    std::erase_if(items_, [tol](TVRMPolygon2d& p) { return !p.Normalize(tol); });
    // A clockwise ring is a hole only inside an outer ring; a clockwise ring standing alone is an
    // outer ring given the wrong way round. Larger rings are settled first.
    std::vector<size_t> order(items_.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return items_[a].Area() > items_[b].Area(); });
    std::vector<size_t> outers;
    for (size_t i : order) {
        const TVRMPolygon2d& ring = items_[i];
        const bool insideOuter = std::any_of(outers.begin(), outers.end(), [&](size_t j) {
            return std::all_of(ring.Vertices().begin(), ring.Vertices().end(), [&](const TVRMVertex2d& v) {
                return TVRMPositionFunc2d::PointPosition(v.pt, items_[j], tol) != 2;
            });
        });
        if (!ring.IsClockwise()) {
            outers.push_back(i);
        } else if (!insideOuter) {
            items_[i].Reverse();
            outers.push_back(i);
        }
    }
}

bool TVRMMultiPolygon2d::IsRectangle(double tol) const noexcept
{
    return items_.size() == 1 && items_[0].IsRectangle(tol);
}

bool TVRMMultiPolygon2d::IsCircle(double tol, double* radius) const
{
    return items_.size() == 1 && items_[0].IsCircle(tol, radius);
}

void TVRMMultiPolygon2d::Move(const TVRMVector2d& v) noexcept
{
    for (TVRMPolygon2d& p : items_)
        p.Move(v);
}
