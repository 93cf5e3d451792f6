// The volume a family's deductions take solids off: an element's regular
// volume calculator, or the weighted pieces of its over-height volume. The
// volume families ask one hook for it, so one deduction serves both.
#pragma once

#include <memory>
#include <utility>

#include "Host/RDX/RDXIntf.h"

class IRDXRecord;
class TQTKSolidCalc3d;
class TVRMOverhighSolidCalc3d;
class TVRMPolyhedron3d;

class TQTKVolumeTarget {
public:
    TQTKVolumeTarget() = default;
    explicit TQTKVolumeTarget(TQTKSolidCalc3d* regular) : regular_(regular) {}
    explicit TQTKVolumeTarget(std::shared_ptr<TVRMOverhighSolidCalc3d> overhigh) : overhigh_(std::move(overhigh)) {}

    // False when there is nothing to deduct from (no calculator).
    explicit operator bool() const noexcept { return regular_ != nullptr || overhigh_ != nullptr; }
    TQTKSolidCalc3d* Regular() const noexcept { return regular_; }
    TVRMOverhighSolidCalc3d* Overhigh() const noexcept { return overhigh_.get(); }

    // Takes Solid off on Record's behalf (Whole shown in the detail); the
    // volume removed, weighted piece by piece for an over-height volume. 0
    // without a calculator.
    double Subtract(const TVRMPolyhedron3d& solid, IRDXRecord* record, const TVRMPolyhedron3d* whole = nullptr) const;
    // Takes off the part solid of the line element (or insulating wall unit)
    // behind Record, which runs along the element or crosses it.
    double DeductPart(IRDXRecord* record, bool parallel) const;

private:
    TQTKSolidCalc3d* regular_ = nullptr;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhigh_;
};

// How an element's over-height volume is found (built and stored when missing).
using TQTKVolumeGetter = TQTKVolumeTarget (*)(const RecordRef& subject, const TableSourceRef& business,
                                              const TableSourceRef& ruleContext);

// A volume rule (whose VolumeOf hook gives the element's regular volume)
// working on the volume Getter gives instead.
template <class Rule, TQTKVolumeGetter Getter>
class TQTKVolumeRuleOn : public Rule {
protected:
    TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                              const TableSourceRef& ruleContext) const override
    {
        return Getter(subject, business, ruleContext);
    }
};
