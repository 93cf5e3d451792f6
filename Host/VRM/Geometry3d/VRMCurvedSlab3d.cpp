// Curved slab solids: an arched slab (a cylindrical shell about a level axis
// line), built as a prism over its annular section in the axis frame and
// turned into place, so that its curved facets keep their circles.
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

// Moves the side faces first, then the facets facing away from the axis (the
// top surface), then those facing it (the bottom surface), and records the
// two runs in the solid's data.
void OrderCylinderFaces(TVRMPolyhedron3d& solid, const TVRMPoint2d& axisPoint, const TVRMVector2d& along,
                        double axisElev, double radius, double inner)
{
    // The widest gap between a facet and its circle, plus the length tolerance.
    const double sagitta = radius * (1 - std::cos(CVRMArcFacetAngle / 2)) + CVRMEpsilon;
    std::vector<TVRMFace3d> sides, tops, bottoms;
    for (const TVRMFace3d& face : solid.GetFaces()) {
        TVRMPoint3d p;
        if (!face.GetOnePointInLoop(p)) {
            sides.push_back(face);
            continue;
        }
        const double s = (TVRMPoint2d{p.x, p.y} - axisPoint).InnerProduct(along);
        TVRMVector3d radial{p.x - axisPoint.x - along.x * s, p.y - axisPoint.y - along.y * s, p.z - axisElev};
        const double distance = radial.Length();
        if (distance <= CVRMEpsilon) {
            sides.push_back(face);
            continue;
        }
        radial = radial * (1 / distance);
        const double facing = face.GetNormal().InnerProduct(radial);
        if (facing > 0.9 && std::fabs(distance - radius) <= sagitta)
            tops.push_back(face);
        else if (facing < -0.9 && std::fabs(distance - inner) <= sagitta)
            bottoms.push_back(face);
        else
            sides.push_back(face);
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
