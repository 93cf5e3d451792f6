// The projective area of a cast slab: its soffit projected on the level, and
// what the neighbouring elements take off it. The deductions keep the soffit
// as a shell calculator on the slab's element object. Areas are mm².
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The base of the projective-area rules (not a rule of its own).
class TQTKSlabCustomProjectiveArea : public TQTKCalcStrategy {};

// The slab's own projective area; a level slab writes its plan polygon.
class TQTKSlabOriginalProjectiveArea final : public TQTKSlabCustomProjectiveArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element, as it stands: the soffit it takes, in plan.
class TQTKSlabDeductProjectiveAreaByFact : public TQTKSlabCustomProjectiveArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the object takes its part of the projective area at all.
    virtual bool Deducts(IRDXRecord* /*object*/) const { return true; }
};

// Elements whose solid's last face (an opening's outline) is above the
// member's limit, as they stand.
class TQTKSlabDeductProjectiveAreaByArea : public TQTKSlabDeductProjectiveAreaByFact {
protected:
    bool Deducts(IRDXRecord* object) const override;
    // Elements of this size or less stay in the slab (mm²).
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// ... of more than 0.3 m².
class TQTKSlabDeductProjectiveAreaByDot3M2 final : public TQTKSlabDeductProjectiveAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// ... of more than 1 m².
class TQTKSlabDeductProjectiveAreaBy1M2 final : public TQTKSlabDeductProjectiveAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// ... of more than 5 m².
class TQTKSlabDeductProjectiveAreaBy5M2 final : public TQTKSlabDeductProjectiveAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

// Walls that belong to no composite element (not a balcony's walls).
class TQTKSlabDeductProjectiveAreaWallNotInBalcony final : public TQTKSlabDeductProjectiveAreaByFact {
protected:
    bool Deducts(IRDXRecord* wall) const override;
};

void RegisterSlabProjectiveAreaRules(TStrategyRegistry& registry);
