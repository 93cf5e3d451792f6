// The over-height formwork of a slab: its formwork shell (the soffit, the top
// of a steep slab) cut into weighted pieces above the over-height cuts, and
// what each neighbour takes off those pieces (mm², already weighted). The
// pieces are built on first use, by whichever rule comes first, and kept on
// the slab; an opening gives back its sides inside the slab as further
// pieces, from which later deductions take their part too. 0 for a slab that
// is not over height.
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The base of the family; as a rule it measures nothing (0).
class TQTKSlabCustomOverhighFormboardArea : public TQTKCalcStrategy {};

// The weighted area of the over-height pieces, with its expression.
class TQTKSlabOriginalOverhighFormboardArea final : public TQTKSlabCustomOverhighFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element, as it stands (a concrete wall by its own solid without the
// fill walls laid in it); those whose formwork comes first take the faces
// flush with theirs too.
class TQTKSlabDeductOverhighFormboardAreaByFact : public TQTKSlabCustomOverhighFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the object changes the formwork at all.
    virtual bool Deducts(IRDXRecord* /*object*/) const { return true; }
};

// Masonry walls, as they stand (the rule table picks them).
class TQTKSlabDeductBlockWallOverhighFormboardAreaByFact : public TQTKSlabDeductOverhighFormboardAreaByFact {};

// The same, but a fill wall or a partition wall ("Type" 2 or 5) takes none.
class TQTKSlabDeductBlockWallOverhighFormboardAreaWithoutFillerWallAndPartitionWall final
    : public TQTKSlabDeductBlockWallOverhighFormboardAreaByFact {
protected:
    bool Deducts(IRDXRecord* wall) const override;
};

// A beam takes the slab faces it stands against, whichever formwork comes first.
class TQTKSlabDeductBeamOverhighFormboardArea final : public TQTKSlabCustomOverhighFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// An opening through the slab: its area comes off, and its sides inside the
// slab, cut into over-height pieces, are given back (the net is returned).
class TQTKSlabDeductOverhighFormboardAreaAddSideArea : public TQTKSlabDeductOverhighFormboardAreaByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Openings above the member's limit in plan, as their parent (the base has none).
class TQTKSlabDeductFormboardAreaAddSizeByArea : public TQTKSlabDeductOverhighFormboardAreaAddSideArea {
protected:
    bool Deducts(IRDXRecord* object) const override;
    // Openings of this plan area or less leave the formwork as it is (mm²).
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// ... of more than 0.3 m².
class TQTKSlabDeductFormboardAreaAddSizeByDot3M2 final : public TQTKSlabDeductFormboardAreaAddSizeByArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// ... of more than 1 m².
class TQTKSlabDeductFormboardAreaAddSizeBy1M2 final : public TQTKSlabDeductFormboardAreaAddSizeByArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// ... of more than 5 m².
class TQTKSlabDeductFormboardAreaAddSizeBy5M2 final : public TQTKSlabDeductFormboardAreaAddSizeByArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

void RegisterSlabOverhighFormboardAreaRules(TStrategyRegistry& registry);
