#include "Calculator/Common/QTKStrategiesCommonWallFace.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOpening.h"
#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr double CTol = 0.0010123456789;
constexpr double CSlabCutMinArea = 50.0;
constexpr double CBandMargin = 10.0;
constexpr double CEndExtension = 1000.0;
constexpr int CWallType = 0;
constexpr int CLintelType = 12;
constexpr int CAlcoveType = 13;
constexpr int CRibbonWindowType = 8;
constexpr int CRibbonOpeningType = 9;
constexpr int CInsulatingWallUnitType = 86;

bool IsBeamType(int type)
{
    return type >= 15 && type <= 18;
}

// A unit's host wall is its parent; any other element is its own host.
IRDXRecord* HostWallOf(IRDXRecord* wallOrUnit)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wallOrUnit);
    if (drawObj && drawObj->GetElementTypeID() == CInsulatingWallUnitType)
        return drawObj->GetParentRecord();
    return wallOrUnit;
}

// The elevation polygon of a wall or of an insulating wall unit; the object is held while it is read.
struct TProfile {
    Ref<IQTKCalculatorEDO> holder;
    const TVRMMultiPolygon2d* polygon = nullptr;
};

TProfile ProfileOf(IRDXRecord* wallOrUnit)
{
    TProfile profile;
    IQTKElementDrawObj* drawObj = GetRecordDrawObj(wallOrUnit);
    if (!drawObj)
        return profile;
    profile.holder = GetOrCreateCalcEDO(drawObj, true);
    if (drawObj->GetElementTypeID() == CWallType) {
        if (auto* wall = Supports<IQTKWallCalcEDO>(profile.holder.get()))
            profile.polygon = wall->GetProfilePolygon();
    } else if (auto* unit = Supports<IQTKInsulatingWallUnitCalcEDO>(profile.holder.get()))
        profile.polygon = unit->GetProfilePolygon();
    return profile;
}

// A calculator over the pieces of Polygon's edges inside the first ring of
// Profile, pieces on that ring's outline left out; nil when there are none.
std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildInsideEdgeCalc(const TVRMMultiPolygon2d* polygon,
                                                               const TVRMMultiPolygon2d* profile)
{
    if (!polygon || !profile || profile->IsEmpty())
        return nullptr;
    TVRMMultiPolygon2d ring;
    ring.Add(profile->GetItems(0));
    std::vector<TVRMCustomLine2d> within;
    for (const TVRMPolygon2d& item : polygon->Items())
        for (const TVRMCustomLine2d& edge : item.GetEdges()) {
            std::vector<TVRMCustomLine2d> pieces;
            TVRMIntersectFunc2d::Intersect(edge, ring, pieces, CTol);
            within.insert(within.end(), pieces.begin(), pieces.end());
        }
    std::vector<TVRMCustomLine2d> inside;
    TVRMIntersectFunc2d::SubLines(within, ring, inside, false, true, CTol);
    if (inside.empty())
        return nullptr;
    auto calc = std::make_unique<TVRMMultiPolyLinearCalc2d>();
    for (const TVRMCustomLine2d& line : inside)
        calc->Add(line);
    return calc;
}

void AppendSection(TVRMMultiPolyLinearCalc2d& calc, const Ref<IQTKSectionPoly>& section, int mark)
{
    if (section && section->GetPolygon())
        calc.Append(*section->GetPolygon(), mark, nullptr, true, CTol);
}

// Marks the projections on ProjectionWall of Holder's related members whose
// formwork wins over Tested (beams only when parallel to it).
void AppendPriorMembers(IRDXRecord* holder, IRDXRecord* tested, IRDXRecord* projectionWall,
                        TVRMMultiPolyLinearCalc2d& calc, int mark)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(holder, true);
    if (!edo)
        return;
    const TableSourceRef settings = GCalculatorSetting();
    for (int i = 0, n = edo->GetRelatedCount(); i < n; ++i) {
        const RecordRef member = edo->GetRelated(i);
        const int type = GetRecordElementTypeID(member.get());
        const bool beam = IsBeamType(type);
        if (!beam && type != CLintelType)
            continue;
        if (beam && !IsLineEntsParallel(tested, member.get()))
            continue;
        if (CompareFormboardPriority(tested, member.get(), settings) >= 0)
            continue;
        const Ref<IQTKCalculatorEDO> memberEdo = GetCalcEDO(member, true);
        if (beam) {
            if (auto* beamEdo = Supports<IQTKBeamCalcEDO>(memberEdo.get()))
                AppendSection(calc, beamEdo->CalcProjectionOnWall(projectionWall), mark);
        } else if (auto* lintel = Supports<IQTKLintelCalcEDO>(memberEdo.get()))
            AppendSection(calc, lintel->CalcProjectionOnWall(projectionWall), mark);
    }
}

