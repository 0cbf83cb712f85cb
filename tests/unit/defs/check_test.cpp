// CheckProgram on whole programs (prelude, definitions, checks), deep
// programs, and the passes on a separate table as the run-time loaders use
// them. Reports are compared field by field; programs that pass are
// evaluated on the argument 0.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

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
#include "support/many_definitions.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

using testing_notation::Show;

// A report's fields as "title|say|vip|tip|way".
std::string Fields(const Report& r) {
  std::string out(r.title.view());
  for (const Text* field : {&r.say, &r.vip, &r.tip, &r.way}) out += "|" + std::string(field->view());
  return out;
}

class CheckProgramTest : public LeakCheckedTest {
 protected:
  Report Check(const std::string& program) {
    LoadPrelude();
    Text text(program);
    Report report = AllClearReport();
    DefineProgram(report, text);
    const CellRef* fna = Globals().Find("fna");
    shared_as_parsed_ = fna != nullptr && IsSharedApplication(fna->get());
    EXPECT_TRUE(report.IsAllClear()) << report.say.view();
    if (report.IsAllClear()) CheckProgram(report);
    return report;
  }
  // Whether fna's definition was shared as soon as the last program checked
  // was defined.
  bool shared_as_parsed_ = false;
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

// The common reports of each check are pinned by tests/programs/checks;
// here the orders between checks and names, and the rarer shapes.
TEST_F(CheckProgramTest, FunkyKeys) {
  // The empty expression cannot be shortened with balanced brackets.
  EXPECT_EQ(Fields(Check("\\x")), "funky|Funky key in expression }.||}|");
  EXPECT_EQ(Fields(Check("a\\1,ff\\g()\\x")), "funky|Funky key in expression g} in function ff.|ff|g}|");
  // The first definition in key order decides; funky comes before alive.
  EXPECT_EQ(Check("undefined,bb\\(1)\\x,aa\\(2)\\x").vip, "aa");
  // A long key is shortened for the tip.
  Report r = Check("a\\1,ff\\(" + std::string(40, 'g') + "+" + std::string(40, 'h') + ")\\x");
  EXPECT_EQ(std::string(r.tip.view()), "(+" + std::string(40, 'g') + " " + std::string(28, 'h') + ")");
}

TEST_F(CheckProgramTest, Liveness) {
  // The smallest name is examined first: bb is reached before zz.
  EXPECT_EQ(Fields(Check("a\\zz(aa),aa\\bb,zz\\x\\x")), "alive|Alive function aa references undefined bb.|aa|bb|");
  // An unbound single letter of the main expression is an undefined name.
  EXPECT_EQ(Fields(Check("x")), "alive|Alive function TOP references undefined x.|TOP|x|");
  // Names of five bytes get the subject mark.
  EXPECT_EQ(Fields(Check("a\\hello,hello\\xyzzy")),
            "alive|Alive function hello references undefined xyzzy.|hello \"|xyzzy \"|");
}

// Tens of thousands of references, more than one block of the reference
// graph's list: a chain of definitions, each naming the next and a few
// dozen others, that ends in an undefined name.
std::string LetterName(const char* prefix, int i) {
  std::string s = prefix;
  do {
    s += static_cast<char>('a' + i % 26);
    i /= 26;
  } while (i > 0);
  return s;
}
std::string ChainProgram(const std::string& main) {
  constexpr int kChain = 3000, kCommon = 30;
  std::string program = main;
  for (int c = 0; c < kCommon; ++c) program += "," + LetterName("cm", c) + "\\x\\x";
  for (int i = 0; i < kChain; ++i) {
    program += "," + LetterName("fn", i) + "\\x\\x(" + (i + 1 < kChain ? LetterName("fn", i + 1) : "missing") + ")";
    for (int c = 0; c < kCommon; ++c) program += "(" + LetterName("cm", c) + ")";
  }
  return program;
}

TEST_F(CheckProgramTest, LongChainsOfReferences) {
  Report alive = Check(ChainProgram("a\\fna(a)"));
  EXPECT_EQ(std::string(alive.say.view()),
            "Alive function " + LetterName("fn", 2999) + " references undefined missing.");
  // Not reached from the main expression: the chain and what names it go.
  EXPECT_EQ(Run(ChainProgram("a\\cma(4)") + ",user\\fnzz(1),other\\cmb(2)"), "4");
  EXPECT_EQ(Definition("fna"), "none");
  EXPECT_EQ(Definition(LetterName("fn", 2999)), "none");
  EXPECT_EQ(Definition("user"), "none");
  EXPECT_EQ(Definition("other"), "(cmb 2)");
}

TEST_F(CheckProgramTest, PruningRemovesDeadCodeAndRestoresThePrelude) {
  EXPECT_EQ(Run("a\\3,hh\\x\\qq,ii\\hh,jj\\ii(1),kk\\x\\x,K\\a\\b\\undefinedthing,[+]\\nothing"), "3");
  for (const char* removed : {"hh", "ii", "jj"}) EXPECT_EQ(Definition(removed), "none") << removed;
  EXPECT_EQ(Definition("kk"), "((\\ x) x)");  // dead, but complete: kept
  EXPECT_EQ(Definition("K"), "((\\ a) ((\\ b) a))");
  EXPECT_EQ(Definition("+"), "plus");
  EXPECT_TRUE(PreludeSnapshot().empty());
}

TEST_F(CheckProgramTest, PruningFollowsCycles) {
  // rr and ss name each other and an undefined name; pp and qq, a cycle
  // of their own, reach them; uu and vv are a cycle that reaches nothing.
  EXPECT_EQ(Run("a\\3,tt\\pp,pp\\qq,qq\\pp(rr),rr\\ss,ss\\rr(missing),uu\\vv,vv\\uu(1),ww\\ww"), "3");
  for (const char* removed : {"pp", "qq", "rr", "ss", "tt"}) EXPECT_EQ(Definition(removed), "none") << removed;
  EXPECT_EQ(Definition("uu"), "vv");
  EXPECT_EQ(Definition("vv"), "(uu 1)");
  EXPECT_EQ(Definition("ww"), "ww");
}

TEST_F(CheckProgramTest, PlacesAndTheirOrderAmongTheChecks) {
  Check("a\\1,ff\\alpha\\c\\beta\\alpha(beta)");
  EXPECT_EQ(Definition("ff"), "((\\ a) ((\\ c) ((\\ b) (a b))))");  // the free letters
  std::string letters;
  for (char c = 'a'; c <= 'z'; ++c) letters += std::string(1, c) + "\\";
  EXPECT_EQ(Fields(Check(letters + "zz\\1")), "place|Place error.|||");
  // Place comes before arity; dead definitions are checked too.
  EXPECT_EQ(Check("a\\1,ff\\" + letters + "zz\\k").title, "place");
  EXPECT_EQ(Check("a\\1,[}]\\(x\\x) x").vip, "}");
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

// A program of more than a megabyte is shared as it is parsed and again
// after each rewrite of the checks (a smaller one only by the sharing pass):
// definitions calling each other in a chain, with lets, pair lets and dead
// code, must give the same either way.
TEST_F(CheckProgramTest, BigProgramsAreSharedAllAlong) {
  auto program = [](int n) { return testing_programs::ManyDefinitions("a\\fna(V 1 2,0)", n, false); };
  EXPECT_EQ(Run(program(100)), "99");
  EXPECT_FALSE(shared_as_parsed_);
  const std::string big = program(10000);
  ASSERT_GT(big.size(), size_t{1} << 20);
  EXPECT_EQ(Run(big), "9999");
  EXPECT_TRUE(shared_as_parsed_);
  EXPECT_EQ(Definition("deadfnj"), "none");
}

// The program's definitions get the checks' rewrites as they are parsed,
// where no check before them can tell: each of these, small or among ten
// thousand definitions (shared as they are parsed), gets its report or
// value.
TEST_F(CheckProgramTest, DefinitionsRewrittenAsParsedCheckAsBefore) {
  auto outcome = [&](const std::string& program) {
    Report report = Check(program);
    if (!report.IsAllClear()) return Fields(report);
    CellRef main = (*Globals().Find("")).Copy();
    return Show(Evaluate(MakeApp(std::move(main), MakeLeaf("0"))).get());
  };
  std::string places = "a\\ff,ff\\";
  for (char c = 'a'; c <= 'z'; ++c) places += std::string("n") + c + "\\";
  places += "v\\v";
  const std::pair<std::string, std::string> cases[] = {
      {"a\\ff(2),ff\\count\\first{count*3}first+count", "8"},
      {"a\\ff(V 1 2),ff\\pair\\first second{pair}first+second", "3"},
      {"a\\ff(1),ff\\count\\b+count", "alive|Alive function ff references undefined b.|ff|b|"},
      // Renamed first, count would capture the free a.
      {"a\\ff(1),ff\\count\\a+count", "alive|Alive function ff references undefined a.|ff|a|"},
      {"a\\ff(1)+gg(2),ff\\count\\count,gg\\x\\x+count",
       "alive|Alive function gg references undefined count.|gg|count \"|"},
      {"a\\([+]\\x\\x+1)(K,5)", "6"},
      {"a\\K(0,ff),ff\\3\\count", "funky|Funky key in expression 3 in function ff.|ff|3|"},
      {"a\\ff(4),ff\\fna\\fna+1", "5"},  // a local named as a global
      {places, "place|Place error in function ff.|ff||"},
  };
  for (const auto& [main, expected] : cases) {
    EXPECT_EQ(outcome(main), expected) << main;
    const std::string big = testing_programs::ManyDefinitions(main, 10000, false);
    ASSERT_GT(big.size(), size_t{1} << 20);
    EXPECT_EQ(outcome(big), expected) << main;
  }
}

// A big program whose backticks' code cannot tell is shared as it is
// parsed all the same, its backtick lines kept apart: each backtick gets
// its own line and its own evaluation though equal ones are one cell, a
// redefinition's lines replace the earlier ones', and what a backtick may
// come to apply (a one-byte name, through a text's elements) is followed.
TEST_F(CheckProgramTest, BigProgramsWithBlindBackticksAreSharedAsParsed) {
  struct Case {
    const char* main;
    const char* key;  // whose definition is compared; null: the value of main
    const char* expected;
    bool shared;  // in the big program, as parsed
  };
  const Case cases[] = {
      {"a\\ff(1),ff\\x\\K(`(K x),\n`(K x))", "ff",
       "((\\ x) ((K ((((U 1) [ff]) [Kx]) (K x))) ((((U 2) [ff]) [Kx]) (K x))))", true},
      {"a\\`(K a `(K 1 2))", "", "((\\ a) ((((U 1) []) [Ka1]) ((K a) 1)))", true},
      {"a\\ff(1),ff\\x\\`(K x),\nff\\y\\K(y,\n`(K 1 2))", "ff", "((\\ y) ((K y) 1))", true},
      // A NaN equals nothing but the very same cell: two backticks' NaNs
      // are two cells when a third compares them.
      {"a\\zz,mm\\x\\K(`(0/00),x),nn\\x\\K(`(0/00),x),zz\\`(mm(0)=nn(0))(1,2)", nullptr, "2", true},
      // Code mentioned but not reached from a backtick.
      {"a\\K(`(gg 3),hh),gg\\x\\x*x,hh\\raws(1,2)", nullptr, "9", true},
      // Reached: a global without parameters, whose value an evaluation
      // stores over it (with backticks of another definition, two of one
      // backtick, one backtick fewer), and one whose number of parameters
      // a backtick changes after an earlier one has looked at it.
      {"a\\K(pg(x\\y\\y)(5)(p\\q\\p(K)),`(same(pg,pg))),pg\\hh,hh\\V(3,y\\`(y))", nullptr, "1", false},
      {"a\\K(pg(x\\y\\x)(5)(p\\q\\p(K)),`(same(pg,pg))),pg\\(x\\V(x,x))(y\\`(y))", nullptr, "1", false},
      {"a\\K(pg(x\\y\\y)(5)(p\\q\\p(K)),`(same(pg,pg))),\npg\\V(K(3,`(5)),\n\ny\\`(y))", nullptr, "4",
       false},
      {"a\\zz+`(K(0,gg)),gg\\`(x\\y\\x),zz\\`(cmpr(gg,wave))+5", nullptr, "6", false},
      // Reached: through a name, through a one-byte name.
      {"a\\`(Q 1),Q\\x\\raws(x,x)(1,2)", nullptr, "1", false},
      {"a\\`(K 1 2),[$]\\x\\raws(x,x)", nullptr, "1", false},
  };
  for (const Case& c : cases) {
    auto outcome = [&](const std::string& program) {
      const std::string value = Run(program);
      return c.key == nullptr ? value : Definition(c.key);
    };
    EXPECT_EQ(outcome(c.main), c.expected) << c.main;
    const std::string big = testing_programs::ManyDefinitions(c.main, 10000);
    ASSERT_GT(big.size(), size_t{1} << 20);
    EXPECT_EQ(outcome(big), c.expected) << c.main;
    EXPECT_EQ(shared_as_parsed_, c.shared) << c.main;
  }
}

// A backtick runs program code before the sharing pass, which must find
// every literal a cell of its own, big program or small: the two [ab] are
// two cells, and the write into the backtick's [xyz] leaves bb's alone.
TEST_F(CheckProgramTest, BackticksSeeNoSharingBeforeTheSharingPass) {
  const std::string main = "a\\rech(bb,0)+`(raws(xx,yy))(1,2)+K(0,`(recl([xyz],0,65))),bb\\[xyz],xx\\[ab],yy\\[ab]";
  EXPECT_EQ(Run(main), "122");
  const std::string big = testing_programs::ManyDefinitions(main, 10000);
  ASSERT_GT(big.size(), size_t{1} << 20);
  EXPECT_EQ(Run(big), "122");
  EXPECT_FALSE(shared_as_parsed_);
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
  EXPECT_EQ(Fields(Check("a\\" + Repeat("(x\\", kDeep) + "x y" + Repeat(")", kDeep))),
            "alive|Alive function TOP references undefined y.|TOP|y|");
}

// The same through the interpreter itself: a file nested 100,000 deep.
TEST(CheckDeepFile, RunsThroughTheInterpreter) {
  constexpr int kDeep = 100000;
  std::string program = "a\\K(" + Repeat("(", kDeep) + "p q{V 7 2}p" + Repeat(")", kDeep) + "," +
                        Repeat("K(0,", kDeep) + "long\\long `(K 1 2)" + Repeat(")", kDeep) + ")";
  std::string path = testing::TempDir() + "deep_checks_" + std::to_string(getpid()) + ".mox";
  FILE* file = std::fopen(path.c_str(), "wb");
  ASSERT_NE(file, nullptr);
  std::fwrite(program.data(), 1, program.size(), file);
  std::fclose(file);
  int status = std::system((std::string(MOX_BINARY) + " " + path + " 2>/dev/null").c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 7);
  std::remove(path.c_str());
}

// The passes on a table of their own, as the loaders run them (that the
// GlobalTable's names count as defined there is pinned by the load programs):
// pruning leaves the GlobalTable alone.
TEST_F(CheckProgramTest, LoaderPassesTouchOnlyTheLocalTable) {
  ASSERT_TRUE(Check("a\\1,ff\\x\\x").IsAllClear());
  GlobalTable local;
  local.Set(Text(), ParseExpression("ff(1)"));
  local.Set(Text("gg"), ParseExpression(NormalizeSource(Text("x\\qq"))));
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
