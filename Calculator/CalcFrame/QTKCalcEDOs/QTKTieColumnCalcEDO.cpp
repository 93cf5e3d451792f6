#include "Calculator/CalcFrame/QTKCalcEDOs/QTKTieColumnCalcEDO.h"

#include <algorithm>
#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr int CIndentingRuleQty = 974;
constexpr int CStripUnitRuleQty = 3514;
constexpr int CFullIndentRule = 5558;
constexpr int CHalfIndentRule = 5559;
constexpr int CStripFDUnitType = 81;

// The first "InternalQtyCalcRule" row of the calculation settings for the quantity; nil when none.
IRDXRecord* FindQtyRuleRow(int qtyId)
{
    const TableSourceRef settings = GCalculatorSetting();
    const IRDXDatabase* database = settings ? settings->GetDatabase() : nullptr;
    const IRDXTable* rules = database ? database->GetTable("InternalQtyCalcRule") : nullptr;
    if (!rules)
        return nullptr;
    for (int i = 0; i < rules->GetRowCount(); ++i)
        if (IRDXRecord* row = rules->GetRow(i); FieldValueInteger(row, "InternalQtyID", -1) == qtyId)
            return row;
    return nullptr;
}

bool IsTypeIn(int typeId, std::initializer_list<int> types)
{
    return std::find(types.begin(), types.end(), typeId) != types.end();
}

bool IsConcreteRecord(IRDXRecord* record)
{
    return IsConcreteElement(GetRecordDrawObj(record));
}

// Elements that always take precedence over the toothing: openings, beams,
// slabs, foundation beams, rafts, beddings, copings, isolated foundation units.
bool AlwaysDeducted(int typeId, bool withFlights)
{
    return (typeId >= 4 && typeId <= 7) || (withFlights && (typeId == 8 || typeId == 9)) ||
           (typeId >= 15 && typeId <= 20) || IsTypeIn(typeId, {47, 48, 55, 70, 82});
}

// The superposition kind set (bit value) a neighbour's solid takes from an
// indenting shell; 0 when it takes nothing. Strip foundation units are
// subtracted twice (element object solid, then the element's own solid).
int ShellKinds(int typeId)
{
    if (typeId == 0 || typeId == 1 || typeId == CStripFDUnitType)
        return CVRMSuperpositionContact;
    if (AlwaysDeducted(typeId, false))
        return CVRMSuperpositionBoth;
    return 0;
}

template <class TShellCalc>
void DeductFromShell(TShellCalc& calc, IQTKCalculatorEDO& owner)
{
    const int count = owner.GetRelatedCount();
    for (int i = 0; i < count; ++i) {
        const RecordRef record = owner.GetRelated(i);
        const int typeId = GetRecordElementTypeID(record.get());
        const int kinds = ShellKinds(typeId);
        if (kinds == 0)
            continue;
        const Ref<IQTKPolyhedron3dIntf> solid = GetCalcEDO(record, true)->GetOriginalPolyhedronIntf();
        calc.Subtract(*solid->GetPolyhedron(), record.get(), kinds);
        if (typeId == CStripFDUnitType)
            calc.Subtract(*GetRecordDrawObj(record.get())->BuildPolyhedron(true, nullptr, 0.0, 0), record.get(), kinds);
    }
}

}  // namespace

TQTKTieColumnCalculatorEDO::TQTKTieColumnCalculatorEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKColumnCalculatorEDO(mode, drawObj)
{
}

TQTKTieColumnCalculatorEDO::~TQTKTieColumnCalculatorEDO() = default;

int TQTKTieColumnCalculatorEDO::GetIndentingTag()
{
    std::lock_guard guard(DataLock());
    return indentingTag_;
}

void TQTKTieColumnCalculatorEDO::SetIndentingTag(int value)
{
    std::lock_guard guard(DataLock());
    indentingTag_ = value;
}

int TQTKTieColumnCalculatorEDO::GetIndentingLengthMode()
{
    std::lock_guard guard(DataLock());
    return indentingLengthMode_;
}

void TQTKTieColumnCalculatorEDO::SetIndentingLengthMode(int value)
{
    std::lock_guard guard(DataLock());
    indentingLengthMode_ = value;
}

