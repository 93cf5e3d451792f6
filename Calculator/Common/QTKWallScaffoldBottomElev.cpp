#include "Calculator/Common/QTKWallScaffoldBottomElev.h"

#include <atomic>

#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"

namespace {

double CalculatorElev(IQTKCustomWallCalcEDO* wall, int kind, const TableSourceRef& ruleContext)
{
    return TQTKOverHighBottomElevCalculator::GetWallScaffoldBottomElev(wall, kind, ruleContext);
}

std::atomic<TQTKWallScaffoldBottomElevFunc> GWallScaffoldBottomElev{CalculatorElev};

}  // namespace

TQTKWallScaffoldBottomElevFunc SetWallScaffoldBottomElevFunc(TQTKWallScaffoldBottomElevFunc func)
{
    return GWallScaffoldBottomElev.exchange(func ? func : CalculatorElev);
}

double GetWallScaffoldBottomElev(IQTKCustomWallCalcEDO* wall, int kind, const TableSourceRef& ruleContext)
{
    return GWallScaffoldBottomElev.load()(wall, kind, ruleContext);
}
