#include "Calculator/Strategies/BeamStrategies/QTKBeamVolCalculator.h"

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorExprBeam.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKDeductPolyhedronLines.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CWallType = 0;
constexpr int CLintelType = 12;
constexpr int CBeamType = 15;
constexpr int CTieBeamType = 18;

// Takes Solid off the beam's volume on behalf of Record; the volume removed.
double SubtractFromBeam(IQTKBeamCalcEDO& beam, const TVRMPolyhedron3d& solid, IRDXRecord* record)
{
    TQTKSolidCalc3d* volume = beam.GetVolumeCalc();
    return volume ? volume->Subtract(solid, record, nullptr, true, true) : 0.0;
}

double TypeTwoOf(IRDXRecord* record)
{
    return GetRecordPropFloat(record, "Type2", -1.0);
}

// The line shape of another member stacked with Own at a point, or nil: not
// Own itself, and not a parallel one sharing 100 mm of axis or less.
const IQTKLineShape* StackedShape(const RecordRef& other, IRDXRecord* own, const IQTKLineShape& ownShape)
{
    const IQTKLineShape* shape = GetRecordLineShape(other.get());
    if (other->GetID() == own->GetID() || !shape)
        return nullptr;
    TVRMCustomLine2d piece;
    if (TVRMPositionFunc2d::IsParallel(shape->GetLine(), ownShape.GetLine(), 0.002) &&
        !(TVRMPositionFunc2d::SubSeg(shape->GetLine(), ownShape.GetLine(), piece) &&
          GreaterThan(piece.Length(), 100.0)))
        return nullptr;
    return shape;
}

}  // namespace

// ---------------------------------------------------------------------------

double TQTKBeamVolByMiddleLine::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                          const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    beam->SetUseAxisLength(ByAxisLine());
    const TQTKDeductPolyhedronLines* lines = beam->GetDeductPolyhedronLines();
    return lines ? lines->GetLength() : 0.0;
}

double TQTKBeamOriginalVolumeByMiddleLine::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                     const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    beam->SetUseAxisLength(ByAxisLine());
    const TQTKSolidCalc3d* volume = beam->GetVolumeCalc();
    const double result = volume ? volume->GetVolume() : 0.0;
    BuildBeamVolExpr(subject.get(), ByAxisLine(), result);
    return result;
}

// ---------------------------------------------------------------------------

double TQTKFDOriginalVolumeByWall::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                             const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    beam->SetUseAxisLength(false);
    const TVRMCustomLine2d* middle = beam->GetMidLine();
    if (!middle || LessEqualThan(middle->Length(), 0.0))
        return 0.0;
    const double length = middle->Length();
    const double effective = GetFDBeamWallWeightedLength(subject.get());
    const double factor = effective / length;
    beam->CreateVolumeCalc(factor);
    TQTKSolidCalc3d* volume = beam->GetVolumeCalc();
    if (!volume)
        return 0.0;
    // A calculator another rule built first keeps its solid but takes this weight.
    volume->SetFactor(factor);
    return volume->GetVolume();
}

// ---------------------------------------------------------------------------

TQTKVolumeTarget TQTKBeamVolumeRule::VolumeOf(const RecordRef& subject, const TableSourceRef&,
                                              const TableSourceRef&) const
{
    return TQTKVolumeTarget(GetBeamEdo(subject.get())->GetVolumeCalc());
}

bool TQTKBeamVolDeductByFact::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return IsHoleOnLineEnt(beam, object);
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKBeamVolDeductByFact::DeductedSolid(IRDXRecord* object) const
{
    return HoldOriginalSolid(object);
}

double TQTKBeamVolDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                          const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!IsDeducted(subject.get(), object.get()))
        return 0.0;
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = volume ? DeductedSolid(object.get()) : nullptr;
    return solid ? volume.Subtract(*solid, object.get()) : 0.0;
}

bool TQTKBeamVolDeductBeam::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsSameElementType(beam, object) || IsLineEntCutBy(beam, object, true);
}

