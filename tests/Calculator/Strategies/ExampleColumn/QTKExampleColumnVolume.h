// Concrete volume of a column, and what a beam running through it takes off.
// A small family kept for the tests and the guide to rule families
// (docs/rule-families.md): it has the shape every family has, one base rule
// doing the work and registered subclasses that change one hook.
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The column's own volume (mm³), with its expression in expression mode.
class TQTKExampleColumnVolume : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The volume a beam (the object) takes off the column (the subject): the part
// of the column inside the beam, when the project's rule table has a volume
// row for the pair that matches both ("InternalQtyCalcRule"); else nothing.
// Recorded as a deduction detail in detail mode.
class TQTKExampleColumnVolumeDeductBeam : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Beams whose section ("SectionWidth" x "SectionHeight", mm²) is at or
    // below the limit are not deducted; no limit: every beam is.
    virtual std::optional<double> SectionLimit() const { return std::nullopt; }
};

// Beams of 0.1 m² section or less stay in the column.
class TQTKExampleColumnVolumeDeductBeamDot1M2Limited final : public TQTKExampleColumnVolumeDeductBeam {
protected:
    std::optional<double> SectionLimit() const override { return 100'000.0; }
};

void RegisterExampleColumnVolumeRules(TStrategyRegistry& registry);
