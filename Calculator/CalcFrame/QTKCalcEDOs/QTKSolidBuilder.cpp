#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSolidBuilder.h"

#include <algorithm>
#include <initializer_list>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonOutline.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKBeamSolidBuilders.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

bool IsTypeIn(int type, std::initializer_list<int> types)
{
    return std::find(types.begin(), types.end(), type) != types.end();
}

double PropFloat(const IQTKElementDrawObj* drawObj, const char* name)
{
    return EdoPropValueFloat(drawObj->GetPropValues(), name);
}

// The four elevations of a line element at the ends of a line.
struct TEndElevations {
    double startBottom, startTop, endBottom, endTop;
};

TEndElevations ElevationsAt(const IQTKLineShape& shape, const TVRMCustomLine2d& line)
{
    return {shape.GetBottomElevAt(line.StartPt()), shape.GetTopElevAt(line.StartPt()),
            shape.GetBottomElevAt(line.EndPt()), shape.GetTopElevAt(line.EndPt())};
}

// Length along the axis of a point's foot, continued past the axis's ends.
double AxisLengthAt(const TVRMCustomLine2d& axis, const TVRMPoint2d& point)
{
    if (axis.IsArc())
        return axis.LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(point, axis, true));
    return (point - axis.StartPt()).InnerProduct(axis.Vector().Normal());
}

// The elevations of the shape at the ends of a piece of its axis, each taken
// linearly along the axis and continued past its ends (a gradient beam's piece
// reaches beyond the drawn beam to where its height vanishes).
TEndElevations ExtrapolatedElevationsAt(const IQTKLineShape& shape, const TVRMCustomLine2d& piece)
{
    const TVRMCustomLine2d& axis = shape.GetLine();
    const double length = axis.Length();
    auto along = [&](double start, double end, const TVRMPoint2d& p) {
        return length > CVRMEpsilon ? start + (end - start) * AxisLengthAt(axis, p) / length : start;
    };
    return {along(shape.GetStartPtBottomElev(), shape.GetEndPtBottomElev(), piece.StartPt()),
            along(shape.GetStartPtTopElev(), shape.GetEndPtTopElev(), piece.StartPt()),
            along(shape.GetStartPtBottomElev(), shape.GetEndPtBottomElev(), piece.EndPt()),
            along(shape.GetStartPtTopElev(), shape.GetEndPtTopElev(), piece.EndPt())};
}

std::unique_ptr<TVRMPolyhedron3d> BetweenLines(const TVRMCustomLine2d& a, const TEndElevations& ea,
                                               const TVRMCustomLine2d& b, const TEndElevations& eb)
{
    return TVRMPolyhedron3d::CreateBetweenLines(a, ea.startBottom, ea.startTop, ea.endBottom, ea.endTop, b,
                                                eb.startBottom, eb.startTop, eb.endBottom, eb.endTop);
}

void UniteInto(TVRMPolyhedron3d& solid, std::vector<std::unique_ptr<TVRMPolyhedron3d>>& pieces)
{
    for (const auto& piece : pieces)
        TVRMNewPolyBooleanOperator::BooleanOperate(solid, *piece, CVRMBoolUnion);
    pieces.clear();
}

// Reference point of a section for a sweep: the middle of its box across, at its top.
TVRMPoint2d TopMiddle(const TVRMMultiPolygon2d& section)
{
    const TVRMBox2d box = section.Box();
    return {(box.min.x + box.max.x) / 2.0, box.max.y};
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildLineEntSolid(IQTKLineEntBaseCalcEDO* element)
{
    const IQTKElementDrawObj* drawObj = element ? element->GetElementDrawObj() : nullptr;
    if (!drawObj || IsArcLineShape(element))
        return nullptr;
    const int type = drawObj->GetElementTypeID();
    bool applies = false;
    if (IsTypeIn(type, {0, 1, 36, 37, 38, 68, 86}))
        applies = true;
    else if (type >= 15 && type <= 18)
        applies = IsPrismSection(drawObj) && !IsArchDrawObj(drawObj) && !IsGradientBeamDrawObj(drawObj) &&
                  !IsHaunchedBeamDrawObj(drawObj);
    else if (IsTypeIn(type, {47, 51, 69, 70, 72, 81, 84}))
        applies = IsPrismSection(drawObj);
    const TVRMCustomLine2d* left = applies ? element->GetLeftLine() : nullptr;
    const TVRMCustomLine2d* right = applies ? element->GetRightLine() : nullptr;
    if (!left || !right)
        return nullptr;
    return BuildPrismBetweenLines(drawObj, *left, *right);
}

bool TQTKSolidBuilder::IsArcLineShape(IQTKLineEntBaseCalcEDO* element)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(element ? element->GetElementDrawObj() : nullptr);
    return shape && shape->GetLine().IsArc();
}

