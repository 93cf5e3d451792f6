// The element object of foundation beams (type 47): a beam whose end and side
// formwork is the part hanging below the rafts it meets, with the haunches'
// side and end faces as their formwork and a calculator of its bottom faces.
#pragma once

#include <atomic>
#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKBeamCalcEDO.h"
#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"

class TQTKFDBeamCalcEDO final : public TQTKBeamCalcEDO, public IQTKFDBeamCalcEDO {
public:
    using TQTKBeamCalcEDO::TQTKBeamCalcEDO;

    // IQTKCalculatorEDO
    // Each quantity starts a new foundation-beam formwork shell and calculator
    // (the ones of the last quantity are freed).
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // IQTKBeamCalcEDO: the haunches' side and end faces are added; Deducted is always 0.
    double CalcHaunchedFormboardArea(double& deducted) override;

    // IQTKFDBeamCalcEDO
    double CalcEndFormboardArea(double angle) override;
    double CalcSideFormboardArea(double angle) override;
    TQTKShellCalc3d* GetFDFormboardShellCalc() override;
    TQTKShellCalc3d* GetBottomShellCalc(double angle) override;
    double GetMaxFaceElev() override { return maxFaceElev_.load(); }

protected:
    std::vector<int> HaunchFormboardFaces(const TVRMPolyhedron3d& haunches) override;

private:
    ~TQTKFDBeamCalcEDO() override = default;
    // The faces of Codes (against Angle) below the highest bottom of the
    // rafts that stand above the beam's bottom, less the rafts.
    double CalcBelowRafts(TQTKFaceCodeSet codes, double angle);

    std::unique_ptr<TQTKShellCalc3d> fdFormboardCalc_;
    std::unique_ptr<TVRMPolyhedronShell3d> fdFormboardShell_;
    std::unique_ptr<TQTKShellCalc3d> bottomCalc_;
    std::atomic<double> maxFaceElev_{0.0};
};
