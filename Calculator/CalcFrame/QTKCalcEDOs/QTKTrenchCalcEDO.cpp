#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTrenchCalcEDO.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <set>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonComposite.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorThreadSyncUtil.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/RDX/RDXDataUtils.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry2d/VRMSearchPoly2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

constexpr int CTrenchType = 80;
constexpr int CTrenchUnitType = 84;
constexpr double CMinHollowArea = 100.0;  // mm2: smaller regions of the face-run search are slivers
constexpr int CBothSuperpositions = 3;    // superposition kinds {0, 1}

// A unit's section moved so that its box centre lies at x = "Offset" and its bottom at Bottom.
TVRMMultiPolygon2d PlacedSection(const IQTKElementDrawObj* unit, double bottom)
{
    TVRMMultiPolygon2d section = unit->GetShape()->GetPolygon();
    const TVRMBox2d box = section.Box();
    if (box.IsEmpty())
        return section;
    const double offset = EdoPropValueFloat(unit->GetPropValues(), "Offset");
    section.Move({offset - (box.min.x + box.max.x) / 2.0, bottom - box.min.y});
    return section;
}

TVRMMultiPolygon2d PlacedSection(const IQTKElementDrawObj* unit)
{
    return PlacedSection(unit, EdoPropValueFloat(unit->GetPropValues(), "BottomElev"));
}

struct TUnit {
    const IQTKElementDrawObj* drawObj;
    int type;
    double offset;
};

std::vector<TUnit> TrenchUnits(IRDXRecord* trench)
{
    std::vector<TUnit> units;
    for (const RecordRef& record : GetCompositeUnitRecords(trench)) {
        const IQTKElementDrawObj* unit = GetRecordDrawObj(record.get());
        if (unit && unit->GetElementTypeID() == CTrenchUnitType)
            units.push_back({unit, EdoPropValueInteger(unit->GetPropValues(), "Type"),
                             EdoPropValueFloat(unit->GetPropValues(), "Offset")});
    }
    return units;
}

// ---------------------------------------------------------------------------
// Face-run search: the edges of each role's section that face the hollow,
// tagged 1 bottom board (its upper face), 2 cover board (its underside), 3
// right side wall (its left face), 4 left side wall (its right face), and the
// lines that close what the roles leave open.

struct TRun {
    bool present = false;
    TVRMPoint2d s, e;
};

bool Qualifies(int code, const TVRMPoint2d& a, const TVRMPoint2d& b)
{
    const double dx = std::abs(a.x - b.x), dy = std::abs(a.y - b.y);
    switch (code) {
        case 1:
            return a.x > b.x && dy < dx;
        case 2:
            return a.x < b.x && dy < dx;
        case 3:
            return a.y > b.y && dx < dy;
        case 4:
            return a.y < b.y && dx < dy;
        default:
            QTK_ASSERT_MSG(false, "a trench section run has a direction code of 1 to 4");
            return false;
    }
}

// The run of a role in its placed section, its edges added to the search;
// a section without a qualifying edge adds nothing and leaves the role absent.
TRun AddRun(TVRMSearchPoly2d& search, const TVRMPolygon2d& ring, int code)
{
    TRun run;
    const int n = ring.GetEdgeCount();
    int first = -1, last = -1;
    double firstKey = 0.0, lastKey = 0.0;
    for (int i = 0; i < n; ++i) {
        const TVRMCustomLine2d edge = ring.GetEdge(i);
        const TVRMPoint2d a = edge.StartPt(), b = edge.EndPt();
        if (!Qualifies(code, a, b))
            continue;
        const double key = code <= 2 ? a.x : a.y;
        // Codes 1 and 3 start at the largest key and end at the smallest; 2 and 4 the other way.
        const bool startsHigh = code == 1 || code == 3;
        if (first < 0 || (startsHigh ? key > firstKey : key < firstKey))
            first = i, firstKey = key;
        if (last < 0 || (startsHigh ? key < lastKey : key > lastKey))
            last = i, lastKey = key;
    }
    if (first < 0)
        return run;
    for (int i = first;; i = (i + 1) % n) {
        search.AddLine(ring.GetEdge(i), code, code);
        if (i == last)
            break;
    }
    run.present = true;
    run.s = ring.GetEdge(first).StartPt();
    run.e = ring.GetEdge(last).EndPt();
    return run;
}

