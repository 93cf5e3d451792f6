// Line element objects: preparing the joined walls of a 20-storey building
// (the sample building's ground floor repeated), their lines, plan polygons,
// solids and solids without the elements they give way to, on one and on two
// threads. The counter per_wall is the real time per wall (the figure to
// reach: under 2 ms per wall on one core).
#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <thread>
#include <vector>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorEDOIntf.h"
#include "Host/VRM/Geometry3d/VRMPolyhedron3d.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr int CStoreys = 20;
constexpr double CStoreyHeight = 3300.0;

// The model text: the sample's storeys replaced by 20 copies of the walls of
// its first storey, each lifted by a storey height; the ids of the walls.
std::string BuildingText(std::vector<int>& wallIds)
{
    std::ifstream file(std::string(QTK_EXAMPLES_DIR) + "/building.json");
    const nlohmann::json sample = nlohmann::json::parse(file);
    nlohmann::json model;
    model["project"] = sample["project"];
    model["floors"] = nlohmann::json::array();
    model["elements"] = nlohmann::json::array();
    const nlohmann::json& first = sample["floors"][0];
    for (int storey = 0; storey < CStoreys; ++storey) {
        nlohmann::json floor = first;
        floor["ID"] = storey + 1;
        floor["FloorNo"] = storey + 1;
        floor["Name"] = "F" + std::to_string(storey + 1);
        floor["StructuralElevation"] = storey * CStoreyHeight / 1000.0;
        model["floors"].push_back(floor);
        for (const nlohmann::json& element : sample["elements"]) {
            if (element["type"] != 0 || element["floor"] != first["ID"])
                continue;
            nlohmann::json wall = element;
            wall["id"] = (storey + 1) * 10000 + element["id"].get<int>();
            wall["floor"] = storey + 1;
            for (const char* key : {"BottomElev", "TopElev"})
                if (wall["props"].contains(key))
                    wall["props"][key] = wall["props"][key].get<double>() + storey * CStoreyHeight;
            wallIds.push_back(wall["id"].get<int>());
            model["elements"].push_back(wall);
        }
    }
    return model.dump();
}

// What the wall rules ask of a wall first: its prepared object (joined lines,
// solid with its end faces, plan polygon), its extended middle line and the
// solid without the elements it gives way to.
double PrepareWall(IRDXRecord* record)
{
    const Ref<IQTKCalculatorEDO> edo = GetCalcEDO(record, true);
    auto* line = dynamic_cast<IQTKLineEntBaseCalcEDO*>(edo.get());
    if (!line)
        return 0.0;
    return line->GetMidLine()->Length() + line->GetExtendedMidLine()->Length() +
           line->GetSolidWithoutPriorElements()->GetVolume();
}

void BM_PrepareJoinedWalls(benchmark::State& state)
{
    const int threads = static_cast<int>(state.range(0));
    std::vector<int> ids;
    const std::string text = BuildingText(ids);
    for (auto _ : state) {
        state.PauseTiming();
        auto building = TTestBuilding::FromText(text);
        building->Activate();
        std::vector<IRDXRecord*> records;
        for (int id : ids)
            records.push_back(building->Record(id));
        state.ResumeTiming();
        std::vector<std::thread> pool;
        std::vector<double> sums(static_cast<size_t>(threads), 0.0);
        for (int t = 0; t < threads; ++t)
            pool.emplace_back([&, t] {
                for (size_t i = static_cast<size_t>(t); i < records.size(); i += static_cast<size_t>(threads))
                    sums[static_cast<size_t>(t)] += PrepareWall(records[i]);
            });
        for (auto& thread : pool)
            thread.join();
        benchmark::DoNotOptimize(sums);
        state.PauseTiming();
        building.reset();
        state.ResumeTiming();
    }
    state.counters["walls"] = static_cast<double>(ids.size());
    state.counters["per_wall"] = benchmark::Counter(
        static_cast<double>(ids.size()), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_PrepareJoinedWalls)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace
