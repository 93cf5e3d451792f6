#include "Calculator/CalcFrame/QTKCalcEDOs/QTKInsulatingWallCalcEDO.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CInsulatingWallType = 1;
constexpr int CUnitType = 86;
constexpr double CLengthTol = 0.0010123456789;

int TypeOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = record ? GetRecordDrawObj(record) : nullptr;
    return drawObj ? drawObj->GetElementTypeID() : -1;
}

const IQTKLineShape* LineShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------
// The wall

TQTKInsulatingWallCalcEDO::TQTKInsulatingWallCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCustomWallCalcEDO(mode, drawObj), units_(GetCompositeUnitRecords(drawObj->GetRecord()))
{
}

TRecordList TQTKInsulatingWallCalcEDO::GetUnitList()
{
    return units_;
}

void TQTKInsulatingWallCalcEDO::Prepare(IRDXRecord* record)
{
    TQTKCustomWallCalcEDO::Prepare(record);
    LayOutUnits();
}

void TQTKInsulatingWallCalcEDO::LayOutUnits()
{
    if (units_.empty())
        return;
    const TVRMCustomLine2d left = *GetLeftLine(), right = *GetRightLine();
    if (units_.size() == 1) {
        if (const auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(units_.front(), true)))
            unit->SetLines(left, right);
        return;
    }
    const TVRMPoint2d r = left.StartPt();
    const double w = TVRMPositionFunc2d::DistanceTo(r, right);
    if (!(w > CLengthTol))
        return;
    const TVRMPoint2d ls = left.StartPt(), le = left.EndPt(), rs = right.StartPt(), re = right.EndPt();
    // The point at distance D from the left line on the section through the start (end) points.
    const auto across = [&](const TVRMPoint2d& onLeft, const TVRMPoint2d& onRight, double d) {
        return onLeft + (onRight - onLeft) * (d / w);
    };
    for (const RecordRef& record : units_) {
        const auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(GetCalcEDO(record, true));
        if (!unit)
            continue;
        const TVRMCustomLine2d centre = GetLineEntCenterLine(record.get());
        const TVRMPoint2d p = TVRMPositionFunc2d::ClosestPointTo(r, centre, false);
        const double h = EdoPropValueFloat(unit->GetElementDrawObj()->GetPropValues(), "Thickness") / 2.0;
        const double dl = TVRMPositionFunc2d::DistanceTo(p, left);
        const auto sideLine = [&](double d, double offset) {
            const TVRMCustomLine2d piece = TVRMPositionFunc2d::SubSeg(centre, across(ls, rs, d), across(le, re, d));
            return TVRMOffsetFunc2d::Offset(piece, offset);
        };
        unit->SetLines(sideLine(dl - h, -h), sideLine(dl + h, h));
    }
}

bool TQTKInsulatingWallCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    IRDXRecord* self = GetElementDrawObj()->GetRecord();
    if (TypeOf(record) == CUnitType) {
        const IQTKElementDrawObj* unit = GetRecordDrawObj(record);
        IRDXRecord* parent = unit ? unit->GetParentRecord() : nullptr;
        if (!parent)
            return false;
        if (!TQTKCustomWallCalcEDO::IsIntersectWith(parent))
            return false;
        if (const Ref<IQTKCalculatorEDO> wall = GetCalcEDO(parent, false); wall && parent->GetID() != self->GetID())
            wall->AddRelated(self);
        return true;
    }
    const bool result = TQTKCustomWallCalcEDO::IsIntersectWith(record);
    if (result && TypeOf(record) == CInsulatingWallType)
        if (const Ref<IQTKCalculatorEDO> other = GetCalcEDO(record, false))
            other->AddRelated(self);
    return result;
}

// ---------------------------------------------------------------------------
// The unit

