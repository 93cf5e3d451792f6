// What a neighbouring element changes in a cast-in-place wall's formwork: the
// side faces the wall object gathers (its side-face shell). Openings, beams,
// columns, slabs, trenches, other walls and fill walls take formwork off;
// the reveals of openings, the sides of alcoves and the exposed sides of
// piers give formwork back. Every deduction takes its share off the one shell
// the wall keeps and returns the area removed (mm²), so an overlap is taken
// once, by the first rule the host runs. 0 when the rule does not apply.
#pragma once

#include <memory>
#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

class TQTKShellCalc3d;
class TStrategyRegistry;
class TVRMMultiPolyLinearCalc2d;
class TVRMPolyhedron3d;

// The base lines of an opening's reveal on a wall or insulating wall unit
// (its outline on the face) with the pieces other elements cover marked
// (ribbons, fill walls laid in a concrete wall, beams and lintels whose
// formwork comes first); nil when none.
std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildHoleRevealLinearCalc(IRDXRecord* wall, IRDXRecord* opening);
// The base lines where a fill wall laid in a concrete wall meets it, with
// the pieces other fill walls, openings and beams of prior formwork cover
// marked; nil when none.
std::unique_ptr<TVRMMultiPolyLinearCalc2d> BuildFillWallJunctionLinearCalc(IRDXRecord* wall, IRDXRecord* fillWall);
// The reveal of an opening in a wall or an insulating wall unit: the length
// of the opening's outline on the face that nothing else covers (other
// ribbons, fill walls laid in a concrete wall, beams and lintels whose
// formwork comes first) times the wall's "Thickness". Outside detail mode a
// reveal that is not 0 writes its length x thickness term when Flag is set.
double GetWallHoleSideFormboardArea(IRDXRecord* wall, IRDXRecord* opening, bool flag);
// Where a fill wall laid in a concrete wall meets it: the outline of the
// fill wall on the wall that no other fill wall, opening or beam of prior
// formwork covers, times the wall's "Thickness".
double GetFillWallJunctionSideArea(IRDXRecord* wall, IRDXRecord* fillWall, bool flag);
// The sides and head of an alcove in a wall or unit: its outline on the face
// (less the other alcoves' with MarkOtherAlcoves) times Depth; outside detail
// mode a result that is not 0 writes its length x depth term.
double GetAlcoveSideFormboardArea(IRDXRecord* wall, IRDXRecord* alcove, double depth, bool markOtherAlcoves);
// The opening off the side-face shell of the wall or unit it stands in
// (flush faces only), the reveal given back when it took 1 mm² or more. The
// net amount, negative when the reveal is larger than the opening; the
// opening's last detail shows it.
double DeductOpeningGivingRevealBack(TQTKShellCalc3d& shell, IRDXRecord* wall, IRDXRecord* opening);
// A pier standing against a wall or unit (Holder, whose solid is
// HolderSolid) adds its exposed sides (a unit: those in its strip,
// KeepPierSidesOfHolder) to the holder's side-face shell, less
// the holder's faces it covers; the net area. A pier adds once per
// calculation cache of the holder: asked again, the same area. Corrective:
// the last detail carries the holder's solid (detail mode).
double AddPierSidesToShell(TQTKShellCalc3d& shell, IRDXRecord* holder, const TVRMPolyhedron3d& holderSolid,
                           IRDXRecord* pier, bool corrective);

// The wall's end faces where it joins other elements (an original quantity).
class TQTKWallEndSideFormBoardOriginalArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element as it stands: faces it touches; faces flush with it too when
// its formwork comes before the wall's.
class TQTKWallFormBoardAreaDeductByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the element takes formwork off this wall at all.
    virtual bool Deducts(IRDXRecord* /*wall*/, IRDXRecord* /*object*/) const { return true; }
    static double DeductByFact(IRDXRecord* wall, IRDXRecord* object, const TableSourceRef& ruleContext);
};

