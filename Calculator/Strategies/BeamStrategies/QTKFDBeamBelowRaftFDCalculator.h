// The side and end formwork of a foundation beam hanging below a raft (the
// part of the beam below the raft's bottom), and what neighbours take off it
// (mm²). The faces are sorted by the beam formwork angle of the beam settings.
#pragma once

#include <memory>

#include "Calculator/Strategies/BeamStrategies/QTKBeamShellDeduction.h"

class TStrategyRegistry;

class TQTKFDBeamBelowRaftFDSideOriginalArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

class TQTKFDBeamBelowRaftFDEndOriginalArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The neighbour's own solid, both kinds where it goes first in formwork precedence.
class TQTKFDBeamBelowRaftFormBoardAreaDeductByFact : public TQTKBeamShellDeduction {
protected:
    TQTKShellCalc3d* Shell(IRDXRecord* beam, const TableSourceRef& ruleContext) const override;
    bool IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext) const override;
};

// An opening: its solid with both kinds, less the reveal of its edges within
// the beam's height (the beam's width times their length).
class TQTKFDBeamBelowRaftFormBoardAreaDeductHole final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A trench unit: its trench's whole solid, booked on the trench.
class TQTKFDBeamBelowRaftFormBoardAreaDeductTrench final : public TQTKFDBeamBelowRaftFormBoardAreaDeductByFact {
protected:
    std::shared_ptr<const TVRMPolyhedron3d> DeductedSolid(IRDXRecord* object) const override;
    IRDXRecord* DeductedRecord(IRDXRecord* object) const override;
};

void RegisterFDBeamBelowRaftFDRules(TStrategyRegistry& registry);
