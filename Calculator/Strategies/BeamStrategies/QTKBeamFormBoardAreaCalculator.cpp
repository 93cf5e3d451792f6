#include "Calculator/Strategies/BeamStrategies/QTKBeamFormBoardAreaCalculator.h"

#include <algorithm>
#include <memory>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorExprBeam.h"
#include "Calculator/Common/QTKCalculatorExprCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Common/QTKStrategiesCommonWallFace.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Calculator/Strategies/WallStrategies/QTKWallCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CLintelType = 12;
constexpr int CTieBeamType = 18;

// Switches the beam's face queries to its solid without haunches while it lives.
class TArchSolidSwitch {
public:
    TArchSolidSwitch(IQTKBeamCalcEDO& beam, bool on) : beam_(on ? &beam : nullptr)
    {
        if (beam_)
            beam_->SetUseArchSolid(true);
    }
    ~TArchSolidSwitch()
    {
        if (beam_)
            beam_->SetUseArchSolid(false);
    }
    TArchSolidSwitch(const TArchSolidSwitch&) = delete;
    TArchSolidSwitch& operator=(const TArchSolidSwitch&) = delete;

private:
    IQTKBeamCalcEDO* beam_;
};

int FormboardFaceCount(IQTKBeamCalcEDO& beam)
{
    const TVRMPolyhedronShell3d* shell = beam.GetFormboardShell();
    return shell ? shell->GetFaceCount() : 0;
}

double SubtractSolid(const TQTKShellTarget& calc, const TVRMPolyhedron3d* solid, IRDXRecord* record, int kinds)
{
    return calc.Subtract(solid, record, kinds);
}

// The neighbour's own solid with both kinds when it goes first, else the
// contact kind; a concrete wall without the fill walls laid in it.
double DeductByPrecedence(const TQTKShellTarget& calc, IRDXRecord* object, bool objectFirst)
{
    if (IsConcreteWallRecord(object))
        return calc.SubtractWall(object, objectFirst);
    return SubtractSolid(calc, HoldOriginalSolid(object).get(), object, KindsFor(objectFirst));
}

// A piece of a wall's solid; a concrete wall's without the fill walls overlaying it.
double DeductWallPiece(const TQTKShellTarget& calc, const TVRMPolyhedron3d& piece, IRDXRecord* wall, bool wallFirst)
{
    if (IsConcreteWallRecord(wall))
        return calc.SubtractWallPiece(piece, wall, wallFirst);
    return SubtractSolid(calc, &piece, wall, KindsFor(wallFirst));
}

// Between beams of one type the cut priority decides, otherwise the formwork priority.
bool IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext)
{
    if (IsSameElementType(beam, object))
        return IsLineEntCutBy(beam, object, false);
    return CompareFormboardPriority(beam, object, ruleContext) < 0;
}

bool IsFormboardFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext)
{
    return CompareFormboardPriority(beam, object, ruleContext) < 0;
}

}  // namespace

// ---------------------------------------------------------------------------

double TQTKBeamOriginalFormboardArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    const TArchSolidSwitch arch(*beam, IsHaunchedBeamDrawObj(GetRecordDrawObj(subject.get())));
    double area = beam->AddLeftSideFormboard();
    const int afterLeft = FormboardFaceCount(*beam);
    area += beam->AddRightSideFormboard();
    const int afterRight = FormboardFaceCount(*beam);
    area += beam->AddBottomFormboard();
    const int afterBottom = FormboardFaceCount(*beam);
    area += beam->AddTopFormboard();
    const int afterTop = FormboardFaceCount(*beam);
    BuildBeamFormboardAreaExpr(subject.get(), beam->GetFormboardShell(), afterLeft, afterRight, afterBottom, afterTop);
    return area;
}

// ---------------------------------------------------------------------------

bool TQTKBeamFacesOriginalFormboardArea::HasFormwork(IRDXRecord*) const
{
    return true;
}

