#include "Calculator/Strategies/BeamStrategies/QTKLintelCalculator.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorExprBeam.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKArchSectionPolygons.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CLintelType = 12;
constexpr int CTieBeamType = 18;
constexpr int CRibbonWindowType = 8;
constexpr int CRibbonOpeningType = 9;
constexpr double CMergeTolerance = 0.0010123456789;

Ref<IQTKLintelCalcEDO> GetLintelEdo(IRDXRecord* record)
{
    const Ref<IQTKLintelCalcEDO> lintel = RefCast<IQTKLintelCalcEDO>(GetCalcEDO(record, true));
    if (!lintel)
        throw EIntfCastError("the element is not a lintel");
    return lintel;
}

// One arch record's length along the lintel of plan length Length.
double ArchLength(const std::array<int, 5>& r, double length, bool half)
{
    if (half)
        return r[0] + GetArcLength(r[0], static_cast<int>(Round(2.0 * length - r[0])), r[2], r[3], r[4]) / 2.0;
    return (length - r[1] + r[0]) + GetArcLength(r[0], r[1], r[2], r[3], r[4]);
}

// The height the wall's other lintels and ring beams along this lintel (more
// than 100 mm of the lintel's line in common) make up between the wall's
// bottom and the lintel's bottom, at the lintel's reference point.
double StackedHeight(IRDXRecord* lintel, IRDXRecord* wall)
{
    const Ref<IQTKCalculatorEDO> wallEdo = GetCalcEDO(wall, true);
    const IQTKLineShape* own = GetRecordLineShape(lintel);
    const IQTKLineShape* wallShape = GetRecordLineShape(wall);
    TVRMPoint2d at;
    if (!wallEdo || !own || !wallShape || !LineReferencePoint(lintel, at))
        return 0.0;
    const double ownBottom = own->GetEndPtBottomElev();
    const double wallBottom = wallShape->GetBottomElevAt(at);
    std::vector<std::pair<double, double>> ranges;
    TRecordList members;
    wallEdo->GetRelatedByTypes(MakeElementTypeSet({CLintelType, CTieBeamType}), &members);
    for (const RecordRef& other : members) {
        const IQTKLineShape* shape = GetRecordLineShape(other.get());
        if (other->GetID() == lintel->GetID() || !shape ||
            !TVRMPositionFunc2d::IsParallel(shape->GetLine(), own->GetLine(), 0.002))
            continue;
        TVRMCustomLine2d piece;
        if (!TVRMPositionFunc2d::SubSeg(shape->GetLine(), own->GetLine(), piece) ||
            !GreaterThan(piece.Length(), 100.0, CMergeTolerance))
            continue;
        const double bottom = shape->GetBottomElevAt(at);
        if (GreaterEqualThan(bottom, wallBottom, CMergeTolerance) && LessThan(bottom, ownBottom, CMergeTolerance))
            ranges.emplace_back(bottom, std::min(shape->GetTopElevAt(at), ownBottom));
    }
    return MergedLength(std::move(ranges));
}

}  // namespace

// ---------------------------------------------------------------------------

double TQTKLintelLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                   const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const IQTKLineShape* shape = GetRecordLineShape(subject.get());
    const bool half = IsPartialArchDrawObj(GetRecordDrawObj(subject.get()));
    if (shape && (half || IsArchRecord(subject.get()))) {
        const TQTKLineSectionInfo& info = shape->GetSectionInfo();
        const double length = shape->GetLine().Length();
        return (ArchLength(info.firstArch, length, half) + ArchLength(info.secondArch, length, half)) / 2.0;
    }
    const TVRMCustomLine2d* line = GetLintelEdo(subject.get())->GetCalcLine();
    return line ? line->Length() : 0.0;
}

double TQTKLintelWidth::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                  const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const double width = GetRecordPropFloat(subject.get(), "SectionWidth");
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(subject.get());
    IRDXRecord* opening = drawObj ? drawObj->GetParentRecord() : nullptr;
    if (!IsZero(width, CMergeTolerance) || !opening)
        return width;
    const int type = GetRecordElementTypeID(opening);
    if (type != CRibbonWindowType && type != CRibbonOpeningType) {
        const IQTKElementDrawObj* openingObj = GetRecordDrawObj(opening);
        IRDXRecord* wall = openingObj ? openingObj->GetParentRecord() : nullptr;
        return wall ? GetRecordPropFloat(wall, "Thickness") : 0.0;
    }
    RecordRef wall;
    return FindOpeningWall(opening, wall) ? GetRecordPropFloat(wall.get(), "Thickness") : 0.0;
}

double TQTKLintelHeight::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                   const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetRecordPropFloat(subject.get(), "SectionHeight");
}

double TQTKLintelSectionArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                        const TableSourceRef&)
{
    QTK_ASSERT(subject);
    if (IsArchRecord(subject.get()))
        return 0.0;
    const TVRMMultiPolygon2d* section = GetLintelEdo(subject.get())->GetPlanPolygon();
    const double area = section ? section->Area() : 0.0;
    if (!IsZero(area))
        BuildSectionAreaExpr(subject.get(), section);
    return area;
}

