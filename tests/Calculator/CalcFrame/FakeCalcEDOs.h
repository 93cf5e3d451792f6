// Small element objects of the line, wall, lintel, insulating wall unit,
// wall-face and earthwork families for tests of the shared routines: each answers from
// fields the test sets, so a test states exactly what the family reports.
// A scope attaches them to host elements and detaches them again.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Common/QTKFloatList.h"
#include "Calculator/Strategies/Common/QTKOutWallFaceCalc.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/ElementModel/QTKShapeIntf.h"
#include "Host/QTKCommon/QTKDeductPolyhedronLines.h"
#include "Host/QTKCommon/QTKLinearCalc2d.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

// A line element of any family derived from the line element interface.
template <class TFamily>
class TFakeLineEDO : public TQTKCalculatorEDO, public virtual TFamily {
public:
    explicit TFakeLineEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}

    const TVRMCustomLine2d* GetMidLine() override { return midLine ? &*midLine : nullptr; }
    const TVRMCustomLine2d* GetLeftLine() override { return leftLine ? &*leftLine : nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return rightLine ? &*rightLine : nullptr; }
    bool IsStartUnconnected() override { return startFree; }
    bool IsEndUnconnected() override { return endFree; }
    const TVRMCustomLine2d* GetExtendedMidLine() override { return extendedMidLine ? &*extendedMidLine : GetMidLine(); }
    bool GetUseAxisLength() override { return useAxisLength; }
    void SetUseAxisLength(bool value) override { useAxisLength = value; }
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return planPolygon ? &*planPolygon : nullptr; }
    const TVRMMultiPolygon2d* GetExtendedPolygon() override { return nullptr; }
    const TVRMCustomLine2d* GetAttachWallFaceLeftLine() override { return GetLeftLine(); }
    const TVRMCustomLine2d* GetAttachWallFaceRightLine() override { return GetRightLine(); }
    const TVRMCustomLine2d* GetAttachWallFaceLeftLineWithInsulatingLayer() override { return GetLeftLine(); }
    const TVRMCustomLine2d* GetAttachWallFaceRightLineWithInsulatingLayer() override { return GetRightLine(); }
    const TVRMMultiPolygon2d* GetAttachWallFacePolygon() override { return nullptr; }
    const TVRMMultiPolygon2d* GetAttachWallFacePolygonWithInsulatingLayer() override { return nullptr; }
    std::vector<int> GetEndFaceIndexes() override { return {}; }
    int GetStartFaceIndex() override { return -1; }
    int GetEndFaceIndex() override { return -1; }
    RecordRef GetStartConnectedRecord() override { return nullptr; }
    RecordRef GetEndConnectedRecord() override { return nullptr; }
    const TVRMPolyhedron3d* GetSolidWithoutPriorElements() override { return partSolid.get(); }
    RecordRef GetInsulatingLayerRecord(bool) override { return nullptr; }

    std::optional<TVRMCustomLine2d> midLine, leftLine, rightLine, extendedMidLine;
    std::unique_ptr<TVRMPolyhedron3d> partSolid;  // the solid less the elements it gives way to
    std::optional<TVRMMultiPolygon2d> planPolygon;
    bool startFree = true;
    bool endFree = true;
    bool useAxisLength = false;
};

using TFakeLineEntEDO = TFakeLineEDO<IQTKLineEntBaseCalcEDO>;

// A line element with section information and a length rate (beam, coping).
template <class TFamily>
class TFakeSectionLineEDO : public TFakeLineEDO<TFamily> {
public:
    using TFakeLineEDO<TFamily>::TFakeLineEDO;
    double GetLengthRate() override { return lengthRate; }

    double lengthRate = 1.0;
};

// The beam operations no test of a shared routine asks of a test beam: no
// calculators, solids or faces.
template <class TBase>
class TFakeBeamSlots : public TBase {
public:
    using TBase::TBase;
    TQTKSolidCalc3d* GetVolumeCalc() override { return nullptr; }
    void CreateVolumeCalc(double) override {}
    TQTKShellCalc3d* GetFormboardShellCalc() override { return nullptr; }
    TQTKShellCalc3d* GetSideFaceShellCalc() override { return nullptr; }
    TQTKDeductPolyhedronLines* GetDeductPolyhedronLines() override { return nullptr; }
    TVRMOverhighSolidCalc3d* GetOverhighVolumeCalc() override { return nullptr; }
    TVRMOverhighShellCalc3d* GetOverhighFormboardCalc() override { return nullptr; }
    TFloatList* GetOverhighValueList() override { return nullptr; }
    void SetOverhighValueList(std::unique_ptr<TFloatList>) override {}
    void SetOverhighFormboardCalc(std::unique_ptr<TVRMOverhighShellCalc3d>) override {}
    void SetOverhighVolumeCalc(std::unique_ptr<TVRMOverhighSolidCalc3d>) override {}
    std::unique_ptr<TVRMPolyhedron3d> BuildSegmentSolid(double, double, double, double) override { return nullptr; }
    const TVRMPolyhedron3d* GetArchSolid() override { return nullptr; }
    bool GetUseArchSolid() override { return false; }
    void SetUseArchSolid(bool) override {}
    double GetEndFormboardArea() override { return 0.0; }
    double GetFinishSideArea(int) override { return 0.0; }
    double GetBlockFinishSideArea(int) override { return 0.0; }
    std::vector<int> GetActualEndFaceIndexes() override { return {}; }
    std::vector<int> GetLeftSideFaceIndexes() override { return {}; }
    std::vector<int> GetRightSideFaceIndexes() override { return {}; }
    std::vector<int> GetBottomFaceIndexes() override { return {}; }
    double CalcHaunchedFormboardArea(double& deducted) override { return deducted = 0.0; }
    TQTKShellCalc3d* GetFinishShellCalc() override { return nullptr; }
    TQTKShellCalc3d* GetBlockFinishShellCalc() override { return nullptr; }
    double GetSectionWidth() override { return 0.0; }
    TQTKSolidCalc3d* GetMergedSolidCalc() override { return nullptr; }
    void SetFormboardShellCalc(std::unique_ptr<TQTKShellCalc3d>) override {}
};

