#include "Calculator/Common/QTKShortArmShearWallBuilder.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKBoxService.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

namespace {

constexpr int CWallType = 0;
// Parallel test of a limb against a joined wall's side line.
constexpr double CLimbParallelTolerance = 0.01;
// How far a limb's axis is extended to find where it leaves a wall it overlaps.
constexpr double CLimbSearchReach = 1.0e7;

const TVRMPolygon2d* FirstOutlinePolygon(const IQTKElementDrawObj* drawObj)
{
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    if (!shape || shape->GetOutline().GetCount() == 0)
        return nullptr;
    return &shape->GetOutline().GetItems(0);
}

IQTKLineEdoInfo* LineInfoOf(const Ref<IQTKCalculatorEDO>& edo)
{
    return dynamic_cast<IQTKLineEdoInfo*>(edo.get());
}

bool IsOneOf(int kind, std::initializer_list<int> kinds)
{
    return std::find(kinds.begin(), kinds.end(), kind) != kinds.end();
}

}  // namespace

TQTKShortArmShearWallBuilder::TQTKShortArmShearWallBuilder(IRDXTable* elements) : elements_(elements)
{
    if (!elements_) {
        const TableSourceRef business = GBusiness();
        IRDXDatabase* database = business ? business->GetDatabase() : nullptr;
        elements_ = database ? database->GetTable("ElementDrawObj") : nullptr;
    }
}

bool TQTKShortArmShearWallBuilder::IsShearWall(const IQTKElementDrawObj* drawObj)
{
    const IPropValues* values = drawObj ? drawObj->GetPropValues() : nullptr;
    return values && values->HasProp("Type") && values->GetInteger("Type") == 0;
}

std::uint8_t TQTKShortArmShearWallBuilder::GetCreationKind(const IQTKElementDrawObj* drawObj)
{
    if (!GProjectHasShortArmShearFlag || !IsShearWall(drawObj))
        return 5;
    const int kind = EdoPropValueInteger(drawObj->GetPropValues(), "ShortArmShearWall");
    return kind >= 0 && kind <= 3 ? static_cast<std::uint8_t>(kind) : 4;
}

bool TQTKShortArmShearWallBuilder::Recognize(IRDXRecord* record)
{
    if (GetRecordElementTypeID(record) != CWallType)
        return true;
    const auto wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(record, false));
    if (wall && wall->GetShortArmShearWallFlag() == 0) {
        TRecordList group;
        CollectGroup(record, &group);
        Classify(group);
    }
    return true;
}

void TQTKShortArmShearWallBuilder::CollectGroup(IRDXRecord* record, TRecordList* list)
{
    QTK_ASSERT(list != nullptr);
    list->clear();
    list->emplace_back(record);
    std::unordered_set<int> marked{record->GetID()};
    IQTKBoxService* service = GetQTKModelRuntimeOptions().GetBoxService();
    // Spreads from each wall in the order the walls joined the group.
    for (size_t next = 0; next < list->size() && service && elements_; ++next) {
        IRDXRecord* current = (*list)[next].get();
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(current);
        const TVRMPolygon2d* outline = FirstOutlinePolygon(drawObj);
        if (!outline)
            continue;
        for (int id : service->Query(drawObj->GetBox(), 1)) {
            IRDXRecord* other = elements_->GetRecordByID(id);
            if (!other || other == current || marked.count(id))
                continue;
            const IQTKElementDrawObj* otherObj = GetRecordDrawObj(other);
            if (!otherObj || otherObj->GetElementTypeID() != CWallType ||
                otherObj->GetFloorID() != drawObj->GetFloorID() || !IsShearWall(otherObj))
                continue;
            const TVRMPolygon2d* otherOutline = FirstOutlinePolygon(otherObj);
            if (otherOutline && TVRMPositionFunc2d::PolyPolyPosition(*outline, *otherOutline, CVRMEpsilon) != 0) {
                list->emplace_back(other);
                marked.insert(id);
            }
        }
    }
}

