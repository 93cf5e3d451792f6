// The bottom area of a foundation beam and what neighbours take off it (mm²);
// the bottom faces are sorted by the beam formwork angle of the beam settings.
#pragma once

#include <memory>

#include "Calculator/Strategies/BeamStrategies/QTKBeamShellDeduction.h"

class TStrategyRegistry;

// The bottom area, with its expression.
class TQTKFDBeamOrigialBottomArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any neighbour's own solid, both kinds.
class TQTKFDBeamBottomAreaDeduction : public TQTKBeamShellDeduction {
protected:
    TQTKShellCalc3d* Shell(IRDXRecord* beam, const TableSourceRef& ruleContext) const override;
};

// Another foundation beam: both kinds only where this beam gives way to it.
class TQTKFDBeamBottomAreaDedutFDBeam final : public TQTKFDBeamBottomAreaDeduction {
protected:
    bool IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext) const override;
};

class TQTKFDBeamBottomAreaDedutByFact final : public TQTKFDBeamBottomAreaDeduction {};

// A trench unit across the beam: its trench's whole solid, both kinds where
// the unit goes first in formwork precedence; a unit along the beam nothing.
class TQTKFDBeamBottomAreaDeductTrench final : public TQTKFDBeamBottomAreaDeduction {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
    bool IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext) const override;
    std::shared_ptr<const TVRMPolyhedron3d> DeductedSolid(IRDXRecord* object) const override;
};

void RegisterFDBeamBottomRules(TStrategyRegistry& registry);
