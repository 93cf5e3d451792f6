#include "Calculator/Strategies/SlabStrategies/QTKSlabVolCalculator.h"

#include <memory>

#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorExprFinish.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// The slab's volume calculator, built over a copy of its solid by the first
// deduction; nil for a slab without a solid.
std::shared_ptr<TQTKSolidCalc3d> EnsureSlabVolumeCalc(IQTKSlabCalculator& slab)
{
    if (std::shared_ptr<TQTKSolidCalc3d> calc = slab.GetVolumeCalc())
        return calc;
    const TVRMPolyhedron3d* solid = slab.GetOriginalPolyhedron();
    if (!solid)
        return nullptr;
    const IQTKElementDrawObj* drawObj = slab.GetElementDrawObj();
    slab.SetVolumeCalc(std::make_shared<TVRMSlabDividedSolidCalc3d>(RecordRef(drawObj ? drawObj->GetRecord() : nullptr),
                                                                    solid->Clone(), false, 1.0));
    return slab.GetVolumeCalc();
}

}  // namespace

double TQTKSlabOriginalVol::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                      const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const TVRMPolyhedron3d* solid = GetSlabEDO(subject.get())->GetOriginalPolyhedron();
    const double result = solid ? solid->GetVolume() : 0.0;
    BuildSlabVolExpr(subject.get());
    return result;
}

double TQTKSlabThickness::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                    const TableSourceRef&)
{
    return GetRecordPropFloat(subject.get(), "Thickness");
}

double TQTKSlabVolDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object,
                                          const TableSourceRef& business, const TableSourceRef& ruleContext)
{
    QTK_ASSERT(subject && object);
    if (!Deducts(object.get()))
        return 0.0;
    const TQTKVolumeTarget volume = VolumeOf(subject, business, ruleContext);
    const std::shared_ptr<const TVRMPolyhedron3d> solid = DeductedSolid(object.get());
    if (!volume || !solid)
        return 0.0;
    return volume.Subtract(*solid, object.get());
}

TQTKVolumeTarget TQTKSlabVolDeductByFact::VolumeOf(const RecordRef& subject, const TableSourceRef&,
                                                   const TableSourceRef&) const
{
    // The slab object keeps its calculator as long as the slab lives.
    return TQTKVolumeTarget(EnsureSlabVolumeCalc(*GetSlabEDO(subject.get())).get());
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKSlabVolDeductByFact::DeductedSolid(IRDXRecord* object) const
{
    return HoldOriginalSolid(object);
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKSlabVolDeductWallByFact::DeductedSolid(IRDXRecord* wall) const
{
    // The wall object keeps its deducted solid as long as the wall lives.
    const Ref<IQTKWallCalcEDO> edo = GetFamilyEDO<IQTKWallCalcEDO>(wall, "wall");
    return std::shared_ptr<const TVRMPolyhedron3d>(edo->GetDeductedSolid(), [edo](const TVRMPolyhedron3d*) {});
}

bool TQTKSlabVolDeductCrocreteExternalWallByFact::Deducts(IRDXRecord* wall) const
{
    return HasOuterFlag(wall);
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKSlabVolDeductTieColumnByFact::DeductedSolid(IRDXRecord* column) const
{
    return GetFamilyEDO<IQTKColumnCalculatorEDO>(column, "column")->GetSolidCopy();
}

bool TQTKSlabVolDeductTieColumnByArea::Deducts(IRDXRecord* column) const
{
    return IsPlanAreaAboveLimit(column, SizeLimit());
}

bool TQTKSlabVolDeductExternalTieBeam::Deducts(IRDXRecord* tieBeam) const
{
    return !GetFamilyEDO<IQTKTieBeamCalculator>(tieBeam, "tie beam")->IsNotOnInnerWall();
}

bool TQTKSlabVolDeductByArea::Deducts(IRDXRecord* object) const
{
    return IsPlanAreaAboveLimit(object, SizeLimit());
}

bool TQTKSlabVolDeductByVol::Deducts(IRDXRecord* object) const
{
    const std::optional<double> limit = SizeLimit();
    const std::shared_ptr<const TVRMPolyhedron3d> solid = limit ? HoldOriginalSolid(object) : nullptr;
    return solid && IsAboveSizeLimit(solid->GetVolume(), limit);
}

bool TQTKSlabVolDeductOutBeam::Deducts(IRDXRecord* beam) const
{
    return HasOuterFlag(beam);
}

void RegisterSlabVolRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKSlabOriginalVol);
    QTK_REGISTER(registry, TQTKSlabThickness);
    QTK_REGISTER(registry, TQTKSlabVolDeductByFact);
    QTK_REGISTER(registry, TQTKSlabVolDeductCrocreteByFact);
    QTK_REGISTER(registry, TQTKSlabVolDeductBrickStoneByFact);
    QTK_REGISTER(registry, TQTKSlabVolDeductColumnByFact);
    QTK_REGISTER(registry, TQTKSlabVolDeductWallByFact);
    QTK_REGISTER(registry, TQTKSlabVolDeductCrocreteExternalWallByFact);
    QTK_REGISTER(registry, TQTKSlabVolDeductTieColumnByFact);
    QTK_REGISTER(registry, TQTKSlabVolDeductTieColumnByArea);
    QTK_REGISTER(registry, TQTKSlabVolDeductTieColumnByDot3M2);
    QTK_REGISTER(registry, TQTKSlabVolDeductExternalTieBeam);
    QTK_REGISTER(registry, TQTKSlabVolDeductByArea);
    QTK_REGISTER(registry, TQTKSlabVolDeductByDot3M2);
    QTK_REGISTER(registry, TQTKSlabVolDeductBy1M2);
    QTK_REGISTER(registry, TQTKSlabVolDeductByDot05M2);
    QTK_REGISTER(registry, TQTKSlabVolDeductByVol);
    QTK_REGISTER(registry, TQTKSlabVolDeductByDot05M3);
    QTK_REGISTER(registry, TQTKSlabVolDeductWallByThickness);
    QTK_REGISTER(registry, TQTKSlabVolDeductBeamByThickness);
    QTK_REGISTER(registry, TQTKSlabVolDeductOutBeam);
}
