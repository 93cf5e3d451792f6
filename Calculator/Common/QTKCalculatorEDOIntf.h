// Shared value holders and the interfaces of the calculation element objects.
//
// A calculation element object is the library's companion of one host
// element (Calculator/CalcFrame/QTKCalcEDOs). Rules reach it as
// IQTKCalculatorEDO and cast it to its family interface (RefCast /
// Supports, both a dynamic_cast); every family interface is declared here
// with its parent and its own operations as the families land, under one line
// saying which element it is and who calls it. Returned lines, polygons and
// solids stay owned by the element object unless said otherwise.
#pragma once

#include <bitset>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "Host/RDX/RDXIntf.h"
#include "Host/Runtime/Interface.h"

class TVRMCmpxchgLock;
class TVRMCustomLine2d;
class TVRMMultiPolygon2d;
class TVRMPolyhedron3d;
class TVRMPolyhedronShell3d;
struct TVRMPoint2d;
class IQTKElementDrawObj;
class TQTKRelationPolyhedronItem;
class TQTKOriginalPolyhedronItem;
class TQTKFinishHalfBlockPolyhedronItem;
class TQTKFinishExtendOriginalPolyhedronItem;
class TQTKExtendPolyhedronItem;
class TQTKOutWallFaceCalc;
class TQTKSolidCalc3d;
class TQTKShellCalc3d;
class TQTKFDBottomAreaShellCalc3d;
class TQTKPlanarCalc2d;
class TQTKLinearCalc2d;
class TVRMOverhighSolidCalc3d;
class TVRMOverhighShellCalc3d;
struct TQTKOverhighElev;
class TVRMNumericalCalc2d;
class TVRMPolyhedronLines3d;
class TQTKDeductPolyhedronLines;
class TVRMOverhighSolidCalc3d;
class TVRMOverhighShellCalc3d;
class TFloatList;
struct TQTKFinishThick;
class TVRMLinearCalcContr;
class TVRMMultiPolyLinearCalc2d;
class TQTKLinearCalc2d;
class TVRMPolygon2d;
class TVRMSeg2dList;
class TQTKWallSteelMeshCalcContnr;

// Element records handed out by the related-element queries.
using TRecordList = std::vector<RecordRef>;
// A set of element type ids 0..255.
using TQTKElementTypeSet = std::bitset<256>;
TQTKElementTypeSet MakeElementTypeSet(std::initializer_list<int> typeIds);

// ---------------------------------------------------------------------------
// Geometry holders: let a host polygon set or polyhedron travel as a counted
// interface, so caches, element objects and rules share one geometry.

// A counted polygon set: opening outlines on a wall, finish face polygons; the opening and finish rules hold it.
class IQTKSectionPoly : public virtual IInterface {
public:
    // The held polygon set (still owned by the holder); may be nil.
    virtual TVRMMultiPolygon2d* GetPolygon() const = 0;
};

class TQTKSectionPoly final : public TInterfacedObject, public IQTKSectionPoly {
public:
    explicit TQTKSectionPoly(std::unique_ptr<TVRMMultiPolygon2d> polygon);
    TVRMMultiPolygon2d* GetPolygon() const override { return polygon_.get(); }

private:
    ~TQTKSectionPoly() override;
    std::unique_ptr<TVRMMultiPolygon2d> polygon_;
};

// A counted solid: the solid caches, element objects and every rule that keeps a solid past a cache eviction.
class IQTKPolyhedron3dIntf : public virtual IInterface {
public:
    // The held polyhedron (still owned by the holder); never nil. It stays valid
    // while a reference to the holder is held.
    virtual TVRMPolyhedron3d* GetPolyhedron() const = 0;
};

class TQTKPolyhedron3dIntf final : public TInterfacedObject, public IQTKPolyhedron3dIntf {
public:
    // Takes ownership; a nil polyhedron is an assertion failure.
    explicit TQTKPolyhedron3dIntf(std::unique_ptr<TVRMPolyhedron3d> polyhedron);
    TVRMPolyhedron3d* GetPolyhedron() const override { return polyhedron_.get(); }

private:
    ~TQTKPolyhedron3dIntf() override;
    std::unique_ptr<TVRMPolyhedron3d> polyhedron_;
};

Ref<IQTKPolyhedron3dIntf> MakePolyhedronHolder(std::unique_ptr<TVRMPolyhedron3d> polyhedron);

// ---------------------------------------------------------------------------
// The root interface of every calculation element object.

// Prepare states.
inline constexpr std::uint8_t CQTKEdoNew = 0;
inline constexpr std::uint8_t CQTKEdoPreparing = 1;
inline constexpr std::uint8_t CQTKEdoPrepared = 2;

// Every element object: GetCalcEDO hands it to every rule; the solid caches and the common routines call it.
class IQTKCalculatorEDO : public virtual IInterface {
public:
    // Cached "Material" ("" when absent) and "Type" (-1 when absent, 0 when null).
    virtual std::string GetMaterial() = 0;
    virtual int GetType() = 0;
    virtual std::uint8_t GetMode() const = 0;
    // A wall whose "Type" is 255 (a virtual wall) always takes mode 2.
    virtual void SetMode(std::uint8_t mode) = 0;
    // True when the mode is not 2.
    virtual bool IsModeChanged() const = 0;

    // Related elements: the records whose elements touch this one, each once,
    // kept in ascending record id whichever side added them.
    virtual bool TryAddRelated(IRDXRecord* record) = 0;
    virtual bool IsHostRelated(IRDXRecord* record) = 0;
    virtual bool IsIntersectWith(IRDXRecord* record) = 0;
    virtual void AddRelated(IRDXRecord* record) = 0;
    // The record at Index; the list must have been built (GetRelatedCount builds it).
    virtual RecordRef GetRelated(int index) = 0;
    virtual int GetRelatedCount() = 0;
    // Clears List, fills it with the related records of the type(s) in
    // related-list order, returns whether any was found. A nil List is an
    // assertion failure.
    virtual bool GetRelatedByType(int elementTypeId, TRecordList* list) = 0;
    virtual bool GetRelatedByTypes(const TQTKElementTypeSet& typeIds, TRecordList* list) = 0;
    // Type id -1 appends one nil entry (List is not cleared) and returns True.
    virtual bool GetRelatedByTypeOrNil(int elementTypeId, TRecordList* list) = 0;
    // Position in the related list, or -1.
    virtual int IndexOfRelated(IRDXRecord* record) = 0;

    virtual std::uint8_t GetPrepareState() const = 0;
    virtual void SetPrepareState(std::uint8_t state) = 0;
    virtual void Prepare(IRDXRecord* record) = 0;
    virtual void ClearCalcCache() = 0;
    virtual void ClearQtyItems() = 0;
    virtual void FreeCalcCache() = 0;
    virtual bool AddOriginalQtyDetail(IRDXRecord* qtyRecord) = 0;
    virtual void FillDeductDetail(IRDXRecord* qtyRecord) = 0;
    virtual void ResetForQty(IRDXRecord* qtyRecord) = 0;

    // The element's own solid. The raw pointer stays valid while the object
    // keeps the solid; a caller that must outlive a cache eviction holds the
    // holder from GetOriginalPolyhedronIntf instead.
    virtual TVRMPolyhedron3d* GetOriginalPolyhedron() = 0;
    virtual Ref<IQTKPolyhedron3dIntf> GetOriginalPolyhedronIntf() = 0;
    // The solid used for relation tests (the original united with sub-solids).
    virtual Ref<IQTKPolyhedron3dIntf> GetRelationPolyhedronIntf() = 0;
    // Union of the element's sub-solids; empty (never nil) without any.
    virtual TVRMPolyhedron3d* GetMergedSolid() = 0;

    virtual IQTKElementDrawObj* GetElementDrawObj() const = 0;
    virtual int GetMaterialLevel() = 0;
    virtual double GetOriginalQty() const = 0;
    virtual void SetOriginalQty(double value) = 0;
    virtual bool IsOptionBit1Set() const = 0;
    virtual void SetOptionBit1(bool value) = 0;
    virtual bool IsOptionBit2Set() const = 0;
    virtual void SetOptionBit2(bool value) = 0;
    virtual bool GetUserFlag() const = 0;
    virtual void SetUserFlag(bool value) = 0;

    // Solid intersection results by the other record's id; the first stored
    // value of a record stays.
    virtual bool FindIntersectCache(IRDXRecord* record, bool& intersects) = 0;
    virtual void AddIntersectCache(IRDXRecord* record, bool intersects) = 0;

    // Called by the solid caches when they free the object's item; the object
    // forgets the item when it is the one it holds.
    virtual void ReleaseRelationPolyhedronItem(const TQTKRelationPolyhedronItem* item) = 0;
    virtual void ReleaseOriginalPolyhedronItem(const TQTKOriginalPolyhedronItem* item) = 0;

    // Named quantities: appended as given; lookup ignores letter case and
    // answers the first match, 0.0 when none.
    virtual void AddQtyItem(std::string_view name, double value) = 0;
    virtual double GetQtyItem(std::string_view name) = 0;

    // The lock under which the object is prepared (the object owns it).
    virtual TVRMCmpxchgLock& GetPrepareLock() = 0;
    virtual void SetPrepareLock(std::unique_ptr<TVRMCmpxchgLock> lock) = 0;
};

// ---------------------------------------------------------------------------
// Ribbon window calculators (implemented with the ribbon window routines).

class IQTKRibbonOpeningCalcEDO;
class IQTKLineEdoInfo;

// One segment of a ribbon in its width calculator: the segment's element
// object, the calculator of its middle line (length factor Rate), whether
// no other segment meets it at its start (end), and its bottom (or top)
// faces, which a deducting solid must meet.
struct TQTKRibbonWidthInfo {
    Ref<IQTKRibbonOpeningCalcEDO> EDO;
    std::shared_ptr<TQTKLinearCalc2d> Calc;
    double Rate = 1.0;
    bool StartFree = false;
    bool EndFree = false;
    std::shared_ptr<TVRMPolyhedronShell3d> Shell;
};
using TQTKRibbonWidthInfoDynArray = std::vector<TQTKRibbonWidthInfo>;

// Width left over along a ribbon window or opening segment: the ribbon window rules.
class IQTKRibbonWidthCalculator : public virtual IInterface {
public:
    // The segments, root first (empty for a calculator of a segment that is
    // not the root); the array stays the calculator's.
    virtual const TQTKRibbonWidthInfoDynArray& GetWidthInfos() = 0;
    // Marks what Polygon covers of the segments' middle lines; returns the
    // decrease of the total null length.
    virtual double DeductPolygon(const TVRMMultiPolygon2d* polygon, const TVRMPolyhedron3d* solid,
                                 IRDXRecord* record) = 0;
    // The same for a deducting line element (Info its line information):
    // across a segment, joined at a free end, or parallel and joined there.
    virtual double DeductElement(IQTKLineEdoInfo* info, const TVRMMultiPolygon2d* polygon, IRDXRecord* record,
                                 const TVRMPolyhedron3d* solid) = 0;
    // The total length not covered yet.
    virtual double GetNullLength() = 0;
    virtual RecordRef GetRecord() = 0;
};

