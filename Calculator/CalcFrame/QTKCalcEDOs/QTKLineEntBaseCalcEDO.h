// The element object of every element drawn along an axis line (walls,
// beams, parapets, copings, strip foundations, trenches, ribbons ...): its
// joined middle, left and right lines from the host's middle-line
// calculators, the extended middle line and plan polygons, its solid with the
// end faces last, the line elements met at its ends, and its solid without
// the elements it gives way to.
//
// Threads: what a neighbour's calculator asks of this object (id, axis line,
// widths, connectability, shape, record) is read from the host element and
// takes no lock. What the object builds late is computed with no lock held
// (a calculator called from here calls back into other objects) and stored
// under the object's data lock; the first result stored wins and is never
// replaced, so the pointers handed out stay valid. Lock order: the data lock
// is the last one taken (nothing is called while it is held); the related
// list's lock may be held while other elements are asked for their relation
// solids (the drawn element's, never the joined lines); lines and end lists
// take neither, as their neighbours come from the box service.
#pragma once

#include <atomic>
#include <memory>
#include <vector>

#include "Calculator/CalcFrame/QTKCalcEDOs/QTKCalculatorEDO.h"
#include "Host/ElementModel/LineCalculator/QTKLineEdoInfo.h"

class IQTKLineShape;
class TQTKLineCalculator;
struct TLineCalcArgs;