TQTKInsulatingWallUnitCalcEDO::TQTKInsulatingWallUnitCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj)
{
    IRDXRecord* parent = drawObj->GetParentRecord();
    QTK_ASSERT_MSG(parent != nullptr, "an insulating wall unit without its wall");
    wall_ = RecordRef(parent);
}

TQTKInsulatingWallUnitCalcEDO::~TQTKInsulatingWallUnitCalcEDO() = default;

Ref<IQTKCalculatorEDO> TQTKInsulatingWallUnitCalcEDO::WallEdo(bool prepare)
{
    return GetCalcEDO(wall_, prepare);
}

double TQTKInsulatingWallUnitCalcEDO::Thickness()
{
    return EdoPropValueFloat(GetElementDrawObj()->GetPropValues(), "Thickness");
}

const TQTKInsulatingWallUnitCalcEDO::TLaidLines& TQTKInsulatingWallUnitCalcEDO::Lines()
{
    {
        std::lock_guard guard(DataLock());
        if (lines_)
            return *lines_;
    }
    WallEdo(true);  // its preparation lays the units out
    std::lock_guard guard(DataLock());
    QTK_ASSERT_MSG(lines_ != nullptr, "the insulating wall laid out no lines for its unit");
    return *lines_;
}

const TVRMCustomLine2d* TQTKInsulatingWallUnitCalcEDO::GetMidLine()
{
    return &Lines().mid;
}

const TVRMCustomLine2d* TQTKInsulatingWallUnitCalcEDO::GetLeftLine()
{
    return &Lines().left;
}

const TVRMCustomLine2d* TQTKInsulatingWallUnitCalcEDO::GetRightLine()
{
    return &Lines().right;
}

TQTKInsulatingWallUnitCalcEDO::TLaidSolid TQTKInsulatingWallUnitCalcEDO::BuildLaidSolid(const TLaidLines& lines)
{
    TLaidSolid laid;
    const Ref<IQTKCalculatorEDO> wall = WallEdo(false);
    auto* wallLine = dynamic_cast<IQTKLineEntBaseCalcEDO*>(wall.get());
    const IQTKLineShape* shape = LineShapeOf(GetElementDrawObj());
    if (!wallLine || !shape) {
        laid.solid = std::make_unique<TVRMPolyhedron3d>();
        return laid;
    }
    const TVRMCustomLine2d& extended = *wallLine->GetExtendedMidLine();
    const TVRMCustomLine2d& m = lines.mid;
    const TVRMCustomLine2d l =
        TVRMPositionFunc2d::SubSeg(m, m.LengthAtPoint(extended.StartPt()), m.LengthAtPoint(extended.EndPt()), false);
    const double t = Thickness();
    laid.solid =
        TVRMPolyhedron3d::CreateBand(l, t, t / 2, shape->GetBottomElevAt(l.StartPt()), shape->GetTopElevAt(l.StartPt()),
                                     shape->GetBottomElevAt(l.EndPt()), shape->GetTopElevAt(l.EndPt()));
    if (!laid.solid)
        laid.solid = std::make_unique<TVRMPolyhedron3d>();
    if (laid.solid->HasFaces())
        TVRMNewPolyBooleanOperator::Cut(*laid.solid, lines.left, lines.right);
    int start = -1, end = -1;
    TQTKLineEntBaseCalcEDO::LocateEndFaces(*laid.solid, lines.left, lines.right, start, end);
    for (int index : {start, end})
        if (index != -1)
            laid.endFaces.push_back(index);
    return laid;
}

void TQTKInsulatingWallUnitCalcEDO::SetLines(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right)
{
    auto lines = std::make_unique<TLaidLines>();
    lines->left = left;
    lines->right = right;
    lines->mid = OffsetLineBetweenEnds(left, right, Thickness() / 2);
    TLaidSolid laid = BuildLaidSolid(*lines);
    {
        std::lock_guard guard(DataLock());
        if (lines_)
            retired_.emplace_back(std::move(lines_));
        if (plan_)
            retired_.emplace_back(std::move(plan_));
        if (profile_)
            retired_.emplace_back(std::move(profile_));
        if (solidWithoutPrior_)
            retired_.emplace_back(std::move(solidWithoutPrior_));
        lines_ = std::move(lines);
        endFaces_ = laid.endFaces;
    }
    SetOriginalPolyhedron(std::move(laid.solid));
}

