// Solids built from plan polygons and lines.
#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3dInternal.h"
#include "Host/VRM/Geometry3d/VRMPlan3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace vrm3d {

TPlanRing FacetLine(const TVRMCustomLine2d& line)
{
    TPlanRing r;
    const TVRMArcData arc = line.IsArc() ? line.GetArcData() : TVRMArcData{};
    // An arc whose circle is not a finite one (a non-finite sweep, end point or centre, a radius
    // whose square overflows) counts by its chord, as an invalid arc does.
    const double radius = line.Radius();
    const bool finite = std::isfinite(arc.sweep) && std::isfinite(arc.center.x) && std::isfinite(arc.center.y) &&
                        std::isfinite(arc.startAngle) && std::isfinite(radius * radius) &&
                        arc.sweep <= 2 * CVRMPi + 1e-9;
    if (!arc.valid || !finite || !(arc.sweep > 0)) {
        r.points = {line.StartPt(), line.EndPt()};
        r.arcs.emplace_back();
        return r;
    }
    const int n = std::max(1, static_cast<int>(std::ceil(arc.sweep / CVRMArcFacetAngle - 1e-9)));
    const double step = arc.sweep / n;
    TVRMFaceArc facet;
    facet.centre = {arc.center.x, arc.center.y, 0};
    facet.radius = radius;
    facet.sweep = step;
    facet.chord = 2 * facet.radius * std::sin(step / 2);
    r.points.push_back(line.StartPt());
    for (int k = 1; k < n; ++k) {
        const double angle = arc.startAngle + arc.sense * step * k;
        r.points.push_back(
            {arc.center.x + facet.radius * std::cos(angle), arc.center.y + facet.radius * std::sin(angle)});
    }
    r.points.push_back(line.EndPt());
    r.arcs.assign(n, facet);
    r.arcArea = arc.sense * n * facet.radius * facet.radius / 2 * (step - std::sin(step));
    return r;
}

TPlanRing FacetRing(const TVRMPolygon2d& ring)
{
    TPlanRing r;
    const std::vector<TVRMVertex2d>& vertices = ring.Vertices();
    if (vertices.size() >= 2 &&
        std::none_of(vertices.begin(), vertices.end(), [](const TVRMVertex2d& v) { return v.IsArc(); })) {
        // Straight edges only: the ring's own points.
        r.points.reserve(vertices.size());
        for (const auto& v : vertices)
            r.points.push_back(v.pt);
        r.arcs.resize(vertices.size());
        return r;
    }
    for (int i = 0; i < ring.GetEdgeCount(); ++i) {
        TPlanRing edge = FacetLine(ring.GetEdge(i));
        r.points.insert(r.points.end(), edge.points.begin(), edge.points.end() - 1);
        r.arcs.insert(r.arcs.end(), edge.arcs.begin(), edge.arcs.end());
        r.arcArea += edge.arcArea;
    }
    return r;
}

std::vector<TPlanRing> FacetPlan(const TVRMMultiPolygon2d& plan)
{
    std::vector<TPlanRing> rings;
    for (const auto& item : plan.Items()) {
        TPlanRing r = FacetRing(item);
        if (r.points.size() >= 3)
            rings.push_back(std::move(r));
    }
    return rings;
}

double ArcArea(const std::vector<TPlanRing>& rings)
{
    double s = 0;
    for (const auto& r : rings)
        s += r.arcArea;
    return s;
}

TVRMLoop3d LiftRing(const TPlanRing& ring, double z)
{
    TVRMLoop3d l;
    l.reserve(ring.points.size());
    for (const auto& p : ring.points)
        l.push_back({p.x, p.y, z});
    return l;
}

void AddPlanRing(TVRMMultiPolygon2d& plan, const TVRMLoop3d& loop)
{
    std::vector<TVRMVertex2d> vertices;
    vertices.reserve(loop.size());
    for (const auto& p : loop)
        vertices.push_back({{p.x, p.y}});
    plan.Add(TVRMPolygon2d(std::move(vertices)));
}

}  // namespace vrm3d

using namespace vrm3d;

