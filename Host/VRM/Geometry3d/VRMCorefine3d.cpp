// General boolean of solids by corefinement of triangle meshes with exact
// constructions. The only unit of the library that includes CGAL.
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Surface_mesh.h>
#include <CGAL/Triangulation_face_base_with_info_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/boost/graph/helpers.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <list>
#include <map>
#include <numeric>
#include <set>
#include <tuple>

#include "Host/VRM/Geometry3d/VRMGeometry3dInternal.h"

namespace vrm3d {

namespace {

namespace PMP = CGAL::Polygon_mesh_processing;
using EK = CGAL::Exact_predicates_exact_constructions_kernel;
using IK = CGAL::Exact_predicates_inexact_constructions_kernel;
using Mesh = CGAL::Surface_mesh<EK::Point_3>;
using VIndex = Mesh::Vertex_index;
using FIndex = Mesh::Face_index;

struct TFaceInfo {
    int nesting = -1;
};
// Index of the solid's vertex at a triangulation vertex; -1 for a vertex the
// triangulation made itself (where constraints cross: the face is not simple).
struct TVertexInfo {
    int index = -1;
};
using Vb = CGAL::Triangulation_vertex_base_with_info_2<TVertexInfo, IK>;
using Fbi = CGAL::Triangulation_face_base_with_info_2<TFaceInfo, IK>;
using Fb = CGAL::Constrained_triangulation_face_base_2<IK, Fbi>;
using Tds = CGAL::Triangulation_data_structure_2<Vb, Fb>;
using CDT = CGAL::Constrained_Delaunay_triangulation_2<IK, Tds, CGAL::Exact_predicates_tag>;

constexpr double kOnEdgeTol = 1e-7;

void MarkDomain(CDT& cdt, CDT::Face_handle start, int index, std::list<CDT::Edge>& border)
{
    if (start->info().nesting != -1)
        return;
    std::list<CDT::Face_handle> queue{start};
    while (!queue.empty()) {
        CDT::Face_handle fh = queue.front();
        queue.pop_front();
        if (fh->info().nesting != -1)
            continue;
        fh->info().nesting = index;
        for (int i = 0; i < 3; ++i) {
            CDT::Face_handle n = fh->neighbor(i);
            if (n->info().nesting != -1)
                continue;
            if (cdt.is_constrained(CDT::Edge(fh, i)))
                border.emplace_back(fh, i);
            else
                queue.push_back(n);
        }
    }
}

// Faces with odd nesting (inside an outer loop, outside its holes) are the face.
void MarkDomains(CDT& cdt)
{
    std::list<CDT::Edge> border;
    MarkDomain(cdt, cdt.infinite_face(), 0, border);
    while (!border.empty()) {
        CDT::Edge e = border.front();
        border.pop_front();
        CDT::Face_handle n = e.first->neighbor(e.second);
        if (n->info().nesting == -1)
            MarkDomain(cdt, n, e.first->info().nesting + 1, border);
    }
}

// For each point, the first earlier point within tol of it (itself when there
// is none): near-coincident points become one node. Non-finite points stay apart.
std::vector<int> MergeNearPoints(const std::vector<TVRMPoint3d>& points, double tol)
{
    std::vector<int> rep(points.size());
    std::map<std::tuple<long long, long long, long long>, std::vector<int>> cells;
    auto cell = [tol](double v) { return static_cast<long long>(std::floor(v / tol)); };
    for (size_t i = 0; i < points.size(); ++i) {
        const TVRMPoint3d& p = points[i];
        rep[i] = static_cast<int>(i);
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z) ||
            std::max({std::fabs(p.x), std::fabs(p.y), std::fabs(p.z)}) / tol > 1e15)
            continue;
        const long long cx = cell(p.x), cy = cell(p.y), cz = cell(p.z);
        int found = -1;
        for (long long dx = -1; dx <= 1 && found < 0; ++dx)
            for (long long dy = -1; dy <= 1 && found < 0; ++dy)
                for (long long dz = -1; dz <= 1 && found < 0; ++dz) {
                    const auto it = cells.find({cx + dx, cy + dy, cz + dz});
                    if (it == cells.end())
                        continue;
                    for (int k : it->second)
                        if (points[k].IsEqualTo(p, tol) && (found < 0 || k < found))
                            found = k;
                }
        if (found >= 0)
            rep[i] = found;
        else
            cells[{cx, cy, cz}].push_back(static_cast<int>(i));
    }
    return rep;
}

