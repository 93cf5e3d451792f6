// Shared value holders and the interfaces of the calculation element objects.
//
// A calculation element object is the library's companion of one host
// element (Calculator/CalcFrame/QTKCalcEDOs). Rules reach it as
// IQTKCalculatorEDO and cast it to its family interface (RefCast /
// Supports); every family interface is declared here with its identity and
// parent, and its own operations as the families land. Returned lines,
// polygons and solids stay owned by the element object unless said otherwise.
#pragma once

#include <bitset>
#include <cstdint>
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
struct TVRMPoint2d;
class IQTKElementDrawObj;
class TQTKRelationPolyhedronItem;
class TQTKOriginalPolyhedronItem;
class TQTKFinishHalfBlockPolyhedronItem;
class TQTKFinishExtendOriginalPolyhedronItem;
class TQTKExtendPolyhedronItem;
class TQTKOutWallFaceCalc;

// Element records handed out by the related-element queries.
using TRecordList = std::vector<RecordRef>;
// A set of element type ids 0..255.
using TQTKElementTypeSet = std::bitset<256>;
TQTKElementTypeSet MakeElementTypeSet(std::initializer_list<int> typeIds);

// ---------------------------------------------------------------------------
// Geometry holders: let a host polygon set or polyhedron travel as a counted
// interface, so caches, element objects and rules share one geometry.

inline constexpr TGUID IID_IQTKSectionPoly = "{863BBA16-DC34-41F3-8F96-60544804A92E}";
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

inline constexpr TGUID IID_IQTKPolyhedron3dIntf = "{E6587977-21E5-4C7E-B69A-33940548005F}";
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

inline constexpr TGUID IID_IQTKCalculatorEDO = "{8E8D6C45-85F8-4E52-A6E4-CB0B7AA375DD}";
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

inline constexpr TGUID IID_IQTKRibbonWidthCalculator = "{3FD57543-E317-4A9C-AB8B-0FE88B59C1E0}";
class IQTKRibbonWidthCalculator : public virtual IInterface {
public:
    // Marks what Polygon covers of the segments' middle lines; returns the
    // decrease of the total null length.
    virtual double DeductPolygon(const TVRMMultiPolygon2d* polygon, const TVRMPolyhedron3d* solid,
                                 IRDXRecord* record) = 0;
    virtual RecordRef GetRecord() = 0;
};

inline constexpr TGUID IID_IQTKRibbonHeightCalculator = "{67C63DDB-8757-4152-9165-A2CCCAB2EE2A}";
class IQTKRibbonHeightCalculator : public virtual IInterface {
public:
    virtual double GetSecondEndNullLength() = 0;
    virtual double GetFirstEndNullLength() = 0;
    virtual void DeductSolid(const TVRMPolyhedron3d* solid, IRDXRecord* record) = 0;
};

// ---------------------------------------------------------------------------
// Element families, each with its identity and parent.

inline constexpr TGUID IID_IQTKLineEntBaseCalcEDO = "{1FE4D04A-6049-4DDD-BFFE-164F8694D07B}";
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
};

inline constexpr TGUID IID_IQTKHasSectionInfoWithLengthRateCalcEDO = "{2E3F4764-2680-4538-A03C-1208834E742E}";
class IQTKHasSectionInfoWithLengthRateCalcEDO : public virtual IQTKLineEntBaseCalcEDO {};

inline constexpr TGUID IID_IQTKHasSectionInfoComplexLineEntCalcEDO = "{1B268932-B672-4E3B-97BE-623BB4ABF733}";
class IQTKHasSectionInfoComplexLineEntCalcEDO : public virtual IQTKLineEntBaseCalcEDO {};

inline constexpr TGUID IID_IQTKExtendableCalcEdo = "{4FFBA5FC-318E-4389-9083-E571E9C58C5B}";
class IQTKExtendableCalcEdo : public virtual IInterface {
public:
    // Called by the extended-solid cache when it frees the object's item; forgets it when it is the one held.
    virtual void ReleaseExtendItem(const TQTKExtendPolyhedronItem* item) = 0;
};

