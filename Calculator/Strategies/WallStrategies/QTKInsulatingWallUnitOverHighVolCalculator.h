// The over-height volume of an insulating wall unit (one layer of an
// insulating wall): the weighted volume of the layer's pieces above the
// critical height (mm³, already multiplied by the piece weights), what each
// neighbour takes out of those pieces, and the over-height volume of the
// piers standing against the layer's wall. The deductions are the wall
// volume rules working on the unit's over-height volume; it is built on
// first use, by whichever rule comes first, and kept on the unit's object.
// 0 for a unit that is not over height.
#pragma once

#include "Calculator/Strategies/WallStrategies/QTKWallVolumeCalculator.h"

// The unit's over-height volume (cut with its wall's partition, formwork
// pieces marked as arcs when its wall's axis is an arc), built and stored
// when missing; none when the unit is not over height.
TQTKVolumeTarget GetOrBuildInsulatingUnitOverHighVolume(const RecordRef& subject, const TableSourceRef& business,
                                                        const TableSourceRef& ruleContext);

// A wall volume rule working on the unit's over-height volume.
template <class Rule>
using TQTKInsulatingUnitOverHighVolOf = TQTKVolumeRuleOn<Rule, &GetOrBuildInsulatingUnitOverHighVolume>;

// The weighted volume of the over-height pieces, with its expression.
class TQTKInsulatingUnitOverHighVolOriginal final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element by its own solid.
class TQTKInsulatingUnitOverHighVolDeductByFact : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDeductByFact> {};
// A layer of another insulating wall that cuts this layer's wall.
class TQTKInsulatingUnitOverHighVolDeductInsulatingWall final : public TQTKInsulatingUnitOverHighVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* unit, IRDXRecord* other) const override;
};

// An opening of the layer's wall by the clear opening inside its frame.
class TQTKInsulatingUnitOverHighVolDeductHollowByFrame final
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDeductHollowByFrame> {
protected:
    bool IsInWall(IRDXRecord* unit, IRDXRecord* opening) const override;
};
// An opening of the layer's wall by its own solid.
class TQTKInsulatingUnitOverHighVolDeductHollowByFact final
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDeductHollowByFact> {
protected:
    bool IsInWall(IRDXRecord* unit, IRDXRecord* opening) const override;
};

// Any opening by its own solid (wherever it is hosted: it removes what it
// overlaps), unless its measure is at or below the limit.
class TQTKInsulatingUnitOverHighVolDeductLimitedHollow
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDeductHollowByFact> {
protected:
    bool IsInWall(IRDXRecord*, IRDXRecord*) const override { return true; }
};
class TQTKInsulatingUnitOverHighVolDeductPointTreeHollow final
    : public TQTKInsulatingUnitOverHighVolDeductLimitedHollow {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }  // 0.3 m²
};
class TQTKInsulatingUnitOverHighVolDeductPointZeroFiveHollow final
    : public TQTKInsulatingUnitOverHighVolDeductLimitedHollow {
protected:
    std::optional<double> SizeLimit() const override { return 50'000.0; }  // 0.05 m²
};
class TQTKInsulatingUnitOverHighVolDeduct1m2Hollow final : public TQTKInsulatingUnitOverHighVolDeductLimitedHollow {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }  // 1 m²
};
// 0.05 m³, measured as outline area x the "Thickness" of the layer's wall for
// an opening of that wall; an opening hosted elsewhere measures 0 and stays.
class TQTKInsulatingUnitOverHighVolDeductPointZeroFiveM3Hollow final
    : public TQTKInsulatingUnitOverHighVolDeductLimitedHollow {
protected:
    std::optional<double> SizeLimit() const override { return 50'000'000.0; }
    double Measure(IRDXRecord* unit, IRDXRecord* opening) const override;
};

// A pier standing against the layer's wall adds its own pieces, cut at the
// layer's planes; nothing is kept.
class TQTKInsulatingUnitOverHighVolAddPier final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Beams by their parts left after the elements they give way to.
class TQTKInsulatingUnitOverHighVolDeductParallelBeam final
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDedcuctParallelBeam> {};
class TQTKInsulatingUnitOverHighVolDeductNotParallelBeam final
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDedcuctNonparallelBeam> {};
class TQTKInsulatingUnitOverHighVolDeductParallelIrregularBeam final
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDedcuctParallelIrregularBeam> {};
class TQTKInsulatingUnitOverHighVolDeductExceptParallelIrregularBeam final
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDedcuctIrregularBeam> {};

// A slab over the layer's full width where it alone covers the layer.
class TQTKInsulatingUnitOverHighVolDeductSlabByWallThickness final
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDeductSlabByThickness> {};
// A column the walls do not wholly hold.
class TQTKInsulatingUnitOverHighVolDeductIrregularcolumn final
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDeductIrregularColumn> {};

// Slabs by their joints over the layer, as the wall volume rules (a curved
// slab by its own solid); the joint strips are never recorded on the slabs.
class TQTKWallOverHighVolDeductSlabByThinnest
    : public TQTKInsulatingUnitOverHighVolOf<TQTKWallVolumeDeductSlabByThinner> {
public:
    bool RecordJointPolygons() const override;
};
class TQTKWallOverHighVolDeductSlabByAverage final : public TQTKWallOverHighVolDeductSlabByThinnest {
public:
    double CombineThickness(double a, double b) const override;
};

void RegisterInsulatingWallUnitOverHighVolRules(TStrategyRegistry& registry);
