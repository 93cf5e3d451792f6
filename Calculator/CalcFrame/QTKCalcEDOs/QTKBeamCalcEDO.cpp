#include "Calculator/CalcFrame/QTKCalcEDOs/QTKBeamCalcEDO.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKBeamBrickMoldBuilder.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"

namespace {

constexpr char CProjectionError[] = "计算梁在墙上的投影错误";
constexpr int CBeamType = 15;

// Faces whose box centre lies above (Above) or not above the solid's box centre.
std::vector<int> FacesByHeight(const TVRMPolyhedron3d& solid, const std::vector<int>& faces, bool above)
{
    const TVRMBox3d box = solid.GetBox();
    const double centre = (box.min.z + box.max.z) / 2.0;
    std::vector<int> kept;
    for (int f : faces) {
        const TVRMBox3d faceBox = solid.GetFace(f).GetBox();
        if (((faceBox.min.z + faceBox.max.z) / 2.0 > centre) == above)
            kept.push_back(f);
    }
    return kept;
}

}  // namespace

TQTKBeamCalcEDO::TQTKBeamCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKHasSectionInfoLineEntCalcEDO(mode, drawObj)
{
    for (int i = 0; i < 3; ++i)
        typeLevels_[static_cast<size_t>(i)] = GetTypeLevel(drawObj, i);
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    const IQTKLineShape* shape = LineShape();
    sectionHeight_ = EdoPropValueFloat(props, "SectionHeight");
    // A beam without "SectionWidth" keeps its shape's width.
    sectionWidth_ = EdoPropValueFloat(props, "SectionWidth", shape ? shape->GetWidth() : 0.0);
    shapeHasArc_ = drawObj && ShapeHasArc(drawObj);
}

TQTKBeamCalcEDO::~TQTKBeamCalcEDO() = default;

TQTKElementTypeSet TQTKBeamCalcEDO::GetConnectElementTypes()
{
    return MakeElementTypeSet({15, 17, 18, 47});
}

// ---------------------------------------------------------------------------
// Settings and caches

void TQTKBeamCalcEDO::ClearQtyItems()
{
    TQTKHasSectionInfoLineEntCalcEDO::ClearQtyItems();
    IRDXRecord* settings = GetSettingRow(GetCalculatorSetting(), "QTKBeamCalcSettings");
    formboardAngle_.store(FieldValueFloat(settings, "BeamFormboardAngle", 0.0));
    archTopFormboard_.store(FieldValueInteger(settings, "ArchBeamFormboardMethod", 0) == 1);
}

void TQTKBeamCalcEDO::FreeCalcCache()
{
    TQTKHasSectionInfoLineEntCalcEDO::FreeCalcCache();
    std::lock_guard guard(calcLock_);
    volumeCalc_.reset();
    formboardCalc_.reset();
    sideFaceCalc_.reset();
    deductLines_.reset();
    overhighVolumeCalc_.reset();
    overhighFormboardCalc_.reset();
    overhighValues_.reset();
    formboardShell_.reset();
    finishCalc_.reset();
    finishShell_.reset();
    blockFinishCalc_.reset();
    blockFinishShell_.reset();
    mergedSolidCalc_.reset();
    archSolid_.reset();
    archEndFaces_.clear();
    archBuilt_ = false;
}

void TQTKBeamCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKHasSectionInfoLineEntCalcEDO::FillDeductDetail(qtyRecord);
    if (!qtyRecord || !IsDeductDetailEmpty())
        return;
    switch (qtyRecord->GetID()) {
        case 63:
        case 255:
        case 380:
        case 397:
        case 625:
        case 626:
        case 627:
        case 629:
            GetVolumeCalc();
            break;
        case 64:
        case 256:
        case 381:
        case 398:
            GetFormboardShellCalc();
            break;
        case 66:
        case 258:
        case 382:
            GetOverhighVolumeCalc();
            break;
        case 67:
        case 259:
        case 383:
            GetOverhighFormboardCalc();
            break;
        case 70:
        case 261:
        case 385:
            GetDeductPolyhedronLines();
            break;
        case 814:
        case 815:
            GetFinishShellCalc();
            break;
        default:
            AddOriginalSolidDetail(qtyRecord);
            break;
    }
}

