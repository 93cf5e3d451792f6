#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

#include <algorithm>

#include "Host/Runtime/Assert.h"
#include "Host/VRM/Geometry2d/VRMFunc2d.h"
#include "Host/VRM/Geometry3d/VRMGeometry3dInternal.h"
#include "Host/VRM/Geometry3d/VRMPlan3d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

using namespace vrm3d;

namespace {

// Loops of faces as a plan set in `frame` (outer rings counter-clockwise).
TVRMMultiPolygon2d ToPlan(const TFrame& frame, const std::vector<TVRMFace3d>& faces, bool reversed)
{
    TVRMMultiPolygon2d set;
    for (const auto& f : faces)
        for (const auto& l : f.GetLoops()) {
            std::vector<TVRMPoint2d> pts;
            for (const auto& p : l)
                pts.push_back({p[frame.a], p[frame.b]});
            if (reversed)
                std::reverse(pts.begin(), pts.end());
            set.Add(TVRMPolygon2d(pts));
        }
    return set;
}

// The plan set back on the face's plane, as one face with every ring.
TVRMFace3d FromPlan(const TFrame& frame, const TVRMPlane3d& plane, const TVRMMultiPolygon2d& set, int tag)
{
    const TVRMVector3d& n = plane.GetNormal();
    const TVRMPoint3d& o = plane.GetBasePoint();
    std::vector<TVRMLoop3d> loops;
    for (const auto& r : FacetPlan(set)) {
        TVRMLoop3d& l = loops.emplace_back();
        for (const auto& q : r.points) {
            TVRMPoint3d p;
            p[frame.a] = q.x;
            p[frame.b] = q.y;
            p[frame.drop] =
                o[frame.drop] - (n[frame.a] * (q.x - o[frame.a]) + n[frame.b] * (q.y - o[frame.b])) / n[frame.drop];
            l.push_back(p);
        }
    }
    // Loop 0 must be an outer loop.
    std::stable_partition(loops.begin(), loops.end(),
                          [&](const TVRMLoop3d& l) { return SignedArea2(ToFrame(frame, l)) > 0; });
    return TVRMFace3d(plane, std::move(loops), tag);
}

// The vertical faces along a plan line piece, bottom and top interpolated by
// length; `right` faces to the line's right (else to its left).
void AddVerticalFaces(std::vector<TVRMFace3d>& faces, const TVRMCustomLine2d& line, bool right, double b0, double t0,
                      double b1, double t1)
{
    const double length = line.Length();
    if (length <= CVRMEpsilon)
        return;
    const TPlanRing run = FacetLine(line);
    auto at = [&](const TVRMPoint2d& p, double s, double e) {
        return s + (e - s) * std::clamp(line.LengthAtPoint(p) / length, 0.0, 1.0);
    };
    for (size_t i = 0; i + 1 < run.points.size(); ++i) {
        const TVRMPoint2d& p = run.points[i];
        const TVRMPoint2d& q = run.points[i + 1];
        const TVRMPoint3d pb{p.x, p.y, at(p, b0, b1)}, pt{p.x, p.y, at(p, t0, t1)};
        const TVRMPoint3d qb{q.x, q.y, at(q, b0, b1)}, qt{q.x, q.y, at(q, t0, t1)};
        TVRMFace3d face = TVRMFace3d::FromLoop(right ? TVRMLoop3d{pb, qb, qt, pt} : TVRMLoop3d{pb, pt, qt, qb});
        if (face.GetPlanarArea() <= CVRMZero)
            continue;
        if (auto arc = run.arcs[i]) {
            arc->centre.z = pb.z;
            face.SetArc(arc);
        }
        faces.push_back(std::move(face));
    }
}

}  // namespace

TVRMPolyhedronShell3d::TVRMPolyhedronShell3d(const TVRMPolyhedron3d& solid, int faceIndex)
    : TVRMPolyhedronShell3d(solid, std::vector<int>{faceIndex})
{
}

