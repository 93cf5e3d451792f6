// The area of a cast slab: its soffit (a curved slab: its volume over its
// thickness), kept as a shell calculator on the slab's element object, and
// what the neighbouring elements take off it. Areas are mm².
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The slab's own area, with its formula.
class TQTKSlabOriginalArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element, as it stands, with the faces it shares with the soffit.
class TQTKSlabDeductAreaByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the object takes its part of the slab's area at all.
    virtual bool Deducts(IRDXRecord* /*object*/) const { return true; }
};

// Single beams only ("Type2" 0).
class TQTKSlabDeductMonosparAreaByFact final : public TQTKSlabDeductAreaByFact {
protected:
    bool Deducts(IRDXRecord* beam) const override;
};

// Elements above the member's limit in plan, as they stand.
class TQTKSlabDeductAreaByArea : public TQTKSlabDeductAreaByFact {
protected:
    bool Deducts(IRDXRecord* object) const override;
    // Elements of this plan area or less stay in the slab (mm²).
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// ... of more than 0.3 m².
class TQTKSlabDeductAreaByDot3M2 final : public TQTKSlabDeductAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// ... of more than 1 m².
class TQTKSlabDeductAreaBy1M2 final : public TQTKSlabDeductAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// ... of more than 5 m².
class TQTKSlabDeductAreaBy5M2 final : public TQTKSlabDeductAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

// Outer beams ("InnerOuterFlag" 1), as they stand.
class TQTKSlabDeductOutBeamArea final : public TQTKSlabDeductAreaByFact {
protected:
    bool Deducts(IRDXRecord* beam) const override;
};

void RegisterSlabAreaRules(TStrategyRegistry& registry);
