// The wall-like line element (the base of the wall and the insulating wall):
// which side of the wall faces the outside of the building, its
// "InnerOuterFlag", what the scaffold rules leave on it (length calculator,
// line, height, further segments) with their original-quantity details, the
// cached scaffold bottom elevation, and which openings and rooms count as
// related to it.
//
// Threads: the side states and the scaffold fields are read and written under
// the object's data lock; a side setting passes on to the neighbouring walls
// one wall at a time, with no lock held while another wall is asked.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasThicknessInfoLineEntCalcEDO.h"

class TQTKCustomWallCalcEDO : public TQTKHasThicknessInfoLineEntCalcEDO, public virtual IQTKCustomWallCalcEDO {
public:
    TQTKCustomWallCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    // Rooms (58) relate only on the same floor; a door or window relates when
    // it sits in this wall, or in a parallel wall whose band reaches this one.
    bool IsIntersectWith(IRDXRecord* record) override;
    void ClearQtyItems() override;
    void FreeCalcCache() override;
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // IQTKCustomWallCalcEDO
    bool IsLeftSideExternal() override;
    bool IsRightSideExternal() override;
    TQTKLinearCalc2d* GetScaffoldLinearCalc() override;
    void SetScaffoldLinearCalc(std::unique_ptr<TQTKLinearCalc2d> calc) override;
    void SetLeftSideExternal(bool value) override { SetSideExternal(true, value); }
    void SetRightSideExternal(bool value) override { SetSideExternal(false, value); }
    bool IsLeftSideSet() override;
    bool IsRightSideSet() override;
    int GetInnerOuterFlag() override { return innerOuterFlag_; }
    const TVRMCustomLine2d* GetScaffoldLine() override;
    void SetScaffoldLine(const TVRMCustomLine2d* line) override;
    double GetOverHighBottomElev(int kind, const TableSourceRef& ruleContext) override;
    void SetScaffoldHeight(double value) override;
    TVRMSeg2dList* GetScaffoldSegList() override;
    void LockScaffold() override { DataLock().lock(); }
    void UnlockScaffold() override { DataLock().unlock(); }

protected:
    ~TQTKCustomWallCalcEDO() override;
    TQTKElementTypeSet GetConnectElementTypes() override;

private:
    struct TSide {
        std::uint8_t state = 0;  // 0 undecided, 1 internal, 2 external
        bool set = false;
    };
    void SetSideExternal(bool left, bool value);
    // Sets one side under the lock. False (nothing done) for a neighbour's
    // side that was set meanwhile; a contradiction raises.
    bool ApplySide(bool left, bool value, bool fromNeighbour);
    // The walls the setting passes on to: (wall, its side is the left one).
    void CollectSideNeighbours(bool left, std::vector<std::pair<Ref<IQTKCustomWallCalcEDO>, bool>>& out);
    bool IsOnStoreyOf(IRDXRecord* other);
    void WriteScaffoldDetails(const TQTKLinearCalc2d& calc);
    std::unique_ptr<TVRMPolyhedronShell3d> ScaffoldShell(const TVRMSeg2dList& segs, double height);

    TSide left_, right_;
    int innerOuterFlag_ = 0;
    std::unique_ptr<TQTKLinearCalc2d> scaffoldCalc_;
    const TVRMCustomLine2d* scaffoldLine_ = nullptr;
    double scaffoldHeight_ = 0.0;
    // No entry until a kind is asked for.
    int scaffoldElevKey_ = -1;
    double scaffoldElev_ = 0.0;
    std::unique_ptr<TVRMSeg2dList> scaffoldSegs_;
};
