// An insulating wall layer's face area (its middle face) and its formwork
// (the side faces it gathers): what neighbours take off them or add to them.
// Each deduction takes its share off the one shell the layer keeps and
// returns the area removed (mm²), so an overlap is taken once; the side-line
// rules put the layer's side faces into its formwork as they measure (mm).
// 0 when the rule does not apply.
#pragma once

#include <memory>
#include <optional>

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;
class TVRMPolyhedronShell3d;

// The faces of a beam along an outer layer (the first layer of an external
// left side, the last of an external right side) that stand out of the
// layer beside the external face: the beam's sides and soffit in the band of
// its thickness beside the layer's middle line, less where they touch the
// layer; nil for a layer on no external side.
std::unique_ptr<TVRMPolyhedronShell3d> BuildBeamStandingOutShell(IRDXRecord* unit, IRDXRecord* beam);

// ---------------------------------------------------------------------------
// The layer's face area

// Any element as it stands: faces it touches and flush faces.
class TQTKInsulatingWallUnitAreaDeductByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool Deducts(IRDXRecord* /*unit*/, IRDXRecord* /*object*/) const { return true; }
};

// Beams along the layer; those whose width does not hold the layer.
class TQTKInsulatingWallUnitAreaDeductParallelBeam final : public TQTKInsulatingWallUnitAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};
class TQTKInsulatingWallUnitAreaDeductIrregularBeam final : public TQTKInsulatingWallUnitAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};

// A column the walls and layers do not cover.
class TQTKInsulatingUnitAreaDeductIrregularColumn final : public TQTKInsulatingWallUnitAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* column) const override;
};

// A tie column ("Type" 0) with its teeth of the whole "IndentingWidth" (half of it).
class TQTKInsulatingUnitAreaDeductHoleIndenting : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool Whole() const { return true; }
};
class TQTKInsulatingUnitAreaDeductHalfIndenting final : public TQTKInsulatingUnitAreaDeductHoleIndenting {
protected:
    bool Whole() const override { return false; }
};

// Openings of more than 0.3 m² (1 m²) outline area, as they stand.
class TQTKInsulatingUnitAreaDeductPointThreeHole final : public TQTKInsulatingWallUnitAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* opening) const override;
};
class TQTKInsulatingUnitAreaDeduct1m2Hole final : public TQTKInsulatingWallUnitAreaDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* opening) const override;
};

// The hollow of a trench.
class TQTKInsulatingUnitAreaDeductTrenchHollow final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A pier on the layer's insulating wall adds its volume over the layer's
// thickness (nothing for a layer of no thickness).
class TQTKInsulatingUnitAreaAddPierByThickness final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// ---------------------------------------------------------------------------
// The layer's formwork

// The end faces where the layer meets other elements (an original quantity).
class TQTKInsulatingUnitFormBoardEndAreaOriginal final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The left (right) side line's length; its face joins the formwork.
class TQTKInsulatingUnitLeftLineLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
class TQTKInsulatingUnitRightLineLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any element as it stands (not another layer of the same wall): faces it
// touches, and flush faces too when its formwork comes first; a concrete
// wall by its own solid.
class TQTKInsulatingUnitFormBoardDeductByFact : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool Deducts(IRDXRecord* /*unit*/, IRDXRecord* /*object*/) const { return true; }
    static double DeductByFact(IRDXRecord* unit, IRDXRecord* object, const TableSourceRef& ruleContext);
};

// An opening standing in the layer: faces it touches and flush faces.
class TQTKInsulatingUnitFormBoardDeductHollow : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// An opening standing in the layer with its reveal given back.
class TQTKInsulatingUnitFormBoardDeductHollowAddSide : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};

// Openings of more than 1 m², 5 m², 0.3 m² outline area, without and with the reveal.
class TQTKInsulatingUnitFormBoardDeductOneHollow final : public TQTKInsulatingUnitFormBoardDeductHollow {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKInsulatingUnitFormBoardDeductOneHollowAddSide final : public TQTKInsulatingUnitFormBoardDeductHollowAddSide {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKInsulatingUnitFormBoardDeductFiveHollow final : public TQTKInsulatingUnitFormBoardDeductHollow {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};
class TQTKInsulatingUnitFormBoardDeductFiveHollowAddSide final : public TQTKInsulatingUnitFormBoardDeductHollowAddSide {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};
class TQTKInsulatingUnitFormBoardDeductPointThreeHollow final : public TQTKInsulatingUnitFormBoardDeductHollow {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKInsulatingUnitFormBoardDeductPointThreeHollowAddSide final
    : public TQTKInsulatingUnitFormBoardDeductHollowAddSide {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// The sides and head of an alcove in the layer, times its depth in the layer.
class TQTKInsulatingUnitFormBoardAddAlcoveSide : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual std::optional<double> SizeLimit() const { return std::nullopt; }
};
class TQTKInsulatingUnitFormBoardAddPointThreeAlcoveSide final : public TQTKInsulatingUnitFormBoardAddAlcoveSide {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKInsulatingUnitFormBoardAddOneAlcoveSide final : public TQTKInsulatingUnitFormBoardAddAlcoveSide {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// A pier on the layer's insulating wall: its exposed sides less the layer's
// face it covers, once.
class TQTKInsulatingUnitFormBoardAddPier final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A trench unit's trench: its hollow (its whole solid).
class TQTKInsulatingUnitFormBoardAreaDeductTrenchHole : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool WholeSolid() const { return false; }
};
class TQTKInsulatingUnitFormBoardAreaDeductTrench final : public TQTKInsulatingUnitFormBoardAreaDeductTrenchHole {
protected:
    bool WholeSolid() const override { return true; }
};

// Beams across (along) the layer, by fact.
class TQTKInsulatingUnitFormBoardDeductNotParallelBeam final : public TQTKInsulatingUnitFormBoardDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};
class TQTKInsulatingUnitFormBoardDeductParallelBeam final : public TQTKInsulatingUnitFormBoardDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};

// A beam along the layer, its sides standing out beside the wall's external
// face given back (first layer of an external left side, last of an external
// right side); across the layer nothing (the tie beam: by fact).
class TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide : public TQTKInsulatingUnitFormBoardDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual bool CrossingByFact() const { return false; }
};
class TQTKInsulatingUnitFormBoardDeductParallelTieBeamAddOutSide final
    : public TQTKInsulatingUnitFormBoardDeductParallelBeamAddOutSide {
protected:
    bool CrossingByFact() const override { return true; }
};

// A beam whose width holds the layer: faces it touches and flush faces.
class TQTKInsulatingUnitFormBoardDeductNotRegularBeam final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A beam along the layer flush with an external face: the beam less its part
// in the band beside that face, which keeps its formwork; flush with both
// faces, both faces go; not flush, the faces it touches.
class TQTKInsulatingUnitFormBoardDeductRegularBeamAddOutSide final : public TQTKInsulatingUnitFormBoardDeductByFact {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A column the walls and layers do not cover, by formwork precedence.
class TQTKInsulatingUnitFormBoardDeductNotRegularColumn final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterInsulatingWallUnitAreaRules(TStrategyRegistry& registry);