// A beam whose section height, dictionary levels and projection on a wall are
// those of any beam (0, none).
class TFakeBeamEDO : public TFakeBeamSlots<TFakeSectionLineEDO<IQTKBeamCalcEDO>> {
public:
    using TFakeBeamSlots::TFakeBeamSlots;
    double GetSectionHeight() override { return 0.0; }
    int GetTypeDictValue() override { return 0; }
    int GetType1DictValue() override { return 0; }
    int GetType2DictValue() override { return 0; }
    Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord*) override { return nullptr; }
    const TVRMPolyhedronShell3d* GetFormboardShell() override { return nullptr; }
    double AddLeftSideFormboard() override { return 0.0; }
    double AddRightSideFormboard() override { return 0.0; }
    double AddBottomFormboard() override { return 0.0; }
    double AddTopFormboard() override { return 0.0; }
};
// A coping without calculators of its own.
class TFakeCopingEDO : public TFakeSectionLineEDO<IQTKCopingCalcEDO> {
public:
    using TFakeSectionLineEDO::TFakeSectionLineEDO;
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeSolidCalc() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShellCalc() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetOutAreaCalc() override { return nullptr; }
    void SetOutAreaCalc(std::shared_ptr<TQTKShellCalc3d>) override {}
};

// A line element that also tells the junction machinery its drawn axis, width
// and axis offset (from its line shape) and which neighbours joined it
// (connected, keyed by the draw object's index key; empty: every end free).
template <class TFamily>
class TFakeLineInfoEDO : public TFakeLineEDO<TFamily>, public IQTKLineEdoInfo, public IQTKLineEdoInfoProvider {
public:
    explicit TFakeLineInfoEDO(IQTKElementDrawObj* drawObj)
        : TFakeLineEDO<TFamily>(drawObj), connected(MakeRef<TQTKConnectedEdoIDInfo>())
    {
    }

    int GetID() override { return GetRecord()->GetID(); }
    TVRMCustomLine2d GetLine() override { return Shape()->GetLine(); }
    double GetWidth() override { return Shape()->GetWidth(); }
    double GetAxisOffset() override { return Shape()->GetAxisOffset(); }
    bool IsMidlineConnectable() override { return connectable; }
    double GetActualWidth() override { return GetWidth(); }
    double GetActualAxisOffset() override { return GetAxisOffset(); }
    IQTKLineShape* GetShape() override { return Shape(); }
    IRDXRecord* GetRecord() override { return this->GetElementDrawObj()->GetRecord(); }
    TQTKLineEdoInfoArray GetLineEdoInfos() override { return TQTKCalculatorEDO::GetLineEdoInfos(); }

    TQTKLineEdoInfoArray GetStartLineEdoInfos() override { return {}; }
    TQTKLineEdoInfoArray GetEndLineEdoInfos() override { return {}; }
    TQTKLineEdoInfoArray GetStartSameKindLineEdoInfos() override { return {}; }
    TQTKLineEdoInfoArray GetEndSameKindLineEdoInfos() override { return {}; }
    Ref<IQTKConnectedEdoIDInfo> GetConnectedEdoIDInfo() override { return connected; }

    // Records that a neighbour joined this element at its start (end).
    void ConnectAt(bool atStart, int id)
    {
        const int key = this->GetElementDrawObj()->GetIndexKey();
        TQTKConnectedEnd start = connected->GetStart(key), end = connected->GetEnd(key);
        (atStart ? start : end).ids.push_back(id);
        (atStart ? start : end).primaryID = id;
        connected->SetEntry(key, start, end);
    }

    bool connectable = true;
    Ref<TQTKConnectedEdoIDInfo> connected;

private:
    IQTKLineShape* Shape() { return dynamic_cast<IQTKLineShape*>(this->GetElementDrawObj()->GetShape()); }
};

using TFakeLineInfoEntEDO = TFakeLineInfoEDO<IQTKLineEntBaseCalcEDO>;

// The wall-like operations with neutral answers (external sides as set, nothing stored).
template <class TBase>
class TFakeCustomWallOps : public TBase {
public:
    using TBase::TBase;
    bool IsLeftSideExternal() override { return leftExternal; }
    bool IsRightSideExternal() override { return rightExternal; }
    TQTKLinearCalc2d* GetScaffoldLinearCalc() override { return nullptr; }
    void SetScaffoldLinearCalc(std::unique_ptr<TQTKLinearCalc2d>) override {}
    void SetLeftSideExternal(bool) override {}
    void SetRightSideExternal(bool) override {}
    bool IsLeftSideSet() override { return false; }
    bool IsRightSideSet() override { return false; }
    int GetInnerOuterFlag() override { return 0; }
    const TVRMCustomLine2d* GetScaffoldLine() override { return nullptr; }
    void SetScaffoldLine(const TVRMCustomLine2d*) override {}
    double GetOverHighBottomElev(int, const TableSourceRef&) override { return 0.0; }
    void SetScaffoldHeight(double) override {}
    TVRMSeg2dList* GetScaffoldSegList() override { return nullptr; }
    void LockScaffold() override {}
    void UnlockScaffold() override {}

    bool leftExternal = false, rightExternal = false;
};

// An insulating wall with line information (and no units).
class TFakeInsulatingWallInfoEDO final : public TFakeCustomWallOps<TFakeLineInfoEDO<IQTKInsulatingWallCalcEDO>> {
public:
    using TFakeCustomWallOps::TFakeCustomWallOps;
    TRecordList GetUnitList() override { return {}; }
};