// Another wall: a concrete wall by its own solid (the fill walls laid in it
// left out), flush faces too where this wall gives way; anything else where
// this wall gives way. A concrete wall and the fill wall laid in it: nothing.
class TQTKWallFormBoardAreaDeductWall final : public TQTKWallFormBoardAreaDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A door, window or opening standing in the wall: the faces flush with it.
class TQTKWallFormBoardAreaDeductHole : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Openings whose outline area is at or below the limit keep their formwork.
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// A ribbon window or opening along the wall.
class TQTKWallFormBoardAreaDeductRibbon : public TQTKWallFormBoardAreaDeductHole {};
// ... of more than 1 m² (5 m²) outline area.
class TQTKWallFormBoardAreaDeductRibbon1M final : public TQTKWallFormBoardAreaDeductRibbon {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKWallFormBoardAreaDeductRibbon5M final : public TQTKWallFormBoardAreaDeductRibbon {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

// An opening standing in the wall with its reveal given back (see
// DeductOpeningGivingRevealBack).
class TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

class TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea : public TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea {
};
class TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea1M final
    : public TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea5M final
    : public TQTKWallFormBoardAreaDeductRibbonAndAddRibbonSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

// Openings of more than 0.3 m², 1 m², 5 m² outline area, without and with the reveal.
class TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleArea final : public TQTKWallFormBoardAreaDeductHole {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKWallFormBoardAreaDeductLargerThanPointThreeHoleAndAddHoleSideArea final
    : public TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKWallFormBoardAreaDeductLargerThanOneCentiareHole final : public TQTKWallFormBoardAreaDeductHole {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKWallFormBoardAreaDeductLargerThanOneCentiareHoleAndAddHoleSideArea final
    : public TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHole final : public TQTKWallFormBoardAreaDeductHole {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};
class TQTKWallFormBoardAreaDeductLargerThanFiveCentiareHoleAndAddHoleSideArea final
    : public TQTKWallFormBoardAreaDeductHoleAndAddHoleSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};

// A pier standing against this wall ("EDOPID"): its exposed sides less the
// wall face it covers; its sides join the wall's formwork once.
class TQTKWallFromBoardAreaAddPierFromBoard final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The sides and head of an alcove in the wall: its outline on the face not
// covered by other alcoves, times its "Depth".
class TQTKWallFormBoardAreaAddAlcoveSideArea : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Alcoves whose shape area is at or below the limit add nothing.
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};
class TQTKWallFormBoardAreaAddLargerThanPointTwoCentiareAlcoveSideArea final
    : public TQTKWallFormBoardAreaAddAlcoveSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 200'000.0; }
};
class TQTKWallFormBoardAreaAddLargerThanPointThreeAlcoveSideArea final : public TQTKWallFormBoardAreaAddAlcoveSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKWallFormBoardAreaAddLargerThanOneCentiareAlcoveSideArea final
    : public TQTKWallFormBoardAreaAddAlcoveSideArea {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// Beams across (along) the wall, by fact.
class TQTKWallFormBoardAreaDeductNotParallelBeam final : public TQTKWallFormBoardAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* beam) const override;
};
class TQTKWallFormBoardAreaDeductParallelBeam final : public TQTKWallFormBoardAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* beam) const override;
};

// A beam along a wall external on one side takes only its part off the
// other side: the external face keeps its formwork under the beam. Along a
// wall with no external side, by fact; across the wall, nothing.
class TQTKWallFormBoardAreaDeductParallelBeamAddBeamOutSideArea final : public TQTKWallFormBoardAreaDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A tie beam along the wall takes its parts on the wall's sides that do not
// face out (both for an inner wall, none for a wall external on both sides);
// across the wall, by fact.
class TQTKWallFormBoardAreaDeductTieBeamAddParallelBeamOutSideArea final : public TQTKWallFormBoardAreaDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A beam whose width does not hold the wall: faces it touches and flush faces.
class TQTKWallFormBoardAreaDeductPallelBeam final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// An outer wall with one side external: the element's part on the other side
// only; an inner wall by fact; otherwise nothing.
class TQTKOutSideWallFormBoardAreaDeductInnerSideFormBoard final : public TQTKWallFormBoardAreaDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A column the walls do not cover, by fact.
class TQTKWallFormBoardAreaDeductColumnOnWall final : public TQTKWallFormBoardAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* wall, IRDXRecord* column) const override;
};

// The column's sides within one and a half wall thicknesses of the wall,
// over the wall's height.
class TQTKWallFormBoardAreaAddOnePointFiveColumnArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A trench unit's trench: its hollow (its whole solid), faces touched and flush.
class TQTKWallFormBoardAreaDeductTrenchHole : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool WholeSolid() const { return false; }
};
class TQTKWallFormBoardAreaDeductTrench final : public TQTKWallFormBoardAreaDeductTrenchHole {
protected:
    bool WholeSolid() const override { return true; }
};

// A fill wall laid in this concrete wall: the faces flush with it, less where
// its outline meets the wall (that junction keeps formwork).
class TQTKWallFormBoardAreaDeductFillWall final : public TQTKWallFormBoardAreaDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A slab by fact, and the part of the wall the slab cuts through.
class TQTKWallFormBoardAreaDeductSlabForFUJIAN final : public TQTKWallFormBoardAreaDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterWallFormBoardAreaRules(TStrategyRegistry& registry);