double TQTKBeamFacesOriginalFormboardArea::AddFaces(IQTKBeamCalcEDO&, IRDXRecord*) const
{
    return 0.0;
}

double TQTKBeamFacesOriginalFormboardArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                     const TableSourceRef&)
{
    QTK_ASSERT(subject);
    if (!HasFormwork(subject.get()))
        return 0.0;
    return AddFaces(*GetBeamEdo(subject.get()), subject.get());
}

double TQTKBeamLeftOriginalFromboardArea::AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord*) const
{
    return beam.AddLeftSideFormboard();
}

double TQTKBeamRightOriginalFromboardArea::AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord*) const
{
    return beam.AddRightSideFormboard();
}

double TQTKBeamBottomOriginalFromboardArea::AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord*) const
{
    return beam.AddBottomFormboard();
}

double TQTKBeamEndOriginalFromboardArea::AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const
{
    const TArchSolidSwitch arch(beam, IsHaunchedBeamDrawObj(GetRecordDrawObj(record)));
    return beam.GetEndFormboardArea();
}

double TQTKFDBeamOriginalSideFormBoardArea::AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const
{
    const TArchSolidSwitch arch(beam, IsHaunchedBeamRecord(record));
    double area = beam.AddLeftSideFormboard();
    const int afterLeft = FormboardFaceCount(beam);
    area += beam.AddRightSideFormboard();
    BuildBeamFormboardAreaExpr(record, beam.GetFormboardShell(), afterLeft, FormboardFaceCount(beam), -1, -1);
    return area;
}

namespace {

// A brick mould against the sides replaces their formwork.
bool HasNoBrickMould(IRDXRecord* beam)
{
    return SameValue(GetRecordPropFloat(beam, "BrickMoldThickness", 0.0), 0.0);
}

}  // namespace

bool TQTKBeamLeftOriginalFromboardAreaConsiderBrick::HasFormwork(IRDXRecord* beam) const
{
    return HasNoBrickMould(beam);
}

bool TQTKBeamRightOriginalFromboardAreaConsiderBrick::HasFormwork(IRDXRecord* beam) const
{
    return HasNoBrickMould(beam);
}

bool TQTKFDBeamOriginalSideFormBoardAreaConsiderThickness::HasFormwork(IRDXRecord* beam) const
{
    return HasNoBrickMould(beam);
}

double TQTKBeamFormBoardAddHaunchedFromBoardArea::AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const
{
    if (!IsHaunchedBeamRecord(record))
        return 0.0;
    double deducted = 0.0;
    const double area = beam.CalcHaunchedFormboardArea(deducted);
    BuildHaunchFormboardAreaExpr(record, deducted, area);
    return area;
}

bool TQTKFDBeamFormBoardAddHaunchedFromBoardArea::HasFormwork(IRDXRecord* beam) const
{
    return RefCast<IQTKFDBeamCalcEDO>(GetCalcEDO(beam, true)) != nullptr;
}

// ---------------------------------------------------------------------------

double TQTKBeamFormBoardAreaDeduction::Deduct(const TQTKShellTarget&, IRDXRecord*, IRDXRecord*,
                                              const TableSourceRef&) const
{
    return 0.0;
}

double TQTKBeamFormBoardAreaDeduction::DeductByPrecedence(const TQTKShellTarget& calc, IRDXRecord* object,
                                                          bool objectFirst)
{
    return ::DeductByPrecedence(calc, object, objectFirst);
}

TQTKShellTarget TQTKBeamFormBoardAreaDeduction::ShellOf(const RecordRef& subject, const TableSourceRef&,
                                                        const TableSourceRef&) const
{
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    // Nothing to take from before the original rules added the beam's faces.
    if (!beam->GetFormboardShell())
        return TQTKShellTarget();
    return TQTKShellTarget(beam->GetFormboardShellCalc());
}

double TQTKBeamFormBoardAreaDeduction::Calculate(const RecordRef& subject, const RecordRef& object,
                                                 const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    const TQTKShellTarget calc = ShellOf(subject, business, ruleContext);
    return calc ? Deduct(calc, subject.get(), object.get(), ruleContext) : 0.0;
}