// Height left over at a ribbon segment's ends: the ribbon window rules.
class IQTKRibbonHeightCalculator : public virtual IInterface {
public:
    virtual double GetSecondEndNullLength() = 0;
    virtual double GetFirstEndNullLength() = 0;
    virtual void DeductSolid(const TVRMPolyhedron3d* solid, IRDXRecord* record) = 0;
};

// ---------------------------------------------------------------------------
// Over-height calculators kept for the over-height rules.

// What an element's over-height rules keep on its object: the weighted volume
// and formwork calculators and the value list of elevations.
struct TQTKOverhighCalcSet {
    std::shared_ptr<TVRMOverhighSolidCalc3d> volume;
    std::shared_ptr<TVRMOverhighShellCalc3d> formboard;
    std::shared_ptr<TFloatList> valueList;
};
using TQTKOverhighCalcBuild = std::function<void(TQTKOverhighCalcSet&)>;

// Offered by the objects of beams, columns, tie columns, column caps, walls
// and insulating wall units (cast to it): the one guarded way for rules on
// several threads to build what is missing. Under the object's over-height
// lock, Build gets what is stored now and fills or replaces members; what it
// leaves is stored and returned. When Build raises nothing is stored and the
// exception passes on.
class IQTKOverhighCalcHolder : public virtual IInterface {
public:
    virtual TQTKOverhighCalcSet GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build) = 0;
};

// ---------------------------------------------------------------------------
// Element families (host element type ids in parentheses).

// Any line element (wall, beam, parapet, coping, post-cast strip ...): plan-line and outline routines, line-element
// rules.
class IQTKLineEntBaseCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The calculated middle, left and right side lines, joined cleanly to the
    // connected line elements (built on first request; owned by the object).
    virtual const TVRMCustomLine2d* GetMidLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    // No line element of the connect types meets the element at its start (end).
    virtual bool IsStartUnconnected() = 0;
    virtual bool IsEndUnconnected() = 0;
    // The middle line lengthened at its connected ends into the elements met there (owned by the object).
    virtual const TVRMCustomLine2d* GetExtendedMidLine() = 0;
    // Rules measure the element along its drawn axis (a beam's axis length).
    virtual bool GetUseAxisLength() = 0;
    virtual void SetUseAxisLength(bool value) = 0;
    // The plan polygon between the side lines (owned by the object); may be nil.
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
    // The band of the element's width around the extended middle line.
    virtual const TVRMMultiPolygon2d* GetExtendedPolygon() = 0;
    // The face lines that elements attached to this one's faces follow (joined
    // among elements of the same kind), without and with the attached
    // insulating layers, and the polygons between them: GetAttachWallFacePolygon
    // is the band between GetAttachWallFaceLeftLine and GetAttachWallFaceRightLine
    // (owned by the object; nil when the lines give none); the scaffold rules
    // take it off a wall's scaffold line where another wall meets it.
    virtual const TVRMCustomLine2d* GetAttachWallFaceLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetAttachWallFaceRightLine() = 0;
    virtual const TVRMCustomLine2d* GetAttachWallFaceLeftLineWithInsulatingLayer() = 0;
    virtual const TVRMCustomLine2d* GetAttachWallFaceRightLineWithInsulatingLayer() = 0;
    virtual const TVRMMultiPolygon2d* GetAttachWallFacePolygon() = 0;
    virtual const TVRMMultiPolygon2d* GetAttachWallFacePolygonWithInsulatingLayer() = 0;
    // Indexes of the end faces in the original solid (start, then end; only
    // those found); -1 for a face not found.
    virtual std::vector<int> GetEndFaceIndexes() = 0;
    virtual int GetStartFaceIndex() = 0;
    virtual int GetEndFaceIndex() = 0;
    // The element joined at the start (end); nil when none.
    virtual RecordRef GetStartConnectedRecord() = 0;
    virtual RecordRef GetEndConnectedRecord() = 0;
    // The original solid less the solids of the related line elements it gives way to (owned by the object).
    virtual const TVRMPolyhedron3d* GetSolidWithoutPriorElements() = 0;
    // The attached insulating layer (type 68) on the left (right) of the middle line; nil when none.
    virtual RecordRef GetInsulatingLayerRecord(bool isLeft) = 0;
};

// Line element with a section and a length rate (beam, coping): beam and coping rules.
class IQTKHasSectionInfoWithLengthRateCalcEDO : public virtual IQTKLineEntBaseCalcEDO {
public:
    // The factor that turns the middle line's plan length into the element's
    // own length (1 for a level element; more when it slopes).
    virtual double GetLengthRate() = 0;
};

// Composite line element with a section (strip foundation, trench): foundation and trench rules, and its units.
class IQTKHasSectionInfoComplexLineEntCalcEDO : public virtual IQTKLineEntBaseCalcEDO {
public:
    // A unit's line: the extended middle line moved across so that it lies
    // Offset to the left of the drawn axis (Width and AxisOffset: the
    // composite's, placing the middle line), its ends on the joined end edges
    // of the side lines (from the left line's end to the right line's); a
    // copy of the middle line when an end edge is not met.
    virtual TVRMCustomLine2d GetUnitAxisLine(double offset, double width, double axisOffset) = 0;
    // "AxisOffset" plus the least unit "Offset" - unit width / 2, taken at creation.
    virtual double GetSectionMinOffset() = 0;
    // The unit's section swept along the extended middle line, cut between the
    // side lines, its end faces last; empty for a record that is no element. The caller owns it.
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildSectionSolid(IRDXRecord* unitRecord) = 0;
};

// Element with an extended solid: the extended-solid cache, when it frees the element's item.
class IQTKExtendableCalcEdo : public virtual IInterface {
public:
    // The element's solid grown by Distance (against Source's left line when
    // Mode is set, its right line otherwise; all round without a Source),
    // kept in the extended-solid cache: asking again with the same three
    // gives the kept solid. Distance 0 gives the original solid; a negative
    // Distance is an assertion failure.
    virtual Ref<IQTKPolyhedron3dIntf> GetExtendedPolyhedron(IRDXRecord* source, bool mode, double distance) = 0;
    // Called by the extended-solid cache when it frees the object's item; forgets it when it is the one held.
    virtual void ReleaseExtendItem(const TQTKExtendPolyhedronItem* item) = 0;
};

// The host's quantity-record ids whose original-quantity details a wall
// writes (FillDeductDetail): the take-off asks for a wall's original
// quantities under them.
inline constexpr int CQTKWallQtyMidFaceArea = 0;     // middle-face area
inline constexpr int CQTKWallQtyVolume = 1;          // volume
inline constexpr int CQTKWallQtySideFaceArea = 2;    // side-face area
inline constexpr int CQTKWallQtyFormboardArea = 3;   // formwork area (the side faces)
inline constexpr int CQTKWallQtyVolumeAlt = 622;     // volume, second record
inline constexpr int CQTKWallQtyScaffoldLength = 8;  // scaffold lengths: 8 and 9
inline constexpr int CQTKWallQtyScaffoldLengthB = 9;
inline constexpr int CQTKWallQtyScaffoldAreaFirst = 10;  // scaffold areas: 10-12, 100-102, 605-612
inline constexpr int CQTKWallQtyScaffoldAreaLast = 12;
inline constexpr int CQTKWallQtyScaffoldAreaBFirst = 100;
inline constexpr int CQTKWallQtyScaffoldAreaBLast = 102;
inline constexpr int CQTKWallQtyScaffoldAreaCFirst = 605;
inline constexpr int CQTKWallQtyScaffoldAreaCLast = 612;

// Wall-like line element (wall, insulating wall): wall rules and the finish objects on a wall.
class IQTKCustomWallCalcEDO : public virtual IQTKLineEntBaseCalcEDO {
public:
    // Side states: an outer wall reports both sides external until a side is
    // first set; the first setting clears both sides' defaults.
    virtual bool IsLeftSideExternal() = 0;
    virtual bool IsRightSideExternal() = 0;
    // The length calculator the last scaffold rule left on the wall (owned by
    // the wall; nil until set). Setting writes the original-quantity details
    // of the one it replaces (detail mode), then frees it.
    virtual TQTKLinearCalc2d* GetScaffoldLinearCalc() = 0;
    virtual void SetScaffoldLinearCalc(std::unique_ptr<TQTKLinearCalc2d> calc) = 0;
    // Sets a side internal (False) or external (True) and passes the setting
    // on to the parallel walls overlapping this one whose matching side is not
    // yet set. Setting a side against what it was set to before raises
    // ESetWallExternalException (the side keeps its state, no neighbour is visited).
    virtual void SetLeftSideExternal(bool value) = 0;
    virtual void SetRightSideExternal(bool value) = 0;
    virtual bool IsLeftSideSet() = 0;
    virtual bool IsRightSideSet() = 0;
    // "InnerOuterFlag" as read at creation (0: inner wall).
    virtual int GetInnerOuterFlag() = 0;
    // The line the scaffold length was measured on (not owned by the wall).
    virtual const TVRMCustomLine2d* GetScaffoldLine() = 0;
    virtual void SetScaffoldLine(const TVRMCustomLine2d* line) = 0;
    // The scaffold bottom elevation of Kind (mm), kept for the last kind asked.
    virtual double GetOverHighBottomElev(int kind, const TableSourceRef& ruleContext) = 0;
    // Height of the scaffold faces its details are written as (0: as lines).
    virtual void SetScaffoldHeight(double value) = 0;
    // Further scaffold segments (owned by the wall), a new empty list on first request.
    virtual TVRMSeg2dList* GetScaffoldSegList() = 0;
    // The lock of the scaffold stores (recursive; the operations above take it
    // too). A scaffold rule holds it across a read and the writes that follow
    // (a deduction marking the stored calculator, a length or height stored),
    // so two rules on one wall on different threads do not interleave. Hold it
    // only around the stores: not while asking other elements for geometry.
    virtual void LockScaffold() = 0;
    virtual void UnlockScaffold() = 0;
};

