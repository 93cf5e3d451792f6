// Polygon booleans on the Clipper engine, behind our own adapter.
//
// Coordinates are scaled to integers (CScale units per mm). Arc edges are approximated by chords
// with an error of at most CChordError of the radius; every chord point is tagged with its arc,
// and after the boolean the runs of result edges that follow one arc are put back as one arc of
// that circle, so areas stay exact also where an arc was cut. Result points that are input
// vertices get their exact input coordinates back.
#include <algorithm>
#include <array>
#include <cmath>
#include <span>
#include <unordered_map>

#include <polyclipping/clipper.hpp>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry2d/VRMGeom2dUtils.h"
#include "Host/VRM/VRMCommon2d.h"

using namespace VRMGeom2d;
using ClipperLib::cInt;
using ClipperLib::IntPoint;

namespace {

constexpr double CScale = 1e4;
constexpr double CChordError = 1e-6;
// Coordinates beyond this (mm) do not fit the engine's fast integer range safely.
constexpr double CMaxCoordinate = 1e11;

struct TArcInfo {
    TVRMPoint2d center;
    double radius;
    double step;  // chord length of one tessellation step
};

struct TTag {
    int arc;    // index into the arc table, -1 for an input vertex
    int index;  // step index along the arc
};

struct TPointInfo {
    TVRMPoint2d exact;  // the input vertex at this grid point (when hasExact)
    bool hasExact = false;
    // The arcs through this point; a point on more than CMaxTags arcs keeps the first ones only
    // (a run along the others then comes back as chords).
    static constexpr int CMaxTags = 4;
    std::array<TTag, CMaxTags> tagList{};
    int tagCount = 0;

    void AddTag(const TTag& tag)
    {
        if (tagCount < CMaxTags)
            tagList[tagCount++] = tag;
    }
    std::span<const TTag> Tags() const { return {tagList.data(), static_cast<size_t>(tagCount)}; }
};

struct TIntPointHash {
    size_t operator()(const IntPoint& p) const noexcept
    {
        return std::hash<cInt>()(p.X) ^ (std::hash<cInt>()(p.Y) * 0x9E3779B97F4A7C15ULL);
    }
};

class TClipperAdapter {
public:
    // Room in the point table for this many input vertices (arc steps come on top).
    void Reserve(size_t vertices)
    {
        points_.reserve(vertices);
        straights_.reserve(vertices);
    }

    // The rings of a set, but those marked in skip.
    ClipperLib::Paths Convert(const TVRMMultiPolygon2d& set, const std::vector<bool>& skip)
    {
        ClipperLib::Paths paths;
        // A set given wholly the wrong way round (clockwise) is read as its counter-clockwise self.
        const bool reverse = set.SignArea() < 0.0;
        for (int k = 0; k < set.GetCount(); ++k) {
            const TVRMPolygon2d& ring = set.GetItems(k);
            if (skip[k])
                continue;
            ClipperLib::Path path;
            for (int i = 0; i < ring.GetEdgeCount(); ++i)
                AddEdge(ring.GetEdge(i), path);
            if (path.size() < 3)
                continue;
            if (reverse)
                std::reverse(path.begin(), path.end());
            paths.push_back(std::move(path));
        }
        return paths;
    }

    std::unique_ptr<TVRMMultiPolygon2d> Execute(ClipperLib::ClipType op, const ClipperLib::Paths& subject,
                                                const ClipperLib::Paths& clip)
    {
        ClipperLib::Paths solution;
        try {
            ClipperLib::Clipper clipper;
            clipper.AddPaths(subject, ClipperLib::ptSubject, true);
            clipper.AddPaths(clip, ClipperLib::ptClip, true);
            if (!clipper.Execute(op, solution, ClipperLib::pftPositive, ClipperLib::pftPositive))
                throw EVRMIntersectException("polygon boolean failed");
        } catch (const ClipperLib::clipperException& e) {
            throw EVRMIntersectException(e.what());
        }
        auto result = TVRMMultiPolygon2d::Create();
        for (const ClipperLib::Path& path : solution) {
            TVRMPolygon2d ring = Restore(path);
            if (ring.Normalize(CVRMEpsilon))
                result->Add(std::move(ring));
        }
        return result;
    }

private:
    static IntPoint ToGrid(const TVRMPoint2d& p)
    {
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || std::abs(p.x) > CMaxCoordinate ||
            std::abs(p.y) > CMaxCoordinate)
            throw EVRMIntersectException("polygon coordinates out of range");
        return IntPoint(static_cast<cInt>(std::llround(p.x * CScale)), static_cast<cInt>(std::llround(p.y * CScale)));
    }

