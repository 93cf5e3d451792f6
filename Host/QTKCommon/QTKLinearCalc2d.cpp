#include "Host/QTKCommon/QTKLinearCalc2d.h"

#include <algorithm>
#include <cmath>

#include "Host/QTKCommon/QTKDeductDetailData.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

// ---------------------------------------------------------------------------
// TVRMNumRangeCalc2d

TVRMNumRangeCalc2d::TVRMNumRangeCalc2d(double low, double high, double factor)
    : low_(std::min(low, high)), high_(std::max(low, high)), factor_(factor)
{
    units_.push_back({low_, high_, CQTKNullMark});
}

double TVRMNumRangeCalc2d::AppendRange(double from, double to, int mark, double tol)
{
    return MarkRange(from, to, mark, tol, nullptr);
}

double TVRMNumRangeCalc2d::MarkRange(double from, double to, int mark, double tol,
                                     std::vector<std::pair<double, double>>* newlyMarked)
{
    if (std::isnan(from) || std::isnan(to))
        return 0.0;  // a range of failed geometry marks nothing
    if (from > to)
        std::swap(from, to);
    double marked = 0.0;
    std::vector<TVRMRangeUnit> result;
    result.reserve(units_.size() + 2);
    for (const TVRMRangeUnit& u : units_) {
        double a = std::max(from, u.start), b = std::min(to, u.next);
        if (u.mark != CQTKNullMark || b - a <= tol) {
            result.push_back(u);
            continue;
        }
        if (a - u.start <= tol)
            a = u.start;
        if (u.next - b <= tol)
            b = u.next;
        if (a > u.start)
            result.push_back({u.start, a, CQTKNullMark});
        result.push_back({a, b, mark});
        if (newlyMarked)
            newlyMarked->emplace_back(a, b);
        if (b < u.next)
            result.push_back({b, u.next, CQTKNullMark});
        marked += b - a;
    }
    units_ = std::move(result);
    return marked * factor_;
}

double TVRMNumRangeCalc2d::GetAllLength() const
{
    return (high_ - low_) * factor_;
}

double TVRMNumRangeCalc2d::GetLengthFor(int mark) const
{
    double sum = 0.0;
    for (const TVRMRangeUnit& u : units_)
        if (u.mark == mark)
            sum += u.next - u.start;
    return sum * factor_;
}

void TVRMNumRangeCalc2d::DeleteSameMark()
{
    std::vector<TVRMRangeUnit> result;
    for (const TVRMRangeUnit& u : units_) {
        if (!result.empty() && result.back().mark == u.mark)
            result.back().next = u.next;
        else
            result.push_back(u);
    }
    units_ = std::move(result);
}

const TVRMRangeUnit* TVRMNumRangeCalc2d::GetFirstNullUnit() const noexcept
{
    auto it = std::find_if(units_.begin(), units_.end(), [](const TVRMRangeUnit& u) { return u.mark == CQTKNullMark; });
    return it == units_.end() ? nullptr : &*it;
}

const TVRMRangeUnit* TVRMNumRangeCalc2d::GetLastNullUnit() const noexcept
{
    auto it =
        std::find_if(units_.rbegin(), units_.rend(), [](const TVRMRangeUnit& u) { return u.mark == CQTKNullMark; });
    return it == units_.rend() ? nullptr : &*it;
}

void TVRMNumRangeCalc2d::ClearMarks()
{
    units_.assign(1, {low_, high_, CQTKNullMark});
}

TVRMNumericalCalc2d::TVRMNumericalCalc2d(double low, double high, bool /*recordDetails*/, double factor)
    : TVRMNumRangeCalc2d(low, high, factor)
{
}

// ---------------------------------------------------------------------------
// TQTKLinearCalc2d

namespace {

// The part of the line from where it first enters the set to where it last leaves it.
TVRMCustomLine2d InsidePart(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& set, double tol)
{
    std::vector<TVRMCustomLine2d> pieces;
    TVRMIntersectFunc2d::Intersect(line, set, pieces, tol);
    if (pieces.empty())
        return line.SubLine(0.0, 0.0);
    return line.SubLine(line.LengthAtPoint(pieces.front().StartPt()), line.LengthAtPoint(pieces.back().EndPt()));
}

TVRMCustomLine2d Extended(const TVRMCustomLine2d& line, double extension)
{
    TVRMCustomLine2d result = line;
    if (extension != 0.0) {
        result.ExtendBack(extension);
        result.ExtendForward(extension);
    }
    return result;
}

}  // namespace

TQTKLinearCalc2d::TQTKLinearCalc2d(const TVRMCustomLine2d& line, bool recordDetails, double factor, double extension)
    : TVRMNumRangeCalc2d(0.0, Extended(line, extension).Length(), factor),
      line_(Extended(line, extension)),
      recordDetails_(recordDetails)
{
}

