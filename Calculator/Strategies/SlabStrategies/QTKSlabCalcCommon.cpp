#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"

#include <cmath>
#include <string>

#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

void RaiseNotOfFamily(IRDXRecord* record, const char* family)
{
    throw EIntfCastError("element " + std::to_string(record ? record->GetID() : 0) + " is no " + family);
}

double GetPlanOutlineArea(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    return shape ? shape->GetOutline().Area() : 0.0;
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildSoffitShell(IQTKSlabCalculator& slab)
{
    const TVRMPolyhedron3d* solid = slab.GetOriginalPolyhedron();
    if (!solid || solid->GetFaceCount() == 0)
        return std::make_unique<TVRMPolyhedronShell3d>();
    return std::make_unique<TVRMPolyhedronShell3d>(*solid, solid->GetFaceCount() - 1);
}

std::shared_ptr<TQTKShellCalc3d> NewSlabSurfaceCalc(IQTKSlabCalculator& slab, const TVRMPolyhedron3d* curved)
{
    const IQTKElementDrawObj* drawObj = slab.GetElementDrawObj();
    std::unique_ptr<TVRMPolyhedronShell3d> shell;
    if (slab.IsCurvedFaceShape()) {
        const auto* shape = drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
        shell = curved && shape ? BuildSlopeSideFaceShell(*curved, *shape, true)
                                : std::make_unique<TVRMPolyhedronShell3d>();
    } else
        shell = BuildSoffitShell(slab);
    return std::make_shared<TQTKShellCalc3d>(std::move(shell), RecordRef(drawObj ? drawObj->GetRecord() : nullptr),
                                             1.0);
}

bool IsAboveSizeLimit(double measure, std::optional<double> limit)
{
    return limit && !LessEqualThan(measure, *limit);
}

bool IsPlanAreaAboveLimit(IRDXRecord* record, std::optional<double> limit)
{
    return limit && IsAboveSizeLimit(GetPlanOutlineArea(record), limit);
}

bool IsDoubleFormboardFace(const TVRMVector3d& normal, const TableSourceRef& settings)
{
    const IRDXRecord* row = GetSettingRow(settings, "QTKSlabCalcSettings");
    const double angle = FieldValueFloat(row, "DoubleFormboardAngle", 90.0);
    const double limit = std::cos(angle * CVRMPi / 180.0);
    const double z = normal.z;
    return GreaterEqualThan(z, 0.0) && LessEqualThan(z, limit);
}

bool IsArchSlabDoubleFormboard(const TableSourceRef& settings)
{
    return FieldValueInteger(GetSettingRow(settings, "QTKSlabCalcSettings"), "ArchSlabFormboardMethod", -1) == 1;
}
