#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr double CQuarterPi = 0.7853981633974483;
constexpr double CThreeQuarterPi = 2.356194490192345;
constexpr double CFiveQuarterPi = 3.9269908169872414;
constexpr double CSevenQuarterPi = 5.497787143782138;
constexpr double CTwoPi = 6.283185307179586;

constexpr int CWallType = 0;
constexpr int CStripFDUnitType = 81;
constexpr int CInsulatingWallUnitType = 86;

bool Contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

const IQTKLineShape* LineShapeOfRecord(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
}

const TVRMMultiPolygon2d* OutlineOfRecord(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    return shape ? &shape->GetOutline() : nullptr;
}

// A wall elevation property, else the line shape's value.
double WallElev(const IPropValues* values, const char* name, double shapeValue)
{
    return values && values->HasProp(name) && !values->IsPropNull(name) ? EdoPropValueFloat(values, name) : shapeValue;
}

std::unique_ptr<TVRMPolyhedron3d> WallBand(IRDXRecord* wall, double width, double leftOffset)
{
    const Ref<IQTKLineEntBaseCalcEDO> edo = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(wall, true));
    const TVRMCustomLine2d* mid = edo ? edo->GetMidLine() : nullptr;
    const IQTKLineShape* shape = LineShapeOfRecord(wall);
    if (!mid || !shape)
        return std::make_unique<TVRMPolyhedron3d>();
    const IPropValues* values = GetRecordDrawObj(wall)->GetPropValues();
    return TVRMPolyhedron3d::CreateBand(*mid, width, leftOffset,
                                        WallElev(values, "StartPtBottomElev", shape->GetStartPtBottomElev()),
                                        WallElev(values, "StartPtTopElev", shape->GetStartPtTopElev()),
                                        WallElev(values, "EndPtBottomElev", shape->GetEndPtBottomElev()),
                                        WallElev(values, "EndPtTopElev", shape->GetEndPtTopElev()));
}

double WallThickness(IRDXRecord* wall)
{
    return EdoPropValueFloat(GetRecordDrawObj(wall)->GetPropValues(), "Thickness");
}

// Angle from direction A to direction B, in [0, 2pi).
double AngleTo(const TVRMVector2d& a, const TVRMVector2d& b)
{
    double angle = a.AngleTo(b);
    if (angle < 0.0)
        angle += CTwoPi;
    return angle;
}

bool NearWallDirection(double angle)
{
    return LessThan(angle, CQuarterPi, CLengthTol) || GreaterThan(angle, CSevenQuarterPi, CLengthTol);
}

bool NearOppositeDirection(double angle)
{
    return GreaterThan(angle, CThreeQuarterPi, CLengthTol) && LessThan(angle, CFiveQuarterPi, CLengthTol);
}

bool OnPiece(const TVRMPoint2d& p, const TVRMCustomLine2d& piece)
{
    return TVRMPositionFunc2d::PointPosition(p, piece, CLengthTol) != 2;
}

// Whether a piece made with an arc (edge or wall axis) runs along the wall:
// its directions at two points both within 45 degrees of the wall's there,
// or both of the opposite direction.
bool RunsAlongWall(const TVRMCustomLine2d& piece, const TVRMCustomLine2d& edge, const TVRMCustomLine2d& axis)
{
    TVRMPoint2d p1 = piece.StartPt();
    TVRMPoint2d p2 = piece.EndPt();
    TVRMPoint2d edgeCentre;
    if (edge.IsArc() && edge.CenterPt(edgeCentre)) {
        TVRMPoint2d target;
        if (axis.IsArc()) {
            if (!axis.CenterPt(target) || target.IsEqualTo(edgeCentre, CLengthTol))
                return false;
        } else {
            target = TVRMPositionFunc2d::ClosestPointTo(edgeCentre, axis, false);
        }
        std::vector<TVRMPoint2d> crossings;
        TVRMIntersectFunc2d::ExtIntersect(TVRMCustomLine2d(edgeCentre, target), piece, crossings, CLengthTol);
        std::vector<TVRMPoint2d> onPiece;
        for (const TVRMPoint2d& c : crossings)
            if (OnPiece(c, piece))
                onPiece.push_back(c);
        const double span = axis.IsArc() ? edge.Length() : piece.Length();
        auto place = [&](const TVRMPoint2d& c) {
            if (2.0 * piece.LengthAtPoint(c) > span)
                p2 = c;
            else
                p1 = c;
        };
        if (onPiece.size() == 1) {
            place(onPiece[0]);
        } else if (onPiece.size() == 2) {
            const bool footOn = OnPiece(target, piece);
            const bool centreOn = OnPiece(edgeCentre, piece);
            if (footOn == centreOn)
                return false;
            place(footOn ? onPiece[0] : onPiece[1]);
        }
    }
    const TVRMVector2d w1 = axis.IsArc() ? axis.TangentAt(p1) : axis.StartDirection();
    const TVRMVector2d w2 = axis.IsArc() ? axis.TangentAt(p2) : axis.StartDirection();
    const double a1 = AngleTo(w1, piece.TangentAt(p1));
    const double a2 = AngleTo(w2, piece.TangentAt(p2));
    return (NearWallDirection(a1) && NearWallDirection(a2)) || (NearOppositeDirection(a1) && NearOppositeDirection(a2));
}