TQTKLinearCalc2d::TQTKLinearCalc2d(const TVRMCustomLine2d& line, const TVRMMultiPolygon2d& restrictTo,
                                   bool recordDetails, double extension, int /*code*/, bool /*flag1*/, bool /*flag2*/,
                                   double factor, double tol)
    : TQTKLinearCalc2d(InsidePart(line, restrictTo, tol), recordDetails, factor, extension)
{
}

std::vector<std::pair<double, double>> TQTKLinearCalc2d::CoveredRanges(const TVRMMultiPolygon2d& set, double tol) const
{
    std::vector<std::pair<double, double>> ranges;
    if (set.IsEmpty() || GetHigh() <= tol)
        return ranges;
    std::vector<TVRMCustomLine2d> pieces;
    TVRMIntersectFunc2d::Intersect(line_, set, pieces, tol);
    for (const TVRMCustomLine2d& piece : pieces) {
        const double a = std::clamp(line_.LengthAtPoint(piece.StartPt()), 0.0, GetHigh());
        const double b = std::clamp(a + piece.Length(), 0.0, GetHigh());
        if (b - a > tol)
            ranges.emplace_back(a, b);
    }
    return ranges;
}

TVRMSeg2dList TQTKLinearCalc2d::PiecesOf(const std::vector<std::pair<double, double>>& ranges) const
{
    TVRMSeg2dList segs;
    for (const auto& [a, b] : ranges)
        segs.Add(line_.SubLine(a, b));
    return segs;
}

double TQTKLinearCalc2d::Append(const TVRMMultiPolygon2d& set, int mark, const IRDXRecord* record, bool writeDetail,
                                double tol)
{
    return MarkRanges(CoveredRanges(set, tol), set, mark, record, writeDetail, tol);
}

double TQTKLinearCalc2d::Append(const TVRMMultiPolygon2d& set, double width, double axisOffset, int mark,
                                const IRDXRecord* record, bool writeDetail, double tol)
{
    if (set.IsEmpty() || GetHigh() <= tol)
        return 0.0;
    TVRMMultiPolygon2d band;
    band.Add(TVRMPolygon2d::CreateBand(line_, axisOffset, width - axisOffset));
    const std::unique_ptr<TVRMMultiPolygon2d> overlap = TVRMIntersectFunc2d::IntPolygon(set, band);
    std::vector<std::pair<double, double>> ranges;
    for (const TVRMPolygon2d& ring : overlap->Items()) {
        if (ring.IsHole())
            continue;
        double a = GetHigh(), b = 0.0;
        for (const TVRMVertex2d& v : ring.Vertices()) {
            const double at = std::clamp(line_.LengthAtPoint(v.pt), 0.0, GetHigh());
            a = std::min(a, at), b = std::max(b, at);
        }
        if (b - a > tol)
            ranges.emplace_back(a, b);
    }
    return MarkRanges(ranges, set, mark, record, writeDetail, tol);
}

double TQTKLinearCalc2d::MarkRanges(const std::vector<std::pair<double, double>>& ranges, const TVRMMultiPolygon2d& set,
                                    int mark, const IRDXRecord* record, bool writeDetail, double tol)
{
    std::vector<std::pair<double, double>> newlyMarked;
    double marked = 0.0;
    for (const auto& [a, b] : ranges)
        marked += MarkRange(a, b, mark, tol, &newlyMarked);
    if (record && writeDetail && recordDetails_ && marked != 0.0 && IsDetailRecording()) {
        const TQTKCurrentQty qty = CurrentQtyOf(record);
        auto detail = std::make_unique<TQTKLine2dDeductDetail>(RecordRef(const_cast<IRDXRecord*>(record)), qty.code,
                                                               qty.desc, PiecesOf(newlyMarked), set, MMToM(marked));
        detail->SetLength(marked);
        AddDeductDetail(std::move(detail));
    }
    return marked;
}

double TQTKLinearCalc2d::Append(const TVRMPolygon2d& polygon, int mark, const IRDXRecord* record, bool writeDetail,
                                double tol)
{
    TVRMMultiPolygon2d set;
    set.Add(polygon);
    return Append(set, mark, record, writeDetail, tol);
}

double TQTKLinearCalc2d::AppendY(double low, double high, int mark, const IRDXRecord* record, bool writeDetail,
                                 double tol)
{
    if (low > high)
        std::swap(low, high);
    const TVRMBox2d box = line_.Box();
    if (box.IsEmpty())
        return 0.0;
    const double margin = 1.0 + tol;
    TVRMMultiPolygon2d band;
    band.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{
        {box.min.x - margin, low}, {box.max.x + margin, low}, {box.max.x + margin, high}, {box.min.x - margin, high}}));
    return Append(band, mark, record, writeDetail, tol);
}

