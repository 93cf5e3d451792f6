#include "Calculator/CalcFrame/QTKCalcEDOs/QTKStripFDCalcEDO.h"

#include <algorithm>
#include <cmath>
#include <tuple>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/Runtime/FastCast.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr int CStripFDType = 51;
constexpr int CStripFDUnitType = 81;

double Prop(const IQTKElementDrawObj* drawObj, std::string_view name)
{
    return EdoPropValueFloat(drawObj->GetPropValues(), name);
}

int CalclineType()
{
    return GStripFDCalclineType;
}

// A lies on B: parallel, and A's start on B's line.
bool LiesOn(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    return TVRMPositionFunc2d::IsParallel(a, b) && IsZero(TVRMPositionFunc2d::SignedDistanceTo(a.StartPt(), b, false));
}

}  // namespace

TQTKStripFDCalcEDO::TQTKStripFDCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKHasSectionInfoComplexLineEntCalcEDO(mode, drawObj),
      defaultWidth_(Prop(drawObj, "Width")),
      defaultAxisOffset_(Prop(drawObj, "AxisOffset")),
      height_(Prop(drawObj, "Height")),
      width_(Prop(drawObj, "Width"))
{
}

void TQTKStripFDCalcEDO::Prepare(IRDXRecord* record)
{
    {
        std::lock_guard guard(stateLock_);
        preparedType_ = CalclineType();
    }
    TQTKHasSectionInfoComplexLineEntCalcEDO::Prepare(record);
}

bool TQTKStripFDCalcEDO::IsCalcByActualMiddle()
{
    return CalclineType() != 0;
}

bool TQTKStripFDCalcEDO::IsKeepConnectedEdoIDInfo()
{
    return CalclineType() == 0;
}

// ---------------------------------------------------------------------------
// Calculation line

TQTKStripFDCalcEDO::TCalcLine TQTKStripFDCalcEDO::CalcLine()
{
    const int type = CalclineType();
    if (type < 1 || type > 4)
        return TCalcLine{type, defaultWidth_, defaultAxisOffset_, true};  // the axis: nothing to compute
    TCalcLine line;
    if (FindCalcLine(type, line))
        return line;
    // Computed with no lock held: the walls' lines come from their calculators.
    const TCalcLine computed = ComputeCalcLine(type);
    std::lock_guard guard(stateLock_);
    StoreCalcLine(computed);
    return computed;
}

// The join search asks for the line at every band it makes: the kept one is
// read without a lock, and read again when a store overlapped the reading.
bool TQTKStripFDCalcEDO::FindCalcLine(int type, TCalcLine& line) const
{
    const unsigned before = calcLineSeq_.load(std::memory_order_acquire);
    if ((before & 1u) != 0)
        return false;
    line.type = calcLineType_.load(std::memory_order_relaxed);
    line.width = calcLineWidth_.load(std::memory_order_relaxed);
    line.axisOffset = calcLineAxisOffset_.load(std::memory_order_relaxed);
    line.wallLineUsable = calcLineUsable_.load(std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_acquire);
    return calcLineSeq_.load(std::memory_order_relaxed) == before && line.type == type;
}

void TQTKStripFDCalcEDO::StoreCalcLine(const TCalcLine& line)
{
    const unsigned seq = calcLineSeq_.load(std::memory_order_relaxed);
    calcLineSeq_.store(seq + 1, std::memory_order_relaxed);
    std::atomic_thread_fence(std::memory_order_release);
    calcLineType_.store(line.type, std::memory_order_relaxed);
    calcLineWidth_.store(line.width, std::memory_order_relaxed);
    calcLineAxisOffset_.store(line.axisOffset, std::memory_order_relaxed);
    calcLineUsable_.store(line.wallLineUsable, std::memory_order_relaxed);
    calcLineSeq_.store(seq + 2, std::memory_order_release);
}

