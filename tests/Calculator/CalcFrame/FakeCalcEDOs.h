// Small element objects of the line, wall, lintel, insulating wall unit,
// wall-face and earthwork families for tests of the shared routines: each answers from
// fields the test sets, so a test states exactly what the family reports.
// A scope attaches them to host elements and detaches them again.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Calculator/Strategies/Common/QTKOutWallFaceCalc.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

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

    std::optional<TVRMCustomLine2d> midLine, leftLine, rightLine;
    bool startFree = true;
    bool endFree = true;
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

using TFakeBeamEDO = TFakeSectionLineEDO<IQTKBeamCalcEDO>;
using TFakeCopingEDO = TFakeSectionLineEDO<IQTKCopingCalcEDO>;

class TFakeWallEDO final : public TFakeLineEDO<IQTKWallCalcEDO> {
public:
    using TFakeLineEDO::TFakeLineEDO;

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

    std::optional<std::string> material;  // else the element's "Material"
    int overlayState = 1;
    std::vector<int> overlayIds;
    std::uint8_t shortArmKind = 5;
    std::uint8_t onlyMaterialMode = 0;
};

class TFakeLintelEDO final : public TQTKCalculatorEDO, public IQTKLintelCalcEDO {
public:
    explicit TFakeLintelEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMMultiPolygon2d* GetPlanPolygon() override { return &planPolygon; }

    TVRMMultiPolygon2d planPolygon;
};

class TFakeInsulatingWallUnitEDO final : public TQTKCalculatorEDO, public IQTKInsulatingWallUnitCalcEDO {
public:
    explicit TFakeInsulatingWallUnitEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMCustomLine2d* GetMidLine() override { return midLine ? &*midLine : nullptr; }

    std::optional<TVRMCustomLine2d> midLine;
};

class TFakeStripFDUnitEDO final : public TQTKCalculatorEDO, public IQTKStripFDUnitCalcEDO {
public:
    explicit TFakeStripFDUnitEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    const TVRMCustomLine2d* GetUnitLine() override { return unitLine ? &*unitLine : nullptr; }
    const TVRMCustomLine2d* GetLeftLine() override { return nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return nullptr; }

    std::optional<TVRMCustomLine2d> unitLine;
};

// A wall-face finish or dado on a wall that may carry an insulating layer.
class TFakeWallFaceEDO final : public TQTKCalculatorEDO, public IQTKAttachWallFaceEntBaseCalcEDO {
public:
    explicit TFakeWallFaceEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    bool IsBlockConsiderInsulatingLayer() override { return blockOutsideLayer; }
    bool IsPlasteringConsiderInsulatingLayer() override { return plasteringOutsideLayer; }
    double GetHostInsulatingLayerThickness() override { return hostLayerThickness; }
    void ReleaseHalfBlockPolyhedronItem(const TQTKFinishHalfBlockPolyhedronItem*) override {}
    void ReleaseExtendOriginalPolyhedronItem(const TQTKFinishExtendOriginalPolyhedronItem*) override {}

    bool blockOutsideLayer = false;
    bool plasteringOutsideLayer = false;
    double hostLayerThickness = 0.0;
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
    double GetBottomElev() override { return 0.0; }
    const TVRMMultiPolygon2d* GetBottomPolygon() override { return nullptr; }
    bool HasWorkingFace() override { return workingFace; }
    bool HasSlope() override { return slope; }

    double cutDepth = 0.0, wetDepth = 0.0, frozenDepth = 0.0;
    bool workingFace = false;
    bool slope = false;
};

class TFakeDitchEarthEDO final : public TFakeCustomEarthworkEDO<IQTKDitchEarthCalcEDO> {
public:
    using TFakeCustomEarthworkEDO::TFakeCustomEarthworkEDO;
    bool IsLevelBottom() override { return true; }
    const TVRMCustomLine2d* GetMidLine() override { return nullptr; }
    const TVRMCustomLine2d* GetLeftLine() override { return nullptr; }
    const TVRMCustomLine2d* GetRightLine() override { return nullptr; }
    const TVRMCustomLine2d* GetLeftWorkingFaceLine() override { return nullptr; }
    const TVRMCustomLine2d* GetRightWorkingFaceLine() override { return nullptr; }
    double GetSectionArea(bool) override { return 0.0; }
    double GetWetSectionArea(bool) override { return 0.0; }
    double GetFrozenSectionArea(bool) override { return 0.0; }
};

// An excavation or pit earth.
class TFakePitEarthEDO final : public TFakeCustomEarthworkEDO<IQTKExcavatedEarthCalcEDO> {
public:
    using TFakeCustomEarthworkEDO::TFakeCustomEarthworkEDO;
    bool IsLevelBottom() override { return true; }
    const TVRMMultiPolygon2d* GetSlopeBottomPolygon() override { return slopeBottom ? &*slopeBottom : nullptr; }
    void GetSlopeWidths(std::vector<double>& widths, double) override { widths.clear(); }

    std::optional<TVRMMultiPolygon2d> slopeBottom;
};

class TFakeEarthBackfillEDO final : public TFakeCustomEarthworkEDO<IQTKEarthBackfillCalcEDO> {
public:
    using TFakeCustomEarthworkEDO::TFakeCustomEarthworkEDO;
};

class TFakeEarthBackfillUnitEDO final : public TQTKCalculatorEDO, public IQTKEarthBackfillUnitCalcEDO {
public:
    explicit TFakeEarthBackfillUnitEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
    RecordRef GetBackfillRecord() override { return backfill; }

    RecordRef backfill;
};

// An insulating layer with the column and beam faces standing out of it.
class TFakeInsulatingLayerEDO final : public TQTKCalculatorEDO, public IQTKInsulatingLayerCalcEDO {
public:
    explicit TFakeInsulatingLayerEDO(IQTKElementDrawObj* drawObj) : TQTKCalculatorEDO(0, drawObj) {}
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

// Attaches test objects to host elements (already prepared) for the scope's
// length.
class TFakeEDOScope {
public:
    TFakeEDOScope() = default;
    TFakeEDOScope(const TFakeEDOScope&) = delete;
    TFakeEDOScope& operator=(const TFakeEDOScope&) = delete;
    ~TFakeEDOScope()
    {
        for (IQTKElementDrawObj* drawObj : attached_)
            drawObj->SetCalcEDO(nullptr);
    }

    template <class T>
    T& Attach(IQTKElementDrawObj* drawObj)
    {
        QTK_ASSERT(drawObj != nullptr);
        Ref<T> edo(new T(drawObj));
        edo->SetPrepareState(CQTKEdoPrepared);
        drawObj->SetCalcEDO(static_cast<IQTKCalculatorEDO*>(edo.get()));
        attached_.push_back(drawObj);
        return *edo;
    }

private:
    std::vector<IQTKElementDrawObj*> attached_;
};