TVRMVertex2d VertexOf(const TVRMPoint2d& p, const TVRMCustomLine2d* arc = nullptr)
{
    TVRMVertex2d v{p};
    if (arc && arc->IsArc()) {
        v.radius = arc->Radius();
        v.kind = arc->ArcKind();
    }
    return v;
}

// The wall axis moved sideways so that it passes through P.
TVRMCustomLine2d AxisThrough(const TVRMCustomLine2d& axis, const TVRMPoint2d& p)
{
    return TVRMOffsetFunc2d::Offset(axis, TVRMPositionFunc2d::SignedDistanceTo(p, axis, false));
}

// The chain moved sideways by W (a closed chain mitred where it closes).
bool OffsetChain(const TVRMLines2d& chain, double w, TVRMLines2d& moved)
{
    if (!TVRMOffsetFunc2d::Offset(chain, w, moved) || moved.GetCount() < 2)
        return false;
    const std::vector<TVRMVertex2d>& v = chain.Vertices();
    if (v.size() > 3 && v.front().pt.IsEqualTo(v.back().pt, CLengthTol)) {
        const TVRMCustomLine2d first = moved.GetEdge(0);
        const TVRMCustomLine2d last = moved.GetEdge(moved.GetEdgeCount() - 1);
        TVRMPoint2d corner;
        if (!first.IsArc() && !last.IsArc() &&
            TVRMIntersectFunc2d::FirstExtIntersect(last, first, corner, CLengthTol) == 1) {
            moved.Vertices().front().pt = corner;
            moved.Vertices().back().pt = corner;
        }
    }
    return true;
}

void AddVertices(TVRMPolygon2d& polygon, const TVRMLines2d& lines)
{
    for (const TVRMVertex2d& v : lines.Vertices())
        polygon.Add(v);
}

bool SameSide(const TVRMPoint2d& a, const TVRMPoint2d& b, const TVRMCustomLine2d& line)
{
    return TVRMPositionFunc2d::PointSegSide(a, line, CLengthTol) ==
           TVRMPositionFunc2d::PointSegSide(b, line, CLengthTol);
}

}  // namespace

bool GetClosestPointOnWall(IRDXRecord* wall, IRDXRecord* column, TVRMPoint2d& point)
{
    const TVRMCustomLine2d* axis = GetLineEntAxisLine(wall);
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(column);
    const auto* shape = drawObj ? dynamic_cast<const IQTKPointShape*>(drawObj->GetShape()) : nullptr;
    if (!axis || !shape)
        return false;
    point = TVRMPositionFunc2d::ClosestPointTo(shape->GetInsertPt(), *axis, true);
    return true;
}

std::unique_ptr<TVRMPolyhedron3d> BuildWallWidenedSolid(IRDXRecord* wall, double factor)
{
    const double t = WallThickness(wall);
    return WallBand(wall, t * (2.0 * factor + 1.0), factor * t + t / 2.0);
}