// Wall (type 0): wall rules, material and record routines (fill-wall overlays, short-limb shear walls).
// Calculators the wall builds or keeps are shared: FreeCalcCache (or a
// setter) drops the wall's reference, and a rule holding one keeps it usable.
class IQTKWallCalcEDO : public virtual IQTKCustomWallCalcEDO {
public:
    // The thickness the wall's volume and area calculators use ("Thickness"
    // unless a rule row of internal quantity 2 rates it); -1 while undecided.
    virtual int GetCalcThickness() = 0;
    // Decides the calculation thickness when undecided and returns it.
    virtual int CalcInternalQtyThickness(const TableSourceRef& ruleContext) = 0;
    virtual std::shared_ptr<TQTKWallSteelMeshCalcContnr> GetSteelMeshCalcContnr() = 0;
    // The faces on the left (right) side line join the side-face shell, once each.
    virtual void AddLeftSideFace() = 0;
    virtual void AddRightSideFace() = 0;
    virtual void SetCalcThickness(int value) = 0;
    virtual void SetSteelMeshCalcContnr(std::shared_ptr<TQTKWallSteelMeshCalcContnr> contnr) = 0;
    virtual void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) = 0;
    virtual void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) = 0;
    virtual void SetOverhighValueList(std::shared_ptr<TFloatList> list) = 0;
    // The plan outline between the side lines (owned by the wall).
    virtual const TVRMPolygon2d* GetPlanOutline() = 0;
    // Volume (factor calculation thickness / thickness, its openings taken
    // out of the remaining solid without booking them) and area (factor
    // 1 / calculation thickness) of the wall's solid; built once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual std::shared_ptr<TQTKSolidCalc3d> GetAreaCalc() = 0;
    // The vertical face on the middle line, and the side-face shell's
    // calculator (both side faces in); built once.
    virtual std::shared_ptr<TQTKShellCalc3d> GetMidFaceShellCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() = 0;
    virtual std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() = 0;
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() = 0;
    // The faces of the external sides; built once.
    virtual std::shared_ptr<TQTKShellCalc3d> GetExternalSideShellCalc() = 0;
    // The elevation polygon (x along the middle line, y elevation; owned by the wall).
    virtual const TVRMMultiPolygon2d* GetProfilePolygon() = 0;
    virtual std::shared_ptr<TFloatList> GetOverhighValueList() = 0;
    virtual const TVRMCustomLine2d* GetWallMidLine() = 0;
    // The area of the end faces at the connected ends less the concrete walls
    // met there; the faces join the side-face shell on the first call only.
    virtual double GetConnectedEndFaceArea() = 0;
    // Owned by the wall; both side faces are put in on first request.
    virtual TVRMPolyhedronShell3d* GetSideFaceShell() = 0;
    // 1 not an overlaying fill wall, 2 a fill wall lying inside a parallel
    // wall; decided on first request. The same answer as the wall's line info.
    virtual int GetFillWallOverlayState() = 0;
    // Index key of the Index-th fill wall overlaying this wall; -1 past the
    // end. A negative Index is an assertion failure.
    virtual int GetOverlayFillWallID(int index) = 0;
    // Short-limb shear wall kind (0 automatic ... 5 not a candidate); an
    // automatic kind is decided for the wall's whole group first.
    virtual std::uint8_t GetShortArmShearWallType() = 0;
    // Material-only mode: 0 off; 1 and 2 are the two modes a rule may set.
    virtual std::uint8_t GetCalcByOnlyMaterial() = 0;
    // Number of fill walls overlaying this wall (a concrete wall only).
    virtual int GetOverlayFillWallCount() = 0;
    // Level of the wall's "Type" in the type dictionary.
    virtual int GetTypeDictValue() = 0;
    // The outline this fill wall lies in on the wall behind Record, in that wall's elevation plane (owned by the
    // object); nil when this wall overlays none.
    virtual const TVRMMultiPolygon2d* GetOverlayPolygon(IRDXRecord* record) = 0;
    // "Thickness" as read at creation.
    virtual int GetThickness() = 0;
    // The original solid less the parallel beams along it (owned by the wall; built once).
    virtual const TVRMPolyhedron3d* GetDeductedSolid() = 0;
    virtual void SetShortArmShearWallType(std::uint8_t value) = 0;
    // The stored kind is 0 (automatic).
    virtual bool IsShortArmShearWallTypeAuto() = 0;
    // The stored kind as it is, undecided or not.
    virtual std::uint8_t GetShortArmShearWallFlag() = 0;

    // Material-only calculation: in modes 1 and 2 walls of a qualifying
    // material join as equals, and the volume, area and middle-face
    // calculators built afterwards use the material-only lines and solid.
    // ClearQtyItems turns it off.
    virtual void SetCalcByOnlyMaterial(std::uint8_t value) = 0;
    // The middle and side lines from the material-only middle-line calculator
    // (owned by the wall; each getter builds all three when its own is absent;
    // a setter frees the line it replaces and takes the new one over).
    virtual const TVRMCustomLine2d* GetOnlyMaterialMidLine() = 0;
    virtual void SetOnlyMaterialMidLine(std::unique_ptr<TVRMCustomLine2d> line) = 0;
    virtual const TVRMCustomLine2d* GetOnlyMaterialLeftLine() = 0;
    virtual void SetOnlyMaterialLeftLine(std::unique_ptr<TVRMCustomLine2d> line) = 0;
    virtual const TVRMCustomLine2d* GetOnlyMaterialRightLine() = 0;
    virtual void SetOnlyMaterialRightLine(std::unique_ptr<TVRMCustomLine2d> line) = 0;
    // The material-only middle line lengthened into the elements at its ends; built once.
    virtual const TVRMCustomLine2d* GetOnlyMaterialExtendedMidLine() = 0;
    // A new prism of the wall's width on the extended material-only middle line (empty for width 0).
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildOnlyMaterialSolid() = 0;
    // The polygon between the material-only side lines (owned by the wall; built once).
    virtual const TVRMMultiPolygon2d* GetOnlyMaterialPolygon() = 0;
    // The material-only solid (owned by the wall): computed when absent, or as set.
    virtual const TVRMPolyhedron3d* GetOnlyMaterialSolid() = 0;
    virtual void SetOnlyMaterialSolid(std::unique_ptr<TVRMPolyhedron3d> solid) = 0;
    // Computes the material-only solid (the slanted prism between the side
    // lines, else the prism cut between them) and locates its end faces.
    virtual void CalcOnlyMaterialSolid() = 0;
    // The original solid less the fill walls that overlay this concrete wall
    // (owned by the wall; built once with the list of their ids).
    virtual const TVRMPolyhedron3d* GetSolidWithoutOverlayFillWalls() = 0;
};

// Insulating wall (type 1): insulating-wall rules.
class IQTKInsulatingWallCalcEDO : public virtual IQTKCustomWallCalcEDO {
public:
    // The records of the wall's layers (units, type 86) in child order.
    virtual TRecordList GetUnitList() = 0;
};

// Unit of an insulating wall (type 86): plan-line routines and insulating-wall rules.
// The lines exist once the owning wall was prepared (the getters prepare it);
// calculators are made once and dropped by FreeCalcCache.
class IQTKInsulatingWallUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The unit's middle line, laid out by its wall (owned by the unit).
    virtual const TVRMCustomLine2d* GetMidLine() = 0;
    // The unit's side lines (owned by the unit).
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    // The unit's elevation polygon in its own plane, as a wall's (owned by the unit).
    virtual const TVRMMultiPolygon2d* GetProfilePolygon() = 0;
    // The unit's solid less the elements it gives way to (owned by the unit).
    virtual const TVRMPolyhedron3d* GetSolidWithoutPriorElements() = 0;
    // Lays the unit between its side lines: the middle line, and the solid
    // along it cut between them (its end faces last) as the original solid.
    virtual void SetLines(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right) = 0;
    // Over a copy of the original solid.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    // The wall's left (right) side is external and no unit of the wall has a
    // smaller (greater) record id.
    virtual bool IsLeftOuterUnit() = 0;
    virtual bool IsRightOuterUnit() = 0;
    // The owning wall's mean height from its four end elevations.
    virtual double GetAverageHeight() = 0;
    // One face on the middle line; a copy of the side-face shell.
    virtual std::shared_ptr<TQTKShellCalc3d> GetMidFaceShellCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() = 0;
    // The end faces (where the start or end elevations differ) less the
    // related units; they join the side-face shell on the first call only.
    // Returns their area.
    virtual double GetEndFormboardArea() = 0;
    // Add the face on the left (right) line to the side-face shell, once each.
    virtual void AddLeftSideFace() = 0;
    virtual void AddRightSideFace() = 0;
    // Owned by the unit; both side faces are put in on first request.
    virtual const TVRMPolyhedronShell3d* GetSideFaceShell() = 0;
    // Stored by the over-height rules; nil until stored. The unit owns what is
    // stored: a setter drops what it replaces, FreeCalcCache drops the last.
    virtual std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() = 0;
    virtual void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) = 0;
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() = 0;
    virtual void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TFloatList> GetOverhighValueList() = 0;
    virtual void SetOverhighValueList(std::shared_ptr<TFloatList> list) = 0;
    // The polygon between the side lines (owned by the unit).
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
    // The start and end faces of the original solid that were found.
    virtual std::vector<int> GetEndFaceIndexes() = 0;
};

// Wall or insulating wall unit whose side-face shell piers add their exposed
// faces to: the formwork pier rules, so that a pier adds its faces once.
class IQTKPierFormboardHolder : public virtual IInterface {
public:
    // What the pier behind Record added to the side-face shell since the last
    // FreeCalcCache; false when it added nothing yet.
    virtual bool FindPierFormboard(IRDXRecord* pier, double& area) = 0;
    virtual void KeepPierFormboard(IRDXRecord* pier, double area) = 0;
};

// Parapet (type 69): parapet rules.
class IQTKParapetCalcEDO : public virtual IQTKLineEntBaseCalcEDO {
public:
    // The middle, internal-side and external-side lines at mid-height, from
    // which the rules deduct what interrupts the parapet; built once.
    virtual std::shared_ptr<TQTKDeductPolyhedronLines> GetMidLineDeductLines() = 0;
    virtual std::shared_ptr<TQTKDeductPolyhedronLines> GetInternalLineDeductLines() = 0;
    virtual std::shared_ptr<TQTKDeductPolyhedronLines> GetExternalLineDeductLines() = 0;
    // Faces on, and the solid along, the pieces of the middle line that the
    // deductions left (the whole line when none was deducted, or all); built once.
    virtual std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() = 0;
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    // Formwork calculators stored by the formwork rules (a setter drops the one it replaces).
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideFormboardShellCalc() = 0;
    virtual void SetSideFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetBottomFormboardShellCalc() = 0;
    virtual void SetBottomFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetHeadFormboardShellCalc() = 0;
    virtual void SetHeadFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    // Atomic; returns the new count.
    virtual int IncUseCount() = 0;
    // The left side line is the internal side (decided by ClearQtyItems; a rule may set it).
    virtual void SetInternalIsLeft(bool value) = 0;
    virtual bool GetInternalIsLeft() = 0;
    virtual double GetSectionWidth() = 0;
    // Length along the slope over plan length of the axis (1 for a level or zero-length parapet).
    virtual double GetSlopeLengthRate() = 0;
};