// The lines that close what the present roles leave open: the row of the
// present roles, then its extensions from the runs' ends to the box.
void AddClosingLines(TVRMSearchPoly2d& search, const TRun& c, const TRun& b, const TRun& l, const TRun& r,
                     const TVRMBox2d& box)
{
    struct TLine {
        int tag;
        TVRMPoint2d from, to;
    };
    enum : int { CR = 1, CL = 2, CB = 4, CC = 8 };                                    // present roles
    enum : int { CUpperLeft = 1, CLowerLeft = 2, CLowerRight = 4, CUpperRight = 8 };  // extensions
    struct TRow {
        int present;
        std::vector<TLine> lines;
        int extensions;
    };
    const double lowTop = std::min(l.e.y, r.s.y), highBottom = std::max(l.s.y, r.e.y);
    const double coverRight = std::max(c.s.x, b.e.x), coverLeft = std::min(c.e.x, b.s.x);
    const TRow rows[] = {
        {CB | CR, {{4, b.e, {b.e.x, r.s.y}}, {2, r.s, {b.e.x, r.s.y}}}, CLowerRight},
        {CL | CR,
         {{2, {box.min.x, lowTop}, {box.max.x, lowTop}}, {1, {box.min.x, highBottom}, {box.max.x, highBottom}}},
         0},
        {CL | CB, {{2, l.e, {b.s.x, l.e.y}}, {3, b.s, {b.s.x, l.e.y}}}, CLowerLeft},
        {CL | CB | CR, {{2, {box.min.x, lowTop}, {box.max.x, lowTop}}}, CLowerLeft | CLowerRight},
        {CC | CR, {{4, c.s, {c.s.x, box.min.y}}, {1, {c.s.x, r.e.y}, r.e}}, CUpperRight},
        {CC | CL, {{1, l.s, {c.e.x, l.s.y}}, {3, c.e, {c.e.x, l.s.y}}}, CUpperLeft},
        {CC | CL | CR, {{1, {box.min.x, highBottom}, {box.max.x, highBottom}}}, CUpperLeft | CUpperRight},
        {CC | CB,
         {{4, {coverRight, box.max.y}, {coverRight, box.min.y}}, {3, {coverLeft, box.min.y}, {coverLeft, box.max.y}}},
         0},
        {CC | CB | CR, {{4, {coverRight, box.min.y}, {coverRight, box.max.y}}}, CLowerRight | CUpperRight},
        {CC | CB | CL, {{3, {coverLeft, box.min.y}, {coverLeft, box.max.y}}}, CLowerLeft | CUpperLeft},
        {CC | CB | CL | CR, {}, CUpperLeft | CLowerLeft | CLowerRight | CUpperRight},
    };
    // Each extension line is drawn only where its run ends short of the box.
    const struct {
        int extension;
        bool needed;
        TLine line;
    } extensions[] = {
        {CUpperLeft, l.e.y < box.max.y - CVRMEpsilon, {4, l.e, {l.e.x, box.max.y}}},
        {CUpperLeft, c.s.x > box.min.x + CVRMEpsilon, {2, c.s, {box.min.x, c.s.y}}},
        {CLowerLeft, l.s.y > box.min.y + CVRMEpsilon, {4, l.s, {l.s.x, box.min.y}}},
        {CLowerLeft, b.e.x > box.min.x + CVRMEpsilon, {1, b.e, {box.min.x, b.e.y}}},
        {CLowerRight, r.e.y > box.min.y + CVRMEpsilon, {3, r.e, {r.e.x, box.min.y}}},
        {CLowerRight, b.s.x < box.max.x - CVRMEpsilon, {1, b.s, {box.max.x, b.s.y}}},
        {CUpperRight, c.e.x < box.max.x - CVRMEpsilon, {2, c.e, {box.max.x, c.e.y}}},
        {CUpperRight, r.s.y < box.max.y - CVRMEpsilon, {3, r.s, {r.s.x, box.max.y}}},
    };
    const int present = (c.present ? CC : 0) | (b.present ? CB : 0) | (l.present ? CL : 0) | (r.present ? CR : 0);
    const auto add = [&search](const TLine& line) {
        search.AddLine(TVRMCustomLine2d(line.from, line.to), line.tag, line.tag);
    };
    for (const TRow& row : rows) {
        if (row.present != present)
            continue;  // one role or none: no row, nothing closes
        for (const TLine& line : row.lines)
            add(line);
        for (const auto& extension : extensions)
            if ((row.extensions & extension.extension) && extension.needed)
                add(extension.line);
    }
}

