#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTieBeamCalculator.h"

#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

bool TQTKTieBeamCalculator::IsNotOnInnerWall()
{
    const IQTKLineShape* shape = LineShape();
    if (!shape)
        return true;
    TRecordList walls;
    GetRelatedByTypes(MakeElementTypeSet({0, 1}), &walls);
    for (const RecordRef& wall : walls) {
        const IQTKLineShape* wallShape = GetRecordLineShape(wall.get());
        if (wallShape && TVRMPositionFunc2d::IsParallel(wallShape->GetLine(), shape->GetLine(), 0.002) &&
            IsOuterWallRecord(wall.get()))
            return false;
    }
    return true;
}