// ---------------------------------------------------------------------------
// Solids

std::unique_ptr<TVRMPolyhedron3d> TQTKBeamCalcEDO::BuildSolid()
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const TVRMCustomLine2d& line = *GetExtendedMidLine();
    // The solids are built on the middle line: the section is centred on it.
    const double width = GetWidth();
    if (IsArchDrawObj(drawObj))
        return TQTKSolidBuilder::BuildArchBeamSolid(drawObj, line, width / 2.0, width);
    if (IsHaunchedBeamDrawObj(drawObj))
        return TQTKSolidBuilder::BuildSolidAlongLine(drawObj, line);
    if (IsGradientBeamDrawObj(drawObj))
        return TQTKSolidBuilder::BuildGradientBeamSolid(drawObj, line, width / 2.0, width);
    return TQTKHasSectionInfoLineEntCalcEDO::BuildSolid();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKBeamCalcEDO::CreateSolid()
{
    auto solid = TQTKHasSectionInfoLineEntCalcEDO::CreateSolid();
    if (solid && solid->HasFaces() && IsHaunchedBeamDrawObj(GetElementDrawObj()))
        return TQTKSolidBuilder::BuildHaunchedBeamSolid(this, *solid);
    return solid;
}

void TQTKBeamCalcEDO::CalcExtendLength(double& startExt, double& endExt)
{
    startExt = endExt = 0.0;
    if (IsMidlineConnectable())
        TQTKHasSectionInfoLineEntCalcEDO::CalcExtendLength(startExt, endExt);
}

const TVRMPolyhedron3d& TQTKBeamCalcEDO::OriginalSolid()
{
    static const TVRMPolyhedron3d empty;
    const TVRMPolyhedron3d* solid = GetOriginalPolyhedron();
    return solid ? *solid : empty;
}

const TVRMPolyhedron3d* TQTKBeamCalcEDO::GetArchSolid()
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    if (!IsHaunchedBeamDrawObj(drawObj))
        return nullptr;
    {
        std::lock_guard guard(calcLock_);
        if (archBuilt_)
            return archSolid_.get();
    }
    const TVRMCustomLine2d left = *GetLeftLine(), right = *GetRightLine();
    auto solid = TQTKSolidBuilder::BuildSolidAlongLine(drawObj, *GetExtendedMidLine());
    if (!solid)
        solid = std::make_unique<TVRMPolyhedron3d>();
    std::vector<int> ends;
    if (solid->HasFaces()) {
        TVRMNewPolyBooleanOperator::Cut(*solid, left, right);
        const int start = solid->MergeFace(left, right, true);
        const int end = solid->MergeFace(left, right, false);
        for (int face : {start, end})
            if (face != -1)
                ends.push_back(face);
    }
    std::lock_guard guard(calcLock_);
    if (!archBuilt_) {
        archSolid_ = std::move(solid);
        archEndFaces_ = std::move(ends);
        archBuilt_ = true;
    }
    return archSolid_.get();
}

const TVRMPolyhedron3d& TQTKBeamCalcEDO::GetFaceSolid()
{
    if (useArchSolid_.load())
        if (const TVRMPolyhedron3d* arch = GetArchSolid())
            return *arch;
    return OriginalSolid();
}