bool TQTKSolidBuilder::IsPrismSection(const IQTKElementDrawObj* drawObj)
{
    switch (EdoPropValueInteger(drawObj->GetPropValues(), "SectionTypeID", -1)) {
        case 0:
            return true;
        case -1:
        case 1:
            return false;
        default: {
            const IQTKShape* shape = drawObj->GetShape();
            const TVRMMultiPolygon2d* section = shape ? &shape->GetPolygon() : nullptr;
            return section && section->GetCount() > 0 && section->GetItems(0).IsRectangle(CVRMEpsilon);
        }
    }
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildPrismBetweenLines(const IQTKElementDrawObj* drawObj,
                                                                           const TVRMCustomLine2d& a,
                                                                           const TVRMCustomLine2d& b)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!shape)
        return nullptr;
    const TEndElevations ea = ElevationsAt(*shape, a);
    const TEndElevations eb = ElevationsAt(*shape, b);
    for (const TEndElevations* e : {&ea, &eb})
        if (!GreaterThan(e->startTop, e->startBottom) || !GreaterThan(e->endTop, e->endBottom))
            return nullptr;
    return BetweenLines(a, ea, b, eb);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildSolidBetweenLines(const IQTKElementDrawObj* drawObj,
                                                                           const TVRMCustomLine2d& a,
                                                                           const TVRMCustomLine2d& b)
{
    return IsPrismSection(drawObj) ? BuildPrismBetweenLines(drawObj, a, b) : nullptr;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildExpandedSolidBetweenLines(const IQTKElementDrawObj* drawObj,
                                                                                   const TVRMCustomLine2d& a,
                                                                                   double offset,
                                                                                   const TVRMCustomLine2d& b)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!shape || shape->GetLine().IsArc())
        return nullptr;
    auto grown = [offset](TEndElevations e) {
        return TEndElevations{e.startBottom - offset, e.startTop + offset, e.endBottom - offset, e.endTop + offset};
    };
    return BetweenLines(a, grown(ElevationsAt(*shape, a)), b, grown(ElevationsAt(*shape, b)));
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildSectionSolidAlongLine(const IQTKElementDrawObj* drawObj,
                                                                               const TVRMCustomLine2d& line,
                                                                               bool /*flag*/)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!shape || shape->GetPolygon().GetCount() == 0)
        return nullptr;
    const TVRMMultiPolygon2d& section = shape->GetPolygon();
    return TVRMPolyhedron3d::CreateSweep(section, line, TopMiddle(section), shape->GetTopElevAt(line.StartPt()),
                                         shape->GetTopElevAt(line.EndPt()));
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildOffsetSolid(const IQTKElementDrawObj* drawObj, double offset)
{
    const Ref<IQTKCalculatorEDO> edo = GetOrCreateCalcEDO(const_cast<IQTKElementDrawObj*>(drawObj), true);
    auto* lineEnt = dynamic_cast<IQTKLineEntBaseCalcEDO*>(edo.get());
    auto* info = dynamic_cast<IQTKLineEdoInfo*>(edo.get());
    const TVRMCustomLine2d* mid = lineEnt ? lineEnt->GetExtendedMidLine() : nullptr;
    if (!mid || !info)
        return nullptr;
    const double width = info->GetWidth();
    const double axisOffset = info->GetAxisOffset();
    if (IsArchDrawObj(drawObj))
        return BuildArchBeamOffsetSolid(drawObj, *mid, offset, axisOffset, width);
    if (IsHaunchedBeamDrawObj(drawObj))
        return BuildHaunchedBeamOffsetSolid(drawObj, *mid, offset, axisOffset, width);
    if (IsGradientBeamDrawObj(drawObj))
        return BuildGradientBeamOffsetSolid(drawObj, *mid, offset, axisOffset, width);
    return nullptr;
}

