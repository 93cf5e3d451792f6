#include "Calculator/Common/QTKRibbonUtils.h"

#include <cmath>
#include <utility>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr double CLen = 0.0010123456789;
constexpr int CHeightMark = 1;

bool IsRibbonType(int type)
{
    return type == 8 || type == 9;
}

IQTKLineEdoInfo* LineInfoOf(const Ref<IQTKRibbonOpeningCalcEDO>& edo)
{
    return dynamic_cast<IQTKLineEdoInfo*>(edo.get());
}

const IQTKLineShape* LineShapeOf(const Ref<IQTKRibbonOpeningCalcEDO>& edo)
{
    return edo ? GetDrawObjLineShape(edo->GetElementDrawObj()) : nullptr;
}

// The faces of the solid facing down (Down) or up.
std::shared_ptr<TVRMPolyhedronShell3d> BuildFaceShell(const TVRMPolyhedron3d& solid, bool down)
{
    auto shell = std::make_shared<TVRMPolyhedronShell3d>();
    for (const TVRMFace3d& face : solid.GetFaces()) {
        const double z = face.GetNormal().z;
        if (down ? z < -CLen : z > CLen)
            shell->AddFace(face);
    }
    return shell;
}

TVRMPoint2d NullPoint(const TQTKLinearCalc2d& calc, bool free, bool atStart)
{
    TVRMPoint2d point;
    if (free && !(atStart ? calc.GetStartNullPoint(point) : calc.GetEndNullPoint(point)))
        point = {};
    return point;
}

// The element joined at the deducting element's start (end), as its
// connected-ID info records it under the element's own key, meets the segment.
bool IsJoinedByConnectedId(IQTKLineEdoInfoProvider* provider, IQTKLineEdoInfo* deducting, IQTKLineEdoInfo* segment,
                           bool atStart)
{
    const Ref<IQTKConnectedEdoIDInfo> info = provider->GetConnectedEdoIDInfo();
    IRDXRecord* own = deducting->GetRecord();
    const IQTKElementDrawObj* drawObj = own ? GetRecordDrawObj(own) : nullptr;
    if (!info || !drawObj)
        return false;
    const int key = drawObj->GetIndexKey();
    if (!(atStart ? info->IsStartConnected(key) : info->IsEndConnected(key)))
        return false;
    const int id = atStart ? info->GetStartConnectedID(key) : info->GetEndConnectedID(key);
    IRDXRecord* joined = own->GetTable() ? own->GetTable()->GetRecordByID(id) : nullptr;
    const Ref<IQTKCalculatorEDO> joinedEdo = joined ? GetCalcEDO(joined, false) : nullptr;
    auto* joinedInfo = dynamic_cast<IQTKLineEdoInfo*>(joinedEdo.get());
    return joinedInfo && IntersectLineEdoShapes(joinedInfo, segment) != 0;
}

}  // namespace

RecordRef GetRibbonRootRecord(IRDXRecord* record)
{
    IQTKElementDrawObj* drawObj = record ? GetRecordDrawObj(record) : nullptr;
    if (!drawObj)
        return RecordRef(record);
    while (IQTKElementDrawObj* parent = drawObj->GetParentDrawObj()) {
        if (!IsRibbonType(parent->GetElementTypeID()))
            break;
        drawObj = parent;
    }
    return RecordRef(drawObj->GetRecord());
}

RecordRef GetSameTypeChildRecord(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = record ? GetRecordDrawObj(record) : nullptr;
    for (int i = 0; drawObj && i < drawObj->GetChildCount(); ++i)
        if (const IQTKElementDrawObj* child = drawObj->GetChild(i);
            child && child->GetElementTypeID() == drawObj->GetElementTypeID())
            return RecordRef(child->GetRecord());
    return nullptr;
}

// ---------------------------------------------------------------------------
// Width calculator

TQTKRibbonWidthCalculator::TQTKRibbonWidthCalculator(IRDXRecord* record, double rate, bool bottomFaces, bool trimLines)
    : record_(record), trimLines_(trimLines)
{
    const RecordRef root = GetRibbonRootRecord(record);
    if (root && record && root->GetID() == record->GetID())
        CollectSegments(root.get(), rate, bottomFaces);
    UpdateNullLength();
    if (infos_.empty() || !IsDetailRecording())
        return;
    TVRMSeg2dList segments;
    TVRMMultiPolygon2d outline;
    for (const TQTKRibbonWidthInfo& info : infos_) {
        segments.Add(info.Calc->GetLine());
        outline.Add(info.EDO->GetElementDrawObj()->GetShape()->GetOutline());
    }
    const TQTKCurrentQty qty = CurrentQtyOf(record);
    auto detail = std::make_unique<TQTKLine2dDeductDetail>(record_, qty.code, qty.desc, std::move(segments),
                                                           std::move(outline), MMToM(nullLength_));
    detail->SetLength(nullLength_);
    detail->SetIsOriginalQty(true);
    AddDeductDetail(std::move(detail));
}

