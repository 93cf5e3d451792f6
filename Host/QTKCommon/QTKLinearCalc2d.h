// Length calculators: covered and uncovered pieces of a range, of a plan line
// and of sets of lines, by mark.
//
// A range calculator splits [low, high] into units, each unmarked (-1) or
// carrying the mark of the first append that covered it: a later append only
// marks what is still unmarked (first come, first served). Lengths are
// multiplied by the calculator's factor (its rate). A line calculator maps
// positions along its line (arc length along an arc) onto such a range, so a
// covering polygon marks the pieces of the line inside it.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "Host/RDX/RDXIntf.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"

inline constexpr int CQTKNullMark = -1;

// One unit of a range: from start to next, with its mark (-1 unmarked).
struct TVRMRangeUnit {
    double start = 0.0;
    double next = 0.0;
    int mark = CQTKNullMark;
};

class TVRMNumRangeCalc2d {
public:
    TVRMNumRangeCalc2d(double low, double high, double factor = 1.0);
    virtual ~TVRMNumRangeCalc2d() = default;

    double GetLow() const noexcept { return low_; }
    double GetHigh() const noexcept { return high_; }
    double GetFactor() const noexcept { return factor_; }
    void SetFactor(double factor) noexcept { factor_ = factor; }

    // Marks the still-unmarked parts of [from, to] (either order) with mark;
    // pieces not longer than tol are ignored and ends within tol of a unit's
    // end snap to it. Returns the length newly marked (x factor).
    double AppendRange(double from, double to, int mark, double tol = CVRMEpsilon);
    // The same with the owning record of the mark (accepted for the callers; a
    // range keeps only the mark).
    double Append(double from, double to, int mark, const IRDXRecord* /*record*/ = nullptr, double tol = CVRMEpsilon)
    {
        return AppendRange(from, to, mark, tol);
    }
    // Whole length, unmarked length, length of one mark (-1: unmarked); x factor.
    double GetAllLength() const;
    double GetNullLength() const { return GetLengthFor(CQTKNullMark); }
    double GetLengthFor(int mark) const;
    // Joins neighbouring units of the same mark.
    void DeleteSameMark();
    // Every unit marked back to -1.
    void ClearMarks();
    const std::vector<TVRMRangeUnit>& GetUnits() const noexcept { return units_; }
    // The first and the last unmarked unit; nil when everything is marked.
    const TVRMRangeUnit* GetFirstNullUnit() const noexcept;
    const TVRMRangeUnit* GetLastNullUnit() const noexcept;

protected:
    // AppendRange that also lists the ranges it marked.
    double MarkRange(double from, double to, int mark, double tol, std::vector<std::pair<double, double>>* newlyMarked);

private:
    double low_, high_, factor_;
    std::vector<TVRMRangeUnit> units_;
};

// A range calculator over [low, high] (heights of an element, positions along a line).
class TVRMNumericalCalc2d : public TVRMNumRangeCalc2d {
public:
    // recordDetails is accepted for the callers; a plain range writes no details.
    TVRMNumericalCalc2d(double low, double high, bool recordDetails, double factor = 1.0);
};

// Covered lengths of one plan line.
class TQTKLinearCalc2d : public TVRMNumRangeCalc2d {
public:
    // recordDetails: appends with a record write length details in detail mode.
    // extension: the line is lengthened by this much at both ends.
    TQTKLinearCalc2d(const TVRMCustomLine2d& line, bool recordDetails, double factor = 1.0, double extension = 0.0);
    // Over the part of the line inside a plan polygon (from where it first
    // enters to where it last leaves; a line that misses the polygon keeps a
    // zero length at its start). code and the two flags are accepted for the
    // callers and have no effect.
    TQTKLinearCalc2d(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& restrictTo, bool recordDetails,
                     double extension, int code, bool flag1, bool flag2, double factor, double tol = CVRMEpsilon);

    const TVRMCustomLine2d& GetLine() const noexcept { return line_; }
    bool GetRecordDetails() const noexcept { return recordDetails_; }

    // A range of lengths along the line (arc length along an arc), marked
    // without a detail.
    using TVRMNumRangeCalc2d::Append;
    void SetRecordDetails(bool value) noexcept { recordDetails_ = value; }

