// The wall (element type 0): its thickness and the thickness its quantities
// are calculated with (a rule row of internal quantity 2 may rate it), its
// volume and area calculators, the shells of its middle face, side faces and
// external sides, its elevation profile and plan outline, its solid less the
// beams along it, the end faces at its connected ends, what the over-height,
// steel-mesh and formwork rules leave on it, its original-quantity details,
// and its short-limb shear wall kind.
//
// Material-only calculation and the fill-wall overlay: a rule may switch the
// wall to material-only mode, where it takes its lines and solid from the
// material-only middle-line calculator; a fill wall that actually lies in a
// parallel wall reports overlay state 2, and the concrete wall it lies in
// gives its solid without such fill walls and their ids.
//
// Threads: the calculation thickness, the overlay state and the solid without
// overlaying fill walls are decided under their own locks; what the
// wall builds late is built with no lock held and kept under the data lock,
// the first one kept winning. Stored calculators are shared with the rules.
#pragma once

#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomWallCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKPierFormboardMemo.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSideFaceShell.h"

class TQTKWallCalcEDO : public TQTKCustomWallCalcEDO,
                        public virtual IQTKWallCalcEDO,
                        public virtual IQTKOverhighCalcHolder,
                        public IQTKPierFormboardHolder {
public:
    TQTKWallCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    void ResetForQty(IRDXRecord* qtyRecord) override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // IQTKWallCalcEDO
    int GetCalcThickness() override;
    int CalcInternalQtyThickness(const TableSourceRef& ruleContext) override;
    std::shared_ptr<TQTKWallSteelMeshCalcContnr> GetSteelMeshCalcContnr() override { return Kept(steelMesh_); }
    void AddLeftSideFace() override { sideFaces_.AddSide(true, SideFaceMaker()); }
    void AddRightSideFace() override { sideFaces_.AddSide(false, SideFaceMaker()); }
    void SetCalcThickness(int value) override;
    void SetSteelMeshCalcContnr(std::shared_ptr<TQTKWallSteelMeshCalcContnr> contnr) override
    {
        Keep(steelMesh_, std::move(contnr));
    }
    void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) override
    {
        Keep(overhighFormboard_, std::move(calc));
    }
    void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) override
    {
        Keep(overhighVolume_, std::move(calc));
    }
    void SetOverhighValueList(std::shared_ptr<TFloatList> list) override { Keep(overhighValues_, std::move(list)); }
    TQTKOverhighCalcSet GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build) override
    {
        return GetOrBuildOverhighSetOf(*this, build);
    }
    const TVRMPolygon2d* GetPlanOutline() override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;
    std::shared_ptr<TQTKSolidCalc3d> GetAreaCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetMidFaceShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() override;
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() override { return Kept(overhighVolume_); }
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() override { return Kept(overhighFormboard_); }
    std::shared_ptr<TQTKShellCalc3d> GetExternalSideShellCalc() override;
    const TVRMMultiPolygon2d* GetProfilePolygon() override;
    std::shared_ptr<TFloatList> GetOverhighValueList() override { return Kept(overhighValues_); }
    const TVRMCustomLine2d* GetWallMidLine() override { return GetMidLine(); }
    double GetConnectedEndFaceArea() override;
    TVRMPolyhedronShell3d* GetSideFaceShell() override;
    int GetThickness() override { return thickness_; }
    int GetTypeDictValue() override { return typeLevel_; }
    const TVRMPolyhedron3d* GetDeductedSolid() override;
    std::uint8_t GetShortArmShearWallType() override;
    void SetShortArmShearWallType(std::uint8_t value) override;
    bool IsShortArmShearWallTypeAuto() override { return GetShortArmShearWallFlag() == 0; }
    std::uint8_t GetShortArmShearWallFlag() override;
    // 1 not an overlaying fill wall, 2 a fill wall that actually lies in a
    // parallel wall; decided once under its own lock.
    int GetFillWallOverlayState() override;
    int GetOverlayFillWallID(int index) override;
    int GetOverlayFillWallCount() override;
    // Built per record asked for (each answer stays valid until FreeCalcCache).
    const TVRMMultiPolygon2d* GetOverlayPolygon(IRDXRecord* record) override;
    const TVRMPolyhedron3d* GetSolidWithoutOverlayFillWalls() override;
    std::uint8_t GetCalcByOnlyMaterial() override { return onlyMaterialMode_.load(); }
    void SetCalcByOnlyMaterial(std::uint8_t value) override { onlyMaterialMode_.store(value); }
    const TVRMCustomLine2d* GetOnlyMaterialMidLine() override { return OnlyMaterialLine(onlyMaterialMid_); }
    void SetOnlyMaterialMidLine(std::unique_ptr<TVRMCustomLine2d> line) override
    {
        Keep(onlyMaterialMid_, std::shared_ptr<TVRMCustomLine2d>(std::move(line)));
    }
    const TVRMCustomLine2d* GetOnlyMaterialLeftLine() override { return OnlyMaterialLine(onlyMaterialLeft_); }
    void SetOnlyMaterialLeftLine(std::unique_ptr<TVRMCustomLine2d> line) override
    {
        Keep(onlyMaterialLeft_, std::shared_ptr<TVRMCustomLine2d>(std::move(line)));
    }
    const TVRMCustomLine2d* GetOnlyMaterialRightLine() override { return OnlyMaterialLine(onlyMaterialRight_); }
    void SetOnlyMaterialRightLine(std::unique_ptr<TVRMCustomLine2d> line) override
    {
        Keep(onlyMaterialRight_, std::shared_ptr<TVRMCustomLine2d>(std::move(line)));
    }
    const TVRMCustomLine2d* GetOnlyMaterialExtendedMidLine() override;
    std::unique_ptr<TVRMPolyhedron3d> BuildOnlyMaterialSolid() override;
    const TVRMMultiPolygon2d* GetOnlyMaterialPolygon() override;
    const TVRMPolyhedron3d* GetOnlyMaterialSolid() override;
    void SetOnlyMaterialSolid(std::unique_ptr<TVRMPolyhedron3d> solid) override;
    void CalcOnlyMaterialSolid() override;
    // The material-only end faces (-1 until the material-only solid is computed).
    int GetOnlyMaterialStartFaceIndex() const { return onlyMaterialStartFace_.load(); }
    int GetOnlyMaterialEndFaceIndex() const { return onlyMaterialEndFace_.load(); }

    // Material-only mode: walls of a qualifying material join as equals.
    TEdoCompareFunc GetPriorityCompareFunc() override;

    // IQTKPierFormboardHolder
    bool FindPierFormboard(IRDXRecord* pier, double& area) override { return pierFormboard_.Find(pier, area); }
    void KeepPierFormboard(IRDXRecord* pier, double area) override { pierFormboard_.Keep(pier, area); }

