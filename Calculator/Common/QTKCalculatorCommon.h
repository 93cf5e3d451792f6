// How rules and element objects obtain the calculation element object of a
// host record: created once per element by the element factory, attached to
// the host element, registered, and prepared once.
#pragma once

#include <memory>
#include <stdexcept>
#include <vector>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

// The host object behind a record is not an element draw object.
class EQTKNotElementDrawObj : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The element draw object behind a record; nil for a nil record or a record
// without an object. An object of another kind raises EQTKNotElementDrawObj.
IQTKElementDrawObj* GetRecordDrawObj(IRDXRecord* record);

// The element object attached to the draw object, created and registered on
// the first request (under the host's per-record creation lock, with a second
// check inside it); prepared when Prepare is True. A nil draw object is an
// assertion failure.
Ref<IQTKCalculatorEDO> GetOrCreateCalcEDO(IQTKElementDrawObj* drawObj, bool prepare);

// GetRecordDrawObj then GetOrCreateCalcEDO; when either raises, both are run
// once more and a second failure reaches the caller. Rules ask with Prepare
// True; element objects building their related lists with False.
Ref<IQTKCalculatorEDO> GetCalcEDO(IRDXRecord* record, bool prepare);
inline Ref<IQTKCalculatorEDO> GetCalcEDO(const RecordRef& record, bool prepare)
{
    return GetCalcEDO(record.get(), prepare);
}

// An element's own solid, held for the caller: it stays valid while the
// result lives, also when another thread rebuilds the element's solid (a slab
// freeing its cache, a ribbon or strip foundation redrawing its lines) or the
// original-solid cache lets it go. Never keep the bare pointer of
// GetOriginalPolyhedron past such a moment. Nil for a nil object; the record
// form prepares the record's object.
std::shared_ptr<const TVRMPolyhedron3d> HoldOriginalSolid(IQTKCalculatorEDO* edo);
std::shared_ptr<const TVRMPolyhedron3d> HoldOriginalSolid(IRDXRecord* record);

// Prepares the object once. In detail mode the owner element is prepared
// first. A thread asking while another one prepares waits until it is done; a
// request made from inside the object's own preparation returns at once. A
// preparation that fails leaves the object unprepared (state 0), so the next
// request prepares it again.
void PrepareCalcEDO(IQTKElementDrawObj* drawObj, IQTKCalculatorEDO* edo);

// Every element object created, and their records, in creation order
// (GCalcalatorEDOs, GCalcEDORecords).
std::vector<Ref<IQTKCalculatorEDO>> GetCalcEDOs();
std::vector<RecordRef> GetCalcEDORecords();
int GetCalcEDOCount();
// Detaches every registered element object from its host element, frees the
// solid caches and forgets the objects. The host calls it before it frees a
// model (element objects refer to records of other elements, so they must go
// first).
void FreeCalcEDOs();
// Lets go of what element objects share across one model: the elements whose
// search box is not their own box, found once per model (with the model's
// element table and box service). FreeCalcEDOs calls it; the next search finds
// them again. Defined with the element-object base class.
void ReleaseWideSearchers();
