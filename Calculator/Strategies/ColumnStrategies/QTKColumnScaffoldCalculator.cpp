#include "Calculator/Strategies/ColumnStrategies/QTKColumnScaffoldCalculator.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr double CConstTerm = 3600.0;       // the constant term and the height it needs
constexpr double CTopReach = 500.0;         // a slab or beam this close to the top lowers it
constexpr double CHighColumnRise = 1200.0;  // condition 4
constexpr int CScaffoldHeightQtyID = 893;

enum TScaffoldCondition { CNever = 0, CAlone = 1, CAlways = 2, CTieColumnOffOuterWall = 3, CHighColumn = 4 };

const IQTKPointShape& PointShapeOf(IRDXRecord* column)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(column);
    const auto* shape = drawObj ? dynamic_cast<const IQTKPointShape*>(drawObj->GetShape()) : nullptr;
    QTK_ASSERT_MSG(shape != nullptr, "the column has no point shape");
    return *shape;
}

// A tie column ("Type" 0) against an outer wall or insulating wall that
// overlaps it in elevation.
bool IsAgainstOuterWall(IRDXRecord* column)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(column, true);
    const int count = edo->GetRelatedCount();
    for (int i = 0; i < count; ++i) {
        const RecordRef related = edo->GetRelated(i);
        const int typeId = GetRecordElementTypeID(related.get());
        if (typeId >= 0 && typeId < 2 && IsOuterWallRecord(related.get()) &&
            IsPointEntAndLineEntInt(column, related.get(), false, false))
            return true;
    }
    return false;
}

// The top lowered by the related elements of the types whose top at the
// insertion point lies within reach of the column's top: to that top less
// the element's depth.
double LowerTopBy(IRDXRecord* column, bool withBeams)
{
    const Ref<IQTKColumnCalculatorEDO> edo = GetColumnEdo(column);
    const double columnTop = edo->GetCalcTopElev();
    const TVRMPoint2d at = PointShapeOf(column).GetInsertPt();
    double top = columnTop;
    const int count = edo->GetRelatedCount();
    for (int i = 0; i < count; ++i) {
        const RecordRef related = edo->GetRelated(i);
        const int typeId = GetRecordElementTypeID(related.get());
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(related.get());
        const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
        double elev = 0.0, depth = 0.0;
        if (typeId == 19 || typeId == 20) {
            const auto* face = dynamic_cast<const IQTKFaceShape*>(shape);
            if (!face || !face->GetFaceElevInfo())
                continue;
            elev = face->GetFaceElevInfo()->GetElevAt(at);
            depth = GetRecordPropFloat(related.get(), "Thickness");
        } else if (withBeams && typeId >= 15 && typeId <= 18) {
            const auto* line = dynamic_cast<const IQTKLineShape*>(shape);
            if (!line)
                continue;
            elev = line->GetTopElevAt(at);
            depth = GetRecordPropFloat(related.get(), "SectionHeight");
        } else {
            continue;
        }
        if (std::fabs(columnTop - elev) < CTopReach)
            top = std::min(top, elev - depth);
    }
    return top;
}

// ---------------------------------------------------------------------------
// Height from the foundation below

constexpr int CFoundationTypes[] = {47, 48, 54, 81, 82, 83};

TRecordList FoundationElementsOf(IQTKCalculatorEDO& column)
{
    TQTKElementTypeSet types;
    for (const int typeId : CFoundationTypes)
        types.set(typeId);
    TRecordList list;
    column.GetRelatedByTypes(types, &list);
    return list;
}

// The highest top of the elements at the point.
double GetFoundationTop(const TVRMPoint2d& at, const TRecordList& elements)
{
    double top = -std::numeric_limits<double>::infinity();
    for (const RecordRef& element : elements) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(element.get());
        const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
        double elev = 0.0;
        if (const auto* point = dynamic_cast<const IQTKPointShape*>(shape))
            elev = point->GetTopElev();
        else if (const auto* line = dynamic_cast<const IQTKLineShape*>(shape))
            elev = line->GetTopElevAt(at);
        else if (const auto* face = dynamic_cast<const IQTKFaceShape*>(shape); face && face->GetFaceElevInfo())
            elev = face->GetFaceElevInfo()->GetElevAt(at);
        else
            QTK_ASSERT_MSG(false, "a foundation element without a point, line or face shape");
        top = std::max(top, elev);
    }
    return top;
}

bool IsOnFoundationFloorOrNone(IRDXRecord* column)
{
    return !GetRecordFloor(column) || IsOnFoundationFloor(column);
}

