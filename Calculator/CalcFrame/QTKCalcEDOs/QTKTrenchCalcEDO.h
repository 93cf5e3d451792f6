// Trench (type 80): a channel along an axis whose section is made of bottom
// boards, side walls and cover boards (type 84 units). It joins other
// trenches over its side walls' extent while its own lines stay on its
// "Width" and "AxisOffset"; it keeps the hollow its units enclose (built when
// it is prepared), its whole solid (body and hollow), the end walls that
// close the hollow at a free end, its length, and how it meets walls, strip
// foundations and other trenches.
#pragma once

#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasSectionInfoComplexLineEntCalcEDO.h"

class TQTKTrenchCalcEDO final : public TQTKHasSectionInfoComplexLineEntCalcEDO, public virtual IQTKTrenchCalcEDO {
public:
    TQTKTrenchCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKTrenchCalcEDO
    const TVRMPolyhedron3d* GetHoleSolid() override;
    const TVRMPolyhedron3d* GetWholeSolid() override;
    double GetLength() override;
    bool IsIntersectTrench(IRDXRecord* trench) override;
    bool IsConnectedStripFD(IRDXRecord* stripFD) override;
    bool IsConnectedWall(IRDXRecord* wall) override;
    bool IsStartFreeHead() override { return IsFreeEnd(true); }
    bool IsEndFreeHead() override { return IsFreeEnd(false); }
    double GetSideWallWidth() override { return sideWallWidth_; }
    const TVRMPolyhedron3d* GetStartFreeHeadSolid() override { return FreeHeadSolid(true); }
    const TVRMPolyhedron3d* GetEndFreeHeadSolid() override { return FreeHeadSolid(false); }
    int GetConnectedTrenches(bool atStart) override;
    bool IsFreeHeadAdded() override { return freeHeadAdded_.load(); }
    void SetFreeHeadAdded(bool value) override { freeHeadAdded_.store(value); }
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return planPolygon_.get(); }
    bool IsElevOverlapped(IRDXRecord* trench) override;

    // The side walls' extent: what the line calculators join trenches on.
    double GetWidth() override { return sectionWidth_; }
    double GetAxisOffset() override { return sectionAxisOffset_; }
    double GetActualWidth() override { return sectionWidth_; }
    double GetActualAxisOffset() override { return sectionAxisOffset_; }

    // IQTKCalculatorEDO
    // Its own units never intersect it.
    bool IsIntersectWith(IRDXRecord* record) override;
    void ClearQtyItems() override;
    // Quantity 445 with an empty detail container: the original solid as the original-quantity detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    TEdoCompareFunc GetActualPriorityCompareFunc() override;

protected:
    bool IsCalcByActualMiddle() override { return true; }
    void AfterCalcLines(TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right) override
    {
        RebaseLinesOnOwnWidth(mid, left, right);
    }
    // The units laid again, then the hollow and the whole solid.
    void AfterPrepareSolid() override;
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({80}); }

private:
    ~TQTKTrenchCalcEDO() override;
    bool IsFreeEnd(bool atStart);
    const TVRMPolyhedron3d* FreeHeadSolid(bool atStart);
    // The two ends' strip foundations (or walls) meeting where the wall or strip foundation crosses.
    bool IsConnectedAcross(IRDXRecord* other, bool otherIsWall);
    std::unique_ptr<TVRMPolyhedron3d> BuildHollow();
    std::unique_ptr<TVRMPolyhedron3d> BuildSectionHollow();
    std::unique_ptr<TVRMPolyhedron3d> BuildSlabBoundedHollow(const TRecordList& slabs);
    void OpenIntoSideWalls(TVRMPolyhedron3d& hollow);

    double sectionWidth_ = 0.0, sectionAxisOffset_ = 0.0, sideWallWidth_ = 0.0;
    std::unique_ptr<TVRMMultiPolygon2d> planPolygon_;
    std::atomic<bool> freeHeadAdded_{false};
    // Built while the trench is prepared (serialised per object), read after.
    std::unique_ptr<TVRMPolyhedron3d> hollow_, whole_;
    std::unique_ptr<TVRMPolyhedron3d> startFreeHead_, endFreeHead_;  // built once, under the data lock
};