TVRMPolyhedron3d* TQTKBeamCalcEDO::GetMergedSolid()
{
    {
        std::lock_guard guard(calcLock_);
        if (brickMold_)
            return brickMold_.get();
    }
    auto mold = BuildBrickMold();
    if (!mold)
        mold = std::make_unique<TVRMPolyhedron3d>();
    std::lock_guard guard(calcLock_);
    if (!brickMold_)
        brickMold_ = std::move(mold);
    return brickMold_.get();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKBeamCalcEDO::BuildBrickMold()
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const IQTKLineShape* shape = LineShape();
    if (!drawObj->HasSubSolids() || !shape)
        return nullptr;
    const double t = EdoPropValueInteger(drawObj->GetPropValues(), "BrickMoldThickness");
    const double width = GetWidth();
    const TVRMCustomLine2d& line = *GetExtendedMidLine();
    const auto offset = [&line](double d) {
        TVRMCustomLine2d moved;
        return TVRMOffsetFunc2d::Offset(line, d, moved) ? moved : line;
    };
    auto solids = BuildBeamBrickMoldPolyHedron(
        offset(-width / 2.0), offset(width / 2.0), t, shape->GetBottomElevAt(line.StartPt()),
        shape->GetTopElevAt(line.StartPt()), shape->GetBottomElevAt(line.EndPt()), shape->GetTopElevAt(line.EndPt()));
    if (solids.empty())
        return nullptr;
    std::unique_ptr<TVRMPolyhedron3d> mold = std::move(solids.front());
    for (size_t i = 1; i < solids.size(); ++i)
        TVRMNewPolyBooleanOperator::BooleanOperate(*mold, *solids[i], CVRMBoolUnion);
    // Ended where the faces the mould stands against end: the attach-face
    // lines (brought out to the axis's ends where the axis reaches past both),
    // carried out to the mould's outer faces.
    const TVRMCustomLine2d* leftFace = GetAttachWallFaceLeftLine();
    const TVRMCustomLine2d* rightFace = GetAttachWallFaceRightLine();
    if (!leftFace || !rightFace || !(shape->GetWidth() > CVRMEpsilon))
        return mold;
    TVRMCustomLine2d a = *leftFace, b = *rightFace;
    const TVRMCustomLine2d& axis = shape->GetLine();
    if (a.LengthAtPoint(axis.StartPt()) < 0.0 && b.LengthAtPoint(axis.StartPt()) < 0.0) {
        a.SetStartPt(TVRMPositionFunc2d::ClosestPointTo(axis.StartPt(), a, false));
        b.SetStartPt(TVRMPositionFunc2d::ClosestPointTo(axis.StartPt(), b, false));
    }
    if (a.Length() < a.LengthAtPoint(axis.EndPt()) && b.Length() < b.LengthAtPoint(axis.EndPt())) {
        a.SetEndPt(TVRMPositionFunc2d::ClosestPointTo(axis.EndPt(), a, false));
        b.SetEndPt(TVRMPositionFunc2d::ClosestPointTo(axis.EndPt(), b, false));
    }
    const double k = t / shape->GetWidth();
    const auto beyond = [k](const TVRMPoint2d& p, const TVRMPoint2d& q) {
        return TVRMPoint2d{(1 + k) * p.x - k * q.x, (1 + k) * p.y - k * q.y};
    };
    const TVRMCustomLine2d leftTrim = TVRMPositionFunc2d::SubSeg(
        offset(-(t + width / 2.0)), beyond(a.StartPt(), b.StartPt()), beyond(a.EndPt(), b.EndPt()));
    const TVRMCustomLine2d rightTrim = TVRMPositionFunc2d::SubSeg(
        offset(width / 2.0 + t), beyond(b.StartPt(), a.StartPt()), beyond(b.EndPt(), a.EndPt()));
    TVRMNewPolyBooleanOperator::Cut(*mold, leftTrim, rightTrim);
    return mold;
}

// ---------------------------------------------------------------------------
// Face classification

// Rises at least as steeply as the formwork angle. A level beam never does
// (without the setting, angle 0, every beam would).
bool TQTKBeamCalcEDO::IsSteep()
{
    const double angle = GetFormboardAngle();
    const double rate = GetLengthRate();
    if (SameValue(angle, 90.0) || !GreaterThan(rate, 1.0))
        return false;
    return GreaterEqualThan(rate, 1.0 / std::cos(angle * CVRMPi / 180.0));
}

std::vector<int> TQTKBeamCalcEDO::FacesByCodes(const TVRMPolyhedron3d& solid, int code, double angle)
{
    std::vector<int> faces;
    const std::vector<int> skip = GetActualEndFaceIndexes();
    const TVRMCustomLine2d& mid = *GetMidLine();
    if (IsArchDrawObj(GetElementDrawObj()))
        GetInclinedFaceIndices(GetElementDrawObj(), solid, mid, MakeFaceCodeSet({code}), skip, faces);
    else
        GetFaceIndicesByDirection(solid, mid, MakeFaceCodeSet({code}), faces, skip, angle);
    return faces;
}

std::vector<int> TQTKBeamCalcEDO::GetActualEndFaceIndexes()
{
    if (!useArchSolid_.load() || !GetArchSolid())
        return GetEndFaceIndexes();
    std::lock_guard guard(calcLock_);
    return archEndFaces_;
}