    // Marks the still-unmarked pieces of the line inside the set (boundary
    // included). With a record, writeDetail and detail recording on, the newly
    // marked pieces go to a length detail of that record. Returns the length newly marked.
    double Append(const TVRMMultiPolygon2d& set, int mark, const IRDXRecord* record = nullptr, bool writeDetail = true,
                  double tol = CVRMEpsilon);
    double Append(const TVRMPolygon2d& polygon, int mark, const IRDXRecord* record = nullptr, bool writeDetail = true,
                  double tol = CVRMEpsilon);
    // The line taken as the axis of a band of the given width whose left face
    // lies axisOffset to the left of the line: marks the stretch of the line
    // along which the set meets the band (each piece of the set's overlap with
    // the band projected onto the line).
    double Append(const TVRMMultiPolygon2d& set, double width, double axisOffset, int mark,
                  const IRDXRecord* record = nullptr, bool writeDetail = true, double tol = CVRMEpsilon);
    // The line read in a profile plane (x along, y = elevation): marks the
    // pieces with an elevation between low and high.
    double AppendY(double low, double high, int mark, const IRDXRecord* record = nullptr, bool writeDetail = true,
                   double tol = CVRMEpsilon);
    // The length of the line inside the set, without marking anything.
    double TestLength(const TVRMMultiPolygon2d& set, double tol = CVRMEpsilon) const;

    // The pieces of one mark (-1: the unmarked pieces), neighbours joined, in line order.
    TVRMSeg2dList BuildSubLines(int mark) const;
    // The pieces carrying any mark.
    TVRMSeg2dList GetMarkedSegs() const;
    TVRMSeg2dList GetMarkedSegs(int mark) const { return BuildSubLines(mark); }
    // Where the unmarked part of the line begins (the start of its first
    // unmarked piece) and where it ends (the end of its last); false, point
    // unchanged, when the whole line is marked. A piece marked at an end of
    // the line moves that null point inwards.
    bool GetStartNullPoint(TVRMPoint2d& point) const;
    bool GetEndNullPoint(TVRMPoint2d& point) const;

private:
    // Ranges along the line of its pieces inside the set.
    std::vector<std::pair<double, double>> CoveredRanges(const TVRMMultiPolygon2d& set, double tol) const;
    // Marks the ranges and writes the detail of what they newly marked.
    double MarkRanges(const std::vector<std::pair<double, double>>& ranges, const TVRMMultiPolygon2d& set, int mark,
                      const IRDXRecord* record, bool writeDetail, double tol);
    TVRMSeg2dList PiecesOf(const std::vector<std::pair<double, double>>& ranges) const;
    template <class Pred>
    TVRMSeg2dList PiecesWhere(Pred selected) const;

    TVRMCustomLine2d line_;
    bool recordDetails_;
};

// A list of line calculators treated as one: appends go to every item,
// lengths are summed.
class TVRMLinearCalcContr {
public:
    virtual ~TVRMLinearCalcContr() = default;

    // Takes ownership.
    void Add(std::unique_ptr<TQTKLinearCalc2d> calc);
    // A calculator over a copy of the line.
    void Add(const TVRMCustomLine2d& line, bool recordDetails = false);
    int GetCount() const noexcept { return static_cast<int>(items_.size()); }
    TQTKLinearCalc2d* GetItems(int index) const;
    // Detail recording of every item.
    void SetRecordDetails(bool value);

    double Append(const TVRMMultiPolygon2d& set, int mark, const IRDXRecord* record = nullptr, bool writeDetail = true,
                  double tol = CVRMEpsilon);
    double AppendY(double low, double high, int mark, const IRDXRecord* record = nullptr, bool writeDetail = true,
                   double tol = CVRMEpsilon);
    double GetAllLength() const;
    double GetNullLength() const { return GetLengthFor(CQTKNullMark); }
    double GetLengthFor(int mark) const;
    void DeleteSameMark();
    TVRMSeg2dList GetMarkedSegs() const;
    TVRMSeg2dList GetMarkedSegs(int mark) const;

private:
    template <class Fn>
    TVRMSeg2dList Collect(Fn piecesOf) const
    {
        TVRMSeg2dList segs;
        for (const auto& item : items_) {
            const TVRMSeg2dList pieces = piecesOf(*item);
            for (const TVRMCustomLine2d& seg : pieces.Items())
                segs.Add(seg);
        }
        return segs;
    }

    std::vector<std::unique_ptr<TQTKLinearCalc2d>> items_;
};

// Base lines taken from the edges of polygon sets and polylines.
class TVRMMultiPolyLinearCalc2d : public TVRMLinearCalcContr {
public:
    // One calculator per ring edge, rings in order.
    void Add(const TVRMMultiPolygon2d& set, bool recordDetails = false);
    void Add(const TVRMPolygon2d& polygon, bool recordDetails = false);
    // One calculator per edge of a polyline.
    void Add(const TVRMLines2d& lines, bool recordDetails = false);
    using TVRMLinearCalcContr::Add;
};

// The edges of one polygon.
class TVRMPolyLinearCalc2d : public TVRMMultiPolyLinearCalc2d {
public:
    TVRMPolyLinearCalc2d(const TVRMPolygon2d& polygon, bool recordDetails);
};
