// The concrete volume of a cast slab: the volume of its solid, less what
// columns, walls, beams, openings and other elements take out of it. The
// first deduction builds one volume calculator on the slab's element object
// over a copy of its solid; each deduction takes the object's solid off it and
// returns the volume it removed. The members choose which elements count and
// which of their solids goes. Volumes are mm³.
#pragma once

#include <memory>
#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Strategies/Common/QTKVolumeTarget.h"

class TStrategyRegistry;
class TVRMPolyhedron3d;

// The volume of the slab's own solid, with its formula.
class TQTKSlabOriginalVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The slab's "Thickness" (mm).
class TQTKSlabThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element, as it stands: its own solid comes off the slab.
class TQTKSlabVolDeductByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the object takes its part of the slab at all.
    virtual bool Deducts(IRDXRecord* /*object*/) const { return true; }
    // The solid that comes off the slab on the object's behalf (nil: none).
    virtual std::shared_ptr<const TVRMPolyhedron3d> DeductedSolid(IRDXRecord* object) const;
    // The volume the solid comes off: the slab's volume calculator, built by
    // the first deduction.
    virtual TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                                      const TableSourceRef& ruleContext) const;
};

// Concrete elements, as they stand (the rule table picks them).
class TQTKSlabVolDeductCrocreteByFact final : public TQTKSlabVolDeductByFact {};
// Masonry elements, as they stand (the rule table picks them).
class TQTKSlabVolDeductBrickStoneByFact final : public TQTKSlabVolDeductByFact {};
// Columns, as they stand.
class TQTKSlabVolDeductColumnByFact final : public TQTKSlabVolDeductByFact {};

// A wall by what is left of it once the elements it gives way to are taken
// out, so the slab does not lose those parts through the wall.
class TQTKSlabVolDeductWallByFact : public TQTKSlabVolDeductByFact {
protected:
    std::shared_ptr<const TVRMPolyhedron3d> DeductedSolid(IRDXRecord* wall) const override;
};

// The same for outer walls only ("InnerOuterFlag" 1).
class TQTKSlabVolDeductCrocreteExternalWallByFact final : public TQTKSlabVolDeductWallByFact {
protected:
    bool Deducts(IRDXRecord* wall) const override;
};

// A tie column by its solid as the column object keeps it.
class TQTKSlabVolDeductTieColumnByFact : public TQTKSlabVolDeductByFact {
protected:
    std::shared_ptr<const TVRMPolyhedron3d> DeductedSolid(IRDXRecord* column) const override;
};

// Tie columns whose plan outline is above the member's limit.
class TQTKSlabVolDeductTieColumnByArea : public TQTKSlabVolDeductTieColumnByFact {
protected:
    bool Deducts(IRDXRecord* column) const override;
    // Tie columns of this plan area or less stay in the slab (mm²).
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// ... of more than 0.3 m².
class TQTKSlabVolDeductTieColumnByDot3M2 final : public TQTKSlabVolDeductTieColumnByArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// A tie beam that runs along an outer wall.
class TQTKSlabVolDeductExternalTieBeam : public TQTKSlabVolDeductByFact {
protected:
    bool Deducts(IRDXRecord* tieBeam) const override;
};

// Elements whose plan outline is above the member's limit, as they stand.
class TQTKSlabVolDeductByArea : public TQTKSlabVolDeductByFact {
protected:
    bool Deducts(IRDXRecord* object) const override;
    // Elements of this plan area or less stay in the slab (mm²).
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// ... of more than 0.3 m².
class TQTKSlabVolDeductByDot3M2 final : public TQTKSlabVolDeductByArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// ... of more than 1 m².
class TQTKSlabVolDeductBy1M2 final : public TQTKSlabVolDeductByArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// ... of more than 0.05 m².
class TQTKSlabVolDeductByDot05M2 final : public TQTKSlabVolDeductByArea {
protected:
    std::optional<double> SizeLimit() const override { return 50'000.0; }
};

// Elements whose own solid is above the member's limit, as they stand.
class TQTKSlabVolDeductByVol : public TQTKSlabVolDeductByFact {
protected:
    bool Deducts(IRDXRecord* object) const override;
    // Elements of this volume or less stay in the slab (mm³).
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// ... of more than 0.05 m³.
class TQTKSlabVolDeductByDot05M3 final : public TQTKSlabVolDeductByVol {
protected:
    std::optional<double> SizeLimit() const override { return 50'000'000.0; }
};

// A wall, as it stands, where the slab is measured by its thickness over the
// walls (the rule table pairs it so).
class TQTKSlabVolDeductWallByThickness final : public TQTKSlabVolDeductByFact {};
// A beam, the same way.
class TQTKSlabVolDeductBeamByThickness final : public TQTKSlabVolDeductByFact {};

// Outer beams ("InnerOuterFlag" 1), as they stand.
class TQTKSlabVolDeductOutBeam : public TQTKSlabVolDeductByFact {
protected:
    bool Deducts(IRDXRecord* beam) const override;
};

void RegisterSlabVolRules(TStrategyRegistry& registry);