std::vector<int> TQTKBeamCalcEDO::GetLeftSideFaceIndexes()
{
    return FacesByCodes(GetFaceSolid(), CQTKFaceDirLeft, GetFormboardAngle());
}

std::vector<int> TQTKBeamCalcEDO::GetRightSideFaceIndexes()
{
    return FacesByCodes(GetFaceSolid(), CQTKFaceDirRight, GetFormboardAngle());
}

std::vector<int> TQTKBeamCalcEDO::GetBottomFaceIndexes()
{
    const TVRMPolyhedron3d& solid = GetFaceSolid();
    if (IsArchDrawObj(GetElementDrawObj()) || !IsSteep())
        return FacesByCodes(solid, CQTKFaceDirBottom, GetFormboardAngle());
    const double rate = GetLengthRate();
    if (GreaterEqualThan(rate, std::sqrt(2.0)))
        return FacesByCodes(solid, CQTKFaceDirAlong, 45.0);
    return FacesByCodes(solid, CQTKFaceDirBottom, GreaterThan(rate, 1.0) ? 45.0 : GetFormboardAngle());
}

std::vector<int> TQTKBeamCalcEDO::GetTopFaceIndexes(bool onlySteep)
{
    const TVRMPolyhedron3d& solid = GetFaceSolid();
    if (IsArchDrawObj(GetElementDrawObj()))
        return GetArchTopFormboard() ? FacesByCodes(solid, CQTKFaceDirTop, GetFormboardAngle()) : std::vector<int>();
    if (IsSteep())
        return GreaterEqualThan(GetLengthRate(), std::sqrt(2.0)) ? std::vector<int>()
                                                                 : FacesByCodes(solid, CQTKFaceDirTop, 45.0);
    return onlySteep ? std::vector<int>() : FacesByCodes(solid, CQTKFaceDirTop, GetFormboardAngle());
}

// ---------------------------------------------------------------------------
// Formwork

double TQTKBeamCalcEDO::AppendToFormboardShell(const TVRMPolyhedronShell3d& shell)
{
    std::lock_guard guard(calcLock_);
    if (!formboardShell_)
        formboardShell_ = std::make_unique<TVRMPolyhedronShell3d>();
    const double before = formboardShell_->GetArea();
    for (const TVRMFace3d& face : shell.GetFaces())
        formboardShell_->AddFace(face);
    return formboardShell_->GetArea() - before;
}

double TQTKBeamCalcEDO::AddFaces(const std::vector<int>& faces)
{
    return AppendToFormboardShell(TVRMPolyhedronShell3d(GetFaceSolid(), faces));
}

const TVRMPolyhedronShell3d* TQTKBeamCalcEDO::GetFormboardShell()
{
    std::lock_guard guard(calcLock_);
    return formboardShell_.get();
}

double TQTKBeamCalcEDO::AddLeftSideFormboard()
{
    return AddFaces(GetLeftSideFaceIndexes());
}

double TQTKBeamCalcEDO::AddRightSideFormboard()
{
    return AddFaces(GetRightSideFaceIndexes());
}

double TQTKBeamCalcEDO::AddBottomFormboard()
{
    return AddFaces(GetBottomFaceIndexes());
}

double TQTKBeamCalcEDO::AddTopFormboard()
{
    return AddFaces(GetTopFaceIndexes(true));
}

double TQTKBeamCalcEDO::GetEndFormboardArea()
{
    TVRMPolyhedronShell3d ends(GetFaceSolid(), GetActualEndFaceIndexes());
    if (!ends.HasFaces())
        return 0.0;
    TRecordList related;
    GetRelatedByTypes(MakeElementTypeSet({15, 17, 18, 47}), &related);
    for (const RecordRef& other : related) {
        IQTKElementDrawObj* otherDrawObj = GetRecordDrawObj(other.get());
        if (!otherDrawObj || !IsConcreteElement(otherDrawObj))
            continue;
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(other, true);
        const Ref<IQTKPolyhedron3dIntf> solid = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
        if (!solid)
            continue;
        const int kinds = CompareFormboardPriority(GetRecord(), other.get(), GetCalculatorSetting()) < 0 ? 3 : 1;
        ends.Subtract(*solid->GetPolyhedron(), kinds);
    }
    const double area = ends.GetArea();
    AppendToFormboardShell(ends);
    return area;
}

