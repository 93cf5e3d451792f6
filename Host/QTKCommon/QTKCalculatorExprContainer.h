// Expression items of a record: the ordered list in which the rules leave the
// terms of a quantity's calculation expression (a plain value, a measured
// shell or solid part, an original-quantity text), and the part texts.
//
// Numbers print in metres with 4 decimals (FRound(v x scale, 4, 1e-12)); a
// factor other than 1 follows as " * factor".
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "Host/QTKCommon/VRMCalculatorExprAnalyser.h"
#include "Host/RDX/RDXIntf.h"

// How a value item's number converts from model units to its printed unit.
enum TQTKUnitConvertMark : int {
    CQTKUnitAsIs = 0,    // printed unconverted (a count, a ratio, a value already in its unit)
    CQTKUnitLength = 1,  // mm -> m
    CQTKUnitArea = 2,    // mm2 -> m2
    CQTKUnitVolume = 3,  // mm3 -> m3
};

class TQTKCalcInternalExprItem {
public:
    TQTKCalcInternalExprItem(RecordRef record, std::string qtyKey, double factor, bool flag);
    virtual ~TQTKCalcInternalExprItem() = default;

    const RecordRef& GetRecord() const noexcept { return record_; }
    const std::string& GetQtyKey() const noexcept { return qtyKey_; }
    double GetFactor() const noexcept { return factor_; }
    bool GetFlag() const noexcept { return flag_; }
    // The term's text, factor included.
    std::string GetExprText() const;

protected:
    virtual std::string GetBaseText() const = 0;

private:
    RecordRef record_;
    std::string qtyKey_;
    double factor_;
    bool flag_;
};

class TQTKCalcInternalValueItem : public TQTKCalcInternalExprItem {
public:
    TQTKCalcInternalValueItem(RecordRef record, std::string qtyKey, double value, double factor,
                              TQTKUnitConvertMark unitMark, bool flag);
    double GetValue() const noexcept { return value_; }
    TQTKUnitConvertMark GetUnitMark() const noexcept { return unitMark_; }

protected:
    std::string GetBaseText() const override;

private:
    double value_;
    TQTKUnitConvertMark unitMark_;
};

// One measured part of a shell; other is the deducting record, or nil.
class TQTKCalcInternalShellExprItem : public TQTKCalcInternalExprItem {
public:
    TQTKCalcInternalShellExprItem(RecordRef record, RecordRef other, std::string qtyKey,
                                  const TVRMExprInfo3dRecord& part, double factor, bool flag);
    const RecordRef& GetOtherRecord() const noexcept { return other_; }
    const TVRMExprInfo3dRecord& GetPart() const noexcept { return part_; }

protected:
    std::string GetBaseText() const override;

private:
    RecordRef other_;
    TVRMExprInfo3dRecord part_;
};

// One measured part of a solid.
class TQTKCalcInternalSolidExprItem : public TQTKCalcInternalShellExprItem {
public:
    using TQTKCalcInternalShellExprItem::TQTKCalcInternalShellExprItem;
};

// The text of an original quantity as its builder wrote it.
class TQTKCalcInternalOriginalExprItem : public TQTKCalcInternalExprItem {
public:
    TQTKCalcInternalOriginalExprItem(RecordRef record, std::string qtyKey, std::string text, double factor, bool flag);
    const std::string& GetText() const noexcept { return text_; }

protected:
    std::string GetBaseText() const override { return text_; }

private:
    std::string text_;
};

// Ordered items of one record; Add and Clear may be called from several threads.
class TQTKCalcInternalExprContainer {
public:
    // Takes ownership; a nil item is ignored.
    void Add(std::unique_ptr<TQTKCalcInternalExprItem> item);
    void AddValueItem(RecordRef record, std::string qtyKey, double value, double factor,
                      TQTKUnitConvertMark unitMark = CQTKUnitAsIs, bool flag = true);
    void Clear();
    int GetCount() const;
    // Borrowed; valid until the container is cleared.
    const TQTKCalcInternalExprItem* GetItems(int index) const;
    // The terms of one quantity key joined by " + "; empty when it has none.
    std::string GetExprText(const std::string& qtyKey) const;

private:
    mutable std::mutex lock_;
    std::vector<std::unique_ptr<TQTKCalcInternalExprItem>> items_;
};

// The text of a part ("3<长>*2.8<宽>" style, see VRMCalculatorExprAnalyser.h).
std::string GetShellExpr(const TVRMExprInfo3dRecord& part);
// The value of a part in m2 (shell parts) or m3 (solid parts), from its rounded sizes.
double GetExprInfoValue(const TVRMExprInfo3dRecord& part);
