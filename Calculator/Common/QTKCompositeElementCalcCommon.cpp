#include "Calculator/Common/QTKCompositeElementCalcCommon.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/LineCalculator/QTKCompareElevCommon.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMSearchPoly2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr double CParallelTol = 0.002;
// A wall line must cross the balcony outline over more than this to count as a side.
constexpr double CSideSegmentMin = 500.0;

const TQTKElementTypeSet& OutlineWalls()
{
    static const TQTKElementTypeSet set = MakeElementTypeSet({0, 1, 69});
    return set;
}
const TQTKElementTypeSet& OutlineWallsWithOpenings()
{
    static const TQTKElementTypeSet set = MakeElementTypeSet({0, 1, 8, 9, 69});
    return set;
}
const TQTKElementTypeSet& Walls()
{
    static const TQTKElementTypeSet set = MakeElementTypeSet({0, 1});
    return set;
}

int TypeOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetElementTypeID() : -1;
}

int CompositeIdOf(const IQTKElementDrawObj* drawObj)
{
    return EdoPropValueInteger(drawObj->GetPropValues(), "CompositeEDOPID", -1);
}

// The middle line of a line element and its width.
bool MiddleLine(const IQTKElementDrawObj* drawObj, TVRMCustomLine2d& middle, double& width)
{
    const auto* shape = dynamic_cast<const IQTKLineShape*>(drawObj->GetShape());
    if (!shape)
        return false;
    width = shape->GetWidth();
    return TVRMOffsetFunc2d::Offset(shape->GetLine(), width / 2.0 - shape->GetAxisOffset(), middle);
}

const TVRMMultiPolygon2d* PlanPolygonOf(IRDXRecord* record)
{
    const Ref<IQTKLineEntBaseCalcEDO> lineEnt = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(record, true));
    return lineEnt ? lineEnt->GetPlanPolygon() : nullptr;
}

// The elements of the types whose boxes meet the composite's box and that
// the composite's object finds intersecting.
std::vector<IQTKElementDrawObj*> CollectBoxWalls(IRDXRecord* record, const TQTKElementTypeSet& types)
{
    const IQTKElementDrawObj* own = GetRecordDrawObj(record);
    std::vector<int> typeIds;
    for (int t = 0; t < static_cast<int>(types.size()); ++t)
        if (types.test(t))
            typeIds.push_back(t);
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    std::vector<IQTKElementDrawObj*> walls;
    for (IQTKElementDrawObj* d : TQTKBoxServiceOp::GetBoxIntersectEDOs(record->GetTable(), own->GetBox(), typeIds))
        if (d != own && edo && edo->IsIntersectWith(d->GetRecord()))
            walls.push_back(d);
    return walls;
}

