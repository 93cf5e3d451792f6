// Deductions (subject solid minus neighbour) on typical element pairs: the
// automatic path (what the calculators use) against plain CGAL corefinement on
// triangle meshes of the same solids, measured in the same run in interleaved
// rounds. Counters per pair: the medians of each round's time per deduction
// (fast_us, plain_us), the median of the per-round ratios (x_plain), and the
// volumes: the fast result's planar volume must equal the corefinement's
// (rel_diff); for round members `volume` adds the facets' analytic segments.
//
// The building benchmark deducts every slab's corner columns and edge beams
// and every beam's end columns in a generated frame of about 5,000 elements,
// with square and with round columns in interleaved rounds (median of the
// per-round ratios).
#include <benchmark/benchmark.h>

#include <CGAL/Exact_predicates_exact_constructions_kernel.h>
#include <CGAL/Polygon_mesh_processing/corefinement.h>
#include <CGAL/Polygon_mesh_processing/measure.h>
#include <CGAL/Polygon_mesh_processing/triangulate_faces.h>
#include <CGAL/Surface_mesh.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "Host/VRM/Geometry2d/VRMLine2d.h"
#include "Host/VRM/Geometry2d/VRMPolygon2d.h"
#include "Host/VRM/Geometry3d/VRMPolyBooleanOperator.h"
#include "bench/Geometry3d/BuildingFrame.h"

