#include "Calculator/Common/QTKCalculatorCommonThickness.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CInsulatingLayerType = 68;

// The layer thickness beside the host; Factor 0.5 for the half.
double ThicknessWithLayer(IRDXRecord* record, bool block, double factor)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    QTK_ASSERT(drawObj != nullptr);
    const IPropValues* values = drawObj->GetPropValues();
    if (drawObj->GetElementTypeID() == CInsulatingLayerType) {
        if (!block)
            return 0.0;
        double thickness = EdoPropValueFloat(values, "Thickness", 0.0) * factor;
        if (factor < 1.0)
            thickness += EdoPropValueFloat(values, "AirLayerThickness", 0.0) * factor;
        return thickness;
    }
    // A finish adds the host wall's insulating layer, whole, to the layer it
    // measures outside that insulating layer.
    const Ref<IQTKAttachWallFaceEntBaseCalcEDO> finish =
        RefCast<IQTKAttachWallFaceEntBaseCalcEDO>(GetCalcEDO(record, true));
    const bool outsideLayer =
        finish && (block ? finish->IsBlockConsiderInsulatingLayer() : finish->IsPlasteringConsiderInsulatingLayer());
    const double hostLayer = outsideLayer ? finish->GetHostInsulatingLayerThickness() : 0.0;
    return block ? EdoPropValueFloat(values, "Thickness", 0.0) * factor + hostLayer : hostLayer;
}

}  // namespace

TVRMCustomLine2d GetEdoCenterLine(IQTKLineEdoInfo* info)
{
    QTK_ASSERT(info != nullptr);
    return TVRMOffsetFunc2d::Offset(info->GetLine(), info->GetWidth() / 2.0 - info->GetAxisOffset());
}

void GetEdoSideLines(IQTKLineEdoInfo* info, TVRMCustomLine2d& first, TVRMCustomLine2d& second)
{
    QTK_ASSERT(info != nullptr);
    const TVRMCustomLine2d line = info->GetLine();
    first = TVRMOffsetFunc2d::Offset(line, -info->GetAxisOffset());
    second = TVRMOffsetFunc2d::Offset(line, info->GetWidth() - info->GetAxisOffset());
}

double GetDrawObjThickness(const IQTKElementDrawObj* drawObj)
{
    const IPropValues* values = drawObj ? drawObj->GetPropValues() : nullptr;
    const double thickness = EdoPropValueFloat(values, "Thickness", -1.0);
    return thickness < 0.0 ? EdoPropValueFloat(values, "SectionWidth", 0.0) : thickness;
}

double GetRecordThickness(IRDXRecord* record)
{
    return GetDrawObjThickness(GetRecordDrawObj(record));
}

int GetEdoRatingThickness(IQTKCalculatorEDO* wall, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(wall != nullptr);
    const int thickness = static_cast<int>(Round(GetDrawObjThickness(wall->GetElementDrawObj())));
    const IRDXRecord* settings = GetSettingRow(ruleContext, "QTKWallCalcSettings");
    const IRDXTable* modulus = settings ? settings->GetDetail("ThicknessModulus") : nullptr;
    for (int i = 0; modulus && i < modulus->GetRowCount(); ++i) {
        const IRDXRecord* row = modulus->GetRow(i);
        if (FieldValueInteger(row, "DefinedThickness", -1) == thickness)
            return FieldValueInteger(row, "ActualThickness", thickness);
    }
    return thickness;
}

int GetWallRatingThickness(IRDXRecord* wall, const TableSourceRef& ruleContext)
{
    return GetEdoRatingThickness(GetCalcEDO(wall, true).get(), ruleContext);
}

double GetHalfThicknessWithLayer(IRDXRecord* record, bool block)
{
    return ThicknessWithLayer(record, block, 0.5);
}

double GetThicknessWithLayer(IRDXRecord* record, bool block)
{
    return ThicknessWithLayer(record, block, 1.0);
}
