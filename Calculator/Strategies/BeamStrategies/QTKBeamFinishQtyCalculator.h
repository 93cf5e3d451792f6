// The finish of a beam measured on its own ("CalcAloneBeamFinishQty" 1): the
// areas of its side, top, bottom and end faces and what crossing beams, any
// element by fact and the slabs on it take off them, for the finish and the
// block finish alike, each on its own shell (mm²). Every rule gives 0 for a
// beam not measured alone; a deduction before any face rule of its family
// finds no shell and gives 0.
#pragma once

#include "Calculator/Strategies/BeamStrategies/QTKBeamShellDeduction.h"

class TStrategyRegistry;

// One kind of the beam's faces added to the family's shell; the area added.
class TQTKAloneBeamFinishFaceArea : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

protected:
    // 1 side faces, 2 top, 3 bottom, 4 ends; none by default.
    virtual int FaceKind() const { return 0; }
    // The block finish family instead of the finish.
    virtual bool BlockFinish() const { return false; }
};

// The deductions off the family's shell.
class TQTKAloneBeamFinishDeduction : public TQTKBeamShellDeduction {
protected:
    TQTKShellCalc3d* Shell(IRDXRecord* beam, const TableSourceRef& ruleContext) const override;
    bool IsDeducted(IRDXRecord* beam, IRDXRecord* object) const override;
    virtual bool BlockFinish() const { return false; }
};

// A crossing beam: both kinds only where this beam gives way to it.
class TQTKAloneBeamFinishAreaDeductBeamRule : public TQTKAloneBeamFinishDeduction {
protected:
    bool IsObjectFirst(IRDXRecord* beam, IRDXRecord* object, const TableSourceRef& ruleContext) const override;
};

// Every slab on the beam, both kinds; the object is not used.
class TQTKAloneBeamFinishAreaDeductSlabRule : public TQTKAloneBeamFinishDeduction {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

class TQTKAloneBeamFinishSideAreaQty final : public TQTKAloneBeamFinishFaceArea {
protected:
    int FaceKind() const override { return 1; }
};
class TQTKAloneBeamFinishBottomAreaQty final : public TQTKAloneBeamFinishFaceArea {
protected:
    int FaceKind() const override { return 3; }
};
class TQTKAloneBeamFinishTopAreaQty final : public TQTKAloneBeamFinishFaceArea {
protected:
    int FaceKind() const override { return 2; }
};
class TQTKAloneBeamFinishEndAreaQty final : public TQTKAloneBeamFinishFaceArea {
protected:
    int FaceKind() const override { return 4; }
};
class TQTKAloneBeamFinishAreaDeductBeam final : public TQTKAloneBeamFinishAreaDeductBeamRule {};
class TQTKAloneBeamFinishAreaDeductByFact final : public TQTKAloneBeamFinishDeduction {};
class TQTKAloneBeamFinishAreaDeductSlab final : public TQTKAloneBeamFinishAreaDeductSlabRule {};

class TQTKAloneBeamBlockFinishSideAreaQty final : public TQTKAloneBeamFinishFaceArea {
protected:
    int FaceKind() const override { return 1; }
    bool BlockFinish() const override { return true; }
};
class TQTKAloneBeamBlockFinishBottomAreaQty final : public TQTKAloneBeamFinishFaceArea {
protected:
    int FaceKind() const override { return 3; }
    bool BlockFinish() const override { return true; }
};
class TQTKAloneBeamBlockFinishTopAreaQty final : public TQTKAloneBeamFinishFaceArea {
protected:
    int FaceKind() const override { return 2; }
    bool BlockFinish() const override { return true; }
};
class TQTKAloneBeamBlockFinishEndAreaQty final : public TQTKAloneBeamFinishFaceArea {
protected:
    int FaceKind() const override { return 4; }
    bool BlockFinish() const override { return true; }
};
class TQTKAloneBeamBlockFinishAreaDeductBeam final : public TQTKAloneBeamFinishAreaDeductBeamRule {
protected:
    bool BlockFinish() const override { return true; }
};
class TQTKAloneBeamBlockFinishAreaDeductByFact final : public TQTKAloneBeamFinishDeduction {
protected:
    bool BlockFinish() const override { return true; }
};
class TQTKAloneBeamBlockFinishAreaDeductSlab final : public TQTKAloneBeamFinishAreaDeductSlabRule {
protected:
    bool BlockFinish() const override { return true; }
};

void RegisterBeamFinishQtyRules(TStrategyRegistry& registry);