inline constexpr TGUID IID_IQTKCustomWallCalcEDO = "{179FCC3E-9369-40F7-99EA-3448DCCA307B}";
class IQTKCustomWallCalcEDO : public virtual IQTKLineEntBaseCalcEDO {};

inline constexpr TGUID IID_IQTKWallCalcEDO = "{82BAC0B4-D39A-40E9-AA35-225BD807B8DD}";
class IQTKWallCalcEDO : public virtual IQTKCustomWallCalcEDO {
public:
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
};

inline constexpr TGUID IID_IQTKInsulatingWallCalcEDO = "{B1FC0194-A6C2-4E59-8C64-6ACBB23327EF}";
class IQTKInsulatingWallCalcEDO : public virtual IQTKCustomWallCalcEDO {};

inline constexpr TGUID IID_IQTKInsulatingWallUnitCalcEDO = "{A5700B53-FF87-472D-9498-370F652A276C}";
class IQTKInsulatingWallUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The unit's middle line, laid out by its wall (owned by the unit).
    virtual const TVRMCustomLine2d* GetMidLine() = 0;
};

inline constexpr TGUID IID_IQTKParapetCalcEDO = "{DA5FE96F-CD08-4B1E-8784-7B808FF14890}";
class IQTKParapetCalcEDO : public virtual IQTKLineEntBaseCalcEDO {};

inline constexpr TGUID IID_IQTKBeamCalcEDO = "{51BFED69-84E9-4EE9-952A-18FB6272ECD4}";
class IQTKBeamCalcEDO : public virtual IQTKHasSectionInfoWithLengthRateCalcEDO {};

inline constexpr TGUID IID_IQTKTieBeamCalculator = "{DE24E80D-E23B-4284-882A-520C7679FEA0}";
class IQTKTieBeamCalculator : public virtual IQTKBeamCalcEDO {};

inline constexpr TGUID IID_IQTKFDBeamCalcEDO = "{3AA6F6D3-8A0A-4B39-A0F5-FA017986AB92}";
class IQTKFDBeamCalcEDO : public virtual IQTKBeamCalcEDO {};

inline constexpr TGUID IID_IQTKLintelCalcEDO = "{38159FB4-E67D-48EA-BC3A-3D9B5BC2A29A}";
class IQTKLintelCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The lintel's section polygon (x across the lintel, y up), built once
    // (owned by the object).
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
};

inline constexpr TGUID IID_IQTKColumnCalculatorEDO = "{597B9A20-0B0A-4897-A8E7-D815C663D79A}";
class IQTKColumnCalculatorEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKTieColumnCalculatorEDO = "{02901BC5-D35B-49EE-AC53-F6101F02C643}";
class IQTKTieColumnCalculatorEDO : public virtual IQTKColumnCalculatorEDO {};

inline constexpr TGUID IID_IQTKColumnBaseCalculatorEDO = "{8B6CB75A-6592-4978-8147-15FD3749596C}";
class IQTKColumnBaseCalculatorEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKColumnCapCalculatorEDO = "{591EACEB-DDB0-4883-B958-A8ECFD4D5F6F}";
class IQTKColumnCapCalculatorEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKPierCalcEDO = "{92ABCB44-3CBA-494D-AC13-9D99DFDC566A}";
class IQTKPierCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKSlabCalculator = "{3E401FD4-4D48-42A0-99EF-BDB39D03CFB2}";
class IQTKSlabCalculator : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKSlabHoleCalcEDO = "{9C150C21-4458-421B-9D71-9AE81876C1AE}";
class IQTKSlabHoleCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKStairCalculator = "{69AE1A9F-0C93-47BF-AB8A-A94DAF7A26BC}";
class IQTKStairCalculator : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKAttachWallFaceEntBaseCalcEDO = "{F122BADF-7399-421B-8855-A19FD74D1C88}";
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
};

inline constexpr TGUID IID_IQTKCopingCalcEDO = "{381D6AFA-3725-4704-A59D-4733B9FB0036}";
class IQTKCopingCalcEDO : public virtual IQTKHasSectionInfoWithLengthRateCalcEDO {};