void TQTKSolidBuilder::ShiftArchInfo(TQTKArchBeamInfo& info, const TVRMCustomLine2d& line, const TVRMCustomLine2d& axis)
{
    const TVRMPoint2d nearest = TVRMPositionFunc2d::ClosestPointTo(axis.StartPt(), line, true);
    const int shift = static_cast<int>(Round(line.LengthAtPoint(nearest)));
    for (TQTKArchPart* part : {&info.first, &info.second}) {
        part->start += shift;
        if (part->end != -1)
            part->end += shift;
    }
}

// Each marked part grows by Offset at both ends: its start moves back (the
// line lengthened backwards where the start would leave it, which moves every
// position on by the same length) and its end forwards (the line lengthened
// forwards where it would leave it). An end of -1 is the line's end.
void TQTKSolidBuilder::ExtendArchInfo(TQTKArchBeamInfo& info, int offset, TVRMCustomLine2d& line)
{
    for (TQTKArchPart* part : {&info.first, &info.second}) {
        if (part->kind != 1 && part->kind != 2)
            continue;
        if (part->end == -1)
            part->end = static_cast<int>(Round(line.Length()));
        if (part->start >= offset) {
            part->start -= offset;
        } else {
            const int back = offset - part->start;
            line.ExtendBack(back);
            part->start = 0;
            part->end += back;
            TQTKArchPart* other = part == &info.first ? &info.second : &info.first;
            other->start += back;
            if (other->end != -1)
                other->end += back;
        }
        part->end += offset;
        if (line.Length() < part->end)
            line.ExtendForward(part->end - line.Length());
        if (part->shapeKind == 2)
            part->rise += part->rise > 0 ? offset : -offset;
    }
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildArchBeamSolid(const IQTKElementDrawObj* drawObj,
                                                                       const TVRMCustomLine2d& line, double axisOffset,
                                                                       double width)
{
    QTK_ASSERT(IsArchDrawObj(drawObj));
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    TQTKArchBeamInfo info = GetArchBeamInfo(*shape);
    ShiftArchInfo(info, line, shape->GetLine());
    return BuildArchBeamPolyhedron(line, info, 1, width, axisOffset,
                                   static_cast<int>(Round(PropFloat(drawObj, "SectionHeight"))),
                                   shape->GetTopElevAt(line.StartPt()), shape->GetTopElevAt(line.EndPt()));
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildArchBeamOffsetSolid(const IQTKElementDrawObj* drawObj,
                                                                             const TVRMCustomLine2d& line,
                                                                             double offset, double axisOffset,
                                                                             double width)
{
    QTK_ASSERT(IsArchDrawObj(drawObj));
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    TVRMCustomLine2d path = line;
    TQTKArchBeamInfo info = GetArchBeamInfo(*shape);
    ShiftArchInfo(info, path, shape->GetLine());
    const int grow = static_cast<int>(Round(offset));
    // The tops are read on the line before it is lengthened (a lengthened end
    // keeps the elevation of the end it continues).
    const double startTop = shape->GetTopElevAt(path.StartPt()) + offset;
    const double endTop = shape->GetTopElevAt(path.EndPt()) + offset;
    ExtendArchInfo(info, grow, path);
    const int height = static_cast<int>(Round(PropFloat(drawObj, "SectionHeight") + 2.0 * offset));
    return BuildArchBeamPolyhedron(path, info, 1, width + 2.0 * offset, axisOffset + offset, height, startTop, endTop);
}

TVRMCustomLine2d TQTKSolidBuilder::GetGradientBeamLine(const IQTKElementDrawObj* drawObj, const TVRMCustomLine2d& line,
                                                       double offset)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    const double h1 = PropFloat(drawObj, "SectionHeight") + 2.0 * offset;
    const double h2 = PropFloat(drawObj, "EndPtGradChangeHeight") + 2.0 * offset;
    if (!shape || SameValue(h1, h2, 0.0))
        return line;
    const TVRMCustomLine2d& axis = shape->GetLine();
    const double length = axis.Length();
    if (h1 < h2)
        return TVRMPositionFunc2d::SubSeg(axis, -length * h1 / (h2 - h1), AxisLengthAt(axis, line.EndPt()), true);
    return TVRMPositionFunc2d::SubSeg(axis, AxisLengthAt(axis, line.StartPt()), length * h1 / (h1 - h2), true);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildGradientBeamSolid(const IQTKElementDrawObj* drawObj,
                                                                           const TVRMCustomLine2d& line,
                                                                           double axisOffset, double width)
{
    return BuildGradientBeamOffsetSolid(drawObj, line, 0.0, axisOffset, width);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildGradientBeamOffsetSolid(const IQTKElementDrawObj* drawObj,
                                                                                 const TVRMCustomLine2d& line,
                                                                                 double offset, double axisOffset,
                                                                                 double width)
{
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!shape)
        return nullptr;
    // The piece where the height vanishes, kept to Line's own length: the
    // wedge beyond it would be cut off by every caller, and its end of no
    // height is no solid the booleans take.
    TVRMCustomLine2d piece = GetGradientBeamLine(drawObj, line, offset);
    const TVRMCustomLine2d& axis = shape->GetLine();
    if (!axis.IsArc()) {
        const double from = std::max(AxisLengthAt(axis, piece.StartPt()), AxisLengthAt(axis, line.StartPt()));
        const double to = std::min(AxisLengthAt(axis, piece.EndPt()), AxisLengthAt(axis, line.EndPt()));
        if (to - from > CVRMEpsilon)
            piece = TVRMPositionFunc2d::SubSeg(axis, from, to, true);
    }
    const TEndElevations e = ExtrapolatedElevationsAt(*shape, piece);
    return TVRMPolyhedron3d::CreateBand(piece, width + 2.0 * offset, axisOffset + offset, e.startBottom - offset,
                                        e.startTop + offset, e.endBottom - offset, e.endTop + offset);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildSolidAlongLine(const IQTKElementDrawObj* drawObj,
                                                                        const TVRMCustomLine2d& line)
{
    if (IsGradientBeamDrawObj(drawObj)) {
        const Ref<IQTKCalculatorEDO> edo = GetOrCreateCalcEDO(const_cast<IQTKElementDrawObj*>(drawObj), true);
        auto* info = dynamic_cast<IQTKLineEdoInfo*>(edo.get());
        const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
        const double width = info ? info->GetWidth() : shape->GetWidth();
        const double axisOffset = info ? info->GetAxisOffset() : shape->GetAxisOffset();
        return BuildGradientBeamSolid(drawObj, line, axisOffset, width);
    }
    QTK_ASSERT(!IsArchDrawObj(drawObj));
    return BuildSectionSolidAlongLine(drawObj, line, true);
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildHaunchedBeamOffsetSolid(const IQTKElementDrawObj* drawObj,
                                                                                 const TVRMCustomLine2d& line,
                                                                                 double offset, double axisOffset,
                                                                                 double width)
{
    if (IsGradientBeamDrawObj(drawObj))
        return BuildGradientBeamOffsetSolid(drawObj, line, offset, axisOffset, width);
    QTK_ASSERT(!IsArchDrawObj(drawObj));
    const IQTKLineShape* shape = GetDrawObjLineShape(drawObj);
    if (!shape || shape->GetPolygon().GetCount() == 0)
        return nullptr;
    TVRMPoint2d reference = TopMiddle(shape->GetPolygon());
    const auto grown = GetOffsetLineEntOutline(drawObj->GetRecord(), false, nullptr, offset, false, false);
    if (!grown || grown->GetCount() == 0)
        return nullptr;
    reference.x = TopMiddle(*grown).x;
    auto solid = TVRMPolyhedron3d::CreateSweep(*grown, line, reference, shape->GetTopElevAt(line.StartPt()),
                                               shape->GetTopElevAt(line.EndPt()));
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> haunches;
    TQTKHaunchedBeamPolyhedronBuilder::BuildByOffset(drawObj, haunches, offset);
    UniteInto(*solid, haunches);
    return solid;
}

std::unique_ptr<TVRMPolyhedron3d> TQTKSolidBuilder::BuildHaunchedBeamSolid(IQTKBeamCalcEDO* beam,
                                                                           const TVRMPolyhedron3d& solid)
{
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> haunches;
    TQTKHaunchedBeamPolyhedronBuilder::BuildByEdo(beam->GetElementDrawObj(), haunches);
    auto result = solid.Clone();
    UniteInto(*result, haunches);
    return result;
}
