#include "Host/QTKCommon/QTKCalculatorCommonData.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <shared_mutex>
#include <unordered_map>

#include "Host/QTKCommon/QTKCalculatorExprContainer.h"
#include "Host/RDX/RDXSync.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

// ---------------------------------------------------------------------------
// TQTKEdoGlobalData

TQTKEdoGlobalData::TQTKEdoGlobalData(int recordId)
    : recordId_(recordId), container_(std::make_unique<TQTKCalcInternalExprContainer>())
{
}

TQTKEdoGlobalData::~TQTKEdoGlobalData() = default;

void TQTKEdoGlobalData::SetCurQty(std::string key, std::string code, std::string description)
{
    std::lock_guard guard(lock_);
    curQtyKey_ = std::move(key);
    curQtyCode_ = std::move(code);
    curQtyDesc_ = std::move(description);
}

std::string TQTKEdoGlobalData::GetCurQtyKey() const
{
    std::lock_guard guard(lock_);
    return curQtyKey_;
}

std::string TQTKEdoGlobalData::GetCurQtyCode() const
{
    std::lock_guard guard(lock_);
    return curQtyCode_;
}

std::string TQTKEdoGlobalData::GetCurQtyDesc() const
{
    std::lock_guard guard(lock_);
    return curQtyDesc_;
}

void TQTKEdoGlobalData::SetCurDeduct(std::string code, std::string name)
{
    std::lock_guard guard(lock_);
    curDeductCode_ = std::move(code);
    curDeductName_ = std::move(name);
}

std::string TQTKEdoGlobalData::GetCurDeductCode() const
{
    std::lock_guard guard(lock_);
    return curDeductCode_;
}

std::string TQTKEdoGlobalData::GetCurDeductName() const
{
    std::lock_guard guard(lock_);
    return curDeductName_;
}

bool TQTKEdoGlobalData::GetIsExprMode() const
{
    std::lock_guard guard(lock_);
    return exprMode_;
}

void TQTKEdoGlobalData::SetIsExprMode(bool value)
{
    std::lock_guard guard(lock_);
    exprMode_ = value;
}

bool TQTKEdoGlobalData::AddExprText(const std::string& text)
{
    std::lock_guard guard(lock_);
    return exprTexts_.try_emplace(curQtyKey_, text).second;
}

bool TQTKEdoGlobalData::AppendExprText(const std::string& text)
{
    std::lock_guard guard(lock_);
    auto it = exprTexts_.find(curQtyKey_);
    if (it == exprTexts_.end())
        return false;
    it->second += text;
    return true;
}

bool TQTKEdoGlobalData::GetExprText(const std::string& key, std::string& text) const
{
    std::lock_guard guard(lock_);
    auto it = exprTexts_.find(key);
    if (it == exprTexts_.end())
        return false;
    text = it->second;
    return true;
}

bool TQTKEdoGlobalData::GetShownExprText(const std::string& key, std::string& text) const
{
    if (GetExprText(key, text) && !text.empty())
        return true;
    text = container_->GetExprText(key);
    return !text.empty();
}

void TQTKEdoGlobalData::ClearExprTexts()
{
    std::lock_guard guard(lock_);
    exprTexts_.clear();
}

// ---------------------------------------------------------------------------
// Session data

void TQTKFloorExternalInfoContr::Add(TQTKFloorExternalInfo info)
{
    items_.push_back(std::move(info));
}

const TQTKFloorExternalInfo* TQTKFloorExternalInfoContr::GetWallInfo(int floorId) const
{
    auto it = std::find_if(items_.begin(), items_.end(), [&](const auto& i) { return i.floorId == floorId; });
    return it == items_.end() ? nullptr : &*it;
}

bool TQTKMaterialHelper::Find(int recordId, int& level) const
{
    std::lock_guard guard(lock_);
    auto it = levels_.find(recordId);
    if (it == levels_.end())
        return false;
    level = it->second;
    return true;
}

void TQTKMaterialHelper::Add(int recordId, int level)
{
    std::lock_guard guard(lock_);
    levels_.try_emplace(recordId, level);
}

void TQTKMaterialHelper::Clear()
{
    std::lock_guard guard(lock_);
    levels_.clear();
}

void TQTKInterfaceList::Add(Ref<IInterface> item)
{
    std::lock_guard guard(lock_);
    items_.push_back(std::move(item));
}

int TQTKInterfaceList::GetCount() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(items_.size());
}

Ref<IInterface> TQTKInterfaceList::GetItems(int index) const
{
    std::lock_guard guard(lock_);
    QTK_ASSERT(index >= 0 && index < static_cast<int>(items_.size()));
    return items_[static_cast<size_t>(index)];
}

void TQTKInterfaceList::Clear()
{
    std::lock_guard guard(lock_);
    items_.clear();
}

namespace {

std::string QtyKey(bool bill, int elementType, std::string_view name)
{
    return std::to_string(bill ? 1 : 0) + '|' + std::to_string(elementType) + '|' + std::string(name);
}

}  // namespace