TVRMPolyhedronShell3d::TVRMPolyhedronShell3d(const TVRMPolyhedron3d& solid, const std::vector<int>& faceIndexes)
{
    for (int i : faceIndexes) {
        TVRMFace3d face = solid.GetFace(i);
        face.SetTag(i);
        faces_.push_back(std::move(face));
    }
}

const TVRMFace3d& TVRMPolyhedronShell3d::GetFace(int i) const
{
    QTK_ASSERT(i >= 0 && i < GetFaceCount());
    return faces_[i];
}

void TVRMPolyhedronShell3d::AddFace(const TVRMFace3d& face, bool reversed)
{
    faces_.push_back(face);
    if (reversed)
        faces_.back().Negate();
}

void TVRMPolyhedronShell3d::AddFace(const TVRMCustomLine2d& line, bool leftSide, double startBottom, double startTop,
                                    double endBottom, double endTop)
{
    AddVerticalFaces(faces_, line, !leftSide, startBottom, startTop, endBottom, endTop);
}

void TVRMPolyhedronShell3d::AddFace(const TVRMMultiPolygon2d& outline, double bottom, double top, bool inward)
{
    // The right of a counter-clockwise outer ring, and of a clockwise hole, is outward.
    for (const auto& ring : outline.Items())
        for (const auto& edge : ring.GetEdges())
            AddVerticalFaces(faces_, edge, !inward, bottom, top, bottom, top);
}

void TVRMPolyhedronShell3d::DeleteFace(int i)
{
    QTK_ASSERT(i >= 0 && i < GetFaceCount());
    faces_.erase(faces_.begin() + i);
}

double TVRMPolyhedronShell3d::GetArea() const
{
    double s = 0;
    for (const auto& f : faces_)
        s += f.GetArea();
    return s;
}

std::unique_ptr<TVRMPolyhedronShell3d> TVRMPolyhedronShell3d::Cut(const TVRMPlane3d& plane,
                                                                  std::unique_ptr<TVRMPolyhedronShell3d>& second,
                                                                  double tol) const
{
    auto first = std::make_unique<TVRMPolyhedronShell3d>();
    second = std::make_unique<TVRMPolyhedronShell3d>();
    const TVRMVector3d& n = plane.GetNormal();
    for (const auto& f : faces_) {
        std::vector<TEdge3> onPlane;
        const size_t before = first->faces_.size(), beforeSecond = second->faces_.size();
        const TClip clip = ClipFace(f, plane, n, tol, first->faces_, onPlane);
        if (clip == TClip::Coplanar) {
            (f.GetNormal().InnerProduct(n) > 0 ? first : second)->faces_.push_back(f);
            continue;
        }
        if (clip == TClip::Done && ClipFace(f, plane, -n, tol, second->faces_, onPlane) == TClip::Done)
            continue;
        // A face that cannot be split goes whole to the side of its centre.
        first->faces_.resize(before);
        second->faces_.resize(beforeSecond);
        TVRMPoint3d probe;
        const bool below = f.GetOnePointInLoop(probe) && plane.GetDistance(probe) < 0;
        (below ? first : second)->faces_.push_back(f);
    }
    return first;
}

double TVRMPolyhedronShell3d::Subtract(const TVRMPolyhedron3d& solid, int superpositionKinds, int* unresolved)
{
    return Apply(solid, CVRMBoolSubtract, superpositionKinds, unresolved);
}

double TVRMPolyhedronShell3d::Intersect(const TVRMPolyhedron3d& solid, int superpositionKinds, int* unresolved)
{
    return Apply(solid, CVRMBoolIntersect, superpositionKinds, unresolved);
}