double TQTKLintelVolDeductByFace::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                            const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    TQTKSolidCalc3d* volume = GetLintelEdo(subject.get())->GetVolumeCalc();
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    return volume && solid ? volume->Subtract(*solid, object.get(), nullptr, true, false) : 0.0;
}

double TQTKLintelVolDeductWallWhenMergeHeightLargerThanCerteinHeight::Calculate(const RecordRef& subject,
                                                                                const RecordRef& object,
                                                                                const TableSourceRef&,
                                                                                const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKLintelCalcEDO> lintel = GetLintelEdo(subject.get());
    const double threshold = IsInnerWallRecord(object.get()) ? 250.0 : 350.0;
    const double shortfall = threshold - StackedHeight(subject.get(), object.get());
    if (LessEqualThan(shortfall, 0.0, CMergeTolerance))
        return 0.0;
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(subject.get());
    const std::shared_ptr<const TVRMPolyhedron3d> own = HoldOriginalSolid(subject.get());
    const std::shared_ptr<const TVRMPolyhedron3d> wallSolid = HoldOriginalSolid(object.get());
    TQTKSolidCalc3d* volume = lintel->GetVolumeCalc();
    if (!drawObj || !own || !wallSolid || !volume)
        return 0.0;
    // The lintel's lowest Shortfall, where the wall holds it.
    const double cut = drawObj->GetBox().min.z + shortfall;
    std::unique_ptr<TVRMPolyhedron3d> above;
    const std::unique_ptr<TVRMPolyhedron3d> piece =
        own->Cut(TVRMPlane3d(TVRMVector3d(0, 0, 1), TVRMPoint3d(0, 0, cut)), above, 1.0123456789e-5);
    if (!piece || !piece->HasFaces())
        return 0.0;
    TVRMNewPolyBooleanOperator::BooleanOperate(*piece, *wallSolid, CVRMBoolIntersect, 1);
    return piece->HasFaces() ? volume->Subtract(*piece, object.get(), nullptr, true, false) : 0.0;
}

double TQTKLintelSideFormBoardArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                              const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetLintelEdo(subject.get())->CalcSideFormboardArea();
}

double TQTKLintelOutBottomFormBoardArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                   const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const TQTKShellCalc3d* bottom = GetLintelEdo(subject.get())->GetBottomShellCalc();
    const double area = bottom ? bottom->GetArea() : 0.0;
    BuildLintelOutBottomFormboardAreaExpr(subject.get(), bottom, area);
    return area;
}

double TQTKLintelEndFormBoardArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                             const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetLintelEdo(subject.get())->CalcEndFormboardArea();
}

double TQTKLintelFormBoardAreaDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                                      const TableSourceRef&, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKLintelCalcEDO> lintel = GetLintelEdo(subject.get());
    const bool objectFirst = CompareFormboardPriority(subject.get(), object.get(), ruleContext) < 0;
    TQTKShellCalc3d* sides = lintel->GetFormboardShellCalc();
    TQTKShellCalc3d* bottom = lintel->GetBottomShellCalc();
    if (IsConcreteWallRecord(object.get())) {
        double area = 0.0;
        if (sides)
            area += SubtractWallFromShell(*sides, object.get(), objectFirst, false);
        if (bottom)
            area += SubtractWallFromShell(*bottom, object.get(), objectFirst, false);
        return area;
    }
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    double area = sides ? SubtractSolid(*sides, solid.get(), object.get(), KindsFor(objectFirst)) : 0.0;
    if (objectFirst && bottom)
        area += SubtractSolid(*bottom, solid.get(), object.get(), KindsFor(true));
    return area;
}

double TQTKStdLintelVolume::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                      const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetRecordPropFloat(subject.get(), "Volume") * 1000000000.0;
}

double TQTKLintelOriginalVol::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                        const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const TQTKSolidCalc3d* volume = GetLintelEdo(subject.get())->GetVolumeCalc();
    const double result = volume ? volume->GetVolume() : 0.0;
    BuildLintelVolExpr(subject.get(), result);
    return result;
}

void RegisterLintelRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKLintelLength);
    QTK_REGISTER(registry, TQTKLintelWidth);
    QTK_REGISTER(registry, TQTKLintelHeight);
    QTK_REGISTER(registry, TQTKLintelSectionArea);
    QTK_REGISTER(registry, TQTKLintelVolDeductByFace);
    QTK_REGISTER(registry, TQTKLintelVolDeductWallWhenMergeHeightLargerThanCerteinHeight);
    QTK_REGISTER(registry, TQTKLintelSideFormBoardArea);
    QTK_REGISTER(registry, TQTKLintelOutBottomFormBoardArea);
    QTK_REGISTER(registry, TQTKLintelEndFormBoardArea);
    QTK_REGISTER(registry, TQTKLintelFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKStdLintelVolume);
    QTK_REGISTER(registry, TQTKLintelOriginalVol);
}
