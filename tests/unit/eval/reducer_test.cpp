// The reducer on hand-built definitions: evaluation order, lazy and strict
// heads, lets and lambdas, parameterless globals and cycles, error escapes,
// and deep recursion without host stack growth.
#include <gtest/gtest.h>

#include "core/run_end.h"
#include "eval/operators.h"
#include "eval/reducer.h"
#include "eval/substitute.h"
#include "program/analyse.h"
#include "program/globals.h"
#include "support/leak_checked_test.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

using testing_notation::Show;
using testing_notation::Tree;

class ReducerTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    Define("K", "(\\ a (\\ b a))");
    Define("I", "(\\ a a)");
    Define("S", "(\\ a (\\ b (\\ c (a c (b c)))))");
    Define("B", "(\\ a (\\ b (\\ c (a (b c)))))");
    Define("T", "(\\ a (\\ b (b a)))");
    Define("V", "(\\ a (\\ b (\\ c (c a b))))");
    Define("J", "(\\ a (\\ b (\\ c (V a b))))");
    Define("Z", "(\\ a Z)");
    Define("H", "(\\ a I)");
    Define("\\", "(\\ a (\\ b (\\ c Z)))");
    Define("{", "(\\ a (\\ b (\\ c Z)))");
    Define("id", "(\\ x x)");
  }
  void Define(const char* name, const char* tree) { Globals().Set(Text(name), Tree(tree)); }
  std::string Eval(const char* tree) { return Show(Evaluate(Tree(tree)).get()); }
};

TEST_F(ReducerTest, CombinatorsAndEvaluationOrder) {
  EXPECT_EQ(Eval("5"), "5");
  EXPECT_EQ(Eval("K 1 2"), "1");
  EXPECT_EQ(Eval("S K K (K 1 2)"), "1");
  EXPECT_EQ(Eval("B (K 7) I 3"), "7");
  EXPECT_EQ(Eval("T 4 (K 9)"), "9");
  // A pending argument under a lazy head is dropped unreduced: Y-like loop.
  Define("loop", "(\\ x (loop x))");
  EXPECT_EQ(Eval("K 1 (loop 0)"), "1");
  // Over-application parks surplus arguments: (K I 5) 6 = I 6 = 6.
  EXPECT_EQ(Eval("K I 5 6"), "6");
  // A global's arguments are reduced from the left, however deep the
  // spine above the first pending one: the first error ends it.
  Define("first3", "(\\ a (\\ b (\\ c a)))");
  EXPECT_EQ(Eval("first3 (]x [one] 1) (]x [two] 1) (]x [three] 1)"), "][one]");
  EXPECT_EQ(Eval("first3 1 (]x [two] 1) (]x [three] 1)"), "][two]");
  EXPECT_EQ(Eval("first3 (K 4 0) (I 5) (K I 6 7)"), "4");
}

TEST_F(ReducerTest, LambdasAndLets) {
  EXPECT_EQ(Eval("((\\ x) (x x)) K"), "(K K)");
  Define("twice", "(\\ a (\\ a a))");  // the later parameter wins
  EXPECT_EQ(Eval("twice 1 2"), "2");
  // let x = K 1 2 in (x x): the bound expression is reduced first.
  EXPECT_EQ(Eval("(({ x) (K 1 2)) (V x x)"), "((V 1) 1)");
  // A lambda node is a value even with a redex in its body.
  EXPECT_EQ(Eval("(\\ x) (K 1 2)"), "((\\ x) ((K 1) 2))");
}

TEST_F(ReducerTest, NestedLambdasTakeTheirParkedArgumentsAtOnce) {
  EXPECT_EQ(Eval("((\\ x) ((\\ y) (V x y))) 1 2"), "((V 1) 2)");
  EXPECT_EQ(Eval("((\\ x) ((\\ x) (V x x))) 1 2"), "((V 2) 2)");  // the inner x hides the outer
  EXPECT_EQ(Eval("((\\ x) ((\\ y) ((\\ z) (V x y)))) 1 2"), "((\\ z) ((V 1) 2))");
  EXPECT_EQ(Eval("((\\ K) ((\\ y) (V K y))) 1 2"), "((V K) 2)");  // a binder of no letter
  EXPECT_EQ(Eval("id (((\\ x) ((\\ y) y)) 1 2)"), "2");
  // A parked argument that is not a value is reduced, once, before its
  // lambda takes it: the lambda is a strict head.
  EXPECT_EQ(Eval("((\\ x) ((\\ y) (V y y))) 5 (K 1 2)"), "((V 1) 1)");
  // Ten lambdas deep, more than are taken in one substitution.
  std::string lambdas, arguments;
  for (char v = 'a'; v <= 'j'; ++v) lambdas += std::string("((\\ ") + v + ") ";
  for (int i = 1; i <= 10; ++i) arguments += " " + std::to_string(i);
  std::string expression = "(" + lambdas + "(V a j)" + std::string(10, ')') + ")" + arguments;
  EXPECT_EQ(Eval(expression.c_str()), "((V 1) 10)");
}