// ---------------------------------------------------------------------------
// Relation solid

std::unique_ptr<TVRMPolyhedron3d> TQTKTieColumnCalculatorEDO::BuildRelationPolyhedron()
{
    IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const IPropValues* values = drawObj->GetPropValues();
    std::unique_ptr<TVRMPolyhedron3d> own = drawObj->BuildPolyhedron(true, nullptr, 0.0, 0);
    if (EdoPropValueInteger(values, "Type") != 0)
        return own;
    // One span, the point shape's bottom to its top: the net bottom (raised by
    // a base) would stop the solid short of the top.
    const double bottom = PointShape().GetBottomElev();
    const double height = PointShape().GetTopElev() - bottom;
    TVRMMultiPolygon2d grown;
    if (TVRMOffsetFunc2d::Offset(Outline(), EdoPropValueInteger(values, "IndentingWidth"), grown))
        return TVRMPolyhedron3d::CreatePrism(grown, bottom, height);
    return TVRMPolyhedron3d::CreatePrism(*own->GetProjectiveXYPoly(), bottom, height);
}

// ---------------------------------------------------------------------------
// Indenting polyhedron and solid

const TVRMPolyhedron3d* TQTKTieColumnCalculatorEDO::GetIndentingPolyhedron()
{
    return Kept(indentingPolyhedron_).get();
}

void TQTKTieColumnCalculatorEDO::BuildIndentingPolyhedron()
{
    if (Kept(indentingPolyhedron_))
        return;
    std::lock_guard guard(indentingLock_);
    if (Kept(indentingPolyhedron_))
        return;
    IQTKElementDrawObj* drawObj = GetElementDrawObj();
    IRDXRecord* own = drawObj->GetRecord();
    auto result = std::make_shared<TVRMPolyhedron3d>();
    TRecordList walls;
    if (EdoPropValueInteger(drawObj->GetPropValues(), "Type") == 0 &&
        GetRelatedByTypes(MakeElementTypeSet({0, 81, 86}), &walls)) {
        const double w = EdoPropValueFloat(drawObj->GetPropValues(), "IndentingWidth");
        const double netTop = GetCalcTopElev();
        const double netBottom = GetCalcBottomElev();
        bool first = true;
        for (const RecordRef& wall : walls) {
            if (!IsIndentableWall(wall.get()))
                continue;
            TVRMPoint2d at = PointShape().GetInsertPt();
            GetClosestPointOnWall(wall.get(), own, at);
            const IQTKLineShape* wallShape = GetRecordLineShape(wall.get());
            if (!wallShape)
                continue;
            const double top = std::min(wallShape->GetTopElevAt(at), netTop);
            const double bottom = std::max(wallShape->GetBottomElevAt(at), netBottom);
            if (bottom + 1.0 > top)
                continue;
            std::unique_ptr<TVRMPolyhedron3d> piece = BuildIndentingSolid(own, wall.get(), top - bottom, bottom, w);
            if (!piece)
                continue;
            if (first)
                *result = *piece;
            else
                TVRMNewPolyBooleanOperator::BooleanOperate(*result, *piece, CVRMBoolUnion);
            first = false;
        }
    }
    std::lock_guard dataGuard(DataLock());
    indentingPolyhedron_ = std::move(result);
}

const TVRMPolyhedron3d* TQTKTieColumnCalculatorEDO::GetIndentingSolid()
{
    return KeepOnce(indentingSolid_,
                    [this]() -> std::shared_ptr<TVRMPolyhedron3d> {
                        const IPropValues* values = GetElementDrawObj()->GetPropValues();
                        const IRDXRecord* row = FindQtyRuleRow(CIndentingRuleQty);
                        if (row && EdoPropValueInteger(values, "Type") == 0 &&
                            EdoPropValueFloat(values, "IndentingWidth") > 0.0) {
                            const int rule = FieldValueInteger(row, "CalcRuleID", -1);
                            if (rule == CFullIndentRule || rule == CHalfIndentRule)
                                return BuildIndentedOutlinePolyhedron(rule == CFullIndentRule);
                        }
                        return GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone();
                    })
        .get();
}

