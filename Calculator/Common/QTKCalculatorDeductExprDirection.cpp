#include "Calculator/Common/QTKCalculatorDeductExprDirection.h"

#include <cmath>
#include <memory>

#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

// Agreement of the printed parts with the quantity (m²).
constexpr double CPartSumTolerance = 0.001;

// A plain area (mm²) printed in m² with 4 decimals.
std::string AreaText(double mm2)
{
    return FloatToStr(FRound(ConvertM2Value(mm2), 4, 1e-12));
}

const IQTKShape* ShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? drawObj->GetShape() : nullptr;
}

// The direction of a point or line element; False for another shape.
bool ElementDirection(const IQTKElementDrawObj* drawObj, TVRMVector3d& direction)
{
    const IQTKShape* shape = ShapeOf(drawObj);
    if (dynamic_cast<const IQTKPointShape*>(shape)) {
        TQTKExprDirectionParser::GetPointElementDirection(drawObj, direction);
        return true;
    }
    if (dynamic_cast<const IQTKLineShape*>(shape)) {
        TQTKExprDirectionParser::GetLineDirection(drawObj, direction);
        return true;
    }
    return false;
}

// A value item of an area; a coefficient of 0 would divide the quantity by
// zero, so the quantity then stands with factor 1.
void AddAreaValueItem(IRDXRecord* subject, TQTKEdoGlobalData& data, double value, double factor, bool divide)
{
    if (divide) {
        if (IsZero(factor, 1e-12))
            factor = 1.0;
        else
            value /= factor;
    }
    data.GetExprContainer().AddValueItem(RecordRef(subject), data.GetCurQtyKey(), value, factor, CQTKUnitArea, true);
}

void SwapSizes(TVRMExprInfo3dRecord& part)
{
    std::swap(part.firstDir, part.secondDir);
    std::swap(part.firstSize, part.secondSize);
}

bool IsSameOrOpposite(const TVRMVector3d& u, const TVRMVector3d& d)
{
    return u.IsEqualTo(d, CVRMEpsilon) || u.IsEqualTo(-d, CVRMEpsilon);
}

}  // namespace

void BuildDeductShellExpr(IRDXRecord* subject, IRDXRecord* deducting, const TVRMPolyhedronShell3d& shell, double factor,
                          bool addItems, double quantity, bool merge, const TVRMPolyhedronShell3d* secondShell,
                          std::string& text)
{
    QTK_ASSERT(subject != nullptr);
    TQTKEdoGlobalData& data = *GetEdoGlobalData(subject->GetID());
    TVRMExprInfo3dArray parts = TVRMShellInfoAnalyser::Analyse(shell, secondShell);
    bool suffix = true;
    if (parts.empty()) {
        const double area = shell.GetArea();
        if (SameValue(area * factor, quantity)) {
            text = AreaText(area);
            if (addItems && !IsZero(area))
                AddAreaValueItem(subject, data, area, factor, false);
        } else {
            text = AreaText(quantity);
            if (addItems)
                AddAreaValueItem(subject, data, quantity, factor, true);
            // With a coefficient of 0 the quantity stands alone (its item has factor 1).
            suffix = !IsZero(factor, 1e-12);
        }
    } else {
        TVRMVector3d direction;
        TQTKExprDirectionParser::GetDirection(subject, deducting, direction);
        for (TVRMExprInfo3dRecord& part : parts)
            OrientDeductPart(part, direction);
        if (merge && parts.size() > 1)
            MergeDeductParts(parts, shell.GetArea());
        if (parts.empty()) {
            const double area = shell.GetArea();
            text = AreaText(area);
            if (addItems && !IsZero(area))
                AddAreaValueItem(subject, data, area, factor, false);
        } else {
            text.clear();
            double sum = 0.0;
            for (const TVRMExprInfo3dRecord& part : parts)
                sum += GetExprInfoValue(part);
            if (!SameValue(ConvertM2Value(quantity), factor * sum, CPartSumTolerance)) {
                text = AreaText(quantity);
                if (addItems)
                    AddAreaValueItem(subject, data, quantity, factor, true);
                suffix = false;
            } else {
                for (const TVRMExprInfo3dRecord& part : parts) {
                    if (!text.empty())
                        text += " + ";
                    text += GetShellExpr(part);
                    if (addItems)
                        data.GetExprContainer().Add(std::make_unique<TQTKCalcInternalShellExprItem>(
                            RecordRef(subject), RecordRef(deducting), data.GetCurQtyKey(), part, factor, true));
                }
            }
        }
    }
    if (suffix && !SameValue(factor, 1.0)) {
        const std::string coefficient = FloatToStr(FRound(factor, 4, 1e-12));
        text = parts.size() >= 2 ? "(" + text + ") * " + coefficient : text + " * " + coefficient;
    }
}

