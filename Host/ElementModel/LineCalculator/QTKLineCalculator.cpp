// Middle-line calculators: end sets, precedence of pairs, the cut of each end and the joined
// lines.
#include "Host/ElementModel/LineCalculator/QTKLineCalculator.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>
#include <tuple>

#include "Host/ElementModel/LineCalculator/QTKLineBand.h"
#include "Host/ElementModel/LineCalculator/QTKLineCalculatorImpl.h"
#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

int Sign(int v) noexcept
{
    return (v > 0) - (v < 0);
}

// An element at a node, and which of its ends is there.
struct TMember {
    TQTKLineBand band;
    bool nodeAtStart = false;
};

// A line an end of the calculated element is cut at, with how far beyond the owner's drawn
// ends a hit still counts as meeting the owner.
struct TStop {
    const TQTKLineBand* owner = nullptr;
    TVRMCustomLine2d line;
    double reachBeforeStart = CVRMEpsilon;
    double reachAfterEnd = CVRMEpsilon;
};

// The cut ends of the three lines at one end, the neighbours that took part and the extension.
struct TEndResult {
    TVRMPoint2d left, right, mid;
    TQTKConnectedEnd connected;
    double ext = 0.0;
};

class TEndSolver {
public:
    TEndSolver(const TLineCalcArgs& args, const TQTKLineBand& self, bool centreStop, bool materialOnly)
        : args_(args), self_(self), centreStop_(centreStop), materialOnly_(materialOnly)
    {
    }

    TEndResult Solve(bool atStart);

private:
    enum class TMode { First, Farthest };

    int Precedence(const TQTKLineBand& a, const TQTKLineBand& b);
    int PairResult(const TQTKLineBand& x, const TQTKLineBand& y);
    const TVRMCustomLine2d& FaceOf(const TQTKLineBand& n, bool atStart, bool near) const;
    TStop LoserStop(const TQTKLineBand& winner, bool atStart) const;
    TStop CornerLoserStop(const TMember& winner, bool atStart) const;
    TStop WinnerStop(const TQTKLineBand& beaten, bool atStart) const;
    bool CutAt(const std::vector<TStop>& stops, bool atStart, TMode mode, TEndResult& result) const;
    bool Mitre(const TMember& partner, bool atStart, TEndResult& result) const;
    bool CompleteMid(bool atStart, TEndResult& result) const;
    void Free(bool atStart, TEndResult& result) const;
    void ResolveNode(bool atStart, const std::vector<TMember>& members, const std::vector<TQTKLineBand>& throughs,
                     TEndResult& result);

    const TLineCalcArgs& args_;
    const TQTKLineBand& self_;
    bool centreStop_;
    bool materialOnly_;
    std::map<std::pair<int, int>, int> pairs_;
};

// Positive when the first argument takes precedence: family priority, then bottom level, then
// top level at the junction point; each asked both ways.
int TEndSolver::PairResult(const TQTKLineBand& x, const TQTKLineBand& y)
{
    const auto key = std::make_pair(x.id, y.id);
    if (const auto it = pairs_.find(key); it != pairs_.end())
        return it->second;
    int r = 0;
    if (args_.priority) {
        r = Sign(args_.priority(x.info, y.info));
        if (r == 0)
            r = -Sign(args_.priority(y.info, x.info));
    }
    const TVRMPoint2d p = BandJunctionPoint(x, y);
    for (const TQTKLineLevelFunc* level : {&args_.bottomLevel, &args_.topLevel}) {
        if (r != 0 || !*level)
            continue;
        r = Sign((*level)(x.info, y.info, p));
        if (r == 0)
            r = -Sign((*level)(y.info, x.info, p));
    }
    pairs_[key] = r;
    return r;
}

