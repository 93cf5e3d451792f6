// Strip foundation unit (type 81): one layer or step of a strip foundation's
// section, laid along its foundation (unit line, side lines, outline and its
// piece of the foundation's solid), the lines the unit rules measure along
// (notch, step sides, bottom), its elevation profile, its brick mould, and
// the calculators and shells the unit rules keep on it.
#pragma once

#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKStripFDUnitCalcEDO final : public TQTKCalculatorEDO,
                                     public IQTKStripFDUnitCalcEDO,
                                     public IQTKComplexLineEntUnitCalcEDO {
public:
    TQTKStripFDUnitCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKStripFDUnitCalcEDO
    RecordRef GetStripFDRecord() override;
    TVRMCustomLine2d OffsetLineToUnit(const TVRMCustomLine2d& line) override;
    const TVRMCustomLine2d* GetUnitLine() override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return Kept(volumeCalc_); }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) override { Keep(volumeCalc_, std::move(calc)); }
    const TVRMMultiPolygon2d* GetOutlinePolygon() override;
    void GetSideLines(TVRMCustomLine2d& left, TVRMCustomLine2d& right) override;
    std::shared_ptr<TQTKShellCalc3d> GetSideFormboardShell() override { return Kept(sideFormboard_); }
    void SetSideFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) override
    {
        Keep(sideFormboard_, std::move(shell));
    }
    std::shared_ptr<TQTKShellCalc3d> GetHeadFormboardShell() override { return Kept(headFormboard_); }
    std::shared_ptr<TQTKShellCalc3d> GetBottomShell() override { return Kept(bottomShell_); }
    void SetBottomShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(bottomShell_, std::move(shell)); }
    std::shared_ptr<TQTKShellCalc3d> GetSideShell() override { return Kept(sideShell_); }
    void SetSideShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(sideShell_, std::move(shell)); }
    std::shared_ptr<TQTKShellCalc3d> GetTopShell() override { return Kept(topShell_); }
    void SetTopShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(topShell_, std::move(shell)); }
    Ref<IQTKPolyhedron3dIntf> GetPrioritySolid() override;
    const TVRMCustomLine2d* GetSectionLine() override;
    std::vector<TVRMCustomLine2d> GetSectionSideLines() override;
    std::vector<TVRMCustomLine2d> GetSectionBottomLines() override;
    const TVRMCustomLine2d* GetLeftLine() override;
    const TVRMCustomLine2d* GetRightLine() override;
    void SetHeadFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) override
    {
        Keep(headFormboard_, std::move(shell));
    }
    const TVRMMultiPolygon2d* GetPlanPolygon() override;
    std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() override;

    // IQTKComplexLineEntUnitCalcEDO
    void RebuildFromParent() override;

    // IQTKCalculatorEDO
    TVRMPolyhedron3d* GetMergedSolid() override;
    bool IsIntersectWith(IRDXRecord* record) override;
    void Prepare(IRDXRecord* record) override;
    void FreeCalcCache() override;
    // With an empty detail container, quantity 411 or 631: a new volume calculator.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    // The foundation's piece for this unit (the drawn unit's solid without a foundation).
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;

private:
    ~TQTKStripFDUnitCalcEDO() override;
    struct TLayout;
    struct TSectionLines;
    const TLayout& Layout();
    std::unique_ptr<TLayout> BuildLayout();
    IQTKHasSectionInfoComplexLineEntCalcEDO* Composite(Ref<IQTKCalculatorEDO>& holder);
    const TSectionLines& SectionLines();

    std::unique_ptr<TLayout> layout_;
    std::vector<std::unique_ptr<TLayout>> retired_;  // layouts replaced by a rebuild; pointers stay valid
    std::unique_ptr<TSectionLines> sectionLines_;
    std::unique_ptr<TVRMMultiPolygon2d> profile_;
    std::unique_ptr<TVRMPolyhedron3d> brickMold_;
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_, brickMoldCalc_;
    std::shared_ptr<TQTKShellCalc3d> sideFormboard_, headFormboard_, bottomShell_, sideShell_, topShell_;
    Ref<IQTKPolyhedron3dIntf> prioritySolid_;
};