std::vector<int> TQTKBeamCalcEDO::HaunchFormboardFaces(const TVRMPolyhedron3d& haunches)
{
    std::vector<int> faces;
    for (int i = 0; i < haunches.GetFaceCount(); ++i)
        if (!SameValue(haunches.GetFace(i).GetNormal().z, 1.0))
            faces.push_back(i);
    return faces;
}

double TQTKBeamCalcEDO::CalcHaunchedFormboardArea(double& deducted)
{
    deducted = 0.0;
    {
        std::lock_guard guard(calcLock_);
        if (!formboardShell_)
            formboardShell_ = std::make_unique<TVRMPolyhedronShell3d>();
    }
    const TVRMPolyhedron3d* arch = GetArchSolid();
    QTK_ASSERT(arch != nullptr);
    auto haunches = OriginalSolid().Clone();
    TVRMNewPolyBooleanOperator::BooleanOperate(*haunches, *arch, CVRMBoolSubtract);
    TVRMPolyhedronShell3d haunchFaces(*haunches, HaunchFormboardFaces(*haunches));
    if (GIsDetailMode)
        GetFormboardShellCalc();
    haunchFaces.Subtract(*arch, 3);
    std::lock_guard guard(calcLock_);
    const double before = formboardShell_->GetArea();
    formboardShell_->Subtract(*haunches, 3);
    deducted = before - formboardShell_->GetArea();
    if (GIsDetailMode && formboardCalc_) {
        formboardCalc_->Subtract(*haunches, GetRecord(), 3);
        formboardCalc_->AddShell(haunchFaces, GetRecord(), haunches.get());
    }
    for (const TVRMFace3d& face : haunchFaces.GetFaces())
        formboardShell_->AddFace(face);
    return formboardShell_->GetArea() - before;
}

// ---------------------------------------------------------------------------
// Finish side areas

std::vector<int> TQTKBeamCalcEDO::FinishSideFaces(int side)
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const bool arch = IsArchDrawObj(drawObj);
    const TVRMPolyhedron3d& solid = OriginalSolid();
    const std::vector<int> ends = GetEndFaceIndexes();
    const TVRMCustomLine2d& mid = *GetMidLine();
    auto byCodes = [&](TQTKFaceCodeSet codes) {
        std::vector<int> faces;
        if (arch)
            GetInclinedFaceIndices(drawObj, solid, mid, codes, ends, faces);
        else
            GetFaceIndicesByDirection(solid, mid, codes, faces, ends, GetFormboardAngle());
        return faces;
    };
    switch (side) {
        case 1:
            return byCodes(MakeFaceCodeSet({CQTKFaceDirLeft, CQTKFaceDirRight}));
        case 2: {
            if (arch)
                return byCodes(MakeFaceCodeSet({CQTKFaceDirTop}));
            const bool saved = useArchSolid_.exchange(false);
            std::vector<int> faces = GetTopFaceIndexes(false);
            useArchSolid_.store(saved);
            return IsSteep() ? FacesByHeight(solid, faces, true) : faces;
        }
        case 3: {
            if (arch)
                return byCodes(MakeFaceCodeSet({CQTKFaceDirBottom}));
            const bool saved = useArchSolid_.exchange(false);
            std::vector<int> faces = GetBottomFaceIndexes();
            useArchSolid_.store(saved);
            if (IsSteep())
                faces = FacesByHeight(solid, faces, false);
            if (IsHaunchedBeamDrawObj(drawObj)) {
                std::vector<int> along;
                GetFaceIndicesByDirection(solid, mid, MakeFaceCodeSet({CQTKFaceDirAlong}), along, ends,
                                          GetFormboardAngle());
                faces.insert(faces.end(), along.begin(), along.end());
            }
            return faces;
        }
        case 4:
            return ends;
        default:
            return {};
    }
}

