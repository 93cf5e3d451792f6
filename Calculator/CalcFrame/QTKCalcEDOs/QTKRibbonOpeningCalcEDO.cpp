#include "Calculator/CalcFrame/QTKCalcEDOs/QTKRibbonOpeningCalcEDO.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKRibbonUtils.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr double CLen = 0.0010123456789;
// The relation band of a segment is at least this wide.
constexpr double CMinRelationWidth = 120.0;
// Band of a tight arc: at most this much wider than the walls, and this far
// inside the centre (width, axis offset).
constexpr double CArcBandMargin = 60.0;
constexpr double CArcBandInset = 15.0;
constexpr double CArcOffsetInset = 25.0;

// The segments a thread is laying out in wide mode.
thread_local std::vector<const void*> tWideSegments;

const TQTKElementTypeSet& WallTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({0, 1, 69});
    return types;
}

IQTKLineEdoInfo* LineInfoOf(const Ref<IQTKCalculatorEDO>& edo)
{
    return dynamic_cast<IQTKLineEdoInfo*>(edo.get());
}

bool Contains(const TQTKLineEdoInfoArray& infos, IQTKLineEdoInfo* info)
{
    return std::any_of(infos.begin(), infos.end(), [info](const Ref<IQTKLineEdoInfo>& i) { return i.get() == info; });
}

}  // namespace

// Wide mode for the calling thread while the scope lasts.
class TQTKRibbonOpeningCalcEDO::TWideScope {
public:
    explicit TWideScope(TQTKRibbonOpeningCalcEDO& edo) : edo_(&edo) { tWideSegments.push_back(edo_); }
    ~TWideScope()
    {
        const auto it = std::find(tWideSegments.rbegin(), tWideSegments.rend(), edo_);
        if (it != tWideSegments.rend())
            tWideSegments.erase(std::next(it).base());
    }
    TWideScope(const TWideScope&) = delete;
    TWideScope& operator=(const TWideScope&) = delete;

private:
    const void* edo_;
};

struct TQTKRibbonOpeningCalcEDO::TOwnLines {
    TVRMCustomLine2d mid, left, right;
};

TQTKRibbonOpeningCalcEDO::TQTKRibbonOpeningCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKHasThicknessInfoLineEntCalcEDO(mode, drawObj), sectionLock_(std::make_unique<TVRMCmpxchgLock>())
{
}

TQTKRibbonOpeningCalcEDO::~TQTKRibbonOpeningCalcEDO() = default;

TQTKRibbonWinCalcEDO::~TQTKRibbonWinCalcEDO() = default;

bool TQTKRibbonOpeningCalcEDO::IsWide() const
{
    return std::find(tWideSegments.begin(), tWideSegments.end(), this) != tWideSegments.end();
}

double TQTKRibbonOpeningCalcEDO::PropFloat(std::string_view name) const
{
    return EdoPropValueFloat(GetElementDrawObj()->GetPropValues(), name);
}

// ---------------------------------------------------------------------------
// Calculation band

double TQTKRibbonOpeningCalcEDO::GetBandWidth()
{
    std::call_once(bandOnce_, [this] { CalcRibbonWidths(); });
    return bandWidth_.load();
}

double TQTKRibbonOpeningCalcEDO::GetBandAxisOffset()
{
    std::call_once(bandOnce_, [this] { CalcRibbonWidths(); });
    return bandAxisOffset_.load();
}