inline constexpr TGUID IID_IQTKCustomLineCalcEDO = "{55848087-DB8B-47F3-A38C-BB4157AD3829}";
class IQTKCustomLineCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKCustomFaceCalcEDO = "{6D9032FB-2AEE-4739-ACA7-E7A7551B3A2A}";
class IQTKCustomFaceCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKCustomPointCalcEDO = "{9534BCE9-A3ED-4BDC-AD29-9D368380B63C}";
class IQTKCustomPointCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKSiteLevelingCalcEDO = "{2F2106DE-AD24-4920-8FE0-4DD419AD3DC0}";
class IQTKSiteLevelingCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKApronCalcEDO = "{7FC5D258-2B2C-469D-A1FA-6D7BFD759779}";
class IQTKApronCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKFloorAreaCalcEDO = "{CF183000-A47E-43CE-A7E0-D209E8814E7D}";
class IQTKFloorAreaCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKEaveAndCanopyCalcEDO = "{6EC0180F-CBFE-4387-B164-65F319C7DABE}";
class IQTKEaveAndCanopyCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKEaveLineCalcEDO = "{D06C03E2-5100-4427-98B1-87B6E461F367}";
class IQTKEaveLineCalcEDO : public virtual IQTKLineEntBaseCalcEDO {};

inline constexpr TGUID IID_IQTKRoofCalcEDO = "{91D554DE-6345-4BA7-AC72-9F592E55343A}";
class IQTKRoofCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKBalconyAndSwingWinCalcEDO = "{9FB00BAC-A2A4-4E99-AE7D-9164874B074C}";
class IQTKBalconyAndSwingWinCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKWallAttachCalcEDO = "{7DC1C4A7-38FE-4871-8F6F-99E6E37D0217}";
class IQTKWallAttachCalcEDO : public virtual IQTKAttachWallFaceEntBaseCalcEDO {
public:
    // Bottom elevations of the plastering and block layers at a plan point.
    virtual double GetPlasteringBottomElevAt(const TVRMPoint2d& point) = 0;
    virtual double GetBlockBottomElevAt(const TVRMPoint2d& point) = 0;
    // Original face polygons in the wall's elevation plane; with nil, the cached ones.
    virtual Ref<IQTKSectionPoly> GetPlasteringOriginalPolygon(IRDXRecord* record) = 0;
    virtual Ref<IQTKSectionPoly> GetBlockOriginalPolygon(IRDXRecord* record) = 0;
};

inline constexpr TGUID IID_IQTKFaceFinishCalcEDO = "{C8688F15-08C9-4D51-998E-286D554A5FE7}";
class IQTKFaceFinishCalcEDO : public virtual IQTKWallAttachCalcEDO {};

inline constexpr TGUID IID_IQTKSkirtCalcEDO = "{4EBA69FE-4096-4324-9D1C-8866CAADA624}";
class IQTKSkirtCalcEDO : public virtual IQTKAttachWallFaceEntBaseCalcEDO {};

inline constexpr TGUID IID_IQTKInsulatingLayerCalcEDO = "{B8B21EB0-FAF4-4113-B382-7BD8E4216BC8}";
class IQTKInsulatingLayerCalcEDO : public virtual IQTKAttachWallFaceEntBaseCalcEDO {
public:
    // Column (beam) face groups standing out of the layer, created on demand (owned by the layer).
    virtual TQTKOutWallFaceCalc* GetOutWallColumnCalc() = 0;
    virtual TQTKOutWallFaceCalc* GetOutWallBeamCalc() = 0;
};

inline constexpr TGUID IID_IQTKRoomHorizonCalcEDO = "{A4E7D659-A704-4609-A6C5-EE228537C990}";
class IQTKRoomHorizonCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKIsolateColumnFinishCalcEDO = "{1E1335BB-5236-46DE-B730-6A9CF08AD475}";
class IQTKIsolateColumnFinishCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKHungCeilingCalcEDO = "{B43FB628-8BB7-40CE-B89C-9B98064F0FD6}";
class IQTKHungCeilingCalcEDO : public virtual IQTKCalculatorEDO {
public:
    virtual double GetElevation() = 0;
};

