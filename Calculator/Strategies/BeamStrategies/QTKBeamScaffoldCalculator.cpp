#include "Calculator/Strategies/BeamStrategies/QTKBeamScaffoldCalculator.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Common/QTKOverHighBottomElevCalculator.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr int CSlabType = 19;
constexpr double CHeightLimit = 3600.0;
constexpr double CTolerance = 0.0010123456789;

int ScaffoldCondition(const TableSourceRef& ruleContext)
{
    return FieldValueInteger(GetSettingRow(ruleContext, "QTKBeamCalcSettings"), "BeamSacffoldAreaCalcCondition", 0);
}

// The slab's top and bottom at the beam line's reference point; False
// without a face shape or a point.
bool GetSlabElevsAtBeam(IRDXRecord* beam, IRDXRecord* slab, double& top, double& bottom)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(slab);
    const auto* face = drawObj ? dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape()) : nullptr;
    const IQTKFaceElevInfo* elev = face ? face->GetFaceElevInfo() : nullptr;
    TVRMPoint2d at;
    if (!elev || !LineReferencePoint(beam, at))
        return false;
    top = elev->GetElevAt(at);
    bottom = top - face->GetElev();
    return true;
}

// The part of the height from Floor to the beam's highest top that no slab
// at the beam occupies; the average top above Floor without slabs.
double HeightToSlabUnderside(IRDXRecord* beam, IQTKCalculatorEDO& edo, double floor)
{
    const TQTKLineEndElevs elevs = GetLineEndElevs(beam);
    TRecordList slabs;
    edo.GetRelatedByType(CSlabType, &slabs);
    if (slabs.empty())
        return (elevs.startTop + elevs.endTop) / 2.0 - floor;
    TVRMNumericalCalc2d free(0.0, std::max(elevs.startTop, elevs.endTop) - floor, false);
    for (const RecordRef& slab : slabs) {
        double top = 0.0, bottom = 0.0;
        if (GetSlabElevsAtBeam(beam, slab.get(), top, bottom))
            free.AppendRange(bottom - floor, top - floor, slab->GetID(), CTolerance);
    }
    return free.GetNullLength();
}

}  // namespace

bool BeamScaffoldApplies(int condition, IRDXRecord* beam)
{
    switch (condition) {
        case 1:
        case 2:
            return true;
        case 3:
            return static_cast<int>(GetRecordPropFloat(beam, "Type2", -1.0)) != 1 && !IsOuterBeamByWalls(beam);
        case 4:
            return !IsOuterBeamByWalls(beam);
        case 5:
            return !IsBeamOnParallelElement(beam);
        default:
            return false;
    }
}

bool BeamScaffoldHeightPasses(int condition, double height)
{
    if (condition == 2)
        return GreaterThan(height, CHeightLimit, CTolerance);
    return condition >= 1 && condition <= 5;
}

// ---------------------------------------------------------------------------

double TQTKBeamScaffoldMiddleLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                               const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    const TVRMCustomLine2d* middle = beam->GetMidLine();
    if (!middle)
        return 0.0;
    TQTKLinearCalc2d calc(*middle, false);
    TRecordList others;
    beam->GetRelatedByTypes(MakeElementTypeSet({15, 17, 18, 47}), &others);
    for (const RecordRef& other : others) {
        if (!IsLineEntCutBy(subject.get(), other.get(), true))
            continue;
        const Ref<IQTKLineEntBaseCalcEDO> line = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(other, true));
        if (const TVRMMultiPolygon2d* plan = line ? line->GetPlanPolygon() : nullptr)
            calc.Append(*plan, 1, nullptr, true, CTolerance);
    }
    return calc.GetNullLength();
}

double TQTKBeamScaffoldNetLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                            const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetLineEntNetLength(subject.get());
}

double TQTKBeamScaffoldHeight::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                         const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject);
    const int condition = ScaffoldCondition(ruleContext);
    if (Top() == TTop::None || !BeamScaffoldApplies(condition, subject.get()))
        return 0.0;
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(subject.get());
    const double floor = TQTKOverHighBottomElevCalculator::GetBeamBottomElevAt(beam.get(), BottomMethod(), ruleContext);
    const TQTKLineEndElevs elevs = GetLineEndElevs(subject.get());
    double height = 0.0;
    switch (Top()) {
        case TTop::BeamTop:
            height = (elevs.startTop + elevs.endTop) / 2.0 - floor;
            break;
        case TTop::BeamBottom:
            height = (elevs.startBottom + elevs.endBottom) / 2.0 - floor;
            break;
        case TTop::SlabUnderside:
            height = HeightToSlabUnderside(subject.get(), *beam, floor);
            break;
        case TTop::None:
            break;
    }
    // A beam lying below its scaffold's bottom has no scaffold height.
    height = std::max(height, 0.0);
    return BeamScaffoldHeightPasses(condition, height) ? height : 0.0;
}

void RegisterBeamScaffoldRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKBeamScaffoldMiddleLength);
    QTK_REGISTER(registry, TQTKBeamScaffoldNetLength);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFromFloorElevToBeamTopElev);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFromFloorElevToBoardBottomElev);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFromFloorElevToBeamBottomElev);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamTopElev);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFloorHasFoorUnderFloorToBeamTopElev);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamTopElevDeductSlapHeight);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFloorHasFoorUnderFloorDeductSlap);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamBottomElev);
    QTK_REGISTER(registry, TQTKBeamScaffoHeightFloorHasFoorUnderFloorToBeamBottomElev);
}
