#include "Calculator/Strategies/Common/OverHigh/QTKColumnOverHeightCalcBuilder.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

TQTkColumnOverHeightCalcBuilder::TQTkColumnOverHeightCalcBuilder(const RecordRef& subject,
                                                                 const TableSourceRef& business,
                                                                 const TableSourceRef& ruleContext)
    : TQTkColumnOverHeightCalcBuilder(subject, business, ruleContext, "QTKColumnCalcSettings", 429, 500)
{
}

TQTkColumnOverHeightCalcBuilder::TQTkColumnOverHeightCalcBuilder(const RecordRef& subject,
                                                                 const TableSourceRef& business,
                                                                 const TableSourceRef& ruleContext,
                                                                 std::string_view settingsTable,
                                                                 int formboardAssertLine, int volumeAssertLine)
    : TQTKOverHighCalcBuilder(subject, business, ruleContext, settingsTable),
      formboardAssertLine_(formboardAssertLine),
      volumeAssertLine_(volumeAssertLine)
{
    SetArcFlag(ShapeHasArc(GetDrawObj()));
}

double TQTkColumnOverHeightCalcBuilder::CalcBottomElev()
{
    return TQTKOverHighBottomElevCalculator::GetColumnBottomElev(GetElementEDO(), GetRuleContext());
}

double TQTkColumnOverHeightCalcBuilder::GetCalcTopElev()
{
    const Ref<IQTKCalculatorEDO> edo = GetOrCreateCalcEDO(GetDrawObj(), true);
    auto* column = dynamic_cast<IQTKColumnCalculatorEDO*>(edo.get());
    if (column)
        return column->GetCalcTopElev();
    return EdoPropValueFloat(GetDrawObj()->GetPropValues(), "TopElev", GetDrawObj()->GetBox().max.z);
}

bool TQTkColumnOverHeightCalcBuilder::IsInsertPtNotOutside(IRDXRecord* element) const
{
    const auto* point = dynamic_cast<const IQTKPointShape*>(GetDrawObj()->GetShape());
    const IQTKElementDrawObj* other = GetRecordDrawObj(element);
    if (!point || !other || !other->GetShape())
        return false;
    return TVRMPositionFunc2d::PointPosition(point->GetInsertPt(), other->GetShape()->GetOutline(), CVRMEpsilon) != 2;
}

bool TQTkColumnOverHeightCalcBuilder::MayLowerTop(IRDXRecord*)
{
    return true;
}

double TQTkColumnOverHeightCalcBuilder::CalcTopElev(int method)
{
    const double top = GetCalcTopElev();
    const auto filter = [this](IRDXRecord* element) { return MayLowerTop(element); };
    switch (method) {
        case 1:
            return LowerTopToRelated(GetElementEDO(), top, MakeElementTypeSet({19, 20}), filter);
        case 2:
            return LowerTopToRelated(GetElementEDO(), top, MakeElementTypeSet({15, 16, 17, 18}), filter);
        default:
            return top;
    }
}

double TQTkColumnOverHeightCalcBuilder::GetValueListTop()
{
    return GetCalcTopElev();
}

int TQTkColumnOverHeightCalcBuilder::CheckPartitionMethod(int method, bool forVolume)
{
    if (method < 0 || method > 3)
        QTKAssertFailed(__FILE__, forVolume ? volumeAssertLine_ : formboardAssertLine_, "OverHighPartitionMethod",
                        "unknown over-height partition method");
    return method;
}

std::unique_ptr<TVRMOverhighSolidCalc3d> TQTkColumnOverHeightCalcBuilder::BuildVolumeCalc()
{
    const Ref<IQTKPolyhedron3dIntf> solid = GetElementEDO()->GetOriginalPolyhedronIntf();
    if (!solid)
        return BuildSolidCalc(TVRMPolyhedron3d());
    return BuildSolidCalc(*solid->GetPolyhedron());
}

std::unique_ptr<TVRMOverhighShellCalc3d> TQTkColumnOverHeightCalcBuilder::BuildFormboardCalc(bool includeSoffit)
{
    const Ref<IQTKPolyhedron3dIntf> solid = GetElementEDO()->GetOriginalPolyhedronIntf();
    if (!solid)
        return BuildSolidFaceCalc(TVRMPolyhedron3d(), includeSoffit);
    return BuildSolidFaceCalc(*solid->GetPolyhedron(), includeSoffit);
}

double LowerTopToRelated(IQTKCalculatorEDO* edo, double top, const TQTKElementTypeSet& types,
                         const std::function<bool(IRDXRecord*)>& filter)
{
    IQTKElementDrawObj* drawObj = edo->GetElementDrawObj();
    IRDXRecord* record = drawObj->GetRecord();
    const auto* point = dynamic_cast<const IQTKPointShape*>(drawObj->GetShape());
    if (!point)
        return top;
    const TVRMPoint2d insertPt = point->GetInsertPt();
    TRecordList related;
    edo->GetRelatedByTypes(types, &related);
    for (const RecordRef& element : related) {
        if (!element || (filter && !filter(element.get())))
            continue;
        const IQTKElementDrawObj* other = GetRecordDrawObj(element.get());
        if (!other)
            continue;
        if (IsPointEntAndFaceEntInt(record, element.get(), true, true)) {
            const auto* face = dynamic_cast<const IQTKFaceShape*>(other->GetShape());
            const IQTKFaceElevInfo* info = face ? face->GetFaceElevInfo() : nullptr;
            if (!info)
                continue;
            const double thickness = EdoPropValueFloat(other->GetPropValues(), "Thickness", 0.0);
            top = std::min(top, info->GetElevAt(insertPt) - thickness * info->GetThicknessFactor());
        } else if (IsPointEntAndLineEntInt(record, element.get(), true, true)) {
            if (const IQTKLineShape* line = GetDrawObjLineShape(other))
                top = std::min(top, line->GetBottomElevAt(insertPt));
        }
    }
    return top;
}