double TQTKLinearCalc2d::TestLength(const TVRMMultiPolygon2d& set, double tol) const
{
    double sum = 0.0;
    for (const auto& [a, b] : CoveredRanges(set, tol))
        sum += b - a;
    return sum * GetFactor();
}

template <class Pred>
TVRMSeg2dList TQTKLinearCalc2d::PiecesWhere(Pred selected) const
{
    std::vector<std::pair<double, double>> ranges;
    for (const TVRMRangeUnit& u : GetUnits()) {
        if (!selected(u.mark))
            continue;
        if (!ranges.empty() && ranges.back().second == u.start)
            ranges.back().second = u.next;
        else
            ranges.emplace_back(u.start, u.next);
    }
    return PiecesOf(ranges);
}

TVRMSeg2dList TQTKLinearCalc2d::BuildSubLines(int mark) const
{
    return PiecesWhere([mark](int m) { return m == mark; });
}

TVRMSeg2dList TQTKLinearCalc2d::GetMarkedSegs() const
{
    return PiecesWhere([](int m) { return m != CQTKNullMark; });
}

bool TQTKLinearCalc2d::GetStartNullPoint(TVRMPoint2d& point) const
{
    const TVRMRangeUnit* unit = GetFirstNullUnit();
    if (unit)
        point = line_.PointAtLength(unit->start);
    return unit != nullptr;
}

bool TQTKLinearCalc2d::GetEndNullPoint(TVRMPoint2d& point) const
{
    const TVRMRangeUnit* unit = GetLastNullUnit();
    if (unit)
        point = line_.PointAtLength(unit->next);
    return unit != nullptr;
}

// ---------------------------------------------------------------------------
// Containers

void TVRMLinearCalcContr::Add(std::unique_ptr<TQTKLinearCalc2d> calc)
{
    if (calc)
        items_.push_back(std::move(calc));
}

void TVRMLinearCalcContr::Add(const TVRMCustomLine2d& line, bool recordDetails)
{
    Add(std::make_unique<TQTKLinearCalc2d>(line, recordDetails));
}

TQTKLinearCalc2d* TVRMLinearCalcContr::GetItems(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return items_[static_cast<size_t>(index)].get();
}

void TVRMLinearCalcContr::SetRecordDetails(bool value)
{
    for (auto& item : items_)
        item->SetRecordDetails(value);
}

double TVRMLinearCalcContr::Append(const TVRMMultiPolygon2d& set, int mark, const IRDXRecord* record, bool writeDetail,
                                   double tol)
{
    double sum = 0.0;
    for (auto& item : items_)
        sum += item->Append(set, mark, record, writeDetail, tol);
    return sum;
}

double TVRMLinearCalcContr::AppendY(double low, double high, int mark, const IRDXRecord* record, bool writeDetail,
                                    double tol)
{
    double sum = 0.0;
    for (auto& item : items_)
        sum += item->AppendY(low, high, mark, record, writeDetail, tol);
    return sum;
}

double TVRMLinearCalcContr::GetAllLength() const
{
    double sum = 0.0;
    for (const auto& item : items_)
        sum += item->GetAllLength();
    return sum;
}

double TVRMLinearCalcContr::GetLengthFor(int mark) const
{
    double sum = 0.0;
    for (const auto& item : items_)
        sum += item->GetLengthFor(mark);
    return sum;
}

void TVRMLinearCalcContr::DeleteSameMark()
{
    for (auto& item : items_)
        item->DeleteSameMark();
}

TVRMSeg2dList TVRMLinearCalcContr::GetMarkedSegs() const
{
    return Collect([](const TQTKLinearCalc2d& item) { return item.GetMarkedSegs(); });
}

TVRMSeg2dList TVRMLinearCalcContr::GetMarkedSegs(int mark) const
{
    return Collect([mark](const TQTKLinearCalc2d& item) { return item.BuildSubLines(mark); });
}

void TVRMMultiPolyLinearCalc2d::Add(const TVRMMultiPolygon2d& set, bool recordDetails)
{
    for (const TVRMPolygon2d& ring : set.Items())
        Add(ring, recordDetails);
}

void TVRMMultiPolyLinearCalc2d::Add(const TVRMPolygon2d& polygon, bool recordDetails)
{
    for (const TVRMCustomLine2d& edge : polygon.GetEdges())
        Add(edge, recordDetails);
}

void TVRMMultiPolyLinearCalc2d::Add(const TVRMLines2d& lines, bool recordDetails)
{
    for (const TVRMCustomLine2d& edge : lines.GetLines())
        Add(edge, recordDetails);
}

TVRMPolyLinearCalc2d::TVRMPolyLinearCalc2d(const TVRMPolygon2d& polygon, bool recordDetails)
{
    Add(polygon, recordDetails);
}
