// The formwork contact area of beams, ring beams and foundation beams, and
// what a neighbour takes out of it or gives back. The original rules add the
// beam's faces of one kind (sides, bottom, top, ends, haunches) to the
// formwork shell its object keeps and return the area added; every deduction
// takes a solid of its neighbour off the one shell calculator built over that
// shell and returns the area removed (mm²). A neighbour that takes formwork
// precedence takes the beam faces lying on its surface too (both
// superposition kinds); otherwise only the faces it touches from the front.
// 0 when a rule does not apply or the beam has no formwork faces yet.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Strategies/Common/QTKShellTarget.h"

class TStrategyRegistry;
class IQTKBeamCalcEDO;

// Left + right + bottom + top faces (a haunched beam's without its haunches), with the expression.
class TQTKBeamOriginalFormboardArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// One group of the beam's faces added to its formwork shell.
class TQTKBeamFacesOriginalFormboardArea : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // Whether the beam has this formwork at all; always by default.
    virtual bool HasFormwork(IRDXRecord* beam) const;
    // Adds the faces; the area added. None by default.
    virtual double AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const;
};

class TQTKBeamLeftOriginalFromboardArea : public TQTKBeamFacesOriginalFormboardArea {
protected:
    double AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const override;
};
// No side formwork where a brick mould ("BrickMoldThickness" not 0) stands against the side.
class TQTKBeamLeftOriginalFromboardAreaConsiderBrick final : public TQTKBeamLeftOriginalFromboardArea {
protected:
    bool HasFormwork(IRDXRecord* beam) const override;
};
class TQTKBeamRightOriginalFromboardArea : public TQTKBeamFacesOriginalFormboardArea {
protected:
    double AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const override;
};
class TQTKBeamRightOriginalFromboardAreaConsiderBrick final : public TQTKBeamRightOriginalFromboardArea {
protected:
    bool HasFormwork(IRDXRecord* beam) const override;
};
class TQTKBeamBottomOriginalFromboardArea final : public TQTKBeamFacesOriginalFormboardArea {
protected:
    double AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const override;
};
// The end faces less what concrete beams at the ends cover (a haunched beam's without its haunches).
class TQTKBeamEndOriginalFromboardArea final : public TQTKBeamFacesOriginalFormboardArea {
protected:
    double AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const override;
};
// A foundation beam's two sides, with the expression.
class TQTKFDBeamOriginalSideFormBoardArea : public TQTKBeamFacesOriginalFormboardArea {
protected:
    double AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const override;
};
class TQTKFDBeamOriginalSideFormBoardAreaConsiderThickness final : public TQTKFDBeamOriginalSideFormBoardArea {
protected:
    bool HasFormwork(IRDXRecord* beam) const override;
};

// The haunches' own formwork, less the beam faces they cover, with the expression.
class TQTKBeamFormBoardAddHaunchedFromBoardArea : public TQTKBeamFacesOriginalFormboardArea {
protected:
    double AddFaces(IQTKBeamCalcEDO& beam, IRDXRecord* record) const override;
};
// The same for foundation beams only.
class TQTKFDBeamFormBoardAddHaunchedFromBoardArea final : public TQTKBeamFormBoardAddHaunchedFromBoardArea {
protected:
    bool HasFormwork(IRDXRecord* beam) const override;
};

// Deductions from the beam's formwork shell.
class TQTKBeamFormBoardAreaDeduction : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // The formwork the family takes neighbours off: the beam's formwork shell
    // calculator (none before the original rules added the beam's faces).
    virtual TQTKShellTarget ShellOf(const RecordRef& beam, const TableSourceRef& business,
                                    const TableSourceRef& ruleContext) const;
    // The neighbour's own solid with both kinds when it goes first, else the
    // contact kind; a concrete wall without the fill walls laid in it.
    static double DeductByPrecedence(const TQTKShellTarget& calc, IRDXRecord* object, bool objectFirst);
    // Takes the neighbour off the shell calculator; the area removed. Nothing by default.
    virtual double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                          const TableSourceRef& ruleContext) const;
};

