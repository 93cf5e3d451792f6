#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

Ref<IQTKBeamCalcEDO> GetBeamEdo(IRDXRecord* record)
{
    const Ref<IQTKBeamCalcEDO> beam = RefCast<IQTKBeamCalcEDO>(GetCalcEDO(record, true));
    if (!beam)
        throw EIntfCastError("the element is not a beam");
    return beam;
}

const TVRMPolyhedron3d* GetElementSolid(IRDXRecord* record)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    return edo ? edo->GetOriginalPolyhedron() : nullptr;
}

std::unique_ptr<TVRMPolyhedron3d> BuildBeamPrismOverWallSpan(IRDXRecord* beam, IRDXRecord* wall)
{
    const TVRMCustomLine2d* middle = GetBeamEdo(beam)->GetMidLine();
    const IQTKLineShape* wallShape = GetRecordLineShape(wall);
    if (!middle || !wallShape)
        return std::make_unique<TVRMPolyhedron3d>();
    const TVRMCustomLine2d& wallLine = wallShape->GetLine();
    const TVRMPoint2d first = TVRMPositionFunc2d::ClosestPointTo(wallLine.StartPt(), *middle);
    const TVRMPoint2d second = TVRMPositionFunc2d::ClosestPointTo(wallLine.EndPt(), *middle);
    const TVRMCustomLine2d piece = TVRMPositionFunc2d::SubSeg(*middle, first, second);
    if (LessEqualThan(piece.Length(), 0.0))
        return std::make_unique<TVRMPolyhedron3d>();
    return BuildBeamSidePrism(beam, first, piece, second);
}