// EL and ER: how far the band reaches left and right of the axis line,
// at least half the drawn width and over every parallel wall whose outline
// meets the segment's. Then a margin of 1.5 times the width on each side;
// on an arc too tight for that, a band that stays clear of the centre.
void TQTKRibbonOpeningCalcEDO::CalcRibbonWidths()
{
    const IQTKLineShape* shape = LineShape();
    if (!shape)
        return;
    const TVRMCustomLine2d& axis = shape->GetLine();
    const double drawn = shape->GetWidth();
    double left = drawn / 2.0, right = drawn / 2.0;
    const TVRMMultiPolygon2d& outline = shape->GetOutline();
    TRecordList walls;
    GetRelatedByTypes(WallTypes(), &walls);
    for (const RecordRef& wall : walls) {
        const IQTKLineShape* wallShape = GetDrawObjLineShape(GetRecordDrawObj(wall.get()));
        if (!wallShape || !TVRMPositionFunc2d::IsParallel(wallShape->GetLine(), axis, CVRMParallelEpsilon))
            continue;
        const TVRMMultiPolygon2d& wallOutline = wallShape->GetOutline();
        if (outline.IsEmpty() || wallOutline.IsEmpty() ||
            TVRMPositionFunc2d::PolyPolyPosition(outline.GetItems(0), wallOutline.GetItems(0), CLen) == 0)
            continue;
        // The wall's faces, as signed distances to the right of the ribbon's
        // axis line; a wall drawn the other way has its left face on the right.
        const double d = TVRMPositionFunc2d::SignedDistanceTo(wallShape->GetLine().StartPt(), axis, false);
        const bool same = TVRMPositionFunc2d::IsSameDirection(wallShape->GetLine(), axis);
        const double leftFace = same ? d - wallShape->GetAxisOffset() : d + wallShape->GetAxisOffset();
        const double rightFace = same ? leftFace + wallShape->GetWidth() : leftFace - wallShape->GetWidth();
        left = std::max(left, -std::min(leftFace, rightFace));
        right = std::max(right, std::max(leftFace, rightFace));
    }
    const double total = left + right;
    const TVRMCustomLine2d mid = TVRMOffsetFunc2d::Offset(axis, total / 2.0 - left);
    double width = 4.0 * total;
    double axisOffset = left + 1.5 * total;
    if (mid.IsArc() && GreaterThan(2.0 * total, mid.Radius(), CLen)) {
        const double radius = mid.Radius();
        width = std::min(total + CArcBandMargin, radius - CArcBandInset);
        axisOffset = std::min(width * 2.0 / 3.0 + left, radius - CArcOffsetInset);
    }
    bandWidth_.store(width);
    bandAxisOffset_.store(axisOffset);
}

double TQTKRibbonOpeningCalcEDO::GetWidth()
{
    return IsWide() ? GetBandWidth() : TQTKHasThicknessInfoLineEntCalcEDO::GetWidth();
}

double TQTKRibbonOpeningCalcEDO::GetAxisOffset()
{
    return IsWide() ? GetBandAxisOffset() : TQTKHasThicknessInfoLineEntCalcEDO::GetAxisOffset();
}

// ---------------------------------------------------------------------------
// Lines and solids of the band

const TVRMCustomLine2d* TQTKRibbonOpeningCalcEDO::GetMidLine()
{
    TWideScope wide(*this);
    return TQTKHasThicknessInfoLineEntCalcEDO::GetMidLine();
}

const TVRMCustomLine2d* TQTKRibbonOpeningCalcEDO::GetLeftLine()
{
    TWideScope wide(*this);
    return TQTKHasThicknessInfoLineEntCalcEDO::GetLeftLine();
}

const TVRMCustomLine2d* TQTKRibbonOpeningCalcEDO::GetRightLine()
{
    TWideScope wide(*this);
    return TQTKHasThicknessInfoLineEntCalcEDO::GetRightLine();
}

const TVRMCustomLine2d* TQTKRibbonOpeningCalcEDO::GetExtendedMidLine()
{
    TWideScope wide(*this);
    return TQTKHasThicknessInfoLineEntCalcEDO::GetExtendedMidLine();
}

const TVRMMultiPolygon2d* TQTKRibbonOpeningCalcEDO::GetExtendedPolygon()
{
    TWideScope wide(*this);
    return TQTKHasThicknessInfoLineEntCalcEDO::GetExtendedPolygon();
}