// The bottom elevation of a unit's own line at its start.
double StartBottom(const IQTKElementDrawObj* unit)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(unit);
    return shape ? shape->GetStartPtBottomElev() : EdoPropValueFloat(unit->GetPropValues(), "BottomElev");
}

bool IsParallel(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b)
{
    return TVRMPositionFunc2d::IsParallel(a, b);
}

// A moved sideways by D (positive: right), its ends on the lines through A's
// and B's starts and through their ends, also beyond the two lines.
TVRMCustomLine2d OffsetToEndLines(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double d)
{
    TVRMCustomLine2d r;
    if (!TVRMOffsetFunc2d::Offset(a, d, r))
        return a;
    const auto meet = [&r](const TVRMPoint2d& p, const TVRMPoint2d& q, const TVRMPoint2d& near) {
        std::vector<TVRMPoint2d> points;
        const int code = TVRMIntersectFunc2d::ExtIntersect(r, TVRMCustomLine2d(p, q), points);
        if ((code != 1 && code != 2) || points.empty())
            return near;
        return *std::min_element(points.begin(), points.end(), [&](const TVRMPoint2d& x, const TVRMPoint2d& y) {
            return x.DistanceTo(near) < y.DistanceTo(near);
        });
    };
    const TVRMPoint2d start = meet(a.StartPt(), b.StartPt(), r.StartPt());
    const TVRMPoint2d end = meet(a.EndPt(), b.EndPt(), r.EndPt());
    r.SetStartPt(start);
    r.SetEndPt(end);
    return r;
}

Ref<IQTKLineEdoInfo> LineInfo(IRDXRecord* record, bool prepare = true)
{
    return RefCast<IQTKLineEdoInfo>(GetCalcEDO(record, prepare));
}

}  // namespace

TQTKTrenchCalcEDO::TQTKTrenchCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKHasSectionInfoComplexLineEntCalcEDO(mode, drawObj)
{
    // The section's extent: the side walls' span when there are side walls.
    const IPropValues* props = drawObj->GetPropValues();
    const double width = EdoPropValueFloat(props, "Width"), axisOffset = EdoPropValueFloat(props, "AxisOffset");
    TVRMBox2d all, walls;
    for (const TUnit& unit : TrenchUnits(drawObj->GetRecord())) {
        const TVRMBox2d box = PlacedSection(unit.drawObj).Box();
        all.Add(box);
        if (unit.type == 1) {
            walls.Add(box);
            sideWallWidth_ = std::max(sideWallWidth_, EdoPropValueFloat(unit.drawObj->GetPropValues(), "SectionWidth"));
        }
    }
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!walls.IsEmpty() && shape) {
        sectionWidth_ = walls.max.x - walls.min.x;
        sectionAxisOffset_ = axisOffset + all.min.x - walls.min.x;
        const TVRMCustomLine2d& axis = shape->GetLine();
        planPolygon_ = CreateMultiPolygonFromLines(TVRMOffsetFunc2d::Offset(axis, -sectionAxisOffset_),
                                                   TVRMOffsetFunc2d::Offset(axis, sectionWidth_ - sectionAxisOffset_));
    } else {
        sectionWidth_ = width;
        sectionAxisOffset_ = axisOffset;
        planPolygon_ = std::make_unique<TVRMMultiPolygon2d>(drawObj->GetShape()->GetOutline());
    }
    if (!planPolygon_)
        planPolygon_ = std::make_unique<TVRMMultiPolygon2d>();
}

TQTKTrenchCalcEDO::~TQTKTrenchCalcEDO() = default;

TQTKLineEntBaseCalcEDO::TEdoCompareFunc TQTKTrenchCalcEDO::GetActualPriorityCompareFunc()
{
    return &CompareEdoMaterialRank;
}

// ---------------------------------------------------------------------------
// Hollow and whole solid

void TQTKTrenchCalcEDO::AfterPrepareSolid()
{
    TQTKHasSectionInfoComplexLineEntCalcEDO::AfterPrepareSolid();
    std::unique_ptr<TVRMPolyhedron3d> hollow = BuildHollow();
    if (hollow && !hollow->HasFaces())
        hollow.reset();
    // Solids of line elements live in an evictable cache: hold them while in use.
    const Ref<IQTKPolyhedron3dIntf> original = GetOriginalPolyhedronIntf();
    auto whole = original ? original->GetPolyhedron()->Clone() : std::make_unique<TVRMPolyhedron3d>();
    if (hollow && whole->HasFaces())
        TVRMNewPolyBooleanOperator::BooleanOperate(*whole, *hollow, CVRMBoolUnion);
    std::lock_guard guard(DataLock());
    hollow_ = std::move(hollow);
    whole_ = std::move(whole);
    startFreeHead_.reset();
    endFreeHead_.reset();
}

