#include "Calculator/Strategies/WallStrategies/QTKWallSizeCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

Ref<IQTKWallCalcEDO> WallOf(const RecordRef& subject)
{
    const Ref<IQTKWallCalcEDO> wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(subject, true));
    if (!wall)
        throw EIntfCastError("the subject is not a wall");
    return wall;
}

double LengthOf(const TVRMCustomLine2d* line)
{
    return line ? line->Length() : 0.0;
}

// The material-only middle line's length in material-only Mode; measured along it afterwards.
double OnlyMaterialMiddleLength(const RecordRef& subject, std::uint8_t mode)
{
    const Ref<IQTKWallCalcEDO> wall = WallOf(subject);
    wall->SetCalcByOnlyMaterial(mode);
    const double length = LengthOf(wall->GetOnlyMaterialMidLine());
    wall->SetUseAxisLength(false);
    return length;
}

}  // namespace

double TQTKWallAxisLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                     const TableSourceRef&)
{
    const Ref<IQTKWallCalcEDO> wall = WallOf(subject);
    wall->SetUseAxisLength(true);
    const IQTKLineShape* shape = GetDrawObjLineShape(wall->GetElementDrawObj());
    return shape ? shape->GetLine().Length() : 0.0;
}

double TQTKWallMiddleLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                       const TableSourceRef&)
{
    const Ref<IQTKWallCalcEDO> wall = WallOf(subject);
    wall->SetUseAxisLength(false);
    return LengthOf(wall->GetMidLine());
}

double TQTKWallHeight::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                 const TableSourceRef&)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(WallOf(subject)->GetElementDrawObj());
    if (!shape)
        return 0.0;
    const double height = (shape->GetStartPtTopElev() + shape->GetEndPtTopElev() - shape->GetStartPtBottomElev() -
                           shape->GetEndPtBottomElev()) /
                          2.0;
    return LessThan(height, 1.0) ? 0.0 : height;
}

double TQTKWallThickness::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                    const TableSourceRef&)
{
    const Ref<IQTKWallCalcEDO> wall = WallOf(subject);
    wall->SetCalcThickness(static_cast<int>(Round(wall->GetThickness())));
    return wall->GetCalcThickness();
}

double TQTKWallRatingThickness::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                          const TableSourceRef& ruleContext)
{
    const Ref<IQTKWallCalcEDO> wall = WallOf(subject);
    wall->SetCalcThickness(GetWallRatingThickness(subject.get(), ruleContext));
    return wall->GetCalcThickness();
}

double TQTKWallLeftSideLineLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                             const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKWallCalcEDO> wall = WallOf(subject);
    wall->AddLeftSideFace();
    return LengthOf(wall->GetLeftLine());
}

double TQTKWallRightSideLineLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                              const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKWallCalcEDO> wall = WallOf(subject);
    wall->AddRightSideFace();
    return LengthOf(wall->GetRightLine());
}

double TQTKWallExternalSidelineLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                 const TableSourceRef&)
{
    const Ref<IQTKWallCalcEDO> wall = WallOf(subject);
    double length = 0.0;
    if (wall->IsLeftSideExternal())
        length += LengthOf(wall->GetLeftLine());
    if (wall->IsRightSideExternal())
        length += LengthOf(wall->GetRightLine());
    return length;
}

double TQTKWallBrickAndConcreteMiddleLength::Calculate(const RecordRef& subject, const RecordRef&,
                                                       const TableSourceRef&, const TableSourceRef&)
{
    return OnlyMaterialMiddleLength(subject, 2);
}

double TQTKWallConcreteMiddleLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                               const TableSourceRef&)
{
    return OnlyMaterialMiddleLength(subject, 1);
}

void RegisterWallSizeRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKWallAxisLength);
    QTK_REGISTER(registry, TQTKWallMiddleLength);
    QTK_REGISTER(registry, TQTKWallHeight);
    QTK_REGISTER(registry, TQTKWallThickness);
    QTK_REGISTER(registry, TQTKWallRatingThickness);
    QTK_REGISTER(registry, TQTKWallLeftSideLineLength);
    QTK_REGISTER(registry, TQTKWallRightSideLineLength);
    QTK_REGISTER(registry, TQTKWallExternalSidelineLength);
    QTK_REGISTER(registry, TQTKWallBrickAndConcreteMiddleLength);
    QTK_REGISTER(registry, TQTKWallConcreteMiddleLength);
}