const TVRMMultiPolygon2d* TQTKRibbonOpeningCalcEDO::GetPlanPolygon()
{
    TWideScope wide(*this);
    return TQTKHasThicknessInfoLineEntCalcEDO::GetPlanPolygon();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKRibbonOpeningCalcEDO::BuildSolid()
{
    TWideScope wide(*this);
    return BuildBandOn(*GetExtendedMidLine());
}

const TQTKRibbonOpeningCalcEDO::TOwnLines& TQTKRibbonOpeningCalcEDO::OwnLines()
{
    if (const std::shared_ptr<TOwnLines> lines = Kept(ownLines_))
        return *lines;
    // Outside wide mode the calculator reads the drawn width and offset.
    auto lines = std::make_shared<TOwnLines>();
    Ref<IQTKConnectedEdoIDInfo> info;
    TQTKActualMiddleCalculator(MakeArgs(false, false)).Calculate(lines->mid, lines->left, lines->right, info);
    return *KeepOnce(ownLines_, [&] { return lines; });
}

const TVRMCustomLine2d* TQTKRibbonOpeningCalcEDO::GetCalcMidLine()
{
    return &OwnLines().mid;
}

const TVRMCustomLine2d* TQTKRibbonOpeningCalcEDO::GetCalcLeftLine()
{
    return &OwnLines().left;
}

const TVRMCustomLine2d* TQTKRibbonOpeningCalcEDO::GetCalcRightLine()
{
    return &OwnLines().right;
}

void TQTKRibbonOpeningCalcEDO::TrimLinesAtPoint(bool atStart, const TVRMPoint2d& point)
{
    const auto trim = [&](const TVRMCustomLine2d& line) {
        const double at = line.LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(point, line, true));
        return atStart ? TVRMPositionFunc2d::SubSeg(line, at, line.Length(), false)
                       : TVRMPositionFunc2d::SubSeg(line, 0.0, at, false);
    };
    TVRMCustomLine2d mid = trim(*GetMidLine());
    TVRMCustomLine2d left = trim(*GetLeftLine());
    TVRMCustomLine2d right = trim(*GetRightLine());
    {
        TWideScope wide(*this);
        ReplaceLines(std::move(mid), std::move(left), std::move(right));
    }
    std::lock_guard guard(DataLock());
    if (cutSolid_)
        retiredCutSolids_.push_back(std::move(cutSolid_));
}

// Ribbon segments of the same ribbon meeting this one at that end; in wide
// mode also the walls parallel to such a segment that meet it at the same
// node, so that the band turns the corner with the walls.
TQTKLineEdoInfoArray TQTKRibbonOpeningCalcEDO::CalcConnectedLineEdoInfos(bool atStart)
{
    TQTKLineEdoInfoArray result;
    TRecordList segments;
    if (!GetRelatedByTypes(GetConnectElementTypes(), &segments))
        return result;
    const RecordRef root = GetRibbonRootRecord(GetRecord());
    const bool wide = IsWide();
    for (const RecordRef& segment : segments) {
        const RecordRef segmentRoot = GetRibbonRootRecord(segment.get());
        if (!root || !segmentRoot || segmentRoot->GetID() != root->GetID())
            continue;
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(segment, false);
        IQTKLineEdoInfo* info = LineInfoOf(edo);
        bool endMeets = false, startMeets = false;
        if (!info || !IsIntersect(this, atStart, info, endMeets, startMeets))
            continue;
        result.emplace_back(info);
        if (!wide)
            continue;
        TRecordList walls;
        edo->GetRelatedByTypes(WallTypes(), &walls);
        for (const RecordRef& wall : walls) {
            const Ref<IQTKCalculatorEDO> wallEdo = GetCalcEDO(wall, false);
            IQTKLineEdoInfo* wallInfo = LineInfoOf(wallEdo);
            if (!wallInfo || !TVRMPositionFunc2d::IsParallel(wallInfo->GetLine(), info->GetLine(), CVRMParallelEpsilon))
                continue;
            if ((startMeets && IsIntersect(info, true, wallInfo)) ||
                (!startMeets && endMeets && IsIntersect(info, false, wallInfo)))
                if (!Contains(result, wallInfo))
                    result.emplace_back(wallInfo);
        }
    }
    return result;
}

