// The base class of every calculation element object.
//
// One object accompanies one host element while the host calculates: it keeps
// what rules ask for again and again (the element's solids, its related
// elements, material and type, intersection results, named quantities) and
// carries the calculators that original-quantity rules build for the
// deduction rules of the same element. Objects are made and prepared only
// through GetCalcEDO / GetOrCreateCalcEDO (Calculator/Common/QTKCalculatorCommon.h).
//
// Threads: rules on several host threads may use one object at once. The
// related list is built once under its own lock; the lazily kept members
// share one re-entrant lock per object, which is never held while another
// element object is called, so two objects building at once cannot block
// each other. Solids are built outside any lock and the first one kept wins.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Calculator/Common/QTKRelationPolyhedronList.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"

class TParamPolyInfo;
struct TVRMPoint3d;

class IRDXTableSource;
class IQTKLineEdoInfo;

// A named quantity kept on an element object.
struct TQTKEDOQtyItem {
    std::string Name;
    double Value = 0.0;
};
using TQTKEDOQtyArr = std::vector<TQTKEDOQtyItem>;

class TQTKCalculatorEDO : public TInterfacedObject, public virtual IQTKCalculatorEDO {
public:
    // The draw object is not counted: the host element owns its calculation
    // object (SetCalcEDO), not the other way round.
    TQTKCalculatorEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    std::string GetMaterial() override;
    int GetType() override;
    std::uint8_t GetMode() const override { return mode_.load(std::memory_order_acquire); }
    void SetMode(std::uint8_t mode) override;
    bool IsModeChanged() const override { return GetMode() != 2; }

    bool TryAddRelated(IRDXRecord* record) override;
    bool IsHostRelated(IRDXRecord* record) override;
    bool IsIntersectWith(IRDXRecord* record) override;
    void AddRelated(IRDXRecord* record) override;
    RecordRef GetRelated(int index) override;
    int GetRelatedCount() override;
    bool GetRelatedByType(int elementTypeId, TRecordList* list) override;
    bool GetRelatedByTypes(const TQTKElementTypeSet& typeIds, TRecordList* list) override;
    bool GetRelatedByTypeOrNil(int elementTypeId, TRecordList* list) override;
    int IndexOfRelated(IRDXRecord* record) override;

    std::uint8_t GetPrepareState() const override { return prepareState_.load(std::memory_order_acquire); }
    void SetPrepareState(std::uint8_t state) override { prepareState_.store(state, std::memory_order_release); }
    // Forgets the cached material and type, so both are read again.
    void Prepare(IRDXRecord* record) override;
    void ClearCalcCache() override {}
    void ClearQtyItems() override;
    void FreeCalcCache() override {}
    bool AddOriginalQtyDetail(IRDXRecord*) override { return false; }
    void FillDeductDetail(IRDXRecord*) override {}
    void ResetForQty(IRDXRecord*) override {}

    TVRMPolyhedron3d* GetOriginalPolyhedron() override;
    Ref<IQTKPolyhedron3dIntf> GetOriginalPolyhedronIntf() override;
    Ref<IQTKPolyhedron3dIntf> GetRelationPolyhedronIntf() override;
    TVRMPolyhedron3d* GetMergedSolid() override;

    IQTKElementDrawObj* GetElementDrawObj() const override { return drawObj_; }
    int GetMaterialLevel() override;
    double GetOriginalQty() const override { return originalQty_.load(std::memory_order_acquire); }
    void SetOriginalQty(double value) override { originalQty_.store(value, std::memory_order_release); }
    bool IsOptionBit1Set() const override { return (options_.load() & 2) != 0; }
    void SetOptionBit1(bool value) override { SetOptionBit(2, value); }
    bool IsOptionBit2Set() const override { return (options_.load() & 4) != 0; }
    void SetOptionBit2(bool value) override { SetOptionBit(4, value); }
    bool GetUserFlag() const override { return userFlag_.load(); }
    void SetUserFlag(bool value) override { userFlag_.store(value); }

    bool FindIntersectCache(IRDXRecord* record, bool& intersects) override;
    void AddIntersectCache(IRDXRecord* record, bool intersects) override;

