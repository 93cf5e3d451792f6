// Matching a rule table of 300 rows against a model of 20,000 walls and
// beams: the matchers compile their expressions once; each element then only
// evaluates them. Also the volume-rule query between element pairs (per-thread
// compiled copies) and, for comparison, compiling the whole table.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "Calculator/Common/QTKCalcRule.h"
#include "Calculator/Common/QTKCalcStrategy.h"
#include "Calculator/Common/QTKCalculatorCommon.h"
#include "Calculator/Common/QTKRuleOperator.h"
#include "Host/ElementModel/QTKElementModel.h"
#include "Host/QTKCommon/QTKCalculationScope.h"

namespace {

constexpr int CRowCount = 300;
constexpr int CWallCount = 10000;
constexpr int CBeamCount = 10000;

// Row i matches walls of thickness 100 + i and beams at least 300 + i high;
// the last row matches everything.
std::string RuleRows()
{
    std::string rows;
    for (int i = 1; i <= CRowCount; ++i) {
        if (i > 1)
            rows += ",";
        const bool last = i == CRowCount;
        rows += "{\"ID\": " + std::to_string(i) + ", \"InternalQtyID\": 2, \"SubjectMatchExpr\": \"" +
                (last ? std::string() : "Thickness = " + std::to_string(100 + i) + " and Material = '混凝土'") +
                "\", \"ObjectMatchExpr\": \"" + (last ? std::string() : "SectionHeight >= " + std::to_string(300 + i)) +
                "\", \"CalcRuleID\": " + std::to_string(i % 7) + ", \"Description\": \"r" + std::to_string(i) + "\"}";
    }
    return rows;
}

std::string Elements()
{
    std::string elements;
    for (int i = 0; i < CWallCount + CBeamCount; ++i) {
        const bool wall = i < CWallCount;
        const double y = (i % 100) * 1000.0;
        const double x = (i / 100) * 7000.0;
        if (i > 0)
            elements += ",";
        elements += "{\"id\": " + std::to_string(i + 1) + ", \"type\": " + (wall ? "0" : "15") +
                    ", \"floor\": 1, \"props\": {" +
                    (wall ? "\"Thickness\": " + std::to_string(100 + i % CRowCount)
                          : "\"SectionWidth\": 300, \"SectionHeight\": " + std::to_string(300 + i % 400)) +
                    ", \"Material\": \"" + (i % 5 ? "混凝土" : "砖") + "\", \"BottomElev\": 0, \"TopElev\": 3000}" +
                    ", \"shape\": {\"kind\": \"line\", \"start\": [" + std::to_string(x) + ", " + std::to_string(y) +
                    "], \"end\": [" + std::to_string(x + 6000.0) + ", " + std::to_string(y) + "]}}";
    }
    return elements;
}

std::string ModelText()
{
    return R"({"databases": [
  {"name": "Business", "tables": [
    {"name": "InternalQtyDict", "fields": [{"name": "ID", "type": "integer"},
      {"name": "SubjectElementTypeID", "type": "integer"}, {"name": "ObjectElementTypeID", "type": "integer"},
      {"name": "Description", "type": "text"}],
     "rows": [{"ID": 1, "SubjectElementTypeID": 0, "ObjectElementTypeID": 15, "Description": "墙扣梁模板"},
              {"ID": 2, "SubjectElementTypeID": 0, "ObjectElementTypeID": 15, "Description": "墙扣梁体积"}]}]},
  {"name": "NormCalcRule", "tables": [
    {"name": "ElementTypeDict", "fields": [{"name": "ID", "type": "integer"}, {"name": "ElementTypeID", "type": "integer"},
      {"name": "Code", "type": "text"}, {"name": "Description", "type": "text"}],
     "rows": [{"ID": 1, "ElementTypeID": 0, "Code": "Wall", "Description": "墙"},
              {"ID": 2, "ElementTypeID": 15, "Code": "Beam", "Description": "梁"}]},
    {"name": "Wall_GEO", "fields": [{"name": "Thickness", "type": "float"}], "rows": []},
    {"name": "Beam_GEO", "fields": [{"name": "SectionHeight", "type": "float"}], "rows": []},
    {"name": "Element", "fields": [{"name": "Material", "type": "text"}], "rows": []},
    {"name": "CalcRule", "fields": [{"name": "ID", "type": "integer"}, {"name": "StrategyName", "type": "text"}],
     "rows": [{"ID": 0, "StrategyName": "A"}, {"ID": 1, "StrategyName": "B"}, {"ID": 2, "StrategyName": "C"},
              {"ID": 3, "StrategyName": "D"}, {"ID": 4, "StrategyName": "E"}, {"ID": 5, "StrategyName": "F"},
              {"ID": 6, "StrategyName": "G"}]},
    {"name": "InternalQtyCalcRule", "fields": [{"name": "ID", "type": "integer"},
      {"name": "InternalQtyID", "type": "integer", "master": "InternalQtyDict"},
      {"name": "SubjectMatchExpr", "type": "text"}, {"name": "ObjectMatchExpr", "type": "text"},
      {"name": "CalcRuleID", "type": "integer"}, {"name": "Description", "type": "text"}],
     "rows": [)" +
           RuleRows() + R"(]}]}],
 "project": {"Name": "bench", "GroundElev": 0},
 "floors": [{"ID": 1, "Name": "F1", "StructuralElevation": 0.0, "Height": 3.0}],
 "elements": [)" +
           Elements() + "]}";
}

// The model, the session over it and the host's matchers of every rule row.
struct TBenchModel {
    TBenchModel()
    {
        model = TQTKElementModel::LoadFromText(ModelText(), std::filesystem::current_path());
        TQTKCalculationScopeOptions options;
        options.session.business = TableSourceRef(model->GetBusiness());
        settings = TableSourceRef(model->GetRDXModel()->FindDatabase("NormCalcRule"));
        options.session.calculatorSetting = settings;
        options.release = FreeCalcEDOs;
        scope = std::make_unique<TQTKCalculationScope>(std::move(options));
        rules = settings->GetDatabase()->GetTable("InternalQtyCalcRule");
        cache.ruleTable = TableRef(settings->GetDatabase()->GetTable("CalcRule"));
        cache.defaultStrategy = MakeRef<TQTKCalcStrategy>();
        for (int i = 0; i < rules->GetRowCount(); ++i) {
            auto holder = MakeRef<TQTKInternalQtyCalcRuleHolder>(std::make_unique<TQTKInternalQtyCalcRule>(
                settings, RecordRef(rules->GetRow(i)), &cache, GetCalculatorModule()));
            rules->GetRow(i)->SetObject(holder.get());
            matchers.push_back(holder->GetRule());
        }
    }
    IRDXRecord* Element(int index) const { return model->GetElement(index)->GetRecord(); }

    Ref<TQTKElementModel> model;
    std::unique_ptr<TQTKCalculationScope> scope;
    TableSourceRef settings;
    IRDXTable* rules = nullptr;
    TQTKStrategyCache cache;
    std::vector<TQTKInternalQtyCalcRule*> matchers;
};

// Made once and kept to the end of the process: the element objects it
// creates refer to framework state that is gone by the time statics die.
TBenchModel& BenchModel()
{
    static TBenchModel* model = new TBenchModel;
    return *model;
}

// For every wall: the first row whose subject expression matches it.
void BM_MatchWallsAgainstRuleTable(benchmark::State& state)
{
    TBenchModel& bench = BenchModel();
    long long found = 0;
    for (auto _ : state) {
        for (int e = 0; e < CWallCount; ++e) {
            IRDXRecord* wall = bench.Element(e);
            for (TQTKInternalQtyCalcRule* matcher : bench.matchers)
                if (matcher->SubjectMatches(wall)) {
                    found += matcher->GetRow()->GetID();
                    break;
                }
        }
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations() * CWallCount);
    state.counters["rows"] = static_cast<double>(bench.matchers.size());
}
BENCHMARK(BM_MatchWallsAgainstRuleTable)->Unit(benchmark::kMillisecond);

// The volume rule of wall-beam pairs (subject and object expressions).
void BM_FindVolumeRuleOfPairs(benchmark::State& state)
{
    TBenchModel& bench = BenchModel();
    constexpr int pairs = 2000;
    long long found = 0;
    for (auto _ : state) {
        for (int p = 0; p < pairs; ++p) {
            const IRDXRecord* row = TQTKRuleQuery::FindVolumeRule(RecordRef(bench.Element(p * 5)),
                                                                  RecordRef(bench.Element(CWallCount + p * 5)));
            found += row ? row->GetID() : 0;
        }
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations() * pairs);
}
BENCHMARK(BM_FindVolumeRuleOfPairs)->Unit(benchmark::kMillisecond);

// Compiling the whole table once, for comparison.
void BM_CompileRuleTable(benchmark::State& state)
{
    TBenchModel& bench = BenchModel();
    for (auto _ : state) {
        for (int i = 0; i < bench.rules->GetRowCount(); ++i) {
            TQTKInternalQtyCalcRule matcher(bench.settings, RecordRef(bench.rules->GetRow(i)), &bench.cache,
                                            GetCalculatorModule());
            benchmark::DoNotOptimize(matcher.GetStrategy());
        }
    }
    state.SetItemsProcessed(state.iterations() * bench.rules->GetRowCount());
}
BENCHMARK(BM_CompileRuleTable)->Unit(benchmark::kMillisecond);

}  // namespace
