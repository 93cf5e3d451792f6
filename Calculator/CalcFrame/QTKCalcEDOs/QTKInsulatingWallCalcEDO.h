// The insulating wall (element type 1) and its layers (units, type 86).
//
// The wall is a custom wall that keeps the records of its units; when it is
// prepared it lays every unit out between its own side lines, where the
// unit's centre line runs, between the sections through the wall's start and
// end points. A unit then has its side and middle lines, its solid along the
// middle line cut between the side lines (end faces last), its side, middle
// and end faces, plan and profile polygons and the calculators the
// insulating-wall rules read and store.
//
// Threads: a unit's lines and solid are set while its wall is prepared (once,
// under the wall's prepare lock); what is made later is kept under the data
// lock, the first one kept winning.
#pragma once

#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCustomWallCalcEDO.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKPierFormboardMemo.h"
#include "Calculator/CalcFrame/QTKCalcEDOs/QTKSideFaceShell.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"

class TQTKInsulatingWallCalcEDO final : public TQTKCustomWallCalcEDO, public IQTKInsulatingWallCalcEDO {
public:
    TQTKInsulatingWallCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // The line element's preparation, then the units laid out: a single unit
    // between copies of the wall's side lines.
    void Prepare(IRDXRecord* record) override;
    // A unit relates through its wall; an insulating wall related to this one
    // relates this one too.
    bool IsIntersectWith(IRDXRecord* record) override;
    TRecordList GetUnitList() override;

private:
    ~TQTKInsulatingWallCalcEDO() override = default;
    void LayOutUnits();

    const TRecordList units_;
};

class TQTKInsulatingWallUnitCalcEDO final : public TQTKCalculatorEDO,
                                            public IQTKInsulatingWallUnitCalcEDO,
                                            public IQTKPierFormboardHolder,
                                            public IQTKLineEdoInfo,
                                            public virtual IQTKOverhighCalcHolder {
public:
    TQTKInsulatingWallUnitCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    // Another unit relates when the two walls' relation solids meet (the
    // walls then relate each other); an insulating wall as the owning wall
    // decides; a ribbon window or opening when the owning wall relates it.
    bool IsIntersectWith(IRDXRecord* record) override;
    void FreeCalcCache() override;
    // With an empty container: the original-solid detail.
    void FillDeductDetail(IRDXRecord* qtyRecord) override;

    // IQTKInsulatingWallUnitCalcEDO
    const TVRMCustomLine2d* GetMidLine() override;
    const TVRMCustomLine2d* GetLeftLine() override;
    const TVRMCustomLine2d* GetRightLine() override;
    const TVRMMultiPolygon2d* GetProfilePolygon() override;
    const TVRMPolyhedron3d* GetSolidWithoutPriorElements() override;
    void SetLines(const TVRMCustomLine2d& left, const TVRMCustomLine2d& right) override;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override;
    bool IsLeftOuterUnit() override { return IsOuterUnit(true); }
    bool IsRightOuterUnit() override { return IsOuterUnit(false); }
    double GetAverageHeight() override;
    std::shared_ptr<TQTKShellCalc3d> GetMidFaceShellCalc() override;
    std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() override;
    double GetEndFormboardArea() override;
    void AddLeftSideFace() override { sideFaces_.AddSide(true, SideFaceMaker()); }
    void AddRightSideFace() override { sideFaces_.AddSide(false, SideFaceMaker()); }
    const TVRMPolyhedronShell3d* GetSideFaceShell() override;
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() override { return Kept(overhighVolumeCalc_); }
    void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d> calc) override
    {
        Keep(overhighVolumeCalc_, std::move(calc));
    }
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() override
    {
        return Kept(overhighFormboardCalc_);
    }
    void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d> calc) override
    {
        Keep(overhighFormboardCalc_, std::move(calc));
    }
    std::shared_ptr<TFloatList> GetOverhighValueList() override { return Kept(overhighValues_); }
    void SetOverhighValueList(std::shared_ptr<TFloatList> list) override { Keep(overhighValues_, std::move(list)); }
    TQTKOverhighCalcSet GetOrBuildOverhighCalcs(const TQTKOverhighCalcBuild& build) override
    {
        return GetOrBuildOverhighSetOf(*this, build);
    }
    const TVRMMultiPolygon2d* GetPlanPolygon() override;
    std::vector<int> GetEndFaceIndexes() override;

    // IQTKPierFormboardHolder
    bool FindPierFormboard(IRDXRecord* pier, double& area) override { return pierFormboard_.Find(pier, area); }
    void KeepPierFormboard(IRDXRecord* pier, double area) override { pierFormboard_.Keep(pier, area); }

    // IQTKLineEdoInfo: the unit's own line shape.
    int GetID() override;
    TVRMCustomLine2d GetLine() override;
    double GetWidth() override;
    double GetAxisOffset() override;
    bool IsMidlineConnectable() override { return true; }
    double GetActualWidth() override { return GetWidth(); }
    double GetActualAxisOffset() override { return GetAxisOffset(); }
    IQTKLineShape* GetShape() override;
    IRDXRecord* GetRecord() override;
    TQTKLineEdoInfoArray GetLineEdoInfos() override { return TQTKCalculatorEDO::GetLineEdoInfos(); }

protected:
    // The solid laid between the side lines (the owning wall is prepared first).
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;
    // The band of the unit's own line shape.
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;

private:
    ~TQTKInsulatingWallUnitCalcEDO() override;

    struct TLaidLines {
        TVRMCustomLine2d mid, left, right;
    };
    struct TLaidSolid {
        std::unique_ptr<TVRMPolyhedron3d> solid;
        std::vector<int> endFaces;
    };
    // The lines, the owning wall prepared when they are not laid yet; an
    // assertion failure when it laid none.
    const TLaidLines& Lines();
    TLaidSolid BuildLaidSolid(const TLaidLines& lines);
    bool IsOuterUnit(bool left);
    // Builds the side face on the left (right) line.
    TQTKSideFaceShell::TMakeSideFace SideFaceMaker();
    Ref<IQTKCalculatorEDO> WallEdo(bool prepare);
    double Thickness();

    RecordRef wall_;
    std::unique_ptr<TLaidLines> lines_;
    std::vector<int> endFaces_;
    std::shared_ptr<TQTKSolidCalc3d> volumeCalc_;
    TQTKSideFaceShell sideFaces_;
    std::shared_ptr<TQTKShellCalc3d> midFaceCalc_;
    TQTKPierFormboardMemo pierFormboard_;
    std::shared_ptr<TVRMOverhighSolidCalc3d> overhighVolumeCalc_;
    std::shared_ptr<TVRMOverhighShellCalc3d> overhighFormboardCalc_;
    std::shared_ptr<TFloatList> overhighValues_;
    std::unique_ptr<TVRMMultiPolygon2d> profile_;
    std::unique_ptr<TVRMMultiPolygon2d> plan_;
    std::unique_ptr<TVRMPolyhedron3d> solidWithoutPrior_;
    std::vector<std::shared_ptr<void>> retired_;  // lines laid again stay valid for their readers
};
