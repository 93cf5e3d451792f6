// Plane cuts of faces and solids, and the rebuilding of planar faces from
// their boundary edges.
#include <algorithm>
#include <map>

#include "Host/VRM/Geometry3d/VRMGeometry3dInternal.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace vrm3d {

namespace {

constexpr double kAreaTol = 1e-8;  // loops with less area are dropped (mm2)

struct TNodeSet {
    std::vector<TVRMPoint3d> points;
    std::map<std::tuple<double, double, double>, int> exact;

    int Add(const TVRMPoint3d& p)
    {
        auto key = std::make_tuple(p.x, p.y, p.z);
        if (auto it = exact.find(key); it != exact.end())
            return it->second;
        for (size_t i = 0; i < points.size(); ++i)
            if (points[i].IsEqualTo(p, kMergeTol)) {
                exact.emplace(key, static_cast<int>(i));
                return static_cast<int>(i);
            }
        points.push_back(p);
        exact.emplace(key, static_cast<int>(points.size() - 1));
        return static_cast<int>(points.size() - 1);
    }
};

// A point inside `hole` that is not on the boundary of `outer`, for the containment test.
bool HoleProbe(const std::vector<TPoint2>& hole, const std::vector<TPoint2>& outer, TPoint2& probe)
{
    for (size_t i = 0; i < hole.size(); ++i) {
        const TPoint2& a = hole[i];
        const TPoint2& b = hole[(i + 1) % hole.size()];
        for (const TPoint2& c : {a, TPoint2{(a.x + b.x) / 2, (a.y + b.y) / 2}})
            if (PointInRing2(c, outer, kMergeTol) != 1) {
                probe = c;
                return true;
            }
    }
    return false;
}

}  // namespace

bool BuildFacesFromEdges(const std::vector<TEdge3>& input, const TVRMPlane3d& plane, int tag,
                         std::vector<TVRMFace3d>& faces, bool splitAtVertices)
{
    const TFrame frame(plane.GetNormal());
    TNodeSet nodes;
    std::vector<std::pair<int, int>> edges;
    for (const auto& e : input) {
        const int a = nodes.Add(e.from), b = nodes.Add(e.to);
        if (a != b)
            edges.emplace_back(a, b);
    }
    if (splitAtVertices) {
        std::vector<std::pair<int, int>> split;
        for (auto [a, b] : edges) {
            const TVRMPoint3d pa = nodes.points[a], d = nodes.points[b] - pa;
            const double len2 = d.InnerProduct(d);
            std::vector<std::pair<double, int>> inner;
            for (int k = 0; k < static_cast<int>(nodes.points.size()); ++k) {
                if (k == a || k == b)
                    continue;
                const double t = (nodes.points[k] - pa).InnerProduct(d) / len2;
                if (t > 0 && t < 1 && (pa + d * t).IsEqualTo(nodes.points[k], kMergeTol))
                    inner.emplace_back(t, k);
            }
            std::sort(inner.begin(), inner.end());
            int from = a;
            for (auto [t, k] : inner) {
                split.emplace_back(from, k);
                from = k;
            }
            split.emplace_back(from, b);
        }
        edges.swap(split);
    }
    // Opposite edges cancel: they are where two adjoining pieces meet.
    std::map<std::pair<int, int>, int> count;
    for (auto e : edges)
        ++count[e];
    for (auto& [e, c] : count) {
        auto it = count.find({e.second, e.first});
        if (it == count.end() || e.first > e.second)
            continue;
        const int m = std::min(c, it->second);
        c -= m;
        it->second -= m;
    }
    std::vector<std::vector<int>> out(nodes.points.size());
    std::vector<std::pair<int, int>> live;
    for (auto& [e, c] : count)
        for (int k = 0; k < c; ++k) {
            out[e.first].push_back(static_cast<int>(live.size()));
            live.push_back(e);
        }
    std::vector<bool> used(live.size(), false);
    std::vector<std::vector<int>> loops;
    bool closed = true;
    for (size_t start = 0; start < live.size(); ++start) {
        if (used[start])
            continue;
        std::vector<int> loop{live[start].first};
        int cur = static_cast<int>(start);
        while (true) {
            used[cur] = true;
            const int from = live[cur].first, v = live[cur].second;
            if (v == loop[0])
                break;
            loop.push_back(v);
            const TPoint2 p0 = frame.To2d(nodes.points[from]), p1 = frame.To2d(nodes.points[v]);
            int next = -1;
            double bestTurn = -10;
            for (int cand : out[v]) {
                if (used[cand])
                    continue;
                const TPoint2 p2 = frame.To2d(nodes.points[live[cand].second]);
                const double dx1 = p1.x - p0.x, dy1 = p1.y - p0.y, dx2 = p2.x - p1.x, dy2 = p2.y - p1.y;
                double turn = std::atan2(dx1 * dy2 - dy1 * dx2, dx1 * dx2 + dy1 * dy2);
                if (live[cand].second == from)
                    turn = -4;  // going straight back is the last resort
                if (turn > bestTurn) {
                    bestTurn = turn;
                    next = cand;
                }
            }
            if (next < 0) {
                closed = false;
                break;
            }
            cur = next;
        }
        if (closed)
            loops.push_back(std::move(loop));
        else
            break;
    }
    if (!closed)
        return false;

    struct TRing {
        TVRMLoop3d points;
        std::vector<TPoint2> flat;
        double area;
    };
    std::vector<TRing> outers, holes;
    for (const auto& loop : loops) {
        TRing r;
        for (int k : loop)
            r.points.push_back(nodes.points[k]);
        r.flat = ToFrame(frame, r.points);
        r.area = SignedArea2(r.flat);
        if (r.area > kAreaTol)
            outers.push_back(std::move(r));
        else if (r.area < -kAreaTol)
            holes.push_back(std::move(r));
    }
    std::vector<std::vector<TVRMLoop3d>> faceLoops;
    for (auto& o : outers)
        faceLoops.push_back({o.points});
    for (auto& h : holes) {
        int host = -1;
        for (size_t i = 0; i < outers.size(); ++i) {
            TPoint2 probe;
            if (!HoleProbe(h.flat, outers[i].flat, probe) || PointInRing2(probe, outers[i].flat, 0) != 0)
                continue;
            if (host < 0 || outers[i].area < outers[host].area)
                host = static_cast<int>(i);
        }
        if (host >= 0)
            faceLoops[host].push_back(std::move(h.points));
    }
    for (auto& l : faceLoops)
        faces.emplace_back(plane, std::move(l), tag);
    return true;
}

