// Strip foundation (type 51): a composite line element joined to other strip
// foundations along the session's calculation line (its axis, the wall
// standing on it, or one of its section units) while its own lines stay on
// its "Width" and "AxisOffset"; the walls standing on it and whether it lies
// mostly under outer walls.
#pragma once

#include <atomic>
#include <mutex>
#include <optional>
#include <utility>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoComplexLineEntCalcEDO.h"

class TQTKStripFDCalcEDO final : public TQTKHasSectionInfoComplexLineEntCalcEDO, public virtual IQTKStripFDCalcEDO {
public:
    TQTKStripFDCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // Notes the calculation line type the lines are built for.
    void Prepare(IRDXRecord* record) override;

    // IQTKStripFDCalcEDO
    const TVRMMultiPolygon2d* GetOutlinePolygon() override { return GetPlanPolygon(); }
    std::unique_ptr<TVRMMultiPolygon2d> GetOutlinePolygonBetween(const TVRMCustomLine2d& a,
                                                                 const TVRMCustomLine2d& b) override;
    int GetJoinType(IRDXRecord* record, bool kind) override;
    void RefreshCalcLine() override;
    double GetLeftWidth() override { return height_; }
    double GetRightWidth() override { return width_; }
    bool CalcWidthsByWalls(IRDXRecord* wall) override;
    std::vector<Ref<IQTKCustomWallCalcEDO>> GetWallsAbove() override;
    bool IsWallLineUsable() override;
    bool IsUnderWalls() override;
    void GetUnitsMaterialRank(int& rank, bool& allSame) override;

    // The calculation line's width and axis offset: what the line calculators join on.
    double GetWidth() override { return CalcLine().width; }
    double GetAxisOffset() override { return CalcLine().axisOffset; }
    // The actual-middle calculator joins on these (a strip foundation carries no insulating layers).
    double GetActualWidth() override { return GetWidth(); }
    double GetActualAxisOffset() override { return GetAxisOffset(); }

protected:
    bool QuickIntersect(IRDXRecord* record, bool& intersects) override;
    bool IsCalcByActualMiddle() override;
    bool IsKeepConnectedEdoIDInfo() override;
    void AfterCalcLines(TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right) override
    {
        RebaseLinesOnOwnWidth(mid, left, right);
    }
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({51}); }

private:
    struct TCalcLine {
        int type = 0;
        double width = 0.0, axisOffset = 0.0;
        bool wallLineUsable = true;
    };
    // Computed once per calculation line type (the last type asked is kept).
    TCalcLine CalcLine();
    TCalcLine ComputeCalcLine(int type);
    bool ComputeUnderWalls();

    // The kept calculation line (type 0: none), read without a lock
    // (FindCalcLine) and stored under stateLock_ (StoreCalcLine).
    bool FindCalcLine(int type, TCalcLine& line) const;
    void StoreCalcLine(const TCalcLine& line);

    const double defaultWidth_, defaultAxisOffset_, height_, width_;
    std::atomic<unsigned> calcLineSeq_{0};  // odd while a store is under way
    std::atomic<int> calcLineType_{0};
    std::atomic<double> calcLineWidth_{0.0}, calcLineAxisOffset_{0.0};
    std::atomic<bool> calcLineUsable_{true};
    std::mutex stateLock_;  // guards the stores above and the three below; never held while calling out
    int preparedType_ = 0;
    int underWalls_ = 0;  // 0 not yet known, 1 yes, -1 no
    std::optional<std::pair<int, bool>> unitsRank_;
    std::mutex refreshLock_;  // one refresh of this foundation at a time
};
