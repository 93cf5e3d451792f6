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
#include <list>
#include <map>
#include <numeric>
#include <set>

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
using Vb = CGAL::Triangulation_vertex_base_with_info_2<int, IK>;
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

// Closed triangle mesh of a solid: every face triangulated in its plane
// frame, with the vertices of neighbouring faces that lie on its edges
// inserted so that the mesh has no T-junctions.
bool ToMesh(const TVRMPolyhedron3d& solid, Mesh& mesh)
{
    const std::vector<TVRMPoint3d> points = solid.GetVertices();
    std::map<std::tuple<double, double, double>, int> index;
    for (size_t i = 0; i < points.size(); ++i)
        index.emplace(std::make_tuple(points[i].x, points[i].y, points[i].z), static_cast<int>(i));
    std::vector<VIndex> vertices;
    for (const auto& p : points)
        vertices.push_back(mesh.add_vertex(EK::Point_3(p.x, p.y, p.z)));
    auto indexOf = [&](const TVRMPoint3d& p) { return index.at(std::make_tuple(p.x, p.y, p.z)); };

    for (const auto& face : solid.GetFaces()) {
        const TFrame frame(face.GetNormal());
        CDT cdt;
        const TVRMBox3d box = face.GetBox();
        for (const auto& loop : face.GetLoops()) {
            std::vector<int> ring;
            for (size_t i = 0; i < loop.size(); ++i) {
                const TVRMPoint3d& a = loop[i];
                const TVRMPoint3d& b = loop[(i + 1) % loop.size()];
                ring.push_back(indexOf(a));
                const TVRMVector3d d = b - a;
                const double len2 = d.InnerProduct(d);
                std::vector<std::pair<double, int>> inner;
                for (size_t k = 0; k < points.size(); ++k) {
                    if (!box.Contains(points[k], kOnEdgeTol) || points[k] == a || points[k] == b)
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
                vh->info() = k;
                handles.push_back(vh);
            }
            for (size_t i = 0; i < handles.size(); ++i)
                if (handles[i] != handles[(i + 1) % handles.size()])
                    cdt.insert_constraint(handles[i], handles[(i + 1) % handles.size()]);
        }
        MarkDomains(cdt);
        for (CDT::Face_handle fh : cdt.finite_face_handles()) {
            if (fh->info().nesting % 2 != 1)
                continue;
            const FIndex f = mesh.add_face(vertices[fh->vertex(0)->info()], vertices[fh->vertex(1)->info()],
                                           vertices[fh->vertex(2)->info()]);
            if (f == Mesh::null_face())
                return false;
        }
    }
    return !mesh.is_empty() && CGAL::is_closed(mesh);
}

TVRMPoint3d ToPoint(const EK::Point_3& p)
{
    return {CGAL::to_double(p.x()), CGAL::to_double(p.y()), CGAL::to_double(p.z())};
}

// Planar faces of a corefined mesh: triangles joined across edges where they
// are coplanar with the same orientation, bounded by the edges where they
// meet other groups. Vertices where only two groups meet lie on a straight
// edge and are dropped.
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
    for (auto h : mesh.halfedges()) {
        const FIndex f = mesh.face(h), g = mesh.face(mesh.opposite(h));
        if (f == Mesh::null_face() || g == Mesh::null_face() || f > g)
            continue;
        const auto& p = mesh.point(mesh.source(h));
        const auto& q = mesh.point(mesh.target(h));
        const auto& r = mesh.point(mesh.target(mesh.next(h)));
        const auto& s = mesh.point(mesh.target(mesh.next(mesh.opposite(h))));
        if (CGAL::coplanar(p, q, r, s) && CGAL::sign(normalOf(f) * normalOf(g)) == CGAL::POSITIVE)
            parent[find(static_cast<int>(f))] = find(static_cast<int>(g));
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
    std::map<int, std::vector<TEdge3>> boundary;
    std::map<int, FIndex> firstFace;
    for (auto f : mesh.faces()) {
        const int g = find(static_cast<int>(f));
        firstFace.emplace(g, f);
        for (auto h : CGAL::halfedges_around_face(mesh.halfedge(f), mesh)) {
            const FIndex o = mesh.face(mesh.opposite(h));
            if (o == Mesh::null_face() || find(static_cast<int>(o)) != g)
                boundary[g].push_back({ToPoint(mesh.point(mesh.source(h))), ToPoint(mesh.point(mesh.target(h)))});
        }
    }
    // A vertex that the boolean placed within rounding of a corner (a cut running through the
    // corner) becomes one node with it when the faces are rebuilt: it must not take the corner
    // with it when it goes.
    std::set<std::tuple<double, double, double>> removablePoints;
    std::vector<TVRMPoint3d> corners;
    for (auto v : mesh.vertices()) {
        const TVRMPoint3d p = ToPoint(mesh.point(v));
        if (removable[v])
            removablePoints.insert(std::make_tuple(p.x, p.y, p.z));
        else
            corners.push_back(p);
    }
    auto dropped = [&](const TVRMPoint3d& p) {
        return removablePoints.count(std::make_tuple(p.x, p.y, p.z)) &&
               std::none_of(corners.begin(), corners.end(),
                            [&p](const TVRMPoint3d& c) { return c.IsEqualTo(p, kMergeTol); });
    };

    result.Clear();
    for (auto& [g, edges] : boundary) {
        const FIndex f0 = firstFace[g];
        const auto nk = normalOf(f0);
        const TVRMVector3d n =
            TVRMVector3d(CGAL::to_double(nk.x()), CGAL::to_double(nk.y()), CGAL::to_double(nk.z())).Unit();
        std::vector<TVRMFace3d> faces;
        if (!BuildFacesFromEdges(edges, TVRMPlane3d(n, edges[0].from), -1, faces))
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
                result.AddFace(TVRMFace3d(face.GetPlane(), std::move(loops)));
        }
    }
}

}  // namespace

bool CorefineBoolean(const TVRMPolyhedron3d& a, const TVRMPolyhedron3d& b, int kind, TVRMPolyhedron3d& result)
{
    try {
        Mesh ma, mb, out;
        if (!ToMesh(a, ma) || !ToMesh(b, mb))
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

}  // namespace vrm3d
