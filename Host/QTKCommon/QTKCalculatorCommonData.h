// The host's calculation data: one calculation session with its globals, the
// per-record calculation data (current quantity, expression texts and items)
// and the current deduction-detail container.
//
// Threads. Detail mode and the current detail container belong to the calling
// thread: one thread switching detail mode off around a calculation never
// changes what another thread records. The process-wide switches
// (GStripFDCalclineType, GDitchEarthCalclineType, ...) belong to the session;
// a rule that sets a switch, calculates with it and restores it holds a
// TQTKSessionSwitchLock for that span so that no other thread interleaves.
// StartCalculationSession resets everything; call it while no calculation runs.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "Host/RDX/RDXIntf.h"
#include "Host/Runtime/CorvaHashUtils.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

class TQTKDeductDetailContainer;
class TQTKCalcInternalExprContainer;
class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;

// ---------------------------------------------------------------------------
// Per-record calculation data

class TQTKEdoGlobalData {
public:
    explicit TQTKEdoGlobalData(int recordId);
    ~TQTKEdoGlobalData();
    TQTKEdoGlobalData(const TQTKEdoGlobalData&) = delete;
    TQTKEdoGlobalData& operator=(const TQTKEdoGlobalData&) = delete;

    int GetRecordID() const noexcept { return recordId_; }

    // The quantity being computed for the record right now: its key (the
    // expression texts are filed under it), its code and its description.
    void SetCurQty(std::string key, std::string code, std::string description);
    std::string GetCurQtyKey() const;
    std::string GetCurQtyCode() const;
    std::string GetCurQtyDesc() const;
    // The deduction being recorded ("KFJ" / "扣房间").
    void SetCurDeduct(std::string code, std::string name);
    std::string GetCurDeductCode() const;
    std::string GetCurDeductName() const;

    // Whether expressions are wanted for the record in this run.
    bool GetIsExprMode() const;
    void SetIsExprMode(bool value);

    // Stores the text under the current quantity key unless that key already
    // has one (the first writer wins); true when stored.
    bool AddExprText(const std::string& text);
    // Appends to the current quantity's text; false (nothing changed) when it has none.
    bool AppendExprText(const std::string& text);
    // The text of a quantity key; false when there is none.
    bool GetExprText(const std::string& key, std::string& text) const;
    // What the record shows for a quantity key: its text, else the text of
    // its expression items (the over-height pieces write items); false when
    // it has neither.
    bool GetShownExprText(const std::string& key, std::string& text) const;
    void ClearExprTexts();

    // Ordered expression items of the record (owned by this block). Adding and
    // clearing are guarded by the block.
    TQTKCalcInternalExprContainer& GetExprContainer() noexcept { return *container_; }

private:
    const int recordId_;
    mutable std::mutex lock_;
    std::string curQtyKey_, curQtyCode_, curQtyDesc_;
    std::string curDeductCode_, curDeductName_;
    bool exprMode_ = false;
    TStrKeyStrHash exprTexts_;
    std::unique_ptr<TQTKCalcInternalExprContainer> container_;
};

// The block of a record id, created on first use; never nil. The block lives
// until the next session starts.
TQTKEdoGlobalData* GetEdoGlobalData(int recordId);

// ---------------------------------------------------------------------------
// Session data the host supplies

// Region information of a region id.
struct TQTKRegionInfo {
    int regionId = 0;
    bool flag = false;
    double elevation = 0.0;
};

// External outline of one floor: the outline and, per ring and edge, the
// external wall standing on that edge (record id, 0 when none) and its flag.
struct TQTKExternalEdgeInfo {
    int wallId = 0;
    bool flag = false;
};
struct TQTKFloorExternalInfo {
    int floorId = 0;
    TVRMMultiPolygon2d outline;
    std::vector<std::vector<TQTKExternalEdgeInfo>> ringEdges;
};

class TQTKFloorExternalInfoContr {
public:
    void Add(TQTKFloorExternalInfo info);
    // The floor's information; nil when the floor has none.
    const TQTKFloorExternalInfo* GetWallInfo(int floorId) const;
    int GetCount() const noexcept { return static_cast<int>(items_.size()); }

private:
    std::vector<TQTKFloorExternalInfo> items_;
};

// Material levels by element record id, filled lazily by the rules.
class TQTKMaterialHelper {
public:
    bool Find(int recordId, int& level) const;
    // Keeps the first level stored for an id.
    void Add(int recordId, int level);
    void Clear();

private:
    mutable std::mutex lock_;
    TIntKeyHash<int> levels_;
};

// A guarded list of interfaces (every element object created, their records).
class TQTKInterfaceList {
public:
    void Add(Ref<IInterface> item);
    int GetCount() const;
    Ref<IInterface> GetItems(int index) const;
    void Clear();

private:
    mutable std::mutex lock_;
    std::vector<Ref<IInterface>> items_;
};