std::unique_ptr<TVRMPolyhedron3d> TQTKTieColumnCalculatorEDO::BuildIndentedOutlinePolyhedron(bool full)
{
    TRecordList walls, insulating;
    GetRelatedByTypes(MakeElementTypeSet({0, CStripFDUnitType}), &walls);
    walls.erase(
        std::remove_if(walls.begin(), walls.end(), [](const RecordRef& r) { return IsConcreteRecord(r.get()); }),
        walls.end());
    GetRelatedByType(1, &insulating);
    walls.insert(walls.end(), insulating.begin(), insulating.end());

    const TVRMMultiPolygon2d& outline = Outline();
    if (outline.IsEmpty())
        return GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone();
    TVRMPolygon2d ring = outline.GetItems(0);
    const TVRMPoint2d insert = PointShape().GetInsertPt();
    const double w = EdoPropValueFloat(GetElementDrawObj()->GetPropValues(), "IndentingWidth");
    double d = full ? w : w / 2.0;
    if (ring.IsClockwise())
        d = -d;
    std::vector<TVRMVertex2d>& vertices = ring.Vertices();
    for (int i = ring.GetEdgeCount() - 1; i >= 0; --i) {
        const TVRMCustomLine2d edge = ring.GetEdge(i);
        bool crossed = false;
        for (const RecordRef& wall : walls) {
            const IQTKLineShape* wallShape = GetRecordLineShape(wall.get());
            if (!wallShape)
                continue;
            const TVRMCustomLine2d& axis = wallShape->GetLine();
            const TVRMCustomLine2d through =
                TVRMOffsetFunc2d::Offset(axis, TVRMPositionFunc2d::SignedDistanceTo(insert, axis, false));
            std::vector<TVRMPoint2d> points;
            if (TVRMIntersectFunc2d::Intersect(through, edge, points, CLengthTol) == 1) {
                crossed = true;
                break;
            }
        }
        TVRMCustomLine2d moved;
        if (!crossed || !TVRMOffsetFunc2d::Offset(edge, d, moved))
            continue;
        const TVRMVertex2d start = vertices[static_cast<size_t>(i)];
        TVRMVertex2d movedStart = start;
        movedStart.pt = moved.StartPt();
        if (moved.IsArc()) {
            movedStart.radius = moved.Radius();
            movedStart.kind = moved.ArcKind();
        }
        const std::vector<TVRMVertex2d> path = {TVRMVertex2d{start.pt}, movedStart, TVRMVertex2d{moved.EndPt()}};
        vertices.erase(vertices.begin() + i);
        vertices.insert(vertices.begin() + i, path.begin(), path.end());
    }
    TVRMMultiPolygon2d plan;
    plan.Add(std::move(ring));
    plan.Normalize(CLengthTol);
    return NetPrism(plan);
}

// ---------------------------------------------------------------------------
// Indenting calculators

std::shared_ptr<TQTKSolidCalc3d> TQTKTieColumnCalculatorEDO::CalcIndentingVolume(double lengthFactor)
{
    return KeepOnce(indentingVolumeCalc_, [this, lengthFactor] {
        BuildIndentingPolyhedron();
        RecordRef record(GetElementDrawObj()->GetRecord());
        auto calc =
            std::make_shared<TQTKSolidCalc3d>(Kept(indentingPolyhedron_)->Clone(), record,
                                              GetOriginalPolyhedronIntf()->GetPolyhedron()->Clone(), lengthFactor);
        const IRDXRecord* stripRule = FindQtyRuleRow(CStripUnitRuleQty);
        const bool hasRule = stripRule && FieldExist(stripRule, "CalcRuleID") && !stripRule->IsNull("CalcRuleID");
        const int count = GetRelatedCount();
        for (int i = 0; i < count; ++i) {
            const RecordRef related = GetRelated(i);
            const int typeId = GetRecordElementTypeID(related.get());
            bool deduct = AlwaysDeducted(typeId, true);
            if (typeId == 0 || typeId == 1)
                deduct = IsConcreteRecord(related.get());
            else if (typeId == CStripFDUnitType)
                deduct = hasRule || IsConcreteRecord(related.get());
            if (deduct)
                calc->Subtract(*GetCalcEDO(related, true)->GetOriginalPolyhedronIntf()->GetPolyhedron(), related.get());
        }
        return calc;
    });
}