const TVRMPolyhedron3d* TQTKTrenchCalcEDO::GetHoleSolid()
{
    std::lock_guard guard(DataLock());
    return hollow_.get();
}

const TVRMPolyhedron3d* TQTKTrenchCalcEDO::GetWholeSolid()
{
    std::lock_guard guard(DataLock());
    return whole_ ? whole_.get() : GetOriginalPolyhedron();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKTrenchCalcEDO::BuildHollow()
{
    TRecordList slabs;
    GetRelatedByTypes(MakeElementTypeSet({19, 20}), &slabs);
    std::unique_ptr<TVRMPolyhedron3d> hollow = slabs.empty() ? BuildSectionHollow() : BuildSlabBoundedHollow(slabs);
    if (hollow && hollow->HasFaces())
        OpenIntoSideWalls(*hollow);
    return hollow;
}

// The void that the trench and the slabs over it close inside a block twice
// the trench's width and height around it: the piece of the block outside
// them that touches neither its sides nor its top or bottom (only its ends).
std::unique_ptr<TVRMPolyhedron3d> TQTKTrenchCalcEDO::BuildSlabBoundedHollow(const TRecordList& slabs)
{
    const IPropValues* props = GetElementDrawObj()->GetPropValues();
    const double width = EdoPropValueFloat(props, "Width"), height = EdoPropValueFloat(props, "Height");
    const TVRMCustomLine2d& mid = *GetExtendedMidLine();
    const double blockWidth = mid.IsArc() && mid.IsValidaty() ? mid.Radius() + width : 2.0 * width;
    const TVRMCustomLine2d& left = *GetLeftLine();
    const TVRMCustomLine2d& right = *GetRightLine();
    const TVRMCustomLine2d first = OffsetToEndLines(left, right, width / 2.0 - blockWidth / 2.0);
    const TVRMCustomLine2d second = OffsetToEndLines(left, right, width / 2.0 + blockWidth / 2.0);
    const double bottom = EdoPropValueFloat(props, "StartPtBottomElev") - height / 2.0;
    const std::unique_ptr<TVRMPolyhedron3d> block =
        TVRMPolyhedron3d::BuildCutPolyhedron(first, second, TVRMBox3d({0, 0, bottom}, {0, 0, bottom + 2.0 * height}));
    if (!block || !block->HasFaces())
        return nullptr;

    // The block's sides, top and bottom: every face but those on its end planes.
    const auto endPlane = [&](const TVRMPoint2d& a, const TVRMPoint2d& b) {
        return TVRMPlane3d({b.y - a.y, a.x - b.x, 0.0}, {a.x, a.y, bottom});
    };
    const TVRMPlane3d ends[2] = {endPlane(first.StartPt(), second.StartPt()), endPlane(first.EndPt(), second.EndPt())};
    std::vector<int> sides;
    for (int i = 0; i < block->GetFaceCount(); ++i) {
        const TVRMPlane3d& plane = block->GetFace(i).GetPlane();
        if (!plane.IsSuperposition(ends[0], CVRMPlaneEpsilon) && !plane.IsSuperposition(ends[1], CVRMPlaneEpsilon))
            sides.push_back(i);
    }
    TVRMPolyhedronShell3d shell(*block, sides);

    TVRMPolyhedron3d rest(*block);
    const Ref<IQTKPolyhedron3dIntf> ownHolder = GetOriginalPolyhedronIntf();
    if (const TVRMPolyhedron3d* own = ownHolder ? ownHolder->GetPolyhedron() : nullptr; own && own->HasFaces())
        TVRMNewPolyBooleanOperator::BooleanOperate(rest, *own, CVRMBoolSubtract);
    for (const RecordRef& slab : slabs) {
        const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(slab, true);
        const Ref<IQTKPolyhedron3dIntf> holder = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
        const TVRMPolyhedron3d* solid = holder ? holder->GetPolyhedron() : nullptr;
        if (solid && solid->HasFaces() && rest.HasFaces())
            TVRMNewPolyBooleanOperator::BooleanOperate(rest, *solid, CVRMBoolSubtract);
    }
    for (std::unique_ptr<TVRMPolyhedron3d>& piece : rest.DivideUp())
        if (piece && piece->HasFaces() && std::abs(shell.Subtract(*piece, CBothSuperpositions)) <= CVRMEpsilon)
            return std::move(piece);
    return nullptr;
}

// Where the hollow's end meets a side wall (of this trench or another), the
// hollow goes on through that wall: the part of the end face lying on the
// wall, unless it lies along the wall's own ends, thickened into the wall.
void TQTKTrenchCalcEDO::OpenIntoSideWalls(TVRMPolyhedron3d& hollow)
{
    TRecordList related;
    GetRelatedByType(CTrenchUnitType, &related);
    std::vector<std::pair<Ref<IQTKTrenchUnitCalcEDO>, double>> walls;  // with their thickness
    for (const RecordRef& record : related) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record.get());
        if (!drawObj || EdoPropValueInteger(drawObj->GetPropValues(), "Type") != 1)
            continue;
        if (Ref<IQTKTrenchUnitCalcEDO> wall = RefCast<IQTKTrenchUnitCalcEDO>(GetCalcEDO(record, true)))
            walls.emplace_back(std::move(wall), EdoPropValueFloat(drawObj->GetPropValues(), "SectionWidth"));
    }
    if (walls.empty())
        return;
    for (const bool atStart : {true, false}) {
        const int face = hollow.MergeFace(*GetLeftLine(), *GetRightLine(), atStart);
        if (face < 0)
            continue;
        const TVRMPolyhedronShell3d end(hollow, face);
        for (const auto& [wall, thickness] : walls) {
            const Ref<IQTKPolyhedron3dIntf> holder = wall->GetOriginalPolyhedronIntf();
            const TVRMPolyhedron3d* solid = holder ? holder->GetPolyhedron() : nullptr;
            if (!solid || !solid->HasFaces())
                continue;
            const auto alongEnd = [&](const TVRMFace3d& piece, int index) {
                return index >= 0 && index < solid->GetFaceCount() &&
                       piece.GetPlane().IsParallelism(solid->GetFace(index).GetPlane(), CVRMPlaneEpsilon);
            };
            TVRMPolyhedronShell3d onWall(end);
            onWall.Intersect(*solid, CBothSuperpositions);
            for (const TVRMFace3d& piece : onWall.GetFaces()) {
                if (alongEnd(piece, wall->GetStartFaceIndex()) || alongEnd(piece, wall->GetEndFaceIndex()))
                    continue;
                std::unique_ptr<TVRMPolyhedron3d> opening = TVRMPolyhedron3d::CreateFromFace(piece, 2.0 * thickness);
                if (!opening || !opening->HasFaces())
                    continue;
                TVRMNewPolyBooleanOperator::BooleanOperate(*opening, *solid, CVRMBoolIntersect);
                if (opening->HasFaces())
                    TVRMNewPolyBooleanOperator::BooleanOperate(hollow, *opening, CVRMBoolUnion);
            }
        }
    }
}

