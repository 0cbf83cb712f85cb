// The static checks on large generated programs: CheckProgram over 10,000
// and 100,000 definitions (its time per definition should stay flat), and
// over one expression nested 100,000 deep. Parsing and defining the program
// and clearing the tables afterwards are not timed.
#include <benchmark/benchmark.h>

#include <string>

#include "core/run_end.h"
#include "defs/check.h"
#include "defs/define.h"
#include "defs/prelude.h"
#include "driver/catalogue.h"
#include "support/many_definitions.h"

namespace mox {
namespace {

std::string Repeat(const std::string& piece, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += piece;
  return s;
}

std::string DeepExpression(int n) {
  return "argv\\K(" + Repeat("K(0,", n) + "argv" + Repeat(")", n) + "," + Repeat("long q{V 1 2}", n) + "q)";
}

void CheckGenerated(benchmark::State& state, const std::string& source) {
  for (auto _ : state) {
    state.PauseTiming();
    InstallBuiltinCatalogue();
    LoadPrelude();
    Text text(source);
    Report report = AllClearReport();
    DefineProgram(report, text);
    state.ResumeTiming();
    CheckProgram(report);
    state.PauseTiming();
    if (!report.IsAllClear()) state.SkipWithError(report.say.c_str());
    EndRun();
    state.ResumeTiming();
  }
}

void BM_CheckManyDefinitions(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  CheckGenerated(state, testing_programs::ManyDefinitions("argv\\fna(argv,1)", n));
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_CheckManyDefinitions)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CheckDeepExpression(benchmark::State& state) {
  CheckGenerated(state, DeepExpression(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_CheckDeepExpression)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mox