std::unique_ptr<TVRMPolyhedron3d> BuildWallWidenedSolidByDistance(IRDXRecord* wall, double distance)
{
    const double t = WallThickness(wall);
    return WallBand(wall, t + 2.0 * distance, distance + t / 2.0);
}

bool IsConcreteForIndenting(const IQTKElementDrawObj* drawObj)
{
    if (!drawObj)
        return false;
    const IPropValues* values = drawObj->GetPropValues();
    if (!values || !values->HasProp("Material")) {
        const int typeId = drawObj->GetElementTypeID();
        return typeId == 19 || typeId == 21 || typeId == 63;
    }
    const std::string text = values->GetPropString("Material");
    const IRDXRecord* row = FindMaterialRow(drawObj, text);
    if (!row)
        return false;
    if (FieldExist(row, "HasIndenting") && FieldValueInteger(row, "HasIndenting", 0) != 1)
        return false;
    switch (FieldValueInteger(row, "Type", -2)) {
        case -1:
            return (Contains(text, "混凝土") || Contains(text, "砼")) && !Contains(text, "砌块") &&
                   !Contains(text, "预制");
        case 0:
            return true;
        default:
            return false;
    }
}

bool IsIndentableWall(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    if (!drawObj)
        return false;
    const int typeId = drawObj->GetElementTypeID();
    return (typeId == CWallType || typeId == CStripFDUnitType || typeId == CInsulatingWallUnitType) &&
           !IsConcreteForIndenting(drawObj);
}

bool LinesMeet(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    std::vector<TVRMPoint2d> points;
    TVRMIntersectFunc2d::Intersect(a, b, points, CLengthTol);
    return !points.empty();
}

int CountSideLinesMeetingLine(IRDXRecord* element, IRDXRecord* wall)
{
    const TVRMMultiPolygon2d* outline = OutlineOfRecord(element);
    if (!outline)
        return 0;
    const TVRMCustomLine2d centre = GetLineEntCenterLine(wall);
    const double t = GetDrawObjThickness(GetRecordDrawObj(wall));
    const TVRMCustomLine2d first = TVRMOffsetFunc2d::Offset(centre, t / 2.0);
    const TVRMCustomLine2d second = TVRMOffsetFunc2d::Offset(first, -t);
    int count = 0;
    for (const TVRMCustomLine2d* side : {&first, &second}) {
        bool meets = false;
        for (const TVRMPolygon2d& ring : outline->Items())
            for (const TVRMCustomLine2d& edge : ring.GetEdges())
                meets = meets || LinesMeet(*side, edge);
        count += meets ? 1 : 0;
    }
    return count;
}

void ProjectEdgeOnWallLine(TQTKWallPieces& pieces, const TVRMCustomLine2d& wallAxis, const TVRMCustomLine2d& edge,
                           const TVRMMultiPolygon2d& wallOutline)
{
    std::vector<TVRMPoint2d> points;
    TVRMIntersectFunc2d::Intersect(edge, wallOutline, points, CLengthTol);
    if (points.size() < 2) {
        pieces.emplace_back();
        return;
    }
    TVRMPositionFunc2d::SortPoint(points, edge);
    if (!edge.IsArc() && !wallAxis.IsArc()) {
        // The unsigned angle between the two directions, 0 .. pi.
        const double cosine = std::clamp(wallAxis.StartDirection().InnerProduct(edge.StartDirection()), -1.0, 1.0);
        const double angle = std::acos(cosine);
        if (!GreaterThan(angle, CQuarterPi, CLengthTol) || !LessThan(angle, CThreeQuarterPi, CLengthTol)) {
            pieces.emplace_back();
            return;
        }
        pieces.emplace_back(TVRMPositionFunc2d::SubSeg(edge, points[0], points[1]));
        return;
    }
    const TVRMCustomLine2d piece = TVRMPositionFunc2d::SubSeg(edge, points[0], points[1]);
    if (RunsAlongWall(piece, edge, wallAxis))
        pieces.emplace_back();
    else
        pieces.emplace_back(piece);
}

