// Junction kinds, end meetings and junction points of line elements.
#include <algorithm>
#include <cmath>

#include "Host/ElementModel/LineCalculator/QTKLineBand.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

TQTKLineBand TQTKLineBand::Of(const TVRMCustomLine2d& axis, double width, double axisOffset)
{
    TQTKLineBand band;
    band.axis = axis;
    band.width = width;
    band.half = width / 2.0;
    band.valid = axis.IsValidaty() && axis.Length() > CVRMEpsilon && std::isfinite(width) && width >= 0.0 &&
                 TVRMOffsetFunc2d::Offset(axis, -axisOffset, band.left) &&
                 TVRMOffsetFunc2d::Offset(axis, width - axisOffset, band.right) &&
                 TVRMOffsetFunc2d::Offset(axis, band.half - axisOffset, band.centre);
    if (!band.valid)
        band.centre = band.left = band.right = axis;
    return band;
}

TQTKLineBand TQTKLineBand::Of(IQTKLineEdoInfo* info, bool actualWidth)
{
    TQTKLineBand band;
    if (info == nullptr)
        return band;
    band = actualWidth ? Of(info->GetLine(), info->GetActualWidth(), info->GetActualAxisOffset())
                       : Of(info->GetLine(), info->GetWidth(), info->GetAxisOffset());
    band.info = info;
    band.id = info->GetID();
    return band;
}

bool TQTKLineBand::Contains(const TVRMPoint2d& p, double tol) const
{
    if (!valid)
        return false;
    const double across = std::abs(TVRMPositionFunc2d::SignedDistanceTo(p, centre, false));
    const double along = centre.LengthAtPoint(p);
    return across <= half + tol && along >= -tol && along <= centre.Length() + tol;
}

bool IsBandParallel(const TQTKLineBand& a, const TQTKLineBand& b)
{
    return TVRMPositionFunc2d::IsParallel(a.centre, b.centre, CVRMParallelEpsilon);
}

bool NearestExtIntersect(const TVRMCustomLine2d& a, const TVRMCustomLine2d& b, const TVRMPoint2d& near,
                         TVRMPoint2d& point)
{
    std::vector<TVRMPoint2d> points;
    const int code = TVRMIntersectFunc2d::ExtIntersect(a, b, points);
    if ((code != 1 && code != 2) || points.empty())
        return false;
    point = *std::min_element(points.begin(), points.end(), [&](const TVRMPoint2d& p, const TVRMPoint2d& q) {
        return p.DistanceTo(near) < q.DistanceTo(near);
    });
    return true;
}

