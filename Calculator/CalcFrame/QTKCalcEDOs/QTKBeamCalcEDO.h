// The element object of beams (types 15 and 17; the tie beam and the
// foundation beam derive from it): the beam's faces sorted into sides, bottom,
// top and ends against the formwork angle and the beam's slope, the formwork
// shell the rules fill face group by face group, finish side areas, the
// volume, side-face, brick-mould and formwork calculators, deduct lines, band
// solids, the haunch-free solid of a haunched beam with the haunches'
// formwork, and the beam's projection on a parallel wall.
//
// Everything is built on first request and kept until FreeCalcCache. The
// calculation state is guarded by the object's own lock, which is never held
// while the beam builds its lines or solid; the projection has its own lock.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"
#include "Calculator/Common/QTKFloatList.h"
#include "Host/QTKCommon/QTKDeductPolyhedronLines.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/Runtime/VRMThreadSyncUtils.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

class TQTKBeamCalcEDO : public TQTKHasSectionInfoLineEntCalcEDO,
                        public virtual IQTKBeamCalcEDO,
                        public virtual IQTKOverhighCalcHolder {
public:
    TQTKBeamCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;
    // The brick mould: walls "BrickMoldThickness" thick against both sides,
    // ended where the beam's faces end; empty without part solids. Built once.
    TVRMPolyhedron3d* GetMergedSolid() override;

    // IQTKLineEdoInfo: the section width read at creation.
    double GetWidth() override { return sectionWidth_; }

    // IQTKBeamCalcEDO
    double GetSectionHeight() override { return sectionHeight_; }
    double GetSectionWidth() override { return sectionWidth_; }
    int GetTypeDictValue() override { return typeLevels_[0]; }
    int GetType1DictValue() override { return typeLevels_[1]; }
    int GetType2DictValue() override { return typeLevels_[2]; }
    // Nil for a nil or non-parallel wall; the projection of the wall asked
    // for last is kept. A failure raises "计算梁在墙上的投影错误".
    Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord* wall) override;
    const TVRMPolyhedronShell3d* GetFormboardShell() override;
    double AddLeftSideFormboard() override;
    double AddRightSideFormboard() override;
    double AddBottomFormboard() override;
    double AddTopFormboard() override;
    TQTKSolidCalc3d* GetVolumeCalc() override;
    void CreateVolumeCalc(double factor) override;
    TQTKShellCalc3d* GetFormboardShellCalc() override;
    TQTKShellCalc3d* GetSideFaceShellCalc() override;
    TQTKDeductPolyhedronLines* GetDeductPolyhedronLines() override;
    TVRMOverhighSolidCalc3d* GetOverhighVolumeCalc() override;
    TVRMOverhighShellCalc3d* GetOverhighFormboardCalc() override;
    TFloatList* GetOverhighValueList() override;
    void SetOverhighValueList(std::unique_ptr<TFloatList> list) override;
    void SetOverhighFormboardCalc(std::unique_ptr<TVRMOverhighShellCalc3d> calc) override;
    void SetOverhighVolumeCalc(std::unique_ptr<TVRMOverhighSolidCalc3d> calc) override;
    TQTKOverhighCalcSet GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build) override;
    std::unique_ptr<TVRMPolyhedron3d> BuildSegmentSolid(double bottom, double height, double startLength,
                                                        double endLength) override;
    const TVRMPolyhedron3d* GetArchSolid() override;
    bool GetUseArchSolid() override { return useArchSolid_.load(); }
    void SetUseArchSolid(bool value) override { useArchSolid_.store(value); }
    double GetEndFormboardArea() override;
    double GetFinishSideArea(int side) override;
    double GetBlockFinishSideArea(int side) override;
    std::vector<int> GetActualEndFaceIndexes() override;
    std::vector<int> GetLeftSideFaceIndexes() override;
    std::vector<int> GetRightSideFaceIndexes() override;
    std::vector<int> GetBottomFaceIndexes() override;
    double CalcHaunchedFormboardArea(double& deducted) override;
    TQTKShellCalc3d* GetFinishShellCalc() override;
    TQTKShellCalc3d* GetBlockFinishShellCalc() override;
    TQTKSolidCalc3d* GetMergedSolidCalc() override;
    void SetFormboardShellCalc(std::unique_ptr<TQTKShellCalc3d> calc) override;