// Polygons of the composite's walls closed by the region search (mode 1:
// along the middle lines), offset edge by edge and less the wall plans.
std::unique_ptr<TVRMMultiPolygon2d> SearchClosedOutline(IRDXRecord* record, const TQTKElementTypeSet& types,
                                                        bool withOpenings)
{
    const std::vector<IQTKElementDrawObj*> walls = CollectBoxWalls(record, types);
    if (walls.empty())
        return nullptr;
    const int ownId = record->GetID();
    const int ownKey = GetRecordDrawObj(record)->GetIndexKey();
    TVRMSmartSearchPolyEx2d search(CLengthTol, true);
    std::vector<double> widths(walls.size(), 0.0);
    double widest = 0.0;
    for (int i = static_cast<int>(walls.size()) - 1; i >= 0; --i) {
        TVRMCustomLine2d middle;
        if (!MiddleLine(walls[i], middle, widths[i]))
            continue;
        widest = std::max(widest, widths[i]);
        const bool own = CompositeIdOf(walls[i]) == ownId;
        search.AddLine(middle, i, widths[i] / 2.0, widths[i] / 2.0, own ? 1 : 0);
    }
    const std::vector<TVRMSearchRegion2d>& found = search.FindBigPolys();
    if (found.empty() || (found.size() == 1 && found[0].Area() < widest * widest))
        return nullptr;
    const bool hasCompositeEdge = std::any_of(found.begin(), found.end(), [&](const TVRMSearchRegion2d& r) {
        return std::any_of(r.outer.edgeIndexes.begin(), r.outer.edgeIndexes.end(),
                           [&](int i) { return i >= 0 && CompositeIdOf(walls[i]) == ownKey; });
    });
    if (!hasCompositeEdge)
        return nullptr;
    auto result = std::make_unique<TVRMMultiPolygon2d>();
    for (const TVRMSearchRegion2d& region : found) {
        std::vector<double> offsets;
        for (int i : region.outer.edgeIndexes)
            offsets.push_back(i < 0 ? 0.0 : (CompositeIdOf(walls[i]) == ownId ? widths[i] / 2.0 : -widths[i] / 2.0));
        TVRMPolygon2d ring;
        if (!TVRMOffsetFunc2d::Offset(region.outer.ring, offsets, ring))
            continue;
        TVRMMultiPolygon2d piece;
        piece.Add(ring);
        std::unique_ptr<TVRMMultiPolygon2d> net = piece.Clone();
        for (IQTKElementDrawObj* wall : walls) {
            const int type = wall->GetElementTypeID();
            IRDXRecord* wallRecord = wall->GetRecord();
            if (type == 69 || (withOpenings && (type == 8 || type == 9)) || IsVirtualWallRecord(wallRecord))
                continue;
            const TVRMMultiPolygon2d* plan = PlanPolygonOf(wallRecord);
            if (!plan)
                continue;
            if (CompositeIdOf(wall) == ownId) {
                // Its interior meets the polygon's (a wall reaching into the
                // building wall it stands against still counts).
                auto within = [&](const TVRMMultiPolygon2d& p) {
                    const int code = TVRMPositionFunc2d::MultiPolyMultiPolyPosition(p, piece, CLengthTol);
                    return code != 0 && code != 2;
                };
                if (!within(*plan) || !within(wall->GetShape()->GetOutline()))
                    continue;
            }
            net = TVRMIntersectFunc2d::SyncSubPolygon(*net, *plan);
        }
        result->Add(net->IsEmpty() ? piece : *net);
    }
    if (result->IsEmpty())
        return nullptr;
    return result;
}

double SlabBottom(const IQTKElementDrawObj* slab)
{
    return EdoPropValueFloat(slab->GetPropValues(), "TopElev") - EdoPropValueFloat(slab->GetPropValues(), "Thickness");
}

bool IsSlabType(int type)
{
    return type == 19 || type == 20;
}

void AddOnce(TRecordList& parts, IRDXRecord* record)
{
    if (std::none_of(parts.begin(), parts.end(), [&](const RecordRef& r) { return r.get() == record; }))
        parts.push_back(RecordRef(record));
}

// The slab parts at the lowest bottom, each with its related slabs of the composite.
bool HasCompositeField(IRDXRecord* record)
{
    const IRDXTable* table = record->GetTable();
    for (int i = 0; table && i < table->GetFieldCount(); ++i)
        if (table->GetField(i).name == "CompositeEDOPID")
            return true;
    return false;
}

TRecordList CollectLowestSlabParts(IRDXRecord* record)
{
    TRecordList parts;
    const ViewRef children = HasCompositeField(record) ? GetCompositeChildRecords(record) : ViewRef();
    if (!children)
        return parts;
    std::vector<IQTKElementDrawObj*> slabs;
    double low = HUGE_VAL;
    for (int i = 0; i < children->GetRowCount(); ++i) {
        IQTKElementDrawObj* d = GetRecordDrawObj(children->GetRow(i));
        if (d && IsSlabType(d->GetElementTypeID())) {
            slabs.push_back(d);
            low = std::min(low, SlabBottom(d));
        }
    }
    for (IQTKElementDrawObj* slab : slabs) {
        if (std::abs(SlabBottom(slab) - low) > CLengthTol)
            continue;
        AddOnce(parts, slab->GetRecord());
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(slab->GetRecord(), true);
        TRecordList related;
        if (edo && edo->GetRelatedByTypes(MakeElementTypeSet({19, 20}), &related))
            for (const RecordRef& r : related)
                if (EdoPropValueInteger(GetRecordDrawObj(r.get())->GetPropValues(), "EDOPID", -1) == record->GetID())
                    AddOnce(parts, r.get());
    }
    return parts;
}