namespace {

// Sizes and elevations a solid can be built from: finite numbers only.
bool AllFinite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// A top at or above its bottom at both ends (a top below would turn the solid inside out).
bool TopNotBelowBottom(double startBottom, double startTop, double endBottom, double endTop)
{
    return startTop >= startBottom && endTop >= endBottom;
}

// The two plan caps of a prism (n-2, n-1) keep the area between facets and arcs.
void SetCapArcArea(TVRMPolyhedron3d& solid, double area)
{
    if (solid.GetFaceCount() < 2)
        return;
    solid.GetFace(solid.GetFaceCount() - 2).SetArcArea(area);
    solid.GetFace(solid.GetFaceCount() - 1).SetArcArea(area);
}

// One step of a sweep along an arc: the path turns by `turn` (signed,
// counter-clockwise positive) about the arc's centre from the angle `angle` and rises
// by `rise`. A section point is (rho, w): its signed distance from the axis
// and its height above the path at the step's start. Coordinates are taken
// from the axis point at the path's height there.
struct TSweepStep {
    double angle = 0, turn = 0, rise = 0;

    // The point at the fraction t of the step.
    TVRMPoint3d At(double rho, double w, double t) const
    {
        const double a = angle + turn * t;
        return {rho * std::cos(a), rho * std::sin(a), w + rise * t};
    }
};

// Eight-point Gauss-Legendre rule on [0, 1].
template <class F>
double Integrate01(F f)
{
    static constexpr double x[] = {0.1834346424956498, 0.5255324099163290, 0.7966664774136267, 0.9602898564975363};
    static constexpr double w[] = {0.3626837833783620, 0.3137066458778873, 0.2223810344533745, 0.1012285362903763};
    double s = 0;
    for (int i = 0; i < 4; ++i)
        s += w[i] * (f((1 - x[i]) / 2) + f((1 + x[i]) / 2));
    return s / 2;
}

double Det(const TVRMPoint3d& a, const TVRMPoint3d& b, const TVRMPoint3d& c)
{
    return a.InnerProduct(b.CrossProduct(c));
}

// Flux of the position through the surface ruled between the chord of a
// section point's path over the step and the path itself, by level rulings
// (the chord's point and the path's point at the same height).
double RulingFlux(const TSweepStep& step, double rho, double w)
{
    const TVRMPoint3d a = step.At(rho, w, 0), b = step.At(rho, w, 1);
    return Integrate01([&](double t) {
        const TVRMPoint3d chord = a + (b - a) * t;
        const TVRMPoint3d gap = step.At(rho, w, t) - chord;
        const double angle = step.angle + step.turn * t;
        const TVRMVector3d tangent{-rho * step.turn * std::sin(angle), rho * step.turn * std::cos(angle), step.rise};
        return Det(chord, gap, (b - a) * 0.5 + tangent * 0.5);
    });
}

// The measure of the surface that section edge (p, q) sweeps over a step,
// against its facets (p, q, q1, p1) or, when that quad is not plane, the
// triangles (p, q, q1) and (p, q1, p1): the curved area, and the volume
// between facets and surface (positive where the surface lies on the side
// the quad's normal points to). The surface between the chords of the two
// ends' paths and the paths themselves, ruled level, closes that volume; the
// neighbouring edges share it, so the volumes of all edges add up to the
// difference between the faceted and the true solid.
struct TSweptEdge {
    double area = 0, volume = 0;
};

TSweptEdge SweepEdge(const TSweepStep& step, double rhoP, double wP, double rhoQ, double wQ)
{
    const double dRho = rhoQ - rhoP, dW = wQ - wP;
    TSweptEdge e;
    e.area = Integrate01([&](double s) {
        const double rho = rhoP + dRho * s;
        return std::sqrt(rho * rho * step.turn * step.turn * (dRho * dRho + dW * dW) +
                         dRho * dRho * step.rise * step.rise);
    });
    // Flux of the position through the surface, with the normal of (p, q, q1, p1).
    const double rhoMean = (rhoP + rhoQ) / 2;
    const double wRho = (2 * wP * rhoP + wP * rhoQ + wQ * rhoP + 2 * wQ * rhoQ) / 6;
    const double rho2 = (rhoP * rhoP + rhoP * rhoQ + rhoQ * rhoQ) / 3;
    const double surface = step.turn * (dRho * (step.rise / 2 * rhoMean + wRho) - dW * rho2);
    const TVRMPoint3d p = step.At(rhoP, wP, 0), q = step.At(rhoQ, wQ, 0);
    const TVRMPoint3d q1 = step.At(rhoQ, wQ, 1), p1 = step.At(rhoP, wP, 1);
    const double facets = (Det(p, q, q1) + Det(p, q1, p1)) / 2;
    e.volume = (surface - facets - RulingFlux(step, rhoQ, wQ) + RulingFlux(step, rhoP, wP)) / 3;
    return e;
}

// Per-ring arc data of faceted rings, shifted to an elevation.
std::vector<std::vector<std::optional<TVRMFaceArc>>> RingArcs(const std::vector<TPlanRing>& rings, double z)
{
    std::vector<std::vector<std::optional<TVRMFaceArc>>> arcs;
    for (const auto& r : rings) {
        auto& a = arcs.emplace_back(r.arcs);
        for (auto& facet : a)
            if (facet)
                facet->centre.z = z;
    }
    return arcs;
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreatePrism(const TVRMMultiPolygon2d& plan, double bottom,
                                                                double height)
{
    return PrismOver(plan, bottom, height, nullptr);
}

std::unique_ptr<TVRMPolyhedron3d> vrm3d::PrismOver(const TVRMMultiPolygon2d& plan, double bottom, double height,
                                                   TFaceDonor* donor)
{
    if (donor)
        donor->taken.clear();
    // A plan without arc edges is its own facets: its rings of three points or more.
    const bool straight = std::none_of(plan.Items().begin(), plan.Items().end(), [](const TVRMPolygon2d& item) {
        return std::any_of(item.Vertices().begin(), item.Vertices().end(),
                           [](const TVRMVertex2d& v) { return v.IsArc(); });
    });
    const std::vector<TPlanRing> rings = straight ? std::vector<TPlanRing>() : FacetPlan(plan);
    std::vector<TVRMLoop3d> loops;
    if (straight) {
        for (const auto& item : plan.Items())
            if (const auto& v = item.Vertices(); v.size() >= 3) {
                TVRMLoop3d& l = loops.emplace_back();
                l.reserve(v.size());
                for (const auto& p : v)
                    l.push_back({p.pt.x, p.pt.y, bottom});
            }
    } else {
        for (const auto& r : rings)
            loops.push_back(LiftRing(r, bottom));
    }
    if (loops.empty() || !(height > 0) || !AllFinite({bottom, height}))
        return std::make_unique<TVRMPolyhedron3d>();
    // Circles only for a plan with arc edges.
    const bool curved = std::any_of(rings.begin(), rings.end(), [](const TPlanRing& r) {
        return std::any_of(r.arcs.begin(), r.arcs.end(), [](const auto& arc) { return arc.has_value(); });
    });
    const auto arcs = curved ? RingArcs(rings, bottom) : std::vector<std::vector<std::optional<TVRMFaceArc>>>();
    TPlanarMeasure measure;
    auto solid = ExtrudeRings(loops, curved ? &arcs : nullptr, {0, 0, 1}, {0, 0, height}, false, &measure, donor);
    SetCapArcArea(*solid, ArcArea(rings));
    CachePrism(*solid, measure, loops, bottom + height, donor == nullptr,
               donor == nullptr);  // a donor's caller reorders
    return solid;
}

namespace {

// The ring moved outward edge by edge, when it keeps one edge per edge of the
// ring, in order and running the same way, and does not cross itself.
bool WidenKeepingEdges(const TVRMPolygon2d& ring, const std::vector<double>& widths, TVRMPolygon2d& top)
{
    std::vector<int> edgeMap;
    if (static_cast<int>(widths.size()) != ring.GetEdgeCount() ||
        !TVRMOffsetFunc2d::Offset(ring, widths, top, &edgeMap) || top.GetCount() != ring.GetCount() ||
        top.SignArea() <= 0)
        return false;
    for (int i = 0; i < static_cast<int>(edgeMap.size()); ++i)
        if (edgeMap[i] != i)
            return false;
    // Edges that are not neighbours share no point; neighbours only their
    // common vertex (both ends for the two edges of a round ring).
    const std::vector<TVRMCustomLine2d> edges = top.GetEdges();
    const int n = static_cast<int>(edges.size());
    std::vector<TVRMPoint2d> points;
    for (int i = 0; i < n; ++i)
        for (int j = i + 1; j < n; ++j) {
            const int shared = (j == i + 1) + (i == 0 && j == n - 1);
            const int code = TVRMIntersectFunc2d::Intersect(edges[i], edges[j], points);
            if (code > shared)
                return false;
        }
    return true;
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateSlopedPrism(const TVRMMultiPolygon2d& plan, double bottom,
                                                                      double height, const std::vector<double>& widths,
                                                                      bool& failed)
{
    failed = true;
    auto empty = std::make_unique<TVRMPolyhedron3d>();
    if (plan.IsEmpty() || !(height > 0) || !AllFinite({bottom, height}))
        return empty;
    const TVRMPolygon2d& ring = plan.GetItems(0);
    TVRMPolygon2d top;
    if (ring.IsClockwise() || !WidenKeepingEdges(ring, widths, top))
        return empty;
    const TPlanRing lower = FacetRing(ring), upper = FacetRing(top);
    if (lower.points.size() != upper.points.size())
        return empty;
    failed = false;
    return CreateLoft(LiftRing(lower, bottom), LiftRing(upper, bottom + height));
}

int TVRMPolyhedron3d::GetOffsetBottomPoly(const TVRMPolygon2d& ring, const std::vector<double>& widths,
                                          TVRMPolygon2d& bottom, std::vector<double>& bottomWidths)
{
    bottom = ring;
    bottomWidths = widths;
    if (static_cast<int>(widths.size()) != ring.GetEdgeCount() || ring.SignArea() <= 0)
        return 3;
    std::vector<TVRMVertex2d> v = ring.Vertices();
    std::vector<double> w = widths;
    // Drops vertex i: edge i goes, the edge before it reaches on to vertex i + 1.
    auto drop = [&](size_t i) {
        v.erase(v.begin() + static_cast<std::ptrdiff_t>(i));
        w.erase(w.begin() + static_cast<std::ptrdiff_t>(i));
    };
    for (bool changed = true; changed && v.size() >= 3;) {
        changed = false;
        for (size_t i = 0; i < v.size() && v.size() >= 3; ++i) {
            const size_t prev = (i + v.size() - 1) % v.size(), next = (i + 1) % v.size();
            const TVRMCustomLine2d edge = TVRMPolygon2d(v).GetEdge(static_cast<int>(i));
            if (edge.Length() <= CVRMEpsilon) {
                // A zero-length edge: the vertex after it stands in for both.
                v[next].pt = v[i].pt;
                drop(i);
                changed = true;
                break;
            }
            const TVRMVector2d a = v[i].pt - v[prev].pt, b = v[next].pt - v[i].pt;
            if (!v[prev].IsArc() && !v[i].IsArc() && SameValue(w[prev], w[i], CVRMEpsilon) &&
                std::fabs(a.x * b.y - a.y * b.x) <= CVRMEpsilon * std::max(a.Length(), b.Length()) &&
                a.x * b.x + a.y * b.y > 0) {
                // Two edges in line with one width: one edge.
                drop(i);
                changed = true;
                break;
            }
        }
    }
    TVRMPolygon2d cleaned(std::move(v)), top;
    if (cleaned.SignArea() <= 0 || !WidenKeepingEdges(cleaned, w, top))
        return 2;
    const bool same = cleaned.GetCount() == ring.GetCount();
    bottom = std::move(cleaned);
    bottomWidths = std::move(w);
    return same ? 0 : 1;
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateOnPlane(const TVRMMultiPolygon2d& plan,
                                                                  const TVRMPlane3d& plane, double thickness)
{
    const std::vector<TPlanRing> rings = FacetPlan(plan);
    double z = 0;
    if (rings.empty() || !(thickness > 0) || !std::isfinite(thickness) || !plane.GetZ(0, 0, z))
        return std::make_unique<TVRMPolyhedron3d>();
    std::vector<TVRMLoop3d> loops;
    for (const auto& r : rings) {
        TVRMLoop3d& l = loops.emplace_back();
        for (const auto& p : r.points) {
            plane.GetZ(p.x, p.y, z);
            l.push_back({p.x, p.y, z});
        }
    }
    // Plan rings run counter-clockwise about +z, which is the plane's upper side.
    const TVRMVector3d up = plane.GetNormal().z > 0 ? plane.GetNormal() : -plane.GetNormal();
    TPlanarMeasure measure;
    auto solid = ExtrudeRings(loops, nullptr, up, plane.GetNormal() * -thickness, true, &measure);
    // What the booleans would read from the faces: the measure (a sloped slab's description
    // joins it when a boolean first reads the slab, and serves its copies too).
    if (solid->HasFaces()) {
        auto cache = std::make_shared<TSolidCache>();
        cache->measure = measure;
        SetCache(*solid, std::move(cache));
    }
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateFromFace(const TVRMFace3d& face, double thickness)
{
    if (!(thickness > 0) || !std::isfinite(thickness) || face.GetLoops().empty())
        return std::make_unique<TVRMPolyhedron3d>();
    return ExtrudeRings(face.GetLoops(), nullptr, face.GetNormal(), face.GetNormal() * thickness, true);
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateBand(const TVRMCustomLine2d& line, double width,
                                                               double leftOffset, double startBottom, double startTop,
                                                               double endBottom, double endTop)
{
    const double length = line.Length();
    if (!(width > 0) || length <= CVRMEpsilon || !line.IsValidaty() ||
        !AllFinite({width, leftOffset, startBottom, startTop, endBottom, endTop}) ||
        !TopNotBelowBottom(startBottom, startTop, endBottom, endTop))
        return std::make_unique<TVRMPolyhedron3d>();
    const TVRMPolygon2d band = TVRMPolygon2d::CreateBand(line, leftOffset, width - leftOffset);
    const TPlanRing ring = FacetRing(band);
    // Elevations follow the position along the line.
    auto at = [&](const TVRMPoint2d& p, double s, double e) {
        const double t = std::clamp(line.LengthAtPoint(p) / length, 0.0, 1.0);
        return s + (e - s) * t;
    };
    TVRMLoop3d bottom, top;
    for (const auto& p : ring.points) {
        bottom.push_back({p.x, p.y, at(p, startBottom, endBottom)});
        top.push_back({p.x, p.y, at(p, startTop, endTop)});
    }
    auto solid = CreateLoft(bottom, top);
    if (solid->GetFaceCount() == static_cast<int>(ring.points.size()) + 2) {
        for (size_t i = 0; i < ring.arcs.size(); ++i)
            solid->GetFace(static_cast<int>(i)).SetArc(ring.arcs[i]);
        // The arcs' segments count in plan; a sloped cap is larger by its slope.
        for (int k : {solid->GetFaceCount() - 2, solid->GetFaceCount() - 1}) {
            TVRMFace3d& cap = solid->GetFace(k);
            cap.SetArcArea(ring.arcArea / std::fabs(cap.GetNormal().z));
        }
        // What the booleans would read from the faces: the measure, and for a level band (a
        // vertical prism) its plan and levels.
        const TPlanarMeasure measure = PlanarMeasure(*solid);
        if (startBottom == endBottom && startTop == endTop) {
            CachePrism(*solid, measure, {bottom}, startTop);
        } else {
            auto cache = std::make_shared<TSolidCache>();
            cache->measure = measure;
            SetCache(*solid, std::move(cache));
        }
    }
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateBetweenLines(const TVRMCustomLine2d& first,
                                                                       double firstStartBottom, double firstStartTop,
                                                                       double firstEndBottom, double firstEndTop,
                                                                       const TVRMCustomLine2d& second,
                                                                       double secondStartBottom, double secondStartTop,
                                                                       double secondEndBottom, double secondEndTop)
{
    TVRMPolygon2d between = TVRMPolygon2d::CreateBetweenLines(first, second);
    if (first.Length() <= CVRMEpsilon || second.Length() <= CVRMEpsilon ||
        std::fabs(between.SignArea()) <= CVRMEpsilon ||
        !AllFinite({firstStartBottom, firstStartTop, firstEndBottom, firstEndTop, secondStartBottom, secondStartTop,
                    secondEndBottom, secondEndTop}) ||
        !TopNotBelowBottom(firstStartBottom, firstStartTop, firstEndBottom, firstEndTop) ||
        !TopNotBelowBottom(secondStartBottom, secondStartTop, secondEndBottom, secondEndTop))
        return std::make_unique<TVRMPolyhedron3d>();
    const TPlanRing ring = FacetRing(between);
    // Each ring point takes the elevations of the line it lies on, by length along it.
    auto at = [](const TVRMCustomLine2d& line, const TVRMPoint2d& p, double s, double e) {
        return s + (e - s) * std::clamp(line.LengthAtPoint(p) / line.Length(), 0.0, 1.0);
    };
    TVRMLoop3d bottom, top;
    for (const auto& p : ring.points) {
        const bool onFirst = TVRMPositionFunc2d::DistanceTo(p, first) <= TVRMPositionFunc2d::DistanceTo(p, second);
        const TVRMCustomLine2d& line = onFirst ? first : second;
        bottom.push_back({p.x, p.y,
                          onFirst ? at(line, p, firstStartBottom, firstEndBottom)
                                  : at(line, p, secondStartBottom, secondEndBottom)});
        top.push_back(
            {p.x, p.y, onFirst ? at(line, p, firstStartTop, firstEndTop) : at(line, p, secondStartTop, secondEndTop)});
    }
    return CreateLoft(bottom, top);
}

namespace {

// The stations of a sweep along a path (its ends, and steps of at most one
// facet angle along an arc) and the faces that section edges sweep between them.
class TSweeper {
public:
    TSweeper(const TVRMCustomLine2d& path, const TVRMPoint2d& reference, double startElevation, double endElevation)
        : path_(path),
          reference_(reference),
          startElevation_(startElevation),
          endElevation_(endElevation),
          length_(path.Length())
    {
        valid_ = length_ > CVRMEpsilon && path.IsValidaty() &&
                 AllFinite({reference.x, reference.y, startElevation, endElevation});
        if (!valid_)
            return;
        steps_ = path.IsArc() ? std::max(1, static_cast<int>(std::ceil(path.Sweep() / CVRMArcFacetAngle - 1e-9))) : 1;
        circle_ = path.IsArc() ? path.GetArcData() : TVRMArcData{};
        step_ = TSweepStep{0, circle_.sense * path.Sweep() / steps_, (endElevation - startElevation) / steps_};
    }

    bool IsValid() const { return valid_; }

    // The section points placed at every station: one loop per station.
    std::vector<TVRMLoop3d> Place(const std::vector<TVRMPoint2d>& points) const
    {
        std::vector<TVRMLoop3d> stations;
        for (int k = 0; k <= steps_; ++k) {
            const double s = length_ * k / steps_;
            const TVRMPoint2d p = path_.PointAtLength(s);
            const TVRMVector2d right = path_.DirectionAt(s).RotateHalfPi(true);
            const double z = startElevation_ + (endElevation_ - startElevation_) * s / length_;
            TVRMLoop3d& l = stations.emplace_back();
            for (const auto& q : points) {
                const double across = q.x - reference_.x;
                l.push_back({p.x + right.x * across, p.y + right.y * across, z + q.y - reference_.y});
            }
        }
        return stations;
    }

    // Appends the faces that the edges between the points sweep (with the
    // closing edge when closed), turned outward for a counter-clockwise
    // section when ccw is set, inward otherwise.
    void AddEdgeFaces(const std::vector<TVRMPoint2d>& ring, const std::vector<TVRMLoop3d>& stations, bool closed,
                      bool ccw, std::vector<TVRMFace3d>& faces) const
    {
        const size_t n = ring.size();
        TSweepStep step = step_;
        for (size_t i = 0; i < (closed ? n : n - 1); ++i)
            for (int k = 0; k < steps_; ++k) {
                const size_t j = (i + 1) % n;
                const TVRMPoint3d& p = stations[k][i];
                const TVRMPoint3d& q = stations[k][j];
                const TVRMPoint3d& p1 = stations[k + 1][i];
                const TVRMPoint3d& q1 = stations[k + 1][j];
                if (p.IsEqualTo(q, CVRMZero))
                    continue;
                // Quads in the order (p, q, q1, p1) face inward for a counter-clockwise section.
                auto add = [&](TVRMLoop3d loop) {
                    if (ccw)
                        std::reverse(loop.begin(), loop.end());
                    faces.push_back(TVRMFace3d::FromLoop(std::move(loop)));
                };
                const size_t first = faces.size();
                add({p, q, q1, p1});
                const TVRMPlane3d& plane = faces.back().GetPlane();
                if (std::max({std::fabs(plane.GetDistance(p)), std::fabs(plane.GetDistance(q)),
                              std::fabs(plane.GetDistance(q1)), std::fabs(plane.GetDistance(p1))}) > CVRMPlaneEpsilon) {
                    faces.pop_back();
                    add({p, q, q1});
                    add({p, q1, p1});
                }
                if (!circle_.valid)
                    continue;
                const double radius = path_.Radius();
                const double rhoP = radius + circle_.sense * (ring[i].x - reference_.x);
                const double rhoQ = radius + circle_.sense * (ring[j].x - reference_.x);
                if (SameValue(rhoP, rhoQ, CVRMZero * std::max(1.0, std::fabs(rhoP))) && rhoP > 0) {
                    // An upright edge sweeps a cylinder: the facet keeps its circle.
                    TVRMFaceArc arc;
                    arc.centre = {circle_.center.x, circle_.center.y, p.z};
                    arc.radius = rhoP;
                    arc.sweep = path_.Sweep() / steps_;
                    arc.chord = 2 * rhoP * std::sin(arc.sweep / 2);
                    faces.back().SetArc(arc);
                    continue;
                }
                step.angle = circle_.startAngle + step.turn * k;
                const TSweptEdge e = SweepEdge(step, rhoP, ring[i].y - reference_.y, rhoQ, ring[j].y - reference_.y);
                double planar = 0;
                for (size_t f = first; f < faces.size(); ++f)
                    planar += faces[f].GetPlanarArea();
                for (size_t f = first; f < faces.size(); ++f) {
                    const double share = faces[f].GetPlanarArea() / planar;
                    faces[f].SetArcArea(e.area * share - faces[f].GetPlanarArea());
                    faces[f].SetArcVolume((ccw ? -e.volume : e.volume) * share);
                }
            }
    }

private:
    const TVRMCustomLine2d& path_;
    TVRMPoint2d reference_;
    double startElevation_, endElevation_, length_;
    bool valid_ = false;
    int steps_ = 1;
    TVRMArcData circle_;
    TSweepStep step_;
};

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateSweep(const TVRMMultiPolygon2d& section,
                                                                const TVRMCustomLine2d& path,
                                                                const TVRMPoint2d& reference, double startElevation,
                                                                double endElevation)
{
    auto solid = std::make_unique<TVRMPolyhedron3d>();
    const std::vector<TPlanRing> rings = FacetPlan(section);
    const TSweeper sweeper(path, reference, startElevation, endElevation);
    if (rings.empty() || !sweeper.IsValid())
        return solid;
    // Faces turn outward for a counter-clockwise section (x right, y up) and
    // for one given the other way round alike.
    const bool ccw = section.SignArea() >= 0;
    std::vector<TVRMLoop3d> startCap, endCap;
    std::vector<TVRMFace3d> faces;
    for (const TPlanRing& ring : rings) {
        const std::vector<TVRMLoop3d> stations = sweeper.Place(ring.points);
        sweeper.AddEdgeFaces(ring.points, stations, true, ccw, faces);
        startCap.push_back(stations.front());
        endCap.push_back(stations.back());
    }
    const double length = path.Length();
    const TVRMVector2d d0 = path.DirectionAt(0), d1 = path.DirectionAt(length);
    auto cap = [&](std::vector<TVRMLoop3d> l, const TVRMVector3d& normal, bool asGiven) {
        if (!asGiven)
            for (auto& ring : l)
                std::reverse(ring.begin(), ring.end());
        const TVRMPlane3d plane(normal, l[0][0]);
        return TVRMFace3d(plane, std::move(l));
    };
    faces.push_back(cap(std::move(startCap), {-d0.x, -d0.y, 0}, ccw));
    faces.push_back(cap(std::move(endCap), {d1.x, d1.y, 0}, !ccw));
    for (size_t i = 0; i < faces.size(); ++i)
        faces[i].SetTag(static_cast<int>(i));
    solid->faces_ = std::move(faces);
    return EmptyIfFlat(std::move(solid));
}

std::vector<TVRMFace3d> TVRMPolyhedron3d::CreateSweptFaces(const TVRMCustomLine2d& profile,
                                                           const TVRMCustomLine2d& path, const TVRMPoint2d& reference,
                                                           double startElevation, double endElevation)
{
    std::vector<TVRMFace3d> faces;
    const TSweeper sweeper(path, reference, startElevation, endElevation);
    const std::vector<TVRMPoint2d> points = FacetLine(profile).points;
    if (!sweeper.IsValid() || !AllFinite({points.front().x, points.front().y, points.back().x, points.back().y}))
        return faces;
    sweeper.AddEdgeFaces(points, sweeper.Place(points), false, true, faces);
    return faces;
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::BuildCutPolyhedron(const TVRMCustomLine2d& first,
                                                                       const TVRMCustomLine2d& second,
                                                                       const TVRMBox3d& box)
{
    TVRMMultiPolygon2d plan;
    TVRMPolygon2d between = TVRMPolygon2d::CreateBetweenLines(first, second);
    if (!box.IsValid() || !between.Normalize())
        return std::make_unique<TVRMPolyhedron3d>();
    plan.Add(std::move(between));
    return CreatePrism(plan, box.min.z, box.max.z - box.min.z);
}

std::unique_ptr<TVRMMultiPolygon2d> TVRMPolyhedron3d::GetProjectiveXYPoly() const
{
    // The plan projection of a closed solid is the union of its upward faces' projections.
    TVRMMultiPolygon2d up;
    for (const auto& f : faces_) {
        if (f.GetNormal().z <= CVRMZero)
            continue;
        for (const auto& l : f.GetLoops())
            AddPlanRing(up, l);
    }
    if (up.IsEmpty())
        return TVRMMultiPolygon2d::Create();
    try {
        return TVRMIntersectFunc2d::MergePolygon(up);
    } catch (const EVRMIntersectException&) {
        return TVRMMultiPolygon2d::Create();
    }
}

int TVRMPolyhedron3d::MergeFace(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right, bool atStart, double tol)
{
    const TVRMPoint2d p = atStart ? left.StartPt() : left.EndPt();
    const TVRMPoint2d q = atStart ? right.StartPt() : right.EndPt();
    const TVRMVector2d across = q - p;
    if (across.Length() <= CVRMEpsilon)
        return -1;
    // Out of the element: against the direction of travel at the start, along it at the end.
    const TVRMVector2d along = atStart ? -left.StartDirection() : left.EndDirection();
    TVRMVector3d n{across.y, -across.x, 0};
    if (n.x * along.x + n.y * along.y < 0)
        n = -n;
    return MergeFace(TVRMPlane3d(n, {p.x, p.y, 0}), tol);
}

bool TVRMPolyhedron3d::LocateEndFaces(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right, double tol)
{
    TVRMPolyhedron3d work = *this;
    work.cache_.reset();
    for (bool atStart : {true, false}) {
        const int i = work.MergeFace(left, right, atStart, tol);
        if (i < 0)
            return false;
        TVRMFace3d face = std::move(work.faces_[i]);
        work.faces_.erase(work.faces_.begin() + i);
        work.faces_.push_back(std::move(face));
    }
    *this = std::move(work);
    return true;
}
