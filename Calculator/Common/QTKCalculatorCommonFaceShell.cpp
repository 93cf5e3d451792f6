#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

// Comparisons of normal z with zero inside BuildSlopedTopOrBottomShell.
constexpr double CNormalZeroTolerance = 1e-12;
// Reach of the foot test of arch faces and the probe step (mm).
constexpr double CArchFootReach = 10.0;
// Margin of the clipping prism above and below the solid (mm).
constexpr double CClipMargin = 1000.0;
// Steps of an arc edge when an area is integrated across an arched surface.
constexpr int CArcIntegrationSteps = 64;

template <class Pred>
std::vector<int> SelectFaces(const TVRMPolyhedron3d& solid, Pred take)
{
    std::vector<int> faces;
    for (int i = 0; i < solid.GetFaceCount(); ++i)
        if (take(solid.GetFace(i)))
            faces.push_back(i);
    return faces;
}

void LoopZRange(const TVRMFace3d& face, double& lowest, double& highest)
{
    lowest = HUGE_VAL, highest = -HUGE_VAL;
    for (const TVRMLoop3d& loop : face.GetLoops())
        for (const TVRMPoint3d& p : loop)
            lowest = std::min(lowest, p.z), highest = std::max(highest, p.z);
}

// The limit of |nz| / |n horizontal| above which a face counts as top or
// bottom: cot(angle). 90 degrees or more: 0 (any tilt is top or bottom); 0 or
// less: no limit (only level faces are top or bottom).
double FlatFaceLimit(double angle)
{
    if (GreaterEqualThan(angle, 90.0))
        return 0.0;
    if (LessEqualThan(angle, 0.0))
        return HUGE_VAL;
    return 1.0 / std::tan(angle * CVRMPi / 180.0);
}

bool IsFlatAgainst(const TVRMVector3d& n, double limit)
{
    const double h = std::hypot(n.x, n.y);
    return IsZero(h) || GreaterThan(std::abs(n.z) / h, limit);
}

const IQTKCurvedFaceElevInfo* CurvedInfo(const IQTKFaceShape& shape)
{
    return dynamic_cast<const IQTKCurvedFaceElevInfo*>(shape.GetFaceElevInfo());
}

// ---------------------------------------------------------------------------
// Areas on slopes.

TVRMPoint3d SlopePoint(const TVRMPolygon2d& outline, const TQTKSlopePoint& sp)
{
    QTK_ASSERT(sp.vertexIndex >= 0 && sp.vertexIndex < outline.GetCount());
    const TVRMPoint2d& p = outline.GetVertex(sp.vertexIndex).pt;
    return {p.x, p.y, sp.elev};
}

// |nz| of the unit normal of u x v; 0 when u and v are parallel.
double UnitNormalZ(const TVRMVector3d& u, const TVRMVector3d& v)
{
    return std::abs(u.CrossProduct(v).Unit().z);
}

// Plan area over |nz|; 0 for a vertical (or undefined) surface.
double AreaOverNormalZ(double area, double nz)
{
    return IsZero(nz) ? 0.0 : area / nz;
}

const TVRMPolygon2d& SlopeOutline(const TVRMMultiPolygon2d& polygon)
{
    for (int i = 0; i < polygon.GetCount(); ++i)
        if (polygon.GetCount() == 1 || !polygon.IsHole(i))
            return polygon.GetItems(i);
    QTK_ASSERT_MSG(false, "the slope outline has no outer ring");
    return polygon.GetItems(0);
}

double AreaByPoints(double area, const TVRMPolygon2d& outline, const IQTKSlopeByPointsInfo& info)
{
    QTK_ASSERT(outline.GetCount() >= 3);
    const TVRMPoint3d p1 = SlopePoint(outline, info.GetPoint(0));
    const TVRMPoint3d p2 = SlopePoint(outline, info.GetPoint(1));
    const TVRMPoint3d p3 = SlopePoint(outline, info.GetPoint(2));
    TVRMVector3d u = (p2 - p1).Unit();
    double c = UnitNormalZ(u, (p3 - p1).Unit());
    if (IsZero(c)) {
        u = -u;
        c = UnitNormalZ(u, (p3 - p2).Unit());
    }
    return AreaOverNormalZ(area, c);
}

