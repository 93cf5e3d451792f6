// The scaffold bottom elevation of a wall, as the wall object asks for it
// (the wall analyser of the over-height and scaffold bottom elevation
// calculator, with "ScaffoldFloorElevCalcMethod" of "QTKWallCalcSettings").
// The calculator installs its routine here; until it does, the answer is the
// "StructuralElevation" of the wall's floor. Tests install a stand-in.
#pragma once

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

using TQTKWallScaffoldBottomElevFunc = double (*)(IQTKCustomWallCalcEDO* wall, int kind,
                                                  const TableSourceRef& ruleContext);

// Installs Func (nil: the floor elevation again); returns the routine it replaces.
TQTKWallScaffoldBottomElevFunc SetWallScaffoldBottomElevFunc(TQTKWallScaffoldBottomElevFunc func);
double GetWallScaffoldBottomElev(IQTKCustomWallCalcEDO* wall, int kind, const TableSourceRef& ruleContext);
