#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTrenchUnitCalcEDO.h"

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXDataUtils.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CTrenchType = 80;
constexpr int CTrenchUnitType = 84;
constexpr double CFaceAngle = 45.0;     // degrees: how far a face may lean and keep its direction code
constexpr int CBothSuperpositions = 3;  // superposition kinds {0, 1}

// A unit's section box moved so that its centre x is its "Offset" and its bottom its "BottomElev".
TVRMBox2d PlacedBox(const IQTKElementDrawObj* unit)
{
    TVRMBox2d box = unit->GetShape()->GetPolygon().Box();
    if (box.IsEmpty())
        return box;
    const IPropValues* props = unit->GetPropValues();
    const double dx = EdoPropValueFloat(props, "Offset") - (box.min.x + box.max.x) / 2.0;
    const double dy = EdoPropValueFloat(props, "BottomElev") - box.min.y;
    return TVRMBox2d({box.min.x + dx, box.min.y + dy}, {box.max.x + dx, box.max.y + dy});
}

bool HasHollow(const IQTKTrenchCalcEDO* trench)
{
    const TVRMPolyhedron3d* hollow = trench ? const_cast<IQTKTrenchCalcEDO*>(trench)->GetHoleSolid() : nullptr;
    return hollow && std::abs(hollow->GetVolume()) > CVRMEpsilon;
}

double WholeHeight(IQTKTrenchCalcEDO& trench)
{
    const TVRMPolyhedron3d* whole = trench.GetWholeSolid();
    if (!whole || !whole->HasFaces())
        return 0.0;
    const TVRMBox3d box = whole->GetBox();
    return box.max.z - box.min.z;
}

bool IsConnectedAtAnEnd(IQTKTrenchCalcEDO& trench)
{
    return trench.GetConnectedTrenches(true) == 2 || trench.GetConnectedTrenches(false) == 2;
}

}  // namespace

struct TQTKTrenchUnitCalcEDO::TLayout {
    TVRMCustomLine2d unit, left, right;
    TVRMMultiPolygon2d plan;
};

TQTKTrenchUnitCalcEDO::TQTKTrenchUnitCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj)
{
}

TQTKTrenchUnitCalcEDO::~TQTKTrenchUnitCalcEDO() = default;

RecordRef TQTKTrenchUnitCalcEDO::GetTrenchRecord()
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    if (IRDXRecord* owner = GetOwnerRecord(drawObj->GetRecord()))
        return RecordRef(owner);
    return RecordRef(drawObj->GetParentRecord());
}

Ref<IQTKTrenchCalcEDO> TQTKTrenchUnitCalcEDO::Trench(bool prepared)
{
    const RecordRef trench = GetTrenchRecord();
    return trench ? RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(trench, prepared)) : nullptr;
}

// ---------------------------------------------------------------------------
// Laying the unit along its trench

std::unique_ptr<TQTKTrenchUnitCalcEDO::TLayout> TQTKTrenchUnitCalcEDO::BuildLayout()
{
    auto layout = std::make_unique<TLayout>();
    const Ref<IQTKTrenchCalcEDO> trench = Trench();
    if (!trench)
        return layout;
    double p = 0.0, wu = 0.0;
    GetUnitWidthAndOffset(GetElementDrawObj(), p, wu, trench->GetSectionMinOffset());
    const IPropValues* props = trench->GetElementDrawObj()->GetPropValues();
    const double width = EdoPropValueFloat(props, "Width"), axisOffset = EdoPropValueFloat(props, "AxisOffset");
    layout->unit = trench->GetUnitAxisLine(p - wu / 2.0, width, axisOffset);
    layout->left = trench->GetUnitAxisLine(p, width, axisOffset);
    layout->right = trench->GetUnitAxisLine(p - wu, width, axisOffset);
    layout->plan.Add(CreatePolygonFromLines(layout->left, layout->right));
    return layout;
}

