// The parapet (element type 69): a section line element standing on roofs,
// slabs and eaves. Three lines at mid-height (middle line, internal side,
// external side) from which the parapet rules deduct what interrupts it; the
// area and volume calculators, which follow the pieces of the middle line
// those deductions leave; the formwork calculators the formwork rules store;
// which side line is the internal one; the slope length factor.
//
// Threads: rules work on a parapet within one calculation; what it builds
// late is kept under the data lock, the first one kept winning.
#pragma once

#include <atomic>
#include <memory>
#include <utility>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoLineEntCalcEDO.h"

class TQTKParapetCalculator final : public TQTKHasSectionInfoLineEntCalcEDO, public virtual IQTKParapetCalcEDO {
public:
    TQTKParapetCalculator(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    // Decides the internal side again.
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // IQTKParapetCalcEDO
    std::shared_ptr<TQTKDeductPolyhedronLines> GetMidLineDeductLines() override;
    std::shared_ptr<TQTKDeductPolyhedronLines> GetInternalLineDeductLines() override;
    std::shared_ptr<TQTKDeductPolyhedronLines> GetExternalLineDeductLines() override;
    std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetSideFormboardShellCalc() override { return Kept(sideFormboard_); }
    void SetSideFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) override
    {
        Keep(sideFormboard_, std::move(calc));
    }
    std::shared_ptr<TQTKShellCalc3d> GetBottomFormboardShellCalc() override { return Kept(bottomFormboard_); }
    void SetBottomFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) override
    {
        Keep(bottomFormboard_, std::move(calc));
    }
    std::shared_ptr<TQTKShellCalc3d> GetHeadFormboardShellCalc() override { return Kept(headFormboard_); }
    void SetHeadFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d> calc) override
    {
        Keep(headFormboard_, std::move(calc));
    }
    int IncUseCount() override { return ++useCount_; }
    void SetInternalIsLeft(bool value) override { internalIsLeft_.store(value); }
    bool GetInternalIsLeft() override { return internalIsLeft_.load(); }
    double GetSectionWidth() override { return sectionWidth_; }
    double GetSlopeLengthRate() override { return slopeLengthRate_; }

protected:
    TQTKElementTypeSet GetConnectElementTypes() override;

private:
    ~TQTKParapetCalculator() override;
    // Left side internal when the left line is the shorter; equal lengths: the
    // attach-wall-face lines decide the same way.
    bool DecideInternalIsLeft();
    std::shared_ptr<TQTKDeductPolyhedronLines> BuildDeductLines(const TVRMCustomLine2d& line);
    // The plan pieces (start, end) of the middle line that the deductions
    // left; none when nothing was deducted from it, or nothing is left.
    std::vector<std::pair<TVRMPoint2d, TVRMPoint2d>> RemainingPieces();

    std::atomic<int> useCount_{0};
    std::atomic<bool> internalIsLeft_{true};
    double slopeLengthRate_ = 1.0;
    double sectionWidth_ = 0.0;
    std::shared_ptr<TQTKDeductPolyhedronLines> midLines_, internalLines_, externalLines_;
    std::shared_ptr<TQTKShellCalc3d> areaCalc_;
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    std::shared_ptr<TQTKShellCalc3d> sideFormboard_, bottomFormboard_, headFormboard_;
};