// Internal quantities the host has computed, by bill flag, element type and quantity name.
struct TQTKInternalQtyEntry {
    int recordId = 0;
    double value = 0.0;
};
class TQTKEdoQtyManager {
public:
    void Add(bool bill, int elementType, std::string_view name, TQTKInternalQtyEntry entry);
    // The entries stored under (bill, type, name), in the order added; empty when none.
    std::vector<TQTKInternalQtyEntry> FindInternalQty(bool bill, int elementType, std::string_view name) const;
    void Clear();

private:
    mutable std::mutex lock_;
    TStrKeyHash<std::vector<TQTKInternalQtyEntry>> entries_;
};

// Caches of the earthwork rules, kept for the session outside detail mode; in
// detail mode every call builds afresh and nothing is kept. Filling is guarded:
// while one thread builds an entry, others asking for it wait for it.

// The walls of a project: the records of its table "ElementDrawObj" whose
// "ElementTypeID" is 0 (wall) or 1 (insulating wall), in table order.
using TQTKWallList = std::vector<RecordRef>;
TQTKWallList CollectWallRecords(const IRDXTable* elementTable);

// Room solids per storey row: one slot per row of the storey table, made
// empty on first use; a storey's slot is filled the first time its solids are
// computed. The caller owns the solids it gets (copies of the kept ones).
using TQTKSolidList = std::vector<std::unique_ptr<TVRMPolyhedron3d>>;
class TQTKWallRoomInfo {
public:
    TQTKWallRoomInfo();
    ~TQTKWallRoomInfo();
    TQTKWallRoomInfo(const TQTKWallRoomInfo&) = delete;
    TQTKWallRoomInfo& operator=(const TQTKWallRoomInfo&) = delete;

    // The room solids of storey row storeyIndex of storeyCount rows: copies of
    // the kept ones, else computed by compute (and kept outside detail mode
    // when the index has a slot).
    TQTKSolidList GetRoomSolids(int storeyIndex, int storeyCount, const std::function<TQTKSolidList()>& compute);
    // Slots made (0 before first use) and whether one has been filled.
    int GetCount() const;
    bool IsFilled(int storeyIndex) const;
    void Clear();

private:
    struct TSlot;
    mutable std::mutex lock_;
    std::vector<std::unique_ptr<TSlot>> slots_;
};

struct TQTKCalcSessionOptions {
    TableSourceRef business;           // "ElementDrawObj", "ProjInfo", "Floor", "InternalQtyDict"
    TableSourceRef calculatorSetting;  // settings and rule tables
    TableRef materialTable;            // may be nil
    RecordRef reportRecord;            // the report being calculated ("Code"); may be nil
    std::shared_ptr<const TQTKFloorExternalInfoContr> externalWallInfos;
    std::vector<TQTKRegionInfo> regions;
    bool detailMode = false;   // the detail mode every thread starts with
    bool multiThread = false;  // calculations run on several threads
    bool billRule = false;
};

// Starts a new session: takes the options, resets every switch to 0 (GIsBillRule to the option),
// forgets all per-record data, material levels, wall caches and per-thread detail state.
void StartCalculationSession(const TQTKCalcSessionOptions& options);
// Number of the current session, changed by every StartCalculationSession: state
// of the rule library that lives for one session compares it to know when to reset.
uint64_t GetCalculationSessionNumber() noexcept;

TableSourceRef GBusiness();
TableSourceRef GCalculatorSetting();
TableRef GMaterialTable();
RecordRef GReportRecord();
// Asserted to exist by its callers; nil when the host gave none.
const TQTKFloorExternalInfoContr* GExternalWallInfos();
TQTKMaterialHelper& GMaterialHelper();
// Region information of a region id; nil when unknown.
const TQTKRegionInfo* GetRegionInfo(int regionId);
bool IsCalculatorMultiThread();
// Element objects and their records registered by the element factory (emptied at session start).
TQTKInterfaceList& GCalcalatorEDOs();
TQTKInterfaceList& GCalcEDORecords();
TQTKEdoQtyManager& GEdoQtyManager();
// The project's walls (CollectWallRecords of the element table), built on
// first use and kept for the session; in detail mode built afresh each call.
std::shared_ptr<const TQTKWallList> GAllWallList(const IRDXTable* elementTable);
TQTKWallRoomInfo& GAllWallRoomInfo();

// ---------------------------------------------------------------------------
// Switches read and written like variables

// Detail mode of the calling thread (starts as the session's detail mode).
struct TQTKDetailModeSwitch {
    operator bool() const noexcept;
    const TQTKDetailModeSwitch& operator=(bool value) const noexcept;
};
inline constexpr TQTKDetailModeSwitch GIsDetailMode{};

// Restores the calling thread's detail mode when it leaves the scope.
class TQTKDetailModeScope {
public:
    explicit TQTKDetailModeScope(bool value) : saved_(GIsDetailMode) { GIsDetailMode = value; }
    ~TQTKDetailModeScope() { GIsDetailMode = saved_; }
    TQTKDetailModeScope(const TQTKDetailModeScope&) = delete;
    TQTKDetailModeScope& operator=(const TQTKDetailModeScope&) = delete;

private:
    bool saved_;
};

