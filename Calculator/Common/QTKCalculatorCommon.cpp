#include "Calculator/Common/QTKCalculatorCommon.h"

#include <algorithm>
#include <mutex>

#include "Calculator/Common/QTKCalcEDOFactoryIntf.h"
#include "Calculator/Common/QTKRelationPolyhedronList.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/Runtime/Assert.h"
#include "Host/Runtime/FastCast.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"

namespace {

// The registered element objects and their records.
struct TCalcEDORegistry {
    std::mutex lock;
    std::vector<Ref<IQTKCalculatorEDO>> edos;
    std::vector<RecordRef> records;
};

TCalcEDORegistry& Registry()
{
    static TCalcEDORegistry registry;
    return registry;
}

// The element objects the calling thread is preparing right now.
thread_local std::vector<const IQTKCalculatorEDO*> tPreparing;

IQTKCalculatorEDO* AttachedCalcEDO(const IQTKElementDrawObj* drawObj)
{
    return FastCast<IQTKCalculatorEDO>(drawObj->GetCalcEDO().get());
}

Ref<IQTKCalculatorEDO> RecordToCalcEDO(IRDXRecord* record, bool prepare)
{
    return GetOrCreateCalcEDO(GetRecordDrawObj(record), prepare);
}

}  // namespace

IQTKElementDrawObj* GetRecordDrawObj(IRDXRecord* record)
{
    IInterface* object = record ? record->GetObject() : nullptr;
    if (!object)
        return nullptr;
    auto* drawObj = FastCast<IQTKElementDrawObj>(object);
    if (!drawObj)
        throw EQTKNotElementDrawObj("the object of record " + std::to_string(record->GetID()) +
                                    " is not an element draw object");
    return drawObj;
}

Ref<IQTKCalculatorEDO> GetOrCreateCalcEDO(IQTKElementDrawObj* drawObj, bool prepare)
{
    QTK_ASSERT(drawObj != nullptr);
    Ref<IQTKCalculatorEDO> edo(AttachedCalcEDO(drawObj));
    if (!edo) {
        IRDXRecord* record = drawObj->GetRecord();
        QTK_ASSERT(record != nullptr);
        TCalcEdoCreateLock createLock(record->GetID());
        edo = AttachedCalcEDO(drawObj);
        if (!edo) {
            edo = GetCalcEDOFactory().CreateCalcEDO(drawObj->GetElementTypeID(), 2, drawObj);
            auto& registry = Registry();
            {
                std::lock_guard guard(registry.lock);
                registry.edos.push_back(edo);
                registry.records.emplace_back(record);
            }
            drawObj->SetCalcEDO(edo.get());
        }
    }
    if (prepare && edo->GetPrepareState() != CQTKEdoPrepared)
        PrepareCalcEDO(drawObj, edo.get());
    return edo;
}

Ref<IQTKCalculatorEDO> GetCalcEDO(IRDXRecord* record, bool prepare)
{
    QTK_ASSERT(record != nullptr);
    try {
        return RecordToCalcEDO(record, prepare);
    } catch (...) {
        return RecordToCalcEDO(record, prepare);
    }
}

std::shared_ptr<const TVRMPolyhedron3d> HoldOriginalSolid(IQTKCalculatorEDO* edo)
{
    Ref<IQTKPolyhedron3dIntf> holder = edo ? edo->GetOriginalPolyhedronIntf() : nullptr;
    const TVRMPolyhedron3d* solid = holder ? holder->GetPolyhedron() : nullptr;
    if (!solid)
        return nullptr;
    return std::shared_ptr<const TVRMPolyhedron3d>(solid, [holder = std::move(holder)](const TVRMPolyhedron3d*) {});
}

std::shared_ptr<const TVRMPolyhedron3d> HoldOriginalSolid(IRDXRecord* record)
{
    return record ? HoldOriginalSolid(GetCalcEDO(record, true).get()) : nullptr;
}

void PrepareCalcEDO(IQTKElementDrawObj* drawObj, IQTKCalculatorEDO* edo)
{
    if (GIsDetailMode)
        if (IRDXRecord* parent = drawObj->GetParentRecord())
            GetCalcEDO(parent, true);
    if (edo->GetPrepareState() == CQTKEdoPrepared)
        return;
    if (std::find(tPreparing.begin(), tPreparing.end(), edo) != tPreparing.end())
        return;

    TVRMLockGuard guard(edo->GetPrepareLock());
    if (edo->GetPrepareState() == CQTKEdoPrepared)
        return;
    // Under the lock nobody else is preparing: any state but 2 means the
    // object is not prepared (a failed preparation went back to 0).
    edo->SetPrepareState(CQTKEdoPreparing);
    tPreparing.push_back(edo);
    try {
        edo->Prepare(drawObj->GetRecord());
    } catch (...) {
        tPreparing.pop_back();
        edo->SetPrepareState(CQTKEdoNew);
        throw;
    }
    tPreparing.pop_back();
    edo->SetPrepareState(CQTKEdoPrepared);
}

std::vector<Ref<IQTKCalculatorEDO>> GetCalcEDOs()
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    return registry.edos;
}

std::vector<RecordRef> GetCalcEDORecords()
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    return registry.records;
}

int GetCalcEDOCount()
{
    auto& registry = Registry();
    std::lock_guard guard(registry.lock);
    return static_cast<int>(registry.edos.size());
}

void FreeCalcEDOs()
{
    std::vector<Ref<IQTKCalculatorEDO>> edos;
    std::vector<RecordRef> records;
    {
        auto& registry = Registry();
        std::lock_guard guard(registry.lock);
        edos.swap(registry.edos);
        records.swap(registry.records);
    }
    // Line elements keep their neighbours' objects in their joined-line
    // records: drop every cache first, so that no two objects keep each other.
    for (const auto& edo : edos)
        edo->ClearCalcCache();
    for (const auto& edo : edos)
        edo->GetElementDrawObj()->SetCalcEDO(nullptr);
    for (TQTKPolyhedronCacheList* list : {&GRelationPolyhedronList, &GOriginalPolyhedronList, &GExtendPolyhedronList,
                                          &GFinishHalfBlockPolyhedronList, &GFinishExtendOriginalPolyhedronList})
        list->Clear();
    GHungCeilingPoly.Lock();
    GHungCeilingPoly.Clear();
    GHungCeilingPoly.Unlock();
    ReleaseWideSearchers();
}
