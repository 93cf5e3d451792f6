#include "Host/VRM/Geometry2d/VRMLine2d.h"

#include <algorithm>
#include <cmath>

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMGeom2dUtils.h"
#include "Host/VRM/VRMCommon2d.h"

using namespace VRMGeom2d;

double TVRMVector2d::Angle() const noexcept
{
    return NormalizeAngle(std::atan2(y, x));
}

bool TVRMVector2d::IsParallelTo(const TVRMVector2d& v, double tol) const noexcept
{
    const TVRMVector2d a = Normal(), b = v.Normal();
    if (a == TVRMVector2d{} || b == TVRMVector2d{})
        return false;
    return std::abs(a.CrossProduct(b)) <= tol;
}

int GetSweepArcKind(bool clockwise, double sweep) noexcept
{
    const bool major = sweep >= CVRMPi;
    if (clockwise)
        return major ? CVRMArcKindCWMajor : CVRMArcKindCW;
    return major ? CVRMArcKindCCWMajor : CVRMArcKindCCW;
}

TVRMCustomLine2d::TVRMCustomLine2d(const TVRMPoint2d& startPt, const TVRMPoint2d& endPt, double radius, int kind)
    : start_(startPt), end_(endPt)
{
    if (kind >= CVRMArcKindCCW && kind <= CVRMArcKindCWMajor && radius > 0.0 && std::isfinite(radius)) {
        radius_ = radius;
        kind_ = kind;
    }
}

TVRMCustomLine2d TVRMCustomLine2d::ArcByCenter(const TVRMPoint2d& center, double radius, double startAngle,
                                               double sweep)
{
    const TVRMPoint2d s = center + TVRMVector2d{std::cos(startAngle), std::sin(startAngle)} * radius;
    const TVRMPoint2d e = center + TVRMVector2d{std::cos(startAngle + sweep), std::sin(startAngle + sweep)} * radius;
    return TVRMCustomLine2d(s, e, radius, GetSweepArcKind(sweep < 0.0, std::abs(sweep)));
}

bool TVRMCustomLine2d::IsValidaty(double tol) const noexcept
{
    const double chord = start_.DistanceTo(end_);
    if (!IsArc())
        return chord > tol;
    return chord > 0.0 && radius_ >= chord / 2.0 - tol && GetArcData().valid;
}

TVRMArcData TVRMCustomLine2d::GetArcData() const noexcept
{
    TVRMArcData d;
    if (!IsArc())
        return d;
    const TVRMVector2d chordVec = end_ - start_;
    const double chord = chordVec.Length();
    const double half = chord / 2.0;
    if (radius_ < half - CVRMEpsilon)
        return d;
    const double h = std::sqrt(std::max(0.0, radius_ * radius_ - half * half));
    const bool clockwise = IsClockwise();
    const bool major = kind_ >= CVRMArcKindCCWMajor;
    if (chord == 0.0) {
        // Whole circle through one point: no centre can be derived.
        return d;
    }
    const TVRMVector2d left = chordVec.Normal().RotateHalfPi(false);
    // Minor CCW and major CW arcs have their centre on the left of the chord.
    const double side = (clockwise == major) ? 1.0 : -1.0;
    d.center = TVRMPoint2d{(start_.x + end_.x) / 2.0, (start_.y + end_.y) / 2.0} + left * (h * side);
    const double alpha = std::atan2(half, h);
    d.sweep = major ? 2.0 * CVRMPi - 2.0 * alpha : 2.0 * alpha;
    d.sense = clockwise ? -1.0 : 1.0;
    d.startAngle = std::atan2(start_.y - d.center.y, start_.x - d.center.x);
    // An end point or radius that is not finite (or a radius so large that
    // its square is not) gives no arc.
    d.valid = std::isfinite(d.center.x) && std::isfinite(d.center.y) && std::isfinite(d.sweep) &&
              std::isfinite(d.startAngle) && d.sweep > 0.0;
    return d;
}

