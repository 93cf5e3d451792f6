#include "Calculator/Strategies/WallStrategies/QTKWallScaffoldCalculator.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKCompositeElementCalcCommon.h"
#include "Calculator/Common/QTKStrategiesCommonSlabTop.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CWallType = 0;
constexpr int CInsulatingWallType = 1;
constexpr int CColumnType = 25;
constexpr int CSwingWindowType = 66;

// Height limits of the conditions.
constexpr double CHighWallLimit = 3600.0;
constexpr double CLowWallLimit = 1200.0;
constexpr double COverhighInsideLimit = 4500.0;
// A pier at most this wide adds nothing to the outside scaffold.
constexpr double CPierWidthLimit = 240.0;
// A wall runs along a balcony when the balcony covers more of its side line
// than its width and this margin.
constexpr double CBalconyMargin = 100.0;
// Elevation ranges must overlap by more than this.
constexpr double CElevOverlap = 0.5;

// Holds a wall's scaffold lock for one read-and-write of its stores.
class TScaffoldGuard {
public:
    explicit TScaffoldGuard(IQTKCustomWallCalcEDO& wall) : wall_(wall) { wall_.LockScaffold(); }
    ~TScaffoldGuard() { wall_.UnlockScaffold(); }
    TScaffoldGuard(const TScaffoldGuard&) = delete;
    TScaffoldGuard& operator=(const TScaffoldGuard&) = delete;

private:
    IQTKCustomWallCalcEDO& wall_;
};

Ref<IQTKCustomWallCalcEDO> ScaffoldWall(IRDXRecord* record)
{
    const Ref<IQTKCustomWallCalcEDO> wall = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(record, true));
    if (!wall)
        throw EIntfCastError("element " + std::to_string(record ? record->GetID() : 0) + " is no wall");
    return wall;
}

bool IsOverlaidFillWall(IRDXRecord* record)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    auto* wall = Supports<IQTKWallCalcEDO>(edo.get());
    return wall && wall->GetFillWallOverlayState() == 2;
}

// The wall takes part in a scaffold at all: not on the foundation storey, not
// a fill wall laid in another wall.
bool IsScaffoldWall(IRDXRecord* wall)
{
    return wall && !IsOnFoundationFloor(wall) && !IsOverlaidFillWall(wall);
}

bool IsInComposite(IRDXRecord* wall)
{
    return FieldExist(wall, "CompositeEDOPID") && !wall->IsNull("CompositeEDOPID");
}

double TopUnderSlab(IRDXRecord* wall)
{
    return GetWallTopUnderSlab(wall, 0, 1);
}

// Condition values 0 to 3 of the scaffold area settings.
bool IsScaffoldConditionMet(IRDXRecord* wall, int value, const TableSourceRef& ruleContext)
{
    double top = 0.0, limit = 0.0;
    switch (value) {
        case 0:
            return true;
        case 1:
            top = TopUnderSlab(wall);
            limit = CHighWallLimit;
            break;
        case 2:
            top = GetWallAverageTopElev(wall);
            limit = CHighWallLimit;
            break;
        case 3:
            top = GetWallAverageTopElev(wall);
            limit = CLowWallLimit;
            break;
        default:
            return false;
    }
    return GreaterThan(top - GetWallScaffoldBottomElev(wall, 0, ruleContext), limit);
}

int SettingValue(const TableSourceRef& ruleContext, std::string_view key)
{
    return FieldValueInteger(GetSettingRow(ruleContext, "QTKWallCalcSettings"), key, 0);
}

void StoreCalc(IQTKCustomWallCalcEDO& wall, std::unique_ptr<TQTKLinearCalc2d> calc, const TVRMCustomLine2d* line,
               bool storeLine)
{
    TScaffoldGuard guard(wall);
    if (storeLine)
        wall.SetScaffoldLine(line);
    wall.SetScaffoldLinearCalc(std::move(calc));
}

// ---------------------------------------------------------------------------
// What covers a scaffold line

