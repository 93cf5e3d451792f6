#include "Calculator/Common/QTKCalculatorCommonRelations.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOpening.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCompositeElementCalcCommon.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/RDX/RDXRecordExpr.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr int CWallType = 0;
constexpr int CInsulatingWallType = 1;
constexpr int CAlcoveType = 13;
constexpr int CSlabType = 19;
constexpr int CSlabType2 = 20;
constexpr int CRoomHorizonType = 33;
constexpr int CParapetType = 69;
// "TopElev" of a related element counts as at the reference within this.
constexpr double CTopElevTol = 10.0;
// A parallel element decides the beam's support when it covers this much of it.
constexpr double CMinParallelCover = 200.0;
// Minimal overlap of a line element and a column that meet.
constexpr double CColumnContactTol = 0.001;

// Where a line element's band lies across another line: its faces' signed
// distances from that line, given the signed distance of its own line's
// start and whether it runs the same way.
struct TBand {
    double low = 0.0;
    double high = 0.0;
};

TBand BandAcross(double d, bool sameDirection, double width, double axisOffset)
{
    return sameDirection ? TBand{d - axisOffset, d + width - axisOffset}
                         : TBand{d - (width - axisOffset), d + axisOffset};
}

bool IsBandWithin(const TBand& inner, const TBand& outer)
{
    return GreaterEqualThan(inner.low, outer.low) && LessEqualThan(inner.high, outer.high);
}

double SignedStartDistance(const TVRMCustomLine2d& of, const TVRMCustomLine2d& from)
{
    return TVRMPositionFunc2d::SignedDistanceTo(of.StartPt(), from, false);
}

bool IsParallelLines(const IQTKLineShape* a, const IQTKLineShape* b)
{
    return a && b && TVRMPositionFunc2d::IsParallel(a->GetLine(), b->GetLine(), CVRMParallelEpsilon);
}

// The element's calculated middle line; its line shape's line without one.
const TVRMCustomLine2d* GetMidLineOf(IRDXRecord* record)
{
    if (const auto lineEnt = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(record, true)))
        if (const TVRMCustomLine2d* mid = lineEnt->GetMidLine())
            return mid;
    const IQTKLineShape* shape = GetRecordLineShape(record);
    return shape ? &shape->GetLine() : nullptr;
}

TRecordList RelatedOfTypes(IRDXRecord* record, const TQTKElementTypeSet& types)
{
    TRecordList list;
    if (const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true))
        edo->GetRelatedByTypes(types, &list);
    return list;
}

const TQTKElementTypeSet& WallLikeTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({CWallType, CInsulatingWallType, CParapetType});
    return types;
}

// Length of a beam's line that the parallel element's line covers, and what is left.
struct TCover {
    double covered = 0.0;
    double uncovered = 0.0;
};

TCover CoverAlong(const TVRMCustomLine2d& line, const TVRMCustomLine2d& other)
{
    TVRMNumRangeCalc2d range(0.0, line.Length());
    range.AppendRange(line.LengthAtPoint(other.StartPt()), line.LengthAtPoint(other.EndPt()), 1);
    return {range.GetLengthFor(1), range.GetNullLength()};
}

// An insulating wall unit whose face is its wall's external face: the first
// layer (lowest record id) when the wall's left side is external, the last
// (highest id) when its right side is.
bool IsUnitOnExternalSide(IRDXRecord* unit, bool left)
{
    const IQTKElementDrawObj* unitObj = GetRecordDrawObj(unit);
    const IQTKElementDrawObj* wallObj = unitObj ? unitObj->GetParentDrawObj() : nullptr;
    const auto wall = wallObj ? RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(wallObj->GetRecord(), true)) : nullptr;
    if (!wall || !(left ? wall->IsLeftSideExternal() : wall->IsRightSideExternal()))
        return false;
    const int id = unit->GetID();
    for (int i = 0; i < wallObj->GetChildCount(); ++i) {
        const IQTKElementDrawObj* child = wallObj->GetChild(i);
        if (child->GetElementTypeID() == unitObj->GetElementTypeID() &&
            (left ? child->GetIndexKey() < id : child->GetIndexKey() > id))
            return false;
    }
    return true;
}

}  // namespace

