// Allocation and release of cells: the cost under every reduction step.
#include <benchmark/benchmark.h>

#include "core/cell.h"

namespace mox {
namespace {

void BM_MakeAndReleaseApplication(benchmark::State& state) {
  CellRef leaf = MakeLeaf("K");
  for (auto _ : state) {
    CellRef app = MakeApp(leaf.Copy(), leaf.Copy());
    benchmark::DoNotOptimize(app.get());
  }
}
BENCHMARK(BM_MakeAndReleaseApplication);

void BM_BuildAndFreeList(benchmark::State& state) {
  for (auto _ : state) {
    CellRef list = MakeLeaf("K");
    for (int i = 0; i < state.range(0); ++i) list = MakeApp(MakeLeaf("1"), std::move(list));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildAndFreeList)->Arg(100000);

}  // namespace
}  // namespace mox
