#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSiteLevelingCalcEDO.h"

#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr double CExtension = 2000.0;
constexpr int CSiteLevelingAreaQty = 464;

}  // namespace

TQTKSiteLevelingCalcEDO::~TQTKSiteLevelingCalcEDO() = default;

const TVRMMultiPolygon2d* TQTKSiteLevelingCalcEDO::GetExtendTwoMeterPolygon()
{
    return KeepOnce(extendedPolygon_,
                    [this] {
                        auto polygon =
                            std::make_shared<TVRMMultiPolygon2d>(GetElementDrawObj()->GetShape()->GetOutline());
                        if (polygon->IsEmpty())
                            return polygon;
                        TVRMPolygon2d& first = polygon->GetItems(0);
                        first.Normalize(CLengthTol);
                        TVRMPolygon2d grown;
                        if (first.GetEdgeCount() > 0 && TVRMOffsetFunc2d::Offset(first, CExtension, grown))
                            first = std::move(grown);
                        else
                            polygon->Clear();
                        return polygon;
                    })
        .get();
}

void TQTKSiteLevelingCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container || container->GetCount() != 0 || !qtyRecord || qtyRecord->GetID() != CSiteLevelingAreaQty)
        return;
    IRDXRecord* record = GetElementDrawObj()->GetRecord();
    TQTKCurrentQty qty = CurrentQtyOf(record);
    auto detail = std::make_unique<TQTKPoly2dDeductDetail>(
        RecordRef(record), std::move(qty.code), std::move(qty.desc), GetElementDrawObj()->GetShape()->GetOutline(),
        TVRMMultiPolygon2d(), UnitChange(qtyRecord, GetOriginalQty()));
    detail->SetIsOriginalQty(true);
    container->Add(std::move(detail));
}
