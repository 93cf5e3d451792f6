#include "Calculator/Common/QTKCalculatorExprSump.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/ElementModel/QTKSumpCommon.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CSumpType = 56;

// The sump element object of a record in expression mode; nil otherwise.
Ref<IQTKSumpCalcEDO> Sump(IRDXRecord* record)
{
    if (!GetExprElement(record, {CSumpType}))
        return nullptr;
    return RefCast<IQTKSumpCalcEDO>(GetCalcEDO(record, true));
}

bool IsUpright(const TVRMExprInfo3dRecord& part)
{
    return SameValue(std::abs(part.orientation), 1.0);
}

}  // namespace

bool TQTKSumpExprHandler::GetColumnBoxSize(const TVRMPolyhedron3d* solid, double& first, double& height, double& second)
{
    QTK_ASSERT(solid != nullptr);
    const std::unique_ptr<TVRMPolyhedron3d> copy = solid->Clone();
    const double volume = copy->GetVolume();
    for (const TVRMExprInfo3dRecord& part : TVRMColumnInfoAnalyser::Analyse(*copy, true)) {
        if (!IsUpright(part))
            continue;
        if (part.kind == 3) {
            // The analyser gives its cap's edge 0 first; the text wants the longer side first.
            const double longer = std::max(part.firstSize, part.secondSize);
            const double shorter = std::min(part.firstSize, part.secondSize);
            if (IsPrintedZero((longer * shorter * part.thirdSize - volume) * 1e-9, CQTKExprVolumeTolerance)) {
                first = longer, second = shorter, height = part.thirdSize;
                return true;
            }
        } else if (part.kind == 4) {
            if (IsPrintedZero((part.firstSize * part.thirdSize - volume) * 1e-9, CQTKExprVolumeTolerance)) {
                first = part.firstSize, second = -1.0, height = part.thirdSize;
                return true;
            }
        }
    }
    return false;
}

bool TQTKSumpExprHandler::BuildPrismText(const TVRMPolyhedron3d* solid, std::string& text)
{
    double first = 0.0, height = 0.0, second = 0.0;
    if (!GetColumnBoxSize(solid, first, height, second))
        return false;
    const double h = ExprLength(height);
    if (second >= 0.0)
        text = Format("%g<长度>*%g<宽度>*%g<高度>", {ExprLength(first), ExprLength(second), h});
    else
        text = Format("%g<面积>*%g<高度>", {ExprArea(first), h});
    return true;
}

bool TQTKSumpExprHandler::GetPrismoidAreas(const TVRMPolyhedron3d* solid, double& bottom, double& height, double& top,
                                           double& middle)
{
    QTK_ASSERT(solid != nullptr);
    if (!solid->HasFaces())
        return false;
    const TVRMBox3d box = solid->GetBox();
    const double zb = box.min.z;
    const double zt = box.max.z;
    // No height: no prismoid (and no cut through the middle).
    if (!GreaterThan(zt, zb))
        return false;
    bottom = top = 0.0;
    for (const TVRMFace3d& face : solid->GetFaces()) {
        const double nz = face.GetNormal().z;
        const double z = face.GetPlane().GetBasePoint().z;
        if (SameValue(nz, 1.0)) {
            if (!SameValue(z, zt))
                return false;
            top += face.GetArea();
        } else if (SameValue(nz, -1.0)) {
            if (!SameValue(z, zb))
                return false;
            bottom += face.GetArea();
        }
    }
    if (IsZero(bottom) || IsZero(top))
        return false;
    std::unique_ptr<TVRMPolyhedron3d> upper;
    const std::unique_ptr<TVRMPolyhedron3d> lower =
        solid->Cut(TVRMPlane3d({0, 0, 1}, {0, 0, (zb + zt) / 2}), upper, CVRMPlaneEpsilon);
    middle = 0.0;
    if (lower)
        for (const TVRMFace3d& face : lower->GetFaces())
            if (SameValue(face.GetNormal().z, 1.0))
                middle += face.GetArea();
    height = zt - zb;
    const double prismoid = (4 * middle + bottom + top) * height / 6;
    return SameValue(ExprVolume(prismoid), ExprVolume(solid->GetVolume()), CQTKExprVolumeTolerance);
}