bool HasOuterFlag(IRDXRecord* record)
{
    return EdoPropValueInteger(GetRecordPropValues(record), "InnerOuterFlag", 0) == 1;
}

bool IsOuterBeamByWalls(IRDXRecord* beam)
{
    const IQTKElementDrawObj* beamObj = GetRecordDrawObj(beam);
    if (const auto* definitions = dynamic_cast<const IQTKPropDefinitions*>(beamObj)) {
        const IPropValues* values = beamObj->GetPropValues();
        const std::string visible = definitions->GetVisibleFlagExpr("InnerOuterFlag");
        if (values && values->HasProp("InnerOuterFlag") && !visible.empty() &&
            TRDXRecordExpression(beam->GetTable(), visible).Matches(beam))
            return HasOuterFlag(beam);
    }
    const TVRMCustomLine2d* mid = GetMidLineOf(beam);
    const Ref<IQTKCalculatorEDO> beamEdo = GetCalcEDO(beam, true);
    if (!mid || !beamEdo)
        return false;
    TRecordList walls;
    if (!beamEdo->GetRelatedByTypes(MakeElementTypeSet({CWallType, CInsulatingWallType}), &walls))
        return false;
    TVRMNumRangeCalc2d range(0.0, mid->Length());
    const std::shared_ptr<const TVRMPolyhedron3d> beamSolid = HoldOriginalSolid(beamEdo.get());
    for (const RecordRef& wall : walls) {
        const TVRMCustomLine2d* wallMid = GetMidLineOf(wall.get());
        if (!wallMid || !TVRMPositionFunc2d::IsParallel(*mid, *wallMid, CVRMParallelEpsilon))
            continue;
        const Ref<IQTKCalculatorEDO> wallEdo = GetCalcEDO(wall, true);
        const std::shared_ptr<const TVRMPolyhedron3d> wallSolid = HoldOriginalSolid(wallEdo.get());
        if (!beamSolid || !wallSolid || !IsIntersectant(*beamSolid, *wallSolid))
            continue;
        const auto custom = RefCast<IQTKCustomWallCalcEDO>(wallEdo);
        const int mark = custom && custom->GetInnerOuterFlag() == 1 ? 1 : 2;
        range.AppendRange(mid->LengthAtPoint(wallMid->StartPt()), mid->LengthAtPoint(wallMid->EndPt()), mark);
    }
    return range.GetLengthFor(2) < range.GetLengthFor(1);
}

bool IsBeamOnParallelElement(IRDXRecord* beam)
{
    const IQTKLineShape* beamShape = GetRecordLineShape(beam);
    if (!beamShape)
        return false;
    for (const RecordRef& wall : RelatedOfTypes(beam, MakeElementTypeSet({CWallType, CInsulatingWallType}))) {
        const IQTKLineShape* wallShape = GetRecordLineShape(wall.get());
        if (!IsParallelLines(beamShape, wallShape))
            continue;
        const TCover cover = CoverAlong(beamShape->GetLine(), wallShape->GetLine());
        if (GreaterEqualThan(cover.covered, CMinParallelCover) || IsZero(cover.uncovered))
            return true;
    }
    return false;
}