// The column of the same type whose top meets this column's "BottomElev".
RecordRef FindLowerColumn(IQTKCalculatorEDO& column, IRDXRecord* record)
{
    if (IsOnFoundationFloorOrNone(record))
        return {};
    const double bottom = GetRecordPropFloat(record, "BottomElev");
    TRecordList same;
    column.GetRelatedByType(GetRecordElementTypeID(record), &same);
    for (const RecordRef& other : same) {
        const Ref<IQTKColumnCalculatorEDO> lower = RefCast<IQTKColumnCalculatorEDO>(GetCalcEDO(other, true));
        if (lower && SameValue(lower->GetCalcTopElev(), bottom, CLengthTol))
            return other;
    }
    return {};
}

double HeightFromBase(IRDXRecord* record, const TableSourceRef& ruleContext)
{
    if (!IsColumnScaffoldNeeded(record, ruleContext) || IsOnFoundationFloorOrNone(record))
        return 0.0;
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(record);
    const double top = column->GetCalcTopElev();
    const TRecordList own = FoundationElementsOf(*column);
    if (!own.empty())
        return top - GetFoundationTop(PointShapeOf(record).GetInsertPt(), own);
    const RecordRef lower = FindLowerColumn(*column, record);
    if (!lower || !IsOnFoundationFloorOrNone(lower.get()))
        return top - column->GetCalcBottomElev();
    const Ref<IQTKColumnCalculatorEDO> lowerColumn = GetColumnEdo(lower.get());
    const TRecordList below = FoundationElementsOf(*lowerColumn);
    if (!below.empty())
        return top - GetFoundationTop(PointShapeOf(lower.get()).GetInsertPt(), below);
    return top - lowerColumn->GetCalcBottomElev();
}

}  // namespace

// ---------------------------------------------------------------------------

bool IsColumnScaffoldNeeded(IRDXRecord* column, const TableSourceRef& ruleContext)
{
    if (IsOnFoundationFloor(column))
        return false;
    IRDXRecord* settings = GetSettingRow(ruleContext, "QTKColumnCalcSettings");
    switch (FieldValueInteger(settings, "ConcreteColumnSacffoldAreaCalcCondition", CNever)) {
        case CNever:
            return false;
        case CAlone:
            return IsAloneColumn(column);
        case CAlways:
            return true;
        case CTieColumnOffOuterWall:
            return GetCalcEDO(column, true)->GetType() != 0 || !IsAgainstOuterWall(column);
        case CHighColumn:
            return GreaterThan(GetColumnEdo(column)->GetCalcTopElev(),
                               GetFloorStructuralElev(column, true) + CHighColumnRise, CLengthTol);
        default:
            return true;
    }
}

double GetScaffoldTopBySlab(IRDXRecord* column)
{
    return LowerTopBy(column, false);
}

double GetScaffoldTopByBeamOrSlab(IRDXRecord* column)
{
    return LowerTopBy(column, true);
}

// ---------------------------------------------------------------------------

double TQTKColumnScaffoldAddconstCoefficient::Calculate(const RecordRef&, const RecordRef&, const TableSourceRef&,
                                                        const TableSourceRef&)
{
    return CConstTerm;
}

double TQTKColumnScaffoldAddCoefficient::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                   const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(subject.get());
    const int count = column->GetRelatedCount();
    for (int i = 0; i < count; ++i) {
        const RecordRef related = column->GetRelated(i);
        if (GetRecordElementTypeID(related.get()) != 0)
            continue;
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(related.get());
        if (drawObj && IsConcreteElement(drawObj) && !column->IsIsolated() &&
            IsLineEntAndPointEntInt(related.get(), subject.get(), 0.5) &&
            !IsCoveredByWalls(related.get(), subject.get()))
            return 0.0;
    }
    return CConstTerm;
}

double TQTKColumnScaffoldHeightRule::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                               const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const TTop top = Top();
    if (top == TTop::None)
        return 0.0;
    const Ref<IQTKColumnCalculatorEDO> column = GetColumnEdo(subject.get());
    double height = 0.0;
    if (IsColumnScaffoldNeeded(subject.get(), ruleContext)) {
        const double topElev = top == TTop::Column ? column->GetCalcTopElev()
                               : top == TTop::Slab ? GetScaffoldTopBySlab(subject.get())
                                                   : GetScaffoldTopByBeamOrSlab(subject.get());
        height = topElev -
                 TQTKOverHighBottomElevCalculator::GetColumnScaffoldBottomElev(column.get(), ruleContext, BottomKind());
    }
    column->SetScaffoldHeight(height);
    return height;
}

double TQTKColumnScaffoldHeightFromBaseToTop::Calculate(const RecordRef& subject, const RecordRef&,
                                                        const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    // Stored only once computed: a failure leaves what was stored before.
    const double height = HeightFromBase(subject.get(), ruleContext);
    GetColumnEdo(subject.get())->SetScaffoldHeight(height);
    return height;
}

