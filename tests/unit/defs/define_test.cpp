// The prelude and the definition stage: what ends up in the tables (the
// stage's reports are pinned by tests/programs/defs).
#include <gtest/gtest.h>

#include "core/run_end.h"
#include "defs/define.h"
#include "defs/prelude.h"
#include "program/builtin_table.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

using testing_notation::Show;

std::string Defined(std::string_view key) {
  const CellRef* definition = Globals().Find(key);
  return definition == nullptr ? "<none>" : Show(definition->get());
}

TEST(Prelude, DefinesFiftyTwoEntriesUnderTheirKeys) {
  LoadPrelude();
  EXPECT_EQ(Globals().size(), 52u);
  EXPECT_EQ(PreludeSnapshot().size(), 52u);
  EXPECT_EQ(Defined("+"), "plus");
  EXPECT_EQ(Defined("[+]"), "<none>");
  // Commas inside call lists and the literal [,] do not cut definitions.
  EXPECT_EQ(Defined("U"), "((\\ a) ((\\ b) ((\\ c) ((\\ d) ((\\ e) ((e ((V a) b)) ((V c) d)))))))");
  EXPECT_EQ(Defined(","), "I");
  EndRun();
}

TEST(Builtins, RegistryHoldsAllNamesOnce) {
  EXPECT_EQ(GetBuiltinTable().size(), 256u);
  EXPECT_EQ(FindBuiltin("Plus"), nullptr);
  EXPECT_EQ(FindBuiltin(""), nullptr);
}

struct Defining : ::testing::Test {
  void SetUp() override { LoadPrelude(); }
  void TearDown() override { EndRun(); }
  Report Define(const char* source) {
    Report report = AllClearReport();
    Text text(source);
    DefineProgram(report, text);
    return report;
  }
};

TEST_F(Defining, MainExpressionAndPlaceholders) {
  EXPECT_TRUE(Define("42").IsAllClear());
  EXPECT_EQ(Defined(""), "42");
  EXPECT_EQ(Defined("abs"), "((\\ a) Z)");
  EXPECT_EQ(Defined("plus"), "((\\ a) ((\\ b) Z))");
  EXPECT_EQ(Defined("cray"), "Z");
  EXPECT_TRUE(Define(",K\\a\\a").IsAllClear());
  EXPECT_EQ(Defined(""), "}");
  EXPECT_EQ(Defined("K"), "((\\ a) a)");  // the prelude's K replaced
}

TEST_F(Defining, ConstantDefinitionsAndTheirRemoval) {
  EXPECT_TRUE(Define("0,now()\\plus(1,2)").IsAllClear());
  EXPECT_EQ(Defined("now"), "(I ((plus 1) 2))");
  EXPECT_EQ(EmptyCallDefinitions().count(std::string_view("now")), 1u);
  EXPECT_TRUE(Define("0,now()\\1,now\\3").IsAllClear());
  EXPECT_EQ(EmptyCallDefinitions().count(std::string_view("now")), 0u);
}

TEST_F(Defining, BacktickLinesAreStampedInOrder) {
  EXPECT_TRUE(Define("`a,\n\n fn\\x\\`x+[`]+`x").IsAllClear());
  auto line_of = [](const Cell* c) { return c->Field(); };
  const Cell* main = (*Globals().Find("")).get();
  EXPECT_EQ(line_of(main->f), 1u);  // (` a)
  const Cell* f = (*Globals().Find("fn")).get();
  // ((\ x) body), body = ((+ ((+ (` x)) [`])) (` x))
  ASSERT_EQ(Show(f), "((\\ x) ((+ ((+ (` x)) [`])) (` x)))");
  const Cell* body = f->a;
  EXPECT_EQ(line_of(body->f->a->f->a->f), 3u);
  EXPECT_EQ(line_of(body->a->f), 3u);
}

TEST(ShortenSubject, FiveBytesAndLongNames) {
  EXPECT_EQ(ShortenSubject("hello"), "hello \"");
  EXPECT_EQ(ShortenSubject("hi"), "hi");
  Text longer(std::string(100, 'n'));
  EXPECT_EQ(ShortenSubject(longer), Text(std::string(69, 'n') + "..."));
  EXPECT_EQ(ShortenSubject(Text(std::string(72, 'n'))).size(), 72);
}

}  // namespace
}  // namespace mox