bool IsSameDirection(const TVRMVector3d& a, const TVRMVector3d& b)
{
    const double lengths = a.Length() * b.Length();
    return lengths > 0.0 && std::abs(a.InnerProduct(b) - lengths) <= CTol * lengths;
}

const IQTKFaceShape* FaceShapeOf(const IQTKElementDrawObj* drawObj)
{
    return drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
}

// Marks on Calc (over the middle line) the stretches where Outline covers the middle or a side line.
void AppendCoveredStretches(TQTKLinearCalc2d& calc, const std::vector<const TVRMCustomLine2d*>& lines,
                            const TVRMMultiPolygon2d& outline, int mark)
{
    const TVRMCustomLine2d& mid = calc.GetLine();
    for (const TVRMCustomLine2d* line : lines) {
        if (!line)
            continue;
        std::vector<TVRMCustomLine2d> pieces;
        TVRMIntersectFunc2d::Intersect(*line, outline, pieces, CTol);
        for (const TVRMCustomLine2d& piece : pieces)
            calc.AppendRange(mid.LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(piece.StartPt(), mid)),
                             mid.LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(piece.EndPt(), mid)), mark, CTol);
    }
}

}  // namespace

std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildWallJunctionLinearCalc(IRDXRecord* wallA, IRDXRecord* wallB)
{
    const TProfile profile = ProfileOf(wallA);
    const Ref<IQTKWallCalcEDO> fillWall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(wallB, true));
    if (!profile.polygon || !fillWall)
        return nullptr;
    return BuildInsideEdgeCalc(fillWall->GetOverlayPolygon(wallA), profile.polygon);
}

void AppendPriorBeamFaces(IRDXRecord* holder, IRDXRecord* wall, TVRMMultiPolyLinearCalc2d& calc, int mark)
{
    AppendPriorMembers(holder, wall, wall, calc, mark);
}

void AppendPriorBeamFacesOfHost(IRDXRecord* holder, IRDXRecord* wallOrUnit, TVRMMultiPolyLinearCalc2d& calc, int mark)
{
    AppendPriorMembers(holder, wallOrUnit, HostWallOf(wallOrUnit), calc, mark);
}

std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildAlcoveSideLinearCalc(IRDXRecord* wallOrUnit, IRDXRecord* alcove)
{
    const TProfile profile = ProfileOf(wallOrUnit);
    if (!profile.polygon)
        return nullptr;
    const Ref<IQTKSectionPoly> section = GetOpeningSectionOnWall(alcove, HostWallOf(wallOrUnit));
    return BuildInsideEdgeCalc(section ? section->GetPolygon() : nullptr, profile.polygon);
}

void AppendOtherRibbonSections(IRDXRecord* opening, IRDXRecord* wallOrUnit, TVRMMultiPolyLinearCalc2d& calc, int mark)
{
    TRecordList ribbons;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(wallOrUnit, true);
    if (!edo || !edo->GetRelatedByTypes(MakeElementTypeSet({CRibbonWindowType, CRibbonOpeningType}), &ribbons))
        return;
    for (const RecordRef& ribbon : ribbons)
        if (ribbon->GetID() != opening->GetID() && IsOpeningInWall(wallOrUnit, ribbon.get()))
            AppendSection(calc, GetOpeningSectionOnWall(ribbon.get(), HostWallOf(wallOrUnit)), mark);
}

void AppendAlcoveFaces(IRDXRecord* holder, IRDXRecord* wallOrUnit, TVRMMultiPolyLinearCalc2d& calc, int mark)
{
    IRDXRecord* wall = HostWallOf(wallOrUnit);
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(holder, true);
    const Ref<IQTKCalculatorEDO> wallEdo = GetCalcEDO(wall, true);
    TRecordList alcoves;
    if (!edo || !wallEdo || !edo->GetRelatedByType(CAlcoveType, &alcoves))
        return;
    for (const RecordRef& alcove : alcoves) {
        if (wallEdo->IndexOfRelated(alcove.get()) == -1)
            continue;
        if (auto hollow = RefCast<IQTKWallHollowCalcEDO>(GetCalcEDO(alcove, true)))
            AppendSection(calc, hollow->GetSectionPolyOnWall(wall), mark);
    }
}