bool TQTKSingleBeamVolDeductTieColumn::IsDeducted(IRDXRecord* beam, IRDXRecord*) const
{
    return IsSingleBeamRecord(beam);
}

bool TQTKInnerBeamVolDeductBoard::IsDeducted(IRDXRecord* beam, IRDXRecord*) const
{
    return !HasOuterFlag(beam);
}

bool TQTKBeamVolDeductBeelineStearSeg::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return IsBeamOverStairSegment(beam, object);
}

bool TQTKFDBeamVolDeductNotParellelTrench::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsLineEntsParallel(beam, object);
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKFDBeamVolDeductNotParellelTrench::DeductedSolid(IRDXRecord* object) const
{
    return GetUnitTrenchWholeSolid(object);
}

bool TQTKTieBeamVolDeductNonFDColumn::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsOnFoundationFloor(beam) && TQTKBeamVolDeductByFact::IsDeducted(beam, object);
}

// ---------------------------------------------------------------------------

double TQTkBeamVolDuductBelowBoardSubBeam::Calculate(const RecordRef& subject, const RecordRef& object,
                                                     const TableSourceRef&, const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    if (beam->GetUseAxisLength()) {
        const Ref<IQTKLineEntBaseCalcEDO> other = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(object, true));
        const TVRMCustomLine2d* own = beam->GetMidLine();
        const TVRMCustomLine2d* theirs = other ? other->GetMidLine() : nullptr;
        if (own && theirs && TVRMPositionFunc2d::IsParallel(*own, *theirs, 0.002))
            return 0.0;
    }
    if (!SameValue(TypeTwoOf(subject.get()), 1.0))
        return 0.0;
    bool deducted = false;
    if (SameValue(TypeTwoOf(object.get()), 1.0)) {
        deducted = IsSubBeam(subject.get(), object.get());
    } else {
        // Another secondary beam under the slab that this one is secondary to.
        TRecordList beams;
        beam->GetRelatedByType(CBeamType, &beams);
        for (const RecordRef& other : beams)
            if (SameValue(TypeTwoOf(other.get()), 1.0) && IsSubBeam(subject.get(), other.get())) {
                deducted = true;
                break;
            }
    }
    const std::shared_ptr<const TVRMPolyhedron3d> solid = deducted ? HoldOriginalSolid(object.get()) : nullptr;
    return solid ? SubtractFromBeam(*beam, *solid, object.get()) : 0.0;
}

// ---------------------------------------------------------------------------

TQTKBeamVolWallPart::TPart TQTKBeamVolWallPart::PartOf(bool, IRDXRecord*, IRDXRecord*) const
{
    return TPart::None;
}

double TQTKBeamVolWallPart::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                                      const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const bool parallel = IsLineEntsParallel(subject.get(), object.get());
    const TPart part = PartOf(parallel, subject.get(), object.get());
    if (part == TPart::None)
        return 0.0;
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    if (!volume)
        return 0.0;
    switch (part) {
        case TPart::PartSolid:
            return volume.DeductPart(object.get(), parallel);
        case TPart::SpanPrism: {
            const auto prism = BuildBeamPrismOverWallSpan(subject.get(), object.get());
            return prism->HasFaces() ? volume.Subtract(*prism, object.get()) : 0.0;
        }
        case TPart::DeductedSolid: {
            const Ref<IQTKWallCalcEDO> wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(object, true));
            const TVRMPolyhedron3d* solid = wall ? wall->GetDeductedSolid() : nullptr;
            return solid ? volume.Subtract(*solid, object.get()) : 0.0;
        }
        case TPart::None:
            break;
    }
    return 0.0;
}

TQTKBeamVolWallPart::TPart TQTKBeamVolDeductParellelWall::PartOf(bool parallel, IRDXRecord*, IRDXRecord*) const
{
    return parallel ? TPart::PartSolid : TPart::None;
}