// Walls and insulating walls meeting the wall in elevation, by plan polygon
// or face polygon, each marked with its record id. A parallel wall of the
// wall's own kind counts only when the wall gives way to it.
void AppendCrossingWallsToScaffoldCalc(IRDXRecord* wall, TQTKLinearCalc2d& calc, bool byPlanPolygon)
{
    const IQTKElementDrawObj* wallDrawObj = GetRecordDrawObj(wall);
    const int ownType = wallDrawObj ? wallDrawObj->GetElementTypeID() : CWallType;
    TRecordList others;
    GetCalcEDO(wall, true)->GetRelatedByTypes(MakeElementTypeSet({CWallType, CInsulatingWallType}), &others);
    for (const RecordRef& other : others) {
        if (other->GetID() == wall->GetID() || !IsLineEntAndLineEntInt(wall, other.get(), CElevOverlap))
            continue;
        IQTKElementDrawObj* drawObj = GetRecordDrawObj(other.get());
        if (!drawObj)
            continue;
        if (drawObj->GetElementTypeID() == ownType && IsLineEntsParallel(wall, other.get()) &&
            !IsLineEntCutBy(wall, other.get(), true))
            continue;
        const Ref<IQTKCalculatorEDO> edo = GetOrCreateCalcEDO(drawObj, true);
        auto* line = Supports<IQTKLineEntBaseCalcEDO>(edo.get());
        if (!line)
            continue;
        const TVRMMultiPolygon2d* polygon = byPlanPolygon ? line->GetPlanPolygon() : line->GetAttachWallFacePolygon();
        if (polygon)
            calc.Append(*polygon, other->GetID(), other.get(), true);
    }
}

// The columns (not tie columns) meeting the wall in elevation, by outline.
void AppendColumnsToScaffoldCalc(IRDXRecord* wall, TQTKLinearCalc2d& calc)
{
    TRecordList columns;
    GetCalcEDO(wall, true)->GetRelatedByType(CColumnType, &columns);
    for (const RecordRef& column : columns) {
        if (!IsLineEntAndPointEntInt(wall, column.get(), CElevOverlap))
            continue;
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(column.get());
        if (drawObj && drawObj->GetShape())
            calc.Append(drawObj->GetShape()->GetOutline(), column->GetID(), column.get(), true);
    }
}

enum class TCrossing { None, PlanPolygons, FacePolygons };

struct TMeasure {
    TCrossing crossing = TCrossing::None;
    bool columns = false;
    bool wholeLength = false;  // else the length nothing covers
};

// A calculator over Line with what Measure appends, stored on the wall.
double MeasureScaffold(IRDXRecord* record, IQTKCustomWallCalcEDO& wall, const TVRMCustomLine2d& line,
                       const TMeasure& measure)
{
    auto calc = std::make_unique<TQTKLinearCalc2d>(line, true, 1.0, 0.0);
    if (measure.crossing != TCrossing::None)
        AppendCrossingWallsToScaffoldCalc(record, *calc, measure.crossing == TCrossing::PlanPolygons);
    if (measure.columns)
        AppendColumnsToScaffoldCalc(record, *calc);
    const double length = measure.wholeLength ? calc->GetAllLength() : calc->GetNullLength();
    StoreCalc(wall, std::move(calc), nullptr, false);
    return length;
}

double LengthOf(const TVRMCustomLine2d* line)
{
    return line ? line->Length() : 0.0;
}

// The outer side of an external wall: the middle line when both sides face
// out (crossing walls by plan polygon), else the external face line (the left
// one reversed, so that the line runs with the outside on its right); in a
// composite the longer face line.
double CalcExWallExScaffoldLen(IRDXRecord* record)
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(record);
    const TVRMCustomLine2d* left = wall->GetAttachWallFaceLeftLine();
    const TVRMCustomLine2d* right = wall->GetAttachWallFaceRightLine();
    TVRMCustomLine2d line;
    TCrossing crossing = TCrossing::FacePolygons;
    if (!IsInComposite(record)) {
        const bool leftOut = wall->IsLeftSideExternal(), rightOut = wall->IsRightSideExternal();
        if (leftOut && rightOut) {
            line = *wall->GetMidLine();
            crossing = TCrossing::PlanPolygons;
        } else if (leftOut) {
            line = left->Reversed();
        } else if (rightOut) {
            line = *right;
        } else {
            return 0.0;
        }
    } else {
        const double leftLength = LengthOf(left), rightLength = LengthOf(right);
        if (SameValue(leftLength, rightLength))
            line = *wall->GetMidLine();
        else
            line = leftLength > rightLength ? left->Reversed() : *right;
    }
    return MeasureScaffold(record, *wall, line, {crossing, false, false});
}

