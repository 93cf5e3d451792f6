// Deductions (subject solid minus neighbour, then its volume) on typical
// element pairs: the stacked-prism path, the general path, and plain CGAL
// corefinement on triangle meshes of the same solids. The "volume" counter of
// every run must agree across the three; the "x_plain" counter of the first
// two is how many times faster than plain corefinement they are.
#include <benchmark/benchmark.h>

#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/measure.h>
#include <CGAL/Polygon_mesh_processing/triangulate_faces.h>
#include <CGAL/Surface_mesh.h>

#include <chrono>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"

namespace {

namespace PMP = CGAL::Polygon_mesh_processing;
using EK = CGAL::Exact_predicates_exact_constructions_kernel;
using Mesh = CGAL::Surface_mesh<EK::Point_3>;

std::unique_ptr<TVRMPolyhedron3d> Box(double x0, double y0, double z0, double x1, double y1, double z1)
{
    return TVRMPolyhedron3d::CreateBox({{x0, y0, z0}, {x1, y1, z1}});
}

std::unique_ptr<TVRMPolyhedron3d> LSlab()
{
    const TVRMLoop3d ring{{0, 0, 2880},       {6000, 0, 2880},    {6000, 3000, 2880},
                          {3000, 3000, 2880}, {3000, 6000, 2880}, {0, 6000, 2880}};
    return TVRMPolyhedron3d::CreateExtrusion({ring}, {0, 0, 1}, {0, 0, 120}, false);
}

struct Pair {
    const char* name;
    std::unique_ptr<TVRMPolyhedron3d> subject, neighbour;
};

const std::vector<Pair>& Pairs()
{
    static const std::vector<Pair> pairs = [] {
        std::vector<Pair> p;
        p.push_back({"beam-slab", Box(0, 0, 2400, 6000, 300, 3000), Box(-1000, -2000, 2880, 7000, 2000, 3000)});
        p.push_back({"wall-column", Box(0, -100, 0, 6000, 100, 3000), Box(-200, -200, 0, 200, 200, 3000)});
        p.push_back({"wall-window", Box(0, -100, 0, 6000, 100, 3000), Box(1500, -100, 900, 2400, 100, 2400)});
        p.push_back({"Lslab-column", LSlab(), Box(2800, 2800, 0, 3200, 3200, 3000)});
        return p;
    }();
    return pairs;
}

Mesh ToTriangles(const TVRMPolyhedron3d& solid)
{
    // Shared corners welded so that the mesh is closed.
    Mesh welded;
    std::map<std::tuple<double, double, double>, Mesh::Vertex_index> index;
    for (const auto& f : solid.GetFaces()) {
        std::vector<Mesh::Vertex_index> ring;
        for (const auto& p : f.GetLoop(0)) {
            auto [it, added] = index.emplace(std::make_tuple(p.x, p.y, p.z), Mesh::Vertex_index());
            if (added)
                it->second = welded.add_vertex(EK::Point_3(p.x, p.y, p.z));
            ring.push_back(it->second);
        }
        welded.add_face(ring);
    }
    PMP::triangulate_faces(welded);
    return welded;
}

// One deduction by plain corefinement: the volume of subject minus neighbour.
double PlainDeduct(const Mesh& subject, const Mesh& neighbour)
{
    Mesh a = subject, b = neighbour, out;
    PMP::corefine_and_compute_difference(a, b, out);
    return CGAL::to_double(PMP::volume(out));
}

// Seconds per plain corefinement deduction of a pair, measured once.
double PlainSeconds(const Pair& pair)
{
    static std::map<const Pair*, double> seconds;
    if (auto it = seconds.find(&pair); it != seconds.end())
        return it->second;
    const Mesh subject = ToTriangles(*pair.subject), neighbour = ToTriangles(*pair.neighbour);
    constexpr int kRuns = 20;
    benchmark::DoNotOptimize(PlainDeduct(subject, neighbour));  // warm
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kRuns; ++i)
        benchmark::DoNotOptimize(PlainDeduct(subject, neighbour));
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    return seconds[&pair] = elapsed.count() / kRuns;
}

void Deduct(benchmark::State& state, TVRMBooleanPath path)
{
    const Pair& pair = Pairs()[state.range(0)];
    state.SetLabel(pair.name);
    const double plain = PlainSeconds(pair);
    double volume = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        TVRMPolyhedron3d a = *pair.subject;
        TVRMNewPolyBooleanOperator::BooleanOperate(a, *pair.neighbour, CVRMBoolSubtract, path);
        volume = a.GetVolume();
        benchmark::DoNotOptimize(volume);
    }
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    state.counters["volume"] = volume;
    state.counters["x_plain"] = plain / (elapsed.count() / static_cast<double>(state.iterations()));
}

void BM_DeductPrismPath(benchmark::State& state)
{
    Deduct(state, TVRMBooleanPath::Prism);
}
void BM_DeductGeneralPath(benchmark::State& state)
{
    Deduct(state, TVRMBooleanPath::General);
}

void BM_DeductPlainCorefinement(benchmark::State& state)
{
    const Pair& pair = Pairs()[state.range(0)];
    state.SetLabel(pair.name);
    const Mesh subject = ToTriangles(*pair.subject), neighbour = ToTriangles(*pair.neighbour);
    double volume = 0;
    for (auto _ : state) {
        volume = PlainDeduct(subject, neighbour);
        benchmark::DoNotOptimize(volume);
    }
    state.counters["volume"] = volume;
}

BENCHMARK(BM_DeductPrismPath)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeductGeneralPath)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_DeductPlainCorefinement)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);

}  // namespace
