// The contract of a calculation rule and the base of the object matchers a
// rule may carry.
#pragma once

#include "Host/RDX/RDXIntf.h"
#include "Host/Runtime/Interface.h"

class TQTKObjectMatchCalcRule;

// One rule. Calculate returns the quantity in mm, mm² or mm³: the subject
// element's own quantity, or what the object element deducts from it or adds
// to it. The two contexts are passed on unchanged (either may be nil).
class IQTKCalcStrategy : public virtual IInterface {
public:
    virtual double Calculate(const RecordRef& subject, const RecordRef& object, const TableSourceRef& business,
                             const TableSourceRef& ruleContext) = 0;
    // The matcher attached to the rule: not owned, nil in a new rule.
    virtual TQTKObjectMatchCalcRule* GetMatchRule() const = 0;
    virtual void SetMatchRule(TQTKObjectMatchCalcRule* matchRule) = 0;
};

// Decides whether a candidate object record takes part in a rule.
class TQTKObjectMatchCalcRule {
public:
    virtual ~TQTKObjectMatchCalcRule() = default;

    virtual bool ObjectMatches() = 0;

    const RecordRef& GetCandidate() const noexcept { return candidate_; }
    void SetCandidate(RecordRef candidate) noexcept { candidate_ = std::move(candidate); }

private:
    RecordRef candidate_;
};