TEST_F(ReducerTest, SubstituteSharesAndRespectsBinders) {
  CellRef body = Tree("(\\ x) (x y)");
  CellRef value = Tree("v");
  AnalyseCell(value.get());
  CellRef x = MakeLeaf("x");
  CellRef same = Substitute(body.get(), x.get(), value.get());
  EXPECT_EQ(same.get(), body.get());  // x is bound: unchanged and shared
  CellRef let = Tree("(({ x) x) (x y)");
  CellRef out = Substitute(let.get(), x.get(), value.get());
  EXPECT_EQ(Show(out.get()), "((({ x) v) (x y))");  // y substituted, the body is in x's scope
}

TEST_F(ReducerTest, ParameterlessGlobalsAreEvaluatedOnceAndCyclesEscape) {
  Define("one", "K 1 2");
  EXPECT_EQ(Eval("V one one"), "((V 1) 1)");
  EXPECT_EQ(Show((*Globals().Find("one")).get()), "1");
  Define("fn", "K ((\\ x) x) 0");  // a lambda value is wrapped as B I (lambda)
  Eval("fn");
  EXPECT_EQ(Show((*Globals().Find("fn")).get()), "((B I) ((\\ x) x))");
  Define("g", "id g");
  EXPECT_EQ(Eval("V 1 (id g)"), ")g");
}

TEST_F(ReducerTest, UndefinedNameAtRunTimeEndsWithErrorTag) {
  CellRef call = Tree("id (gone 1)");
  Define("gone", "(\\ a a)");
  AnalyseCell(call.get());  // analysed while defined
  Globals().Erase("gone");
  EXPECT_EQ(Show(Evaluate(std::move(call)).get()), "]gone");
}

TEST_F(ReducerTest, ErrorTagAppliedToTwoArgumentsEnds) {
  EXPECT_EQ(Eval("id (]x [payload] 2)"), "][payload]");
}

TEST_F(ReducerTest, OperatorsBoundToBuiltinsAreCalledInOrder) {
  Define("plus", "(\\ a (\\ b Z))");  // a builtin's placeholder, as a run defines it
  Define("+", "plus");
  Define("-", "(\\ a (\\ b a))");  // bound to a function, not a builtin
  EXPECT_EQ(Eval("+ 2 3"), "5");
  EXPECT_EQ(Eval("+ (+ 1 2) (K 4 0)"), "7");
  EXPECT_EQ(Eval("- 8 9"), "8");
  EXPECT_EQ(Eval("+ 1"), "(plus 1)");  // too few arguments: the partial builtin
  // The arguments are reduced from the left: the first error ends it.
  EXPECT_EQ(Eval("+ (]x [first] 1) (]x [second] 1)"), "][first]");
  EXPECT_EQ(Eval("+ 1 (]x [second] 1)"), "][second]");
  // A comparison's truth value takes its branch: K the first, H (whose
  // answer I takes the next) the second, however many arguments follow.
  Define("less", "(\\ a (\\ b Z))");
  Define("<", "less");
  EXPECT_EQ(Eval("< 1 2 5 7"), "5");
  EXPECT_EQ(Eval("< 2 1 5 7"), "7");
  EXPECT_EQ(Eval("< 1 2 (K 5) 7 9"), "5");
  EXPECT_EQ(Eval("< 1 2 5"), "(K 5)");
  Define("pick", "(\\ n (< n 2 5 7))");  // the same from a template
  EXPECT_EQ(Eval("V (pick 1) (pick 3)"), "((V 5) 7)");
  Define("K", "(\\ a (\\ b b))");  // what K selects is read from its definition
  EXPECT_EQ(Eval("< 1 2 5 7"), "7");
  EXPECT_EQ(Eval("pick 1"), "7");
  // A body whose top operator meets its parked arguments (the template
  // unwinds the spine of + a 1 and the call takes both).
  Define("inc", "(\\ a (+ a 1))");
  EXPECT_EQ(Eval("inc (inc 5)"), "7");
}

TEST_F(ReducerTest, BranchesOfStrictCallsRunAsTheStepLoopWould) {
  for (const char* name : {"plus", "dash", "less"}) Define(name, "(\\ a (\\ b Z))");
  Define("+", "plus");
  Define("-", "dash");
  Define("<", "less");
  struct Case {
    const char* name;
    const char* definition;
    const char* expression;
    const char* value;
  };
  const Case cases[] = {
      {"nfib", "(\\ n (< n 2 1 (+ (+ (nfib (- n 1)) (nfib (- n 2))) 1)))", "nfib 10", "177"},
      // Calls are made innermost first, left to right: the first error ends it.
      {"fail", "(\\ a (]x a 1))", "fail 1", "]1"},
      {"both", "(\\ n (< n 1 0 (+ (fail [first]) (+ n (fail [second])))))", "both 5", "][first]"},
      // A million deep, and a million tail calls (which keep no activation).
      {"sum", "(\\ n (< n 1 0 (+ n (sum (- n 1)))))", "sum 1000000", "500000500000"},
      {"count", "(\\ n (\\ k (< n 1 k (count (- n 1) (+ k 1)))))", "count 1000000 0", "1000000"},
      // An answer that is not a value yet is reduced before it is used.
      {"lazy", "(\\ n (K n 0))", "lazy 3", "3"},
      {"twice", "(\\ n (< n 1 0 (+ (lazy n) (twice (- n 1)))))", "twice 4", "10"},
  };
  for (const Case& c : cases) {
    Define(c.name, c.definition);
    EXPECT_EQ(Eval(c.expression), c.value) << c.expression;
  }
  // Operators are looked up as their nodes are reached: + bound to a
  // function has its node built and reduced by the step loop.
  Define("+", "(\\ a (\\ b a))");
  EXPECT_EQ(Eval("nfib 6"), "1");
  EXPECT_EQ(Eval("sum 3"), "3");
}