void TQTKEdoQtyManager::Add(bool bill, int elementType, std::string_view name, TQTKInternalQtyEntry entry)
{
    std::lock_guard guard(lock_);
    entries_[QtyKey(bill, elementType, name)].push_back(entry);
}

std::vector<TQTKInternalQtyEntry> TQTKEdoQtyManager::FindInternalQty(bool bill, int elementType,
                                                                     std::string_view name) const
{
    std::lock_guard guard(lock_);
    auto it = entries_.find(QtyKey(bill, elementType, name));
    return it == entries_.end() ? std::vector<TQTKInternalQtyEntry>{} : it->second;
}

void TQTKEdoQtyManager::Clear()
{
    std::lock_guard guard(lock_);
    entries_.clear();
}

// ---------------------------------------------------------------------------
// Wall caches

TQTKWallList CollectWallRecords(const IRDXTable* elementTable)
{
    TQTKWallList walls;
    if (!elementTable)
        return walls;
    for (int i = 0, n = elementTable->GetRowCount(); i < n; ++i) {
        IRDXRecord* row = elementTable->GetRow(i);
        const int type = FieldValueInteger(row, "ElementTypeID", -1);
        if (type == 0 || type == 1)
            walls.emplace_back(row);
    }
    return walls;
}

namespace {

TQTKSolidList CopiesOf(const TQTKSolidList& solids)
{
    TQTKSolidList copies;
    copies.reserve(solids.size());
    for (const auto& solid : solids)
        copies.push_back(solid ? solid->Clone() : nullptr);
    return copies;
}

}  // namespace

struct TQTKWallRoomInfo::TSlot {
    std::mutex fill;  // held while the storey's solids are computed
    bool filled = false;
    TQTKSolidList solids;
};

TQTKWallRoomInfo::TQTKWallRoomInfo() = default;
TQTKWallRoomInfo::~TQTKWallRoomInfo() = default;

TQTKSolidList TQTKWallRoomInfo::GetRoomSolids(int storeyIndex, int storeyCount,
                                              const std::function<TQTKSolidList()>& compute)
{
    if (GIsDetailMode)
        return compute();
    TSlot* slot = nullptr;
    {
        std::lock_guard guard(lock_);
        if (slots_.empty())
            for (int i = 0; i < storeyCount; ++i)
                slots_.push_back(std::make_unique<TSlot>());
        if (storeyIndex >= 0 && storeyIndex < static_cast<int>(slots_.size()))
            slot = slots_[static_cast<size_t>(storeyIndex)].get();
    }
    if (!slot)
        return compute();
    std::lock_guard fill(slot->fill);
    if (!slot->filled) {
        slot->solids = compute();
        slot->filled = true;
    }
    return CopiesOf(slot->solids);
}

int TQTKWallRoomInfo::GetCount() const
{
    std::lock_guard guard(lock_);
    return static_cast<int>(slots_.size());
}

bool TQTKWallRoomInfo::IsFilled(int storeyIndex) const
{
    TSlot* slot = nullptr;
    {
        std::lock_guard guard(lock_);
        if (storeyIndex < 0 || storeyIndex >= static_cast<int>(slots_.size()))
            return false;
        slot = slots_[static_cast<size_t>(storeyIndex)].get();
    }
    std::lock_guard fill(slot->fill);
    return slot->filled;
}

void TQTKWallRoomInfo::Clear()
{
    std::lock_guard guard(lock_);
    slots_.clear();
}

namespace {

constexpr size_t CSwitchCount = 4;

struct TQTKSession {
    std::shared_mutex optionsLock;  // options are replaced only by StartCalculationSession
    TQTKCalcSessionOptions options;
    std::atomic<uint64_t> generation{1};
    std::atomic<bool> defaultDetailMode{false};
    std::array<std::atomic<uint8_t>, CSwitchCount> switches{};
    std::recursive_mutex switchLock;
    TQTKMaterialHelper materials;
    TQTKInterfaceList calcEdos, calcEdoRecords;
    TQTKEdoQtyManager qtyManager;
    std::mutex wallListLock;
    std::shared_ptr<const TQTKWallList> wallList;
    TQTKWallRoomInfo wallRoomInfo;

    std::shared_mutex dataLock;
    std::unordered_map<int, std::unique_ptr<TQTKEdoGlobalData>> data;
};

TQTKSession& Session()
{
    static TQTKSession session;
    return session;
}

// Detail state of one thread, valid for the session generation it was made in.
struct TQTKThreadState {
    uint64_t generation = 0;
    bool detailMode = false;
    TQTKDeductDetailContainer* container = nullptr;
    RecordRef subject;
};

TQTKThreadState& ThreadState()
{
    thread_local TQTKThreadState state;
    TQTKSession& s = Session();
    const uint64_t generation = s.generation.load(std::memory_order_acquire);
    if (state.generation != generation)
        state = {generation, s.defaultDetailMode.load(std::memory_order_relaxed), nullptr, nullptr};
    return state;
}

template <class T>
T ReadOption(T TQTKCalcSessionOptions::*field)
{
    TQTKSession& s = Session();
    std::shared_lock guard(s.optionsLock);
    return s.options.*field;
}

}  // namespace