TQTKLineEdoInfoArray TQTKRibbonOpeningCalcEDO::GetStartLineEdoInfos()
{
    return CalcConnectedLineEdoInfos(true);
}

TQTKLineEdoInfoArray TQTKRibbonOpeningCalcEDO::GetEndLineEdoInfos()
{
    return CalcConnectedLineEdoInfos(false);
}

TQTKLineEdoInfoArray TQTKRibbonOpeningCalcEDO::GetStartSameKindLineEdoInfos()
{
    return CalcConnectedLineEdoInfos(true);
}

TQTKLineEdoInfoArray TQTKRibbonOpeningCalcEDO::GetEndSameKindLineEdoInfos()
{
    return CalcConnectedLineEdoInfos(false);
}

// ---------------------------------------------------------------------------
// Walls met at the ends

void TQTKRibbonOpeningCalcEDO::DropConnections()
{
    std::lock_guard guard(DataLock());
    connections_ = TConnections{};
}

bool TQTKRibbonOpeningCalcEDO::IsConnected(IRDXRecord* record, bool atStart)
{
    const Ref<IQTKCalculatorEDO> edo = record ? GetCalcEDO(record, false) : nullptr;
    IQTKLineEdoInfo* info = LineInfoOf(edo);
    if (!info)
        return false;
    {
        std::lock_guard guard(DataLock());
        if (connections_.computed)
            return Contains(atStart ? connections_.atStart : connections_.atEnd, info);
    }
    TConnections found;
    found.atStart = GetOverlappingLineEdoInfos(this, WallTypes(), true);
    found.atEnd = GetOverlappingLineEdoInfos(this, WallTypes(), false);
    found.computed = true;
    std::lock_guard guard(DataLock());
    if (!connections_.computed)
        connections_ = std::move(found);
    return Contains(atStart ? connections_.atStart : connections_.atEnd, info);
}

bool TQTKRibbonOpeningCalcEDO::IsConnectedAtStart(IRDXRecord* record)
{
    return IsConnected(record, true);
}

bool TQTKRibbonOpeningCalcEDO::IsConnectedAtEnd(IRDXRecord* record)
{
    return IsConnected(record, false);
}

// ---------------------------------------------------------------------------
// Calculators

Ref<IQTKRibbonWidthCalculator> TQTKRibbonOpeningCalcEDO::GetWidthCalculator()
{
    std::lock_guard guard(calcLock_);
    if (!widthCalc_)
        widthCalc_ = MakeRef<TQTKRibbonWidthCalculator>(GetRecord(), 1.0, true, true);
    return widthCalc_;
}

Ref<IQTKRibbonWidthCalculator> TQTKRibbonOpeningCalcEDO::GetBottomWidthCalculator()
{
    std::lock_guard guard(calcLock_);
    if (!bottomWidthCalc_) {
        const IQTKLineShape* shape = LineShape();
        const double rate = shape ? TQTKRibbonWidthCalculator::GetSlopeRate(
                                        shape->GetLine(), shape->GetEndPtBottomElev(), shape->GetStartPtBottomElev())
                                  : 1.0;
        bottomWidthCalc_ = MakeRef<TQTKRibbonWidthCalculator>(GetRecord(), rate, true, false);
    }
    return bottomWidthCalc_;
}

Ref<IQTKRibbonWidthCalculator> TQTKRibbonOpeningCalcEDO::GetTopWidthCalculator()
{
    std::lock_guard guard(calcLock_);
    if (!topWidthCalc_) {
        const IQTKLineShape* shape = LineShape();
        const double rate = shape ? TQTKRibbonWidthCalculator::GetSlopeRate(shape->GetLine(), shape->GetEndPtTopElev(),
                                                                            shape->GetStartPtTopElev())
                                  : 1.0;
        topWidthCalc_ = MakeRef<TQTKRibbonWidthCalculator>(GetRecord(), rate, false, false);
    }
    return topWidthCalc_;
}