TQTKRibbonWidthCalculator::~TQTKRibbonWidthCalculator() = default;

double TQTKRibbonWidthCalculator::GetSlopeRate(const TVRMCustomLine2d& line, double a, double b)
{
    const double length = line.Length();
    if (length <= CLen)
        return 1.0;
    const double slope = (a - b) / length;
    return std::sqrt(slope * slope + 1.0);
}

void TQTKRibbonWidthCalculator::CollectSegments(IRDXRecord* root, double rate, bool bottomFaces)
{
    for (RecordRef segment(root); segment; segment = GetSameTypeChildRecord(segment.get())) {
        TQTKRibbonWidthInfo info;
        info.EDO = RefCast<IQTKRibbonOpeningCalcEDO>(GetCalcEDO(segment, true));
        if (!info.EDO)
            break;
        info.Rate = rate;
        info.Calc = std::make_shared<TQTKLinearCalc2d>(*info.EDO->GetCalcMidLine(), true, rate);
        info.StartFree = info.EDO->IsStartUnconnected();
        info.EndFree = info.EDO->IsEndUnconnected();
        const Ref<IQTKPolyhedron3dIntf> relation = info.EDO->GetRelationPolyhedronIntf();
        info.Shell = relation ? BuildFaceShell(*relation->GetPolyhedron(), bottomFaces)
                              : std::make_shared<TVRMPolyhedronShell3d>();
        infos_.push_back(std::move(info));
    }
}

void TQTKRibbonWidthCalculator::UpdateNullLength()
{
    double sum = 0.0;
    for (const TQTKRibbonWidthInfo& info : infos_)
        sum += info.Calc->GetNullLength();
    nullLength_ = sum;
}

double TQTKRibbonWidthCalculator::GetNullLength()
{
    std::lock_guard guard(lock_);
    return nullLength_;
}

// Nothing happens unless the solid (when one is given and CheckShell) meets
// the segment's bottom (top) faces and the polygon overlaps the segment's
// drawn outline with some area. The polygon then marks the middle line under
// the deducting record's id: along the stretch where it meets a band of the
// segment's width (UseWidth), else where the line runs inside it. A free end
// that moves inwards trims the segment's lines there.
void TQTKRibbonWidthCalculator::ApplyToSegment(TQTKRibbonWidthInfo& info, const TVRMMultiPolygon2d& polygon,
                                               bool checkShell, bool useWidth, IRDXRecord* record,
                                               const TVRMPolyhedron3d* solid)
{
    if (checkShell && solid) {
        const std::unique_ptr<TVRMPolyhedronShell3d> shell = info.Shell->Clone();
        shell->Intersect(*solid, CVRMSuperpositionBoth);
        if (shell->GetArea() <= CLen)
            return;
    }
    const TVRMMultiPolygon2d& outline = info.EDO->GetElementDrawObj()->GetShape()->GetOutline();
    const std::unique_ptr<TVRMMultiPolygon2d> part = TVRMIntersectFunc2d::IntPolygon(polygon, outline);
    if (!part || part->Area() <= CVRMEpsilon)
        return;
    const double width = useWidth ? LineInfoOf(info.EDO)->GetWidth() : 0.0;
    const int mark = record ? record->GetID() : 0;
    const auto append = [&] {
        if (width > CLen)
            info.Calc->Append(polygon, width, width / 2.0, mark, record, true, CLen);
        else
            info.Calc->Append(polygon, mark, record, true, CLen);
    };
    if (!trimLines_) {
        append();
        return;
    }
    const TVRMPoint2d startBefore = NullPoint(*info.Calc, info.StartFree, true);
    const TVRMPoint2d endBefore = NullPoint(*info.Calc, info.EndFree, false);
    append();
    TVRMPoint2d point;
    // A segment covered whole keeps its lines (there is no new end to trim to).
    if (info.StartFree && info.Calc->GetStartNullPoint(point) && !point.IsEqualTo(startBefore, CLen))
        info.EDO->TrimLinesAtPoint(true, point);
    if (info.EndFree && info.Calc->GetEndNullPoint(point) && !point.IsEqualTo(endBefore, CLen))
        info.EDO->TrimLinesAtPoint(false, point);
}

