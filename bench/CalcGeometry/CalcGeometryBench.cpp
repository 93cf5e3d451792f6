// Cost of the shared geometry routines that rules call per element: areas on
// arched and domed surfaces (integrated over the round part) and the face
// classification of a curved beam's solid; the relation tests rules ask once
// per pair of related elements.
#include <benchmark/benchmark.h>

#include <cmath>

#include "Calculator/Common/QTKCalculatorCommonFaceShell.h"
#include "Calculator/Common/QTKCalculatorCommonRelations.h"
#include "Host/ElementModel/QTKShapes.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

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

// 10,000 calls of each relation test on a wall, a ribbon window in it and a
// beam over it (the answers read line shapes and properties only).
void BM_RelationTests(benchmark::State& state)
{
    TTestBuilding building;
    building.AddLine(1, 0, 0, 0, 6000, 0, 240, 0, 3000,
                     {{"Thickness", TRDXValue(240.0)}, {"AxisOffset", TRDXValue(120.0)}});
    building.AddLine(2, 8, 1000, 0, 4000, 0, 120, 900, 2400);
    building.AddLine(3, 15, 0, 0, 6000, 0, 240, 2500, 3000,
                     {{"SectionWidth", TRDXValue(240.0)}, {"AxisOffset", TRDXValue(120.0)}});
    building.Activate();
    const bool wallTest = state.range(0) == 1;
    for (auto _ : state)
        for (int i = 0; i < 10000; ++i)
            benchmark::DoNotOptimize(wallTest ? IsWallWithinBeamWidth(building.Record(3), building.Record(1))
                                              : IsOpeningInWall(building.Record(1), building.Record(2)));
}
// 0: IsOpeningInWall, 1: IsWallWithinBeamWidth.
BENCHMARK(BM_RelationTests)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
