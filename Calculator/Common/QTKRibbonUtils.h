// Ribbon windows and ribbon openings (types 8, 9) run along several walls as
// one chain of segments: the root segment and, below it, each segment the
// first child of the previous one with the same element type.
//
// The width calculator keeps, per segment, a length calculator over the
// segment's middle line (drawn width); deducting elements mark what they
// cover, and where a free end of the ribbon gets covered the segment's lines
// are trimmed to the new end. The height calculator keeps the uncovered
// heights of the ribbon's two free end faces. The ribbon's element object
// builds both (IQTKRibbonOpeningCalcEDO); the ribbon rules feed them.
//
// Threads: each calculator serialises its deductions and readings with its
// own lock; trimming a segment is guarded by the segment object.
#pragma once

#include <memory>
#include <mutex>

#include "Calculator/Common/QTKCalculatorEDOIntf.h"

class TVRMNumericalCalc2d;

// The root segment of the ribbon that Record belongs to: its parents while
// they are ribbons (types 8, 9); Record itself for the root.
RecordRef GetRibbonRootRecord(IRDXRecord* record);
// The first child (in child order) with the element's own type; nil when none.
RecordRef GetSameTypeChildRecord(IRDXRecord* record);

class TQTKRibbonWidthCalculator final : public TInterfacedObject, public IQTKRibbonWidthCalculator {
public:
    // Record: the segment the calculator is made for; only a root's
    // calculator holds the segments (any other reports a null length of 0).
    // Rate: the length factor of every segment. BottomFaces: a deducting
    // solid must meet the segments' bottom faces (else their top faces).
    // TrimLines: a covered free end trims the segment's lines. In detail
    // mode the ribbon's own length is written as an original-quantity length
    // detail, and each deduction as one length detail of the deducting
    // element with the pieces it covered.
    TQTKRibbonWidthCalculator(IRDXRecord* record, double rate, bool bottomFaces, bool trimLines);

    // sqrt(((a - b) / length)^2 + 1): the factor from the plan length of a
    // line to the length of an edge rising from a to b along it; 1 for a line
    // of no length.
    static double GetSlopeRate(const TVRMCustomLine2d& line, double a, double b);

    const TQTKRibbonWidthInfoDynArray& GetWidthInfos() override { return infos_; }
    double DeductPolygon(const TVRMMultiPolygon2d* polygon, const TVRMPolyhedron3d* solid, IRDXRecord* record) override;
    double DeductElement(IQTKLineEdoInfo* info, const TVRMMultiPolygon2d* polygon, IRDXRecord* record,
                         const TVRMPolyhedron3d* solid) override;
    double GetNullLength() override;
    RecordRef GetRecord() override { return record_; }

private:
    ~TQTKRibbonWidthCalculator() override;

    void CollectSegments(IRDXRecord* root, double rate, bool bottomFaces);
    // Marks what Polygon covers of one segment (see the .cpp).
    void ApplyToSegment(TQTKRibbonWidthInfo& info, const TVRMMultiPolygon2d& polygon, bool checkShell, bool useWidth,
                        IRDXRecord* record, const TVRMPolyhedron3d* solid);
    void UpdateNullLength();
    // The length details the segments wrote since Count become one detail.
    void MergeLengthDetails(int count, IRDXRecord* record, double length);

    RecordRef record_;
    TQTKRibbonWidthInfoDynArray infos_;
    double nullLength_ = 0.0;
    bool trimLines_;
    std::recursive_mutex lock_;
};

// One free end face of a ribbon: the segment it belongs to, the height range
// with the pieces covered by element, and the face itself.
struct TQTKRibbonHeightInfo {
    Ref<IQTKRibbonOpeningCalcEDO> Source;
    std::unique_ptr<TVRMNumericalCalc2d> Calc;
    std::unique_ptr<TVRMPolyhedronShell3d> Shell;
    ~TQTKRibbonHeightInfo();
};

class TQTKRibbonHeightCalculator final : public TInterfacedObject, public IQTKRibbonHeightCalculator {
public:
    // The end faces at the free null points of the width calculator's
    // segments: First at a free start, Second at a free end (when the ribbon
    // has only free starts or only free ends, the second one found takes
    // the other place).
    explicit TQTKRibbonHeightCalculator(IQTKRibbonWidthCalculator* width);

    double GetSecondEndNullLength() override;
    double GetFirstEndNullLength() override;
    // Marks on each end face the height range the solid covers of it.
    void DeductSolid(const TVRMPolyhedron3d* solid, IRDXRecord* record) override;

private:
    ~TQTKRibbonHeightCalculator() override;

    RecordRef record_;
    std::unique_ptr<TQTKRibbonHeightInfo> first_, second_;
    std::mutex lock_;
};
