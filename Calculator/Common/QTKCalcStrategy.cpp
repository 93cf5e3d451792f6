#include "Calculator/Common/QTKCalcStrategy.h"

double TQTKCalcStrategy::Calculate(const RecordRef&, const RecordRef&, const TableSourceRef&, const TableSourceRef&)
{
    return 0.0;
}