inline constexpr TGUID IID_IQTKCalcSettingAffectedCalcEDO = "{F943609D-8C35-4B90-BCDE-1FC1561805EF}";
class IQTKCalcSettingAffectedCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKCustomEarthworkCalcEDO = "{A92E8D77-DBA5-4C81-BE5D-99224C295F1E}";
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

inline constexpr TGUID IID_IQTKEarthworkCalcEDO = "{4FC4ED18-52A2-4300-AAF2-29FD4482D099}";
class IQTKEarthworkCalcEDO : public virtual IQTKCustomEarthworkCalcEDO {
public:
    virtual bool HasWorkingFace() = 0;
    virtual bool HasSlope() = 0;
    virtual bool IsLevelBottom() = 0;
};

inline constexpr TGUID IID_IQTKPitEarthCalcEDO = "{BDEBC6AD-6CD5-4218-88E5-98D3501A8FC3}";
class IQTKPitEarthCalcEDO : public virtual IQTKEarthworkCalcEDO {
public:
    virtual const TVRMMultiPolygon2d* GetSlopeBottomPolygon() = 0;
    // Per-edge slope widths of the outline for a height above the bottom, in edge order.
    virtual void GetSlopeWidths(std::vector<double>& widths, double height) = 0;
};

inline constexpr TGUID IID_IQTKExcavatedEarthCalcEDO = "{898D3150-6989-425F-BB35-4A37CCCD22A4}";
class IQTKExcavatedEarthCalcEDO : public virtual IQTKPitEarthCalcEDO {};

inline constexpr TGUID IID_IQTKDitchEarthCalcEDO = "{577EDABF-5951-4957-A503-FBD1A94EA54F}";
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

inline constexpr TGUID IID_IQTKCustomDitchCalcEDO = "{DF8C74C6-3A98-4F09-B034-6BC3576C88D3}";
class IQTKCustomDitchCalcEDO : public virtual IQTKCustomEarthworkCalcEDO {};

inline constexpr TGUID IID_IQTKEarthBackfillCalcEDO = "{401B0236-029E-4AF1-B5F1-C1552B3152AD}";
class IQTKEarthBackfillCalcEDO : public virtual IQTKCustomEarthworkCalcEDO {
public:
    virtual bool HasSlope() = 0;
    virtual bool HasWorkingFace() = 0;
};

inline constexpr TGUID IID_IQTKPitBackfillCalcEDO = "{B23394CB-E676-410B-BCAE-955E72819901}";
class IQTKPitBackfillCalcEDO : public virtual IQTKEarthBackfillCalcEDO {
public:
    virtual void CalcSlopeWidths(std::vector<double>& widths, double height) = 0;
};

inline constexpr TGUID IID_IQTKExcavatedBackfillCalcEDO = "{B9963C1B-E17A-42CE-BD94-9BA275E83EF4}";
class IQTKExcavatedBackfillCalcEDO : public virtual IQTKPitBackfillCalcEDO {};

inline constexpr TGUID IID_IQTKDitchBackfillCalcEDO = "{4DF2F708-20D4-4AB3-873B-39F603CC07FE}";
class IQTKDitchBackfillCalcEDO : public virtual IQTKEarthBackfillCalcEDO {
public:
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftWorkingFaceLine() = 0;
    virtual const TVRMCustomLine2d* GetRightWorkingFaceLine() = 0;
};

inline constexpr TGUID IID_IQTKEarthBackfillUnitCalcEDO = "{9776C131-6FEC-4811-AE2D-B0CDB1A999CC}";
class IQTKEarthBackfillUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The backfill element that owns the unit.
    virtual RecordRef GetBackfillRecord() = 0;
};

inline constexpr TGUID IID_IQTKRoomBackfillCalcEDO = "{6A5906DD-F8FA-4153-AEC0-C5A29B174287}";
class IQTKRoomBackfillCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKRaftFDCalcEDO = "{9F6CDD1D-995E-4D35-AADD-37AC062BACDE}";
class IQTKRaftFDCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKStripFDCalcEDO = "{12B31F5B-BFC9-4AD6-B00B-D394270F1AA8}";
class IQTKStripFDCalcEDO : public virtual IQTKHasSectionInfoComplexLineEntCalcEDO {};