double TQTKBeamCalcEDO::AddFinishSide(std::unique_ptr<TVRMPolyhedronShell3d>& shell, int side)
{
    const std::vector<int> faces = FinishSideFaces(side);
    if (faces.empty())
        return 0.0;
    TVRMPolyhedronShell3d selected(OriginalSolid(), faces);
    if (side == 4) {
        TRecordList beams;
        GetRelatedByType(CBeamType, &beams);
        for (const RecordRef& other : beams) {
            if (!IsCalcAloneBeamFinishQty(other.get()))
                continue;
            const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(other, true);
            const Ref<IQTKPolyhedron3dIntf> solid = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
            if (solid)
                selected.Subtract(*solid->GetPolyhedron(), IsLineEntCutBy(GetRecord(), other.get(), false) ? 3 : 1);
        }
    }
    std::lock_guard guard(calcLock_);
    if (!shell)
        shell = std::make_unique<TVRMPolyhedronShell3d>();
    const double before = shell->GetArea();
    for (const TVRMFace3d& face : selected.GetFaces())
        shell->AddFace(face);
    return shell->GetArea() - before;
}

double TQTKBeamCalcEDO::GetFinishSideArea(int side)
{
    return AddFinishSide(finishShell_, side);
}

double TQTKBeamCalcEDO::GetBlockFinishSideArea(int side)
{
    return AddFinishSide(blockFinishShell_, side);
}

// ---------------------------------------------------------------------------
// Calculators

std::unique_ptr<TQTKShellCalc3d> TQTKBeamCalcEDO::MakeShellCalc(std::unique_ptr<TVRMPolyhedronShell3d> shell)
{
    auto calc = std::make_unique<TQTKShellCalc3d>(std::move(shell), RecordRef(GetRecord()), 1.0);
    calc->SetIsArc(shapeHasArc_);
    return calc;
}

void TQTKBeamCalcEDO::CreateVolumeCalc(double factor)
{
    {
        std::lock_guard guard(calcLock_);
        if (volumeCalc_)
            return;
    }
    std::unique_ptr<TVRMPolyhedron3d> solid;
    if (const TVRMPolyhedron3d* arch = GetArchSolid())
        solid = arch->Clone();
    else if (GetUseAxisLength())
        solid = GetElementDrawObj()->BuildPolyhedron(true, nullptr);
    if (!solid)
        solid = OriginalSolid().Clone();
    auto calc = std::make_unique<TQTKSolidCalc3d>(std::move(solid), RecordRef(GetRecord()), factor);
    std::lock_guard guard(calcLock_);
    if (!volumeCalc_)
        volumeCalc_ = std::move(calc);
}

TQTKSolidCalc3d* TQTKBeamCalcEDO::GetVolumeCalc()
{
    CreateVolumeCalc(1.0);
    std::lock_guard guard(calcLock_);
    return volumeCalc_.get();
}

TQTKShellCalc3d* TQTKBeamCalcEDO::GetFormboardShellCalc()
{
    std::lock_guard guard(calcLock_);
    if (!formboardCalc_) {
        QTK_ASSERT(formboardShell_ != nullptr);
        formboardCalc_ = MakeShellCalc(formboardShell_->Clone());
    }
    return formboardCalc_.get();
}

void TQTKBeamCalcEDO::SetFormboardShellCalc(std::unique_ptr<TQTKShellCalc3d> calc)
{
    std::lock_guard guard(calcLock_);
    formboardCalc_ = std::move(calc);
}

TQTKShellCalc3d* TQTKBeamCalcEDO::GetSideFaceShellCalc()
{
    {
        std::lock_guard guard(calcLock_);
        if (sideFaceCalc_)
            return sideFaceCalc_.get();
    }
    std::vector<int> faces = FacesByCodes(OriginalSolid(), CQTKFaceDirLeft, GetFormboardAngle());
    const std::vector<int> right = FacesByCodes(OriginalSolid(), CQTKFaceDirRight, GetFormboardAngle());
    faces.insert(faces.end(), right.begin(), right.end());
    auto calc = MakeShellCalc(std::make_unique<TVRMPolyhedronShell3d>(OriginalSolid(), faces));
    std::lock_guard guard(calcLock_);
    if (!sideFaceCalc_)
        sideFaceCalc_ = std::move(calc);
    return sideFaceCalc_.get();
}

