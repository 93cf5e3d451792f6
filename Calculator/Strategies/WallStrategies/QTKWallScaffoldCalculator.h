// Wall scaffolds: the length of the scaffold along a wall and its height, which
// the host multiplies into scaffold areas. Four roots hold the conditions under
// which a wall gets a scaffold (the outside and the inside scaffold of an
// external wall, the scaffold of an internal wall, the inside scaffold of a
// high room); each root answers 0 itself. A length rule measures along the
// line its routine chooses and leaves its length calculator on the wall; the
// deduction rules take what a neighbour covers off that stored calculator, so
// a rule row pairs a length rule with its deductions. A height rule stores its
// height on the wall, 0 included. Lengths and heights are mm.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The condition of each root (a wall on the foundation storey and a fill wall
// laid in another wall never get a scaffold).
class TQTKExWallExScaffoldAreaCalc : public TQTKCalcStrategy {
public:
    static bool CanCalc(IRDXRecord* wall, const TableSourceRef& ruleContext);
};
class TQTKExWallInScaffoldAreaCalc : public TQTKCalcStrategy {
public:
    // By "ExternalWallInternalScaffoldAreaCalcCondition".
    static bool CanCalc(IRDXRecord* wall, const TableSourceRef& ruleContext);
};
class TQTKInWallScaffoldAreaCalc : public TQTKCalcStrategy {
public:
    // By "InternalWallScaffoldAreaCalcCondition".
    static bool CanCalc(IRDXRecord* wall, const TableSourceRef& ruleContext);
};
class TQTKWallInsideScaffoldLenCalc : public TQTKCalcStrategy {
public:
    // By "InsideLenScaffoldCalcCondition": a wall higher than 3.6 m above its scaffold bottom.
    static bool CanCalc(IRDXRecord* wall, const TableSourceRef& ruleContext);
};

// Shared by the rules: the stored calculator dropped, a height stored.
void ClearWallScaffoldCalc(IRDXRecord* wall);
void StoreWallScaffoldHeight(IRDXRecord* wall, double height);
// The scaffold bottom elevation of kind 0, 1 or 2 (the wall object's).
double GetWallScaffoldBottomElev(IRDXRecord* wall, int kind, const TableSourceRef& ruleContext);
// The mean of the wall's "StartPtTopElev" and "EndPtTopElev".
double GetWallAverageTopElev(IRDXRecord* wall);

// A scaffold length under the condition of Root: the length routine's result
// when the condition holds, else 0 (and, for the rules that say so, no
// calculator left on the wall).
template <class Root>
class TQTKWallScaffoldLengthRule : public Root {
public:
    double Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                     const TableSourceRef& ruleContext) override
    {
        if (Root::CanCalc(subject.get(), ruleContext))
            return Length(subject.get());
        if (ClearsOnFailure())
            ClearWallScaffoldCalc(subject.get());
        return 0.0;
    }

protected:
    // Measures the wall and stores the calculator on it.
    virtual double Length(IRDXRecord* wall) const = 0;
    virtual bool ClearsOnFailure() const { return false; }
};

// A scaffold height under the condition of Root: top less the scaffold bottom
// of BottomKind, stored on the wall; 0 (stored too) when the condition fails.
template <class Root>
class TQTKWallScaffoldHeightRule : public Root {
public:
    double Calculate(const RecordRef& subject, const RecordRef&, const TableSourceRef&,
                     const TableSourceRef& ruleContext) override
    {
        double height = 0.0;
        if (Root::CanCalc(subject.get(), ruleContext))
            height = Top(subject.get()) - GetWallScaffoldBottomElev(subject.get(), BottomKind(), ruleContext);
        StoreWallScaffoldHeight(subject.get(), height);
        return height;
    }

protected:
    // The wall's mean top unless a rule measures to a lower one.
    virtual double Top(IRDXRecord* wall) const { return GetWallAverageTopElev(wall); }
    virtual int BottomKind() const { return 0; }
};

// ---------------------------------------------------------------------------
// External walls: the outside scaffold