inline constexpr TGUID IID_IQTKStripFDUnitCalcEDO = "{2E1817E4-52B8-4832-8A7C-D0CFEC36C0EB}";
class IQTKStripFDUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    virtual const TVRMCustomLine2d* GetUnitLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
};

inline constexpr TGUID IID_IQTKComplexLineEntUnitCalcEDO = "{10AB3B39-C84B-4015-A868-1DDB88B77A68}";
class IQTKComplexLineEntUnitCalcEDO : public virtual IInterface {
public:
    // Builds the unit's lines, outline and solid again from its composite parent.
    virtual void RebuildFromParent() = 0;
};

inline constexpr TGUID IID_IQTKIsolatedFDCalcEDO = "{75C07FE4-37DD-4FEC-885E-026477BD36DC}";
class IQTKIsolatedFDCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKIsolatedFDUnitCalcEDO = "{86D31533-C65C-4A03-B5A7-A36CCC13744A}";
class IQTKIsolatedFDUnitCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKPileCalcEDO = "{88C205BE-7B70-4DFB-BC9D-D067AE533F7D}";
class IQTKPileCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKPileCapCalcEDO = "{9A2662B9-1EF6-4464-B42D-4871D1BBA6D5}";
class IQTKPileCapCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKPileCapUnitCalcEDO = "{53475FFF-A2F5-438D-82DD-E663E1E5E4CB}";
class IQTKPileCapUnitCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKSumpCalcEDO = "{E788648F-7D61-43A6-817B-EEA13CE0B47E}";
class IQTKSumpCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The hole solid, nil when the sump has none.
    virtual const TVRMPolyhedron3d* GetHoleSolid() = 0;
    // The body before the hole is cut; built with the original solid (ask for that first).
    virtual const TVRMPolyhedron3d* GetBodySolid() = 0;
};

inline constexpr TGUID IID_IQTKTrenchCalcEDO = "{A690C011-5C6C-4DBC-AD99-7F01CA4A719B}";
class IQTKTrenchCalcEDO : public virtual IQTKHasSectionInfoComplexLineEntCalcEDO {
public:
    // The trench's inner hollow solid, nil when it has none.
    virtual const TVRMPolyhedron3d* GetHoleSolid() = 0;
};

inline constexpr TGUID IID_IQTKTrenchUnitCalcEDO = "{8A44C488-2D0C-4499-AE13-310B451F8C8F}";
class IQTKTrenchUnitCalcEDO : public virtual IQTKCalculatorEDO {
public:
    virtual const TVRMCustomLine2d* GetUnitLine() = 0;
    virtual const TVRMCustomLine2d* GetLeftLine() = 0;
    virtual const TVRMCustomLine2d* GetRightLine() = 0;
    virtual RecordRef GetTrenchRecord() = 0;
    // 0 the right line's end is free, 1 the left line's, 2 both; -1 for a cover board.
    virtual int GetFreeHeadKind() = 0;
};

inline constexpr TGUID IID_IQTKBeddingCalcEDO = "{96EAEA3E-244B-4453-81E3-76106EF9DDAE}";
class IQTKBeddingCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKPointBeddingCalcEDO = "{74B3CD9A-D341-4540-B42F-E7711A5CA17F}";
class IQTKPointBeddingCalcEDO : public virtual IQTKBeddingCalcEDO {};

inline constexpr TGUID IID_IQTKFaceBeddingCalcEDO = "{A54A1D3A-0E82-4721-853C-87A441F229FE}";
class IQTKFaceBeddingCalcEDO : public virtual IQTKBeddingCalcEDO {};

inline constexpr TGUID IID_IQTKLineBeddingCalcEDO = "{59880060-7D6E-455E-B468-26BBCE4E0605}";
class IQTKLineBeddingCalcEDO : public virtual IQTKBeddingCalcEDO {
public:
    virtual const TVRMCustomLine2d* GetMidLine() = 0;
    // 1 / cos of the slope between the start and end top elevations; 1.0 when level.
    virtual double GetSlopeFactor() = 0;
};

inline constexpr TGUID IID_IQTKPostCastStripCalcEDO = "{3D822108-3D52-4E11-A2AB-D29069B99888}";
class IQTKPostCastStripCalcEDO : public virtual IQTKLineEntBaseCalcEDO {};