TQTKShellCalc3d* TQTKBeamCalcEDO::FinishCalc(std::unique_ptr<TQTKShellCalc3d>& calc,
                                             const std::unique_ptr<TVRMPolyhedronShell3d>& shell)
{
    std::lock_guard guard(calcLock_);
    if (!calc && shell)
        calc = MakeShellCalc(shell->Clone());
    return calc.get();
}

TQTKShellCalc3d* TQTKBeamCalcEDO::GetFinishShellCalc()
{
    return FinishCalc(finishCalc_, finishShell_);
}

TQTKShellCalc3d* TQTKBeamCalcEDO::GetBlockFinishShellCalc()
{
    return FinishCalc(blockFinishCalc_, blockFinishShell_);
}

TQTKSolidCalc3d* TQTKBeamCalcEDO::GetMergedSolidCalc()
{
    {
        std::lock_guard guard(calcLock_);
        if (mergedSolidCalc_)
            return mergedSolidCalc_.get();
    }
    const TVRMPolyhedron3d* merged = GetMergedSolid();
    auto calc = std::make_unique<TQTKSolidCalc3d>(merged ? merged->Clone() : std::make_unique<TVRMPolyhedron3d>(),
                                                  RecordRef(GetRecord()), 1.0);
    std::lock_guard guard(calcLock_);
    if (!mergedSolidCalc_)
        mergedSolidCalc_ = std::move(calc);
    return mergedSolidCalc_.get();
}

TQTKDeductPolyhedronLines* TQTKBeamCalcEDO::GetDeductPolyhedronLines()
{
    {
        std::lock_guard guard(calcLock_);
        if (deductLines_)
            return deductLines_.get();
    }
    auto lines = std::make_unique<TVRMPolyhedronLines3d>();
    double factor = 1.0;
    const IQTKLineShape* shape = LineShape();
    if (IsArchDrawObj(GetElementDrawObj())) {
        const TVRMPolyhedron3d& solid = OriginalSolid();
        for (int face : GetLeftSideFaceIndexes())
            lines->AddFaceEdges(solid.GetFace(face));
        for (int face : GetEndFaceIndexes())
            lines->Cut(solid.GetFace(face).GetPlane(), false);
        // Moved from the left face onto the middle of the section.
        const TVRMCustomLine2d& mid = *GetMidLine();
        const TVRMVector2d tangent = mid.StartDirection();
        const double scale = GetWidth() / 2.0;
        // The tangent turned clockwise: towards the right.
        lines->Move(TVRMVector3d{tangent.y * scale, -tangent.x * scale, 0.0});
        factor = 0.5;
    } else if (shape) {
        const TVRMCustomLine2d line = GetUseAxisLength() ? shape->GetLine() : *GetMidLine();
        const auto midHeight = [&](const TVRMPoint2d& p) {
            return (shape->GetTopElevAt(p) + shape->GetBottomElevAt(p)) / 2.0;
        };
        lines->AddLine(line, midHeight(line.StartPt()), midHeight(line.EndPt()));
    }
    auto deduct = std::make_unique<TQTKDeductPolyhedronLines>(std::move(lines), false, factor);
    std::lock_guard guard(calcLock_);
    if (!deductLines_)
        deductLines_ = std::move(deduct);
    return deductLines_.get();
}

TVRMOverhighSolidCalc3d* TQTKBeamCalcEDO::GetOverhighVolumeCalc()
{
    std::lock_guard guard(calcLock_);
    return overhighVolumeCalc_.get();
}

TVRMOverhighShellCalc3d* TQTKBeamCalcEDO::GetOverhighFormboardCalc()
{
    std::lock_guard guard(calcLock_);
    return overhighFormboardCalc_.get();
}

TFloatList* TQTKBeamCalcEDO::GetOverhighValueList()
{
    std::lock_guard guard(calcLock_);
    return overhighValues_.get();
}

void TQTKBeamCalcEDO::SetOverhighValueList(std::unique_ptr<TFloatList> list)
{
    std::lock_guard guard(calcLock_);
    overhighValues_ = std::move(list);
}

void TQTKBeamCalcEDO::SetOverhighFormboardCalc(std::unique_ptr<TVRMOverhighShellCalc3d> calc)
{
    std::lock_guard guard(calcLock_);
    overhighFormboardCalc_ = std::move(calc);
}