    void ReleaseRelationPolyhedronItem(const TQTKRelationPolyhedronItem* item) override;
    void ReleaseOriginalPolyhedronItem(const TQTKOriginalPolyhedronItem* item) override;

    void AddQtyItem(std::string_view name, double value) override;
    double GetQtyItem(std::string_view name) override;

    TVRMCmpxchgLock& GetPrepareLock() override { return *prepareLock_; }
    void SetPrepareLock(std::unique_ptr<TVRMCmpxchgLock> lock) override;

    // Builds the related list once (see BuildRelatedList).
    void EnsureRelatedList();
    // The original solid if one exists (kept or cached), building nothing.
    Ref<IQTKPolyhedron3dIntf> FindOriginalPolyhedron();
    bool HasOriginalPolyhedron();
    // Replaces the original solid (nil: none); the object takes ownership.
    void SetOriginalPolyhedron(std::unique_ptr<TVRMPolyhedron3d> polyhedron);
    // The same for a solid laid again from another element (a unit from its
    // parent, on whichever thread prepares the parent): the solid it replaces
    // stays alive with the object, since a rule on another thread may still
    // read it through its raw pointer.
    void ReplaceOriginalPolyhedronKeepingOld(std::unique_ptr<TVRMPolyhedron3d> polyhedron);
    // Adds to the host's deduction-detail container one original-quantity
    // detail: a copy of the original solid and the original quantity in the
    // unit of QtyRecord. Nothing without a container.
    void AddOriginalSolidDetail(IRDXRecord* qtyRecord);
    // The calling thread's deduction-detail container holds no detail (or
    // there is none): original-quantity details may be written.
    static bool IsDeductDetailEmpty();
    // The business data ("ElementDrawObj", "Floor", ...) and the calculation settings of the session.
    static Ref<IRDXTableSource> GetBusiness();
    static Ref<IRDXTableSource> GetCalculatorSetting();

protected:
    ~TQTKCalculatorEDO() override;

    // True: the object keeps its original solid itself; False: the solid
    // lives in GOriginalPolyhedronList and is rebuilt after eviction.
    virtual bool IsOriginalPolyhedronOwned() const { return true; }
    // A new solid of the element (the host's solid of its shape).
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron();
    virtual bool IsRelationSameAsOriginal() const { return false; }
    // A copy of the original solid united with every sub-solid of the element.
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron();
    // A test that settles the intersection without comparing solids: True
    // when it does, with the answer in Intersects. Here the contact of two
    // line elements where their axis lines cross (True, Intersects True, when
    // a point of the crossing lies in both relation solids); False leaves
    // Intersects unchanged and the solids decide.
    virtual bool QuickIntersect(IRDXRecord* record, bool& intersects);
    // The point lies in or on the relation solid, within Tol (QuickIntersect's test).
    virtual bool IsPointInRelationSolid(const TVRMPoint3d& p, double tol);
    // Asks the host's box service for the elements around this one and
    // relates those that pass the type filters, the host's relation test and
    // the intersection test; relations are made from both sides.
    void BuildRelatedList();
    // The related elements of the given types, in related-list order, as the
    // related list would hold them, without building the whole list. A
    // caller that keeps only some of them can say which with keep: the
    // others are left out before their (costly) intersection test.
    bool FindRelatedOfTypes(const TQTKElementTypeSet& typeIds, TRecordList* list,
                            const std::function<bool(IRDXRecord*)>& keep = {});

    // The joined neighbours of a line element, for objects that offer line
    // information without overriding it: reaching it is an assertion failure.
    std::vector<Ref<IQTKLineEdoInfo>> GetLineEdoInfos();

    // The parametric polygon information of the draw object; nil when the
    // element is not parametric.
    std::shared_ptr<const TParamPolyInfo> ReadParamPolyInfo() const;