// The wall operations with neutral answers (nothing built or stored).
template <class TBase>
class TFakeWallOps : public TFakeCustomWallOps<TBase> {
public:
    using TFakeCustomWallOps<TBase>::TFakeCustomWallOps;
    int GetCalcThickness() override { return 0; }
    int CalcInternalQtyThickness(const TableSourceRef&) override { return 0; }
    std::shared_ptr<TQTKWallSteelMeshCalcContnr> GetSteelMeshCalcContnr() override { return nullptr; }
    void AddLeftSideFace() override {}
    void AddRightSideFace() override {}
    void SetCalcThickness(int) override {}
    void SetSteelMeshCalcContnr(std::shared_ptr<TQTKWallSteelMeshCalcContnr>) override {}
    void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d>) override {}
    void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d>) override {}
    void SetOverhighValueList(std::shared_ptr<TFloatList>) override {}
    const TVRMPolygon2d* GetPlanOutline() override { return nullptr; }
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return nullptr; }
    std::shared_ptr<TQTKSolidCalc3d> GetAreaCalc() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetMidFaceShellCalc() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() override { return nullptr; }
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() override { return nullptr; }
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetExternalSideShellCalc() override { return nullptr; }
    const TVRMMultiPolygon2d* GetProfilePolygon() override { return nullptr; }
    std::shared_ptr<TFloatList> GetOverhighValueList() override { return nullptr; }
    const TVRMCustomLine2d* GetWallMidLine() override { return this->GetMidLine(); }
    double GetConnectedEndFaceArea() override { return 0.0; }
    TVRMPolyhedronShell3d* GetSideFaceShell() override { return nullptr; }
    int GetThickness() override { return 0; }
    const TVRMPolyhedron3d* GetDeductedSolid() override { return nullptr; }
    void SetShortArmShearWallType(std::uint8_t) override {}
    bool IsShortArmShearWallTypeAuto() override { return false; }
    std::uint8_t GetShortArmShearWallFlag() override { return this->GetShortArmShearWallType(); }
    void SetCalcByOnlyMaterial(std::uint8_t) override {}
    const TVRMCustomLine2d* GetOnlyMaterialMidLine() override { return this->GetMidLine(); }
    void SetOnlyMaterialMidLine(std::unique_ptr<TVRMCustomLine2d>) override {}
    const TVRMCustomLine2d* GetOnlyMaterialLeftLine() override { return this->GetLeftLine(); }
    void SetOnlyMaterialLeftLine(std::unique_ptr<TVRMCustomLine2d>) override {}
    const TVRMCustomLine2d* GetOnlyMaterialRightLine() override { return this->GetRightLine(); }
    void SetOnlyMaterialRightLine(std::unique_ptr<TVRMCustomLine2d>) override {}
    const TVRMCustomLine2d* GetOnlyMaterialExtendedMidLine() override { return this->GetMidLine(); }
    std::unique_ptr<TVRMPolyhedron3d> BuildOnlyMaterialSolid() override { return nullptr; }
    const TVRMMultiPolygon2d* GetOnlyMaterialPolygon() override { return nullptr; }
    const TVRMPolyhedron3d* GetOnlyMaterialSolid() override { return nullptr; }
    void SetOnlyMaterialSolid(std::unique_ptr<TVRMPolyhedron3d>) override {}
    void CalcOnlyMaterialSolid() override {}
    const TVRMPolyhedron3d* GetSolidWithoutOverlayFillWalls() override { return nullptr; }
};

// A wall with line information; dictionary level of its "Type" as set.
class TFakeWallInfoEDO final : public TFakeWallOps<TFakeLineInfoEDO<IQTKWallCalcEDO>> {
public:
    using TFakeWallOps::TFakeWallOps;
    int GetFillWallOverlayState() override { return 1; }
    int GetOverlayFillWallID(int) override { return -1; }
    std::uint8_t GetShortArmShearWallType() override { return 5; }
    std::uint8_t GetCalcByOnlyMaterial() override { return 0; }
    int GetOverlayFillWallCount() override { return 0; }
    int GetTypeDictValue() override { return typeDictValue; }
    const TVRMMultiPolygon2d* GetProfilePolygon() override { return nullptr; }
    const TVRMMultiPolygon2d* GetOverlayPolygon(IRDXRecord*) override { return nullptr; }

    int typeDictValue = 0;
};

// A beam with line information: section height from "SectionHeight", the
// dictionary levels and the projection on a wall as set.
class TFakeBeamInfoEDO final : public TFakeBeamSlots<TFakeLineInfoEDO<IQTKBeamCalcEDO>> {
public:
    using TFakeBeamSlots::TFakeBeamSlots;
    double GetSectionHeight() override
    {
        return EdoPropValueFloat(GetElementDrawObj()->GetPropValues(), "SectionHeight");
    }
    int GetTypeDictValue() override { return typeValues[0]; }
    int GetType1DictValue() override { return typeValues[1]; }
    int GetType2DictValue() override { return typeValues[2]; }
    Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord*) override { return projection; }
    const TVRMPolyhedronShell3d* GetFormboardShell() override { return nullptr; }
    double AddLeftSideFormboard() override { return 0.0; }
    double AddRightSideFormboard() override { return 0.0; }
    double AddBottomFormboard() override { return 0.0; }
    double AddTopFormboard() override { return 0.0; }
    double GetLengthRate() override { return 1.0; }

    int typeValues[3] = {0, 0, 0};
    Ref<IQTKSectionPoly> projection;
};

// A parapet: its lines and plan polygon as set, the line elements joined at
// its ends as given (none: both ends free).
class TFakeParapetEDO final : public TFakeLineInfoEDO<IQTKParapetCalcEDO> {
public:
    using TFakeLineInfoEDO::TFakeLineInfoEDO;
    std::shared_ptr<TQTKDeductPolyhedronLines> GetMidLineDeductLines() override { return nullptr; }
    std::shared_ptr<TQTKDeductPolyhedronLines> GetInternalLineDeductLines() override { return nullptr; }
    std::shared_ptr<TQTKDeductPolyhedronLines> GetExternalLineDeductLines() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() override { return nullptr; }
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetSideFormboardShellCalc() override { return nullptr; }
    void SetSideFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetBottomFormboardShellCalc() override { return nullptr; }
    void SetBottomFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetHeadFormboardShellCalc() override { return nullptr; }
    void SetHeadFormboardShellCalc(std::shared_ptr<TQTKShellCalc3d>) override {}
    int IncUseCount() override { return 1; }
    void SetInternalIsLeft(bool) override {}
    bool GetInternalIsLeft() override { return true; }
    double GetSectionWidth() override { return 0.0; }
    double GetSlopeLengthRate() override { return 1.0; }
    TQTKLineEdoInfoArray GetStartLineEdoInfos() override { return startInfos; }
    TQTKLineEdoInfoArray GetEndLineEdoInfos() override { return endInfos; }

    TQTKLineEdoInfoArray startInfos, endInfos;
};