    void AddVertex(const TVRMPoint2d& p, ClipperLib::Path& path)
    {
        const IntPoint ip = ToGrid(p);
        TPointInfo& info = points_[ip];
        if (!info.hasExact)
            info.exact = p, info.hasExact = true;
        path.push_back(ip);
    }

    void AddEdge(const TVRMCustomLine2d& edge, ClipperLib::Path& path)
    {
        AddVertex(edge.StartPt(), path);
        const IntPoint end = ToGrid(edge.EndPt());  // the end's coordinates are checked before an arc is faceted
        const TVRMArcData d = edge.GetArcData();
        if (!d.valid) {
            straights_.push_back({TVRMCustomLine2d(edge.StartPt(), edge.EndPt()), edge.Vector()});
            return;
        }
        const double r = edge.Radius();
        const double maxStep = 2.0 * std::acos(1.0 - CChordError);
        const int steps = std::max(1, static_cast<int>(std::ceil(d.sweep / maxStep)));
        const double angle = d.sweep / steps;
        const int arc = static_cast<int>(arcs_.size());
        arcs_.push_back({d.center, r, 2.0 * r * std::sin(angle / 2.0)});
        points_[path.back()].AddTag({arc, 0});
        for (int k = 1; k < steps; ++k) {
            const double a = d.startAngle + d.sense * angle * k;
            const IntPoint ip = ToGrid(d.center + TVRMVector2d{std::cos(a), std::sin(a)} * r);
            points_[ip].AddTag({arc, k});
            path.push_back(ip);
        }
        points_[end].AddTag({arc, steps});
    }

    const TPointInfo* Info(const IntPoint& p) const
    {
        const auto it = points_.find(p);
        return it == points_.end() ? nullptr : &it->second;
    }

    TVRMPoint2d ToPoint(const IntPoint& p) const
    {
        const TPointInfo* info = Info(p);
        if (info && info->hasExact)
            return info->exact;
        return {static_cast<double>(p.X) / CScale, static_cast<double>(p.Y) / CScale};
    }

    bool NearCircle(const IntPoint& p, int arc) const
    {
        const TArcInfo& a = arcs_[arc];
        const TVRMPoint2d q{static_cast<double>(p.X) / CScale, static_cast<double>(p.Y) / CScale};
        return std::abs(q.DistanceTo(a.center) - a.radius) <= 2.0 * CChordError * a.radius + 3.0 / CScale;
    }

    // The arc that the result edge u-v follows, or -1.
    int EdgeArc(const IntPoint& u, const IntPoint& v) const
    {
        const TPointInfo* iu = Info(u);
        const TPointInfo* iv = Info(v);
        const bool tagsU = iu && iu->tagCount > 0, tagsV = iv && iv->tagCount > 0;
        if (tagsU && tagsV) {
            for (const TTag& a : iu->Tags())
                for (const TTag& b : iv->Tags())
                    if (a.arc == b.arc && a.index != b.index && std::abs(a.index - b.index) <= 3)
                        return a.arc;
        }
        // A point where the boolean cut the arc, next to a chord point of it.
        const TPointInfo* tagged = tagsU ? iu : (tagsV ? iv : nullptr);
        const IntPoint& other = tagsU ? v : u;
        if (tagged && !(tagsU && tagsV)) {
            const double length = std::hypot(static_cast<double>(u.X - v.X), static_cast<double>(u.Y - v.Y)) / CScale;
            for (const TTag& t : tagged->Tags())
                if (NearCircle(other, t.arc) && length <= 1.5 * arcs_[t.arc].step + 3.0 / CScale)
                    return t.arc;
        }
        return -1;
    }

    // A run of result edges: along one arc (arc >= 0) or one straight edge.
    struct TRun {
        size_t start;  // index of its first vertex in the path
        size_t count;  // number of edges
        int arc;
    };

    // The circle of an arc as a line value (ExtIntersect takes arcs as whole circles).
    TVRMCustomLine2d CircleOf(int arc) const
    {
        return TVRMCustomLine2d::ArcByCenter(arcs_[arc].center, arcs_[arc].radius, 0.0, CVRMPi / 2.0);
    }

