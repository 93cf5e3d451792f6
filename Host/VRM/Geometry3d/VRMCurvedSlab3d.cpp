// Curved slab solids: an arched slab (a cylindrical shell about a level axis
// line), built as a prism over its annular section in the axis frame and
// turned into place, so that its curved facets keep their circles; domed and
// conical slabs (shells about a vertical axis), swept round from their
// meridian section with facets that keep the measures of their patches.
#include <algorithm>
#include <cmath>

#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// Plan points of an outline for its extent: every vertex and points along
// its arc edges.
std::vector<TVRMPoint2d> ExtentPoints(const TVRMMultiPolygon2d& plan)
{
    std::vector<TVRMPoint2d> points;
    for (const auto& ring : plan.Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
            points.push_back(edge.StartPt());
            if (edge.IsArc())
                for (int k = 1; k < 32; ++k)
                    points.push_back(edge.PointAtLength(edge.Length() * k / 32));
        }
    return points;
}

// The rigid frame of an axis line: local x across (to the left of the
// axis), local y the elevation, local z along the axis.
struct TAxisFrame {
    TVRMPoint2d origin;
    TVRMVector2d along, across;

    TVRMPoint3d ToWorld(const TVRMPoint3d& p) const
    {
        return {origin.x + across.x * p.x + along.x * p.z, origin.y + across.y * p.x + along.y * p.z, p.y};
    }
    TVRMVector3d VectorToWorld(const TVRMVector3d& v) const
    {
        return {across.x * v.x + along.x * v.z, across.y * v.x + along.y * v.z, v.y};
    }
    TVRMFace3d FaceToWorld(const TVRMFace3d& face) const
    {
        std::vector<TVRMLoop3d> loops;
        for (const auto& loop : face.GetLoops()) {
            TVRMLoop3d& out = loops.emplace_back();
            for (const auto& p : loop)
                out.push_back(ToWorld(p));
        }
        TVRMFace3d result(TVRMPlane3d(VectorToWorld(face.GetNormal()), ToWorld(face.GetPlane().GetBasePoint())),
                          std::move(loops), face.GetTag());
        if (auto arc = face.GetArc()) {
            arc->centre = ToWorld(arc->centre);
            arc->axis = VectorToWorld(arc->axis);
            result.SetArc(arc);
        }
        result.SetArcArea(face.GetArcArea());
        result.SetArcVolume(face.GetArcVolume());
        return result;
    }
};

// Keeps the side faces first, then the facets of the top surface, then those
// of the bottom surface (Classify: 1 top, 2 bottom, otherwise a side, for a
// face and a point inside it), and records the two runs in the solid's data.
template <class Classify>
void OrderSlabFaces(TVRMPolyhedron3d& solid, Classify classify)
{
    std::vector<TVRMFace3d> sides, tops, bottoms;
    for (const TVRMFace3d& face : solid.GetFaces()) {
        TVRMPoint3d p;
        const int kind = face.GetOnePointInLoop(p) ? classify(face, p) : 0;
        (kind == 1 ? tops : kind == 2 ? bottoms : sides).push_back(face);
    }
    const int topFirst = static_cast<int>(sides.size());
    const int topCount = static_cast<int>(tops.size());
    const int bottomCount = static_cast<int>(bottoms.size());
    std::vector<TVRMFace3d> faces = std::move(sides);
    for (auto* run : {&tops, &bottoms})
        for (auto& face : *run)
            faces.push_back(std::move(face));
    solid = TVRMPolyhedron3d(std::move(faces));
    solid.SetData({topFirst, topCount, topFirst + topCount, bottomCount});
}

// A facet of a curved surface: its normal points along `direction` (unit) and
// it lies within `tolerance` of the surface (`distance` from the reference,
// `expected` there).
bool IsFacetOf(const TVRMFace3d& face, const TVRMVector3d& direction, double distance, double expected,
               double tolerance)
{
    return face.GetNormal().InnerProduct(direction) > 0.9 && std::fabs(distance - expected) <= tolerance;
}

