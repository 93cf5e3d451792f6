// What a neighbouring element changes in a wall's volume: openings, slabs,
// beams, columns and their toothing, other walls, fill walls, trenches and
// copings deduct; piers add. The wall's own volume is its object's volume
// calculator (already scaled by calculation thickness / thickness); each
// deduction takes the neighbour's solid off that one calculator on behalf of
// the neighbour and returns the volume removed (mm³), so an overlap is
// removed once. 0 when the rule does not apply.
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Strategies/Common/QTKVolumeTarget.h"

class TStrategyRegistry;
class TVRMPolyhedron3d;
class IQTKCalculatorEDO;

// A rule that takes solids off a volume of the wall.
class TQTKWallVolumeRule : public TQTKCalcStrategy {
protected:
    // The volume the rule works on: the wall's volume calculator.
    virtual TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                                      const TableSourceRef& ruleContext) const;
};

// A pier standing against the wall (its "EDOPID" is the wall) adds its
// volume; in detail mode it adds nothing and shows the addition as a detail.
class TQTKWallVolumeAddPier final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The neighbour's own solid, as it is. An alcove of another wall takes the
// niche it cuts out of its own host.
class TQTKWallVolumeDeductByFact : public TQTKWallVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether this neighbour is deducted at all; every one by default.
    virtual bool IsDeducted(IRDXRecord* wall, IRDXRecord* object) const;
};

// A lintel of 0.025 m³ or less stays in the wall.
class TQTKWallVolumeDeductDot25M3LimitedLintel final : public TQTKWallVolumeDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* wall, IRDXRecord* object) const override;
};

// A slab by its thickness across the wall's full width where it alone covers the wall's line.
class TQTKWallVolumeDeductSlabByThickness : public TQTKWallVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// An opening in the wall by its own solid; a wall of no thickness deducts none.
class TQTKWallVolumeDeductHollowByFact : public TQTKWallVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Openings whose measure is at or below the limit stay in the wall; no limit: every one goes.
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
    // The opening's outline area (mm²).
    virtual double Measure(IRDXRecord* wall, IRDXRecord* opening) const;
    // Whether the opening lies in the wall.
    virtual bool IsInWall(IRDXRecord* wall, IRDXRecord* opening) const;
};

// Openings of 0.1 m², 0.3 m², 0.05 m² outline area or less stay in the wall.
class TQTKWallVolumeDeductDot1M2LimitedOpenning final : public TQTKWallVolumeDeductHollowByFact {
protected:
    std::optional<double> SizeLimit() const override { return 100'000.0; }
};
class TQTKWallVolumeDeductDot3M2LimitedOpenning final : public TQTKWallVolumeDeductHollowByFact {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKWallVolumeDeductDot05M2LimitedOpenning final : public TQTKWallVolumeDeductHollowByFact {
protected:
    std::optional<double> SizeLimit() const override { return 50'000.0; }
};
// Openings of 0.05 m³ solid volume or less stay in the wall.
class TQTKWallVolumeDeductDot05M3LimitedOpenning final : public TQTKWallVolumeDeductHollowByFact {
protected:
    std::optional<double> SizeLimit() const override { return 50'000'000.0; }
    double Measure(IRDXRecord* wall, IRDXRecord* opening) const override;
};

// An opening in the wall by the clear opening inside its frame.
class TQTKWallVolumeDeductHollowByFrame : public TQTKWallVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the opening lies in the wall.
    virtual bool IsInWall(IRDXRecord* wall, IRDXRecord* opening) const;
};

// A beam's part left after the elements it gives way to, by whether it runs
// along the wall and whether the wall stays within the beam's width.
class TQTKWallVolumeDeductBeamPart : public TQTKWallVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    enum class TPart { None, Parallel, Crossing };
    // Which part subtraction a beam gets; none by default.
    virtual TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const;
};

class TQTKWallVolumeDedcuctParallelBeam : public TQTKWallVolumeDeductBeamPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKWallVolumeDedcuctNonparallelBeam : public TQTKWallVolumeDeductBeamPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
// A parallel beam narrower than the wall (the wall not within its width).
class TQTKWallVolumeDedcuctParallelIrregularBeam : public TQTKWallVolumeDeductBeamPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
// As above, and any crossing beam.
class TQTKWallVolumeDedcuctIrregularBeam : public TQTKWallVolumeDeductBeamPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};

// A trench unit's trench: its hollow, or its whole solid.
class TQTKWallVolumeDeductTrenchHollow : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool WholeSolid() const { return false; }
};
class TQTKWallVolumeDeductTrench final : public TQTKWallVolumeDeductTrenchHollow {
protected:
    bool WholeSolid() const override { return true; }
};

// A column that the walls do not wholly hold.
class TQTKWallVolumeDeductIrregularColumn : public TQTKWallVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A tie column ("Type" 0) with its teeth of the whole "IndentingWidth" (half of it).
class TQTKWallVolumeDeductWholeIndenting : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool Whole() const { return true; }
};
class TQTKWallVolumeDeductHalfIndenting final : public TQTKWallVolumeDeductWholeIndenting {
protected:
    bool Whole() const override { return false; }
};

// Another wall that cuts this one (not its fill wall, not of the same kind in
// material-only mode), scaled by that wall's calculation thickness / thickness.
class TQTKWallVolumeDeductWall : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool IsDeducted(IRDXRecord* wall, IRDXRecord* other) const;
};

// A slab by 90 mm when it is 120 mm thick or less, else by 140 mm.
class TQTKWallVolumeDeductSlabByRangeLimitThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A slab across the wall by its thickness, where a thinner coplanar slab
// meets it over the wall by the thinner one; a curved slab by fact.
class TQTKWallVolumeDeductSlabByThinner : public TQTKWallVolumeDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
    // The thickness of a joint strip between slabs A and B.
    virtual double CombineThickness(double a, double b) const;
    // Whether the joint strips go to the slabs' deduct and add polygons.
    virtual bool RecordJointPolygons() const;
    // Takes one piece off the volume on behalf of the slab; the volume removed.
    virtual double DeductPiece(IQTKCalculatorEDO& wall, const TQTKVolumeTarget& volume, const TVRMPolyhedron3d& solid,
                               IRDXRecord* slab) const;
};

// The joint strip by the mean of the two thicknesses; the slabs keep their outlines.
class TQTKWallVolumeDeductSlabByAve : public TQTKWallVolumeDeductSlabByThinner {
public:
    double CombineThickness(double a, double b) const override;
    bool RecordJointPolygons() const override;
};

// A coping running along the wall.
class TQTKWallVolumeDeductCoping final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A fill wall laid in this concrete wall, scaled as another wall.
class TQTKWallVolumeDeductFillWall final : public TQTKWallVolumeDeductWall {
protected:
    bool IsDeducted(IRDXRecord* wall, IRDXRecord* other) const override;
};

void RegisterWallVolumeRules(TStrategyRegistry& registry);