TQTKStripFDCalcEDO::TCalcLine TQTKStripFDCalcEDO::ComputeCalcLine(int type)
{
    TCalcLine line{type, defaultWidth_, defaultAxisOffset_, true};
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const IQTKLineShape* shape = LineShape();
    if (type == 1) {
        const std::vector<Ref<IQTKCustomWallCalcEDO>> walls = GetWallsAbove();
        if (!walls.empty()) {
            const TVRMCustomLine2d& left = *walls.front()->GetLeftLine();
            const TVRMCustomLine2d& right = *walls.front()->GetRightLine();
            const TVRMCustomLine2d axis = GetLine();
            line.width = TVRMPositionFunc2d::DistanceTo(left.StartPt(), right);
            const double b = TVRMPositionFunc2d::SignedDistanceTo(left.StartPt(), axis);
            const double c = TVRMPositionFunc2d::SignedDistanceTo(right.StartPt(), axis);
            line.axisOffset = c >= b ? -b : -c;
            line.wallLineUsable = std::any_of(walls.begin(), walls.end(), [](const Ref<IQTKCustomWallCalcEDO>& w) {
                return w->IsLeftSideExternal() || w->IsRightSideExternal();
            });
        } else {
            // The top faces of the units laid along the x axis: their extent across it.
            const auto solid = BuildCompositeSegmentSolid(TVRMCustomLine2d({0, 0}, {1000, 0}), drawObj, false);
            const double top = solid->GetBox().max.z;
            double low = HUGE_VAL, high = -HUGE_VAL;
            for (int i = 0; i < solid->GetFaceCount(); ++i) {
                const TVRMBox3d box = solid->GetFace(i).GetBox();
                if (SameValue(box.min.z, top)) {
                    low = std::min(low, box.min.y);
                    high = std::max(high, box.max.y);
                }
            }
            line.axisOffset = high;
            line.width = high - low;
        }
    } else if (type >= 2 && type <= 4) {
        // The highest unit of the type's kind ("Type" 0, 2, or 1 falling back to 0).
        const auto highest = [&](int kind) -> const IQTKElementDrawObj* {
            const IQTKElementDrawObj* found = nullptr;
            for (const RecordRef& unit : GetCompositeUnitRecords(GetRecord())) {
                const IQTKElementDrawObj* unitObj = GetRecordDrawObj(unit.get());
                if (!unitObj || unitObj->GetElementTypeID() != CStripFDUnitType ||
                    EdoPropValueInteger(unitObj->GetPropValues(), "Type") != kind)
                    continue;
                if (!found || Prop(unitObj, "BottomElev") > Prop(found, "BottomElev"))
                    found = unitObj;
            }
            return found;
        };
        const IQTKElementDrawObj* unit = highest(type == 2 ? 0 : type == 3 ? 2 : 1);
        if (!unit && type == 4)
            unit = highest(0);
        if (unit) {
            GetUnitWidthAndOffset(unit, line.axisOffset, line.width, GetSectionMinOffset());
        } else {
            line.width = shape ? shape->GetWidth() : 0.0;
            line.axisOffset = shape ? shape->GetAxisOffset() : 0.0;
        }
    }
    // A wall-free foundation without top faces has no extent: the defaults.
    if (!std::isfinite(line.width))
        line.width = defaultWidth_;
    if (!std::isfinite(line.axisOffset))
        line.axisOffset = defaultAxisOffset_;
    return line;
}

bool TQTKStripFDCalcEDO::IsWallLineUsable()
{
    return CalcLine().wallLineUsable;
}

// Every strip foundation joined to this one, directly or through others,
// forgets its lines first: a calculator asked for one foundation's lines uses
// its neighbours' lines when they exist, and those must not be the old ones.
// Then each builds its lines, solid and units again under its prepare lock.
void TQTKStripFDCalcEDO::RefreshCalcLine()
{
    const int type = CalclineType();
    std::vector<Ref<TQTKStripFDCalcEDO>> changed;
    std::vector<TQTKStripFDCalcEDO*> pending{this};
    while (!pending.empty()) {
        TQTKStripFDCalcEDO* strip = pending.back();
        pending.pop_back();
        {
            TVRMLockGuard guard(strip->GetPrepareLock());
            {
                std::lock_guard state(strip->stateLock_);
                if (strip->preparedType_ == type)
                    continue;
                strip->preparedType_ = type;
            }
            strip->ForgetLines();
        }
        changed.emplace_back(strip);
        for (const TQTKLineEdoInfoArray& infos :
             {strip->GetStartSameKindLineEdoInfos(), strip->GetEndSameKindLineEdoInfos()})
            for (const Ref<IQTKLineEdoInfo>& info : infos)
                if (auto* other = dynamic_cast<TQTKStripFDCalcEDO*>(info.get()))
                    pending.push_back(other);
    }
    for (const Ref<TQTKStripFDCalcEDO>& strip : changed) {
        TVRMLockGuard guard(strip->GetPrepareLock());
        strip->RebuildSolid();
    }
}

// ---------------------------------------------------------------------------
// Walls

bool TQTKStripFDCalcEDO::CalcWidthsByWalls(IRDXRecord* wall)
{
    const IQTKElementDrawObj* wallObj = GetRecordDrawObj(wall);
    const IQTKLineShape* wallShape = GetDrawObjLineShape(wallObj);
    if (!wallShape)
        return false;
    if (!(GetElementDrawObj()->GetBox().max.z + CVRMEpsilon < wallObj->GetBox().max.z))
        return false;
    const TVRMCustomLine2d axis = GetLine();
    const TVRMCustomLine2d wallAxis = wallShape->GetLine();
    if (!TVRMPositionFunc2d::IsParallel(wallAxis, axis))
        return false;
    // The four ends by their place along the axis (a stable sort keeps ties in order).
    struct TEnd {
        double at;
        bool ofWall;
    };
    TEnd ends[] = {{axis.LengthAtPoint(wallAxis.StartPt()), true},
                   {axis.LengthAtPoint(wallAxis.EndPt()), true},
                   {0.0, false},
                   {axis.Length(), false}};
    std::stable_sort(std::begin(ends), std::end(ends), [](const TEnd& a, const TEnd& b) { return a.at < b.at; });
    return ends[0].ofWall != ends[1].ofWall && !SameValue(ends[1].at, ends[2].at);
}

