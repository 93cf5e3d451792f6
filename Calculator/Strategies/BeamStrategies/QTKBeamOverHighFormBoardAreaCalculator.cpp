#include "Calculator/Strategies/BeamStrategies/QTKBeamOverHighFormBoardAreaCalculator.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorCommonThickness.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Calculator/Common/QTKOverhighExprHandler.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Calculator/Strategies/Common/OverHigh/QTKBeamOverHighCalcBuilder.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighFormboardStore.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighLayerSum.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CTieBeamType = 18;
// The ring beam's soffit over a lintel is taken by a prism this high under it.
constexpr double CSoffitPrismHeight = 0.1;

std::vector<TQTKOverHighLayer> BeamLayers(const RecordRef& beam, const TableSourceRef& business,
                                          const TableSourceRef& ruleContext)
{
    return GetOverhighLayers<TQTkBeamOverHighCalcBuilder>(beam, business, ruleContext);
}

bool IsFormboardFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext)
{
    return CompareFormboardPriority(beam, object, ruleContext) < 0;
}

}  // namespace

std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildBeamOverHighFormboard(const RecordRef& subject,
                                                                         const TableSourceRef& business,
                                                                         const TableSourceRef& ruleContext)
{
    return GetOrBuildOverhighFormboard<TQTkBeamOverHighCalcBuilder>(subject, business, ruleContext);
}

double TQTKBeamOriginalOverHighFormBoardArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                        const TableSourceRef& business,
                                                        const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const std::shared_ptr<TVRMOverhighShellCalc3d> calc =
        GetOrBuildBeamOverHighFormboard(subject, business, ruleContext);
    if (!calc)
        return 0.0;
    TQTKOverhighExprHandler::BuildOverhighExpr(subject.get(), ruleContext, calc.get());
    return calc->GetArea();
}

double TQTKBeamOverHighFormBoardAreaDeductByFact::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam,
                                                         IRDXRecord* object, const TableSourceRef& ruleContext) const
{
    return DeductByPrecedence(calc, object, IsFormboardFirst(beam, object, ruleContext));
}

TQTKBeamFormBoardAreaWallPart::TPart TQTKBeamOverHighFormBoardAreaGiveParallelWallDeductNotParallelWall::PartOf(
    bool parallel, IRDXRecord*, IRDXRecord*) const
{
    return parallel ? TPart::SpanPrism : TPart::ByPrecedence;
}

TQTKBeamFormBoardAreaWallPart::TPart
TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall::PartOf(bool parallel, IRDXRecord*,
                                                                                    IRDXRecord*) const
{
    return parallel ? TPart::WallFirst : TPart::ByPrecedence;
}

double TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThickness::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam,
                                                                      IRDXRecord* object, const TableSourceRef&) const
{
    if (!IsLineEntsParallel(beam, object) || !IsWallWithinBeamWidth(beam, object))
        return 0.0;
    const std::unique_ptr<TVRMPolyhedron3d> prism = BuildBeamPrismOverWallSpan(beam, object);
    if (!prism || !prism->HasFaces())
        return 0.0;
    if (IsConcreteWallRecord(object))
        return calc.SubtractWallPiece(*prism, object, true);
    return calc.Subtract(prism.get(), object, CVRMSuperpositionBoth);
}

double TQTKSingleBeamOverHighTieColumn::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                                               const TableSourceRef& ruleContext) const
{
    if (!IsSingleBeamRecord(beam))
        return 0.0;
    return calc.Subtract(HoldOriginalSolid(object).get(), object,
                         KindsFor(IsFormboardFirst(beam, object, ruleContext)));
}

double TQTKBeamOverHighFormBoardAreaDeductSameBottomElevBoard::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam,
                                                                      IRDXRecord* object, const TableSourceRef&) const
{
    return calc.Subtract(HoldOriginalSolid(object).get(), object, KindsFor(IsSameBottomElev(beam, object)));
}

