// The over-height formwork of beams, ring beams and foundation beams: the
// weighted area of the formwork pieces above the critical height (mm²,
// already multiplied by the piece weights), what each neighbour takes out of
// those pieces, and what haunches and opening reveals give back layer by
// layer. The deductions are the beam formwork rules working on the beam's
// over-height formwork instead of its formwork shell; it is built on first
// use, by whichever rule comes first, and kept on the beam object. 0 for a
// beam that is not over height.
#pragma once

#include <memory>

#include "Calculator/Strategies/BeamStrategies/QTKBeamFormBoardAreaCalculator.h"

class TVRMOverhighShellCalc3d;

// The beam's over-height formwork, built and stored when missing (with its
// volume calculator when missing and the value list); none when the beam is
// not over height.
std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildBeamOverHighFormboard(const RecordRef& subject,
                                                                         const TableSourceRef& business,
                                                                         const TableSourceRef& ruleContext);

// A beam formwork rule working on the over-height formwork.
template <class Rule>
class TQTKBeamOverHighFormOf : public Rule {
protected:
    TQTKShellTarget ShellOf(const RecordRef& beam, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override
    {
        return TQTKShellTarget(GetOrBuildBeamOverHighFormboard(beam, business, ruleContext));
    }
};

// The weighted area of the over-height formwork pieces, with its expression.
class TQTKBeamOriginalOverHighFormBoardArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Any neighbour by formwork precedence (between beams too), a concrete wall
// without the fill walls laid in it.
class TQTKBeamOverHighFormBoardAreaDeductByFact final : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeduction> {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};

// Walls along (across) the beam by formwork precedence.
class TQTKBeamOverHighFormBoardAreaDeductParallelWall final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeductParallelWall> {};
class TQTKBeamOverHighFormBoardAreaDeductNotParallelWall final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeductNotParallelWall> {};
// A wall along the beam gives the beam's section over its span; across, by precedence.
class TQTKBeamOverHighFormBoardAreaGiveParallelWallDeductNotParallelWall final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaWallPart> {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
// A wall along the beam, whatever its thickness, as taking precedence; across, by precedence.
class TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaWallPart> {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
// The flush-face halves of a wall along an outer beam; across, by precedence.
class TQTKOutBeamOverHighFormBoardDeductParallelAndNotParallelWall final
    : public TQTKBeamOverHighFormOf<TQTKOutBeamFormBoardDeductWallDeductNotParallelWall> {};
class TQTKBeamOverHighFormBoardAreaDeductSlabForFUJIAN final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeductSlabForFUJIAN> {};
class TQTKBeamOverHighFormBoardAreaDeductBeam final : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeductBeam> {};
class TQTKBeamOverHighFromBoardAreaDeductSubBeam final
    : public TQTKBeamOverHighFormOf<TQTKBeamFromBoardAreaDeductSubBeam> {};
class TQTKBeamOverHighFormBoardAreaGiveWallFormBoardArea final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaGiveWallFormBoardArea> {};

// A wall along the beam within its width: the beam's section over the
// wall's span as taking precedence (a concrete wall's without the fill walls
// overlaying it).
class TQTKBeamOverHighFormBoardAreaGiveWallWhenSameThickness final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeduction> {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};

class TQTKOutBeamOverHighFormBoardDeductWall final : public TQTKBeamOverHighFormOf<TQTKOutBeamFormBoardDeductWall> {};

// A tie column against a single beam, by formwork precedence.
class TQTKSingleBeamOverHighTieColumn final : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeduction> {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};

// A slab: flush with the beam's bottom, faces lying on it too; otherwise the faces it touches.
class TQTKBeamOverHighFormBoardAreaDeductSameBottomElevBoard final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeduction> {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};

class TQTKBeamOverHighFormBoardAreaDeductBeelineStearSeg final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeductBeelineStearSeg> {};

// The side faces of the beam's haunches that lie above the critical height,
// each layer's part times its weight.
class TQTKBeamOverHighFormBoardAreaAddHaunchingArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// A ring beam on a masonry wall along it: the wall's part below the ring
// beam (the whole wall), by contact.
class TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall final
    : public TQTKBeamOverHighFormOf<TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom> {};
class TQTKTieBeamOverHighFormBoardAreaDeductParellelMasonryWall2 final
    : public TQTKBeamOverHighFormOf<TQTKTieBeamFormBoardAreaDeductParellelMasonryWall> {};

// A lintel under the ring beam: its solid with both kinds, and the ring
// beam's soffit over the lintel's "Len" by contact.
class TQTKTieBeamOverHighFormBoardAreaDeductLinTel final
    : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeduction> {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};

// An opening in a wall along the beam on the beam's floor: its solid with
// the flush kind, less the reveal strip under the beam layer by layer, each
// layer's strip times its weight.
class TQTKBeamOverHighFormBoardAreaDeductHole final : public TQTKBeamOverHighFormOf<TQTKBeamFormBoardAreaDeduction> {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterBeamOverHighFormBoardAreaRules(TStrategyRegistry& registry);