class TQTKExWallExLen final : public TQTKWallScaffoldLengthRule<TQTKExWallExScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;  // along the outer face
};
// The outer face's line, stored with its calculator; whole length.
class TQTKExWallFinishOutSideFinishLen final : public TQTKWallScaffoldLengthRule<TQTKExWallExScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;
    bool ClearsOnFailure() const override { return true; }
};
class TQTKExWallMidLen final : public TQTKWallScaffoldLengthRule<TQTKExWallExScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;  // the whole middle line
};
class TQTKExWallMidLenWithoutNontieColumn final : public TQTKWallScaffoldLengthRule<TQTKExWallExScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;  // the middle line less the columns
};
// A pier wider than 240 on an external side lengthens the outside scaffold by its two sides.
class TQTKExWallExScaffoldLenAddPierWidthExceeds24cm final : public TQTKExWallExScaffoldAreaCalc {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// From the bottom below the wall (kind 1), or the first bottom found (kind 2: basements).
class TQTKExWallExScaffoldHeight final : public TQTKWallScaffoldHeightRule<TQTKExWallExScaffoldAreaCalc> {
protected:
    int BottomKind() const override { return 1; }
};
class TQTKExWallExScaffoldHeightByBasement final : public TQTKWallScaffoldHeightRule<TQTKExWallExScaffoldAreaCalc> {
protected:
    int BottomKind() const override { return 2; }
};

// ---------------------------------------------------------------------------
// External walls: the inside scaffold

class TQTKExWallInScaffoldLen final : public TQTKWallScaffoldLengthRule<TQTKExWallInScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;  // along the inner face
};
class TQTKExWallInScaffoldLenWithoutNontieColumn final
    : public TQTKWallScaffoldLengthRule<TQTKExWallInScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;  // the inner face less the columns
};
class TQTKExWallInScaffoldHeightToSlabBtm final : public TQTKWallScaffoldHeightRule<TQTKExWallInScaffoldAreaCalc> {
protected:
    double Top(IRDXRecord* wall) const override;
};
class TQTKExWallInScaffoldHeightToSlabOrNontieBeamBtm final
    : public TQTKWallScaffoldHeightRule<TQTKExWallInScaffoldAreaCalc> {
protected:
    double Top(IRDXRecord* wall) const override;
};
class TQTKExWallInScaffoldHeight final : public TQTKWallScaffoldHeightRule<TQTKExWallInScaffoldAreaCalc> {};

// ---------------------------------------------------------------------------
// Internal walls

// Along the drawn axis (whole length).
class TQTKInWallScaffoldMiddleLineLen final : public TQTKWallScaffoldLengthRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;
    bool ClearsOnFailure() const override { return true; }
};
// Along the middle line (whole length; the deductions come after).
class TQTKInWallScaffoldNetLineLen final : public TQTKWallScaffoldLengthRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;
    bool ClearsOnFailure() const override { return true; }
};

// What a neighbour covers of the stored scaffold length (0 without one).
class TQTKWallScaffoldLenDeduct : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // The object is a line element (else a point element).
    virtual bool IsLineObject() const = 0;
    // Only an object the wall gives way to; its plan polygon (else its outline).
    virtual bool ByGiveWay() const { return false; }
    // A fill wall laid in another wall deducts nothing.
    virtual bool SkipsOverlaidFillWall() const { return false; }
};
// A crossing wall the wall gives way to, by its plan polygon.
class TQTKInWallScaffoldLenDeductWall final : public TQTKWallScaffoldLenDeduct {
protected:
    bool IsLineObject() const override { return true; }
    bool ByGiveWay() const override { return true; }
};
// A point element (a column) by its outline.
class TQTKInWallScaffoldLenDeductByFact final : public TQTKWallScaffoldLenDeduct {
protected:
    bool IsLineObject() const override { return false; }
};

class TQTKInWallScaffoldLen final : public TQTKWallScaffoldLengthRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;  // the middle line less the crossing walls
    bool ClearsOnFailure() const override { return true; }
};
// A finish scaffold along one face that is not external (its line is stored).
class TQTKInWallFinishScaffoldLeftSideLen final : public TQTKWallScaffoldLengthRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;
    bool ClearsOnFailure() const override { return true; }
};
class TQTKInWallFinishScaffoldRightSideLen final : public TQTKWallScaffoldLengthRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;
    bool ClearsOnFailure() const override { return true; }
};
class TQTKInWallScaffoldLenWithoutNontieColumn final : public TQTKWallScaffoldLengthRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Length(IRDXRecord* wall) const override;  // also less the columns
    bool ClearsOnFailure() const override { return true; }
};

// The members that lower the top of a finish scaffold.
enum class TQTKScaffoldTopMembers {
    None,              // the slabs alone
    Beams,             // beams (15, 17)
    BeamsAndTieBeams,  // beams and tie beams (15, 17, 18)
};