protected:
    ~TQTKBeamCalcEDO() override;

    TQTKElementTypeSet GetConnectElementTypes() override;
    std::unique_ptr<TVRMPolyhedron3d> BuildSolid() override;
    std::unique_ptr<TVRMPolyhedron3d> CreateSolid() override;
    // No reach into the neighbours when the beam does not join them.
    void CalcExtendLength(double& startExt, double& endExt) override;

    double GetFormboardAngle() const { return formboardAngle_.load(); }
    bool GetArchTopFormboard() const { return archTopFormboard_.load(); }
    bool GetShapeHasArc() const { return shapeHasArc_; }
    // The beam's own solid, never nil (empty when it has none).
    const TVRMPolyhedron3d& OriginalSolid();
    // Appends the shell's faces to the formwork shell (made when absent);
    // returns the shell's area after minus before.
    double AppendToFormboardShell(const TVRMPolyhedronShell3d& shell);
    // A shell calculator with the beam's record and arc flag.
    std::unique_ptr<TQTKShellCalc3d> MakeShellCalc(std::unique_ptr<TVRMPolyhedronShell3d> shell);
    std::recursive_mutex& CalcLock() const { return calcLock_; }
    // The faces of the haunch pieces that CalcHaunchedFormboardArea adds as
    // formwork: all but those facing straight up.
    virtual std::vector<int> HaunchFormboardFaces(const TVRMPolyhedron3d& haunches);

private:
    // The face solid: the arch solid while it is used, else the original solid.
    const TVRMPolyhedron3d& GetFaceSolid();
    std::vector<int> FacesByCodes(const TVRMPolyhedron3d& solid, int code, double angle);
    bool IsSteep();
    std::vector<int> GetTopFaceIndexes(bool onlySteep);
    double AddFaces(const std::vector<int>& faces);
    std::vector<int> FinishSideFaces(int side);
    double AddFinishSide(std::unique_ptr<TVRMPolyhedronShell3d>& shell, int side);
    TQTKShellCalc3d* FinishCalc(std::unique_ptr<TQTKShellCalc3d>& calc,
                                const std::unique_ptr<TVRMPolyhedronShell3d>& shell);
    std::unique_ptr<TVRMPolyhedron3d> BuildBrickMold();

    mutable std::recursive_mutex calcLock_;
    std::unique_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::unique_ptr<TQTKShellCalc3d> formboardCalc_;
    std::unique_ptr<TQTKShellCalc3d> sideFaceCalc_;
    std::unique_ptr<TQTKShellCalc3d> finishCalc_;
    std::unique_ptr<TQTKShellCalc3d> blockFinishCalc_;
    std::unique_ptr<TQTKSolidCalc3d> mergedSolidCalc_;
    std::unique_ptr<TQTKDeductPolyhedronLines> deductLines_;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolumeCalc_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboardCalc_;
    std::shared_ptr<TFloatList> overhighValues_;
    std::unique_ptr<TVRMPolyhedronShell3d> formboardShell_;
    std::unique_ptr<TVRMPolyhedronShell3d> finishShell_;
    std::unique_ptr<TVRMPolyhedronShell3d> blockFinishShell_;
    std::unique_ptr<TVRMPolyhedron3d> archSolid_;
    std::vector<int> archEndFaces_;
    std::unique_ptr<TVRMPolyhedron3d> brickMold_;
    bool archBuilt_ = false;

    TVRMCmpxchgLock projectionLock_;
    RecordRef projectionWall_;
    Ref<IQTKSectionPoly> projection_;

    std::array<int, 3> typeLevels_{};
    double sectionHeight_ = 0.0;
    double sectionWidth_ = 0.0;
    bool shapeHasArc_ = false;
    std::atomic<double> formboardAngle_{0.0};
    std::atomic<bool> archTopFormboard_{false};
    std::atomic<bool> useArchSolid_{false};
};
