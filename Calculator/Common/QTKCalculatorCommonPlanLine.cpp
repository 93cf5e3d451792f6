#include "Calculator/Common/QTKCalculatorCommonPlanLine.h"

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

constexpr int CSlabTypeID = 19;
constexpr int CBeddingTypeID = 55;
constexpr int CStripFDUnitTypeID = 81;
constexpr int CInsulatingWallUnitTypeID = 86;

// A property of the element behind the record: its property values when it
// has a draw object, else the record's field.
double ElementFloat(IRDXRecord* record, std::string_view name, double defaultValue)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? EdoPropValueFloat(drawObj->GetPropValues(), name, defaultValue)
                   : FieldValueFloat(record, name, defaultValue);
}

// The moved copy of a line, its ends k1 * own + k2 * other, trimmed to them.
TVRMCustomLine2d WidenedLine(const TVRMCustomLine2d& own, const TVRMCustomLine2d& other, double offset, double k1,
                             double k2)
{
    const TVRMCustomLine2d moved = TVRMOffsetFunc2d::Offset(own, offset);
    const auto blend = [&](const TVRMPoint2d& p, const TVRMPoint2d& q) {
        return TVRMPoint2d{k1 * p.x + k2 * q.x, k1 * p.y + k2 * q.y};
    };
    const TVRMPoint2d from = blend(own.StartPt(), other.StartPt());
    const TVRMPoint2d to = blend(own.EndPt(), other.EndPt());
    if (from.IsEqualTo(to))
        return moved;
    return TVRMPositionFunc2d::SubSeg(moved, from, to);
}

TVRMMultiPolygon2d Single(const TVRMPolygon2d& polygon)
{
    TVRMMultiPolygon2d set;
    set.Add(polygon);
    return set;
}

}  // namespace

bool ShapeHasArc(const IQTKElementDrawObj* drawObj)
{
    const IQTKShape* shape = drawObj ? drawObj->GetShape() : nullptr;
    if (const auto* line = dynamic_cast<const IQTKLineShape*>(shape))
        return line->GetLine().IsArc() || PolygonHasArc(line->GetPolygon());
    if (const auto* point = dynamic_cast<const IQTKPointShape*>(shape))
        return PolygonHasArc(point->GetPolygon());
    if (const auto* face = dynamic_cast<const IQTKFaceShape*>(shape))
        return PolygonHasArc(face->GetOutline());
    return false;
}

bool LineElementHasArc(IRDXRecord* record)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(GetRecordDrawObj(record));
    QTK_ASSERT_MSG(shape != nullptr, "the element has no line shape");
    return shape->GetLine().IsArc() || PolygonHasArc(shape->GetPolygon());
}

bool MultiLinesHasArc(const std::vector<TVRMLines2d>& lines)
{
    for (const TVRMLines2d& polyline : lines) {
        const auto& vertices = polyline.Vertices();
        for (size_t i = 0; i + 1 < vertices.size(); ++i)
            if (vertices[i].IsArc())
                return true;
    }
    return false;
}

TVRMCustomLine2d GetLineEntCenterLine(IRDXRecord* record)
{
    double width = ElementFloat(record, "Thickness", -1.0);
    if (width < 0.0)
        width = ElementFloat(record, "SectionWidth", -1.0);
    QTK_ASSERT_MSG(width > 0.0, "the line element has no width");
    const IQTKLineShape* shape = GetDrawObjLineShape(GetRecordDrawObj(record));
    QTK_ASSERT_MSG(shape != nullptr, "the element has no line shape");
    const double axisOffset = ElementFloat(record, "AxisOffset", shape->GetAxisOffset());
    return TVRMOffsetFunc2d::Offset(shape->GetLine(), width / 2.0 - axisOffset);
}