std::unique_ptr<TVRMPolyhedron3d> TQTKInsulatingWallUnitCalcEDO::BuildOriginalPolyhedron()
{
    TLaidSolid laid = BuildLaidSolid(Lines());
    std::lock_guard guard(DataLock());
    endFaces_ = laid.endFaces;
    return std::move(laid.solid);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKInsulatingWallUnitCalcEDO::BuildRelationPolyhedron()
{
    const IQTKLineShape* shape = LineShapeOf(GetElementDrawObj());
    if (!shape)
        return std::make_unique<TVRMPolyhedron3d>();
    auto solid = TVRMPolyhedron3d::CreateBand(shape->GetLine(), shape->GetWidth(), shape->GetAxisOffset(),
                                              shape->GetStartPtBottomElev(), shape->GetStartPtTopElev(),
                                              shape->GetEndPtBottomElev(), shape->GetEndPtTopElev());
    return solid ? std::move(solid) : std::make_unique<TVRMPolyhedron3d>();
}

std::vector<int> TQTKInsulatingWallUnitCalcEDO::GetEndFaceIndexes()
{
    GetOriginalPolyhedron();
    std::lock_guard guard(DataLock());
    return endFaces_;
}

std::shared_ptr<TQTKSolidCalc3d> TQTKInsulatingWallUnitCalcEDO::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                                 RecordRef(GetRecord()), 1.0);
    });
}

bool TQTKInsulatingWallUnitCalcEDO::IsOuterUnit(bool left)
{
    const auto wall = RefCast<IQTKInsulatingWallCalcEDO>(WallEdo(true));
    if (!wall || !(left ? wall->IsLeftSideExternal() : wall->IsRightSideExternal()))
        return false;
    const int id = GetID();
    for (const RecordRef& unit : wall->GetUnitList())
        if (left ? unit->GetID() < id : unit->GetID() > id)
            return false;
    return true;
}

double TQTKInsulatingWallUnitCalcEDO::GetAverageHeight()
{
    const TQTKLineEndElevs e = GetLineEndElevs(wall_.get());
    return (e.startTop + e.endTop - e.startBottom - e.endBottom) / 2.0;
}

std::shared_ptr<TQTKShellCalc3d> TQTKInsulatingWallUnitCalcEDO::GetMidFaceShellCalc()
{
    return KeepOnce(midFaceCalc_, [this] {
        auto shell = std::make_unique<TVRMPolyhedronShell3d>();
        const TQTKLineEndElevs e = GetLineEndElevs(wall_.get());
        shell->AddFace(*GetMidLine(), true, e.startBottom, e.startTop, e.endBottom, e.endTop);
        auto calc = std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetRecord()), 1.0);
        calc->SetIsArc(GetLine().IsArc());
        return calc;
    });
}

const TVRMPolyhedronShell3d* TQTKInsulatingWallUnitCalcEDO::GetSideFaceShell()
{
    return sideFaces_.Get(SideFaceMaker());
}

std::shared_ptr<TQTKShellCalc3d> TQTKInsulatingWallUnitCalcEDO::GetSideFaceShellCalc()
{
    return sideFaces_.GetCalc(SideFaceMaker(), [this](std::unique_ptr<TVRMPolyhedronShell3d> shell) {
        auto calc = std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetRecord()), 1.0);
        calc->SetIsArc(GetLine().IsArc());
        return calc;
    });
}