void CollectWallPiecesOppositeColumn(IRDXRecord* column, IRDXRecord* wall, TQTKWallPieces& pieces)
{
    pieces.clear();
    const IQTKLineShape* wallShape = LineShapeOfRecord(wall);
    const TVRMMultiPolygon2d* columnOutline = OutlineOfRecord(column);
    if (!wallShape || !columnOutline)
        return;
    const TVRMCustomLine2d axis = wallShape->GetLine();
    const TVRMMultiPolygon2d& wallOutline = wallShape->GetOutline();
    for (const TVRMPolygon2d& ring : columnOutline->Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges())
            ProjectEdgeOnWallLine(pieces, axis, edge, wallOutline);
}

bool AppendPieceToPolyline(TVRMLines2d& polyline, std::optional<TVRMCustomLine2d>& piece, TVRMPoint2d& endPoint,
                           int mode)
{
    if (!piece)
        return false;
    switch (mode) {
        case 0:
            QTK_ASSERT(polyline.GetCount() == 0);
            polyline.Add(VertexOf(piece->StartPt(), &*piece));
            endPoint = piece->EndPt();
            break;
        case 1:
            if (!endPoint.IsEqualTo(piece->StartPt(), CLengthTol))
                return false;
            polyline.Add(VertexOf(piece->StartPt(), &*piece));
            endPoint = piece->EndPt();
            break;
        case -1:
            if (polyline.GetCount() == 0 || !polyline.Vertices().front().pt.IsEqualTo(piece->EndPt(), CLengthTol))
                return false;
            polyline.Vertices().insert(polyline.Vertices().begin(), VertexOf(piece->StartPt(), &*piece));
            break;
        default:
            return false;
    }
    piece.reset();
    return true;
}

TVRMLines2d IntersectWithEndRay(const TVRMPoint2d& v, const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, bool flag)
{
    std::vector<TVRMPoint2d> points;
    const int code = TVRMIntersectFunc2d::ExtIntersect(a, b, points, CLengthTol);
    TVRMLines2d result;
    if (!a.IsArc() && !b.IsArc()) {
        QTK_ASSERT_MSG(code != 0, "这两条直线不存在平行情况");
        QTK_ASSERT_MSG(code == 1 && points.size() == 1, "这两条直线交点不可能多个，不存在重叠情况");
        if (flag)
            result.Add(v);
        result.Add(points[0]);
        return result;
    }
    if ((code != 1 && code != 2) || points.empty()) {
        if (flag) {
            result.Add(v);
            result.Add(b.StartPt());
        } else {
            result.Add(b.EndPt());
        }
        return result;
    }
    TVRMPoint2d x = points[0];
    if (points.size() > 1 && v.DistanceTo(points[1]) < v.DistanceTo(x))
        x = points[1];
    if (flag) {
        const TVRMCustomLine2d part = TVRMPositionFunc2d::SubSeg(a, v, x);
        result.Add(VertexOf(v, a.IsArc() ? &part : nullptr));
        result.Add(VertexOf(x, b.IsArc() ? &b : nullptr));
    } else {
        const TVRMCustomLine2d part = TVRMPositionFunc2d::SubSeg(a, x, v);
        result.Add(VertexOf(x, a.IsArc() ? &part : nullptr));
    }
    return result;
}

void BuildClosedIndentPolygons(TVRMMultiPolygon2d& polygons, TVRMLines2d chain, double w)
{
    TVRMLines2d moved;
    if (!OffsetChain(chain, w, moved))
        return;
    chain.Reverse();
    std::vector<TVRMVertex2d> own(chain.Vertices().begin(), chain.Vertices().end() - 1);
    std::vector<TVRMVertex2d> outer(moved.Vertices().begin(), moved.Vertices().end() - 1);
    polygons.Add(TVRMPolygon2d(std::move(own)));
    polygons.Add(TVRMPolygon2d(std::move(outer)));
}