namespace {

using namespace geometry3d_bench;
namespace PMP = CGAL::Polygon_mesh_processing;
using EK = CGAL::Exact_predicates_exact_constructions_kernel;
using Mesh = CGAL::Surface_mesh<EK::Point_3>;
using Clock = std::chrono::steady_clock;

std::unique_ptr<TVRMPolyhedron3d> LSlab()
{
    const TVRMLoop3d ring{{0, 0, 2880},       {6000, 0, 2880},    {6000, 3000, 2880},
                          {3000, 3000, 2880}, {3000, 6000, 2880}, {0, 6000, 2880}};
    return TVRMPolyhedron3d::CreateExtrusion({ring}, {0, 0, 1}, {0, 0, 120}, false);
}

// A plan rectangle turned by 30 degrees about the origin, extruded from z0 to z1.
std::unique_ptr<TVRMPolyhedron3d> Turned(double x0, double y0, double x1, double y1, double z0, double z1)
{
    const double c = std::cos(CVRMPi / 6), s = std::sin(CVRMPi / 6);
    TVRMLoop3d ring;
    for (auto [x, y] : {std::pair{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}})
        ring.push_back({c * x - s * y, s * x + c * y, z0});
    return TVRMPolyhedron3d::CreateExtrusion({ring}, {0, 0, 1}, {0, 0, z1 - z0}, false);
}

std::unique_ptr<TVRMPolyhedron3d> SlopedSlab()
{
    TVRMMultiPolygon2d plan;
    plan.Add(TVRMPolygon2d(std::vector<TVRMPoint2d>{{0, 0}, {6000, 0}, {6000, 6000}, {0, 6000}}));
    return TVRMPolyhedron3d::CreateOnPlane(plan, TVRMPlane3d({-0.25, 0, 1}, {0, 0, 3000}), 150);
}

std::unique_ptr<TVRMPolyhedron3d> GradientBeam()
{
    return TVRMPolyhedron3d::CreateBand(TVRMCustomLine2d({0, 0}, {6000, 0}), 300, 150, 2400, 3000, 2700, 3300);
}

std::unique_ptr<TVRMPolyhedron3d> ArcWall()
{
    return TVRMPolyhedron3d::CreateBand(TVRMCustomLine2d::ArcByCenter({0, 0}, 5000, 0, CVRMPi / 2), 200, 100, 0, 3000,
                                        0, 3000);
}

// A beam rising across a column: its axis climbs 1:2 (truly 3D).
std::unique_ptr<TVRMPolyhedron3d> TiltedBeam()
{
    const TVRMLoop3d section{{-2000, -150, 1000}, {-2000, 150, 1000}, {-2000, 150, 1600}, {-2000, -150, 1600}};
    return TVRMPolyhedron3d::CreateExtrusion({section}, {1, 0, 0}, {4000, 0, 2000}, false);
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
        p.push_back({"slab-column", Box(0, 0, 2880, 6000, 6000, 3000), Box(2800, 2800, 0, 3200, 3200, 3000)});
        p.push_back({"Lslab-column", LSlab(), Box(2800, 2800, 0, 3200, 3200, 3000)});
        p.push_back(
            {"rotated wall-column", Turned(0, -100, 6000, 100, 0, 3000), Turned(-200, -200, 200, 200, 0, 3000)});
        p.push_back({"round column-slab", Round(0, 0, 300, 0, 3000), Box(-3000, -3000, 2880, 3000, 3000, 3000)});
        p.push_back({"slab-round column", Box(-3000, -3000, 2880, 3000, 3000, 3000), Round(0, 0, 300, 0, 3000)});
        p.push_back({"sloped slab-beam", SlopedSlab(), Box(-500, 2850, 2000, 6500, 3150, 5000)});
        p.push_back({"gradient beam-column", GradientBeam(), Box(5800, -300, 0, 6400, 300, 3300)});
        p.push_back({"arc wall-window", ArcWall(), Box(3300, 3300, 900, 3800, 3800, 2400)});
        p.push_back({"tilted beam-column (3D)", TiltedBeam(), Box(-300, -300, 0, 300, 300, 4000)});
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

// The volume of the planar faces alone (what a triangle mesh of the solid holds).
double PlanarVolume(const TVRMPolyhedron3d& solid)
{
    if (!solid.HasFaces())
        return 0;
    const TVRMPoint3d origin = solid.GetFace(0).GetLoop(0)[0];
    double v = 0;
    for (const auto& f : solid.GetFaces())
        v += (f.GetLoop(0)[0] - origin).InnerProduct(f.GetAreaVector()) / 3;
    return v;
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double Seconds(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Each benchmark iteration is one round: a batch of fast deductions, then a batch of plain
// ones, of about the same wall time.
void BM_DeductFastVsPlain(benchmark::State& state)
{
    const Pair& pair = Pairs()[state.range(0)];
    state.SetLabel(pair.name);
    const Mesh subject = ToTriangles(*pair.subject), neighbour = ToTriangles(*pair.neighbour);
    std::vector<double> fast, plain, ratio;
    double volume = 0, planar = 0, plainVolume = 0;
    for (auto _ : state) {
        constexpr int kFast = 200, kPlain = 5;
        auto start = Clock::now();
        for (int i = 0; i < kFast; ++i) {
            TVRMPolyhedron3d a = *pair.subject;
            TVRMNewPolyBooleanOperator::BooleanOperate(a, *pair.neighbour, CVRMBoolSubtract);
            volume = a.GetVolume();
            planar = PlanarVolume(a);
            benchmark::DoNotOptimize(volume);
        }
        const double f = Seconds(start) / kFast;
        start = Clock::now();
        for (int i = 0; i < kPlain; ++i)
            benchmark::DoNotOptimize(plainVolume = PlainDeduct(subject, neighbour));
        const double p = Seconds(start) / kPlain;
        fast.push_back(f * 1e6);
        plain.push_back(p * 1e6);
        ratio.push_back(p / f);
    }
    state.counters["fast_us"] = Median(fast);
    state.counters["plain_us"] = Median(plain);
    state.counters["x_plain"] = Median(ratio);
    state.counters["volume"] = volume;
    state.counters["rel_diff"] = std::fabs(planar - plainVolume) / std::max(1.0, std::fabs(plainVolume));
}

BENCHMARK(BM_DeductFastVsPlain)->DenseRange(0, 11)->Iterations(9)->Unit(benchmark::kMillisecond);

struct BuildingRun {
    double seconds = 0, volume = 0;
    size_t booleans = 0, failed = 0;
};

// Every slab less its corner columns and edge beams, every beam less its end columns.
BuildingRun DeductAll(const Building& b)
{
    BuildingRun run;
    const auto start = Clock::now();
    run.volume = DeductFrame(b, [&run](const TVRMPolyhedron3d&, bool done) {
        ++run.booleans;
        run.failed += done ? 0 : 1;
    });
    run.seconds = Seconds(start);
    return run;
}

// Each iteration is one round: the frame with square columns, then with round ones. Counters:
// the medians of the rounds' times (square_ms, round_ms) and of the per-round ratios
// (x_square: round over square; the figure to keep within 2).
void BM_BuildingDeductions(benchmark::State& state)
{
    const Building square = MakeBuilding(false), round = MakeBuilding(true);
    std::vector<double> squareMs, roundMs, ratio;
    BuildingRun s, r;
    for (auto _ : state) {
        s = DeductAll(square);
        r = DeductAll(round);
        benchmark::DoNotOptimize(s.volume + r.volume);
        squareMs.push_back(s.seconds * 1e3);
        roundMs.push_back(r.seconds * 1e3);
        ratio.push_back(r.seconds / s.seconds);
    }
    state.counters["elements"] = static_cast<double>(round.Elements());
    state.counters["booleans"] = static_cast<double>(r.booleans);
    state.counters["failed"] = static_cast<double>(s.failed + r.failed);
    state.counters["square_ms"] = Median(squareMs);
    state.counters["round_ms"] = Median(roundMs);
    state.counters["x_square"] = Median(ratio);
    state.counters["square_m3"] = s.volume * 1e-9;
    state.counters["round_m3"] = r.volume * 1e-9;
}

BENCHMARK(BM_BuildingDeductions)->Iterations(9)->Unit(benchmark::kMillisecond);

}  // namespace