void OrientDeductPart(TVRMExprInfo3dRecord& part, const TVRMVector3d& direction)
{
    if (part.kind == 1) {
        if (std::abs(part.firstDir.z) > 0.8) {
            SwapSizes(part);
            return;
        }
        const TVRMVector3d m = part.firstDir.CrossProduct(part.secondDir);
        if (std::abs(m.z) > 0.6 && IsSameOrOpposite(part.firstDir, direction))
            SwapSizes(part);
    } else if (part.kind == 3) {
        const TVRMVector3d w = direction.CrossProduct(part.normal).Unit();
        if (IsSameOrOpposite(part.firstDir, w))
            SwapSizes(part);
    }
}

void MergeDeductParts(TVRMExprInfo3dArray& parts, double totalArea)
{
    std::vector<double> sizes;
    CollectDistinctPartSizes(parts, TQTKPartSize::Second, sizes);
    if (sizes.size() == 1) {
        SetSinglePart(parts, TQTKPartSize::Second, totalArea);
        return;
    }
    CollectDistinctPartSizes(parts, TQTKPartSize::First, sizes);
    if (sizes.size() == 1) {
        SetSinglePart(parts, TQTKPartSize::First, totalArea);
        return;
    }
    parts.clear();
}

void CollectDistinctPartSizes(const TVRMExprInfo3dArray& parts, TQTKPartSize which, std::vector<double>& sizes)
{
    sizes.clear();
    for (const TVRMExprInfo3dRecord& part : parts) {
        if (part.kind == 2) {
            sizes.clear();
            return;
        }
        AppendValue(sizes, which == TQTKPartSize::First ? part.firstSize : part.secondSize);
    }
}

bool HasSameValue(const std::vector<double>& values, double value)
{
    for (double v : values)
        if (SameValue(v, value))
            return true;
    return false;
}

void AppendValue(std::vector<double>& values, double value)
{
    if (!HasSameValue(values, value))
        values.push_back(value);
}

void SetSinglePart(TVRMExprInfo3dArray& parts, TQTKPartSize which, double totalArea)
{
    if (parts.empty())
        return;
    parts.resize(1);
    TVRMExprInfo3dRecord& part = parts.front();
    const double size = which == TQTKPartSize::First ? part.firstSize : part.secondSize;
    if (IsZero(size)) {
        parts.clear();  // no common size to divide by: printed as a plain value
        return;
    }
    (which == TQTKPartSize::First ? part.secondSize : part.firstSize) = totalArea / size;
}

// ---------------------------------------------------------------------------
// TQTKExprDirectionParser

void TQTKExprDirectionParser::GetDirection(IRDXRecord* subject, IRDXRecord* deducting, TVRMVector3d& direction)
{
    QTK_ASSERT(subject != nullptr);
    if (ElementDirection(GetExprElement(subject), direction))
        return;
    const IQTKElementDrawObj* other = GetExprElement(deducting);
    if (deducting && ElementDirection(other, direction))
        return;
    GetDefaultDirection(other, direction);
}

void TQTKExprDirectionParser::GetDefaultDirection(const IQTKElementDrawObj*, TVRMVector3d& direction)
{
    direction = {0.0, 1.0, 0.0};
}

