// Trench units (type 84): bottom boards ("Type" 0), side walls ("Type" 1) and
// cover boards (any other "Type"), laid along their trench (unit and side
// lines, plan, their piece of the trench's solid with its end faces), the
// calculators the unit rules keep on them, the faces plastered towards the
// hollow, and the end walls a side wall carries at the trench's free ends.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKTrenchUnitCalcEDO : public TQTKCalculatorEDO,
                              public IQTKTrenchUnitCalcEDO,
                              public IQTKComplexLineEntUnitCalcEDO {
public:
    TQTKTrenchUnitCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKTrenchUnitCalcEDO
    const TVRMCustomLine2d* GetUnitLine() override;
    const TVRMCustomLine2d* GetLeftLine() override;
    const TVRMCustomLine2d* GetRightLine() override;
    RecordRef GetTrenchRecord() override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return Kept(volumeCalc_); }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) override { Keep(volumeCalc_, std::move(calc)); }
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShell() override { return Kept(formboard_); }
    void SetFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(formboard_, std::move(shell)); }
    std::shared_ptr<TQTKShellCalc3d> GetPlasteringShell() override { return Kept(plastering_); }
    void SetPlasteringShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(plastering_, std::move(shell)); }
    // The unit solid's end faces at the trench's start and end, when found.
    std::vector<int> GetFreeHeadFaceIndexes() override;
    int GetStartFaceIndex() override { return startFace_.load(); }
    int GetEndFaceIndex() override { return endFace_.load(); }
    const TVRMPolyhedron3d* GetDeductedSolid() override;
    // Each kind answers these itself.
    std::unique_ptr<TVRMPolyhedronShell3d> BuildPlasteringShell() override = 0;
    int GetFreeHeadKind() override = 0;
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadFormboardShell(int kind) override = 0;
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadPlasteringShell(int kind) override = 0;
    std::uint8_t IsFreeHeadOf(IRDXRecord* trench) override = 0;

    // IQTKComplexLineEntUnitCalcEDO
    void RebuildFromParent() override;

    // IQTKCalculatorEDO
    // Units of the same trench never intersect; otherwise the trench answers.
    bool IsIntersectWith(IRDXRecord* record) override;
    void Prepare(IRDXRecord* record) override;
    void FreeCalcCache() override;
    // Quantities 580 and 634 with an empty detail container: the original solid as the original-quantity detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    ~TQTKTrenchUnitCalcEDO() override;
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;
    // The owning trench's object; nil without one. Laying the unit asks it
    // unprepared (the trench lays its units while it is prepared); what needs
    // its hollow asks it prepared.
    Ref<IQTKTrenchCalcEDO> Trench(bool prepared = false);
    // The unit's faces plastered towards the hollow: with a hollow, the
    // hollow's faces inside the unit turned round; without, the faces of
    // the direction codes given (none: an empty shell), less the end faces.
    std::unique_ptr<TVRMPolyhedronShell3d> PlasteredFaces(
        std::uint8_t codes);  // a set of direction codes (MakeFaceCodeSet)

private:
    struct TLayout;
    const TLayout& Layout();
    std::unique_ptr<TLayout> BuildLayout();

    std::unique_ptr<TLayout> layout_;
    std::vector<std::unique_ptr<TLayout>> retired_;  // layouts replaced by a rebuild; pointers stay valid
    std::atomic<int> startFace_{-1}, endFace_{-1};
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> formboard_, plastering_;
    std::unique_ptr<TVRMPolyhedron3d> deducted_;  // built once, under the data lock
};

class TQTKTrenchBottomBoardCalcEDO final : public TQTKTrenchUnitCalcEDO {
public:
    using TQTKTrenchUnitCalcEDO::TQTKTrenchUnitCalcEDO;
    // Its upward faces.
    std::unique_ptr<TVRMPolyhedronShell3d> BuildPlasteringShell() override;
    int GetFreeHeadKind() override { return -1; }
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadFormboardShell(int kind) override;
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadPlasteringShell(int kind) override;
    // 2 when the other trench takes this one's end (by the junction kind, the
    // ends' connections and the two whole solids' heights), else 0.
    std::uint8_t IsFreeHeadOf(IRDXRecord* trench) override;
};

class TQTKTrenchSideWallCalcEDO final : public TQTKTrenchUnitCalcEDO {
public:
    using TQTKTrenchUnitCalcEDO::TQTKTrenchUnitCalcEDO;
    // Its faces towards the hollow; without a hollow its free sides by its kind.
    std::unique_ptr<TVRMPolyhedronShell3d> BuildPlasteringShell() override;
    // Its end faces at the ends where the trench is connected only.
    std::vector<int> GetFreeHeadFaceIndexes() override;
    // Computed once: the leftmost and rightmost side walls of the highest material rank carry the free heads.
    int GetFreeHeadKind() override;
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadFormboardShell(int kind) override;
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadPlasteringShell(int kind) override;
    std::uint8_t IsFreeHeadOf(IRDXRecord*) override { return 0; }

private:
    int ComputeFreeHeadKind();
    std::atomic<int> kind_{-2};  // -2: not yet known
};

class TQTKTrenchCoverBoardCalcEDO final : public TQTKTrenchUnitCalcEDO {
public:
    using TQTKTrenchUnitCalcEDO::TQTKTrenchUnitCalcEDO;
    std::unique_ptr<TVRMPolyhedronShell3d> BuildPlasteringShell() override;
    int GetFreeHeadKind() override { return -1; }
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadFormboardShell(int kind) override;
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadPlasteringShell(int kind) override;
    std::uint8_t IsFreeHeadOf(IRDXRecord*) override { return 0; }
};

// The unit object of a trench unit record by its "Type".
Ref<IQTKCalculatorEDO> CreateTrenchUnitEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);