// Beam (types 15, 17): beam rules and the slab, wall and finish objects next to a beam.
class IQTKBeamCalcEDO : public virtual IQTKHasSectionInfoWithLengthRateCalcEDO {
public:
    // "SectionHeight".
    virtual double GetSectionHeight() = 0;
    // Levels of the beam's "Type", "Type1" and "Type2" in the type dictionary.
    virtual int GetTypeDictValue() = 0;
    virtual int GetType1DictValue() = 0;
    virtual int GetType2DictValue() = 0;
    // The beam's outline in a wall's elevation plane (x along the wall line, y elevation); nil when it has none.
    virtual Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord* wall) = 0;
    // The formwork shell the Add... operations fill (owned by the object; nil until filled).
    virtual const TVRMPolyhedronShell3d* GetFormboardShell() = 0;
    // Append the left side, right side, bottom or top faces to the formwork shell; each returns the area added.
    virtual double AddLeftSideFormboard() = 0;
    virtual double AddRightSideFormboard() = 0;
    virtual double AddBottomFormboard() = 0;
    virtual double AddTopFormboard() = 0;

    // Calculators, solids and lists below are built on first request and
    // owned by the beam until FreeCalcCache (callers never free them).
    // Volume calculator: over the haunch-free solid of a haunched beam, the
    // drawn solid when the axis length is used, else the beam's solid.
    // GetVolumeCalc builds it with factor 1.0 when absent.
    virtual TQTKSolidCalc3d* GetVolumeCalc() = 0;
    virtual void CreateVolumeCalc(double factor) = 0;
    // Over a copy of the formwork shell as it is now: an Add..., end or
    // haunch call must come first (an assertion failure otherwise).
    virtual TQTKShellCalc3d* GetFormboardShellCalc() = 0;
    // Over the left then the right side faces.
    virtual TQTKShellCalc3d* GetSideFaceShellCalc() = 0;
    // The beam's reference lines for line deductions.
    virtual TQTKDeductPolyhedronLines* GetDeductPolyhedronLines() = 0;
    // Left by the over-height rules (nil until set); a setter frees what it replaces.
    virtual TVRMOverhighSolidCalc3d* GetOverhighVolumeCalc() = 0;
    virtual TVRMOverhighShellCalc3d* GetOverhighFormboardCalc() = 0;
    virtual TFloatList* GetOverhighValueList() = 0;
    virtual void SetOverhighValueList(std::unique_ptr<TFloatList> list) = 0;
    virtual void SetOverhighFormboardCalc(std::unique_ptr<TVRMOverhighShellCalc3d> calc) = 0;
    virtual void SetOverhighVolumeCalc(std::unique_ptr<TVRMOverhighSolidCalc3d> calc) = 0;
    // A new solid (the caller's) of the band of the section from Bottom to
    // Bottom + Height above its lowest point (stopping at its top), along the
    // middle line from StartLength to EndLength; nil when Bottom is above the section.
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildSegmentSolid(double bottom, double height, double startLength,
                                                                double endLength) = 0;
    // The haunched beam's solid without its haunches; nil for any other beam.
    virtual const TVRMPolyhedron3d* GetArchSolid() = 0;
    // While set, the face queries and the Add... operations work on the arch solid.
    virtual bool GetUseArchSolid() = 0;
    virtual void SetUseArchSolid(bool value) = 0;
    // Area of the end faces less what concrete beams at the ends cover; the faces go to the formwork shell.
    virtual double GetEndFormboardArea() = 0;
    // Side 1 both sides, 2 top, 3 bottom, 4 ends (less the beams finished on
    // their own), other values nothing: the area added to the finish (block
    // finish) side shell.
    virtual double GetFinishSideArea(int side) = 0;
    virtual double GetBlockFinishSideArea(int side) = 0;
    // Face indexes of the solid the face queries work on.
    virtual std::vector<int> GetActualEndFaceIndexes() = 0;
    virtual std::vector<int> GetLeftSideFaceIndexes() = 0;
    virtual std::vector<int> GetRightSideFaceIndexes() = 0;
    virtual std::vector<int> GetBottomFaceIndexes() = 0;
    // Formwork of the haunches added to the formwork shell (less the beam
    // faces they cover, returned in Deducted); needs a haunched beam.
    virtual double CalcHaunchedFormboardArea(double& deducted) = 0;
    // Over a copy of the finish (block finish) side shell; nil while there is none.
    virtual TQTKShellCalc3d* GetFinishShellCalc() = 0;
    virtual TQTKShellCalc3d* GetBlockFinishShellCalc() = 0;
    // "SectionWidth".
    virtual double GetSectionWidth() = 0;
    // Over a copy of the brick mould solid.
    virtual TQTKSolidCalc3d* GetMergedSolidCalc() = 0;
    // Replaces the formwork shell calculator, freeing the previous one.
    virtual void SetFormboardShellCalc(std::unique_ptr<TQTKShellCalc3d> calc) = 0;
};

// Tie beam (type 18): beam rules.
class IQTKTieBeamCalculator : public virtual IQTKBeamCalcEDO {
public:
    // False when a related wall or insulating wall parallel to the tie beam is an outer wall.
    virtual bool IsNotOnInnerWall() = 0;
};

// Foundation beam (type 47): foundation beam rules.
class IQTKFDBeamCalcEDO : public virtual IQTKBeamCalcEDO {
public:
    // End (side) faces, classified against Angle, below the highest bottom
    // of the rafts standing above the beam's bottom; 0 without such a raft.
    // The faces are kept in the foundation-beam formwork shell.
    virtual double CalcEndFormboardArea(double angle) = 0;
    virtual double CalcSideFormboardArea(double angle) = 0;
    // Over a copy of that shell (an empty one when there is none); built once.
    virtual TQTKShellCalc3d* GetFDFormboardShellCalc() = 0;
    // Over the bottom faces against Angle; built once.
    virtual TQTKShellCalc3d* GetBottomShellCalc(double angle) = 0;
    // The highest raft bottom of the last end or side call.
    virtual double GetMaxFaceElev() = 0;
};

// Lintel (type 12): lintel rules and the outline routines (its section).
class IQTKLintelCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Over a copy of the lintel's solid, built once (owned by the object).
    virtual TQTKSolidCalc3d* GetVolumeCalc() = 0;
    // Side (end) faces less the walls it rests on, appended to the formwork shell; the area.
    virtual double CalcSideFormboardArea() = 0;
    virtual double CalcEndFormboardArea() = 0;
    // Over the formwork shell filled so far, which it takes over; built once.
    virtual TQTKShellCalc3d* GetFormboardShellCalc() = 0;
    // Over the bottom (and arch top) faces less the supports, openings kept; built once.
    virtual TQTKShellCalc3d* GetBottomShellCalc() = 0;
    // The lintel's section polygon (x across the lintel, y up), built once
    // (owned by the object).
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
    // Sideways offset of an alcove's lintel from Wall's axis; 0 over any other opening.
    virtual double GetAlcoveOffset(IRDXRecord* wall) = 0;
    // The plan line the lintel is calculated along (owned by the object; nil when it has none).
    virtual const TVRMCustomLine2d* GetCalcLine() = 0;
    // The lintel's outline in a wall's elevation plane (x along the wall line, y elevation); nil when it has none.
    virtual Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord* wall) = 0;
};

// Columns, tie columns, column bases and caps keep the calculators their
// rules build or store with shared ownership, as the foundations do: a setter
// or a reset drops the object's reference.

// Column (type 25): column rules, the slab rules and the finish objects around a column.
class IQTKColumnCalculatorEDO : public virtual IQTKCalculatorEDO {
public:
    // Over a copy of the original solid / over CreateSideFaceShell; made once (again after FreeCalcCache).
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() = 0;
    // Stored by the over-height rules; nil until set.
    virtual std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() = 0;
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() = 0;
    virtual std::shared_ptr<TFloatList> GetOverhighValueList() = 0;
    virtual void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) = 0;
    virtual void SetOverhighValueList(std::shared_ptr<TFloatList> list) = 0;
    virtual void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) = 0;
    // A new shell (the caller's) of every face of the original solid but its top and bottom (the last two).
    virtual std::unique_ptr<TVRMPolyhedronShell3d> CreateSideFaceShell() = 0;
    // The column's outline on a wall's elevation plane (x along the wall's
    // middle line, y elevation) between the first and last crossing of that
    // line with the outline, clipped to the column's and the wall's
    // elevations; nil when the line crosses the outline in fewer than two
    // points. Kept for the last wall asked. A failure raises
    // "计算柱在墙上投影出错".
    virtual Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord* wall) = 0;
    // The scaffold height the height rules stored; -1 until one has.
    virtual double GetScaffoldHeight() = 0;
    virtual void SetScaffoldHeight(double value) = 0;
    // One vertical edge through the centre of the solid's box, top to bottom
    // (owned by the object); the height rules shorten it for good.
    virtual TVRMPolyhedronLines3d* GetCenterLine3d() = 0;
    // A copy of the original solid, made once (again after ClearQtyItems); rules may reshape it.
    virtual std::shared_ptr<TVRMPolyhedron3d> GetSolidCopy() = 0;
    // Finish thicknesses by column key, finish id and side: adding a known
    // (Key, Id, Side) widens its Low..High range.
    virtual void AddFinishThickness(int key, int id, double low, double high, std::uint8_t side) = 0;
    // Clears List and copies into it the entries of Key and Side, in stored order.
    virtual void GetFinishThicknesses(int key, std::uint8_t side, std::vector<TQTKFinishThick>& list) = 0;
    // The virtual walls ("Type" 255) the column meets; they never enter the related list.
    virtual TRecordList GetRelatedLineEntList() = 0;
    // No wall, insulating wall or parapet overlapping in elevation touches the
    // outline (a virtual wall never counts); True for an element that is not a column.
    virtual bool IsIsolated() = 0;
    // The net elevations: the top lowered to a column cap above, the bottom raised to a column base below.
    virtual double GetCalcBottomElev() = 0;
    virtual double GetCalcTopElev() = 0;
    virtual void SetSolidCopy(std::shared_ptr<TVRMPolyhedron3d> solid) = 0;
};

// Tie column (type 26): column rules (indenting into masonry walls).
class IQTKTieColumnCalculatorEDO : public virtual IQTKColumnCalculatorEDO {
public:
    // The column prism with its edges facing block walls moved out by the
    // indenting width (rule row of quantity 974), else a copy of the original
    // solid; made once (owned by the object).
    virtual const TVRMPolyhedron3d* GetIndentingSolid() = 0;
    virtual int GetIndentingTag() = 0;
    virtual void SetIndentingTag(int value) = 0;
    virtual int GetIndentingLengthMode() = 0;
    virtual void SetIndentingLengthMode(int value) = 0;
    // The toothing reaching into the indentable walls beside the column: nil
    // until built, empty without such walls (owned by the object).
    virtual const TVRMPolyhedron3d* GetIndentingPolyhedron() = 0;
    virtual void BuildIndentingPolyhedron() = 0;
    // Over the indenting polyhedron less the elements that take precedence;
    // made once with the first factor asked (again after FreeCalcCache).
    virtual std::shared_ptr<TQTKSolidCalc3d> CalcIndentingVolume(double lengthFactor) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetIndentingSideShellCalc(double factor) = 0;
    // The tie column's own over-height calculators: a setter deducts the
    // neighbouring elements from what it stores.
    virtual std::shared_ptr<TVRMOverhighSolidCalc3d> GetTieOverhighVolumeCalc() = 0;
    virtual void SetTieOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) = 0;
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetTieOverhighFormboardCalc() = 0;
    virtual void SetTieOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) = 0;
    // The one guarded way for rules on several threads: under the object's
    // over-height lock, the calculator stored, else what Build makes, stored
    // through the setter (nil from Build stores nothing). When Build raises
    // nothing is stored and the exception passes on.
    virtual std::shared_ptr<TVRMOverhighSolidCalc3d> GetOrBuildTieOverhighVolumeCalc(
        const std::function<std::shared_ptr<TVRMOverhighSolidCalc3d>()>& build) = 0;
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildTieOverhighFormboardCalc(
        const std::function<std::shared_ptr<TVRMOverhighShellCalc3d>()>& build) = 0;
};