void TQTKExprDirectionParser::GetLineDirection(const IQTKElementDrawObj* drawObj, TVRMVector3d& direction)
{
    const auto* shape = dynamic_cast<const IQTKLineShape*>(ShapeOf(drawObj));
    if (!shape) {
        GetDefaultDirection(drawObj, direction);
        return;
    }
    const TVRMVector2d d = shape->GetLine().StartDirection().Normal().RotateHalfPi(false);
    direction = {d.x, d.y, 0.0};
}

void TQTKExprDirectionParser::GetPointElementDirection(const IQTKElementDrawObj* drawObj, TVRMVector3d& direction)
{
    GetDefaultDirection(drawObj, direction);
    double first = 0.0;
    double second = 0.0;
    if (!GetDirectionSizes(drawObj, first, second))
        return;
    const IQTKShape* shape = ShapeOf(drawObj);
    if (!shape || shape->GetPolygon().IsEmpty())
        return;
    const TVRMPolygon2d& polygon = shape->GetPolygon().GetItems(0);
    if (polygon.IsRectangle(CVRMEpsilon))
        GetRectDirection(drawObj, polygon, first, second, direction);
    else
        GetBoxDirection(drawObj, polygon.Box(), first, second, direction);
}

bool TQTKExprDirectionParser::GetRectDirection(const IQTKElementDrawObj*, const TVRMPolygon2d& rectangle,
                                               double firstSize, double secondSize, TVRMVector3d& direction)
{
    TVRMVector2d e = rectangle.GetEdge(0).Vector();
    if (e.x < 0.0)
        e = -e;
    e.Normalize();
    double along = 0.0;
    double across = 0.0;
    for (const TVRMCustomLine2d& edge : rectangle.GetEdges())
        (edge.Vector().IsParallelTo(e, CVRMEpsilon) ? along : across) += edge.Length();
    along /= 2.0;
    across /= 2.0;
    if (SameValue(secondSize, firstSize))
        direction = std::abs(e.x) > std::abs(e.y) ? TVRMVector3d{e.x, e.y, 0.0} : TVRMVector3d{-e.y, e.x, 0.0};
    else if (SameValue(along, firstSize))
        direction = {e.x, e.y, 0.0};
    else if (SameValue(across, firstSize))
        direction = {-e.y, e.x, 0.0};
    else
        direction = {0.0, 1.0, 0.0};
    return true;
}

bool TQTKExprDirectionParser::GetBoxDirection(const IQTKElementDrawObj*, const TVRMBox2d& box, double firstSize,
                                              double secondSize, TVRMVector3d& direction)
{
    if (SameValue(secondSize, firstSize))
        direction = {0.0, 1.0, 0.0};
    else if (SameValue(box.Width(), firstSize))
        direction = {1.0, 0.0, 0.0};
    else
        direction = {0.0, 1.0, 0.0};
    return true;
}

bool TQTKExprDirectionParser::GetDirectionSizes(const IQTKElementDrawObj* drawObj, double& firstSize,
                                                double& secondSize)
{
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    if (!props)
        return false;
    const char* first = nullptr;
    const char* second = nullptr;
    switch (drawObj->GetElementTypeID()) {
        case 3:
        case 14:
        case 20:
        case 24:
            first = "Len", second = "Width";
            break;
        case 25:
        case 26:
        case 55:
        case 56:
        case 71:
        case 82:
            first = "SectionWidth", second = "SectionHeight";
            break;
        case 27:
            if (props->GetInteger("ColumnCapType") == 1)
                first = "SectionHeight2", second = "SectionWidth2";
            break;
        case 28: {
            const int kind = props->GetInteger("ColumnBaseType");
            if (kind == 0 || kind == 5)
                first = "SectionHeight2", second = "SectionWidth2";
            break;
        }
        case 42:
        case 45:
            first = "BottomWidth", second = "BottomLength";
            break;
        case 52:
        case 53:
        case 54:
        case 83:
            first = "Width", second = "Len";
            break;
        default:
            break;
    }
    if (!first)
        return false;
    firstSize = props->GetFloat(first);
    secondSize = props->GetFloat(second);
    return true;
}