// The inner side of an external wall (none when both sides face out); in a
// composite the shorter face line, and with EqualBySideLines the shorter
// calculated side line where the face lines are equal.
double CalcExWallInScaffold(IRDXRecord* record, bool withoutColumns)
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(record);
    const TVRMCustomLine2d* left = wall->GetAttachWallFaceLeftLine();
    const TVRMCustomLine2d* right = wall->GetAttachWallFaceRightLine();
    TVRMCustomLine2d line;
    if (!IsInComposite(record)) {
        const bool leftOut = wall->IsLeftSideExternal(), rightOut = wall->IsRightSideExternal();
        if (leftOut && rightOut)
            return 0.0;
        line = leftOut ? *right : left->Reversed();
    } else {
        const double leftLength = LengthOf(left), rightLength = LengthOf(right);
        if (!SameValue(leftLength, rightLength)) {
            line = leftLength < rightLength ? left->Reversed() : *right;
        } else {
            if (!withoutColumns)
                return 0.0;
            const double leftSide = LengthOf(wall->GetLeftLine()), rightSide = LengthOf(wall->GetRightLine());
            if (SameValue(leftSide, rightSide))
                return 0.0;
            line = leftSide < rightSide ? *wall->GetLeftLine() : *wall->GetRightLine();
        }
    }
    return MeasureScaffold(record, *wall, line, {TCrossing::FacePolygons, withoutColumns, false});
}

double CalcExWallInScaffoldLen(IRDXRecord* record)
{
    return CalcExWallInScaffold(record, false);
}

double CalcExWallInScaffoldLenWithoutColumns(IRDXRecord* record)
{
    return CalcExWallInScaffold(record, true);
}

double CalcOnMidLine(IRDXRecord* record, const TMeasure& measure)
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(record);
    return MeasureScaffold(record, *wall, *wall->GetMidLine(), measure);
}

double CalcWallMidLineLen(IRDXRecord* record)
{
    return CalcOnMidLine(record, {TCrossing::None, false, true});
}

double CalcWallMidLineLenWithoutColumns(IRDXRecord* record)
{
    return CalcOnMidLine(record, {TCrossing::None, true, false});
}

double CalcWallNetMidLineLen(IRDXRecord* record)
{
    return CalcOnMidLine(record, {TCrossing::PlanPolygons, false, false});
}

double CalcWallNetMidLineLenWithoutColumns(IRDXRecord* record)
{
    return CalcOnMidLine(record, {TCrossing::PlanPolygons, true, false});
}

// A line stored with its whole-length calculator.
double StoreLineAndWholeLength(IQTKCustomWallCalcEDO& wall, const TVRMCustomLine2d* line)
{
    auto calc = std::make_unique<TQTKLinearCalc2d>(*line, true, 1.0, 0.0);
    const double length = calc->GetAllLength();
    StoreCalc(wall, std::move(calc), line, true);
    return length;
}

// ---------------------------------------------------------------------------
// Balconies

// The balcony covers more of the wall's side line (left, else right) than the
// wall's width and the margin.
bool IsWallAlongBalcony(IRDXRecord* wall, IRDXRecord* balcony)
{
    const Ref<IQTKCustomWallCalcEDO> edo = ScaffoldWall(wall);
    const IQTKElementDrawObj* balconyDrawObj = GetRecordDrawObj(balcony);
    const IQTKLineShape* shape = GetDrawObjLineShape(edo->GetElementDrawObj());
    if (!balconyDrawObj || !balconyDrawObj->GetShape() || !shape)
        return false;
    const TVRMMultiPolygon2d& outline = balconyDrawObj->GetShape()->GetOutline();
    const double limit = shape->GetLeftWidth() + CBalconyMargin;
    for (const TVRMCustomLine2d* line : {edo->GetLeftLine(), edo->GetRightLine()}) {
        std::vector<TVRMPoint2d> points;
        TVRMIntersectFunc2d::Intersect(*line, outline, points);
        if (points.size() >= 2 && line->LengthAtPoint(points.back()) - line->LengthAtPoint(points.front()) > limit)
            return true;
    }
    return false;
}

