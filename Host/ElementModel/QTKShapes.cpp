#include "Host/ElementModel/QTKShapes.h"

#include <algorithm>
#include <cmath>

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

// ---------------------------------------------------------------------------
// Outline helpers.

bool GetOutlineEdge(const TVRMMultiPolygon2d& outline, int index, TVRMCustomLine2d& edge)
{
    if (index < 0)
        return false;
    for (const auto& ring : outline.Items()) {
        if (index < ring.GetEdgeCount()) {
            edge = ring.GetEdge(index);
            return true;
        }
        index -= ring.GetEdgeCount();
    }
    return false;
}

bool GetOutlineVertex(const TVRMMultiPolygon2d& outline, int index, TVRMPoint2d& vertex)
{
    if (index < 0)
        return false;
    for (const auto& ring : outline.Items()) {
        if (index < ring.GetCount()) {
            vertex = ring.GetVertex(index).pt;
            return true;
        }
        index -= ring.GetCount();
    }
    return false;
}

std::string FaceRingFault(const TVRMPolygon2d& ring)
{
    for (int i = 0; i < ring.GetEdgeCount(); ++i) {
        const TVRMCustomLine2d edge = ring.GetEdge(i);
        if (edge.StartPt().IsEqualTo(edge.EndPt()))
            return "edge " + std::to_string(i) + " has no length (a vertex repeats)";
        if (edge.IsArc() && !edge.IsValidaty())
            return "the arc of edge " + std::to_string(i) + " has a radius shorter than half its chord";
    }
    if (ring.GetCount() < 3 && !(ring.GetCount() == 2 && ring.GetVertex(0).IsArc()))
        return "the outline does not close: a ring needs at least three vertices";
    if (ring.Area() <= CVRMEpsilon)
        return "the outline does not close: the ring encloses no area";
    return {};
}

bool ValidFaceShapePoly(const TVRMMultiPolygon2d& polygon, int /*flag*/)
{
    if (polygon.IsEmpty() || polygon.GetItems(0).IsHole())
        return false;
    for (const auto& ring : polygon.Items())
        if (!FaceRingFault(ring).empty())
            return false;
    return true;
}

namespace {

// An outline edge with the unit normal of its chord towards the region (left
// of a ring's direction: the inside of an outer ring, the outside of a hole).
struct TEdgeFrame {
    TVRMPoint2d start;
    TVRMVector2d inward;

