// The wall (element type 0): its thickness and the thickness its quantities
// are calculated with (a rule row of internal quantity 2 may rate it), its
// volume and area calculators, the shells of its middle face, side faces and
// external sides, its elevation profile and plan outline, its solid less the
// beams along it, the end faces at its connected ends, what the over-height,
// steel-mesh and formwork rules leave on it, its original-quantity details,
// and its short-limb shear wall kind.
//
// Threads: the calculation thickness is decided under its own lock; what the
// wall builds late is built with no lock held and kept under the data lock,
// the first one kept winning. Stored calculators are shared with the rules.
#pragma once

#include <memory>
#include <mutex>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomWallCalcEDO.h"

class TQTKWallCalcEDO : public TQTKCustomWallCalcEDO, public virtual IQTKWallCalcEDO {
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
    void AddLeftSideFace() override { AddSideFace(true); }
    void AddRightSideFace() override { AddSideFace(false); }
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
    // Material-only calculation and fill-wall overlays are not offered yet:
    // an ordinary wall that no fill wall overlays.
    int GetFillWallOverlayState() override { return 1; }
    int GetOverlayFillWallID(int index) override;
    std::uint8_t GetCalcByOnlyMaterial() override { return 0; }
    int GetOverlayFillWallCount() override { return 0; }
    const TVRMMultiPolygon2d* GetOverlayPolygon(IRDXRecord* /*record*/) override { return nullptr; }

protected:
    ~TQTKWallCalcEDO() override;

private:
    // The calculation thickness, decided first (with the session's rule
    // context) when undecided, so no factor is built from -1.
    int DecidedCalcThickness();
    std::unique_ptr<TVRMPolyhedron3d> CopyOfOriginal();
    bool IsArcAxis();
    void AddSideFace(bool left);
    template <class T, class Build>
    const T* KeepOwned(std::shared_ptr<T>& slot, Build&& build);

    int thickness_ = 0;
    int typeLevel_ = 0;
    std::uint8_t shortArmKind_ = 5;
    int calcThickness_ = -1;
    std::mutex calcThicknessLock_;

    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_, areaCalc_;
    std::shared_ptr<TQTKShellCalc3d> midFaceCalc_, sideFaceCalc_, externalSideCalc_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboard_;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolume_;
    std::shared_ptr<TFloatList> overhighValues_;
    std::shared_ptr<TQTKWallSteelMeshCalcContnr> steelMesh_;
    std::unique_ptr<TVRMPolyhedronShell3d> sideFaceShell_;
    bool leftFaceAdded_ = false, rightFaceAdded_ = false;
    // The end faces have joined the side-face shell (they are appended once).
    bool endFacesAdded_ = false;
    std::shared_ptr<TVRMPolygon2d> planOutline_;
    std::shared_ptr<TVRMMultiPolygon2d> profile_;
    std::shared_ptr<TVRMPolyhedron3d> deductedSolid_;
};