// The hollow of the units' sections, by the ring or the face-run method,
// swept along the trench.
std::unique_ptr<TVRMPolyhedron3d> TQTKTrenchCalcEDO::BuildSectionHollow()
{
    const std::vector<TUnit> units = TrenchUnits(GetRecord());
    // The roles: the last bottom and cover board, the outermost side walls.
    const TUnit *bottom = nullptr, *cover = nullptr, *left = nullptr, *right = nullptr;
    for (const TUnit& unit : units) {
        switch (unit.type) {
            case 0:
                bottom = &unit;
                break;
            case 1:
                if (!left || unit.offset < left->offset)
                    left = &unit;
                if (!right || unit.offset > right->offset)
                    right = &unit;
                break;
            case 2:
                cover = &unit;
                break;
            default:
                QTK_ASSERT_MSG(false, "a trench unit is a bottom board, a side wall or a cover board (Type 0 to 2)");
        }
    }
    if (left && left == right) {
        // One side wall: on the side of the board it stands beside.
        const TUnit* board = bottom ? bottom : cover;
        if (!board)
            left = right = nullptr;
        else if (left->offset >= board->offset)
            left = nullptr;
        else
            right = nullptr;
    }

    TVRMMultiPolygon2d section;
    double referenceX = 0.0;
    if (bottom && cover && left && right) {
        // Ring method: the outline of all placed sections less the sections.
        TVRMSearchPoly2d search;
        std::vector<TVRMMultiPolygon2d> placed;
        TVRMBox2d box;
        for (const TUnit& unit : units) {
            placed.push_back(PlacedSection(unit.drawObj));
            box.Add(placed.back().Box());
            for (int i = 0; i < placed.back().GetCount(); ++i)
                search.AddPolygon(placed.back().GetItems(i));
        }
        const std::vector<TVRMSearchRegion2d>& big = search.FindBigPolys();
        if (!big.empty()) {
            auto rest = std::make_unique<TVRMMultiPolygon2d>();
            for (const TVRMSearchRegion2d& region : big)
                for (int i = 0; i < region.ToMultiPolygon().GetCount(); ++i)
                    rest->Add(region.ToMultiPolygon().GetItems(i));
            for (const TVRMMultiPolygon2d& unit : placed)
                if (rest && !rest->IsEmpty())
                    rest = SyncSubPolygon(*rest, unit);
            if (rest)
                section = std::move(*rest);
            referenceX = (box.min.x + box.max.x) / 2.0;
        }
    }
    if (section.IsEmpty() || section.Area() <= CMinHollowArea) {
        // Face-run method.
        section = TVRMMultiPolygon2d();
        TVRMSearchPoly2d search;
        TVRMBox2d box;
        TRun runs[4];  // cover, bottom, left, right
        const std::array<std::pair<const TUnit*, int>, 4> roles{{{cover, 2}, {bottom, 1}, {left, 4}, {right, 3}}};
        for (int i = 0; i < 4; ++i) {
            const auto [unit, code] = roles[i];
            if (!unit)
                continue;
            const TVRMMultiPolygon2d placed = PlacedSection(unit->drawObj, StartBottom(unit->drawObj));
            box.Add(placed.Box());
            if (placed.GetCount() > 0)
                runs[i] = AddRun(search, placed.GetItems(0), code);
        }
        AddClosingLines(search, runs[0], runs[1], runs[2], runs[3], box);
        for (const TVRMSearchRegion2d& region : search.FindPolys()) {
            const std::set<int> tags(region.outer.edgeFlags.begin(), region.outer.edgeFlags.end());
            if (region.Area() > CMinHollowArea && tags.size() >= 3) {
                const TVRMMultiPolygon2d piece = region.ToMultiPolygon();
                for (int i = 0; i < piece.GetCount(); ++i)
                    section.Add(piece.GetItems(i));
            }
        }
        if (section.IsEmpty())
            return nullptr;
        referenceX = (box.min.x + box.max.x) / 2.0;
    }

    // Swept along the extended middle line, cut between the side lines.
    const IQTKLineShape* shape = LineShape();
    const double elevation = shape ? shape->GetStartPtBottomElev() : 0.0;
    auto hollow =
        TVRMPolyhedron3d::CreateSweep(section, *GetExtendedMidLine(), {referenceX, elevation}, elevation, elevation);
    if (!hollow || !hollow->HasFaces())
        return nullptr;
    TVRMNewPolyBooleanOperator::Cut(*hollow, *GetLeftLine(), *GetRightLine());
    int start = -1, end = -1;
    LocateEndFaces(*hollow, *GetLeftLine(), *GetRightLine(), start, end);
    return hollow;
}

