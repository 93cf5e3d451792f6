#include "Calculator/Strategies/ColumnStrategies/QTKColumnFormBoardAreaCalculator.h"

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpening.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnOverHighStores.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CWallType = 0;
constexpr int CInsulatingWallType = 1;
constexpr int CStripFDType = 51;
constexpr double CCutTol = 1.0123456789e-5;
// Position of two solids that only touch.
constexpr int CTouching = 2;

bool IsOpeningType(int typeId)
{
    return typeId >= 4 && typeId <= 9;
}

int KindsOf(bool bothKinds)
{
    return bothKinds ? CVRMSuperpositionBoth : CVRMSuperpositionContact;
}

bool IsConcreteRecord(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj && IsConcreteElement(drawObj);
}

std::string MaterialText(const IQTKElementDrawObj* drawObj)
{
    const IPropValues* values = drawObj ? drawObj->GetPropValues() : nullptr;
    return values && values->HasProp("Material") && !values->IsPropNull("Material") ? values->GetPropString("Material")
                                                                                    : std::string();
}

// The opening's solid (or its part inside its concrete host) off Calc.
template <class TCalc>
double SubtractOpening(TCalc& calc, IRDXRecord* column, IRDXRecord* opening)
{
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(opening);
    if (!solid)
        return 0.0;
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(opening);
    IRDXRecord* host = drawObj ? drawObj->GetParentRecord() : nullptr;
    if (!host || !IsConcreteRecord(host))
        return calc.Subtract(*solid->GetPolyhedron(), opening, CVRMSuperpositionFlush);
    const Ref<IQTKPolyhedron3dIntf> columnSolid = GetOriginalSolidHolder(column);
    const Ref<IQTKPolyhedron3dIntf> hostSolid = GetOriginalSolidHolder(host);
    if (columnSolid && hostSolid &&
        Position(*columnSolid->GetPolyhedron(), *solid->GetPolyhedron(), CCutTol) == CTouching) {
        // Only the opening's part inside the wall meets the column.
        auto part = solid->GetPolyhedron()->Clone();
        TVRMNewPolyBooleanOperator::BooleanOperate(*part, *hostSolid->GetPolyhedron(), CVRMBoolIntersect);
        return calc.Subtract(*part, opening, CVRMSuperpositionBoth);
    }
    return calc.Subtract(*solid->GetPolyhedron(), opening, CVRMSuperpositionBoth);
}

// The rule rows that measure an opening in a masonry host over the
// toothing's full width: internal quantity and rule id of a wall, an
// insulating wall and (where it counts) a strip foundation.
struct TQTKGiveBackRows {
    int wallQty, wallRule;
    int insulatingQty, insulatingRule;
    int stripQty = -1, stripRule = -1;
};
constexpr TQTKGiveBackRows CSideGiveBack{1002, 1768, 1003, 1770, 1006, 1778};
constexpr TQTKGiveBackRows COverHighGiveBack{1049, 1874, 1050, 1876};

// The host's rule row measures an opening in it over the toothing's full width.
bool HostRuleGivesBackOpening(IRDXRecord* host, int hostType, const TableSourceRef& ruleContext,
                              const TQTKGiveBackRows& ids)
{
    const auto firstRuleIs = [&ruleContext](int qtyId, int ruleId) {
        const ViewRef rows = GetInternalQtyRuleRows(ruleContext, qtyId);
        return rows && rows->GetRowCount() > 0 && FieldValueInteger(rows->GetRow(0), "CalcRuleID", -1) == ruleId;
    };
    switch (hostType) {
        case CWallType: {
            const ViewRef rows = GetInternalQtyRuleRows(ruleContext, ids.wallQty);
            const int count = rows ? rows->GetRowCount() : 0;
            if (count == 1)
                return FieldValueInteger(rows->GetRow(0), "CalcRuleID", -1) == ids.wallRule;
            const std::string material = MaterialText(GetRecordDrawObj(host));
            for (int i = 0; i < count; ++i) {
                IRDXRecord* row = rows->GetRow(i);
                if (!FieldExist(row, "ObjectMatchExpr") || row->IsNull("ObjectMatchExpr"))
                    continue;
                if (row->GetAsString("ObjectMatchExpr").find(material) != std::string::npos &&
                    FieldValueInteger(row, "CalcRuleID", -1) == ids.wallRule)
                    return true;
            }
            return false;
        }
        case CInsulatingWallType:
            return firstRuleIs(ids.insulatingQty, ids.insulatingRule);
        case CStripFDType:
            return ids.stripQty >= 0 && firstRuleIs(ids.stripQty, ids.stripRule);
        default:
            return false;
    }
}