int TEndSolver::Precedence(const TQTKLineBand& a, const TQTKLineBand& b)
{
    if (IsBandParallel(a, b))
        return 0;  // continuations and overlaps are never cut by precedence
    if (materialOnly_ && args_.priority) {
        // Measured by material only: the calculated element asks once, from its own side.
        if ((a.id == self_.id && args_.priority(a.info, b.info) == 2) ||
            (b.id == self_.id && args_.priority(b.info, a.info) == 2))
            return 0;
    }
    return a.id <= b.id ? PairResult(a, b) : -PairResult(b, a);
}

// The side line of n on the side of n's centre line where the calculated element's body lies
// (near), or the other one (far).
const TVRMCustomLine2d& TEndSolver::FaceOf(const TQTKLineBand& n, bool atStart, bool near) const
{
    int side = TVRMPositionFunc2d::PointSegSide(self_.CentreFarEnd(atStart), n.centre);
    if (side == 0)
        side = TVRMPositionFunc2d::PointSegSide(self_.centre.MiddlePoint(), n.centre);
    const bool bodyOnRight = side == 2;
    return bodyOnRight == near ? n.right : n.left;
}

TStop TEndSolver::LoserStop(const TQTKLineBand& winner, bool atStart) const
{
    return TStop{&winner, centreStop_ ? winner.centre : FaceOf(winner, atStart, true)};
}

// Against an element ending at the same node, its face is also met beyond its drawn end on the
// outer side of the corner.
TStop TEndSolver::CornerLoserStop(const TMember& winner, bool atStart) const
{
    TStop stop = LoserStop(winner.band, atStart);
    (winner.nodeAtStart ? stop.reachBeforeStart : stop.reachAfterEnd) = self_.width + winner.band.width;
    return stop;
}

TStop TEndSolver::WinnerStop(const TQTKLineBand& beaten, bool atStart) const
{
    return TStop{&beaten, FaceOf(beaten, atStart, false), HUGE_VAL, HUGE_VAL};
}

// Each side line cut at its first hit coming from the body (First) or at its farthest hit
// (Farthest). Hits on a stop owner's drawn length come first, then hits within its reach past
// its ends, then the rest.
bool TEndSolver::CutAt(const std::vector<TStop>& stops, bool atStart, TMode mode, TEndResult& result) const
{
    struct THit {
        TVRMPoint2d point;
        double along = 0.0;  // towards the end being cut
        int id = 0;
        int rank = 0;  // 2 on the owner's length, 1 within its reach, 0 beyond
    };
    auto better = [&](const THit& h, const THit& best) {
        if (h.rank != best.rank)
            return h.rank > best.rank;
        if (!SameValue(h.along, best.along))
            return mode == TMode::First ? h.along < best.along : h.along > best.along;
        return h.id < best.id;
    };
    THit chosen[2];
    for (int side = 0; side < 2; ++side) {
        const TVRMCustomLine2d& line = side == 0 ? self_.left : self_.right;
        const TVRMPoint2d& ref = atStart ? line.StartPt() : line.EndPt();
        bool any = false;
        for (const TStop& stop : stops) {
            THit hit;
            if (!NearestExtIntersect(line, stop.line, ref, hit.point))
                continue;
            const double s = line.LengthAtPoint(hit.point);
            hit.along = atStart ? -s : s;
            hit.id = stop.owner->id;
            const double onOwner = stop.owner->centre.LengthAtPoint(hit.point);
            const double length = stop.owner->centre.Length();
            hit.rank = onOwner >= -CVRMEpsilon && onOwner <= length + CVRMEpsilon ? 2
                       : onOwner >= -stop.reachBeforeStart - CVRMEpsilon &&
                               onOwner <= length + stop.reachAfterEnd + CVRMEpsilon
                           ? 1
                           : 0;
            if (!any || better(hit, chosen[side]))
                chosen[side] = hit;
            any = true;
        }
        if (!any)
            return false;
    }
    result.left = chosen[0].point;
    result.right = chosen[1].point;
    result.connected.primaryID = (better(chosen[1], chosen[0]) ? chosen[1] : chosen[0]).id;
    return CompleteMid(atStart, result);
}