TQTKBeamVolWallPart::TPart TQTKBeamVolAddInParallelWall::PartOf(bool parallel, IRDXRecord*, IRDXRecord*) const
{
    return parallel ? TPart::SpanPrism : TPart::None;
}

TQTKBeamVolWallPart::TPart TQTKBeamVolAddInParallelAndSameThickWall::PartOf(bool parallel, IRDXRecord* beam,
                                                                            IRDXRecord* wall) const
{
    return parallel && IsWallWithinBeamWidth(beam, wall) ? TPart::PartSolid : TPart::None;
}

TQTKBeamVolWallPart::TPart TQTKBeamVolDeductNotParallelWall::PartOf(bool parallel, IRDXRecord* beam,
                                                                    IRDXRecord* wall) const
{
    return !parallel && IsOnThinnerParallelWall(beam, wall) ? TPart::PartSolid : TPart::None;
}

TQTKBeamVolWallPart::TPart TQTKBeamVolGiveParallelWallDeductNotParallelWall::PartOf(bool parallel, IRDXRecord*,
                                                                                    IRDXRecord*) const
{
    return parallel ? TPart::SpanPrism : TPart::DeductedSolid;
}

TQTKBeamVolWallPart::TPart TQTKBeamVolAddInParallelAndSameThickWallDeductNotParallelWall::PartOf(bool parallel,
                                                                                                 IRDXRecord* beam,
                                                                                                 IRDXRecord* wall) const
{
    const bool taken = parallel ? IsWallWithinBeamWidth(beam, wall) : IsOnThinnerParallelWall(beam, wall);
    return taken ? TPart::PartSolid : TPart::None;
}

// ---------------------------------------------------------------------------

double TQTKBeamVolAddHaunchVol::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                          const TableSourceRef&)
{
    QTK_ASSERT(subject);
    if (!IsHaunchedBeamRecord(subject.get()))
        return 0.0;
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    const TVRMPolyhedron3d* withoutHaunches = beam->GetArchSolid();
    const TVRMPolyhedron3d* original = beam->GetOriginalPolyhedron();
    TQTKSolidCalc3d* volume = beam->GetVolumeCalc();
    if (!withoutHaunches || !original || !volume)
        return 0.0;
    const double before = volume->GetVolume();
    auto haunches = original->Clone();
    TVRMNewPolyBooleanOperator::BooleanOperate(*haunches, *withoutHaunches, CVRMBoolSubtract);
    volume->Unite(*haunches, subject.get(), original, true, true);
    return volume->GetVolume() - before;
}

// ---------------------------------------------------------------------------

double TQTKTieBeamVolGiveLintelIntLength::Calculate(const RecordRef& subject, const RecordRef& object,
                                                    const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    if (!volume)
        return 0.0;
    const TVRMCustomLine2d* middle = beam->GetMidLine();
    const IQTKElementDrawObj* lintel = GetRecordDrawObj(object.get());
    const double length = GetRecordPropFloat(object.get(), "Len", 0.0);
    if (!middle || !lintel || LessEqualThan(length, 0.0))
        return 0.0;
    // The lintel's point: its insertion point, or the middle of its line.
    TVRMPoint2d at;
    if (const auto* point = dynamic_cast<const IQTKPointShape*>(lintel->GetShape()))
        at = point->GetInsertPt();
    else if (!LineReferencePoint(object.get(), at))
        return 0.0;
    const double along = middle->LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(at, *middle));
    const TVRMCustomLine2d piece =
        TVRMPositionFunc2d::SubSeg(*middle, along - length / 2.0, along + length / 2.0, true);
    const auto prism = BuildBeamSidePrism(subject.get(), piece.StartPt(), piece, piece.EndPt());
    return prism->HasFaces() ? volume.Subtract(*prism, object.get()) : 0.0;
}

// ---------------------------------------------------------------------------