std::unique_ptr<TVRMMultiPolygon2d> MergeSlabPartsOutline(IRDXRecord* record, const TRecordList& parts)
{
    auto result = std::make_unique<TVRMMultiPolygon2d>();
    for (const RecordRef& part : parts)
        result = TVRMIntersectFunc2d::MergePolygon(*result, GetRecordDrawObj(part.get())->GetShape()->GetOutline());
    TRecordList walls;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    if (edo && edo->GetRelatedByTypes(Walls(), &walls))
        for (const RecordRef& wall : walls) {
            const IQTKElementDrawObj* d = GetRecordDrawObj(wall.get());
            if (CompositeIdOf(d) != record->GetID())
                result = TVRMIntersectFunc2d::SyncSubPolygon(*result, d->GetShape()->GetOutline());
        }
    return result;
}

std::unique_ptr<TVRMMultiPolygon2d> MergeChildOutlines(IRDXRecord* record)
{
    static const TQTKElementTypeSet lineTypes = MakeElementTypeSet({0, 1, 15, 17, 18, 47, 69, 70, 72});
    auto result = std::make_unique<TVRMMultiPolygon2d>();
    const ViewRef children = HasCompositeField(record) ? GetCompositeChildRecords(record) : ViewRef();
    for (int i = 0; children && i < children->GetRowCount(); ++i) {
        IRDXRecord* child = children->GetRow(i);
        const IQTKElementDrawObj* d = GetRecordDrawObj(child);
        if (!d)
            continue;
        const int type = d->GetElementTypeID();
        if (type >= 4 && type <= 7)
            continue;
        const TVRMMultiPolygon2d* plan = lineTypes.test(type) ? PlanPolygonOf(child) : &d->GetShape()->GetOutline();
        if (plan)
            result = TVRMIntersectFunc2d::MergePolygon(*result, *plan);
    }
    return result;
}

bool IsBeamOverParallelWall(IRDXRecord* beam)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(beam, true);
    TVRMCustomLine2d beamLine;
    double width = 0.0;
    const IQTKElementDrawObj* beamObj = GetRecordDrawObj(beam);
    TRecordList walls;
    if (!edo || !MiddleLine(beamObj, beamLine, width) || !edo->GetRelatedByTypes(Walls(), &walls))
        return false;
    for (const RecordRef& wall : walls) {
        const IQTKElementDrawObj* d = GetRecordDrawObj(wall.get());
        TVRMCustomLine2d wallLine;
        if (MiddleLine(d, wallLine, width) && TVRMPositionFunc2d::IsParallel(wallLine, beamLine, CParallelTol) &&
            d->GetBox().min.z < beamObj->GetBox().min.z)
            return true;
    }
    return false;
}

// The total length of the ring edges whose two ends both lie on one of the lines.
double EdgesOnLines(const TVRMMultiPolygon2d& ring, const std::vector<TVRMCustomLine2d>& lines)
{
    const auto onALine = [&](const TVRMPoint2d& p) {
        return std::any_of(lines.begin(), lines.end(), [&](const TVRMCustomLine2d& line) {
            return TVRMPositionFunc2d::DistanceTo(p, line) <= CLengthTol;
        });
    };
    double length = 0.0;
    for (const TVRMPolygon2d& item : ring.Items())
        for (const TVRMCustomLine2d& edge : item.GetEdges())
            if (onALine(edge.StartPt()) && onALine(edge.EndPt()))
                length += edge.Length();
    return length;
}

// The length of the wall's external line inside the balcony that no wall meeting it covers.
double WallLengthInBalcony(IRDXRecord* wall, const TVRMMultiPolygon2d& balcony)
{
    const std::unique_ptr<TQTKLinearCalc2d> calc = BuildWallExternalLineCalc(wall);
    if (!calc)
        return 0.0;
    calc->Append(balcony, 0);
    return calc->GetLengthFor(0);
}

