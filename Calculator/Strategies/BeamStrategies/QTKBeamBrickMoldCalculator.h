// The brick mould of a beam or foundation beam: the volume of the beam's
// merged solid (its brick moulds) and what another element takes of it (mm³).
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The merged solid's volume, with its expression.
class TQTKBeamBrickMoldOriginalVolume final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The neighbour's own solid, and its brick moulds too where the beam gives
// way to it in brick-mould precedence.
class TQTKBeamBrickMoldVolDeductByFact final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterBeamBrickMoldRules(TStrategyRegistry& registry);
