// Plan geometry timings on typical footprints: a room less its columns and the walls across it,
// the union of a storey's wall bands, and the per-edge ring offset.
#include <benchmark/benchmark.h>

#include <vector>

#include "Host/VRM/Geometry2d/VRMFunc2d.h"

namespace {

TVRMPolygon2d Rect(double x0, double y0, double x1, double y1)
{
    return TVRMPolygon2d(std::vector<TVRMPoint2d>{{x0, y0}, {x1, y0}, {x1, y1}, {x0, y1}});
}

// An L-shaped room of 7200 x 6000.
TVRMMultiPolygon2d Room()
{
    TVRMMultiPolygon2d room;
    room.Add(TVRMPolygon2d(
        std::vector<TVRMPoint2d>{{0, 0}, {7200, 0}, {7200, 3600}, {4800, 3600}, {4800, 6000}, {0, 6000}}));
    return room;
}

// Columns 500 x 500 on a 3600 grid, one round column of 300 radius.
TVRMMultiPolygon2d Columns(bool round)
{
    TVRMMultiPolygon2d columns;
    for (double x : {0.0, 3600.0, 7200.0})
        for (double y : {0.0, 3600.0, 7200.0})
            columns.Add(Rect(x - 250, y - 250, x + 250, y + 250));
    if (round)
        columns.Add(TVRMPolygon2d::CreateCircle({2400, 2400}, 300));
    return columns;
}

// Wall bands 240 thick on the room's grid lines.
TVRMMultiPolygon2d Walls()
{
    TVRMMultiPolygon2d walls;
    for (double y : {0.0, 3600.0, 6000.0})
        walls.Add(TVRMPolygon2d::CreateBand(TVRMCustomLine2d({-120, y}, {7320, y}), 120, 120));
    for (double x : {0.0, 4800.0, 7200.0})
        walls.Add(TVRMPolygon2d::CreateBand(TVRMCustomLine2d({x, -120}, {x, 6120}), 120, 120));
    return walls;
}

void BM_RoomMinusColumns(benchmark::State& state)
{
    const TVRMMultiPolygon2d room = Room(), columns = Columns(false);
    for (auto _ : state)
        benchmark::DoNotOptimize(TVRMIntersectFunc2d::SyncSubPolygon(room, columns));
}
BENCHMARK(BM_RoomMinusColumns);

void BM_RoomMinusRoundColumn(benchmark::State& state)
{
    const TVRMMultiPolygon2d room = Room(), columns = Columns(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(TVRMIntersectFunc2d::SyncSubPolygon(room, columns));
}
BENCHMARK(BM_RoomMinusRoundColumn);

void BM_RoomMinusWalls(benchmark::State& state)
{
    const TVRMMultiPolygon2d room = Room(), walls = Walls();
    for (auto _ : state)
        benchmark::DoNotOptimize(TVRMIntersectFunc2d::SyncSubPolygon(room, walls));
}
BENCHMARK(BM_RoomMinusWalls);

void BM_UnionOfWalls(benchmark::State& state)
{
    const TVRMMultiPolygon2d walls = Walls();
    for (auto _ : state)
        benchmark::DoNotOptimize(TVRMIntersectFunc2d::MergePolygon(walls));
}
BENCHMARK(BM_UnionOfWalls);

void BM_UnionWallsColumns(benchmark::State& state)
{
    const TVRMMultiPolygon2d walls = Walls(), columns = Columns(true);
    for (auto _ : state)
        benchmark::DoNotOptimize(TVRMIntersectFunc2d::MergePolygon(walls, columns));
}
BENCHMARK(BM_UnionWallsColumns);

void BM_PerEdgeOffset(benchmark::State& state)
{
    const TVRMPolygon2d ring = Room().GetItems(0);
    const std::vector<double> widths{300, 250, 200, 150, 100, 50};
    TVRMPolygon2d result;
    std::vector<int> map;
    for (auto _ : state)
        benchmark::DoNotOptimize(TVRMOffsetFunc2d::Offset(ring, widths, result, &map));
}
BENCHMARK(BM_PerEdgeOffset);

void BM_PolyPolyPosition(benchmark::State& state)
{
    const TVRMPolygon2d room = Room().GetItems(0), column = Rect(4550, 3350, 5050, 3850);
    for (auto _ : state)
        benchmark::DoNotOptimize(TVRMPositionFunc2d::PolyPolyPosition(room, column));
}
BENCHMARK(BM_PolyPolyPosition);

}  // namespace