// Closed triangle mesh of a solid: every face triangulated in its plane
// frame, with the vertices of neighbouring faces that lie on its edges
// inserted so that the mesh has no T-junctions. With `merge`, vertices closer
// than kMergeTol become one (the robust retry). False, with nothing handed to
// the engine, when the solid does not make a closed mesh: non-finite
// coordinates, a face without area, crossing edges, an open or non-manifold
// surface.
bool ToMesh(const TVRMPolyhedron3d& solid, Mesh& mesh, bool merge)
{
    const std::vector<TVRMPoint3d> points = solid.GetVertices();
    for (const auto& p : points)
        if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
            return false;
    std::vector<int> rep(points.size());
    if (merge)
        rep = MergeNearPoints(points, kMergeTol);
    else
        std::iota(rep.begin(), rep.end(), 0);
    std::map<std::tuple<double, double, double>, int> index;
    for (size_t i = 0; i < points.size(); ++i)
        index.emplace(std::make_tuple(points[i].x, points[i].y, points[i].z), rep[i]);
    std::vector<VIndex> vertices(points.size());
    for (size_t i = 0; i < points.size(); ++i)
        if (rep[i] == static_cast<int>(i))
            vertices[i] = mesh.add_vertex(EK::Point_3(points[i].x, points[i].y, points[i].z));
    auto indexOf = [&](const TVRMPoint3d& p) { return index.at(std::make_tuple(p.x, p.y, p.z)); };

    for (const auto& face : solid.GetFaces()) {
        const TFrame frame(face.GetNormal());
        CDT cdt;
        const TVRMBox3d box = face.GetBox();
        for (const auto& loop : face.GetLoops()) {
            std::vector<int> ring;
            for (size_t i = 0; i < loop.size(); ++i) {
                const int ia = indexOf(loop[i]), ib = indexOf(loop[(i + 1) % loop.size()]);
                const TVRMPoint3d& a = points[ia];
                const TVRMPoint3d& b = points[ib];
                ring.push_back(ia);
                const TVRMVector3d d = b - a;
                const double len2 = d.InnerProduct(d);
                if (!(len2 > 0))
                    continue;
                std::vector<std::pair<double, int>> inner;
                for (size_t k = 0; k < points.size(); ++k) {
                    if (rep[k] != static_cast<int>(k) || static_cast<int>(k) == ia || static_cast<int>(k) == ib ||
                        !box.Contains(points[k], kOnEdgeTol))
                        continue;
                    const double t = (points[k] - a).InnerProduct(d) / len2;
                    if (t > 0 && t < 1 && (a + d * t).IsEqualTo(points[k], kOnEdgeTol))
                        inner.emplace_back(t, static_cast<int>(k));
                }
                std::sort(inner.begin(), inner.end());
                for (auto [t, k] : inner)
                    ring.push_back(k);
            }
            std::vector<CDT::Vertex_handle> handles;
            for (int k : ring) {
                const TPoint2 q = frame.To2d(points[k]);
                CDT::Vertex_handle vh = cdt.insert(IK::Point_2(q.x, q.y));
                if (vh->info().index >= 0 && vh->info().index != k)
                    return false;  // two vertices of the face at one plan point
                vh->info().index = k;
                handles.push_back(vh);
            }
            for (size_t i = 0; i < handles.size(); ++i)
                if (handles[i] != handles[(i + 1) % handles.size()])
                    cdt.insert_constraint(handles[i], handles[(i + 1) % handles.size()]);
        }
        if (cdt.dimension() != 2)
            return false;  // a face without area
        MarkDomains(cdt);
        for (CDT::Face_handle fh : cdt.finite_face_handles()) {
            if (fh->info().nesting % 2 != 1)
                continue;
            const int i0 = fh->vertex(0)->info().index, i1 = fh->vertex(1)->info().index,
                      i2 = fh->vertex(2)->info().index;
            if (i0 < 0 || i1 < 0 || i2 < 0)
                return false;  // edges of the face cross
            const FIndex f = mesh.add_face(vertices[i0], vertices[i1], vertices[i2]);
            if (f == Mesh::null_face())
                return false;
        }
    }
    return !mesh.is_empty() && CGAL::is_closed(mesh);
}

