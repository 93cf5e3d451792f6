// The over-height volume of walls: the weighted volume of the pieces above
// the critical height (mm³, already multiplied by the piece weights), what
// each neighbour takes out of those pieces, and the over-height volume of
// the piers standing against the wall. The deductions are the wall volume
// rules working on the wall's over-height volume instead of its volume
// calculator; it is built on first use, by whichever rule comes first, and
// kept on the wall object. 0 for a wall that is not over height.
#pragma once

#include "Calculator/Strategies/WallStrategies/QTKWallVolumeCalculator.h"

// The wall's (or insulating wall unit's) over-height volume, built and
// stored when missing (with its formwork calculator, except in detail mode,
// and value list); none when it is not over height.
TQTKVolumeTarget GetOrBuildWallOverhighVolume(const RecordRef& subject, const TableSourceRef& business,
                                              const TableSourceRef& ruleContext);

// The over-height volume of a pier cut at the planes of Host (a wall or an
// insulating wall unit) when Host is over height, with the pier's
// expression; nothing is kept. 0 when Host is not over height.
double GetOverhighPierVolume(const RecordRef& host, const RecordRef& pier, const TableSourceRef& business,
                             const TableSourceRef& ruleContext);

// A wall volume rule working on the over-height volume.
template <class Rule>
using TQTKWallOverhighVolOf = TQTKVolumeRuleOn<Rule, &GetOrBuildWallOverhighVolume>;

// The weighted volume of the over-height pieces, with its expression.
class TQTKWallOriginOverhighVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A pier against an over-height wall adds its own pieces, cut at the wall's
// planes; nothing is kept.
class TQTKWallOverhighVolAddPier final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// An opening of the wall by the clear opening inside its frame.
class TQTKWallOverhighVolDeductHollowByFrame : public TQTKWallOverhighVolOf<TQTKWallVolumeDeductHollowByFrame> {
protected:
    bool IsInWall(IRDXRecord* wall, IRDXRecord* opening) const override;
};
// A ribbon along the wall.
class TQTKWallOverhighVolDeductRibbonByFrame final : public TQTKWallOverhighVolDeductHollowByFrame {
protected:
    bool IsInWall(IRDXRecord* wall, IRDXRecord* opening) const override;
};

// By fact: not a wall of the same kind nor a concrete wall linked with it;
// another wall only where it cuts this one.
class TQTKWallOverhighVolDeductByFact : public TQTKWallOverhighVolOf<TQTKWallVolumeDeductByFact> {
protected:
    bool IsDeducted(IRDXRecord* wall, IRDXRecord* object) const override;
};

// An opening of the wall by fact; the limited ones stay in the wall at or
// below their measure.
class TQTKWallOverhighVolDeductHollowByFact : public TQTKWallOverhighVolOf<TQTKWallVolumeDeductHollowByFact> {
protected:
    bool IsInWall(IRDXRecord* wall, IRDXRecord* opening) const override;
};
// A ribbon along the wall, by fact.
class TQTKWallOverhighVolDeductRibbon final : public TQTKWallOverhighVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* wall, IRDXRecord* object) const override;
};
class TQTKWallOverHighVolDeductPointThreeHoleVol final : public TQTKWallOverhighVolDeductHollowByFact {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }  // 0.3 m²
};
class TQTKWallOverHighVolDeductPointZeroFiveHoleVol final : public TQTKWallOverhighVolDeductHollowByFact {
protected:
    std::optional<double> SizeLimit() const override { return 50'000.0; }  // 0.05 m²
};
class TQTKWallOverHighVolDeduct1m2HoleVol final : public TQTKWallOverhighVolDeductHollowByFact {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }  // 1 m²
};
// 0.05 m³, measured as outline area x the wall's thickness.
class TQTKWallOverHighVolDeductPointZeroM3FiveHoleVol final : public TQTKWallOverhighVolDeductHollowByFact {
protected:
    std::optional<double> SizeLimit() const override { return 50'000'000.0; }
    double Measure(IRDXRecord* wall, IRDXRecord* opening) const override;
};

class TQTKWallOverhighVolDedcuctNonparallelBeam final
    : public TQTKWallOverhighVolOf<TQTKWallVolumeDedcuctNonparallelBeam> {};
class TQTKWallOverhighVolDedcuctParallelBeam final : public TQTKWallOverhighVolOf<TQTKWallVolumeDedcuctParallelBeam> {};
class TQTKWallOverhighVolDedcuctParallelIrregularBeam final
    : public TQTKWallOverhighVolOf<TQTKWallVolumeDedcuctParallelIrregularBeam> {};
class TQTKWallOverHighVolDeductBeamExceptParallelAndRegularBeam final
    : public TQTKWallOverhighVolOf<TQTKWallVolumeDedcuctIrregularBeam> {};
class TQTKWallOverhighVolDeductSlabByThickness final
    : public TQTKWallOverhighVolOf<TQTKWallVolumeDeductSlabByThickness> {};
class TQTKWallOverhighVolDeductIrregularColumn final
    : public TQTKWallOverhighVolOf<TQTKWallVolumeDeductIrregularColumn> {};

// Slabs by their joints, as the volume rules; the joint strips are never
// recorded on the slabs here.
class TQTKWallOverhighVolDeductSlabByThinner final : public TQTKWallOverhighVolOf<TQTKWallVolumeDeductSlabByThinner> {
public:
    bool RecordJointPolygons() const override;
};
class TQTKWallOverhighVolDeductSlabByAve final : public TQTKWallOverhighVolOf<TQTKWallVolumeDeductSlabByAve> {
public:
    bool RecordJointPolygons() const override;
};

// A fill wall laid in this concrete wall, by its own solid (not scaled).
class TQTKWallOverhighVolDeductFillWall final : public TQTKWallOverhighVolOf<TQTKWallVolumeDeductByFact> {
protected:
    bool IsDeducted(IRDXRecord* wall, IRDXRecord* object) const override;
};

void RegisterWallOverhighVolRules(TStrategyRegistry& registry);
