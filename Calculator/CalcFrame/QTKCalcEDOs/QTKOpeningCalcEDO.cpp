#include "Calculator/CalcFrame/QTKCalcEDOs/QTKOpeningCalcEDO.h"

TQTKOpeningCalcEDO::~TQTKOpeningCalcEDO() = default;
