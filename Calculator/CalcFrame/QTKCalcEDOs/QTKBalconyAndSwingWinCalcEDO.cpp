#include "Calculator/CalcFrame/QTKCalcEDOs/QTKBalconyAndSwingWinCalcEDO.h"

#include <algorithm>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCompositeElementCalcCommon.h"
#include "Calculator/Common/QTKReportExprParser.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/RDX/RDXSync.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

constexpr double CLengthTol = 0.0010123456789;
constexpr int CBalconyType = 10;
// Quantity whose original detail is the balcony's solid.
constexpr int CBalconyDetailQty = 351;
// A wall must overlap the balcony vertically by more than this (mm).
constexpr double CWallOverlap = 100.0;

bool IsSlab(int type)
{
    return type == 19 || type == 20;
}

bool IsLinePart(int type)
{
    return type == 0 || type == 8 || type == 9 || type == 15 || type == 17 || type == 18 || type == 69;
}

double Prop(const IQTKElementDrawObj* d, std::string_view name)
{
    return EdoPropValueFloat(d->GetPropValues(), name);
}

}  // namespace

TQTKBalconyAndSwingWinCalcEDO::TQTKBalconyAndSwingWinCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj)
    : TQTKCalculatorEDO(mode, drawObj)
{
    IRDXRecord* record = drawObj->GetRecord();
    // A model whose elements never name a composite has no parts.
    const IRDXTable* table = record ? record->GetTable() : nullptr;
    bool hasField = false;
    for (int i = 0; table && i < table->GetFieldCount(); ++i)
        hasField = hasField || table->GetField(i).name == "CompositeEDOPID";
    if (hasField)
        parts_ = SyncCreateRdxStaticView(record->GetTable(), "CompositeEDOPID = " + std::to_string(record->GetID()));
    elevationsFound_ = SearchElevations();
}

TQTKBalconyAndSwingWinCalcEDO::~TQTKBalconyAndSwingWinCalcEDO() = default;

bool TQTKBalconyAndSwingWinCalcEDO::SearchElevations()
{
    if (!parts_ || parts_->GetRowCount() == 0)
        return false;
    bool found = false, slabSeen = false;
    for (int i = 0; i < parts_->GetRowCount(); ++i) {
        const IQTKElementDrawObj* d = GetRecordDrawObj(parts_->GetRow(i));
        if (!d || !IsSlab(d->GetElementTypeID()))
            continue;
        const double top = Prop(d, "TopElev");
        if (!slabSeen) {
            topElev_ = bottomElev_ = top;
            slabSeen = true;
            continue;
        }
        topElev_ = std::max(topElev_, top);
        bottomElev_ = std::min(bottomElev_, top);
        found = true;
    }
    if (found)
        return true;
    for (int i = 0; i < parts_->GetRowCount(); ++i) {
        const IQTKElementDrawObj* d = GetRecordDrawObj(parts_->GetRow(i));
        if (!d || !IsLinePart(d->GetElementTypeID()))
            continue;
        const double top = std::max(Prop(d, "StartPtTopElev"), Prop(d, "EndPtTopElev"));
        const double bottom = std::min(Prop(d, "StartPtBottomElev"), Prop(d, "EndPtBottomElev"));
        // The first part sets both when it is of these kinds; later ones
        // widen what the slabs (or the first part) gave.
        if (i == 0)
            topElev_ = top, bottomElev_ = bottom;
        else
            topElev_ = std::max(topElev_, top), bottomElev_ = std::min(bottomElev_, bottom);
        found = true;
    }
    return found;
}

std::shared_ptr<const TVRMMultiPolygon2d> TQTKBalconyAndSwingWinCalcEDO::GetHorizonPolygon(int)
{
    return KeepOnce(horizonPolygon_, [&]() -> std::shared_ptr<const TVRMMultiPolygon2d> {
        return GetCompositeOutline(GetElementDrawObj()->GetRecord());
    });
}

std::shared_ptr<const TVRMPolyhedron3d> TQTKBalconyAndSwingWinCalcEDO::GetBodySolid(int mode)
{
    return KeepOnce(bodySolid_, [&]() -> std::shared_ptr<const TVRMPolyhedron3d> {
        if (elevationsFound_)
            if (const auto polygon = GetHorizonPolygon(mode))
                if (auto prism = TVRMPolyhedron3d::CreatePrism(*polygon, bottomElev_, topElev_ - bottomElev_))
                    return prism;
        return std::make_shared<const TVRMPolyhedron3d>();
    });
}

