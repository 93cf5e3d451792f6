// The area of a beam's vertical side faces and what crossing beams, elements
// by fact and walls across the beam take off it (mm²), all off the one
// side-face shell the beam object keeps.
#pragma once

#include "Calculator/Strategies/BeamStrategies/QTKBeamShellDeduction.h"

class TStrategyRegistry;

class TQTKBeamSideOriginalArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any neighbour's own solid, both kinds.
class TQTKBeamSideAreaDeduction : public TQTKBeamShellDeduction {
protected:
    TQTKShellCalc3d* Shell(IRDXRecord* beam, const TableSourceRef& ruleContext) const override;
};

// A beam of another type with both kinds; one of the same type with both
// kinds only where this beam gives way to it.
class TQTKBeamSideAreaDeductBeam final : public TQTKBeamSideAreaDeduction {
protected:
    bool IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext) const override;
};

// Any element, but a concrete strip foundation unit along the beam only when
// the beam gives way to it by type.
class TQTKBeamSideAreaDeductByFact final : public TQTKBeamSideAreaDeduction {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

// A wall across the beam, where the beam lies on a thinner parallel wall.
class TQTKBeamSideAreaDeductNonParallelWall final : public TQTKBeamSideAreaDeduction {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

// Any wall across the ring beam.
class TQTKTieBeamSideAreaDeductNonParallelWall final : public TQTKBeamSideAreaDeduction {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

void RegisterBeamSideAreaRules(TStrategyRegistry& registry);