TEST_F(ReducerTest, ComparisonsInTestsTakeTheBranchTheirTruthLeafSelects) {
  // A test's comparison answers a bool, and the branch is read from the
  // definition of K or H as it stands; a truth value that selects neither
  // branch is made and applied to both, as the step loop would.
  Define("less", "(\\ a (\\ b Z))");
  Define("<", "less");
  Define("pick", "(\\ n (< n 2 [low] [high]))");
  EXPECT_EQ(Eval("pick 1"), "[low]");
  EXPECT_EQ(Eval("pick 5"), "[high]");
  Define("K", "(\\ a (\\ b b))");
  EXPECT_EQ(Eval("pick 1"), "[high]");
  Define("K", "(\\ a (\\ b 7))");
  EXPECT_EQ(Eval("pick 1"), "7");
  Define("I", "(\\ a 8)");  // H a = I, but I no longer takes its argument
  EXPECT_EQ(Eval("pick 5"), "8");
  Define("H", "(\\ a (\\ b 9))");
  EXPECT_EQ(Eval("pick 5"), "9");
}

TEST_F(ReducerTest, MillionDeepNonTailRecursion) {
  // walk l = l Z (\h \t id (walk t)): a list cell J h t applied to anything
  // is the pair V h t; id is strict, so each level leaves a frame.
  Define("walk", "(\\ l (l Z ((\\ h) ((\\ t) (id (walk t))))))");
  CellRef list = MakeLeaf("K");
  for (int i = 0; i < 1'000'000; ++i) list = MakeApp(MakeApp(MakeLeaf("J"), MakeLeaf("1")), std::move(list));
  CellRef result = Evaluate(MakeApp(MakeLeaf("walk"), std::move(list)));
  EXPECT_EQ(Show(result.get()), "Z");
}

TEST_F(ReducerTest, ListCellsAreKnownByTheirConstructorsDefinitions) {
  // A list taken apart without its lambda built reads J and V as defined
  // when it is taken apart (an answer kept from their definitions goes
  // when either is replaced); a pair of any other making is no list cell.
  Cell* h = nullptr;
  Cell* t = nullptr;
  CellRef cell = Evaluate(Tree("J 1 2"));
  ASSERT_TRUE(ListParts(cell.get(), &h, &t));
  EXPECT_EQ(Show(h), "1");
  EXPECT_EQ(Show(t), "2");
  EXPECT_FALSE(ListParts(Evaluate(Tree("V 1 2")).get(), &h, &t));
  Define("P", "(\\ x (\\ y (\\ z (V x y))))");  // another name, the same constructor
  EXPECT_TRUE(ListParts(Evaluate(Tree("P 1 2")).get(), &h, &t));
  Define("V", "(\\ a (\\ b (\\ c (c b a))))");
  EXPECT_FALSE(ListParts(cell.get(), &h, &t));
  Define("V", "(\\ a (\\ b (\\ a (a a b))))");  // its third parameter hides the first
  EXPECT_FALSE(ListParts(cell.get(), &h, &t));
  Define("V", "(\\ a (\\ b (\\ f (f a b))))");
  EXPECT_TRUE(ListParts(cell.get(), &h, &t));
  Define("J", "(\\ a (\\ b (\\ c (V b a))))");
  EXPECT_FALSE(ListParts(cell.get(), &h, &t));
  EXPECT_FALSE(ListParts(cell.get(), &h, &t));  // asked again: the answer kept
  Define("J", "(\\ a (\\ b (\\ c (V a b))))");
  EXPECT_TRUE(ListParts(cell.get(), &h, &t));
}

TEST_F(ReducerTest, DeepDefinitionBodiesAreSubstitutedWithoutRecursion) {
  // deep x = id (id (... (id x))), 300,000 levels.
  CellRef body = MakeLeaf("x");
  for (int i = 0; i < 300'000; ++i) body = MakeApp(MakeLeaf("id"), std::move(body));
  Globals().Set(Text("deep"), MakeApp(MakeApp(MakeLeaf("\\"), MakeLeaf("x")), std::move(body)));
  EXPECT_EQ(Eval("deep 5"), "5");
}

}  // namespace
}  // namespace mox
