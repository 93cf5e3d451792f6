#include "Calculator/Common/QTKCalculatorExprFoundation.h"

#include <string>
#include <string_view>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CBeddingType = 55;
constexpr int CPileCapUnitType = 83;

// A unit's two plan sizes and height (mm), in expression mode; False when the reader fails.
using TUnitSizeReader = bool (*)(IRDXRecord*, double&, double&, double&);
bool UnitSizes(IRDXRecord* record, TUnitSizeReader reader, double& first, double& second, double& third)
{
    return IsExprMode(record) && reader(record, first, second, third);
}

// "%g<长度>*%g<宽度>" of two sizes, checked against the area when asked.
void WriteLengthWidth(IRDXRecord* record, double length, double width, double area)
{
    const double l = ExprLength(length);
    const double w = ExprLength(width);
    AddCheckedExprText(record, l * w, ExprArea(area), CQTKExprAreaTolerance, "%g<长度>*%g<宽度>", {l, w});
}

// The plan of a pile cap unit: its own outline (section types 0 to 2) or its owner's (4).
const TVRMMultiPolygon2d* PileCapOutline(const IQTKElementDrawObj* drawObj, int& sectionType)
{
    sectionType = drawObj->GetPropValues()->GetInteger("SectionTypeID");
    const IQTKElementDrawObj* owner = drawObj;
    if (sectionType == 4) {
        IRDXRecord* parent = drawObj->GetParentRecord();
        owner = parent ? dynamic_cast<const IQTKElementDrawObj*>(parent->GetObject()) : nullptr;
    } else if (sectionType < 0 || sectionType > 2) {
        return nullptr;
    }
    const IQTKShape* shape = owner ? owner->GetShape() : nullptr;
    return shape ? &shape->GetOutline() : nullptr;
}

// A raft that can be stated by its outline: a level face without per-edge information.
const IQTKFaceShape* RaftShape(const IQTKElementDrawObj* drawObj)
{
    const auto* shape = drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
    return shape && !HasShapeEdgeInfo(shape) && shape->GetFlag() != 0 ? shape : nullptr;
}

// A raft stated by its outline (RaftShape) and its "Thickness"; nil otherwise.
const TVRMMultiPolygon2d* RaftOutline(const IRDXRecord* record, double& thickness)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {48});
    const IQTKFaceShape* shape = RaftShape(drawObj);
    if (!shape)
        return nullptr;
    thickness = drawObj->GetPropValues()->GetFloat("Thickness");
    return &shape->GetOutline();
}

// The outline's area formula (precision 3); empty when the host has none.
std::string OutlineFormula(const TVRMMultiPolygon2d& outline)
{
    return PolygonAreaFormula(outline, 3);
}

// The raft's sides as perimeter times thickness: the perimeter's formula in
// the template (a "%s" and a "%g"), else "%g<周长>*%g<厚度>".
void WriteRaftPerimeterThickness(IRDXRecord* record, const TVRMMultiPolygon2d& outline, double thickness,
                                 std::string_view format)
{
    const double t = ExprLength(thickness);
    std::string formula;
    if (TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(outline, formula, -1))
        AddExprText(record, Format(format, {formula, t}));
    else
        AddExprText(record, Format("%g<周长>*%g<厚度>", {ExprLength(outline.Perimeter()), t}));
}

}  // namespace

void BuildPileCapUnitVolExpr(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CPileCapUnitType});
    int sectionType = -1;
    const TVRMMultiPolygon2d* outline = drawObj ? PileCapOutline(drawObj, sectionType) : nullptr;
    if (!outline)
        return;
    const double h = ExprLength(drawObj->GetPropValues()->GetFloat("Height"));
    std::string formula;
    if (TVRMPoly2dAnalyser::ParseMultiPolygonToString(*outline, formula, 3))
        AddExprText(record, Format("(%s)*%g<高度>", {formula, h}));
    else
        AddExprText(record, Format("%g<面积>*%g<高度>", {ExprArea(outline->Area()), h}));
}

