// Base class of every rule. The base calculation returns 0 and touches none
// of its arguments: an unknown rule name yields this class.
#pragma once

#include "Calculator/Common/QTKCalcStrategyIntf.h"

class TQTKCalcStrategy : public TInterfacedObject, public IQTKCalcStrategy {
public:
    double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                     const TableSourceRef& ruleContext) override;

    TQTKObjectMatchCalcRule* GetMatchRule() const override { return matchRule_; }
    void SetMatchRule(TQTKObjectMatchCalcRule* matchRule) override { matchRule_ = matchRule; }

private:
    TQTKObjectMatchCalcRule* matchRule_ = nullptr;  // not owned
};