// The host record of an opening (its draw object's parent), nil without one.
IRDXRecord* HostOf(IRDXRecord* opening)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(opening);
    return drawObj ? drawObj->GetParentRecord() : nullptr;
}

TVRMPlane3d LevelCut(double z)
{
    return TVRMPlane3d(TVRMVector3d(0, 0, -1), TVRMPoint3d(0, 0, z), 0);
}

}  // namespace

double DeductOpeningFromColumnShell(IRDXRecord* column, IRDXRecord* opening, bool overHigh, const TableSourceRef&)
{
    const Ref<IQTKColumnCalculatorEDO> edo = GetColumnEdo(column);
    if (overHigh) {
        const std::shared_ptr<TVRMOverhighShellCalc3d> calc = edo->GetOverhighFormboardCalc();
        return calc ? SubtractOpening(*calc, column, opening) : 0.0;
    }
    const std::shared_ptr<TQTKShellCalc3d> calc = edo->GetSideFaceShellCalc();
    return calc ? SubtractOpening(*calc, column, opening) : 0.0;
}

TQTKShellTarget GetOrBuildColumnOverHighFormboard(const RecordRef& subject, const TableSourceRef& business,
                                                  const TableSourceRef& ruleContext)
{
    return TQTKShellTarget(GetOrBuildOverhighFormboard<TQTKColumnOverHighStoreBuilder>(subject, business, ruleContext));
}

TQTKShellTarget TQTKColumnFormBoardRule::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                 const TableSourceRef&) const
{
    // The column object keeps its shell while the rule holds the object.
    return TQTKShellTarget(GetColumnEdo(subject.get())->GetSideFaceShellCalc().get());
}

// ---------------------------------------------------------------------------

bool TQTKColumnFormBoardAreaDeductByFact::NeighbourTakesPrecedence(IRDXRecord* column, IRDXRecord* object,
                                                                   const TableSourceRef& ruleContext) const
{
    return CompareFormboardPriority(column, object, ruleContext) < 0;
}

bool TQTKColumnFormBoardDeductIrregularWall::NeighbourTakesPrecedence(IRDXRecord* column, IRDXRecord* object,
                                                                      const TableSourceRef& ruleContext) const
{
    return IsCoveredByWalls(object, column) ||
           TQTKColumnFormBoardAreaDeductByFact::NeighbourTakesPrecedence(column, object, ruleContext);
}

double TQTKColumnFormBoardAreaDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                      const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const TQTKShellTarget shell = ShellOf(subject, business, ruleContext);
    if (!shell)
        return 0.0;
    const int typeId = GetRecordElementTypeID(object.get());
    if (IsOpeningType(typeId))
        return DeductOpeningFromColumnShell(subject.get(), object.get(), shell.Overhigh() != nullptr, ruleContext);
    const bool both = NeighbourTakesPrecedence(subject.get(), object.get(), ruleContext);
    if (typeId == CWallType && IsConcreteRecord(object.get()))
        return shell.SubtractWall(object.get(), both);
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    return solid ? shell.Subtract(solid->GetPolyhedron(), object.get(), KindsOf(both)) : 0.0;
}

// ---------------------------------------------------------------------------