void BuildPileCapUnitFormboardAreaExpr(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CPileCapUnitType});
    int sectionType = -1;
    const TVRMMultiPolygon2d* outline = drawObj ? PileCapOutline(drawObj, sectionType) : nullptr;
    if (!outline)
        return;
    const double h = ExprLength(drawObj->GetPropValues()->GetFloat("Height"));
    std::string formula;
    if (TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(*outline, formula, -1))
        AddExprText(record, Format("%s*%g<高度>", {formula, h}));
    else
        AddExprText(record, Format("%g<周长>*%g<高度>", {ExprLength(outline->Perimeter()), h}));
}

void BuildPileCapUnitFaceAreaExpr(IRDXRecord* record, double area)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CPileCapUnitType});
    int sectionType = -1;
    const TVRMMultiPolygon2d* outline = drawObj ? PileCapOutline(drawObj, sectionType) : nullptr;
    if (!outline)
        return;
    if (sectionType == 0) {
        double width = 0, length = 0, height = 0;
        if (GetPileCapUnitSize(record, width, length, height) && IsExprAreaMatch(width * length - area))
            AddExprText(record, Format("%g<长度>*%g<宽度>", {ExprLength(length), ExprLength(width)}));
        return;
    }
    std::string formula;
    if (IsExprAreaMatch(outline->Area() - area) && TVRMPoly2dAnalyser::ParseMultiPolygonToString(*outline, formula, 3))
        AddExprText(record, formula);
}

void BuildPileCapUnitSideAreaExpr(IRDXRecord* record, double area)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CPileCapUnitType});
    int sectionType = -1;
    const TVRMMultiPolygon2d* outline = drawObj ? PileCapOutline(drawObj, sectionType) : nullptr;
    if (!outline)
        return;
    if (sectionType == 0) {
        double width = 0, length = 0, height = 0;
        if (GetPileCapUnitSize(record, width, length, height) && IsExprAreaMatch((length + width) * 2 * height - area))
            AddExprText(record, Format("(%g<长度>+%g<宽度>)*2*%g<高度>",
                                       {ExprLength(length), ExprLength(width), ExprLength(height)}));
        return;
    }
    const double height = drawObj->GetPropValues()->GetFloat("Height");
    std::string formula;
    if (IsExprAreaMatch(outline->Perimeter() * height - area) &&
        TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(*outline, formula, -1))
        AddExprText(record, Format("(%s)*%g<高度>", {formula, ExprLength(height)}));
}

void BuildIsolatedFDUnitVolExpr(IRDXRecord* record)
{
    double width = 0, length = 0, height = 0;
    if (UnitSizes(record, GetIsolatedFDUnitSize, width, length, height))
        AddExprText(record,
                    Format("%g<长度>*%g<宽度>*%g<高度>", {ExprLength(length), ExprLength(width), ExprLength(height)}));
}

void BuildIsolatedFDUnitFormboardAreaExpr(IRDXRecord* record)
{
    double width = 0, length = 0, height = 0;
    if (UnitSizes(record, GetIsolatedFDUnitSize, width, length, height))
        AddExprText(record, Format("(%g<长度>+%g<宽度>)*2*%g<高度>",
                                   {ExprLength(length), ExprLength(width), ExprLength(height)}));
}

void BuildIsolatedFDUnitBottomAreaExpr(IRDXRecord* record, double area)
{
    double width = 0, length = 0, height = 0;
    if (UnitSizes(record, GetIsolatedFDUnitSize, width, length, height))
        WriteLengthWidth(record, length, width, area);
}

void BuildIsolatedFDUnitTopAreaExpr(IRDXRecord* record, double area)
{
    BuildIsolatedFDUnitBottomAreaExpr(record, area);
}

