#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"

#include <cmath>

#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

// Cosine below which two directions count as perpendicular.
constexpr double CPerpendicular = 1e-6;

// Sizes and directions of a rectangular face along its first two edges; false for any other face.
bool TakeRectangle(const TVRMFace3d& face, TVRMExprInfo3dRecord& part)
{
    if (face.GetArc() || !face.IsRectangle())
        return false;
    const TVRMLoop3d& loop = face.GetLoop(0);
    part.firstSize = loop[0].DistanceTo(loop[1]);
    part.secondSize = loop[1].DistanceTo(loop[2]);
    part.firstDir = (loop[1] - loop[0]).Unit();
    part.secondDir = (loop[2] - loop[1]).Unit();
    return true;
}

void AnalyseFaces(const TVRMPolyhedronShell3d& shell, TVRMExprInfo3dArray& parts)
{
    for (const TVRMFace3d& face : shell.GetFaces()) {
        TVRMExprInfo3dRecord part;
        part.normal = face.GetNormal();
        part.orientation = part.normal.z;
        part.quantity = face.GetArea();
        part.kind = TakeRectangle(face, part) ? 1 : 2;
        parts.push_back(part);
    }
}

// Whether every face other than the cap and the opposite cap (found here) stands square to the cap's normal.
bool IsRightPrism(const TVRMPolyhedron3d& solid, int cap, int& otherCap)
{
    const TVRMVector3d axis = solid.GetFace(cap).GetNormal();
    otherCap = -1;
    for (int k = 0; k < solid.GetFaceCount(); ++k) {
        if (k == cap)
            continue;
        const double c = axis.InnerProduct(solid.GetFace(k).GetNormal());
        if (std::abs(c) <= CPerpendicular)
            continue;
        if (c < -1.0 + CPerpendicular && otherCap < 0) {
            otherCap = k;
            continue;
        }
        return false;
    }
    return otherCap >= 0;
}

bool AnalysePrism(const TVRMPolyhedron3d& solid, int cap, TVRMExprInfo3dRecord& part)
{
    int otherCap = -1;
    if (!IsRightPrism(solid, cap, otherCap))
        return false;
    const TVRMFace3d& bottom = solid.GetFace(cap);
    const TVRMFace3d& top = solid.GetFace(otherCap);
    const double height = std::abs(bottom.GetPlane().GetDistance(top.GetPlane().GetBasePoint()));
    if (height <= CVRMEpsilon)
        return false;
    TVRMVector3d axis = -bottom.GetNormal();
    if (axis.z < 0.0 || (axis.z == 0.0 && (axis.x < 0.0 || (axis.x == 0.0 && axis.y < 0.0))))
        axis = -axis;
    part.normal = axis;
    part.orientation = axis.z;
    part.quantity = solid.GetVolume();
    part.thirdSize = height;
    if (solid.GetFaceCount() == 6 && TakeRectangle(bottom, part)) {
        part.kind = 3;
    } else {
        part.kind = 4;
        part.firstSize = part.quantity / height;  // exact also for sides along arcs
    }
    return true;
}

std::string Number(double mm, double scale, int decimals)
{
    return FloatToStr(FRound(mm * scale, decimals < 0 ? 4 : decimals, 1e-12));
}

bool HasArcEdge(const TVRMPolygon2d& ring)
{
    for (const TVRMVertex2d& v : ring.Vertices())
        if (v.IsArc())
            return true;
    return false;
}

// Area formula of one ring (without sign).
bool RingAreaText(const TVRMPolygon2d& ring, std::string& text, int decimals)
{
    double radius = 0.0;
    if (ring.IsCircle(CVRMEpsilon, &radius)) {
        const std::string r = Number(radius, 1e-3, decimals);
        text = Format("Pi*%s*%s", {r, r});
        return true;
    }
    if (HasArcEdge(ring) || !ring.IsRectangle())
        return false;
    text = Format("%s*%s",
                  {Number(ring.GetEdge(0).Length(), 1e-3, decimals), Number(ring.GetEdge(1).Length(), 1e-3, decimals)});
    return true;
}

bool RingPerimeterText(const TVRMPolygon2d& ring, std::string& text, int decimals)
{
    double radius = 0.0;
    if (ring.IsCircle(CVRMEpsilon, &radius)) {
        text = Format("2*Pi*%s", {Number(radius, 1e-3, decimals)});
        return true;
    }
    if (HasArcEdge(ring) || ring.GetEdgeCount() < 3)
        return false;
    if (ring.IsRectangle()) {
        text = Format("(%s+%s)*2", {Number(ring.GetEdge(0).Length(), 1e-3, decimals),
                                    Number(ring.GetEdge(1).Length(), 1e-3, decimals)});
        return true;
    }
    text.clear();
    for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
        if (!text.empty())
            text += '+';
        text += Number(edge.Length(), 1e-3, decimals);
    }
    return true;
}

}  // namespace

TVRMExprInfo3dArray TVRMShellInfoAnalyser::Analyse(const TVRMPolyhedronShell3d& shell,
                                                   const TVRMPolyhedronShell3d* second)
{
    TVRMExprInfo3dArray parts;
    AnalyseFaces(shell, parts);
    if (second)
        AnalyseFaces(*second, parts);
    return parts;
}

TVRMExprInfo3dArray TVRMColumnInfoAnalyser::Analyse(const TVRMPolyhedron3d& solid, bool preferVertical)
{
    TVRMExprInfo3dRecord part;
    const int count = solid.GetFaceCount();
    // Vertical axes first when asked, then any axis, each cap candidate in face order.
    for (int pass = preferVertical ? 0 : 1; pass < 2; ++pass) {
        for (int i = 0; i < count; ++i) {
            const bool vertical = std::abs(solid.GetFace(i).GetNormal().z) >= 1.0 - CPerpendicular;
            if ((pass == 0) != vertical)
                continue;
            if (AnalysePrism(solid, i, part))
                return {part};
        }
    }
    return {};
}

namespace {

// Joins the rings' terms with "+" (holes with "-" when they subtract); false
// when a ring has no term or the set is empty, leaving the text unchanged.
template <class RingText>
bool JoinRingTerms(const TVRMMultiPolygon2d& set, std::string& text, bool holesSubtract, RingText ringText)
{
    std::string result;
    for (const TVRMPolygon2d& ring : set.Items()) {
        std::string term;
        if (!ringText(ring, term))
            return false;
        if (holesSubtract && ring.IsHole())
            result += '-';
        else if (!result.empty())
            result += '+';
        result += term;
    }
    if (result.empty())
        return false;
    text = result;
    return true;
}

}  // namespace

bool TVRMPoly2dAnalyser::ParseMultiPolygonToString(const TVRMMultiPolygon2d& set, std::string& text, int decimals)
{
    return JoinRingTerms(set, text, true, [decimals](const TVRMPolygon2d& ring, std::string& term) {
        return RingAreaText(ring, term, decimals);
    });
}

bool TVRMPoly2dAnalyser::ParsePolygonToString(const TVRMPolygon2d& polygon, std::string& text, int decimals)
{
    return RingAreaText(polygon, text, decimals);
}

bool TVRMPerimeterParamExpr::ParseMultiPolyPerimeterToString(const TVRMMultiPolygon2d& set, std::string& text,
                                                             int decimals)
{
    return JoinRingTerms(set, text, false, [decimals](const TVRMPolygon2d& ring, std::string& term) {
        return RingPerimeterText(ring, term, decimals);
    });
}
