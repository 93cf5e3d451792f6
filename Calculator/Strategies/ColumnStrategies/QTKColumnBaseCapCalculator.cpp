#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorExprColumnBaseCap.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr int CWallType = 0;

}  // namespace

std::shared_ptr<TQTKShellCalc3d> CapShellCalc(IQTKCalculatorEDO& element, TQTKCapShellGetter get)
{
    auto* cap = dynamic_cast<IQTKColumnCapCalculatorEDO*>(&element);
    return cap ? (cap->*get)() : nullptr;
}

std::shared_ptr<TQTKShellCalc3d> BaseShellCalc(IQTKCalculatorEDO& element, TQTKBaseShellGetter get)
{
    auto* base = dynamic_cast<IQTKColumnBaseCalculatorEDO*>(&element);
    return base ? (base->*get)() : nullptr;
}

TQTKShellTarget CapShellOf(const RecordRef& subject, TQTKCapShellGetter get)
{
    const Ref<IQTKCalculatorEDO> element = GetCalcEDO(subject, true);
    return element ? TQTKShellTarget(CapShellCalc(*element, get).get()) : TQTKShellTarget();
}

TQTKShellTarget BaseShellOf(const RecordRef& subject, TQTKBaseShellGetter get)
{
    const Ref<IQTKCalculatorEDO> element = GetCalcEDO(subject, true);
    return element ? TQTKShellTarget(BaseShellCalc(*element, get).get()) : TQTKShellTarget();
}

std::shared_ptr<TQTKSolidCalc3d> TQTKColumnBaseCapOriginalQty::SolidCalcOf(IQTKCalculatorEDO&) const
{
    return nullptr;
}

std::shared_ptr<TQTKShellCalc3d> TQTKColumnBaseCapOriginalQty::ShellCalcOf(IQTKCalculatorEDO&) const
{
    return nullptr;
}

double TQTKColumnBaseCapOriginalQty::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                               const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKCalculatorEDO> element = GetCalcEDO(subject, true);
    if (!element)
        return 0.0;
    IRDXRecord* record = subject.get();
    if (const std::shared_ptr<TQTKSolidCalc3d> volume = SolidCalcOf(*element)) {
        const double quantity = volume->GetVolume();
        if (GreaterThan(quantity, 0.0, CLengthTol) && Expr() == TQTKBaseCapExpr::Volume)
            TQTKColumnBaseCapExprHandler::BuildColumnBaseCapVolExpr(record, volume->GetSolid(), quantity);
        return quantity;
    }
    const std::shared_ptr<TQTKShellCalc3d> area = ShellCalcOf(*element);
    if (!area)
        return 0.0;
    const double quantity = area->GetArea();
    if (GreaterThan(quantity, 0.0, CLengthTol))
        switch (Expr()) {
            case TQTKBaseCapExpr::FormboardAndSoffit:
            case TQTKBaseCapExpr::Sides:
                TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFormboardAreaExpr(
                    record, Expr() == TQTKBaseCapExpr::FormboardAndSoffit, quantity);
                break;
            case TQTKBaseCapExpr::Face:
                TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFaceAreaExpr(record, area->GetShell(), quantity);
                break;
            default:
                break;
        }
    return quantity;
}

// ---------------------------------------------------------------------------

TQTKVolumeTarget TQTKColumnBaseCapDeductByFact::VolumeOf(const RecordRef&, const TableSourceRef&,
                                                         const TableSourceRef&) const
{
    return TQTKVolumeTarget();
}

TQTKShellTarget TQTKColumnBaseCapDeductByFact::ShellOf(const RecordRef&, const TableSourceRef&,
                                                       const TableSourceRef&) const
{
    return TQTKShellTarget();
}

bool TQTKColumnBaseCapDeductByFact::GivesWay(IRDXRecord*, IRDXRecord*) const
{
    return true;
}

int TQTKColumnBaseCapDeductByFact::Kinds(IRDXRecord*, IRDXRecord*, const TableSourceRef&) const
{
    return CVRMSuperpositionBoth;
}

int TQTKColumnBaseCapFormBoardDeductByFact::Kinds(IRDXRecord* subject, IRDXRecord* object,
                                                  const TableSourceRef& ruleContext) const
{
    return CompareFormboardPriority(subject, object, ruleContext) < 0 ? CVRMSuperpositionBoth
                                                                      : CVRMSuperpositionContact;
}

double TQTKColumnBaseCapDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    if (!GivesWay(subject.get(), object.get()))
        return 0.0;
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    if (const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext))
        return solid ? volume.Subtract(*solid->GetPolyhedron(), object.get()) : 0.0;
    const TQTKShellTarget shell = ShellOf(subject, business, ruleContext);
    if (!shell)
        return 0.0;
    const int kinds = Kinds(subject.get(), object.get(), ruleContext);
    if (WallsByOwnSolid() && GetRecordElementTypeID(object.get()) == CWallType) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(object.get());
        if (drawObj && IsConcreteElement(drawObj))
            return shell.SubtractWall(object.get(), kinds == CVRMSuperpositionBoth);
    }
    return solid ? shell.Subtract(solid->GetPolyhedron(), object.get(), kinds) : 0.0;
}

// ---------------------------------------------------------------------------

double TQTKColumnBaseCapSectionPerimeterRule::Calculate(const RecordRef& subject, const RecordRef&,
                                                        const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(subject.get());
    if (!solid)
        return 0.0;
    const std::unique_ptr<TVRMMultiPolygon2d> plan = solid->GetPolyhedron()->GetProjectiveXYPoly();
    const double perimeter = plan ? plan->Perimeter() : 0.0;
    if (GreaterThan(perimeter, 0.0, CLengthTol))
        TQTKColumnBaseCapExprHandler::BuildColumnBaseCapPerimeterExpr(subject.get(), perimeter);
    return perimeter;
}