// The end heights less the beams running along the ribbon and the slabs
// over it, each when it covers half the axis line or more.
Ref<IQTKRibbonHeightCalculator> TQTKRibbonOpeningCalcEDO::GetHeightCalculator()
{
    std::lock_guard guard(calcLock_);
    if (heightCalc_)
        return heightCalc_;
    const Ref<IQTKRibbonWidthCalculator> width = GetWidthCalculator();
    auto height = MakeRef<TQTKRibbonHeightCalculator>(width.get());
    const IQTKLineShape* shape = LineShape();
    TRecordList covers;
    if (shape && GetRelatedByTypes(MakeElementTypeSet({15, 17, 18, 19, 20}), &covers)) {
        const TVRMCustomLine2d& axis = shape->GetLine();
        const double length = axis.Length();
        for (const RecordRef& cover : covers) {
            const IQTKElementDrawObj* drawObj = GetRecordDrawObj(cover.get());
            if (!drawObj || !drawObj->GetShape())
                continue;
            const int type = drawObj->GetElementTypeID();
            if (type <= 18) {
                const IQTKLineShape* beam = GetDrawObjLineShape(drawObj);
                if (!beam || !TVRMPositionFunc2d::IsParallel(beam->GetLine(), axis, CVRMParallelEpsilon))
                    continue;
            }
            TQTKLinearCalc2d along(axis, false);
            along.Append(drawObj->GetShape()->GetOutline(), 1, nullptr, false, CLen);
            if (LessThan(along.GetLengthFor(1), length / 2.0, CLen))
                continue;
            if (const Ref<IQTKCalculatorEDO> coverEdo = GetCalcEDO(cover, true))
                if (const Ref<IQTKPolyhedron3dIntf> solid = coverEdo->GetOriginalPolyhedronIntf())
                    height->DeductSolid(solid->GetPolyhedron(), cover.get());
        }
    }
    heightCalc_ = height;
    return heightCalc_;
}

// ---------------------------------------------------------------------------
// Opening

std::unique_ptr<TVRMPolyhedron3d> TQTKRibbonOpeningCalcEDO::BuildCutSolid()
{
    return GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone();
}

const TVRMPolyhedron3d* TQTKRibbonOpeningCalcEDO::GetCutSolid()
{
    {
        std::lock_guard guard(DataLock());
        if (cutSolid_)
            return cutSolid_.get();
    }
    std::unique_ptr<TVRMPolyhedron3d> solid = BuildCutSolid();
    std::lock_guard guard(DataLock());
    if (!cutSolid_)
        cutSolid_ = std::move(solid);
    return cutSolid_.get();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKRibbonWinCalcEDO::BuildCutSolid()
{
    std::unique_ptr<TVRMPolyhedron3d> solid = TQTKRibbonOpeningCalcEDO::BuildCutSolid();
    // Half the frame width on all four sides, the bottom and top too.
    const double frame = PropFloat("FillingWidth") / 2.0;
    const IQTKLineShape* shape = LineShape();
    if (IsZero(frame, CLen) || !shape || !solid->HasFaces())
        return solid;
    const double width = GetBandWidth();
    const TVRMCustomLine2d mid = *GetMidLine();
    const TVRMBox3d box = solid->GetBox();
    const auto subtract = [&](const TVRMCustomLine2d& line, double sb, double st, double eb, double et) {
        const auto strip = TVRMPolyhedron3d::CreateBand(line, width, width / 2.0, sb, st, eb, et);
        TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *strip, CVRMBoolSubtract);
    };
    const double length = mid.Length();
    if (IsStartUnconnected())
        subtract(TVRMPositionFunc2d::SubSeg(mid, 0.0, frame, false), box.min.z, box.max.z, box.min.z, box.max.z);
    if (IsEndUnconnected())
        subtract(TVRMPositionFunc2d::SubSeg(mid, length - frame, length, false), box.min.z, box.max.z, box.min.z,
                 box.max.z);
    const TVRMCustomLine2d ext = *GetExtendedMidLine();
    const double sb = shape->GetBottomElevAt(ext.StartPt()), eb = shape->GetBottomElevAt(ext.EndPt());
    const double st = shape->GetTopElevAt(ext.StartPt()), et = shape->GetTopElevAt(ext.EndPt());
    subtract(ext, sb, sb + frame, eb, eb + frame);
    subtract(ext, st - frame, st, et - frame, et);
    return solid;
}

