#include "Calculator/Strategies/Common/OverHigh/QTKBeamOverHighCalcBuilder.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"
#include "Calculator/Common/QTKStrategiesCommonSlabTop.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

TQTkBeamOverHighCalcBuilder::TQTkBeamOverHighCalcBuilder(const RecordRef& subject, const TableSourceRef& business,
                                                         const TableSourceRef& ruleContext)
    : TQTKOverHighCalcBuilder(subject, business, ruleContext, "QTKBeamCalcSettings")
{
    beam_ = dynamic_cast<IQTKBeamCalcEDO*>(GetElementEDO());
    QTK_ASSERT(beam_);
    SetArcFlag(ShapeHasArc(GetDrawObj()));
}

bool TQTkBeamOverHighCalcBuilder::IsOverHigh()
{
    const bool overHigh = TQTKOverHighCalcBuilder::IsOverHigh();
    if (overHigh)
        SetValueList(std::make_unique<TFloatList>());
    return overHigh;
}

double TQTkBeamOverHighCalcBuilder::CalcBottomElev()
{
    return TQTKOverHighBottomElevCalculator::GetBeamBottomElev(GetElementEDO(), GetRuleContext());
}

double TQTkBeamOverHighCalcBuilder::CalcTopElev(int method)
{
    IRDXRecord* record = GetDrawObj()->GetRecord();
    const TQTKLineEndElevs elevs = GetLineEndElevs(record);
    switch (method) {
        case 0:
            return std::max(elevs.startTop, elevs.endTop);
        case 1:
            return std::max(elevs.startBottom, elevs.endBottom);
        case 2:
            return (elevs.startTop + elevs.endTop) / 2;
        case 3:
            return (elevs.startBottom + elevs.endBottom) / 2;
        case 4:
            return GetBeamOverhighTopElev(record, 3, 3);
        case 5:
            return GetBeamOverhighTopElev(record, 1, 1);
        case 6:
            if (EdoPropValueInteger(GetDrawObj()->GetPropValues(), "Type2", -1) == 1)
                return GetBeamOverhighTopElev(record, 3, 3);
            return (elevs.startBottom + elevs.endBottom) / 2;
        default:
            QTKAssertFailed(__FILE__, 479, "OverHighTopElevCalcMethod", "unknown beam top elevation method");
    }
}

double TQTkBeamOverHighCalcBuilder::GetValueListTop()
{
    return GetLineEntMaxTopElev(GetDrawObj()->GetRecord());
}

void TQTkBeamOverHighCalcBuilder::FillFormboardShellForDetail()
{
    const IRDXTable* rules = GetQtyRuleTable();
    if (!rules)
        return;
    // Left side, right side, bottom, ends.
    int ids[4] = {0, 0, 0, 0};
    switch (GetDrawObj()->GetElementTypeID()) {
        case 15:
            ids[0] = 1722, ids[1] = 1721, ids[2] = 1720, ids[3] = 1723;
            break;
        case 17:
            ids[0] = 1928, ids[1] = 1929, ids[2] = 1930, ids[3] = 1931;
            break;
        case 18:
            ids[0] = 2742, ids[1] = 2741, ids[2] = 2740, ids[3] = 2739;
            break;
        default:
            QTKAssertFailed(__FILE__, 610, "ElementTypeID", "not a beam");
    }
    if (HasQtyRule(rules, ids[0]))
        beam_->AddLeftSideFormboard();
    if (HasQtyRule(rules, ids[1]))
        beam_->AddRightSideFormboard();
    if (HasQtyRule(rules, ids[2]))
        beam_->AddBottomFormboard();
    if (HasQtyRule(rules, ids[3]))
        beam_->GetEndFormboardArea();
}

std::unique_ptr<TVRMOverhighShellCalc3d> TQTkBeamOverHighCalcBuilder::BuildFormboardCalc()
{
    if (GIsDetailMode)
        FillFormboardShellForDetail();
    const TVRMPolyhedronShell3d* shell = beam_->GetFormboardShell();
    if (!shell)
        return nullptr;
    return BuildShellCalc(*shell);
}

std::unique_ptr<TVRMOverhighSolidCalc3d> TQTkBeamOverHighCalcBuilder::BuildVolumeCalc()
{
    if (beam_->GetUseAxisLength()) {
        const std::unique_ptr<TVRMPolyhedron3d> drawn = GetDrawObj()->BuildPolyhedron();
        return BuildSolidCalc(*drawn);
    }
    const Ref<IQTKPolyhedron3dIntf> solid = GetElementEDO()->GetOriginalPolyhedronIntf();
    if (!solid)
        return BuildSolidCalc(TVRMPolyhedron3d());
    return BuildSolidCalc(*solid->GetPolyhedron());
}