bool TVRMCustomLine2d::CenterPt(TVRMPoint2d& center) const noexcept
{
    const TVRMArcData d = GetArcData();
    if (d.valid)
        center = d.center;
    return d.valid;
}

double TVRMCustomLine2d::Sweep() const noexcept
{
    const TVRMArcData d = GetArcData();
    return d.valid ? d.sweep : 0.0;
}

bool TVRMCustomLine2d::StartAndEndAngle(double& startAngle, double& endAngle, bool& clockwise) const noexcept
{
    const TVRMArcData d = GetArcData();
    if (!d.valid)
        return false;
    startAngle = NormalizeAngle(d.startAngle);
    endAngle = NormalizeAngle(d.startAngle + d.sense * d.sweep);
    clockwise = d.sense < 0.0;
    return true;
}

double TVRMCustomLine2d::Length() const noexcept
{
    const TVRMArcData d = GetArcData();
    return d.valid ? radius_ * d.sweep : start_.DistanceTo(end_);
}

TVRMBox2d TVRMCustomLine2d::Box() const noexcept
{
    TVRMBox2d box;
    box.Add(start_);
    box.Add(end_);
    const TVRMArcData d = GetArcData();
    if (!d.valid)
        return box;
    // The quadrant points the arc passes.
    for (int q = 0; q < 4; ++q) {
        const double a = q * CVRMPi / 2.0;
        double delta = NormalizeAngle(d.sense * (a - d.startAngle));
        if (delta <= d.sweep)
            box.Add(d.center + TVRMVector2d{std::cos(a), std::sin(a)} * radius_);
    }
    return box;
}

void TVRMCustomLine2d::Reverse() noexcept
{
    std::swap(start_, end_);
    kind_ = FlipArcKind(kind_);
}

TVRMVector2d TVRMCustomLine2d::DirectionAt(double length) const noexcept
{
    const TVRMArcData d = GetArcData();
    if (!d.valid)
        return (end_ - start_).Normal();
    const double a = d.startAngle + d.sense * length / radius_;
    return TVRMVector2d{std::cos(a), std::sin(a)}.RotateHalfPi(d.sense < 0.0);
}

TVRMVector2d TVRMCustomLine2d::TangentAt(const TVRMPoint2d& p) const noexcept
{
    const TVRMArcData d = GetArcData();
    if (!d.valid)
        return (end_ - start_).Normal();
    const TVRMVector2d radial = (p - d.center).Normal();
    if (radial == TVRMVector2d{})
        return DirectionAt(0.0);
    return radial.RotateHalfPi(d.sense < 0.0);
}

TVRMPoint2d TVRMCustomLine2d::PointAtLength(double length) const noexcept
{
    const TVRMArcData d = GetArcData();
    if (!d.valid) {
        const double len = start_.DistanceTo(end_);
        if (len == 0.0)
            return start_;
        return start_ + (end_ - start_) * (length / len);
    }
    if (length == 0.0)
        return start_;
    if (length == radius_ * d.sweep)
        return end_;
    const double a = d.startAngle + d.sense * length / radius_;
    return d.center + TVRMVector2d{std::cos(a), std::sin(a)} * radius_;
}

double TVRMCustomLine2d::LengthAtPoint(const TVRMPoint2d& p) const noexcept
{
    const TVRMArcData d = GetArcData();
    if (!d.valid) {
        const TVRMVector2d u = (end_ - start_).Normal();
        return (p - start_).InnerProduct(u);
    }
    const TVRMVector2d r = p - d.center;
    if (r.Length() == 0.0)
        return 0.0;
    const double delta = NormalizeAngle(d.sense * (std::atan2(r.y, r.x) - d.startAngle));
    // Beyond the end or before the start: whichever gap is the nearer.
    if (delta > d.sweep && delta - d.sweep > 2.0 * CVRMPi - delta)
        return radius_ * (delta - 2.0 * CVRMPi);
    return radius_ * delta;
}

