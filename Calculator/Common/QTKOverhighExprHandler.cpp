#include "Calculator/Common/QTKOverhighExprHandler.h"

#include <atomic>
#include <exception>
#include <memory>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorCommonBeamShape.h"
#include "Calculator/Common/QTKCalculatorCommonRecords.h"
#include "Calculator/Common/QTKCalculatorDeductExprDirection.h"
#include "Calculator/Common/QTKCalculatorExprMeasure.h"
#include "Calculator/Common/QTKExprCommon.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

std::atomic<TQTKOverhighExprHandler::TExceptionObserver> GObserver{nullptr};

void ReportDropped(const char* message)
{
    if (const auto observer = GObserver.load())
        observer(message);
}

// The settings table that holds the element kind's partition method; nil for another kind.
const char* SettingsTableOf(int elementType)
{
    switch (elementType) {
        case 0:
        case 86:
            return "QTKWallCalcSettings";
        case 15:
        case 17:
        case 18:
            return "QTKBeamCalcSettings";
        case 19:
        case 21:
            return "QTKSlabCalcSettings";
        case 25:
        case 26:
            return "QTKColumnCalcSettings";
        case 27:
            return "QTKColumnCapCalcSetting";
        default:
            return nullptr;
    }
}

bool HasOverhighItems(int elementType)
{
    switch (elementType) {
        case 0:
        case 15:
        case 17:
        case 18:
        case 19:
        case 25:
        case 26:
        case 27:
        case 86:
            return true;
        default:
            return false;
    }
}

}  // namespace

TQTKOverhighExprHandler::TQTKOverhighExprHandler(IRDXRecord* record, const TableSourceRef& ruleContext,
                                                 TQTKOverhighCalcRef calc)
    : calc_(calc), record_(record)
{
    const IQTKElementDrawObj* drawObj = GetExprElement(record);
    elementType_ = record ? (drawObj ? drawObj->GetElementTypeID() : GetRecordElementTypeID(record)) : -1;
    if (const char* table = ruleContext ? SettingsTableOf(elementType_) : nullptr)
        partitionMethod_ = FieldValueInteger(GetSettingRow(ruleContext, table), "OverHighPartitionMethod", -1);
    if (calc_.shell)
        calc_.solid = nullptr;
}

void TQTKOverhighExprHandler::SetExceptionObserver(TExceptionObserver observer) noexcept
{
    GObserver.store(observer);
}

void TQTKOverhighExprHandler::Build(IRDXRecord* record, const TableSourceRef& ruleContext, TQTKOverhighCalcRef calc,
                                    bool clear, double indentRatio)
{
    if (!IsExprMode(record))
        return;
    try {
        if (clear)
            GetEdoGlobalData(record->GetID())->GetExprContainer().Clear();
        TQTKOverhighExprHandler handler(record, ruleContext, calc);
        handler.indentRatio_ = indentRatio;
        handler.BuildOverhighItems();
    } catch (const std::exception& e) {
        ReportDropped(e.what());
    } catch (...) {
        ReportDropped("");
    }
}

void TQTKOverhighExprHandler::BuildOverhighExpr(IRDXRecord* record, const TableSourceRef& ruleContext,
                                                TQTKOverhighCalcRef calc)
{
    Build(record, ruleContext, calc, true, 0.0);
}

void TQTKOverhighExprHandler::BuildOverhighSideFormboardExpr(IRDXRecord* record, const TableSourceRef& ruleContext,
                                                             TQTKOverhighCalcRef calc)
{
    Build(record, ruleContext, calc, true, 0.0);
}

void TQTKOverhighExprHandler::BuildIndentingOverhighExpr(IRDXRecord* record, const TableSourceRef& ruleContext,
                                                         double indentRatio, TQTKOverhighCalcRef calc)
{
    Build(record, ruleContext, calc, false, indentRatio);
}

void TQTKOverhighExprHandler::AddOverhighValueItem(IRDXRecord* record, double value, double factor)
{
    if (!record)
        return;
    TQTKEdoGlobalData& data = *GetEdoGlobalData(record->GetID());
    data.GetExprContainer().AddValueItem(RecordRef(record), data.GetCurQtyKey(), value, factor, CQTKUnitAsIs, true);
}

void TQTKOverhighExprHandler::BuildOverhighItems()
{
    if (IsCalcEmpty() || !HasOverhighItems(elementType_))
        return;
    int first = 0;
    int last = -1;
    switch (partitionMethod_) {
        case 0:
        case 1:
        case 2:
            first = last = 0;
            break;
        case 3:
            last = GetPieceCount() - 1;
            break;
        default:
            return;
    }
    for (int i = last; i >= first; --i) {
        TVRMExprInfo3dArray parts;
        double value = 0.0;
        double factor = 0.0;
        GetPieceParts(i, parts, value, factor);
        if (!parts.empty())
            AddPartItems(parts, factor);
        else if (!IsZero(value))
            AddOverhighValueItem(record_.get(), value, factor);
    }
}

int TQTKOverhighExprHandler::GetPieceCount() const
{
    if (calc_.shell)
        return calc_.shell->GetCount();
    return calc_.solid ? calc_.solid->GetCount() : 0;
}

bool TQTKOverhighExprHandler::IsCalcEmpty() const
{
    return GetPieceCount() == 0;
}

void TQTKOverhighExprHandler::GetPieceParts(int index, TVRMExprInfo3dArray& parts, double& value, double& factor) const
{
    parts.clear();
    value = 0.0;
    factor = 0.0;
    double quantity = 0.0;
    if (calc_.shell) {
        const TVRMOverhighShellCalcItem3d* piece = calc_.shell->GetItem(index);
        factor = piece->GetFactor();
        quantity = piece->GetQuantity();
        if (IsZero(indentRatio_) && piece->GetShell()) {
            parts = TVRMShellInfoAnalyser::Analyse(*piece->GetShell());
            if (piece->GetMergeFlag() && parts.size() != 1)
                MergeDeductParts(parts, piece->GetShell()->GetArea());
        }
    } else if (calc_.solid) {
        const TVRMOverhighSolidCalcItem3d* piece = calc_.solid->GetItem(index);
        factor = piece->GetFactor();
        quantity = piece->GetQuantity();
        if (IsZero(indentRatio_) && piece->GetSolid())
            parts = TVRMColumnInfoAnalyser::Analyse(*piece->GetSolid(), true);
    }
    if (parts.empty())
        value = IsZero(factor) ? quantity : quantity / factor;
}

void TQTKOverhighExprHandler::AddPartItems(const TVRMExprInfo3dArray& parts, double factor)
{
    TQTKEdoGlobalData& data = *GetEdoGlobalData(record_->GetID());
    for (const TVRMExprInfo3dRecord& part : parts) {
        if (calc_.shell) {
            data.GetExprContainer().Add(std::make_unique<TQTKCalcInternalShellExprItem>(
                record_, RecordRef(), data.GetCurQtyKey(), part, factor, true));
        } else if (calc_.solid) {
            TVRMExprInfo3dRecord copy = part;
            if (parts.size() == 1)
                AdjustGradientBeamPart(copy);
            data.GetExprContainer().Add(std::make_unique<TQTKCalcInternalSolidExprItem>(
                record_, RecordRef(), data.GetCurQtyKey(), copy, factor, true));
        }
    }
}

void TQTKOverhighExprHandler::AdjustGradientBeamPart(TVRMExprInfo3dRecord& part) const
{
    if (elementType_ != 15 || !calc_.solid || part.kind != 4 || !IsGradientBeamRecord(record_.get()))
        return;
    const IQTKElementDrawObj* drawObj = GetExprElement(record_.get());
    const IPropValues* props = drawObj ? drawObj->GetPropValues() : nullptr;
    if (!props)
        return;
    const double height = (props->GetFloat("SectionHeight") + props->GetFloat("EndPtGradChangeHeight")) / 2.0;
    const Ref<IQTKLineEntBaseCalcEDO> beam = RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(record_.get(), true));
    const TVRMCustomLine2d* midLine = beam ? beam->GetMidLine() : nullptr;
    if (!midLine)
        return;
    const double length = midLine->Length();
    if (!IsZero(FRound((height * length - part.firstSize) * 1e-6, 4, 1e-12)))
        return;
    // A prism keeps its length along the axis (here the beam's width) as its
    // third size: the box reads length x width x height.
    part.kind = 3;
    part.secondSize = part.thirdSize;
    part.firstSize = length;
    part.thirdSize = height;
}