bool IsBeamSideOnWallFace(IRDXRecord* beam, IRDXRecord* wall, int& side)
{
    side = 0;
    if (!IsLineEntsParallel(beam, wall))
        return false;
    const TVRMCustomLine2d* beamMid = GetMidLineOf(beam);
    if (!beamMid)
        return false;
    const TVRMPoint2d p = beamMid->StartPt();
    const double t = GetRecordThickness(beam);
    auto onFace = [&](const TVRMCustomLine2d* face) {
        return face && SameValue(2.0 * TVRMPositionFunc2d::DistanceTo(p, *face), t);
    };
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(wall, true);
    if (GetRecordElementTypeID(wall) == CWallType) {
        const auto custom = RefCast<IQTKCustomWallCalcEDO>(edo);
        if (!custom)
            return false;
        if (custom->IsLeftSideExternal() && onFace(custom->GetLeftLine()))
            side |= 1;
        if (custom->IsRightSideExternal() && onFace(custom->GetRightLine()))
            side |= 2;
    } else if (const auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(edo)) {
        if (IsUnitOnExternalSide(wall, true) && onFace(unit->GetLeftLine()))
            side |= 1;
        if (IsUnitOnExternalSide(wall, false) && onFace(unit->GetRightLine()))
            side |= 2;
    }
    return side != 0;
}

int GetFlightEdgeIndex(const IQTKFaceShape* shape)
{
    if (!shape)
        return -1;
    for (int i = 0; i < shape->GetEdgeCount(); ++i)
        if (const auto* info = dynamic_cast<const IFlightEdgeInfo*>(shape->GetEdgeInfo(i));
            info && info->GetFlag() != 0)
            return i;
    return -1;
}

bool IsBeamOverStairSegment(IRDXRecord* beam, IRDXRecord* stair)
{
    const IQTKLineShape* beamShape = GetRecordLineShape(beam);
    const IQTKElementDrawObj* stairObj = GetRecordDrawObj(stair);
    const auto* stairShape = stairObj ? dynamic_cast<const IQTKFaceShape*>(stairObj->GetShape()) : nullptr;
    if (!beamShape || !stairShape || beamShape->GetStartPtBottomElev() == beamShape->GetEndPtBottomElev())
        return false;
    const int flight = GetFlightEdgeIndex(stairShape);
    if (flight < 0)
        return false;
    const TVRMCustomLine2d& line = beamShape->GetLine();
    std::vector<TVRMCustomLine2d> edges;
    for (const TVRMPolygon2d& ring : stairShape->GetOutline().Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges())
            edges.push_back(edge);
    if (flight >= static_cast<int>(edges.size()))
        return false;
    const TVRMCustomLine2d& flightEdge = edges[flight];
    const double rise = GetRecordPropFloat(stair, "Height") - GetRecordPropFloat(stair, "StepHeight");
    for (const TVRMCustomLine2d& edge : edges) {
        if (!TVRMPositionFunc2d::IsParallel(edge, line, CVRMParallelEpsilon))
            continue;
        const TVRMPoint2d p1 = TVRMPositionFunc2d::ClosestPointTo(line.StartPt(), edge, false);
        const TVRMPoint2d p2 = TVRMPositionFunc2d::ClosestPointTo(line.EndPt(), edge, false);
        const double beamSlope =
            (beamShape->GetTopElevAt(p1) - beamShape->GetTopElevAt(p2)) / std::max(p1.DistanceTo(p2), CVRMPi);
        double stairSlope = 0.0;
        if (!TVRMPositionFunc2d::IsParallel(edge, flightEdge, CVRMParallelEpsilon)) {
            if (IsZero(edge.Length()))
                return false;
            stairSlope = rise / edge.Length();
            const double d1 = std::abs(TVRMPositionFunc2d::SignedDistanceTo(p1, flightEdge, false));
            const double d2 = std::abs(TVRMPositionFunc2d::SignedDistanceTo(p2, flightEdge, false));
            if (d1 < d2)
                stairSlope = -stairSlope;
        }
        if (SameValue(beamSlope, stairSlope))
            return true;
    }
    return false;
}

