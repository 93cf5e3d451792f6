#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CTol = 0.0010123456789;
constexpr double CBandMargin = 100.0;
constexpr int CInsulatingWallUnitType = 86;

// The element's part solid (its solid less the elements it gives way to) and
// its original solid; the object is held while they are used.
struct TPartSolid {
    Ref<IQTKCalculatorEDO> holder;
    Ref<IQTKPolyhedron3dIntf> original;
    const TVRMPolyhedron3d* part = nullptr;
};

TPartSolid PartSolidOf(IRDXRecord* record)
{
    QTK_ASSERT(record != nullptr);
    TPartSolid solids;
    solids.holder = GetCalcEDO(record, true);
    if (GetRecordElementTypeID(record) == CInsulatingWallUnitType) {
        if (auto* unit = dynamic_cast<IQTKInsulatingWallUnitCalcEDO*>(solids.holder.get()))
            solids.part = unit->GetSolidWithoutPriorElements();
    } else if (auto* line = dynamic_cast<IQTKLineEntBaseCalcEDO*>(solids.holder.get())) {
        solids.part = line->GetSolidWithoutPriorElements();
    }
    if (solids.part)
        solids.original = solids.holder->GetOriginalPolyhedronIntf();
    return solids;
}

const TVRMPolyhedron3d* SolidOf(const Ref<IQTKPolyhedron3dIntf>& holder)
{
    return holder ? holder->GetPolyhedron() : nullptr;
}

// The band beside the line: the sector under an arc no wider than the band
// whose band side faces its centre, else the ring between the line and its
// offset by the width.
TVRMPolygon2d BandPolygon(const TVRMCustomLine2d& line, bool rightSide, double width)
{
    TVRMPoint2d center;
    if (line.IsArc() && LessEqualThan(line.Radius(), width, CTol) && line.CenterPt(center)) {
        // The centre lies right of a clockwise arc and left of a counter-clockwise one.
        if (line.IsClockwise() == rightSide) {
            // Counter-clockwise: along a counter-clockwise arc and back to the
            // centre, or from the centre along a clockwise arc taken backwards.
            TVRMPolygon2d sector;
            if (line.IsClockwise()) {
                sector.Add(center);
                sector.Add(TVRMVertex2d{line.EndPt(), line.Radius(),
                                        line.ArcKind() == CVRMArcKindCW ? CVRMArcKindCCW : CVRMArcKindCCWMajor});
                sector.Add(line.StartPt());
            } else {
                sector.Add(TVRMVertex2d{line.StartPt(), line.Radius(), line.ArcKind()});
                sector.Add(line.EndPt());
                sector.Add(center);
            }
            return sector;
        }
    }
    TVRMCustomLine2d offset = line;
    TVRMOffsetFunc2d::Offset(line, rightSide ? width : -width, offset);
    return TVRMPolygon2d::CreateBetweenLines(line, offset);
}

}  // namespace

double DeductPartSolid(TQTKSolidCalc3d& calc, IRDXRecord* record)
{
    const TPartSolid solids = PartSolidOf(record);
    return solids.part ? calc.Subtract(*solids.part, record, SolidOf(solids.original), true, true) : 0.0;
}

double AddPartSolid(TQTKSolidCalc3d& calc, IRDXRecord* record)
{
    return DeductPartSolid(calc, record);
}

double OverhighDeductParallelPart(TVRMOverhighSolidCalc3d& calc, IRDXRecord* record)
{
    const TPartSolid solids = PartSolidOf(record);
    return solids.part ? calc.Subtract(*solids.part, record, SolidOf(solids.original)) : 0.0;
}

double OverhighDeductCrossingPart(TVRMOverhighSolidCalc3d& calc, IRDXRecord* record)
{
    return OverhighDeductParallelPart(calc, record);
}

