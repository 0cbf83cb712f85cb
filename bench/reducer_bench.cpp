// Whole programs run in-process through the real pipeline (prelude,
// definitions, checks, reducer), reporting reduction steps per second. The
// programs are bench/programs/*.mox.
#include <benchmark/benchmark.h>

#include <string>

#include "core/run_end.h"
#include "defs/check.h"
#include "defs/define.h"
#include "defs/prelude.h"
#include "driver/catalogue.h"
#include "eval/reducer.h"
#include "support/file_bytes.h"

namespace mox {
namespace {

Text ReadProgram(const char* name) {
  return Text(testing_files::FileBytes(std::string(MOX_SOURCE_DIR) + "/bench/programs/" + name));
}

void RunProgramFile(benchmark::State& state, const char* name) {
  Text source = ReadProgram(name);
  uint64_t steps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    InstallBuiltinCatalogue();
    LoadPrelude();
    Report report = AllClearReport();
    Text program = source;
    DefineProgram(report, program);
    CheckProgram(report);
    if (!report.IsAllClear()) {
      state.SkipWithError("program rejected");
      break;
    }
    CellRef main = MakeApp((*Globals().Find("")).Copy(), MakeLeaf("0"));
    uint64_t before = ReductionSteps();
    state.ResumeTiming();
    CellRef result = Evaluate(std::move(main));
    steps += ReductionSteps() - before;
    benchmark::DoNotOptimize(result.get());
    state.PauseTiming();
    result = CellRef();
    EndRun();
    state.ResumeTiming();
  }
  state.counters["steps"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kAvgIterations);
  state.counters["steps/s"] = benchmark::Counter(static_cast<double>(steps), benchmark::Counter::kIsRate);
}

void BM_Nfib(benchmark::State& state) { RunProgramFile(state, "nfib.mox"); }
void BM_Church(benchmark::State& state) { RunProgramFile(state, "church.mox"); }
void BM_Pairs(benchmark::State& state) { RunProgramFile(state, "pairs.mox"); }
void BM_YLoop(benchmark::State& state) { RunProgramFile(state, "yloop.mox"); }
void BM_MSort(benchmark::State& state) { RunProgramFile(state, "msort.mox"); }
BENCHMARK(BM_Nfib)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Church)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pairs)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_YLoop)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MSort)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mox
