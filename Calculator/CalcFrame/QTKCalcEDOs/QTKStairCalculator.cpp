#include "Calculator/CalcFrame/QTKCalcEDOs/QTKStairCalculator.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKReportExprParser.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKPlanarCalc2d.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
// A wall must overlap the stair vertically by more than this (mm).
constexpr double CWallOverlap = 10.0;

// The first outline rings of the two elements are not apart.
bool OutlinesMeet(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b)
{
    const TVRMMultiPolygon2d& first = a->GetShape()->GetOutline();
    const TVRMMultiPolygon2d& second = b->GetShape()->GetOutline();
    if (first.IsEmpty() || second.IsEmpty())
        return false;
    return TVRMPositionFunc2d::PolyPolyPosition(first.GetItems(0), second.GetItems(0), CLengthTol) != 0;
}

}  // namespace

TQTKStairCalculator::~TQTKStairCalculator() = default;

int TQTKStairCalculator::GetParamPolyInfoType()
{
    const auto info = Kept(paramInfo_);
    return info ? info->ParamPolyID() : -1;
}

double TQTKStairCalculator::CalcParamExpression(std::string_view formula, bool buildExpr)
{
    const auto info = Kept(paramInfo_);
    if (!info)
        return 0.0;
    return TQTKParamElementDrawObjParser::CalcFormula(GetElementDrawObj()->GetRecord(), info.get(), formula, buildExpr);
}

bool TQTKStairCalculator::IsIntersectWith(IRDXRecord* record)
{
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    if (!other)
        return false;
    const IQTKElementDrawObj* own = GetElementDrawObj();
    const int type = other->GetElementTypeID();
    if (type != 0 && type != 86)
        return (type == 58 || type == 85) && OutlinesMeet(other, own);
    const TVRMBox3d ownBox = own->GetBox();
    const TVRMBox3d otherBox = other->GetBox();
    if (!(otherBox.max.z - ownBox.min.z > CWallOverlap && ownBox.max.z - otherBox.min.z > CWallOverlap))
        return false;
    return OutlinesMeet(other, own);
}

void TQTKStairCalculator::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    Keep(paramInfo_, ReadParamPolyInfo());
}

void TQTKStairCalculator::FreeCalcCache()
{
    Keep(projectiveAreaCalc_, {});
    Keep(paramInfo_, {});
    TQTKCalculatorEDO::FreeCalcCache();
}