bool Before(const TVRMPoint3d& p, const TVRMPoint3d& q)
{
    return std::tie(p.x, p.y, p.z) < std::tie(q.x, q.y, q.z);
}

// A face whose loops each start at their lowest corner, holes in the order of those corners, on
// the plane through the outer loop's first corner.
TVRMFace3d Canonical(const TVRMVector3d& normal, std::vector<TVRMLoop3d> loops)
{
    for (auto& loop : loops)
        std::rotate(loop.begin(), std::min_element(loop.begin(), loop.end(), Before), loop.end());
    std::sort(loops.begin() + 1, loops.end(),
              [](const TVRMLoop3d& x, const TVRMLoop3d& y) { return Before(x[0], y[0]); });
    const TVRMPoint3d origin = loops[0][0];
    return TVRMFace3d(TVRMPlane3d(normal, origin), std::move(loops));
}

TVRMPoint3d ToPoint(const EK::Point_3& p)
{
    return {CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(p.z())};
}

// Triangles (p, q, r) and (q, p, s) across the edge p-q that lie in one plane up to the
// rounding of earlier results (a facet whose corners came back from a corefinement as doubles):
// each far corner within kMergeTol of the other triangle's plane, the normals parallel.
bool NearlyCoplanar(const TVRMPoint3d& p, const TVRMPoint3d& q, const TVRMPoint3d& r, const TVRMPoint3d& s)
{
    const TVRMVector3d n1 = (q - p).CrossProduct(r - p), n2 = (p - q).CrossProduct(s - q);
    const double l1 = n1.Length(), l2 = n2.Length();
    if (!(l1 > 0) || !(l2 > 0))
        return false;
    const TVRMVector3d u1 = n1 * (1 / l1), u2 = n2 * (1 / l2);
    return u1.InnerProduct(u2) > 1 - 1e-12 && std::fabs(u1.InnerProduct(s - p)) <= kMergeTol &&
           std::fabs(u2.InnerProduct(r - p)) <= kMergeTol;
}

double Longest(const std::array<TVRMPoint3d, 3>& c)
{
    return std::max({(c[1] - c[0]).Length(), (c[2] - c[1]).Length(), (c[0] - c[2]).Length()});
}

