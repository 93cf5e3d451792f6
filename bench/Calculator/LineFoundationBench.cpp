// Line foundations against walls on the same plan: a 40 x 40 m grid of 5 m
// bays (144 segments of 5000 joined at T, L and X nodes). Each benchmark
// builds the model untimed and then prepares every element of one kind (its
// lines, joins, solid and, for a strip foundation, its two units); the
// "per_element" counter is the time of one element.
#include <benchmark/benchmark.h>

#include <functional>
#include <memory>
#include <string>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Host/QTKCommon/QTKCalculatorCommonData.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr int CBays = 8;
constexpr double CBay = 5000.0;
constexpr int CSegments = 2 * CBays * (CBays + 1);

std::string Num(double v)
{
    return std::to_string(v);
}

// Every segment of the grid: (index, x0, y0, x1, y1).
void ForEachSegment(const std::function<void(int, double, double, double, double)>& f)
{
    int index = 0;
    for (int line = 0; line <= CBays; ++line)
        for (int bay = 0; bay < CBays; ++bay) {
            const double a = line * CBay, b0 = bay * CBay, b1 = b0 + CBay;
            f(index++, b0, a, b1, a);  // along x
            f(index++, a, b0, a, b1);  // along y
        }
}

std::string LineShape(double x0, double y0, double x1, double y1, double width, double bottom, double top)
{
    return R"("shape": {"kind": "line", "start": [)" + Num(x0) + ", " + Num(y0) + R"(], "end": [)" + Num(x1) + ", " +
           Num(y1) + R"(], "width": )" + Num(width) + R"(, "bottom": )" + Num(bottom) + R"(, "top": )" + Num(top) + "}";
}

// Strip foundations 1000 wide (ids 1 + 10 i) with two units: 1000 x 300
// under 600 x 300; walls 240 thick (ids 5 + 10 i) from 600 to 3600.
std::string Elements(bool strips, bool walls)
{
    std::string out;
    const auto add = [&](const std::string& element) { out += (out.empty() ? "" : ",") + element; };
    ForEachSegment([&](int i, double x0, double y0, double x1, double y1) {
        const int id = 1 + 10 * i;
        if (strips) {
            add(R"({"id": )" + std::to_string(id) +
                R"(, "type": 51, "props": {"Width": 1000, "AxisOffset": 500, "Height": 600}, )" +
                LineShape(x0, y0, x1, y1, 1000, 0, 600) + "}");
            add(R"({"id": )" + std::to_string(id + 1) + R"(, "type": 81, "parent": )" + std::to_string(id) +
                R"(, "props": {"Type": 0, "Offset": 0, "BottomElev": 0}, )" + LineShape(x0, y0, x1, y1, 1000, 0, 300) +
                "}");
            add(R"({"id": )" + std::to_string(id + 2) + R"(, "type": 81, "parent": )" + std::to_string(id) +
                R"(, "props": {"Type": 1, "Offset": 0, "BottomElev": 300}, )" +
                LineShape(x0, y0, x1, y1, 600, 300, 600) + "}");
        }
        if (walls)
            add(R"({"id": )" + std::to_string(id + 4) + R"(, "type": 0, "props": {"Thickness": 240}, )" +
                LineShape(x0, y0, x1, y1, 240, 600, 3600) + "}");
    });
    return "[" + out + "]";
}

// The timed part, on its own so that an instruction count of it can be read
// (valgrind --tool=callgrind: the inclusive cost of PrepareAll).
[[gnu::noinline]] double PrepareAll(TTestBuilding& model, int first)
{
    double volume = 0.0;
    for (int i = 0; i < CSegments; ++i)
        volume += GetCalcEDO(model.Record(first + 10 * i), true)->GetOriginalPolyhedron()->GetVolume();
    return volume;
}

// Prepares every element whose id is First + 10 i (walls first, untimed, when asked).
void Prepare(benchmark::State& state, bool strips, bool walls, int calclineType, int first, bool wallsFirst)
{
    for (auto _ : state) {
        state.PauseTiming();
        std::unique_ptr<TTestBuilding> model = TTestBuilding::FromElements(Elements(strips, walls));
        model->Activate();  // a new session: the calculation line type is set after it starts
        GStripFDCalclineType = static_cast<std::uint8_t>(calclineType);
        if (wallsFirst)
            for (int i = 0; i < CSegments; ++i)
                GetCalcEDO(model->Record(5 + 10 * i), true);
        state.ResumeTiming();
        benchmark::DoNotOptimize(PrepareAll(*model, first));
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["per_element"] =
        benchmark::Counter(CSegments, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// Strip foundations on their axes (calculation line 0), no walls.
void BM_PrepareStripFDGridOnAxes(benchmark::State& state)
{
    Prepare(state, true, false, 0, 1, false);
}
BENCHMARK(BM_PrepareStripFDGridOnAxes)->Unit(benchmark::kMillisecond);

// Strip foundations on the wall line (calculation line 1) under prepared walls.
void BM_PrepareStripFDGridOnWalls(benchmark::State& state)
{
    Prepare(state, true, true, 1, 1, true);
}
BENCHMARK(BM_PrepareStripFDGridOnWalls)->Unit(benchmark::kMillisecond);

// The walls alone on the same grid.
void BM_PrepareWallGrid(benchmark::State& state)
{
    Prepare(state, false, true, 0, 5, false);
}
BENCHMARK(BM_PrepareWallGrid)->Unit(benchmark::kMillisecond);

}  // namespace