void TQTKRibbonWidthCalculator::MergeLengthDetails(int count, IRDXRecord* record, double length)
{
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container || container->GetCount() <= count)
        return;
    TVRMSeg2dList segments;
    TVRMMultiPolygon2d outline;
    TQTKCurrentQty qty = CurrentQtyOf(record);
    while (container->GetCount() > count) {
        const int last = container->GetCount() - 1;
        if (const auto* piece = dynamic_cast<const TQTKLine2dDeductDetail*>(container->GetItems(last))) {
            for (auto it = piece->GetSegments().Items().rbegin(); it != piece->GetSegments().Items().rend(); ++it)
                segments.Items().insert(segments.Items().begin(), *it);
            if (outline.IsEmpty())
                outline = piece->GetOutline();
        }
        container->Delete(last);
    }
    auto detail = std::make_unique<TQTKLine2dDeductDetail>(RecordRef(record), std::move(qty.code), std::move(qty.desc),
                                                           std::move(segments), std::move(outline), MMToM(length));
    detail->SetLength(length);
    container->Add(std::move(detail));
}

double TQTKRibbonWidthCalculator::DeductPolygon(const TVRMMultiPolygon2d* polygon, const TVRMPolyhedron3d* solid,
                                                IRDXRecord* record)
{
    if (!polygon)
        return 0.0;
    std::lock_guard guard(lock_);
    const double old = nullLength_;
    const TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    const int count = container ? container->GetCount() : 0;
    for (TQTKRibbonWidthInfo& info : infos_)
        ApplyToSegment(info, *polygon, true, true, record, solid);
    UpdateNullLength();
    MergeLengthDetails(count, record, old - nullLength_);
    return old - nullLength_;
}

double TQTKRibbonWidthCalculator::DeductElement(IQTKLineEdoInfo* info, const TVRMMultiPolygon2d* polygon,
                                                IRDXRecord* record, const TVRMPolyhedron3d* solid)
{
    if (!info || !polygon)
        return 0.0;
    std::lock_guard guard(lock_);
    const double old = nullLength_;
    const TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    const int count = container ? container->GetCount() : 0;
    const TVRMCustomLine2d line = info->GetLine();
    for (TQTKRibbonWidthInfo& segment : infos_) {
        IQTKLineEdoInfo* segInfo = LineInfoOf(segment.EDO);
        const TVRMCustomLine2d segLine = segInfo->GetLine();
        if (!TVRMPositionFunc2d::IsParallel(segLine, line, CVRMParallelEpsilon)) {
            bool applies = false;
            if (segment.StartFree && segment.EDO->IsConnectedAtStart(record)) {
                applies = true;
            } else if (segment.EndFree && segment.EDO->IsConnectedAtEnd(record)) {
                applies = true;
            } else if (const int kind = IntersectLineEdoShapes(segInfo, info); kind >= 5 && kind <= 10) {
                // Not where a wall parallel to the deducting element already
                // stands in it (the deducting element runs inside that wall).
                applies = true;
                TRecordList walls;
                segment.EDO->GetRelatedByTypes(MakeElementTypeSet({0, 1, 69}), &walls);
                for (const RecordRef& wall : walls) {
                    const Ref<IQTKCalculatorEDO> wallEdo = GetCalcEDO(wall, false);
                    auto* wallInfo = dynamic_cast<IQTKLineEdoInfo*>(wallEdo.get());
                    if (!wallInfo || wallInfo == info ||
                        !TVRMPositionFunc2d::IsParallel(wallInfo->GetLine(), line, CVRMParallelEpsilon))
                        continue;
                    const int k = IntersectLineEdoShapes(info, wallInfo);
                    if (k == 5 || k == 6 || k == 11) {
                        applies = false;
                        break;
                    }
                }
            }
            if (applies)
                ApplyToSegment(segment, *polygon, true, true, record, solid);
            continue;
        }
        auto* provider = dynamic_cast<IQTKLineEdoInfoProvider*>(info);
        auto* lineEnt = dynamic_cast<IQTKLineEntBaseCalcEDO*>(info);
        if (!provider || !lineEnt)
            continue;
        // A parallel element joined at a free end of the segment takes the
        // triangle by which it overhangs there.
        for (const bool atStart : {true, false}) {
            if (!(atStart ? segment.StartFree : segment.EndFree))
                continue;
            if (!IsJoinedByConnectedId(provider, info, segInfo, atStart))
                continue;
            if (!(atStart ? segment.EDO->IsConnectedAtStart(record) : segment.EDO->IsConnectedAtEnd(record)))
                continue;
            const TVRMPoint2d end = atStart ? segLine.StartPt() : segLine.EndPt();
            const bool farEnd = end.DistanceTo(line.EndPt()) > end.DistanceTo(line.StartPt());
            const std::unique_ptr<TVRMMultiPolygon2d> piece =
                BuildLineEndPiecePolygon(*lineEnt->GetLeftLine(), *lineEnt->GetRightLine(), farEnd);
            if (piece && !piece->IsEmpty())
                ApplyToSegment(segment, *piece, false, false, record, solid);
        }
    }
    UpdateNullLength();
    MergeLengthDetails(count, record, old - nullLength_);
    return old - nullLength_;
}

