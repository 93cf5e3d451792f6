#include "Calculator/Common/QTKCalculatorExprFinish.h"

#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CSlabType = 19;
constexpr int CFloorType = 33;
constexpr int CCeilingType = 34;

void WriteShellRectangle(IRDXRecord* record, int elementType, const TVRMPolyhedronShell3d* shell)
{
    double width = 0, length = 0;
    if (GetExprElement(record, {elementType}) && GetShellRectSize(shell, width, length))
        AddExprText(record, Format("%g<长度>*%g<宽度>", {ExprLength(length), ExprLength(width)}));
}

}  // namespace

void BuildFinishShellAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc, double area)
{
    const IQTKElementDrawObj* drawObj = (IsExprMode(record) ? GetExprElement(record) : nullptr);
    if (!drawObj)
        return;
    const double quantity = ExprArea(area);
    switch (drawObj->GetElementTypeID()) {
        case 33:
        case 34:
        case 35: {
            double width = 0, length = 0;
            if (!GetShellCalcRectSize(calc, width, length))
                return;
            const double l = ExprLength(length);
            const double w = ExprLength(width);
            AddCheckedExprText(record, l * w, quantity, CQTKExprAreaTolerance, "%g<长度>*%g<宽度>", {l, w});
            return;
        }
        case 36:
        case 37: {
            const auto* shape = dynamic_cast<const IQTKLineShape*>(drawObj->GetShape());
            double length = 0, endArea = 0, height = 0;
            if (!shape || !GetBandShellSize(calc, &shape->GetLine(), length, endArea, height, area))
                return;
            const double l = ExprLength(length);
            const double h = ExprLength(height);
            const double e = ExprArea(endArea);
            if (IsZero(e))
                AddCheckedExprText(record, l * h, quantity, CQTKExprAreaTolerance, "%g<长度>*%g<高度>", {l, h});
            else
                AddCheckedExprText(record, l * h + e, quantity, CQTKExprAreaTolerance, "%g<长度>*%g<高度>+%g<端头面积>",
                                   {l, h, e});
            return;
        }
        default:
            return;
    }
}

void BuildCeilingShellAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell)
{
    WriteShellRectangle(record, CCeilingType, shell);
}

void BuildFloorShellAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell)
{
    WriteShellRectangle(record, CFloorType, shell);
}

void BuildFloorPerimeterExpr(IRDXRecord* record, const TVRMPolygon2d* polygon)
{
    double width = 0, length = 0;
    if (GetExprElement(record, {CFloorType}) && GetPolygonRectSize(polygon, width, length))
        AddExprText(record, Format("(%g<长度>+%g<宽度>)*2", {ExprLength(length), ExprLength(width)}));
}

void BuildFloorWaterProofVerticalAreaExpr(IRDXRecord* record, const std::vector<TQTKFloorUpturnItem>& items)
{
    if (!GetExprElement(record, {CFloorType}))
        return;
    std::string text;
    for (const TQTKFloorUpturnItem& item : items) {
        double width = 0, length = 0;
        bool rectangle = GetShellRectSize(item.calc ? item.calc->GetShell() : nullptr, width, length);
        if (!rectangle) {
            length = item.line.Length();
            width = item.height;
            if (!GreaterThan(length, 0.0) || !GreaterThan(width, 0.0))
                continue;
        }
        const char* format = text.empty() ? "%g<长度>*%g<宽度>"
                             : rectangle  ? "+%g<长度>*%g<宽度>"
                                          : "+ %g<长度>*%g<宽度>";
        text += Format(format, {ExprLength(length), ExprLength(width)});
    }
    if (!text.empty())
        AddExprText(record, text);
}

void BuildSlabAreaExpr(IRDXRecord* record, const TQTKShellCalc3d* calc)
{
    double width = 0, length = 0;
    if (GetExprElement(record, {CSlabType}) && GetShellCalcRectSize(calc, width, length))
        AddExprText(record, Format("%g<长度>*%g<宽度>", {ExprLength(length), ExprLength(width)}));
}

void BuildSlabFormboardAreaExpr(IRDXRecord* record, const TVRMFace3d* face, bool twice)
{
    double width = 0, length = 0;
    if (GetExprElement(record, {CSlabType}) && GetFaceRectSize(face, width, length))
        AddExprText(record, Format(twice ? "%g<长度>*%g<宽度>*2" : "%g<长度>*%g<宽度>",
                                   {ExprLength(length), ExprLength(width)}));
}

void BuildSlabSideFormboardAreaExpr(IRDXRecord* record, const TVRMFace3d* face)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CSlabType});
    const auto* shape = drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
    double width = 0, length = 0;
    if (!shape || shape->GetFlag() == 0 || !GetFaceRectSize(face, width, length))
        return;
    const double thickness = drawObj->GetPropValues()->GetFloat("Thickness");
    AddExprText(record, Format("(%g<长度>+%g<宽度>)*2*%g<厚度>",
                               {ExprLength(length), ExprLength(width), ExprLength(thickness)}));
}

void BuildSlabVolExpr(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CSlabType});
    if (!drawObj)
        return;
    const Ref<IQTKSlabCalculator> slab = RefCast<IQTKSlabCalculator>(GetCalcEDO(record, true));
    if (!slab || slab->IsCurvedFaceShape())
        return;
    const Ref<IQTKPolyhedron3dIntf> solid = slab->GetOriginalPolyhedronIntf();
    const TVRMPolyhedron3d* polyhedron = solid ? solid->GetPolyhedron() : nullptr;
    if (!polyhedron || polyhedron->GetFaceCount() == 0)
        return;
    const TVRMPolyhedronShell3d bottom(*polyhedron, polyhedron->GetFaceCount() - 1);
    const double originalArea = ExprArea(bottom.GetArea());
    const double thickness = ExprLength(drawObj->GetPropValues()->GetFloat("Thickness"));
    const auto* shape = dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape());
    const bool flag = shape && shape->GetFlag() != 0;
    if (flag && shape->GetOutline().GetCount() == 1) {
        const TVRMMultiPolygon2d* calcPolygon = slab->GetCalcPolygon();
        const TVRMPolygon2d& polygon =
            calcPolygon && calcPolygon->GetCount() >= 1 ? calcPolygon->GetItems(0) : shape->GetOutline().GetItems(0);
        std::string formula;
        if (TVRMPoly2dAnalyser::ParsePolygonToString(polygon, formula, 3)) {
            AddExprText(record, Format("(%s)*%g<厚度>", {formula, thickness}));
            return;
        }
    }
    double width = 0, length = 0;
    if (!flag && GetShellRectSize(&bottom, width, length)) {
        AddExprText(record, Format("%g<长度>*%g<宽度>*%g<厚度>", {ExprLength(length), ExprLength(width), thickness}));
        return;
    }
    AddExprText(record, Format("%g<原始面积>*%g<厚度>", {originalArea, thickness}));
}

void BuildPolygonAreaExpr(IRDXRecord* record, const TVRMMultiPolygon2d* polygons)
{
    std::string formula;
    if (IsExprMode(record) && polygons && polygons->GetCount() == 1 &&
        TVRMPoly2dAnalyser::ParsePolygonToString(polygons->GetItems(0), formula, 3))
        AddExprText(record, formula);
}