namespace {

// The lintel prism of a lintel over an opening of the wall: the lintel's band
// from its bottom up to the ring beam's top less (section height - x) less
// the height of lintels stacked under it; nil when the lintel does not reach
// below the ring beam or another lintel sits between them.
std::unique_ptr<TVRMPolyhedron3d> BuildLintelPrism(IRDXRecord* ringBeam, IRDXRecord* wall, IRDXRecord* lintel,
                                                   const TRecordList& wallLintels, double lowered)
{
    const IQTKLineShape* ring = GetRecordLineShape(ringBeam);
    const IQTKLineShape* wallShape = GetRecordLineShape(wall);
    const IQTKLineShape* own = GetRecordLineShape(lintel);
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(lintel);
    TVRMPoint2d at;
    if (!ring || !wallShape || !own || !drawObj || !LineReferencePoint(lintel, at))
        return nullptr;
    const double ownBottom = drawObj->GetBox().min.z;
    if (!GreaterThan(ring->GetBottomElevAt(at), ownBottom))
        return nullptr;
    std::vector<std::pair<double, double>> stacked;
    for (const RecordRef& other : wallLintels) {
        const IQTKLineShape* shape = StackedShape(other, lintel, *own);
        if (!shape)
            continue;
        const double bottom = shape->GetBottomElevAt(at);
        if (bottom < wallShape->GetBottomElevAt(at))
            continue;
        if (bottom < ownBottom)
            stacked.emplace_back(bottom, std::min(shape->GetTopElevAt(at), ownBottom));
        else if (bottom < ring->GetBottomElevAt(at))
            return nullptr;
    }
    const double below = MergedLength(std::move(stacked));
    const TVRMCustomLine2d& line = own->GetLine();
    double startTop = 0.0, endTop = 0.0;
    if (TVRMPositionFunc2d::IsParallel(line, ring->GetLine(), 0.002)) {
        startTop = ring->GetTopElevAt(line.StartPt());
        endTop = ring->GetTopElevAt(line.EndPt());
    } else {
        std::vector<TVRMPoint2d> crossing;
        if (TVRMIntersectFunc2d::Intersect(line, ring->GetLine(), crossing) != 1)
            return nullptr;
        startTop = endTop = ring->GetTopElevAt(crossing.front());
    }
    startTop -= lowered + below;
    endTop -= lowered + below;
    return TVRMPolyhedron3d::CreateBand(line, own->GetWidth(), own->GetAxisOffset(), ownBottom, startTop, ownBottom,
                                        endTop);
}

}  // namespace