// Column base (type 28): column base rules.
class IQTKColumnBaseCalculatorEDO : public virtual IQTKCalculatorEDO {
public:
    // Each made once (again after ClearQtyItems), factor 1, the base's record.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetFormboardShellCalc() = 0;
    // "ColumnBaseType" below 5.
    virtual bool IsBrickModelType() = 0;
    // Over the merged (brick mould) solid; nil for a base of a brick model type.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetBrickModelVolumeCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetTopFaceShellCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetBottomFaceShellCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetVerticalSideFaceShellCalc() = 0;
};

// Column cap (type 27): column cap rules.
class IQTKColumnCapCalculatorEDO : public virtual IQTKCalculatorEDO {
public:
    // Each made once (again after ClearQtyItems), factor 1, the cap's record.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetFormboardShellCalc() = 0;
    // Every face but the lowest downward and the highest upward one.
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() = 0;
    // The lowest level face (empty when there is none).
    virtual std::shared_ptr<TQTKShellCalc3d> GetTopFaceShellCalc() = 0;
    virtual std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() = 0;
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() = 0;
    virtual void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) = 0;
    virtual void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) = 0;
    // A new shell (the caller's) of every face not facing straight up.
    virtual std::unique_ptr<TVRMPolyhedronShell3d> CreateFormboardShell() = 0;
    virtual std::shared_ptr<TFloatList> GetOverhighValueList() = 0;
    virtual void SetOverhighValueList(std::shared_ptr<TFloatList> list) = 0;
};

// Pier (type 3): pier and wall rules.
class IQTKPierCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // A new container of one calculator per edge of the outline's first ring,
    // the pieces on the host wall's plan polygon marked; owned by the caller.
    virtual std::unique_ptr<TVRMLinearCalcContr> GetPerimeterLinearCalc() = 0;
    // The vertical faces on the exposed (unmarked) outline pieces, and on the
    // pieces against the wall, from "BottomElev" to "TopElev"; built once.
    virtual std::shared_ptr<TQTKShellCalc3d> GetOrnamentShellCalc() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetContactWallOrnamentShellCalc() = 0;
    // Over a copy of the original solid, factor 1; built once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    // The volume kept by the last FreeCalcCache (0 before any).
    virtual double GetVolume() = 0;
    // The host wall's side the pier stands on faces out; computed once.
    virtual bool IsOnExternalSide() = 0;
};

// Slab (types 19-21): slab rules and the beam, wall and finish objects under a slab.
// The calculators the slab rules store are shared: a setter or FreeCalcCache
// drops the slab's reference, and what a rule received stays usable while it
// holds it.
class IQTKSlabCalculator : public virtual IQTKCalculatorEDO {
public:
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetAreaCalc() = 0;
    virtual void SetAreaCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    // The soffit shell the projective-area rules measure in plan.
    virtual std::shared_ptr<TQTKShellCalc3d> GetProjectiveAreaCalc() = 0;
    virtual void SetProjectiveAreaCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetFormboardCalc() = 0;
    virtual void SetFormboardCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideFormboardCalc() = 0;
    virtual void SetSideFormboardCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    // The lines along which the soffit meets the walls under it.
    virtual std::shared_ptr<TVRMPolyhedronLines3d> GetContactWallLengthCalc() = 0;
    virtual void SetContactWallLengthCalc(std::shared_ptr<TVRMPolyhedronLines3d> calc) = 0;
    virtual std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() = 0;
    virtual void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) = 0;
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() = 0;
    virtual void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighSideFormboardCalc() = 0;
    // The slab's surface is curved (arched, domed, conical); decided by ClearQtyItems (False before).
    virtual bool IsCurvedFaceShape() = 0;
    // The curved slab over the calculation polygon, built once; nil for a
    // slab that is not curved. An arch without a rise gives the level slab.
    virtual const TVRMPolyhedron3d* GetCurvedSolid() = 0;
    virtual void SetOverhighSideFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) = 0;
    // The stored over-height side formwork; when none is stored, Build makes
    // it under the object's over-height lock and it is stored (nothing is
    // when Build raises). The over-height volume and formwork are built the
    // same way through IQTKOverhighCalcHolder.
    virtual std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildOverhighSideFormboardCalc(
        const std::function<std::shared_ptr<TVRMOverhighShellCalc3d>()>& build) = 0;
    // A "QTKSlabCalcSettings" value of the rule context in m2, as mm2.
    virtual double GetSettingAreaMM2(const TableSourceRef& ruleContext, std::string_view key) = 0;
    // The slab's "Thickness" (mm), read when the object is made.
    virtual double GetThickness() = 0;
    // Polygons that beam and wall rules of other elements hand to the slab to
    // add to or cut from its outline (taking effect at the slab's next
    // ClearQtyItems): each is kept under the writer's record id, and the
    // lists read in ascending writer id (equal ids in arrival order), so the
    // slab's solid does not depend on which rule ran first.
    virtual void AddAddPolygon(int writerId, std::unique_ptr<TVRMMultiPolygon2d> polygon) = 0;
    virtual void AddDeductPolygon(int writerId, std::unique_ptr<TVRMMultiPolygon2d> polygon) = 0;
    virtual std::vector<const TVRMMultiPolygon2d*> GetAddPolygons() = 0;
    virtual std::vector<const TVRMMultiPolygon2d*> GetDeductPolygons() = 0;
    // The elevations the over-height builder stores; the slab keeps the last one.
    virtual std::shared_ptr<TQTKOverhighElev> GetOverhighElev() = 0;
    virtual void SetOverhighElev(std::shared_ptr<TQTKOverhighElev> elev) = 0;
    // The plan polygon the slab is calculated with: its outline with the add
    // and deduct polygons applied, else the shape's outline (owned by the object; may be empty).
    virtual const TVRMMultiPolygon2d* GetCalcPolygon() = 0;
};

// Slab hole (types 14, 24): slab rules.
class IQTKSlabHoleCalcEDO : public virtual IQTKCalculatorEDO {};

// Stair (type 29): stair rules.
class IQTKStairCalculator : public virtual IQTKCalculatorEDO {
public:
    // Stored by the projective-area rules; nil until stored. Storing drops the previous one.
    virtual std::shared_ptr<TQTKPlanarCalc2d> GetProjectiveAreaCalc() = 0;
    virtual void SetProjectiveAreaCalc(std::shared_ptr<TQTKPlanarCalc2d> calc) = 0;
    // The id of the stair's parametric drawing; -1 when the stair is not
    // parametric (read again by ClearQtyItems).
    virtual int GetParamPolyInfoType() = 0;
    // The formula over the drawing's parameters, never negative; with
    // BuildExpr its report text becomes the record's original expression
    // item. 0 when the stair is not parametric.
    virtual double CalcParamExpression(std::string_view formula, bool buildExpr) = 0;
};

// Finish attached to a wall face (wall-face finish, dado, skirting, insulating layer): thickness routines, finish
// caches and finish rules.
// The host is the element's parent: a wall (0), insulating wall (1),
// parapet (69) or column (25, 26). Lines and polygons are owned by the
// element and built once.
class IQTKAttachWallFaceEntBaseCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The block (plastering) layer is measured outside the host wall's
    // insulating layer.
    virtual bool IsBlockConsiderInsulatingLayer() = 0;
    virtual bool IsPlasteringConsiderInsulatingLayer() = 0;
    // Thickness of the insulating layer on the host wall's side of this
    // element; 0 without one (a column host has none).
    virtual double GetHostInsulatingLayerThickness() = 0;
    // Called by the finish solid caches when they free the object's item; forget it when it is the one held.
    virtual void ReleaseHalfBlockPolyhedronItem(const TQTKFinishHalfBlockPolyhedronItem* item) = 0;
    virtual void ReleaseExtendOriginalPolyhedronItem(const TQTKFinishExtendOriginalPolyhedronItem* item) = 0;

    virtual RecordRef GetHostRecord() = 0;
    virtual int GetHostElementType() = 0;
    // Host type 0, 1 or 69.
    virtual bool IsHostWallType() = 0;
    // The element lies on the host line's left side; runs in its direction.
    virtual bool IsOnHostLeftSide() = 0;
    virtual bool IsSameDirectionAsHost() = 0;
    // The line of the line mode: 0 the band's middle line, 1 the face line
    // the element lies on, 2 its own line centred over the host's length.
    virtual TVRMCustomLine2d GetCalcLine() = 0;
    virtual void SetLineMode(int mode) = 0;
    virtual int GetLineMode() = 0;
    // Around a switch of the line mode.
    virtual void LockGeometry() = 0;
    virtual void UnlockGeometry() = 0;
    // The band's lines (joined to the finishes around); Get(Left|Right)Line
    // compute nothing (nil before the band was computed).
    virtual const TVRMCustomLine2d* GetMidLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    // The host's face line on the element's side (the host's own line), and the other side's.
    virtual const TVRMCustomLine2d* GetHostSideLine() = 0;
    virtual const TVRMCustomLine2d* GetHostOppositeSideLine() = 0;
    // The host face line clipped to the element and shortened where other
    // walls cover it; outside the host's insulating layers.
    virtual const TVRMCustomLine2d* GetFaceLine() = 0;
    virtual const TVRMCustomLine2d* GetAttachFaceLine() = 0;
    // An end of the element stops at a free end of its host wall.
    virtual bool IsStartAtFreeWallEnd() = 0;
    virtual bool IsEndAtFreeWallEnd() = 0;
    // The element reaches below its host's bottom (or a wall beside it does).
    virtual bool IsBelowHostBottom() = 0;
    // Solids from the finish caches: half the thickness (air layer
    // included) and the whole thickness on the face line.
    virtual Ref<IQTKPolyhedron3dIntf> GetHalfBlockPolyhedron() = 0;
    virtual Ref<IQTKPolyhedron3dIntf> GetExtendOriginalPolyhedron() = 0;
    // Between the band's side lines; between the middle line and the side away from the host.
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
    virtual const TVRMMultiPolygon2d* GetHalfPlanPolygon() = 0;
    // The related list the connected search keeps for the element.
    virtual void SetRelatedListCached(bool cached) = 0;
    virtual void SetRelatedList(TRecordList list) = 0;
    virtual bool IsRelatedListCached() = 0;
    virtual TRecordList GetRelatedList() = 0;
    virtual RecordRef GetHostInsulatingLayerRecord() = 0;
    // 1 when the host is not a wall, else the host wall's fill-wall overlay state.
    virtual int GetHostFillWallOverlayKind() = 0;
    virtual void SetAuxiliaryFlag(bool flag) = 0;
    virtual void SetCalcByHostAxisLine(bool flag) = 0;
    virtual bool IsCalcByHostAxisLine() = 0;
};