inline constexpr TGUID IID_IQTKRibbonOpeningCalcEDO = "{62F8A3EE-789B-4061-8B4D-95C6F29A0FF1}";
class IQTKRibbonOpeningCalcEDO : public virtual IQTKLineEntBaseCalcEDO {
public:
    // The segment's calculation middle line (owned by the object).
    virtual const TVRMCustomLine2d* GetCalcMidLine() = 0;
    // Cuts the middle, left and right lines at their closest point to Point; dependent geometry is rebuilt.
    virtual void TrimLinesAtPoint(bool atStart, const TVRMPoint2d& point) = 0;
    // The line element of Record is joined at the segment's start (end).
    virtual bool IsConnectedAtStart(IRDXRecord* record) = 0;
    virtual bool IsConnectedAtEnd(IRDXRecord* record) = 0;
    virtual Ref<IQTKRibbonWidthCalculator> GetWidthCalculator() = 0;
    virtual Ref<IQTKRibbonWidthCalculator> GetBottomWidthCalculator() = 0;
    virtual Ref<IQTKRibbonWidthCalculator> GetTopWidthCalculator() = 0;
    virtual Ref<IQTKRibbonHeightCalculator> GetHeightCalculator() = 0;
};

inline constexpr TGUID IID_IQTKRibbonWinCalcEDO = "{7D5992A1-31CC-4549-AE0A-BBBE460F3043}";
class IQTKRibbonWinCalcEDO : public virtual IQTKRibbonOpeningCalcEDO {};

inline constexpr TGUID IID_IQTKWallHollowCalcEDO = "{02E684FD-842C-4943-8D7E-D1EEB303F1A1}";
class IQTKWallHollowCalcEDO : public virtual IQTKCalculatorEDO {
public:
    // The opening's outline in the wall's elevation plane (x along the wall line, y elevation); wall may be nil.
    virtual Ref<IQTKSectionPoly> GetSectionPolyOnWall(IRDXRecord* wall) = 0;
};

inline constexpr TGUID IID_IQTKDoorCalcEDO = "{8C8DE8B7-51E4-4BC4-AC64-238BDB700370}";
class IQTKDoorCalcEDO : public virtual IQTKWallHollowCalcEDO {};

inline constexpr TGUID IID_IQTKWindowCalcEDO = "{DD0FB3EA-F0B8-486C-9072-745C5C9BE3F1}";
class IQTKWindowCalcEDO : public virtual IQTKWallHollowCalcEDO {};

inline constexpr TGUID IID_IQTKOpeningCalcEDO = "{CFA63832-71AD-45B4-BA66-398CDD69CB67}";
class IQTKOpeningCalcEDO : public virtual IQTKWallHollowCalcEDO {};

inline constexpr TGUID IID_IQTKAlcoveCalcEDO = "{C9E8D144-A88F-4E8C-8089-368CBFEF3CDF}";
class IQTKAlcoveCalcEDO : public virtual IQTKWallHollowCalcEDO {};

inline constexpr TGUID IID_IQTKDoorWinCalcEDO = "{B3EEAA10-6DF6-47A6-9BD9-173E24F2D956}";
class IQTKDoorWinCalcEDO : public virtual IQTKWallHollowCalcEDO {};

inline constexpr TGUID IID_IQTKDormerWinCalcEDO = "{DA8C5281-7051-49C0-86D4-D61CB1778862}";
class IQTKDormerWinCalcEDO : public virtual IQTKCalculatorEDO {};

inline constexpr TGUID IID_IQTKCourtyardCalcEDO = "{F2411F16-8952-4BB4-AF66-FB4D464354E7}";
class IQTKCourtyardCalcEDO : public virtual IQTKCalculatorEDO {
public:
    virtual const TVRMMultiPolygon2d* GetPlanPolygon() = 0;
};

inline constexpr TGUID IID_IQTKFlightCalculator = "{1C56C0B9-4884-4DD2-A9EC-59690E15AFC4}";
class IQTKFlightCalculator : public virtual IQTKCalculatorEDO {};
