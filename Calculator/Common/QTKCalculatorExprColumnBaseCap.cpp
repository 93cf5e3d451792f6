#include "Calculator/Common/QTKCalculatorExprColumnBaseCap.h"

#include <algorithm>
#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKCalculatorExprSump.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CColumnCapType = 27;
constexpr int CColumnBaseType = 28;

// The text of a solid as a prism, else as a prismoid.
bool SolidText(const TVRMPolyhedron3d* solid, std::string& text)
{
    return TQTKSumpExprHandler::BuildPrismText(solid, text) || TQTKSumpExprHandler::BuildPrismoidVolText(solid, text);
}

// The plan of one face (its outline seen from above).
std::unique_ptr<TVRMMultiPolygon2d> FacePlan(const TVRMFace3d& face)
{
    TVRMFace3d upward = face;
    if (upward.GetNormal().z < 0.0)
        upward.Negate();
    TVRMPolyhedron3d holder;
    holder.AddFace(upward);
    return holder.GetProjectiveXYPoly();
}

}  // namespace

void TQTKColumnBaseCapExprHandler::BuildColumnBaseCapVolExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid,
                                                             double /*volume*/)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CColumnCapType, CColumnBaseType});
    if (!drawObj || !solid)
        return;
    const IPropValues* props = drawObj->GetPropValues();
    std::string text;
    if (drawObj->GetElementTypeID() == CColumnBaseType) {
        if (props->GetInteger("ColumnBaseType") != 4 && SolidText(solid, text))
            AddExprText(record, text);
        return;
    }
    const int capType = props->GetInteger("ColumnCapType");
    if (capType == 8 || capType == 9)
        return;
    if (SolidText(solid, text))
        AddExprText(record, text);
    else
        BuildSplitCapVolExpr(record, solid);
}

void TQTKColumnBaseCapExprHandler::BuildSplitCapVolExpr(IRDXRecord* record, const TVRMPolyhedron3d* solid)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CColumnCapType});
    if (!drawObj || !solid)
        return;
    const IPropValues* props = drawObj->GetPropValues();
    const int capType = props->GetInteger("ColumnCapType");
    if (capType != 2 && capType != 3 && capType != 6 && capType != 7)
        return;
    const double elevation = props->GetFloat("TopElev") - props->GetFloat("Height1");
    // The cut returns the part against the normal first: with the normal up, the part below.
    std::unique_ptr<TVRMPolyhedron3d> above;
    const std::unique_ptr<TVRMPolyhedron3d> below =
        solid->Cut(TVRMPlane3d({0, 0, 1}, {0, 0, elevation}), above, CVRMPlaneEpsilon);
    const TVRMPolyhedron3d empty;
    const TVRMPolyhedron3d* parts[2] = {below ? below.get() : &empty, above ? above.get() : &empty};
    std::string texts[2];
    bool written[2];
    for (int i = 0; i < 2; ++i)
        written[i] = parts[i]->HasFaces() && SolidText(parts[i], texts[i]);
    if (!written[0] && !written[1])
        return;
    for (int i = 0; i < 2; ++i)
        if (!written[i])
            texts[i] = Format("%g", {ExprVolume(parts[i]->GetVolume())});
    AddExprText(record, texts[0] + "+" + texts[1]);
}

void TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFormboardAreaExpr(IRDXRecord* record, bool withBottomFace,
                                                                       double area)
{
    if (!GetExprElement(record, {CColumnCapType, CColumnBaseType}))
        return;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    if (!edo)
        return;
    const Ref<IQTKPolyhedron3dIntf> solid = edo->GetOriginalPolyhedronIntf();
    double first = 0.0, height = 0.0, second = 0.0;
    if (!TQTKSumpExprHandler::GetColumnBoxSize(solid->GetPolyhedron(), first, height, second) ||
        !GreaterThan(second, 0.0))
        return;
    const double sides = (first + second) * 2 * height;
    if (!IsExprAreaMatch(withBottomFace ? sides + first * second - area : sides - area))
        return;
    const double l = ExprLength(std::max(first, second));
    const double w = ExprLength(std::min(first, second));
    std::string text = Format("(%g<长度>+%g<宽度>)*2*%g<高度>", {l, w, ExprLength(height)});
    if (withBottomFace)
        text = Format("%s+%g<长度>*%g<宽度>", {text, l, w});
    AddExprText(record, text);
}

void TQTKColumnBaseCapExprHandler::BuildColumnBaseCapFaceAreaExpr(IRDXRecord* record,
                                                                  const TVRMPolyhedronShell3d* shell, double area)
{
    if (!GetExprElement(record, {CColumnCapType, CColumnBaseType}) || !shell)
        return;
    double shorter = 0.0, longer = 0.0;
    if (GetShellRectSize(shell, shorter, longer) && IsExprAreaMatch(shorter * longer - area)) {
        AddExprText(record, Format("%g<长度>*%g<宽度>", {ExprLength(longer), ExprLength(shorter)}));
        return;
    }
    if (shell->GetFaceCount() != 1)
        return;
    const std::unique_ptr<TVRMMultiPolygon2d> plan = FacePlan(shell->GetFace(0));
    std::string formula;
    if (IsExprAreaMatch(plan->Area() - area) && TVRMPoly2dAnalyser::ParseMultiPolygonToString(*plan, formula, 8))
        AddExprText(record, formula);
}

void TQTKColumnBaseCapExprHandler::BuildColumnBaseCapPerimeterExpr(IRDXRecord* record, double length)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CColumnCapType, CColumnBaseType});
    if (!drawObj || !drawObj->GetShape())
        return;
    const TVRMMultiPolygon2d& outline = drawObj->GetShape()->GetOutline();
    std::string formula;
    if (IsPrintedZero((outline.Perimeter() - length) * 0.001, CQTKExprAreaTolerance)) {
        if (TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(outline, formula, -1))
            AddExprText(record, formula);
        return;
    }
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    if (!edo)
        return;
    const std::unique_ptr<TVRMMultiPolygon2d> plan =
        edo->GetOriginalPolyhedronIntf()->GetPolyhedron()->GetProjectiveXYPoly();
    plan->Normalize(CVRMEpsilon);
    if (TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(*plan, formula, 8))
        AddExprText(record, formula);
}
