#include "Calculator/CalcFrame/QTKCalcEDOs/QTKFDBeamCalcEDO.h"

#include <limits>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"

namespace {

constexpr int CRaftType = 48;

}  // namespace

void TQTKFDBeamCalcEDO::ClearQtyItems()
{
    TQTKBeamCalcEDO::ClearQtyItems();
    std::unique_ptr<TQTKShellCalc3d> calc;
    std::unique_ptr<TVRMPolyhedronShell3d> shell;
    {
        std::lock_guard guard(CalcLock());
        calc.swap(fdFormboardCalc_);
        shell.swap(fdFormboardShell_);
    }
}

void TQTKFDBeamCalcEDO::FreeCalcCache()
{
    TQTKBeamCalcEDO::FreeCalcCache();
    std::lock_guard guard(CalcLock());
    fdFormboardCalc_.reset();
    fdFormboardShell_.reset();
    bottomCalc_.reset();
}

void TQTKFDBeamCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKBeamCalcEDO::FillDeductDetail(qtyRecord);
    if (!qtyRecord || !IsDeductDetailEmpty())
        return;
    switch (qtyRecord->GetID()) {
        case 399:
            GetFDFormboardShellCalc();
            break;
        case 400:
            GetBottomShellCalc(45.0);
            break;
        default:
            break;
    }
}

std::vector<int> TQTKFDBeamCalcEDO::HaunchFormboardFaces(const TVRMPolyhedron3d& haunches)
{
    std::vector<int> faces;
    GetFaceIndicesByDirection(haunches, *GetMidLine(), MakeFaceCodeSet({CQTKFaceDirLeft, CQTKFaceDirRight}), faces, {},
                              GetFormboardAngle());
    std::vector<int> ends;
    GetBeamEndFaceIndices(GetElementDrawObj(), haunches, ends);
    faces.insert(faces.end(), ends.begin(), ends.end());
    return faces;
}

double TQTKFDBeamCalcEDO::CalcHaunchedFormboardArea(double& deducted)
{
    const double added = TQTKBeamCalcEDO::CalcHaunchedFormboardArea(deducted);
    deducted = 0.0;
    return added;
}

double TQTKFDBeamCalcEDO::CalcBelowRafts(TQTKFaceCodeSet codes, double angle)
{
    maxFaceElev_.store(-std::numeric_limits<double>::infinity());
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const IPropValues* props = drawObj->GetPropValues();
    const IQTKLineShape* shape = LineShape();
    // The shape's elevations stand in for properties the element leaves out.
    const double bottom =
        std::min(EdoPropValueFloat(props, "StartPtBottomElev", shape ? shape->GetStartPtBottomElev() : 0.0),
                 EdoPropValueFloat(props, "EndPtBottomElev", shape ? shape->GetEndPtBottomElev() : 0.0));
    std::unique_ptr<TVRMPolyhedronShell3d> shell;
    double highest = -std::numeric_limits<double>::infinity();
    TRecordList rafts;
    GetRelatedByType(CRaftType, &rafts);
    for (const RecordRef& raft : rafts) {
        const IQTKElementDrawObj* raftDrawObj = GetRecordDrawObj(raft.get());
        // A raft that does not state its bottom has it where its solid starts.
        const double raftBottom =
            raftDrawObj ? EdoPropValueFloat(raftDrawObj->GetPropValues(), "BottomElev", raftDrawObj->GetBox().min.z)
                        : 0.0;
        if (!raftDrawObj || !GreaterThan(raftBottom, bottom))
            continue;
        if (!shell)
            shell = BuildShellByDirection(OriginalSolid(), *GetMidLine(), codes, GetEndFaceIndexes(), angle);
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(raft, true);
        const Ref<IQTKPolyhedron3dIntf> solid = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
        if (solid)
            shell->Subtract(*solid->GetPolyhedron(), 3);
        highest = std::max(highest, raftBottom);
    }
    maxFaceElev_.store(highest);
    if (!shell)
        return 0.0;
    // The plane's normal points down: the part below the rafts is the one on
    // its normal side, the second part of the cut.
    std::unique_ptr<TVRMPolyhedronShell3d> below;
    shell->Cut(TVRMPlane3d(TVRMVector3d{0.0, 0.0, -1.0}, TVRMPoint3d{0.0, 0.0, highest}), below, 1.0123456789e-5);
    if (!below)
        below = std::make_unique<TVRMPolyhedronShell3d>();
    const double area = below->GetArea();
    if (!IsZero(area)) {
        std::string text;
        GShellExprParser(GetRecord(), nullptr, *below, text, 0, GetShapeHasArc(), area, !GIsDetailMode, 0, 1.0);
    }
    std::lock_guard guard(CalcLock());
    if (!fdFormboardShell_) {
        fdFormboardShell_ = std::move(below);
    } else {
        for (const TVRMFace3d& face : below->GetFaces())
            fdFormboardShell_->AddFace(face);
    }
    return area;
}

double TQTKFDBeamCalcEDO::CalcEndFormboardArea(double angle)
{
    return CalcBelowRafts(MakeFaceCodeSet({CQTKFaceDirAlong}), angle);
}

double TQTKFDBeamCalcEDO::CalcSideFormboardArea(double angle)
{
    return CalcBelowRafts(MakeFaceCodeSet({CQTKFaceDirLeft, CQTKFaceDirRight}), angle);
}

TQTKShellCalc3d* TQTKFDBeamCalcEDO::GetFDFormboardShellCalc()
{
    std::lock_guard guard(CalcLock());
    if (!fdFormboardCalc_)
        fdFormboardCalc_ =
            MakeShellCalc(fdFormboardShell_ ? fdFormboardShell_->Clone() : std::make_unique<TVRMPolyhedronShell3d>());
    return fdFormboardCalc_.get();
}

TQTKShellCalc3d* TQTKFDBeamCalcEDO::GetBottomShellCalc(double angle)
{
    {
        std::lock_guard guard(CalcLock());
        if (bottomCalc_)
            return bottomCalc_.get();
    }
    auto calc = MakeShellCalc(BuildShellByDirection(OriginalSolid(), *GetMidLine(),
                                                    MakeFaceCodeSet({CQTKFaceDirBottom}), GetEndFaceIndexes(), angle));
    std::lock_guard guard(CalcLock());
    if (!bottomCalc_)
        bottomCalc_ = std::move(calc);
    return bottomCalc_.get();
}
