// The over-height formwork of walls (and, through the same family, of
// insulating wall layers): the weighted area of the side-face pieces above
// the critical height (mm², already multiplied by the piece weights), what
// each neighbour takes out of those pieces, and what opening reveals, alcove
// sides, fill-wall junctions and piers give back, each layer's share times
// its weight. The formwork is built on first use, by whichever rule comes
// first, and kept on the element object; 0 for an element that is not over
// height.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Strategies/Common/OverHigh/QTKOverHighLayerSum.h"
#include "Calculator/Strategies/Common/QTKShellTarget.h"

class TStrategyRegistry;
class TVRMOverhighShellCalc3d;

// The over-height formwork of a wall or insulating wall unit, built and
// stored when missing (with its volume calculator, built with detail mode
// off, and value list when missing); none when it is not over height.
std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildWallOverhighFormboard(const RecordRef& subject,
                                                                         const TableSourceRef& business,
                                                                         const TableSourceRef& ruleContext);
// The layers of the wall's (unit's) partition, lowest first.
std::vector<TQTKOverHighLayer> GetWallOverhighLayers(const RecordRef& subject, const TableSourceRef& business,
                                                     const TableSourceRef& ruleContext);

// The over-height reveal of an opening or alcove in a wall or unit: its
// outline on the face that nothing else covers, per layer, times Width and
// the layer's weight. Outside detail mode each layer writes its length x
// width term (flagged with Flag).
double GetWallOverhighHoleSideArea(IRDXRecord* wall, IRDXRecord* opening, bool flag, double width,
                                   const std::vector<TQTKOverHighLayer>& layers);
// Where a fill wall laid in a concrete wall meets it, per layer, the same way.
double GetWallOverhighJunctionSideArea(IRDXRecord* wall, IRDXRecord* fillWall, bool flag, double width,
                                       const std::vector<TQTKOverHighLayer>& layers);
// A pier standing against Holder (a wall or unit): its exposed perimeter
// less its length in contact once more (the holder's face behind it), times
// each layer's height within the holder's height at the pier (never below
// 0) and weight. Term gets each layer's width, height and weight.
using TQTKPierLayerTerm = std::function<void(double width, double height, double weight)>;
double GetWallOverhighPierSideArea(IRDXRecord* holder, IRDXRecord* pier, const std::vector<TQTKOverHighLayer>& layers,
                                   const TQTKPierLayerTerm& term);

// The family: each rule takes its neighbour off (or adds to) the over-height
// formwork the hook gives.
class TQTKWallOverHighFormBoardRule : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    struct TArgs {
        const TQTKShellTarget& calc;
        IRDXRecord* wall;
        IRDXRecord* object;
        const RecordRef& subject;
        const TableSourceRef& business;
        const TableSourceRef& ruleContext;
    };
    // The formwork taken from: the element's over-height formwork.
    virtual TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                                    const TableSourceRef& ruleContext) const;
    // Openings and alcoves whose outline area is at or below the limit take nothing.
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
    // What the rule takes (negative: gives back); nothing by default.
    virtual double Deduct(const TArgs& args) const;
    // The opening (alcove) stands in the wall (unit).
    virtual bool IsInWall(IRDXRecord* wall, IRDXRecord* opening) const;
};

// ---------------------------------------------------------------------------
// Walls

