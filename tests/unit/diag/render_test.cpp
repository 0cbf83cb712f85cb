// Display forms of cells, shortened forms and the text form of reals.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/real_text.h"
#include "diag/render.h"

namespace mox {
namespace {

CellRef L(std::string_view s) { return MakeLeaf(s); }
CellRef A(CellRef f, CellRef a) { return MakeApp(std::move(f), std::move(a)); }
std::string Show(const CellRef& c) { return std::string(DisplayForm(c.get()).view()); }

CellRef Vector(std::vector<CellRef> elements) {
  CellRef v = MakeVector(elements.size());
  for (size_t i = 0; i < elements.size(); ++i) SetVectorSlot(v.get(), i, elements[i].Leak());
  return v;
}
template <typename... Parts>
CellRef V(Parts... parts) {
  std::vector<CellRef> elements;
  (elements.push_back(std::move(parts)), ...);
  return Vector(std::move(elements));
}

TEST(DisplayForm, ApplicationRulesFromTheExamples) {
  EXPECT_EQ(Show(A(L("S"), L("K"))), "SK");
  EXPECT_EQ(Show(A(L("abc"), L("def"))), "(abc def)");
  EXPECT_EQ(Show(A(L("f"), L("12"))), "f12");
  EXPECT_EQ(Show(A(L("12"), L("34"))), "(12 34)");
  EXPECT_EQ(Show(A(A(L("F"), L("A")), L("B"))), "FAB");
  EXPECT_EQ(Show(A(L("f"), L("a"))), "(f a)");
  EXPECT_EQ(Show(A(A(L("f"), L("a")), L("b"))), "(f a b)");
}

TEST(DisplayForm, RuleOrderForApplications) {
  // rule 1 (open call list) comes before rule 2 (text argument)
  EXPECT_EQ(Show(A(A(L("f"), L("a")), L("[x y]"))), "(f a [x y])");
  // rule 2 before rule 3: a text argument with spaces abuts
  EXPECT_EQ(Show(A(L("f"), L("[x y]"))), "f[x y]");
  // a text whose first bracket closes early is not one text: rule 3
  EXPECT_EQ(Show(A(L("K"), A(L("[a]"), L("[b]")))), "(K [a][b])");
  // rule 3: mixed kinds, or any mark after the first byte
  EXPECT_EQ(Show(A(L("K"), L("ab1"))), "(K ab1)");
  EXPECT_EQ(Show(A(L("K"), A(L("S"), L("K")))), "(K SK)");
  // rule 4 only for letter after letter or digit after digit
  EXPECT_EQ(Show(A(L("12"), L("x"))), "12x");
  EXPECT_EQ(Show(A(L("x_"), L("_y"))), "(x_ _y)");
  EXPECT_EQ(Show(A(L("f"), L("+"))), "f+");
  EXPECT_EQ(Show(A(L("+"), L("+"))), "++");
  EXPECT_EQ(Show(A(L("K"), L("I"))), "KI");
}

TEST(DisplayForm, TextsBuiltFromUnbalancedPieces) {
  // "[a" then the text "[b]" (rule 2) is a form whose first bracket never
  // closes, so as an argument it is not one text
  CellRef text = A(L("[a"), L("[b]"));
  EXPECT_EQ(Show(text), "[a[b]");
  EXPECT_EQ(Show(A(L("f"), std::move(text))), "(f [a[b])");
  EXPECT_EQ(Show(A(L("f"), L("[a[b]]"))), "f[a[b]]");
  EXPECT_EQ(Show(A(L("f"), L("[a]b]"))), "(f [a]b])");
  EXPECT_EQ(Show(A(L("f"), A(L("[a"), L("b]")))), "(f ([a b]))");
}

TEST(DisplayForm, MarkersTagsAndTheEmptyLeaf) {
  EXPECT_EQ(Show(L(")loop")), "()");
  EXPECT_EQ(Show(L("]name")), "()");
  // "()" is not an open call list: the argument after it is not joined in
  EXPECT_EQ(Show(A(A(L(")loop"), L("X")), L("Y"))), "()XY");
  EXPECT_EQ(Show(A(A(L(")loop"), L("x")), L("y"))), "(()x y)");
  EXPECT_EQ(Show(L("")), std::string(1, '\0'));
}

TEST(DisplayForm, Vectors) {
  EXPECT_EQ(Show(V()), "cray");
  EXPECT_EQ(Show(V(L("1"), L("2"))), "(/ (/ cray 1) 2)");
  EXPECT_EQ(Show(V(L("1"), CellRef())), "(/ (/ cray 1) U)");
  EXPECT_EQ(Show(V(V(A(L("f"), L("x"))))), "(/ cray (/ cray (f x)))");
  EXPECT_EQ(Show(A(V(L("1")), L("x"))), "(/ cray 1 x)");
  EXPECT_EQ(Show(A(L("f"), V())), "(f cray)");
}

TEST(DisplayForm, BlobsAndReals) {
  CellRef blob = MakeBlob("a\n[b]\0c", 7);
  EXPECT_EQ(Show(blob), std::string("cape[a[p][q]b[r]\0c]", 19));
  EXPECT_EQ(Show(MakeBlob("", 0)), "cape[]");
  EXPECT_EQ(Show(MakeReal(1.5)), "real[+1.5000000000000000e+0000]");
  EXPECT_EQ(Show(A(L("f"), MakeReal(-2.0))), "(f real[-2.0000000000000000e+0000])");
}

TEST(RealText, FourDigitExponents) {
  EXPECT_EQ(RealText(1.5), "+1.5000000000000000e+0000");
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
    return Vector(std::move(elements));
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

constexpr int kDeep = 1000000;

TEST(DisplayForm, MillionDeepLeftNesting) {
  CellRef v = L("f");
  for (int i = 0; i < kDeep; ++i) v = A(std::move(v), L("x"));
  std::string expected = "(f";
  for (int i = 0; i < kDeep; ++i) expected += " x";
  EXPECT_TRUE(Show(v) == expected + ")");
}

TEST(DisplayForm, MillionDeepRightNesting) {
  CellRef v = L("y");
  for (int i = 0; i < kDeep; ++i) v = A(L("x"), std::move(v));
  std::string expected;  // (x y), then (x (x y)), ...
  for (int i = 0; i < kDeep; ++i) expected += "(x ";
  expected += "y" + std::string(kDeep, ')');
  EXPECT_TRUE(Show(v) == expected);
}

// ---- shortened forms -----------------------------------------------------------

std::string Short(const std::string& s) { return std::string(ShortenedForm(Text(s)).view()); }

TEST(ShortenedForm, CutsAtSeventyTwoAndClosesBrackets) {
  std::string hundred(100, 'a');
  EXPECT_EQ(Short(hundred), hundred.substr(0, 72));
  EXPECT_EQ(Short("(" + hundred), "(" + hundred.substr(0, 70) + ")");
  EXPECT_EQ(Short("short (a {b [c]})"), "short (a {b [c]})");
  EXPECT_EQ(Short("{[(" + hundred), "{[(" + hundred.substr(0, 67) + "]}");
}

TEST(ShortenedForm, NoOpeningBracketAtTheLastFreeByte) {
  std::string seventy(70, 'a');
  EXPECT_EQ(Short(seventy + "a(b"), seventy + "a");      // used is 71 at "("
  EXPECT_EQ(Short(seventy + "(b"), seventy + "()");      // "(" fits with its closer
  EXPECT_EQ(Short(seventy + "[" + "[b"), seventy + "[]");
}

TEST(ShortenedForm, InsideSquareBracketsOnlySquareBracketsCount) {
  EXPECT_EQ(Short("[a(b]c"), "[a(b]c");
  EXPECT_EQ(Short("[a(b"), "[a(b]");
  EXPECT_EQ(Short("a]b"), "a]b");  // "]" outside a square bracket is a plain byte
}

// A text written in place can close early ("[a])]"): a closer with nothing
// open is kept as a plain byte, and what opens after it still closes.
TEST(ShortenedForm, UnmatchedClosersArePlainBytes) {
  EXPECT_EQ(Short("[(]c)"), "[(]c)");  // the "(" was plain
  EXPECT_EQ(Short("a)"), "a)");
  EXPECT_EQ(Short("}"), "}");
  EXPECT_EQ(Short("[a])(b]"), "[a])(b])");
}

}  // namespace
}  // namespace mox
