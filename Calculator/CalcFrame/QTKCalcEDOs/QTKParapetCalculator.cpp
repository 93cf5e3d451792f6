#include "Calculator/CalcFrame/QTKCalcEDOs/QTKParapetCalculator.h"

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/QTKDeductPolyhedronLines.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CQtyVolume = 47;
constexpr int CQtyWallDetail = 49;
constexpr int CQtyInternalLine = 51;
constexpr int CQtyExternalLine = 52;
constexpr int CQtyMidLine = 54;
constexpr int CQtyArea = 343;

bool SamePoint(const TVRMPoint3d& a, const TVRMPoint3d& b)
{
    return std::abs(a.x - b.x) <= CVRMEpsilon && std::abs(a.y - b.y) <= CVRMEpsilon &&
           std::abs(a.z - b.z) <= CVRMEpsilon;
}

}  // namespace

TQTKParapetCalculator::TQTKParapetCalculator(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKHasSectionInfoLineEntCalcEDO(mode, drawObj)
{
    if (!drawObj)
        return;
    sectionWidth_ = EdoPropValueFloat(drawObj->GetPropValues(), "SectionWidth");
    // A parapet of no length keeps the rate 1 (no division).
    if (const auto* shape = dynamic_cast<const IQTKLineShape*>(drawObj->GetShape())) {
        const double length = shape->GetLine().Length();
        const double rise = shape->GetEndPtBottomElev() - shape->GetStartPtBottomElev();
        if (!IsZero(length))
            slopeLengthRate_ = std::sqrt(length * length + rise * rise) / length;
    }
}

TQTKParapetCalculator::~TQTKParapetCalculator() = default;

TQTKElementTypeSet TQTKParapetCalculator::GetConnectElementTypes()
{
    return MakeElementTypeSet({69});
}

bool TQTKParapetCalculator::DecideInternalIsLeft()
{
    const double left = GetLeftLine()->Length(), right = GetRightLine()->Length();
    if (!SameValue(left, right))
        return left < right;
    return GetAttachWallFaceLeftLine()->Length() < GetAttachWallFaceRightLine()->Length();
}

void TQTKParapetCalculator::ClearQtyItems()
{
    TQTKHasSectionInfoLineEntCalcEDO::ClearQtyItems();
    internalIsLeft_.store(DecideInternalIsLeft());
}

void TQTKParapetCalculator::FreeCalcCache()
{
    TQTKHasSectionInfoLineEntCalcEDO::FreeCalcCache();
    std::shared_ptr<TQTKDeductPolyhedronLines> mid, internal, external;
    std::shared_ptr<TQTKShellCalc3d> area, side, bottom, head;
    std::shared_ptr<TQTKSolidCalc3d> volume;
    std::lock_guard guard(DataLock());
    mid.swap(midLines_);
    internal.swap(internalLines_);
    external.swap(externalLines_);
    area.swap(areaCalc_);
    volume.swap(volumeCalc_);
    side.swap(sideFormboard_);
    bottom.swap(bottomFormboard_);
    head.swap(headFormboard_);
}

// The line lifted to mid-height: the top along it less half the section height.
std::shared_ptr<TQTKDeductPolyhedronLines> TQTKParapetCalculator::BuildDeductLines(const TVRMCustomLine2d& line)
{
    const IQTKLineShape* shape = LineShape();
    const double half = EdoPropValueFloat(GetElementDrawObj()->GetPropValues(), "SectionHeight") / 2.0;
    auto lines = std::make_unique<TVRMPolyhedronLines3d>();
    if (shape)
        lines->AddLine(line, shape->GetTopElevAt(line.StartPt()) - half, shape->GetTopElevAt(line.EndPt()) - half);
    return std::make_shared<TQTKDeductPolyhedronLines>(std::move(lines), true);
}

std::shared_ptr<TQTKDeductPolyhedronLines> TQTKParapetCalculator::GetMidLineDeductLines()
{
    return KeepOnce(midLines_, [this] { return BuildDeductLines(*GetMidLine()); });
}

std::shared_ptr<TQTKDeductPolyhedronLines> TQTKParapetCalculator::GetInternalLineDeductLines()
{
    return KeepOnce(internalLines_,
                    [this] { return BuildDeductLines(GetInternalIsLeft() ? *GetLeftLine() : *GetRightLine()); });
}

std::shared_ptr<TQTKDeductPolyhedronLines> TQTKParapetCalculator::GetExternalLineDeductLines()
{
    return KeepOnce(externalLines_,
                    [this] { return BuildDeductLines(GetInternalIsLeft() ? *GetRightLine() : *GetLeftLine()); });
}

// Runs of edges that follow on end to start in space, each as its plan ends.
std::vector<std::pair<TVRMPoint2d, TVRMPoint2d>> TQTKParapetCalculator::RemainingPieces()
{
    std::vector<std::pair<TVRMPoint2d, TVRMPoint2d>> pieces;
    const std::shared_ptr<TQTKDeductPolyhedronLines> lines = Kept(midLines_);
    if (!lines || lines->GetLength() <= CVRMEpsilon)
        return pieces;
    const std::vector<TVRMPolyhedronLines3d::TEdge>& edges = lines->GetLines()->GetEdges();
    if (edges.empty())
        return pieces;
    TVRMPoint3d start = edges.front().start, end = edges.front().end;
    for (size_t i = 1; i < edges.size(); ++i) {
        if (!SamePoint(edges[i].start, end)) {
            pieces.emplace_back(TVRMPoint2d{start.x, start.y}, TVRMPoint2d{end.x, end.y});
            start = edges[i].start;
        }
        end = edges[i].end;
    }
    pieces.emplace_back(TVRMPoint2d{start.x, start.y}, TVRMPoint2d{end.x, end.y});
    return pieces;
}

std::shared_ptr<TQTKShellCalc3d> TQTKParapetCalculator::GetAreaShellCalc()
{
    return KeepOnce(areaCalc_, [this] {
        const IQTKLineShape* shape = LineShape();
        const TVRMCustomLine2d mid = *GetMidLine();
        auto shell = std::make_unique<TVRMPolyhedronShell3d>();
        const auto face = [&](const TVRMCustomLine2d& line) {
            if (shape)
                shell->AddFace(line, false, shape->GetBottomElevAt(line.StartPt()), shape->GetTopElevAt(line.StartPt()),
                               shape->GetBottomElevAt(line.EndPt()), shape->GetTopElevAt(line.EndPt()));
        };
        const auto pieces = RemainingPieces();
        if (pieces.empty()) {
            face(mid);
        } else {
            if (GIsDetailMode && GetDeductDetailContainer())
                GetDeductDetailContainer()->Clear();
            for (const auto& [a, b] : pieces)
                face(TVRMPositionFunc2d::SubSeg(mid, mid.LengthAtPoint(a), mid.LengthAtPoint(b), false));
        }
        return std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetRecord()), 1.0);
    });
}