// Planar faces of a corefined mesh: triangles joined across edges where they
// are coplanar with the same orientation, bounded by the edges where they
// meet other groups. Vertices where only two groups meet lie on a straight
// edge and are dropped. A group keeps the plane of its largest triangle, and
// triangles nearly coplanar join only when both lie on both groups' planes (a
// sliver between two facets of a curved surface, coplanar with each of them
// in turn, exactly or nearly, joins neither to the other).
void FromMesh(const Mesh& mesh, TVRMPolyhedron3d& result)
{
    std::vector<int> parent(mesh.number_of_faces());
    std::iota(parent.begin(), parent.end(), 0);
    auto find = [&](int i) {
        while (parent[i] != i)
            i = parent[i] = parent[parent[i]];
        return i;
    };
    auto normalOf = [&](FIndex f) {
        auto h = mesh.halfedge(f);
        const auto& p = mesh.point(mesh.source(h));
        const auto& q = mesh.point(mesh.target(h));
        const auto& r = mesh.point(mesh.target(mesh.next(h)));
        return CGAL::cross_product(q - p, r - p);
    };
    // Per triangle its corners as doubles; per group its largest triangle (by twice its area).
    std::vector<std::array<TVRMPoint3d, 3>> corners(mesh.number_of_faces());
    std::vector<int> largest(mesh.number_of_faces());
    std::vector<double> size(mesh.number_of_faces());
    for (auto f : mesh.faces()) {
        auto h = mesh.halfedge(f);
        corners[f] = {ToPoint(mesh.point(mesh.source(h))), ToPoint(mesh.point(mesh.target(h))),
                      ToPoint(mesh.point(mesh.target(mesh.next(h))))};
        const auto& c = corners[f];
        size[f] = (c[1] - c[0]).CrossProduct(c[2] - c[0]).Length();
        largest[f] = static_cast<int>(f);
    }
    // The larger of two triangles; of two of one size, the one with the lower corners, so that a
    // group's plane does not depend on the order in which its triangles joined.
    auto Larger = [&](int f, int g) {
        if (size[f] != size[g])
            return size[f] > size[g];
        auto sorted = [&](int t) {
            std::array<TVRMPoint3d, 3> c = corners[t];
            std::sort(c.begin(), c.end(), Before);
            return c;
        };
        const auto cf = sorted(f), cg = sorted(g);
        return std::lexicographical_compare(cf.begin(), cf.end(), cg.begin(), cg.end(), Before);
    };
    auto unitOf = [&](int f) {
        const auto& c = corners[f];
        return (c[1] - c[0]).CrossProduct(c[2] - c[0]) * (1 / size[f]);
    };
    // Both triangles within the merge distance of the group's plane, which faces their way.
    auto onGroup = [&](int root, int f, int g) {
        const int ref = largest[root];
        if (!(size[ref] > kMergeTol * Longest(corners[ref])))
            return true;  // a group of slivers has no plane of its own
        const TVRMVector3d u = unitOf(ref);
        const TVRMPoint3d& o = corners[ref][0];
        for (int t : {f, g}) {
            // A sliver's own normal is rounding noise: its corners tell.
            if (size[t] > kMergeTol * Longest(corners[t]) && u.InnerProduct(unitOf(t)) <= 0)
                return false;
            for (const auto& p : corners[t])
                if (std::fabs(u.InnerProduct(p - o)) > kMergeTol)
                    return false;
        }
        return true;
    };
    for (auto h : mesh.halfedges()) {
        const FIndex f = mesh.face(h), g = mesh.face(mesh.opposite(h));
        if (f == Mesh::null_face() || g == Mesh::null_face() || f > g)
            continue;
        const auto& p = mesh.point(mesh.source(h));
        const auto& q = mesh.point(mesh.target(h));
        const auto& r = mesh.point(mesh.target(mesh.next(h)));
        const auto& s = mesh.point(mesh.target(mesh.next(mesh.opposite(h))));
        if (CGAL::sign(normalOf(f) * normalOf(g)) != CGAL::POSITIVE)
            continue;
        const int rf = find(static_cast<int>(f)), rg = find(static_cast<int>(g));
        if (rf == rg)
            continue;
        if (!(CGAL::coplanar(p, q, r, s) || NearlyCoplanar(ToPoint(p), ToPoint(q), ToPoint(r), ToPoint(s))) ||
            !onGroup(rf, static_cast<int>(f), static_cast<int>(g)) ||
            !onGroup(rg, static_cast<int>(f), static_cast<int>(g)))
            continue;
        parent[rf] = rg;
        if (Larger(largest[rf], largest[rg]))
            largest[rg] = largest[rf];
    }
    // Vertices on a straight edge between exactly two groups.
    std::vector<bool> removable(mesh.number_of_vertices(), false);
    for (auto v : mesh.vertices()) {
        std::vector<int> groups;
        for (auto f : CGAL::faces_around_target(mesh.halfedge(v), mesh))
            if (f != Mesh::null_face())
                groups.push_back(find(static_cast<int>(f)));
        std::sort(groups.begin(), groups.end());
        groups.erase(std::unique(groups.begin(), groups.end()), groups.end());
        removable[v] = groups.size() == 2;
    }
    // Vertices that rounding to doubles placed within kMergeTol of each other (a cut running
    // through a corner, or past it by a rounding error) become one node on every face alike, so
    // that the faces rebuilt from them still close; a node goes only when all its vertices may.
    std::vector<TVRMPoint3d> points(mesh.number_of_vertices());
    for (auto v : mesh.vertices())
        points[v] = ToPoint(mesh.point(v));
    const std::vector<int> rep = MergeNearPoints(points, kMergeTol);
    std::vector<char> nodeRemovable(points.size(), 1);
    for (auto v : mesh.vertices())
        if (!removable[v])
            nodeRemovable[rep[v]] = 0;
    std::map<int, std::vector<TEdge3>> boundary;
    for (auto f : mesh.faces()) {
        const int g = find(static_cast<int>(f));
        for (auto h : CGAL::halfedges_around_face(mesh.halfedge(f), mesh)) {
            const FIndex o = mesh.face(mesh.opposite(h));
            const int from = rep[mesh.source(h)], to = rep[mesh.target(h)];
            if (from != to && (o == Mesh::null_face() || find(static_cast<int>(o)) != g))
                boundary[g].push_back({points[from], points[to]});
        }
    }
    std::set<std::tuple<double, double, double>> removablePoints;
    for (size_t v = 0; v < points.size(); ++v)
        if (rep[v] == static_cast<int>(v) && nodeRemovable[v])
            removablePoints.insert(std::make_tuple(points[v].x, points[v].y, points[v].z));
    auto dropped = [&](const TVRMPoint3d& p) { return removablePoints.count(std::make_tuple(p.x, p.y, p.z)) > 0; };

    std::vector<TVRMFace3d> built;
    for (auto& [g, edges] : boundary) {
        const auto nk = normalOf(FIndex(largest[g]));
        const TVRMVector3d n =
            TVRMVector3d(CGAL::to_double(nk.x()), CGAL::to_double(nk.y()), CGAL::to_double(nk.z())).Unit();
        std::vector<TVRMFace3d> faces;
        if (edges.empty() || !BuildFacesFromEdges(edges, TVRMPlane3d(n, edges[0].from), -1, faces))
            continue;
        for (auto& face : faces) {
            std::vector<TVRMLoop3d> loops;
            for (const auto& loop : face.GetLoops()) {
                TVRMLoop3d kept;
                for (const auto& p : loop)
                    if (!dropped(p))
                        kept.push_back(p);
                if (kept.size() >= 3)
                    loops.push_back(std::move(kept));
            }
            if (!loops.empty())
                built.push_back(Canonical(face.GetPlane().GetNormal(), std::move(loops)));
        }
    }
    // The engine meets the triangles in an order of its own: faces in the order of their first
    // corners (then normals) give one result for one pair of solids.
    std::sort(built.begin(), built.end(), [](const TVRMFace3d& f, const TVRMFace3d& g) {
        const TVRMPoint3d &p = f.GetLoop(0)[0], &q = g.GetLoop(0)[0];
        const TVRMVector3d &m = f.GetNormal(), &n = g.GetNormal();
        return std::tie(p.x, p.y, p.z, m.x, m.y, m.z) < std::tie(q.x, q.y, q.z, n.x, n.y, n.z);
    });
    result.Clear();
    for (auto& face : built)
        result.AddFace(std::move(face));
}

}  // namespace

namespace {

bool CorefineOnce(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, bool merge, TVRMPolyhedron3d& result)
{
    try {
        Mesh ma, mb, out;
        if (!ToMesh(a, ma, merge) || !ToMesh(b, mb, merge))
            return false;
        const auto np = CGAL::parameters::throw_on_self_intersection(true);
        bool ok = false;
        switch (kind) {
            case 0:
                ok = PMP::corefine_and_compute_intersection(ma, mb, out, np, np);
                break;
            case 1:
                ok = PMP::corefine_and_compute_union(ma, mb, out, np, np);
                break;
            case 2:
                ok = PMP::corefine_and_compute_difference(ma, mb, out, np, np);
                break;
            default:
                return false;
        }
        if (!ok)
            return false;
        FromMesh(out, result);
        RestoreOrigins(result, a, b, kind);
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace

bool CorefineBoolean(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, TVRMPolyhedron3d& result)
{
    // The solids as they are; then, when the engine refuses them, with their near-coincident
    // vertices merged (what rounding an earlier result to doubles split apart).
    return CorefineOnce(a, b, kind, false, result) || CorefineOnce(a, b, kind, true, result);
}

}  // namespace vrm3d