double TQTKBeamFormBoardAreaDeductByFact::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                                                 const TableSourceRef& ruleContext) const
{
    return DeductByPrecedence(calc, object, IsObjectFirst(beam, object, ruleContext));
}

double TQTKBeamFormBoardAreaDeductSlabForFUJIAN::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam,
                                                        IRDXRecord* object, const TableSourceRef& ruleContext) const
{
    const double byFact = TQTKBeamFormBoardAreaDeductByFact::Deduct(calc, beam, object, ruleContext);
    const auto cut = BuildSlabCutSolid(GetRecordDrawObj(beam), GetRecordDrawObj(object));
    return byFact + SubtractSolid(calc, cut.get(), object, CVRMSuperpositionBoth);
}

double TQTKBeamFormBoardAreaDeductBeam::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                                               const TableSourceRef& ruleContext) const
{
    return SubtractSolid(calc, HoldOriginalSolid(object).get(), object,
                         KindsFor(IsObjectFirst(beam, object, ruleContext)));
}

double TQTKBeamFromBoardAreaDeductSubBeam::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                                                  const TableSourceRef&) const
{
    return IsSubBeam(beam, object) ? SubtractSolid(calc, HoldOriginalSolid(object).get(), object, CVRMSuperpositionBoth)
                                   : 0.0;
}

double TQTKBeamFormBoardAreaDeductBeelineStearSeg::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam,
                                                          IRDXRecord* object, const TableSourceRef& ruleContext) const
{
    if (!IsBeamOverStairSegment(beam, object))
        return 0.0;
    return SubtractSolid(calc, HoldOriginalSolid(object).get(), object,
                         KindsFor(IsFormboardFirst(beam, object, ruleContext)));
}

double TQTKBeamFormBoardAreaDeductSameBottomElevBoard::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam,
                                                              IRDXRecord* object,
                                                              const TableSourceRef& ruleContext) const
{
    const std::shared_ptr<const TVRMPolyhedron3d> slab = HoldOriginalSolid(object);
    if (IsFormboardFirst(beam, object, ruleContext))
        return SubtractSolid(calc, slab.get(), object, CVRMSuperpositionBoth);
    if (!slab || !IsSameBottomElev(beam, object))
        return SubtractSolid(calc, slab.get(), object, CVRMSuperpositionContact);
    // Flush at the bottom: the slab reaches 5 mm lower, taking the beam's faces down to there.
    auto reach = slab->Clone();
    auto lowered = slab->Clone();
    lowered->Move(TVRMVector3d(0.0, 0.0, -5.0));
    TVRMNewPolyBooleanOperator::BooleanOperate(*reach, *lowered, CVRMBoolUnion);
    return SubtractSolid(calc, reach.get(), object, CVRMSuperpositionBoth);
}

double TQTKFDBeamFormBoardAreaDeductTrench::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                                                   const TableSourceRef& ruleContext) const
{
    IRDXRecord* trenchRecord = GetUnitTrench(object);
    if (IsLineEntsParallel(beam, trenchRecord))
        return 0.0;
    return SubtractSolid(calc, GetUnitTrenchWholeSolid(object).get(), trenchRecord,
                         KindsFor(IsFormboardFirst(beam, object, ruleContext)));
}

// ---------------------------------------------------------------------------