    // The input straight edge that a result edge p-q lies on, if any.
    bool InputLine(const TVRMPoint2d& p, const TVRMPoint2d& q, TVRMCustomLine2d& line) const
    {
        const double slack = 1e-5 * std::max(1.0, p.DistanceTo(q)) + 3.0 / CScale;
        double best = HUGE_VAL;
        if (!unitsReady_) {  // the directions made unit when first needed (most results need no snap)
            for (auto& [s, u] : straights_)
                u = u.Normal();
            unitsReady_ = true;
        }
        for (const auto& [s, u] : straights_) {
            const double dp = std::abs(u.CrossProduct(p - s.StartPt())), dq = std::abs(u.CrossProduct(q - s.StartPt()));
            if (dp <= slack && dq <= slack && dp + dq < best)
                best = dp + dq, line = s;
        }
        return best < HUGE_VAL;
    }

    // A point where the boolean cut an arc lies on a chord, up to the chord error inside its
    // circle: put it back on the exact crossing of the circle with the other boundary.
    TVRMPoint2d Snap(const TVRMPoint2d& p, int arc, int otherArc, const TVRMPoint2d& otherEnd) const
    {
        std::vector<TVRMPoint2d> points;
        TVRMCustomLine2d other;
        if (otherArc >= 0 && otherArc != arc)
            other = CircleOf(otherArc);
        else if (otherArc < 0 && !InputLine(p, otherEnd, other))
            other = TVRMCustomLine2d();
        if (other.IsValidaty(0.0))
            TVRMIntersectFunc2d::ExtIntersect(CircleOf(arc), other, points, 0.0);
        if (points.empty()) {
            // No crossing to go by: onto the circle along its radius.
            const TArcInfo& a = arcs_[arc];
            return a.center + (p - a.center).Normal() * a.radius;
        }
        TVRMPoint2d best = points.front();
        for (const TVRMPoint2d& q : points)
            if (q.DistanceTo(p) < best.DistanceTo(p))
                best = q;
        // A grazing crossing moves far along the other boundary; it stays within one chord.
        const double limit = arcs_[arc].step + 3.0 / CScale;
        return best.DistanceTo(p) <= limit ? best : p;
    }

    // A crossing of two straight input edges, rounded to the grid by the engine: back onto the
    // exact crossing of the two edges' lines.
    TVRMPoint2d SnapStraight(const TVRMPoint2d& p, const TVRMPoint2d& prevPt, const TVRMPoint2d& nextPt) const
    {
        TVRMCustomLine2d in, out;
        std::vector<TVRMPoint2d> points;
        if (!InputLine(prevPt, p, in) || !InputLine(p, nextPt, out) ||
            std::abs(in.Vector().Normal().CrossProduct(out.Vector().Normal())) <= 1e-9 ||
            TVRMIntersectFunc2d::ExtIntersect(in, out, points, 0.0) != 1)
            return p;
        return points[0].DistanceTo(p) <= 3.0 / CScale ? points[0] : p;
    }

