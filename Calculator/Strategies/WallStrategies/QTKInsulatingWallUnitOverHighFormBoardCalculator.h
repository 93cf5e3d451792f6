// The over-height formwork of insulating wall layers (units): the layer's
// formwork faces above the critical height, cut into weighted pieces by the
// wall partition, and what neighbours take off them or add to them. The
// wall over-height formwork family with the layer's hooks: openings whose
// host runs along the layer, the alcove's depth in the layer, piers on the
// layer's wall, neighbours by formwork priority (not the layers of the same
// wall). 0 for a layer that is not over height.
#pragma once

#include "Calculator/Strategies/WallStrategies/QTKWallOverhighFormBoardCalculator.h"

// A wall over-height formwork rule on a layer: an opening counts when its
// host (a ribbon itself) runs along the layer.
bool IsHollowHostParallel(IRDXRecord* wall, IRDXRecord* opening);
template <class Rule>
class TQTKOnInsulatingUnit : public Rule {
protected:
    bool IsInWall(IRDXRecord* unit, IRDXRecord* opening) const override { return IsHollowHostParallel(unit, opening); }
};

class TQTKInsulatingWallUnitOverHighFormBoardOriginal final : public TQTKWallOverHighFormBoardOriginalArea {};

class TQTKInsulatingWallUnitOverHighFormBoardDeductHollow
    : public TQTKOnInsulatingUnit<TQTKWallOverHighFormBoardAreaDeductHole> {};
class TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide
    : public TQTKOnInsulatingUnit<TQTKWallOverHighFormBoardAreaDeductHoleAddHoleSideArea> {};
class TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollow final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductHollow {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollow final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductHollow {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};
class TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollow final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductHollow {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKInsulatingWallUnitOverHighFormBoardDeductOneHollowAddSide final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};
class TQTKInsulatingWallUnitOverHighFormBoardDeductFiveHollowAddSide final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide {
protected:
    std::optional<double> SizeLimit() const override { return 5'000'000.0; }
};
class TQTKInsulatingWallUnitOverHighFormBoardDeductPointThreeHollowAddSide final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductHollowAddSide {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};

// Any element as it stands (not another layer of the same wall): a concrete
// wall by its own solid; flush faces too when its formwork comes first.
class TQTKInsulatingWallUnitOverHighFormBoardDeductByFact : public TQTKWallOverHighFormBoardAreaDeductByFact {
protected:
    double Deduct(const TArgs& args) const override;
    static double DeductUnitByFact(const TArgs& args);
};

// The over-height sides and head of an alcove, its depth in the layer wide.
class TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide
    : public TQTKOnInsulatingUnit<TQTKWallOverHighFormBoardAreaAddAloveSideArea> {
protected:
    double AlcoveDepth(IRDXRecord* unit, IRDXRecord* alcove) const override;
};
class TQTKInsulatingWallUnitOverHighFormBoardAddPointThreeAloveSide final
    : public TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide {
protected:
    std::optional<double> SizeLimit() const override { return 300'000.0; }
};
class TQTKInsulatingWallUnitOverHighFormBoardAddOneAloveSide final
    : public TQTKInsulatingWallUnitOverHighFormBoardAddAloveSide {
protected:
    std::optional<double> SizeLimit() const override { return 1'000'000.0; }
};

// A pier on the layer's wall: its exposed sides less the layer's face behind it, per layer.
class TQTKInsulatingWallUnitOverHighFormBoardAddPier final : public TQTKWallOverHighFormBoardAreaAddPierFormBoard {
protected:
    bool IsPierOf(IRDXRecord* unit, IRDXRecord* pier) const override;
    void AddTerm(IRDXRecord* unit, IRDXRecord* pier, double width, double height, double weight) const override;
};

class TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeam final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};
class TQTKInsulatingWallUnitOverHighFormBoardDeductNotParallelBeam final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};

// A beam along the layer with both kinds, its faces standing out beside the
// wall's external face given back layer by layer; across the layer nothing
// (the tie beam: by fact).
class TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductByFact {
protected:
    double Deduct(const TArgs& args) const override;
    virtual bool CrossingByFact() const { return false; }
};
class TQTKInsulatingWallUnitOverHighFormBoardDeductParallelTieBeamAddOutSide final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductParallelBeamAddOutSide {
protected:
    bool CrossingByFact() const override { return true; }
};

// A beam whose width does not hold the layer.
class TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularBeam final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* beam) const override;
};
// The faces the element touches.
class TQTKInsulatingWallUnitOverHighFormBoardDeductInnerSide final : public TQTKWallOverHighFormBoardRule {
protected:
    double Deduct(const TArgs& args) const override;
};
// A column the walls and layers do not cover.
class TQTKInsulatingWallUnitOverHighFormBoardDeductIrregularColumn final
    : public TQTKInsulatingWallUnitOverHighFormBoardDeductByFact {
protected:
    bool Deducts(IRDXRecord* unit, IRDXRecord* column) const override;
};

void RegisterInsulatingWallUnitOverHighFormBoardRules(TStrategyRegistry& registry);