namespace {

// The halves of a parallel wall whose external face the outer beam's side
// lies in: the half on the flush side with both kinds, the other half,
// lowered 1 mm, by contact; the whole wall with both kinds when the beam is
// flush with both faces, by contact when with neither.
double DeductFlushFace(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* wall)
{
    int side = 0;
    IsBeamSideOnWallFace(beam, wall, side);
    if (side != 1 && side != 2)
        return DeductByPrecedence(calc, wall, side == 3);
    std::unique_ptr<TVRMPolyhedron3d> other;
    const auto flushHalf = CutSolidAtLineSide(wall, side == 1, other);
    double result = 0.0;
    if (flushHalf && flushHalf->HasFaces())
        result += DeductWallPiece(calc, *flushHalf, wall, true);
    if (other && other->HasFaces()) {
        other->Move(TVRMVector3d(0.0, 0.0, -1.0));
        result += DeductWallPiece(calc, *other, wall, false);
    }
    return result;
}

// The part of the wall below the ring beam's bottom (its "StartPtTopElev"
// less its section height), by contact.
double DeductWallBelowRingBeam(const TQTKShellTarget& calc, IRDXRecord* ringBeam, IRDXRecord* wall)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(wall);
    if (!solid)
        return 0.0;
    const double bottom = GetLineEndElevs(ringBeam).startTop - GetBeamEdo(ringBeam)->GetSectionHeight();
    const TVRMPlane3d plane(TVRMVector3d(0.0, 0.0, -1.0), TVRMPoint3d(0.0, 0.0, bottom));
    std::unique_ptr<TVRMPolyhedron3d> below;
    solid->Cut(plane, below, 1.0123456789e-5);
    return below && below->HasFaces() ? DeductWallPiece(calc, *below, wall, false) : 0.0;
}

}  // namespace

TQTKBeamFormBoardAreaWallPart::TPart TQTKBeamFormBoardAreaWallPart::PartOf(bool, IRDXRecord*, IRDXRecord*) const
{
    return TPart::None;
}

