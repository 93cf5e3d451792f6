#include "Calculator/Strategies/Common/OverHigh/QTkColumnCapOverhighCalcBuilder.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

TQTkColumnCapOverhighCalcBuilder::TQTkColumnCapOverhighCalcBuilder(const RecordRef& subject,
                                                                   const TableSourceRef& business,
                                                                   const TableSourceRef& ruleContext)
    : TQTkColumnOverHeightCalcBuilder(subject, business, ruleContext, "QTKColumnCapCalcSetting", 288, 359)
{
    SetArcFlag(HasArcShape());
}

bool TQTkColumnCapOverhighCalcBuilder::HasArcShape() const
{
    const IPropValues* props = GetDrawObj()->GetPropValues();
    if (EdoPropValueInteger(props, "ColumnCapType", 0) > 3)
        return true;
    if (EdoPropValueInteger(props, "IsEdge", 0) != 0)
        return false;
    const auto* source = dynamic_cast<const IQTKSectionPolygonSource*>(GetDrawObj());
    if (!source)
        return false;
    const std::unique_ptr<TVRMMultiPolygon2d> section = source->GetSectionPolygon();
    return section && PolygonHasArc(*section);
}

double TQTkColumnCapOverhighCalcBuilder::GetValueListTop()
{
    return EdoPropValueFloat(GetDrawObj()->GetPropValues(), "TopElev", 0.0);
}

double TQTkColumnCapOverhighCalcBuilder::CalcTopElev(int method)
{
    const double top = GetValueListTop();
    if (method != 1)
        return top;
    return LowerTopToRelated(GetElementEDO(), top, MakeElementTypeSet({19, 20}),
                             [this](IRDXRecord* element) { return MayLowerTop(element); });
}

bool TQTkColumnCapOverhighCalcBuilder::MayLowerTop(IRDXRecord* element)
{
    return IsInsertPtNotOutside(element);
}
