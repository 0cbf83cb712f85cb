// Front-end throughput: bracket check, normalisation and parsing of a large
// generated program, and parsing of very deep nesting, in bytes per second.
#include <benchmark/benchmark.h>

#include <string>

#include "core/cell.h"
#include "front/brackets.h"
#include "front/normalize.h"
#include "front/parser.h"

namespace mox {
namespace {

// A program of about `bytes` bytes: a main expression and many definitions
// that use every tier, call and brace lists, lets, literals and affixes.
std::string MakeProgram(size_t bytes) {
  std::string s = "main(argv)";
  for (int i = 0; s.size() < bytes; ++i) {
    std::string n = std::to_string(i);
    s += ",\nf" + std::string(1, static_cast<char>('a' + i % 26)) + "\\x\\y\\";
    s += "x{p q}y{(x+y*" + n + "-1)^2}";
    s += "p=0&q>1|~x?g(x,y+1,[text " + n + " (])\n  : h{x,y,z}.k(Sx(Ky)) !q";
    s += ";S(K(x \n y))(I" + n + ")";
  }
  return s;
}

const Text& Program() {
  static const Text program(MakeProgram(10 << 20));
  return program;
}

void BM_CheckBrackets(benchmark::State& state) {
  const Text& program = Program();
  for (auto _ : state) {
    Report report;
    benchmark::DoNotOptimize(CheckBrackets(program, report));
  }
  state.SetBytesProcessed(state.iterations() * program.size());
}
BENCHMARK(BM_CheckBrackets)->Unit(benchmark::kMillisecond);

void BM_NormalizeSource(benchmark::State& state) {
  const Text& program = Program();
  for (auto _ : state) benchmark::DoNotOptimize(NormalizeSource(program).size());
  state.SetBytesProcessed(state.iterations() * program.size());
}
BENCHMARK(BM_NormalizeSource)->Unit(benchmark::kMillisecond);

// The whole normalised program as one expression (its top-level commas
// simply stay in their tokens), and then cut into definitions as the
// definition pass does.
void BM_ParseWholeProgram(benchmark::State& state) {
  const Text program = NormalizeSource(Program());
  for (auto _ : state) {
    CellRef tree = ParseExpression(program);
    benchmark::DoNotOptimize(tree.get());
    state.PauseTiming();  // freeing the big tree is not parsing
    tree = CellRef();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(state.iterations() * program.size());
}
BENCHMARK(BM_ParseWholeProgram)->Unit(benchmark::kMillisecond);

void BM_ParseDefinitions(benchmark::State& state) {
  const Text program = NormalizeSource(Program());
  const std::string_view text = program.view();
  for (auto _ : state) {
    std::vector<int64_t> commas = FindTopLevel(text, ByteSet(","));
    int64_t start = 0;
    commas.push_back(static_cast<int64_t>(text.size()));
    for (int64_t comma : commas) {
      CellRef tree = ParseExpression(text.substr(static_cast<size_t>(start), static_cast<size_t>(comma - start)));
      benchmark::DoNotOptimize(tree.get());
      start = comma + 1;
    }
  }
  state.SetBytesProcessed(state.iterations() * program.size());
}
BENCHMARK(BM_ParseDefinitions)->Unit(benchmark::kMillisecond);

std::string Nest(const char* open, const char* middle, const char* close, int depth) {
  std::string s;
  for (int i = 0; i < depth; ++i) s += open;
  s += middle;
  for (int i = 0; i < depth; ++i) s += close;
  return s;
}

void ParseText(benchmark::State& state, const std::string& text) {
  for (auto _ : state) {
    CellRef tree = ParseExpression(text);
    benchmark::DoNotOptimize(tree.get());
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(text.size()));
}

void BM_ParseDeepParentheses(benchmark::State& state) {
  ParseText(state, Nest("(", "a", ")", static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ParseDeepParentheses)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ParseDeepCalls(benchmark::State& state) {
  ParseText(state, Nest("g(x,", "a", ")", static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ParseDeepCalls)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ParseDeepBraces(benchmark::State& state) {
  ParseText(state, Nest("{a;", "a", "}", static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ParseDeepBraces)->Arg(10000)->Arg(30000)->Arg(100000)->Arg(300000)->Unit(benchmark::kMillisecond);

void BM_ParseDeepMixed(benchmark::State& state) {
  ParseText(state, Nest("f\\x\\g(x,{a;~(", "z", ")})", static_cast<int>(state.range(0))));
}
BENCHMARK(BM_ParseDeepMixed)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace mox
