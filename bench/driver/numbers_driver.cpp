// Times mox's integer arithmetic on whole computations, calling the plus,
// mult and powa handlers through the BuiltinTable exactly as the reducer
// does (every intermediate result is a decimal text leaf):
//   numbers_driver fact N   N! by a loop of small products
//   numbers_driver pow B E  B^E
//   numbers_driver fib N    the Nth Fibonacci number by repeated addition
// Prints the number of digits of the result.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/catalogue.h"
#include "program/builtin_table.h"
#include "values/int_convert.h"

namespace {

using mox::CellRef;

CellRef Call(const char* op, const CellRef& a, const CellRef& b) {
  CellRef out;
  mox::FindBuiltin(op)->handler(out, mox::MakeApp(mox::MakeLeaf(op), a.Copy(), b.Copy()));
  return out;
}

CellRef Factorial(long n) {
  CellRef r = mox::MakeLeaf("1");
  for (long i = 2; i <= n; ++i) r = Call("mult", r, mox::MakeInt64(i));
  return r;
}

CellRef Fibonacci(long n) {
  CellRef a = mox::MakeLeaf("0"), b = mox::MakeLeaf("1");
  for (long i = 0; i < n; ++i) {
    CellRef c = Call("plus", a, b);
    a = std::move(b);
    b = std::move(c);
  }
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: numbers_driver fact N | pow B E | fib N\n");
    return 2;
  }
  mox::InstallBuiltinCatalogue();
  auto start = std::chrono::steady_clock::now();
  CellRef r;
  if (std::strcmp(argv[1], "fact") == 0) {
    r = Factorial(std::atol(argv[2]));
  } else if (std::strcmp(argv[1], "fib") == 0) {
    r = Fibonacci(std::atol(argv[2]));
  } else if (std::strcmp(argv[1], "pow") == 0 && argc > 3) {
    r = Call("powa", mox::MakeLeaf(argv[2]), mox::MakeLeaf(argv[3]));
  } else {
    return 2;
  }
  double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
  std::printf("%zu\n", mox::LeafView(r.get()).size());
  std::fprintf(stderr, "compute %.1f ms\n", ms);
  return 0;
}
