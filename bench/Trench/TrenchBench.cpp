// Cost of preparing trenches: 200 trenches with ring sections (bottom board,
// two side walls, cover board) in 40 frames of five, each frame four trenches
// joined at L corners and a middle trench joined at a T to two of them. One
// run measures, on a fresh building, (1) the trenches' lines, (2) their
// original solids on those lines, (3) their units laid along them (each
// unit's preparation), (4) their related lists (the relation search every
// rule starts from, built once per element), then (5) the trenches' whole
// preparation, which builds the solid on the kept lines and lays the units
// again before it builds the hollow and the whole solid: the hollow and whole
// solid cost about (5) - (2) - (3), reported against the original solid's
// preparation (1) + (2). The hollows hold 40 x (20000 + 2 x 1800) x 400 x 400
// mm3 = 151.04 m3: each frame's ring along its centre lines, and the middle
// trench between the frame's inner faces and through its two side walls.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

std::string N(double v)
{
    return std::to_string(v);
}

// A trench from (x0, y0) to (x1, y1), 600 wide and 600 high, and its four
// units: bottom board 600 x 100, side walls 100 x 400, cover board 600 x 100.
std::string RingTrench(int id, double x0, double y0, double x1, double y1)
{
    const std::string line = R"("start": [)" + N(x0) + ", " + N(y0) + R"(], "end": [)" + N(x1) + ", " + N(y1) + "]";
    std::string s = R"({"id": )" + std::to_string(id) +
                    R"(, "type": 80, "props": {"Width": 600, "AxisOffset": 300, "Height": 600, "StartPtBottomElev": 0},
        "shape": {"kind": "line", )" +
                    line + R"(, "width": 600, "axisOffset": 300, "bottom": 0, "top": 600}})";
    struct TUnit {
        int type;
        double left, right, bottom, top;
    };
    const TUnit units[] = {
        {0, -300, 300, 0, 100}, {1, -300, -200, 100, 500}, {1, 200, 300, 100, 500}, {2, -300, 300, 500, 600}};
    int unitId = id;
    for (const TUnit& u : units) {
        const double w = u.right - u.left, h = u.top - u.bottom;
        s += R"(, {"id": )" + std::to_string(++unitId) + R"(, "type": 84, "parent": )" + std::to_string(id) +
             R"(, "props": {"EDOPID": )" + std::to_string(id) + R"(, "Type": )" + std::to_string(u.type) +
             R"(, "Offset": )" + N((u.left + u.right) / 2) + R"(, "BottomElev": )" + N(u.bottom) +
             R"(, "SectionWidth": )" + N(w) + R"(}, "shape": {"kind": "line", )" + line + R"(, "width": )" + N(w) +
             R"(, "axisOffset": )" + N(-u.left) + R"(, "bottom": )" + N(u.bottom) + R"(, "top": )" + N(u.top) +
             R"(, "section": [[)" + N(u.left) + ", 0], [" + N(u.right) + ", 0], [" + N(u.right) + ", " + N(h) + "], [" +
             N(u.left) + ", " + N(h) + "]]}}";
    }
    return s;
}

// 8 x 5 frames of 6000 x 4000, 4000 apart; trench ids 10, 20, ...
std::string Frames(std::vector<int>& trenches)
{
    std::string s = "[";
    int id = 0;
    const auto add = [&](double x0, double y0, double x1, double y1) {
        id += 10;
        trenches.push_back(id);
        s += (id == 10 ? "" : ",") + RingTrench(id, x0, y0, x1, y1);
    };
    for (int i = 0; i < 8; ++i)
        for (int j = 0; j < 5; ++j) {
            const double x = i * 10000.0, y = j * 8000.0;
            add(x, y, x + 6000, y);                // bottom
            add(x + 6000, y, x + 6000, y + 4000);  // right
            add(x + 6000, y + 4000, x, y + 4000);  // top
            add(x, y + 4000, x, y);                // left
            add(x + 3000, y, x + 3000, y + 4000);  // middle: a T at both ends
        }
    return s + "]";
}

double Seconds(std::chrono::steady_clock::time_point from)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - from).count();
}

void BM_PrepareTrenches(benchmark::State& state)
{
    std::vector<int> trenches;
    const std::string model = Frames(trenches);
    double lines = 0, solids = 0, units = 0, related = 0, prepared = 0, hollows = 0;
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TTestBuilding> building = TTestBuilding::FromElements(model);
        building->Activate();
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        for (const int id : trenches)
            benchmark::DoNotOptimize(
                RefCast<IQTKLineEntBaseCalcEDO>(GetCalcEDO(building->Record(id), false))->GetLeftLine());
        lines += Seconds(start);
        start = std::chrono::steady_clock::now();
        for (const int id : trenches)
            benchmark::DoNotOptimize(GetCalcEDO(building->Record(id), false)->GetOriginalPolyhedron());
        solids += Seconds(start);
        start = std::chrono::steady_clock::now();
        for (const int id : trenches)
            for (int unit = id + 1; unit <= id + 4; ++unit)
                benchmark::DoNotOptimize(GetCalcEDO(building->Record(unit), true)->GetOriginalPolyhedron());
        units += Seconds(start);
        start = std::chrono::steady_clock::now();
        for (const int id : trenches) {
            TRecordList list;
            GetCalcEDO(building->Record(id), false)->GetRelatedByType(84, &list);
            benchmark::DoNotOptimize(list.data());
        }
        related += Seconds(start);
        start = std::chrono::steady_clock::now();
        for (const int id : trenches) {
            const Ref<IQTKTrenchCalcEDO> trench = RefCast<IQTKTrenchCalcEDO>(GetCalcEDO(building->Record(id), true));
            hollows += trench->GetHoleSolid() ? trench->GetHoleSolid()->GetVolume() : 0.0;
            benchmark::DoNotOptimize(trench->GetWholeSolid());
        }
        prepared += Seconds(start);
        state.PauseTiming();
        building.reset();
        state.ResumeTiming();
    }
    const double runs = static_cast<double>(state.iterations()), count = static_cast<double>(trenches.size());
    state.counters["trenches"] = count;
    state.counters["lines_ms_per_trench"] = lines / runs / count * 1e3;
    state.counters["solid_ms_per_trench"] = solids / runs / count * 1e3;
    state.counters["units_ms_per_trench"] = units / runs / count * 1e3;
    state.counters["related_ms_per_trench"] = related / runs / count * 1e3;
    state.counters["prepare_ms_per_trench"] = prepared / runs / count * 1e3;
    // The hollow and whole solid against the lines and solid.
    state.counters["hollow_whole_over_solid"] = (prepared - solids - units) / (lines + solids);
    state.counters["hollow_m3"] = hollows / runs / 1e9;
}
BENCHMARK(BM_PrepareTrenches)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