// A face on the left line facing left, on the right one facing right, between
// the wall's end elevations.
TQTKSideFaceShell::TMakeSideFace TQTKInsulatingWallUnitCalcEDO::SideFaceMaker()
{
    return [this](bool left, TVRMPolyhedronShell3d& face) {
        const TVRMCustomLine2d line = *(left ? GetLeftLine() : GetRightLine());
        const TQTKLineEndElevs e = GetLineEndElevs(wall_.get());
        face.AddFace(line, left, e.startBottom, e.startTop, e.endBottom, e.endTop);
        return true;
    };
}

double TQTKInsulatingWallUnitCalcEDO::GetEndFormboardArea()
{
    const TLaidLines& lines = Lines();
    const TQTKLineEndElevs e = GetLineEndElevs(wall_.get());
    const double sb = e.startBottom, st = e.startTop, eb = e.endBottom, et = e.endTop;
    TVRMPolyhedronShell3d ends;
    if (!SameValue(sb, st, CLengthTol))
        ends.AddFace(TVRMCustomLine2d(lines.left.StartPt(), lines.right.StartPt()), false, sb, st, sb, st);
    if (!SameValue(eb, et, CLengthTol))
        ends.AddFace(TVRMCustomLine2d(lines.left.EndPt(), lines.right.EndPt()), true, eb, et, eb, et);
    TRecordList units;
    GetRelatedByType(CUnitType, &units);
    for (const RecordRef& unit : units) {
        const Ref<IQTKCalculatorEDO> other = GetCalcEDO(unit, true);
        const Ref<IQTKPolyhedron3dIntf> solid = other ? other->GetOriginalPolyhedronIntf() : nullptr;
        if (!solid)
            continue;
        const bool yields = CompareFormboardPriority(GetRecord(), unit.get(), GetCalculatorSetting()) < 0;
        ends.Subtract(*solid->GetPolyhedron(), yields ? CVRMSuperpositionBoth : CVRMSuperpositionContact);
    }
    sideFaces_.AddEndsOnce(ends);
    return ends.GetArea();
}

const TVRMMultiPolygon2d* TQTKInsulatingWallUnitCalcEDO::GetPlanPolygon()
{
    const TLaidLines& lines = Lines();
    std::lock_guard guard(DataLock());
    if (!plan_) {
        plan_ = std::make_unique<TVRMMultiPolygon2d>();
        plan_->Add(TVRMPolygon2d::CreateBetweenLines(lines.left, lines.right));
    }
    return plan_.get();
}

const TVRMMultiPolygon2d* TQTKInsulatingWallUnitCalcEDO::GetProfilePolygon()
{
    const TLaidLines& lines = Lines();
    const IQTKLineShape* shape = LineShapeOf(GetElementDrawObj());
    std::lock_guard guard(DataLock());
    if (!profile_) {
        profile_ = std::make_unique<TVRMMultiPolygon2d>();
        if (shape) {
            const TVRMPoint2d s = lines.mid.StartPt(), e = lines.mid.EndPt();
            const double d = lines.mid.Length();
            profile_->Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, shape->GetBottomElevAt(s)},
                                                                 {d, shape->GetBottomElevAt(e)},
                                                                 {d, shape->GetTopElevAt(e)},
                                                                 {0, shape->GetTopElevAt(s)}}));
        }
    }
    return profile_.get();
}

const TVRMPolyhedron3d* TQTKInsulatingWallUnitCalcEDO::GetSolidWithoutPriorElements()
{
    {
        std::lock_guard guard(DataLock());
        if (solidWithoutPrior_)
            return solidWithoutPrior_.get();
    }
    auto solid = GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone();
    TRecordList walls;
    GetRelatedByTypes(MakeElementTypeSet({0, 1}), &walls);
    for (const RecordRef& other : walls) {
        const bool givesWay = TypeOf(other.get()) == CInsulatingWallType
                                  ? IsInsulatingWallCutBy(wall_.get(), other.get())
                                  : IsLineEntCutBy(wall_.get(), other.get(), true);
        if (!givesWay)
            continue;
        const Ref<IQTKCalculatorEDO> cutter = GetCalcEDO(other, true);
        if (const Ref<IQTKPolyhedron3dIntf> cutterSolid = cutter ? cutter->GetOriginalPolyhedronIntf() : nullptr)
            TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *cutterSolid->GetPolyhedron(), CVRMBoolSubtract);
    }
    std::lock_guard guard(DataLock());
    if (!solidWithoutPrior_)
        solidWithoutPrior_ = std::move(solid);
    return solidWithoutPrior_.get();
}

bool TQTKInsulatingWallUnitCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    switch (TypeOf(record)) {
        case CUnitType: {
            const IQTKElementDrawObj* unit = GetRecordDrawObj(record);
            IRDXRecord* parent = unit ? unit->GetParentRecord() : nullptr;
            if (!parent)
                return false;
            const Ref<IQTKCalculatorEDO> wall = WallEdo(false);
            if (wall->IndexOfRelated(parent) != -1)
                return true;
            const Ref<IQTKCalculatorEDO> other = GetCalcEDO(parent, false);
            const bool meet = IsIntersectant(*wall->GetRelationPolyhedronIntf()->GetPolyhedron(),
                                             *other->GetRelationPolyhedronIntf()->GetPolyhedron(), 1);
            if (meet && parent->GetID() != wall_->GetID()) {
                wall->AddRelated(parent);
                other->AddRelated(wall_.get());
            }
            return meet;
        }
        case CInsulatingWallType:
            return WallEdo(false)->IsIntersectWith(record);
        case 8:
        case 9:
            return WallEdo(false)->IndexOfRelated(record) != -1;
        default:
            return TQTKCalculatorEDO::IsIntersectWith(record);
    }
}

void TQTKInsulatingWallUnitCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (IsDeductDetailEmpty())
        AddOriginalSolidDetail(qtyRecord);
}

void TQTKInsulatingWallUnitCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    sideFaces_.Clear();
    // Dropped outside the lock.
    std::shared_ptr<TQTKSolidCalc3d> volume;
    std::shared_ptr<TQTKShellCalc3d> mid;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolume;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboard;
    std::shared_ptr<TFloatList> values;
    std::lock_guard guard(DataLock());
    std::swap(volume, volumeCalc_);
    std::swap(mid, midFaceCalc_);
    std::swap(overhighVolume, overhighVolumeCalc_);
    std::swap(overhighFormboard, overhighFormboardCalc_);
    std::swap(values, overhighValues_);
    pierFormboard_.Clear();
}

// ---------------------------------------------------------------------------
// What the line calculators read

int TQTKInsulatingWallUnitCalcEDO::GetID()
{
    IRDXRecord* record = GetRecord();
    return record ? record->GetID() : 0;
}

TVRMCustomLine2d TQTKInsulatingWallUnitCalcEDO::GetLine()
{
    const IQTKLineShape* shape = LineShapeOf(GetElementDrawObj());
    return shape ? shape->GetLine() : TVRMCustomLine2d();
}

double TQTKInsulatingWallUnitCalcEDO::GetWidth()
{
    const IQTKLineShape* shape = LineShapeOf(GetElementDrawObj());
    return shape ? shape->GetWidth() : 0.0;
}

double TQTKInsulatingWallUnitCalcEDO::GetAxisOffset()
{
    const IQTKLineShape* shape = LineShapeOf(GetElementDrawObj());
    return shape ? shape->GetAxisOffset() : 0.0;
}

IQTKLineShape* TQTKInsulatingWallUnitCalcEDO::GetShape()
{
    return const_cast<IQTKLineShape*>(LineShapeOf(GetElementDrawObj()));
}

IRDXRecord* TQTKInsulatingWallUnitCalcEDO::GetRecord()
{
    return GetElementDrawObj()->GetRecord();
}