// Elements with simple quantities (copings, custom elements, site levellings,
// aprons, eaves, canopies, roofs) keep the calculators they build or their
// rules store with shared ownership, as the foundations do; a setter drops
// the object's reference to the previous one.

// Coping (type 70): coping rules.
class IQTKCopingCalcEDO : public virtual IQTKHasSectionInfoWithLengthRateCalcEDO {
public:
    // Over a copy of the original solid, made once (again after FreeCalcCache).
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() = 0;
    // The two sides, the bottom and the faces along the line (the end faces)
    // less the solids of the related copings: with the shared faces where this
    // coping gives way, without them where it does not; made once.
    virtual std::shared_ptr<TQTKShellCalc3d> GetFormboardShellCalc() = 0;
    // Stored by the out-area rules; nil until stored.
    virtual std::shared_ptr<TQTKShellCalc3d> GetOutAreaCalc() = 0;
    virtual void SetOutAreaCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
};

// Custom line element (type 72): custom element rules.
class IQTKCustomLineCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The joined middle line (owned by the object).
    virtual const TVRMCustomLine2d* GetMidLine() = 0;
    // A length calculator on the middle line, made once.
    virtual std::shared_ptr<TQTKLinearCalc2d> GetLengthCalc() = 0;
    // Over a copy of the original solid, made once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() = 0;
    // The joined side lines (owned by the object).
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
};

// Custom face element (type 73): custom element rules.
class IQTKCustomFaceCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Over the element's outline laid on its top surface, made once.
    virtual std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() = 0;
    // Over a copy of the original solid, made once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() = 0;
};

// Custom point element (type 71): custom element rules.
class IQTKCustomPointCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Over a copy of the original solid, made once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() = 0;
};

// Site levelling (type 60): site levelling rules.
class IQTKSiteLevelingCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The first ring of the outline grown outward by 2000 mm (further rings
    // as they are); empty when the ring cannot be grown. Made once, owned by
    // the object.
    virtual const TVRMMultiPolygon2d* GetExtendTwoMeterPolygon() = 0;
};

// Apron (type 61): apron rules. Each is made on first request (again after FreeCalcCache).
class IQTKApronCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The apron edges that touch walls: the floor's external wall outline
    // where it lies on the apron, else the side lines of the related walls
    // along the apron's inner boundary.
    virtual std::shared_ptr<TVRMLinearCalcContr> GetTunchWallLengthCalc() = 0;
    // The edges of the net face polygon.
    virtual std::shared_ptr<TVRMMultiPolyLinearCalc2d> GetPerimeterCalc() = 0;
    // The upward faces of the apron's solid.
    virtual std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() = 0;
    // The outline less the outlines of the related walls and insulating walls
    // that have a thickness.
    virtual std::shared_ptr<const TVRMMultiPolygon2d> GetNetFacePolygon() = 0;
};

// Floor area (type 58): floor area and scaffold rules. The area rules store
// the polygons they add, the running area and their method; ClearQtyItems
// resets all three.
class IQTKFloorAreaCalcEDO : public virtual IQTKCalculatorEDO {
public:
    virtual int GetAreaCalcMethod() = 0;
    virtual void SetAreaCalcMethod(int method) = 0;
    // The object takes the polygon.
    virtual void AddAreaPolygon(std::unique_ptr<TVRMMultiPolygon2d> polygon) = 0;
    // A new polygon set: Polygon less the floor area's outline and less each added polygon.
    virtual std::unique_ptr<TVRMMultiPolygon2d> GetUncoveredPolygon(const TVRMMultiPolygon2d& polygon) = 0;
    virtual void SetArea(double area) = 0;
    virtual double GetArea() = 0;
    // The clear height above the floor area (mm), computed once.
    virtual double GetSpaceHeight() = 0;
    // The property "TopElev" less 2.
    virtual double GetTopElevMinusTwo() = 0;
};

// Eave or canopy face (types 64 with shape 0, 65): eave and canopy rules.
class IQTKEaveAndCanopyCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Stored by the horizontal-area rules; nil until stored. The object owns
    // what is stored and drops the polygon it replaces.
    virtual std::shared_ptr<const TVRMMultiPolygon2d> GetHorizonPolygon() = 0;
    virtual void SetHorizonPolygon(std::unique_ptr<TVRMMultiPolygon2d> polygon) = 0;
};

// Eave line (type 64 with shape 1): eave rules. The face-area rules add shells
// to the three calculators; ClearQtyItems makes them afresh (empty).
class IQTKEaveLineCalcEDO : public virtual IQTKLineEntBaseCalcEDO {
public:
    virtual std::shared_ptr<TQTKShellCalc3d> GetOuterAreaCalc() = 0;
    virtual void SetOuterAreaCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetInnerAreaShellCalc() = 0;
    virtual void SetInnerAreaShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetTopAreaShellCalc() = 0;
    virtual void SetTopAreaShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
};

// Roof (type 67): roof rules.
class IQTKRoofCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The area and waterproof calculators: what the rules stored (nil
    // before); a curved roof builds each from its solid's downward faces on
    // first request.
    virtual std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() = 0;
    virtual void SetAreaShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetWaterproofShellCalc() = 0;
    virtual void SetWaterproofShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) = 0;
    // The quantity id of the last quantity begun for the roof (330 area, 332 waterproof area).
    virtual int GetCurrentQtyItemID() = 0;
    // The roof's surface is curved (elevation kind 4, 5 or 6); read by ClearQtyItems.
    virtual bool IsCurvedFaceShape() = 0;
};

// Balcony or swing window (types 10, 66): balcony and bay window rules.
class IQTKBalconyAndSwingWinCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The prism of the horizontal polygon from the bottom to the top
    // elevation of the parts; empty when the parts give no elevations. Built
    // once, owned by the element. Mode is accepted; the outline is searched
    // along the walls' middle lines whatever it is.
    virtual std::shared_ptr<const TVRMPolyhedron3d> GetBodySolid(int mode) = 0;
    virtual double GetTopElev() = 0;
    virtual double GetBottomElev() = 0;
    // The composite outline (GetCompositeOutline), built once; nil when none.
    virtual std::shared_ptr<const TVRMMultiPolygon2d> GetHorizonPolygon(int mode) = 0;
    // The formula over the parametric drawing's parameters; 0 when the
    // element is not parametric.
    virtual double CalcParamExpression(std::string_view formula, bool buildExpr) = 0;
    // The id of the parametric drawing; -1 when the element is not parametric.
    virtual int GetParamPolyInfoType() = 0;
};

// Wall-face finish or dado on a wall: finish rules (block and plastering areas).
class IQTKWallAttachCalcEDO : public virtual IQTKAttachWallFaceEntBaseCalcEDO {
public:
    // Bottom elevations of the plastering and block layers at a plan point.
    virtual double GetPlasteringBottomElevAt(const TVRMPoint2d& point) = 0;
    virtual double GetBlockBottomElevAt(const TVRMPoint2d& point) = 0;
    // Original face polygons in the wall's elevation plane; with nil, the cached ones.
    virtual Ref<IQTKSectionPoly> GetPlasteringOriginalPolygon(IRDXRecord* record) = 0;
    virtual Ref<IQTKSectionPoly> GetBlockOriginalPolygon(IRDXRecord* record) = 0;
};

// Wall-face finish (type 36) and dado (type 37): finish rules.
class IQTKFaceFinishCalcEDO : public virtual IQTKWallAttachCalcEDO {};

// Skirting (type 38): skirting rules.
class IQTKSkirtCalcEDO : public virtual IQTKAttachWallFaceEntBaseCalcEDO {};

// Insulating layer (type 68): insulating layer rules.
class IQTKInsulatingLayerCalcEDO : public virtual IQTKAttachWallFaceEntBaseCalcEDO {
public:
    // Column (beam) face groups standing out of the layer, created on demand (owned by the layer).
    virtual TQTKOutWallFaceCalc* GetOutWallColumnCalc() = 0;
    virtual TQTKOutWallFaceCalc* GetOutWallBeamCalc() = 0;
};

// Room floor or ceiling face (types 33, 34): room area rules.
class IQTKRoomHorizonCalcEDO : public virtual IQTKCalculatorEDO {};

// Isolated-column finish (type 39): isolated-column finish rules.
class IQTKIsolateColumnFinishCalcEDO : public virtual IQTKCalculatorEDO {};

// Hung ceiling (type 35): hung ceiling and ceiling finish rules.
class IQTKHungCeilingCalcEDO : public virtual IQTKCalculatorEDO {
public:
    virtual double GetElevation() = 0;
};

// Element whose object reads calculation settings when prepared (earthwork): earthwork rules.
class IQTKCalcSettingAffectedCalcEDO : public virtual IQTKCalculatorEDO {};

// Any earthwork or backfill element: earthwork and backfill rules.
class IQTKCustomEarthworkCalcEDO : public virtual IQTKCalcSettingAffectedCalcEDO {
public:
    // Depth of the ordinary earth: total depth less the frozen and wet thicknesses, never below 0.
    virtual double GetCutDepth() = 0;
    virtual double GetFrozenDepth() = 0;
    virtual double GetWetDepth() = 0;
    virtual double GetBottomElev() = 0;
    // Bottom outline, widened by the working face when it applies (owned by the object).
    virtual const TVRMMultiPolygon2d* GetBottomPolygon() = 0;
};

// Excavation of any kind (types 40-42): earthwork rules.
class IQTKEarthworkCalcEDO : public virtual IQTKCustomEarthworkCalcEDO {
public:
    virtual bool HasWorkingFace() = 0;
    virtual bool HasSlope() = 0;
    virtual bool IsLevelBottom() = 0;
};

// Pit earth (type 42): pit earthwork rules (slope increments).
class IQTKPitEarthCalcEDO : public virtual IQTKEarthworkCalcEDO {
public:
    virtual const TVRMMultiPolygon2d* GetSlopeBottomPolygon() = 0;
    // Per-edge slope widths of the outline for a height above the bottom, in edge order.
    virtual void GetSlopeWidths(std::vector<double>& widths, double height) = 0;
};

// Excavated earth (type 40): excavation rules.
class IQTKExcavatedEarthCalcEDO : public virtual IQTKPitEarthCalcEDO {};

