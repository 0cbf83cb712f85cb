// Expression trees: tiers, associativity, affix operators, call and brace
// lists, tokens and atoms, in the notation (F A) with raw leaf texts.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "front/parser.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

void ExpectTrees(const std::vector<std::pair<const char*, const char*>>& cases) {
  for (const auto& [text, tree] : cases) {
    EXPECT_EQ(testing_notation::Show(ParseExpression(text).get()), tree) << "text: " << text;
  }
}

TEST(Parser, EmptyPiecesAreTheRightWing) {
  ExpectTrees({{"", "}"}, {"()", "}"}, {"g()", "(g })"}, {"g(a,,b)", "(((g a) }) b)"},
               {"-x", "((- }) x)"}, {"a+", "((+ a) })"}, {"{}", "((({ }) }) })"}, {";", "((; }) })"}});
}

TEST(Parser, InfixTiersAndAssociativity) {
  ExpectTrees({
      {"a+b*c", "((+ a) ((* b) c))"}, {"a-b-c", "((- ((- a) b)) c)"}, {"a^b^c", "((^ a) ((^ b) c))"},
      {"a^b*c", "((* ((^ a) b)) c)"}, {"a#b>c", "((# a) ((> b) c))"}, {"a&b|c", "((& a) ((| b) c))"},
      {"a=b&c", "((& ((= a) b)) c)"}, {"a?b?c", "((? ((? a) b)) c)"}, {"a\nb", "((T a) b)"},
      {"a%b'c/d", "((/ ((' ((% a) b)) c)) d)"}, {"a.g", "((. a) g)"}, {"g:x", "((: g) x)"},
      {"a;b\\c", "((; a) ((\\ b) c))"}, {"x\\y\\x", "((\\ x) ((\\ y) x))"},
      // the left pieces of tier one go to tier two
      {"a?b;c?d", "((; ((? a) b)) ((? c) d))"}, {"f\\x\\x+1", "((\\ f) ((\\ x) ((+ x) 1)))"},
  });
}

TEST(Parser, SpaceBindsLooserThanAdjacency) {
  ExpectTrees({
      {"a b c", "((a b) c)"}, {"a Ya b", "((a (Y a)) b)"}, {"a+b c+d", "(((+ a) b) ((+ c) d))"},
      {"a@b c", "(((@ a) b) c)"}, {"a b@c", "((@ (a b)) c)"}, {"a b=c", "((= (a b)) c)"},
      {"VKZ", "((V K) Z)"}, {"Lb", "(L b)"}, {"foo12", "(foo 12)"}, {"(a b)c", "((a b) c)"},
  });
}

TEST(Parser, AffixOperators) {
  ExpectTrees({
      {"~", "(~ })"}, {"~!", "(! (~ }))"}, {"x!~", "(~ (! x))"}, {"!x~", "(~ (! x))"}, {"~~x", "(~ (~ x))"},
      {"g~x!y", "((g (~ x)) (! y))"}, {"f!~x~!y", "((f (! (~ x))) (~ (! y)))"}, {"x!y~", "(~ (x (! y)))"},
      {"$a`b\"", "(\" ($ (a (` b))))"}, {"Gx~Hy", "((G x) (~ (H y)))"}, {"a+~b", "((+ a) (~ b))"},
  });
}

TEST(Parser, CallListsBraceListsAndGroups) {
  ExpectTrees({
      {"g(a,b)", "((g a) b)"}, {"g(a)(b)", "((g a) b)"}, {"(a)(b)", "(a b)"}, {"(f)(a,b)", "((f a) b)"},
      {"V(Va(Qb),Va(Rb))", "((V ((V a) (Q b))) ((V a) (R b)))"}, {"g(a+b,c d)", "((g ((+ a) b)) (c d))"},
      {"g(x)y", "((g x) y)"}, {"((((a))))", "a"},
      {"g~(a,b)", "(g (~ (a, b)))"},  // a group after "~" is not a call list
      {"{a}", "((({ }) a) })"}, {"x{a,b,c}y", "((({ x) ((, a) ((, b) c))) y)"}, {"x{a,}y", "((({ x) ((, a) })) y)"},
      {"a{b}c{d}e", "((({ a) b) ((({ c) d) e))"}, {"f\\x\\x{y}z", "((\\ f) ((\\ x) ((({ x) y) z)))"},
      {"x{y;z}w", "((({ x) ((; y) z)) w)"}, {"p q{y}z", "((({ (p q)) y) z)"},
  });
}

TEST(Parser, AtomsLiteralsAndStrayCommas) {
  ExpectTrees({
      {"[ab cd]", "[ab cd]"}, {"[a[b]]c", "([a[b]] c)"}, {"[(]+[;{]", "((+ [(]) [;{])"}, {"x1", "(x 1)"},
      {"a_b", "a_b"}, {"K\tS", "((K \t) S)"},
      // a stray comma extends the token before it (only groups such as
      // "~(a,b)" or a whole program with its top-level commas show one)
      {"a,b", "(a, b)"}, {",,a", "(,, a)"}, {"K,", "K,"}, {"(a),", "(a ,)"},
  });
  EXPECT_EQ(ParseExpression("123")->Field(), 3u);  // numbers carry their length
  CellRef tree = ParseExpression("a\\b");
  ASSERT_TRUE(tree->IsApp() && tree->f->IsApp());
  EXPECT_TRUE(IsLeafText(tree->f->f, "\\"));
  EXPECT_EQ(tree->f->f->Count(), 1u);  // operator leaves are one-byte texts, not shared
}

TEST(FindTopLevel, SkipsGroupsButSeesOpeningBraces) {
  EXPECT_EQ(FindTopLevel("a,(b,c),[,],{d,e},f", ByteSet(",")), (std::vector<int64_t>{1, 7, 11, 17}));
  EXPECT_EQ(FindTopLevel("a{b}c{d}", ByteSet("{")), (std::vector<int64_t>{1, 5}));
  EXPECT_TRUE(FindTopLevel("", ByteSet(",")).empty());
}

}  // namespace
}  // namespace mox