// ---------------------------------------------------------------------------

namespace {

template <class T>
double RunHeightRule(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext)
{
    const Ref<T> rule(new T());
    return rule->Calculate(subject, object, business, ruleContext);
}

}  // namespace

double TQTKColumnScaffoldAddconstCoefficientBy3Dot6::CalcScaffoldHeight(const RecordRef& subject,
                                                                        const RecordRef& object,
                                                                        const TableSourceRef& business,
                                                                        const TableSourceRef& ruleContext) const
{
    const ViewRef rows = GetInternalQtyRuleRows(ruleContext, CScaffoldHeightQtyID);
    if (!rows || rows->GetRowCount() == 0)
        return 0.0;
    switch (const int ruleId = FieldValueInteger(rows->GetRow(0), "CalcRuleID", -1)) {
        case 5598:
            return RunHeightRule<TQTKClumnScaffoldFloorBottomElevToCloumnTopElev>(subject, object, business,
                                                                                  ruleContext);
        case 5599:
            return RunHeightRule<TQTKClumnScaffoldFloorBottomElevToSlapBottompElev>(subject, object, business,
                                                                                    ruleContext);
        case 5600:
            return RunHeightRule<TQTKColumnScaffoldHeightFloorToBeamOrSalbBottomElev>(subject, object, business,
                                                                                      ruleContext);
        case 5601:
            return RunHeightRule<TQTKClumnScaffoldHeightGroundElevToColumnTopElev>(subject, object, business,
                                                                                   ruleContext);
        case 5602:
            return RunHeightRule<TQTKClumnScaffoldHeightGroundElevToSlapBottomElev>(subject, object, business,
                                                                                    ruleContext);
        case 5603:
            return RunHeightRule<TQTKClumnScaffoldHeightGroundElevToBeamOrSlapBottomElev>(subject, object, business,
                                                                                          ruleContext);
        case 5604:
            return RunHeightRule<TQTKColumnScaffoldHeightHaveBaseRoomToColumnTopElev>(subject, object, business,
                                                                                      ruleContext);
        case 5605:
            return RunHeightRule<TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductSlabTopElev>(subject, object,
                                                                                                business, ruleContext);
        case 5606:
            return RunHeightRule<TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductBeamAndSlabTopElev>(
                subject, object, business, ruleContext);
        case 5944:
            return RunHeightRule<TQTKColumnScaffoldHeightFromBaseToTop>(subject, object, business, ruleContext);
        default:
            QTK_ASSERT_MSG(false, ("no column scaffold height rule " + std::to_string(ruleId)).c_str());
            return 0.0;
    }
}

double TQTKColumnScaffoldAddconstCoefficientBy3Dot6::Calculate(const RecordRef& subject, const RecordRef& object,
                                                               const TableSourceRef& business,
                                                               const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    double height = GetColumnEdo(subject.get())->GetScaffoldHeight();
    if (SameValue(height, -1.0, CLengthTol))
        height = CalcScaffoldHeight(subject, object, business, ruleContext);
    return GreaterThan(height, CConstTerm, CVRMEpsilon) ? CConstTerm : 0.0;
}

// ---------------------------------------------------------------------------

void RegisterColumnScaffoldRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKColumnScaffoldAddconstCoefficient);
    QTK_REGISTER(registry, TQTKColumnScaffoldAddconstCoefficientBy3Dot6);
    QTK_REGISTER(registry, TQTKColumnScaffoldAddCoefficient);
    QTK_REGISTER(registry, TQTKClumnScaffoldHeightGroundElevToColumnTopElev);
    QTK_REGISTER(registry, TQTKClumnScaffoldHeightGroundElevToSlapBottomElev);
    QTK_REGISTER(registry, TQTKClumnScaffoldHeightGroundElevToBeamOrSlapBottomElev);
    QTK_REGISTER(registry, TQTKClumnScaffoldFloorBottomElevToCloumnTopElev);
    QTK_REGISTER(registry, TQTKClumnScaffoldFloorBottomElevToSlapBottompElev);
    QTK_REGISTER(registry, TQTKColumnScaffoldHeightFloorToBeamOrSalbBottomElev);
    QTK_REGISTER(registry, TQTKColumnScaffoldHeightHaveBaseRoomToColumnTopElev);
    QTK_REGISTER(registry, TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductBeamAndSlabTopElev);
    QTK_REGISTER(registry, TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductSlabTopElev);
    QTK_REGISTER(registry, TQTKColumnScaffoldHeightFromBaseToTop);
}
