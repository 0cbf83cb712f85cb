// The tree helpers of the static checks, on parsed expressions: reference
// sets, funky keys, place lists and renaming, and pair lets. Each walk is
// also run on a heavily shared graph, which only a walk that visits every
// distinct cell once can finish.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "defs/check_passes.h"
#include "defs/funky.h"
#include "defs/pair_let.h"
#include "defs/references.h"
#include "defs/rename.h"
#include "front/normalize.h"
#include "front/parser.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

using testing_notation::Show;

CellRef Parse(const char* source) { return ParseExpression(NormalizeSource(Text(source))); }

std::string Names(const NameList& names) {
  std::string out;
  for (const Text& n : names) out += (out.empty() ? "" : " ") + std::string(n.view());
  return out;
}

std::string References(const char* source) { return Names(CollectReferences(Parse(source).get())); }

// d(0) = leaf, d(i+1) = (d(i) d(i)): 2^depth leaves when unfolded.
CellRef Doubling(CellRef leaf, int depth) {
  CellRef c = std::move(leaf);
  for (int i = 0; i < depth; ++i) c = MakeApp(c.Copy(), c.Copy());
  return c;
}

TEST(CheckHelpers, ReferencesAreNamesThatNoBinderBinds) {
  const char* const cases[][2] = {
      {"x\\y\\plus x y q", "\\ plus q"},
      {"a+b*c", "* + a b c"},  // operators refer to their one-byte keys
      {"foo{1}foo bar", "bar {"},
      {"g(12,[abc],[+])", "g"},  // numbers and text literals are no names
      {"g()", "g }"},            // the empty expression is the name "}"
      {"(x\\x) x", "\\"},        // bound anywhere in the definition: everywhere
      {"(a+b){1}c", "+ a b c {"},  // a let's variable that is no leaf is mentioned
  };
  for (const auto& [source, names] : cases) EXPECT_EQ(References(source), names) << source;
  // Many names of many lengths, each met several times, one bound.
  std::set<std::string> names;
  for (int i = 0; i < 60; ++i)
    names.insert(std::string(1 + i % 13, static_cast<char>('a' + i % 26)) + static_cast<char>('a' + i / 26));
  std::string source = "keep\\", expected = "+ \\";  // the lambda's own key, "\", is one
  for (const std::string& name : names) {
    source += name + "+" + name + "+keep+";
    expected += " " + name;
  }
  EXPECT_EQ(References((source + "keep").c_str()), expected);
  CellRef graph = MakeApp(Doubling(MakeLeaf("foo"), 200), MakeLeaf("K"));
  EXPECT_EQ(Names(CollectReferences(graph.get())), "K foo");
}

TEST(CheckHelpers, DisplayNameBracketsOperatorKeys) {
  for (auto [key, shown] : {std::pair{"+", "[+]"}, {"\\", "[\\]"}, {"plus", "plus"}, {"(", "("}, {"", ""}})
    EXPECT_EQ(DisplayName(key), shown) << key;
}

std::string Funky(const char* source) {
  CellRef key = FindFunkyKey(Parse(source).get());
  return key ? Show(key.get()) : "none";
}

TEST(CheckHelpers, FunkyKeys) {
  EXPECT_EQ(Funky("x\\y\\[+]\\K\\x"), "none");  // definable names only
  EXPECT_EQ(Funky("3\\x"), "3");
  EXPECT_EQ(Funky("g(1\\x, 2\\y)"), "1");  // the first in pre-order
  EXPECT_EQ(Funky("x\\g(y\\(2\\z))"), "2");  // inside a lambda's body
  EXPECT_EQ(Funky("(a+b){1}c"), "none");   // lets are not searched for keys
  CellRef lambda = Parse("x\\(p+q)\\y");
  CellRef graph = Doubling(lambda.Copy(), 200);
  EXPECT_EQ(Show(FindFunkyKey(graph.get()).get()), "((+ p) q)");
  EXPECT_FALSE(FindFunkyKey(Doubling(Parse("x\\x"), 200).get()));
  // One key shared by the function part and the argument, after a part too
  // big for the quick look: found where the text has it first, in the
  // function part, before the other key.
  CellRef one = Parse("1\\x");
  CellRef big = MakeApp(MakeApp(MakeApp(Doubling(Parse("x\\x"), 30), one.Copy()), Parse("2\\y")), one.Copy());
  EXPECT_EQ(Show(FindFunkyKey(big.get()).get()), "1");
}

