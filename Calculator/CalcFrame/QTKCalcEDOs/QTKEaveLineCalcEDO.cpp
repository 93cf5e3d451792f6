#include "Calculator/CalcFrame/QTKCalcEDOs/QTKEaveLineCalcEDO.h"

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

TQTKEaveLineCalcEDO::~TQTKEaveLineCalcEDO() = default;

void TQTKEaveLineCalcEDO::ClearQtyItems()
{
    TQTKHasSectionInfoLineEntCalcEDO::ClearQtyItems();
    const RecordRef record(GetElementDrawObj()->GetRecord());
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
    auto fresh = [&] {
        return std::make_shared<TQTKShellCalc3d>(std::make_unique<TVRMPolyhedronShell3d>(), record,
                                                 solid->GetPolyhedron()->Clone(), 1.0);
    };
    SetOuterAreaCalc(fresh());
    SetInnerAreaShellCalc(fresh());
    SetTopAreaShellCalc(fresh());
}

void TQTKEaveLineCalcEDO::FreeCalcCache()
{
    TQTKHasSectionInfoLineEntCalcEDO::FreeCalcCache();
    Keep(outerAreaCalc_, {});
    Keep(innerAreaShellCalc_, {});
    Keep(topAreaShellCalc_, {});
}

std::unique_ptr<TVRMPolyhedron3d> TQTKEaveLineCalcEDO::BuildRelationPolyhedron()
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const auto* line = dynamic_cast<const IQTKLineShape*>(drawObj->GetShape());
    if (!line)
        return drawObj->BuildPolyhedron(false, nullptr, 0.0, 0);
    return TVRMPolyhedron3d::CreateSweep(line->GetPolygon(), line->GetLine(), {0.0, 0.0}, line->GetStartPtBottomElev(),
                                         line->GetEndPtBottomElev());
}