bool IsOnThinnerParallelWall(IRDXRecord* a, IRDXRecord* b)
{
    const IQTKLineShape* bShape = GetRecordLineShape(b);
    const Ref<IQTKCalculatorEDO> aEdo = GetCalcEDO(a, true);
    const Ref<IQTKCalculatorEDO> bEdo = GetCalcEDO(b, true);
    if (!bShape || !aEdo || !bEdo)
        return true;
    TRecordList candidates;
    bEdo->GetRelatedByType(GetRecordElementTypeID(a), &candidates);
    for (const RecordRef& x : candidates) {
        const IQTKLineShape* xShape = GetRecordLineShape(x.get());
        if (!IsParallelLines(xShape, bShape) ||
            !GreaterThan(GetSubSegLength(xShape->GetLine(), bShape->GetLine()), 1.0))
            continue;
        if (aEdo->IndexOfRelated(x.get()) < 0)
            continue;
        // The wall is thinner than the parallel beam is deep.
        return LessThan(GetRecordPropFloat(b, "Thickness"), GetRecordPropFloat(x.get(), "SectionHeight"));
    }
    return true;
}

bool IsSameBottomElev(IRDXRecord* beam, IRDXRecord* face)
{
    const auto rated = RefCast<IQTKHasSectionInfoWithLengthRateCalcEDO>(GetCalcEDO(beam, true));
    const IQTKLineShape* beamShape = GetRecordLineShape(beam);
    const IQTKElementDrawObj* faceObj = GetRecordDrawObj(face);
    const auto* faceShape = faceObj ? dynamic_cast<const IQTKFaceShape*>(faceObj->GetShape()) : nullptr;
    const IQTKFaceElevInfo* elev = faceShape ? faceShape->GetFaceElevInfo() : nullptr;
    if (!rated || !beamShape || !elev || rated->GetLengthRate() != 1.0 || elev->GetSlopeFactor() != 1.0)
        return false;
    const TVRMPoint2d p = beamShape->GetLine().StartPt();
    return SameValue(elev->GetElevAt(p) - faceShape->GetElev(), beamShape->GetBottomElevAt(p));
}

bool IsWallWithinBeamWidth(IRDXRecord* beam, IRDXRecord* wall)
{
    const IQTKLineShape* beamShape = GetRecordLineShape(beam);
    const IQTKLineShape* wallShape = GetRecordLineShape(wall);
    if (!IsParallelLines(beamShape, wallShape))
        return false;
    const double thickness = GetRecordPropFloat(wall, "Thickness");
    const double sectionWidth = GetRecordPropFloat(beam, "SectionWidth");
    if (GreaterThan(thickness, sectionWidth))
        return false;
    IRDXRecord* placing = wall;
    if (GetRecordElementTypeID(wall) != CWallType)
        if (const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wall); drawObj && drawObj->GetParentRecord())
            placing = drawObj->GetParentRecord();
    const TVRMCustomLine2d& beamLine = beamShape->GetLine();
    const TVRMCustomLine2d& wallLine = wallShape->GetLine();
    // "AxisOffset" when the element states it, else where its shape lies
    // (a drawn element without the property is centred on its axis).
    const IQTKLineShape* placingShape = GetRecordLineShape(placing);
    const TBand beamBand =
        BandAcross(0.0, true, sectionWidth, GetRecordPropFloat(beam, "AxisOffset", beamShape->GetAxisOffset()));
    const TBand wallBand = BandAcross(
        SignedStartDistance(wallLine, beamLine), TVRMPositionFunc2d::IsSameDirection(beamLine, wallLine), thickness,
        GetRecordPropFloat(placing, "AxisOffset", placingShape ? placingShape->GetAxisOffset() : 0.0));
    return IsBandWithin(wallBand, beamBand);
}

bool IsSamePlane(const TVRMPlane3d& a, const TVRMPlane3d& b)
{
    if (!a.IsSuperposition(b, CVRMPlaneEpsilon))
        return false;
    const TVRMVector3d& n = a.GetNormal();
    const TVRMVector3d& m = b.GetNormal();
    return SameValue(n.x, m.x) && SameValue(n.y, m.y) && SameValue(n.z, m.z);
}