// The distance (outward of Region, a counter-clockwise ring, positive) that moves Edge onto the nearer
// face of the line elements running along it; 0 when none does. An element
// counts when its middle line is parallel to the edge, covers at least half
// of it, lies at least half its width from it, and its side line towards the
// edge's direction does not start on the edge.
double CalcEdgeOffset(const TVRMCustomLine2d& edge, const TVRMPolygon2d& region, const TRecordList& lineEnts)
{
    TVRMMultiPolygon2d pieceSet;
    pieceSet.Add(region);
    const auto inside = [&](const TVRMPoint2d& p) {
        return TVRMPositionFunc2d::PointPosition(p, pieceSet, CLengthTol) != 2;
    };
    bool found = false;
    double offset = 0.0;
    for (const RecordRef& r : lineEnts) {
        const IQTKElementDrawObj* d = GetRecordDrawObj(r.get());
        TVRMCustomLine2d middle;
        double width = 0.0;
        if (!d || !MiddleLine(d, middle, width) || !TVRMPositionFunc2d::IsParallel(middle, edge, CParallelTol))
            continue;
        const bool sameWay = TVRMPositionFunc2d::IsSameDirection(middle, edge);
        TVRMCustomLine2d side;
        if (TVRMOffsetFunc2d::Offset(middle, sameWay ? -width / 2.0 : width / 2.0, side) &&
            TVRMPositionFunc2d::DistanceTo(side.StartPt(), edge) <= CLengthTol)
            continue;
        const TVRMPoint2d p = TVRMPositionFunc2d::ClosestPointTo(edge.StartPt(), middle);
        const double distance = std::abs(TVRMPositionFunc2d::SignedDistanceTo(p, edge));
        if (width / 2.0 > distance || GetSubSegLength(edge, middle) < edge.Length() / 2.0)
            continue;
        // Half the width across the edge, towards the inside of the piece (a parapet outside it).
        const TVRMPoint2d foot = TVRMPositionFunc2d::ClosestPointTo(p, edge, false);
        TVRMVector2d across = p - foot;
        if (across.Length() <= CLengthTol)
            continue;
        across = across * (width / 2.0 / across.Length());
        TVRMPoint2d moved = p + across;
        if (!inside(moved)) {
            const TVRMPoint2d other = p - across;
            if (inside(other) || TypeOf(r.get()) != 69)
                moved = other;
        }
        const double reach = std::abs(TVRMPositionFunc2d::SignedDistanceTo(moved, edge));
        const double candidate = inside(moved) ? -reach : reach;
        if (!found || std::abs(candidate) < std::abs(offset)) {
            offset = candidate;
            found = true;
        }
    }
    return offset;
}

// The second piece of Polygon moved edge by edge onto the faces of the line elements along it.
void MoveSecondPieceToLineEnts(TVRMMultiPolygon2d& polygon, const TRecordList& lineEnts)
{
    TVRMPolygon2d& piece = polygon.GetItems(1);
    // Worked on the region the ring encloses, whichever way it runs.
    TVRMPolygon2d region = piece;
    if (piece.IsClockwise())
        region.Reverse();
    std::vector<double> offsets;
    for (const TVRMCustomLine2d& edge : region.GetEdges())
        offsets.push_back(CalcEdgeOffset(edge, region, lineEnts));
    if (std::all_of(offsets.begin(), offsets.end(), [](double d) { return d == 0.0; }))
        return;
    TVRMPolygon2d moved;
    if (!TVRMOffsetFunc2d::Offset(region, offsets, moved))
        return;
    if (moved.IsClockwise() != piece.IsClockwise())
        moved.Reverse();
    piece = moved;
}

}  // namespace

std::unique_ptr<TVRMMultiPolygon2d> GetCompositeOutline(IRDXRecord* record)
{
    QTK_ASSERT(record != nullptr);
    std::unique_ptr<TVRMMultiPolygon2d> result = SearchClosedOutline(record, OutlineWalls(), false);
    if (!result)
        result = SearchClosedOutline(record, OutlineWallsWithOpenings(), true);
    if (!result) {
        const TRecordList parts = CollectLowestSlabParts(record);
        if (!parts.empty())
            result = MergeSlabPartsOutline(record, parts);
    }
    if (!result)
        result = MergeChildOutlines(record);
    return result;
}

std::unique_ptr<TVRMMultiPolygon2d> CloneShapePolygon(IRDXRecord* record)
{
    QTK_ASSERT(record != nullptr);
    return GetRecordDrawObj(record)->GetShape()->GetOutline().Clone();
}

