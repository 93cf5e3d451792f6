#include "Calculator/CalcFrame/QTKCalcEDOs/QTKWindowCalcEDO.h"

TQTKWindowCalcEDO::~TQTKWindowCalcEDO() = default;
