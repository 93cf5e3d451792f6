// Compiled expression evaluation per row and filtered views over 100,000
// rows. The counter allocs_per_row counts heap allocations during the
// evaluations (0: the compiled expression allocates nothing per row).
#include <benchmark/benchmark.h>

#include "Host/RDX/PXEIntf.h"
#include "Host/RDX/RDXRecordExpr.h"
#include "Host/RDX/RDXSync.h"
#include "Host/RDX/RDXTable.h"
#include "tests/Host/RDX/AllocationCounter.h"

namespace {

constexpr int kRows = 100000;

// A business database: 100,000 element rows referring to 4 element kinds.
Ref<TRDXDatabase> MakeDatabase()
{
    Ref<TRDXDatabase> db(new TRDXDatabase("Business"));
    Ref<TRDXTable> kinds(
        new TRDXTable("Element", {{"ID", TRDXFieldType::Integer, ""}, {"ElementTypeID", TRDXFieldType::Integer, ""}}));
    const int typeIds[] = {0, 15, 58, 60};
    for (int i = 0; i < 4; ++i)
        kinds->AddRow({std::int64_t{i + 1}, std::int64_t{typeIds[i]}});
    Ref<TRDXTable> edo(new TRDXTable("ElementDrawObj", {{"ID", TRDXFieldType::Integer, ""},
                                                        {"ElementID", TRDXFieldType::Integer, "Element"},
                                                        {"Type", TRDXFieldType::Integer, ""},
                                                        {"Thickness", TRDXFieldType::Float, ""},
                                                        {"Material", TRDXFieldType::Text, ""}}));
    const char* materials[] = {"混凝土", "砖", "素土", "钢筋混凝土"};
    for (int i = 0; i < kRows; ++i)
        edo->AddRow({std::int64_t{i + 1}, std::int64_t{i % 4 + 1}, std::int64_t{i % 3}, 100.0 + (i % 7) * 40.0,
                     std::string(materials[i % 4])});
    db->AddTable(kinds);
    db->AddTable(edo);
    db->Validate();
    return db;
}

TRDXDatabase& Database()
{
    static const Ref<TRDXDatabase> db = MakeDatabase();
    return *db;
}

// One row per iteration, cycling through the table.
void BM_ExpressionPerRow(benchmark::State& state, const char* text)
{
    IRDXTable* table = Database().GetTable("ElementDrawObj");
    TRDXRecordExpression expr(table, text);
    for (int i = 0; i < table->GetRowCount(); ++i)  // every text seen once
        expr.Matches(table->GetRow(i));
    const long before = gAllocationCount.load();
    int i = 0;
    long hits = 0;
    for (auto _ : state) {
        hits += expr.Matches(table->GetRow(i));
        i = (i + 1) % kRows;
    }
    benchmark::DoNotOptimize(hits);
    state.counters["allocs_per_row"] = benchmark::Counter(static_cast<double>(gAllocationCount.load() - before) /
                                                          static_cast<double>(state.iterations()));
}
BENCHMARK_CAPTURE(BM_ExpressionPerRow, match, "(Type = 2) and (Thickness >= 200) and SameText(Material, '混凝土')");
BENCHMARK_CAPTURE(BM_ExpressionPerRow, path_in, "~ElementID.ElementTypeID in [58, 60]");

// A stair formula with parameters from a callback, as the parametric
// elements evaluate it.
void BM_FormulaEvaluate(benchmark::State& state)
{
    auto parser = RDXEngine("")->CreateParser();
    parser->Compile(
        "((TL1GD*2-2*SQRT(SQR(TBKD)+SQR(TBGD))*TBHD/TBKD-TBGD)*(LTKD-TJKD)/2+(TL1GD-PTBHD+TL1KD)*LTKD+TL1GD*TJKD)");
    double base = 100;
    parser->SetValueCallback([&](IPXEIdentifierNode& node) { node.Value().SetAsFloat(base + node.GetName().size()); });
    const long before = gAllocationCount.load();
    for (auto _ : state) {
        benchmark::DoNotOptimize(parser->EvaluateFloat());
        base += 1;
    }
    state.counters["allocs_per_eval"] = benchmark::Counter(static_cast<double>(gAllocationCount.load() - before) /
                                                           static_cast<double>(state.iterations()));
}
BENCHMARK(BM_FormulaEvaluate);

void BM_FilteredView100k(benchmark::State& state, const char* filter)
{
    IRDXTable* table = Database().GetTable("ElementDrawObj");
    long rows = 0;
    for (auto _ : state) {
        ViewRef view = SyncCreateRdxStaticView(table, filter);
        rows = view->GetRowCount();
    }
    state.counters["rows_kept"] = benchmark::Counter(static_cast<double>(rows));
    state.counters["rows_per_s"] =
        benchmark::Counter(static_cast<double>(kRows), benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK_CAPTURE(BM_FilteredView100k, path_in, "~ElementID.ElementTypeID in [58]")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_FilteredView100k, and_text, "(Type = 2) and SameText(Material, '混凝土')")
    ->Unit(benchmark::kMillisecond);

}  // namespace