double TQTKRectangleColumnFormBoardDeductByWidenedWall::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                  const TableSourceRef& business,
                                                                  const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const std::optional<TQTKWallWidening> widening = Widening();
    if (!widening)
        return 0.0;
    const TQTKShellTarget shell = ShellOf(subject, business, ruleContext);
    if (!shell)
        return 0.0;
    const std::unique_ptr<TVRMPolyhedron3d> band = BuildWidenedWall(object.get(), *widening);
    const bool both = CompareFormboardPriority(subject.get(), object.get(), ruleContext) < 0;
    return band ? shell.Subtract(band.get(), object.get(), KindsOf(both)) : 0.0;
}

double TQTKRectangleColumnTemplateAreaGiveNearWall::Calculate(const RecordRef& subject, const RecordRef& object,
                                                              const TableSourceRef& business,
                                                              const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    const TQTKShellTarget target = ShellOf(subject, business, ruleContext);
    if (TVRMOverhighShellCalc3d* overhigh = target.Overhigh())
        return TakeOverhighRemainder(subject.get(), ruleContext, *overhigh);
    TQTKShellCalc3d* shell = target.Regular();
    if (!shell)
        return 0.0;
    const double area = shell->GetArea();
    if (!GIsDetailMode && shell->GetShell()) {
        std::string text;
        GShellExprParser(subject.get(), object.get(), *shell->GetShell(), text, 0, shell->GetIsArc(), area, true, 0,
                         shell->GetFactor());
        AddExprText(subject.get(), text);
    }
    // Nothing is left for a later wall.
    shell->Clear();
    return area;
}

// ---------------------------------------------------------------------------

void TQTKTieColumnFormBoardAreaAddHalfIndenting::WriteExpr(IRDXRecord* subject, IRDXRecord* object,
                                                           IQTKTieColumnCalculatorEDO&, double area) const
{
    AddItemExprDetail(subject, object, area, 1.0);
}

void TQTKTieColumnFormBoardAreaAddIndenting::WriteExpr(IRDXRecord* subject, IRDXRecord* object,
                                                       IQTKTieColumnCalculatorEDO& column, double area) const
{
    const std::shared_ptr<TQTKShellCalc3d> calc = column.GetIndentingSideShellCalc(LengthFactor());
    if (!calc || !calc->GetShell())
        return;
    std::string text;
    GShellExprParser(subject, object, *calc->GetShell(), text, 0, calc->GetIsArc(), area, true, 0, 1.0);
}

double TQTKTieColumnFormBoardAreaAddHalfIndenting::Amount(IQTKTieColumnCalculatorEDO& column) const
{
    return GetIndentingSideArea(column, LengthFactor());
}

double TQTKTieColumnFormBoardAreaDeductHole::Calculate(const RecordRef& subject, const RecordRef& object,
                                                       const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    if (!IsOpeningEndInElement(subject.get(), object.get()))
        return 0.0;
    const Ref<IQTKTieColumnCalculatorEDO> column = GetTieColumnEdo(subject.get());
    if (!column->GetIndentingPolyhedron())
        column->BuildIndentingPolyhedron();
    const TVRMPolyhedron3d* indenting = column->GetIndentingPolyhedron();
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    if (!indenting || !indenting->HasFaces() || !solid)
        return 0.0;
    // The sides of the whole toothing, whatever factor its shell was made with.
    const std::shared_ptr<TQTKShellCalc3d> calc = column->GetIndentingSideShellCalc(1.0);
    if (!calc)
        return 0.0;
    const double removed = calc->Subtract(*solid->GetPolyhedron(), object.get(), CVRMSuperpositionBoth);
    return RescaleByFactor(removed, calc->GetFactor(), 1.0);
}

