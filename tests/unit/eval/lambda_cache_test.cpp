// Lambda templates: a lambda the sharing table holds gets one on its second
// use; a lambda made at run time gets none, and the cache holds no count on
// it (a count would keep the values put into it alive).
#include <gtest/gtest.h>

#include "eval/lambda_cache.h"
#include "program/analyse.h"
#include "program/globals.h"
#include "program/sharing.h"
#include "support/leak_checked_test.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

using testing_notation::Tree;

class LambdaCacheTest : public LeakCheckedTest {};

TEST_F(LambdaCacheTest, SharedLambdasGetTemplatesOthersAreNotHeld) {
  CellRef made = Tree("(\\ x) ((\\ y) (V x y))");
  AnalyseCell(made.get());
  EXPECT_EQ(LambdaTemplate(made.get(), 2), nullptr);
  EXPECT_EQ(LambdaTemplate(made.get(), 2), nullptr);
  EXPECT_EQ(made->Count(), 1u);

  CellRef shared = ShareValue(Tree("(\\ p) ((\\ q) (V q p))").get());
  AnalyseCell(shared.get());
  ASSERT_TRUE(IsSharedApplication(shared.get()));
  EXPECT_EQ(LambdaTemplate(shared.get(), 2), nullptr);  // first use: substituted
  const Template* both = LambdaTemplate(shared.get(), 2);
  ASSERT_NE(both, nullptr);
  EXPECT_EQ(both->arguments, 2);
  // Taking the outer lambda alone is another template, of one argument.
  EXPECT_EQ(LambdaTemplate(shared.get(), 1), nullptr);
  const Template* outer = LambdaTemplate(shared.get(), 1);
  ASSERT_NE(outer, nullptr);
  EXPECT_EQ(outer->arguments, 1);
}

// A lambda's body that tests, (n<1)(0)(f n), is a test however its
// branches use the arguments: only an argument in the function chain of
// the top would leave its arity unknown.
TEST_F(LambdaCacheTest, ATestIsFoundThoughABranchAppliesAnArgument) {
  Globals().Set(Text("<"), Tree("K"));  // an operator: a name of no parameters
  CellRef shared = ShareValue(Tree("(\\ f) ((\\ n) (< n 1 0 (f n)))").get());
  AnalyseCell(shared.get());
  LambdaTemplate(shared.get(), 2);
  const Template* t = LambdaTemplate(shared.get(), 2);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->test.arity, 2);
  CellRef chain = ShareValue(Tree("(\\ f) ((\\ n) (f n 1 0 (f n)))").get());
  AnalyseCell(chain.get());
  LambdaTemplate(chain.get(), 2);
  t = LambdaTemplate(chain.get(), 2);
  ASSERT_NE(t, nullptr);
  EXPECT_EQ(t->test.arity, 0);
  EXPECT_TRUE(t->parked.empty());
}

}  // namespace
}  // namespace mox