// A ribbon window segment: recalculation flag and outline on a wall as set.
class TFakeRibbonOpeningEDO final : public TFakeLineInfoEDO<IQTKRibbonOpeningCalcEDO> {
public:
    using TFakeLineInfoEDO::TFakeLineInfoEDO;
    const TVRMCustomLine2d* GetCalcMidLine() override { return this->GetMidLine(); }
    const TVRMCustomLine2d* GetCalcLeftLine() override { return this->GetLeftLine(); }
    const TVRMCustomLine2d* GetCalcRightLine() override { return this->GetRightLine(); }
    void TrimLinesAtPoint(bool, const TVRMPoint2d&) override {}
    bool IsConnectedAtStart(IRDXRecord*) override { return false; }
    bool IsConnectedAtEnd(IRDXRecord*) override { return false; }
    Ref<IQTKRibbonWidthCalculator> GetWidthCalculator() override { return nullptr; }
    Ref<IQTKRibbonWidthCalculator> GetBottomWidthCalculator() override { return nullptr; }
    Ref<IQTKRibbonWidthCalculator> GetTopWidthCalculator() override { return nullptr; }
    Ref<IQTKRibbonHeightCalculator> GetHeightCalculator() override { return nullptr; }
    bool IsRecalculating() override { return recalculating; }
    Ref<IQTKSectionPoly> GetSectionPolyOnWall(IRDXRecord*) override { return section; }

    bool recalculating = false;
    Ref<IQTKSectionPoly> section;
};

// A wall opening (door, window ...): its cutting solid, outline on the wall and plan polygon as set.
class TFakeWallHollowEDO final : public TQTKCalculatorEDO, public IQTKWallHollowCalcEDO {
public:
    explicit TFakeWallHollowEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMPolyhedron3d* GetCutSolid() override { return cutSolid ? &*cutSolid : nullptr; }
    Ref<IQTKSectionPoly> GetSectionPolyOnWall(IRDXRecord*) override { return section; }
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return planPolygon ? &*planPolygon : nullptr; }

    std::optional<TVRMPolyhedron3d> cutSolid;
    Ref<IQTKSectionPoly> section;
    std::optional<TVRMMultiPolygon2d> planPolygon;
};

class TFakeWallEDO final : public TFakeWallOps<TFakeLineEDO<IQTKWallCalcEDO>> {
public:
    using TFakeWallOps::TFakeWallOps;

    std::string GetMaterial() override { return material ? *material : TQTKCalculatorEDO::GetMaterial(); }
    int GetFillWallOverlayState() override { return overlayState; }
    int GetOverlayFillWallID(int index) override
    {
        QTK_ASSERT(index >= 0);
        return index < static_cast<int>(overlayIds.size()) ? overlayIds[index] : -1;
    }
    std::uint8_t GetShortArmShearWallType() override { return shortArmKind; }
    std::uint8_t GetCalcByOnlyMaterial() override { return onlyMaterialMode; }
    int GetOverlayFillWallCount() override { return static_cast<int>(overlayIds.size()); }
    int GetTypeDictValue() override { return 0; }
    const TVRMMultiPolygon2d* GetProfilePolygon() override { return profile ? &*profile : nullptr; }
    const TVRMMultiPolygon2d* GetOverlayPolygon(IRDXRecord*) override { return overlay ? &*overlay : nullptr; }

    std::optional<std::string> material;  // else the element's "Material"
    int overlayState = 1;
    std::vector<int> overlayIds;
    std::uint8_t shortArmKind = 5;
    std::uint8_t onlyMaterialMode = 0;
    std::optional<TVRMMultiPolygon2d> profile, overlay;
};

class TFakeLintelEDO final : public TQTKCalculatorEDO, public IQTKLintelCalcEDO {
public:
    explicit TFakeLintelEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    TQTKSolidCalc3d* GetVolumeCalc() override { return nullptr; }
    double CalcSideFormboardArea() override { return 0.0; }
    double CalcEndFormboardArea() override { return 0.0; }
    TQTKShellCalc3d* GetFormboardShellCalc() override { return nullptr; }
    TQTKShellCalc3d* GetBottomShellCalc() override { return nullptr; }
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return &planPolygon; }
    double GetAlcoveOffset(IRDXRecord*) override { return 0.0; }
    const TVRMCustomLine2d* GetCalcLine() override { return calcLine ? &*calcLine : nullptr; }
    Ref<IQTKSectionPoly> CalcProjectionOnWall(IRDXRecord*) override { return projection; }

    TVRMMultiPolygon2d planPolygon;
    std::optional<TVRMCustomLine2d> calcLine;
    Ref<IQTKSectionPoly> projection;
};

class TFakeInsulatingWallUnitEDO final : public TQTKCalculatorEDO, public IQTKInsulatingWallUnitCalcEDO {
public:
    explicit TFakeInsulatingWallUnitEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMCustomLine2d* GetMidLine() override { return midLine ? &*midLine : nullptr; }
    const TVRMCustomLine2d* GetLeftLine() override { return leftLine ? &*leftLine : nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return rightLine ? &*rightLine : nullptr; }
    const TVRMMultiPolygon2d* GetProfilePolygon() override { return profile ? &*profile : nullptr; }
    const TVRMPolyhedron3d* GetSolidWithoutPriorElements() override { return partSolid.get(); }
    void SetLines(const TVRMCustomLine2d&, const TVRMCustomLine2d&) override {}
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return nullptr; }
    bool IsLeftOuterUnit() override { return false; }
    bool IsRightOuterUnit() override { return false; }
    double GetAverageHeight() override { return 0.0; }
    std::shared_ptr<TQTKShellCalc3d> GetMidFaceShellCalc() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetSideFaceShellCalc() override { return nullptr; }
    double GetEndFormboardArea() override { return 0.0; }
    void AddLeftSideFace() override {}
    void AddRightSideFace() override {}
    const TVRMPolyhedronShell3d* GetSideFaceShell() override { return nullptr; }
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() override { return nullptr; }
    void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d>) override {}
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() override { return nullptr; }
    void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d>) override {}
    std::shared_ptr<TFloatList> GetOverhighValueList() override { return nullptr; }
    void SetOverhighValueList(std::shared_ptr<TFloatList>) override {}
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return nullptr; }
    std::vector<int> GetEndFaceIndexes() override { return {}; }

    std::optional<TVRMCustomLine2d> midLine, leftLine, rightLine;
    std::optional<TVRMMultiPolygon2d> profile;
    std::unique_ptr<TVRMPolyhedron3d> partSolid;
};