// The run of a face at `radial` from the axis or centre of a round shell: 1 on
// the outer surface (`outer` away, facing out), 2 on the inner one (`inner`
// away, facing in), 0 a side.
int RoundRun(const TVRMFace3d& face, const TVRMVector3d& radial, double outer, double inner, double tolerance)
{
    const double distance = radial.Length();
    if (distance <= CVRMEpsilon)
        return 0;
    const TVRMVector3d out = radial * (1 / distance);
    return IsFacetOf(face, out, distance, outer, tolerance)        ? 1
           : IsFacetOf(face, out * -1, distance, inner, tolerance) ? 2
                                                                   : 0;
}

// The facets facing away from the axis (the top surface), then those facing it
// (the bottom surface), after the sides.
void OrderCylinderFaces(TVRMPolyhedron3d& solid, const TVRMPoint2d& axisPoint, const TVRMVector2d& along,
                        double axisElev, double radius, double inner)
{
    // The widest gap between a facet and its circle, plus the length tolerance.
    const double sagitta = radius * (1 - std::cos(CVRMArcFacetAngle / 2)) + CVRMEpsilon;
    OrderSlabFaces(solid, [&](const TVRMFace3d& face, const TVRMPoint3d& p) {
        const double s = (TVRMPoint2d{p.x, p.y} - axisPoint).InnerProduct(along);
        const TVRMVector3d radial{p.x - axisPoint.x - along.x * s, p.y - axisPoint.y - along.y * s, p.z - axisElev};
        return RoundRun(face, radial, radius, inner, sagitta);
    });
}

// One edge of the meridian section of a solid of revolution, in (distance
// from the axis, elevation): a piece of the circle of radius `sphere` about
// (0, centreZ) when `sphere` > 0 (a sphere), else straight (a cone, a
// cylinder or a level annulus).
struct TMeridianEdge {
    TVRMPoint2d from, to;
    double sphere = 0, centreZ = 0;
};

