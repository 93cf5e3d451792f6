#include "Calculator/Strategies/BeamStrategies/QTKBeamCalcCommon.h"

#include <algorithm>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonJoin.h"
#include "Calculator/Common/QTKCalculatorCommonMaterial.h"
#include "Calculator/Common/QTKCalculatorCommonPartSolid.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/VRMCommon2d.h"

Ref<IQTKBeamCalcEDO> GetBeamEdo(IRDXRecord* record)
{
    const Ref<IQTKBeamCalcEDO> beam = RefCast<IQTKBeamCalcEDO>(GetCalcEDO(record, true));
    if (!beam)
        throw EIntfCastError("the element is not a beam");
    return beam;
}

Ref<IQTKFDBeamCalcEDO> GetFDBeamEdo(IRDXRecord* record)
{
    const Ref<IQTKFDBeamCalcEDO> beam = RefCast<IQTKFDBeamCalcEDO>(GetCalcEDO(record, true));
    if (!beam)
        throw EIntfCastError("the element is not a foundation beam");
    return beam;
}

std::unique_ptr<TVRMPolyhedron3d> BuildBeamPrismOverWallSpan(IRDXRecord* beam, IRDXRecord* wall)
{
    const TVRMCustomLine2d* middle = GetBeamEdo(beam)->GetMidLine();
    const IQTKLineShape* wallShape = GetRecordLineShape(wall);
    if (!middle || !wallShape)
        return std::make_unique<TVRMPolyhedron3d>();
    const TVRMCustomLine2d& wallLine = wallShape->GetLine();
    const TVRMPoint2d first = TVRMPositionFunc2d::ClosestPointTo(wallLine.StartPt(), *middle);
    const TVRMPoint2d second = TVRMPositionFunc2d::ClosestPointTo(wallLine.EndPt(), *middle);
    const TVRMCustomLine2d piece = TVRMPositionFunc2d::SubSeg(*middle, first, second);
    if (LessEqualThan(piece.Length(), 0.0))
        return std::make_unique<TVRMPolyhedron3d>();
    return BuildBeamSidePrism(beam, first, piece, second);
}

int KindsFor(bool objectFirst)
{
    return objectFirst ? CVRMSuperpositionBoth : CVRMSuperpositionContact;
}

double SubtractSolid(TQTKShellCalc3d& calc, const TVRMPolyhedron3d* solid, IRDXRecord* record, int kinds)
{
    return solid && solid->HasFaces() ? calc.Subtract(*solid, record, kinds, nullptr, true, true) : 0.0;
}

double GetFDBeamWallWeightedLength(IRDXRecord* record)
{
    const Ref<IQTKBeamCalcEDO> beam = GetBeamEdo(record);
    const TVRMCustomLine2d* middle = beam->GetMidLine();
    if (!middle || LessEqualThan(middle->Length(), 0.0))
        return 0.0;
    const double length = middle->Length();
    TVRMNumericalCalc2d covered(0.0, length, false);
    double effective = 0.0;
    TRecordList walls;
    beam->GetRelatedByType(0, &walls);
    for (const RecordRef& wallRecord : walls) {
        if (!IsLineEntsParallel(record, wallRecord.get()))
            continue;
        const Ref<IQTKWallCalcEDO> wall = RefCast<IQTKWallCalcEDO>(GetCalcEDO(wallRecord, true));
        const TVRMCustomLine2d* wallLine = wall ? wall->GetMidLine() : nullptr;
        TVRMPoint2d p1, p2;
        if (!wallLine || !TVRMPositionFunc2d::GetTwoLineOverLapPoints(*wallLine, *middle, p1, p2))
            continue;
        double from = middle->LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(p1, *middle));
        double to = middle->LengthAtPoint(TVRMPositionFunc2d::ClosestPointTo(p2, *middle));
        if (from > to)
            std::swap(from, to);
        const double thickness = wall->GetThickness();
        if (from < thickness)
            from = 0.0;
        if (length - to < thickness)
            to = length;
        // AppendRange answers the part of the range not marked before.
        const double weight = IsOuterWallRecord(wallRecord.get()) ? 1.0 : 0.97;
        effective += weight * covered.AppendRange(from, to, 1);
    }
    return effective + covered.GetNullLength();
}

double MergedLength(std::vector<std::pair<double, double>> ranges)
{
    std::sort(ranges.begin(), ranges.end());
    double total = 0.0, low = 0.0, high = 0.0;
    bool open = false;
    for (const auto& [from, to] : ranges) {
        if (open && from <= high) {
            high = std::max(high, to);
            continue;
        }
        if (open)
            total += high - low;
        low = from;
        high = to;
        open = true;
    }
    return open ? total + high - low : total;
}

bool LineReferencePoint(IRDXRecord* record, TVRMPoint2d& point)
{
    const IQTKLineShape* shape = GetRecordLineShape(record);
    if (!shape)
        return false;
    point = shape->GetLine().MiddlePoint();
    return true;
}

bool IsConcreteWallRecord(IRDXRecord* record)
{
    return GetRecordElementTypeID(record) == 0 && IsConcreteElement(GetRecordDrawObj(record));
}

bool IsStripUnitKeptByType(IRDXRecord* beam, IRDXRecord* object)
{
    return GetRecordElementTypeID(object) == 81 && IsConcreteElement(GetRecordDrawObj(object)) &&
           IsLineEntsParallel(beam, object) && !IsBeamCutByType(beam, object);
}

IRDXRecord* GetUnitTrench(IRDXRecord* unit)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(unit);
    IRDXRecord* trench = drawObj ? drawObj->GetParentRecord() : nullptr;
    QTK_ASSERT(trench);
    return trench;
}

std::shared_ptr<const TVRMPolyhedron3d> GetUnitTrenchWholeSolid(IRDXRecord* unit)
{
    const Ref<IQTKTrenchCalcEDO> trench = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(GetUnitTrench(unit), true));
    const TVRMPolyhedron3d* whole = trench ? trench->GetWholeSolid() : nullptr;
    if (!whole)
        return nullptr;
    // The trench keeps its whole solid as long as it lives.
    return std::shared_ptr<const TVRMPolyhedron3d>(whole, [trench](const TVRMPolyhedron3d*) {});
}