// Equal elements meeting at an L: inner side lines meet at the inner corner, outer ones at the
// outer corner; "inner" is the side where the other element's far end lies.
bool TEndSolver::Mitre(const TMember& partner, bool atStart, TEndResult& result) const
{
    const TQTKLineBand& m = partner.band;
    const bool selfInnerLeft = TVRMPositionFunc2d::PointSegSide(m.CentreFarEnd(partner.nodeAtStart), self_.centre) != 2;
    const bool partnerInnerLeft = TVRMPositionFunc2d::PointSegSide(self_.CentreFarEnd(atStart), m.centre) != 2;
    const TVRMPoint2d& ref = self_.CentreEnd(atStart);
    TVRMPoint2d inner, outer;
    if (!NearestExtIntersect(selfInnerLeft ? self_.left : self_.right, partnerInnerLeft ? m.left : m.right, ref,
                             inner) ||
        !NearestExtIntersect(selfInnerLeft ? self_.right : self_.left, partnerInnerLeft ? m.right : m.left, ref, outer))
        return false;
    result.left = selfInnerLeft ? inner : outer;
    result.right = selfInnerLeft ? outer : inner;
    result.connected.primaryID = m.id;
    return CompleteMid(atStart, result);
}

// The middle line's end: the centre line where it meets the cut line through the side ends.
bool TEndSolver::CompleteMid(bool atStart, TEndResult& result) const
{
    if (result.left.DistanceTo(result.right) <= CVRMEpsilon)
        return false;
    return NearestExtIntersect(self_.centre, TVRMCustomLine2d(result.left, result.right), self_.CentreEnd(atStart),
                               result.mid);
}

void TEndSolver::Free(bool atStart, TEndResult& result) const
{
    result.left = atStart ? self_.left.StartPt() : self_.left.EndPt();
    result.right = atStart ? self_.right.StartPt() : self_.right.EndPt();
    result.mid = self_.CentreEnd(atStart);
}

TEndResult TEndSolver::Solve(bool atStart)
{
    TEndResult result;
    Free(atStart, result);
    const TQTKLineEdoInfoArray infos =
        args_.attachMode
            ? (atStart ? args_.provider->GetStartSameKindLineEdoInfos() : args_.provider->GetEndSameKindLineEdoInfos())
            : (atStart ? args_.provider->GetStartLineEdoInfos() : args_.provider->GetEndLineEdoInfos());
    const int endBit = atStart ? CQTKJunctionAtStart : CQTKJunctionAtEnd;

    std::vector<TMember> members{{self_, atStart}};  // the element itself and the ends at the node
    std::vector<TQTKLineBand> throughs;              // elements it stems into
    std::vector<TQTKLineBand> neighbours;            // every element met at this end
    std::set<int> seen{self_.id};
    bool keep = false;
    for (const Ref<IQTKLineEdoInfo>& info : infos) {
        if (!info || !seen.insert(info->GetID()).second || !info->IsMidlineConnectable())
            continue;
        const TQTKLineBand band = TQTKLineBand::Of(info.get(), args_.actualWidth);
        const int kind = JunctionKind(self_, band);
        if (!band.valid || (GetJunctionKindPlace(kind) & endBit) == 0)
            continue;
        neighbours.push_back(band);
        if (kind == 3 || kind == 11 || kind == 13 || kind == 14) {
            keep = true;  // too short, inside, or running past: the end stays as drawn
        } else if (kind == 5 || kind == 6) {
            throughs.push_back(band);
        } else {
            const int mirror = JunctionKind(band, self_);
            if (mirror != 3)  // a stub lying across this end keeps its own ends
                members.push_back({band, (GetJunctionKindPlace(mirror) & CQTKJunctionAtStart) != 0});
        }
    }
    result.ext = ReachPastNeighbours(self_.centre, atStart, self_.half, neighbours);
    if (keep || (members.size() == 1 && throughs.empty()))
        return result;
    for (size_t i = 1; i < members.size(); ++i)
        result.connected.ids.push_back(members[i].band.id);
    for (const TQTKLineBand& t : throughs)
        result.connected.ids.push_back(t.id);
    ResolveNode(atStart, members, throughs, result);
    if (result.connected.primaryID == 0)
        result.connected.primaryID = *std::min_element(result.connected.ids.begin(), result.connected.ids.end());
    return result;
}