// The length of the wall's outer line that the balconies and swing windows of
// its storey cover.
double GetWallBalconyCoveredLength(IRDXRecord* record)
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(record);
    const bool leftOut = wall->IsLeftSideExternal(), rightOut = wall->IsRightSideExternal();
    const TVRMCustomLine2d* line = leftOut && rightOut ? wall->GetMidLine()
                                   : leftOut           ? wall->GetAttachWallFaceLeftLine()
                                   : rightOut          ? wall->GetAttachWallFaceRightLine()
                                                       : nullptr;
    if (!line)
        return 0.0;
    TQTKLinearCalc2d calc(*line, true, 1.0, 0.0);
    const int floor = wall->GetElementDrawObj()->GetFloorID();
    TRecordList covering;
    wall->GetRelatedByTypes(MakeElementTypeSet({10, CSwingWindowType}), &covering);
    for (const RecordRef& element : covering) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(element.get());
        if (!drawObj || drawObj->GetFloorID() != floor)
            continue;
        const auto balcony = RefCast<IQTKBalconyAndSwingWinCalcEDO>(GetCalcEDO(element, true));
        if (const auto polygon = balcony ? balcony->GetHorizonPolygon(0) : nullptr)
            calc.Append(*polygon, 1, nullptr, false);
    }
    return calc.GetLengthFor(1);
}

// The other external walls along the balcony that share its outline with the
// subject; the subject counts the balcony only when it has the lowest id.
bool CountsBalconyOutline(IRDXRecord* wall, IRDXRecord* balcony, std::vector<RecordRef>& others)
{
    TRecordList walls;
    GetCalcEDO(balcony, true)->GetRelatedByType(CWallType, &walls);
    if (walls.size() < 2)
        return true;
    const bool listed =
        std::any_of(walls.begin(), walls.end(), [&](const RecordRef& w) { return w->GetID() == wall->GetID(); });
    if (!listed || !IsWallAlongBalcony(wall, balcony))
        return false;
    for (const RecordRef& other : walls) {
        if (IsInnerWallRecord(other.get()) || IsInComposite(other.get()) || !IsWallAlongBalcony(other.get(), balcony))
            continue;
        if (other->GetID() < wall->GetID())
            return false;
        if (other->GetID() != wall->GetID())
            others.push_back(other);
    }
    return true;
}

}  // namespace

// ---------------------------------------------------------------------------
// Conditions and the shared stores

bool TQTKExWallExScaffoldAreaCalc::CanCalc(IRDXRecord* wall, const TableSourceRef&)
{
    return IsScaffoldWall(wall);
}

bool TQTKExWallInScaffoldAreaCalc::CanCalc(IRDXRecord* wall, const TableSourceRef& ruleContext)
{
    return IsScaffoldWall(wall) &&
           IsScaffoldConditionMet(wall, SettingValue(ruleContext, "ExternalWallInternalScaffoldAreaCalcCondition"),
                                  ruleContext);
}

bool TQTKInWallScaffoldAreaCalc::CanCalc(IRDXRecord* wall, const TableSourceRef& ruleContext)
{
    return IsScaffoldWall(wall) &&
           IsScaffoldConditionMet(wall, SettingValue(ruleContext, "InternalWallScaffoldAreaCalcCondition"),
                                  ruleContext);
}

bool TQTKWallInsideScaffoldLenCalc::CanCalc(IRDXRecord* wall, const TableSourceRef& ruleContext)
{
    return IsScaffoldWall(wall) && SettingValue(ruleContext, "InsideLenScaffoldCalcCondition") == 0 &&
           GreaterThan(GetWallAverageTopElev(wall) - GetWallScaffoldBottomElev(wall, 0, ruleContext), CHighWallLimit);
}

