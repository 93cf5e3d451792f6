#include "Calculator/Common/QTKCalculatorExprBeam.h"

#include <cmath>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CLintelType = 12;
constexpr int CFDBeamType = 47;
constexpr int CCopingType = 70;

// Middle-line length x length rate of a beam or coping (mm); False without a middle line.
bool MiddleLineLength(IRDXRecord* record, double& length)
{
    const Ref<IQTKHasSectionInfoWithLengthRateCalcEDO> edo =
        RefCast<IQTKHasSectionInfoWithLengthRateCalcEDO>(GetCalcEDO(record, true));
    const TVRMCustomLine2d* midLine = edo ? edo->GetMidLine() : nullptr;
    if (!midLine)
        return false;
    length = midLine->Length() * edo->GetLengthRate();
    return true;
}

// Section sizes of the quick formwork forms: the properties, or an axis-parallel drawn rectangle.
bool QuickSectionSizes(IRDXRecord* record, const IPropValues* props, double& width, double& height)
{
    switch (props->GetInteger("SectionTypeID")) {
        case 0:
            width = props->GetFloat("SectionWidth");
            height = props->GetFloat("SectionHeight");
            return true;
        case 2: {
            bool axisParallel = false;
            return GetRecordRectSize(record, width, height, axisParallel) && axisParallel;
        }
        default:
            return false;
    }
}

double FacesArea(const TVRMPolyhedronShell3d& shell, int from, int to)
{
    double area = 0.0;
    for (int i = std::max(from, 0); i < to && i < shell.GetFaceCount(); ++i)
        area += shell.GetFace(i).GetArea();
    return area;
}

}  // namespace

void BuildBeamSectionAreaExpr(IRDXRecord* record)
{
    double width = 0, height = 0;
    if (GetExprElement(record, {15, 17, 18, 47}) && GetBeamSectionSize(record, width, height))
        AddExprText(record, Format("%g<宽度>*%g<高度>", {ExprLength(width), ExprLength(height)}));
}

void BuildBeamPerimeterExpr(IRDXRecord* record)
{
    double width = 0, height = 0;
    if (GetExprElement(record, {15, 17, 18}) && GetBeamSectionSize(record, width, height))
        AddExprText(record, Format("(%g<宽度>+%g<高度>)*2", {ExprLength(width), ExprLength(height)}));
}

void BuildBeamVolExpr(IRDXRecord* record, bool byAxisLine, double volume)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {15, 17, 18});
    const auto* shape = drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
    const Ref<IQTKBeamCalcEDO> beam = shape ? RefCast<IQTKBeamCalcEDO>(GetCalcEDO(record, true)) : nullptr;
    double width = 0, height = 0;
    if (!beam || !GetBeamSectionSize(record, width, height))
        return;
    // The length is derived by dividing by the section: none without one.
    if (IsZero(width) || IsZero(height))
        return;
    const double w = ExprLength(width);
    const double h = ExprLength(height);
    if (byAxisLine) {
        const double axis = ExprLength(shape->GetLine().Length() * beam->GetLengthRate());
        if (AddCheckedExprText(record, axis * w * h, ExprVolume(volume), CQTKExprVolumeTolerance,
                               "%g<宽度>*%g<高度>*%g<轴线长度>", {w, h, axis}))
            return;
    }
    AddExprText(record, Format("%g<宽度>*%g<高度>*%g<中心线长度>", {w, h, ExprLength(volume / width / height)}));
}

void BuildBeamFormboardAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell, int countAfterLeft,
                                int countAfterRight, int countAfterBottom, int countAfterTop)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {15, 17, 18, 47});
    if (!drawObj || !shell)
        return;
    double width = 0, height = 0, length = 0;
    if (QuickSectionSizes(record, drawObj->GetPropValues(), width, height) && MiddleLineLength(record, length)) {
        const double w = ExprLength(width);
        const double h = ExprLength(height);
        const double ml = ExprLength(length);
        const double quantity = ExprArea(shell->GetArea());
        if (drawObj->GetElementTypeID() == CFDBeamType) {
            if (AddCheckedExprText(record, h * 2 * ml, quantity, CQTKExprAreaTolerance, "%g<高度>*%g<中心线长度>*2",
                                   {h, ml}))
                return;
        } else if (AddCheckedExprText(record, (h * 2 + w) * ml, quantity, CQTKExprAreaTolerance,
                                      "(%g<高度>*2+%g<宽度>)*%g<中心线长度>", {h, w, ml}) ||
                   AddCheckedExprText(record, (h * 2 + w * 2) * ml, quantity, CQTKExprAreaTolerance,
                                      "(%g<高度>*2+%g<宽度>*2)*%g<中心线长度>", {h, w, ml})) {
            return;
        }
    }
    // Each group runs from the end of the groups before it (a group not added ends nowhere).
    const int ends[] = {countAfterLeft, countAfterRight, countAfterBottom, countAfterTop};
    static constexpr const char* CLabels[] = {"%g<左侧支模面积>", "%g<右侧支模面积>", "%g<底部支模面积>",
                                              "%g<顶部支模面积>"};
    TQTKExprTerms terms;
    int start = 0;
    for (int g = 0; g < 4; ++g) {
        const double area = ends[g] < 0 ? 0.0 : ExprArea(FacesArea(*shell, start, ends[g]));
        terms.Add(area, CLabels[g], {area});
        start = std::max(start, ends[g]);
    }
    if (!terms.IsEmpty())
        AddExprText(record, terms.Text());
}

void BuildFDBeamBottomAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CFDBeamType});
    double width = 0, height = 0, length = 0;
    if (!drawObj || !shell || !QuickSectionSizes(record, drawObj->GetPropValues(), width, height) ||
        !MiddleLineLength(record, length))
        return;
    const double w = ExprLength(width);
    const double ml = ExprLength(length);
    AddCheckedExprText(record, w * ml, ExprArea(shell->GetArea()), CQTKExprAreaTolerance, "%g<宽度>*%g<中心线长度>",
                       {w, ml});
}

void BuildLintelVolExpr(IRDXRecord* record, double volume)
{
    if (!GetExprElement(record, {CLintelType}) || IsArchRecord(record))
        return;
    const Ref<IQTKLintelCalcEDO> lintel = RefCast<IQTKLintelCalcEDO>(GetCalcEDO(record, true));
    const TVRMMultiPolygon2d* section = lintel ? lintel->GetPlanPolygon() : nullptr;
    if (!section)
        return;
    const double sectionArea = section->Area();
    if (IsZero(sectionArea))
        return;
    AddExprText(record, Format("%g<截面面积>*%g<长度>", {ExprArea(sectionArea), ExprLength(volume / sectionArea)}));
}

void BuildLintelOutBottomFormboardAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc, double area)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CLintelType});
    if (!drawObj || !calc || !calc->GetShell() || !IsArchRecord(record))
        return;
    const Ref<IQTKLintelCalcEDO> lintel = RefCast<IQTKLintelCalcEDO>(GetCalcEDO(record, true));
    const TVRMCustomLine2d* line = lintel ? lintel->GetCalcLine() : nullptr;
    if (!line)
        return;
    const TVRMPolyhedron3d* solid = lintel->GetOriginalPolyhedron();
    const int n = solid ? solid->GetFaceCount() : 0;
    std::vector<int> indices;
    GetInclinedShellFaceIndices(drawObj, *calc, *line, MakeFaceCodeSet({3}), {n - 1, n - 2}, indices);
    double bottom = 0.0;
    for (int i : indices)
        if (i >= 0 && i < calc->GetShell()->GetFaceCount())
            bottom += calc->GetShell()->GetFace(i).GetArea();
    const double b = ExprArea(bottom);
    const double t = ExprArea(area - bottom);
    std::string text;
    if (CompareValue(b, 0.0) > 0)
        text = Format("%g<底部外露面积>", {b});
    if (CompareValue(t, 0.0) > 0)
        text += Format(text.empty() ? "%g<顶部外露面积>" : "+%g<顶部外露面积>", {t});
    if (!text.empty())
        AddExprText(record, text);
}

void BuildCopingSectionAreaExpr(IRDXRecord* record)
{
    double width = 0, height = 0, length = 0;
    if (GetExprElement(record, {CCopingType}) && GetCopingSectionSize(record, width, height, length))
        AddExprText(record, Format("%g<宽度>*%g<高度>", {ExprLength(width), ExprLength(height)}));
}

void BuildCopingFaceAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc, bool byFaceKind)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CCopingType});
    const TVRMPolyhedronShell3d* shell = calc ? calc->GetShell() : nullptr;
    if (!drawObj || !shell || !shell->HasFaces())
        return;
    switch (drawObj->GetPropValues()->GetInteger("SectionTypeID")) {
        case 0:
            break;
        case 2: {
            const IQTKShape* shape = drawObj->GetShape();
            double width = 0, length = 0;
            if (!shape || shape->GetPolygon().GetCount() != 1 ||
                !GetPolygonRectSize(&shape->GetPolygon().GetItems(0), width, length))
                return;
            break;
        }
        default:
            return;
    }
    double bottom = 0.0, side = 0.0, top = 0.0;
    for (const TVRMFace3d& face : shell->GetFaces()) {
        const double area = ExprArea(face.GetArea() * calc->GetFactor());
        const TVRMVector3d& n = face.GetNormal();
        const double h = std::hypot(n.x, n.y);
        // Steeper than 45 degrees, 45 included: a side face.
        if (!IsZero(h) && !GreaterThan(std::abs(n.z) / h, 1.0, 1e-9))
            side += area;
        else if (byFaceKind && GreaterThan(n.z, 0.0))
            top += area;
        else
            bottom += area;
    }
    TQTKExprTerms terms;
    if (byFaceKind) {
        terms.Add(bottom, "%g<底面面积>", {bottom});
        terms.Add(side, "%g<侧面面积>", {side});
        terms.Add(top, "%g<顶面面积>", {top});
    } else {
        terms.Add(bottom, "%g<底面模板面积>", {bottom});
        terms.Add(side, "%g<侧面模板面积>", {side});
    }
    if (!terms.IsEmpty())
        AddExprText(record, terms.Text());
}

void BuildCopingFormboardAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CCopingType});
    const auto* shape = drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
    double length = 0, endArea = 0, horizontal = 0, height = 0, middle = 0;
    if (!shape || !GetCopingShellSize(calc, &shape->GetLine(), length, endArea, horizontal, height) ||
        !MiddleLineLength(record, middle))
        return;
    const double e = ExprArea(endArea);
    const double h = ExprLength(height);
    const double w = ExprLength(drawObj->GetPropValues()->GetFloat("SectionWidth"));
    const double ml = ExprLength(middle);
    const double product = (h * 2 + w) * ml + e;
    if (IsZero(e))
        AddCheckedExprText(record, product, ExprArea(calc->GetArea()), CQTKExprAreaTolerance,
                           "(%g<宽度>+%g<高度>*2)*%g<长度>", {w, h, ml});
    else
        AddCheckedExprText(record, product, ExprArea(calc->GetArea()), CQTKExprAreaTolerance,
                           "(%g<宽度>+%g<高度>*2)*%g<长度>+%g<端头面积>", {w, h, ml, e});
}

namespace {

// Width and length of a one-rectangle section, or the radius of a one-circle section.
enum class TSectionKind { None, Rectangle, Circle };

TSectionKind MeasureSection(const IRDXRecord* record, const TVRMMultiPolygon2d* section, double& width, double& length,
                            double& radius)
{
    if (!IsExprMode(record) || !section || section->GetCount() != 1)
        return TSectionKind::None;
    const TVRMPolygon2d& polygon = section->GetItems(0);
    if (GetPolygonRectSize(&polygon, width, length))
        return TSectionKind::Rectangle;
    return polygon.IsCircle(CVRMEpsilon, &radius) ? TSectionKind::Circle : TSectionKind::None;
}

}  // namespace

void BuildSectionAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* section)
{
    double width = 0, length = 0, radius = 0;
    switch (MeasureSection(record, section, width, length, radius)) {
        case TSectionKind::Rectangle:
            AddExprText(record, Format("%g<长度>*%g<宽度>", {ExprLength(width), ExprLength(length)}));
            break;
        case TSectionKind::Circle:
            AddExprText(record, Format("Pi*%g<半径>*%g<半径>", {ExprLength(radius), ExprLength(radius)}));
            break;
        case TSectionKind::None:
            break;
    }
}

void BuildSectionPerimeterExpr(IRDXRecord* record, const TVRMMultiPolygon2d* section)
{
    double width = 0, length = 0, radius = 0;
    switch (MeasureSection(record, section, width, length, radius)) {
        case TSectionKind::Rectangle:
            AddExprText(record, Format("(%g<长度>+%g<宽度>)*2", {ExprLength(width), ExprLength(length)}));
            break;
        case TSectionKind::Circle:
            AddExprText(record, Format("2*Pi*%g<半径>", {ExprLength(radius)}));
            break;
        case TSectionKind::None:
            break;
    }
}