double TQTKBalconyAndSwingWinCalcEDO::CalcParamExpression(std::string_view formula, bool buildExpr)
{
    const auto info = Kept(paramInfo_);
    if (!info)
        return 0.0;
    return TQTKParamElementDrawObjParser::CalcFormula(GetElementDrawObj()->GetRecord(), info.get(), formula, buildExpr);
}

int TQTKBalconyAndSwingWinCalcEDO::GetParamPolyInfoType()
{
    const auto info = Kept(paramInfo_);
    return info ? info->ParamPolyID() : -1;
}

bool TQTKBalconyAndSwingWinCalcEDO::IsIntersectWith(IRDXRecord* record)
{
    const IQTKElementDrawObj* other = GetRecordDrawObj(record);
    if (!other || !parts_ || parts_->GetRowCount() == 0 || other->GetShape()->GetOutline().IsEmpty())
        return false;
    const IQTKElementDrawObj* own = GetElementDrawObj();
    if (EdoPropValueInteger(other->GetPropValues(), "CompositeEDOPID", -1) == own->GetIndexKey())
        return true;
    const int type = other->GetElementTypeID();
    if (type != 0 && type != 1 && type != 66 && type != 69)
        return false;
    const Ref<IQTKPolyhedron3dIntf> relation = GetRelationPolyhedronIntf();
    const TVRMBox3d ownBox =
        relation && relation->GetPolyhedron() ? relation->GetPolyhedron()->GetBox() : own->GetBox();
    const TVRMBox3d box = other->GetBox();
    if (!(box.min.z + CWallOverlap < ownBox.max.z && ownBox.min.z + CWallOverlap < box.max.z))
        return false;
    const TVRMPolygon2d& first = other->GetShape()->GetOutline().GetItems(0);
    for (int i = 0; i < parts_->GetRowCount(); ++i) {
        IRDXRecord* part = parts_->GetRow(i);
        const IQTKElementDrawObj* d = GetRecordDrawObj(part);
        if (!d || IsVirtualWallRecord(part))
            continue;
        const Ref<IQTKCalculatorEDO> partEdo = GetCalcEDO(part, false);
        if (partEdo && partEdo->IsIntersectWith(record))
            return true;
        const TVRMMultiPolygon2d& outline = d->GetShape()->GetOutline();
        if (!outline.IsEmpty() && TVRMPositionFunc2d::PolyPolyPosition(first, outline.GetItems(0), CLengthTol) != 0)
            return true;
    }
    return false;
}

void TQTKBalconyAndSwingWinCalcEDO::ClearQtyItems()
{
    TQTKCalculatorEDO::ClearQtyItems();
    Keep(paramInfo_, ReadParamPolyInfo());
}

void TQTKBalconyAndSwingWinCalcEDO::FreeCalcCache()
{
    TQTKCalculatorEDO::FreeCalcCache();
    Keep(paramInfo_, {});
}

bool TQTKBalconyAndSwingWinCalcEDO::AddOriginalQtyDetail(IRDXRecord* qtyRecord)
{
    const bool base = TQTKCalculatorEDO::AddOriginalQtyDetail(qtyRecord);
    const IQTKElementDrawObj* drawObj = GetElementDrawObj();
    if (!qtyRecord || qtyRecord->GetID() != CBalconyDetailQty || drawObj->GetElementTypeID() != CBalconyType)
        return base;
    if (TQTKDeductDetailContainer* container = GetDeductDetailContainer()) {
        const TVRMPolyhedron3d* original = GetOriginalPolyhedron();
        IRDXRecord* record = drawObj->GetRecord();
        TQTKCurrentQty qty = CurrentQtyOf(record);
        auto detail = std::make_unique<TQTKSolidDeductDetail>(
            RecordRef(record), std::move(qty.code), std::move(qty.desc),
            original ? original->Clone() : std::make_unique<TVRMPolyhedron3d>(), nullptr, "1");
        detail->SetIsOriginalQty(true);
        container->Add(std::move(detail));
    }
    return true;
}
