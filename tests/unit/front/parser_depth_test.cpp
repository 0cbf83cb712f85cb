// Deep nesting and long operator chains: 100,000 levels of every kind of
// nesting pass the bracket check and normalisation and parse without
// exhausting the host stack, build the right shape, and free every cell.
#include <gtest/gtest.h>

#include <string>

#include "front/brackets.h"
#include "front/normalize.h"
#include "front/parser.h"
#include "support/leak_checked_test.h"

namespace mox {
namespace {

constexpr int kDeep = 100000;

std::string Repeat(std::string_view piece, int n = kDeep) {
  std::string s;
  for (int i = 0; i < n; ++i) s.append(piece);
  return s;
}

// A deep text, the path one level of its tree takes from the root ('f' to
// the function part, 'a' to the argument part), how often that path can be
// followed, and the leaf it ends at ("" when not checked).
struct DeepCase {
  std::string text, steps;
  int levels;
  std::string last;
};

using DeepParse = LeakCheckedTest;

TEST_F(DeepParse, EveryKindOfNestingAndChain) {
  const std::string literal = Repeat("[") + "a" + Repeat("]");
  const DeepCase cases[] = {
      {Repeat("(") + "a" + Repeat(")"), "a", 0, "a"},
      {literal, "a", 0, literal},
      {Repeat("(a+") + "b" + Repeat(")"), "a", kDeep, "b"},
      {Repeat("g(") + "a" + Repeat(")"), "a", kDeep, "a"},
      {Repeat("g(x,") + "a" + Repeat(")"), "a", kDeep, "a"},
      {Repeat("{") + "a" + Repeat("}"), "fa", kDeep, "a"},  // ((({ }) inner) })
      {Repeat("x{a,") + "b" + Repeat("}y"), "faa", kDeep, "b"},
      {Repeat("~") + "x", "a", kDeep, "x"},
      {"x" + Repeat("!"), "a", kDeep, "x"},
      {"f" + Repeat("~") + "x", "a", kDeep + 1, "x"},
      {Repeat("~"), "a", kDeep, "}"},
      {Repeat("f~") + "x", "f", kDeep, ""},  // embedded: a long left chain
      {Repeat("a+") + "a", "fa", kDeep, ""},  // left: ((+ ((+ a) a)) a)
      {Repeat("a^") + "a", "a", kDeep, "a"},  // right
      {Repeat("x\\") + "x", "a", kDeep, "x"},
      {Repeat("a ") + "a", "f", kDeep, "a"},
      {"g" + Repeat("(a)"), "f", kDeep, "g"},
      {Repeat("a*b+") + "c", "fa", kDeep + 1, ""},  // ends inside the first product
      {Repeat("Kb"), "f", 2 * kDeep - 1, "K"},
      // per level: f\ x\ ((g x) ((({ }) ((; a) (~ inner))) }))
      {Repeat("f\\x\\g(x,{a;~(") + "z" + Repeat(")})"), "aaafaaa", kDeep, "z"},
  };
  for (const DeepCase& c : cases) {
    const std::string head = c.text.substr(0, 12);
    Report report;
    EXPECT_TRUE(CheckBrackets(Text(c.text), report)) << head << ": " << report.say.c_str();
    EXPECT_TRUE(NormalizeSource(Text(c.text)) == c.text) << head;
    CellRef tree = ParseExpression(c.text);
    const Cell* at = tree.get();
    int levels = 0;
    for (const Cell* next = at; next != nullptr; ++levels) {
      at = next;
      for (char s : c.steps) next = next != nullptr && next->IsApp() ? (s == 'f' ? next->f : next->a) : nullptr;
    }
    EXPECT_EQ(levels - 1, c.levels) << head;
    if (!c.last.empty()) {
      EXPECT_TRUE(IsLeafText(at, c.last)) << head;
    }
  }
}

}  // namespace
}  // namespace mox
