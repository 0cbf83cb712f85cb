// Deep nesting and long operator chains: 100,000 levels of every kind of
// nesting parse without exhausting the host stack, build the right shape,
// and free every cell.
#include <gtest/gtest.h>

#include <string>

#include "front/brackets.h"
#include "front/normalize.h"
#include "front/parser.h"
#include "support/tree.h"

namespace mox {
namespace {

constexpr int kDeep = 100000;

std::string Repeat(std::string_view piece, int n) {
  std::string s;
  s.reserve(piece.size() * static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) s.append(piece);
  return s;
}

// Follows `steps` from the root: 'f' to the function part, 'a' to the
// argument part; returns null when the shape does not allow it.
const Cell* Walk(const Cell* c, std::string_view steps) {
  for (char s : steps) {
    if (c == nullptr || !c->IsApp()) return nullptr;
    c = s == 'f' ? c->f : c->a;
  }
  return c;
}

// Counts how often `steps` can be repeated before reaching a leaf or a
// node of another shape; `last` is where the walk stopped.
int Depth(const Cell* c, std::string_view steps, const Cell** last) {
  int n = 0;
  while (const Cell* next = Walk(c, steps)) {
    c = next;
    ++n;
  }
  *last = c;
  return n;
}

class DeepParse : public ::testing::Test {
 protected:
  void SetUp() override { live_ = LiveCells(); }
  void TearDown() override { EXPECT_EQ(LiveCells(), live_) << "cells leaked"; }

  // Every deep text also passes the bracket check and normalisation.
  CellRef Parse(const std::string& text) {
    Report report;
    EXPECT_TRUE(CheckBrackets(Text(text), report)) << report.say.c_str();
    EXPECT_EQ(NormalizeSource(Text(text)), text);
    return ParseExpression(text);
  }

 private:
  int64_t live_ = 0;
};

TEST_F(DeepParse, NestedParentheses) {
  CellRef tree = Parse(Repeat("(", kDeep) + "a" + Repeat(")", kDeep));
  EXPECT_EQ(TreeString(tree), "a");
  tree = Parse(Repeat("(a+", kDeep) + "b" + Repeat(")", kDeep));
  const Cell* last;
  EXPECT_EQ(Depth(tree.get(), "a", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "b"));
  EXPECT_TRUE(IsLeafText(Walk(tree.get(), "ff"), "+"));
}

TEST_F(DeepParse, NestedCallLists) {
  CellRef tree = Parse(Repeat("g(", kDeep) + "a" + Repeat(")", kDeep));
  const Cell* last;
  EXPECT_EQ(Depth(tree.get(), "a", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "a"));
  tree = Parse(Repeat("g(x,", kDeep) + "a" + Repeat(")", kDeep));
  EXPECT_EQ(Depth(tree.get(), "a", &last), kDeep);
  EXPECT_TRUE(IsLeafText(Walk(tree.get(), "fa"), "x"));
}

TEST_F(DeepParse, NestedBraceLists) {
  // {{...{a}...}}: each level is ((("{" "}") inner) "}").
  CellRef tree = Parse(Repeat("{", kDeep) + "a" + Repeat("}", kDeep));
  const Cell* last;
  EXPECT_EQ(Depth(tree.get(), "fa", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "a"));
  tree = Parse(Repeat("x{a,", kDeep) + "b" + Repeat("}y", kDeep));
  EXPECT_EQ(Depth(tree.get(), "faa", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "b"));
}

TEST_F(DeepParse, NestedLiterals) {
  std::string text = Repeat("[", kDeep) + "a" + Repeat("]", kDeep);
  CellRef tree = Parse(text);
  EXPECT_EQ(LeafView(tree.get()), text);
}

TEST_F(DeepParse, AffixRuns) {
  const Cell* last;
  CellRef tree = Parse(Repeat("~", kDeep) + "x");
  EXPECT_EQ(Depth(tree.get(), "a", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "x"));
  tree = Parse("x" + Repeat("!", kDeep));
  EXPECT_EQ(Depth(tree.get(), "a", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "x"));
  tree = Parse("f" + Repeat("~", kDeep) + "x");
  EXPECT_EQ(Depth(Walk(tree.get(), "a"), "a", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "x"));
  tree = Parse(Repeat("~", kDeep));
  EXPECT_EQ(Depth(tree.get(), "a", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "}"));
  tree = Parse(Repeat("f~", kDeep) + "x");  // embedded: a long left chain
  EXPECT_EQ(Depth(tree.get(), "f", &last), kDeep);
}

TEST_F(DeepParse, LongOperatorChains) {
  const Cell* last;
  CellRef tree = Parse(Repeat("a+", kDeep) + "a");  // left: ((+ ((+ a) a)) a)
  EXPECT_EQ(Depth(tree.get(), "fa", &last), kDeep);
  tree = Parse(Repeat("a^", kDeep) + "a");  // right
  EXPECT_EQ(Depth(tree.get(), "a", &last), kDeep);
  tree = Parse(Repeat("x\\", kDeep) + "x");
  EXPECT_EQ(Depth(tree.get(), "a", &last), kDeep);
  tree = Parse(Repeat("a ", kDeep) + "a");  // application
  EXPECT_EQ(Depth(tree.get(), "f", &last), kDeep);
  tree = Parse("g" + Repeat("(a)", kDeep));
  EXPECT_EQ(Depth(tree.get(), "f", &last), kDeep);
  tree = Parse(Repeat("a*b+", kDeep) + "c");  // ends inside the first product
  EXPECT_EQ(Depth(tree.get(), "fa", &last), kDeep + 1);
  tree = Parse(Repeat("Kb", kDeep));
  EXPECT_EQ(Depth(tree.get(), "f", &last), 2 * kDeep - 1);
}

TEST_F(DeepParse, MixedNestingAndTiers) {
  CellRef tree = Parse(Repeat("f\\x\\g(x,{a;~(", kDeep) + "z" + Repeat(")})", kDeep));
  const Cell* last;
  // Per level: f\ x\ body; body = ((g x) brace); brace = ((({ }) ((; a) (~ inner))) })
  EXPECT_EQ(Depth(tree.get(), "aaafaaa", &last), kDeep);
  EXPECT_TRUE(IsLeafText(last, "z"));
}

}  // namespace
}  // namespace mox