TEST(CheckHelpers, PlaceListsSplitLettersFromOtherNames) {
  PlaceLists lists = CollectPlaces(Parse("x\\foo\\y{1}bar{x}K\\foo").get());
  EXPECT_EQ(Names({lists.multi.begin(), lists.multi.end()}), "K bar foo");
  EXPECT_EQ(Names({lists.single.begin(), lists.single.end()}), "x y");
}

TEST(CheckHelpers, RenameLocalReplacesTheNameEverywhere) {
  CellRef tree = Parse("foo\\bar\\foo bar(g foo)");
  CellRef renamed = RenameLocal(tree.get(), "foo", 'c');
  EXPECT_EQ(Show(renamed.get()), "((\\ c) ((\\ bar) (c (bar (g c)))))");
  // A global of the same name becomes the letter too.
  CellRef global = RenameLocal(Parse("(foo\\foo) foo").get(), "foo", 'a');
  EXPECT_EQ(Show(global.get()), "(((\\ a) a) a)");
  // Sub-trees without the name are kept, not copied.
  CellRef same = Parse("x\\g(y,z)");
  CellRef out = RenameLocal(same.get(), "foo", 'a');
  EXPECT_EQ(out.get(), same.get());
  // A binder variable that is not renamed is shown by its DisplayName.
  CellRef let = RenameLocal(Parse("{1}2").get(), "foo", 'a');
  EXPECT_EQ(Show(let.get()), "((({ [}]) 1) 2)");
}

TEST(CheckHelpers, RenameLocalOnASharedGraph) {
  CellRef graph = Doubling(Parse("foo\\foo x"), 300);
  CellRef out = RenameLocal(graph.get(), "foo", 'b');
  const Cell* c = out.get();
  for (int i = 0; i < 300; ++i) {
    ASSERT_EQ(c->f, c->a);  // the sharing survives
    c = c->f;
  }
  EXPECT_EQ(Show(c), "((\\ b) (b x))");
}

// RenameLocals must give what RenameLocal with each pair in turn gives,
// including where a one-byte operator name or a bracketed name makes the
// order of the renames show.
TEST(CheckHelpers, RenameLocalsMatchesRenamingOneByOne) {
  using testing_notation::Tree;
  const struct {
    CellRef tree;
    RenameList renames;
  } cases[] = {
      {Parse("foo\\bar\\foo bar(g foo)"), {{"bar", 'a'}, {"foo", 'b'}}},
      {Parse("first\\count\\total{count*2}K(first,total)"), {{"count", 'a'}, {"first", 'b'}, {"total", 'c'}}},
      {Parse("foo\\x{1}foo"), {{"foo", 'a'}}},
      {Parse("[x]{1}foo\\[x]"), {{"[x]", 'a'}, {"foo", 'b'}}},
      {Parse("x\\g(y,z)"), {{"foo", 'a'}}},
      // Binders that are one-byte operator names: the first rename shows
      // them as [|], which a later rename of "|" misses and one of "[|]" hits.
      {Tree("(\\ abc (\\ | (| abc 2)))"), {{"abc", 'a'}, {"|", 'b'}}},
      {Tree("(\\ | (\\ abc (| abc 2)))"), {{"|", 'a'}, {"abc", 'b'}}},
      {Tree("(\\ abc (\\ | ([|] abc 2)))"), {{"[|]", 'a'}, {"abc", 'b'}}},
      {Tree("(\\ abc (\\ | ([|] abc 2)))"), {{"abc", 'a'}, {"[|]", 'b'}}},
  };
  for (const auto& [tree, renames] : cases) {
    CellRef one_by_one = tree.Copy();
    for (const Rename& r : renames) one_by_one = RenameLocal(one_by_one.get(), r.name, r.letter);
    EXPECT_EQ(Show(RenameLocals(tree.get(), renames).get()), Show(one_by_one.get())) << Show(tree.get());
  }
  CellRef same = Parse("x\\g(y,z)");
  EXPECT_EQ(RenameLocals(same.get(), {{"foo", 'a'}}).get(), same.get());  // nothing copied
}

