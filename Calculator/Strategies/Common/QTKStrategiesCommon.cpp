#include "Calculator/Strategies/Common/QTKStrategiesCommon.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

bool IsRibbonOpening(const IQTKElementDrawObj* drawObj)
{
    const int typeId = drawObj->GetElementTypeID();
    return typeId == 8 || typeId == 9;
}

const IQTKLineShape* LineShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
}

// The start of the finish's line lies left of (before) the reference line.
bool StartsLeftOf(const IQTKLineShape* finish, const IQTKLineShape* reference)
{
    return finish && reference &&
           TVRMPositionFunc2d::SignedDistanceTo(finish->GetLine().StartPt(), reference->GetLine()) < 0.0;
}

}  // namespace

bool IsFinishOnOpeningLeft(IRDXRecord* finish, IRDXRecord* opening)
{
    const IQTKElementDrawObj* finishObj = GetRecordDrawObj(finish);
    const IQTKElementDrawObj* openingObj = GetRecordDrawObj(opening);
    QTK_ASSERT(finishObj != nullptr && openingObj != nullptr);
    const IQTKElementDrawObj* reference = IsRibbonOpening(openingObj) ? openingObj : finishObj->GetParentDrawObj();
    return StartsLeftOf(LineShapeOf(finishObj), LineShapeOf(reference));
}

double GetOpeningFrameDepth(IRDXRecord* finish, IRDXRecord* opening)
{
    const IQTKElementDrawObj* finishObj = GetRecordDrawObj(finish);
    const IQTKElementDrawObj* openingObj = GetRecordDrawObj(opening);
    QTK_ASSERT(finishObj != nullptr && openingObj != nullptr);
    const IPropValues* values = openingObj->GetPropValues();
    double depth = GetDrawObjThickness(finishObj->GetParentDrawObj()) * 0.5;
    if (values->HasProp("FrameThickness"))
        depth -= values->GetFloat("FrameThickness") / 2.0;
    if (values->HasProp("FrameOffset")) {
        const double offset = values->GetFloat("FrameOffset");
        const bool left = IsFinishOnOpeningLeft(finish, opening);
        if (IsRibbonOpening(openingObj))
            depth += left ? -(offset - 30.0) : offset - 30.0;
        else
            depth += left ? offset : -offset;
    }
    return std::max(depth, 0.0);
}
