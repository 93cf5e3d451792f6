// Ribbon openings (type 9) and ribbon windows (type 8): line elements drawn
// along several walls, one segment each, chained root first (see
// Calculator/Common/QTKRibbonUtils.h). The wall, beam and insulating-wall
// rules treat a segment as a wall opening (cutting solid, outline on a wall,
// plan polygon); the ribbon rules use its width and height calculators.
//
// For its lines and its solid a segment does not use its drawn width but a
// calculation band: wide enough for every parallel wall, insulating wall or
// parapet it crosses, plus a margin on both sides, so that its solid cuts
// those walls through their whole thickness. The band is decided once, in the
// first preparation. Its drawn-width lines stay available (GetCalcMidLine).
//
// Threads: "wide mode" (the object answers the band's width and axis offset
// and wins its junctions) belongs to the thread laying out the segment's
// lines or solid; other threads see the drawn width meanwhile. Lines,
// solids and the cutting solid are built outside any lock, the first one
// kept wins; the calculators are built once under the object's own lock, and
// the outline on a wall under the section lock.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKHasThicknessInfoLineEntCalcEDO.h"

class TQTKRibbonOpeningCalcEDO : public TQTKHasThicknessInfoLineEntCalcEDO,
                                 public virtual IQTKRibbonOpeningCalcEDO,
                                 public virtual IQTKWallHollowCalcEDO {
public:
    TQTKRibbonOpeningCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    // Decides the band the first time, forgets the walls met at the ends, then prepares the lines and the solid.
    void Prepare(IRDXRecord* record) override;
    // Lines and solid again from the band (undoing any trim); the cutting solid is forgotten.
    void ClearQtyItems() override;
    // Both release the calculators and forget the walls met at the ends: the
    // calculators and the end lists hold the neighbour segments' objects, so
    // a session end that kept them would leave the segments keeping each other.
    void ClearCalcCache() override;
    void FreeCalcCache() override;
    // Only in detail mode: the original details by quantity id (see the .cpp).
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // Lines of the calculation band.
    const TVRMCustomLine2d* GetMidLine() override;
    const TVRMCustomLine2d* GetLeftLine() override;
    const TVRMCustomLine2d* GetRightLine() override;
    const TVRMCustomLine2d* GetExtendedMidLine() override;
    const TVRMMultiPolygon2d* GetExtendedPolygon() override;
    // The polygon between the band's side lines (also the plan polygon of IQTKWallHollowCalcEDO).
    const TVRMMultiPolygon2d* GetPlanPolygon() override;

    // IQTKLineEdoInfo: the band's width and axis offset in wide mode, else the drawn ones.
    double GetWidth() override;
    double GetAxisOffset() override;
    // IQTKLineEdoInfoProvider: the segments of the same ribbon met at that end
    // and, in wide mode, the walls parallel to them that meet them there;
    // gathered afresh at each request.
    TQTKLineEdoInfoArray GetStartLineEdoInfos() override;
    TQTKLineEdoInfoArray GetEndLineEdoInfos() override;
    TQTKLineEdoInfoArray GetStartSameKindLineEdoInfos() override;
    TQTKLineEdoInfoArray GetEndSameKindLineEdoInfos() override;

    // IQTKWallHollowCalcEDO
    const TVRMPolyhedron3d* GetCutSolid() override;
    // The segment's outline in a wall's elevation plane, made anew at each
    // call (x along the wall's middle line, y elevation; without a wall x
    // along the segment's middle line from its start, y from its bottom there).
    Ref<IQTKSectionPoly> GetSectionPolyOnWall(IRDXRecord* wall) override;

    // IQTKRibbonOpeningCalcEDO
    const TVRMCustomLine2d* GetCalcMidLine() override;
    const TVRMCustomLine2d* GetCalcLeftLine() override;
    const TVRMCustomLine2d* GetCalcRightLine() override;
    void TrimLinesAtPoint(bool atStart, const TVRMPoint2d& point) override;
    bool IsConnectedAtStart(IRDXRecord* record) override;
    bool IsConnectedAtEnd(IRDXRecord* record) override;
    Ref<IQTKRibbonWidthCalculator> GetWidthCalculator() override;
    Ref<IQTKRibbonWidthCalculator> GetBottomWidthCalculator() override;
    Ref<IQTKRibbonWidthCalculator> GetTopWidthCalculator() override;
    Ref<IQTKRibbonHeightCalculator> GetHeightCalculator() override;
    bool IsRecalculating() override { return IsWide(); }

    // The calculation band: its width and the distance from the axis line to its left edge.
    double GetBandWidth();
    double GetBandAxisOffset();

protected:
    ~TQTKRibbonOpeningCalcEDO() override;

    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({9}); }
    // The band prism over the extended middle line.
    std::unique_ptr<TVRMPolyhedron3d> BuildSolid() override;
    // One solid for the whole ribbon: every segment's drawn band, widened
    // evenly to 120 at least (the root builds it; the others copy it).
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;
    // A ribbon opening cuts with its whole solid.
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildCutSolid();
    // A property of the segment (0 when absent).
    double PropFloat(std::string_view name) const;
    bool IsWide() const;

private:
    class TWideScope;
    struct TOwnLines;
    struct TConnections {
        bool computed = false;
        TQTKLineEdoInfoArray atStart, atEnd;
    };
    void CalcRibbonWidths();
    void DropCalculators();
    TQTKLineEdoInfoArray CalcConnectedLineEdoInfos(bool atStart);
    const TOwnLines& OwnLines();
    bool IsConnected(IRDXRecord* record, bool atStart);
    void DropConnections();
    void FillFillingAreaDetails(double height);

    std::once_flag bandOnce_;
    std::atomic<double> bandWidth_{0.0};
    std::atomic<double> bandAxisOffset_{0.0};
    std::shared_ptr<TOwnLines> ownLines_;
    std::unique_ptr<TVRMPolyhedron3d> cutSolid_;
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> retiredCutSolids_;
    TConnections connections_;
    std::recursive_mutex calcLock_;
    Ref<IQTKRibbonWidthCalculator> widthCalc_, bottomWidthCalc_, topWidthCalc_;
    Ref<IQTKRibbonHeightCalculator> heightCalc_;
    std::unique_ptr<TVRMCmpxchgLock> sectionLock_;
    Ref<IQTKSectionPoly> section_;
};

// A ribbon window: joins ribbon windows and cuts its walls inside its frame.
class TQTKRibbonWinCalcEDO final : public TQTKRibbonOpeningCalcEDO, public virtual IQTKRibbonWinCalcEDO {
public:
    using TQTKRibbonOpeningCalcEDO::TQTKRibbonOpeningCalcEDO;

protected:
    ~TQTKRibbonWinCalcEDO() override;
    TQTKElementTypeSet GetConnectElementTypes() override { return MakeElementTypeSet({8}); }
    // The solid less a strip of half the "FillingWidth" at the bottom and the
    // top, and at each end no other segment meets.
    std::unique_ptr<TVRMPolyhedron3d> BuildCutSolid() override;
};
