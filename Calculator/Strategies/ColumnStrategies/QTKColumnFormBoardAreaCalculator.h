// What a neighbouring element changes in a column's formwork: the shell of
// the column's side faces, kept by the column object. Each deduction takes
// the part a neighbour covers off that one shell and returns the area removed
// (mm²); where the neighbour's formwork takes precedence the faces flush with
// it go too. Openings deduct by the material of the wall they sit in. The
// tie-column rules add the side area of the toothing into the masonry.
//
// The over-height rules are the same families on the column's over-height
// formwork (the side faces of the weighted pieces above the critical height,
// built on first use by whichever rule comes first and kept on the column
// object): they return weighted mm², and 0 for a column that is not over
// height.
#pragma once

#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Strategies/ColumnStrategies/QTKColumnVolumeCalculator.h"
#include "Calculator/Strategies/Common/QTKShellTarget.h"

class IQTKTieColumnCalculatorEDO;
class TStrategyRegistry;

// An opening (door, window, ribbon ...) off the column's side shell, or off
// its over-height formwork when OverHigh: in a concrete wall by both
// superposition kinds (only its part inside the wall when it merely touches
// the column), in any other wall by the flush kind only. The area removed.
double DeductOpeningFromColumnShell(IRDXRecord* column, IRDXRecord* opening, bool overHigh,
                                    const TableSourceRef& ruleContext);

// The column's over-height formwork, built and stored when missing (with the
// over-height volume, detail mode off meanwhile, and the value list when
// those are missing); none when the column is not over height.
TQTKShellTarget GetOrBuildColumnOverHighFormboard(const RecordRef& subject, const TableSourceRef& business,
                                                  const TableSourceRef& ruleContext);

// A rule on the column's side shell; the over-height twins answer the hook
// with the over-height formwork.
class TQTKColumnFormBoardRule : public TQTKCalcStrategy {
protected:
    virtual TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                                    const TableSourceRef& ruleContext) const;
};

// A column formwork rule working on the over-height formwork.
template <class Rule>
class TQTKColumnOverHeightFormBoardOf : public Rule {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override
    {
        return GetOrBuildColumnOverHighFormboard(subject, business, ruleContext);
    }
};

// The neighbour's own solid (a concrete wall without the fill walls laid in
// it); coinciding faces go too when the neighbour's formwork takes precedence.
class TQTKColumnFormBoardAreaDeductByFact : public TQTKColumnFormBoardRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the neighbour's formwork wins over the column's (both kinds).
    virtual bool NeighbourTakesPrecedence(IRDXRecord* column, IRDXRecord* object,
                                          const TableSourceRef& ruleContext) const;
};

// The wall beside the column widened on each side.
class TQTKRectangleColumnFormBoardDeductByWidenedWall : public TQTKColumnFormBoardRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // The widening on each side; none: nothing is deducted.
    virtual std::optional<TQTKWallWidening> Widening() const { return std::nullopt; }
};

class TQTKRectanglColumnFormBoarAreaDeductLackOneAndHalfWallThickness
    : public TQTKRectangleColumnFormBoardDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{1.5, true}; }
};
// 120 mm each side, as the volume twin.
class TQTKRectangleColumnFormBoardAreaDeductLackSettledLenth : public TQTKRectangleColumnFormBoardDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{120.0, false}; }
};
class TQTKRectangleColumnFormBoardAreaDeductLackOneThickness : public TQTKRectangleColumnFormBoardDeductByWidenedWall {
protected:
    std::optional<TQTKWallWidening> Widening() const override { return TQTKWallWidening{1.0, true}; }
};

