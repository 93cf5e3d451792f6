#include "Calculator/Common/QTKCalculatorCommonComposite.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace {

constexpr int CStripFDUnitTypeID = 81;

bool IsTypeIn(int typeId, std::initializer_list<int> types)
{
    return std::find(types.begin(), types.end(), typeId) != types.end();
}

struct TCompositeKind {
    int compositeType;
    int unitType;
};
// Strip foundation, isolated foundation, pile cap, trench, insulating wall and
// the three earth backfills, with their unit types.
constexpr TCompositeKind CCompositeKinds[] = {{51, 81}, {52, 82}, {53, 83}, {80, 84},
                                              {1, 86},  {43, 87}, {44, 88}, {45, 89}};

double SectionBoxWidth(const IQTKElementDrawObj* unit)
{
    const IQTKShape* shape = unit ? unit->GetShape() : nullptr;
    return shape ? shape->GetPolygon().Box().Width() : 0.0;
}

double Prop(const IQTKElementDrawObj* drawObj, std::string_view name)
{
    return EdoPropValueFloat(drawObj ? drawObj->GetPropValues() : nullptr, name, 0.0);
}

// Surface over plan length of a line element's bottom: 1 for a level or arc line.
double BottomSlopeFactor(const IQTKLineShape& shape)
{
    const double dz = shape.GetEndPtBottomElev() - shape.GetStartPtBottomElev();
    const double len = shape.GetLine().Length();
    if (SameValue(dz, 0.0) || shape.GetLine().IsArc() || IsZero(len))
        return 1.0;
    return std::hypot(len, dz) / len;
}

// The solid trimmed to the plan region across the ends of a piece of line.
std::unique_ptr<TVRMPolyhedron3d> TrimToPiece(std::unique_ptr<TVRMPolyhedron3d> solid, const TVRMCustomLine2d& piece)
{
    const TVRMBox3d box = solid->GetBox();
    if (!box.IsValid())
        return solid;
    double reach =
        std::hypot(box.max.x - box.min.x, box.max.y - box.min.y) + piece.Box().Width() + piece.Box().Height() + 1000.0;
    double inner = reach;
    if (piece.IsArc())
        inner = std::min(reach, piece.Radius() * (1.0 - 1e-6));
    TVRMCustomLine2d left, right;
    // An arc's centre lies on its left when it turns counter-clockwise.
    const bool centreLeft = piece.IsArc() && !piece.IsClockwise();
    if (TVRMOffsetFunc2d::Offset(piece, centreLeft ? -inner : -reach, left) &&
        TVRMOffsetFunc2d::Offset(piece, centreLeft ? reach : inner, right))
        TVRMNewPolyBooleanOperator::Cut(*solid, left, right);
    return solid;
}

// How a strip-foundation unit's section sweeps along a piece of its
// composite's line: standing on the composite's bottom raised by the unit's
// own bottom, the section's top at these levels at the piece's ends.
struct TStripUnitSweep {
    TVRMBox2d box;
    double startTop = 0.0, endTop = 0.0;
};

TStripUnitSweep StripUnitSweep(const IQTKLineShape& shape, const IQTKElementDrawObj* unit,
                               const TVRMCustomLine2d& piece)
{
    TStripUnitSweep sweep;
    sweep.box = unit->GetShape()->GetPolygon().Box();
    const double raise = Prop(unit, "BottomElev") * BottomSlopeFactor(shape) + sweep.box.Height();
    sweep.startTop = shape.GetBottomElevAt(piece.StartPt()) + raise;
    sweep.endTop = shape.GetBottomElevAt(piece.EndPt()) + raise;
    return sweep;
}

// Four straight edges along the axes of the section frame.
bool IsUprightRectangle(const TVRMPolygon2d& ring)
{
    if (ring.GetCount() != 4)
        return false;
    const TVRMBox2d box = ring.Box();
    for (const TVRMVertex2d& v : ring.Vertices())
        if (v.IsArc() || (v.pt.x != box.min.x && v.pt.x != box.max.x) || (v.pt.y != box.min.y && v.pt.y != box.max.y))
            return false;
    return true;
}