// The quadrilateral under the middle line between the bottom and the top at
// its ends. On a wall it stands on the wall's middle line: from where the
// segment's start lies on it when both run the same way, else mirrored and
// from where its end lies.
Ref<IQTKSectionPoly> TQTKRibbonOpeningCalcEDO::GetSectionPolyOnWall(IRDXRecord* wall)
{
    const TVRMCustomLine2d mid = *GetMidLine();
    std::optional<TVRMCustomLine2d> wallLine;
    if (wall) {
        const TVRMCustomLine2d* found = GetLineEntAxisLine(wall);
        QTK_ASSERT_MSG(found != nullptr, "the wall has no middle line");
        wallLine = *found;
    }
    const IQTKLineShape* shape = LineShape();
    QTK_ASSERT_MSG(shape != nullptr, "a ribbon segment is drawn as a line");
    const double length = mid.Length();
    const double z0 = shape->GetBottomElevAt(mid.StartPt());
    TVRMPolygon2d ring(std::vector<TVRMPoint2d>{{0.0, 0.0},
                                                {length, shape->GetBottomElevAt(mid.EndPt()) - z0},
                                                {length, shape->GetTopElevAt(mid.EndPt()) - z0},
                                                {0.0, shape->GetTopElevAt(mid.StartPt()) - z0}});
    if (wallLine) {
        const TVRMPoint2d wallStart = wallLine->StartPt();
        const TVRMVector2d tangent = mid.TangentAt(TVRMPositionFunc2d::ClosestPointTo(wallStart, mid, false));
        const bool same = wallLine->StartDirection().InnerProduct(tangent) > 0.0;
        TVRMPoint2d anchor = mid.StartPt();
        if (!same) {
            TVRMMirrorFunc2d::Mirror(ring, TVRMCustomLine2d({length / 2.0, 0.0}, {length / 2.0, 1.0}));
            anchor = mid.EndPt();
        }
        ring.Move({wallLine->LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(anchor, *wallLine, false)), z0});
    }
    if (ring.IsClockwise())
        ring.Reverse();
    auto polygon = TVRMMultiPolygon2d::Create();
    polygon->Add(std::move(ring));
    Ref<IQTKSectionPoly> result(new TQTKSectionPoly(std::move(polygon)));
    Ref<IQTKSectionPoly> dropped;
    {
        TVRMLockGuard guard(*sectionLock_);
        dropped = std::exchange(section_, result);
    }
    return result;
}

// ---------------------------------------------------------------------------
// Relation solid

std::unique_ptr<TVRMPolyhedron3d> TQTKRibbonOpeningCalcEDO::BuildRelationPolyhedron()
{
    IRDXRecord* own = GetRecord();
    const RecordRef root = GetRibbonRootRecord(own);
    if (root && own && root->GetID() != own->GetID()) {
        const Ref<IQTKCalculatorEDO> rootEdo = GetCalcEDO(root, false);
        const Ref<IQTKPolyhedron3dIntf> solid = rootEdo ? rootEdo->GetRelationPolyhedronIntf() : nullptr;
        return solid ? solid->GetPolyhedron()->Clone() : std::make_unique<TVRMPolyhedron3d>();
    }
    std::unique_ptr<TVRMPolyhedron3d> result;
    for (RecordRef segment = root; segment; segment = GetSameTypeChildRecord(segment.get())) {
        const IQTKLineShape* shape = GetDrawObjLineShape(GetRecordDrawObj(segment.get()));
        if (!shape)
            break;
        const double w = shape->GetWidth();
        const double widened = std::max(CMinRelationWidth, w);
        auto band = TVRMPolyhedron3d::CreateBand(
            shape->GetLine(), widened, shape->GetAxisOffset() + (widened - w) / 2.0, shape->GetStartPtBottomElev(),
            shape->GetStartPtTopElev(), shape->GetEndPtBottomElev(), shape->GetEndPtTopElev());
        if (!result)
            result = std::move(band);
        else
            TVRMNewPolyBooleanOperator::BooleanOperate(*result, *band, CVRMBoolUnion);
    }
    return result ? std::move(result) : std::make_unique<TVRMPolyhedron3d>();
}

