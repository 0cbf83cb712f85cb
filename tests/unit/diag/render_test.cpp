// Display forms of cells (by rule, against a direct reading of the rules,
// and a million deep), shortened forms, and the text form of reals.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/memory.h"
#include "core/real_text.h"
#include "diag/render.h"
#include "support/builtin_calls.h"

namespace mox {
namespace {

using builtin_test::L;
using builtin_test::Show;
using builtin_test::Vec;
CellRef A(CellRef f, CellRef a) { return MakeApp(std::move(f), std::move(a)); }

// Applications in the tree notation, so that each case is one line.
TEST(DisplayForm, ApplicationRulesInTheirOrder) {
  const char* const cases[][2] = {
      {"(S K)", "SK"}, {"(abc def)", "(abc def)"}, {"(f 12)", "f12"}, {"(12 34)", "(12 34)"},
      {"(F A B)", "FAB"}, {"(f a)", "(f a)"}, {"(f a b)", "(f a b)"},
      // rule 3: a text whose first bracket closes early, mixed kinds, any mark
      {"(K ([a] [b]))", "(K [a][b])"}, {"(K ab1)", "(K ab1)"}, {"(K (S K))", "(K SK)"},
      // rule 4 only for letter after letter or digit after digit
      {"(12 x)", "12x"}, {"(x_ _y)", "(x_ _y)"}, {"(f +)", "f+"}, {"(+ +)", "++"},
      // "[a" then "[b]" is a form whose first bracket never closes: no text
      {"([a [b])", "[a[b]"}, {"(f ([a [b]))", "(f [a[b])"}, {"(f [a[b]])", "f[a[b]]"},
      {"(f [a]b])", "(f [a]b])"}, {"(f ([a b]))", "(f ([a b]))"},
      {"]name", "()"}, {"(]x X Y)", "()XY"}, {"(]x x y)", "(()x y)"},  // "()" opens no call list
  };
  for (const auto& [tree, shown] : cases) EXPECT_EQ(Show(builtin_test::Tree(tree)), shown) << tree;
  // rule 1 (open call list) before rule 2 (a text argument, spaces and all)
  EXPECT_EQ(Show(A(A(L("f"), L("a")), L("[x y]"))), "(f a [x y])");
  EXPECT_EQ(Show(A(L("f"), L("[x y]"))), "f[x y]");
  EXPECT_EQ(Show(L(")loop")), "()");
  EXPECT_EQ(Show(L("")), std::string(1, '\0'));
}

TEST(DisplayForm, VectorsBlobsAndReals) {
  EXPECT_EQ(Show(Vec()), "cray");
  EXPECT_EQ(Show(Vec(L("1"), CellRef())), "(/ (/ cray 1) U)");
  EXPECT_EQ(Show(Vec(Vec(A(L("f"), L("x"))))), "(/ cray (/ cray (f x)))");
  EXPECT_EQ(Show(A(Vec(L("1")), L("x"))), "(/ cray 1 x)");
  EXPECT_EQ(Show(A(L("f"), Vec())), "(f cray)");
  EXPECT_EQ(Show(MakeBlob("a\n[b]\0c", 7)), std::string("cape[a[p][q]b[r]\0c]", 19));
  EXPECT_EQ(Show(MakeBlob("", 0)), "cape[]");
  EXPECT_EQ(Show(A(L("f"), MakeReal(-2.0))), "(f real[-2.0000000000000000e+0000])");
}

TEST(RealText, FourDigitExponents) {
  EXPECT_EQ(RealText(-0.001), "-1.0000000000000000e-0003");
  EXPECT_EQ(RealText(1e100), "+1.0000000000000000e+0100");
  EXPECT_EQ(RealText(-0.0), "-0.0000000000000000e+0000");
  EXPECT_EQ(RealText(4.9e-324), "+4.9406564584124654e-0324");
  EXPECT_EQ(RealText(INFINITY), "+inf");
  EXPECT_EQ(RealText(-INFINITY), "-inf");
}

// ---- a direct, recursive reading of the rules, for small values -------------

int Kind(unsigned char b) { return b == '_' || (b >= 'a' && b <= 'z') ? 0 : IsDigit(b) ? 1 : 2; }

std::string Reference(const Cell* c) {
  if (c == nullptr) return "U";
  if (c->IsLeaf()) {
    unsigned char first = c->First();
    if (first == ')' || first == ']') return "()";
    if (first == kVectorByte) {
      std::string t = "cray";
      for (size_t i = 0; i < VectorSize(c); ++i) t = "(/ " + t + " " + Reference(VectorSlot(c, i)) + ")";
      return t;
    }
    return std::string(LeafView(c));
  }
  std::string f = Reference(c->f), a = Reference(c->a);
  if (f[0] == '(' && f[1] != ')') return f.substr(0, f.size() - 1) + " " + a + ")";
  if (a[0] == '[') {
    int depth = 0;
    size_t i = 0;
    for (; i < a.size(); ++i) {
      depth += a[i] == '[' ? 1 : a[i] == ']' ? -1 : 0;
      if (depth == 0) break;
    }
    if (i + 1 == a.size()) return f + a;
  }
  for (size_t i = 1; i < a.size(); ++i) {
    if (Kind(a[i]) != Kind(a[0]) || Kind(a[i]) == 2) return "(" + f + " " + a + ")";
  }
  int fk = Kind(f.back()), ak = Kind(a[0]);
  if (fk != 2 && fk == ak) return "(" + f + " " + a + ")";
  return f + a;
}

CellRef RandomValue(std::mt19937& rng, int depth) {
  static const char* const kLeaves[] = {"f", "ab", "x_", "12", "7",  "S",  "K",     "+",  "[a]",
                                        "[", "[a b]", "[a", "b]", "]c", ")c", "[[q]]", "a1", "x]["};
  std::uniform_int_distribution<int> pick(0, 9);
  int roll = depth == 0 ? 0 : pick(rng);
  if (roll < 3) {
    std::uniform_int_distribution<size_t> leaf(0, std::size(kLeaves) - 1);
    return L(kLeaves[leaf(rng)]);
  }
  if (roll == 3) {
    std::vector<CellRef> elements;
    for (int n = pick(rng) % 3; n > 0; --n) elements.push_back(RandomValue(rng, depth - 1));
    return builtin_test::VecOf(std::move(elements));
  }
  CellRef f = RandomValue(rng, depth - 1);
  return A(std::move(f), RandomValue(rng, depth - 1));
}

TEST(DisplayForm, AgreesWithTheRulesReadDirectly) {
  std::mt19937 rng(20240601);
  for (int i = 0; i < 3000; ++i) {
    CellRef v = RandomValue(rng, 6);
    ASSERT_EQ(Show(v), Reference(v.get())) << "case " << i;
  }
}

// ---- depth -------------------------------------------------------------------

TEST(DisplayForm, MillionDeepNestingBothWays) {
  constexpr int kDeep = 1000000;
  CellRef left = L("f"), right = L("y");
  for (int i = 0; i < kDeep; ++i) {
    left = A(std::move(left), L("x"));
    right = A(L("x"), std::move(right));
  }
  std::string open_call = "(f";  // (f x x ... x)
  for (int i = 0; i < kDeep; ++i) open_call += " x";
  EXPECT_TRUE(Show(left) == open_call + ")");
  std::string nested;  // (x (x ... (x y)))
  for (int i = 0; i < kDeep; ++i) nested += "(x ";
  EXPECT_TRUE(Show(right) == nested + "y" + std::string(kDeep, ')'));
}

// ---- shared parts ---------------------------------------------------------------

int g_refusals = 0;
void CountRefusal() { ++g_refusals; }

// Past a million parts a form is measured, each shared cell once, before it
// is made: the measure must be the form's exact length, whatever rules the
// shared parts' forms take.
TEST(DisplayForm, SharedPartsMeasuredExactlyAgainstTheCeiling) {
  std::mt19937 rng(9);
  for (int i = 0; i < 3; ++i) {
    CellRef v = RandomValue(rng, 3);
    for (int level = 0; level < 19; ++level)  // 2^19 copies of the first value
      v = level % 3 == 0 ? A(v.Copy(), v.Copy()) : A(A(RandomValue(rng, 1), v.Copy()), v.Copy());
    std::string expected = Reference(v.get());
    SetMemoryCeiling(expected.size() - 1, CountRefusal);
    g_refusals = 0;
    EXPECT_EQ(Show(v), "") << "case " << i;
    EXPECT_EQ(g_refusals, 1);
    SetMemoryCeiling(expected.size(), CountRefusal);
    EXPECT_TRUE(Show(v) == expected) << "case " << i;
    EXPECT_EQ(g_refusals, 1);
  }
  SetMemoryCeiling(0, nullptr);  // back to the machine's
}

// ---- shortened forms -----------------------------------------------------------

std::string Short(const std::string& s) { return std::string(ShortenedForm(Text(s)).view()); }

TEST(ShortenedForm, CutsAtSeventyTwoKeepingBracketsBalanced) {
  const std::string hundred(100, 'a'), seventy(70, 'a');
  const std::pair<std::string, std::string> cases[] = {
      {hundred, hundred.substr(0, 72)},
      {"(" + hundred, "(" + hundred.substr(0, 70) + ")"},
      {"short (a {b [c]})", "short (a {b [c]})"},
      {"{[(" + hundred, "{[(" + hundred.substr(0, 67) + "]}"},
      // no opening bracket at the last free byte, unless its closer fits
      {seventy + "a(b", seventy + "a"},
      {seventy + "(b", seventy + "()"},
      {seventy + "[[b", seventy + "[]"},
      // inside square brackets only square brackets count
      {"[a(b]c", "[a(b]c"},
      {"[a(b", "[a(b]"},
      // a closer with nothing open (a text written in place can close
      // early) is a plain byte, and what opens after it still closes
      {"a]b", "a]b"},
      {"[(]c)", "[(]c)"},
      {"}", "}"},
      {"[a])(b]", "[a])(b])"},
  };
  for (const auto& [text, shortened] : cases) EXPECT_EQ(Short(text), shortened) << text;
}

}  // namespace
}  // namespace mox