std::unique_ptr<TVRMMultiPolygon2d> GetShapePolygonLessLineEnts(IRDXRecord* record)
{
    QTK_ASSERT(record != nullptr);
    std::unique_ptr<TVRMMultiPolygon2d> result = CloneShapePolygon(record);
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    TRecordList related;
    if (!edo || !edo->GetRelatedByTypes(MakeElementTypeSet({0, 1, 15, 17, 18, 69}), &related))
        return result;
    // Walls count only where they meet the element in elevation.
    related.erase(std::remove_if(related.begin(), related.end(),
                                 [&](const RecordRef& r) {
                                     const int type = TypeOf(r.get());
                                     return (type == 0 || type == 1) &&
                                            !IsFaceEntAndLineEntInt(record, r.get(), false, false);
                                 }),
                  related.end());
    if (result->GetCount() > 1) {
        MoveSecondPieceToLineEnts(*result, related);
        return result;
    }
    for (const RecordRef& r : related) {
        const int type = TypeOf(r.get());
        if (type == 69)
            continue;
        if (type == 15 && !IsBeamOverParallelWall(r.get()))
            continue;
        if (const TVRMMultiPolygon2d* plan = PlanPolygonOf(r.get()))
            result = TVRMIntersectFunc2d::SyncSubPolygon(*result, *plan);
    }
    return result;
}

double GetSubSegLength(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    TVRMCustomLine2d piece;
    return TVRMPositionFunc2d::SubSeg(a, b, piece, CLengthTol) ? piece.Length() : 0.0;
}

std::unique_ptr<TVRMMultiPolygon2d> GetFloorExternalWallOutline(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const TQTKFloorExternalInfoContr* infos = GExternalWallInfos();
    if (!drawObj || !infos)
        return nullptr;
    const TQTKFloorExternalInfo* info = infos->GetWallInfo(drawObj->GetFloorID());
    return info ? info->outline.Clone() : nullptr;
}

std::unique_ptr<TQTKLinearCalc2d> BuildWallExternalLineCalc(IRDXRecord* wall)
{
    const Ref<IQTKCustomWallCalcEDO> edo = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(wall, true));
    if (!edo)
        return nullptr;
    const bool left = edo->IsLeftSideExternal(), right = edo->IsRightSideExternal();
    const TVRMCustomLine2d* line = left && right ? edo->GetMidLine()
                                   : left        ? edo->GetAttachWallFaceLeftLine()
                                   : right       ? edo->GetAttachWallFaceRightLine()
                                                 : nullptr;
    if (!line)
        return nullptr;
    auto calc = std::make_unique<TQTKLinearCalc2d>(*line, false);
    TRecordList walls;
    edo->GetRelatedByTypes(Walls(), &walls);
    for (const RecordRef& other : walls)
        if (other.get() != wall && IsLineEntAndLineEntInt(wall, other.get(), 0.5))
            calc->Append(GetRecordDrawObj(other.get())->GetShape()->GetOutline(), other->GetID(), other.get());
    return calc;
}

double CalcBalconyOutLineLength(IRDXRecord* balcony, IRDXRecord* wall, int /*extra*/)
{
    const Ref<IQTKBalconyAndSwingWinCalcEDO> edo = RefCast<IQTKBalconyAndSwingWinCalcEDO>(GetCalcEDO(balcony, true));
    const std::shared_ptr<const TVRMMultiPolygon2d> horizon = edo ? edo->GetHorizonPolygon(1) : nullptr;
    std::unique_ptr<TVRMMultiPolygon2d> external = GetFloorExternalWallOutline(balcony);
    const IQTKLineShape* wallShape = GetDrawObjLineShape(GetRecordDrawObj(wall));
    const Ref<IQTKCustomWallCalcEDO> wallEdo = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(wall, true));
    if (!horizon || horizon->IsEmpty() || !external || !wallShape || !wallEdo)
        return 0.0;
    TVRMMultiPolygon2d balconyRing;
    balconyRing.Add(horizon->GetItems(0));
    // The external outline runs along the wall lines: move it out to the outer faces.
    const double toFace = wallEdo->IsLeftSideExternal() ? wallShape->GetRightWidth()
                                                        : wallShape->GetLeftWidth() - wallShape->GetRightWidth();
    TVRMMultiPolygon2d moved;
    if (TVRMOffsetFunc2d::Offset(*external, toFace, moved))
        *external = moved;
    TVRMCustomLine2d wallMiddle;
    double wallWidth = 0.0;
    if (!MiddleLine(GetRecordDrawObj(wall), wallMiddle, wallWidth))
        return 0.0;
    TRecordList walls;
    edo->GetRelatedByTypes(Walls(), &walls);
    double result = 0.0;
    for (const TVRMPolygon2d& piece : external->Items()) {
        TVRMMultiPolygon2d pieceSet;
        pieceSet.Add(piece);
        const std::unique_ptr<TVRMMultiPolygon2d> rest = TVRMIntersectFunc2d::SyncSubPolygon(pieceSet, balconyRing);
        if (rest->IsEmpty())
            continue;
        TVRMMultiPolygon2d restRing;
        restRing.Add(rest->GetItems(0));
        std::vector<TVRMCustomLine2d> lines;
        TVRMIntersectFunc2d::SubLines(balconyRing, restRing, lines, CLengthTol);
        for (size_t i = 0; i < lines.size(); ++i)
            for (const RecordRef& related : walls) {
                if (related.get() != wall)
                    continue;
                const double distance = TVRMPositionFunc2d::DistanceTo(lines[i].StartPt(), wallMiddle);
                if (std::abs(2.0 * distance - wallWidth) > CLengthTol)
                    continue;
                // Each matching line overwrites the result: the last one decides.
                result = i > 0 ? lines[i].Length()
                               : horizon->GetItems(0).Perimeter() - EdgesOnLines(balconyRing, lines) -
                                     WallLengthInBalcony(wall, balconyRing);
            }
    }
    return result;
}