void TQTKBeamCalcEDO::SetOverhighVolumeCalc(std::unique_ptr<TVRMOverhighSolidCalc3d> calc)
{
    std::lock_guard guard(calcLock_);
    overhighVolumeCalc_ = std::move(calc);
}

TQTKOverhighCalcSet TQTKBeamCalcEDO::GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build)
{
    return GetOrBuildOverhighSet(
        [this] {
            std::lock_guard guard(calcLock_);
            return TQTKOverhighCalcSet{overhighVolumeCalc_, overhighFormboardCalc_, overhighValues_};
        },
        [this](const TQTKOverhighCalcSet& set) {
            std::lock_guard guard(calcLock_);
            overhighVolumeCalc_ = set.volume;
            overhighFormboardCalc_ = set.formboard;
            overhighValues_ = set.valueList;
        },
        build);
}

// ---------------------------------------------------------------------------
// Band solid and projection

std::unique_ptr<TVRMPolyhedron3d> TQTKBeamCalcEDO::BuildSegmentSolid(double bottom, double height, double startLength,
                                                                     double endLength)
{
    const IQTKLineShape* shape = LineShape();
    if (!shape || shape->GetPolygon().GetCount() == 0)
        return nullptr;
    const TVRMMultiPolygon2d& section = shape->GetPolygon();
    const TVRMBox2d box = section.Box();
    if (GreaterThan(bottom, box.max.y - box.min.y))
        return nullptr;
    const double top = std::min(box.min.y + bottom + height, box.max.y);
    const auto band = TVRMIntersectFunc2d::IntPolygon(section, box.min.y + bottom, top);
    if (!band || band->GetCount() == 0)
        return nullptr;
    const TVRMCustomLine2d segment = TVRMPositionFunc2d::SubSeg(*GetMidLine(), startLength, endLength, false);
    const TVRMBox2d bandBox = band->Box();
    // The band's top stands where it stands in the section (a band reaching
    // past the section's top stops there).
    const double rise = top - box.min.y;
    return TVRMPolyhedron3d::CreateSweep(
        *band, segment, TVRMPoint2d{(bandBox.min.x + bandBox.max.x) / 2.0, bandBox.max.y},
        shape->GetBottomElevAt(segment.StartPt()) + rise, shape->GetBottomElevAt(segment.EndPt()) + rise);
}

Ref<IQTKSectionPoly> TQTKBeamCalcEDO::CalcProjectionOnWall(IRDXRecord* wall)
{
    TVRMLockGuard guard(projectionLock_);
    if (!wall)
        return nullptr;
    if (projection_ && projectionWall_.get() == wall)
        return projection_;
    const auto wallEdo = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(wall, true));
    const TVRMCustomLine2d* wallLine = wallEdo ? wallEdo->GetMidLine() : nullptr;
    const TVRMCustomLine2d& mid = *GetMidLine();
    if (!wallLine || !TVRMPositionFunc2d::IsParallel(*wallLine, mid, 0.002))
        return nullptr;
    try {
        const IQTKLineShape* shape = LineShape();
        QTK_ASSERT(shape != nullptr);
        const TVRMPoint2d p1 = TVRMPositionFunc2d::ClosestPointTo(mid.StartPt(), *wallLine, false);
        const TVRMPoint2d p2 = TVRMPositionFunc2d::ClosestPointTo(mid.EndPt(), *wallLine, false);
        const double l1 = wallLine->LengthAtPoint(p1), l2 = wallLine->LengthAtPoint(p2);
        TVRMPolygon2d ring(std::vector<TVRMPoint2d>{{l1, shape->GetTopElevAt(p1)},
                                                    {l1, shape->GetBottomElevAt(p1)},
                                                    {l2, shape->GetBottomElevAt(p2)},
                                                    {l2, shape->GetTopElevAt(p2)}});
        if (ring.IsClockwise())
            ring.Reverse();
        auto polygon = std::make_unique<TVRMMultiPolygon2d>();
        polygon->Add(std::move(ring));
        projection_ = Ref<IQTKSectionPoly>(new TQTKSectionPoly(std::move(polygon)));
        projectionWall_ = RecordRef(wall);
        return projection_;
    } catch (const std::exception&) {
        throw std::runtime_error(CProjectionError);
    }
}
