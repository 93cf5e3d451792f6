#include "Calculator/Common/QTKWallScaffoldBottomElev.h"

#include <atomic>

#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"

namespace {

double FloorElevation(IQTKCustomWallCalcEDO* wall, int /*kind*/, const TableSourceRef& /*ruleContext*/)
{
    const IQTKElementDrawObj* drawObj = wall ? wall->GetElementDrawObj() : nullptr;
    return drawObj ? GetFloorStructuralElev(drawObj->GetRecord()) : 0.0;
}

std::atomic<TQTKWallScaffoldBottomElevFunc> GWallScaffoldBottomElev{FloorElevation};

}  // namespace

TQTKWallScaffoldBottomElevFunc SetWallScaffoldBottomElevFunc(TQTKWallScaffoldBottomElevFunc func)
{
    return GWallScaffoldBottomElev.exchange(func ? func : FloorElevation);
}

double GetWallScaffoldBottomElev(IQTKCustomWallCalcEDO* wall, int kind, const TableSourceRef& ruleContext)
{
    return GWallScaffoldBottomElev.load()(wall, kind, ruleContext);
}
