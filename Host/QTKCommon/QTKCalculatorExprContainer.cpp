#include "Host/QTKCommon/QTKCalculatorExprContainer.h"

#include "Host/Runtime/Assert.h"
#include "Host/Runtime/CorvaMathUtils.h"
#include "Host/Runtime/SysUtils.h"
#include "Host/VRM/VRMCommon2d.h"

namespace {

double Rounded(double value, double scale)
{
    return FRound(value * scale, 4, 1e-12);
}

}  // namespace

TQTKCalcInternalExprItem::TQTKCalcInternalExprItem(RecordRef record, std::string qtyKey, double factor, bool flag)
    : record_(std::move(record)), qtyKey_(std::move(qtyKey)), factor_(factor), flag_(flag)
{
}

std::string TQTKCalcInternalExprItem::GetExprText() const
{
    std::string text = GetBaseText();
    if (!SameValue(factor_, 1.0))
        text += " * " + FloatToStr(FRound(factor_, 4, 1e-12));
    return text;
}

TQTKCalcInternalValueItem::TQTKCalcInternalValueItem(RecordRef record, std::string qtyKey, double value, double factor,
                                                     TQTKUnitConvertMark unitMark, bool flag)
    : TQTKCalcInternalExprItem(std::move(record), std::move(qtyKey), factor, flag), value_(value), unitMark_(unitMark)
{
}

std::string TQTKCalcInternalValueItem::GetBaseText() const
{
    static constexpr double scales[] = {1.0, 1e-3, 1e-6, 1e-9};
    const int mark = unitMark_ >= CQTKUnitAsIs && unitMark_ <= CQTKUnitVolume ? unitMark_ : CQTKUnitAsIs;
    return FloatToStr(Rounded(value_, scales[mark]));
}

TQTKCalcInternalShellExprItem::TQTKCalcInternalShellExprItem(RecordRef record, RecordRef other, std::string qtyKey,
                                                             const TVRMExprInfo3dRecord& part, double factor, bool flag)
    : TQTKCalcInternalExprItem(std::move(record), std::move(qtyKey), factor, flag),
      other_(std::move(other)),
      part_(part)
{
}

std::string TQTKCalcInternalShellExprItem::GetBaseText() const
{
    return GetShellExpr(part_);
}

TQTKCalcInternalOriginalExprItem::TQTKCalcInternalOriginalExprItem(RecordRef record, std::string qtyKey,
                                                                   std::string text, double factor, bool flag)
    : TQTKCalcInternalExprItem(std::move(record), std::move(qtyKey), factor, flag), text_(std::move(text))
{
}

void TQTKCalcInternalExprContainer::Add(std::unique_ptr<TQTKCalcInternalExprItem> item)
{
    if (!item)
        return;
    std::lock_guard guard(lock_);
    items_.push_back(std::move(item));
}

void TQTKCalcInternalExprContainer::AddValueItem(RecordRef record, std::string qtyKey, double value, double factor,
                                                 TQTKUnitConvertMark unitMark, bool flag)
{
    Add(std::make_unique<TQTKCalcInternalValueItem>(std::move(record), std::move(qtyKey), value, factor, unitMark,
                                                    flag));
}

void TQTKCalcInternalExprContainer::Clear()
{
    std::lock_guard guard(lock_);
    items_.clear();
}

int TQTKCalcInternalExprContainer::GetCount() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(items_.size());
}

const TQTKCalcInternalExprItem* TQTKCalcInternalExprContainer::GetItems(int index) const
{
    std::lock_guard guard(lock_);
    QTK_ASSERT(index >= 0 && index < static_cast<int>(items_.size()));
    return items_[static_cast<size_t>(index)].get();
}

std::string TQTKCalcInternalExprContainer::GetExprText(const std::string& qtyKey) const
{
    std::lock_guard guard(lock_);
    std::string text;
    for (const auto& item : items_) {
        if (item->GetQtyKey() != qtyKey)
            continue;
        if (!text.empty())
            text += " + ";
        text += item->GetExprText();
    }
    return text;
}

std::string GetShellExpr(const TVRMExprInfo3dRecord& part)
{
    switch (part.kind) {
        case 1:
        case 5:
            return Format("%g<长度>*%g<宽度>", {Rounded(part.firstSize, 1e-3), Rounded(part.secondSize, 1e-3)});
        case 3:
            return Format("%g<长度>*%g<宽度>*%g<高度>", {Rounded(part.firstSize, 1e-3), Rounded(part.secondSize, 1e-3),
                                                         Rounded(part.thirdSize, 1e-3)});
        case 4:
            return Format("%g<面积>*%g<高度>", {Rounded(part.firstSize, 1e-6), Rounded(part.thirdSize, 1e-3)});
        default:
            return Format("%g<面积>", {Rounded(part.quantity, 1e-6)});
    }
}

double GetExprInfoValue(const TVRMExprInfo3dRecord& part)
{
    switch (part.kind) {
        case 1:
        case 5:
            return Rounded(part.firstSize, 1e-3) * Rounded(part.secondSize, 1e-3);
        case 3:
            return Rounded(part.firstSize, 1e-3) * Rounded(part.secondSize, 1e-3) * Rounded(part.thirdSize, 1e-3);
        case 4:
            return Rounded(part.firstSize, 1e-6) * Rounded(part.thirdSize, 1e-3);
        default:
            return Rounded(part.quantity, 1e-6);
    }
}
