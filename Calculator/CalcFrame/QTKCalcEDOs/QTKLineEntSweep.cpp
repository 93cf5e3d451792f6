#include "Calculator/CalcFrame/QTKCalcEDOs/QTKLineEntSweep.h"

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CTol = 0.0010123456789;

// Where a line element's section travels: its line lengthened at both ends
// by the extension lengths for ExtendType, the section's reference point
// ("AxisOffset" right of the section box's left edge, at its top) and the
// top elevations at the path's ends. Not valid for a line without length or
// a section without area: nothing can be swept then.
struct TSweepPath {
    bool valid = false;
    TVRMCustomLine2d path;
    TVRMPoint2d reference;
    double startElevation = 0.0, endElevation = 0.0;
};

TSweepPath SweepPathOf(const IQTKElementDrawObj* drawObj, const TVRMMultiPolygon2d* section, int extendType)
{
    TSweepPath sweep;
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!shape)
        return sweep;
    const TVRMCustomLine2d& line = shape->GetLine();
    if (!section)
        section = &shape->GetPolygon();
    if (!GreaterThan(line.Length(), 0.0, CTol) || !GreaterThan(section->Area(), 0.0, CTol))
        return sweep;
    double endExt = 0.0, startExt = 0.0;
    CalcLineEDOExtendLength(line, endExt, startExt, extendType);
    sweep.path = line.SubLine(-startExt, line.Length() + endExt);
    const TVRMBox2d box = section->Box();
    sweep.reference = {box.min.x + EdoPropValueFloat(drawObj->GetPropValues(), "AxisOffset"), box.max.y};
    sweep.startElevation = shape->GetTopElevAt(sweep.path.StartPt());
    sweep.endElevation = shape->GetTopElevAt(sweep.path.EndPt());
    sweep.valid = true;
    return sweep;
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> BuildLineEntSweptSolid(const IQTKElementDrawObj* drawObj,
                                                         const TVRMCustomLine2d& cut1, const TVRMCustomLine2d& cut2)
{
    QTK_ASSERT(drawObj != nullptr);
    const TSweepPath sweep = SweepPathOf(drawObj, nullptr, drawObj->GetElementTypeID());
    if (!sweep.valid)
        return std::make_unique<TVRMPolyhedron3d>();
    if (auto solid = TQTKSolidBuilder::BuildSolidBetweenLines(drawObj, cut1, cut2))
        return solid;
    auto solid = TVRMPolyhedron3d::CreateSweep(GetDrawObjLineShape(drawObj)->GetPolygon(), sweep.path, sweep.reference,
                                               sweep.startElevation, sweep.endElevation);
    TVRMNewPolyBooleanOperator::Cut(*solid, cut1, cut2);
    return solid;
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildLineEntSweptShell(const IQTKElementDrawObj* drawObj,
                                                              const std::vector<TVRMCustomLine2d>& sectionLines,
                                                              const TVRMCustomLine2d& cut1,
                                                              const TVRMMultiPolygon2d* section,
                                                              const TVRMCustomLine2d& cut2)
{
    QTK_ASSERT(drawObj != nullptr);
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    const TSweepPath sweep = SweepPathOf(drawObj, section, -1);
    if (!sweep.valid)
        return shell;
    for (const TVRMCustomLine2d& sectionLine : sectionLines)
        for (const TVRMFace3d& face : TVRMPolyhedron3d::CreateSweptFaces(sectionLine, sweep.path, sweep.reference,
                                                                         sweep.startElevation, sweep.endElevation))
            shell->AddFace(face);
    TVRMNewPolyBooleanOperator::Cut(*shell, cut1, cut2, CVRMSuperpositionBoth);
    return shell;
}