namespace {

// Solid with the band prism beside Line intersected (Kind CVRMBoolIntersect)
// or taken away (CVRMBoolSubtract); without a band, nothing or all of it.
std::unique_ptr<TVRMPolyhedron3d> OperateWithLineBand(const TVRMPolyhedron3d& solid, const TVRMCustomLine2d& line,
                                                      bool rightSide, double width, int kind)
{
    if (!solid.HasFaces() || !(width > 0.0) || !(line.Length() > CTol))
        return kind == CVRMBoolSubtract ? solid.Clone() : std::make_unique<TVRMPolyhedron3d>();
    TVRMCustomLine2d extended = line;
    double endExt = 0.0, startExt = 0.0;
    CalcLineEDOExtendLength(line, endExt, startExt, -1);
    extended.ExtendBack(endExt);
    extended.ExtendForward(endExt);
    TVRMMultiPolygon2d band;
    band.Add(BandPolygon(extended, rightSide, width));
    const TVRMBox3d box = solid.GetBox();
    const auto prism =
        TVRMPolyhedron3d::CreatePrism(band, box.min.z - CBandMargin, box.max.z - box.min.z + 2 * CBandMargin);
    auto result = solid.Clone();
    TVRMNewPolyBooleanOperator::BooleanOperate(*result, *prism, kind);
    return result;
}

}  // namespace

std::unique_ptr<TVRMPolyhedron3d> CutSolidByLineBand(const TVRMPolyhedron3d& solid, const TVRMCustomLine2d& line,
                                                     bool rightSide, double width)
{
    return OperateWithLineBand(solid, line, rightSide, width, CVRMBoolIntersect);
}

std::unique_ptr<TVRMPolyhedron3d> CutLineBandFromSolid(const TVRMPolyhedron3d& solid, const TVRMCustomLine2d& line,
                                                       bool rightSide, double width)
{
    return OperateWithLineBand(solid, line, rightSide, width, CVRMBoolSubtract);
}

std::unique_ptr<TVRMPolyhedron3d> BuildBeamSidePrism(IRDXRecord* beam, const TVRMPoint2d& p1,
                                                     const TVRMCustomLine2d& piece, const TVRMPoint2d& p2)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(beam);
    const auto* shape = drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
    if (!shape)
        return std::make_unique<TVRMPolyhedron3d>();
    const double width = EdoPropValueFloat(drawObj->GetPropValues(), "SectionWidth");
    return TVRMPolyhedron3d::CreateBand(piece, width, width / 2.0, shape->GetBottomElevAt(p1), shape->GetTopElevAt(p1),
                                        shape->GetBottomElevAt(p2), shape->GetTopElevAt(p2));
}

std::unique_ptr<TVRMPolyhedron3d> CutSolidAtLineSide(IRDXRecord* record, bool clockwiseNormal,
                                                     std::unique_ptr<TVRMPolyhedron3d>& second)
{
    QTK_ASSERT(record != nullptr);
    second = std::make_unique<TVRMPolyhedron3d>();
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    const auto* shape = drawObj ? dynamic_cast<const IQTKLineShape*>(drawObj->GetShape()) : nullptr;
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    const Ref<IQTKPolyhedron3dIntf> original = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
    const TVRMPolyhedron3d* solid = SolidOf(original);
    if (!shape || !solid || !GreaterThan(shape->GetLine().Length(), 0.0, CTol))
        return std::make_unique<TVRMPolyhedron3d>();
    const TVRMCustomLine2d& line = shape->GetLine();
    const TVRMVector2d normal = line.StartDirection().RotateHalfPi(clockwiseNormal);
    const TVRMPlane3d plane({normal.x, normal.y, 0.0}, {line.StartPt().x, line.StartPt().y, 0.0});
    auto first = solid->Cut(plane, second, 1.0123456789e-5);
    if (!second)
        second = std::make_unique<TVRMPolyhedron3d>();
    return first ? std::move(first) : std::make_unique<TVRMPolyhedron3d>();
}

std::unique_ptr<TVRMPolyhedron3d> BuildPrismFromSegments(const TVRMCustomLine2d& line, const TVRMCustomLine2d& segment1,
                                                         const TVRMCustomLine2d& segment2,
                                                         const TQTKPrismValues& values)
{
    std::vector<TVRMPoint2d> feet;
    for (const TVRMPoint2d& p : {segment1.StartPt(), segment1.EndPt(), segment2.StartPt(), segment2.EndPt()})
        feet.push_back(TVRMPositionFunc2d::ClosestPointTo(p, line, true));
    TVRMPositionFunc2d::SortPoint(feet, line);
    const double from = line.LengthAtPoint(feet[1]);
    const double to = line.LengthAtPoint(feet[2]);
    if (!GreaterThan(to, from, CTol))
        return std::make_unique<TVRMPolyhedron3d>();
    return TVRMPolyhedron3d::CreateBand(line.SubLine(from, to), values.width, values.leftOffset, values.startBottom,
                                        values.startTop, values.endBottom, values.endTop);
}