// The solid that a meridian section (counter-clockwise, at distances >= 0)
// sweeps about the vertical axis through `centre`: per section edge (a sphere
// edge in steps of at most CVRMArcFacetAngle) one planar facet per
// CVRMArcFacetAngle of the turn, in section edge order. Each facet keeps the
// area of its patch of the surface and the volume between the two: a level
// slice of the solid in the facet's wedge of the turn (angle w) is w/2 rho^2
// per surface crossing it and that of the facets sin(w)/2 rho'^2 (rho' along
// the facet's straight meridian), so each facet adds the integral of the
// difference over its rise, signed as the edge runs up or down. The volume
// and the surface areas of the solid are thus exact.
std::unique_ptr<TVRMPolyhedron3d> CreateRevolution(const std::vector<TMeridianEdge>& section, const TVRMPoint2d& centre)
{
    const int turn = static_cast<int>(std::ceil(2 * CVRMPi / CVRMArcFacetAngle - 1e-9));
    const double w = 2 * CVRMPi / turn;
    std::vector<TVRMVector2d> directions;
    for (int j = 0; j < turn; ++j)
        directions.push_back({std::cos(w * j), std::sin(w * j)});
    directions.push_back(directions.front());
    auto at = [&](const TVRMPoint2d& m, int j) {
        return TVRMPoint3d{centre.x + m.x * directions[j].x, centre.y + m.x * directions[j].y, m.y};
    };
    std::vector<TVRMFace3d> faces;
    for (const TMeridianEdge& edge : section) {
        std::vector<TVRMPoint2d> points{edge.from};
        if (edge.sphere > 0) {
            // Polar angles from the top of the sphere.
            const double a1 = std::atan2(edge.from.x, edge.from.y - edge.centreZ);
            const double a2 = std::atan2(edge.to.x, edge.to.y - edge.centreZ);
            const int steps = std::max(1, static_cast<int>(std::ceil(std::fabs(a2 - a1) / CVRMArcFacetAngle - 1e-9)));
            for (int k = 1; k < steps; ++k) {
                const double a = a1 + (a2 - a1) * k / steps;
                points.push_back({edge.sphere * std::sin(a), edge.centreZ + edge.sphere * std::cos(a)});
            }
        }
        points.push_back(edge.to);
        for (size_t k = 0; k + 1 < points.size(); ++k) {
            const TVRMPoint2d a = points[k], b = points[k + 1];
            if (a.x <= CVRMEpsilon && b.x <= CVRMEpsilon)
                continue;
            // Integrals over the rise of rho'^2 (straight) and rho^2 (the surface).
            const double chord = (b.y - a.y) * (a.x * a.x + a.x * b.x + b.x * b.x) / 3;
            double surface = chord, patch = w * a.DistanceTo(b) * (a.x + b.x) / 2;
            if (edge.sphere > 0) {
                const double ua = a.y - edge.centreZ, ub = b.y - edge.centreZ;
                surface = edge.sphere * edge.sphere * (ub - ua) - (ub * ub * ub - ua * ua * ua) / 3;
                patch = w * edge.sphere * std::fabs(b.y - a.y);
            }
            const double volume = (w * surface - std::sin(w) * chord) / 2;
            for (int j = 0; j < turn; ++j) {
                TVRMLoop3d loop;
                for (const TVRMPoint3d& p : {at(a, j), at(a, j + 1), at(b, j + 1), at(b, j)})
                    if (loop.empty() || p.DistanceTo(loop.back()) > CVRMEpsilon)
                        loop.push_back(p);
                TVRMFace3d face = TVRMFace3d::FromLoop(std::move(loop));
                face.SetArcArea(patch - face.GetPlanarArea());
                face.SetArcVolume(volume);
                faces.push_back(std::move(face));
            }
        }
    }
    return std::make_unique<TVRMPolyhedron3d>(std::move(faces));
}

// Farthest plan distance of an outline from a point (its arc edges sampled).
double PlanReach(const TVRMMultiPolygon2d& plan, const TVRMPoint2d& centre)
{
    double reach = 0;
    for (const TVRMPoint2d& p : ExtentPoints(plan))
        reach = std::max(reach, p.DistanceTo(centre));
    return reach;
}

// Antiderivatives along x, at plan offsets (u, v) from the axis, of a
// section edge's surface height and of its area per plan area.
struct TColumnIntegrals {
    double height, area;
};

TColumnIntegrals AlongX(const TMeridianEdge& edge, double u, double v)
{
    if (edge.sphere > 0) {
        const double c2 = std::max(0.0, edge.sphere * edge.sphere - v * v), c = std::sqrt(c2);
        const double w = std::clamp(u, -c, c), angle = c > 0 ? std::asin(w / c) : 0;
        return {edge.centreZ * u + (w * std::sqrt(std::max(0.0, c2 - w * w)) + c2 * angle) / 2, edge.sphere * angle};
    }
    const double m = (edge.to.y - edge.from.y) / (edge.to.x - edge.from.x);
    const double rho =
        v == 0 ? u * std::fabs(u) / 2 : (u * std::hypot(u, v) + v * v * std::asinh(u / std::fabs(v))) / 2;
    return {(edge.from.y - m * edge.from.x) * u + m * rho, std::hypot(1.0, m) * u};
}

