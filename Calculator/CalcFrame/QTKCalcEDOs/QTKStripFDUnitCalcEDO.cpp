#include "Calculator/CalcFrame/QTKCalcEDOs/QTKStripFDUnitCalcEDO.h"

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/QTKCommon/QTKStripUnitBrickMoldBuilder.h"
#include "Host/RDX/RDXIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/FastCast.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr int CSumpType = 56;
constexpr double CStepInset = 10.0;  // step side and bottom lines lie this far inside the section's corners

// Edge directions of a section, x across and y up.
bool RunsDown(const TVRMCustomLine2d& e)
{
    return e.EndPt().y < e.StartPt().y - CVRMEpsilon && e.EndPt().x <= e.StartPt().x + CVRMEpsilon;
}
bool RunsUp(const TVRMCustomLine2d& e)
{
    return e.EndPt().y > e.StartPt().y + CVRMEpsilon && e.EndPt().x <= e.StartPt().x + CVRMEpsilon;
}
bool RunsLevel(const TVRMCustomLine2d& e, bool leftwards)
{
    const double dx = e.EndPt().x - e.StartPt().x;
    return SameValue(e.EndPt().y, e.StartPt().y) && (leftwards ? dx < -CVRMEpsilon : dx > CVRMEpsilon);
}

}  // namespace

struct TQTKStripFDUnitCalcEDO::TLayout {
    TVRMCustomLine2d unit, left, right;
    TVRMMultiPolygon2d outline;
};

struct TQTKStripFDUnitCalcEDO::TSectionLines {
    std::unique_ptr<TVRMCustomLine2d> notch;
    std::vector<TVRMCustomLine2d> steps, bottoms;
};

TQTKStripFDUnitCalcEDO::TQTKStripFDUnitCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj)
{
}

TQTKStripFDUnitCalcEDO::~TQTKStripFDUnitCalcEDO() = default;

const TVRMCustomLine2d* TQTKStripFDUnitCalcEDO::GetUnitLine()
{
    return &Layout().unit;
}

const TVRMMultiPolygon2d* TQTKStripFDUnitCalcEDO::GetOutlinePolygon()
{
    return &Layout().outline;
}

const TVRMCustomLine2d* TQTKStripFDUnitCalcEDO::GetLeftLine()
{
    return &Layout().left;
}

const TVRMCustomLine2d* TQTKStripFDUnitCalcEDO::GetRightLine()
{
    return &Layout().right;
}

RecordRef TQTKStripFDUnitCalcEDO::GetStripFDRecord()
{
    const IQTKElementDrawObj* parent = GetElementDrawObj()->GetParentDrawObj();
    return RecordRef(parent ? parent->GetRecord() : nullptr);
}

IQTKHasSectionInfoComplexLineEntCalcEDO* TQTKStripFDUnitCalcEDO::Composite(Ref<IQTKCalculatorEDO>& holder)
{
    const RecordRef strip = GetStripFDRecord();
    holder = strip ? GetCalcEDO(strip, false) : nullptr;
    return FastCast<IQTKHasSectionInfoComplexLineEntCalcEDO>(holder.get());
}

// ---------------------------------------------------------------------------
// Laying the unit along its foundation

std::unique_ptr<TQTKStripFDUnitCalcEDO::TLayout> TQTKStripFDUnitCalcEDO::BuildLayout()
{
    auto layout = std::make_unique<TLayout>();
    Ref<IQTKCalculatorEDO> holder;
    IQTKHasSectionInfoComplexLineEntCalcEDO* strip = Composite(holder);
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    if (!strip) {
        // A unit without its foundation: its own drawn lines.
        if (const IQTKLineShape* shape = GetDrawObjLineShape(drawObj)) {
            const TVRMCustomLine2d axis = shape->GetLine();
            layout->left = TVRMOffsetFunc2d::Offset(axis, -shape->GetAxisOffset());
            layout->right = TVRMOffsetFunc2d::Offset(axis, shape->GetWidth() - shape->GetAxisOffset());
            layout->unit = TVRMOffsetFunc2d::Offset(axis, shape->GetWidth() / 2.0 - shape->GetAxisOffset());
            layout->outline.Add(CreatePolygonFromLines(layout->left, layout->right));
        }
        return layout;
    }
    double p = 0.0, wu = 0.0;
    GetUnitWidthAndOffset(drawObj, p, wu, strip->GetSectionMinOffset());
    const IPropValues* props = holder->GetElementDrawObj()->GetPropValues();
    const double width = EdoPropValueFloat(props, "Width"), axisOffset = EdoPropValueFloat(props, "AxisOffset");
    layout->unit = strip->GetUnitAxisLine(p - wu / 2.0, width, axisOffset);
    layout->left = strip->GetUnitAxisLine(p, width, axisOffset);
    layout->right = strip->GetUnitAxisLine(p - wu, width, axisOffset);
    layout->outline.Add(CreatePolygonFromLines(layout->left, layout->right));
    return layout;
}