void StartCalculationSession(const TQTKCalcSessionOptions& options)
{
    TQTKSession& s = Session();
    {
        std::unique_lock guard(s.optionsLock);
        s.options = options;
    }
    {
        std::unique_lock guard(s.dataLock);
        s.data.clear();
    }
    for (auto& sw : s.switches)
        sw.store(0, std::memory_order_relaxed);
    s.switches[static_cast<size_t>(TQTKSessionSwitchId::IsBillRule)].store(options.billRule ? 1 : 0);
    s.materials.Clear();
    s.calcEdos.Clear();
    s.calcEdoRecords.Clear();
    s.qtyManager.Clear();
    {
        std::lock_guard guard(s.wallListLock);
        s.wallList.reset();
    }
    s.wallRoomInfo.Clear();
    s.defaultDetailMode.store(options.detailMode, std::memory_order_relaxed);
    s.generation.fetch_add(1, std::memory_order_acq_rel);
}

uint64_t GetCalculationSessionNumber() noexcept
{
    return Session().generation.load(std::memory_order_acquire);
}

TQTKEdoGlobalData* GetEdoGlobalData(int recordId)
{
    TQTKSession& s = Session();
    {
        std::shared_lock guard(s.dataLock);
        auto it = s.data.find(recordId);
        if (it != s.data.end())
            return it->second.get();
    }
    std::unique_lock guard(s.dataLock);
    auto& slot = s.data[recordId];
    if (!slot)
        slot = std::make_unique<TQTKEdoGlobalData>(recordId);
    return slot.get();
}

TableSourceRef GBusiness()
{
    return ReadOption(&TQTKCalcSessionOptions::business);
}

TableSourceRef GCalculatorSetting()
{
    return ReadOption(&TQTKCalcSessionOptions::calculatorSetting);
}

TableRef GMaterialTable()
{
    return ReadOption(&TQTKCalcSessionOptions::materialTable);
}

RecordRef GReportRecord()
{
    return ReadOption(&TQTKCalcSessionOptions::reportRecord);
}

const TQTKFloorExternalInfoContr* GExternalWallInfos()
{
    // The session keeps the shared object alive until the next session starts.
    TQTKSession& s = Session();
    std::shared_lock guard(s.optionsLock);
    return s.options.externalWallInfos.get();
}

TQTKMaterialHelper& GMaterialHelper()
{
    return Session().materials;
}

const TQTKRegionInfo* GetRegionInfo(int regionId)
{
    TQTKSession& s = Session();
    std::shared_lock guard(s.optionsLock);
    for (const TQTKRegionInfo& r : s.options.regions)
        if (r.regionId == regionId)
            return &r;
    return nullptr;
}

bool IsCalculatorMultiThread()
{
    return ReadOption(&TQTKCalcSessionOptions::multiThread);
}

TQTKInterfaceList& GCalcalatorEDOs()
{
    return Session().calcEdos;
}

TQTKInterfaceList& GCalcEDORecords()
{
    return Session().calcEdoRecords;
}

TQTKEdoQtyManager& GEdoQtyManager()
{
    return Session().qtyManager;
}

std::shared_ptr<const TQTKWallList> GAllWallList(const IRDXTable* elementTable)
{
    if (GIsDetailMode)
        return std::make_shared<const TQTKWallList>(CollectWallRecords(elementTable));
    TQTKSession& s = Session();
    std::lock_guard guard(s.wallListLock);
    if (!s.wallList)
        s.wallList = std::make_shared<const TQTKWallList>(CollectWallRecords(elementTable));
    return s.wallList;
}

TQTKWallRoomInfo& GAllWallRoomInfo()
{
    return Session().wallRoomInfo;
}

IRDXRecord* TQTKSubjectEDO::get() const noexcept
{
    return ThreadState().subject.get();
}

const TQTKSubjectEDO& TQTKSubjectEDO::operator=(IRDXRecord* record) const noexcept
{
    ThreadState().subject = record;
    return *this;
}

TQTKDetailModeSwitch::operator bool() const noexcept
{
    return ThreadState().detailMode;
}

const TQTKDetailModeSwitch& TQTKDetailModeSwitch::operator=(bool value) const noexcept
{
    ThreadState().detailMode = value;
    return *this;
}

uint8_t QTKReadSessionSwitch(TQTKSessionSwitchId id) noexcept
{
    return Session().switches[static_cast<size_t>(id)].load(std::memory_order_acquire);
}

void QTKWriteSessionSwitch(TQTKSessionSwitchId id, uint8_t value) noexcept
{
    Session().switches[static_cast<size_t>(id)].store(value, std::memory_order_release);
}

TQTKSessionSwitchLock::TQTKSessionSwitchLock()
{
    Session().switchLock.lock();
}

TQTKSessionSwitchLock::~TQTKSessionSwitchLock()
{
    Session().switchLock.unlock();
}

TQTKDeductDetailContainer* GetDeductDetailContainer()
{
    return ThreadState().container;
}

void SetDeductDetailContainer(TQTKDeductDetailContainer* container)
{
    ThreadState().container = container;
}