bool HasOneRelatedAtTopElev(IRDXRecord* record, int elementTypeId)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    if (!drawObj || !edo)
        return false;
    TRecordList related;
    if (!edo->GetRelatedByType(elementTypeId, &related))
        return false;
    const TVRMBox3d box = drawObj->GetBox();
    const double reference = elementTypeId == CRoomHorizonType ? box.min.z : box.max.z;
    int count = 0;
    for (const RecordRef& other : related)
        if (SameValue(GetRecordPropFloat(other.get(), "TopElev"), reference, CTopElevTol) && ++count > 1)
            break;
    return count == 1;
}

bool IsOpeningInWall(IRDXRecord* wall, IRDXRecord* opening)
{
    const IQTKElementDrawObj* openingObj = GetRecordDrawObj(opening);
    if (!openingObj)
        return false;
    if (!IsRibbonOpeningType(openingObj->GetElementTypeID()))
        return IsLineEntsParallel(wall, openingObj->GetParentRecord());
    const IQTKLineShape* wallShape = GetRecordLineShape(wall);
    const IQTKLineShape* openingShape = GetDrawObjLineShape(openingObj);
    if (!IsParallelLines(wallShape, openingShape))
        return false;
    const TVRMCustomLine2d& wallLine = wallShape->GetLine();
    const TVRMCustomLine2d& openingLine = openingShape->GetLine();
    const TBand wallBand = BandAcross(0.0, true, wallShape->GetWidth(), wallShape->GetAxisOffset());
    const TBand openingBand = BandAcross(SignedStartDistance(openingLine, wallLine),
                                         TVRMPositionFunc2d::IsSameDirection(wallLine, openingLine),
                                         openingShape->GetWidth(), openingShape->GetAxisOffset());
    return IsBandWithin(openingBand, wallBand);
}

bool IsOpeningOutsideSlab(IRDXRecord* opening)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(opening);
    const int type = drawObj ? drawObj->GetElementTypeID() : -1;
    if (type >= 4 && type <= 7)
        return false;
    const bool ribbon = IsRibbonOpeningType(type);
    if (!ribbon && type != CAlcoveType)
        return true;
    const TQTKElementTypeSet types = ribbon ? MakeElementTypeSet({CSlabType, CSlabType2, CRoomHorizonType})
                                            : MakeElementTypeSet({CSlabType, CSlabType2});
    const IQTKLineShape* line = ribbon ? GetDrawObjLineShape(drawObj) : nullptr;
    const auto* point = ribbon ? nullptr : dynamic_cast<const IQTKPointShape*>(drawObj->GetShape());
    if (ribbon ? !line : !point)
        return true;
    for (const RecordRef& holder : RelatedOfTypes(opening, types)) {
        const bool room = GetRecordElementTypeID(holder.get()) == CRoomHorizonType;
        if (!room && !IsNonFloorSlabRecord(holder.get()))
            continue;
        const IQTKElementDrawObj* holderObj = GetRecordDrawObj(holder.get());
        const auto* face = holderObj ? dynamic_cast<const IQTKFaceShape*>(holderObj->GetShape()) : nullptr;
        const IQTKFaceElevInfo* elev = face ? face->GetFaceElevInfo() : nullptr;
        if (!elev)
            continue;
        const double thickness = room ? 0.0 : GetRecordPropFloat(holder.get(), "Thickness");
        // The bottom lies within [top - thickness, top] of the holder there.
        auto within = [&](const TVRMPoint2d& p, double bottom) {
            const double top = elev->GetElevAt(p);
            return GreaterEqualThan(bottom, top - thickness) && LessEqualThan(bottom, top);
        };
        if (ribbon ? within(line->GetLine().StartPt(), line->GetStartPtBottomElev()) &&
                         within(line->GetLine().EndPt(), line->GetEndPtBottomElev())
                   : within(point->GetInsertPt(), drawObj->GetBox().min.z))
            return false;
    }
    return true;
}