// The whole remaining formwork goes to the first wall that asks; later walls get 0.
class TQTKRectangleColumnTemplateAreaGiveNearWall : public TQTKColumnFormBoardRule {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The side area of the tie column's toothing at half its length (all of it).
class TQTKTieColumnFormBoardAreaAddHalfIndenting : public TQTKTieColumnIndentingAddRule {
protected:
    double Amount(IQTKTieColumnCalculatorEDO& column) const override;
    // The added area as a plain value.
    void WriteExpr(IRDXRecord* subject, IRDXRecord* object, IQTKTieColumnCalculatorEDO& column,
                   double area) const override;
};
class TQTKTieColumnFormBoardAreaAddIndenting final : public TQTKTieColumnFormBoardAreaAddHalfIndenting {
protected:
    double LengthFactor() const override { return 1.0; }
    // The toothing's side faces as the formula.
    void WriteExpr(IRDXRecord* subject, IRDXRecord* object, IQTKTieColumnCalculatorEDO& column,
                   double area) const override;
};

// An opening reaching into the tie column: what it covers of the toothing's sides.
class TQTKTieColumnFormBoardAreaDeductHole : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// As above in a concrete host; in a masonry host whose rule row measures the
// opening over the toothing's full width, the column side area inside the
// opening is given back (negative).
class TQTKTieColumnFormBoardAreaDeductHoleAllIndentingWidth final : public TQTKTieColumnFormBoardAreaDeductHole {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A wall: when the walls beside the column wholly hold its outline, by both
// superposition kinds whatever the priority; otherwise as by fact.
class TQTKColumnFormBoardDeductIrregularWall : public TQTKColumnFormBoardAreaDeductByFact {
protected:
    bool NeighbourTakesPrecedence(IRDXRecord* column, IRDXRecord* object,
                                  const TableSourceRef& ruleContext) const override;
};

// ---------------------------------------------------------------------------
// Over height.

// The weighted side area of the pieces above the critical height, with its expression.
class TQTKColumnOverHeightOrginalFormBoardArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

class TQTKColumnOverHeightFormBoardAreaDeductByFact final
    : public TQTKColumnOverHeightFormBoardOf<TQTKColumnFormBoardAreaDeductByFact> {};
class TQTKRectanglColumnOverHeightFormBoarAreaDeductLackOneAndHalfWallThickness final
    : public TQTKColumnOverHeightFormBoardOf<TQTKRectanglColumnFormBoarAreaDeductLackOneAndHalfWallThickness> {};
// 120 mm each side, as the volume twin (not 120 times the thickness).
class TVRMRectangleColumnOverHeightFormBoardAreaDeductLackSettledLenth final
    : public TQTKColumnOverHeightFormBoardOf<TQTKRectangleColumnFormBoardAreaDeductLackSettledLenth> {};
class TVRMRectangleColumnOverHeightFormBoardAreaDeductLackOneThickness final
    : public TQTKColumnOverHeightFormBoardOf<TQTKRectangleColumnFormBoardAreaDeductLackOneThickness> {};
class TVRMRectangleColumnOverHeightFormBoardAreaDeductNearWall final
    : public TQTKColumnOverHeightFormBoardOf<TQTKRectangleColumnTemplateAreaGiveNearWall> {};

// The side area of the over-height part of the tie column's toothing ("Type"
// 0) at half (all) its width, for a column that is over height; one
// over-height toothing formwork per tie column, read at each rule's ratio.
class TQTKTieColumnOverHeightFormBoardAddHalfIndentingWidthArea : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual double IndentRatio() const { return 0.5; }
};
class TQTKTieColumnOverHeightFormBoardAddAllIndentingWidthArea final
    : public TQTKTieColumnOverHeightFormBoardAddHalfIndentingWidthArea {
protected:
    double IndentRatio() const override { return 1.0; }
};

// An opening reaching into an over-height tie column from a wall whose face
// meets the column: what it covers of the over-height toothing's sides.
class TQTKTieColumnOverHeightFormBoardDeductHole : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// As above in a concrete wall; in a masonry host whose rule row measures the
// opening over the toothing's full width, the column side area inside the
// opening is given back (negative), each layer above the critical height at
// its weight.
class TQTKTieColumnOverHeightFormBoardDeductHoleAllToothWidth final
    : public TQTKTieColumnOverHeightFormBoardDeductHole {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A wall: when the walls beside the column wholly hold its outline and the
// wall is concrete, by both superposition kinds; otherwise as by fact.
class TQTKColumnOverHeightFormBoardDeductIrregularWall final
    : public TQTKColumnOverHeightFormBoardOf<TQTKColumnFormBoardDeductIrregularWall> {
protected:
    bool NeighbourTakesPrecedence(IRDXRecord* column, IRDXRecord* object,
                                  const TableSourceRef& ruleContext) const override;
};

void RegisterColumnFormBoardAreaRules(TStrategyRegistry& registry);
