#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"

#include <cmath>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

void TQTKHasSectionInfoLineEntCalcEDO::Prepare(IRDXRecord* record)
{
    TQTKLineEntBaseCalcEDO::Prepare(record);
    const double length = GetMidLine()->Length();
    const IPropValues* props = GetElementDrawObj()->GetPropValues();
    const double rise = std::abs(EdoPropValueFloat(props, "StartPtTopElev") - EdoPropValueFloat(props, "EndPtTopElev"));
    lengthRate_.store(IsZero(rise) || IsZero(length) ? 1.0 : 1.0 / std::cos(std::atan(rise / length)));
}

bool TQTKHasSectionInfoLineEntCalcEDO::IsMidlineConnectable()
{
    const IQTKLineShape* shape = LineShape();
    return shape && GreaterEqualThan(shape->GetLine().Length(), shape->GetWidth()) &&
           !IsPartialArchDrawObj(GetElementDrawObj());
}

std::unique_ptr<TVRMPolyhedron3d> TQTKHasSectionInfoLineEntCalcEDO::BuildSolid()
{
    return TQTKSolidBuilder::BuildSectionSolidAlongLine(GetElementDrawObj(), *GetExtendedMidLine(), false);
}