    // The plane through the edge at `elev` rising by `slope` per unit inward.
    std::array<double, 3> Plane(double elev, double slope) const
    {
        return {slope * inward.x, slope * inward.y, elev - slope * (inward.x * start.x + inward.y * start.y)};
    }
};

bool GetEdgeFrame(const TVRMMultiPolygon2d& outline, int edgeIndex, TEdgeFrame& frame, std::string& reason)
{
    TVRMCustomLine2d edge;
    if (!GetOutlineEdge(outline, edgeIndex, edge)) {
        reason = "edge index out of range";
        return false;
    }
    const TVRMVector2d d = edge.Vector();
    if (d.Length() <= CVRMEpsilon) {
        reason = "the edge has no length";
        return false;
    }
    frame = {edge.StartPt(), d.Normal().RotateHalfPi(false)};
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Elevation information.

double TQTKPlanarElevInfo::GetSlopeFactor() const
{
    return IsLevel() ? 1.0 : std::sqrt(1.0 + a_ * a_ + b_ * b_);
}

TVRMVector3d TQTKPlanarElevInfo::GetNormal() const
{
    return TVRMVector3d(-a_, -b_, 1.0).Unit();
}

Ref<TQTKSlopeRatioElevInfo> TQTKSlopeRatioElevInfo::Create(const TVRMMultiPolygon2d& outline, int edgeIndex,
                                                           double edgeElev, double ratio, std::string& reason)
{
    TEdgeFrame frame;
    if (!GetEdgeFrame(outline, edgeIndex, frame, reason))
        return nullptr;
    const auto [a, b, c] = frame.Plane(edgeElev, ratio);
    return Ref<TQTKSlopeRatioElevInfo>(new TQTKSlopeRatioElevInfo(a, b, c, edgeIndex, edgeElev, ratio));
}

Ref<TQTKSlopeByPointsElevInfo> TQTKSlopeByPointsElevInfo::Create(const TVRMMultiPolygon2d& outline,
                                                                 const std::array<TQTKSlopePoint, 3>& points,
                                                                 std::string& reason)
{
    std::array<TVRMPoint2d, 3> p;
    for (int i = 0; i < 3; ++i) {
        if (!GetOutlineVertex(outline, points[i].vertexIndex, p[i])) {
            reason = "vertex index out of range";
            return nullptr;
        }
    }
    const TVRMVector2d u = p[1] - p[0], v = p[2] - p[0];
    const double det = u.CrossProduct(v);
    if (std::abs(det) <= CVRMEpsilon * std::max(1.0, std::max(u.Length(), v.Length()))) {
        reason = "the three vertices lie in one line";
        return nullptr;
    }
    const double du = points[1].elev - points[0].elev, dv = points[2].elev - points[0].elev;
    // Solve a*u.x + b*u.y = du, a*v.x + b*v.y = dv.
    const double a = (du * v.y - dv * u.y) / det;
    const double b = (u.x * dv - v.x * du) / det;
    const double c = points[0].elev - a * p[0].x - b * p[0].y;
    return Ref<TQTKSlopeByPointsElevInfo>(new TQTKSlopeByPointsElevInfo(a, b, c, points));
}

TQTKSlopePoint TQTKSlopeByPointsElevInfo::GetPoint(int index) const
{
    QTK_ASSERT(index >= 0 && index < 3);
    return points_[static_cast<size_t>(index)];
}

Ref<TQTKSlopeByEdgeElevInfo> TQTKSlopeByEdgeElevInfo::Create(const TVRMMultiPolygon2d& outline, int edgeIndex,
                                                             double edgeElev, const TQTKSlopePoint& point,
                                                             std::string& reason)
{
    TEdgeFrame frame;
    TVRMPoint2d q;
    if (!GetEdgeFrame(outline, edgeIndex, frame, reason))
        return nullptr;
    if (!GetOutlineVertex(outline, point.vertexIndex, q)) {
        reason = "vertex index out of range";
        return nullptr;
    }
    const double d = (q - frame.start).InnerProduct(frame.inward);
    if (std::abs(d) <= CVRMEpsilon) {
        reason = "the vertex lies on the edge's line";
        return nullptr;
    }
    const auto [a, b, c] = frame.Plane(edgeElev, (point.elev - edgeElev) / d);
    return Ref<TQTKSlopeByEdgeElevInfo>(new TQTKSlopeByEdgeElevInfo(a, b, c, edgeIndex, edgeElev, point));
}

double TQTKCurvedElevInfo::GetRadius() const
{
    if (data_.isRadius)
        return data_.firstValue;
    const double c = data_.firstValue, h = data_.secondValue;
    return h > 0.0 ? (c * c / 4.0 + h * h) / (2.0 * h) : 0.0;
}

double TQTKCurvedElevInfo::GetAxisElev() const
{
    if (data_.isRadius)
        return data_.baseElev;
    return data_.secondValue + data_.baseElev - GetRadius();
}

double TQTKCurvedElevInfo::RoundElevAt(double distance) const
{
    const double r = GetRadius(), z = GetAxisElev();
    const double floorElev = data_.isRadius ? z : data_.baseElev;
    if (r <= 0.0 || distance >= r)
        return floorElev;
    return std::max(floorElev, z + std::sqrt(r * r - distance * distance));
}

double TQTKFaceElevKind4Info::GetElevAt(const TVRMPoint2d& p) const
{
    return RoundElevAt(std::abs(TVRMPositionFunc2d::SignedDistanceTo(p, axis_, false)));
}

double TQTKFaceElevKind5Info::GetElevAt(const TVRMPoint2d& p) const
{
    return RoundElevAt(p.DistanceTo(center_));
}

double TQTKFaceElevKind6Info::GetElevAt(const TVRMPoint2d& p) const
{
    const double r = data_.firstValue;
    if (r <= 0.0)
        return data_.baseElev;
    return data_.baseElev + data_.secondValue * std::max(0.0, 1.0 - p.DistanceTo(center_) / r);
}

// ---------------------------------------------------------------------------
// Line shape.

TQTKLineShape::TQTKLineShape(TQTKLineShapeData data) : data_(std::move(data))
{
    outline_.Add(TVRMPolygon2d::CreateBand(data_.line, data_.axisOffset, data_.width - data_.axisOffset));
    if (HasSectionPolygon()) {
        section_ = data_.section;
    } else {
        const double left = -data_.axisOffset, right = data_.width - data_.axisOffset;
        const double height = data_.startTop - data_.startBottom;
        section_.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{left, 0}, {right, 0}, {right, height}, {left, height}}));
    }
}

double TQTKLineShape::FractionAt(const TVRMPoint2d& p) const
{
    const double length = data_.line.Length();
    if (length <= 0.0)
        return 0.0;
    return std::clamp(data_.line.LengthAtPoint(p) / length, 0.0, 1.0);
}

double TQTKLineShape::GetTopElevAt(const TVRMPoint2d& p) const
{
    return data_.startTop + (data_.endTop - data_.startTop) * FractionAt(p);
}

double TQTKLineShape::GetBottomElevAt(const TVRMPoint2d& p) const
{
    return data_.startBottom + (data_.endBottom - data_.startBottom) * FractionAt(p);
}

// ---------------------------------------------------------------------------
// Face shapes.

TQTKFaceShape::TQTKFaceShape(TQTKFaceShapeData data) : data_(std::move(data))
{
    if (!data_.elevInfo)
        data_.elevInfo = Ref<IQTKFaceElevInfo>(new TQTKLevelElevInfo(data_.levelElev));
    if (data_.depth < 0.0)
        data_.depth = data_.thickness * data_.elevInfo->GetThicknessFactor();
    if (data_.flag < 0)
        data_.flag = data_.elevInfo->IsLevel() ? 1 : 0;
}

