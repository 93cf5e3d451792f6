// The wall volume rules on a 20-storey building: the first floor of the
// sample building (its walls, doors, windows and slabs) repeated 20 times,
// 3300 apart. Each iteration builds the element objects afresh and applies
// every rule to every (wall, neighbour) pair it serves; the time is reported
// per rule call (items processed).
#include <benchmark/benchmark.h>

#include <fstream>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKCalculatorStrategyRegister.h"
#include "Host/ElementModel/QTKElementDrawObjIntf.h"
#include "tests/Support/TestBuilding.h"

namespace {

constexpr int CStoreys = 20;
constexpr double CStoreyHeight = 3300;

// The sample's first floor (walls, doors, windows, slabs) on 20 storeys.
std::string RepeatedBuilding()
{
    std::ifstream in(std::string(QTK_EXAMPLES_DIR) + "/building.json");
    const nlohmann::json sample = nlohmann::json::parse(in);
    const std::set<int> kept = {0, 4, 5, 19};
    nlohmann::json model = {
        {"project", sample["project"]}, {"floors", nlohmann::json::array()}, {"elements", nlohmann::json::array()}};
    for (int s = 0; s < CStoreys; ++s) {
        model["floors"].push_back({{"ID", s + 1},
                                   {"Name", "F" + std::to_string(s + 1)},
                                   {"FloorNo", s + 1},
                                   {"StructuralElevation", s * CStoreyHeight / 1000},
                                   {"Height", CStoreyHeight / 1000},
                                   {"StartFloorNo", s + 1}});
        for (nlohmann::json element : sample["elements"]) {
            if (element.value("floor", 0) != 1 || !kept.count(element["type"].get<int>()))
                continue;
            const int offset = (s + 1) * 100000;
            element["id"] = element["id"].get<int>() + offset;
            element["floor"] = s + 1;
            if (element.contains("parent"))
                element["parent"] = element["parent"].get<int>() + offset;
            for (const char* key : {"BottomElev", "TopElev"})
                if (element["props"].contains(key))
                    element["props"][key] = element["props"][key].get<double>() + s * CStoreyHeight;
            model["elements"].push_back(element);
        }
    }
    return model.dump();
}

struct TRuleCall {
    Ref<IQTKCalcStrategy> rule;
    RecordRef wall, object;
};

// Every wall against its openings (by frame, by fact, the 0.3 m2 limit) and its slabs (by thickness, thinner).
std::vector<TRuleCall> Calls(TTestBuilding& building)
{
    const auto rule = [](const char* name) { return Ref<IQTKCalcStrategy>::Adopt(GetStrategy(name)); };
    const std::vector<Ref<IQTKCalcStrategy>> openingRules = {rule("TQTKWallVolumeDeductHollowByFrame"),
                                                             rule("TQTKWallVolumeDeductHollowByFact"),
                                                             rule("TQTKWallVolumeDeductDot3M2LimitedOpenning")};
    const std::vector<Ref<IQTKCalcStrategy>> slabRules = {rule("TQTKWallVolumeDeductSlabByThickness"),
                                                          rule("TQTKWallVolumeDeductSlabByThinner")};
    std::vector<TRuleCall> calls;
    const IRDXTable* table = building.Business()->GetDatabase()->GetTable("ElementDrawObj");
    for (int i = 0; i < table->GetRowCount(); ++i) {
        IRDXRecord* record = table->GetRow(i);
        const IQTKElementDrawObj* drawObj = GetRecordDrawObj(record);
        if (!drawObj || drawObj->GetElementTypeID() != 0)
            continue;
        TRecordList related;
        GetCalcEDO(record, true)->GetRelatedByTypes(MakeElementTypeSet({4, 5}), &related);
        for (const RecordRef& opening : related)
            for (const auto& r : openingRules)
                calls.push_back({r, RecordRef(record), opening});
        GetCalcEDO(record, true)->GetRelatedByType(19, &related);
        for (const RecordRef& slab : related)
            for (const auto& r : slabRules)
                calls.push_back({r, RecordRef(record), slab});
    }
    return calls;
}

void BM_WallVolumeRules(benchmark::State& state)
{
    const auto building = TTestBuilding::FromText(RepeatedBuilding());
    std::size_t count = 0;
    for (auto _ : state) {
        state.PauseTiming();
        building->Activate();  // fresh element objects, so every call computes
        const std::vector<TRuleCall> calls = Calls(*building);
        // Walls, openings and slabs prepared and their solids built outside the timing.
        for (const TRuleCall& call : calls) {
            GetCalcEDO(call.object, true)->GetOriginalPolyhedron();
            RefCast<IQTKWallCalcEDO>(GetCalcEDO(call.wall, true))->GetVolumeCalc();
        }
        state.ResumeTiming();
        for (const TRuleCall& call : calls)
            benchmark::DoNotOptimize(call.rule->Calculate(call.wall, call.object, nullptr, building->RuleSet()));
        count += calls.size();
    }
    state.SetItemsProcessed(static_cast<int64_t>(count));
    state.counters["calls"] = static_cast<double>(count) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_WallVolumeRules)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
