#include "Calculator/CalcFrame/QTKCalcEDOs/QTKDormerWinCalcEDO.h"

#include <cmath>
#include <numbers>

#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKReportExprParser.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// The parametric shapes the dormer rules know.
constexpr int CDormerShapeA = 174;
constexpr int CDormerShapeB = 178;
// Sub-id of the sub-element whose parent gives the base thickness.
constexpr int CBaseSubId = 7;

}  // namespace

TQTKDormerWinCalcEDO::~TQTKDormerWinCalcEDO() = default;

std::unique_ptr<TVRMPolyhedron3d> TQTKDormerWinCalcEDO::BuildRelationPolyhedron()
{
    return std::make_unique<TVRMPolyhedron3d>();
}

void TQTKDormerWinCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    TParams params;
    if (drawObj->IsParametric()) {
        params.info = drawObj->GetPolyInfo();
        // "SlabAngle" is stored in degrees.
        const double angle = EdoPropValueFloat(drawObj->GetPropValues(), "SlabAngle");
        params.slopeTangent = std::tan(angle * std::numbers::pi / 180.0);
        const auto subs = GetParamSubDrawObjs(drawObj->GetRecord(), CBaseSubId);
        if (!subs.empty())
            params.baseThickness = FieldValueFloat(subs.front()->GetParentRecord(), "Thickness", 0.0);
    }
    Keep(params_, std::move(params));
}

void TQTKDormerWinCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    std::lock_guard guard(DataLock());
    params_.info.reset();
}

int TQTKDormerWinCalcEDO::GetShapeId()
{
    const TParams params = Kept(params_);
    return params.info ? params.info->ParamPolyID() : -1;
}

bool TQTKDormerWinCalcEDO::IsSupportedShape()
{
    const int id = GetShapeId();
    return id == CDormerShapeA || id == CDormerShapeB;
}

double TQTKDormerWinCalcEDO::CalcParamValue(std::string_view formula)
{
    const TParams params = Kept(params_);
    if (!params.info)
        return 0.0;
    TQTKParamElementDrawObjParser parser(GetElementDrawObj()->GetRecord(), params.info.get());
    parser.OnGetParamValue = [&params](std::string_view name) { return ResolveParamValue(params, name); };
    return parser.EvaluateFormula(formula, false);
}

double TQTKDormerWinCalcEDO::ResolveParamValue(const TParams& params, std::string_view name)
{
    if (name == "BH")
        return params.baseThickness;
    if (name == "PDXS")
        return params.slopeTangent;
    QTK_ASSERT_MSG(false, "a dormer formula names a parameter its shape does not have");
    return 0.0;
}