std::shared_ptr<TQTKShellCalc3d> TQTKTieColumnCalculatorEDO::GetIndentingSideShellCalc(double factor)
{
    return KeepOnce(indentingSideShellCalc_, [this, factor] {
        BuildIndentingPolyhedron();
        const std::shared_ptr<TVRMPolyhedron3d> indenting = Kept(indentingPolyhedron_);
        std::vector<int> sides;
        for (int i = 0; i < indenting->GetFaceCount(); ++i) {
            const double nz = indenting->GetFace(i).GetNormal().z;
            if (!SameValue(nz, 1.0, CLengthTol) && !SameValue(nz, -1.0, CLengthTol))
                sides.push_back(i);
        }
        IRDXRecord* record = GetElementDrawObj()->GetRecord();
        const Ref<IQTKPolyhedron3dIntf> own = GetOriginalPolyhedronIntf();
        auto calc = std::make_shared<TQTKShellCalc3d>(std::make_unique<TVRMPolyhedronShell3d>(*indenting, sides),
                                                      RecordRef(record), own->GetPolyhedron()->Clone(), factor);
        calc->SetIsArc(PolygonHasArc(Outline()));
        calc->Subtract(*own->GetPolyhedron(), record, CVRMSuperpositionContact);
        DeductFromShell(*calc, *this);
        return calc;
    });
}

void TQTKTieColumnCalculatorEDO::SetTieOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc)
{
    if (calc)
        DeductFromShell(*calc, *this);
    Keep(tieOverhighFormboard_, std::move(calc));
}

void TQTKTieColumnCalculatorEDO::SetTieOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc)
{
    if (calc) {
        const int count = GetRelatedCount();
        for (int i = 0; i < count; ++i) {
            const RecordRef related = GetRelated(i);
            const int typeId = GetRecordElementTypeID(related.get());
            const bool deduct = (typeId == 0 || typeId == 1 || typeId == CStripFDUnitType)
                                    ? IsConcreteRecord(related.get())
                                    : AlwaysDeducted(typeId, false);
            if (deduct)
                calc->Subtract(*GetCalcEDO(related, true)->GetOriginalPolyhedronIntf()->GetPolyhedron(), related.get());
        }
    }
    Keep(tieOverhighVolume_, std::move(calc));
}

std::shared_ptr<TVRMOverhighSolidCalc3d> TQTKTieColumnCalculatorEDO::GetOrBuildTieOverhighVolumeCalc(
    const std::function<std::shared_ptr<TVRMOverhighSolidCalc3d>()>& build)
{
    return GetOrBuildOverhighSet(
               [this] {
                   return TQTKOverhighCalcSet{GetTieOverhighVolumeCalc(), nullptr, nullptr};
               },
               [this](const TQTKOverhighCalcSet& set) {
                   if (set.volume != GetTieOverhighVolumeCalc())
                       SetTieOverhighVolumeCalc(set.volume);
               },
               [&build](TQTKOverhighCalcSet& set) {
                   if (!set.volume)
                       set.volume = build();
               })
        .volume;
}

std::shared_ptr<TVRMOverhighShellCalc3d> TQTKTieColumnCalculatorEDO::GetOrBuildTieOverhighFormboardCalc(
    const std::function<std::shared_ptr<TVRMOverhighShellCalc3d>()>& build)
{
    return GetOrBuildOverhighSet(
               [this] {
                   return TQTKOverhighCalcSet{nullptr, GetTieOverhighFormboardCalc(), nullptr};
               },
               [this](const TQTKOverhighCalcSet& set) {
                   if (set.formboard != GetTieOverhighFormboardCalc())
                       SetTieOverhighFormboardCalc(set.formboard);
               },
               [&build](TQTKOverhighCalcSet& set) {
                   if (!set.formboard)
                       set.formboard = build();
               })
        .formboard;
}

void TQTKTieColumnCalculatorEDO::FreeCalcCache()
{
    TQTKColumnCalculatorEDO::FreeCalcCache();
    Keep(indentingVolumeCalc_, {});
    Keep(indentingSideShellCalc_, {});
    Keep(tieOverhighVolume_, {});
    Keep(tieOverhighFormboard_, {});
}