double TQTKTieBeamOverHighFormBoardAreaDeductLinTel::Deduct(const TQTKShellTarget& calc, IRDXRecord* beam,
                                                            IRDXRecord* object, const TableSourceRef&) const
{
    double result = calc.Subtract(HoldOriginalSolid(object).get(), object, CVRMSuperpositionBoth);
    const IQTKLineShape* ring = GetRecordLineShape(beam);
    const IQTKElementDrawObj* lintel = GetRecordDrawObj(object);
    const double length = GetRecordPropFloat(object, "Len", 0.0);
    if (!ring || !lintel || LessEqualThan(length, 0.0))
        return result;
    // The lintel's point: its insertion point, or the middle of its line.
    TVRMPoint2d at;
    if (const auto* point = dynamic_cast<const IQTKPointShape*>(lintel->GetShape()))
        at = point->GetInsertPt();
    else if (!LineReferencePoint(object, at))
        return result;
    const TVRMCustomLine2d& line = ring->GetLine();
    const double along = line.LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(at, line));
    const TVRMCustomLine2d piece = TVRMPositionFunc2d::SubSeg(line, along - length / 2.0, along + length / 2.0, true);
    const double startBottom = ring->GetBottomElevAt(piece.StartPt());
    const double endBottom = ring->GetBottomElevAt(piece.EndPt());
    const auto soffit = TVRMPolyhedron3d::CreateBand(piece, GetBeamEdo(beam)->GetSectionWidth(), ring->GetAxisOffset(),
                                                     startBottom - CSoffitPrismHeight, startBottom,
                                                     endBottom - CSoffitPrismHeight, endBottom);
    result += calc.Subtract(soffit.get(), object, CVRMSuperpositionContact);
    return result;
}

// ---------------------------------------------------------------------------
// Haunches

double TQTKBeamOverHighFormBoardAreaAddHaunchingArea::Calculate(const RecordRef& subject, const RecordRef&,
                                                                const TableSourceRef& business,
                                                                const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    if (!GetOrBuildBeamOverHighFormboard(subject, business, ruleContext))
        return 0.0;
    const auto* owner = dynamic_cast<const IQTKBeamHaunchInfoOwner*>(GetRecordDrawObj(subject.get()));
    const IQTKBeamHaunchInfoList* list = owner ? owner->GetHaunchInfos() : nullptr;
    if (!list)
        return 0.0;
    const std::vector<TQTKOverHighLayer> layers = BeamLayers(subject, business, ruleContext);
    // The sloped faces of a haunch from Low to High (slope Rise = h / L) and
    // its added width, within each layer.
    const auto haunch = [&](double rise, double width, double low, double high) {
        return SumOverLayers(layers, [&](const TQTKOverHighLayer& layer, int) {
            const double e = std::max(layer.bottom, low);
            const double f = std::min(layer.top, high);
            if (!LessThan(e, f))
                return 0.0;
            return ((e - low) + (f - low) + width) / rise * (f - e);
        });
    };
    double result = 0.0;
    for (int i = 0; i < list->GetCount(); ++i) {
        const IQTKBeamHaunchInfo* item = list->GetItem(i);
        if (!item || SameValue(item->GetHaunchLength(), 0.0) || SameValue(item->GetHaunchHeight(), 0.0))
            continue;
        const double h = item->GetHaunchHeight();
        const double rise = h / item->GetHaunchLength();
        const double w = item->GetHaunchWidth();
        if (!(item->GetStartHaunchA() == 0.0 && item->GetStartHaunchB() == 0.0))
            result += haunch(rise, w, item->GetStartHaunchTop() - h, item->GetStartHaunchTop());
        if (!(item->GetEndHaunchA() == 0.0 && item->GetEndHaunchB() == 0.0))
            result += haunch(rise, w, item->GetEndHaunchTop() - h, item->GetEndHaunchTop());
    }
    return result;
}

// ---------------------------------------------------------------------------
// Openings

