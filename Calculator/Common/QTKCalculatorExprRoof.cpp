#include "Calculator/Common/QTKCalculatorExprRoof.h"

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CRoofType = 67;

const IQTKFaceShape* RoofShape(const IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record, {CRoofType});
    return drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
}

// The normal of the roof's top plane; False when the host gives no plane.
bool RoofNormal(const IQTKFaceShape& shape, TVRMVector3d& normal)
{
    const std::unique_ptr<TVRMPlane3d> plane = GetFaceShapePlane(&shape, true);
    if (!plane)
        return false;
    normal = plane->GetNormal();
    return true;
}

// Printed length of an edge on the roof plane (m).
double EdgeLength(const TVRMCustomLine2d& edge, const TVRMVector3d& normal)
{
    return ExprLength(CalcArcLengthOnPlane(edge, normal));
}

// Walks the edges of the roof's face polygon that Selected picks by their
// information (giving a value, mm): Term makes each one's text from its
// printed length on the roof plane and the value, and adds to the sum; the
// texts are joined by "+". False for a record that is no roof in expression mode.
template <class TSelect, class TTerm>
bool CollectEdges(const IRDXRecord* record, TSelect selected, TTerm term, std::string& text, double& sum)
{
    const IQTKFaceShape* shape = RoofShape(record);
    TVRMVector3d normal;
    if (!shape || !RoofNormal(*shape, normal))
        return false;
    int index = 0;
    for (const TVRMPolygon2d& ring : shape->GetPolygon().Items()) {
        for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
            double value = 0.0;
            if (selected(shape->GetEdgeInfo(index++), value)) {
                if (!text.empty())
                    text += '+';
                text += term(EdgeLength(edge, normal), value, sum);
            }
        }
    }
    return true;
}

// A rolled edge of a height that is not 0.
bool IsRolledEdge(IQTKEdgeInfo* info, double& height)
{
    const auto* rolled = dynamic_cast<const IRolledEdgeInfo*>(info);
    height = rolled ? rolled->GetHeight() : 0.0;
    return rolled && !IsZero(height);
}

bool IsRidgeEdge(IQTKEdgeInfo* info, double&)
{
    const auto* ridge = dynamic_cast<const IRidgeEdgeInfo*>(info);
    return ridge && ridge->IsRidge();
}

// The lengths of the selected edges, stored when they add up to the length.
template <class TSelect>
void WriteEdgeLengths(IRDXRecord* record, double length, TSelect selected)
{
    std::string text;
    double sum = 0.0;
    const auto term = [](double l, double, double& total) {
        total += l;
        return Format("%g", {l});
    };
    if (CollectEdges(record, selected, term, text, sum) && !text.empty() &&
        IsExprConsistent(sum, ExprLength(length), CVRMEpsilon))
        AddExprText(record, text);
}

}  // namespace

void BuildRoofAreaExpr(IRDXRecord* record)
{
    const auto* shape = dynamic_cast<const IQTKRoofFaceShape*>(RoofShape(record));
    std::string formula;
    if (shape && shape->GetFlag() != 0 &&
        TVRMPoly2dAnalyser::ParseMultiPolygonToString(shape->GetRoofPolygon(), formula, 3))
        AddExprText(record, formula);
}

void BuildRoofPerimeterExpr(IRDXRecord* record)
{
    const auto* shape = dynamic_cast<const IQTKRoofFaceShape*>(RoofShape(record));
    TVRMVector3d normal;
    if (!shape || !RoofNormal(*shape, normal))
        return;
    std::string lengths;
    for (const TVRMPolygon2d& ring : shape->GetRoofPolygon().Items()) {
        for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
            if (!lengths.empty())
                lengths += '+';
            lengths += Format("%g", {EdgeLength(edge, normal)});
        }
    }
    if (!lengths.empty())
        AddExprText(record, Format("(%s)<各个边长之和>", {lengths}));
}

void BuildRoofRolledEdgeAreaExpr(IRDXRecord* record, double area)
{
    std::string text;
    double sum = 0.0;
    const auto term = [](double l, double height, double& total) {
        const double h = ExprLength(height);
        total += l * h;
        return Format("%g<边长>*%g<高度>", {l, h});
    };
    if (CollectEdges(record, IsRolledEdge, term, text, sum) && !text.empty() &&
        IsExprConsistent(sum, ExprArea(area), CVRMEpsilon))
        AddExprText(record, text);
}

void BuildRoofRolledEdgeLengthExpr(IRDXRecord* record, double length)
{
    WriteEdgeLengths(record, length, IsRolledEdge);
}

void BuildRidgeLineLengthExpr(IRDXRecord* record, double length)
{
    WriteEdgeLengths(record, length, IsRidgeEdge);
}