namespace {

enum class TRelation { Miss, InStart, InEnd, InBoth, Through };

// A crosses B's band: both ends of A's axis beside B's band on opposite sides of B's centre
// line, and A's axis crosses B's centre line within B's length (reaching as far as A's half
// width past B's ends, so that a stem drawn up to A's face still meets it).
bool IsThrough(const TQTKLineBand& a, const TQTKLineBand& b)
{
    const double sd0 = TVRMPositionFunc2d::SignedDistanceTo(a.axis.StartPt(), b.centre, false);
    const double sd1 = TVRMPositionFunc2d::SignedDistanceTo(a.axis.EndPt(), b.centre, false);
    if (std::abs(sd0) <= b.half + CVRMEpsilon || std::abs(sd1) <= b.half + CVRMEpsilon || (sd0 > 0.0) == (sd1 > 0.0))
        return false;
    std::vector<TVRMPoint2d> points;
    const int code = TVRMIntersectFunc2d::ExtIntersect(a.axis, b.centre, points);
    if (code != 1 && code != 2)
        return false;
    for (const TVRMPoint2d& p : points) {
        const double onA = a.axis.LengthAtPoint(p);
        const double onB = b.centre.LengthAtPoint(p);
        if (onA >= -CVRMEpsilon && onA <= a.axis.Length() + CVRMEpsilon && onB >= -a.half - CVRMEpsilon &&
            onB <= b.centre.Length() + a.half + CVRMEpsilon)
            return true;
    }
    return false;
}

TRelation Relation(const TQTKLineBand& a, const TQTKLineBand& b)
{
    const bool inStart = b.Contains(a.axis.StartPt());
    const bool inEnd = b.Contains(a.axis.EndPt());
    if (inStart && inEnd)
        return TRelation::InBoth;
    if (inStart)
        return TRelation::InStart;
    if (inEnd)
        return TRelation::InEnd;
    return IsThrough(a, b) ? TRelation::Through : TRelation::Miss;
}

int ByWidth(const TQTKLineBand& a, const TQTKLineBand& b, int narrower, int equal, int wider)
{
    const int c = CompareValue(a.width, b.width);
    return c < 0 ? narrower : c > 0 ? wider : equal;
}

int ParallelKind(const TQTKLineBand& a, const TQTKLineBand& b)
{
    const double apart = std::abs(TVRMPositionFunc2d::SignedDistanceTo(b.centre.StartPt(), a.centre, false));
    if (apart >= a.half + b.half - CVRMEpsilon)
        return 0;  // apart, or only touching side by side
    const double t0 = a.centre.LengthAtPoint(b.axis.StartPt());
    const double t1 = a.centre.LengthAtPoint(b.axis.EndPt());
    const double overlap = std::min(a.centre.Length(), std::max(t0, t1)) - std::max(0.0, std::min(t0, t1));
    if (overlap > CVRMEpsilon)
        return ByWidth(a, b, 12, 15, 4);
    if (overlap < -CVRMEpsilon)
        return 0;
    // End to end.
    const bool inStart = b.Contains(a.axis.StartPt());
    const bool inEnd = b.Contains(a.axis.EndPt());
    return inStart && inEnd ? 3 : inStart ? 1 : inEnd ? 2 : 0;
}

// A runs through B and its start (end) lies past B's far side by at most the larger width.
bool IsOvershootNear(const TQTKLineBand& a, const TQTKLineBand& b, bool atStart)
{
    const TVRMPoint2d& p = atStart ? a.axis.StartPt() : a.axis.EndPt();
    const double beyond = std::abs(TVRMPositionFunc2d::SignedDistanceTo(p, b.centre, false)) - b.half;
    return beyond <= std::max(a.width, b.width) + CVRMEpsilon;
}

}  // namespace

int JunctionKind(const TQTKLineBand& a, const TQTKLineBand& b)
{
    if (!a.valid || !b.valid)
        return 0;
    if (IsBandParallel(a, b))
        return ParallelKind(a, b);
    const TRelation ra = Relation(a, b);
    const TRelation rb = Relation(b, a);
    if (ra == TRelation::Miss || rb == TRelation::Miss)
        return 0;
    if (rb == TRelation::Through) {
        switch (ra) {
            case TRelation::InStart:
                return 5;
            case TRelation::InEnd:
                return 6;
            case TRelation::InBoth:
                return 11;
            default:
                return ByWidth(a, b, 8, 9, 10);
        }
    }
    switch (ra) {
        case TRelation::InStart:
            return 1;
        case TRelation::InEnd:
            return 2;
        case TRelation::InBoth:
            return 3;
        default:
            break;
    }
    // A through, B ends in A's band.
    if (rb != TRelation::InBoth) {
        const bool nearStart = IsOvershootNear(a, b, true);
        const bool nearEnd = IsOvershootNear(a, b, false);
        if (nearStart && nearEnd) {
            const double s = std::abs(TVRMPositionFunc2d::SignedDistanceTo(a.axis.StartPt(), b.centre, false));
            const double e = std::abs(TVRMPositionFunc2d::SignedDistanceTo(a.axis.EndPt(), b.centre, false));
            return s <= e ? 13 : 14;
        }
        if (nearStart)
            return 13;
        if (nearEnd)
            return 14;
    }
    return 7;
}

int GetJunctionKindPlace(int kind) noexcept
{
    switch (kind) {
        case 1:
        case 5:
        case 13:
            return CQTKJunctionAtStart;
        case 2:
        case 6:
        case 14:
            return CQTKJunctionAtEnd;
        case 3:
        case 11:
            return CQTKJunctionAtStart | CQTKJunctionAtEnd;
        default:
            return 0;
    }
}

uint8_t IntersectShape(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b, uint8_t mask)
{
    const int kind = JunctionKind(TQTKLineBand::Of(a, false), TQTKLineBand::Of(b, false));
    return static_cast<uint8_t>(kind & mask & 127);
}

