#include "Host/QTKCommon/QTKPlanarCalc2d.h"

#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

void AddAreaDetail(const IRDXRecord* record, const TVRMMultiPolygon2d& measured, const TVRMMultiPolygon2d& deducted,
                   double area, bool formulaText, bool original)
{
    if (!record || !IsDetailRecording())
        return;
    std::string text;
    if (!formulaText || !TVRMPoly2dAnalyser::ParseMultiPolygonToString(measured, text))
        text = MM2ToM2(area);
    const TQTKCurrentQty qty = CurrentQtyOf(record);
    auto detail = std::make_unique<TQTKPoly2dDeductDetail>(RecordRef(const_cast<IRDXRecord*>(record)), qty.code,
                                                           qty.desc, measured, deducted, text);
    detail->SetIsOriginalQty(original);
    AddDeductDetail(std::move(detail));
}

}  // namespace

TQTKPlanarCalc2d::TQTKPlanarCalc2d(const TVRMMultiPolygon2d& polygon, RecordRef record, bool flag)
    : polygon_(polygon), record_(std::move(record)), flag_(flag)
{
    AddAreaDetail(record_.get(), polygon_, {}, polygon_.Area(), false, true);
}

double TQTKPlanarCalc2d::Sub(const TVRMMultiPolygon2d& polygon, const IRDXRecord* record, bool writeDetail,
                             bool formulaText)
{
    if (polygon_.IsEmpty() || polygon.IsEmpty())
        return 0.0;
    const double before = polygon_.Area();
    std::unique_ptr<TVRMMultiPolygon2d> rest = TVRMIntersectFunc2d::SyncSubPolygon(polygon_, polygon);
    const double removed = before - rest->Area();
    if (writeDetail && removed > CVRMEpsilon && IsDetailRecording()) {
        std::unique_ptr<TVRMMultiPolygon2d> part = TVRMIntersectFunc2d::IntPolygon(polygon_, polygon);
        AddAreaDetail(record, *part, polygon, removed, formulaText, false);
    }
    polygon_ = std::move(*rest);
    return removed;
}