// ---------------------------------------------------------------------------
// Height calculator

TQTKRibbonHeightInfo::~TQTKRibbonHeightInfo() = default;

namespace {

// The end face of a segment at P (a point of its middle line): across the
// drawn width, square to the axis, from the bottom to the top elevation
// interpolated along the axis; facing backwards at a start (AtStart), forwards at an end.
std::unique_ptr<TQTKRibbonHeightInfo> MakeEndFace(const Ref<IQTKRibbonOpeningCalcEDO>& source, const TVRMPoint2d& p,
                                                  bool atStart)
{
    const IQTKLineShape* shape = LineShapeOf(source);
    if (!shape)
        return nullptr;
    const TVRMCustomLine2d& axis = shape->GetLine();
    const double length = axis.Length();
    const double at = axis.LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(p, axis, false));
    const double ratio = length > CLen ? at / length : 0.0;
    const double top = shape->GetStartPtTopElev() + (shape->GetEndPtTopElev() - shape->GetStartPtTopElev()) * ratio;
    const double bottom =
        shape->GetStartPtBottomElev() + (shape->GetEndPtBottomElev() - shape->GetStartPtBottomElev()) * ratio;
    const TVRMVector2d d = axis.DirectionAt(at).Normal();
    const double half = shape->GetWidth() / 2.0;
    const TVRMPoint2d left = p + d.RotateHalfPi(false) * half;
    const TVRMPoint2d right = p + d.RotateHalfPi(true) * half;
    auto info = std::make_unique<TQTKRibbonHeightInfo>();
    info->Source = source;
    info->Calc = std::make_unique<TVRMNumericalCalc2d>(bottom, top, false);
    info->Shell = std::make_unique<TVRMPolyhedronShell3d>();
    // From the left to the right face: its left normal points forwards.
    info->Shell->AddFace(TVRMCustomLine2d(left, right), !atStart, bottom, top, bottom, top);
    return info;
}

}  // namespace

TQTKRibbonHeightCalculator::TQTKRibbonHeightCalculator(IQTKRibbonWidthCalculator* width)
{
    if (!width)
        return;
    record_ = width->GetRecord();
    const TQTKRibbonWidthInfoDynArray& infos = width->GetWidthInfos();
    bool anyStart = false, anyEnd = false;
    for (const TQTKRibbonWidthInfo& info : infos) {
        anyStart = anyStart || info.StartFree;
        anyEnd = anyEnd || info.EndFree;
    }
    const bool bothEnds = anyStart && anyEnd;
    const auto place = [&](std::unique_ptr<TQTKRibbonHeightInfo>& preferred,
                           std::unique_ptr<TQTKRibbonHeightInfo>& other, const TQTKRibbonWidthInfo& info,
                           const TVRMPoint2d& p, bool atStart) {
        if (!preferred)
            preferred = MakeEndFace(info.EDO, p, atStart);
        else if (!bothEnds && !other)
            other = MakeEndFace(info.EDO, p, atStart);
    };
    for (const TQTKRibbonWidthInfo& info : infos) {
        TVRMPoint2d p;
        if (info.StartFree && info.Calc->GetStartNullPoint(p))
            place(first_, second_, info, p, true);
        if (info.EndFree && info.Calc->GetEndNullPoint(p))
            place(second_, first_, info, p, false);
    }
}

TQTKRibbonHeightCalculator::~TQTKRibbonHeightCalculator() = default;

double TQTKRibbonHeightCalculator::GetFirstEndNullLength()
{
    std::lock_guard guard(lock_);
    return first_ ? first_->Calc->GetNullLength() : 0.0;
}

double TQTKRibbonHeightCalculator::GetSecondEndNullLength()
{
    std::lock_guard guard(lock_);
    return second_ ? second_->Calc->GetNullLength() : 0.0;
}

void TQTKRibbonHeightCalculator::DeductSolid(const TVRMPolyhedron3d* solid, IRDXRecord* record)
{
    if (!solid)
        return;
    std::lock_guard guard(lock_);
    for (TQTKRibbonHeightInfo* face : {first_.get(), second_.get()}) {
        if (!face)
            continue;
        const std::unique_ptr<TVRMPolyhedronShell3d> covered = face->Shell->Clone();
        covered->Intersect(*solid, CVRMSuperpositionBoth);
        if (!covered->HasFaces())
            continue;
        TVRMBox3d box;
        for (const TVRMFace3d& f : covered->GetFaces())
            box.Extend(f.GetBox());
        if (box.IsValid())
            face->Calc->Append(box.min.z, box.max.z, CHeightMark, record, CLen);
    }
}