// The neighbour's own solid by precedence (a concrete wall without the fill walls laid in it).
class TQTKBeamFormBoardAreaDeductByFact : public TQTKBeamFormBoardAreaDeduction {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};
// By fact, and the slab's cut through the beam along its width with both kinds.
class TQTKBeamFormBoardAreaDeductSlabForFUJIAN : public TQTKBeamFormBoardAreaDeductByFact {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};
// Another beam's solid by precedence (the cut priority between beams of one type).
class TQTKBeamFormBoardAreaDeductBeam : public TQTKBeamFormBoardAreaDeduction {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};
// A beam this one is secondary to, with both kinds.
class TQTKBeamFromBoardAreaDeductSubBeam : public TQTKBeamFormBoardAreaDeduction {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};
// A slab; one flush with the beam's bottom and lower in formwork priority
// takes the faces down to 5 mm below it.
class TQTKBeamFormBoardAreaDeductSameBottomElevBoard final : public TQTKBeamFormBoardAreaDeduction {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};
// A straight stair flight the sloping beam runs over.
class TQTKBeamFormBoardAreaDeductBeelineStearSeg : public TQTKBeamFormBoardAreaDeduction {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};
// A trench unit's whole trench across the foundation beam.
class TQTKFDBeamFormBoardAreaDeductTrench final : public TQTKBeamFormBoardAreaDeduction {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};

// Walls along or across the beam: by precedence, the beam's section over a
// parallel wall's span, the wall as taking precedence, the flush-face halves
// of an outer beam, or a ring beam's masonry wall below it, by whether the
// wall runs along the beam.
class TQTKBeamFormBoardAreaWallPart : public TQTKBeamFormBoardAreaDeduction {
protected:
    enum class TPart { None, ByPrecedence, SpanPrism, SolidByPriority, WallFirst, FlushFace, Contact, BelowRingBeam };
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
    // What the wall takes; nothing by default.
    virtual TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const;
};
class TQTKBeamFormBoardAreaDeductParallelWall : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKBeamFormBoardAreaDeductNotParallelWall : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKBeamFormBoardAreaGiveWallFormBoardArea : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKBeamFormBoardAreaGiveWallFormBoardAreaDeductNotParallelWall final : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKBeamFormBoardAreaGiveWallWhenSameThickness final : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKBeamFormBoardAreaGiveWallWhenSameThicknessDeductNotParallelWall final : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKOutBeamFormBoardDeductWall : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKOutBeamFormBoardDeductWallDeductNotParallelWall : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKTieBeamFormBoardAreaDeductParellelMasonryWallBottom : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};
class TQTKTieBeamFormBoardAreaDeductParellelMasonryWall : public TQTKBeamFormBoardAreaWallPart {
protected:
    TPart PartOf(bool parallel, IRDXRecord* beam, IRDXRecord* wall) const override;
};

// A lintel under the ring beam: along it, the ring beam's section over the
// lintel's length; across it, the lintel's solid; both kinds.
class TQTKTieBeamFormBoardAreaDeductLintel final : public TQTKBeamFormBoardAreaDeduction {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};

// An opening in a wall along the beam on the beam's floor: its solid with
// the flush kind, less the reveal strip under the beam (the opening's jambs
// and head that the beam's outline on the wall covers, the beam's thickness
// wide, the wall's where the beam rests on the opening and the wall is thinner).
class TQTKBeamFormBoardAreaDeductWallHole final : public TQTKBeamFormBoardAreaDeduction {
protected:
    double Deduct(const TQTKShellTarget& calc, IRDXRecord* beam, IRDXRecord* object,
                  const TableSourceRef& ruleContext) const override;
};

// The first lintel related to the beam that sits over the opening, or nil.
RecordRef FindLintelOver(IQTKBeamCalcEDO& beam, IRDXRecord* opening);

void RegisterBeamFormBoardAreaRules(TStrategyRegistry& registry);