bool TQTKSumpExprHandler::BuildPrismoidVolText(const TVRMPolyhedron3d* solid, std::string& text)
{
    double bottom = 0.0, height = 0.0, top = 0.0, middle = 0.0;
    if (!GetPrismoidAreas(solid, bottom, height, top, middle))
        return false;
    const double b = ExprArea(bottom), m = ExprArea(middle), t = ExprArea(top), h = ExprLength(height);
    if (SameValue(t, b) && SameValue(m, b))
        text = Format("%g<面积>*%g<高度>", {b, h});
    else
        text = Format("(%g<底面积>+%g<中截面面积>*4+%g<顶面积>)*%g<高度>/6", {b, m, t, h});
    return true;
}

bool TQTKSumpExprHandler::GetSectionSize(IQTKCalculatorEDO* edo, double& width, double& height)
{
    const IQTKElementDrawObj* drawObj = edo ? edo->GetElementDrawObj() : nullptr;
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    if (!props || props->GetInteger("SectionTypeID") != 0)
        return false;
    width = props->GetFloat("SectionWidth");
    height = props->GetFloat("SectionHeight");
    return true;
}

bool TQTKSumpExprHandler::GetShellRectSides(const TVRMPolyhedronShell3d& shell, double& b, double& a)
{
    const TVRMExprInfo3dArray parts = TVRMShellInfoAnalyser::Analyse(*shell.Clone());
    if (parts.size() != 1 || parts[0].kind != 1)
        return false;
    b = parts[0].secondSize;
    a = parts[0].firstSize;
    return true;
}

bool TQTKSumpExprHandler::GetHoleSize(IQTKSumpCalcEDO* edo, double& first, double& depth, double& second)
{
    QTK_ASSERT(edo != nullptr);
    const TVRMPolyhedron3d* hole = edo->GetHoleSolid();
    if (!hole || !hole->HasFaces())
        return false;
    edo->GetOriginalPolyhedron();
    const TVRMPolyhedron3d* body = edo->GetBodySolid();
    if (!body || !body->HasFaces())
        return false;
    depth = body->GetBox().max.z - hole->GetBox().min.z;
    if (!GreaterThan(depth, 0.0))
        return false;
    double height = 0.0;
    if (GetSectionSize(edo, first, second) || GetColumnBoxSize(hole, first, height, second))
        return true;
    const std::unique_ptr<TVRMMultiPolygon2d> plan = hole->GetProjectiveXYPoly();
    if (plan->GetCount() == 1 && GetPolygonRectSize(&plan->GetItems(0), first, second))
        return true;
    first = plan->Area();
    second = -1.0;
    return true;
}

void TQTKSumpExprHandler::BuildSumpVolExpr(IRDXRecord* record)
{
    const Ref<IQTKSumpCalcEDO> sump = Sump(record);
    if (!sump)
        return;
    sump->GetOriginalPolyhedron();
    const TVRMPolyhedron3d* body = sump->GetBodySolid();
    std::string text;
    if (!body || !(BuildPrismText(body, text) || BuildPrismoidVolText(body, text)))
        return;
    double first = 0.0, depth = 0.0, second = 0.0;
    if (GetHoleSize(sump.get(), first, depth, second)) {
        const double d = ExprLength(depth);
        if (second >= 0.0)
            text += Format("-%g<长度>*%g<宽度>*%g<高度>", {ExprLength(first), ExprLength(second), d});
        else
            text += Format("-%g<面积>*%g<高度>", {ExprArea(first), d});
    }
    AddExprText(record, text);
}

