#include "Calculator/CalcFrame/QTKCalcEDOs/QTKEaveAndCanopyCalcEDO.h"

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr int CFloorAreaType = 58;

}  // namespace

TQTKEaveAndCanopyCalcEDO::~TQTKEaveAndCanopyCalcEDO() = default;

void TQTKEaveAndCanopyCalcEDO::SetHorizonPolygon(std::unique_ptr<TVRMMultiPolygon2d> polygon)
{
    Keep(horizonPolygon_, std::shared_ptr<const TVRMMultiPolygon2d>(std::move(polygon)));
}

bool TQTKEaveAndCanopyCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    if (!other || other->GetElementTypeID() != CFloorAreaType)
        return TQTKCalculatorEDO::IsIntersectWith(record);
    const IQTKElementDrawObj* own = GetElementDrawObj();
    return own->GetFloorID() == other->GetFloorID() &&
           TVRMIntersectFunc2d::IsMultiPolyInt(own->GetShape()->GetOutline(), other->GetShape()->GetOutline(),
                                               CLengthTol);
}

void TQTKEaveAndCanopyCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Keep(horizonPolygon_, {});
}

void TQTKEaveAndCanopyCalcEDO::FillDeductDetail(IRDXRecord* qtyRecord)
{
    if (!qtyRecord || (qtyRecord->GetID() != 344 && qtyRecord->GetID() != 475))
        return;
    TQTKDeductDetailContainer* container = GetDeductDetailContainer();
    if (!container)
        return;
    for (int i = container->GetCount() - 1; i >= 0; --i)
        if (!dynamic_cast<const TQTKSolidDeductDetail*>(container->GetItems(i)))
            container->Delete(i);
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    const auto* face = dynamic_cast<const IQTKFaceShape*>(drawObj->GetShape());
    if (!face)
        return;
    // No horizontal polygon stored: the face's own outline.
    const std::shared_ptr<const TVRMMultiPolygon2d> stored = GetHorizonPolygon();
    const TVRMMultiPolygon2d& polygon = stored ? *stored : face->GetOutline();
    std::unique_ptr<TVRMPolyhedron3d> solid = TVRMPolyhedron3d::CreateOnPlane(
        polygon, *GetFaceShapePlane(face, true), EdoPropValueFloat(drawObj->GetPropValues(), "Thickness"));
    if (!solid)
        solid = std::make_unique<TVRMPolyhedron3d>();
    IRDXRecord* record = drawObj->GetRecord();
    TQTKCurrentQty qty = CurrentQtyOf(record);
    const double volume = solid->GetVolume();
    auto detail = std::make_unique<TQTKSolidDeductDetail>(RecordRef(record), std::move(qty.code), std::move(qty.desc),
                                                          std::move(solid), nullptr, MM3ToM3(volume));
    detail->SetIsOriginalQty(true);
    container->Add(std::move(detail));
}