void ClearWallScaffoldCalc(IRDXRecord* wall)
{
    const Ref<IQTKCustomWallCalcEDO> edo = ScaffoldWall(wall);
    TScaffoldGuard guard(*edo);
    edo->SetScaffoldLinearCalc(nullptr);
}

void StoreWallScaffoldHeight(IRDXRecord* wall, double height)
{
    const Ref<IQTKCustomWallCalcEDO> edo = ScaffoldWall(wall);
    TScaffoldGuard guard(*edo);
    edo->SetScaffoldHeight(height);
}

double GetWallScaffoldBottomElev(IRDXRecord* wall, int kind, const TableSourceRef& ruleContext)
{
    return ScaffoldWall(wall)->GetOverHighBottomElev(kind, ruleContext);
}

double GetWallAverageTopElev(IRDXRecord* wall)
{
    const TQTKLineEndElevs elevs = GetLineEndElevs(wall);
    return (elevs.startTop + elevs.endTop) / 2.0;
}

// ---------------------------------------------------------------------------
// External walls

double TQTKExWallExLen::Length(IRDXRecord* wall) const
{
    return CalcExWallExScaffoldLen(wall);
}

double TQTKExWallFinishOutSideFinishLen::Length(IRDXRecord* record) const
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(record);
    const bool leftOut = wall->IsLeftSideExternal(), rightOut = wall->IsRightSideExternal();
    const TVRMCustomLine2d* line = leftOut && rightOut ? wall->GetMidLine()
                                   : leftOut           ? wall->GetAttachWallFaceLeftLine()
                                   : rightOut          ? wall->GetAttachWallFaceRightLine()
                                                       : nullptr;
    if (!line) {
        ClearWallScaffoldCalc(record);
        return 0.0;
    }
    return StoreLineAndWholeLength(*wall, line);
}

double TQTKExWallMidLen::Length(IRDXRecord* wall) const
{
    return CalcWallMidLineLen(wall);
}

double TQTKExWallMidLenWithoutNontieColumn::Length(IRDXRecord* wall) const
{
    return CalcWallMidLineLenWithoutColumns(wall);
}

double TQTKExWallExScaffoldLenAddPierWidthExceeds24cm::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                 const TableSourceRef&,
                                                                 const TableSourceRef& ruleContext)
{
    if (!object || !CanCalc(subject.get(), ruleContext))
        return 0.0;
    const auto pier = RefCast<IQTKPierCalcEDO>(GetCalcEDO(object, true));
    if (!pier || !pier->IsOnExternalSide())
        return 0.0;
    const double width = FieldValueFloat(object.get(), "Width", 0.0);
    if (width <= CPierWidthLimit + CVRMEpsilon)
        return 0.0;
    if (GIsDetailMode) {
        // The pier's two sides, shown beside the wall's scaffold.
        const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(subject.get());
        const auto* shape = dynamic_cast<const IQTKPointShape*>(GetRecordDrawObj(object.get())->GetShape());
        if (shape) {
            const TVRMPoint2d at = shape->GetInsertPt();
            const bool right = TVRMPositionFunc2d::PointSegSide(at, *wall->GetMidLine()) == 2;
            const TVRMCustomLine2d& line = right ? *wall->GetRightLine() : *wall->GetLeftLine();
            const double along = line.LengthAtPoint(at), half = FieldValueFloat(object.get(), "Len", 0.0) / 2.0;
            TScaffoldGuard guard(*wall);
            TVRMSeg2dList* segs = wall->GetScaffoldSegList();
            for (const double position : {along - half, along + half}) {
                const TVRMPoint2d foot = line.PointAtLength(position);
                const TVRMVector2d out = line.DirectionAt(position).RotateHalfPi(right);
                segs->Add(TVRMCustomLine2d(foot, foot + out * width));
            }
        }
    }
    return 2.0 * width;
}

double TQTKExWallInScaffoldLen::Length(IRDXRecord* wall) const
{
    return CalcExWallInScaffoldLen(wall);
}

double TQTKExWallInScaffoldLenWithoutNontieColumn::Length(IRDXRecord* wall) const
{
    return CalcExWallInScaffoldLenWithoutColumns(wall);
}