void TQTKSumpExprHandler::BuildSumpHoleSideFormboardAreaExpr(IRDXRecord* record, double area)
{
    const Ref<IQTKSumpCalcEDO> sump = Sump(record);
    const TVRMPolyhedron3d* hole = sump ? sump->GetHoleSolid() : nullptr;
    if (!hole || !hole->HasFaces())
        return;
    const double height = sump->GetOriginalPolyhedronIntf()->GetPolyhedron()->GetBox().max.z - hole->GetBox().min.z;
    const double h = ExprLength(height);
    double width = 0.0, length = 0.0;
    if (GetSectionSize(sump.get(), width, length) && IsExprAreaMatch((width + length) * 2 * height - area)) {
        AddExprText(record,
                    Format("(%g<洞口长度>+%g<洞口宽度>)*2*%g<洞口高度>", {ExprLength(length), ExprLength(width), h}));
        return;
    }
    const TVRMMultiPolygon2d& outline = sump->GetElementDrawObj()->GetShape()->GetOutline();
    std::string perimeter;
    if (IsExprAreaMatch(outline.Perimeter() * height - area) &&
        TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(outline, perimeter, -1))
        AddExprText(record, Format("(%s)*%g<洞口高度>", {perimeter, h}));
}

void TQTKSumpExprHandler::BuildSumpHoleBottomFormboardAreaExpr(IRDXRecord* record, double area)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CSumpType});
    if (!drawObj || !drawObj->GetShape())
        return;
    const TVRMMultiPolygon2d& outline = drawObj->GetShape()->GetOutline();
    if (!IsExprAreaMatch(outline.Area() - area))
        return;
    double width = 0.0, length = 0.0;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    if (GetSectionSize(edo.get(), width, length)) {
        AddExprText(record, Format("%g<洞口长度>*%g<洞口宽度>", {ExprLength(length), ExprLength(width)}));
        return;
    }
    std::string formula;
    if (TVRMPoly2dAnalyser::ParseMultiPolygonToString(outline, formula, 3))
        AddExprText(record, formula);
}

void TQTKSumpExprHandler::BuildSumpBottomHorizonAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell,
                                                         double area)
{
    const Ref<IQTKSumpCalcEDO> sump = Sump(record);
    if (!sump)
        return;
    const auto writeShellRectangle = [&] {
        double b = 0.0, a = 0.0;
        if (shell && GetShellRectSides(*shell, b, a) && IsExprAreaMatch(a * b - area))
            AddExprText(record, Format("%g<长度>*%g<宽度>", {ExprLength(a), ExprLength(b)}));
    };
    double width = 0.0, length = 0.0;
    if (GetSectionSize(sump.get(), width, length)) {
        const double outside = sump->GetElementDrawObj()->GetPropValues()->GetFloat("Outside");
        width += 2 * outside;
        length += 2 * outside;
        if (IsExprAreaMatch(width * length - area))
            AddExprText(record, Format("%g<长度>*%g<宽度>", {ExprLength(length), ExprLength(width)}));
        else
            writeShellRectangle();
        return;
    }
    const std::unique_ptr<TVRMPolygon2d> bottom = TSumpPolyhedronBuilder(sump->GetElementDrawObj()).GetBottomPoly();
    std::string formula;
    if (bottom && IsExprAreaMatch(bottom->Area() - area) &&
        TVRMPoly2dAnalyser::ParsePolygonToString(*bottom, formula, 3))
        AddExprText(record, formula);
    else
        writeShellRectangle();
}

void TQTKSumpExprHandler::BuildSumpBottomVerticalAreaExpr(IRDXRecord* record, const TVRMPolyhedronShell3d* shell)
{
    if (!GetExprElement(record, {CSumpType}) || !shell || shell->GetFaceCount() > 8)
        return;
    std::string text;
    for (const TVRMExprInfo3dRecord& part : TVRMShellInfoAnalyser::Analyse(*shell->Clone())) {
        if (!text.empty())
            text += '+';
        if (part.kind == 1) {
            const bool swap = std::abs(part.orientation) >= 0.5;
            const double a = ExprLength(part.firstSize), b = ExprLength(part.secondSize);
            text += Format("%g<长度>*%g<宽度>", {swap ? b : a, swap ? a : b});
        } else {
            QTK_ASSERT(part.kind == 2);
            text += Format("%g<面积>", {ExprArea(part.quantity)});
        }
    }
    if (!text.empty())
        AddExprText(record, text);
}