// Ditch earth (type 41): ditch earthwork rules.
class IQTKDitchEarthCalcEDO : public virtual IQTKEarthworkCalcEDO {
public:
    virtual const TVRMCustomLine2d* GetMidLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftWorkingFaceLine() = 0;
    virtual const TVRMCustomLine2d* GetRightWorkingFaceLine() = 0;
    // Section areas (mm²) of the ordinary, wet and frozen earth.
    virtual double GetSectionArea(bool onlyLevel) = 0;
    virtual double GetWetSectionArea(bool onlyLevel) = 0;
    virtual double GetFrozenSectionArea(bool onlyLevel) = 0;
};

// Ditch-like earthwork: ditch earthwork rules.
class IQTKCustomDitchCalcEDO : public virtual IQTKCustomEarthworkCalcEDO {};

// Backfill of any kind (types 43-45): backfill rules.
class IQTKEarthBackfillCalcEDO : public virtual IQTKCustomEarthworkCalcEDO {
public:
    virtual bool HasSlope() = 0;
    virtual bool HasWorkingFace() = 0;
};

// Pit backfill (type 45): backfill rules.
class IQTKPitBackfillCalcEDO : public virtual IQTKEarthBackfillCalcEDO {
public:
    virtual void CalcSlopeWidths(std::vector<double>& widths, double height) = 0;
};

// Excavated backfill (type 43): backfill rules.
class IQTKExcavatedBackfillCalcEDO : public virtual IQTKPitBackfillCalcEDO {};

// Ditch backfill (type 44): backfill rules.
class IQTKDitchBackfillCalcEDO : public virtual IQTKEarthBackfillCalcEDO {
public:
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftWorkingFaceLine() = 0;
    virtual const TVRMCustomLine2d* GetRightWorkingFaceLine() = 0;
};

// Backfill unit (types 87-89): backfill rules.
class IQTKEarthBackfillUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The backfill element that owns the unit.
    virtual RecordRef GetBackfillRecord() = 0;
};

// Room backfill (type 46): backfill rules.
class IQTKRoomBackfillCalcEDO : public virtual IQTKCalculatorEDO {};

// Foundations (rafts, isolated foundations, piles, pile caps and their units)
// keep the calculators, shells and solids their rules store on them with
// shared ownership: a setter or a reset drops the object's reference, and
// what a rule received stays usable for as long as the rule holds it.
// Polygons stay owned by the object.

// Raft foundation (type 48): raft foundation rules.
class IQTKRaftFDCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Stored by the volume rules, or made when quantity 401 or 630 begins.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetFormboardShell() = 0;
    virtual void SetFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    // The plan projection of the raft's solid, made once (again after ClearQtyItems).
    virtual std::shared_ptr<TQTKPlanarCalc2d> GetProjectiveCalc() = 0;
    // The downward, non-vertical faces: level ones as the bottom, the others
    // as the inclined part; made once, together with the bottom union solid.
    virtual std::shared_ptr<TQTKFDBottomAreaShellCalc3d> GetBottomShell() = 0;
    // The bottom union solid (nil until the bottom shell is made or a rule sets it).
    virtual Ref<IQTKPolyhedron3dIntf> GetBottomAreaCalc() = 0;
    // Element ids the rules have handled for this raft: AddHandledId appends
    // and returns the index.
    virtual int AddHandledId(int id) = 0;
    virtual bool IsHandledId(int id) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetVerticalShell() = 0;
    virtual void SetVerticalShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetBevelShell() = 0;
    virtual void SetBevelShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    // The scaffold outline (empty when no foundation scaffold is needed) and
    // the area calculator over it; both made once, kept for the object's life.
    virtual const TVRMMultiPolygon2d* GetScaffoldPolygon() = 0;
    virtual std::shared_ptr<TQTKPlanarCalc2d> GetScaffoldCalc() = 0;
    // The first outline ring grown outward by 500 mm (the ring itself when it
    // cannot be grown): the raft's reach.
    virtual const TVRMMultiPolygon2d* GetExpandedPolygon() = 0;
    virtual void SetBottomAreaCalc(std::unique_ptr<TVRMPolyhedron3d> solid) = 0;
    // Over a copy of the brick mould solid (GetMergedSolid), made once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() = 0;
};

// Strip foundation (type 51): strip foundation rules. Its lines are joined
// along the session's calculation line ("GStripFDCalclineType": 0 its axis,
// 1 the wall on it, 2-4 a section unit) and always lie on its own "Width"
// and "AxisOffset"; IQTKLineEdoInfo.GetWidth / GetAxisOffset answer the
// calculation line's width and axis offset.
class IQTKStripFDCalcEDO : public virtual IQTKHasSectionInfoComplexLineEntCalcEDO {
public:
    // The polygon between the left and right lines (owned by the object).
    virtual const TVRMMultiPolygon2d* GetOutlinePolygon() = 0;
    // The part of the outline between two lines; the caller owns it.
    virtual std::unique_ptr<TVRMMultiPolygon2d> GetOutlinePolygonBetween(const TVRMCustomLine2d& a,
                                                                         const TVRMCustomLine2d& b) = 0;
    // 0 for the foundation's own record; else 1 when this foundation gives way
    // to the other element (IsLineEdoCutBy with Kind as its axis flag), 0 when not.
    virtual int GetJoinType(IRDXRecord* record, bool kind) = 0;
    // Builds the lines, the solid and the units again when the calculation
    // line type changed since they were built (and then the strip foundations
    // joined to it); nothing when it did not.
    virtual void RefreshCalcLine() = 0;
    // Named as the host's line shape names them, these answer the "Height"
    // (left) and the "Width" (right) read at creation, whatever the calculation line.
    virtual double GetLeftWidth() = 0;
    virtual double GetRightWidth() = 0;
    // The wall stands on this foundation: its top above the foundation's, its
    // axis parallel, and the two spans overlapping along the foundation's axis.
    virtual bool CalcWidthsByWalls(IRDXRecord* wall) = 0;
    // The related walls and insulating walls standing on the foundation whose
    // side lines lie on those of the first; empty when one standing on it does not.
    virtual std::vector<Ref<IQTKCustomWallCalcEDO>> GetWallsAbove() = 0;
    // With calculation line 1: a wall standing on the foundation has an external side.
    virtual bool IsWallLineUsable() = 0;
    // More of the middle line lies under outer walls ("InnerOuterFlag" 1) than under others.
    virtual bool IsUnderWalls() = 0;
    // GetCompositeMaterialRank of the foundation's units, read once: the join
    // priority asks it at every comparison. Kept while the object lives (a
    // unit's material level, like every element's, is read once per take-off).
    virtual void GetUnitsMaterialRank(int& rank, bool& allSame) = 0;
};

// Strip foundation unit (type 81): plan-line routines and strip foundation rules.
class IQTKStripFDUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The unit's strip foundation (its parent).
    virtual RecordRef GetStripFDRecord() = 0;
    // A copy of Line moved across onto the unit's line as the foundation's
    // calculation line places it (an arc keeps its centre).
    virtual TVRMCustomLine2d OffsetLineToUnit(const TVRMCustomLine2d& line) = 0;
    // The unit's centre line (owned by the object).
    virtual const TVRMCustomLine2d* GetUnitLine() = 0;
    // Stored by the unit rules (the volume calculator also when quantity 411
    // or 631 begins); nil until set.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) = 0;
    // The polygon between the unit's side lines (owned by the object).
    virtual const TVRMMultiPolygon2d* GetOutlinePolygon() = 0;
    virtual void GetSideLines(TVRMCustomLine2d& left, TVRMCustomLine2d& right) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideFormboardShell() = 0;
    virtual void SetSideFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetHeadFormboardShell() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetBottomShell() = 0;
    virtual void SetBottomShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideShell() = 0;
    virtual void SetSideShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetTopShell() = 0;
    virtual void SetTopShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    // The unit's solid less its related foundation-level elements of a lower material rank, made once.
    virtual Ref<IQTKPolyhedron3dIntf> GetPrioritySolid() = 0;
    // The notch line of a notched section ("SectionTypeID" 2 or 3); nil when there is none.
    virtual const TVRMCustomLine2d* GetSectionLine() = 0;
    // Two lines 10 mm inside the top corners of each raised step of the section.
    virtual std::vector<TVRMCustomLine2d> GetSectionSideLines() = 0;
    // Two lines 10 mm inside the ends of the section's bottom edge.
    virtual std::vector<TVRMCustomLine2d> GetSectionBottomLines() = 0;
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    virtual void SetHeadFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    // The unit's elevation profile along its line: (0, bottom at start),
    // (L, bottom at end), (L, top at end), (0, top at start).
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
    // Over a copy of the brick mould solid (GetMergedSolid), made once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() = 0;
};

// Unit of a composite line element: its composite parent, when it changes.
class IQTKComplexLineEntUnitCalcEDO : public virtual IInterface {
public:
    // Builds the unit's lines, outline and solid again from its composite parent.
    virtual void RebuildFromParent() = 0;
};

// Isolated foundation (type 52): isolated foundation rules.
class IQTKIsolatedFDCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Stored by the foundation height rules; nil until set.
    virtual std::shared_ptr<TVRMPolyhedronLines3d> GetHeightLines() = 0;
    virtual void SetHeightLines(std::shared_ptr<TVRMPolyhedronLines3d> lines) = 0;
    // The scaffold outline (empty when no foundation scaffold is needed) and
    // the area calculator over it; made once, again after FreeCalcCache.
    virtual const TVRMMultiPolygon2d* GetScaffoldPolygon() = 0;
    virtual std::shared_ptr<TQTKPlanarCalc2d> GetScaffoldCalc() = 0;
    // The first outline ring grown outward by 500 mm (the ring itself when it
    // cannot be grown): the foundation's reach; kept for the object's life.
    virtual const TVRMMultiPolygon2d* GetExpandedPolygon() = 0;
};

// Isolated foundation unit (type 82): isolated foundation rules and the column volume rules.
class IQTKIsolatedFDUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Stored by the unit rules (the volume calculator also when quantity 417
    // or 632 begins); nil until set.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetFormboardShell() = 0;
    virtual void SetFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    // A parametric section ("SectionTypeID" 3) of the cup kind.
    virtual bool IsCupulate() = 0;
    // Over a copy of the unit's brick mould solid (GetMergedSolid), made once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() = 0;
    // Face shells stored by the unit area rules; ClearQtyItems forgets them.
    virtual std::shared_ptr<TQTKShellCalc3d> GetBottomShell() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideShell() = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetTopShell() = 0;
    virtual void SetBottomShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual void SetSideShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual void SetTopShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    // The unit's solid less its related foundation-level elements of a lower
    // material rank, made once (again after ClearQtyItems).
    virtual Ref<IQTKPolyhedron3dIntf> GetPrioritySolid() = 0;
};

// Pile (type 54): pile rules.
class IQTKPileCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The pile's plan section, made once: every section deduction takes from
    // this one calculator (again after ClearQtyItems).
    virtual std::shared_ptr<TQTKPlanarCalc2d> GetSectionCalc() = 0;
    // Two separate calculators over the pile's solid: the earth dug for it and its volume.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetEarthSolidCalc() = 0;
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
};

class IQTKPileCapUnitCalcEDO;

