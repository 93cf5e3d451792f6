#include "Calculator/Strategies/ColumnStrategies/QTKColumnSectionAreaCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorExprBeam.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

double TQTKColumnSectionArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                        const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(subject.get());
    const auto* shape = drawObj ? dynamic_cast<const IQTKPointShape*>(drawObj->GetShape()) : nullptr;
    if (!shape)
        return 0.0;
    const TVRMMultiPolygon2d& section = shape->GetPolygon();
    const double area = section.Area();
    BuildSectionAreaExpr(subject.get(), &section);
    return area;
}

void RegisterColumnSectionAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnSectionArea);
}
