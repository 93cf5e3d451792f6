#include "Calculator/Strategies/SlabStrategies/QTKPrecastSlabCalculator.h"

#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/SlabStrategies/QTKSlabCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// The section kind whose volume the catalogue gives.
constexpr int CCatalogueSectionType = 5;

}  // namespace

double TQTKPrecastSlabOriginalArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                              const TableSourceRef&)
{
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(subject.get());
    return solid && solid->GetFaceCount() > 0 ? solid->GetFace(solid->GetFaceCount() - 1).GetArea() : 0.0;
}

double TQTKPrecastSlabOriginalVol::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                             const TableSourceRef&)
{
    if (EdoPropValueInteger(GetRecordPropValues(subject.get()), "SectionTypeID", -1) == CCatalogueSectionType)
        return GetRecordPropFloat(subject.get(), "Volume") * 1e9;
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(subject.get());
    return solid ? solid->GetVolume() : 0.0;
}

void RegisterPrecastSlabRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKPrecastSlabOriginalArea);
    QTK_REGISTER(registry, TQTKPrecastSlabOriginalVol);
}
