// The isolated foundation (element type 52), a stack of units (type 82:
// blocks, steps or parametric sections). The foundation's solid is the union
// of its units' solids; the foundation decides whether it needs a foundation
// scaffold and with which outline, keeps the height lines its height rules
// store, and relates the rafts and isolated foundations within its reach. The
// unit keeps the calculators and face shells its rules store, builds its
// brick mould calculator and priority solid, and tells whether it is a cup.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"

class TQTKIsolatedFDCalcEDO final : public TQTKCalculatorEDO, public IQTKIsolatedFDCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TVRMPolyhedronLines3d> GetHeightLines() override { return Kept(heightLines_); }
    void SetHeightLines(std::shared_ptr<TVRMPolyhedronLines3d> lines) override { Keep(heightLines_, std::move(lines)); }
    // Valid until FreeCalcCache.
    const TVRMMultiPolygon2d* GetScaffoldPolygon() override;
    std::shared_ptr<TQTKPlanarCalc2d> GetScaffoldCalc() override;
    const TVRMMultiPolygon2d* GetExpandedPolygon() override;

    // The inherited test; else, when this foundation needs a scaffold, rafts
    // and isolated foundations within reach.
    bool IsIntersectWith(IRDXRecord* record) override;
    // Frees the height lines, the scaffold outline and its calculator.
    void FreeCalcCache() override;
    // With an empty detail container, quantity 413 or 416: the original solid as a detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

protected:
    // The union of the unit records' solids, in list order; empty without units.
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;

private:
    ~TQTKIsolatedFDCalcEDO() override;

    std::shared_ptr<TVRMPolyhedronLines3d> heightLines_;
    std::shared_ptr<TVRMMultiPolygon2d> scaffoldPolygon_;
    std::shared_ptr<TQTKPlanarCalc2d> scaffoldCalc_;
    std::shared_ptr<TVRMMultiPolygon2d> expandedPolygon_;
};

class TQTKIsolatedFDUnitCalcEDO final : public TQTKCalculatorEDO, public IQTKIsolatedFDUnitCalcEDO {
public:
    using TQTKCalculatorEDO::TQTKCalculatorEDO;

    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return Kept(volumeCalc_); }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d> calc) override { Keep(volumeCalc_, std::move(calc)); }
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShell() override { return Kept(formboardShell_); }
    void SetFormboardShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(formboardShell_, std::move(shell)); }
    bool IsCupulate() override;
    std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetBottomShell() override { return Kept(bottomShell_); }
    std::shared_ptr<TQTKShellCalc3d> GetSideShell() override { return Kept(sideShell_); }
    std::shared_ptr<TQTKShellCalc3d> GetTopShell() override { return Kept(topShell_); }
    void SetBottomShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(bottomShell_, std::move(shell)); }
    void SetSideShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(sideShell_, std::move(shell)); }
    void SetTopShell(std::shared_ptr<TQTKShellCalc3d> shell) override { Keep(topShell_, std::move(shell)); }
    Ref<IQTKPolyhedron3dIntf> GetPrioritySolid() override;

    // Forgets the three face shells and the priority solid (a rule holding
    // one keeps it); the volume calculator, formwork shell and brick mould stay.
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    // With an empty detail container, quantity 417 or 632: a new volume calculator.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

private:
    ~TQTKIsolatedFDUnitCalcEDO() override;
    void Forget(bool all);

    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> formboardShell_;
    std::shared_ptr<TQTKSolidCalc3d> brickMoldCalc_;
    std::shared_ptr<TQTKShellCalc3d> bottomShell_;
    std::shared_ptr<TQTKShellCalc3d> sideShell_;
    std::shared_ptr<TQTKShellCalc3d> topShell_;
    Ref<IQTKPolyhedron3dIntf> prioritySolid_;
};
