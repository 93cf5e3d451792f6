// A beam's simple measures: perimeter, section, width and height, the average
// section height of a haunched beam, the length along its slope, the clear
// length with what neighbours take off it, a foundation beam's length under
// walls, and the slope factor of its scaffolding. Lengths mm, areas mm².
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// "Perimeter", with its expression; 0 for an arched beam.
class TQTKBeamPerimeter final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The area of the beam's section, with its expression; 0 for an arched beam.
class TQTKBeamSectionArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// "SectionWidth".
class TQTKBeamSectionWidth final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The mean of the two section heights of the haunch records whose heights
// differ; "SectionHeight" without such records or without a haunch list; 0
// for a beam that keeps no haunches.
class TQTKBeamAverageSecrionHight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The axis length along the slope.
class TQTKBeamVolAxisLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A foundation beam's middle-line length, a stretch over an inner wall along
// it counted at 0.97 (once where two walls share it).
class TQTKFDBeamlength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The beam's clear length before deductions.
class TQTKBeamClearLengthOrigianlLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The neighbour's solid taken off the beam's clear length; the length removed.
class TQTKBeamClearLengthDeduction : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the neighbour takes its part; always by default.
    virtual bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const;
};
// Another beam of the same type only where this beam gives way to it.
class TQTKBeamClearLengthDeductBeam final : public TQTKBeamClearLengthDeduction {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};
// Any element, but a concrete strip foundation unit along the beam only when
// the beam gives way to it by type.
class TQTKBeamClearLengthDeductByFact final : public TQTKBeamClearLengthDeduction {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};
// A wall across the beam, where the beam lies on a thinner parallel wall.
class TQTKBeamClearLengthDeductNonParallelWall final : public TQTKBeamClearLengthDeduction {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};
// Any wall across the ring beam.
class TQTKTieBeamClearLengthDeductNonParallelWall final : public TQTKBeamClearLengthDeduction {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

// "SectionHeight".
class TQTKBeamSectionHeght final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The cosine of the beam's slope: its plan length over its length.
class TQTKBeamScaffoldLengthRate final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterBeamPropValueRules(TStrategyRegistry& registry);
