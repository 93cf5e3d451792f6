// The take-off of a generated building under the sample rule table: 10 x 5
// bays of 6000 x 4500 on 24 storeys, each storey with its walls (a window in
// each), the beams over them, the columns at the grid points and a slab per
// bay, about 11,000 elements; on 1 and 2 threads, with the peak memory of the
// process.
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <sstream>
#include <string>

#include "Host/ElementModel/QTKElementModel.h"
#include "Tools/qtkcalc/QTKTakeoff.h"

namespace {

constexpr int CBaysX = 10, CBaysY = 5, CStoreys = 24;
constexpr double CBayX = 6000, CBayY = 4500, CStorey = 3000;

std::string GeneratedBuilding()
{
    std::ostringstream out;
    out << R"({"project": {"Name": "generated", "GroundElev": -0.3}, "floors": [)";
    for (int s = 0; s < CStoreys; ++s)
        out << (s ? "," : "") << R"({"ID": )" << s + 1 << R"(, "Name": "F)" << s + 1 << R"(", "FloorNo": )" << s + 1
            << R"(, "StructuralElevation": )" << s * CStorey / 1000 << R"(, "Height": 3.0, "StartFloorNo": 1})";
    out << R"(], "elements": [)";
    int id = 1;
    bool first = true;
    const auto element = [&](int type, int floor, const std::string& props, const std::string& shape, int parent = 0) {
        out << (first ? "" : ",") << R"({"id": )" << id++ << R"(, "type": )" << type << R"(, "floor": )" << floor;
        if (parent)
            out << R"(, "parent": )" << parent;
        out << R"(, "props": {)" << props << R"(}, "shape": )" << shape << "}";
        first = false;
    };
    for (int s = 0; s < CStoreys; ++s) {
        const int floor = s + 1;
        const double bottom = s * CStorey, top = bottom + CStorey;
        const std::string wallProps = R"("Thickness": 240, "Material": "砖", "BottomElev": )" + std::to_string(bottom) +
                                      R"(, "TopElev": )" + std::to_string(top - 600);
        const std::string beamProps =
            R"("SectionWidth": 240, "SectionHeight": 600, "Material": "混凝土", "BottomElev": )" +
            std::to_string(top - 600) + R"(, "TopElev": )" + std::to_string(top);
        const auto line = [](double x0, double y0, double x1, double y1) {
            std::ostringstream l;
            l << R"({"kind": "line", "start": [)" << x0 << ", " << y0 << R"(], "end": [)" << x1 << ", " << y1 << "]}";
            return l.str();
        };
        const auto walls = [&](double x0, double y0, double x1, double y1) {
            const int wall = id;
            element(0, floor, wallProps, line(x0, y0, x1, y1));
            element(5, floor, R"("OpeningWidth": 1500, "OpeningHeight": 1500, "AboveFloorHeight": 900)",
                    R"({"kind": "opening", "at": )" + std::to_string((x1 - x0 + y1 - y0) / 2) + "}", wall);
            element(15, floor, beamProps, line(x0, y0, x1, y1));
        };
        for (int j = 0; j <= CBaysY; ++j)
            for (int i = 0; i < CBaysX; ++i)
                walls(i * CBayX, j * CBayY, (i + 1) * CBayX, j * CBayY);
        for (int i = 0; i <= CBaysX; ++i)
            for (int j = 0; j < CBaysY; ++j)
                walls(i * CBayX, j * CBayY, i * CBayX, (j + 1) * CBayY);
        for (int i = 0; i <= CBaysX; ++i)
            for (int j = 0; j <= CBaysY; ++j)
                element(25, floor,
                        R"("SectionWidth": 400, "SectionHeight": 400, "Material": "混凝土", "BottomElev": )" +
                            std::to_string(bottom) + R"(, "TopElev": )" + std::to_string(top),
                        R"({"kind": "point", "insertPt": [)" + std::to_string(i * CBayX) + ", " +
                            std::to_string(j * CBayY) + "]}");
        for (int i = 0; i < CBaysX; ++i)
            for (int j = 0; j < CBaysY; ++j) {
                const double x0 = i * CBayX, y0 = j * CBayY, x1 = x0 + CBayX, y1 = y0 + CBayY;
                std::ostringstream face;
                face << R"({"kind": "face", "outline": [[)" << x0 << ", " << y0 << "], [" << x1 << ", " << y0 << "], ["
                     << x1 << ", " << y1 << "], [" << x0 << ", " << y1 << "]]}";
                element(19, floor, R"("Thickness": 120, "Material": "混凝土", "TopElev": )" + std::to_string(top),
                        face.str());
            }
    }
    out << "]}";
    return out.str();
}

void BM_TakeoffOfAGeneratedBuilding(benchmark::State& state)
{
    static const std::string text = GeneratedBuilding();
    int elements = 0;
    int quantities = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const Ref<TQTKElementModel> model = TQTKElementModel::LoadFromText(text, {});
        AttachRuleSet(*model, std::string(QTK_EXAMPLES_DIR) + "/rules/sample-rules.json");
        TQTKTakeoffOptions options;
        options.threads = static_cast<int>(state.range(0));
        state.ResumeTiming();
        const TQTKTakeoffResult result = RunTakeoff(*model, options);
        elements = model->GetElementCount();
        quantities = result.quantityCount;
        if (result.failedCount)
            state.SkipWithError("some quantities failed");
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["elements"] = elements;
    state.counters["quantities"] = quantities;
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_TakeoffOfAGeneratedBuilding)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
