// The over-height volume of a slab: the weighted volume of the pieces of its
// solid above the over-height cuts, and what each neighbour takes out of
// those pieces (mm³, already multiplied by the piece weights). The deductions
// are the slab volume rules working on the over-height pieces instead of the
// volume calculator; the pieces are built on first use, by whichever rule
// comes first, and kept on the slab. 0 for a slab that is not over height.
#pragma once

#include "Calculator/Strategies/SlabStrategies/QTKSlabVolCalculator.h"

// The slab's over-height volume, built and stored when missing.
TQTKVolumeTarget GetOrBuildSlabOverhighVolumeTarget(const RecordRef& subject, const TableSourceRef& business,
                                                    const TableSourceRef& ruleContext);

// A slab volume rule working on the over-height volume.
template <class Rule>
using TQTKSlabOverhighVolOf = TQTKVolumeRuleOn<Rule, &GetOrBuildSlabOverhighVolumeTarget>;

// The base of the family; as a rule it measures nothing (0).
class TQTKSlabCustomOverhighVol : public TQTKCalcStrategy {};

// The weighted volume of the over-height pieces, with its expression.
class TQTKSlabOriginalOverhighVol final : public TQTKSlabCustomOverhighVol {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element, as it stands.
class TQTKSlabOverhighVolDeductByFact : public TQTKSlabOverhighVolOf<TQTKSlabVolDeductByFact> {};

// Outer walls ("InnerOuterFlag" 1), as they stand.
class TQTKSlabOverhighVolDeductConcreteExternalWallByFact final
    : public TQTKSlabOverhighVolOf<TQTKSlabVolDeductOutBeam> {};

// Columns, as they stand.
class TQTKSlabOverhighVolDeductColumnByFact final : public TQTKSlabOverhighVolDeductByFact {};

// A tie beam that runs along an outer wall.
class TQTKSlabOverhighVolDeductExternalTieBeam final : public TQTKSlabOverhighVolOf<TQTKSlabVolDeductExternalTieBeam> {
};

// Elements whose plan outline is above the member's limit (the base has none).
class TQTKSlabOverhighVolDeductByArea : public TQTKSlabOverhighVolOf<TQTKSlabVolDeductByArea> {};

// ... of more than 0.3 m².
class TQTKSlabOverhighVolDeductByDot3M2 final : public TQTKSlabOverhighVolDeductByArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// ... of more than 1 m².
class TQTKSlabOverhighVolDeductBy1M2 final : public TQTKSlabOverhighVolDeductByArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// ... of more than 0.05 m².
class TQTKSlabOverhighVolDeductByDot05M2 final : public TQTKSlabOverhighVolDeductByArea {
protected:
    std::optional<double> SizeLimit() const override { return 50'000.0; }
};

// ... of more than 5 m².
class TQTKSlabOverhighVolDeductBy5M2 final : public TQTKSlabOverhighVolDeductByArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

// Elements whose own solid is above the member's limit (the base has none).
class TQTKSlabOverhighVolDeductByVol : public TQTKSlabOverhighVolOf<TQTKSlabVolDeductByVol> {};

// ... of more than 0.05 m³.
class TQTKSlabOverhighVolDeductByDot05M3 final : public TQTKSlabOverhighVolDeductByVol {
protected:
    std::optional<double> SizeLimit() const override { return 50'000'000.0; }
};

// Outer beams ("InnerOuterFlag" 1), as they stand.
class TQTKSlabOverhighVolDeductOutBeam final : public TQTKSlabOverhighVolOf<TQTKSlabVolDeductOutBeam> {};

void RegisterSlabOverhighVolRules(TStrategyRegistry& registry);