TClip ClipFace(const TVRMFace3d& face, const TVRMPlane3d& plane, const TVRMVector3d& away, double tol,
               std::vector<TVRMFace3d>& pieces, std::vector<TEdge3>& onPlane)
{
    const double sense = away.InnerProduct(plane.GetNormal()) > 0 ? 1 : -1;
    std::vector<std::vector<double>> dist;
    bool anyIn = false, anyOut = false;
    for (const auto& l : face.GetLoops()) {
        auto& d = dist.emplace_back();
        for (const auto& p : l) {
            double v = plane.GetDistance(p);
            if (std::fabs(v) <= tol)
                v = 0;
            d.push_back(v);
            anyIn = anyIn || sense * v < 0;
            anyOut = anyOut || sense * v > 0;
        }
    }
    if (!anyIn && !anyOut)
        return TClip::Coplanar;
    auto addOnPlaneEdges = [&](const TVRMFace3d& f) {
        for (const auto& l : f.GetLoops())
            for (size_t i = 0; i < l.size(); ++i) {
                const TVRMPoint3d& p = l[i];
                const TVRMPoint3d& q = l[(i + 1) % l.size()];
                if (std::fabs(plane.GetDistance(p)) <= tol && std::fabs(plane.GetDistance(q)) <= tol)
                    onPlane.push_back({p, q});
            }
    };
    if (!anyIn)
        return TClip::Done;
    if (!anyOut) {
        pieces.push_back(face);
        addOnPlaneEdges(face);
        return TClip::Done;
    }
    const TVRMVector3d nf = face.GetNormal();
    const TVRMVector3d u = nf.CrossProduct(away);
    std::vector<TEdge3> edges;
    std::vector<TVRMPoint3d> linePoints;
    for (size_t li = 0; li < face.GetLoops().size(); ++li) {
        const auto& l = face.GetLoop(static_cast<int>(li));
        const auto& d = dist[li];
        for (size_t i = 0; i < l.size(); ++i) {
            const size_t j = (i + 1) % l.size();
            const TVRMPoint3d& p = l[i];
            const TVRMPoint3d& q = l[j];
            const double kp = sense * d[i], kq = sense * d[j];
            if (kp == 0)
                linePoints.push_back(p);
            if (kp == 0 && kq == 0) {
                if (nf.CrossProduct(q - p).InnerProduct(away) < 0)
                    edges.push_back({p, q});
            } else if (kp <= 0 && kq <= 0) {
                edges.push_back({p, q});
            } else if (kp * kq < 0) {
                // Computed from the ordered end points so that the face on the
                // other side of this edge finds the same point.
                const bool pFirst = std::tie(p.x, p.y, p.z) < std::tie(q.x, q.y, q.z);
                const TVRMPoint3d& a = pFirst ? p : q;
                const TVRMPoint3d& b = pFirst ? q : p;
                const double da = pFirst ? d[i] : d[j], db = pFirst ? d[j] : d[i];
                const TVRMPoint3d x = a + (b - a) * (da / (da - db));
                linePoints.push_back(x);
                edges.push_back(kp < 0 ? TEdge3{p, x} : TEdge3{x, q});
            }
        }
    }
    // Stretches of the cutting line inside the face bound the piece too.
    std::sort(linePoints.begin(), linePoints.end(),
              [&](const TVRMPoint3d& a, const TVRMPoint3d& b) { return u.InnerProduct(a) < u.InnerProduct(b); });
    const TFrame frame(nf);
    std::vector<std::vector<TPoint2>> rings;
    for (const auto& l : face.GetLoops())
        rings.push_back(ToFrame(frame, l));
    for (size_t i = 0; i + 1 < linePoints.size(); ++i) {
        const TVRMPoint3d& a = linePoints[i];
        const TVRMPoint3d& b = linePoints[i + 1];
        if (a.IsEqualTo(b, kMergeTol))
            continue;
        if (PointInLoops2(frame.To2d((a + b) * 0.5), rings, kMergeTol) == 0)
            edges.push_back({a, b});
    }
    std::vector<TVRMFace3d> built;
    if (!BuildFacesFromEdges(edges, face.GetPlane(), face.GetTag(), built))
        return TClip::Failed;
    for (auto& piece : built) {
        InheritArc(face, piece);
        addOnPlaneEdges(piece);
        pieces.push_back(std::move(piece));
    }
    return TClip::Done;
}