bool IsSlabFlushWith(IQTKElementDrawObj* a, IQTKElementDrawObj* b)
{
    const IQTKFaceShape* shapeA = FaceShapeOf(a);
    if (!shapeA)
        return true;
    const IQTKFaceShape* shapeB = FaceShapeOf(b);
    if (!shapeB)
        return false;
    const std::unique_ptr<TVRMPlane3d> planeA = GetFaceShapePlane(shapeA, true);
    const std::unique_ptr<TVRMPlane3d> planeB = GetFaceShapePlane(shapeB, true);
    if (!planeA || !planeB || !IsSameDirection(planeA->GetNormal(), planeB->GetNormal()))
        return false;
    return std::abs(planeA->GetDistance(planeB->GetBasePoint())) <= std::max(shapeA->GetElev(), shapeB->GetElev());
}

std::unique_ptr<TVRMMultiPolygon2d> GetSlabCutFacePolygon(IQTKElementDrawObj* wall, IQTKElementDrawObj* slab)
{
    auto result = std::make_unique<TVRMMultiPolygon2d>();
    const Ref<IQTKLineEntBaseCalcEDO> lineEnt = RefCast<IQTKLineEntBaseCalcEDO>(GetOrCreateCalcEDO(wall, true));
    const IQTKLineShape* shape = GetDrawObjLineShape(wall);
    const TVRMCustomLine2d* mid = lineEnt ? lineEnt->GetMidLine() : nullptr;
    if (!mid || !shape || !slab)
        return result;
    const std::vector<const TVRMCustomLine2d*> lines = {mid, lineEnt->GetLeftLine(), lineEnt->GetRightLine()};
    TQTKLinearCalc2d calc(*mid, false);
    // Flush neighbours first: the stretches they cover are theirs.
    TRecordList slabs;
    lineEnt->GetRelatedByTypes(MakeElementTypeSet({19, 20}), &slabs);
    for (const RecordRef& other : slabs) {
        IQTKElementDrawObj* otherDrawObj = GetRecordDrawObj(other.get());
        if (otherDrawObj && otherDrawObj != slab && IsSlabFlushWith(slab, otherDrawObj))
            AppendCoveredStretches(calc, lines, otherDrawObj->GetShape()->GetOutline(), otherDrawObj->GetIndexKey());
    }
    AppendCoveredStretches(calc, lines, slab->GetShape()->GetOutline(), slab->GetIndexKey());
    calc.DeleteSameMark();
    const double halfWidth = shape->GetLeftWidth() / 2.0 + CBandMargin;
    const double length = mid->Length();
    const TVRMSeg2dList segs = calc.GetMarkedSegs(slab->GetIndexKey());
    for (const TVRMCustomLine2d& seg : segs.Items()) {
        double from = mid->LengthAtPoint(seg.StartPt());
        double to = mid->LengthAtPoint(seg.EndPt());
        if (from > to)
            std::swap(from, to);
        if (std::abs(from) <= CTol)
            from -= CEndExtension;
        if (std::abs(to - length) <= CTol)
            to += CEndExtension;
        const TVRMCustomLine2d piece = TVRMPositionFunc2d::SubSeg(*mid, from, to, true);
        TVRMCustomLine2d left, right;
        if (TVRMOffsetFunc2d::Offset(piece, -halfWidth, left) && TVRMOffsetFunc2d::Offset(piece, halfWidth, right))
            result->Add(CreatePolygonFromLines(left, right));
    }
    return result;
}

std::unique_ptr<TVRMPolyhedron3d> BuildSlabCutSolid(IQTKElementDrawObj* wall, IQTKElementDrawObj* slab)
{
    const std::unique_ptr<TVRMMultiPolygon2d> plan = GetSlabCutFacePolygon(wall, slab);
    if (!(plan->Area() > CSlabCutMinArea))
        return std::make_unique<TVRMPolyhedron3d>();
    const Ref<IQTKSlabCalculator> slabEdo = RefCast<IQTKSlabCalculator>(GetOrCreateCalcEDO(slab, true));
    const Ref<IQTKPolyhedron3dIntf> holder = slabEdo ? slabEdo->GetOriginalPolyhedronIntf() : nullptr;
    const TVRMPolyhedron3d* solid = holder ? holder->GetPolyhedron() : nullptr;
    if (!solid || solid->GetFaceCount() < 2)
        return std::make_unique<TVRMPolyhedron3d>();
    const TVRMFace3d& top = solid->GetFace(solid->GetFaceCount() - 2);
    QTK_ASSERT_MSG(top.GetNormal().z > 0.0, "a slab solid keeps its top second to last");
    const TVRMPlane3d plane = top.GetPlane();
    return TVRMPolyhedron3d::CreateOnPlane(*plan, plane, slabEdo->GetThickness());
}
