#include "Calculator/Strategies/WallStrategies/QTKPierCalculator.h"

#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

Ref<IQTKPierCalcEDO> PierEDO(IRDXRecord* record)
{
    const Ref<IQTKPierCalcEDO> pier = RefCast<IQTKPierCalcEDO>(GetCalcEDO(record, true));
    if (!pier)
        throw EIntfCastError("element " + std::to_string(record ? record->GetID() : 0) + " is no pier");
    return pier;
}

// The pier's host wall is concrete; a pier without a wall is not on concrete.
bool IsOnConcreteHost(IRDXRecord* pier)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(pier);
    IRDXRecord* wall = drawObj ? drawObj->GetParentRecord() : nullptr;
    const IQTKElementDrawObj* wallDrawObj = wall ? GetRecordDrawObj(wall) : nullptr;
    return wallDrawObj && IsConcreteElement(wallDrawObj);
}

bool IsExternal(IRDXRecord* pier)
{
    return PierEDO(pier)->IsOnExternalSide();
}

// Walls, insulating walls, piers, columns and insulating layers hide a pier's side.
const TQTKElementTypeSet& NeighbourTypes()
{
    static const TQTKElementTypeSet types = MakeElementTypeSet({0, 1, 3, 25, 68});
    return types;
}

}  // namespace

double TQTKPierSectionArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                      const TableSourceRef&)
{
    return FieldValueFloat(subject.get(), "Area", 0.0);
}

double TQTKPierHeight::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                 const TableSourceRef&)
{
    const double height =
        FieldValueFloat(subject.get(), "TopElev", 0.0) - FieldValueFloat(subject.get(), "BottomElev", 0.0);
    return LessThan(height, 1.0) ? 0.0 : height;
}

double TQTKContactWallLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                        const TableSourceRef&)
{
    // A new container each call, released here.
    const std::unique_ptr<TVRMLinearCalcContr> perimeter = PierEDO(subject.get())->GetPerimeterLinearCalc();
    return perimeter ? perimeter->GetLengthFor(1) : 0.0;
}

double TQTKPierExposeLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                       const TableSourceRef&)
{
    const Ref<IQTKPierCalcEDO> pier = PierEDO(subject.get());
    const IQTKElementDrawObj* drawObj = pier->GetElementDrawObj();
    if (!drawObj || !drawObj->GetShape() || drawObj->GetShape()->GetOutline().GetCount() == 0)
        return 0.0;
    TVRMPolyLinearCalc2d calc(drawObj->GetShape()->GetOutline().GetItems(0), true);
    const int floor = drawObj->GetFloorID();
    const int count = pier->GetRelatedCount();
    for (int i = 0; i < count; ++i) {
        const RecordRef related = pier->GetRelated(i);
        const IQTKElementDrawObj* neighbour = GetRecordDrawObj(related.get());
        if (!neighbour || neighbour->GetFloorID() != floor || !NeighbourTypes().test(neighbour->GetElementTypeID()))
            continue;
        const IQTKShape* shape = neighbour->GetShape();
        if (!shape || shape->GetOutline().GetCount() == 0)
            continue;
        TVRMMultiPolygon2d first;
        first.Add(shape->GetOutline().GetItems(0));
        calc.Append(first, 1, nullptr, true, CVRMEpsilon);
    }
    return calc.GetNullLength();
}

double TQTKPierDeductByFact::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                       const TableSourceRef&)
{
    if (!object || !Deducts(subject.get()))
        return 0.0;
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    return solid ? PierEDO(subject.get())->GetVolumeCalc()->Subtract(*solid, object.get(), nullptr, true, true) : 0.0;
}

bool TQTKPierDeductByFact::Deducts(IRDXRecord*) const
{
    return true;
}

bool TQTKNonBrickExternalPierDeductByFact::Deducts(IRDXRecord* pier) const
{
    return !IsExternal(pier) || IsOnConcreteHost(pier);
}

bool TQTKBrickInternalPierDeductByFact::Deducts(IRDXRecord* pier) const
{
    return !IsExternal(pier) && !IsOnConcreteHost(pier);
}

bool TQTKBrickPierDeductByFact::Deducts(IRDXRecord* pier) const
{
    return !IsOnConcreteHost(pier);
}

bool TQTKPartitionWallPierDeductByFact::Deducts(IRDXRecord* pier) const
{
    return IsPartitionWallRecord(FindMasterRecord(pier, "EDOPID"));
}

double TQTKPierFacingDeduct::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                       const TableSourceRef&)
{
    if (!object)
        return 0.0;
    const Ref<IQTKPierCalcEDO> pier = PierEDO(subject.get());
    if (InternalOnly() && pier->IsOnExternalSide())
        return 0.0;
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    if (!solid)
        return 0.0;
    const auto shell = OnContactFaces() ? pier->GetContactWallOrnamentShellCalc() : pier->GetOrnamentShellCalc();
    return shell ? shell->Subtract(*solid, object.get(), CVRMSuperpositionContact, nullptr, true, true) : 0.0;
}

void RegisterPierRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKPierSectionArea);
    QTK_REGISTER(registry, TQTKPierHeight);
    QTK_REGISTER(registry, TQTKContactWallLength);
    QTK_REGISTER(registry, TQTKPierExposeLength);
    QTK_REGISTER(registry, TQTKPierDeductByFact);
    QTK_REGISTER(registry, TQTKNonBrickExternalPierDeductByFact);
    QTK_REGISTER(registry, TQTKBrickInternalPierDeductByFact);
    QTK_REGISTER(registry, TQTKBrickPierDeductByFact);
    QTK_REGISTER(registry, TQTKPartitionWallPierDeductByFact);
    QTK_REGISTER(registry, TQTKPierOrnamentAreaDeductSlab);
    QTK_REGISTER(registry, TQTKInternalPierOrnamentAreaDeductSlab);
    QTK_REGISTER(registry, TQTKPierOrnamentAreaDeductPrecastSlab);
    QTK_REGISTER(registry, TQTKInternalPierOrnamentAreaDeductPrecastSlab);
    QTK_REGISTER(registry, TQTKPierOrnamentAreaDeductBeam);
    QTK_REGISTER(registry, TQTKInternalPierOrnamentAreaDeductBeam);
    QTK_REGISTER(registry, TQTKPierContactWallOrnamentAreaDeductSlab);
    QTK_REGISTER(registry, TQTKInternalPierContactWallOrnamentAreaDeductSlab);
    QTK_REGISTER(registry, TQTKPierContactWallOrnamentAreaDeductPrecastSlab);
    QTK_REGISTER(registry, TQTKInternalPierContactWallOrnamentAreaDeductPrecastSlab);
    QTK_REGISTER(registry, TQTKPierContactWallOrnamentAreaDeductBeam);
    QTK_REGISTER(registry, TQTKInternalPierContactWallOrnamentAreaDeductBeam);
}
