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

namespace mox {
namespace {

// A lower-case name for i: "fn" and its base-26 digits.
std::string Name(int i) {
  std::string s = "fn";
  do {
    s += static_cast<char>('a' + i % 26);
    i /= 26;
  } while (i > 0);
  return s;
}

// Definitions that call each other in a chain, with multi-letter locals,
// lets and pair lets, operators, literals and backticks; every tenth one is
// dead and mentions an undefined name, so pruning has work to do.
std::string ManyDefinitions(int n) {
  std::string s = "argv\\" + Name(0) + "(argv,1)";
  for (int i = 0; i < n; ++i) {
    std::string next = i + 1 < n ? Name(i + 1) + "(q,count+1)" : "count";
    s += "," + Name(i) + "\\first\\count\\";
    s += "p q{V first [text " + std::to_string(i) + "]}";
    s += "total{count*2+" + std::to_string(i) + "}";
    s += "K(" + next + ",S(K total)(I p)`(K 1 2)`(total))";
    if (i % 10 == 9) s += ",dead" + Name(i) + "\\x\\x+undefined" + Name(i);
  }
  return s;
}

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
  CheckGenerated(state, ManyDefinitions(n));
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_CheckManyDefinitions)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_CheckDeepExpression(benchmark::State& state) {
  CheckGenerated(state, DeepExpression(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_CheckDeepExpression)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mox