void Unite(TVRMPolyhedron3d& result, std::unique_ptr<TVRMPolyhedron3d> piece)
{
    if (!piece || !piece->HasFaces())
        return;
    if (!result.HasFaces())
        result = std::move(*piece);
    else
        TVRMNewPolyBooleanOperator::BooleanOperate(result, *piece, CVRMBoolUnion);
}

template <class BuildPiece>
std::unique_ptr<TVRMPolyhedron3d> UniteUnits(const IQTKElementDrawObj* drawObj, const BuildPiece& build)
{
    auto result = std::make_unique<TVRMPolyhedron3d>();
    if (!drawObj)
        return result;
    // United by ascending record id: the same solid, to the last bit, whatever
    // the order of the units in the model.
    TRecordList units = GetCompositeUnitRecords(drawObj->GetRecord());
    std::stable_sort(units.begin(), units.end(),
                     [](const RecordRef& a, const RecordRef& b) { return a->GetID() < b->GetID(); });
    for (const RecordRef& unit : units)
        if (const IQTKElementDrawObj* unitObj = GetRecordDrawObj(unit.get()))
            Unite(*result, build(unitObj));
    return result;
}

TVRMPoint3d At(const TVRMPoint2d& p, double z)
{
    return {p.x, p.y, z};
}

// The face on the loop, turned to face Out (the loop's Newell normal decides).
TVRMFace3d FaceOut(TVRMLoop3d loop, const TVRMVector3d& out)
{
    double dot = 0.0;
    for (size_t i = 0; i < loop.size(); ++i) {
        const TVRMPoint3d& a = loop[i];
        const TVRMPoint3d& b = loop[(i + 1) % loop.size()];
        dot +=
            out.x * (a.y - b.y) * (a.z + b.z) + out.y * (a.z - b.z) * (a.x + b.x) + out.z * (a.x - b.x) * (a.y + b.y);
    }
    if (dot < 0.0)
        std::reverse(loop.begin(), loop.end());
    return TVRMFace3d::FromLoop(std::move(loop));
}

// The level quadrilateral between two lines, turned to face Out.
TVRMFace3d LevelFace(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, double z, const TVRMVector3d& out)
{
    return FaceOut({At(a.StartPt(), z), At(a.EndPt(), z), At(b.EndPt(), z), At(b.StartPt(), z)}, out);
}

// Negative when a comes below b: by the bottom of the element's box, then by record id.
int CompareUnitHeight(const IQTKElementDrawObj* a, const IQTKElementDrawObj* b)
{
    const int byBottom = CompareValue(a->GetBox().min.z, b->GetBox().min.z);
    if (byBottom != 0)
        return byBottom;
    return a->GetIndexKey() < b->GetIndexKey() ? -1 : a->GetIndexKey() > b->GetIndexKey() ? 1 : 0;
}

// No sibling unit of the same type lies on the given side (-1 below, +1 above).
bool IsEndCompositeUnit(const IQTKElementDrawObj* unit, int side)
{
    if (!unit || !IsCompositeUnitType(unit->GetElementTypeID()))
        return false;
    const IQTKElementDrawObj* parent = unit->GetParentDrawObj();
    if (!parent)
        return true;
    for (int i = 0; i < parent->GetChildCount(); ++i) {
        const IQTKElementDrawObj* sibling = parent->GetChild(i);
        if (sibling && sibling != unit && sibling->GetElementTypeID() == unit->GetElementTypeID() &&
            CompareUnitHeight(sibling, unit) * side > 0)
            return false;
    }
    return true;
}

}  // namespace

bool IsCompositeUnitType(int elementTypeId)
{
    return (elementTypeId >= 81 && elementTypeId <= 84) || (elementTypeId >= 86 && elementTypeId <= 89);
}

int GetCompositeUnitType(int compositeTypeId)
{
    for (const TCompositeKind& kind : CCompositeKinds)
        if (kind.compositeType == compositeTypeId)
            return kind.unitType;
    return -1;
}

TRecordList GetCompositeUnitRecords(IRDXRecord* record)
{
    TRecordList units;
    for (const IQTKElementDrawObj* unit : GetCompositeUnitDrawObjs(GetRecordDrawObj(record)))
        units.emplace_back(unit->GetRecord());
    return units;
}

