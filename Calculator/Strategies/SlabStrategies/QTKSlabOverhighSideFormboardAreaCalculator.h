// The over-height side formwork of a slab: its upright faces cut into
// weighted pieces above the over-height cuts, built on first use by whichever
// rule comes first and kept on the slab, and what touches the edges taken off
// those pieces (mm², already weighted). 0 for a slab that is not over height.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The base of the family; as a rule it measures nothing (0).
class TQTKSlabCustomOverhighSideFormboardArea : public TQTKCalcStrategy {};

// The weighted area of the over-height side pieces, with its expression.
class TQTKSlabOriginalOverhighSideFormboardArea final : public TQTKSlabCustomOverhighSideFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element against the edges, as it stands; one whose formwork comes
// first, and a slab hole always, takes the faces flush with its own too.
class TQTKSlabDeductOverhighSideFormboardArea : public TQTKSlabCustomOverhighSideFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the object changes the formwork at all.
    virtual bool Deducts(IRDXRecord* /*object*/) const { return true; }
};

// Masonry walls, as they stand (the rule table picks them).
class TQTKSlabDeductBlockWallOverhighSideFormboardArea final : public TQTKSlabDeductOverhighSideFormboardArea {};

// Concrete walls only.
class TQTKSlabDeductCrocreteWallOverhighSideFormboardArea final : public TQTKSlabDeductOverhighSideFormboardArea {
protected:
    bool Deducts(IRDXRecord* wall) const override;
};

// A neighbouring slab: its solid and a 10 mm skin on each of its faces, with
// the faces flush with its own.
class TQTKSlabDeductSlabOverhighSideFormboardArea final : public TQTKSlabCustomOverhighSideFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterSlabOverhighSideFormboardAreaRules(TStrategyRegistry& registry);