double TQTKTieColumnFormBoardAreaDeductHoleAllIndentingWidth::Calculate(const RecordRef& subject,
                                                                        const RecordRef& object,
                                                                        const TableSourceRef& business,
                                                                        const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    IRDXRecord* host = HostOf(object.get());
    if (!host)
        return 0.0;
    const IQTKElementDrawObj* hostObj = GetRecordDrawObj(host);
    const int hostType = GetRecordElementTypeID(host);
    bool concrete = false;
    if (hostType == CWallType)
        concrete = IsConcreteMaterialText(MaterialText(hostObj));
    else if (hostType == CStripFDType && hostObj && hostObj->GetChildCount() > 0)
        concrete = IsConcreteMaterialText(MaterialText(hostObj->GetChild(0)));
    if (concrete)
        return TQTKTieColumnFormBoardAreaDeductHole::Calculate(subject, object, business, ruleContext);
    if (!HostRuleGivesBackOpening(host, hostType, ruleContext, CSideGiveBack))
        return 0.0;
    // On a shell of its own: the column's side shell stays as it is.
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(subject.get());
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    if (!solid)
        return 0.0;
    TQTKShellCalc3d sides(column->CreateSideFaceShell(), RecordRef(), 1.0);
    return -sides.Subtract(*solid->GetPolyhedron(), object.get(), CVRMSuperpositionBoth, nullptr, false, false);
}

// ---------------------------------------------------------------------------

double TQTKColumnOverHeightOrginalFormBoardArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                           const TableSourceRef& business,
                                                           const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(ruleContext);
    return ReadOverhighOriginal(subject.get(), ruleContext,
                                GetOrBuildColumnOverHighFormboard(subject, business, ruleContext).Overhigh());
}

bool TQTKColumnOverHeightFormBoardDeductIrregularWall::NeighbourTakesPrecedence(IRDXRecord* column, IRDXRecord* object,
                                                                                const TableSourceRef& ruleContext) const
{
    return (IsConcreteRecord(object) && IsCoveredByWalls(object, column)) ||
           TQTKColumnFormBoardAreaDeductByFact::NeighbourTakesPrecedence(column, object, ruleContext);
}

double TQTKTieColumnOverHeightFormBoardAddHalfIndentingWidthArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                                            const TableSourceRef& business,
                                                                            const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const Ref<IQTKTieColumnCalculatorEDO> column = GetTieColumnEdo(subject.get());
    const double ratio = IndentRatio();
    return ReadToothingOverHigh(
        subject.get(), ruleContext, ratio,
        GetOrBuildToothingOverHighFormboard(*column, subject, business, ruleContext, ratio).get());
}

double TQTKTieColumnOverHeightFormBoardDeductHole::Calculate(const RecordRef& subject, const RecordRef& object,
                                                             const TableSourceRef& business,
                                                             const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    if (!IsOpeningEndInElement(subject.get(), object.get()))
        return 0.0;
    if (!GetOrBuildColumnOverHighFormboard(subject, business, ruleContext))
        return 0.0;
    // The opening's wall must face the column with at least one of its sides.
    IRDXRecord* host = HostOf(object.get());
    if (!host || CountSideLinesMeetingLine(subject.get(), host) == 0)
        return 0.0;
    const Ref<IQTKTieColumnCalculatorEDO> column = GetTieColumnEdo(subject.get());
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    // The sides of the whole toothing, whatever ratio its formwork was made with.
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        solid ? GetOrBuildToothingOverHighFormboard(*column, subject, business, ruleContext, 1.0) : nullptr;
    if (!calc)
        return 0.0;
    const double removed = calc->Subtract(*solid->GetPolyhedron(), object.get(), CVRMSuperpositionBoth);
    return ReadAtIndentRatio(removed, calc.get(), 1.0);
}

