// What a neighbouring element changes in a column's concrete volume. The
// column's own volume is its object's volume calculator; each deduction takes
// the neighbour's share off that one calculator on behalf of the neighbour and
// returns the volume removed (mm³), so an overlap is removed once, by the
// first rule that asks. The tie-column rules add the concrete of the toothing
// into the masonry beside the column. 0 when the rule does not apply.
#pragma once

#include <memory>
#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

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

// The neighbour's own solid, as it is, whatever the formwork or material
// priority. A beam also leaves the column's solid copy.
class TQTKColumnVolDeductByFact : public TQTKCalcStrategy {
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
class TQTKRectangleColumnVolDeductByWidenedWall : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // The widening on each side; none: nothing is deducted.
    virtual std::optional<TQTKWallWidening> Widening() const { return std::nullopt; }
};

class TQTKRectangleColumnVolDeductLackOneAndHalfWallThickness final : public TQTKRectangleColumnVolDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{1.5, true}; }
};
// 120 mm each side.
class TQTKRectangleColumnVolDeductLackSettledLenth final : public TQTKRectangleColumnVolDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{120.0, false}; }
};
class TQTKRectangleColumnVolDeductLackOneThickness final : public TQTKRectangleColumnVolDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{1.0, true}; }
};

// The whole remaining column goes to the first wall that asks; later walls get 0.
class TQTKRectangleColumnVolDeductNearWall final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The tie column's toothing: half its length (all of it) is added.
class TQTKTieColumnVolAddIndentingHalfLength : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual double LengthFactor() const { return 0.5; }
    // Outside detail mode: the added volume as a plain value.
    virtual void WriteExpr(IRDXRecord* subject, IRDXRecord* object, IQTKTieColumnCalculatorEDO& column,
                           double volume) const;
};
class TQTKTieColumnVolAddIndentingAllLength final : public TQTKTieColumnVolAddIndentingHalfLength {
protected:
    double LengthFactor() const override { return 1.0; }
    // The toothing's own solid as the formula.
    void WriteExpr(IRDXRecord* subject, IRDXRecord* object, IQTKTieColumnCalculatorEDO& column,
                   double volume) const override;
};

// A door or window that cuts into the tie column: what its solid covers.
class TQTKTieColumnVolDeductDoorWindowHole final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A wall, only when the walls beside the column wholly hold its outline.
class TQTKColumnVolDeductIrregularWall final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterColumnVolumeRules(TStrategyRegistry& registry);