namespace {

// Pieces of a solid on one side of the plane and its cap there. `away`
// points away from the kept side; the cap faces carry `away` as normal.
bool CutSide(const TVRMPolyhedron3d& solid, const TVRMPlane3d& plane, const TVRMVector3d& away, double tol,
             std::vector<TVRMFace3d>& pieces, std::vector<TVRMFace3d>& caps)
{
    std::vector<TEdge3> onPlane;
    int capTag = -1;
    for (const auto& f : solid.GetFaces()) {
        switch (ClipFace(f, plane, away, tol, pieces, onPlane)) {
            case TClip::Failed:
                return false;
            case TClip::Coplanar:
                if (capTag < 0 && f.GetNormal().InnerProduct(away) > 0)
                    capTag = f.GetTag();
                break;
            case TClip::Done:
                break;
        }
    }
    std::vector<TEdge3> capEdges;
    capEdges.reserve(onPlane.size());
    for (const auto& e : onPlane)
        capEdges.push_back({e.to, e.from});
    return BuildFacesFromEdges(capEdges, TVRMPlane3d(away, plane.GetBasePoint()), capTag, caps);
}

}  // namespace

bool SectionCaps(const TVRMPolyhedron3d& solid, const TVRMPlane3d& plane, double tol, std::vector<TVRMFace3d>& below,
                 std::vector<TVRMFace3d>& above)
{
    std::vector<TVRMFace3d> pieces;
    return CutSide(solid, plane, plane.GetNormal(), tol, pieces, below) &&
           CutSide(solid, plane, -plane.GetNormal(), tol, pieces, above);
}

}  // namespace vrm3d

using namespace vrm3d;

std::unique_ptr<TVRMPolyhedron3d> TVRMPolyhedron3d::Cut(const TVRMPlane3d& plane,
                                                        std::unique_ptr<TVRMPolyhedron3d>& second, double tol) const
{
    auto part = [&](const TVRMVector3d& away) {
        auto result = std::make_unique<TVRMPolyhedron3d>();
        std::vector<TVRMFace3d> pieces, caps;
        if (CutSide(*this, plane, away, tol, pieces, caps)) {
            if (!pieces.empty()) {
                for (auto& c : caps)
                    pieces.push_back(std::move(c));
                result->faces_ = std::move(pieces);
            }
            return result;
        }
        // The section could not be closed: cut with a half-space block instead.
        const TVRMBox3d box = GetBox();
        const double size = 4 * (box.Size().Length() + 1);
        const TVRMPoint3d c = plane.Project(box.Centre());
        TVRMVector3d e1 = away.CrossProduct(std::fabs(away.z) < 0.9 ? TVRMVector3d{0, 0, 1} : TVRMVector3d{1, 0, 0});
        e1 = e1.Unit() * size;
        const TVRMVector3d e2 = away.Unit().CrossProduct(e1);
        const TVRMLoop3d ring{c - e1 - e2, c + e1 - e2, c + e1 + e2, c - e1 + e2};
        auto block = CreateExtrusion({ring}, away, -away.Unit() * size, true);
        if (!CorefineBoolean(*this, *block, 0, *result))
            result->Clear();
        return result;
    };
    second = part(-plane.GetNormal());
    if (second->HasFaces())
        second->data_.clear();
    return part(plane.GetNormal());
}
