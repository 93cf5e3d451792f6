// The over-height volume of beams, ring beams and foundation beams: the
// weighted volume of the pieces above the critical height, and what each
// neighbour takes out of those pieces (mm³, already multiplied by the piece
// weights). The deductions are the beam volume rules working on the beam's
// over-height volume instead of its volume calculator; it is built on first
// use, by whichever rule comes first, and kept on the beam object. 0 for a
// beam that is not over height.
#pragma once

#include "Calculator/Strategies/BeamStrategies/QTKBeamVolCalculator.h"

// The beam's over-height volume, built and stored when missing (with its
// formwork calculator, except in detail mode, and value list); none when the
// beam is not over height.
TQTKVolumeTarget GetOrBuildBeamOverHighVolume(const RecordRef& subject, const TableSourceRef& business,
                                              const TableSourceRef& ruleContext);

// A beam volume rule working on the over-height volume.
template <class Rule>
using TQTKBeamOverHighVolOf = TQTKVolumeRuleOn<Rule, &GetOrBuildBeamOverHighVolume>;

// The weighted volume of the over-height pieces, with its expression.
class TQTKBeamOriginalOverHighVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

class TQTKBeamOverHighVolDeductBeam final : public TQTKBeamOverHighVolOf<TQTKBeamVolDeductBeam> {};

// The element the beam is secondary to.
class TQTKBeamOverHighVolDeductBelowBoardSlab final : public TQTKBeamOverHighVolOf<TQTKBeamVolDeductByFact> {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

// By fact; another beam where this one gives way to it at the join.
class TQTKBeamOverHighVolDeductByFact final : public TQTKBeamOverHighVolOf<TQTKBeamVolDeductByFact> {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

class TQTKBeamOverHighVolDeductParellelWall final : public TQTKBeamOverHighVolOf<TQTKBeamVolDeductParellelWall> {};
class TQTKBeamOverHighVolDeductNotParellelWall final : public TQTKBeamOverHighVolOf<TQTKBeamVolDeductNotParallelWall> {
};
class TQTKBeamOverHighVolGiveParellelWall final : public TQTKBeamOverHighVolOf<TQTKBeamVolAddInParallelWall> {};
class TQTKBeamOverHighVolGiveSameThickWall final
    : public TQTKBeamOverHighVolOf<TQTKBeamVolAddInParallelAndSameThickWall> {};
class TQTKBeamOverHighVolDeductParellelAndNotParellelWall final
    : public TQTKBeamOverHighVolOf<TQTKBeamVolAddInParallelAndSameThickWallDeductNotParallelWall> {};
class TQTKSingleBeamOverHighVolDeductTieColumn final : public TQTKBeamOverHighVolOf<TQTKSingleBeamVolDeductTieColumn> {
};
class TQTKInnerBeamOverHighVolDeductBoard final : public TQTKBeamOverHighVolOf<TQTKInnerBeamVolDeductBoard> {};
class TQTKBeamOverHighVolDeductBeelineStearSeg final : public TQTKBeamOverHighVolOf<TQTKBeamVolDeductBeelineStearSeg> {
};

// Haunches add nothing to the over-height volume.
class TQTKBeamOverHighVolAddHaunchingVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

class TQTKBeamOverHighVolGiveLintelIntLength final : public TQTKBeamOverHighVolOf<TQTKTieBeamVolGiveLintelIntLength> {};

// Slabs by their joints, as the volume rules; the joint strips are never
// recorded on the slabs here.
class TQTKBeamOverhighVolDeductSlabByThinner : public TQTKBeamOverHighVolOf<TQTKBeamVolumeDeductSlabByThinner> {
public:
    bool RecordJointPolygons() const override;
};
class TQTKBeamOverhighVolDeductSlabByAve final : public TQTKBeamOverHighVolOf<TQTKBeamVolumeDeductSlabByAve> {
public:
    bool RecordJointPolygons() const override;
};
// As by the thinner slab, nothing from a single beam.
class TQTKBeamOverHighVolDeductSlabByThinnerExceptSingleBeam final : public TQTKBeamOverhighVolDeductSlabByThinner {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

void RegisterBeamOverHighVolRules(TStrategyRegistry& registry);