protected:
    ~TQTKWallCalcEDO() override;

private:
    // The calculation thickness, decided first (with the session's rule
    // context) when undecided, so no factor is built from -1.
    int DecidedCalcThickness();
    std::unique_ptr<TVRMPolyhedron3d> CopyOfOriginal();
    bool IsArcAxis();
    // Builds the side face on the left (right) line; none without a line shape.
    TQTKSideFaceShell::TMakeSideFace SideFaceMaker();
    template <class T, class Build>
    const T* KeepOwned(std::shared_ptr<T>& slot, Build&& build);

    // Builds the three material-only lines when Slot's line is absent.
    const TVRMCustomLine2d* OnlyMaterialLine(std::shared_ptr<TVRMCustomLine2d>& slot);
    // The solid for the volume, area and middle-face calculators: the
    // material-only one in material-only mode, else the original.
    std::unique_ptr<TVRMPolyhedron3d> CopyOfCalcSolid();
    void BuildSolidWithoutOverlayFillWalls();

    int thickness_ = 0;
    int typeLevel_ = 0;
    std::uint8_t shortArmKind_ = 5;
    int calcThickness_ = -1;
    std::mutex calcThicknessLock_;

    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_, areaCalc_;
    std::shared_ptr<TQTKShellCalc3d> midFaceCalc_, externalSideCalc_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboard_;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolume_;
    std::shared_ptr<TFloatList> overhighValues_;
    std::shared_ptr<TQTKWallSteelMeshCalcContnr> steelMesh_;
    TQTKSideFaceShell sideFaces_;
    TQTKPierFormboardMemo pierFormboard_;
    std::shared_ptr<TVRMPolygon2d> planOutline_;
    std::shared_ptr<TVRMMultiPolygon2d> profile_;
    std::shared_ptr<TVRMPolyhedron3d> deductedSolid_;

    // Material-only calculation.
    std::atomic<std::uint8_t> onlyMaterialMode_{0};
    std::shared_ptr<TVRMCustomLine2d> onlyMaterialMid_, onlyMaterialLeft_, onlyMaterialRight_;
    std::shared_ptr<TVRMCustomLine2d> onlyMaterialExtendedMid_;
    std::shared_ptr<TVRMMultiPolygon2d> onlyMaterialPolygon_;
    std::shared_ptr<TVRMPolyhedron3d> onlyMaterialSolid_;
    std::atomic<int> onlyMaterialStartFace_{-1}, onlyMaterialEndFace_{-1};

    // Fill-wall overlay.
    std::atomic<int> overlayState_{0};  // 0 undecided
    std::mutex overlayStateLock_;
    std::mutex overlaySolidLock_;
    std::atomic<bool> overlaySolidBuilt_{false};
    std::shared_ptr<TVRMPolyhedron3d> solidWithoutOverlays_;
    std::vector<int> overlayIds_;  // index keys of the fill walls overlaying this wall
    std::map<int, std::shared_ptr<TVRMMultiPolygon2d>> overlayPolygons_;  // by record id
};