// The node of the calculated element (member 0) and the other ends there, decided the same way
// from every member's side: losers first, then a collinear pair runs through, else one
// remaining element reaches over those it beats, else the most open equal pair mitres.
void TEndSolver::ResolveNode(bool atStart, const std::vector<TMember>& members,
                             const std::vector<TQTKLineBand>& throughs, TEndResult& result)
{
    const size_t count = members.size();
    // Throughs a member stems into at its node end.
    auto stemsInto = [&](size_t i, const TQTKLineBand& t) {
        if (i == 0)
            return true;
        const int kind = JunctionKind(members[i].band, t);
        const int end = members[i].nodeAtStart ? CQTKJunctionAtStart : CQTKJunctionAtEnd;
        return (kind == 5 || kind == 6) && (GetJunctionKindPlace(kind) & end) != 0;
    };
    auto isLoser = [&](size_t i) {
        for (size_t j = 0; j < count; ++j)
            if (j != i && Precedence(members[j].band, members[i].band) > 0)
                return true;
        for (const TQTKLineBand& t : throughs)
            if (stemsInto(i, t) && Precedence(members[i].band, t) <= 0)
                return true;
        return false;
    };

    std::vector<TStop> stops;
    auto cut = [&](TMode mode) {
        if (!CutAt(stops, atStart, mode, result))
            Free(atStart, result);
    };
    if (isLoser(0)) {
        for (size_t j = 1; j < count; ++j)
            if (Precedence(members[j].band, self_) > 0)
                stops.push_back(CornerLoserStop(members[j], atStart));
        for (const TQTKLineBand& t : throughs)
            if (Precedence(self_, t) <= 0)
                stops.push_back(LoserStop(t, atStart));
        return cut(TMode::First);
    }

    std::vector<size_t> rest;  // unbeaten members, equal among themselves
    for (size_t i = 0; i < count; ++i)
        if (i == 0 || !isLoser(i))
            rest.push_back(i);
    auto pairOrder = [&](size_t a, size_t b) {
        const TQTKLineBand& x = members[a].band;
        const TQTKLineBand& y = members[b].band;
        return std::make_tuple(-(x.width + y.width), std::min(x.id, y.id), std::max(x.id, y.id));
    };
    // A collinear pair runs through; the others stop at it.
    std::pair<size_t, size_t> chain{count, count};
    for (size_t a = 0; a < rest.size(); ++a)
        for (size_t b = a + 1; b < rest.size(); ++b) {
            const TMember& x = members[rest[a]];
            const TMember& y = members[rest[b]];
            if (!IsBandParallel(x.band, y.band) ||
                x.band.Outgoing(x.nodeAtStart).InnerProduct(y.band.Outgoing(y.nodeAtStart)) >= 0.0)
                continue;
            if (chain.first == count || pairOrder(rest[a], rest[b]) < pairOrder(chain.first, chain.second))
                chain = {rest[a], rest[b]};
        }
    if (chain.first != count) {
        if (chain.first == 0 || chain.second == 0) {
            Free(atStart, result);  // square at the contact
            result.connected.primaryID = members[chain.first == 0 ? chain.second : chain.first].band.id;
            return;
        }
        stops = {LoserStop(members[chain.first].band, atStart), LoserStop(members[chain.second].band, atStart)};
        return cut(TMode::First);
    }
    if (rest.size() == 1) {
        for (size_t j = 1; j < count; ++j)
            if (Precedence(self_, members[j].band) > 0)
                stops.push_back(WinnerStop(members[j].band, atStart));
        for (const TQTKLineBand& t : throughs)
            if (Precedence(self_, t) > 0)
                stops.push_back(WinnerStop(t, atStart));
        if (stops.empty())
            return;  // beats nobody: the end stays as drawn
        return cut(TMode::Farthest);
    }
    // The most open equal pair mitres; the others stop at it.
    std::pair<size_t, size_t> mitre{count, count};
    double bestAngle = -1.0;
    for (size_t a = 0; a < rest.size(); ++a)
        for (size_t b = a + 1; b < rest.size(); ++b) {
            const TMember& x = members[rest[a]];
            const TMember& y = members[rest[b]];
            const double dot = x.band.Outgoing(x.nodeAtStart).InnerProduct(y.band.Outgoing(y.nodeAtStart));
            const double angle = std::acos(std::clamp(dot, -1.0, 1.0));
            if (mitre.first == count || angle > bestAngle + 1e-9 ||
                (angle > bestAngle - 1e-9 && pairOrder(rest[a], rest[b]) < pairOrder(mitre.first, mitre.second))) {
                mitre = {rest[a], rest[b]};
                bestAngle = std::max(bestAngle, angle);
            }
        }
    if (mitre.first == 0 || mitre.second == 0) {
        if (!Mitre(members[mitre.first == 0 ? mitre.second : mitre.first], atStart, result))
            Free(atStart, result);
        return;
    }
    stops = {CornerLoserStop(members[mitre.first], atStart), CornerLoserStop(members[mitre.second], atStart)};
    cut(TMode::First);
}

