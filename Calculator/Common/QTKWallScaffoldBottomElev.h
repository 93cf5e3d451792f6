// The scaffold bottom elevation of a wall, as the wall object asks for it:
// the over-height and scaffold bottom elevation calculator's wall analysis
// with "ScaffoldFloorElevCalcMethod" of "QTKWallCalcSettings" and the bottom
// method asked for. Tests may install a stand-in.
#pragma once

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

using TQTKWallScaffoldBottomElevFunc = double (*)(IQTKCustomWallCalcEDO* wall, int kind,
                                                  const TableSourceRef& ruleContext);

// Installs Func (nil: the calculator again); returns the routine it replaces.
TQTKWallScaffoldBottomElevFunc SetWallScaffoldBottomElevFunc(TQTKWallScaffoldBottomElevFunc func);
double GetWallScaffoldBottomElev(IQTKCustomWallCalcEDO* wall, int kind, const TableSourceRef& ruleContext);