double TQTKTieBeamDeductLintelWhenMergeHeightLargerThanCerteinHeight::Calculate(const RecordRef& subject,
                                                                                const RecordRef& object,
                                                                                const TableSourceRef&,
                                                                                const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    const Ref<IQTKWallCalcEDO> wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(object, true));
    const IQTKLineShape* ring = GetRecordLineShape(subject.get());
    const IQTKLineShape* wallShape = GetRecordLineShape(object.get());
    TVRMPoint2d at;
    if (!wall || !ring || !wallShape || !LineReferencePoint(subject.get(), at))
        return 0.0;
    const double threshold = IsInnerWallRecord(object.get()) ? 250.0 : 350.0;
    // What other ring beams on the wall below this one already make up.
    const double ownBottom = ring->GetBottomElevAt(at), wallBottom = wallShape->GetBottomElevAt(at);
    std::vector<std::pair<double, double>> stacked;
    TRecordList ringBeams;
    wall->GetRelatedByType(CTieBeamType, &ringBeams);
    for (const RecordRef& other : ringBeams) {
        const IQTKLineShape* shape = StackedShape(other, subject.get(), *ring);
        if (!shape)
            continue;
        const double bottom = shape->GetBottomElevAt(at);
        if (bottom >= wallBottom && bottom < ownBottom)
            stacked.emplace_back(bottom, std::min(shape->GetTopElevAt(at), ownBottom));
    }
    const double x = threshold - MergedLength(std::move(stacked));
    if (LessEqualThan(x, 0.0))
        return 0.0;
    // The wall's band from its bottom up to the lowest x of the ring beam.
    const double lowered = beam->GetSectionHeight() - x;
    const TVRMCustomLine2d* wallLine = wall->GetMidLine();
    if (!wallLine)
        return 0.0;
    std::unique_ptr<TVRMPolyhedron3d> prism;
    const double thickness = wall->GetThickness();
    if (TVRMPositionFunc2d::IsParallel(*wallLine, ring->GetLine(), 0.002)) {
        TVRMCustomLine2d piece;
        if (!TVRMPositionFunc2d::SubSeg(*wallLine, ring->GetLine(), piece))
            return 0.0;
        const double startTop = ring->GetTopElevAt(piece.StartPt()) - lowered;
        const double endTop = ring->GetTopElevAt(piece.EndPt()) - lowered;
        const double startBottom = wallShape->GetBottomElevAt(piece.StartPt());
        const double endBottom = wallShape->GetBottomElevAt(piece.EndPt());
        if (!GreaterThan(startTop, startBottom) || !GreaterThan(endTop, endBottom))
            return 0.0;
        prism =
            TVRMPolyhedron3d::CreateBand(piece, thickness, thickness / 2.0, startBottom, startTop, endBottom, endTop);
    } else {
        std::vector<TVRMPoint2d> crossing;
        if (TVRMIntersectFunc2d::Intersect(*wallLine, ring->GetLine(), crossing) != 1)
            return 0.0;
        const double top = ring->GetTopElevAt(crossing.front()) - lowered;
        const double bottom = wallShape->GetBottomElevAt(crossing.front());
        if (!GreaterThan(top, bottom))
            return 0.0;
        prism = TVRMPolyhedron3d::CreateBand(*wallLine, thickness, thickness / 2.0, bottom, top, bottom, top);
    }
    // Not above the wall's own lintels (those over its openings).
    TRecordList lintels, wallLintels;
    wall->GetRelatedByType(CLintelType, &wallLintels);
    for (const RecordRef& lintel : wallLintels) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(lintel.get());
        IRDXRecord* opening = drawObj ? drawObj->GetParentRecord() : nullptr;
        const IQTKElementDrawObj* openingObj = opening ? GetRecordDrawObj(opening) : nullptr;
        IRDXRecord* host = openingObj ? openingObj->GetParentRecord() : nullptr;
        if (host && host->GetID() == object->GetID())
            lintels.push_back(lintel);
    }
    for (const RecordRef& lintel : lintels)
        if (const auto lintelPrism = BuildLintelPrism(subject.get(), object.get(), lintel.get(), wallLintels, lowered))
            TVRMNewPolyBooleanOperator::BooleanOperate(*prism, *lintelPrism, CVRMBoolSubtract);
    return SubtractFromBeam(*beam, *prism, object.get());
}

// ---------------------------------------------------------------------------

double TQTKBeamVolumeDeductSlabByThinner::CombineThickness(double a, double b) const
{
    return std::min(a, b);
}

double TQTKBeamVolumeDeductSlabByThinner::DeductPiece(const TQTKVolumeTarget& volume, const TVRMPolyhedron3d& solid,
                                                      IRDXRecord* slab) const
{
    return volume.Subtract(solid, slab);
}

bool TQTKBeamVolumeDeductSlabByThinner::RecordJointPolygons() const
{
    return true;
}

double TQTKBeamVolumeDeductSlabByAve::CombineThickness(double a, double b) const
{
    return (a + b) / 2.0;
}

bool TQTKBeamVolumeDeductSlabByAve::RecordJointPolygons() const
{
    return false;
}

bool TQTKBeamVolDeductSlabByThinnerExceptSingleBeam::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsSingleBeamRecord(beam) && TQTKBeamVolumeDeductSlabByThinner::IsDeducted(beam, object);
}