const TQTKStripFDUnitCalcEDO::TLayout& TQTKStripFDUnitCalcEDO::Layout()
{
    {
        std::lock_guard guard(DataLock());
        if (layout_)
            return *layout_;
    }
    std::unique_ptr<TLayout> layout = BuildLayout();  // asks the foundation: no lock held
    std::lock_guard guard(DataLock());
    if (!layout_)
        layout_ = std::move(layout);
    return *layout_;
}

void TQTKStripFDUnitCalcEDO::RebuildFromParent()
{
    std::unique_ptr<TLayout> layout = BuildLayout();
    {
        std::lock_guard guard(DataLock());
        if (layout_)
            retired_.push_back(std::move(layout_));
        layout_ = std::move(layout);
    }
    ReplaceOriginalPolyhedronKeepingOld(BuildOriginalPolyhedron());
}

std::unique_ptr<TVRMPolyhedron3d> TQTKStripFDUnitCalcEDO::BuildOriginalPolyhedron()
{
    Ref<IQTKCalculatorEDO> holder;
    if (IQTKHasSectionInfoComplexLineEntCalcEDO* strip = Composite(holder))
        return strip->BuildSectionSolid(GetElementDrawObj()->GetRecord());
    return TQTKCalculatorEDO::BuildOriginalPolyhedron();
}

void TQTKStripFDUnitCalcEDO::GetSideLines(TVRMCustomLine2d& left, TVRMCustomLine2d& right)
{
    const TLayout& layout = Layout();
    left = layout.left;
    right = layout.right;
}

void TQTKStripFDUnitCalcEDO::Prepare(IRDXRecord* record)
{
    TQTKCalculatorEDO::Prepare(record);
    {
        std::lock_guard guard(DataLock());
        sectionLines_.reset();
    }
    RebuildFromParent();
}

// The given line moved across onto the unit's reference line: the
// foundation's middle line moved from the calculation line's middle to the unit's.
TVRMCustomLine2d TQTKStripFDUnitCalcEDO::OffsetLineToUnit(const TVRMCustomLine2d& line)
{
    Ref<IQTKCalculatorEDO> holder;
    IQTKHasSectionInfoComplexLineEntCalcEDO* strip = Composite(holder);
    auto* info = FastCast<IQTKLineEdoInfo>(holder.get());
    if (!strip || !info)
        return line;
    double p = 0.0, wu = 0.0;
    GetUnitWidthAndOffset(GetElementDrawObj(), p, wu, strip->GetSectionMinOffset());
    const TVRMCustomLine2d reference =
        TVRMOffsetFunc2d::Offset(*strip->GetMidLine(), info->GetAxisOffset() - info->GetWidth() / 2.0 - p + wu / 2.0);
    double d = 0.0;
    if (line.IsArc() && reference.IsArc()) {
        d = reference.Radius() - line.Radius();
        if (line.IsClockwise())
            d = -d;
    } else {
        d = TVRMPositionFunc2d::SignedDistanceTo(reference.StartPt(), line, false);
    }
    return TVRMOffsetFunc2d::Offset(line, d);
}

// ---------------------------------------------------------------------------
// Profile and section lines

const TVRMMultiPolygon2d* TQTKStripFDUnitCalcEDO::GetPlanPolygon()
{
    {
        std::lock_guard guard(DataLock());
        if (profile_)
            return profile_.get();
    }
    auto profile = std::make_unique<TVRMMultiPolygon2d>();
    const TVRMCustomLine2d unit = *GetUnitLine();
    if (const IQTKLineShape* shape = GetDrawObjLineShape(GetElementDrawObj())) {
        const double length = unit.Length();
        profile->Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0.0, shape->GetBottomElevAt(unit.StartPt())},
                                                            {length, shape->GetBottomElevAt(unit.EndPt())},
                                                            {length, shape->GetTopElevAt(unit.EndPt())},
                                                            {0.0, shape->GetTopElevAt(unit.StartPt())}}));
    }
    std::lock_guard guard(DataLock());
    if (!profile_)
        profile_ = std::move(profile);
    return profile_.get();
}

