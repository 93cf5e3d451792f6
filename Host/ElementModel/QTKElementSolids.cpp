// Solids and boxes of the element draw objects, built from their shapes.
//
// Face orders (callers index faces by position):
//   line element   side faces (right side, left side or one per section edge), top, bottom, then the start end
//                  face N-2 and the end end face N-1;
//   face element   side faces, top surface N-2, bottom N-1; an arched face (elevation kind 4)
//                  the arched slab solid (sides, then the top and bottom facet runs, see
//                  TVRMPolyhedron3d::CreateCylinderSlab);
//   point element  side faces, top N-2, bottom N-1;
//   opening        reveals, then its outline on the host wall's right face N-2 and on the left face N-1.
#include <algorithm>
#include <cmath>

#include "Host/ElementModel/QTKElementDrawObj.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

std::unique_ptr<TVRMPolyhedron3d> EmptySolid()
{
    return std::make_unique<TVRMPolyhedron3d>();
}

// Moves the start end face (all vertices at the axis start) to N-2 and the end
// end face to N-1, keeping the order of the other faces.
void LocateEndFaces(TVRMPolyhedron3d& solid, const TVRMCustomLine2d& axis)
{
    const double length = axis.Length();
    auto allAt = [&](const TVRMFace3d& face, double at) {
        for (const auto& loop : face.GetLoops())
            for (const auto& p : loop)
                if (std::abs(axis.LengthAtPoint({p.x, p.y}) - at) > CVRMEpsilon)
                    return false;
        return true;
    };
    std::vector<TVRMFace3d> others, startFaces, endFaces;
    for (const auto& face : solid.GetFaces()) {
        if (allAt(face, 0.0))
            startFaces.push_back(face);
        else if (allAt(face, length))
            endFaces.push_back(face);
        else
            others.push_back(face);
    }
    if (startFaces.size() != 1 || endFaces.size() != 1)
        return;  // not a band: leave the constructor's order
    others.push_back(std::move(startFaces.front()));
    others.push_back(std::move(endFaces.front()));
    solid = TVRMPolyhedron3d(std::move(others));
}

