#include "Calculator/Strategies/BeamStrategies/QTKBeamPropValue.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Calculator/Common/QTKCalculatorExprBeam.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKDeductPolyhedronLines.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

constexpr double CHeightTolerance = 0.0010123456789;

}  // namespace

double TQTKBeamPerimeter::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                    const TableSourceRef&)
{
    QTK_ASSERT(subject);
    if (IsArchRecord(subject.get()))
        return 0.0;
    BuildBeamPerimeterExpr(subject.get());
    return GetRecordPropFloat(subject.get(), "Perimeter");
}

double TQTKBeamSectionArea::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                      const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const IQTKLineShape* shape = GetRecordLineShape(subject.get());
    if (!shape || IsArchRecord(subject.get()))
        return 0.0;
    BuildBeamSectionAreaExpr(subject.get());
    return shape->GetPolygon().Area();
}

double TQTKBeamSectionWidth::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                       const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetRecordPropFloat(subject.get(), "SectionWidth");
}

double TQTKBeamSectionHeght::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                       const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetRecordPropFloat(subject.get(), "SectionHeight");
}

double TQTKBeamAverageSecrionHight::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                              const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const auto* owner = dynamic_cast<const IQTKBeamHaunchInfoOwner*>(GetRecordDrawObj(subject.get()));
    if (!owner)
        return 0.0;
    const IQTKBeamHaunchInfoList* list = owner->GetHaunchInfos();
    const double sectionHeight = GetRecordPropFloat(subject.get(), "SectionHeight");
    if (!list)
        return sectionHeight;
    // Each record whose two section heights (at its start and at its end)
    // differ counts both; the mean of those heights.
    double sum = 0.0;
    int count = 0;
    for (int i = 0; i < list->GetCount(); ++i) {
        const IQTKBeamHaunchInfo* item = list->GetItem(i);
        if (!item || IsZero(item->GetStartHaunchTop() - item->GetEndHaunchTop(), CHeightTolerance))
            continue;
        sum += item->GetStartHaunchTop() + item->GetEndHaunchTop();
        ++count;
    }
    return count > 0 ? sum / (2.0 * count) : sectionHeight;
}

double TQTKBeamVolAxisLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                        const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const IQTKLineShape* shape = GetRecordLineShape(subject.get());
    return shape ? shape->GetLine().Length() * GetBeamEdo(subject.get())->GetLengthRate() : 0.0;
}

double TQTKBeamScaffoldLengthRate::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                             const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const double rate = GetBeamEdo(subject.get())->GetLengthRate();
    return IsZero(rate) ? 0.0 : 1.0 / rate;
}

double TQTKFDBeamlength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                   const TableSourceRef&)
{
    QTK_ASSERT(subject);
    return GetFDBeamWallWeightedLength(subject.get());
}

double TQTKBeamClearLengthOrigianlLength::Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                                                    const TableSourceRef&)
{
    QTK_ASSERT(subject);
    const TQTKDeductPolyhedronLines* lines = GetBeamEdo(subject.get())->GetDeductPolyhedronLines();
    return lines ? lines->GetLength() : 0.0;
}

// ---------------------------------------------------------------------------

bool TQTKBeamClearLengthDeduction::IsDeducted(IRDXRecord*, IRDXRecord*) const
{
    return true;
}

double TQTKBeamClearLengthDeduction::Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef&,
                                               const TableSourceRef&)
{
    QTK_ASSERT(subject && object);
    TQTKDeductPolyhedronLines* lines = GetBeamEdo(subject.get())->GetDeductPolyhedronLines();
    if (!lines || !IsDeducted(subject.get(), object.get()))
        return 0.0;
    const std::shared_ptr<const TVRMPolyhedron3d> solid = HoldOriginalSolid(object.get());
    return solid ? lines->Subtract(*solid, true, object.get(), nullptr) : 0.0;
}

bool TQTKBeamClearLengthDeductBeam::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsSameElementType(beam, object) || IsLineEntCutBy(beam, object, true);
}

bool TQTKBeamClearLengthDeductByFact::IsDeducted(IRDXRecord* beam, IRDXRecord* object) const
{
    return !IsStripUnitKeptByType(beam, object);
}

bool TQTKBeamClearLengthDeductNonParallelWall::IsDeducted(IRDXRecord* beam, IRDXRecord* wall) const
{
    return !IsLineEntsParallel(beam, wall) && IsOnThinnerParallelWall(beam, wall);
}

bool TQTKTieBeamClearLengthDeductNonParallelWall::IsDeducted(IRDXRecord* beam, IRDXRecord* wall) const
{
    return !IsLineEntsParallel(beam, wall);
}

void RegisterBeamPropValueRules(TStrategyRegistry& registry)
{
    QTK_REGISTER(registry, TQTKBeamPerimeter);
    QTK_REGISTER(registry, TQTKBeamSectionArea);
    QTK_REGISTER(registry, TQTKBeamSectionWidth);
    QTK_REGISTER(registry, TQTKBeamAverageSecrionHight);
    QTK_REGISTER(registry, TQTKBeamVolAxisLength);
    QTK_REGISTER(registry, TQTKFDBeamlength);
    QTK_REGISTER(registry, TQTKBeamClearLengthOrigianlLength);
    QTK_REGISTER(registry, TQTKBeamClearLengthDeductBeam);
    QTK_REGISTER(registry, TQTKBeamClearLengthDeductByFact);
    QTK_REGISTER(registry, TQTKBeamClearLengthDeductNonParallelWall);
    QTK_REGISTER(registry, TQTKTieBeamClearLengthDeductNonParallelWall);
    QTK_REGISTER(registry, TQTKBeamSectionHeght);
    QTK_REGISTER(registry, TQTKBeamScaffoldLengthRate);
}
