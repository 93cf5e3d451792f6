// The formwork of a column cap above the critical height: the weighted sides
// of its pieces, with the soffit of a piece the whole cap stands in (built on
// first use by whichever rule comes first, with the over-height volume in
// plain mode and the value list), and what a neighbour takes off it by
// formwork priority. 0 for a cap that is not over height.
#pragma once

#include "Calculator/Strategies/ColumnStrategies/QTKColumnBaseCapCalculator.h"

class TStrategyRegistry;

class TQTKColumnCapOverHeightOrginalFormBoardArea final : public TQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;
};

class TQTKColumnCapOverHeightFormBoardAreaDeductByFact final : public TQTKColumnBaseCapFormBoardDeductByFact {
protected:
    TQTKShellTarget ShellOf(const RecordRef& subject, const TableSourceRef& business,
                            const TableSourceRef& ruleContext) const override;
};

void RegisterColumnCapOverhighFormboardAreaRules(TStrategyRegistry& registry);
