// What a neighbouring element changes in a column's concrete volume. The
// column's own volume is its object's volume calculator; each deduction takes
// the neighbour's share off that one calculator on behalf of the neighbour and
// returns the volume removed (mm³), so an overlap is removed once, by the
// first rule that asks. The tie-column rules add the concrete of the toothing
// into the masonry beside the column. 0 when the rule does not apply.
//
// The over-height rules are the same families on the column's over-height
// volume (the weighted pieces above the critical height, built on first use
// by whichever rule comes first and kept on the column object): they return
// weighted mm³, and 0 for a column that is not over height.
#pragma once

#include <memory>
#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Strategies/Common/QTKVolumeTarget.h"

class IQTKTieColumnCalculatorEDO;
class TStrategyRegistry;
class TVRMPolyhedron3d;

// How far a wall is widened on each side around a column: Amount times its
// "Thickness" (by thickness), else Amount mm.
struct TQTKWallWidening {
    double amount = 0.0;
    bool byThickness = true;
};
// The wall's band so widened (BuildWallWidenedSolid / ...ByDistance).
std::unique_ptr<TVRMPolyhedron3d> BuildWidenedWall(IRDXRecord* wall, const TQTKWallWidening& widening);

// The column's over-height volume, built and stored when missing (with its
// formwork, except in detail mode, and its value list); none when the column
// is not over height.
TQTKVolumeTarget GetOrBuildColumnOverHighVolume(const RecordRef& subject, const TableSourceRef& business,
                                                const TableSourceRef& ruleContext);

// A rule on the column's volume calculator; the over-height twins answer the
// hook with the over-height volume.
class TQTKColumnVolumeRule : public TQTKCalcStrategy {
protected:
    virtual TQTKVolumeTarget VolumeOf(const RecordRef& subject, const TableSourceRef& business,
                                      const TableSourceRef& ruleContext) const;
};

// A column volume rule working on the over-height volume.
template <class Rule>
using TQTKColumnOverHeightVolOf = TQTKVolumeRuleOn<Rule, &GetOrBuildColumnOverHighVolume>;

// The neighbour's own solid, as it is, whatever the formwork or material
// priority. A beam also leaves the column's solid copy.
class TQTKColumnVolDeductByFact : public TQTKColumnVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether this neighbour is deducted at all; every one by default.
    virtual bool IsDeducted(IRDXRecord* object) const;
};

// An isolated foundation unit, unless it is cup-shaped (the column stands in the cup).
class TQTKColumnVolDeductByFactWithoutCupulateIsolatedFD final : public TQTKColumnVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* object) const override;
};

// A neighbour on the foundation floor (a foundation beam).
class TQTKColumnVolDeductFDBeamVol final : public TQTKColumnVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* object) const override;
};

// A beam that is not a single beam ("Type2" 0).
class TQTKColumnVolDeductAloneBeamVol final : public TQTKColumnVolDeductByFact {
protected:
    bool IsDeducted(IRDXRecord* object) const override;
};

// The wall beside the column widened on each side (by times its thickness,
// or by a distance), for regions that measure a column in a wall only out to
// that band.
class TQTKRectangleColumnVolDeductByWidenedWall : public TQTKColumnVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // The widening on each side; none: nothing is deducted.
    virtual std::optional<TQTKWallWidening> Widening() const { return std::nullopt; }
};

class TQTKRectangleColumnVolDeductLackOneAndHalfWallThickness : public TQTKRectangleColumnVolDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{1.5, true}; }
};
// 120 mm each side.
class TQTKRectangleColumnVolDeductLackSettledLenth : public TQTKRectangleColumnVolDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{120.0, false}; }
};
class TQTKRectangleColumnVolDeductLackOneThickness : public TQTKRectangleColumnVolDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{1.0, true}; }
};

