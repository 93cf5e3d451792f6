// Cost of the shared geometry routines that rules call per element: areas on
// arched and domed surfaces (integrated over the round part) and the face
// classification of a curved beam's solid.
#include <benchmark/benchmark.h>

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"

namespace {

// A star-shaped outline of n vertices around the origin, radii 2000 and 3000.
TVRMMultiPolygon2d Star(int n)
{
    std::vector<TVRMPoint2d> points;
    for (int i = 0; i < n; ++i) {
        const double a = 2 * CVRMPi * i / n, r = i % 2 == 0 ? 3000.0 : 2000.0;
        points.push_back({r * std::cos(a), r * std::sin(a)});
    }
    TVRMMultiPolygon2d set;
    set.Add(TVRMPolygon2d(points));
    return set;
}

void BM_ArchedSurfaceArea(benchmark::State& state)
{
    const TVRMMultiPolygon2d plan = Star(static_cast<int>(state.range(0)));
    const auto arch = MakeRef<TQTKFaceElevKind4Info>(TQTKCurvedSurfaceData{6000, 1000, false, 3000},
                                                     TVRMCustomLine2d({0, -5000}, {0, 5000}));
    for (auto _ : state)
        benchmark::DoNotOptimize(GetSlopedSurfaceArea(plan, arch.get()));
}
BENCHMARK(BM_ArchedSurfaceArea)->Arg(8)->Arg(64);

void BM_DomeSurfaceArea(benchmark::State& state)
{
    const TVRMMultiPolygon2d plan = Star(static_cast<int>(state.range(0)));
    const auto dome = MakeRef<TQTKFaceElevKind5Info>(TQTKCurvedSurfaceData{6000, 1000, false, 3000}, TVRMPoint2d{});
    for (auto _ : state)
        benchmark::DoNotOptimize(GetSlopedSurfaceArea(plan, dome.get()));
}
BENCHMARK(BM_DomeSurfaceArea)->Arg(8)->Arg(64);

// A curved beam: a band along a half circle, a run of facets on each side.
void BM_CurvedBeamFaceClassification(benchmark::State& state)
{
    const TVRMCustomLine2d arc({5000, 0}, {-5000, 0}, 5000, CVRMArcKindCCWMajor);
    const auto beam = TVRMPolyhedron3d::CreateBand(arc, 300, 150, 2400, 3000, 2400, 3000);
    std::vector<int> faces;
    for (auto _ : state) {
        GetFaceIndicesByDirection(*beam, arc, MakeFaceCodeSet({1, 2}), faces, {}, 45);
        benchmark::DoNotOptimize(faces.data());
    }
    state.counters["faces"] = beam->GetFaceCount();
}
BENCHMARK(BM_CurvedBeamFaceClassification);

}  // namespace