class TFakeStripFDUnitEDO final : public TQTKCalculatorEDO, public IQTKStripFDUnitCalcEDO {
public:
    explicit TFakeStripFDUnitEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMCustomLine2d* GetUnitLine() override { return unitLine ? &*unitLine : nullptr; }
    const TVRMCustomLine2d* GetLeftLine() override { return leftLine ? &*leftLine : nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return rightLine ? &*rightLine : nullptr; }
    RecordRef GetStripFDRecord() override { return nullptr; }
    TVRMCustomLine2d OffsetLineToUnit(const TVRMCustomLine2d& line) override { return line; }
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return nullptr; }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d>) override {}
    const TVRMMultiPolygon2d* GetOutlinePolygon() override { return nullptr; }
    void GetSideLines(TVRMCustomLine2d&, TVRMCustomLine2d&) override {}
    std::shared_ptr<TQTKShellCalc3d> GetSideFormboardShell() override { return nullptr; }
    void SetSideFormboardShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetHeadFormboardShell() override { return nullptr; }
    std::shared_ptr<TQTKShellCalc3d> GetBottomShell() override { return nullptr; }
    void SetBottomShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetSideShell() override { return nullptr; }
    void SetSideShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetTopShell() override { return nullptr; }
    void SetTopShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    Ref<IQTKPolyhedron3dIntf> GetPrioritySolid() override { return nullptr; }
    const TVRMCustomLine2d* GetSectionLine() override { return nullptr; }
    std::vector<TVRMCustomLine2d> GetSectionSideLines() override { return {}; }
    std::vector<TVRMCustomLine2d> GetSectionBottomLines() override { return {}; }
    void SetHeadFormboardShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return nullptr; }
    std::shared_ptr<TQTKSolidCalc3d> GetBrickMoldSolidCalc() override { return nullptr; }

    std::optional<TVRMCustomLine2d> unitLine, leftLine, rightLine;
};

// A trench unit on the lines the test sets, owned by the trench record given.
class TFakeTrenchUnitEDO final : public TQTKCalculatorEDO, public IQTKTrenchUnitCalcEDO {
public:
    explicit TFakeTrenchUnitEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMCustomLine2d* GetUnitLine() override { return unitLine ? &*unitLine : nullptr; }
    const TVRMCustomLine2d* GetLeftLine() override { return leftLine ? &*leftLine : nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return rightLine ? &*rightLine : nullptr; }
    RecordRef GetTrenchRecord() override { return trench; }
    int GetFreeHeadKind() override { return freeHeadKind; }
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return nullptr; }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetFormboardShell() override { return nullptr; }
    void SetFormboardShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetPlasteringShell() override { return nullptr; }
    void SetPlasteringShell(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::unique_ptr<TVRMPolyhedronShell3d> BuildPlasteringShell() override { return nullptr; }
    std::vector<int> GetFreeHeadFaceIndexes() override { return {}; }
    int GetStartFaceIndex() override { return -1; }
    int GetEndFaceIndex() override { return -1; }
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadFormboardShell(int) override { return nullptr; }
    std::unique_ptr<TVRMPolyhedronShell3d> GetFreeHeadPlasteringShell(int) override { return nullptr; }
    std::uint8_t IsFreeHeadOf(IRDXRecord*) override { return 0; }
    const TVRMPolyhedron3d* GetDeductedSolid() override { return nullptr; }

    std::optional<TVRMCustomLine2d> unitLine, leftLine, rightLine;
    RecordRef trench;
    int freeHeadKind = 2;
};

// A trench with the hollow and the whole solid the test sets (none: no such solid).
class TFakeTrenchEDO final : public TFakeLineEDO<IQTKTrenchCalcEDO> {
public:
    using TFakeLineEDO::TFakeLineEDO;
    TVRMCustomLine2d GetUnitAxisLine(double, double, double) override { return TVRMCustomLine2d(); }
    double GetSectionMinOffset() override { return 0.0; }
    std::unique_ptr<TVRMPolyhedron3d> BuildSectionSolid(IRDXRecord*) override { return nullptr; }
    const TVRMPolyhedron3d* GetHoleSolid() override { return hole ? &*hole : nullptr; }
    const TVRMPolyhedron3d* GetWholeSolid() override { return whole ? &*whole : nullptr; }
    double GetLength() override { return 0.0; }
    bool IsIntersectTrench(IRDXRecord*) override { return false; }
    bool IsConnectedStripFD(IRDXRecord*) override { return false; }
    bool IsConnectedWall(IRDXRecord*) override { return false; }
    bool IsStartFreeHead() override { return true; }
    bool IsEndFreeHead() override { return true; }
    double GetSideWallWidth() override { return 0.0; }
    const TVRMPolyhedron3d* GetStartFreeHeadSolid() override { return nullptr; }
    const TVRMPolyhedron3d* GetEndFreeHeadSolid() override { return nullptr; }
    int GetConnectedTrenches(bool) override { return 0; }
    bool IsFreeHeadAdded() override { return false; }
    void SetFreeHeadAdded(bool) override {}
    bool IsElevOverlapped(IRDXRecord*) override { return false; }

    std::optional<TVRMPolyhedron3d> hole, whole;
};