// ---------------------------------------------------------------------------
// Free heads

bool TQTKTrenchCalcEDO::IsFreeEnd(bool atStart)
{
    const TVRMCustomLine2d axis = GetLine();
    TRecordList related;
    GetRelatedByTypes(MakeElementTypeSet({0, 1, 51, CTrenchType}), &related);
    for (const RecordRef& record : related) {
        const Ref<IQTKLineEdoInfo> other = LineInfo(record.get());
        if (!other || !IsIntersect(this, atStart, other.get()))
            continue;
        const TVRMCustomLine2d line = other->GetLine();
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record.get());
        const bool trench = drawObj && drawObj->GetElementTypeID() == CTrenchType;
        if (!IsParallel(line, axis)) {
            if (!trench || !IsElevOverlapped(record.get()))
                return false;
        } else {
            const double a = axis.LengthAtPoint(line.StartPt()), b = axis.LengthAtPoint(line.EndPt());
            const double length = axis.Length();
            if ((a <= CVRMEpsilon && b <= CVRMEpsilon) || (a >= length - CVRMEpsilon && b >= length - CVRMEpsilon))
                return false;
        }
    }
    return true;
}

const TVRMPolyhedron3d* TQTKTrenchCalcEDO::FreeHeadSolid(bool atStart)
{
    std::unique_ptr<TVRMPolyhedron3d>& slot = atStart ? startFreeHead_ : endFreeHead_;
    {
        std::lock_guard guard(DataLock());
        if (slot)
            return slot.get();
    }
    auto head = std::make_unique<TVRMPolyhedron3d>();
    const TVRMPolyhedron3d* hollow = GetHoleSolid();
    if (hollow && hollow->HasFaces() && IsFreeEnd(atStart)) {
        TVRMPolyhedron3d copy(*hollow);
        const int face = copy.MergeFace(*GetLeftLine(), *GetRightLine(), atStart);
        if (face >= 0) {
            // The end face turned towards the hollow and thickened into it:
            // its base cap (on the end) second-last, the face towards the hollow last.
            TVRMFace3d inward = copy.GetFace(face);
            inward.Negate();
            if (auto prism = TVRMPolyhedron3d::CreateFromFace(inward, sideWallWidth_))
                head = std::move(prism);
        }
    }
    std::lock_guard guard(DataLock());
    if (!slot)
        slot = std::move(head);
    return slot.get();
}