double TQTKTieColumnOverHeightFormBoardDeductHoleAllToothWidth::Calculate(const RecordRef& subject,
                                                                          const RecordRef& object,
                                                                          const TableSourceRef& business,
                                                                          const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    QTK_ASSERT(object);
    if (!GetOrBuildColumnOverHighFormboard(subject, business, ruleContext))
        return 0.0;
    IRDXRecord* host = HostOf(object.get());
    if (!host)
        return 0.0;
    const int hostType = GetRecordElementTypeID(host);
    if (hostType == CWallType && IsConcreteMaterialText(MaterialText(GetRecordDrawObj(host))))
        return TQTKTieColumnOverHeightFormBoardDeductHole::Calculate(subject, object, business, ruleContext);
    if (!HostRuleGivesBackOpening(host, hostType, ruleContext, COverHighGiveBack))
        return 0.0;
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalSolidHolder(object.get());
    if (!solid)
        return 0.0;
    // The column's sides inside the opening, on a shell of its own, counted
    // layer by layer from the top at each layer's weight.
    std::unique_ptr<TVRMPolyhedronShell3d> sides = GetColumnEdo(subject.get())->CreateSideFaceShell();
    TVRMNewPolyBooleanOperator::BooleanOperate(*sides, *solid->GetPolyhedron(), CVRMBoolIntersect,
                                               CVRMSuperpositionFlush);
    TQTkColumnOverHeightCalcBuilder builder(subject, business, ruleContext);
    const std::vector<TQTKOverHighLayer> layers = builder.GetLayers();
    double given = 0.0;
    for (auto layer = layers.rbegin(); layer != layers.rend() && sides; ++layer) {
        std::unique_ptr<TVRMPolyhedronShell3d> below;
        const std::unique_ptr<TVRMPolyhedronShell3d> above = sides->Cut(LevelCut(layer->bottom), below, CCutTol);
        const double area = above ? above->GetArea() : 0.0;
        if (IsExprMode(subject.get()))
            TQTKOverhighExprHandler::AddOverhighValueItem(subject.get(), -area, layer->weight);
        given += area * layer->weight;
        sides = std::move(below);
    }
    return -given;
}

// ---------------------------------------------------------------------------

void RegisterColumnFormBoardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKRectanglColumnFormBoarAreaDeductLackOneAndHalfWallThickness);
    QTK_REGISTER(registry, TQTKRectangleColumnFormBoardAreaDeductLackSettledLenth);
    QTK_REGISTER(registry, TQTKRectangleColumnFormBoardAreaDeductLackOneThickness);
    QTK_REGISTER(registry, TQTKRectangleColumnTemplateAreaGiveNearWall);
    QTK_REGISTER(registry, TQTKColumnOverHeightOrginalFormBoardArea);
    QTK_REGISTER(registry, TQTKColumnOverHeightFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKRectanglColumnOverHeightFormBoarAreaDeductLackOneAndHalfWallThickness);
    QTK_REGISTER(registry, TVRMRectangleColumnOverHeightFormBoardAreaDeductLackSettledLenth);
    QTK_REGISTER(registry, TVRMRectangleColumnOverHeightFormBoardAreaDeductLackOneThickness);
    QTK_REGISTER(registry, TVRMRectangleColumnOverHeightFormBoardAreaDeductNearWall);
    QTK_REGISTER(registry, TQTKTieColumnFormBoardAreaAddHalfIndenting);
    QTK_REGISTER(registry, TQTKTieColumnFormBoardAreaAddIndenting);
    QTK_REGISTER(registry, TQTKTieColumnFormBoardAreaDeductHole);
    QTK_REGISTER(registry, TQTKTieColumnFormBoardAreaDeductHoleAllIndentingWidth);
    QTK_REGISTER(registry, TQTKTieColumnOverHeightFormBoardAddHalfIndentingWidthArea);
    QTK_REGISTER(registry, TQTKTieColumnOverHeightFormBoardAddAllIndentingWidthArea);
    QTK_REGISTER(registry, TQTKTieColumnOverHeightFormBoardDeductHole);
    QTK_REGISTER(registry, TQTKTieColumnOverHeightFormBoardDeductHoleAllToothWidth);
    QTK_REGISTER(registry, TQTKColumnFormBoardDeductIrregularWall);
    QTK_REGISTER(registry, TQTKColumnOverHeightFormBoardDeductIrregularWall);
}