    TVRMPolygon2d Restore(const ClipperLib::Path& path) const
    {
        const size_t n = path.size();
        std::vector<TVRMPoint2d> pts(n);
        std::vector<int> arcOf(n);
        std::vector<double> turn(n, 0.0);
        for (size_t i = 0; i < n; ++i)
            pts[i] = ToPoint(path[i]);
        for (size_t i = 0; i < n; ++i) {
            arcOf[i] = EdgeArc(path[i], path[(i + 1) % n]);
            if (arcOf[i] >= 0)
                turn[i] = (pts[i] - arcs_[arcOf[i]].center).CrossProduct(pts[(i + 1) % n] - pts[i]);
        }
        const auto sameRun = [&](size_t i, size_t j) {
            return arcOf[i] >= 0 && arcOf[i] == arcOf[j] && (turn[i] > 0.0) == (turn[j] > 0.0);
        };
        // Start at an edge that begins a run; a ring wholly on one arc is a circle, split in halves.
        size_t first = 0;
        bool wholeCircle = true;
        for (size_t i = 0; i < n; ++i)
            if (!sameRun((i + n - 1) % n, i)) {
                first = i;
                wholeCircle = false;
                break;
            }
        std::vector<TRun> runs;
        for (size_t k = 0; k < n;) {
            const size_t i = (first + k) % n;
            size_t count = 1;
            if (arcOf[i] >= 0)
                while (k + count < n && sameRun(i, (first + k + count) % n) && !(wholeCircle && count == n / 2))
                    ++count;
            runs.push_back({i, count, arcOf[i]});
            k += count;
        }
        // Snap the cut points at the ends of arc runs.
        const size_t m = runs.size();
        for (size_t r = 0; r < m; ++r) {
            const TRun& prev = runs[(r + m - 1) % m];
            const TRun& cur = runs[r];
            const TPointInfo* info = Info(path[cur.start]);
            if ((info && info->hasExact) || (prev.arc == cur.arc && cur.arc >= 0))
                continue;
            TVRMPoint2d& p = pts[cur.start];
            if (prev.arc < 0 && cur.arc < 0)
                p = SnapStraight(p, pts[prev.start], pts[(cur.start + 1) % n]);
            else if (cur.arc >= 0)
                p = Snap(p, cur.arc, prev.arc, pts[prev.start]);
            else
                p = Snap(p, prev.arc, cur.arc, pts[(cur.start + 1) % n]);
        }
        TVRMPolygon2d ring;
        for (size_t r = 0; r < m; ++r) {
            const TRun& run = runs[r];
            if (run.arc < 0) {
                ring.Add(pts[run.start]);
                continue;
            }
            const TArcInfo& arc = arcs_[run.arc];
            // Sweep from the run's ends around the centre in its turning sense.
            const double sense = turn[run.start] < 0.0 ? -1.0 : 1.0;
            const TVRMPoint2d& endPt = pts[(run.start + run.count) % n];
            const double sweep = VRMGeom2d::NormalizeAngle(sense * (endPt - arc.center).Angle() -
                                                           sense * (pts[run.start] - arc.center).Angle());
            ring.Add(TVRMVertex2d{pts[run.start], arc.radius, GetSweepArcKind(turn[run.start] < 0.0, sweep)});
        }
        return ring;
    }

    std::vector<TArcInfo> arcs_;
    // Input straight edges with their directions (unit once unitsReady_).
    mutable std::vector<std::pair<TVRMCustomLine2d, TVRMVector2d>> straights_;
    mutable bool unitsReady_ = false;
    std::unordered_map<IntPoint, TPointInfo, TIntPointHash> points_;
};

// No contact between the edges of two rings (touching within the tolerance counts as contact).
bool RingsApart(const TVRMPolygon2d& r, const TVRMPolygon2d& s)
{
    if (!r.Box().Meets(s.Box(), CVRMEpsilon))
        return true;
    std::vector<TVRMPoint2d> points;
    const std::vector<TVRMCustomLine2d> edgesS = s.GetEdges();
    for (const TVRMCustomLine2d& e : r.GetEdges()) {
        const TVRMBox2d box = e.Box();
        for (const TVRMCustomLine2d& f : edgesS) {
            if (!box.Meets(f.Box(), CVRMEpsilon))
                continue;
            const int code = TVRMIntersectFunc2d::Intersect(e, f, points, CVRMEpsilon);
            if (code >= 1 && code <= 3)
                return false;
        }
    }
    return true;
}

// For rings apart: whether inner lies in outer.
bool RingInside(const TVRMPolygon2d& inner, const TVRMPolygon2d& outer)
{
    return outer.Box().Meets(inner.Box(), 0.0) &&
           TVRMPositionFunc2d::PointPosition(inner.GetVertex(0).pt, outer, CVRMEpsilon) == 0;
}

