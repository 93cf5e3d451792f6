// The base of the element objects of elements lying on a face of their host
// (the parent): wall-face finishes, dados, skirtings and insulating layers
// on a wall, an insulating wall, a parapet or a column.
//
// It decides on which side of the host the element lies and whether it runs
// the host's way, the host face line under it (clipped to the element and
// shortened where other walls cover the face), the band the element makes
// on that line (joined to the finishes around it by the host's actual-middle
// calculator), its plan polygons and cached solids, whether its ends stop at
// a free end of the host wall, whether it reaches below the host, and the
// host's insulating layer. To the line calculators it is a line element
// lying on the face line, as wide as its thickness, on the host's side away
// from the host.
//
// Threads: what is built late is built with no lock held and kept under the
// data lock, the first one kept winning; the geometry lock is for rules that
// switch the line mode around a calculation.
#pragma once

#include <atomic>
#include <memory>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"

class TQTKAttachWallFaceEntBaseCalcEDO : public TQTKCalculatorEDO,
                                         public virtual IQTKAttachWallFaceEntBaseCalcEDO,
                                         public IQTKLineEdoInfo,
                                         public IQTKLineEdoInfoProvider {
public:
    TQTKAttachWallFaceEntBaseCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    // Start and end at the host's ends until a face line says otherwise,
    // line mode 0, the end tests and neighbours to decide again, and whether
    // the element reaches below its host.
    void Prepare(IRDXRecord* record) override;
    // Forgets the neighbours met at the ends (gathered again when next asked for).
    void ClearCalcCache() override;
    // Clears the auxiliary and calc-by-host-axis-line flags.
    void ClearQtyItems() override;

    // IQTKAttachWallFaceEntBaseCalcEDO
    bool IsBlockConsiderInsulatingLayer() override { return false; }
    bool IsPlasteringConsiderInsulatingLayer() override { return false; }
    double GetHostInsulatingLayerThickness() override;
    void ReleaseHalfBlockPolyhedronItem(const TQTKFinishHalfBlockPolyhedronItem* item) override;
    void ReleaseExtendOriginalPolyhedronItem(const TQTKFinishExtendOriginalPolyhedronItem* item) override;
    RecordRef GetHostRecord() override { return host_; }
    int GetHostElementType() override { return hostType_; }
    bool IsHostWallType() override;
    bool IsOnHostLeftSide() override { return onLeft_; }
    bool IsSameDirectionAsHost() override { return sameDirection_; }
    TVRMCustomLine2d GetCalcLine() override;
    void SetLineMode(int mode) override;
    int GetLineMode() override { return lineMode_.load(); }
    void LockGeometry() override;
    void UnlockGeometry() override;
    const TVRMCustomLine2d* GetMidLine() override;
    const TVRMCustomLine2d* GetLeftLine() override;
    const TVRMCustomLine2d* GetRightLine() override;
    const TVRMCustomLine2d* GetHostSideLine() override;
    const TVRMCustomLine2d* GetHostOppositeSideLine() override;
    const TVRMCustomLine2d* GetFaceLine() override;
    const TVRMCustomLine2d* GetAttachFaceLine() override;
    bool IsStartAtFreeWallEnd() override { return FreeEnd(true); }
    bool IsEndAtFreeWallEnd() override { return FreeEnd(false); }
    bool IsBelowHostBottom() override { return belowHost_.load(); }
    Ref<IQTKPolyhedron3dIntf> GetHalfBlockPolyhedron() override;
    Ref<IQTKPolyhedron3dIntf> GetExtendOriginalPolyhedron() override;
    const TVRMMultiPolygon2d* GetPlanPolygon() override;
    const TVRMMultiPolygon2d* GetHalfPlanPolygon() override;
    void SetRelatedListCached(bool cached) override;
    void SetRelatedList(TRecordList list) override;
    bool IsRelatedListCached() override;
    TRecordList GetRelatedList() override;
    RecordRef GetHostInsulatingLayerRecord() override;
    int GetHostFillWallOverlayKind() override;
    void SetAuxiliaryFlag(bool flag) override { auxiliary_.store(flag); }
    void SetCalcByHostAxisLine(bool flag) override { byHostAxis_.store(flag); }
    bool IsCalcByHostAxisLine() override { return byHostAxis_.load(); }

    // IQTKLineEdoInfo: the element on its face line.
    int GetID() override;
    TVRMCustomLine2d GetLine() override { return *GetBlockFaceLine(); }
    // "Thickness"; the axis offset puts the band on the side away from the host.
    double GetWidth() override;
    double GetAxisOffset() override;
    bool IsMidlineConnectable() override { return true; }
    double GetActualWidth() override { return GetWidth(); }
    double GetActualAxisOffset() override { return GetAxisOffset(); }
    IQTKLineShape* GetShape() override;
    IRDXRecord* GetRecord() override;
    TQTKLineEdoInfoArray GetLineEdoInfos() override { return TQTKCalculatorEDO::GetLineEdoInfos(); }

    // IQTKLineEdoInfoProvider: the elements of the connect types met at each end.
    TQTKLineEdoInfoArray GetStartLineEdoInfos() override { return EndInfos(true); }
    TQTKLineEdoInfoArray GetEndLineEdoInfos() override { return EndInfos(false); }
    TQTKLineEdoInfoArray GetStartSameKindLineEdoInfos() override { return EndInfos(true); }
    TQTKLineEdoInfoArray GetEndSameKindLineEdoInfos() override { return EndInfos(false); }
    Ref<IQTKConnectedEdoIDInfo> GetConnectedEdoIDInfo() override;

protected:
    ~TQTKAttachWallFaceEntBaseCalcEDO() override;

    // The element types whose elements join this one at its ends.
    virtual TQTKElementTypeSet GetConnectElementTypes() = 0;
    // Called with the band lines just computed.
    virtual void AfterCalcLines() {}
    // Called before a different line mode is stored.
    virtual void LineModeChanged() {}
    // The face line of the block layer: outside the host's insulating layers when it counts them.
    const TVRMCustomLine2d* GetBlockFaceLine();

private:
    struct TBand {
        TVRMCustomLine2d mid, left, right;
    };
    struct TEndInfos {
        bool computed = false;
        TQTKLineEdoInfoArray infos;
    };
    struct TFreeEnd {
        bool computed = false;
        bool free = false;
    };
    const IQTKLineShape* LineShape() const;
    const TBand& Band();
    const TVRMCustomLine2d* SelectHostSideLine(bool outside, bool ownSide);
    std::unique_ptr<TVRMCustomLine2d> BuildFaceLine(bool outside);
    const TVRMCustomLine2d* FaceLine(std::unique_ptr<TVRMCustomLine2d>& slot, bool outside);
    TQTKLineEdoInfoArray EndInfos(bool atStart);
    bool FreeEnd(bool atStart);
    bool DecideFreeEnd(bool atStart);
    bool DecideBelowHost();
    Ref<IQTKPolyhedron3dIntf> CachedBand(TQTKPolyhedronCacheList& list, TQTKCacheSlot& slot, bool halfBlock);
    const TVRMMultiPolygon2d* PolygonBetween(std::unique_ptr<TVRMMultiPolygon2d>& slot, const TVRMCustomLine2d* a,
                                             const TVRMCustomLine2d* b);

    const RecordRef host_;
    const int hostType_;
    bool onLeft_ = false;
    bool sameDirection_ = true;
    std::atomic<bool> startAtHostEnd_{true};
    std::atomic<bool> endAtHostEnd_{true};
    std::atomic<int> lineMode_{0};
    std::atomic<bool> belowHost_{false};
    std::atomic<bool> byHostAxis_{false};
    std::atomic<bool> auxiliary_{false};
    std::atomic<double> hostLayerThickness_{-1.0};
    std::unique_ptr<TVRMCmpxchgLock> geometryLock_;

    std::unique_ptr<TBand> band_;
    std::unique_ptr<TVRMCustomLine2d> faceLine_, attachFaceLine_;
    std::unique_ptr<TVRMMultiPolygon2d> planPolygon_, halfPlanPolygon_;
    TEndInfos startInfos_, endInfos_;
    TFreeEnd startFree_, endFree_;
    Ref<IQTKConnectedEdoIDInfo> connected_;
    bool relatedCached_ = false;
    TRecordList relatedList_;
    bool hostLayerFound_ = false;
    RecordRef hostLayer_;
    TQTKCacheSlot halfBlockItem_;
    TQTKCacheSlot extendOriginalItem_;
};