std::vector<const IQTKElementDrawObj*> GetCompositeUnitDrawObjs(const IQTKElementDrawObj* drawObj)
{
    std::vector<const IQTKElementDrawObj*> units;
    for (int i = 0; drawObj && i < drawObj->GetChildCount(); ++i) {
        const IQTKElementDrawObj* child = drawObj->GetChild(i);
        if (child && child->GetRecord() && IsCompositeUnitType(child->GetElementTypeID()))
            units.push_back(child);
    }
    return units;
}

ViewRef GetCompositeChildRecords(IRDXRecord* record)
{
    QTK_ASSERT(record != nullptr);
    const std::string filter = std::string("CompositeEDOPID") + "=" + std::to_string(record->GetID());
    return SyncCreateRdxRecordList(record->GetTable(), filter);
}

double GetCompositeAxisOffset(const IQTKElementDrawObj* drawObj)
{
    QTK_ASSERT(drawObj != nullptr);
    const int unitType = GetCompositeUnitType(drawObj->GetElementTypeID());
    double least = HUGE_VAL;
    for (int i = 0; i < drawObj->GetChildCount(); ++i) {
        const IQTKElementDrawObj* unit = drawObj->GetChild(i);
        if (unit && unit->GetElementTypeID() == unitType)
            least = std::min(least, Prop(unit, "Offset") - SectionBoxWidth(unit) / 2.0);
    }
    return Prop(drawObj, "AxisOffset") + (std::isinf(least) ? 0.0 : least);
}

void GetUnitWidthAndOffset(const IQTKElementDrawObj* unit, double& offset, double& width, double compositeOffset)
{
    QTK_ASSERT(unit != nullptr);
    width = SectionBoxWidth(unit);
    offset = compositeOffset - Prop(unit, "Offset") + width / 2.0;
}

TVRMCustomLine2d OffsetUnitLine(IQTKLineEdoInfo& info, double a, double b, double c, double d)
{
    return TVRMOffsetFunc2d::Offset(info.GetLine(), a - b / 2.0 - c + d / 2.0);
}

std::unique_ptr<TVRMPolyhedron3d> BuildLineSegmentSolid(const TVRMCustomLine2d& segment,
                                                        const IQTKElementDrawObj* drawObj, bool useParent, bool cut)
{
    QTK_ASSERT(drawObj != nullptr);
    const IQTKElementDrawObj* owner = useParent ? drawObj->GetParentDrawObj() : drawObj;
    const auto* shape = owner ? dynamic_cast<const IQTKLineShape*>(owner->GetShape()) : nullptr;
    QTK_ASSERT_MSG(shape != nullptr, "the element has no line shape");
    const TVRMCustomLine2d& line = shape->GetLine();
    const TVRMCustomLine2d piece =
        cut ? line.SubLine(line.LengthAtPoint(segment.StartPt()), line.LengthAtPoint(segment.EndPt())) : segment;
    if (drawObj->GetElementTypeID() != CStripFDUnitTypeID)
        return TrimToPiece(drawObj->BuildPolyhedron(true), piece);
    const TStripUnitSweep sweep = StripUnitSweep(*shape, drawObj, piece);
    if (sweep.box.IsEmpty())
        return std::make_unique<TVRMPolyhedron3d>();
    return TVRMPolyhedron3d::CreateSweep(drawObj->GetShape()->GetPolygon(), piece,
                                         {(sweep.box.min.x + sweep.box.max.x) / 2.0, sweep.box.max.y}, sweep.startTop,
                                         sweep.endTop);
}

bool GetStripUnitLevelBox(const TVRMCustomLine2d& segment, const IQTKElementDrawObj* unit, TVRMCustomLine2d& path,
                          double& halfWidth, double& bottom, double& top)
{
    if (!unit || unit->GetElementTypeID() != CStripFDUnitTypeID)
        return false;
    const IQTKElementDrawObj* owner = unit->GetParentDrawObj();
    const auto* shape = owner ? dynamic_cast<const IQTKLineShape*>(owner->GetShape()) : nullptr;
    if (!shape || shape->GetLine().IsArc() || segment.IsArc())
        return false;
    const TVRMMultiPolygon2d& section = unit->GetShape()->GetPolygon();
    if (section.GetCount() != 1 || !IsUprightRectangle(section.GetItems(0)))
        return false;
    const TVRMCustomLine2d& line = shape->GetLine();
    path = line.SubLine(line.LengthAtPoint(segment.StartPt()), line.LengthAtPoint(segment.EndPt()));
    const TStripUnitSweep sweep = StripUnitSweep(*shape, unit, path);
    if (sweep.box.IsEmpty() || sweep.startTop != sweep.endTop)
        return false;
    // Where the sweep puts the section's box: its top at the path's level, centred on the path.
    halfWidth = sweep.box.Width() / 2.0;
    top = sweep.startTop;
    bottom = top + (sweep.box.min.y - sweep.box.max.y);
    return true;
}