bool IsLowestRelatedId(IRDXRecord* record, IRDXRecord* other)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(other, true);
    TRecordList walls;
    if (!edo || !edo->GetRelatedByTypes(Walls(), &walls) || walls.empty())
        return false;
    return std::all_of(walls.begin(), walls.end(), [&](const RecordRef& w) { return w->GetID() >= record->GetID(); });
}

double CalcBalconySideLineLength(IRDXRecord* balcony)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(balcony, true);
    TRecordList walls;
    if (!edo || !edo->GetRelatedByTypes(Walls(), &walls))
        return 0.0;
    const TVRMMultiPolygon2d& outline = GetRecordDrawObj(balcony)->GetShape()->GetOutline();
    struct TSegment {
        TVRMCustomLine2d line;
        int kind;
    };
    std::vector<TSegment> segments;
    for (const RecordRef& wall : walls) {
        const IQTKElementDrawObj* d = GetRecordDrawObj(wall.get());
        if (CompositeIdOf(d) == balcony->GetID() || EdoPropValueInteger(d->GetPropValues(), "InnerOuterFlag", 1) == 0)
            continue;
        const Ref<IQTKCustomWallCalcEDO> side = RefCast<IQTKCustomWallCalcEDO>(GetCalcEDO(wall.get(), true));
        if (!side)
            continue;
        const bool left = side->IsLeftSideExternal(), right = side->IsRightSideExternal();
        TVRMCustomLine2d line;
        int kind = 0;
        double width = 0.0;
        if (left && right) {
            if (!MiddleLine(d, line, width))
                continue;
        } else if (left || right) {
            const TVRMCustomLine2d* sideLine = left ? side->GetLeftLine() : side->GetRightLine();
            if (!sideLine)
                continue;
            line = *sideLine;
            kind = left ? 1 : 2;
        } else
            continue;
        std::vector<TVRMPoint2d> points;
        TVRMIntersectFunc2d::Intersect(line, outline, points, CLengthTol);
        if (points.size() >= 2 && points.front().DistanceTo(points.back()) > CSideSegmentMin)
            segments.push_back({line, kind});
    }
    double result = 0.0;
    static const TQTKElementTypeSet parts = MakeElementTypeSet({0, 1, 15, 16, 17, 18, 19, 20, 21, 25, 26});
    TRecordList related;
    edo->GetRelatedByTypes(parts, &related);
    for (const RecordRef& part : related) {
        const IQTKElementDrawObj* d = GetRecordDrawObj(part.get());
        if (CompositeIdOf(d) != balcony->GetID())
            continue;
        for (const TSegment& s : segments)
            for (const TVRMPolygon2d& ring : d->GetShape()->GetOutline().Items())
                for (const TVRMCustomLine2d& edge : ring.GetEdges()) {
                    const double d0 = TVRMPositionFunc2d::SignedDistanceTo(edge.StartPt(), s.line);
                    const double d1 = TVRMPositionFunc2d::SignedDistanceTo(edge.EndPt(), s.line);
                    auto measure = [&](double v) {
                        return s.kind == 0 ? std::abs(v) : (s.kind == 1 ? -std::min(0.0, v) : std::max(0.0, v));
                    };
                    result = std::max(result, std::max(measure(d0), measure(d1)));
                }
    }
    return result;
}