class TQTKWallOverHighFormBoardOriginalArea : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// An opening standing in the wall: the faces flush with it.
class TQTKWallOverHighFormBoardAreaDeductHole : public TQTKWallOverHighFormBoardRule {
protected:
    double Deduct(const TArgs& args) const override;
};
class TQTKWallOverHighFormBoardAreaDeductRibbon : public TQTKWallOverHighFormBoardAreaDeductHole {};
class TQTKWallOverHighFormBoardAreaDeductRibbon1M final : public TQTKWallOverHighFormBoardAreaDeductRibbon {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKWallOverHighFormBoardAreaDeductRibbon5M final : public TQTKWallOverHighFormBoardAreaDeductRibbon {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

// An opening standing in the wall with its over-height reveal given back,
// when it took 1 mm² or more: the net amount, negative when the reveal is
// larger; the opening's last detail shows it with its sign.
class TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea : public TQTKWallOverHighFormBoardAreaDeductHole {
protected:
    double Deduct(const TArgs& args) const override;
};
class TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea
    : public TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea {};
class TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea1M final
    : public TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea5M final
    : public TQTKWallOverHighFormBoardAreaDeductRibbonAddHoleSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};
class TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHole final
    : public TQTKWallOverHighFormBoardAreaDeductHole {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKWallOverHighFormBoardAreaDeductLargerThanPointThreeHoleAddSideArea final
    : public TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHole final
    : public TQTKWallOverHighFormBoardAreaDeductHole {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKWallOverHighFormBoardAreaDeductLargerThanOneCentiareHoleAddSideArea final
    : public TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHole final
    : public TQTKWallOverHighFormBoardAreaDeductHole {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};
class TQTKWallOverHighFormBoardAreaDeductLargerThanFiveCentiareHoleAddSideArea final
    : public TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

// A pier standing against this wall ("EDOPID"): its exposed sides less the
// wall face behind it, per layer.
class TQTKWallOverHighFormBoardAreaAddPierFormBoard : public TQTKWallOverHighFormBoardRule {
protected:
    double Deduct(const TArgs& args) const override;
    // The pier stands against this wall.
    virtual bool IsPierOf(IRDXRecord* wall, IRDXRecord* pier) const;
    // Records one layer's term outside detail mode.
    virtual void AddTerm(IRDXRecord* wall, IRDXRecord* pier, double width, double height, double weight) const;
};

// The over-height sides and head of an alcove in the wall, its "Depth" wide.
class TQTKWallOverHighFormBoardAreaAddAloveSideArea : public TQTKWallOverHighFormBoardRule {
protected:
    double Deduct(const TArgs& args) const override;
    virtual double AlcoveDepth(IRDXRecord* wall, IRDXRecord* alcove) const;
};
class TQTKWallOverHighFormBoardAreaAddLargerThanPointCentiareAlcoveSideArea final
    : public TQTKWallOverHighFormBoardAreaAddAloveSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKWallOverHighFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea final
    : public TQTKWallOverHighFormBoardAreaAddAloveSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// Any element as it stands: a concrete wall by its own solid (without the
// fill walls laid in it); faces flush with it too when it goes first (a
// wall: where it cuts this one; anything else by formwork priority).
class TQTKWallOverHighFormBoardAreaDeductByFact : public TQTKWallOverHighFormBoardRule {
protected:
    double Deduct(const TArgs& args) const override;
    // Whether the element takes formwork off this wall at all.
    virtual bool Deducts(IRDXRecord* /*wall*/, IRDXRecord* /*object*/) const { return true; }
    static double DeductByFact(const TArgs& args);
};
class TQTKWallOverHighFormBoardAreaDeductNotParallelBeam final : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* beam) const override;
};
class TQTKWallOverHighFormBoardAreaDeductParallelBeam final : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* beam) const override;
};
// A beam along the wall takes its part on the wall's external side only
// (across the wall nothing; along a wall with no external side, by fact).
class TQTKWallOverHighFormBoardAreaDeductParallelBeamAddBeamOutSideArea final
    : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    double Deduct(const TArgs& args) const override;
};
// A tie beam along the wall takes its parts on the sides that do not face
// out; across the wall, by fact.
class TQTKWallOverHighFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea final
    : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    double Deduct(const TArgs& args) const override;
};
// A beam whose width does not hold the wall.
class TQTKWallOverHighFormBoardAreaDeductPallelBeam final : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* beam) const override;
};
// An outer wall with one side external: the element's part on the other
// side only; an inner wall by fact; otherwise nothing.
class TQTKOutSideWallOverHighFormBoardAreaDeductInnerSideFormBoard final
    : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    double Deduct(const TArgs& args) const override;
};
// Another wall by its solid, flush faces too where it goes first at the
// join; not a concrete wall and the fill wall laid in it.
class TQTKOverHighFromBoardAreaDeductWall final : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    double Deduct(const TArgs& args) const override;
};
// A column the walls do not cover.
class TQTKWallOverHighFormBoardAreaDeductColumnOnWall final : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* column) const override;
};
// A fill wall laid in this concrete wall: the faces flush with it, less the
// over-height junction where it meets the wall.
class TQTKOverHighFormBoardAreaDeductFillWall final : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    double Deduct(const TArgs& args) const override;
};
// A slab by fact, and the part of the wall the slab cuts through.
class TQTKWallOverHighFormBoardAreaDeductSlabForFUJIAN final : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    double Deduct(const TArgs& args) const override;
};

void RegisterWallOverhighFormBoardRules(TStrategyRegistry& registry);
