// The two dimensions of a beam's scaffolding: its length along the beam and
// its height from a floor or ground elevation up to the beam's top, its
// bottom or the underside of the slabs at the beam. The setting
// "BeamSacffoldAreaCalcCondition" of "QTKBeamCalcSettings" decides which
// beams get scaffolding and whether only a height above 3600 mm counts. mm.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// Whether condition C gives the beam scaffolding, and whether a height passes it.
bool BeamScaffoldApplies(int condition, IRDXRecord* beam);
bool BeamScaffoldHeightPasses(int condition, double height);

// The middle line outside the beams this one gives way to.
class TQTKBeamScaffoldMiddleLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The axis length not covered by beams of its own type that cut it.
class TQTKBeamScaffoldNetLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The scaffold height from the bottom elevation of the rule's method up to
// the beam; 0 where the condition gives no scaffolding or the height fails
// it, and never below 0 (a beam under its scaffold's bottom has none).
class TQTKBeamScaffoldHeight : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    enum class TTop { None, BeamTop, BeamBottom, SlabUnderside };
    // The bottom method of the over-height bottom elevation (0, 1 or 2).
    virtual int BottomMethod() const { return 0; }
    // Up to where the height is measured; nowhere by default (the rule gives 0).
    virtual TTop Top() const { return TTop::None; }
};

class TQTKBeamScaffoHeightFromFloorElevToBeamTopElev final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 0; }
    TTop Top() const override { return TTop::BeamTop; }
};
class TQTKBeamScaffoHeightFromFloorElevToBoardBottomElev final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 0; }
    TTop Top() const override { return TTop::SlabUnderside; }
};
class TQTKBeamScaffoHeightFromFloorElevToBeamBottomElev final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 0; }
    TTop Top() const override { return TTop::BeamBottom; }
};
class TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamTopElev final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 1; }
    TTop Top() const override { return TTop::BeamTop; }
};
class TQTKBeamScaffoHeightFloorHasFoorUnderFloorToBeamTopElev final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 2; }
    TTop Top() const override { return TTop::BeamTop; }
};
class TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamTopElevDeductSlapHeight final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 1; }
    TTop Top() const override { return TTop::SlabUnderside; }
};
class TQTKBeamScaffoHeightFloorHasFoorUnderFloorDeductSlap final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 2; }
    TTop Top() const override { return TTop::SlabUnderside; }
};
class TQTKBeamScaffoHeightFloorCorvaOrFloorElevToBeamBottomElev final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 1; }
    TTop Top() const override { return TTop::BeamBottom; }
};
class TQTKBeamScaffoHeightFloorHasFoorUnderFloorToBeamBottomElev final : public TQTKBeamScaffoldHeight {
protected:
    int BottomMethod() const override { return 2; }
    TTop Top() const override { return TTop::BeamBottom; }
};

void RegisterBeamScaffoldRules(TStrategyRegistry& registry);