// The attached-element operations with neutral answers (nothing built).
template <class TFamily>
class TFakeAttachWallFaceOps : public TQTKCalculatorEDO, public TFamily {
public:
    explicit TFakeAttachWallFaceOps(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    RecordRef GetHostRecord() override { return nullptr; }
    int GetHostElementType() override { return -1; }
    bool IsHostWallType() override { return false; }
    bool IsOnHostLeftSide() override { return false; }
    bool IsSameDirectionAsHost() override { return true; }
    TVRMCustomLine2d GetCalcLine() override { return {}; }
    void SetLineMode(int) override {}
    int GetLineMode() override { return 0; }
    void LockGeometry() override {}
    void UnlockGeometry() override {}
    const TVRMCustomLine2d* GetMidLine() override { return nullptr; }
    const TVRMCustomLine2d* GetLeftLine() override { return nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return nullptr; }
    const TVRMCustomLine2d* GetHostSideLine() override { return nullptr; }
    const TVRMCustomLine2d* GetHostOppositeSideLine() override { return nullptr; }
    const TVRMCustomLine2d* GetFaceLine() override { return nullptr; }
    const TVRMCustomLine2d* GetAttachFaceLine() override { return nullptr; }
    bool IsStartAtFreeWallEnd() override { return false; }
    bool IsEndAtFreeWallEnd() override { return false; }
    bool IsBelowHostBottom() override { return false; }
    Ref<IQTKPolyhedron3dIntf> GetHalfBlockPolyhedron() override { return nullptr; }
    Ref<IQTKPolyhedron3dIntf> GetExtendOriginalPolyhedron() override { return nullptr; }
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return nullptr; }
    const TVRMMultiPolygon2d* GetHalfPlanPolygon() override { return nullptr; }
    void SetRelatedListCached(bool) override {}
    void SetRelatedList(TRecordList) override {}
    bool IsRelatedListCached() override { return false; }
    TRecordList GetRelatedList() override { return {}; }
    RecordRef GetHostInsulatingLayerRecord() override { return nullptr; }
    int GetHostFillWallOverlayKind() override { return 1; }
    void SetAuxiliaryFlag(bool) override {}
    void SetCalcByHostAxisLine(bool) override {}
    bool IsCalcByHostAxisLine() override { return false; }
};

// A wall-face finish or dado on a wall that may carry an insulating layer.
class TFakeWallFaceEDO final : public TFakeAttachWallFaceOps<IQTKAttachWallFaceEntBaseCalcEDO> {
public:
    explicit TFakeWallFaceEDO(IQTKElementDrawObj* drawObj) : TFakeAttachWallFaceOps(drawObj) {}
    bool IsBlockConsiderInsulatingLayer() override { return blockOutsideLayer; }
    bool IsPlasteringConsiderInsulatingLayer() override { return plasteringOutsideLayer; }
    double GetHostInsulatingLayerThickness() override { return hostLayerThickness; }
    const TVRMCustomLine2d* GetLeftLine() override { return leftLine ? &*leftLine : nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return rightLine ? &*rightLine : nullptr; }
    void ReleaseHalfBlockPolyhedronItem(const TQTKFinishHalfBlockPolyhedronItem*) override {}
    void ReleaseExtendOriginalPolyhedronItem(const TQTKFinishExtendOriginalPolyhedronItem*) override {}

    std::optional<TVRMCustomLine2d> leftLine, rightLine;
    bool blockOutsideLayer = false;
    bool plasteringOutsideLayer = false;
    double hostLayerThickness = 0.0;
};

// A wall-face finish, dado or skirt: host side line, calculation line, bottom
// elevations of its layers and original face polygons as set (the same for
// every point and wall).
class TFakeWallAttachEDO final : public TFakeAttachWallFaceOps<IQTKFaceFinishCalcEDO> {
public:
    explicit TFakeWallAttachEDO(IQTKElementDrawObj* drawObj) : TFakeAttachWallFaceOps(drawObj) {}
    bool IsBlockConsiderInsulatingLayer() override { return false; }
    bool IsPlasteringConsiderInsulatingLayer() override { return false; }
    double GetHostInsulatingLayerThickness() override { return 0.0; }
    void ReleaseHalfBlockPolyhedronItem(const TQTKFinishHalfBlockPolyhedronItem*) override {}
    void ReleaseExtendOriginalPolyhedronItem(const TQTKFinishExtendOriginalPolyhedronItem*) override {}
    RecordRef GetHostRecord() override { return GetElementDrawObj()->GetParentRecord(); }
    const TVRMCustomLine2d* GetHostSideLine() override { return hostSideLine ? &*hostSideLine : nullptr; }
    TVRMCustomLine2d GetCalcLine() override { return calcLine; }
    double GetPlasteringBottomElevAt(const TVRMPoint2d&) override { return plasteringBottom; }
    double GetBlockBottomElevAt(const TVRMPoint2d&) override { return blockBottom; }
    Ref<IQTKSectionPoly> GetPlasteringOriginalPolygon(IRDXRecord*) override { return plasteringPolygon; }
    Ref<IQTKSectionPoly> GetBlockOriginalPolygon(IRDXRecord*) override { return blockPolygon; }

    std::optional<TVRMCustomLine2d> hostSideLine;
    TVRMCustomLine2d calcLine;
    double plasteringBottom = 0.0, blockBottom = 0.0;
    Ref<IQTKSectionPoly> plasteringPolygon, blockPolygon;
};

// Earthwork objects: depths, slope and working-face answers and the slope
// bottom outline as the test sets them.
template <class TFamily>
class TFakeCustomEarthworkEDO : public TQTKCalculatorEDO, public virtual TFamily {
public:
    explicit TFakeCustomEarthworkEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    double GetCutDepth() override { return cutDepth; }
    double GetFrozenDepth() override { return frozenDepth; }
    double GetWetDepth() override { return wetDepth; }
    double GetBottomElev() override { return bottomElev; }
    const TVRMMultiPolygon2d* GetBottomPolygon() override { return bottomPolygon ? &*bottomPolygon : nullptr; }
    bool HasWorkingFace() override { return workingFace; }
    bool HasSlope() override { return slope; }

    double cutDepth = 0.0, wetDepth = 0.0, frozenDepth = 0.0;
    double bottomElev = 0.0;
    std::optional<TVRMMultiPolygon2d> bottomPolygon;
    bool workingFace = false;
    bool slope = false;
};

class TFakeDitchEarthEDO final : public TFakeCustomEarthworkEDO<IQTKDitchEarthCalcEDO> {
public:
    using TFakeCustomEarthworkEDO::TFakeCustomEarthworkEDO;
    bool IsLevelBottom() override { return levelBottom; }
    const TVRMCustomLine2d* GetMidLine() override { return Line(midLine); }
    const TVRMCustomLine2d* GetLeftLine() override { return Line(leftLine); }
    const TVRMCustomLine2d* GetRightLine() override { return Line(rightLine); }
    const TVRMCustomLine2d* GetLeftWorkingFaceLine() override { return nullptr; }
    const TVRMCustomLine2d* GetRightWorkingFaceLine() override { return nullptr; }
    double GetSectionArea(bool) override { return sectionArea; }
    double GetWetSectionArea(bool) override { return wetSectionArea; }
    double GetFrozenSectionArea(bool) override { return frozenSectionArea; }