double TQTKExWallInScaffoldHeightToSlabBtm::Top(IRDXRecord* wall) const
{
    return TopUnderSlab(wall);
}

double TQTKExWallInScaffoldHeightToSlabOrNontieBeamBtm::Top(IRDXRecord* wall) const
{
    return std::min(TopUnderSlab(wall), GetWallTopUnderMembers(wall, MakeElementTypeSet({15, 17})));
}

// ---------------------------------------------------------------------------
// Internal walls

double TQTKInWallScaffoldMiddleLineLen::Length(IRDXRecord* record) const
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(record);
    const IQTKLineShape* shape = GetDrawObjLineShape(wall->GetElementDrawObj());
    if (!shape)
        return 0.0;
    return MeasureScaffold(record, *wall, shape->GetLine(), {TCrossing::None, false, true});
}

double TQTKInWallScaffoldNetLineLen::Length(IRDXRecord* wall) const
{
    return CalcWallMidLineLen(wall);
}

double TQTKWallScaffoldLenDeduct::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                            const TableSourceRef&)
{
    if (!subject || !object)
        return 0.0;
    if (SkipsOverlaidFillWall() && IsOverlaidFillWall(subject.get()))
        return 0.0;
    const bool meets = IsLineObject() ? IsLineEntAndLineEntInt(subject.get(), object.get(), CElevOverlap)
                                      : IsLineEntAndPointEntInt(subject.get(), object.get(), CElevOverlap);
    if (!meets || (ByGiveWay() && !IsLineEntCutBy(subject.get(), object.get(), true)))
        return 0.0;
    const TVRMMultiPolygon2d* polygon = nullptr;
    if (ByGiveWay()) {
        const auto line = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(object, true));
        polygon = line ? line->GetPlanPolygon() : nullptr;
    } else if (const IQTKElementDrawObj* drawObj = GetRecordDrawObj(object.get()); drawObj && drawObj->GetShape()) {
        polygon = &drawObj->GetShape()->GetOutline();
    }
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(subject.get());
    TScaffoldGuard guard(*wall);
    TQTKLinearCalc2d* calc = wall->GetScaffoldLinearCalc();
    if (!calc)
        return 0.0;
    if (polygon)
        calc->Append(*polygon, object->GetID(), object.get(), true);
    return calc->GetLengthFor(object->GetID());
}

double TQTKInWallScaffoldLen::Length(IRDXRecord* wall) const
{
    return CalcWallNetMidLineLen(wall);
}

double TQTKInWallFinishScaffoldLeftSideLen::Length(IRDXRecord* record) const
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(record);
    if (wall->IsLeftSideExternal()) {
        ClearWallScaffoldCalc(record);
        return 0.0;
    }
    return StoreLineAndWholeLength(*wall, wall->GetAttachWallFaceLeftLine());
}

double TQTKInWallFinishScaffoldRightSideLen::Length(IRDXRecord* record) const
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(record);
    if (wall->IsRightSideExternal()) {
        ClearWallScaffoldCalc(record);
        return 0.0;
    }
    return StoreLineAndWholeLength(*wall, wall->GetAttachWallFaceRightLine());
}

double TQTKInWallScaffoldLenWithoutNontieColumn::Length(IRDXRecord* wall) const
{
    return CalcWallNetMidLineLenWithoutColumns(wall);
}

double TQTKWallFinishScaffoldHeight::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                               const TableSourceRef& ruleContext)
{
    const Ref<IQTKCustomWallCalcEDO> wall = ScaffoldWall(subject.get());
    TVRMCustomLine2d line;
    bool stored = false;
    {
        TScaffoldGuard guard(*wall);
        if (const TQTKLinearCalc2d* calc = wall->GetScaffoldLinearCalc()) {
            const TVRMCustomLine2d* scaffoldLine = wall->GetScaffoldLine();
            line = scaffoldLine ? *scaffoldLine : calc->GetLine();
            stored = true;
        }
    }
    double height = 0.0;
    if (stored) {
        const IQTKLineShape* shape = GetDrawObjLineShape(wall->GetElementDrawObj());
        double top = shape ? std::max(shape->GetStartPtTopElev(), shape->GetEndPtTopElev()) : 0.0;
        if (ToSlab())
            top = GetScaffoldHeightToSlabBottom(subject.get(), line, 0);
        switch (Members()) {
            case TQTKScaffoldTopMembers::None:
                break;
            case TQTKScaffoldTopMembers::Beams:
                top = std::min(top, GetWallTopUnderMembersOnLine(subject.get(), MakeElementTypeSet({15, 17}), line));
                break;
            case TQTKScaffoldTopMembers::BeamsAndTieBeams:
                top =
                    std::min(top, GetWallTopUnderMembersOnLine(subject.get(), MakeElementTypeSet({15, 17, 18}), line));
                break;
        }
        height = top - GetWallScaffoldBottomElev(subject.get(), 0, ruleContext);
    }
    StoreWallScaffoldHeight(subject.get(), height);
    return height;
}