double TVRMPolyhedronShell3d::Apply(const TVRMPolyhedron3d& solid, int op, int superpositionKinds, int* unresolved)
{
    int failed = 0;
    const bool keepInside = op == CVRMBoolIntersect;
    const TVRMBox3d box = solid.GetBox();
    const bool empty = !solid.HasFaces() || IsFlat(solid);  // a solid without volume takes nothing
    double removed = 0;
    std::vector<TVRMFace3d> result;
    for (const auto& face : faces_) {
        const double area = face.GetArea();
        std::vector<TVRMFace3d> below, above;
        bool apart = empty || !face.GetBox().Meets(box, CVRMPlaneEpsilon);
        if (!apart && !SectionCaps(solid, face.GetPlane(), CVRMPlaneEpsilon, below, above)) {
            ++failed;
            apart = true;
        }
        if (apart || (below.empty() && above.empty())) {
            if (keepInside)
                removed += area;
            else
                result.push_back(face);
            continue;
        }
        const TFrame frame(face.GetNormal());
        // Behind the face (below) and in front of it (above), in the face's frame.
        const TVRMMultiPolygon2d behind = ToPlan(frame, below, false);
        const TVRMMultiPolygon2d front = ToPlan(frame, above, true);
        std::unique_ptr<TVRMMultiPolygon2d> taken;
        try {
            switch (superpositionKinds & CVRMSuperpositionBoth) {
                case CVRMSuperpositionNone:  // inside only: solid on both sides
                    taken = TVRMIntersectFunc2d::IntPolygon(behind, front);
                    break;
                case CVRMSuperpositionContact:  // inside and contact: solid in front
                    taken = TVRMIntersectFunc2d::MergePolygon(front);
                    break;
                case CVRMSuperpositionFlush:  // inside and flush: solid behind
                    taken = TVRMIntersectFunc2d::MergePolygon(behind);
                    break;
                default:
                    taken = TVRMIntersectFunc2d::MergePolygon(behind, front);
                    break;
            }
            const TVRMMultiPolygon2d own = ToPlan(frame, {face}, false);
            auto rest = keepInside ? TVRMIntersectFunc2d::IntPolygon(own, *taken)
                                   : TVRMIntersectFunc2d::SubPolygon(own, *taken);
            const double kept = rest->Area(), whole = own.Area();
            if (SameValue(kept, whole, CVRMZero * std::max(1.0, whole))) {
                result.push_back(face);
                continue;
            }
            if (rest->IsEmpty()) {
                removed += area;
                continue;
            }
            // Pieces of a curved facet stay on its cylinder: same arc-over-chord measure.
            TVRMFace3d piece = FromPlan(frame, face.GetPlane(), *rest, face.GetTag());
            piece.SetArc(face.GetArc());
            removed += area - piece.GetArea();
            result.push_back(std::move(piece));
        } catch (const EVRMIntersectException&) {
            result.push_back(face);  // left whole when the plan boolean cannot resolve it
            ++failed;
        }
    }
    faces_ = std::move(result);
    if (unresolved)
        *unresolved += failed;
    return removed;
}

void TVRMPolyhedronShell3d::SimpleFace()
{
    std::vector<TVRMFace3d> result;
    std::vector<bool> done(faces_.size(), false);
    for (size_t i = 0; i < faces_.size(); ++i) {
        if (done[i])
            continue;
        std::vector<size_t> members;
        std::vector<TEdge3> edges;
        for (size_t j = i; j < faces_.size(); ++j) {
            if (done[j] || !faces_[j].GetPlane().IsSamePlane(faces_[i].GetPlane()))
                continue;
            done[j] = true;
            members.push_back(j);
            for (const auto& l : faces_[j].GetLoops())
                for (size_t k = 0; k < l.size(); ++k)
                    edges.push_back({l[k], l[(k + 1) % l.size()]});
        }
        std::vector<TVRMFace3d> merged;
        if (members.size() > 1 && BuildFacesFromEdges(edges, faces_[i].GetPlane(), faces_[i].GetTag(), merged, true)) {
            for (auto& f : merged)
                result.push_back(std::move(f));
            continue;
        }
        for (size_t j : members)
            result.push_back(faces_[j]);
    }
    faces_ = std::move(result);
}

void TVRMPolyhedronShell3d::Negate()
{
    for (auto& f : faces_)
        f.Negate();
}

void TVRMPolyhedronShell3d::Move(const TVRMVector3d& v)
{
    for (auto& f : faces_)
        f.Move(v);
}