    bool levelBottom = true;
    std::optional<TVRMCustomLine2d> midLine, leftLine, rightLine;
    double sectionArea = 0.0, wetSectionArea = 0.0, frozenSectionArea = 0.0;

private:
    static const TVRMCustomLine2d* Line(const std::optional<TVRMCustomLine2d>& line) { return line ? &*line : nullptr; }
};

// An excavation or pit earth.
class TFakePitEarthEDO final : public TFakeCustomEarthworkEDO<IQTKExcavatedEarthCalcEDO> {
public:
    using TFakeCustomEarthworkEDO::TFakeCustomEarthworkEDO;
    bool IsLevelBottom() override { return true; }
    const TVRMMultiPolygon2d* GetSlopeBottomPolygon() override { return slopeBottom ? &*slopeBottom : nullptr; }
    // Every edge of the slope bottom widened by slopeFactor x height (none without a factor).
    void GetSlopeWidths(std::vector<double>& widths, double height) override
    {
        widths.clear();
        if (slopeFactor > 0.0 && slopeBottom)
            widths.assign(static_cast<size_t>(slopeBottom->GetEdgeCount()), slopeFactor * height);
    }

    std::optional<TVRMMultiPolygon2d> slopeBottom;
    double slopeFactor = 0.0;
};

class TFakeEarthBackfillEDO final : public TFakeCustomEarthworkEDO<IQTKEarthBackfillCalcEDO> {
public:
    using TFakeCustomEarthworkEDO::TFakeCustomEarthworkEDO;
};

// A pit or excavation backfill: every edge of its bottom outline widened by
// slopeFactor x height.
class TFakePitBackfillEDO final : public TFakeCustomEarthworkEDO<IQTKExcavatedBackfillCalcEDO> {
public:
    using TFakeCustomEarthworkEDO::TFakeCustomEarthworkEDO;
    void CalcSlopeWidths(std::vector<double>& widths, double height) override
    {
        widths.assign(bottomPolygon ? static_cast<size_t>(bottomPolygon->GetEdgeCount()) : 0, slopeFactor * height);
    }

    double slopeFactor = 0.0;
};

// A ditch backfill between its left and right lines (no working face lines).
class TFakeDitchBackfillEDO final : public TFakeCustomEarthworkEDO<IQTKDitchBackfillCalcEDO> {
public:
    using TFakeCustomEarthworkEDO::TFakeCustomEarthworkEDO;
    const TVRMCustomLine2d* GetLeftLine() override { return leftLine ? &*leftLine : nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return rightLine ? &*rightLine : nullptr; }
    const TVRMCustomLine2d* GetLeftWorkingFaceLine() override { return nullptr; }
    const TVRMCustomLine2d* GetRightWorkingFaceLine() override { return nullptr; }

    std::optional<TVRMCustomLine2d> leftLine, rightLine;
};

class TFakeEarthBackfillUnitEDO final : public TQTKCalculatorEDO, public IQTKEarthBackfillUnitCalcEDO {
public:
    explicit TFakeEarthBackfillUnitEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    RecordRef GetBackfillRecord() override { return backfill; }

    RecordRef backfill;
};

// A line bedding whose ends are joined as the test says.
class TFakeLineBeddingEDO final : public TQTKCalculatorEDO,
                                  public IQTKLineBeddingCalcEDO,
                                  public IQTKLineEdoInfoProvider {
public:
    explicit TFakeLineBeddingEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMCustomLine2d* GetMidLine() override { return &midLine; }
    double GetSlopeFactor() override { return 1.0; }
    TQTKLineEdoInfoArray GetStartLineEdoInfos() override { return {}; }
    TQTKLineEdoInfoArray GetEndLineEdoInfos() override { return {}; }
    TQTKLineEdoInfoArray GetStartSameKindLineEdoInfos() override { return {}; }
    TQTKLineEdoInfoArray GetEndSameKindLineEdoInfos() override { return {}; }
    Ref<IQTKConnectedEdoIDInfo> GetConnectedEdoIDInfo() override { return Ref<IQTKConnectedEdoIDInfo>(info.get()); }

    TVRMCustomLine2d midLine{{0, 0}, {6000, 0}};
    Ref<TQTKConnectedEdoIDInfo> info = MakeRef<TQTKConnectedEdoIDInfo>();
};

