#include "Calculator/Common/QTKCalculatorCommonEarthwork.h"

#include <algorithm>
#include <mutex>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

namespace {

bool IsExcavationKind(int type)
{
    return type == 40 || type == 43 || type == 87;
}

bool IsDitchKind(int type)
{
    return type == 41 || type == 44 || type == 88;
}

bool IsPitKind(int type)
{
    return type == 42 || type == 45 || type == 89;
}

const IPropValues* PropsOf(IRDXRecord* record)
{
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    return drawObj ? drawObj->GetPropValues() : nullptr;
}

// The largest slope factor over the edges of the first ring of a shape's
// polygon; an edge without slope information takes the element's own factor.
template <class TShape>
double MaxEdgeSlopeFactor(const IQTKElementDrawObj* drawObj)
{
    const auto* shape = drawObj ? dynamic_cast<const TShape*>(drawObj->GetShape()) : nullptr;
    if (!shape || shape->GetPolygon().IsEmpty())
        return 0.0;
    const double own = GetDrawObjSlopeFactor(drawObj);
    const int edgeCount = shape->GetPolygon().GetItems(0).GetEdgeCount();
    double result = 0.0;
    for (int i = 0; i < edgeCount; ++i) {
        const auto* info = dynamic_cast<const ISlopeFactorEdgeInfo*>(shape->GetEdgeInfo(i));
        result = std::max(result, info ? info->GetSlopeFactor() : own);
    }
    return result;
}

// Whether the excavation, ditch or pit object (the backfill object) behind
// the record slopes; False without such an object.
bool EarthworkHasSlope(IRDXRecord* record)
{
    const auto earthwork = RefCast<IQTKEarthworkCalcEDO>(GetCalcEDO(record, true));
    return earthwork && earthwork->HasSlope();
}

bool BackfillHasSlope(IRDXRecord* record)
{
    const auto backfill = RefCast<IQTKEarthBackfillCalcEDO>(GetCalcEDO(record, true));
    return backfill && backfill->HasSlope();
}

}  // namespace

// ---------------------------------------------------------------------------
// TQTKEarthStrategyList

void TQTKEarthStrategyList::Clear() noexcept
{
    for (auto& row : modes_)
        for (auto& mode : row)
            mode.store(0, std::memory_order_relaxed);
}

int TQTKEarthStrategyList::IndexOfEarthKind(int elementTypeId) noexcept
{
    if (IsExcavationKind(elementTypeId))
        return 0;
    if (IsDitchKind(elementTypeId))
        return 1;
    if (IsPitKind(elementTypeId))
        return 2;
    return -1;
}

void TQTKEarthStrategyList::SetDeductMode(int subjectType, int objectType, std::uint8_t mode) noexcept
{
    const int i = IndexOfEarthKind(subjectType);
    const int j = IndexOfEarthKind(objectType);
    if (i != -1 && j != -1)
        modes_[i][j].store(mode, std::memory_order_relaxed);
}

std::uint8_t TQTKEarthStrategyList::GetDeductMode(int subjectType, int objectType) const noexcept
{
    const int i = IndexOfEarthKind(subjectType);
    const int j = IndexOfEarthKind(objectType);
    if (i == -1 || j == -1)
        return 1;
    return modes_[i][j].load(std::memory_order_relaxed);
}

TQTKEarthStrategyList& GetEarthStrategyList()
{
    static TQTKEarthStrategyList list;
    static std::atomic<uint64_t> session{0};
    static std::mutex lock;
    const uint64_t current = GetCalculationSessionNumber();
    if (session.load(std::memory_order_acquire) != current) {
        std::lock_guard guard(lock);
        if (session.load(std::memory_order_relaxed) != current) {
            list.Clear();
            session.store(current, std::memory_order_release);
        }
    }
    return list;
}

// ---------------------------------------------------------------------------
// Ditch layers and slope factors

double GetDitchEarthLayerWidth(IRDXRecord* record, int layer, bool atLowerDepth)
{
    QTK_ASSERT(record != nullptr);
    const auto earth = RefCast<IQTKEarthworkCalcEDO>(GetCalcEDO(record, true));
    QTK_ASSERT_MSG(earth, "the record has no earthwork object");
    const double cut = earth->GetCutDepth();
    double lower = 0.0;
    double upper = cut;
    if (layer == 1) {
        lower = cut;
        upper = cut + earth->GetWetDepth();
    } else if (layer != 0) {
        lower = cut + earth->GetWetDepth();
        upper = lower + earth->GetFrozenDepth();
    }
    const IPropValues* props = PropsOf(record);
    double width = EdoPropValueInteger(props, "BottomWidth");
    if (earth->HasWorkingFace())
        width +=
            EdoPropValueInteger(props, "LeftWorkingFaceWidth") + EdoPropValueInteger(props, "RightWorkingFaceWidth");
    double slope = 0.0;
    GetEarthSlopeFactor(record, slope);
    if (slope > CVRMEpsilon) {
        const double depth = atLowerDepth ? lower : upper;
        width +=
            EdoPropValueFloat(props, "LeftSlopeFactor") * depth + EdoPropValueFloat(props, "RightSlopeFactor") * depth;
    }
    return width;
}