double AreaByEdge(double area, const TVRMPolygon2d& outline, const IQTKSlopeByEdgeInfo& info)
{
    const int i = info.GetEdgeIndex();
    QTK_ASSERT(i >= 0 && i < outline.GetCount());
    const int j = i + 1 == outline.GetCount() ? 0 : i + 1;
    const TVRMPoint2d& vi = outline.GetVertex(i).pt;
    const TVRMPoint2d& vj = outline.GetVertex(j).pt;
    const TVRMPoint3d q = SlopePoint(outline, info.GetPoint());
    const TVRMVector3d u{vj.x - vi.x, vj.y - vi.y, 0.0};
    const TVRMVector3d v{q.x - vi.x, q.y - vi.y, q.z - info.GetEdgeElev()};
    return AreaOverNormalZ(area, UnitNormalZ(u, v));
}

using TPlanRings = std::vector<std::vector<TVRMPoint2d>>;

// Plan points of every ring, arc edges in small steps.
TPlanRings TessellateRings(const TVRMMultiPolygon2d& polygon)
{
    TPlanRings rings;
    for (const TVRMPolygon2d& ring : polygon.Items()) {
        std::vector<TVRMPoint2d>& out = rings.emplace_back();
        for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
            const int steps = edge.IsArc() ? CArcIntegrationSteps : 1;
            for (int k = 0; k < steps; ++k)
                out.push_back(edge.PointAtLength(edge.Length() * k / steps));
        }
    }
    return rings;
}

template <class Visit>
void ForEachRingEdge(const TPlanRings& rings, Visit visit)
{
    for (const auto& ring : rings)
        for (size_t i = 0; i < ring.size(); ++i)
            visit(ring[i], ring[(i + 1) % ring.size()]);
}

// Length of the region's section along the level d = const, the rings given
// in the frame of a line (x along it, y the signed distance from it).
double SectionWidth(const TPlanRings& rings, double d)
{
    double sum = 0.0;
    ForEachRingEdge(rings, [&](const TVRMPoint2d& a, const TVRMPoint2d& b) {
        if ((a.y <= d && d < b.y) || (b.y <= d && d < a.y)) {
            const double s = a.x + (b.x - a.x) * (d - a.y) / (b.y - a.y);
            sum += b.y > a.y ? s : -s;
        }
    });
    return std::abs(sum);
}

// Even-odd test over the rings (outer rings and holes alike).
bool InsideRings(const TPlanRings& rings, const TVRMPoint2d& p)
{
    bool inside = false;
    ForEachRingEdge(rings, [&](const TVRMPoint2d& a, const TVRMPoint2d& b) {
        if ((a.y <= p.y && p.y < b.y) || (b.y <= p.y && p.y < a.y))
            if (a.x + (b.x - a.x) * (p.y - a.y) / (b.y - a.y) > p.x)
                inside = !inside;
    });
    return inside;
}

// Length of the circle of radius t about the centre that lies inside the region.
double CircleLengthInside(const TPlanRings& rings, const TVRMPoint2d& centre, double t)
{
    if (!(t > 0.0))
        return 0.0;
    std::vector<double> angles;
    ForEachRingEdge(rings, [&](const TVRMPoint2d& a, const TVRMPoint2d& b) {
        const TVRMVector2d p = a - centre, v = b - a;
        const double qa = v.InnerProduct(v), qb = 2 * p.InnerProduct(v), qc = p.InnerProduct(p) - t * t;
        const double disc = qb * qb - 4 * qa * qc;
        if (qa <= 0.0 || disc < 0.0)
            return;
        for (double s : {(-qb - std::sqrt(disc)) / (2 * qa), (-qb + std::sqrt(disc)) / (2 * qa)})
            if (s >= 0.0 && s < 1.0)
                angles.push_back(std::atan2(p.y + s * v.y, p.x + s * v.x));
    });
    const auto inside = [&](double angle) {
        return InsideRings(rings, centre + TVRMVector2d{std::cos(angle), std::sin(angle)} * t);
    };
    if (angles.empty())
        return inside(0.0) ? 2 * CVRMPi * t : 0.0;
    std::sort(angles.begin(), angles.end());
    double length = 0.0;
    for (size_t i = 0; i < angles.size(); ++i) {
        const double from = angles[i], to = i + 1 < angles.size() ? angles[i + 1] : angles[0] + 2 * CVRMPi;
        if (to > from && inside((from + to) / 2))
            length += (to - from) * t;
    }
    return length;
}

// Integral of f over [a, b] by the five-point rule.
double Integrate(const std::function<double(double)>& f, double a, double b)
{
    const double half = (b - a) / 2.0, mid = (a + b) / 2.0;
    return half * IntegrateGauss5([&](double x) { return f(mid + half * x); });
}