// Pile cap (type 53): pile cap rules and its units.
class IQTKPileCapCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Lists a prepared unit by its unit index (equal indexes in arrival order).
    virtual void AddUnit(IQTKPileCapUnitCalcEDO* unit) = 0;
    // The largest perimeter of the cap's unit records' shapes; 0 without units.
    virtual double GetMaxUnitPerimeter() = 0;
    // The range "BottomElev" to "BottomElev" + "Height", made once.
    virtual std::shared_ptr<TVRMNumericalCalc2d> GetHeightCalc() = 0;
};

// Pile cap unit (type 83): pile cap rules.
class IQTKPileCapUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // Over a copy of the unit's solid / of its brick mould solid, made once.
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() = 0;
    // The faces standing at least "PileCapFormboardAngle" ("QTKFDCalcSettings"
    // of the rule context) from straight up, never a face looking straight
    // down; made once. Without a context: an empty shell, not kept.
    virtual std::shared_ptr<TQTKShellCalc3d> GetFormboardShell(const TableSourceRef& ruleContext) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetBottomShell() = 0;
    virtual void SetBottomShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetSideShell() = 0;
    virtual void SetSideShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetTopShell() = 0;
    virtual void SetTopShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    // As the isolated foundation unit's priority solid.
    virtual Ref<IQTKPolyhedron3dIntf> GetPrioritySolid() = 0;
};

// Sump (type 56): sump rules.
class IQTKSumpCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The hole solid, nil when the sump has none.
    virtual const TVRMPolyhedron3d* GetHoleSolid() = 0;
    // The body before the hole is cut; built with the original solid (ask for that first).
    virtual const TVRMPolyhedron3d* GetBodySolid() = 0;
};

// Trench (type 80): trench rules.
class IQTKTrenchCalcEDO : public virtual IQTKHasSectionInfoComplexLineEntCalcEDO {
public:
    // The trench's inner hollow solid (built when the trench is prepared); nil
    // when it has none.
    virtual const TVRMPolyhedron3d* GetHoleSolid() = 0;
    // The trench's whole solid, hollow included (its own solid when it has no hollow).
    virtual const TVRMPolyhedron3d* GetWholeSolid() = 0;
    // Length along the middle line less the other trenches it crosses and
    // the walls across it or closing its ends.
    virtual double GetLength() = 0;
    // The other trench's plan is taken off this one's length.
    virtual bool IsIntersectTrench(IRDXRecord* trench) = 0;
    virtual bool IsConnectedStripFD(IRDXRecord* stripFD) = 0;
    virtual bool IsConnectedWall(IRDXRecord* wall) = 0;
    // Nothing closes the hollow at that end.
    virtual bool IsStartFreeHead() = 0;
    virtual bool IsEndFreeHead() = 0;
    // The largest side-wall thickness ("SectionWidth" of the "Type" 1 units);
    // 0 without side walls. (The line width, GetWidth, is the side walls' extent.)
    virtual double GetSideWallWidth() = 0;
    // The end walls that close the hollow at a free end (built once): the
    // hollow's end face extruded by GetSideWallWidth, its face towards the hollow
    // last and the opposite face second-last; empty at an end that is not free.
    virtual const TVRMPolyhedron3d* GetStartFreeHeadSolid() = 0;
    virtual const TVRMPolyhedron3d* GetEndFreeHeadSolid() = 0;
    // At that end of the centre line: 1 when the trench stands alone there,
    // 2 when it meets exactly one other element, 0 otherwise.
    virtual int GetConnectedTrenches(bool atStart) = 0;
    // A rule added a free head in the current quantity (ClearQtyItems clears it).
    virtual bool IsFreeHeadAdded() = 0;
    virtual void SetFreeHeadAdded(bool value) = 0;
    // GetPlanPolygon: the plan outline over the side walls' extent (the shape outline without side walls).
    // This trench's elevation range encloses the other's and passes it at one end at least.
    virtual bool IsElevOverlapped(IRDXRecord* trench) = 0;
};

// Trench unit: bottom board, side wall or cover board (type 84): trench rules.
class IQTKTrenchUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    virtual const TVRMCustomLine2d* GetUnitLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    virtual RecordRef GetTrenchRecord() = 0;
    // The side wall that carries the trench's free heads: 0 the leftmost
    // (the start free head), 1 the rightmost (the far end's), 2 both (a
    // single such wall); -1 a middle side wall, a bottom board or a cover board.
    virtual int GetFreeHeadKind() = 0;
    // Calculators the unit rules keep (a setter drops what it replaces).
    virtual std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() = 0;
    virtual void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetFormboardShell() = 0;
    virtual void SetFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    virtual std::shared_ptr<TQTKShellCalc3d> GetPlasteringShell() = 0;
    virtual void SetPlasteringShell(std::shared_ptr<TQTKShellCalc3d> shell) = 0;
    // New shells (the caller owns them): the faces plastered towards the
    // hollow; the free-head faces taking formwork or plastering for a kind.
    virtual std::unique_ptr<TVRMPolyhedronShell3d> BuildPlasteringShell() = 0;
    // The unit solid's end faces at the trench ends (a side wall: at connected ends only).
    virtual std::vector<int> GetFreeHeadFaceIndexes() = 0;
    virtual int GetStartFaceIndex() = 0;
    virtual int GetEndFaceIndex() = 0;
    virtual std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadFormboardShell(int kind) = 0;
    virtual std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadPlasteringShell(int kind) = 0;
    // How this unit meets another trench: 0 or 2 (a bottom board; 0 for the others).
    virtual std::uint8_t IsFreeHeadOf(IRDXRecord* trench) = 0;
    // The unit's solid less the hollows of the trenches related to its trench (built once).
    virtual const TVRMPolyhedron3d* GetDeductedSolid() = 0;
};

// Bedding of any shape (type 55): bedding rules.
class IQTKBeddingCalcEDO : public virtual IQTKCalculatorEDO {};

// Bedding under a point element (type 55, point shape): bedding rules.
class IQTKPointBeddingCalcEDO : public virtual IQTKBeddingCalcEDO {};

// Bedding under a face element (type 55, face shape): bedding rules.
class IQTKFaceBeddingCalcEDO : public virtual IQTKBeddingCalcEDO {};

// Bedding under a line element (type 55, line shape): bedding rules.
class IQTKLineBeddingCalcEDO : public virtual IQTKBeddingCalcEDO {
public:
    virtual const TVRMCustomLine2d* GetMidLine() = 0;
    // 1 / cos of the slope between the start and end top elevations; 1.0 when level.
    virtual double GetSlopeFactor() = 0;
};

// Post-cast strip (type 63): post-cast strip rules.
class IQTKPostCastStripCalcEDO : public virtual IQTKLineEntBaseCalcEDO {};

// Ribbon opening (type 9) and the base of the ribbon window: ribbon rules.
class IQTKRibbonOpeningCalcEDO : public virtual IQTKLineEntBaseCalcEDO {
public:
    // The segment's middle, left and right lines of its drawn width (the
    // lines of GetMidLine follow the calculation band); owned by the object.
    virtual const TVRMCustomLine2d* GetCalcMidLine() = 0;
    virtual const TVRMCustomLine2d* GetCalcLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetCalcRightLine() = 0;
    // Cuts the middle, left and right lines at their closest point to Point; dependent geometry is rebuilt.
    virtual void TrimLinesAtPoint(bool atStart, const TVRMPoint2d& point) = 0;
    // The line element of Record is joined at the segment's start (end).
    virtual bool IsConnectedAtStart(IRDXRecord* record) = 0;
    virtual bool IsConnectedAtEnd(IRDXRecord* record) = 0;
    virtual Ref<IQTKRibbonWidthCalculator> GetWidthCalculator() = 0;
    virtual Ref<IQTKRibbonWidthCalculator> GetBottomWidthCalculator() = 0;
    virtual Ref<IQTKRibbonWidthCalculator> GetTopWidthCalculator() = 0;
    virtual Ref<IQTKRibbonHeightCalculator> GetHeightCalculator() = 0;
    // The segment is the one being laid out again (it takes precedence over its neighbours meanwhile).
    virtual bool IsRecalculating() = 0;
    // The segment's outline in a wall's elevation plane (x along the wall line, y elevation); wall may be nil.
    virtual Ref<IQTKSectionPoly> GetSectionPolyOnWall(IRDXRecord* wall) = 0;
};

// Ribbon window (type 8): ribbon window rules.
class IQTKRibbonWinCalcEDO : public virtual IQTKRibbonOpeningCalcEDO {};

// Any opening in a wall (door, window, door-window, opening, alcove): the wall, beam and column deduction rules,
// the face and formwork rules and the opening rules.
class IQTKWallHollowCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The solid the opening cuts its host wall with: the clear opening inside
    // its frame, reaching 3.5 wall widths beyond each face of the wall (the
    // opening's own solid when it has no host wall or a section of its own;
    // empty when the frame fills it). Built once; owned by the object.
    virtual const TVRMPolyhedron3d* GetCutSolid() = 0;
    // The opening's outline in the wall's elevation plane (x along the wall's
    // middle line from its start, y elevation); nil stands for the host wall.
    // Asking again for the same wall gives the same object.
    virtual Ref<IQTKSectionPoly> GetSectionPolyOnWall(IRDXRecord* wall) = 0;
    // The opening's footprint across its host wall (an alcove's: its niche
    // from the wall face). Built once; owned by the object. The opening must
    // have a host wall.
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
};

// Door (type 4): door rules and wall deductions.
class IQTKDoorCalcEDO : public virtual IQTKWallHollowCalcEDO {};

// Window (type 5): window rules and wall deductions.
class IQTKWindowCalcEDO : public virtual IQTKWallHollowCalcEDO {};

// Wall opening (type 7): opening rules and wall deductions.
class IQTKOpeningCalcEDO : public virtual IQTKWallHollowCalcEDO {};

// Alcove (type 13): alcove rules and wall deductions.
class IQTKAlcoveCalcEDO : public virtual IQTKWallHollowCalcEDO {};

// Door-window (type 6): door-window rules and wall deductions.
class IQTKDoorWinCalcEDO : public virtual IQTKWallHollowCalcEDO {};

// Dormer window (type 11): dormer rules.
class IQTKDormerWinCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The dormer is parametric with one of the shapes its rules know (174, 178).
    virtual bool IsSupportedShape() = 0;
    // The id of its parametric shape; -1 when it is not parametric.
    virtual int GetShapeId() = 0;
    // A formula over the shape's parameters, never negative; "BH" (base
    // thickness) and "PDXS" (slope tangent) are supplied when the shape lacks
    // them. 0 when the dormer is not parametric.
    virtual double CalcParamValue(std::string_view formula) = 0;
};

// Courtyard (type 59): courtyard rules.
class IQTKCourtyardCalcEDO : public virtual IQTKCalculatorEDO {
public:
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
};

// Flight of a stair (types 30, 31): stair and flight rules.
class IQTKFlightCalculator : public virtual IQTKCalculatorEDO {};
