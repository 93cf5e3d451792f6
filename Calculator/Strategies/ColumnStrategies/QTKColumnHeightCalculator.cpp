#include "Calculator/Strategies/ColumnStrategies/QTKColumnHeightCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;

}  // namespace

double TQTKColumnOriginalHeight::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                           const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(subject.get());
    const double height = column->GetCalcTopElev() - column->GetCalcBottomElev();
    return LessThan(height, 1.0, CLengthTol) ? 0.0 : height;
}

double TQTKColumnVolHeightDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                  const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    TVRMPolyhedronLines3d* line = GetColumnEdo(subject.get())->GetCenterLine3d();
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    if (!line || !solid)
        return 0.0;
    const double before = line->GetLength();
    line->Subtract(*solid->GetPolyhedron(), true);
    return before - line->GetLength();
}

void RegisterColumnHeightRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnOriginalHeight);
    QTK_REGISTER(registry, TQTKColumnVolHeightDeductByFact);
}