std::unique_ptr<TVRMPolyhedron3d> BuildStackedUnitPrisms(std::vector<TQTKUnitPrism> prisms)
{
    if (prisms.empty())
        return nullptr;
    std::stable_sort(prisms.begin(), prisms.end(),
                     [](const TQTKUnitPrism& a, const TQTKUnitPrism& b) { return a.bottom < b.bottom; });
    constexpr double CSame = 1e-9;
    for (size_t i = 0; i < prisms.size(); ++i) {
        const TQTKUnitPrism& p = prisms[i];
        if (!p.low || !p.high || p.low->IsArc() || p.high->IsArc() || p.top - p.bottom <= CVRMEpsilon ||
            p.highOffset - p.lowOffset <= CVRMEpsilon)
            return nullptr;
        if (i == 0)
            continue;
        const TQTKUnitPrism& below = prisms[i - 1];
        if (std::abs(p.bottom - below.top) > CSame ||
            std::min(p.highOffset, below.highOffset) - std::max(p.lowOffset, below.lowOffset) <= CVRMEpsilon ||
            std::abs(p.highOffset - below.highOffset) <= CVRMEpsilon ||
            std::abs(p.lowOffset - below.lowOffset) <= CVRMEpsilon)
            return nullptr;
    }
    // Outward directions: along the lines, across them towards the greater offset, up.
    const TQTKUnitPrism& first = prisms.front();
    const TVRMVector2d run = first.low->Vector();
    const double length = std::hypot(run.x, run.y);
    if (length <= CVRMEpsilon)
        return nullptr;
    const TVRMVector3d along{run.x / length, run.y / length, 0.0};
    TVRMVector3d across{-along.y, along.x, 0.0};
    const TVRMVector2d gap = first.high->StartPt() - first.low->StartPt();
    if (gap.x * across.x + gap.y * across.y < 0.0)
        across = {-across.x, -across.y, 0.0};
    const TVRMVector3d up{0.0, 0.0, 1.0}, down{0.0, 0.0, -1.0};
    const TVRMVector3d back{-along.x, -along.y, 0.0}, toLow{-across.x, -across.y, 0.0};

    std::vector<TVRMFace3d> faces;
    faces.reserve(4 * prisms.size() + 2);
    faces.push_back(LevelFace(*first.low, *first.high, first.bottom, down));
    for (size_t i = 0; i < prisms.size(); ++i) {
        const TQTKUnitPrism& p = prisms[i];
        for (const auto& [side, out] : {std::pair{p.high, across}, std::pair{p.low, toLow}})
            faces.push_back(FaceOut({At(side->StartPt(), p.bottom), At(side->EndPt(), p.bottom),
                                     At(side->EndPt(), p.top), At(side->StartPt(), p.top)},
                                    out));
        if (i + 1 == prisms.size())
            break;
        // The steps to the prism above: what one of the two leaves uncovered at their level.
        const TQTKUnitPrism& above = prisms[i + 1];
        const double z = p.top;
        std::optional<TVRMFace3d> upward, downward;
        const auto step = [&](const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, bool facingUp) {
            std::optional<TVRMFace3d>& face = facingUp ? upward : downward;
            TVRMFace3d piece = LevelFace(a, b, z, facingUp ? up : down);
            if (face)
                face->AddInnerLoop(piece.GetLoop(0));
            else
                face = std::move(piece);
        };
        step(*p.high, *above.high, p.highOffset > above.highOffset);
        step(*p.low, *above.low, p.lowOffset < above.lowOffset);
        for (std::optional<TVRMFace3d>* face : {&upward, &downward})
            if (*face)
                faces.push_back(std::move(**face));
    }
    const TQTKUnitPrism& last = prisms.back();
    faces.push_back(LevelFace(*last.low, *last.high, last.top, up));
    // The end faces: the section round, up the greater offset's edges and down the lesser's.
    for (const bool atStart : {true, false}) {
        const auto end = [atStart](const TVRMCustomLine2d* line) { return atStart ? line->StartPt() : line->EndPt(); };
        TVRMLoop3d loop;
        for (size_t i = 0; i < prisms.size(); ++i) {
            loop.push_back(At(end(prisms[i].high), prisms[i].bottom));
            loop.push_back(At(end(prisms[i].high), prisms[i].top));
        }
        for (size_t i = prisms.size(); i-- > 0;) {
            loop.push_back(At(end(prisms[i].low), prisms[i].top));
            loop.push_back(At(end(prisms[i].low), prisms[i].bottom));
        }
        faces.push_back(FaceOut(std::move(loop), atStart ? back : along));
    }
    return std::make_unique<TVRMPolyhedron3d>(std::move(faces));
}