// The whole remaining column goes to the first wall that asks; later walls get 0.
class TQTKRectangleColumnVolDeductNearWall : public TQTKColumnVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// What a tie column's toothing adds at its length factor (half; all of it
// where a rule says so), with the expression outside detail mode.
class TQTKTieColumnIndentingAddRule : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual double LengthFactor() const { return 0.5; }
    // The toothing's measure at LengthFactor.
    virtual double Amount(IQTKTieColumnCalculatorEDO& column) const = 0;
    virtual void WriteExpr(IRDXRecord* subject, IRDXRecord* object, IQTKTieColumnCalculatorEDO& column,
                           double amount) const = 0;
};

// The tie column's toothing: half its length (all of it) is added.
class TQTKTieColumnVolAddIndentingHalfLength : public TQTKTieColumnIndentingAddRule {
protected:
    double Amount(IQTKTieColumnCalculatorEDO& column) const override;
    // The added volume as a plain value.
    void WriteExpr(IRDXRecord* subject, IRDXRecord* object, IQTKTieColumnCalculatorEDO& column,
                   double volume) const override;
};
class TQTKTieColumnVolAddIndentingAllLength final : public TQTKTieColumnVolAddIndentingHalfLength {
protected:
    double LengthFactor() const override { return 1.0; }
    // The toothing's own solid as the formula.
    void WriteExpr(IRDXRecord* subject, IRDXRecord* object, IQTKTieColumnCalculatorEDO& column,
                   double volume) const override;
};

// A door or window that cuts into the tie column: what its solid covers.
class TQTKTieColumnVolDeductDoorWindowHole : public TQTKColumnVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A wall, only when the walls beside the column wholly hold its outline.
class TQTKColumnVolDeductIrregularWall : public TQTKColumnVolumeRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// ---------------------------------------------------------------------------
// Over height.

// The weighted volume of the pieces above the critical height, with its
// expression (the formwork is built with it outside detail mode).
class TQTKColumnOverHeihtOriginalVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The neighbour's own solid off every piece; the solid copy is left alone.
class TQTKColumnOverHeightDeductByFact final : public TQTKColumnOverHeightVolOf<TQTKColumnVolDeductByFact> {};

class TQKRectangleColumnOverHeightVolDeductLackOneAndHalfWallThickness final
    : public TQTKColumnOverHeightVolOf<TQTKRectangleColumnVolDeductLackOneAndHalfWallThickness> {};
// 120 mm each side, as the volume twin (not 120 times the thickness).
class TQTKRectangleColumnOverHeightVolDeductLackSettledLenth final
    : public TQTKColumnOverHeightVolOf<TQTKRectangleColumnVolDeductLackSettledLenth> {};
class TQTKRectangleColumnOverHeightVolDeductLackOneThickness final
    : public TQTKColumnOverHeightVolOf<TQTKRectangleColumnVolDeductLackOneThickness> {};
class TQTKRectangleColumnOverHeightVolDeductNearWall final
    : public TQTKColumnOverHeightVolOf<TQTKRectangleColumnVolDeductNearWall> {};

// The over-height part of the tie column's toothing ("Type" 0), at half its
// length (all of it), for a column that is over height. The tie column keeps
// one over-height toothing, made with the ratio of the rule that came first;
// each rule reads it at its own ratio.
class TQTKTieColumnOverHeightIndentinghalfLength : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual double IndentRatio() const { return 0.5; }
    // Before anything is read: the full-length rule sets the length mode.
    virtual void PrepareToothing(IQTKTieColumnCalculatorEDO& column) const;
};
class TQTKTieColumnOverHeightIndentingAllLength final : public TQTKTieColumnOverHeightIndentinghalfLength {
protected:
    double IndentRatio() const override { return 1.0; }
    void PrepareToothing(IQTKTieColumnCalculatorEDO& column) const override;
};

// A door or window: its weighted share of the over-height pieces only.
class TQTKTieColumnOverHeightVolDeductDoorWindowHole final
    : public TQTKColumnOverHeightVolOf<TQTKTieColumnVolDeductDoorWindowHole> {};

// A concrete wall, only when the walls beside the column wholly hold its outline.
class TQTKColumnOverHeightVolDeductIrregularWall final
    : public TQTKColumnOverHeightVolOf<TQTKColumnVolDeductIrregularWall> {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterColumnVolumeRules(TStrategyRegistry& registry);