bool GetEdoSlopeFactor(IQTKCalculatorEDO* edo, double& factor)
{
    factor = 0.0;
    const IQTKElementDrawObj* drawObj = edo ? edo->GetElementDrawObj() : nullptr;
    if (!drawObj)
        return false;
    const int type = drawObj->GetElementTypeID();
    if (type < 40 || type > 42)
        return false;
    auto* earthwork = dynamic_cast<IQTKEarthworkCalcEDO*>(edo);
    if (!earthwork || !earthwork->HasSlope())
        return false;
    factor = GetMaxSlopeFactor(drawObj->GetRecord());
    return true;
}

bool GetEarthSlopeFactor(IRDXRecord* record, double& factor)
{
    factor = 0.0;
    const int type = GetRecordElementTypeID(record);
    if (type >= 40 && type <= 42) {
        if (!EarthworkHasSlope(record))
            return true;
    } else if (type >= 43 && type <= 45) {
        if (!BackfillHasSlope(record))
            return true;
    } else if (type >= 87 && type <= 89) {
        const auto unit = RefCast<IQTKEarthBackfillUnitCalcEDO>(GetCalcEDO(record, true));
        const RecordRef backfill = unit ? unit->GetBackfillRecord() : RecordRef();
        if (!backfill || !BackfillHasSlope(backfill.get()))
            return true;
    }
    factor = GetMaxSlopeFactor(record);
    return true;
}

double GetMaxSlopeFactor(IRDXRecord* record)
{
    const int type = GetRecordElementTypeID(record);
    const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
    if (IsExcavationKind(type))
        return MaxEdgeSlopeFactor<IQTKFaceShape>(drawObj);
    if (IsPitKind(type))
        return MaxEdgeSlopeFactor<IQTKPointShape>(drawObj);
    if (IsDitchKind(type)) {
        const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
        return std::max(
            {0.0, EdoPropValueFloat(props, "LeftSlopeFactor"), EdoPropValueFloat(props, "RightSlopeFactor")});
    }
    QTK_ASSERT_MSG(false, "not an earthwork element");
    return 0.0;
}

double GetDrawObjSlopeFactor(const IQTKElementDrawObj* drawObj)
{
    return EdoPropValueFloat(drawObj ? drawObj->GetPropValues() : nullptr, "SlopeFactor", 0.0);
}

// ---------------------------------------------------------------------------
// Outlines moved by slope widths

std::unique_ptr<TVRMMultiPolygon2d> OffsetPolygonEdges(const TVRMMultiPolygon2d& polygon,
                                                       const std::vector<double>& widths)
{
    auto result = TVRMMultiPolygon2d::Create();
    size_t k = 0;
    for (const TVRMPolygon2d& ring : polygon.Items()) {
        std::vector<double> ringWidths(static_cast<size_t>(ring.GetCount()), 0.0);
        for (double& width : ringWidths) {
            if (k < widths.size())
                width = widths[k];
            ++k;
        }
        TVRMPolygon2d moved;
        if (TVRMOffsetFunc2d::Offset(ring, ringWidths, moved))
            result->Add(std::move(moved));
        else
            result->Add(ring);
    }
    return result;
}

double GetOffsetPolygonArea(const TVRMMultiPolygon2d& polygon, const std::vector<double>& widths)
{
    return OffsetPolygonEdges(polygon, widths)->Area();
}

std::unique_ptr<TVRMMultiPolygon2d> GetEarthPolygonOffset(IRDXRecord* record, const std::vector<double>& widths)
{
    QTK_ASSERT(record != nullptr);
    const auto pit = RefCast<IQTKPitEarthCalcEDO>(GetCalcEDO(record, true));
    QTK_ASSERT_MSG(pit, "the record has no pit or excavation object");
    const TVRMMultiPolygon2d* bottom = pit->GetSlopeBottomPolygon();
    return bottom ? OffsetPolygonEdges(*bottom, widths) : TVRMMultiPolygon2d::Create();
}

double GetEarthPolygonOffsetArea(IRDXRecord* record, const std::vector<double>& widths)
{
    return GetEarthPolygonOffset(record, widths)->Area();
}
