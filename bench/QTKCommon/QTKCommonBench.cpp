// Time per subtraction of the two calculators every element rule uses: a wall
// volume calculator losing its openings and a beam formwork shell calculator
// losing the faces its neighbours cover.
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "Host/QTKCommon/QTKCalculationScope.h"
#include "Host/QTKCommon/QTKShellCalc3d.h"
#include "Host/QTKCommon/QTKSolidCalc3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "Host/VRM/Geometry3d/VRMPolyhedronShell3d.h"

namespace {

std::unique_ptr<TVRMPolyhedron3d> Box(double x0, double y0, double z0, double x1, double y1, double z1)
{
    return TVRMPolyhedron3d::CreateBox(TVRMBox3d({x0, y0, z0}, {x1, y1, z1}));
}

void SetPerSubtraction(benchmark::State& state, int subtractions)
{
    state.SetItemsProcessed(state.iterations() * subtractions);
    // Seconds per subtraction.
    state.counters["per_subtraction"] =
        benchmark::Counter(subtractions, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// A 12000 x 240 x 3000 wall and five 900 x 2100 doors through it.
void BM_WallVolumeFiveOpenings(benchmark::State& state)
{
    const TQTKCalculationScope scope;
    const auto wall = Box(0, 0, 0, 12000, 240, 3000);
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> openings;
    for (int i = 0; i < 5; ++i)
        openings.push_back(Box(1000 + 2200.0 * i, -10, 0, 1900 + 2200.0 * i, 250, 2100));
    for (auto _ : state) {
        TQTKSolidCalc3d calc(wall->Clone(), nullptr);
        double removed = 0.0;
        for (const auto& opening : openings)
            removed += calc.Subtract(*opening, nullptr);
        benchmark::DoNotOptimize(removed);
    }
    SetPerSubtraction(state, static_cast<int>(openings.size()));
}
BENCHMARK(BM_WallVolumeFiveOpenings)->Unit(benchmark::kMicrosecond);

// Formwork of a 6000 x 250 x 500 beam (bottom and two sides) against two
// columns at its ends, the slab on it and a crossing beam.
void BM_BeamFormworkFourNeighbours(benchmark::State& state)
{
    const TQTKCalculationScope scope;
    const auto beam = Box(0, 0, 2500, 6000, 250, 3000);
    // Box faces: -y, +x, +y, -x, top, bottom.
    const TVRMPolyhedronShell3d formwork(*beam, std::vector<int>{0, 2, 5});
    std::vector<std::unique_ptr<TVRMPolyhedron3d>> neighbours;
    neighbours.push_back(Box(-200, -75, 0, 200, 325, 3000));
    neighbours.push_back(Box(5800, -75, 0, 6200, 325, 3000));
    neighbours.push_back(Box(-1000, -3000, 2880, 7000, 3000, 3000));
    neighbours.push_back(Box(2900, -3000, 2600, 3100, 3000, 3000));
    for (auto _ : state) {
        TQTKShellCalc3d calc(formwork.Clone(), nullptr);
        double removed = 0.0;
        for (const auto& neighbour : neighbours)
            removed += calc.Subtract(*neighbour, nullptr, 3);
        benchmark::DoNotOptimize(removed);
    }
    SetPerSubtraction(state, static_cast<int>(neighbours.size()));
}
BENCHMARK(BM_BeamFormworkFourNeighbours)->Unit(benchmark::kMicrosecond);

}  // namespace
