// CheckProgram on whole programs (prelude, definitions, checks), and the
// passes on a separate table with the GlobalTable's names counting as
// defined, as the run-time loaders use them. Reports are compared field by
// field; programs that pass are evaluated on the argument 0.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/run_end.h"
#include "defs/check.h"
#include "defs/check_passes.h"
#include "defs/define.h"
#include "defs/prelude.h"
#include "eval/reducer.h"
#include "front/normalize.h"
#include "front/parser.h"
#include "program/sharing.h"
#include "support/leak_checked_test.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

using testing_notation::Show;

struct Fields {
  std::string title, say, vip, tip;
};

Fields Of(const Report& r) {
  return {std::string(r.title.view()), std::string(r.say.view()), std::string(r.vip.view()),
          std::string(r.tip.view())};
}

void ExpectFields(const Report& r, const Fields& want) {
  Fields got = Of(r);
  EXPECT_EQ(got.title, want.title);
  EXPECT_EQ(got.say, want.say);
  EXPECT_EQ(got.vip, want.vip);
  EXPECT_EQ(got.tip, want.tip);
  EXPECT_TRUE(r.way.empty());
}

class CheckProgramTest : public LeakCheckedTest {
 protected:
  Report Check(const std::string& program) {
    LoadPrelude();
    Text text(program);
    Report report = AllClearReport();
    DefineProgram(report, text);
    EXPECT_TRUE(report.IsAllClear()) << report.say.view();
    if (report.IsAllClear()) CheckProgram(report);
    return report;
  }
  // Checks the program and evaluates its main expression applied to 0.
  std::string Run(const std::string& program) {
    Report report = Check(program);
    if (!report.IsAllClear()) return "[" + std::string(report.title.view()) + "]";
    CellRef main = (*Globals().Find("")).Copy();
    return Show(Evaluate(MakeApp(std::move(main), MakeLeaf("0"))).get());
  }
  std::string Definition(std::string_view key) {
    const CellRef* definition = Globals().Find(key);
    return definition == nullptr ? "none" : Show(definition->get());
  }
};

TEST_F(CheckProgramTest, FunkyKeys) {
  ExpectFields(Check("(a+b)\\x"), {"funky", "Funky key in expression (+a b).", "", "(+a b)"});
  ExpectFields(Check("a\\1,ff\\(a+b)\\x"),
               {"funky", "Funky key in expression (+a b) in function ff.", "ff", "(+a b)"});
  ExpectFields(Check("a\\1,hello\\x\\3\\x"),
               {"funky", "Funky key in expression 3 in function hello.", "hello \"", "3"});
  // The empty expression cannot be shortened with balanced brackets.
  ExpectFields(Check("\\x"), {"funky", "Funky key in expression }.", "", "}"});
  ExpectFields(Check("a\\1,ff\\g()\\x"), {"funky", "Funky key in expression g} in function ff.", "ff", "g}"});
  // The first definition in key order decides; funky comes before alive.
  EXPECT_EQ(Of(Check("undefined,bb\\(1)\\x,aa\\(2)\\x")).vip, "aa");
  // A long key is shortened for the tip.
  std::string chain = "a\\1,ff\\(" + std::string(40, 'g') + "+" + std::string(40, 'h') + ")\\x";
  Report r = Check(chain);
  EXPECT_EQ(r.tip.size(), 72);
  EXPECT_EQ(r.tip.view().substr(0, 3), "(+g");
  EXPECT_EQ(r.tip.view().back(), ')');
}

TEST_F(CheckProgramTest, Liveness) {
  ExpectFields(Check("gg(1)"), {"alive", "Alive function TOP references undefined gg.", "TOP", "gg"});
  // The smallest name is examined first: bb is reached before zz.
  ExpectFields(Check("a\\zz(aa),aa\\bb,zz\\x\\x"),
               {"alive", "Alive function aa references undefined bb.", "aa", "bb"});
  // A later referrer replaces an earlier one.
  ExpectFields(Check("a\\aa(bb),aa\\qq,bb\\qq"),
               {"alive", "Alive function bb references undefined qq.", "bb", "qq"});
  // The empty expression is the name "}", which the prelude leaves unbound.
  ExpectFields(Check("a\\K(1,())"), {"alive", "Alive function TOP references undefined [}].", "TOP", "}"});
  EXPECT_EQ(Run("a\\K(1,()),[}]\\2"), "1");
  // An unbound single letter of the main expression is an undefined name.
  ExpectFields(Check("x"), {"alive", "Alive function TOP references undefined x.", "TOP", "x"});
  // Names of five bytes get the subject mark.
  ExpectFields(Check("a\\hello,hello\\xyzzy"),
               {"alive", "Alive function hello references undefined xyzzy.", "hello \"", "xyzzy \""});
}