const TQTKTrenchUnitCalcEDO::TLayout& TQTKTrenchUnitCalcEDO::Layout()
{
    {
        std::lock_guard guard(DataLock());
        if (layout_)
            return *layout_;
    }
    std::unique_ptr<TLayout> layout = BuildLayout();  // asks the trench: no lock held
    std::lock_guard guard(DataLock());
    if (!layout_)
        layout_ = std::move(layout);
    return *layout_;
}

const TVRMCustomLine2d* TQTKTrenchUnitCalcEDO::GetUnitLine()
{
    return &Layout().unit;
}

const TVRMCustomLine2d* TQTKTrenchUnitCalcEDO::GetLeftLine()
{
    return &Layout().left;
}

const TVRMCustomLine2d* TQTKTrenchUnitCalcEDO::GetRightLine()
{
    return &Layout().right;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKTrenchUnitCalcEDO::BuildOriginalPolyhedron()
{
    if (const Ref<IQTKTrenchCalcEDO> trench = Trench())
        return trench->BuildSectionSolid(GetElementDrawObj()->GetRecord());
    return TQTKCalculatorEDO::BuildOriginalPolyhedron();
}

void TQTKTrenchUnitCalcEDO::RebuildFromParent()
{
    std::unique_ptr<TLayout> layout = BuildLayout();
    {
        std::lock_guard guard(DataLock());
        if (layout_)
            retired_.push_back(std::move(layout_));
        layout_ = std::move(layout);
    }
    std::unique_ptr<TVRMPolyhedron3d> solid = BuildOriginalPolyhedron();
    int start = -1, end = -1;
    if (const Ref<IQTKTrenchCalcEDO> trench = Trench(); trench && solid && solid->HasFaces()) {
        start = solid->MergeFace(*trench->GetLeftLine(), *trench->GetRightLine(), true);
        end = solid->MergeFace(*trench->GetLeftLine(), *trench->GetRightLine(), false);
    }
    ReplaceOriginalPolyhedronKeepingOld(std::move(solid));
    startFace_.store(start);
    endFace_.store(end);
}

void TQTKTrenchUnitCalcEDO::Prepare(IRDXRecord* record)
{
    startFace_.store(-1);
    endFace_.store(-1);
    TQTKCalculatorEDO::Prepare(record);
    RebuildFromParent();
}

std::vector<int> TQTKTrenchUnitCalcEDO::GetFreeHeadFaceIndexes()
{
    std::vector<int> faces;
    for (const int face : {GetStartFaceIndex(), GetEndFaceIndex()})
        if (face >= 0)
            faces.push_back(face);
    return faces;
}

// ---------------------------------------------------------------------------
// Solids and shells

const TVRMPolyhedron3d* TQTKTrenchUnitCalcEDO::GetDeductedSolid()
{
    {
        std::lock_guard guard(DataLock());
        if (deducted_)
            return deducted_.get();
    }
    // The unit's solid lives in an evictable cache: hold it while in use.
    const Ref<IQTKPolyhedron3dIntf> holder = GetOriginalPolyhedronIntf();
    const TVRMPolyhedron3d* own = holder ? holder->GetPolyhedron() : nullptr;
    auto solid = own ? own->Clone() : std::make_unique<TVRMPolyhedron3d>();
    if (const Ref<IQTKTrenchCalcEDO> trench = Trench(true)) {
        TRecordList related;
        trench->GetRelatedByType(CTrenchType, &related);
        for (const RecordRef& record : related) {
            const Ref<IQTKTrenchCalcEDO> other = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(record, true));
            const TVRMPolyhedron3d* hollow = other ? other->GetHoleSolid() : nullptr;
            if (hollow && solid->HasFaces())
                TVRMNewPolyBooleanOperator::BooleanOperate(*solid, *hollow, CVRMBoolSubtract);
        }
    }
    std::lock_guard guard(DataLock());
    if (!deducted_)
        deducted_ = std::move(solid);
    return deducted_.get();
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchUnitCalcEDO::PlasteredFaces(std::uint8_t codes)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    const Ref<IQTKTrenchCalcEDO> trench = Trench(true);
    const Ref<IQTKPolyhedron3dIntf> holder = GetOriginalPolyhedronIntf();
    const TVRMPolyhedron3d* own = holder ? holder->GetPolyhedron() : nullptr;
    if (!trench || !own || !own->HasFaces())
        return shell;
    if (!HasHollow(trench.get())) {
        if (codes == 0)
            return shell;
        std::vector<int> faces;
        GetFaceIndicesByDirection(*own, *GetUnitLine(), codes, faces, GetFreeHeadFaceIndexes(), CFaceAngle);
        return std::make_unique<TVRMPolyhedronShell3d>(*own, faces);
    }
    // The hollow's faces lying on the unit, and those of the hollow beyond
    // the trench's end cuts (opened into another trench's side wall) that
    // the unit borders along an edge, turned to face out of the unit.
    const TVRMPolyhedron3d& hollow = *trench->GetHoleSolid();
    std::vector<int> all(hollow.GetFaceCount());
    for (int i = 0; i < hollow.GetFaceCount(); ++i)
        all[i] = i;
    const TVRMPolyhedronShell3d faces(hollow, all);
    shell = faces.Clone();
    shell->Intersect(*own, CBothSuperpositions);
    const std::unique_ptr<TVRMPolyhedron3d> within =
        TVRMPolyhedron3d::BuildCutPolyhedron(*trench->GetLeftLine(), *trench->GetRightLine(), hollow.GetBox());
    TVRMPolyhedronShell3d beyond(faces);
    if (within && within->HasFaces())
        beyond.Subtract(*within, CBothSuperpositions);
    for (const TVRMFace3d& face : beyond.GetFaces()) {
        TVRMPolyhedronLines3d edges;
        edges.AddFaceEdges(face);
        edges.Intersect(*own);
        if (edges.GetLength() > CVRMEpsilon)
            shell->AddFace(face);
    }
    shell->Negate();
    return shell;
}