class TQTKLineEntBaseCalcEDO : public TQTKCalculatorEDO,
                               public virtual IQTKLineEntBaseCalcEDO,
                               public IQTKLineEdoInfo,
                               public IQTKLineEdoInfoProvider {
public:
    TQTKLineEntBaseCalcEDO(std::uint8_t mode, IQTKElementDrawObj* drawObj);

    // IQTKCalculatorEDO
    void Prepare(IRDXRecord* record) override;
    // Forgets the line elements met at the ends; they are gathered again when next asked for.
    void ClearCalcCache() override;

    // IQTKLineEntBaseCalcEDO
    const TVRMCustomLine2d* GetMidLine() override;
    const TVRMCustomLine2d* GetLeftLine() override;
    const TVRMCustomLine2d* GetRightLine() override;
    bool IsStartUnconnected() override { return GetStartLineEdoInfos().empty(); }
    bool IsEndUnconnected() override { return GetEndLineEdoInfos().empty(); }
    const TVRMCustomLine2d* GetExtendedMidLine() override;
    bool GetUseAxisLength() override { return useAxisLength_.load(); }
    void SetUseAxisLength(bool value) override { useAxisLength_.store(value); }
    const TVRMMultiPolygon2d* GetPlanPolygon() override;
    const TVRMMultiPolygon2d* GetExtendedPolygon() override;
    const TVRMCustomLine2d* GetAttachWallFaceLeftLine() override;
    const TVRMCustomLine2d* GetAttachWallFaceRightLine() override;
    const TVRMCustomLine2d* GetAttachWallFaceLeftLineWithInsulatingLayer() override;
    const TVRMCustomLine2d* GetAttachWallFaceRightLineWithInsulatingLayer() override;
    const TVRMMultiPolygon2d* GetAttachWallFacePolygon() override;
    const TVRMMultiPolygon2d* GetAttachWallFacePolygonWithInsulatingLayer() override;
    std::vector<int> GetEndFaceIndexes() override;
    int GetStartFaceIndex() override;
    int GetEndFaceIndex() override;
    RecordRef GetStartConnectedRecord() override;
    RecordRef GetEndConnectedRecord() override;
    const TVRMPolyhedron3d* GetSolidWithoutPriorElements() override;
    RecordRef GetInsulatingLayerRecord(bool isLeft) override;

    // IQTKLineEdoInfo
    int GetID() override;
    TVRMCustomLine2d GetLine() override;
    double GetWidth() override;
    double GetAxisOffset() override;
    bool IsMidlineConnectable() override { return true; }
    double GetActualWidth() override;
    double GetActualAxisOffset() override;
    IQTKLineShape* GetShape() override;
    IRDXRecord* GetRecord() override;
    // Not offered (an assertion failure, empty): the calculators never ask for it.
    TQTKLineEdoInfoArray GetLineEdoInfos() override { return TQTKCalculatorEDO::GetLineEdoInfos(); }

    // IQTKLineEdoInfoProvider
    TQTKLineEdoInfoArray GetStartLineEdoInfos() override;
    TQTKLineEdoInfoArray GetEndLineEdoInfos() override;
    TQTKLineEdoInfoArray GetStartSameKindLineEdoInfos() override;
    TQTKLineEdoInfoArray GetEndSameKindLineEdoInfos() override;
    Ref<IQTKConnectedEdoIDInfo> GetConnectedEdoIDInfo() override;

    // Merges the end faces of a solid of a line element at its side lines'
    // ends and moves them last (start N-2, end N-1); an end face not found
    // is -1 and leaves the order as it was.
    static void LocateEndFaces(TVRMPolyhedron3d& solid, const TVRMCustomLine2d& left, const TVRMCustomLine2d& right,
                               int& startIndex, int& endIndex);

    using TEdoCompareFunc = int (*)(IQTKCalculatorEDO* a, IQTKCalculatorEDO* b);
    // The join priority the middle-line calculators use (and the one the
    // actual-middle calculator uses, which nothing asks for separately yet).
    virtual TEdoCompareFunc GetPriorityCompareFunc();
    virtual TEdoCompareFunc GetActualPriorityCompareFunc();

protected:
    ~TQTKLineEntBaseCalcEDO() override;

    // The element types it joins (its calculators' neighbours).
    virtual TQTKElementTypeSet GetConnectElementTypes() = 0;
    // The element's solid along the extended middle line, before it is cut between the side lines.
    virtual std::unique_ptr<TVRMPolyhedron3d> BuildSolid() = 0;
    virtual bool IsCalcByActualMiddle() { return false; }
    virtual bool IsKeepConnectedEdoIDInfo() { return true; }
    // The lengths by which the middle line reaches into the elements at its ends.
    virtual void CalcExtendLength(double& startExt, double& endExt);
    // Called with the lines just built (before they are stored).
    virtual void AfterCalcLines(TVRMCustomLine2d& /*mid*/, TVRMCustomLine2d& /*left*/, TVRMCustomLine2d& /*right*/) {}
    virtual void AfterPrepareSolid() {}
    // The solid builder's solid, else BuildSolid cut between the side lines.
    virtual std::unique_ptr<TVRMPolyhedron3d> CreateSolid();
    std::unique_ptr<TVRMPolyhedron3d> BuildOriginalPolyhedron() override;
    // The host's solid of the drawn element: relating elements never waits for joined lines.
    std::unique_ptr<TVRMPolyhedron3d> BuildRelationPolyhedron() override;
    const IQTKLineShape* LineShape() const;
    // Forgets the lines, face lines, polygons, end faces and the solid without
    // prior elements and prepares the solid again (the width or axis offset
    // the lines are built from changed). What was handed out before stays
    // valid while the object lives.
    void RecalcLinesAndSolid();
    // The arguments of this element's middle-line calculators.
    TLineCalcArgs MakeArgs(bool attachMode, bool actualWidth);
    // Replaces the connected-ID info (a calculator of other lines found the element's connections anew).
    void SetConnectedEdoIDInfo(Ref<IQTKConnectedEdoIDInfo> info);
    // Puts new middle, left and right lines in place of the joined ones (a
    // ribbon trimmed where its free end is covered), keeping the connected-ID
    // info; what was built on the old lines is forgotten (it stays valid
    // while the object lives) and the solid is prepared again.
    void ReplaceLines(TVRMCustomLine2d mid, TVRMCustomLine2d left, TVRMCustomLine2d right);
    // The two halves of RecalcLinesAndSolid: forget (neighbours' calculators
    // then build the lines afresh when they ask), and prepare the solid again.
    void ForgetLines();
    void RebuildSolid();

private:
    void RetireBuilt();
    struct TLines {
        TVRMCustomLine2d mid, left, right;
    };
    struct TEndInfos {
        bool computed = false;
        TQTKLineEdoInfoArray infos;
    };
    const TLines& Lines();
    const TLines& AttachLines(bool withLayers);
    TQTKLineEdoInfoArray EndInfos(TEndInfos& slot, bool atStart, bool sameKind);
    // The joined-line search's candidates around this element, found once per
    // set of types (the boxes and the host's relations stay while it lives).
    TRecordList Nearby(const TQTKElementTypeSet& types);
    struct TNearby {
        TQTKElementTypeSet types;
        TRecordList records;
    };
    TQTKElementTypeSet GetSameKindTypes();
    RecordRef ConnectedRecord(bool atStart);
    std::vector<RecordRef> InsulatingLayers();
    const TVRMMultiPolygon2d* PolygonBetween(std::unique_ptr<TVRMMultiPolygon2d>& slot, const TVRMCustomLine2d* a,
                                             const TVRMCustomLine2d* b);

    std::unique_ptr<TLines> lines_;
    std::unique_ptr<TLines> attachLines_;
    std::unique_ptr<TLines> attachLayerLines_;
    std::unique_ptr<TVRMCustomLine2d> extendedMidLine_;
    std::unique_ptr<TVRMMultiPolygon2d> planPolygon_;
    std::unique_ptr<TVRMMultiPolygon2d> extendedPolygon_;
    std::unique_ptr<TVRMMultiPolygon2d> attachPolygon_;
    std::unique_ptr<TVRMMultiPolygon2d> attachLayerPolygon_;
    std::unique_ptr<TVRMPolyhedron3d> solidWithoutPrior_;
    Ref<IQTKConnectedEdoIDInfo> connected_;
    TEndInfos startInfos_, endInfos_, startSameKind_, endSameKind_;
    std::vector<TNearby> nearby_;
    std::atomic<int> startFace_{-1};
    std::atomic<int> endFace_{-1};
    std::atomic<bool> useAxisLength_{false};
    std::atomic<double> actualWidth_{-1.0};
    std::atomic<double> actualAxisOffset_{-1.0};
    std::vector<std::shared_ptr<void>> retired_;  // what RecalcLinesAndSolid replaced
};