// ---------------------------------------------------------------------------
// Lifecycle

void TQTKRibbonOpeningCalcEDO::Prepare(IRDXRecord* record)
{
    std::call_once(bandOnce_, [this] { CalcRibbonWidths(); });
    DropConnections();
    TQTKHasThicknessInfoLineEntCalcEDO::Prepare(record);
}

void TQTKRibbonOpeningCalcEDO::ClearQtyItems()
{
    TQTKHasThicknessInfoLineEntCalcEDO::ClearQtyItems();
    {
        TWideScope wide(*this);
        RecalcLinesAndSolid();
    }
    std::lock_guard guard(DataLock());
    if (cutSolid_)
        retiredCutSolids_.push_back(std::move(cutSolid_));
}

void TQTKRibbonOpeningCalcEDO::ClearCalcCache()
{
    TQTKHasThicknessInfoLineEntCalcEDO::ClearCalcCache();
    DropCalculators();
}

void TQTKRibbonOpeningCalcEDO::FreeCalcCache()
{
    TQTKHasThicknessInfoLineEntCalcEDO::FreeCalcCache();
    DropCalculators();
}

void TQTKRibbonOpeningCalcEDO::DropCalculators()
{
    // Released outside the lock: a calculator may hold the last reference to
    // a neighbour segment.
    Ref<IQTKRibbonWidthCalculator> width, bottom, top;
    Ref<IQTKRibbonHeightCalculator> height;
    {
        std::lock_guard guard(calcLock_);
        width = std::exchange(widthCalc_, nullptr);
        bottom = std::exchange(bottomWidthCalc_, nullptr);
        top = std::exchange(topWidthCalc_, nullptr);
        height = std::exchange(heightCalc_, nullptr);
    }
    DropConnections();
}

// ---------------------------------------------------------------------------
// Details

// The length details of the width calculator become faces h high over their
// pieces: the ribbon's own as an original-quantity face, each deduction as
// the deducting element's face with its solid. Areas from each detail's length.
void TQTKRibbonOpeningCalcEDO::FillFillingAreaDetails(double height)
{
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container)
        return;
    if (container->GetCount() == 0)
        GetWidthCalculator();
    const IQTKLineShape* shape = LineShape();
    IRDXRecord* own = GetRecord();
    std::vector<std::unique_ptr<TQTKDeductDetail>> faces;
    for (int i = 0; i < container->GetCount(); ++i) {
        const auto* length = dynamic_cast<const TQTKLine2dDeductDetail*>(container->GetItems(i));
        QTK_ASSERT_MSG(length != nullptr, "a ribbon's filling areas are made from length details only");
        auto shell = std::make_unique<TVRMPolyhedronShell3d>();
        for (const TVRMCustomLine2d& piece : length->GetSegments().Items()) {
            const double sb = shape ? shape->GetBottomElevAt(piece.StartPt()) : 0.0;
            const double eb = shape ? shape->GetBottomElevAt(piece.EndPt()) : 0.0;
            shell->AddFace(piece, true, sb, sb + height, eb, eb + height);
        }
        const std::string text = MM2ToM2(length->GetLength() * height);
        const RecordRef& source = length->GetRecord();
        const bool isOwn = length->GetIsOriginalQty() || (source && own && source->GetID() == own->GetID());
        std::unique_ptr<TVRMPolyhedron3d> deducting;
        if (!isOwn && source)
            if (const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(source, true))
                if (const Ref<IQTKPolyhedron3dIntf> solid = edo->GetOriginalPolyhedronIntf())
                    deducting = solid->GetPolyhedron()->Clone();
        auto detail = std::make_unique<TQTKShellDeductDetail>(source, length->GetQtyCode(), length->GetQtyDesc(),
                                                              std::move(shell), std::move(deducting), text);
        detail->SetIsOriginalQty(isOwn);
        faces.push_back(std::move(detail));
    }
    container->Clear();
    for (auto& detail : faces)
        container->Add(std::move(detail));
}