std::unique_ptr<TVRMPolyhedron3d> BuildLineSolid(const TQTKLineShape& shape)
{
    const TQTKLineShapeData& d = shape.Data();
    if (shape.HasSectionPolygon())  // the sweep puts its start and end caps last
        return TVRMPolyhedron3d::CreateSweep(d.section, d.line, {0, 0}, d.startBottom, d.endBottom);
    // No height at either end: no volume (the element measures 0).
    if (d.startTop - d.startBottom <= CVRMEpsilon && d.endTop - d.endBottom <= CVRMEpsilon)
        return EmptySolid();
    auto solid =
        TVRMPolyhedron3d::CreateBand(d.line, d.width, d.axisOffset, d.startBottom, d.startTop, d.endBottom, d.endTop);
    if (solid && solid->HasFaces())
        LocateEndFaces(*solid, d.line);
    return solid;
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> BuildCurvedFaceSolid(const IQTKFaceShape& shape, const TVRMMultiPolygon2d& plan)
{
    const IQTKFaceElevInfo* info = shape.GetFaceElevInfo();
    const double half = shape.GetThickness() / 2;
    // A rise of 0 has no arc (R = ((C/2)^2 + H^2) / 2H would divide by 0): level.
    if (const auto* arched = dynamic_cast<const IQTKFaceElevKind4Info*>(info))
        return arched->GetRadius() > 0
                   ? TVRMPolyhedron3d::CreateCylinderSlab(plan, arched->GetAxisLine(), half, arched->GetAxisElev(),
                                                          arched->GetRadius())
                   : nullptr;
    if (const auto* dome = dynamic_cast<const IQTKFaceElevKind5Info*>(info))
        return dome->GetRadius() > 0 ? TVRMPolyhedron3d::CreateDomeSlab(plan, dome->GetCenter(), half,
                                                                        dome->GetAxisElev(), dome->GetRadius())
                                     : nullptr;
    // A cone without a rise (or a radius) is level.
    if (const auto* cone = dynamic_cast<const IQTKFaceElevKind6Info*>(info))
        return cone->GetFirstValue() > 0 && std::fabs(cone->GetSecondValue()) > CVRMEpsilon
                   ? TVRMPolyhedron3d::CreateConeSlab(plan, cone->GetCenter(), half, cone->GetBaseElev(),
                                                      cone->GetFirstValue(), cone->GetSecondValue())
                   : nullptr;
    return nullptr;
}

namespace {

std::unique_ptr<TVRMPolyhedron3d> BuildFaceSolid(const TQTKFaceShape& shape)
{
    if (shape.GetThickness() <= CVRMEpsilon)
        return EmptySolid();
    if (std::unique_ptr<TVRMPolyhedron3d> curved = BuildCurvedFaceSolid(shape, shape.GetOutline()))
        return curved;
    const auto plane = GetFaceShapePlane(&shape, true);
    return TVRMPolyhedron3d::CreateOnPlane(shape.GetOutline(), *plane, shape.GetThickness());
}

// An opening through its host wall: its outline in the wall plane, extruded
// from the right face to the left face, `extension` beyond each.
std::unique_ptr<TVRMPolyhedron3d> BuildOpeningSolid(const TQTKPointShape& shape, double extension)
{
    const TQTKPointShapeData& d = shape.Data();
    const TVRMVector2d t = d.wallDirection.Normal();
    const TVRMVector2d left = t.RotateHalfPi(false);
    const TVRMPoint2d origin = d.insertPt - left * (d.wallWidth - d.wallAxisOffset + extension);
    std::vector<TVRMLoop3d> rings;
    for (const auto& ring : d.local.Items()) {
        TVRMLoop3d loop;
        for (const auto& v : ring.Vertices()) {
            const TVRMPoint2d p = origin + t * v.pt.x;
            loop.push_back({p.x, p.y, d.bottom + v.pt.y});
        }
        rings.push_back(std::move(loop));
    }
    const TVRMVector3d right{-left.x, -left.y, 0};
    const double depth = d.wallWidth + 2 * extension;
    return TVRMPolyhedron3d::CreateExtrusion(rings, right, TVRMVector3d{left.x, left.y, 0} * depth, true);
}

std::unique_ptr<TVRMPolyhedron3d> BuildPointSolid(const TQTKPointShape& shape, double extension)
{
    if (shape.Data().inWall)
        return BuildOpeningSolid(shape, extension);
    if (shape.GetTopElev() - shape.GetBottomElev() <= CVRMEpsilon)
        return EmptySolid();
    return TVRMPolyhedron3d::CreatePrism(shape.GetOutline(), shape.GetBottomElev(),
                                         shape.GetTopElev() - shape.GetBottomElev());
}

TVRMBox3d PlanBox(const TVRMMultiPolygon2d& outline, double bottom, double top)
{
    const TVRMBox2d b = outline.Box();
    if (b.IsEmpty() || bottom > top)
        return {};
    return TVRMBox3d({b.min.x, b.min.y, bottom}, {b.max.x, b.max.y, top});
}

TVRMBox3d FaceBox(const TQTKFaceShape& shape)
{
    const IQTKFaceElevInfo* info = shape.GetFaceElevInfo();
    const TVRMBox2d b = shape.GetOutline().Box();
    double low = HUGE_VAL, high = -HUGE_VAL;
    if (const auto* cone = dynamic_cast<const IQTKFaceElevKind6Info*>(info);
        cone && !b.IsEmpty() && cone->GetFirstValue() > 0) {
        // The conical shell (TVRMPolyhedron3d::CreateConeSlab) runs on past the cone's radius to
        // the plan's farthest point (at most a corner of its box): a peak falls below its base
        // there, a funnel rises above it. Its section: the apex, the top over that reach, the
        // bottom edge under it (square to the surface under a peak, upright under a funnel) and
        // the bottom under the apex.
        const TVRMPoint2d c = cone->GetCenter();
        const double reach = std::hypot(std::max(c.x - b.min.x, b.max.x - c.x), std::max(c.y - b.min.y, b.max.y - c.y));
        const double k = cone->GetSecondValue() / cone->GetFirstValue(), slope = std::hypot(1.0, k);
        const double t = shape.GetThickness(), apex = cone->GetBaseElev() + cone->GetSecondValue();
        const double rim = apex - k * reach;
        return PlanBox(shape.GetOutline(), std::min(apex - t * slope, rim - (k > 0 ? t / slope : t * slope)),
                       std::max(apex, rim));
    } else if (const auto* level = dynamic_cast<const IQTKFaceElevKind6Info*>(info)) {
        low = level->GetBaseElev(), high = level->GetBaseElev() + std::max(0.0, level->GetSecondValue());
    } else if (const auto* curved = dynamic_cast<const IQTKCurvedFaceElevInfo*>(info)) {
        low = std::min(curved->GetBaseElev(), curved->GetAxisElev());
        high = std::max(curved->GetBaseElev(), curved->GetAxisElev() + curved->GetRadius());
    } else if (!b.IsEmpty()) {
        // A plane takes its extremes over the plan box at the box's corners.
        for (const TVRMPoint2d& p : {b.min, b.max, TVRMPoint2d{b.min.x, b.max.y}, TVRMPoint2d{b.max.x, b.min.y}}) {
            const double z = info->GetElevAt(p);
            low = std::min(low, z), high = std::max(high, z);
        }
    }
    return PlanBox(shape.GetOutline(), low - shape.GetThickness() * info->GetThicknessFactor(), high);
}

TVRMBox3d LineBox(const TQTKLineShape& shape)
{
    const TQTKLineShapeData& d = shape.Data();
    double low = std::min(d.startBottom, d.endBottom), high = std::max(d.startTop, d.endTop);
    if (shape.HasSectionPolygon()) {
        const TVRMBox2d s = d.section.Box();
        high = std::max(d.startBottom, d.endBottom) + s.max.y;
        low += s.min.y;
    }
    return PlanBox(shape.GetOutline(), low, high);
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> BuildSolidFromData(const TQTKSolidData& data)
{
    std::vector<TVRMFace3d> faces;
    for (const auto& indices : data.faces) {
        if (indices.size() < 3)
            return EmptySolid();
        TVRMLoop3d loop;
        for (int i : indices) {
            if (i < 0 || i >= static_cast<int>(data.vertices.size()))
                return EmptySolid();
            loop.push_back(data.vertices[static_cast<size_t>(i)]);
        }
        faces.push_back(TVRMFace3d::FromLoop(std::move(loop)));
    }
    return std::make_unique<TVRMPolyhedron3d>(std::move(faces));
}

std::unique_ptr<TVRMPolyhedron3d> TQTKElementDrawObj::BuildPolyhedron(bool /*full*/, IInterface* /*context*/,
                                                                      double extension, int /*flags*/) const
{
    std::unique_ptr<TVRMPolyhedron3d> solid;
    if (data_.solid)
        solid = BuildSolidFromData(*data_.solid);
    else if (const auto* line = dynamic_cast<const TQTKLineShape*>(data_.shape.get()))
        solid = BuildLineSolid(*line);
    else if (const auto* face = dynamic_cast<const TQTKFaceShape*>(data_.shape.get()))
        solid = BuildFaceSolid(*face);
    else if (const auto* point = dynamic_cast<const TQTKPointShape*>(data_.shape.get()))
        solid = BuildPointSolid(*point, extension);
    return solid ? std::move(solid) : EmptySolid();
}

std::vector<std::unique_ptr<TVRMPolyhedron3d>> TQTKElementDrawObj::GetSubSolids(bool /*full*/) const
{
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> solids;
    for (const auto& sub : data_.subSolids)
        solids.push_back(BuildSolidFromData(sub));
    return solids;
}

void TQTKElementDrawObj::UpdateBox()
{
    box_ = {};
    if (data_.solid) {
        for (const auto& p : data_.solid->vertices)
            box_.Extend(p);
    } else if (const auto* line = dynamic_cast<const TQTKLineShape*>(data_.shape.get())) {
        box_ = LineBox(*line);
    } else if (const auto* face = dynamic_cast<const TQTKFaceShape*>(data_.shape.get())) {
        box_ = FaceBox(*face);
    } else if (const auto* point = dynamic_cast<const TQTKPointShape*>(data_.shape.get())) {
        box_ = PlanBox(point->GetOutline(), point->GetBottomElev(), point->GetTopElev());
    }
}