void BuildTwoPointIndentPolygon(TVRMMultiPolygon2d& polygons, TVRMLines2d chain, const TVRMCustomLine2d& wallAxis,
                                double w)
{
    QTK_ASSERT(chain.GetCount() == 2);
    TVRMLines2d moved;
    if (!OffsetChain(chain, w, moved))
        return;
    chain.Reverse();
    const TVRMCustomLine2d e = moved.GetEdge(0);
    const TVRMPoint2d p0 = chain.Vertices()[0].pt;
    const TVRMPoint2d p1 = chain.Vertices()[1].pt;
    const TVRMLines2d first = IntersectWithEndRay(p0, AxisThrough(wallAxis, p0), e, false);
    QTK_ASSERT(first.GetCount() > 0);
    const TVRMLines2d second = IntersectWithEndRay(p1, AxisThrough(wallAxis, p1), e, true);
    QTK_ASSERT(second.GetCount() > 0);
    QTK_ASSERT(second.Vertices().front().pt.IsEqualTo(p1, CLengthTol));
    TVRMPolygon2d polygon;
    AddVertices(polygon, first);
    polygon.Add(chain.Vertices()[0]);
    AddVertices(polygon, second);
    polygons.Add(std::move(polygon));
}

void BuildMultiPointIndentPolygon(TVRMMultiPolygon2d& polygons, TVRMLines2d chain, const TVRMCustomLine2d& wallAxis,
                                  double w)
{
    QTK_ASSERT(chain.GetCount() > 2);
    TVRMLines2d moved;
    if (!OffsetChain(chain, w, moved))
        return;
    chain.Reverse();
    const std::vector<TVRMVertex2d>& p = chain.Vertices();
    const std::vector<TVRMVertex2d>& p2 = moved.Vertices();
    const TVRMPoint2d& pFirst = p.front().pt;
    const TVRMPoint2d& pLast = p.back().pt;
    const TVRMCustomLine2d l1 = AxisThrough(wallAxis, pFirst);
    const TVRMCustomLine2d l2 = AxisThrough(wallAxis, pLast);
    auto inside = [&](const TVRMPoint2d& q) { return SameSide(q, pLast, l1) && SameSide(q, pFirst, l2); };
    TVRMPolygon2d polygon;
    if (inside(p2.back().pt)) {
        const TVRMLines2d start = IntersectWithEndRay(pFirst, l1, moved.GetEdge(moved.GetEdgeCount() - 1), false);
        QTK_ASSERT(start.GetCount() > 0);
        AddVertices(polygon, start);
    } else {
        polygon.Add(p2.back());
    }
    for (size_t i = 0; i + 1 < p.size(); ++i)
        polygon.Add(p[i]);
    if (inside(p2.front().pt)) {
        AddVertices(polygon, IntersectWithEndRay(pLast, l2, moved.GetEdge(0), true));
    } else {
        polygon.Add(p.back());
        polygon.Add(p2.front());
    }
    for (size_t i = 1; i + 1 < p2.size(); ++i)
        polygon.Add(p2[i]);
    polygons.Add(std::move(polygon));
}

std::unique_ptr<TVRMPolyhedron3d> BuildIndentPrism(TQTKWallPieces& pieces, IRDXRecord* wall, double w, double height,
                                                   double bottom)
{
    std::vector<TVRMLines2d> chains;
    const int n = static_cast<int>(pieces.size());
    for (int i = 0; i < n; ++i) {
        if (!pieces[static_cast<size_t>(i)])
            continue;
        TVRMLines2d chain;
        TVRMPoint2d end;
        AppendPieceToPolyline(chain, pieces[static_cast<size_t>(i)], end, 0);
        for (int j = i + 1; j < n && AppendPieceToPolyline(chain, pieces[static_cast<size_t>(j)], end, 1); ++j) {
        }
        chain.Add(end);
        if (i == 0)
            for (int k = n - 1; k > 0 && AppendPieceToPolyline(chain, pieces[static_cast<size_t>(k)], end, -1); --k) {
            }
        chains.push_back(std::move(chain));
    }
    const IQTKLineShape* wallShape = LineShapeOfRecord(wall);
    if (!wallShape)
        return nullptr;
    const TVRMCustomLine2d axis = wallShape->GetLine();
    TVRMMultiPolygon2d polygons;
    for (TVRMLines2d& chain : chains) {
        QTK_ASSERT(chain.GetCount() >= 2);
        if (chain.GetCount() == 2)
            BuildTwoPointIndentPolygon(polygons, std::move(chain), axis, w);
        else if (chain.Vertices().front().pt.IsEqualTo(chain.Vertices().back().pt, CLengthTol))
            BuildClosedIndentPolygons(polygons, std::move(chain), w);
        else
            BuildMultiPointIndentPolygon(polygons, std::move(chain), axis, w);
    }
    if (polygons.IsEmpty())
        return nullptr;
    polygons.Normalize(CLengthTol);
    auto prism = TVRMPolyhedron3d::CreatePrism(polygons, bottom, height);
    IQTKElementDrawObj* wallObj = GetRecordDrawObj(wall);
    const int typeId = wallObj->GetElementTypeID();
    if (typeId == CWallType || typeId == CInsulatingWallUnitType) {
        const Ref<IQTKPolyhedron3dIntf> solid = GetCalcEDO(wall, true)->GetOriginalPolyhedronIntf();
        TVRMNewPolyBooleanOperator::BooleanOperate(*prism, *solid->GetPolyhedron(), CVRMBoolIntersect);
    } else {
        const auto solid = wallObj->BuildPolyhedron(true, nullptr, 0.0, 0);
        TVRMNewPolyBooleanOperator::BooleanOperate(*prism, *solid, CVRMBoolIntersect);
    }
    return prism;
}