// By quantity id: 230, 391 the uncovered end heights (average) as a face
// over the middle line; 231, 392 the filling areas at that height, 232 at
// that height less "FillingHeight"; 233-235, 393-395 the solid; 236, 396 the
// face over the middle line from bottom to top; 613, 618 (615, 620 and 617,
// 621) the lengths of the width (top, bottom) calculator.
void TQTKRibbonOpeningCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKHasThicknessInfoLineEntCalcEDO::FillDeductDetail(qtyRecord);
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!GIsDetailMode || !container || !qtyRecord)
        return;
    IRDXRecord* own = GetRecord();
    const IQTKLineShape* shape = LineShape();
    const TVRMCustomLine2d mid = *GetMidLine();
    const TQTKCurrentQty qty = CurrentQtyOf(own);
    const auto endHeights = [this](double& h1, double& h2) {
        const Ref<IQTKRibbonHeightCalculator> height = GetHeightCalculator();
        h1 = height->GetFirstEndNullLength();
        h2 = height->GetSecondEndNullLength();
    };
    const auto addShell = [&](std::unique_ptr<TVRMPolyhedronShell3d> shell, std::string text) {
        auto detail = std::make_unique<TQTKShellDeductDetail>(RecordRef(own), qty.code, qty.desc, std::move(shell),
                                                              nullptr, std::move(text));
        detail->SetIsOriginalQty(true);
        container->Add(std::move(detail));
    };
    const double sb = shape ? shape->GetBottomElevAt(mid.StartPt()) : 0.0;
    const double eb = shape ? shape->GetBottomElevAt(mid.EndPt()) : 0.0;
    switch (qtyRecord->GetID()) {
        case 230:
        case 391: {
            double h1 = 0.0, h2 = 0.0;
            endHeights(h1, h2);
            container->Clear();
            auto shell = std::make_unique<TVRMPolyhedronShell3d>();
            shell->AddFace(mid, true, sb, sb + h1, eb, eb + h2);
            addShell(std::move(shell), MMToM((h1 + h2) / 2.0));
            break;
        }
        case 231:
        case 392:
        case 232: {
            double h1 = 0.0, h2 = 0.0;
            endHeights(h1, h2);
            double h = (h1 + h2) / 2.0;
            if (qtyRecord->GetID() == 232)
                h -= PropFloat("FillingHeight");
            FillFillingAreaDetails(h);
            break;
        }
        case 233:
        case 234:
        case 235:
        case 393:
        case 394:
        case 395: {
            container->Clear();
            auto detail = std::make_unique<TQTKSolidDeductDetail>(RecordRef(own), qty.code, qty.desc,
                                                                  GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(),
                                                                  nullptr, MM3ToM3(GetOriginalQty()));
            detail->SetIsOriginalQty(true);
            container->Add(std::move(detail));
            break;
        }
        case 236:
        case 396: {
            container->Clear();
            auto shell = std::make_unique<TVRMPolyhedronShell3d>();
            const double st = shape ? shape->GetTopElevAt(mid.StartPt()) : 0.0;
            const double et = shape ? shape->GetTopElevAt(mid.EndPt()) : 0.0;
            shell->AddFace(mid, true, sb, st, eb, et);
            const double area = shell->GetArea();
            addShell(std::move(shell), MM2ToM2(area));
            break;
        }
        case 613:
        case 618:
            if (container->GetCount() == 0)
                GetWidthCalculator();
            break;
        case 615:
        case 620:
            if (container->GetCount() == 0)
                GetTopWidthCalculator();
            break;
        case 617:
        case 621:
            if (container->GetCount() == 0)
                GetBottomWidthCalculator();
            break;
        default:
            break;
    }
}
