#include "Calculator/Common/QTKCalculatorExprTrench.h"

#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CStripFDUnitType = 81;
constexpr int CTrenchUnitType = 84;

// A unit of the type with a rectangular section, in expression mode: its
// printed width and height (m); nil otherwise.
const IPropValues* RectSection(const IRDXRecord* record, int typeId, double& width, double& height)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {typeId});
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    if (!props || props->GetInteger("SectionTypeID") != 0)
        return nullptr;
    width = ExprLength(props->GetFloat("SectionWidth"));
    height = ExprLength(props->GetFloat("SectionHeight"));
    return props;
}

// The unit's object as its family interface (nil for another object).
template <class TUnit>
Ref<TUnit> UnitOf(IRDXRecord* record)
{
    return RefCast<TUnit>(GetCalcEDO(record, true));
}

// Printed lengths of the unit's left and right lines; False without both lines.
template <class TUnit>
bool SideLineLengths(TUnit& unit, double& left, double& right)
{
    const TVRMCustomLine2d* l = unit.GetLeftLine();
    const TVRMCustomLine2d* r = unit.GetRightLine();
    if (!l || !r)
        return false;
    left = ExprLength(l->Length());
    right = ExprLength(r->Length());
    return true;
}

// "%g<宽度>*%g<高度>" of a unit that offers its family interface.
template <class TUnit>
void WriteSectionArea(IRDXRecord* record, int typeId, double area)
{
    double w = 0, h = 0;
    if (RectSection(record, typeId, w, h) && UnitOf<TUnit>(record))
        AddCheckedExprText(record, w * h, ExprArea(area), CVRMEpsilon, "%g<宽度>*%g<高度>", {w, h});
}

// The side formwork: both side lines times the height.
template <class TUnit>
void WriteSideFormboard(IRDXRecord* record, int typeId, double area, double tolerance, const char* format)
{
    double w = 0, h = 0, left = 0, right = 0;
    if (!RectSection(record, typeId, w, h))
        return;
    const Ref<TUnit> unit = UnitOf<TUnit>(record);
    if (unit && SideLineLengths(*unit, left, right))
        AddCheckedExprText(record, (left + right) * h, ExprArea(area), tolerance, format, {left, right, h});
}

// The two ends: width x height x 2.
void WriteHeadFormboard(IRDXRecord* record, int typeId, double area, const char* format)
{
    double w = 0, h = 0;
    if (RectSection(record, typeId, w, h))
        AddCheckedExprText(record, w * h * 2, ExprArea(area), CQTKExprAreaTolerance, format, {w, h});
}

// A bottom board plastered as a floor: "%g<宽度>*%g<长度>" with the width the
// area gives over the unit line; empty when it does not state the area.
std::string BottomBoardText(IQTKTrenchUnitCalcEDO& unit, const IPropValues& props, double area, double deductions)
{
    const Ref<IQTKTrenchCalcEDO> trench = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(unit.GetTrenchRecord(), true));
    const TVRMCustomLine2d* line = unit.GetUnitLine();
    // The width is the area over the line: a line without length states nothing.
    if (!trench || !trench->GetHoleSolid() || !line || IsZero(line->Length()))
        return {};
    const double width = area / line->Length();
    if (GreaterThan(width, props.GetFloat("SectionWidth"), 0.1))
        return {};
    const double w = ExprLength(width);
    const double l = ExprLength(line->Length());
    if (!IsExprConsistent(l * w - deductions, ExprArea(area), CQTKExprAreaTolerance))
        return {};
    return Format("%g<宽度>*%g<长度>", {w, l});
}

// A side wall plastered as a wall: height times its free side lines.
std::string SideWallText(IQTKTrenchUnitCalcEDO& unit, double height, double area, double deductions)
{
    double left = 0, right = 0;
    if (!SideLineLengths(unit, left, right))
        return {};
    const int kind = unit.GetFreeHeadKind();
    const double length = kind == 0 ? right : kind == 1 ? left : kind == 2 ? left + right : 0.0;
    if (!IsExprConsistent(length * height - deductions, ExprArea(area), CVRMEpsilon))
        return {};
    if (kind == 2)
        return Format("(%g<左边线长度>+%g<右边线长度>)*%g<高度>", {left, right, height});
    return Format("%g<高度>*%g<长度>", {height, length});
}

}  // namespace

void BuildStripFDUnitSectionAreaExpr(IRDXRecord* record, double area)
{
    WriteSectionArea<IQTKStripFDUnitCalcEDO>(record, CStripFDUnitType, area);
}

void BuildStripFDUnitSideFormboardAreaExpr(IRDXRecord* record, double area)
{
    WriteSideFormboard<IQTKStripFDUnitCalcEDO>(record, CStripFDUnitType, area, CQTKExprAreaTolerance,
                                               "(%g<左边线长度>+%g<右边线长度>)*%g<高度><侧模>");
}

void BuildStripFDUnitHeadFormboardAreaExpr(IRDXRecord* record, double area)
{
    WriteHeadFormboard(record, CStripFDUnitType, area, "%g<宽度>*%g<高度>*2<端头>");
}

void BuildTrenchUnitSectionAreaExpr(IRDXRecord* record, double area)
{
    WriteSectionArea<IQTKTrenchUnitCalcEDO>(record, CTrenchUnitType, area);
}

void BuildTrenchUnitFormboardAreaExpr(IRDXRecord* record, double area)
{
    WriteSideFormboard<IQTKTrenchUnitCalcEDO>(record, CTrenchUnitType, area, CVRMEpsilon,
                                              "((%g<左边线长度>+%g<右边线长度>)*%g<高度>)<侧模>");
}

void BuildTrenchUnitHeadFormboardAreaExpr(IRDXRecord* record, double area)
{
    WriteHeadFormboard(record, CTrenchUnitType, area, "(%g<宽度>*%g<高度>*2)<端模>");
}

void BuildTrenchPlasteringAreaExpr(IRDXRecord* record, double area, double endDeduction, double deduction)
{
    double w = 0, h = 0;
    const IPropValues* props = RectSection(record, CTrenchUnitType, w, h);
    const Ref<IQTKTrenchUnitCalcEDO> unit = props ? UnitOf<IQTKTrenchUnitCalcEDO>(record) : nullptr;
    if (!unit)
        return;
    const double e = ExprArea(endDeduction);
    const double r = ExprArea(deduction);
    std::string text;
    switch (props->GetInteger("Type")) {
        case 1:
            text = SideWallText(*unit, h, area, e + r);
            break;
        case 0:
            text = BottomBoardText(*unit, *props, area, e + r);
            break;
        default:
            return;
    }
    if (text.empty())
        return;
    if (GreaterThan(e, 0.0))
        text += Format("-%g<扣地沟端头抹灰面积>", {e});
    if (GreaterThan(r, 0.0))
        text += Format("-%g<扣地沟抹灰面积>", {r});
    AddExprText(record, text);
}

void BuildTrenchFreeHeadPlasteringAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell)
{
    const Ref<IQTKTrenchUnitCalcEDO> unit =
        GetExprElement(record, {CTrenchUnitType}) ? UnitOf<IQTKTrenchUnitCalcEDO>(record) : nullptr;
    double width = 0, length = 0;
    if (!unit || !GetShellRectSize(shell, width, length))
        return;
    const char* format = unit->GetFreeHeadKind() == 2 ? "%g<宽度>*%g<长度>*2" : "%g<宽度>*%g<长度>";
    AddExprText(record, Format(format, {ExprLength(width), ExprLength(length)}));
}