TEST_F(CheckProgramTest, PruningRemovesDeadCodeWithUndefinedNames) {
  EXPECT_EQ(Run("a\\3,hh\\x\\qq,ii\\hh,jj\\ii(1),kk\\x\\x"), "3");
  EXPECT_EQ(Definition("hh"), "none");
  EXPECT_EQ(Definition("ii"), "none");
  EXPECT_EQ(Definition("jj"), "none");
  EXPECT_EQ(Definition("kk"), "((\\ x) x)");  // dead, but complete: kept
  EXPECT_TRUE(PreludeSnapshot().empty());
}

TEST_F(CheckProgramTest, PruningRestoresPreludeDefinitions) {
  EXPECT_EQ(Run("a\\3,K\\a\\b\\undefinedthing,[+]\\nothing"), "3");
  EXPECT_EQ(Definition("K"), "((\\ a) ((\\ b) a))");
  EXPECT_EQ(Definition("+"), "plus");
  // A redefinition that needs nothing undefined stays.
  EXPECT_EQ(Run("a\\K(4,5),K\\a\\b\\b"), "5");
}

TEST_F(CheckProgramTest, PlacesRenameLocalNamesToFreeLetters) {
  EXPECT_EQ(Run("a\\ff(3,4),ff\\first\\second\\first"), "3");
  Check("a\\1,ff\\alpha\\c\\beta\\alpha(beta)");
  EXPECT_EQ(Definition("ff"), "((\\ a) ((\\ c) ((\\ b) (a b))))");
  // The letter given to zeta is visible when zeta is also used unbound.
  ExpectFields(Check("a\\gg(1),gg\\a\\(zeta\\zeta) zeta"),
               {"local", "Local variable b unbound in function gg.", "gg", "b"});
}

TEST_F(CheckProgramTest, TwentySixPlaces) {
  // 26 local names pass: one parameter and 25 lets.
  std::string program = "a\\ff(3),ff\\p\\";
  std::string body = "p";
  for (int i = 0; i < 25; ++i) body = "n" + std::string(2, static_cast<char>('a' + i)) + "{p}" + body;
  EXPECT_EQ(Run(program + body), "3");
  ExpectFields(Check(program + "nzz{p}" + body), {"place", "Place error in function ff.", "ff", ""});
  std::string letters;
  for (char c = 'a'; c <= 'z'; ++c) letters += std::string(1, c) + "\\";
  ExpectFields(Check(letters + "zz\\1"), {"place", "Place error.", "", ""});
}

TEST_F(CheckProgramTest, Arity) {
  EXPECT_EQ(Run("a\\ff(1,2,3,4,5,6,7,8,9,10),ff\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j\\j"), "10");
  ExpectFields(Check("a\\1,ff\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j\\k\\k"),
               {"arity", "Arity of function ff may not exceed ten.", "ff", ""});
  // Place comes before arity.
  EXPECT_EQ(Of(Check("a\\1,ff\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j\\k\\l\\m\\n\\o\\p\\q\\r\\s\\t\\u\\v\\w\\x\\y\\z\\zz\\k")).title,
            "place");
}

TEST_F(CheckProgramTest, UnboundLocals) {
  ExpectFields(Check("a\\1,ff\\(q\\p\\q) p q"), {"local", "Local variable p unbound in function ff.", "ff", "p"});
  ExpectFields(Check("(q\\q) q"), {"local", "Local variable q unbound.", "", "q"});
  // Dead definitions are checked too.
  EXPECT_EQ(Of(Check("a\\1,[}]\\(x\\x) x")).vip, "}");
}

TEST_F(CheckProgramTest, PairLets) {
  EXPECT_EQ(Run("a\\p q{V 1 2}p"), "1");
  EXPECT_EQ(Run("a\\p q{V 1 2}q"), "2");
  EXPECT_EQ(Run("a\\first second{V 1 2}second"), "2");
}

TEST_F(CheckProgramTest, Backticks) {
  Check("a\\`(K 5 6)");
  EXPECT_EQ(Definition(""), "((\\ a) 5)");  // closed: evaluated now
  Check("\n\na\\`(K 5 a)");
  EXPECT_EQ(Definition(""), "((\\ a) ((((U 3) []) [K5a]) ((K 5) a)))");
  Check("a\\ff(1),ff\\x\\`(K x),gg\\`U");
  EXPECT_EQ(Definition("ff"), "((\\ x) ((((U 1) [ff]) [Kx]) (K x)))");
  EXPECT_EQ(Definition("gg"), "((((U 1) [gg]) [U]) U)");
  // Inner backticks first: the closed inner one is a value by the time the
  // outer one is looked at.
  Check("a\\`(K a `(K 1 2))");
  EXPECT_EQ(Definition(""), "((\\ a) ((((U 1) []) [Ka1]) ((K a) 1)))");
  Check("a\\`(x\\x `(K 1 2))");
  EXPECT_EQ(Definition(""), "((\\ a) ((\\ x) (x 1)))");
  // A line number is not a set of variables: gg's backtick (on line 1, the
  // bit of `a`) must not be taken for the parameter a when main evaluates gg.
  Check("`(gg 1),gg\\a\\`a");
  EXPECT_EQ(Definition(""), "Z");
}