// The piece of a line between two points on it; false when it would be reversed or vanish.
bool PieceBetween(const TVRMCustomLine2d& line, const TVRMPoint2d& from, const TVRMPoint2d& to, TVRMCustomLine2d& piece)
{
    const double t0 = line.LengthAtPoint(from);
    const double t1 = line.LengthAtPoint(to);
    if (!(t1 - t0 > CVRMEpsilon))
        return false;
    piece = line.SubLine(t0, t1);
    piece.SetStartPt(from);
    piece.SetEndPt(to);
    return true;
}

}  // namespace

void TQTKLineCalculator::Calculate(TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right,
                                   Ref<IQTKConnectedEdoIDInfo>& info)
{
    Run(true, mid, left, right, info);
}

void TQTKLineCalculator::AxisCalculate(TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right,
                                       Ref<IQTKConnectedEdoIDInfo>& info)
{
    Run(false, mid, left, right, info);
}

void TQTKLineCalculator::Run(bool joined, TVRMCustomLine2d& mid, TVRMCustomLine2d& left, TVRMCustomLine2d& right,
                             Ref<IQTKConnectedEdoIDInfo>& info)
{
    QTK_ASSERT(args_.self != nullptr);
    const TQTKLineBand self = TQTKLineBand::Of(args_.self, args_.actualWidth);
    const int key = args_.key != 0 ? args_.key : self.id;
    Ref<TQTKConnectedEdoIDInfo> ids = MakeRef<TQTKConnectedEdoIDInfo>();
    info = ids;
    mid = self.centre;
    left = self.left;
    right = self.right;
    if (!self.valid || args_.provider == nullptr)
        return;

    TEndSolver solver(args_, self, loserStop_ == TLoserStop::CentreLine, materialOnly_);
    const TEndResult start = solver.Solve(true);
    const TEndResult end = solver.Solve(false);
    if (joined) {
        TVRMCustomLine2d m, l, r;
        if (!PieceBetween(self.centre, start.mid, end.mid, m) || !PieceBetween(self.left, start.left, end.left, l) ||
            !PieceBetween(self.right, start.right, end.right, r)) {
            // Ends cut past each other: the element keeps its plain lines and joins nothing.
            RegisterLineExtension(mid, self, 0.0, 0.0, args_.elementType);
            return;
        }
        mid = m, left = l, right = r;
    }
    ids->SetEntry(key, start.connected, end.connected);
    RegisterLineExtension(mid, self, start.ext, end.ext, args_.elementType);
}