std::unique_ptr<TVRMPolyhedron3d> BuildIndentingSolid(IRDXRecord* column, IRDXRecord* wall, double height,
                                                      double bottom, double w)
{
    TQTKWallPieces pieces;
    CollectWallPiecesOppositeColumn(column, wall, pieces);
    const TVRMMultiPolygon2d* outline = OutlineOfRecord(column);
    QTK_ASSERT(outline && !outline->IsEmpty() && !outline->GetItems(0).IsClockwise());
    return BuildIndentPrism(pieces, wall, w, height, bottom);
}

// ---------------------------------------------------------------------------

namespace {

template <class T>
Ref<T> EdoAs(IRDXRecord* record)
{
    const Ref<T> edo = RefCast<T>(GetCalcEDO(record, true));
    if (!edo)
        throw EIntfCastError("the element is not a column of the kind the rule expects");
    return edo;
}

}  // namespace

Ref<IQTKColumnCalculatorEDO> GetColumnEdo(IRDXRecord* column)
{
    return EdoAs<IQTKColumnCalculatorEDO>(column);
}

Ref<IQTKTieColumnCalculatorEDO> GetTieColumnEdo(IRDXRecord* column)
{
    return EdoAs<IQTKTieColumnCalculatorEDO>(column);
}

Ref<IQTKPolyhedron3dIntf> GetOriginalSolidHolder(IRDXRecord* record)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    return edo ? edo->GetOriginalPolyhedronIntf() : Ref<IQTKPolyhedron3dIntf>();
}

double RescaleByFactor(double amount, double calcFactor, double factor)
{
    return SameValue(calcFactor, 0.0) ? 0.0 : amount / calcFactor * factor;
}

double GetIndentingVolume(IQTKTieColumnCalculatorEDO& column, double factor)
{
    if (!column.GetIndentingPolyhedron())
        column.BuildIndentingPolyhedron();
    const std::shared_ptr<TQTKSolidCalc3d> calc = column.CalcIndentingVolume(factor);
    return calc ? RescaleByFactor(calc->GetVolume(), calc->GetFactor(), factor) : 0.0;
}

double GetIndentingSideArea(IQTKTieColumnCalculatorEDO& column, double factor)
{
    if (!column.GetIndentingPolyhedron())
        column.BuildIndentingPolyhedron();
    const std::shared_ptr<TQTKShellCalc3d> calc = column.GetIndentingSideShellCalc(factor);
    return calc ? RescaleByFactor(calc->GetArea(), calc->GetFactor(), factor) : 0.0;
}

ViewRef GetInternalQtyRuleRows(const TableSourceRef& ruleContext, int internalQtyId)
{
    const TableSourceRef context = ResolveRuleContext(ruleContext);
    const IRDXTable* rules = context ? FindTableNear(context->GetDatabase(), "InternalQtyCalcRule") : nullptr;
    return rules ? SyncCreateRdxRecordList(rules, "InternalQtyID = " + std::to_string(internalQtyId)) : nullptr;
}