// The height of a finish scaffold up to a top over the stored scaffold line;
// 0 when no length rule left a calculator. Stored on the wall.
class TQTKWallFinishScaffoldHeight : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    virtual TQTKScaffoldTopMembers Members() const = 0;
    // The slab bottoms lower it too.
    virtual bool ToSlab() const { return true; }
};
class TQTKInWallFinishScaffoldHeightToSlabBtm final : public TQTKWallFinishScaffoldHeight {
protected:
    TQTKScaffoldTopMembers Members() const override { return TQTKScaffoldTopMembers::None; }
};
class TQTKInWallFinishScaffoldHeightToNontieBeamBtm final : public TQTKWallFinishScaffoldHeight {
protected:
    TQTKScaffoldTopMembers Members() const override { return TQTKScaffoldTopMembers::Beams; }
    bool ToSlab() const override { return false; }
};
class TQTKInWallFinishScaffoldHeightToSlabOrNontieBeamBtm final : public TQTKWallFinishScaffoldHeight {
protected:
    TQTKScaffoldTopMembers Members() const override { return TQTKScaffoldTopMembers::Beams; }
};
class TQTKInWallFinishScaffoldHeightToSlabOrBeamBtm final : public TQTKWallFinishScaffoldHeight {
protected:
    TQTKScaffoldTopMembers Members() const override { return TQTKScaffoldTopMembers::BeamsAndTieBeams; }
};

// Internal wall heights from the storey's scaffold bottom.
class TQTKInWallScaffoldHeightToSlabBtm final : public TQTKWallScaffoldHeightRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Top(IRDXRecord* wall) const override;
};
class TQTKInWallScaffoldHeightToNontieBeamBtm final : public TQTKWallScaffoldHeightRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Top(IRDXRecord* wall) const override;
};
class TQTKInWallScaffoldHeightToSlabOrNontieBeamBtm final
    : public TQTKWallScaffoldHeightRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Top(IRDXRecord* wall) const override;
};
// Beams and tie beams (15, 18), not the beams of type 17, unlike its finish twin.
class TQTKInWallScaffoldHeightToSlabOrBeamBtm final : public TQTKWallScaffoldHeightRule<TQTKInWallScaffoldAreaCalc> {
protected:
    double Top(IRDXRecord* wall) const override;
};
class TQTKInWallScaffoldHeight final : public TQTKWallScaffoldHeightRule<TQTKInWallScaffoldAreaCalc> {};

// ---------------------------------------------------------------------------
// Inside scaffolds of high rooms

class TQTKWallInsideScaffoldNetLen final : public TQTKWallScaffoldLengthRule<TQTKWallInsideScaffoldLenCalc> {
protected:
    double Length(IRDXRecord* wall) const override;
};
class TQTKWallInsideScaffoldNetLenWithoutNontieColumn final
    : public TQTKWallScaffoldLengthRule<TQTKWallInsideScaffoldLenCalc> {
protected:
    double Length(IRDXRecord* wall) const override;
};

// ---------------------------------------------------------------------------
// Balconies on the outside scaffold

// The balcony's outline along the outer walls, counted by the wall of the
// lowest id along it, less what the other walls' outer lines already cover.
class TQTKWallOutSideScaffoldAddBalconyOutLineLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// How far a balcony of "Type" 0 or 5 reaches out, counted by one wall.
class TQTKWallOutSideScaffoldAddBalonySideLineLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The net middle line of a wall higher than 4.5 m above its scaffold bottom
// (while "InsideScaffoldOverhighLenCalcCondition" is 0).
class TQTKWallInsideScaffoldOverhighLen final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};
// The same less the columns.
class TQTKWallInsideScaffoldOverhighNetLenWithoutNontieColumn final : public TQTKWallInsideScaffoldLenCalc {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Finish scaffold deductions by the object's outline, without a give-way test.
class TQTKlFinishScaffoldDeductLineEntByFact final : public TQTKWallScaffoldLenDeduct {
protected:
    bool IsLineObject() const override { return true; }
    bool SkipsOverlaidFillWall() const override { return true; }
};
class TQTKFinishScaffoldDeductPointEntByFact final : public TQTKWallScaffoldLenDeduct {
protected:
    bool IsLineObject() const override { return false; }
    bool SkipsOverlaidFillWall() const override { return true; }
};

void RegisterWallScaffoldRules(TStrategyRegistry& registry);
