// The element-object protocol: the lookup every rule call starts with, and
// building the related lists of a large model.
#include <benchmark/benchmark.h>

#include <memory>

#include "Calculator/Common/QTKCalculatorCommon.h"
#include "tests/Support/TestBuilding.h"

namespace {

// GetCalcEDO on an element whose object exists and is prepared.
void BM_GetCalcEDOPrepared(benchmark::State& state)
{
    TTestBuilding model;
    model.AddPoint(1, 25, 0, 0, 400, 400, 0, 3000);
    model.Activate();
    IRDXRecord* record = model.Record(1);
    GetCalcEDO(record, true);
    for (auto _ : state)
        benchmark::DoNotOptimize(GetCalcEDO(record, true));
}
BENCHMARK(BM_GetCalcEDOPrepared);

// Columns 500 x 500 on a 500 grid, each touching its eight neighbours: create
// every element object and build every related list.
void BM_RelatedListsOfAGrid(benchmark::State& state)
{
    const int columns = 200;
    const int count = static_cast<int>(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto model = std::make_unique<TTestBuilding>();
        for (int i = 0; i < count; ++i) {
            const double x = (i % columns) * 500.0, y = (i / columns) * 500.0;
            model->AddPoint(i + 1, 25, x, y, x + 500, y + 500, 0, 3000);
        }
        model->Activate();
        state.ResumeTiming();
        long related = 0;
        for (int i = 0; i < count; ++i)
            related += GetCalcEDO(model->Record(i + 1), true)->GetRelatedCount();
        benchmark::DoNotOptimize(related);
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["elements"] = count;
}
BENCHMARK(BM_RelatedListsOfAGrid)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