double TQTKInWallScaffoldHeightToSlabBtm::Top(IRDXRecord* wall) const
{
    return TopUnderSlab(wall);
}

double TQTKInWallScaffoldHeightToNontieBeamBtm::Top(IRDXRecord* wall) const
{
    return GetWallTopUnderMembers(wall, MakeElementTypeSet({15, 17}));
}

double TQTKInWallScaffoldHeightToSlabOrNontieBeamBtm::Top(IRDXRecord* wall) const
{
    return std::min(TopUnderSlab(wall), GetWallTopUnderMembers(wall, MakeElementTypeSet({15, 17})));
}

double TQTKInWallScaffoldHeightToSlabOrBeamBtm::Top(IRDXRecord* wall) const
{
    return std::min(TopUnderSlab(wall), GetWallTopUnderMembers(wall, MakeElementTypeSet({15, 18})));
}

// ---------------------------------------------------------------------------
// Inside scaffolds

double TQTKWallInsideScaffoldNetLen::Length(IRDXRecord* wall) const
{
    return CalcWallNetMidLineLen(wall);
}

double TQTKWallInsideScaffoldNetLenWithoutNontieColumn::Length(IRDXRecord* wall) const
{
    return CalcWallNetMidLineLenWithoutColumns(wall);
}

namespace {

bool IsOverhighInside(IRDXRecord* wall, const TableSourceRef& ruleContext)
{
    return IsScaffoldWall(wall) && SettingValue(ruleContext, "InsideScaffoldOverhighLenCalcCondition") == 0 &&
           GreaterThan(GetWallAverageTopElev(wall) - GetWallScaffoldBottomElev(wall, 0, ruleContext),
                       COverhighInsideLimit);
}

}  // namespace

double TQTKWallInsideScaffoldOverhighLen::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                    const TableSourceRef& ruleContext)
{
    return IsOverhighInside(subject.get(), ruleContext) ? CalcWallNetMidLineLen(subject.get()) : 0.0;
}

double TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn::Calculate(const RecordRef& subject, const RecordRef&,
                                                                          const TableSourceRef&,
                                                                          const TableSourceRef& ruleContext)
{
    // The net middle line less the columns, as its name says and as its twins
    // measure (not the inner face of an external wall).
    return IsOverhighInside(subject.get(), ruleContext) ? CalcWallNetMidLineLenWithoutColumns(subject.get()) : 0.0;
}

// ---------------------------------------------------------------------------
// Balconies

double TQTKWallOutSideScaffoldAddBalconyOutLineLength::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                 const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(object);
    if (IsOverlaidFillWall(subject.get()))
        return 0.0;
    std::vector<RecordRef> others;
    if (!CountsBalconyOutline(subject.get(), object.get(), others))
        return 0.0;
    // The extra argument is not read by the outline routine.
    const double outline = CalcBalconyOutLineLength(object.get(), subject.get(), 0);
    double covered = 0.0;
    for (const RecordRef& other : others)
        covered += GetWallBalconyCoveredLength(other.get());
    return std::max(0.0, outline - covered);
}