// The parapet's solid cut between the pieces of its side lines across each
// remaining piece of the middle line, united.
std::shared_ptr<TQTKSolidCalc3d> TQTKParapetCalculator::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] {
        const auto pieces = RemainingPieces();
        if (pieces.empty()) {
            const TVRMPolyhedron3d* original = GetOriginalPolyhedron();
            return std::make_shared<TQTKSolidCalc3d>(
                original ? original->Clone() : std::make_unique<TVRMPolyhedron3d>(), RecordRef(GetRecord()), 1.0);
        }
        if (GIsDetailMode && GetDeductDetailContainer())
            GetDeductDetailContainer()->Clear();
        const TVRMCustomLine2d mid = *GetMidLine(), left = *GetLeftLine(), right = *GetRightLine();
        const std::unique_ptr<TVRMPolyhedron3d> full = BuildSolid();
        auto result = std::make_unique<TVRMPolyhedron3d>();
        const auto at = [](const TVRMCustomLine2d& line, const TVRMPoint2d& p) {
            return line.LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(p, line));
        };
        for (const auto& [a, b] : pieces) {
            double la = at(left, a), lb = at(left, b), ra = at(right, a), rb = at(right, b);
            if (mid.LengthAtPoint(a) <= CVRMEpsilon)
                la = ra = 0.0;
            if (mid.LengthAtPoint(b) >= mid.Length() - CVRMEpsilon) {
                lb = left.Length();
                rb = right.Length();
            }
            if (la > lb || ra > rb)
                continue;
            const TVRMCustomLine2d l = TVRMPositionFunc2d::SubSeg(left, la, lb, false);
            const TVRMCustomLine2d r = TVRMPositionFunc2d::SubSeg(right, ra, rb, false);
            if (!full || (IsZero(l.Length()) && IsZero(r.Length())))
                continue;
            std::unique_ptr<TVRMPolyhedron3d> part = full->Clone();
            TVRMNewPolyBooleanOperator::Cut(*part, l, r);
            if (!result->HasFaces())
                result = std::move(part);
            else
                TVRMNewPolyBooleanOperator::BooleanOperate(*result, *part, CVRMBoolUnion);
        }
        return std::make_shared<TQTKSolidCalc3d>(std::move(result), RecordRef(GetRecord()), 1.0);
    });
}

void TQTKParapetCalculator::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKHasSectionInfoLineEntCalcEDO::FillDeductDetail(qtyRecord);
    const int q = qtyRecord ? qtyRecord->GetID() : -1;
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container)
        return;
    if (container->GetCount() > 0) {
        if (q != CQtyVolume)
            return;
        for (int i = container->GetCount() - 1; i >= 0; --i)
            if (dynamic_cast<const TQTKLine2dDeductDetail*>(container->GetItems(i)))
                container->Delete(i);
        if (container->GetCount() == 0)
            GetVolumeCalc();
        return;
    }
    switch (q) {
        case CQtyVolume:
            GetVolumeCalc();
            break;
        case CQtyWallDetail: {
            // The walls it stands against, united, as the deducted solid.
            TRecordList walls;
            GetRelatedByTypes(MakeElementTypeSet({0, 1}), &walls);
            std::unique_ptr<TVRMPolyhedron3d> deducted;
            for (const RecordRef& wall : walls) {
                const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(wall, true);
                const Ref<IQTKPolyhedron3dIntf> solid = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
                if (!solid)
                    continue;
                if (!deducted)
                    deducted = solid->GetPolyhedron()->Clone();
                else
                    TVRMNewPolyBooleanOperator::BooleanOperate(*deducted, *solid->GetPolyhedron(), CVRMBoolUnion);
            }
            const TVRMPolyhedron3d* original = GetOriginalPolyhedron();
            const TQTKCurrentQty qty = CurrentQtyOf(GetRecord());
            const bool hasWalls = !walls.empty();
            auto detail = std::make_unique<TQTKSolidDeductDetail>(
                RecordRef(GetRecord()), qty.code, qty.desc, original ? original->Clone() : nullptr, std::move(deducted),
                hasWalls ? MM3ToM3(GetOriginalQty()) : std::string("0"));
            detail->SetIsOriginalQty(true);
            container->Add(std::move(detail));
            break;
        }
        case CQtyInternalLine:
            GetInternalLineDeductLines();
            break;
        case CQtyExternalLine:
            GetExternalLineDeductLines();
            break;
        case CQtyMidLine:
            GetMidLineDeductLines();
            break;
        case CQtyArea:
            GetAreaShellCalc();
            break;
        default:
            break;
    }
}