// A plan region on a round surface of radius r (a cylinder about an axis, a
// sphere about a centre) whose height depends on the distance t from the axis
// or centre: for t in [lo, hi] the surface over plan ratio is r / sqrt(r² - t²),
// elsewhere 1. Measure(t) is the length of the region's section at t; it is
// integrated piece by piece between the breaks, and with t = r sin(phi) the
// curved part runs smoothly in phi.
double AreaOnRoundSurface(double area, double r, double lo, double hi, std::vector<double> breaks,
                          const std::function<double(double)>& measure)
{
    for (double& t : breaks)
        t = std::clamp(t, lo, hi);
    breaks.push_back(lo);
    breaks.push_back(hi);
    std::sort(breaks.begin(), breaks.end());
    double flat = 0.0, curved = 0.0;
    for (size_t i = 0; i + 1 < breaks.size(); ++i) {
        const double t0 = breaks[i], t1 = breaks[i + 1];
        if (t1 - t0 <= 0.0)
            continue;
        flat += Integrate(measure, t0, t1);
        curved +=
            Integrate([&](double phi) { return measure(r * std::sin(phi)) * r; }, std::asin(t0 / r), std::asin(t1 / r));
    }
    return area - flat + curved;
}

// Half the plan width of a curved surface's round part.
double CurvedHalfSpan(const IQTKCurvedFaceElevInfo& info)
{
    const double r = info.GetRadius();
    return info.IsRadius() ? r : std::min(r, info.GetFirstValue() / 2.0);
}

// A plan polygon on an arched (cylinder) surface, the section taken along the axis.
double AreaOnCylinder(double area, const TVRMMultiPolygon2d& polygon, const IQTKFaceElevKind4Info& info)
{
    const double r = info.GetRadius();
    const TVRMCustomLine2d& axis = info.GetAxisLine();
    if (!(r > 0.0) || IsZero(axis.Vector().Length()))
        return area;  // zero rise: a level surface
    const TVRMVector2d u = axis.Vector().Normal();
    TPlanRings rings = TessellateRings(polygon);
    std::vector<double> breaks;
    for (auto& ring : rings)
        for (TVRMPoint2d& p : ring) {
            const TVRMVector2d v = p - axis.StartPt();
            p = {v.InnerProduct(u), -u.CrossProduct(v)};
            breaks.push_back(p.y);
        }
    const double halfSpan = CurvedHalfSpan(info);
    return AreaOnRoundSurface(area, r, -halfSpan, halfSpan, breaks, [&](double d) { return SectionWidth(rings, d); });
}

// A plan polygon on a domed (sphere) surface, the section taken round the centre.
double AreaOnSphere(double area, const TVRMMultiPolygon2d& polygon, const IQTKFaceElevKind5Info& info)
{
    const double r = info.GetRadius();
    if (!(r > 0.0))
        return area;  // zero rise: a level surface
    const TVRMPoint2d centre = info.GetCenter();
    const TPlanRings rings = TessellateRings(polygon);
    std::vector<double> breaks;
    ForEachRingEdge(rings, [&](const TVRMPoint2d& a, const TVRMPoint2d& b) {
        breaks.push_back(centre.DistanceTo(a));
        breaks.push_back(TVRMPositionFunc2d::DistanceTo(centre, TVRMCustomLine2d(a, b)));
    });
    return AreaOnRoundSurface(area, r, 0.0, CurvedHalfSpan(info), breaks,
                              [&](double t) { return CircleLengthInside(rings, centre, t); });
}

// A cone rises evenly inside its plan radius: that part scales by the length
// of the slope over its run.
double AreaOnCone(double area, const TVRMMultiPolygon2d& polygon, const IQTKFaceElevKind6Info& info)
{
    const double radius = info.GetFirstValue(), rise = info.GetSecondValue();
    if (!(radius > 0.0) || IsZero(rise))
        return area;
    TVRMMultiPolygon2d disc;
    disc.Add(TVRMPolygon2d::CreateCircle(info.GetCenter(), radius));
    const double inside = TVRMIntersectFunc2d::IntPolygon(polygon, disc)->Area();
    return area - inside + inside * std::hypot(1.0, rise / radius);
}

}  // namespace