namespace {

IQTKEdgeInfo* EdgeInfoAt(const TQTKEdgeInfoList& infos, int edgeCount, int index)
{
    QTK_ASSERT(index >= 0 && index < edgeCount);
    return index < static_cast<int>(infos.size()) ? infos[static_cast<size_t>(index)].get() : nullptr;
}

}  // namespace

IQTKEdgeInfo* TQTKFaceShape::GetEdgeInfo(int index) const
{
    return EdgeInfoAt(data_.edgeInfos, GetEdgeCount(), index);
}

std::vector<TVRMPoint2d> TQTKFaceShape::GetVertexList() const
{
    std::vector<TVRMPoint2d> points;
    for (const auto& ring : data_.outline.Items())
        for (const auto& v : ring.Vertices())
            points.push_back(v.pt);
    return points;
}

const TVRMMultiPolygon2d& TQTKRoofFaceShape::GetRoofPolygon() const
{
    return data_.roofPolygon.IsEmpty() ? data_.outline : data_.roofPolygon;
}

std::unique_ptr<TVRMPlane3d> GetFaceShapePlane(const IQTKFaceShape* shape, bool top)
{
    if (!shape)
        return nullptr;
    const IQTKFaceElevInfo* info = shape->GetFaceElevInfo();
    TVRMVector3d normal{0, 0, 1};
    TVRMPoint3d base{0, 0, 0};
    if (const auto* curved = dynamic_cast<const IQTKCurvedFaceElevInfo*>(info)) {
        base.z = curved->GetBaseElev();
    } else {
        normal = info->GetNormal();
        base.z = info->GetElevAt({0, 0});
    }
    if (top)
        return std::make_unique<TVRMPlane3d>(normal, base);
    base.z -= shape->GetThickness() * info->GetThicknessFactor();
    return std::make_unique<TVRMPlane3d>(-normal, base);
}

// ---------------------------------------------------------------------------
// Point shape.

TQTKPointShape::TQTKPointShape(TQTKPointShapeData data) : data_(std::move(data))
{
    if (data_.inWall) {
        // Plan outline: the outline's x range across the host wall's width.
        const TVRMBox2d box = data_.local.Box();
        const TVRMVector2d t = data_.wallDirection.Normal();
        const TVRMVector2d left = t.RotateHalfPi(false);
        const TVRMPoint2d a = data_.insertPt + t * box.min.x, b = data_.insertPt + t * box.max.x;
        const double l = data_.wallAxisOffset, r = data_.wallWidth - data_.wallAxisOffset;
        outline_.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{a - left * r, b - left * r, b + left * l, a + left * l}));
        return;
    }
    for (const auto& ring : data_.local.Items()) {
        TVRMPolygon2d placed;
        for (const auto& v : ring.Vertices()) {
            TVRMVertex2d w = v;
            w.pt = ToPlan(v.pt);
            // A mirror turns the direction of travel: arcs change their turning sense.
            if (data_.mirrored && w.IsArc())
                w.kind = w.kind == CVRMArcKindCCW        ? CVRMArcKindCW
                         : w.kind == CVRMArcKindCW       ? CVRMArcKindCCW
                         : w.kind == CVRMArcKindCCWMajor ? CVRMArcKindCWMajor
                                                         : CVRMArcKindCCWMajor;
            placed.Add(w);
        }
        outline_.Add(std::move(placed));
    }
    if (!data_.mirrored)
        return;
    // A mirrored ring runs clockwise: turn it back. Edge i of the turned ring
    // is edge n-1-i of the ring as given; the edge information follows it.
    TQTKEdgeInfoList infos(static_cast<size_t>(outline_.GetEdgeCount()));
    int first = 0;
    for (auto& ring : outline_.Items()) {
        const int n = ring.GetEdgeCount();
        for (int i = 0; i < n; ++i)
            if (const size_t from = static_cast<size_t>(first + n - 1 - i); from < data_.edgeInfos.size())
                infos[static_cast<size_t>(first + i)] = data_.edgeInfos[from];
        ring.Reverse();
        first += n;
    }
    data_.edgeInfos = std::move(infos);
}

TVRMPoint2d TQTKPointShape::ToPlan(const TVRMPoint2d& local) const
{
    double x = local.x - data_.basePt.x, y = local.y - data_.basePt.y;
    if (data_.mirrored)
        x = -x;
    const double c = std::cos(data_.rotation), s = std::sin(data_.rotation);
    return {data_.insertPt.x + c * x - s * y, data_.insertPt.y + s * x + c * y};
}

IQTKEdgeInfo* TQTKPointShape::GetEdgeInfo(int index) const
{
    return EdgeInfoAt(data_.edgeInfos, GetEdgeCount(), index);
}