    // Guards the lazily kept members; re-entrant on one thread.
    std::recursive_mutex& DataLock() const noexcept { return dataLock_; }
    // A lazily kept member (a shared or counted reference): the one kept,
    // else what Build makes, built outside the lock; when two threads build
    // at once the first one kept wins.
    template <class T, class Build>
    T KeepOnce(T& slot, Build&& build)
    {
        {
            std::lock_guard guard(dataLock_);
            if (slot)
                return slot;
        }
        T built = build();
        std::lock_guard guard(dataLock_);
        if (!slot)
            slot = std::move(built);
        return slot;
    }
    // Over-height stores (IQTKOverhighCalcHolder): Build runs under the
    // object's over-height lock with the set Read gives; Write stores what it
    // leaves (not called when Build raises).
    TQTKOverhighCalcSet GetOrBuildOverhighSet(const std::function<TQTKOverhighCalcSet()>& read,
                                              const std::function<void(const TQTKOverhighCalcSet&)>& write,
                                              const TQTKOverhighCalcBuild& build);
    // The same through the object's own shared over-height getters and setters.
    template <class Self>
    TQTKOverhighCalcSet GetOrBuildOverhighSetOf(Self& self, const TQTKOverhighCalcBuild& build)
    {
        return GetOrBuildOverhighSet(
            [&self] {
                return TQTKOverhighCalcSet{self.GetOverhighVolumeCalc(), self.GetOverhighFormboardCalc(),
                                           self.GetOverhighValueList()};
            },
            [&self](const TQTKOverhighCalcSet& set) {
                self.SetOverhighVolumeCalc(set.volume);
                self.SetOverhighFormboardCalc(set.formboard);
                self.SetOverhighValueList(set.valueList);
            },
            build);
    }
    // Reads / replaces a kept member under the lock (the old value is dropped outside it).
    template <class T>
    T Kept(const T& slot) const
    {
        std::lock_guard guard(dataLock_);
        return slot;
    }
    template <class T>
    void Keep(T& slot, T value)
    {
        {
            std::lock_guard guard(dataLock_);
            std::swap(slot, value);
        }
    }

private:
    struct TRelated {
        RecordRef record;
        int id = 0;
        int typeId = -1;
    };
    void SetOptionBit(std::uint8_t bit, bool value);
    bool CollectRelated(const TQTKElementTypeSet* typeIds, int typeId, TRecordList* list);
    // The elements around this one that may relate to it (ascending ids),
    // of the given types only when TypeIds is set.
    std::vector<IRDXRecord*> RelatedCandidates(const TQTKElementTypeSet* typeIds);
    // The test a candidate passes to be related: the host's link or an intersection.
    bool PassesRelatedTest(IRDXRecord* record);

    IQTKElementDrawObj* const drawObj_;
    mutable std::recursive_mutex dataLock_;
    std::recursive_mutex overhighLock_;  // held only while over-height calculators are built

    // Related elements, ascending by record id.
    std::vector<TRelated> related_;
    std::atomic<bool> relatedBuilt_{false};
    std::recursive_mutex relatedLock_;
    std::atomic<bool> relatedBuilding_{false};  // set while this object builds its list

    std::atomic<std::uint8_t> prepareState_{CQTKEdoNew};
    std::unique_ptr<TVRMCmpxchgLock> prepareLock_;
    std::atomic<std::uint8_t> mode_{2};
    std::atomic<double> originalQty_{0.0};
    std::atomic<std::uint8_t> options_{1};
    std::atomic<bool> userFlag_{false};
    TQTKEDOQtyArr qtyItems_;

    Ref<IQTKPolyhedron3dIntf> originalHolder_;  // owned mode
    Ref<IQTKPolyhedron3dIntf> pinnedOriginal_;  // cached mode: the solid last handed out raw
    TQTKCacheSlot originalItem_;                // cached mode, in GOriginalPolyhedronList
    TQTKCacheSlot relationItem_;                // in GRelationPolyhedronList
    // Solids ReplaceOriginalPolyhedronKeepingOld replaced.
    std::vector<Ref<IQTKPolyhedron3dIntf>> replacedOriginals_;

    bool materialRead_ = false;
    bool typeRead_ = false;
    std::string material_;
    int type_ = 0;
    std::unique_ptr<TVRMPolyhedron3d> mergedSolid_;
    std::unique_ptr<std::unordered_map<int, std::uint8_t>> intersectCache_;
};