// ---------------------------------------------------------------------------
// Relations

bool TQTKTrenchCalcEDO::IsElevOverlapped(IRDXRecord* trench)
{
    const IQTKLineShape* own = LineShape();
    const IQTKLineShape* other = GetDrawObjLineShape(GetRecordDrawObj(trench));
    if (!own || !other)
        return false;
    const double b = own->GetStartPtBottomElev(), t = own->GetStartPtTopElev();
    const double ob = other->GetStartPtBottomElev(), ot = other->GetStartPtTopElev();
    return (b < ob - CVRMEpsilon && t >= ot - CVRMEpsilon) || (b <= ob + CVRMEpsilon && t > ot + CVRMEpsilon);
}

bool TQTKTrenchCalcEDO::IsIntersectTrench(IRDXRecord* trench)
{
    if (IsElevOverlapped(trench))
        return false;
    const Ref<IQTKTrenchCalcEDO> other = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(trench, true));
    if (!other)
        return false;
    if (other->IsElevOverlapped(GetRecord()))
        return true;
    const Ref<IQTKLineEdoInfo> info = LineInfo(trench);
    switch (IntersectShape(this, info.get())) {
        case 5:
        case 6:
        case 8:
        case 11:
        case 12:
            return true;
        default:
            return false;
    }
}

int TQTKTrenchCalcEDO::GetConnectedTrenches(bool atStart)
{
    // The elements met at that end, and this trench.
    TQTKLineEdoInfoArray infos = atStart ? GetStartLineEdoInfos() : GetEndLineEdoInfos();
    if (infos.empty())
        return 0;  // nothing meets it there
    infos.emplace_back(static_cast<IQTKLineEdoInfo*>(this));
    const TVRMCustomLine2d centre = GetEdoCenterLine(this);
    const TQTKLineEdoInfoArray met = GetConnectedEdos(infos, atStart ? centre.StartPt() : centre.EndPt());
    const auto isSelf = [this](const Ref<IQTKLineEdoInfo>& info) { return info.get() == this; };
    if (met.size() == 1 && isSelf(met[0]))
        return 1;
    if (met.size() == 2 && std::any_of(met.begin(), met.end(), isSelf))
        return 2;
    return 0;
}

// The strip foundations crossing the trench near an end, asked which meet at
// that end of its centre line: connected when exactly two do, Other among them.
bool TQTKTrenchCalcEDO::IsConnectedAcross(IRDXRecord* other, bool otherIsWall)
{
    const Ref<IQTKLineEdoInfo> info = LineInfo(other);
    if (!info)
        return false;
    const TVRMCustomLine2d centre = GetEdoCenterLine(this);
    TRecordList strips;
    GetRelatedByType(51, &strips);
    for (const bool atStart : {true, false}) {
        const int connected = GetConnectedTrenches(atStart);
        if (!otherIsWall && connected != 2)
            continue;
        if (otherIsWall && connected == 2)
            return true;
        const int code2 = IntersectShape(info.get(), this);
        if (code2 == 4)
            return true;
        const std::set<int> codes = atStart ? std::set<int>{1, 3, 5, 13} : std::set<int>{2, 3, 6, 14};
        if (!codes.count(code2))
            continue;
        TQTKLineEdoInfoArray candidates;
        for (const RecordRef& strip : strips) {
            const Ref<IQTKLineEdoInfo> stripInfo = LineInfo(strip.get());
            if (stripInfo && codes.count(IntersectShape(stripInfo.get(), this)))
                candidates.push_back(stripInfo);
        }
        if (!otherIsWall && std::none_of(candidates.begin(), candidates.end(),
                                         [&](const Ref<IQTKLineEdoInfo>& c) { return c.get() == info.get(); }))
            candidates.push_back(info);
        if (otherIsWall)
            candidates.push_back(info);
        const TQTKLineEdoInfoArray met = GetConnectedEdos(candidates, atStart ? centre.StartPt() : centre.EndPt());
        if (met.size() == 2 &&
            std::any_of(met.begin(), met.end(), [&](const Ref<IQTKLineEdoInfo>& m) { return m.get() == info.get(); }))
            return true;
    }
    return false;
}