bool FindOpeningWall(IRDXRecord* opening, RecordRef& wall)
{
    wall = nullptr;
    const IQTKLineShape* openingShape = GetRecordLineShape(opening);
    if (!openingShape)
        return false;
    // Every parallel one is taken in turn: the last in related-list order stays.
    for (const RecordRef& candidate : RelatedOfTypes(opening, WallLikeTypes()))
        if (IsParallelLines(openingShape, GetRecordLineShape(candidate.get())))
            wall = candidate;
    return wall != nullptr;
}

bool IsOpeningOnFaceSide(IRDXRecord* finish, IRDXRecord* opening)
{
    const IQTKElementDrawObj* finishObj = GetRecordDrawObj(finish);
    const IQTKElementDrawObj* openingObj = GetRecordDrawObj(opening);
    const IQTKLineShape* finishShape = GetDrawObjLineShape(finishObj);
    const IQTKLineShape* openingShape = GetDrawObjLineShape(openingObj);
    if (!IsParallelLines(finishShape, openingShape))
        return false;
    IRDXRecord* host = finishObj->GetParentRecord();
    if (host && openingObj->GetParentRecord() == host)
        return true;
    const IQTKLineShape* hostShape = GetRecordLineShape(host);
    if (!hostShape)
        return false;
    const double hostL = hostShape->GetLeftWidth(), hostR = hostShape->GetRightWidth();
    const double openingL = openingShape->GetLeftWidth(), openingR = openingShape->GetRightWidth();
    const double d = SignedStartDistance(openingShape->GetLine(), hostShape->GetLine());
    if (TVRMPositionFunc2d::IsSameDirection(hostShape->GetLine(), openingShape->GetLine()))
        return d >= 0.0 ? LessEqualThan(d, openingR + (hostL - hostR)) : LessEqualThan(-d, hostR + openingL - openingR);
    return d >= 0.0 ? LessEqualThan(d, (hostL - hostR + openingL) - openingR) : LessEqualThan(-d, openingR + hostR);
}

bool IsHoleOnLineEnt(IRDXRecord* lineEnt, IRDXRecord* hole)
{
    const IQTKElementDrawObj* holeObj = GetRecordDrawObj(hole);
    const int type = holeObj ? holeObj->GetElementTypeID() : -1;
    if (type >= 4 && type <= 7) {
        IRDXRecord* parent = holeObj->GetParentRecord();
        return parent && IsLineEntsParallel(lineEnt, parent);
    }
    if (IsRibbonOpeningType(type))
        return IsLineEntsParallel(lineEnt, hole);
    return true;
}

bool IsAloneColumn(IRDXRecord* column)
{
    const IQTKElementDrawObj* columnObj = GetRecordDrawObj(column);
    const auto* point = columnObj ? dynamic_cast<const IQTKPointShape*>(columnObj->GetShape()) : nullptr;
    if (!point)
        return true;
    const TVRMMultiPolygon2d& outline = point->GetOutline();
    for (const RecordRef& wall : RelatedOfTypes(column, WallLikeTypes())) {
        if (!IsLineEntAndPointEntInt(wall.get(), column, CColumnContactTol))
            continue;
        const TVRMCustomLine2d* mid = GetMidLineOf(wall.get());
        if (!mid)
            continue;
        std::vector<TVRMPoint2d> points;
        if (TVRMIntersectFunc2d::Intersect(*mid, outline, points) > 0 ||
            TVRMPositionFunc2d::PointPosition(mid->StartPt(), outline) != 2)
            return false;
    }
    return true;
}

bool IsIndependentColumn(IRDXRecord* column, bool atFloor, double elevation)
{
    for (const RecordRef& wall : RelatedOfTypes(column, WallLikeTypes()))
        if (IsLineEntAndPointEntIntOnHeight(wall.get(), column, atFloor, elevation))
            return false;
    return true;
}

bool IsSameElementType(IRDXRecord* a, IRDXRecord* b)
{
    return GetRecordElementTypeID(a) == GetRecordElementTypeID(b);
}