// Rings with arc edges that touch no other ring pass the boolean whole: their chords would be the
// costly part of the engine's work, and their part in the result follows from their position.
// Marks them in skip and collects into passed those that belong to the result.
void PassIsolatedArcRings(ClipperLib::ClipType op, const std::vector<const TVRMMultiPolygon2d*>& operands,
                          std::vector<std::vector<bool>>& skip, TVRMMultiPolygon2d& passed)
{
    const auto hasArc = [](const TVRMPolygon2d& ring) {
        return std::any_of(ring.Vertices().begin(), ring.Vertices().end(),
                           [](const TVRMVertex2d& v) { return v.IsArc(); });
    };
    if (std::none_of(operands.begin(), operands.end(), [&](const TVRMMultiPolygon2d* set) {
            return std::any_of(set->Items().begin(), set->Items().end(), hasArc);
        }))
        return;  // no arc ring to pass
    for (const TVRMMultiPolygon2d* set : operands)
        if (set->SignArea() < 0.0)
            return;  // a set given the wrong way round goes the general way
    std::vector<std::vector<TVRMBox2d>> boxes(operands.size());
    for (size_t x = 0; x < operands.size(); ++x)
        for (const TVRMPolygon2d& ring : operands[x]->Items())
            boxes[x].push_back(ring.Box());
    for (size_t x = 0; x < operands.size(); ++x) {
        for (int k = 0; k < operands[x]->GetCount(); ++k) {
            const TVRMPolygon2d& ring = operands[x]->GetItems(k);
            const TVRMBox2d& box = boxes[x][k];
            if (!hasArc(ring) || ring.IsHole() || !std::isfinite(box.min.x + box.min.y + box.max.x + box.max.y))
                continue;
            bool isolated = true;
            int windingOther = 0;
            for (size_t y = 0; y < operands.size() && isolated; ++y)
                for (int j = 0; j < operands[y]->GetCount() && isolated; ++j) {
                    const TVRMPolygon2d& other = operands[y]->GetItems(j);
                    if ((x == y && j == k) || skip[y][j] || !box.Meets(boxes[y][j], CVRMEpsilon))
                        continue;
                    if (!RingsApart(ring, other) || RingInside(other, ring)) {
                        isolated = false;
                    } else if (RingInside(ring, other)) {
                        isolated = x != y;  // inside a ring of its own set: the general way
                        windingOther += other.IsHole() ? -1 : 1;
                    }
                }
            if (!isolated)
                continue;
            skip[x][k] = true;
            const bool inside = windingOther > 0;
            const bool cutter = op == ClipperLib::ctDifference && x == 1;
            if (!cutter && (op == ClipperLib::ctIntersection ? inside : !inside)) {
                passed.Add(ring);
            } else if (cutter && inside) {
                passed.Add(ring);  // a hole cut wholly inside the region
                passed.GetItems(passed.GetCount() - 1).Reverse();
            }
        }
    }
}

std::unique_ptr<TVRMMultiPolygon2d> Boolean(ClipperLib::ClipType op, const TVRMMultiPolygon2d& a,
                                            const TVRMMultiPolygon2d* b)
{
    std::vector<const TVRMMultiPolygon2d*> operands{&a};
    if (b)
        operands.push_back(b);
    std::vector<std::vector<bool>> skip;
    for (const TVRMMultiPolygon2d* set : operands)
        skip.emplace_back(set->GetCount(), false);
    TVRMMultiPolygon2d passed;
    PassIsolatedArcRings(op, operands, skip, passed);
    TClipperAdapter adapter;
    adapter.Reserve(static_cast<size_t>(a.GetEdgeCount()) + (b ? static_cast<size_t>(b->GetEdgeCount()) : 0));
    const ClipperLib::Paths subject = adapter.Convert(a, skip[0]);
    const ClipperLib::Paths clip = b ? adapter.Convert(*b, skip[1]) : ClipperLib::Paths();
    std::unique_ptr<TVRMMultiPolygon2d> result =
        subject.empty() && clip.empty() ? TVRMMultiPolygon2d::Create() : adapter.Execute(op, subject, clip);
    result->Add(passed);
    return result;
}

}  // namespace

std::unique_ptr<TVRMMultiPolygon2d> TVRMIntersectFunc2d::IntPolygon(const TVRMMultiPolygon2d& a,
                                                                    const TVRMMultiPolygon2d& b)
{
    if (a.IsEmpty() || b.IsEmpty() || !a.Box().Meets(b.Box(), 0.0))
        return TVRMMultiPolygon2d::Create();
    return Boolean(ClipperLib::ctIntersection, a, &b);
}

std::unique_ptr<TVRMMultiPolygon2d> TVRMIntersectFunc2d::MergePolygon(const TVRMMultiPolygon2d& a,
                                                                      const TVRMMultiPolygon2d& b)
{
    return Boolean(ClipperLib::ctUnion, a, &b);
}

std::unique_ptr<TVRMMultiPolygon2d> TVRMIntersectFunc2d::MergePolygon(const TVRMMultiPolygon2d& a)
{
    return Boolean(ClipperLib::ctUnion, a, nullptr);
}

std::unique_ptr<TVRMMultiPolygon2d> TVRMIntersectFunc2d::SyncSubPolygon(const TVRMMultiPolygon2d& a,
                                                                        const TVRMMultiPolygon2d& b)
{
    // Every call works on its own engine and tables: nothing is shared between threads.
    if (a.IsEmpty())
        return TVRMMultiPolygon2d::Create();
    return Boolean(ClipperLib::ctDifference, a, &b);
}
