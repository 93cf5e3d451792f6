#include "Calculator/Strategies/Common/OverHigh/QTKColumnIndentingOverHeightCalcBuilder.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

TQTkColumnIndentingOverHeightCalcBuilder::TQTkColumnIndentingOverHeightCalcBuilder(const TVRMPolyhedron3d* indenting,
                                                                                   const RecordRef& subject,
                                                                                   const TableSourceRef& business,
                                                                                   const TableSourceRef& ruleContext)
    : TQTkColumnOverHeightCalcBuilder(subject, business, ruleContext, "QTKColumnCalcSettings", 418, 489),
      indenting_(indenting)
{
}

std::unique_ptr<TVRMPolyhedron3d> TQTkColumnIndentingOverHeightCalcBuilder::MakeReferenceSolid()
{
    const Ref<IQTKPolyhedron3dIntf> solid = GetElementEDO()->GetOriginalPolyhedronIntf();
    return solid ? solid->GetPolyhedron()->Clone() : nullptr;
}

bool TQTkColumnIndentingOverHeightCalcBuilder::MayLowerTop(IRDXRecord* element)
{
    return IsInsertPtNotOutside(element);
}

std::unique_ptr<TVRMOverhighSolidCalc3d> TQTkColumnIndentingOverHeightCalcBuilder::BuildVolumeCalc(double ratio)
{
    ratio_ = ratio;
    return BuildSolidCalc(indenting_ ? *indenting_ : TVRMPolyhedron3d());
}

std::unique_ptr<TVRMOverhighShellCalc3d> TQTkColumnIndentingOverHeightCalcBuilder::BuildFormboardCalc(
    bool includeSoffit, double ratio)
{
    ratio_ = ratio;
    return BuildSolidFaceCalc(indenting_ ? *indenting_ : TVRMPolyhedron3d(), includeSoffit);
}