bool TQTKTrenchUnitCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    const IRDXRecord* otherOwner = GetOwnerRecord(record);
    const RecordRef own = GetTrenchRecord();
    if (otherOwner && own && otherOwner == own.get())
        return false;
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    if (other && own && other->GetParentRecord() == own.get() && other->GetElementTypeID() == CTrenchUnitType)
        return false;
    if (own)
        if (const Ref<IQTKCalculatorEDO> trench = GetCalcEDO(own, false))
            return trench->IsIntersectWith(record);
    return TQTKCalculatorEDO::IsIntersectWith(record);
}

void TQTKTrenchUnitCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    std::shared_ptr<TQTKSolidCalc3d> volume;
    std::shared_ptr<TQTKShellCalc3d> formboard, plastering;
    std::lock_guard guard(DataLock());
    std::swap(volume, volumeCalc_);
    std::swap(formboard, formboard_);
    std::swap(plastering, plastering_);
}

void TQTKTrenchUnitCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (qtyRecord && (qtyRecord->GetID() == 580 || qtyRecord->GetID() == 634) && IsDeductDetailEmpty())
        AddOriginalSolidDetail(qtyRecord);
}

// ---------------------------------------------------------------------------
// Bottom board

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchBottomBoardCalcEDO::BuildPlasteringShell()
{
    return PlasteredFaces(MakeFaceCodeSet({CQTKFaceDirTop}));
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchBottomBoardCalcEDO::GetFreeHeadFormboardShell(int)
{
    return std::make_unique<TVRMPolyhedronShell3d>();
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchBottomBoardCalcEDO::GetFreeHeadPlasteringShell(int)
{
    return std::make_unique<TVRMPolyhedronShell3d>();
}

std::uint8_t TQTKTrenchBottomBoardCalcEDO::IsFreeHeadOf(IRDXRecord* trench)
{
    const Ref<IQTKTrenchCalcEDO> own = Trench(true);
    const Ref<IQTKTrenchCalcEDO> other = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(trench, true));
    auto* ownInfo = dynamic_cast<IQTKLineEdoInfo*>(own.get());
    auto* otherInfo = dynamic_cast<IQTKLineEdoInfo*>(other.get());
    if (!ownInfo || !otherInfo)
        return 0;
    const bool ownConnected = IsConnectedAtAnEnd(*own), otherConnected = IsConnectedAtAnEnd(*other);
    const double h = WholeHeight(*own), hOther = WholeHeight(*other);
    const bool lower = h < hOther - CVRMEpsilon, notHigher = h <= hOther + CVRMEpsilon;
    switch (IntersectShape(ownInfo, otherInfo, 127)) {
        case 0:
            return 0;
        case 1:
        case 2:
        case 3:
        case 12:
        case 13:
        case 14:
            if (ownConnected && !otherConnected)
                return lower ? 2 : 0;
            return !ownConnected && otherConnected ? 2 : 0;
        case 4:
            return (otherConnected ? notHigher : lower) ? 2 : 0;
        case 5:
        case 6:
        case 11:
            return !ownConnected || lower ? 2 : 0;
        case 7:
            return lower ? 2 : 0;
        default:
            return notHigher ? 2 : 0;
    }
}

// ---------------------------------------------------------------------------
// Side wall

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchSideWallCalcEDO::BuildPlasteringShell()
{
    switch (GetFreeHeadKind()) {
        case 0:
            return PlasteredFaces(MakeFaceCodeSet({CQTKFaceDirRight}));
        case 1:
            return PlasteredFaces(MakeFaceCodeSet({CQTKFaceDirLeft}));
        case 2:
            return PlasteredFaces(MakeFaceCodeSet({CQTKFaceDirLeft, CQTKFaceDirRight}));
        default:
            return PlasteredFaces(0);
    }
}

std::vector<int> TQTKTrenchSideWallCalcEDO::GetFreeHeadFaceIndexes()
{
    std::vector<int> faces;
    const Ref<IQTKTrenchCalcEDO> trench = Trench(true);
    auto* provider = dynamic_cast<IQTKLineEdoInfoProvider*>(trench.get());
    const Ref<IQTKConnectedEdoIDInfo> info = provider ? provider->GetConnectedEdoIDInfo() : nullptr;
    if (!info)
        return faces;
    const int key = trench->GetElementDrawObj()->GetRecord()->GetID();
    if (GetStartFaceIndex() >= 0 && info->IsStartConnected(key))
        faces.push_back(GetStartFaceIndex());
    if (GetEndFaceIndex() >= 0 && info->IsEndConnected(key))
        faces.push_back(GetEndFaceIndex());
    return faces;
}

int TQTKTrenchSideWallCalcEDO::GetFreeHeadKind()
{
    int kind = kind_.load();
    if (kind == -2) {
        int expected = -2;
        kind_.compare_exchange_strong(expected, ComputeFreeHeadKind());
        kind = kind_.load();
    }
    return kind;
}

// Leftmost: no other side wall of its material rank starts further left
// (then lower, then a smaller record id wins); rightmost the mirror (its
// right face compared). Walls of a lower rank do not count; one of a higher
// rank takes the free heads from it.
int TQTKTrenchSideWallCalcEDO::ComputeFreeHeadKind()
{
    const IQTKElementDrawObj* own = GetElementDrawObj();
    const RecordRef trench = GetTrenchRecord();
    if (!trench)
        return -1;
    const TVRMBox2d o = PlacedBox(own);
    const int ownId = own->GetRecord()->GetID();
    bool leftmost = true, rightmost = true;
    for (const RecordRef& record : GetCompositeUnitRecords(trench.get())) {
        const IQTKElementDrawObj* other = GetRecordDrawObj(record.get());
        if (!other || other == own || other->GetElementTypeID() != CTrenchUnitType ||
            EdoPropValueInteger(other->GetPropValues(), "Type") != 1)
            continue;
        const int rank = CompareMaterialRank(own, other);
        if (rank > 0) {
            leftmost = rightmost = false;
            break;
        }
        if (rank < 0)
            continue;
        const TVRMBox2d q = PlacedBox(other);
        const bool smallerId = ownId < record->GetID();
        const auto decide = [&](double ownX, double otherX, bool further) {
            if (SameValue(ownX, otherX))
                return SameValue(o.min.y, q.min.y) ? smallerId : !(o.min.y > q.min.y);
            return !further;
        };
        if (leftmost)
            leftmost = decide(o.min.x, q.min.x, o.min.x > q.min.x);
        if (rightmost)
            rightmost = decide(o.max.x, q.max.x, o.max.x < q.max.x);
    }
    return leftmost && rightmost ? 2 : leftmost ? 0 : rightmost ? 1 : -1;
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchSideWallCalcEDO::GetFreeHeadFormboardShell(int kind)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    const Ref<IQTKTrenchCalcEDO> trench = Trench(true);
    if (!trench)
        return shell;
    const auto add = [&](const TVRMPolyhedron3d* head, bool lastFirst) {
        if (!head || head->GetFaceCount() <= 1)
            return;
        const int n = head->GetFaceCount();
        shell->AddFace(head->GetFace(lastFirst ? n - 1 : n - 2));
        shell->AddFace(head->GetFace(lastFirst ? n - 2 : n - 1));
    };
    if (kind == 0 || kind == 2)
        add(trench->GetStartFreeHeadSolid(), false);
    if (kind == 1 || kind == 2)
        add(trench->GetEndFreeHeadSolid(), true);
    return shell;
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchSideWallCalcEDO::GetFreeHeadPlasteringShell(int kind)
{
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    const Ref<IQTKTrenchCalcEDO> trench = Trench(true);
    if (!trench)
        return shell;
    const auto addLast = [&](const TVRMPolyhedron3d* head) {
        if (head && head->GetFaceCount() > 1)
            shell->AddFace(head->GetFace(head->GetFaceCount() - 1));
    };
    if (kind == 0 || kind == 2)
        addLast(trench->GetStartFreeHeadSolid());
    if (kind == 1 || kind == 2)
        addLast(trench->GetEndFreeHeadSolid());
    if (!shell->HasFaces())
        return shell;
    // Less the middle side walls standing in the hollow's ends.
    for (const RecordRef& record : GetCompositeUnitRecords(GetTrenchRecord().get())) {
        const Ref<IQTKTrenchUnitCalcEDO> unit = RefCast<IQTKTrenchUnitCalcEDO>(GetCalcEDO(record, true));
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record.get());
        if (!unit || !drawObj || EdoPropValueInteger(drawObj->GetPropValues(), "Type") != 1 ||
            unit->GetFreeHeadKind() != -1)
            continue;
        if (const TVRMPolyhedron3d* solid = unit->GetDeductedSolid(); solid && solid->HasFaces())
            shell->Subtract(*solid, CBothSuperpositions);
    }
    return shell;
}

// ---------------------------------------------------------------------------
// Cover board

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchCoverBoardCalcEDO::BuildPlasteringShell()
{
    return std::make_unique<TVRMPolyhedronShell3d>();
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchCoverBoardCalcEDO::GetFreeHeadFormboardShell(int)
{
    return std::make_unique<TVRMPolyhedronShell3d>();
}

std::unique_ptr<TVRMPolyhedronShell3d> TQTKTrenchCoverBoardCalcEDO::GetFreeHeadPlasteringShell(int)
{
    return std::make_unique<TVRMPolyhedronShell3d>();
}

Ref<IQTKCalculatorEDO> CreateTrenchUnitEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
{
    switch (EdoPropValueInteger(drawObj->GetPropValues(), "Type")) {
        case 0:
            return Ref<IQTKCalculatorEDO>(new TQTKTrenchBottomBoardCalcEDO(mode, drawObj));
        case 1:
            return Ref<IQTKCalculatorEDO>(new TQTKTrenchSideWallCalcEDO(mode, drawObj));
        default:
            return Ref<IQTKCalculatorEDO>(new TQTKTrenchCoverBoardCalcEDO(mode, drawObj));
    }
}