const TQTKStripFDUnitCalcEDO::TSectionLines& TQTKStripFDUnitCalcEDO::SectionLines()
{
    {
        std::lock_guard guard(DataLock());
        if (sectionLines_)
            return *sectionLines_;
    }
    auto lines = std::make_unique<TSectionLines>();
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const TVRMMultiPolygon2d& section = drawObj->GetShape()->GetPolygon();
    if (section.GetCount() == 1) {
        const TVRMPolygon2d& ring = section.GetItems(0);
        // The loader closes every ring; one of fewer than three vertices is not closed.
        QTK_ASSERT_MSG(ring.GetCount() >= 3, "the section polygon of a strip foundation unit is not closed");
        const TVRMCustomLine2d unit = *GetUnitLine();
        const TVRMBox2d box = section.Box();
        const double c = (box.min.x + box.max.x) / 2.0;
        const int n = ring.GetEdgeCount();
        const auto edge = [&](int i) { return ring.GetEdge(i % n); };
        const auto straight = [&](int i) { return !edge(i).IsArc(); };
        const auto at = [&](double x) { return TVRMOffsetFunc2d::Offset(unit, x - c); };
        const int type = EdoPropValueInteger(drawObj->GetPropValues(), "SectionTypeID");
        for (int i = 0; i < n; ++i) {
            if (!straight(i) || !straight(i + 1) || !straight(i + 2))
                continue;
            const TVRMCustomLine2d a = edge(i), b = edge(i + 1), d = edge(i + 2);
            if ((type == 2 || type == 3) && !lines->notch && RunsDown(a) && RunsLevel(b, true) && RunsUp(d) &&
                SameValue(a.StartPt().y, d.EndPt().y))
                lines->notch = std::make_unique<TVRMCustomLine2d>(at((b.StartPt().x + b.EndPt().x) / 2.0));
            // A step rises from above the section's bottom (a rectangle's top is no step).
            if (RunsUp(a) && a.StartPt().y > box.min.y + CVRMEpsilon && RunsLevel(b, true) && RunsDown(d)) {
                lines->steps.push_back(at(b.StartPt().x - CStepInset));
                lines->steps.push_back(at(b.EndPt().x + CStepInset));
            }
        }
        for (int i = 0; i < n; ++i) {
            const TVRMCustomLine2d e = edge(i + 1);
            if (straight(i + 1) && RunsLevel(e, false) && SameValue(e.StartPt().y, box.min.y)) {
                lines->bottoms.push_back(at(e.EndPt().x - CStepInset));
                lines->bottoms.push_back(at(e.StartPt().x + CStepInset));
                break;
            }
        }
    }
    std::lock_guard guard(DataLock());
    if (!sectionLines_)
        sectionLines_ = std::move(lines);
    return *sectionLines_;
}

const TVRMCustomLine2d* TQTKStripFDUnitCalcEDO::GetSectionLine()
{
    return SectionLines().notch.get();
}

std::vector<TVRMCustomLine2d> TQTKStripFDUnitCalcEDO::GetSectionSideLines()
{
    return SectionLines().steps;
}

std::vector<TVRMCustomLine2d> TQTKStripFDUnitCalcEDO::GetSectionBottomLines()
{
    return SectionLines().bottoms;
}

// ---------------------------------------------------------------------------
// Solids and calculators

Ref<IQTKPolyhedron3dIntf> TQTKStripFDUnitCalcEDO::GetPrioritySolid()
{
    return KeepOnce(prioritySolid_, [this] {
        std::unique_ptr<TVRMPolyhedron3d> net = BuildUnitNetSolid(this);
        return MakePolyhedronHolder(net ? std::move(net) : std::make_unique<TVRMPolyhedron3d>());
    });
}