bool TQTKTrenchCalcEDO::IsConnectedWall(IRDXRecord* wall)
{
    const Ref<IQTKLineEdoInfo> info = LineInfo(wall);
    if (!info)
        return false;
    switch (IntersectShape(this, info.get())) {
        case 4:
        case 5:
        case 6:
        case 7:
        case 8:
        case 10:
        case 11:
        case 15:
            return true;
        default:
            break;
    }
    return IsParallel(info->GetLine(), GetLine()) || IsConnectedAcross(wall, true);
}

bool TQTKTrenchCalcEDO::IsConnectedStripFD(IRDXRecord* stripFD)
{
    const Ref<IQTKLineEdoInfo> info = LineInfo(stripFD);
    if (!info)
        return false;
    switch (IntersectShape(this, info.get())) {
        case 7:
        case 8:
        case 11:
            return true;
        default:
            break;
    }
    return IsParallel(info->GetLine(), GetLine()) || IsConnectedAcross(stripFD, false);
}

// ---------------------------------------------------------------------------
// Length

double TQTKTrenchCalcEDO::GetLength()
{
    TQTKLinearCalc2d calc(*GetMidLine(), true, 1.0, 0.0);
    TRecordList trenches;
    GetRelatedByType(CTrenchType, &trenches);
    for (const RecordRef& trench : trenches)
        if (IsIntersectTrench(trench.get()))
            if (const Ref<IQTKTrenchCalcEDO> other = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(trench, true)))
                calc.Append(*other->GetPlanPolygon(), 1);
    TRecordList walls;
    GetRelatedByTypes(MakeElementTypeSet({0, 1}), &walls);
    TQTKLineEdoInfoArray atStart, atEnd, across;
    for (const RecordRef& wall : walls) {
        const Ref<IQTKLineEdoInfo> info = LineInfo(wall.get());
        if (!info)
            continue;
        switch (IntersectShape(this, info.get())) {
            case 1:
            case 5:
            case 13:
                atStart.push_back(info);
                break;
            case 2:
            case 6:
            case 14:
                atEnd.push_back(info);
                break;
            case 3:
            case 11:
                atStart.push_back(info);
                atEnd.push_back(info);
                break;
            case 7:
            case 8:
            case 10:
                across.push_back(info);
                break;
            default:
                break;
        }
    }
    const TVRMCustomLine2d centre = GetEdoCenterLine(this);
    for (const auto& [list, point] : {std::pair{&atStart, centre.StartPt()}, std::pair{&atEnd, centre.EndPt()}}) {
        if (list->empty())
            continue;
        const TQTKLineEdoInfoArray met = GetConnectedEdos(*list, point);
        if (met.size() == 2)
            for (const Ref<IQTKLineEdoInfo>& wall : met)
                calc.Append(wall->GetShape()->GetOutline(), 1);
    }
    for (const Ref<IQTKLineEdoInfo>& wall : across)
        calc.Append(wall->GetShape()->GetOutline(), 1);
    return calc.GetLengthFor(CQTKNullMark);
}

// ---------------------------------------------------------------------------
// Element object

bool TQTKTrenchCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    const IRDXRecord* owner = GetOwnerRecord(record);
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    if ((owner && owner == GetRecord()) || (drawObj && drawObj->GetParentRecord() == GetRecord()))
        return false;  // one of its own units
    return TQTKHasSectionInfoComplexLineEntCalcEDO::IsIntersectWith(record);
}

void TQTKTrenchCalcEDO::ClearQtyItems()
{
    TQTKHasSectionInfoComplexLineEntCalcEDO::ClearQtyItems();
    freeHeadAdded_.store(false);
}

void TQTKTrenchCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKHasSectionInfoComplexLineEntCalcEDO::FillDeductDetail(qtyRecord);
    if (qtyRecord && qtyRecord->GetID() == 445 && IsDeductDetailEmpty())
        AddOriginalSolidDetail(qtyRecord);
}