double TQTKShortArmShearWallBuilder::GetLimbLength(IRDXRecord* wall, const TRecordList& group)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wall);
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    const TVRMPolygon2d* outline = FirstOutlinePolygon(drawObj);
    if (!shape)
        return 0.0;
    const TVRMCustomLine2d& axis = shape->GetLine();
    const double length = axis.Length();
    // S: the reach beyond the start, measured from the end; E: beyond the end, from the start.
    double s = length, e = length;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(wall, false);
    for (const RecordRef& other : group) {
        const IQTKElementDrawObj* otherObj = GetRecordDrawObj(other.get());
        const IQTKLineShape* otherShape = GetDrawObjLineShape(otherObj);
        const TVRMPolygon2d* otherOutline = FirstOutlinePolygon(otherObj);
        if (other.get() == wall || !otherShape || !outline || !otherOutline ||
            !drawObj->GetBox().Meets(otherObj->GetBox()) ||
            TVRMPositionFunc2d::PolyPolyPosition(*outline, *otherOutline, CVRMEpsilon) == 0)
            continue;
        const Ref<IQTKCalculatorEDO> otherEdo = GetCalcEDO(other, false);
        IQTKLineEdoInfo* a = LineInfoOf(edo);
        IQTKLineEdoInfo* b = LineInfoOf(otherEdo);
        const int kind = a && b ? IntersectLineEdoShapes(a, b) : 0;
        if (IsOneOf(kind, {1, 2, 5, 6})) {
            const double w = otherShape->GetWidth(), ao = otherShape->GetAxisOffset();
            const TVRMCustomLine2d sides[2] = {TVRMOffsetFunc2d::Offset(otherShape->GetLine(), -ao),
                                               TVRMOffsetFunc2d::Offset(otherShape->GetLine(), w - ao)};
            if (TVRMPositionFunc2d::IsParallel(axis, sides[1], CLimbParallelTolerance))
                continue;
            const bool atStart = kind == 1 || kind == 5;
            for (const TVRMCustomLine2d& side : sides) {
                std::vector<TVRMPoint2d> points;
                if (TVRMIntersectFunc2d::ExtIntersect(axis, side, points) == 0 || points.empty())
                    continue;
                if (atStart)
                    s = std::max(s, axis.EndPt().DistanceTo(points.front()));
                else
                    e = std::max(e, axis.StartPt().DistanceTo(points.front()));
            }
        } else if (IsOneOf(kind, {3, 11, 13, 14}) && !axis.IsArc()) {
            const TVRMCustomLine2d reach =
                TVRMPositionFunc2d::SubSeg(axis, -CLimbSearchReach, length + CLimbSearchReach, false);
            TVRMMultiPolygon2d set;
            set.Add(*otherOutline);
            std::vector<TVRMPoint2d> points;
            TVRMIntersectFunc2d::Intersect(reach, set, points);
            for (const TVRMPoint2d& q : points) {
                const double fromStart = axis.StartPt().DistanceTo(q), fromEnd = axis.EndPt().DistanceTo(q);
                if (GreaterThan(fromStart, e, CVRMEpsilon) && GreaterThan(fromStart, fromEnd, CVRMEpsilon))
                    e = fromStart;
                if (GreaterThan(fromEnd, s, CVRMEpsilon) && GreaterThan(fromEnd, fromStart, CVRMEpsilon))
                    s = fromEnd;
            }
        }
    }
    return length + (s - length) + (e - length);
}

void TQTKShortArmShearWallBuilder::Classify(const TRecordList& group)
{
    if (group.empty())
        return;
    double largest = -1.0;
    for (const RecordRef& wall : group) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(wall.get());
        const double thickness = drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), "Thickness") : 0.0;
        if (thickness > 0.0)
            largest = std::max(largest, GetLimbLength(wall.get(), group) / thickness);
    }
    std::uint8_t kind = 3;
    if (LessThan(largest, 5.0, CVRMEpsilon))
        kind = group.size() == 1 ? 4 : 1;
    else if (LessEqualThan(largest, 8.0, CVRMEpsilon))
        kind = 2;
    for (const RecordRef& record : group) {
        const auto wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(record, false));
        if (wall && wall->GetShortArmShearWallFlag() == 0)
            wall->SetShortArmShearWallType(kind);
    }
}