TVRMPolyhedron3d* TQTKStripFDUnitCalcEDO::GetMergedSolid()
{
    {
        std::lock_guard guard(DataLock());
        if (brickMold_)
            return brickMold_.get();
    }
    auto mould = std::make_unique<TVRMPolyhedron3d>();
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    const IPropValues* props = drawObj->GetPropValues();
    const int type = EdoPropValueInteger(props, "SectionTypeID");
    if (drawObj->HasSubSolids() && shape && (type == 0 || type == 2 || type == 3)) {
        const double t = EdoPropValueFloat(props, "BrickMoldThickness");
        const TLayout& layout = Layout();
        // The reference line reaches into the elements at the unit's ends.
        double startExt = 0.0, endExt = 0.0;
        CalcLineEDOExtendLength(layout.unit, endExt, startExt, -1);
        const TVRMCustomLine2d reference =
            TVRMPositionFunc2d::SubSeg(layout.unit, -startExt, layout.unit.Length() + endExt, false);
        const double height =
            type == 0 ? EdoPropValueFloat(props, "SectionHeight") : shape->GetPolygon().Box().Height();
        if (auto piece = TQTKStripUnitBrickMoldBuilder::BuildOneBrickMold(
                t, height, layout.outline, shape->GetBottomElevAt(layout.unit.StartPt()))) {
            TQTKStripUnitBrickMoldBuilder::TrimToBand(*piece, reference,
                                                      EdoPropValueFloat(props, "SectionWidth") / 2.0 + t, t);
            mould = std::move(piece);
        }
    }
    std::lock_guard guard(DataLock());
    if (!brickMold_)
        brickMold_ = std::move(mould);
    return brickMold_.get();
}

std::shared_ptr<TQTKSolidCalc3d> TQTKStripFDUnitCalcEDO::GetBrickMoldSolidCalc()
{
    return KeepOnce(brickMoldCalc_, [this] {
        return std::make_shared<TQTKSolidCalc3d>(GetMergedSolid()->Clone(),
                                                 RecordRef(GetElementDrawObj()->GetRecord()));
    });
}

// The host keeps the owner of a sub-element as its parent ("ParentID").
bool TQTKStripFDUnitCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    const IQTKElementDrawObj* ownParent = GetElementDrawObj()->GetParentDrawObj();
    if (!other)
        return false;
    const IQTKElementDrawObj* otherParent = other->GetParentDrawObj();
    // The foundation itself, a unit of the same foundation, or an opening in it.
    if (ownParent && (other == ownParent || otherParent == ownParent))
        return false;
    if (otherParent && otherParent->GetRecord() && other->GetElementTypeID() != CSumpType)
        return TQTKCalculatorEDO::IsIntersectWith(otherParent->GetRecord());
    return TQTKCalculatorEDO::IsIntersectWith(record);
}

void TQTKStripFDUnitCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    std::shared_ptr<TQTKSolidCalc3d> volume, brickMoldCalc;
    std::shared_ptr<TQTKShellCalc3d> side, head, bottom, sideShell, top;
    Ref<IQTKPolyhedron3dIntf> priority;
    std::lock_guard guard(DataLock());
    std::swap(volume, volumeCalc_);
    std::swap(brickMoldCalc, brickMoldCalc_);
    std::swap(side, sideFormboard_);
    std::swap(head, headFormboard_);
    std::swap(bottom, bottomShell_);
    std::swap(sideShell, sideShell_);
    std::swap(top, topShell_);
    std::swap(priority, prioritySolid_);
    sectionLines_.reset();
}

void TQTKStripFDUnitCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (!qtyRecord || (qtyRecord->GetID() != 411 && qtyRecord->GetID() != 631) || !IsDeductDetailEmpty())
        return;
    const Ref<IQTKPolyhedron3dIntf> solid = GetOriginalPolyhedronIntf();
    SetVolumeCalc(std::make_shared<TQTKSolidCalc3d>(
        solid ? solid->GetPolyhedron()->Clone() : std::make_unique<TVRMPolyhedron3d>(),
        RecordRef(GetElementDrawObj()->GetRecord())));
    // In detail mode the new calculator wrote the original volume first: it reads in the quantity's unit.
    TQTKDeductDetailContainer* details = GetDeductDetailContainer();
    if (details && details->GetCount() > 0)
        details->GetItems(0)->SetDedcutExpr(UnitChange(qtyRecord, GetOriginalQty()));
}
