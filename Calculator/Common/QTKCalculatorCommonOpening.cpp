#include "Calculator/Common/QTKCalculatorCommonOpening.h"

#include <optional>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

// Distance an end of the span is moved inwards to tell on which side of an
// outline it continues.
constexpr double CEndNudge = 0.12345;

}  // namespace

std::optional<TVRMCustomLine2d> GetOpeningSpan(IRDXRecord* opening)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(opening);
    if (!drawObj)
        return std::nullopt;
    if (IsRibbonOpeningType(drawObj->GetElementTypeID())) {
        const auto ribbon = RefCast<IQTKRibbonOpeningCalcEDO>(GetCalcEDO(opening, true));
        const TVRMCustomLine2d* mid = ribbon ? ribbon->GetMidLine() : nullptr;
        return mid ? std::optional<TVRMCustomLine2d>(*mid) : std::nullopt;
    }
    const IQTKLineShape* wallShape = GetRecordLineShape(drawObj->GetParentRecord());
    const auto* point = dynamic_cast<const IQTKPointShape*>(drawObj->GetShape());
    if (!wallShape || !point)
        return std::nullopt;
    const TVRMCustomLine2d& wallLine = wallShape->GetLine();
    const double at = wallLine.LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(point->GetInsertPt(), wallLine));
    const double halfWidth = EdoPropValueFloat(drawObj->GetPropValues(), "OpeningWidth") / 2.0;
    return TVRMPositionFunc2d::SubSeg(wallLine, at - halfWidth, at + halfWidth);
}

Ref<IQTKSectionPoly> GetOpeningSectionOnWall(IRDXRecord* opening, IRDXRecord* wall)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(opening);
    if (!drawObj)
        return nullptr;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(opening, true);
    if (IsRibbonOpeningType(drawObj->GetElementTypeID())) {
        const auto ribbon = RefCast<IQTKRibbonOpeningCalcEDO>(edo);
        return ribbon ? ribbon->GetSectionPolyOnWall(wall) : nullptr;
    }
    const auto hollow = RefCast<IQTKWallHollowCalcEDO>(edo);
    return hollow ? hollow->GetSectionPolyOnWall(wall) : nullptr;
}

namespace {

const TVRMMultiPolygon2d* GetElementOutline(IRDXRecord* element)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(element);
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    return shape ? &shape->GetOutline() : nullptr;
}

int Position(const TVRMPoint2d& p, const TVRMMultiPolygon2d& outline)
{
    return TVRMPositionFunc2d::PointPosition(p, outline, CVRMEpsilon);
}

const TVRMPolygon2d* FirstPolygon(const Ref<IQTKSectionPoly>& holder)
{
    const TVRMMultiPolygon2d* set = holder ? holder->GetPolygon() : nullptr;
    return set && set->GetCount() > 0 ? &set->GetItems(0) : nullptr;
}

bool LiesOn(const TVRMCustomLine2d& edge, const TVRMCustomLine2d& line)
{
    return TVRMPositionFunc2d::IsParallel(edge, line, CVRMParallelEpsilon) &&
           IsZero(TVRMPositionFunc2d::SignedDistanceTo(edge.StartPt(), line, false), CVRMEpsilon);
}

}  // namespace

bool IsOpeningEndInElement(IRDXRecord* element, IRDXRecord* opening)
{
    const std::optional<TVRMCustomLine2d> span = GetOpeningSpan(opening);
    const TVRMMultiPolygon2d* outline = GetElementOutline(element);
    if (!span || !outline)
        return false;
    return Position(span->StartPt(), *outline) != 2 || Position(span->EndPt(), *outline) != 2;
}

// The ends are nudged along the span (towards each other), so a span along
// any direction is judged alike.
bool IsOpeningOverElement(IRDXRecord* element, IRDXRecord* opening)
{
    const std::optional<TVRMCustomLine2d> span = GetOpeningSpan(opening);
    const TVRMMultiPolygon2d* outline = GetElementOutline(element);
    if (!span || !outline)
        return false;
    const double length = span->Length();
    const TVRMPoint2d start = span->StartPt();
    const TVRMPoint2d end = span->EndPt();
    const int startPos = Position(start, *outline);
    const int endPos = Position(end, *outline);
    if (startPos == 0 || endPos == 0)
        return true;
    if (startPos == 2) {
        std::vector<TVRMPoint2d> crossings;
        TVRMIntersectFunc2d::Intersect(*span, *outline, crossings, CVRMEpsilon);
        if (crossings.size() > 1)
            return true;
    }
    if (startPos == 1 && Position(span->PointAtLength(CEndNudge), *outline) == 0)
        return true;
    if (endPos != 1)
        return false;
    return Position(span->PointAtLength(length - CEndNudge), *outline) == 0;
}

bool IsOpeningOnBeamSide(IRDXRecord* beam, IRDXRecord* opening, IRDXRecord* wall)
{
    const auto beamEdo = RefCast<IQTKBeamCalcEDO>(GetCalcEDO(beam, true));
    const Ref<IQTKSectionPoly> projection = beamEdo ? beamEdo->CalcProjectionOnWall(wall) : nullptr;
    const TVRMPolygon2d* beamPolygon = FirstPolygon(projection);
    if (!beamPolygon || beamPolygon->GetEdgeCount() < 4)
        return false;
    const TVRMPolygon2d* openingPolygon = FirstPolygon(GetOpeningSectionOnWall(opening, wall));
    if (!openingPolygon)
        return false;
    const TVRMCustomLine2d edge1 = beamPolygon->GetEdge(1);
    const TVRMCustomLine2d edge3 = beamPolygon->GetEdge(3);
    for (const TVRMCustomLine2d& edge : openingPolygon->GetEdges()) {
        if (LiesOn(edge, edge1))
            return edge.StartPt().x <= edge.EndPt().x;
        if (LiesOn(edge, edge3))
            return edge.StartPt().x > edge.EndPt().x;
    }
    return true;
}