TEST(CheckHelpers, PairLetsBecomeThreeLets) {
  CellRef out = RewritePairLets(Parse("p q{V 1 2}p q").get());
  EXPECT_EQ(Show(out.get()),
            "((({ q) ((V 1) 2)) ((({ p) (q K)) ((({ q) (q H)) (p q))))");
  // Nested pair lets are rewritten bottom-up, in the bound value too.
  CellRef nested = RewritePairLets(Parse("a b{c d{y}d}a").get());
  EXPECT_EQ(Show(nested.get()),
            "((({ b) ((({ d) y) ((({ c) (d K)) ((({ d) (d H)) d)))) ((({ a) (b K)) ((({ b) (b H)) a)))");
  // The second name is read as a key: [+] is bound, "+" is taken apart.
  CellRef key = RewritePairLets(Parse("p [+]{y}z").get());
  EXPECT_EQ(Show(key.get()), "((({ [+]) y) ((({ p) (+ K)) ((({ [+]) (+ H)) z)))");
}

TEST(CheckHelpers, OtherLetsAreLeftAlone) {
  for (const char* source : {"x{1}x", "p 3{1}2", "(a+b){1}2", "p(q r){1}2", "[p] q{1}2"}) {
    CellRef tree = Parse(source);
    CellRef out = RewritePairLets(tree.get());
    EXPECT_EQ(out.get(), tree.get()) << source;
  }
  CellRef graph = Doubling(Parse("p q{y}z"), 200);
  CellRef out = RewritePairLets(graph.get());
  EXPECT_EQ(out->f, out->a);
}

// Past what a quick look covers, the passes still find the one pair let or
// named place at the far end of a long expression, and leave an expression
// without any as it is.
TEST(CheckHelpers, LongExpressionsAreSearchedToTheEnd) {
  std::string sum;
  for (int i = 0; i < 5000; ++i) sum += "1+";
  CellRef plain = Parse(("x\\" + sum + "x").c_str());
  EXPECT_EQ(RewritePairLets(plain.get()).get(), plain.get());
  EXPECT_FALSE(MayHaveNamedPlaces(plain.get()));
  CellRef pair = Parse((sum + "(p q{V 1 2}p q)").c_str());
  EXPECT_NE(Show(RewritePairLets(pair.get()).get()).find("(({ p) (q K))"), std::string::npos);
  EXPECT_TRUE(MayHaveNamedPlaces(Parse((sum + "(foo\\foo)").c_str()).get()));
}

// The rewrites a definition gets as it is parsed: its pair lets always,
// its places only when no check before the renaming could tell.
TEST(CheckHelpers, RewriteAheadRenamesOnlyWhereNothingCanTell) {
  const char* const cases[][2] = {
      // Letters go to the names in byte order.
      {"first\\count\\first+count", "((\\ b) ((\\ a) ((+ b) a)))"},
      {"x\\long{x}long", "((\\ x) ((({ a) x) a))"},
      {"pair\\p q{pair}p", "((\\ a) ((({ q) a) ((({ p) (q K)) ((({ q) (q H)) p))))"},
      // The letter `count` would get occurs free: it would be captured.
      {"count\\count+a", "((\\ count) ((+ count) a))"},
      // A binder that a rename would show otherwise.
      {"[+]\\count\\count", "((\\ [+]) ((\\ count) count))"},
      // A funky key stays for its report.
      {"3\\count\\count", "((\\ 3) ((\\ count) count))"},
  };
  for (const auto& [source, expected] : cases) {
    EXPECT_EQ(Show(RewriteAhead(Parse(source).get()).get()), expected) << source;
  }
  // 27 places are left for the place error; the pair let is expanded.
  std::string many = "p q{V 1 2}";
  for (char c = 'a'; c <= 'z'; ++c) many += std::string("n") + c + "\\";
  many += "v\\v";
  CellRef out = RewriteAhead(Parse(many.c_str()).get());
  const PlaceLists lists = CollectPlaces(out.get());
  EXPECT_EQ(lists.multi.size(), 26u);
  EXPECT_EQ(Names({lists.single.begin(), lists.single.end()}), "p q v");
}

}  // namespace
}  // namespace mox
