// The quantities of a lintel (the beam over an opening): its length
// (straight, arched or half-arched), width, height, section, volume with what
// neighbours take out of it, and its formwork. Lengths mm, areas mm²,
// volumes mm³; 0 when a rule does not apply.
#pragma once

#include "Calculator/Common/QTKCalcStrategy.h"

class TStrategyRegistry;

// The length along the lintel: an arch's straight parts plus its arc, a half
// arch's half of the arch it would close, else the calculation line.
class TQTKLintelLength final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// "SectionWidth"; without one, the thickness of the wall the opening stands in.
class TQTKLintelWidth final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// "SectionHeight".
class TQTKLintelHeight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The cross-section (across the lintel x its height), with its expression; 0
// for an arched lintel.
class TQTKLintelSectionArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The neighbour's own solid, taken off the lintel's volume.
class TQTKLintelVolDeductByFace final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// Where the lintels and ring beams stacked in the wall below this lintel make
// up less than 250 mm (inner wall) or 350 mm (outer wall), the wall takes the
// shortfall at the lintel's bottom.
class TQTKLintelVolDeductWallWhenMergeHeightLargerThanCerteinHeight final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The two side faces less the walls the lintel rests on.
class TQTKLintelSideFormBoardArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The bottom (and an arch's top) standing out of the wall, with its expression.
class TQTKLintelOutBottomFormBoardArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The two end faces less the walls the lintel rests on.
class TQTKLintelEndFormBoardArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The neighbour's solid off the formwork: a concrete wall (without the fill
// walls laid in it) off the sides and the bottom; another element going first
// in formwork precedence off both with both kinds; else by contact off the sides.
class TQTKLintelFormBoardAreaDeductByFact final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The "Volume" property (m³) of a standard lintel.
class TQTKStdLintelVolume final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

// The lintel's volume as it stands, with its expression.
class TQTKLintelOriginalVol final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

void RegisterLintelRules(TStrategyRegistry& registry);
