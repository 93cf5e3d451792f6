// The pieces from which a concrete column's scaffolding is priced: its
// scaffold height (mm) from a bottom reference (the floor, the ground, a
// basement, or the top of the foundation below) to a top (the column's, or
// the underside of the slabs, or of the beams or slabs, over it), and a
// constant length term of 3.6 m. The project setting
// "ConcreteColumnSacffoldAreaCalcCondition" decides whether a column gets
// scaffolding at all. Every height rule stores its height on the column object.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// Whether the column gets scaffolding: never on the foundation floor, else by
// the project's condition (0 never, 1 standing alone, 2 always, 3 not a tie
// column or not against an outer wall, 4 its top more than 1.2 m above its
// floor, any other value always).
bool IsColumnScaffoldNeeded(IRDXRecord* column, const TableSourceRef& ruleContext);
// The column's top lowered to the underside of the slabs (and beams) whose
// top lies within 0.5 m of it at the column's insertion point.
double GetScaffoldTopBySlab(IRDXRecord* column);
double GetScaffoldTopByBeamOrSlab(IRDXRecord* column);

// 3600, always.
class TQTKColumnScaffoldAddconstCoefficient final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// 3600 when the scaffold height is over 3.6 m, else 0. Without a stored
// height the project's height rule (the row of internal quantity 893) is run
// first; without that row the height is 0.
class TQTKColumnScaffoldAddconstCoefficientBy3Dot6 final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
    double CalcScaffoldHeight(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                              const TableSourceRef& ruleContext) const;
};

// 3600, or 0 for a column set against a concrete wall that does not hold it.
class TQTKColumnScaffoldAddCoefficient final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A height from a bottom reference to a top, 0 without scaffolding; stored on
// the column either way.
class TQTKColumnScaffoldHeightRule : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    enum class TTop { None, Column, Slab, BeamOrSlab };
    // The top measured to; none: no height.
    virtual TTop Top() const { return TTop::None; }
    // The bottom reference: 0 the floor, 1 the ground, 2 the basement.
    virtual int BottomKind() const { return 0; }
};

class TQTKClumnScaffoldHeightGroundElevToColumnTopElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::Column; }
    int BottomKind() const override { return 1; }
};
class TQTKClumnScaffoldHeightGroundElevToSlapBottomElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::Slab; }
    int BottomKind() const override { return 1; }
};
class TQTKClumnScaffoldHeightGroundElevToBeamOrSlapBottomElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::BeamOrSlab; }
    int BottomKind() const override { return 1; }
};
class TQTKClumnScaffoldFloorBottomElevToCloumnTopElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::Column; }
};
class TQTKClumnScaffoldFloorBottomElevToSlapBottompElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::Slab; }
};
class TQTKColumnScaffoldHeightFloorToBeamOrSalbBottomElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::BeamOrSlab; }
};
class TQTKColumnScaffoldHeightHaveBaseRoomToColumnTopElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::Column; }
    int BottomKind() const override { return 2; }
};
class TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductBeamAndSlabTopElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::BeamOrSlab; }
    int BottomKind() const override { return 2; }
};
class TQTKColumnScaffoldHeightHaveBaseRoomToColumnDeductSlabTopElev final : public TQTKColumnScaffoldHeightRule {
protected:
    TTop Top() const override { return TTop::Slab; }
    int BottomKind() const override { return 2; }
};

// From the top of the foundation below (the column's own, else that of the
// column it stands on, else the column's bottom) to the column's top.
class TQTKColumnScaffoldHeightFromBaseToTop final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterColumnScaffoldRules(TStrategyRegistry& registry);