std::unique_ptr<TVRMPolyhedronShell3d> BuildFaceShell(const TVRMPolyhedron3d& solid, const std::vector<int>& faces)
{
    if (faces.empty())
        return std::make_unique<TVRMPolyhedronShell3d>();
    return std::make_unique<TVRMPolyhedronShell3d>(solid, faces);
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildNonVerticalFaceShell(const TVRMPolyhedron3d& solid)
{
    return BuildFaceShell(solid, SelectFaces(solid, [](const TVRMFace3d& f) { return !IsZero(f.GetNormal().z); }));
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildTopOrBottomFaceShell(const TVRMPolyhedron3d& solid, bool up)
{
    return BuildFaceShell(solid, SelectFaces(solid, [up](const TVRMFace3d& f) {
                              return up ? GreaterThan(f.GetNormal().z, 0.0) : LessThan(f.GetNormal().z, 0.0);
                          }));
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildVerticalFaceShell(const TVRMPolyhedron3d& solid)
{
    return BuildFaceShell(solid, SelectFaces(solid, [](const TVRMFace3d& f) { return IsZero(f.GetNormal().z); }));
}

bool IsSlopedFaceShape(const IQTKFaceShape* shape)
{
    if (!shape)
        return false;
    const int kind = shape->GetElevKind();
    return kind == CQTKFaceElevCylinder || kind == CQTKFaceElevSphere || kind == CQTKFaceElevCone;
}

bool IsSlopedFaceRising(const IQTKFaceShape* shape)
{
    QTK_ASSERT(IsSlopedFaceShape(shape));
    const IQTKCurvedFaceElevInfo* info = CurvedInfo(*shape);
    if (!info)
        return false;
    switch (shape->GetElevKind()) {
        case CQTKFaceElevCylinder:
        case CQTKFaceElevSphere:
            return GreaterThan(info->IsRadius() ? info->GetFirstValue() : info->GetSecondValue(), 0.0);
        case CQTKFaceElevCone:
            return GreaterThan(info->GetFirstValue(), 0.0);
        default:
            return false;
    }
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildSlopeSideFaceShell(const TVRMPolyhedron3d& solid,
                                                               const IQTKFaceShape& shape, bool up)
{
    // Upward faces when Up and the surface rises, or neither; downward otherwise.
    const bool upward = up == IsSlopedFaceRising(&shape);
    return BuildTopOrBottomFaceShell(solid, upward);
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildSlopedTopOrBottomShell(const TVRMPolyhedron3d& solid,
                                                                   const IQTKFaceShape& shape, bool up)
{
    const auto* arch = shape.GetElevKind() == CQTKFaceElevCylinder
                           ? dynamic_cast<const IQTKFaceElevKind4Info*>(shape.GetFaceElevInfo())
                           : nullptr;
    // A zero rise is a level surface: no arch, no feet.
    if (arch && !arch->IsRadius() && IsZero(arch->GetSecondValue()))
        arch = nullptr;
    bool rising = false;
    double footElev = solid.GetBox().min.z;
    if (arch) {
        rising = IsSlopedFaceRising(&shape);
        footElev = arch->GetBaseElev();
        if (!arch->IsRadius()) {
            // The axis of the arch lies a radius below its crown.
            const double chord = arch->GetFirstValue(), rise = arch->GetSecondValue();
            const double radius = (chord * chord / 4.0 + rise * rise) / (2.0 * rise);
            footElev = arch->GetBaseElev() + rise - radius;
        }
    }
    const auto takes = [&](const TVRMFace3d& face) {
        const double nz = face.GetNormal().z;
        if (up ? nz > CNormalZeroTolerance : nz < -CNormalZeroTolerance)
            return true;
        if (!arch || std::abs(nz) > CNormalZeroTolerance || face.GetLoopCount() == 0 || face.GetLoop(0).empty())
            return false;
        double lowest, highest;
        LoopZRange(face, lowest, highest);
        if (!(std::abs((rising ? lowest : highest) - footElev) < CArchFootReach))
            return false;
        const TVRMPoint3d& first = face.GetLoop(0).front();
        const TVRMPoint2d p{first.x, first.y};
        const TVRMPoint2d q = p + TVRMVector2d{face.GetNormal().x, face.GetNormal().y}.Normal() * CArchFootReach;
        const double d1 = std::abs(TVRMPositionFunc2d::SignedDistanceTo(p, arch->GetAxisLine(), false));
        const double d2 = std::abs(TVRMPositionFunc2d::SignedDistanceTo(q, arch->GetAxisLine(), false));
        // Rising: the top takes the feet that face away from the axis.
        const bool away = GreaterThan(d2, d1), towards = LessThan(d2, d1);
        return rising == up ? away : towards;
    };
    return BuildFaceShell(solid, SelectFaces(solid, takes));
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildClippedTopShell(IRDXRecord* record, const TVRMPolyhedron3d& solid,
                                                            const TVRMMultiPolygon2d& polygon)
{
    const TVRMBox3d box = solid.GetBox();
    if (!box.IsValid())
        return std::make_unique<TVRMPolyhedronShell3d>();
    auto prism =
        TVRMPolyhedron3d::CreatePrism(polygon, box.min.z - CClipMargin, box.max.z - box.min.z + 2 * CClipMargin);
    // A failed intersection leaves the whole prism: nothing is known of the top then.
    if (!TVRMNewPolyBooleanOperator::BooleanOperate(*prism, solid, CVRMBoolIntersect))
        return std::make_unique<TVRMPolyhedronShell3d>();
    IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const auto* shape = drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
    if (!shape)
        return BuildTopOrBottomFaceShell(*prism, true);
    return BuildSlopedTopOrBottomShell(*prism, *shape, true);
}

void DeleteFacesOffSlope(TVRMPolyhedronShell3d& shell, const IQTKFaceShape& shape, bool above)
{
    const IQTKFaceElevInfo* info = shape.GetFaceElevInfo();
    if (!IsSlopedFaceShape(&shape) || !info)
        return;
    for (int i = shell.GetFaceCount() - 1; i >= 0; --i) {
        const TVRMFace3d& face = shell.GetFace(i);
        if (face.GetLoopCount() == 0)
            continue;
        const TVRMLoop3d& loop = face.GetLoop(0);
        double largest = 0.0, smallest = 0.0;
        for (size_t k = 0; k < loop.size(); ++k) {
            const TVRMPoint3d mid = (loop[k] + loop[(k + 1) % loop.size()]) * 0.5;
            const double d = mid.z - info->GetElevAt({mid.x, mid.y});
            largest = std::max(largest, d), smallest = std::min(smallest, d);
        }
        const double sum = largest + smallest;
        if (above ? GreaterThan(sum, 0.0) : LessThan(sum, 0.0))
            shell.DeleteFace(i);
    }
}

double GetSlopedSurfaceArea(const TVRMMultiPolygon2d& polygon, const IQTKFaceElevInfo* slope)
{
    const double area = polygon.Area();
    if (!slope)
        return area;
    if (const auto* ratio = dynamic_cast<const IQTKSlopeRatioInfo*>(slope))
        return area * std::sqrt(ratio->GetRatio() * ratio->GetRatio() + 1.0);
    if (dynamic_cast<const IQTKFlatShapeInfo*>(slope) || polygon.IsEmpty())
        return area;
    if (const auto* points = dynamic_cast<const IQTKSlopeByPointsInfo*>(slope))
        return AreaByPoints(area, SlopeOutline(polygon), *points);
    if (const auto* edge = dynamic_cast<const IQTKSlopeByEdgeInfo*>(slope))
        return AreaByEdge(area, SlopeOutline(polygon), *edge);
    if (const auto* arch = dynamic_cast<const IQTKFaceElevKind4Info*>(slope))
        return AreaOnCylinder(area, polygon, *arch);
    if (const auto* dome = dynamic_cast<const IQTKFaceElevKind5Info*>(slope))
        return AreaOnSphere(area, polygon, *dome);
    if (const auto* cone = dynamic_cast<const IQTKFaceElevKind6Info*>(slope))
        return AreaOnCone(area, polygon, *cone);
    return area * slope->GetSlopeFactor();
}

double SubtractElementSolidFromShell(TQTKShellCalc3d& calc, const TVRMPolyhedron3d& solid, IRDXRecord* record,
                                     int kinds, bool formulaText)
{
    IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    QTK_ASSERT(drawObj != nullptr);
    const std::unique_ptr<TVRMPolyhedron3d> shown = drawObj->BuildPolyhedron(true, nullptr, 0.0, 0);
    return calc.Subtract(solid, record, kinds, shown.get(), true, formulaText);
}

namespace {

// The polygon on the plane as one face, its normal the plane's.
std::unique_ptr<TVRMPolyhedronShell3d> PolygonOnPlaneShell(const TVRMMultiPolygon2d& polygon, const TVRMPlane3d* plane)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    if (!plane)
        return shell;
    // A thin slab on the plane; its cap on the plane (second to last) is the face.
    const auto slab = TVRMPolyhedron3d::CreateOnPlane(polygon, *plane, 1.0);
    if (slab->GetFaceCount() >= 3)
        shell->AddFace(slab->GetFace(slab->GetFaceCount() - 2));
    return shell;
}

const IQTKFaceShape* FaceShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
}

}  // namespace

std::unique_ptr<TVRMPolyhedronShell3d> BuildFaceShapeShell(IRDXRecord* record, const TVRMMultiPolygon2d& polygon,
                                                           bool top)
{
    const auto plane = GetFaceShapePlane(FaceShapeOf(GetRecordDrawObj(record)), top);
    return PolygonOnPlaneShell(polygon, plane.get());
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildFaceShapeOutlineShell(IQTKElementDrawObj* drawObj, bool top)
{
    const IQTKFaceShape* shape = FaceShapeOf(drawObj);
    if (!shape)
        return std::make_unique<TVRMPolyhedronShell3d>();
    const auto plane = GetFaceShapePlane(shape, top);
    return PolygonOnPlaneShell(shape->GetOutline(), plane.get());
}

int ClassifyFaceDirection(const TVRMVector3d& normal, const TVRMPoint3d& point, const TVRMCustomLine2d& line,
                          double angle)
{
    const bool zeroNormal = normal.x == 0.0 && normal.y == 0.0 && normal.z == 0.0;
    QTK_ASSERT_MSG(!zeroNormal, "a face without a normal has no direction");
    if (zeroNormal)
        return CQTKFaceDirInvalid;
    if (IsFlatAgainst(normal, FlatFaceLimit(angle))) {
        if (normal.z > 0.0)
            return CQTKFaceDirTop;
        if (normal.z < 0.0)
            return CQTKFaceDirBottom;
        return CQTKFaceDirInvalid;
    }
    const TVRMVector2d t = line.TangentAt({point.x, point.y});
    const TVRMVector2d m = TVRMVector2d{normal.x, normal.y}.Normal();
    const double x = t.CrossProduct(m);
    if (std::abs(x) <= CVRMZero)
        return CQTKFaceDirAlong;
    return x > 0.0 ? CQTKFaceDirLeft : CQTKFaceDirRight;
}

void GetFaceIndicesByDirection(const TVRMPolyhedron3d& solid, const TVRMCustomLine2d& line, TQTKFaceCodeSet codes,
                               std::vector<int>& indices, const std::vector<int>& skip, double angle)
{
    indices.clear();
    for (int i = 0; i < solid.GetFaceCount(); ++i) {
        if (std::find(skip.begin(), skip.end(), i) != skip.end())
            continue;
        const TVRMFace3d& face = solid.GetFace(i);
        if (face.GetLoopCount() == 0 || face.GetLoop(0).size() < 2)
            continue;
        const TVRMLoop3d& loop = face.GetLoop(0);
        const TVRMPoint3d mid = (loop[0] + loop[1]) * 0.5;
        if (FaceCodeSetHas(codes, ClassifyFaceDirection(face.GetNormal(), mid, line, angle)))
            indices.push_back(i);
    }
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildShellByDirection(const TVRMPolyhedron3d& solid,
                                                             const TVRMCustomLine2d& line, TQTKFaceCodeSet codes,
                                                             const std::vector<int>& faces, double angle)
{
    if (codes == MakeFaceCodeSet({CQTKFaceDirAlong}))
        return BuildFaceShell(solid, faces);
    std::vector<int> indices;
    const bool withAlong = FaceCodeSetHas(codes, CQTKFaceDirAlong);
    GetFaceIndicesByDirection(solid, line, codes, indices, withAlong ? std::vector<int>{} : faces, angle);
    return BuildFaceShell(solid, indices);
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildShellBySlope(const TVRMPolyhedron3d& solid, TQTKFaceCodeSet classes,
                                                         double angle)
{
    const double limit = FlatFaceLimit(angle);
    return BuildFaceShell(solid, SelectFaces(solid, [&](const TVRMFace3d& face) {
                              const TVRMVector3d& n = face.GetNormal();
                              if (!IsFlatAgainst(n, limit))
                                  return (classes & CQTKSlopeSteep) != 0;
                              if (n.z > 0.0)
                                  return (classes & CQTKSlopeUp) != 0;
                              if (n.z < 0.0)
                                  return (classes & CQTKSlopeDown) != 0;
                              return true;
                          }));
}