namespace {
bool IsParallelOverlap(int kind) noexcept
{
    return kind == 4 || kind == 12 || kind == 15;
}
}  // namespace

bool IsIntersect(IQTKLineEdoInfo* a, bool atStart, IQTKLineEdoInfo* b, bool& endFlag, bool& startFlag)
{
    endFlag = startFlag = false;
    const TQTKLineBand ba = TQTKLineBand::Of(a, false);
    const TQTKLineBand bb = TQTKLineBand::Of(b, false);
    const int kind = JunctionKind(ba, bb);
    const int end = atStart ? CQTKJunctionAtStart : CQTKJunctionAtEnd;
    if (IsParallelOverlap(kind)) {
        if (!bb.Contains(atStart ? ba.axis.StartPt() : ba.axis.EndPt()))
            return false;
        // B's ends lying in A's band are at the same meeting.
        endFlag = ba.Contains(bb.axis.EndPt());
        startFlag = ba.Contains(bb.axis.StartPt());
        return true;
    }
    if ((GetJunctionKindPlace(kind) & end) == 0)
        return false;
    const int placeOnB = GetJunctionKindPlace(JunctionKind(bb, ba));
    endFlag = (placeOnB & CQTKJunctionAtEnd) != 0;
    startFlag = (placeOnB & CQTKJunctionAtStart) != 0;
    return true;
}

bool IsIntersect(IQTKLineEdoInfo* a, bool atStart, IQTKLineEdoInfo* b)
{
    bool endFlag, startFlag;
    return IsIntersect(a, atStart, b, endFlag, startFlag);
}

TQTKLineEdoInfoArray GetConnectedEdos(const TQTKLineEdoInfoArray& infos, const TVRMPoint2d& point)
{
    TQTKLineEdoInfoArray result;
    for (const Ref<IQTKLineEdoInfo>& info : infos)
        if (info && TQTKLineBand::Of(info.get(), false).Contains(point))
            result.push_back(info);
    return result;
}

TVRMPoint2d BandJunctionPoint(const TQTKLineBand& a, const TQTKLineBand& b)
{
    const TVRMPoint2d ma = a.centre.MiddlePoint();
    const TVRMPoint2d mb = b.centre.MiddlePoint();
    const TVRMPoint2d mean{(ma.x + mb.x) / 2.0, (ma.y + mb.y) / 2.0};
    std::vector<TVRMPoint2d> points;
    const int code = TVRMIntersectFunc2d::ExtIntersect(a.centre, b.centre, points);
    if (code == 1 && !points.empty())
        return points[0];
    if (code == 2 && points.size() == 2) {
        // The crossing nearer to both bands.
        auto f = [&](const TVRMPoint2d& p) {
            return std::max(TVRMPositionFunc2d::DistanceTo(p, a.centre) - b.half,
                            TVRMPositionFunc2d::DistanceTo(p, b.centre) - a.half);
        };
        return f(points[1]) <= f(points[0]) ? points[1] : points[0];
    }
    return mean;
}

TVRMPoint2d GetJunctionPoint(IQTKLineEdoInfo* a, IQTKLineEdoInfo* b)
{
    return BandJunctionPoint(TQTKLineBand::Of(a, false), TQTKLineBand::Of(b, false));
}

double ReachPastNeighbours(const TVRMCustomLine2d& line, bool atStart, double half,
                           const std::vector<TQTKLineBand>& neighbours)
{
    static const double minSin = std::sin(5.0 * CVRMPi / 180.0);
    const TVRMPoint2d& end = atStart ? line.StartPt() : line.EndPt();
    double ext = 0.0;
    for (const TQTKLineBand& n : neighbours) {
        TVRMPoint2d p;
        if (TVRMPositionFunc2d::IsParallel(line, n.centre) || !NearestExtIntersect(line, n.centre, end, p))
            continue;
        const TVRMVector2d u = line.TangentAt(p);
        const TVRMVector2d v = n.centre.TangentAt(p);
        const double sinA = std::max(std::abs(u.CrossProduct(v)), minSin);
        const double cosA = std::abs(u.InnerProduct(v));
        ext = std::max(ext, n.width / sinA + half * cosA / sinA);
    }
    return ext;
}
