#include "Calculator/CalcFrame/QTKCalcEDOs/QTKAlcoveCalcEDO.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr int CLeftSide = 1;

std::optional<TVRMCustomLine2d> CopyOf(const TVRMCustomLine2d* line)
{
    return line ? std::optional<TVRMCustomLine2d>(*line) : std::nullopt;
}

}  // namespace

TQTKAlcoveCalcEDO::~TQTKAlcoveCalcEDO() = default;

TQTKHollowWallLines TQTKAlcoveCalcEDO::GatherPlanWallLines()
{
    const RecordRef wall = GetHostWallRecord();
    QTK_ASSERT_MSG(wall != nullptr, "the alcove has no host wall");
    TQTKHollowWallLines lines;
    if (const auto lineEnt = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(wall, true))) {
        lines.mid = CopyOf(lineEnt->GetMidLine());
        lines.left = CopyOf(lineEnt->GetLeftLine());
        lines.right = CopyOf(lineEnt->GetRightLine());
    }
    return lines;
}

std::unique_ptr<TVRMMultiPolygon2d> TQTKAlcoveCalcEDO::BuildPlanPolygon(const TQTKHollowWallLines& lines)
{
    const IQTKPointShape* shape = GetPointShape();
    QTK_ASSERT_MSG(lines.mid && lines.left && lines.right && shape, "the alcove's host wall gives no side lines");
    const TVRMPoint2d insertPt = shape->GetInsertPt();
    const double s = TVRMPositionFunc2d::LengthAtPoint(*lines.mid, insertPt);
    const double half = PropFloat("OpeningWidth") / 2;
    const double depth = PropFloat("Depth");
    // From the face on the insertion point's side, "Depth" into the wall.
    const bool onLeft = TVRMPositionFunc2d::PointSegSide(insertPt, *lines.mid, CLengthTol) == CLeftSide;
    const TVRMCustomLine2d& face = onLeft ? *lines.left : *lines.right;
    const TVRMCustomLine2d stretch = TVRMPositionFunc2d::SubSeg(face, s - half, s + half, false);
    auto polygon = TVRMMultiPolygon2d::Create();
    polygon->Add(onLeft ? TVRMPolygon2d::CreateBand(stretch, 0.0, depth)
                        : TVRMPolygon2d::CreateBand(stretch, depth, 0.0));
    return polygon;
}