const TVRMCustomLine2d* GetLineEntAxisLine(IRDXRecord* record)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    if (const auto lineEnt = RefCast<IQTKLineEntBaseCalcEDO>(edo))
        return lineEnt->GetMidLine();
    IQTKElementDrawObj* drawObj = edo->GetElementDrawObj();
    switch (drawObj->GetElementTypeID()) {
        case CBeddingTypeID: {
            const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
            QTK_ASSERT_MSG(shape != nullptr, "the element has no line shape");
            return &shape->GetLine();
        }
        case CStripFDUnitTypeID:
            if (const auto unit = RefCast<IQTKStripFDUnitCalcEDO>(edo))
                return unit->GetUnitLine();
            break;
        case CInsulatingWallUnitTypeID:
            if (const auto unit = RefCast<IQTKInsulatingWallUnitCalcEDO>(edo))
                return unit->GetMidLine();
            break;
        default:
            break;
    }
    QTK_ASSERT_MSG(false, "the element has no axis line");
    return nullptr;
}

TVRMPolygon2d CreatePolygonFromLines(const TVRMCustomLine2d& first, const TVRMCustomLine2d& second)
{
    return TVRMPolygon2d::CreateBetweenLines(first, second);
}

std::unique_ptr<TVRMMultiPolygon2d> ClipBoxBetweenLines(const TVRMBox2d& box, const TVRMCustomLine2d& first,
                                                        const TVRMCustomLine2d& second)
{
    const TVRMMultiPolygon2d boxSet = Single(
        TVRMRectangle2d({(box.min.x + box.max.x) / 2, (box.min.y + box.max.y) / 2}, box.Width() / 2, box.Height() / 2));
    TVRMPoint2d c1, c2;
    if (first.IsArc() && first.CenterPt(c1) && second.CenterPt(c2)) {
        const double r1 = first.Radius(), r2 = second.Radius();
        const bool firstInner = LessThan(r1, r2);
        const auto inner = Single(TVRMPolygon2d::CreateCircle(firstInner ? c1 : c2, firstInner ? r1 : r2));
        const auto outer = Single(TVRMPolygon2d::CreateCircle(firstInner ? c2 : c1, firstInner ? r2 : r1));
        const auto ring = TVRMIntersectFunc2d::IntPolygon(*TVRMIntersectFunc2d::SyncSubPolygon(boxSet, inner), outer);
        return TVRMIntersectFunc2d::IntPolygon(*ring, Single(CreatePolygonFromLines(first, second)));
    }
    // Keep the left of each directed line: of A reversed (the side towards B) and of B.
    TVRMMultiPolygon2d afterFirst, drop, between;
    TVRMIntersectFunc2d::Cut(boxSet, first.Reversed(), afterFirst, drop);
    TVRMIntersectFunc2d::Cut(afterFirst, second, between, drop);
    return between.Clone();
}

void WidenLinePair(std::unique_ptr<TVRMCustomLine2d>& first, std::unique_ptr<TVRMCustomLine2d>& second, double d)
{
    QTK_ASSERT(first && second);
    if (IsZero(d))
        return;
    const double apart = std::abs(TVRMPositionFunc2d::SignedDistanceTo(first->StartPt(), *second, false));
    std::unique_ptr<TVRMCustomLine2d> newFirst, newSecond;
    if (IsZero(apart)) {
        // Lines on each other have no side to move away from.
        newFirst = std::make_unique<TVRMCustomLine2d>(TVRMOffsetFunc2d::Offset(*first, -d));
        newSecond = std::make_unique<TVRMCustomLine2d>(TVRMOffsetFunc2d::Offset(*second, d));
    } else {
        const double k1 = d / apart + 1.0, k2 = -d / apart;
        newFirst = std::make_unique<TVRMCustomLine2d>(WidenedLine(*first, *second, -d, k1, k2));
        newSecond = std::make_unique<TVRMCustomLine2d>(WidenedLine(*second, *first, d, k1, k2));
    }
    first = std::move(newFirst);
    second = std::move(newSecond);
}

