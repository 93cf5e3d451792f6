// Loading a model of 20,000 elements (walls, columns and slabs of a storey
// grid, repeated over storeys) and querying the box service with element
// boxes, as the element objects do when they collect related elements.
#include <benchmark/benchmark.h>

#include <string>

#include "Host/ElementModel/QTKElementModel.h"

namespace {

constexpr int kElements = 20000;

// Bays of 6000 x 6000: per bay a column, two walls and a slab; 10 storeys.
std::string MakeModelText()
{
    std::string text = R"({"floors": [)";
    const int floors = 10;
    for (int f = 1; f <= floors; ++f)
        text += (f > 1 ? "," : "") + std::string(R"({"ID": )") + std::to_string(f) + R"(, "StructuralElevation": )" +
                std::to_string((f - 1) * 3) + R"(, "Height": 3})";
    text += R"(], "elements": [)";
    const int perFloor = kElements / floors / 4;  // bays per storey
    const int side = 23;                          // bays per row
    int id = 0;
    for (int f = 1; f <= floors; ++f) {
        for (int b = 0; b < perFloor; ++b) {
            const int x = (b % side) * 6000, y = (b / side) * 6000;
            const std::string fl = std::to_string(f), xs = std::to_string(x), ys = std::to_string(y);
            const std::string x1 = std::to_string(x + 6000), y1 = std::to_string(y + 6000);
            auto add = [&](const std::string& body) {
                if (id > 0)
                    text += ",";
                ++id;
                text += R"({"id": )" + std::to_string(id) + R"(, "floor": )" + fl + ", " + body + "}";
            };
            add(R"("type": 25, "props": {"SectionWidth": 400, "SectionHeight": 400},
                   "shape": {"kind": "point", "insertPt": [)" +
                xs + "," + ys + "]}");
            add(R"("type": 0, "props": {"Thickness": 240, "Material": "砖"},
                   "shape": {"kind": "line", "start": [)" +
                xs + "," + ys + "], \"end\": [" + x1 + "," + ys + "]}");
            add(R"("type": 0, "props": {"Thickness": 240, "Material": "砖"},
                   "shape": {"kind": "line", "start": [)" +
                xs + "," + ys + "], \"end\": [" + xs + "," + y1 + "]}");
            add(R"("type": 19, "props": {"Thickness": 120, "TopElev": )" + std::to_string(f * 3000) +
                R"(}, "shape": {"kind": "face", "outline": [[)" + xs + "," + ys + "],[" + x1 + "," + ys + "],[" + x1 +
                "," + y1 + "],[" + xs + "," + y1 + "]]}");
        }
    }
    return text + "]}";
}

const std::string& ModelText()
{
    static const std::string text = MakeModelText();
    return text;
}

void BM_Load20000Elements(benchmark::State& state)
{
    for (auto _ : state) {
        auto model = TQTKElementModel::LoadFromText(ModelText(), ".");
        benchmark::DoNotOptimize(model.get());
    }
    state.counters["elements"] = kElements;
}
BENCHMARK(BM_Load20000Elements)->Unit(benchmark::kMillisecond);

// One query per element with its own box: all 20,000 queries per iteration.
void BM_QueryEveryElementBox(benchmark::State& state)
{
    const auto model = TQTKElementModel::LoadFromText(ModelText(), ".");
    const IQTKBoxService* service = model->GetBoxService();
    size_t hits = 0;
    for (auto _ : state) {
        for (int i = 0; i < model->GetElementCount(); ++i)
            hits += service->Query(model->GetElement(i)->GetBox(), 1).size();
    }
    state.counters["queries"] = model->GetElementCount();
    state.counters["hits_per_query"] =
        static_cast<double>(hits) / static_cast<double>(state.iterations()) / model->GetElementCount();
}
BENCHMARK(BM_QueryEveryElementBox)->Unit(benchmark::kMillisecond);

}  // namespace
