// Piers (wall pilasters standing against their host wall): section area,
// height, the length against the wall and the exposed length, what
// neighbours take off the pier's volume, and what slabs and beams take off
// the facing of its exposed faces and of its faces against the wall. The
// subject is the pier; the object the deducting element.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The pier's "Area".
class TQTKPierSectionArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// "TopElev" less "BottomElev"; 0 below 1 mm.
class TQTKPierHeight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The perimeter against the host wall.
class TQTKContactWallLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The perimeter that no wall, pier, column or insulating layer of its storey touches.
class TQTKPierExposeLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The object's own solid off the pier's volume, where Deducts allows.
class TQTKPierDeductByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the pier deducts at all (every pier by default).
    virtual bool Deducts(IRDXRecord* pier) const;
};
// Not on a brick wall's external side (a concrete host deducts on either side).
class TQTKNonBrickExternalPierDeductByFact final : public TQTKPierDeductByFact {
protected:
    bool Deducts(IRDXRecord* pier) const override;
};
// Internal side of a wall that is not concrete.
class TQTKBrickInternalPierDeductByFact final : public TQTKPierDeductByFact {
protected:
    bool Deducts(IRDXRecord* pier) const override;
};
// On a wall that is not concrete (a pier without a wall counts as such).
class TQTKBrickPierDeductByFact final : public TQTKPierDeductByFact {
protected:
    bool Deducts(IRDXRecord* pier) const override;
};
// On a partition wall.
class TQTKPartitionWallPierDeductByFact final : public TQTKPierDeductByFact {
protected:
    bool Deducts(IRDXRecord* pier) const override;
};

// The object's solid off one of the pier's facing shells: the exposed faces'
// or, with OnContactFaces, the faces against the wall. With InternalOnly an
// external pier deducts nothing.
class TQTKPierFacingDeduct : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool OnContactFaces() const { return false; }
    virtual bool InternalOnly() const { return false; }
};

// Slabs, precast slabs and beams (the rule table picks by the object's kind).
class TQTKPierOrnamentAreaDeductSlab : public TQTKPierFacingDeduct {};
class TQTKInternalPierOrnamentAreaDeductSlab final : public TQTKPierOrnamentAreaDeductSlab {
protected:
    bool InternalOnly() const override { return true; }
};
class TQTKPierOrnamentAreaDeductPrecastSlab : public TQTKPierFacingDeduct {};
class TQTKInternalPierOrnamentAreaDeductPrecastSlab final : public TQTKPierOrnamentAreaDeductPrecastSlab {
protected:
    bool InternalOnly() const override { return true; }
};
class TQTKPierOrnamentAreaDeductBeam : public TQTKPierFacingDeduct {};
class TQTKInternalPierOrnamentAreaDeductBeam final : public TQTKPierOrnamentAreaDeductBeam {
protected:
    bool InternalOnly() const override { return true; }
};

class TQTKPierContactWallOrnamentAreaDeductSlab : public TQTKPierFacingDeduct {
protected:
    bool OnContactFaces() const override { return true; }
};
class TQTKInternalPierContactWallOrnamentAreaDeductSlab final : public TQTKPierContactWallOrnamentAreaDeductSlab {
protected:
    bool InternalOnly() const override { return true; }
};
class TQTKPierContactWallOrnamentAreaDeductPrecastSlab : public TQTKPierFacingDeduct {
protected:
    bool OnContactFaces() const override { return true; }
};
class TQTKInternalPierContactWallOrnamentAreaDeductPrecastSlab final
    : public TQTKPierContactWallOrnamentAreaDeductPrecastSlab {
protected:
    bool InternalOnly() const override { return true; }
};
class TQTKPierContactWallOrnamentAreaDeductBeam : public TQTKPierFacingDeduct {
protected:
    bool OnContactFaces() const override { return true; }
};
class TQTKInternalPierContactWallOrnamentAreaDeductBeam final : public TQTKPierContactWallOrnamentAreaDeductBeam {
protected:
    bool InternalOnly() const override { return true; }
};

void RegisterPierRules(TStrategyRegistry& registry);