TVRMCustomLine2d TVRMCustomLine2d::SubLine(double fromLength, double toLength) const noexcept
{
    const TVRMArcData d = GetArcData();
    const TVRMPoint2d s = PointAtLength(fromLength);
    const TVRMPoint2d e = PointAtLength(toLength);
    if (!d.valid)
        return TVRMCustomLine2d(s, e);
    const double sweep = std::min(std::abs(toLength - fromLength) / radius_, 2.0 * CVRMPi);
    const bool clockwise = (d.sense < 0.0) == (toLength >= fromLength);
    return TVRMCustomLine2d(s, e, radius_, GetSweepArcKind(clockwise, sweep));
}

void TVRMCustomLine2d::ExtendBack(double d) noexcept
{
    *this = SubLine(-d, Length());
}

void TVRMCustomLine2d::ExtendForward(double d) noexcept
{
    *this = SubLine(0.0, Length() + d);
}

TVRMCustomLine2d TVRMArc2d::ArcBy3Points(const TVRMPoint2d& startPt, const TVRMPoint2d& midPt, const TVRMPoint2d& endPt)
{
    const TVRMVector2d a = midPt - startPt, b = endPt - startPt;
    const double den = 2.0 * a.CrossProduct(b);
    if (std::abs(den) <= 1e-12 * std::max(1.0, a.Length() * b.Length()))
        return TVRMCustomLine2d(startPt, endPt);
    const double aa = a.InnerProduct(a), bb = b.InnerProduct(b);
    const TVRMVector2d off{(b.y * aa - a.y * bb) / den, (a.x * bb - b.x * aa) / den};
    const TVRMPoint2d c = startPt + off;
    const bool clockwise = den < 0.0;
    const double sense = clockwise ? -1.0 : 1.0;
    const double sweep = NormalizeAngle(sense * ((endPt - c).Angle() - (startPt - c).Angle()));
    return TVRMCustomLine2d(startPt, endPt, off.Length(), GetSweepArcKind(clockwise, sweep));
}

TVRMCustomLine2d TVRMArc2d::ArcInverse(const TVRMCustomLine2d& arc)
{
    if (!arc.IsArc())
        return arc;
    static constexpr int inverse[] = {0, 4, 3, 2, 1};
    return TVRMCustomLine2d(arc.StartPt(), arc.EndPt(), arc.Radius(), inverse[arc.ArcKind()]);
}

TVRMLines2d TVRMLines2d::FromLines(const std::vector<TVRMCustomLine2d>& lines)
{
    TVRMLines2d result;
    for (const TVRMCustomLine2d& l : lines)
        result.Add(TVRMVertex2d{l.StartPt(), l.Radius(), l.ArcKind()});
    if (!lines.empty())
        result.Add(lines.back().EndPt());
    return result;
}

TVRMCustomLine2d TVRMLines2d::GetEdge(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetEdgeCount());
    const TVRMVertex2d& v = vertices_[index];
    return TVRMCustomLine2d(v.pt, vertices_[index + 1].pt, v.radius, v.kind);
}

std::vector<TVRMCustomLine2d> TVRMLines2d::GetLines() const
{
    std::vector<TVRMCustomLine2d> lines;
    for (int i = 0; i < GetEdgeCount(); ++i)
        lines.push_back(GetEdge(i));
    return lines;
}

double TVRMLines2d::Length() const noexcept
{
    return TotalLength(GetLines());
}

TVRMBox2d TVRMLines2d::Box() const noexcept
{
    TVRMBox2d box = BoxOfLines(GetLines());
    if (vertices_.size() == 1)
        box.Add(vertices_[0].pt);
    return box;
}

void TVRMLines2d::Reverse()
{
    if (GetEdgeCount() > 0)
        *this = FromLines(ReversedLines(GetLines()));
}

const TVRMCustomLine2d& TVRMSeg2dList::GetItems(int index) const
{
    QTK_ASSERT(index >= 0 && index < GetCount());
    return items_[index];
}

double TVRMSeg2dList::GetTotalLength() const noexcept
{
    return TotalLength(items_);
}
