#include "Host/VRM/Geometry3d/VRMPolyhedronLines3d.h"

#include <algorithm>

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry3d/VRMGeometry3dInternal.h"
#include "Host/VRM/Geometry3d/VRMPlan3d.h"

using namespace vrm3d;

namespace {

// Parameters along p-q where the segment meets the boundary of a face.
void FaceBreaks(const TVRMPoint3d& p, const TVRMPoint3d& q, const TVRMFace3d& face, std::vector<double>& ts)
{
    const TVRMPlane3d& plane = face.GetPlane();
    const double dp = plane.GetDistance(p), dq = plane.GetDistance(q);
    const bool onP = std::fabs(dp) <= CVRMPlaneEpsilon, onQ = std::fabs(dq) <= CVRMPlaneEpsilon;
    if (onP && onQ) {
        // In the face's plane: where the segment crosses the face's loops.
        const TFrame frame(face.GetNormal());
        const TPoint2 a = frame.To2d(p), b = frame.To2d(q);
        for (const auto& l : face.GetLoops())
            for (size_t i = 0; i < l.size(); ++i) {
                const TPoint2 c = frame.To2d(l[i]), d = frame.To2d(l[(i + 1) % l.size()]);
                const double den = (b.x - a.x) * (d.y - c.y) - (b.y - a.y) * (d.x - c.x);
                if (std::fabs(den) <= CVRMZero)
                    continue;
                const double t = ((c.x - a.x) * (d.y - c.y) - (c.y - a.y) * (d.x - c.x)) / den;
                const double u = ((c.x - a.x) * (b.y - a.y) - (c.y - a.y) * (b.x - a.x)) / den;
                if (t > 0 && t < 1 && u >= -CVRMZero && u <= 1 + CVRMZero)
                    ts.push_back(t);
            }
        return;
    }
    if (onP || onQ || dp * dq > 0)
        return;
    const double t = dp / (dp - dq);
    if (face.VertexPosition(p + (q - p) * t) >= 0)
        ts.push_back(t);
}

}  // namespace

void TVRMPolyhedronLines3d::AddEdge(const TVRMPoint3d& start, const TVRMPoint3d& end, int tag)
{
    edges_.push_back({start, end, tag});
}

void TVRMPolyhedronLines3d::AddLine(const TVRMCustomLine2d& line, double startElevation, double endElevation, int tag)
{
    const double length = line.Length();
    const TPlanRing run = FacetLine(line);
    auto lift = [&](const TVRMPoint2d& p) {
        const double t = length > 0 ? std::clamp(line.LengthAtPoint(p) / length, 0.0, 1.0) : 0.0;
        return TVRMPoint3d{p.x, p.y, startElevation + (endElevation - startElevation) * t};
    };
    for (size_t i = 0; i + 1 < run.points.size(); ++i)
        AddEdge(lift(run.points[i]), lift(run.points[i + 1]), tag);
}

void TVRMPolyhedronLines3d::AddFaceEdges(const TVRMFace3d& face, int tag)
{
    for (const auto& l : face.GetLoops())
        for (size_t i = 0; i < l.size(); ++i)
            AddEdge(l[i], l[(i + 1) % l.size()], tag);
}

void TVRMPolyhedronLines3d::Add(const TVRMPolyhedronLines3d& other)
{
    edges_.insert(edges_.end(), other.edges_.begin(), other.edges_.end());
}

const TVRMPolyhedronLines3d::TEdge& TVRMPolyhedronLines3d::GetEdge(int i) const
{
    QTK_ASSERT(i >= 0 && i < GetEdgeCount());
    return edges_[i];
}

double TVRMPolyhedronLines3d::GetLength() const
{
    double s = 0;
    for (const auto& e : edges_)
        s += e.start.DistanceTo(e.end);
    return s;
}

double TVRMPolyhedronLines3d::Subtract(const TVRMPolyhedron3d& solid, bool)
{
    return Keep(solid, false);
}

double TVRMPolyhedronLines3d::Intersect(const TVRMPolyhedron3d& solid, bool)
{
    return Keep(solid, true);
}

double TVRMPolyhedronLines3d::Keep(const TVRMPolyhedron3d& solid, bool inside)
{
    const TVRMBox3d box = solid.GetBox();
    const double before = GetLength();
    std::vector<TEdge> kept;
    for (const auto& e : edges_) {
        TVRMBox3d eb;
        eb.Extend(e.start);
        eb.Extend(e.end);
        if (!solid.HasFaces() || !eb.Meets(box)) {
            if (!inside)
                kept.push_back(e);
            continue;
        }
        std::vector<double> ts{0, 1};
        for (const auto& f : solid.GetFaces())
            FaceBreaks(e.start, e.end, f, ts);
        std::sort(ts.begin(), ts.end());
        const TVRMVector3d d = e.end - e.start;
        const double len = d.Length();
        // Each stretch between breaks is wholly in or out; runs of kept stretches join.
        bool open = false;
        TVRMPoint3d runStart;
        for (size_t i = 0; i + 1 < ts.size(); ++i) {
            if ((ts[i + 1] - ts[i]) * len <= CVRMZero)
                continue;
            const bool in = solid.VertexPosition(e.start + d * ((ts[i] + ts[i + 1]) / 2)) != 2;
            if (in == inside && !open) {
                open = true;
                runStart = e.start + d * ts[i];
            } else if (in != inside && open) {
                open = false;
                kept.push_back({runStart, e.start + d * ts[i], e.tag});
            }
        }
        if (open)
            kept.push_back({runStart, e.end, e.tag});
    }
    edges_ = std::move(kept);
    return before - GetLength();
}

void TVRMPolyhedronLines3d::Cut(const TVRMPlane3d& plane, bool)
{
    std::vector<TEdge> kept;
    for (const auto& e : edges_) {
        double ds = plane.GetDistance(e.start), de = plane.GetDistance(e.end);
        if (std::fabs(ds) <= CVRMPlaneEpsilon)
            ds = 0;
        if (std::fabs(de) <= CVRMPlaneEpsilon)
            de = 0;
        if (ds <= 0 && de <= 0)
            kept.push_back(e);
        else if (ds < 0 || de < 0) {
            const TVRMPoint3d x = e.start + (e.end - e.start) * (ds / (ds - de));
            kept.push_back(ds < 0 ? TEdge{e.start, x, e.tag} : TEdge{x, e.end, e.tag});
        }
    }
    edges_ = std::move(kept);
}

void TVRMPolyhedronLines3d::Move(const TVRMVector3d& v)
{
    for (auto& e : edges_) {
        e.start += v;
        e.end += v;
    }
}
