// The formwork of a cast slab: its soffit, and for a slab that rises steeply
// its top face too (a curved slab: its faces that look down, or all its faces
// that are not upright where the settings say so). The formwork is kept as a
// shell calculator on the slab's element object; the deductions take the
// neighbouring elements off it, those whose formwork comes first taking the
// faces they share with the slab too. Areas are mm².
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The base of the formwork rules; as a rule it measures nothing (0).
class TQTKSlabCustomFormboardArea : public TQTKCalcStrategy {};

// The slab's own formwork area, with its formula.
class TQTKSlabOriginalFormboardArea final : public TQTKSlabCustomFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element, as it stands (a concrete wall by its own solid without the
// fill walls laid in it).
class TQTKSlabDeductFormboardAreaByFact : public TQTKSlabCustomFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The same, but a fill wall or a partition wall ("Type" 2 or 5) takes none.
class TQTKSlabDeductBrickStoneFormboardAreaWithoutFillerWallAndPartitionWall final
    : public TQTKSlabDeductFormboardAreaByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A beam takes the slab faces it stands against, whichever formwork comes
// first; the faces flush with its own stay with the slab.
class TQTKSlabDeductBeamFormboardArea final : public TQTKSlabCustomFormboardArea {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// An opening through the slab: its area comes off and its sides inside the
// slab are given back as formwork.
class TQTKSlabDeductFormboardAreaAddSideArea : public TQTKSlabDeductFormboardAreaByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the opening changes the formwork at all.
    virtual bool Deducts(IRDXRecord* /*object*/) const { return true; }
};

// Openings above the member's limit in plan, as their parent.
class TQTKSlabDeductFormboardAreaAddSideAreaByArea : public TQTKSlabDeductFormboardAreaAddSideArea {
protected:
    bool Deducts(IRDXRecord* object) const override;
    // Openings of this plan area or less leave the formwork as it is (mm²).
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// ... of more than 0.3 m².
class TQTKSlabDeductFormboardAreaAddSideAreaByDot3M2 final : public TQTKSlabDeductFormboardAreaAddSideAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// ... of more than 1 m².
class TQTKSlabDeductFormboardAreaAddSideAreaBy1M2 final : public TQTKSlabDeductFormboardAreaAddSideAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// ... of more than 5 m².
class TQTKSlabDeductFormboardAreaAddSideAreaBy5M2 final : public TQTKSlabDeductFormboardAreaAddSideAreaByArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

void RegisterSlabFormboardAreaRules(TStrategyRegistry& registry);