void BuildIsolatedFDUnitSideAreaExpr(IRDXRecord* record, double area)
{
    double width = 0, length = 0, height = 0;
    if (!UnitSizes(record, GetIsolatedFDUnitSize, width, length, height))
        return;
    const double l = ExprLength(length);
    const double w = ExprLength(width);
    const double h = ExprLength(height);
    AddCheckedExprText(record, (l + w) * 2 * h, ExprArea(area), CQTKExprAreaTolerance, "(%g<长度>+%g<宽度>)*2*%g<高度>",
                       {l, w, h});
}

void BuildStripFDUnitBottomAreaExpr(IRDXRecord* record, double area)
{
    double width = 0, section = 0, line = 0;
    if (UnitSizes(record, GetStripFDUnitSize, width, section, line))
        WriteLengthWidth(record, line, width, area);
}

void BuildStripFDUnitTopAreaExpr(IRDXRecord* record, double area)
{
    BuildStripFDUnitBottomAreaExpr(record, area);
}

void BuildStripFDUnitSideAreaExpr(IRDXRecord* record, double area)
{
    double width = 0, section = 0, line = 0;
    if (!UnitSizes(record, GetStripFDUnitSize, width, section, line))
        return;
    const double u = ExprLength(line);
    const double s = ExprLength(section);
    AddCheckedExprText(record, u * s * 2, ExprArea(area), CQTKExprAreaTolerance, "%g<长度>*2*%g<高度>", {u, s});
}

void BuildBeddingVolExpr(IRDXRecord* record, const TQTKSolidCalc3d* source)
{
    int shapeKind = -1, sectionType = -1;
    double b = 0, a = 0, thickness = 0, line = 0;
    if (!GetExprElement(record, {CBeddingType}) || !source ||
        !GetBeddingSize(record, shapeKind, sectionType, b, a, thickness, line, nullptr))
        return;
    if (shapeKind != 1) {
        AddExprText(record,
                    Format("%g<长度>*%g<宽度>*%g<厚度>", {ExprLength(a), ExprLength(b), ExprLength(thickness)}));
        return;
    }
    const double bw = ExprLength(b);
    const double at = ExprLength(a);
    const double u = ExprLength(line);
    AddCheckedExprText(record, bw * at * u, ExprVolume(source->GetVolume()), CQTKExprAreaTolerance,
                       "%g<宽度>*%g<厚度>*%g<长度>", {bw, at, u});
}

void BuildBeddingFormboardAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* source)
{
    int shapeKind = -1, sectionType = -1;
    double b = 0, a = 0, thickness = 0, line = 0;
    if (!GetExprElement(record, {CBeddingType}) || !source ||
        !GetBeddingSize(record, shapeKind, sectionType, b, a, thickness, line, nullptr))
        return;
    if (shapeKind != 1) {
        AddExprText(record,
                    Format("(%g<长度>+%g<宽度>)*2*%g<厚度>", {ExprLength(a), ExprLength(b), ExprLength(thickness)}));
        return;
    }
    if (!RefCast<IQTKLineEdoInfoProvider>(GetCalcEDO(record, true)) || !source->GetShell())
        return;
    const double end = ExprArea(GetBeddingEndArea(record, *source->GetShell()));
    const double sides = ExprArea(source->GetArea()) - end;
    double printed = 0.0;
    if (SameValue(sides, ExprArea(a * 2 * line), CQTKExprAreaTolerance))
        printed = a;
    else if (SameValue(sides, ExprArea(b * 2 * line), CQTKExprAreaTolerance))
        printed = b;
    else
        return;
    if (IsZero(end))
        AddExprText(record, Format("%g<厚度>*2*%g<长度>", {ExprLength(printed), ExprLength(line)}));
    else
        AddExprText(record, Format("%g<厚度>*2*%g<长度>+%g<端头面积>", {ExprLength(printed), ExprLength(line), end}));
}

void BuildBeddingBottomAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* source)
{
    int shapeKind = -1, sectionType = -1;
    double b = 0, a = 0, thickness = 0, line = 0;
    if (!GetExprElement(record, {CBeddingType}) || !source ||
        !GetBeddingSize(record, shapeKind, sectionType, b, a, thickness, line, source->GetShell()))
        return;
    if (shapeKind != 1) {
        AddExprText(record, Format("%g<长度>*%g<宽度>", {ExprLength(a), ExprLength(b)}));
        return;
    }
    const double quantity = ExprArea(source->GetArea());
    for (double width : {b, a}) {
        if (SameValue(ExprArea(width * line), quantity, CQTKExprAreaTolerance)) {
            AddExprText(record, Format("%g<宽度>*%g<长度>", {ExprLength(width), ExprLength(line)}));
            return;
        }
    }
}

void BuildRaftFDVolExpr(IRDXRecord* record, double volume)
{
    double thickness = 0;
    const TVRMMultiPolygon2d* outline = RaftOutline(record, thickness);
    if (!outline || !IsPrintedZero((outline->Area() * thickness - volume) * 1e-9, CQTKExprVolumeTolerance))
        return;
    const double t = ExprLength(thickness);
    const std::string formula = OutlineFormula(*outline);
    if (!formula.empty())
        AddExprText(record, Format("(%s)*%g<厚度>", {formula, t}));
    else
        AddExprText(record, Format("%g<原始底面积>*%g<厚度>", {ExprArea(outline->Area()), t}));
}

void BuildRaftFDFormboardAreaExpr(IRDXRecord* record, double area)
{
    double thickness = 0;
    const TVRMMultiPolygon2d* outline = RaftOutline(record, thickness);
    if (outline &&
        SameValue(ExprArea(area), ExprLength(outline->Perimeter()) * ExprLength(thickness), CQTKExprAreaTolerance))
        WriteRaftPerimeterThickness(record, *outline, thickness, "%s*%g<厚度>");
}

void BuildRaftFDBottomAreaExpr(IRDXRecord* record)
{
    double thickness = 0;
    const TVRMMultiPolygon2d* outline = RaftOutline(record, thickness);
    const std::string formula = outline ? OutlineFormula(*outline) : std::string();
    if (!formula.empty())
        AddExprText(record, formula);
}

void BuildRaftFDProjectiveAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* projected)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {48});
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    if (!shape || !projected)
        return;
    const TVRMMultiPolygon2d& outline = shape->GetOutline();
    const bool asOutline = IsPrintedZero((outline.Area() - projected->Area()) * 1e-6, CVRMEpsilon);
    const std::string formula = OutlineFormula(asOutline ? outline : *projected);
    if (!formula.empty())
        AddExprText(record, formula);
}

void BuildRaftFDExternalWallAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell)
{
    double thickness = 0;
    const TVRMMultiPolygon2d* outline = RaftOutline(record, thickness);
    if (!outline || !shell || !IsPrintedZero((shell->GetArea() - outline->Area()) * 1e-6, CVRMEpsilon))
        return;
    const std::string formula = OutlineFormula(*outline);
    if (!formula.empty())
        AddExprText(record, Format("(%s)<原始筏板面积>", {formula}));
}

void AppendRaftFDExternalWallDeductExpr(IRDXRecord* record, double value)
{
    double thickness = 0;
    const double v = ExprArea(value);
    if (RaftOutline(record, thickness) && GreaterThan(v, 0.0))
        AppendToExprText(record, Format("-%g<扣外墙>", {v}));
}

void BuildRaftFDVerticalAreaExpr(IRDXRecord* record, double area)
{
    double thickness = 0;
    const TVRMMultiPolygon2d* outline = RaftOutline(record, thickness);
    if (outline && IsPrintedZero((thickness * outline->Perimeter() - area) * 1e-6, CQTKExprAreaTolerance))
        WriteRaftPerimeterThickness(record, *outline, thickness, "(%s)*%g<厚度>");
}
