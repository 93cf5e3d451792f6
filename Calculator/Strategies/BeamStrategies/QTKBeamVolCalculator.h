// The concrete volume of beams, ring beams and foundation beams, and what a
// neighbour takes out of it or gives back. The original rules measure the
// beam's volume calculator (built once on the beam object, along the middle
// or the axis line); every deduction takes a solid of its neighbour off that
// one calculator on the neighbour's behalf and returns the volume removed
// (mm³), so an overlap is removed once. 0 when a rule does not apply.
#pragma once

#include <memory>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Strategies/Common/QTKVolumeTarget.h"

class TStrategyRegistry;
class TVRMPolyhedron3d;
class IQTKBeamCalcEDO;

// A rule that takes solids off a volume of the beam.
class TQTKBeamVolumeRule : public TQTKCalcStrategy {
protected:
    // The volume the rule works on: the beam's volume calculator (none when
    // the beam has no solid).
    virtual TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                                      const TableSourceRef& ruleContext) const;
};

// The beam's length for volume along its middle line (mm).
class TQTKBeamVolByMiddleLine : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Measured along the drawn axis instead of the middle line.
    virtual bool ByAxisLine() const { return false; }
};
class TQTKBeamVolByAxisLine final : public TQTKBeamVolByMiddleLine {
protected:
    bool ByAxisLine() const override { return true; }
};

// The beam's own volume, with its expression.
class TQTKBeamOriginalVolumeByMiddleLine : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool ByAxisLine() const { return false; }
};
class TQTKBeamOriginalVolumeByAxisLine final : public TQTKBeamOriginalVolumeByMiddleLine {
protected:
    bool ByAxisLine() const override { return true; }
};

// A foundation beam's volume weighted by the walls under it: the stretch over
// a parallel inner wall counts 0.97, over an outer wall or no wall in full.
class TQTKFDOriginalVolumeByWall final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The neighbour's own solid as it is. Openings count only in a wall along the
// beam (ribbons only along it); every other element always.
class TQTKBeamVolDeductByFact : public TQTKBeamVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether this neighbour is deducted.
    virtual bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const;
    // The solid taken off the beam; the neighbour's own by default.
    virtual std::shared_ptr<const TVRMPolyhedron3d> DeductedSolid(IRDXRecord* object) const;
};

// Another beam of the same type only where this beam gives way to it; any
// other element always.
class TQTKBeamVolDeductBeam : public TQTKBeamVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

// A secondary beam under the slab ("Type2" 1) gives up what its main beams
// take of it.
class TQTkBeamVolDuductBelowBoardSubBeam final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Walls under or across the beam: the wall's part left after the elements it
// gives way to, the beam's own section over a parallel wall's span, or the
// wall less its parallel beams, by whether the wall runs along the beam.
class TQTKBeamVolWallPart : public TQTKBeamVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    enum class TPart { None, PartSolid, SpanPrism, DeductedSolid };
    // What the beam gives up to this wall; nothing by default.
    virtual TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const;
};
class TQTKBeamVolDeductParellelWall : public TQTKBeamVolWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKBeamVolAddInParallelWall : public TQTKBeamVolWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
// A parallel wall lying within the beam's width.
class TQTKBeamVolAddInParallelAndSameThickWall : public TQTKBeamVolWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
// A crossing wall, where the beam lies on a thinner parallel wall.
class TQTKBeamVolDeductNotParallelWall : public TQTKBeamVolWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKBeamVolGiveParallelWallDeductNotParallelWall final : public TQTKBeamVolWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKBeamVolAddInParallelAndSameThickWallDeductNotParallelWall : public TQTKBeamVolWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};

// A tie column, from single beams ("Type2" 0) only.
class TQTKSingleBeamVolDeductTieColumn : public TQTKBeamVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};
// A slab, from beams not marked outer.
class TQTKInnerBeamVolDeductBoard : public TQTKBeamVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};
// A straight stair flight the sloping beam runs over.
class TQTKBeamVolDeductBeelineStearSeg : public TQTKBeamVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

// The haunches of a haunched beam, added to a volume measured without them.
class TQTKBeamVolAddHaunchVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A ring beam on a wall counts as lintel where it sits low over the wall's
// openings: the lowest 250 mm (inner wall) or 350 mm (outer wall) of the ring
// beam, less what other ring beams below it already make up, go to the wall,
// except above the wall's own lintels.
class TQTKTieBeamDeductLintelWhenMergeHeightLargerThanCerteinHeight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The ring beam's section over the lintel's "Len" goes to the lintel.
class TQTKTieBeamVolGiveLintelIntLength : public TQTKBeamVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A trench unit's whole trench across the foundation beam.
class TQTKFDBeamVolDeductNotParellelTrench final : public TQTKBeamVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
    std::shared_ptr<const TVRMPolyhedron3d> DeductedSolid(IRDXRecord* object) const override;
};

// A slab by fact, where a thinner coplanar slab meets it over the beam by the
// thinner one's thickness; a curved slab by fact.
class TQTKBeamVolumeDeductSlabByThinner : public TQTKBeamVolDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
    // The thickness of a joint strip between slabs A and B.
    virtual double CombineThickness(double a, double b) const;
    // Takes one piece off the volume on behalf of the slab; the volume removed.
    virtual double DeductPiece(const TQTKVolumeTarget& volume, const TVRMPolyhedron3d& solid, IRDXRecord* slab) const;
    // Whether the joint strips go to the slabs' deduct and add polygons.
    virtual bool RecordJointPolygons() const;
};

// The joint strip by the mean of the two thicknesses; the slabs keep their outlines.
class TQTKBeamVolumeDeductSlabByAve : public TQTKBeamVolumeDeductSlabByThinner {
public:
    double CombineThickness(double a, double b) const override;
    bool RecordJointPolygons() const override;
};

// As by the thinner slab, nothing from a single beam.
class TQTKBeamVolDeductSlabByThinnerExceptSingleBeam final : public TQTKBeamVolumeDeductSlabByThinner {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

// A column by fact, except on the foundation floor.
class TQTKTieBeamVolDeductNonFDColumn final : public TQTKBeamVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
};

void RegisterBeamVolRules(TStrategyRegistry& registry);
