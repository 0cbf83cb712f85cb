// Integer arithmetic on decimal texts: the word-sized fast paths, the
// base-10^18 limb paths and the GMP paths, and the crossover between
// schoolbook limb products and GMP (which sets kSchoolbookDigits).
#include <benchmark/benchmark.h>
#include <gmp.h>

#include <random>
#include <string>

#include "values/bigint.h"
#include "values/dec_limbs.h"
#include "values/mpz_text.h"
#include "values/numb.h"

namespace mox {
namespace {

std::string RandomDigits(int64_t n, uint64_t seed) {
  std::mt19937_64 gen(seed);
  std::string s(static_cast<size_t>(n), '0');
  for (char& c : s) c = static_cast<char>('0' + gen() % 10);
  s[0] = '7';
  return s;
}

void BM_SumSmall(benchmark::State& state) {
  IntText a = ReadIntText("12"), b = ReadIntText("30");
  for (auto _ : state) benchmark::DoNotOptimize(IntegerSum(a, b).get());
}
BENCHMARK(BM_SumSmall);

void BM_ProductSmall(benchmark::State& state) {
  IntText a = ReadIntText("123456789012"), b = ReadIntText("0987654321098");
  for (auto _ : state) benchmark::DoNotOptimize(IntegerProduct(a, b).get());
}
BENCHMARK(BM_ProductSmall);

void BM_Sum(benchmark::State& state) {
  std::string x = RandomDigits(state.range(0), 1), y = RandomDigits(state.range(0), 2);
  IntText a = ReadIntText(x), b = ReadIntText(y);
  for (auto _ : state) benchmark::DoNotOptimize(IntegerSum(a, b).get());
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Sum)->Arg(40)->Arg(400)->Arg(4000)->Arg(40000);

void BM_Difference(benchmark::State& state) {
  std::string x = RandomDigits(state.range(0), 1), y = RandomDigits(state.range(0), 2);
  IntText a = ReadIntText(x), b = ReadIntText(y);
  for (auto _ : state) benchmark::DoNotOptimize(IntegerDifference(a, b).get());
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_Difference)->Arg(4000);

void BM_ProductBySmall(benchmark::State& state) {
  std::string x = RandomDigits(state.range(0), 3);
  IntText a = ReadIntText(x), b = ReadIntText("9973");
  for (auto _ : state) benchmark::DoNotOptimize(IntegerProduct(a, b).get());
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ProductBySmall)->Arg(400)->Arg(4000)->Arg(40000);

void BM_QuotientBySmall(benchmark::State& state) {
  std::string x = RandomDigits(state.range(0), 4);
  IntText a = ReadIntText(x), b = ReadIntText("9973");
  for (auto _ : state) benchmark::DoNotOptimize(IntegerQuotient(a, b).get());
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_QuotientBySmall)->Arg(4000);

// Factors of n and m digits, text to text, through the schoolbook limb
// product and through GMP: their crossover sets kSchoolbookDigits.
void ProductSizes(benchmark::internal::Benchmark* b) {
  for (int n : {40, 160, 640, 1280, 2560}) b->Args({n, n});
  for (int n : {500, 1000, 2000}) b->Args({20000, n});
}

void BM_ProductLimbs(benchmark::State& state) {
  std::string x = RandomDigits(state.range(0), 5), y = RandomDigits(state.range(1), 6);
  for (auto _ : state) {
    LimbVector a, b, p;
    LimbsFromDigits(x, &a);
    LimbsFromDigits(y, &b);
    MultiplyLimbs(a, b, &p);
    std::string out(LimbDigitCount(p), '\0');
    WriteLimbs(p, out.data());
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ProductLimbs)->Apply(ProductSizes);

void BM_ProductGmp(benchmark::State& state) {
  std::string x = RandomDigits(state.range(0), 5), y = RandomDigits(state.range(1), 6);
  for (auto _ : state) {
    Mpz a, b;
    MpzFromDigits(a.z, x);
    MpzFromDigits(b.z, y);
    mpz_mul(a.z, a.z, b.z);
    std::string out = MpzDigits(a.z);
    benchmark::DoNotOptimize(out.data());
  }
}
BENCHMARK(BM_ProductGmp)->Apply(ProductSizes);

// Conversions alone: linear limb parsing and printing against GMP's
// sub-quadratic conversions.
void BM_ConvertLimbs(benchmark::State& state) {
  std::string x = RandomDigits(state.range(0), 7);
  for (auto _ : state) {
    LimbVector a;
    LimbsFromDigits(x, &a);
    std::string out(LimbDigitCount(a), '\0');
    WriteLimbs(a, out.data());
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConvertLimbs)->Arg(400)->Arg(4000)->Arg(40000);

void BM_ConvertGmp(benchmark::State& state) {
  std::string x = RandomDigits(state.range(0), 7);
  for (auto _ : state) {
    Mpz a;
    MpzFromDigits(a.z, x);
    std::string out = MpzDigits(a.z);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ConvertGmp)->Arg(400)->Arg(4000)->Arg(40000);

void BM_PowerThree(benchmark::State& state) {
  IntText a = ReadIntText("3"), b = ReadIntText("200000");
  for (auto _ : state) benchmark::DoNotOptimize(IntegerPower(a, b).get());
}
BENCHMARK(BM_PowerThree)->Unit(benchmark::kMillisecond);

void BM_NumbSum(benchmark::State& state) {
  for (auto _ : state) {
    Numb a, b, r;
    NumbFromText("0012345", &a);
    NumbFromText("000777", &b);
    NumbAdd(a, b, &r);
    benchmark::DoNotOptimize(NumbLeaf(r).get());
  }
}
BENCHMARK(BM_NumbSum);

}  // namespace
}  // namespace mox