double TQTKBeamFormBoardAreaWallPart::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                                             const TableSourceRef& ruleContext) const
{
    switch (PartOf(IsLineEntsParallel(beam, object), beam, object)) {
        case TPart::ByPrecedence:
            return DeductByPrecedence(calc, object, IsFormboardFirst(beam, object, ruleContext));
        case TPart::SpanPrism: {
            const auto prism = BuildBeamPrismOverWallSpan(beam, object);
            return SubtractSolid(calc, prism.get(), object, CVRMSuperpositionBoth);
        }
        case TPart::SolidByPriority:
            return SubtractSolid(calc, HoldOriginalSolid(object).get(), object,
                                 KindsFor(IsFormboardFirst(beam, object, ruleContext)));
        case TPart::WallFirst:
            return DeductByPrecedence(calc, object, true);
        case TPart::FlushFace:
            return DeductFlushFace(calc, beam, object);
        case TPart::Contact:
            return SubtractSolid(calc, HoldOriginalSolid(object).get(), object, CVRMSuperpositionContact);
        case TPart::BelowRingBeam:
            return DeductWallBelowRingBeam(calc, beam, object);
        case TPart::None:
            break;
    }
    return 0.0;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKBeamFormBoardAreaDeductParallelWall::PartOf(bool parallel, IRDXRecord*,
                                                                                     IRDXRecord*) const
{
    return parallel ? TPart::ByPrecedence : TPart::None;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKBeamFormBoardAreaDeductNotParallelWall::PartOf(bool parallel, IRDXRecord*,
                                                                                        IRDXRecord*) const
{
    return parallel ? TPart::None : TPart::ByPrecedence;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKBeamFormBoardAreaGiveWallFormBoardArea::PartOf(bool parallel, IRDXRecord*,
                                                                                        IRDXRecord*) const
{
    return parallel ? TPart::SpanPrism : TPart::None;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKBeamFormBoardAreaGiveWallFormBoardAreaDeductNotParallelWall::PartOf(
    bool parallel, IRDXRecord*, IRDXRecord*) const
{
    return parallel ? TPart::SpanPrism : TPart::SolidByPriority;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKBeamFormBoardAreaGiveWallWhenSameThickness::PartOf(bool parallel,
                                                                                            IRDXRecord* beam,
                                                                                            IRDXRecord* wall) const
{
    return parallel && IsWallWithinBeamWidth(beam, wall) ? TPart::WallFirst : TPart::None;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKBeamFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall::PartOf(
    bool parallel, IRDXRecord* beam, IRDXRecord* wall) const
{
    return parallel && IsWallWithinBeamWidth(beam, wall) ? TPart::WallFirst : TPart::ByPrecedence;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKOutBeamFormBoardDeductWall::PartOf(bool parallel, IRDXRecord*,
                                                                            IRDXRecord*) const
{
    return parallel ? TPart::FlushFace : TPart::None;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKOutBeamFormBoardDeductWallDeductNotParallelWall::PartOf(bool parallel,
                                                                                                 IRDXRecord*,
                                                                                                 IRDXRecord*) const
{
    return parallel ? TPart::FlushFace : TPart::ByPrecedence;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom::PartOf(bool parallel,
                                                                                                     IRDXRecord*,
                                                                                                     IRDXRecord*) const
{
    return parallel ? TPart::BelowRingBeam : TPart::None;
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKTieBeamFormBoardAreaDeductParellelMasonryWall::PartOf(bool parallel,
                                                                                               IRDXRecord*,
                                                                                               IRDXRecord*) const
{
    return parallel ? TPart::Contact : TPart::None;
}

// ---------------------------------------------------------------------------

double TQTKTieBeamFormBoardAreaDeductLintel::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                                                    const TableSourceRef&) const
{
    if (!IsLineEntsParallel(beam, object))
        return SubtractSolid(calc, HoldOriginalSolid(object).get(), object, CVRMSuperpositionBoth);
    // The ring beam's section along the lintel's line.
    const IQTKLineShape* ring = GetRecordLineShape(beam);
    const IQTKLineShape* lintel = GetRecordLineShape(object);
    if (!ring || !lintel)
        return 0.0;
    const TVRMCustomLine2d& line = lintel->GetLine();
    const auto prism = TVRMPolyhedron3d::CreateBand(
        line, GetBeamEdo(beam)->GetSectionWidth(), ring->GetAxisOffset(), ring->GetBottomElevAt(line.StartPt()),
        ring->GetTopElevAt(line.StartPt()), ring->GetBottomElevAt(line.EndPt()), ring->GetTopElevAt(line.EndPt()));
    return SubtractSolid(calc, prism.get(), object, CVRMSuperpositionBoth);
}

// ---------------------------------------------------------------------------

RecordRef FindLintelOver(IQTKBeamCalcEDO& beam, IRDXRecord* opening)
{
    TRecordList lintels;
    beam.GetRelatedByType(CLintelType, &lintels);
    for (const RecordRef& lintel : lintels) {
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(lintel.get());
        const IRDXRecord* parent = drawObj ? drawObj->GetParentRecord() : nullptr;
        if (parent && parent->GetID() == opening->GetID())
            return lintel;
    }
    return nullptr;
}

double TQTKBeamFormBoardAreaDeductWallHole::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                                                   const TableSourceRef&) const
{
    if (FieldValueInteger(beam, "FloorID", -1) != FieldValueInteger(object, "FloorID", -1) ||
        !IsHoleOnLineEnt(beam, object))
        return 0.0;
    const double deducted = SubtractSolid(calc, HoldOriginalSolid(object).get(), object, CVRMSuperpositionFlush);
    const IQTKElementDrawObj* hole = GetRecordDrawObj(object);
    IRDXRecord* wall = hole ? hole->GetParentRecord() : nullptr;
    const TableSourceRef settings = GCalculatorSetting();
    if (!wall || (IsConcreteWallRecord(wall) && CompareFormboardPriority(beam, wall, settings) < 0))
        return deducted;
    // The reveal strip under the beam is taken back: the opening's jambs and
    // head (its outline's edges that rise at least as much as they run) where
    // the beam's outline on the wall covers them.
    const Ref<IQTKBeamCalcEDO> beamEdo = GetBeamEdo(beam);
    const Ref<IQTKWallHollowCalcEDO> hollow = RefCast<IQTKWallHollowCalcEDO>(GetCalcEDO(object, true));
    const Ref<IQTKSectionPoly> outline = hollow ? hollow->GetSectionPolyOnWall(nullptr) : nullptr;
    const Ref<IQTKSectionPoly> projection = beamEdo->CalcProjectionOnWall(wall);
    if (!outline || !projection || !outline->GetPolygon() || !projection->GetPolygon())
        return deducted;
    const TVRMMultiPolygon2d& opening = *outline->GetPolygon();
    const TVRMMultiPolygon2d& beamOnWall = *projection->GetPolygon();
    TVRMMultiPolyLinearCalc2d reveals;
    for (const TVRMPolygon2d& ring : opening.Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges())
            if (edge.EndPt().x - edge.StartPt().x <= std::abs(edge.EndPt().y - edge.StartPt().y))
                reveals.Add(edge);
    const TVRMBox2d openingBox = opening.Box();
    const TVRMBox2d beamBox = beamOnWall.Box();
    bool onTop = false;
    if (SameValue(beamBox.max.y, openingBox.max.y)) {
        reveals.Append(beamOnWall, 1, nullptr, false);
    } else if (SameValue(beamBox.min.y, openingBox.max.y)) {
        // The beam rests on the opening: a lintel over it that gives way keeps the strip.
        onTop = true;
        const RecordRef lintel = FindLintelOver(*beamEdo, object);
        if (!lintel || CompareFormboardPriority(beam, lintel.get(), settings) <= 0)
            reveals.Append(beamOnWall, 1, nullptr, false);
    } else {
        reveals.Append(beamOnWall, 1, nullptr, false);
    }
    const double length = reveals.GetLengthFor(1);
    double width = GetRecordThickness(beam);
    if (onTop)
        width = std::min(width, GetRecordThickness(wall));
    if (!GIsDetailMode && IsExprMode(beam) && length > 0.0)
        AddAreaExprDetail(beam, object, width, length, 1.0, false);
    return deducted - length * width;
}

// ---------------------------------------------------------------------------

void RegisterBeamFormBoardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKBeamOriginalFormboardArea);
    QTK_REGISTER(registry, TQTKBeamLeftOriginalFromboardArea);
    QTK_REGISTER(registry, TQTKBeamLeftOriginalFromboardAreaConsiderBrick);
    QTK_REGISTER(registry, TQTKBeamRightOriginalFromboardArea);
    QTK_REGISTER(registry, TQTKBeamRightOriginalFromboardAreaConsiderBrick);
    QTK_REGISTER(registry, TQTKBeamBottomOriginalFromboardArea);
    QTK_REGISTER(registry, TQTKBeamEndOriginalFromboardArea);
    QTK_REGISTER(registry, TQTKFDBeamOriginalSideFormBoardArea);
    QTK_REGISTER(registry, TQTKFDBeamOriginalSideFormBoardAreaConsiderThickness);
    QTK_REGISTER(registry, TQTKBeamFormBoardAddHaunchedFromBoardArea);
    QTK_REGISTER(registry, TQTKFDBeamFormBoardAddHaunchedFromBoardArea);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaDeductSlabForFUJIAN);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaDeductBeam);
    QTK_REGISTER(registry, TQTKBeamFromBoardAreaDeductSubBeam);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaDeductSameBottomElevBoard);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaDeductBeelineStearSeg);
    QTK_REGISTER(registry, TQTKFDBeamFormBoardAreaDeductTrench);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaDeductParallelWall);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaGiveWallFormBoardArea);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaGiveWallFormBoardAreaDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaGiveWallWhenSameThickness);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKOutBeamFormBoardDeductWall);
    QTK_REGISTER(registry, TQTKOutBeamFormBoardDeductWallDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom);
    QTK_REGISTER(registry, TQTKTieBeamFormBoardAreaDeductParellelMasonryWall);
    QTK_REGISTER(registry, TQTKTieBeamFormBoardAreaDeductLintel);
    QTK_REGISTER(registry, TQTKBeamFormBoardAreaDeductWallHole);
}