// A slab: curved or not, with the plan polygon it is calculated with and its solid as set.
class TFakeSlabEDO final : public TQTKCalculatorEDO, public IQTKSlabCalculator {
public:
    explicit TFakeSlabEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    bool IsCurvedFaceShape() override { return curved; }
    const TVRMMultiPolygon2d* GetCalcPolygon() override { return &calcPolygon; }
    std::shared_ptr<TQTKSolidCalc3d> GetVolumeCalc() override { return nullptr; }
    void SetVolumeCalc(std::shared_ptr<TQTKSolidCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetAreaCalc() override { return nullptr; }
    void SetAreaCalc(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetProjectiveAreaCalc() override { return nullptr; }
    void SetProjectiveAreaCalc(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetFormboardCalc() override { return nullptr; }
    void SetFormboardCalc(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TQTKShellCalc3d> GetSideFormboardCalc() override { return nullptr; }
    void SetSideFormboardCalc(std::shared_ptr<TQTKShellCalc3d>) override {}
    std::shared_ptr<TVRMPolyhedronLines3d> GetContactWallLengthCalc() override { return nullptr; }
    void SetContactWallLengthCalc(std::shared_ptr<TVRMPolyhedronLines3d>) override {}
    std::shared_ptr<TVRMOverhighSolidCalc3d> GetOverhighVolumeCalc() override { return nullptr; }
    void SetOverhighVolumeCalc(std::shared_ptr<TVRMOverhighSolidCalc3d>) override {}
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighFormboardCalc() override { return nullptr; }
    void SetOverhighFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d>) override {}
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOverhighSideFormboardCalc() override { return nullptr; }
    void SetOverhighSideFormboardCalc(std::shared_ptr<TVRMOverhighShellCalc3d>) override {}
    std::shared_ptr<TVRMOverhighShellCalc3d> GetOrBuildOverhighSideFormboardCalc(
        const std::function<std::shared_ptr<TVRMOverhighShellCalc3d>()>& build) override
    {
        return build();
    }
    const TVRMPolyhedron3d* GetCurvedSolid() override { return nullptr; }
    double GetSettingAreaMM2(const TableSourceRef&, std::string_view) override { return 0.0; }
    double GetThickness() override { return thickness; }
    void AddAddPolygon(int, std::unique_ptr<TVRMMultiPolygon2d>) override {}
    void AddDeductPolygon(int, std::unique_ptr<TVRMMultiPolygon2d>) override {}
    std::vector<const TVRMMultiPolygon2d*> GetAddPolygons() override { return {}; }
    std::vector<const TVRMMultiPolygon2d*> GetDeductPolygons() override { return {}; }
    std::shared_ptr<TQTKOverhighElev> GetOverhighElev() override { return nullptr; }
    void SetOverhighElev(std::shared_ptr<TQTKOverhighElev>) override {}

    bool curved = false;
    double thickness = 0.0;
    TVRMMultiPolygon2d calcPolygon;
    std::optional<TVRMPolyhedron3d> solid;  // the original solid; else the element's own

private:
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override
    {
        return solid ? std::make_unique<TVRMPolyhedron3d>(*solid) : TQTKCalculatorEDO::BuildOriginalPolyhedron();
    }
};

// An insulating layer with the column and beam faces standing out of it.
class TFakeInsulatingLayerEDO final : public TFakeAttachWallFaceOps<IQTKInsulatingLayerCalcEDO> {
public:
    explicit TFakeInsulatingLayerEDO(IQTKElementDrawObj* drawObj) : TFakeAttachWallFaceOps(drawObj) {}
    bool IsBlockConsiderInsulatingLayer() override { return false; }
    bool IsPlasteringConsiderInsulatingLayer() override { return false; }
    double GetHostInsulatingLayerThickness() override { return 0.0; }
    void ReleaseHalfBlockPolyhedronItem(const TQTKFinishHalfBlockPolyhedronItem*) override {}
    void ReleaseExtendOriginalPolyhedronItem(const TQTKFinishExtendOriginalPolyhedronItem*) override {}
    TQTKOutWallFaceCalc* GetOutWallColumnCalc() override { return &columns; }
    TQTKOutWallFaceCalc* GetOutWallBeamCalc() override { return &beams; }

    TQTKOutWallFaceCalc columns;
    TQTKOutWallFaceCalc beams;
};

// An element whose original solid is the one the test gives (none: empty).
class TFakeSolidEDO : public TQTKCalculatorEDO {
public:
    explicit TFakeSolidEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}

    std::optional<TVRMPolyhedron3d> solid;

protected:
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override
    {
        return std::make_unique<TVRMPolyhedron3d>(solid ? *solid : TVRMPolyhedron3d());
    }
};

// A sump: its body is its original solid, with the hole as set.
class TFakeSumpEDO final : public TFakeSolidEDO, public IQTKSumpCalcEDO {
public:
    using TFakeSolidEDO::TFakeSolidEDO;
    const TVRMPolyhedron3d* GetHoleSolid() override { return hole ? &*hole : nullptr; }
    const TVRMPolyhedron3d* GetBodySolid() override { return solid ? &*solid : nullptr; }

    std::optional<TVRMPolyhedron3d> hole;
};

// An apron whose touching-wall and perimeter calculators are the test's.
class TFakeApronEDO final : public TQTKCalculatorEDO, public IQTKApronCalcEDO {
public:
    explicit TFakeApronEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    std::shared_ptr<TVRMLinearCalcContr> GetTunchWallLengthCalc() override { return touchWall; }
    std::shared_ptr<TVRMMultiPolyLinearCalc2d> GetPerimeterCalc() override { return perimeter; }
    std::shared_ptr<TQTKShellCalc3d> GetAreaShellCalc() override { return nullptr; }
    std::shared_ptr<const TVRMMultiPolygon2d> GetNetFacePolygon() override { return nullptr; }

    std::shared_ptr<TVRMLinearCalcContr> touchWall;
    std::shared_ptr<TVRMMultiPolyLinearCalc2d> perimeter;
};

// A site levelling whose outline grown by 2 m is the test's (none: nil).
class TFakeSiteLevelingEDO final : public TQTKCalculatorEDO, public IQTKSiteLevelingCalcEDO {
public:
    explicit TFakeSiteLevelingEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMMultiPolygon2d* GetExtendTwoMeterPolygon() override { return extended ? &*extended : nullptr; }

    std::optional<TVRMMultiPolygon2d> extended;
};

class TFakeCourtyardEDO final : public TQTKCalculatorEDO, public IQTKCourtyardCalcEDO {
public:
    explicit TFakeCourtyardEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return &plan; }

    TVRMMultiPolygon2d plan;
};

// An element object that gives no lines or sections (what a line element
// without its family's object answers).
class TFakePlainEDO final : public TQTKCalculatorEDO {
public:
    explicit TFakePlainEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
};

// Attaches test objects to host elements (already prepared) for the scope's
// length.
class TFakeEDOScope {
public:
    TFakeEDOScope() = default;
    TFakeEDOScope(const TFakeEDOScope&) = delete;
    TFakeEDOScope& operator=(const TFakeEDOScope&) = delete;
    ~TFakeEDOScope() { Detach(); }

    template <class T>
    T& Attach(IQTKElementDrawObj* drawObj)
    {
        QTK_ASSERT(drawObj != nullptr);
        Ref<T> edo(new T(drawObj));
        edo->SetPrepareState(CQTKEdoPrepared);
        drawObj->SetCalcEDO(static_cast<IQTKCalculatorEDO*>(edo.get()));
        attached_.push_back({drawObj, edo});
        return *edo;
    }

    // Drops the objects' caches first (line objects keep their neighbours in
    // them), then takes them off their elements. The scope keeps the elements
    // alive, so it may end after the building that holds them.
    void Detach()
    {
        for (const TAttached& a : attached_)
            a.edo->ClearCalcCache();
        for (const TAttached& a : attached_)
            a.drawObj->SetCalcEDO(nullptr);
        attached_.clear();
    }

private:
    struct TAttached {
        Ref<IQTKElementDrawObj> drawObj;
        Ref<IQTKCalculatorEDO> edo;
    };
    std::vector<TAttached> attached_;
};