// The element whose details the calling thread is recording (nil at first).
struct TQTKSubjectEDO {
    IRDXRecord* get() const noexcept;
    explicit operator bool() const noexcept { return get() != nullptr; }
    const TQTKSubjectEDO& operator=(IRDXRecord* record) const noexcept;
};
inline constexpr TQTKSubjectEDO GSubjectEDO{};

enum class TQTKSessionSwitchId { StripFDCalclineType, DitchEarthCalclineType, ProjectHasShortArmShearFlag, IsBillRule };

// A byte-valued switch of the session (0 when the session starts).
template <TQTKSessionSwitchId Id>
struct TQTKSessionSwitch {
    operator uint8_t() const noexcept;
    const TQTKSessionSwitch& operator=(uint8_t value) const noexcept;
};
uint8_t QTKReadSessionSwitch(TQTKSessionSwitchId id) noexcept;
void QTKWriteSessionSwitch(TQTKSessionSwitchId id, uint8_t value) noexcept;
template <TQTKSessionSwitchId Id>
TQTKSessionSwitch<Id>::operator uint8_t() const noexcept
{
    return QTKReadSessionSwitch(Id);
}
template <TQTKSessionSwitchId Id>
const TQTKSessionSwitch<Id>& TQTKSessionSwitch<Id>::operator=(uint8_t value) const noexcept
{
    QTKWriteSessionSwitch(Id, value);
    return *this;
}

inline constexpr TQTKSessionSwitch<TQTKSessionSwitchId::StripFDCalclineType> GStripFDCalclineType{};
inline constexpr TQTKSessionSwitch<TQTKSessionSwitchId::DitchEarthCalclineType> GDitchEarthCalclineType{};
inline constexpr TQTKSessionSwitch<TQTKSessionSwitchId::ProjectHasShortArmShearFlag> GProjectHasShortArmShearFlag{};
inline constexpr TQTKSessionSwitch<TQTKSessionSwitchId::IsBillRule> GIsBillRule{};

// Held by a rule from setting a session switch until it has restored it; one
// holder at a time (re-entrant on the holding thread).
class TQTKSessionSwitchLock {
public:
    TQTKSessionSwitchLock();
    ~TQTKSessionSwitchLock();
    TQTKSessionSwitchLock(const TQTKSessionSwitchLock&) = delete;
    TQTKSessionSwitchLock& operator=(const TQTKSessionSwitchLock&) = delete;
};

// ---------------------------------------------------------------------------
// Deduction details

// The calling thread's current container (owned by the host); nil when none.
TQTKDeductDetailContainer* GetDeductDetailContainer();
void SetDeductDetailContainer(TQTKDeductDetailContainer* container);

// ---------------------------------------------------------------------------
// Expression writers
//
// A formula is the sum of the measured parts of a shell (TVRMShellInfoAnalyser)
// or a solid (TVRMColumnInfoAnalyser), joined by " + ", followed by
// " * factor" when the factor is not 1 (the sum in parentheses when there are
// several parts). It is used only when the parts' rounded value times the
// factor equals the rounded quantity within 0.001 (m2, m3); otherwise the
// quantity prints as a plain value (MM2ToM2 / MM3ToM3).

// Formula of a shell whose quantity (area x factor, mm2) is given; false: no formula.
bool ShellFormulaText(const TVRMPolyhedronShell3d& shell, double area, double factor, std::string& text);
bool SolidFormulaText(const TVRMPolyhedron3d& solid, double volume, double factor, std::string& text);

// Writes the expression of a shell area (mm2, factor included) for the
// record's current quantity: the text (formula, or the plain value when the
// shell lies on an arc or has no formula) and, with exprFlag, the matching
// items in the record's expression container (one shell item per part, or one
// value item). kind and reserved are accepted for the callers and have no
// effect. Returns whether a formula was written.
bool GShellExprParser(const IRDXRecord* record, const IRDXRecord* other, const TVRMPolyhedronShell3d& shell,
                      std::string& text, int kind, bool arcFlag, double area, bool exprFlag, int reserved = 0,
                      double factor = 1.0);
// The same for a volume (mm3, factor included), with solid items.
bool GVolumeExprParser(const IRDXRecord* record, const IRDXRecord* other, const TVRMPolyhedron3d& solid, double factor,
                       bool exprFlag, double volume, std::string& text);
// A term first x second (mm) x factor for the record's current quantity.
void AddAreaExprDetail(const IRDXRecord* record, const IRDXRecord* other, double first, double second, double factor,
                       bool flag = true);
// A plain value term (mm2) x factor for the record's current quantity.
void AddItemExprDetail(const IRDXRecord* record, const IRDXRecord* other, double value, double factor,
                       bool flag = true);