std::unique_ptr<TVRMMultiPolygon2d> BuildFloorExternalWallOutline(int floorId)
{
    auto result = TVRMMultiPolygon2d::Create();
    const TableSourceRef business = GBusiness();
    const IRDXDatabase* database = business ? business->GetDatabase() : nullptr;
    const IRDXTable* table = database ? database->GetTable("ElementDrawObj") : nullptr;
    if (!table)
        return result;
    QTK_ASSERT_MSG(GExternalWallInfos() != nullptr, "the host gave no external wall information");
    const TQTKFloorExternalInfo* info = GExternalWallInfos()->GetWallInfo(floorId);
    if (!info)
        return result;
    for (int r = 0; r < info->outline.GetCount(); ++r) {
        const TVRMPolygon2d& ring = info->outline.GetItems(r);
        std::vector<double> widths(ring.GetEdgeCount(), 0.0);
        for (int i = 0; i < ring.GetEdgeCount(); ++i) {
            if (r >= static_cast<int>(info->ringEdges.size()) || i >= static_cast<int>(info->ringEdges[r].size()))
                continue;
            const TQTKExternalEdgeInfo& edge = info->ringEdges[r][i];
            IRDXRecord* wall = table->GetRecordByID(edge.wallId);
            const IQTKElementDrawObj* drawObj = wall ? GetRecordDrawObj(wall) : nullptr;
            const int type = drawObj ? drawObj->GetElementTypeID() : FieldValueInteger(wall, "ElementTypeID", -1);
            const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
            const double thickness = ElementFloat(wall, "Thickness", shape ? shape->GetWidth() : 0.0);
            if (!wall || type == -1 || type == -2 || IsZero(thickness))
                continue;
            const double axisOffset = ElementFloat(wall, "AxisOffset", shape ? shape->GetAxisOffset() : 0.0);
            widths[i] = edge.flag ? axisOffset : thickness - axisOffset;
        }
        TVRMPolygon2d moved;
        if (TVRMOffsetFunc2d::Offset(ring, widths, moved))
            result->Add(std::move(moved));
    }
    return result;
}

double GetPointElementPerimeter(IRDXRecord* record)
{
    QTK_ASSERT(record != nullptr);
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const auto* shape = drawObj ? dynamic_cast<const IQTKPointShape*>(drawObj->GetShape()) : nullptr;
    return shape ? shape->GetPolygon().Perimeter() : 0.0;
}

std::uint8_t GetLineEndsInPolygon(IRDXRecord* record, const TVRMMultiPolygon2d& polygon)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(GetRecordDrawObj(record));
    QTK_ASSERT_MSG(shape != nullptr, "the element has no line shape");
    const auto lineEnt = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(record, true));
    if (!lineEnt)
        return 0;
    const auto inside = [&](const TVRMPoint2d& p) { return TVRMPositionFunc2d::PointPosition(p, polygon) == 0; };
    std::uint8_t ends = 0;
    if (lineEnt->IsStartUnconnected() && inside(shape->GetLine().StartPt()))
        ends |= 1;
    if (lineEnt->IsEndUnconnected() && inside(shape->GetLine().EndPt()))
        ends |= 2;
    return ends;
}

double GetSlabRiseAlongLine(IRDXRecord* record, const TVRMCustomLine2d& line)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    TRecordList slabs;
    if (!edo || !edo->GetRelatedByType(CSlabTypeID, &slabs) || slabs.empty())
        return 0.0;
    const IQTKElementDrawObj* slab = GetRecordDrawObj(slabs.front().get());
    const auto* shape = slab ? dynamic_cast<const IQTKFaceShape*>(slab->GetShape()) : nullptr;
    const IQTKFaceElevInfo* info = shape ? shape->GetFaceElevInfo() : nullptr;
    if (!info)
        return 0.0;
    return std::abs(info->GetElevAt(line.StartPt()) - info->GetElevAt(line.EndPt()));
}
