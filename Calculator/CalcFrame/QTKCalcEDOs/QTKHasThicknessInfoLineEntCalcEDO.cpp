#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasThicknessInfoLineEntCalcEDO.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// Heights at the two ends closer than this keep the extension lengths.
constexpr double CHeightDifference = 2.0;

}  // namespace

// The top and bottom profiles along the middle line (x along it, y the
// elevation) cross where the element's height vanishes; the extended line
// stops there.
void TQTKHasThicknessInfoLineEntCalcEDO::CalcExtendLength(double& startExt, double& endExt)
{
    TQTKLineEntBaseCalcEDO::CalcExtendLength(startExt, endExt);
    ClipExtendAtSlope(*GetMidLine(), startExt, endExt);
}

void TQTKHasThicknessInfoLineEntCalcEDO::ClipExtendAtSlope(const TVRMCustomLine2d& mid, double& startExt,
                                                           double& endExt)
{
    const IQTKLineShape* shape = LineShape();
    if (!shape)
        return;
    const double hs = shape->GetStartPtTopElev() - shape->GetStartPtBottomElev();
    const double he = shape->GetEndPtTopElev() - shape->GetEndPtBottomElev();
    if (std::abs(hs - he) <= CHeightDifference)
        return;
    const double length = mid.Length();
    const TVRMCustomLine2d top({0.0, shape->GetTopElevAt(mid.StartPt())}, {length, shape->GetTopElevAt(mid.EndPt())});
    const TVRMCustomLine2d bottom({0.0, shape->GetBottomElevAt(mid.StartPt())},
                                  {length, shape->GetBottomElevAt(mid.EndPt())});
    std::vector<TVRMPoint2d> points;
    if (TVRMIntersectFunc2d::ExtIntersect(top, bottom, points) != 1 || points.empty())
        return;
    const double x = points.front().x;
    if (x < CVRMEpsilon)
        startExt = std::min(startExt, -x);
    else if (x > length - CVRMEpsilon)
        endExt = std::min(endExt, x - length);
    else if (top.StartPt().y > bottom.StartPt().y)
        endExt = std::min(endExt, x - length);
    else
        startExt = std::min(startExt, -x);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasThicknessInfoLineEntCalcEDO::BuildSolid()
{
    return BuildBandOn(*GetExtendedMidLine());
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasThicknessInfoLineEntCalcEDO::BuildBandOn(const TVRMCustomLine2d& line)
{
    const double width = GetWidth();
    const IQTKLineShape* shape = LineShape();
    if (IsZero(width) || !shape)
        return std::make_unique<TVRMPolyhedron3d>();
    return TVRMPolyhedron3d::CreateBand(line, width, width / 2.0, shape->GetBottomElevAt(line.StartPt()),
                                        shape->GetTopElevAt(line.StartPt()), shape->GetBottomElevAt(line.EndPt()),
                                        shape->GetTopElevAt(line.EndPt()));
}
