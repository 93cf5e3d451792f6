#include "Calculator/Strategies/ColumnStrategies/QTKColumnSectionPerimeterCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorExprBeam.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr int CWallType = 0;

const IQTKShape* ShapeOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetShape() : nullptr;
}

}  // namespace

double TQTKColumnSectionPerimeter::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                             const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const IQTKShape* shape = ShapeOf(subject.get());
    if (!shape)
        return 0.0;
    const TVRMMultiPolygon2d& outline = shape->GetOutline();
    const double perimeter = outline.Perimeter();
    BuildSectionPerimeterExpr(subject.get(), &outline);
    return perimeter;
}

double TQTKColumnScaffoldSectionPerimeterDedcutWall::Calculate(const RecordRef& subject, const RecordRef&,
                                                               const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const double perimeter = GetRecordPropFloat(subject.get(), "Perimeter");
    if (IsAloneColumn(subject.get()))
        return perimeter;
    const IQTKShape* shape = ShapeOf(subject.get());
    if (!shape)
        return perimeter;
    const Ref<IQTKCalculatorEDO> column = GetCalcEDO(subject, true);
    TRecordList walls;
    column->GetRelatedByType(CWallType, &walls);
    std::unique_ptr<TVRMMultiPolyLinearCalc2d> calc;
    for (const RecordRef& wall : walls) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wall.get());
        if (!drawObj || !IsConcreteElement(drawObj) || !drawObj->GetShape())
            continue;
        if (!calc) {
            calc = std::make_unique<TVRMMultiPolyLinearCalc2d>();
            calc->Add(shape->GetOutline(), true);
        }
        calc->Append(drawObj->GetShape()->GetOutline(), drawObj->GetIndexKey(), nullptr, true, CLengthTol);
    }
    if (!calc)
        return perimeter;
    const double remaining = calc->GetNullLength();
    return SameValue(remaining, 0.0, CLengthTol) ? perimeter : remaining;
}

void RegisterColumnSectionPerimeterRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnSectionPerimeter);
    QTK_REGISTER(registry, TQTKColumnScaffoldSectionPerimeterDedcutWall);
}