// A piece of a facet that a boolean cut (and so lost its measures) gets those
// of its part of the surface: the volume between the two over its plan
// (Green's theorem along its loops) and the area of the surface over it.
// Pieces of the surface between the facet's latitude chords and their arcs
// are left out (far below the tolerances). False when no section edge
// carries the piece.
bool MeasurePiece(TVRMFace3d& face, const std::vector<TMeridianEdge>& section, const TVRMPoint2d& centre,
                  double tolerance)
{
    TVRMPoint3d p;
    const TVRMVector3d& n = face.GetNormal();
    if (std::fabs(n.z) <= 1e-6 || !face.GetOnePointInLoop(p))
        return false;
    const TVRMPoint2d at{TVRMPoint2d{p.x, p.y}.DistanceTo(centre), p.z};
    const TMeridianEdge* carrier = nullptr;
    for (const TMeridianEdge& edge : section) {
        const double low = std::min(edge.from.x, edge.to.x) - tolerance,
                     high = std::max(edge.from.x, edge.to.x) + tolerance;
        if (at.x < low || at.x > high)
            continue;
        double gap;
        if (edge.sphere > 0)
            gap = std::fabs(at.DistanceTo({0, edge.centreZ}) - edge.sphere);
        else if (std::fabs(edge.to.x - edge.from.x) > CVRMEpsilon)
            gap = std::fabs((edge.to - edge.from).Normal().CrossProduct(at - edge.from));
        else
            continue;
        if (gap <= tolerance)
            carrier = &edge;
    }
    if (!carrier)
        return false;
    // The face's plane as z = a u + b v + c over the offsets from the axis.
    const double a = -n.x / n.z, b = -n.y / n.z;
    const double c = p.z - a * (p.x - centre.x) - b * (p.y - centre.y);
    static constexpr double CNodes[] = {0.0469100770306680, 0.2307653449471585, 0.5, 0.7692346550528415,
                                        0.9530899229693320};
    static constexpr double CWeights[] = {0.1184634425280945, 0.2393143352496832, 0.2844444444444444,
                                          0.2393143352496832, 0.1184634425280945};
    double volume = 0, area = 0;
    for (const TVRMLoop3d& loop : face.GetLoops())
        for (size_t k = 0; k < loop.size(); ++k) {
            const TVRMPoint3d& s = loop[k];
            const TVRMPoint3d& e = loop[(k + 1) % loop.size()];
            for (int g = 0; g < 5; ++g) {
                const double u = s.x - centre.x + (e.x - s.x) * CNodes[g];
                const double v = s.y - centre.y + (e.y - s.y) * CNodes[g];
                const TColumnIntegrals column = AlongX(*carrier, u, v);
                volume += CWeights[g] * (e.y - s.y) * (column.height - (a * u / 2 + b * v + c) * u);
                area += CWeights[g] * (e.y - s.y) * column.area;
            }
        }
    face.SetArcVolume(volume);
    face.SetArcArea((n.z > 0 ? area : -area) - face.GetPlanarArea());
    return true;
}