double TQTKBeamVolumeDeductSlabByThinner::Calculate(const RecordRef& subject, const RecordRef& object,
                                                    const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const Ref<IQTKSlabCalculator> slab = RefCast<IQTKSlabCalculator>(GetCalcEDO(object, true));
    if (!slab)
        throw EIntfCastError("the element is not a slab");
    if (slab->IsCurvedFaceShape())
        return TQTKBeamVolDeductByFact::Calculate(subject, object, business, ruleContext);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    if (!IsDeducted(subject.get(), object.get()))
        return 0.0;
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    if (!volume)
        return 0.0;
    const std::optional<TVRMPlane3d> reference = GetSlabReferencePlane(*slab);
    const IQTKShape* slabShape = slab->GetElementDrawObj()->GetShape();
    const TVRMMultiPolygon2d* plan = beam->GetPlanPolygon();
    const TVRMCustomLine2d* left = beam->GetLeftLine();
    const TVRMCustomLine2d* right = beam->GetRightLine();
    if (!reference || !slabShape || !plan || !left || !right)
        return 0.0;
    auto rest = slabShape->GetOutline().Clone();
    TQTKSlabJointHooks hooks;
    hooks.combineThickness = [this](double a, double b) { return CombineThickness(a, b); };
    hooks.recordJointPolygons = RecordJointPolygons();
    hooks.deductPiece = [&](const TVRMPolyhedron3d& piece) { return DeductPiece(volume, piece, object.get()); };
    const double joints = DeductSlabJointStrips(*beam, *slab, object.get(), *plan, *left, *right, rest, hooks);
    // The rest of the slab at its own thickness.
    const auto solid = TVRMPolyhedron3d::CreateOnPlane(*rest, *reference, slab->GetThickness());
    return joints + DeductPiece(volume, *solid, object.get());
}

// ---------------------------------------------------------------------------

void RegisterBeamVolRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKBeamVolByMiddleLine);
    QTK_REGISTER(registry, TQTKBeamVolByAxisLine);
    QTK_REGISTER(registry, TQTKBeamOriginalVolumeByMiddleLine);
    QTK_REGISTER(registry, TQTKBeamOriginalVolumeByAxisLine);
    QTK_REGISTER(registry, TQTKFDOriginalVolumeByWall);
    QTK_REGISTER(registry, TQTKBeamVolDeductBeam);
    QTK_REGISTER(registry, TQTKBeamVolDeductByFact);
    QTK_REGISTER(registry, TQTkBeamVolDuductBelowBoardSubBeam);
    QTK_REGISTER(registry, TQTKBeamVolDeductParellelWall);
    QTK_REGISTER(registry, TQTKBeamVolAddInParallelWall);
    QTK_REGISTER(registry, TQTKBeamVolAddInParallelAndSameThickWall);
    QTK_REGISTER(registry, TQTKBeamVolDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKBeamVolGiveParallelWallDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKBeamVolAddInParallelAndSameThickWallDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKSingleBeamVolDeductTieColumn);
    QTK_REGISTER(registry, TQTKInnerBeamVolDeductBoard);
    QTK_REGISTER(registry, TQTKBeamVolDeductBeelineStearSeg);
    QTK_REGISTER(registry, TQTKBeamVolAddHaunchVol);
    QTK_REGISTER(registry, TQTKTieBeamDeductLintelWhenMergeHeightLargerThanCerteinHeight);
    QTK_REGISTER(registry, TQTKTieBeamVolGiveLintelIntLength);
    QTK_REGISTER(registry, TQTKFDBeamVolDeductNotParellelTrench);
    QTK_REGISTER(registry, TQTKBeamVolumeDeductSlabByThinner);
    QTK_REGISTER(registry, TQTKBeamVolumeDeductSlabByAve);
    QTK_REGISTER(registry, TQTKBeamVolDeductSlabByThinnerExceptSingleBeam);
    QTK_REGISTER(registry, TQTKTieBeamVolDeductNonFDColumn);
}
