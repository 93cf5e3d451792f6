// Region search of a storey: 1,000 wall segments forming a 10 x 10 grid of 3600 x 3000 rooms. Each
// room side is drawn as several segments with 60 mm gaps between them (closed by AutoClose), and ten
// stub walls stand free in rooms (dropped).
#include <benchmark/benchmark.h>

#include <vector>

#include "Host/VRM/Geometry2d/VRMSearchPoly2d.h"

namespace {

struct Segment {
    TVRMCustomLine2d line;
    int index;
};

// Pieces of the side from a to b (along x or y) with gaps between them.
void AddSide(std::vector<Segment>& walls, TVRMPoint2d a, TVRMPoint2d b, int pieces)
{
    const double gap = 60;
    const TVRMVector2d d = b - a;
    const double length = d.Length();
    const TVRMVector2d u = d * (1.0 / length);
    const double piece = (length - gap * (pieces - 1)) / pieces;
    for (int k = 0; k < pieces; ++k) {
        const TVRMPoint2d s = a + u * (k * (piece + gap));
        walls.push_back({TVRMCustomLine2d(s, s + u * piece), static_cast<int>(walls.size())});
    }
}

std::vector<Segment> Storey()
{
    const double w = 3600, h = 3000;
    std::vector<Segment> walls;
    for (int j = 0; j <= 10; ++j)
        for (int i = 0; i < 10; ++i)
            AddSide(walls, {i * w, j * h}, {(i + 1) * w, j * h}, 5);
    for (int i = 0; i <= 10; ++i)
        for (int j = 0; j < 10; ++j)
            AddSide(walls, {i * w, j * h}, {i * w, (j + 1) * h}, 4);
    for (int i = 0; i < 10; ++i)
        walls.push_back({TVRMCustomLine2d({i * w + 1800, 0}, {i * w + 1800, 800}), static_cast<int>(walls.size())});
    return walls;
}

void BM_StoreyRoomsAutoClose(benchmark::State& state)
{
    const std::vector<Segment> walls = Storey();
    size_t rooms = 0, bigs = 0;
    for (auto _ : state) {
        TVRMSmartSearchPolyEx2d search(CVRMEpsilon, true);
        for (const Segment& s : walls)
            search.AddWall(s.line, s.index, 240, 120);
        rooms = search.FindPolys().size();
        bigs = search.FindBigPolys().size();
        benchmark::DoNotOptimize(rooms);
    }
    if (rooms != 100 || bigs != 1)
        state.SkipWithError("the storey did not give 100 rooms in one closed group");
    state.counters["walls"] = static_cast<double>(walls.size());
    state.counters["rooms"] = static_cast<double>(rooms);
}
BENCHMARK(BM_StoreyRoomsAutoClose)->Unit(benchmark::kMillisecond);

}  // namespace
