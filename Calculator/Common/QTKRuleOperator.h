// Which rule row of the volume quantity applies between two elements: rules
// and element objects ask it to decide whether one element's volume deducts
// another's.
#pragma once

#include "Host/RDX/RDXIntf.h"

class TQTKRuleQuery {
public:
    TQTKRuleQuery(RecordRef subject, RecordRef object);

    // The first "InternalQtyCalcRule" row of the volume quantity of the two
    // element types ("InternalQtyDict" of the business data: the first row of
    // the pair whose "Description" contains "体积") whose subject expression
    // matches the subject and object expression the object; nil when there is
    // none, or without business data, dictionary row or rule table.
    IRDXRecord* Run() const;
    static IRDXRecord* FindVolumeRule(const RecordRef& subject, const RecordRef& object);

private:
    RecordRef subject_;
    RecordRef object_;
};

// Forgets the calling thread's compiled copies of rule-row matchers (they are
// made once per thread and row, so that no two threads evaluate one matcher).
void ClearRuleQueryCache();
