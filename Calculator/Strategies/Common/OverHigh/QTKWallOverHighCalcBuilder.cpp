#include "Calculator/Strategies/Common/OverHigh/QTKWallOverHighCalcBuilder.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"
#include "Calculator/Common/QTKStrategiesCommonSlabTop.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

std::unique_ptr<TVRMPolyhedron3d> CopyOf(const TVRMPolyhedron3d* solid)
{
    return solid ? solid->Clone() : std::make_unique<TVRMPolyhedron3d>();
}

}  // namespace

TQTkWallOverHeightCalcBuilder::TQTkWallOverHeightCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                                             const TableSourceRef& ruleContext, bool arcFlag)
    : TQTKOverHighCalcBuilder(subject, business, ruleContext, "QTKWallCalcSettings")
{
    SetArcFlag(arcFlag);
    IQTKCalculatorEDO* edo = GetElementEDO();
    bool alongAxis = false;
    if (IsWall()) {
        auto* wall = dynamic_cast<IQTKWallCalcEDO*>(edo);
        QTK_ASSERT(wall);
        alongAxis = wall->GetUseAxisLength();
        if (!alongAxis && wall->GetCalcByOnlyMaterial() != 0) {
            solid_ = CopyOf(wall->GetOnlyMaterialSolid());
            return;
        }
    } else if (IRDXRecord* parent = GetDrawObj()->GetParentRecord()) {
        const Ref<IQTKCalculatorEDO> host = GetCalcEDO(parent, true);
        const auto* line = dynamic_cast<IQTKLineEntBaseCalcEDO*>(host.get());
        alongAxis = line && const_cast<IQTKLineEntBaseCalcEDO*>(line)->GetUseAxisLength();
    }
    if (alongAxis) {
        solid_ = GetDrawObj()->BuildPolyhedron();
    } else {
        const Ref<IQTKPolyhedron3dIntf> original = edo->GetOriginalPolyhedronIntf();
        solid_ = CopyOf(original ? original->GetPolyhedron() : nullptr);
    }
}

TQTkWallOverHeightCalcBuilder::~TQTkWallOverHeightCalcBuilder() = default;

bool TQTkWallOverHeightCalcBuilder::IsWall() const
{
    return GetDrawObj()->GetElementTypeID() == 0;
}

void TQTkWallOverHeightCalcBuilder::ReplaceSolid(std::unique_ptr<TVRMPolyhedron3d> solid)
{
    solid_ = solid ? std::move(solid) : std::make_unique<TVRMPolyhedron3d>();
}

double TQTkWallOverHeightCalcBuilder::CalcBottomElev()
{
    return TQTKOverHighBottomElevCalculator::GetWallBottomElev(GetElementEDO(), GetRuleContext());
}

double TQTkWallOverHeightCalcBuilder::GetLowestElev()
{
    if (solid_ && solid_->HasFaces())
        return solid_->GetBox().min.z;
    return GetDrawObj()->GetBox().min.z;
}

double TQTkWallOverHeightCalcBuilder::CalcTopElev(int method)
{
    IRDXRecord* record = GetSubjectRecord().get();
    switch (method) {
        case 0: {
            const IRDXRecord* floor = GetRecordFloor(GetDrawObj()->GetRecord());
            return FieldValueFloat(floor, "StructuralElevation", 0.0) * 1000.0 +
                   FieldValueFloat(floor, "Height", 0.0) * 1000.0;
        }
        case 1:
            return GetLineEntMaxTopElev(record);
        case 2: {
            const TQTKLineEndElevs elevs = GetLineEndElevs(record);
            return (elevs.startTop + elevs.endTop) / 2;
        }
        case 3:
            return GetWallOverhighTopElev(record, 1, 1);
        case 4:
            return GetWallOverhighTopElev(record, 0, 0);
        case 5:
            return std::min(GetWallOverhighTopElev(record, 0, 1),
                            GetWallTopUnderMembers(record, MakeElementTypeSet({15, 17, 18})));
        default:
            QTKAssertFailed(__FILE__, 460, "OverHighTopElevCalcMethod", "unknown wall top elevation method");
    }
}

double TQTkWallOverHeightCalcBuilder::GetValueListTop()
{
    if (IsWall())
        return GetLineEntMaxTopElev(GetSubjectRecord().get());
    IRDXRecord* parent = GetDrawObj()->GetParentRecord();
    return GetLineEntMaxTopElev(parent ? parent : GetSubjectRecord().get());
}

void TQTkWallOverHeightCalcBuilder::FillWallSideShellForDetail()
{
    auto* wall = dynamic_cast<IQTKWallCalcEDO*>(GetElementEDO());
    QTK_ASSERT(wall);
    wall->AddLeftSideFace();
    wall->AddRightSideFace();
    const IRDXTable* rules = GetQtyRuleTable();
    if (rules && HasQtyRule(rules, 3285))
        wall->GetConnectedEndFaceArea();
}

void TQTkWallOverHeightCalcBuilder::FillUnitSideShellForDetail()
{
    auto* unit = dynamic_cast<IQTKInsulatingWallUnitCalcEDO*>(GetElementEDO());
    QTK_ASSERT(unit);
    const IRDXTable* rules = GetQtyRuleTable();
    if (!rules)
        return;
    unit->AddLeftSideFace();
    unit->AddRightSideFace();
    if (HasQtyRule(rules, 3736))
        unit->GetEndFormboardArea();
}

std::unique_ptr<TVRMOverhighSolidCalc3d> TQTkWallOverHeightCalcBuilder::BuildVolumeCalc()
{
    return BuildSolidCalc(*solid_);
}

std::unique_ptr<TVRMOverhighShellCalc3d> TQTkWallOverHeightCalcBuilder::BuildFormboardCalc()
{
    const TVRMPolyhedronShell3d* shell = nullptr;
    if (IsWall()) {
        auto* wall = dynamic_cast<IQTKWallCalcEDO*>(GetElementEDO());
        QTK_ASSERT(wall);
        if (GIsDetailMode)
            FillWallSideShellForDetail();
        shell = wall->GetSideFaceShell();
    } else {
        auto* unit = dynamic_cast<IQTKInsulatingWallUnitCalcEDO*>(GetElementEDO());
        QTK_ASSERT(unit);
        if (GIsDetailMode)
            FillUnitSideShellForDetail();
        shell = unit->GetSideFaceShell();
    }
    if (!shell)
        return nullptr;
    return BuildShellCalc(*shell);
}

bool TQTKPierOverHeightVolCalcBuilder::IsOverHigh()
{
    return TQTkWallOverHeightCalcBuilder::IsOverHigh();
}

void TQTKPierOverHeightVolCalcBuilder::SetSolid(std::unique_ptr<TVRMPolyhedron3d> solid)
{
    ReplaceSolid(std::move(solid));
}