double TQTKWallOutSideScaffoldAddBalonySideLineLength::Calculate(const RecordRef& subject, const RecordRef& object,
                                                                 const TableSourceRef&, const TableSourceRef&)
{
    if (!object || IsOverlaidFillWall(subject.get()) || !IsLowestRelatedId(subject.get(), object.get()))
        return 0.0;
    if (!FieldExist(object.get(), "Type") || object->IsNull("Type"))
        return 0.0;
    const int type = FieldValueInteger(object.get(), "Type", -1);
    return type == 0 || type == 5 ? CalcBalconySideLineLength(object.get()) : 0.0;
}

void RegisterWallScaffoldRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKExWallExScaffoldAreaCalc);
    QTK_REGISTER(registry, TQTKExWallExLen);
    QTK_REGISTER(registry, TQTKExWallFinishOutSideFinishLen);
    QTK_REGISTER(registry, TQTKExWallMidLen);
    QTK_REGISTER(registry, TQTKExWallMidLenWithoutNontieColumn);
    QTK_REGISTER(registry, TQTKExWallExScaffoldLenAddPierWidthExceeds24cm);
    QTK_REGISTER(registry, TQTKExWallExScaffoldHeight);
    QTK_REGISTER(registry, TQTKExWallExScaffoldHeightByBasement);
    QTK_REGISTER(registry, TQTKExWallInScaffoldAreaCalc);
    QTK_REGISTER(registry, TQTKExWallInScaffoldLen);
    QTK_REGISTER(registry, TQTKExWallInScaffoldLenWithoutNontieColumn);
    QTK_REGISTER(registry, TQTKExWallInScaffoldHeightToSlabBtm);
    QTK_REGISTER(registry, TQTKExWallInScaffoldHeightToSlabOrNontieBeamBtm);
    QTK_REGISTER(registry, TQTKExWallInScaffoldHeight);
    QTK_REGISTER(registry, TQTKInWallScaffoldAreaCalc);
    QTK_REGISTER(registry, TQTKInWallScaffoldMiddleLineLen);
    QTK_REGISTER(registry, TQTKInWallScaffoldNetLineLen);
    QTK_REGISTER(registry, TQTKInWallScaffoldLenDeductWall);
    QTK_REGISTER(registry, TQTKInWallScaffoldLenDeductByFact);
    QTK_REGISTER(registry, TQTKInWallScaffoldLen);
    QTK_REGISTER(registry, TQTKInWallFinishScaffoldLeftSideLen);
    QTK_REGISTER(registry, TQTKInWallFinishScaffoldRightSideLen);
    QTK_REGISTER(registry, TQTKInWallScaffoldLenWithoutNontieColumn);
    QTK_REGISTER(registry, TQTKInWallFinishScaffoldHeightToSlabBtm);
    QTK_REGISTER(registry, TQTKInWallFinishScaffoldHeightToNontieBeamBtm);
    QTK_REGISTER(registry, TQTKInWallFinishScaffoldHeightToSlabOrNontieBeamBtm);
    QTK_REGISTER(registry, TQTKInWallFinishScaffoldHeightToSlabOrBeamBtm);
    QTK_REGISTER(registry, TQTKInWallScaffoldHeightToSlabBtm);
    QTK_REGISTER(registry, TQTKInWallScaffoldHeightToNontieBeamBtm);
    QTK_REGISTER(registry, TQTKInWallScaffoldHeightToSlabOrNontieBeamBtm);
    QTK_REGISTER(registry, TQTKInWallScaffoldHeightToSlabOrBeamBtm);
    QTK_REGISTER(registry, TQTKInWallScaffoldHeight);
    QTK_REGISTER(registry, TQTKWallInsideScaffoldLenCalc);
    QTK_REGISTER(registry, TQTKWallInsideScaffoldNetLen);
    QTK_REGISTER(registry, TQTKWallInsideScaffoldNetLenWithoutNontieColumn);
    QTK_REGISTER(registry, TQTKWallOutSideScaffoldAddBalconyOutLineLength);
    QTK_REGISTER(registry, TQTKWallOutSideScaffoldAddBalonySideLineLength);
    QTK_REGISTER(registry, TQTKWallInsideScaffoldOverhighLen);
    QTK_REGISTER(registry, TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn);
    QTK_REGISTER(registry, TQTKlFinishScaffoldDeductLineEntByFact);
    QTK_REGISTER(registry, TQTKFinishScaffoldDeductPointEntByFact);
}