std::vector<Ref<IQTKCustomWallCalcEDO>> TQTKStripFDCalcEDO::GetWallsAbove()
{
    std::vector<Ref<IQTKCustomWallCalcEDO>> walls;
    TRecordList related;
    FindRelatedOfTypes(MakeElementTypeSet({0, 1}), &related,
                       [this](IRDXRecord* record) { return CalcWidthsByWalls(record); });
    for (const RecordRef& record : related) {
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
        Ref<IQTKCustomWallCalcEDO> wall(FastCast<IQTKCustomWallCalcEDO>(edo.get()));
        if (!wall)
            continue;
        if (walls.empty()) {
            walls.push_back(wall);
            continue;
        }
        const TVRMCustomLine2d &firstLeft = *walls.front()->GetLeftLine(), &firstRight = *walls.front()->GetRightLine();
        const TVRMCustomLine2d &left = *wall->GetLeftLine(), &right = *wall->GetRightLine();
        if ((LiesOn(left, firstLeft) && LiesOn(right, firstRight)) ||
            (LiesOn(left, firstRight) && LiesOn(right, firstLeft))) {
            walls.push_back(wall);
        } else {
            walls.clear();  // walls on the foundation that do not line up: no wall line
            break;
        }
    }
    return walls;
}

bool TQTKStripFDCalcEDO::IsUnderWalls()
{
    {
        std::lock_guard guard(stateLock_);
        if (underWalls_ != 0)
            return underWalls_ > 0;
    }
    const bool under = ComputeUnderWalls();
    std::lock_guard guard(stateLock_);
    if (underWalls_ == 0)
        underWalls_ = under ? 1 : -1;
    return underWalls_ > 0;
}

bool TQTKStripFDCalcEDO::ComputeUnderWalls()
{
    const TVRMCustomLine2d& mid = *GetMidLine();
    TVRMNumRangeCalc2d ranges(0.0, mid.Length());
    TRecordList related;
    GetRelatedByTypes(MakeElementTypeSet({0, 1}), &related);
    for (const RecordRef& record : related) {
        const IQTKLineShape* wallShape = GetDrawObjLineShape(GetRecordDrawObj(record.get()));
        if (!wallShape || !TVRMPositionFunc2d::IsParallel(wallShape->GetLine(), mid))
            continue;
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, false);
        auto* wall = dynamic_cast<IQTKCustomWallCalcEDO*>(edo.get());
        const int mark = wall && wall->GetInnerOuterFlag() == 1 ? 1 : 2;
        const double a = mid.LengthAtPoint(wallShape->GetLine().StartPt());
        const double b = mid.LengthAtPoint(wallShape->GetLine().EndPt());
        ranges.AppendRange(std::min(a, b), std::max(a, b), mark);
    }
    return ranges.GetLengthFor(2) < ranges.GetLengthFor(1);
}

void TQTKStripFDCalcEDO::GetUnitsMaterialRank(int& rank, bool& allSame)
{
    {
        std::lock_guard guard(stateLock_);
        if (unitsRank_) {
            std::tie(rank, allSame) = *unitsRank_;
            return;
        }
    }
    GetCompositeMaterialRank(GetElementDrawObj(), rank, allSame);
    std::lock_guard guard(stateLock_);
    unitsRank_.emplace(rank, allSame);
}

// ---------------------------------------------------------------------------
// Other answers

std::unique_ptr<TVRMMultiPolygon2d> TQTKStripFDCalcEDO::GetOutlinePolygonBetween(const TVRMCustomLine2d& a,
                                                                                 const TVRMCustomLine2d& b)
{
    const TVRMMultiPolygon2d* outline = GetOutlinePolygon();
    const std::unique_ptr<TVRMMultiPolygon2d> band = ClipBoxBetweenLines(outline->Box(), a, b);
    if (!band)
        return std::make_unique<TVRMMultiPolygon2d>();
    return TVRMIntersectFunc2d::IntPolygon(*band, *outline);
}

int TQTKStripFDCalcEDO::GetJoinType(IRDXRecord* record, bool kind)
{
    if (!record || record == GetRecord())
        return 0;
    const Ref<IQTKCalculatorEDO> other = GetCalcEDO(record, true);
    return other && IsLineEdoCutBy(this, other.get(), kind) ? 1 : 0;
}

bool TQTKStripFDCalcEDO::QuickIntersect(IRDXRecord* record, bool& intersects)
{
    if (TQTKHasSectionInfoComplexLineEntCalcEDO::QuickIntersect(record, intersects))
        return true;
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    if (!other || other->GetElementTypeID() != CStripFDType)
        return false;
    const TVRMMultiPolygon2d& own = GetElementDrawObj()->GetShape()->GetOutline();
    const TVRMMultiPolygon2d& theirs = other->GetShape()->GetOutline();
    if (own.GetCount() == 0 || theirs.GetCount() == 0 ||
        TVRMPositionFunc2d::PolyPolyPosition(own.GetItems(0), theirs.GetItems(0)) != 0)
        return false;
    intersects = false;  // apart in plan: no solid test
    return true;
}
