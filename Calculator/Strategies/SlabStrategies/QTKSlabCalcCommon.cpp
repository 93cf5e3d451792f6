#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"

#include <cmath>
#include <string>

#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
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

std::unique_ptr<TVRMPolyhedronShell3d> BuildSlabFormboardShell(const TVRMPolyhedron3d& slab, bool curved,
                                                               const TableSourceRef& settings)
{
    if (slab.GetFaceCount() == 0)
        return std::make_unique<TVRMPolyhedronShell3d>();
    if (curved)
        return IsArchSlabDoubleFormboard(settings) ? BuildNonVerticalFaceShell(slab)
                                                   : BuildTopOrBottomFaceShell(slab, false);
    const int n = slab.GetFaceCount();
    std::vector<int> faces{n - 1};
    if (n >= 2 && IsDoubleFormboardFace(slab.GetFace(n - 2).GetNormal(), settings))
        faces.push_back(n - 2);
    return std::make_unique<TVRMPolyhedronShell3d>(slab, faces);
}

std::unique_ptr<TVRMPolyhedronShell3d> BuildSideShellInSlab(const TVRMPolyhedron3d& slab,
                                                            const TVRMPolyhedron3d& element, bool curvedSlab)
{
    const int m = element.GetFaceCount();
    std::vector<int> sides;
    for (int i = 0; i < m; ++i) {
        if (curvedSlab ? SameValue(element.GetFace(i).GetNormal().z, 0.0) : i < m - 2)
            sides.push_back(i);
    }
    auto shell = std::make_unique<TVRMPolyhedronShell3d>(element, sides);
    // Kinds 3: the faces lying on the slab's own faces stay too.
    TVRMNewPolyBooleanOperator::BooleanOperate(*shell, slab, CVRMBoolIntersect, 3, 1);
    return shell;
}

int SlabFormboardKinds(IRDXRecord* slab, IRDXRecord* element, const TableSourceRef& ruleContext)
{
    return CompareFormboardPriority(slab, element, ruleContext) < 0 ? 3 : 1;
}

bool IsFillerOrPartitionWall(IRDXRecord* wall)
{
    const int type = EdoPropValueInteger(GetRecordPropValues(wall), "Type", -1);
    return type == 2 || type == 5;
}
