#include "Calculator/CalcFrame/QTKCalcEDOs/QTKPierCalcEDO.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

double Prop(const IQTKElementDrawObj* drawObj, std::string_view name)
{
    return drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), name) : 0.0;
}

}  // namespace

TQTKPierCalcEDO::TQTKPierCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj), wall_(drawObj ? drawObj->GetParentRecord() : nullptr)
{
}

TQTKPierCalcEDO::~TQTKPierCalcEDO()
{
    extendSlot_.Remove();
}

bool TQTKPierCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    if (record && wall_ && record == wall_.get())
        return true;
    return TQTKCalculatorEDO::IsIntersectWith(record);
}

std::unique_ptr<TVRMLinearCalcContr> TQTKPierCalcEDO::GetPerimeterLinearCalc()
{
    auto container = std::make_unique<TVRMLinearCalcContr>();
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    if (!shape || shape->GetOutline().GetCount() == 0)
        return container;
    for (const TVRMCustomLine2d& edge : shape->GetOutline().GetItems(0).GetEdges())
        container->Add(edge);
    const auto wall = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(wall_, true));
    const TVRMMultiPolygon2d* plan = wall ? wall->GetPlanPolygon() : nullptr;
    if (plan && plan->GetCount() > 0) {
        TVRMMultiPolygon2d first;
        first.Add(plan->GetItems(0));
        container->Append(first, 1, nullptr, true, CVRMEpsilon);
    }
    return container;
}

std::shared_ptr<TQTKShellCalc3d> TQTKPierCalcEDO::BuildShellCalc(bool contact)
{
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const double bottom = Prop(drawObj, "BottomElev"), top = Prop(drawObj, "TopElev");
    auto shell = std::make_unique<TVRMPolyhedronShell3d>();
    const std::unique_ptr<TVRMLinearCalcContr> perimeter = GetPerimeterLinearCalc();
    for (int i = 0; i < perimeter->GetCount(); ++i) {
        const TQTKLinearCalc2d* calc = perimeter->GetItems(i);
        const TVRMSeg2dList pieces = contact ? calc->GetMarkedSegs() : calc->BuildSubLines(CQTKNullMark);
        for (const TVRMCustomLine2d& piece : pieces.Items())
            shell->AddFace(piece, true, bottom, top, bottom, top);
    }
    return std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
}

std::shared_ptr<TQTKShellCalc3d> TQTKPierCalcEDO::GetOrnamentShellCalc()
{
    return KeepOnce(ornamentCalc_, [this] { return BuildShellCalc(false); });
}

std::shared_ptr<TQTKShellCalc3d> TQTKPierCalcEDO::GetContactWallOrnamentShellCalc()
{
    return KeepOnce(contactCalc_, [this] { return BuildShellCalc(true); });
}

std::shared_ptr<TQTKSolidCalc3d> TQTKPierCalcEDO::GetVolumeCalc()
{
    return KeepOnce(volumeCalc_, [this] {
        const TVRMPolyhedron3d* solid = GetOriginalPolyhedron();
        return std::make_shared<TQTKSolidCalc3d>(solid ? solid->Clone() : std::make_unique<TVRMPolyhedron3d>(),
                                                 RecordRef(GetElementDrawObj()->GetRecord()), 1.0);
    });
}

// The pier's insertion point on the right of the wall's line reads the
// wall's right side; anywhere else its left side.
bool TQTKPierCalcEDO::IsOnExternalSide()
{
    std::call_once(externalOnce_, [this] {
        const IQTKElementDrawObj* drawObj = GetElementDrawObj();
        const auto* shape = drawObj ? dynamic_cast<const IQTKPointShape*>(drawObj->GetShape()) : nullptr;
        const auto wall = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(wall_, false));
        auto* info = wall ? dynamic_cast<IQTKLineEdoInfo*>(wall.get()) : nullptr;
        if (!shape || !info)
            return;
        const bool right = TVRMPositionFunc2d::PointSegSide(shape->GetInsertPt(), info->GetLine(), CVRMEpsilon) == 2;
        external_ = right ? wall->IsRightSideExternal() : wall->IsLeftSideExternal();
    });
    return external_;
}

Ref<IQTKPolyhedron3dIntf> TQTKPierCalcEDO::GetExtendedPolyhedron(IRDXRecord* source, bool onLeft, double distance)
{
    QTK_ASSERT(distance >= 0.0);
    if (IsZero(distance))
        return GetOriginalPolyhedronIntf();
    if (Ref<IQTKPolyhedron3dIntf> kept = extendSlot_.Find(source, onLeft, distance))
        return kept;
    // Built with no lock held: Source's lines come from its calculators.
    const TVRMCustomLine2d* line = nullptr;
    Ref<IQTKLineEntBaseCalcEDO> sourceLine;
    if (source) {
        sourceLine = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(RecordRef(source), true));
        if (sourceLine)
            line = onLeft ? sourceLine->GetLeftLine() : sourceLine->GetRightLine();
    }
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const double bottom = Prop(drawObj, "BottomElev"), top = Prop(drawObj, "TopElev");
    const std::unique_ptr<TVRMMultiPolygon2d> outline =
        GetOffsetOutline(GetElementDrawObj()->GetRecord(), line, onLeft, distance);
    std::unique_ptr<TVRMPolyhedron3d> solid =
        outline ? TVRMPolyhedron3d::CreatePrism(*outline, bottom, top - bottom) : std::make_unique<TVRMPolyhedron3d>();
    return extendSlot_.Keep(this, std::move(solid), source, onLeft, distance);
}

void TQTKPierCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    std::shared_ptr<TQTKShellCalc3d> ornament, contact;
    std::shared_ptr<TQTKSolidCalc3d> volume;
    {
        std::lock_guard guard(DataLock());
        ornament.swap(ornamentCalc_);
        contact.swap(contactCalc_);
        volume.swap(volumeCalc_);
    }
    if (volume) {
        volume_.store(volume->GetVolume());
    } else {
        const TVRMPolyhedron3d* solid = GetOriginalPolyhedron();
        volume_.store(solid ? solid->GetVolume() : 0.0);
    }
}

void TQTKPierCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKCalculatorEDO::FillDeductDetail(qtyRecord);
    if (!qtyRecord || !IsDeductDetailEmpty())
        return;
    switch (qtyRecord->GetID()) {
        case 22:
            GetVolumeCalc();
            break;
        case 23:
            GetOrnamentShellCalc();
            break;
        case 24:
            GetContactWallOrnamentShellCalc();
            break;
        case 25:
            AddOriginalSolidDetail(qtyRecord);
            break;
        default:
            break;
    }
}