std::unique_ptr<TVRMPolyhedron3d> BuildCompositeSolid(const IQTKElementDrawObj* drawObj)
{
    return UniteUnits(drawObj, [](const IQTKElementDrawObj* unit) { return unit->BuildPolyhedron(true); });
}

std::unique_ptr<TVRMPolyhedron3d> UniteCompositeUnits(
    const IQTKElementDrawObj* drawObj,
    const std::function<std::unique_ptr<TVRMPolyhedron3d>(const IQTKElementDrawObj*)>& build)
{
    return UniteUnits(drawObj, build);
}

std::unique_ptr<TVRMPolyhedron3d> BuildCompositeSegmentSolid(const TVRMCustomLine2d& line,
                                                             const IQTKElementDrawObj* drawObj, bool cut)
{
    return UniteUnits(drawObj,
                      [&](const IQTKElementDrawObj* unit) { return BuildLineSegmentSolid(line, unit, true, cut); });
}

bool IsFirstCompositeUnit(const IQTKElementDrawObj* unit)
{
    return IsEndCompositeUnit(unit, -1);
}

bool IsLastCompositeUnit(const IQTKElementDrawObj* unit)
{
    return IsEndCompositeUnit(unit, +1);
}

std::unique_ptr<TVRMPolyhedron3d> BuildUnitNetSolid(IQTKCalculatorEDO* unit)
{
    const IQTKElementDrawObj* drawObj = unit ? unit->GetElementDrawObj() : nullptr;
    if (!drawObj || !IsTypeIn(drawObj->GetElementTypeID(), {81, 82, 83}))
        return nullptr;
    const std::shared_ptr<const TVRMPolyhedron3d> own = HoldOriginalSolid(unit);
    auto net = own ? own->Clone() : std::make_unique<TVRMPolyhedron3d>();
    const int rank = GetUnitMaterialRank(unit);
    TRecordList related;
    unit->GetRelatedByTypes(MakeElementTypeSet({15, 17, 18, 19, 20, 25, 26, 28, 47, 48, 54, 55, 81, 82, 83}), &related);
    for (const RecordRef& record : related) {
        const Ref<IQTKCalculatorEDO> other = GetCalcEDO(record, true);
        if (!other || GetUnitMaterialRank(other.get()) >= rank)
            continue;
        // Held through the holder: the solid may leave the cache meanwhile.
        const Ref<IQTKPolyhedron3dIntf> solid = other->GetOriginalPolyhedronIntf();
        if (solid && net->HasFaces())
            TVRMNewPolyBooleanOperator::BooleanOperate(*net, *solid->GetPolyhedron(), CVRMBoolSubtract);
    }
    return net;
}

std::vector<Ref<IQTKElementDrawObj>> GetParamSubDrawObjsByIds(IRDXRecord* record, const std::vector<int>& ids)
{
    std::vector<Ref<IQTKElementDrawObj>> result;
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    if (!drawObj)
        return result;
    for (int id : ids)
        for (IQTKElementDrawObj* sub : drawObj->FindSubEDOByID(id))
            result.emplace_back(sub);
    return result;
}