TEST_F(CheckProgramTest, SharingAndAnalysis) {
  EXPECT_EQ(Run("a\\ff(gg(1)),ff\\x\\K(x,7),gg\\x\\K(x,7)"), "1");
  Check("a\\ff(gg(1)),ff\\x\\K(x,7),gg\\x\\K(x,7)");
  auto& g = Globals();
  EXPECT_EQ((*g.Find("ff")).get(), (*g.Find("gg")).get());
  EXPECT_GT(SharingTableSize(), 0u);
  for (const auto& [key, value] : g) EXPECT_TRUE(value->Analysed()) << key.view();
  EXPECT_EQ(Definition("_").substr(0, 11), "[[addrinfo[");
}

// Deep programs: every pass must work without host recursion.
std::string Repeat(const std::string& piece, int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += piece;
  return s;
}

TEST_F(CheckProgramTest, DeepPrograms) {
  constexpr int kDeep = 100000;
  EXPECT_EQ(Run("a\\" + Repeat("K(0,", kDeep) + "1" + Repeat(")", kDeep)), "0");
  EXPECT_EQ(Run("a\\" + Repeat("(", kDeep) + "7" + Repeat(")", kDeep)), "7");
  EXPECT_EQ(Run("a\\K(0," + Repeat("foo\\", kDeep) + "foo)"), "0");
  EXPECT_EQ(Run("a\\" + Repeat("p q{V 1 2}", kDeep) + "q"), "2");
  EXPECT_EQ(Run("a\\" + Repeat("`(", kDeep) + "1" + Repeat(")", kDeep)), "1");
  EXPECT_EQ(Run("a\\K(" + Repeat("I ", kDeep) + "5,0)"), "5");
  EXPECT_EQ(Run("a\\K(0,[" + Repeat("[", kDeep) + Repeat("]", kDeep) + "])"), "0");
  ExpectFields(Check("a\\" + Repeat("(x\\", kDeep) + "x y" + Repeat(")", kDeep)),
               {"alive", "Alive function TOP references undefined y.", "TOP", "y"});
}

// The same through the interpreter itself: a file nested 100,000 deep.
TEST(CheckDeepFile, RunsThroughTheInterpreter) {
  constexpr int kDeep = 100000;
  std::string program = "a\\K(" + Repeat("(", kDeep) + "p q{V 7 2}p" + Repeat(")", kDeep) + "," +
                        Repeat("K(0,", kDeep) + "long\\long `(K 1 2)" + Repeat(")", kDeep) + ")";
  std::string path = testing::TempDir() + "deep_checks.mox";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(program.data(), 1, program.size(), file);
  std::fclose(file);
  int status = std::system((std::string(MOX_BINARY) + " " + path + " 2>/dev/null").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
  std::remove(path.c_str());
}

// The passes on a table of their own, as the loaders run them.
class LoaderScopeTest : public CheckProgramTest {
 protected:
  void Load(GlobalTable& local, const char* main, const char* key = nullptr, const char* value = nullptr) {
    local.Set(Text(), ParseExpression(NormalizeSource(Text(main))));
    if (key != nullptr) local.Set(Text(key), ParseExpression(NormalizeSource(Text(value))));
  }
};

TEST_F(LoaderScopeTest, GlobalNamesCountAsDefined) {
  ASSERT_TRUE(Check("a\\1,ff\\x\\x").IsAllClear());
  GlobalTable local;
  Load(local, "ff(gg(K))", "gg", "x\\x");
  CheckScope scope{local, &Globals()};
  Report report = AllClearReport();
  EXPECT_TRUE(CheckLiveness(scope, report));
  Load(local, "ff(hh)");
  EXPECT_FALSE(CheckLiveness(scope, report, AliveWording::kRoad));
  ExpectFields(report, {"alive", "Alive function TOP references undefined function hh.", "TOP", "hh"});
  local.Clear();
}

TEST_F(LoaderScopeTest, PruningTouchesOnlyTheLocalTable) {
  ASSERT_TRUE(Check("a\\1,ff\\x\\x").IsAllClear());
  GlobalTable local;
  Load(local, "ff(1)", "gg", "x\\qq");
  local.Set(Text("hh"), ParseExpression("ff"));
  CheckScope scope{local, &Globals()};
  PruneDeadCode(scope, nullptr);
  EXPECT_FALSE(local.Contains("gg"));
  EXPECT_TRUE(local.Contains("hh"));
  EXPECT_EQ(Definition("ff"), "((\\ x) x)");
  Report report = AllClearReport();
  local.Set(Text("ii"), ParseExpression(NormalizeSource(Text("long\\name\\long"))));
  EXPECT_TRUE(AllocatePlaces(local, report));
  EXPECT_EQ(Show((*local.Find("ii")).get()), "((\\ a) ((\\ b) a))");
  local.Clear();
}

}  // namespace
}  // namespace mox