// The solid that the section sweeps about `centre`, trimmed to the vertical
// prism over the plan unless the plan is the circle of radius `reach` about
// the centre (which holds it whole; a facet that a cut splits gets the
// measures of its part of the surface), then its faces in slab order. Empty
// when the boolean fails.
template <class Classify>
std::unique_ptr<TVRMPolyhedron3d> CreateRevolvedSlab(const std::vector<TMeridianEdge>& section,
                                                     const TVRMMultiPolygon2d& plan, const TVRMPoint2d& centre,
                                                     double reach, double tolerance, Classify classify)
{
    auto solid = CreateRevolution(section, centre);
    double radius = 0;
    TVRMPoint2d circleCentre;
    const bool whole = plan.GetCount() == 1 && plan.GetItems(0).IsCircle(CVRMEpsilon, &radius, &circleCentre) &&
                       circleCentre.DistanceTo(centre) <= CVRMEpsilon && std::fabs(radius - reach) <= CVRMEpsilon;
    if (!whole) {
        const TVRMBox3d box = solid->GetBox();
        const auto prism = TVRMPolyhedron3d::CreatePrism(plan, box.min.z - 1, box.max.z - box.min.z + 2);
        if (!TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *prism, CVRMBoolIntersect))
            return std::make_unique<TVRMPolyhedron3d>();
        for (int i = 0; i < solid->GetFaceCount(); ++i)
            if (TVRMFace3d& face = solid->GetFace(i); face.GetArcVolume() == 0 && face.GetArcArea() == 0)
                MeasurePiece(face, section, centre, tolerance);
    }
    OrderSlabFaces(*solid, classify);
    return solid;
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateCylinderSlab(const TVRMMultiPolygon2d& plan,
                                                                       const TVRMCustomLine2d& axis,
                                                                       double halfThickness, double axisElev,
                                                                       double radius)
{
    auto empty = std::make_unique<TVRMPolyhedron3d>();
    const double inner = radius - 2 * halfThickness;
    if (plan.IsEmpty() || axis.IsArc() || axis.Length() <= CVRMEpsilon || !(halfThickness > 0) ||
        !(inner > CVRMEpsilon) || !std::isfinite(radius) || !std::isfinite(axisElev))
        return empty;
    TAxisFrame frame{axis.StartPt(), axis.Vector().Normal(), {}};
    frame.across = frame.along.RotateHalfPi(false);
    double uMin = HUGE_VAL, uMax = -HUGE_VAL, sMin = HUGE_VAL, sMax = -HUGE_VAL;
    for (const TVRMPoint2d& p : ExtentPoints(plan)) {
        const TVRMVector2d v = p - frame.origin;
        uMin = std::min(uMin, v.InnerProduct(frame.across)), uMax = std::max(uMax, v.InnerProduct(frame.across));
        sMin = std::min(sMin, v.InnerProduct(frame.along)), sMax = std::max(sMax, v.InnerProduct(frame.along));
    }
    const bool clamped = uMin < -radius || uMax > radius;
    uMin = std::max(uMin, -radius), uMax = std::min(uMax, radius);
    if (uMax - uMin <= CVRMEpsilon || sMax - sMin <= CVRMEpsilon)
        return empty;
    // The section in the axis frame (x across, y the elevation): the annulus
    // sector between the radial lines through the top surface's ends.
    const double a1 = std::atan2(std::sqrt(std::max(0.0, radius * radius - uMax * uMax)), uMax);
    const double a2 = std::atan2(std::sqrt(std::max(0.0, radius * radius - uMin * uMin)), uMin);
    const bool major = a2 - a1 >= CVRMPi;
    auto at = [&](double r, double a) { return TVRMPoint2d{r * std::cos(a), axisElev + r * std::sin(a)}; };
    TVRMPolygon2d ring(std::vector<TVRMVertex2d>{
        {at(radius, a1), radius, major ? CVRMArcKindCCWMajor : CVRMArcKindCCW},
        {at(radius, a2)},
        {at(inner, a2), inner, major ? CVRMArcKindCWMajor : CVRMArcKindCW},
        {at(inner, a1)},
    });
    TVRMMultiPolygon2d section;
    section.Add(std::move(ring));
    const auto local = CreatePrism(section, sMin, sMax - sMin);
    if (!local->HasFaces())
        return empty;
    std::vector<TVRMFace3d> faces;
    for (const TVRMFace3d& face : local->GetFaces())
        faces.push_back(frame.FaceToWorld(face));
    auto solid = std::make_unique<TVRMPolyhedron3d>(std::move(faces));
    // A plan that is the rectangle of its own extent along the axis holds the
    // whole shell; any other plan trims it.
    const bool rectangle = !clamped && plan.GetCount() == 1 && plan.GetItems(0).GetCount() == 4 &&
                           std::fabs(plan.Area() - (uMax - uMin) * (sMax - sMin)) <= CVRMEpsilon * plan.Perimeter();
    if (!rectangle) {
        const TVRMBox3d box = solid->GetBox();
        const auto prism = CreatePrism(plan, box.min.z - 1, box.max.z - box.min.z + 2);
        if (!TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *prism, CVRMBoolIntersect))
            return empty;
    }
    OrderCylinderFaces(*solid, frame.origin, frame.along, axisElev, radius, inner);
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateDomeSlab(const TVRMMultiPolygon2d& plan,
                                                                   const TVRMPoint2d& centre, double halfThickness,
                                                                   double centreElev, double radius)
{
    const double inner = radius - 2 * halfThickness;
    if (plan.IsEmpty() || !(halfThickness > 0) || !(inner > CVRMEpsilon) || !std::isfinite(radius) ||
        !std::isfinite(centreElev))
        return std::make_unique<TVRMPolyhedron3d>();
    const double reach = std::min(PlanReach(plan, centre), radius);
    if (reach <= CVRMEpsilon)
        return std::make_unique<TVRMPolyhedron3d>();
    // Sine and cosine of the springing's angle from the vertical.
    const double sine = reach / radius, cosine = std::sqrt(std::max(0.0, 1 - sine * sine));
    const std::vector<TMeridianEdge> section{
        {{0, centreElev + inner}, {inner * sine, centreElev + inner * cosine}, inner, centreElev},
        {{inner * sine, centreElev + inner * cosine}, {reach, centreElev + radius * cosine}},
        {{reach, centreElev + radius * cosine}, {0, centreElev + radius}, radius, centreElev},
    };
    // The widest gap between a facet and its sphere, plus the length tolerance.
    const double sagitta = radius * (1 - std::cos(CVRMArcFacetAngle)) + CVRMEpsilon;
    return CreateRevolvedSlab(section, plan, centre, reach, sagitta, [&](const TVRMFace3d& face, const TVRMPoint3d& p) {
        return RoundRun(face, p - TVRMPoint3d{centre.x, centre.y, centreElev}, radius, inner, sagitta);
    });
}

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::CreateConeSlab(const TVRMMultiPolygon2d& plan,
                                                                   const TVRMPoint2d& centre, double halfThickness,
                                                                   double baseElev, double coneRadius, double rise)
{
    if (plan.IsEmpty() || !(halfThickness > 0) || !(coneRadius > CVRMEpsilon) || !std::isfinite(baseElev) ||
        !std::isfinite(rise))
        return std::make_unique<TVRMPolyhedron3d>();
    const double reach = PlanReach(plan, centre);
    const double k = rise / coneRadius, s = std::hypot(1.0, k), t = 2 * halfThickness;
    const double apex = baseElev + rise;
    // The top's edge over the reach and the bottom's edge: square to the
    // surface under a peak, straight down under a funnel (so that the shell
    // stays inside the reach).
    const TVRMPoint2d top{reach, apex - k * reach};
    const TVRMPoint2d bottom =
        k > 0 ? TVRMPoint2d{reach - t * k / s, top.y - t / s} : TVRMPoint2d{reach, top.y - t * s};
    if (reach <= CVRMEpsilon || bottom.x <= CVRMEpsilon)
        return std::make_unique<TVRMPolyhedron3d>();
    const std::vector<TMeridianEdge> section{{{0, apex - t * s}, bottom}, {bottom, top}, {top, {0, apex}}};
    const double sagitta = reach * (1 - std::cos(CVRMArcFacetAngle)) + CVRMEpsilon;
    return CreateRevolvedSlab(section, plan, centre, reach, sagitta, [&](const TVRMFace3d& face, const TVRMPoint3d& p) {
        const TVRMVector2d away = TVRMPoint2d{p.x, p.y} - centre;
        const double distance = away.Length();
        if (distance <= CVRMEpsilon)
            return 0;
        // The top surface's upward normal there and the height above it along it.
        const TVRMVector3d up = TVRMVector3d{k * away.x / distance, k * away.y / distance, 1} * (1 / s);
        const double above = (p.z - (apex - k * distance)) / s;
        return IsFacetOf(face, up, above, 0, sagitta) ? 1 : IsFacetOf(face, up * -1, above, -t, sagitta) ? 2 : 0;
    });
}