double TQTKBeamOverHighFormBoardAreaDeductHole::Calculate(const RecordRef& subject, const RecordRef& object,
                                                          const TableSourceRef& business,
                                                          const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    IRDXRecord* beam = subject.get();
    IRDXRecord* opening = object.get();
    const TQTKShellTarget calc = ShellOf(subject, business, ruleContext);
    if (!calc || FieldValueInteger(beam, "FloorID", -1) != FieldValueInteger(opening, "FloorID", -1) ||
        !IsHoleOnLineEnt(beam, opening))
        return 0.0;
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(opening);
    const double deducted = calc.Subtract(solid.get(), opening, CVRMSuperpositionFlush);
    const IQTKElementDrawObj* hole = GetRecordDrawObj(opening);
    IRDXRecord* wall = hole ? hole->GetParentRecord() : nullptr;
    const TableSourceRef settings = GCalculatorSetting();
    if (!wall || !solid || (IsConcreteWallRecord(wall) && CompareFormboardPriority(beam, wall, settings) < 0))
        return deducted;
    // The reveal strip under the beam is taken back layer by layer: the
    // opening's jambs and head (its outline's edges that rise at least as
    // much as they run) where the beam's outline on the wall covers them
    // within the layer.
    const Ref<IQTKBeamCalcEDO> beamEdo = GetBeamEdo(beam);
    const Ref<IQTKWallHollowCalcEDO> hollow = RefCast<IQTKWallHollowCalcEDO>(GetCalcEDO(object, true));
    const Ref<IQTKSectionPoly> outline = hollow ? hollow->GetSectionPolyOnWall(nullptr) : nullptr;
    const Ref<IQTKSectionPoly> projection = beamEdo->CalcProjectionOnWall(wall);
    if (!outline || !projection || !outline->GetPolygon() || !projection->GetPolygon())
        return deducted;
    TVRMMultiPolyLinearCalc2d reveals;
    for (const TVRMPolygon2d& ring : outline->GetPolygon()->Items())
        for (const TVRMCustomLine2d& edge : ring.GetEdges())
            if (edge.EndPt().x - edge.StartPt().x <= std::abs(edge.EndPt().y - edge.StartPt().y))
                reveals.Add(edge);
    const TVRMBox2d beamBox = projection->GetPolygon()->Box();
    const TVRMBox3d openingBox = solid->GetBox();
    const double head = openingBox.max.z;
    const IQTKLineShape* shape = GetRecordLineShape(beam);
    const TVRMPoint2d centre((openingBox.min.x + openingBox.max.x) / 2.0, (openingBox.min.y + openingBox.max.y) / 2.0);
    const double beamTop = shape ? shape->GetTopElevAt(centre) : beamBox.max.y;
    const bool concreteOrRing = IsConcreteWallRecord(wall) || GetRecordElementTypeID(beam) == CTieBeamType;
    const std::vector<TQTKOverHighLayer> layers = BeamLayers(subject, business, ruleContext);
    const double strips = SumOverLayers(layers, [&](const TQTKOverHighLayer& layer, int index) {
        const double high = index + 1 == static_cast<int>(layers.size()) ? beamTop : layer.top;
        if (!GreaterThan(high, beamBox.min.y))
            return 0.0;
        const double low = std::max(layer.bottom, beamBox.min.y);
        bool onHead = false;
        if (SameValue(low, head)) {
            // The beam rests on the opening: a lintel over it that gives way keeps the strip.
            const RecordRef lintel = FindLintelOver(*beamEdo, opening);
            if (lintel && CompareFormboardPriority(beam, lintel.get(), settings) > 0)
                return 0.0;
            onHead = true;
        }
        if (!GreaterThan(high, low))
            return 0.0;
        TVRMMultiPolygon2d band;
        band.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{
            {beamBox.min.x, low}, {beamBox.max.x, low}, {beamBox.max.x, high}, {beamBox.min.x, high}}));
        const int mark = 1 + index;
        reveals.Append(band, mark, nullptr, concreteOrRing);
        const double length = reveals.GetLengthFor(mark);
        double width = GetRecordThickness(beam);
        if (onHead)
            width = std::min(width, GetRecordThickness(wall));
        if (!GIsDetailMode && IsExprMode(beam) && length > 0.0)
            AddAreaExprDetail(beam, opening, width, length, layer.weight, false);
        return length * width;
    });
    return deducted - strips;
}

// ---------------------------------------------------------------------------

void RegisterBeamOverHighFormBoardAreaRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKBeamOriginalOverHighFormBoardArea);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaDeductByFact);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaDeductParallelWall);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaGiveParallelWallDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall);
    QTK_REGISTER(registry, TQTKOutBeamOverHighFormBoardDeductParallelAndNotParallelWall);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaDeductSlabForFUJIAN);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaDeductBeam);
    QTK_REGISTER(registry, TQTKBeamOverHighFromBoardAreaDeductSubBeam);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaGiveWallFormBoardArea);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThickness);
    QTK_REGISTER(registry, TQTKOutBeamOverHighFormBoardDeductWall);
    QTK_REGISTER(registry, TQTKSingleBeamOverHighTieColumn);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaDeductSameBottomElevBoard);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaDeductBeelineStearSeg);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaAddHaunchingArea);
    QTK_REGISTER(registry, TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall);
    QTK_REGISTER(registry, TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall2);
    QTK_REGISTER(registry, TQTKTieBeamOverHighFormBoardAreaDeductLinTel);
    QTK_REGISTER(registry, TQTKBeamOverHighFormBoardAreaDeductHole);
}
