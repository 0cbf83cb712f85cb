// load and road called as the reducer calls them, on a checked program: the
// source taken by value class, refusals that leave the GlobalTable as it
// was, the merge (replacing or refusing names), road's reports and `way`.
#include <string>
#include <utility>
#include <vector>

#include "defs/check.h"
#include "defs/define.h"
#include "diag/error_value.h"
#include "support/builtin_calls.h"
#include "support/leak_checked_test.h"
#include "values/int_convert.h"

namespace mox::builtin_test {
namespace {

// What a load may change: every key with its definition cell, and the
// constant definitions.
struct TableState {
  std::vector<std::pair<std::string, const Cell*>> entries;
  std::vector<std::string> constants;
  bool operator==(const TableState&) const = default;
};

TableState Now() {
  TableState s;
  for (const auto& [key, value] : Globals()) s.entries.emplace_back(key.view(), value.get());
  for (const Text& key : EmptyCallDefinitions()) s.constants.emplace_back(key.view());
  return s;
}

CellRef Source(const std::string& text) { return L("[" + text + "]"); }

std::string Place27() {
  std::string s = "1,many";
  for (char c = 'a'; c <= 'z'; ++c) s += std::string("\\") + c + c;
  return s + "\\zzz\\aa";
}

class LoadTest : public LeakCheckedTest {
 protected:
  void SetUp() override {
    LeakCheckedTest::SetUp();
    LoadPrelude();
    Text program("a\\ff(1),ff\\x\\x+1,now()\\2");
    Report report;
    DefineProgram(report, program);
    CheckProgram(report);
    ASSERT_TRUE(report.IsAllClear());
  }

  std::string LoadAnswer(CellRef source) { return Show(Call("load", std::move(source))); }

  // road's error value decoded; any other answer shown as the title.
  Report RoadReport(CellRef source) {
    CellRef r = Call("road", std::move(source));
    if (r->IsApp() && IsLeafText(r->f, "]")) return DecodeErrorValue(LeafView(r->a));
    Report report;
    report.title = Text(Show(r));
    return report;
  }
};

TEST_F(LoadTest, RefusedTextsLeaveTheTablesAsTheyWere) {
  // text, road's title (or answer), load's answer (road alone refuses names)
  const std::string cases[][3] = {
      {"ff(", "match", "Z"},
      {"g (a,b)", "comma", "Z"},
      {"}Bye", "error", "Z"},
      {"1,x\\x", "lower", "Z"},
      {"1,plus\\a\\a", "built", "Z"},
      {"1,hello\\(a+b)\\x", "funky", "Z"},
      {"hh(1)", "alive", "Z"},
      {Place27(), "place", "Z"},
      {"1,wide\\a\\b\\c\\d\\e\\f\\g\\h\\i\\j\\k\\a", "arity", "Z"},
      {"K(1,2),K\\a\\b\\b", "roads", ""},
      {"1,ff\\y\\y", "roads", ""},
      {"0,gg\\x\\gg(hh)", "0", "0"},  // dead, and mentions an undefined name: not merged
  };
  const TableState before = Now();
  for (const auto& [text, road, load] : cases) {
    if (!load.empty()) {
      EXPECT_EQ(Show(Call("load", Source(text))), load) << text;
      EXPECT_EQ(Now(), before) << text;
    }
    EXPECT_EQ(RoadReport(Source(text)).title, road) << text;
    EXPECT_EQ(Now(), before) << text;
  }
  // Classes that hold no text: "Z" from both, at once.
  for (const CellRef& source : Cells(Real(1.5), L("001"), Tree("(K 1)"))) {
    EXPECT_EQ(Show(Call("load", source.Copy())), "Z");
    EXPECT_EQ(RoadReport(source.Copy()).title, "Z");
  }
  EXPECT_EQ(Now(), before);
}

TEST_F(LoadTest, SourcesByValueClass) {
  EXPECT_EQ(LoadAnswer(Source("2+3")), "5");
  EXPECT_EQ(LoadAnswer(Blob("6*7")), "42");
  static const char kText[] = "ff(9)";
  EXPECT_EQ(LoadAnswer(MakeInt64(static_cast<int64_t>(reinterpret_cast<uintptr_t>(kText)))), "10");
  EXPECT_EQ(LoadAnswer(L("12")), "Z");  // no string lives at such an address
  // A vector holds the empty text, whose main expression is the empty name.
  EXPECT_EQ(LoadAnswer(Vec()), "Z");
  Report empty = RoadReport(Vec());
  EXPECT_EQ(empty.say, "Alive function TOP references undefined function [}].");
}

TEST_F(LoadTest, MergeReplacesOrRefuses) {
  EXPECT_EQ(LoadAnswer(Source("ff(4),ff\\x\\x*10,later()\\3,now\\5")), "40");
  EXPECT_EQ(LoadAnswer(Source("ff(later+now)")), "80");
  EXPECT_EQ(EmptyCallDefinitions().count(Text("later")), 1u);
  EXPECT_EQ(EmptyCallDefinitions().count(Text("now")), 0u);
  Report r = RoadReport(Source("0,later\\1"));
  EXPECT_EQ(r.say, "Attempt to redefine function later using the road function.");
  EXPECT_EQ(r.vip, "later \"");
  EXPECT_EQ(RoadReport(Source("fresh(2),fresh\\x\\x-1")).title, "1");
  EXPECT_EQ(RoadReport(Source("0,fresh\\x\\x")).title, "roads");
  // The unbound-local check comes after the merge, which stays.
  EXPECT_EQ(LoadAnswer(Source("1,gg\\a\\(zeta\\zeta) zeta")), "Z");
  EXPECT_NE(Globals().Find("gg"), nullptr);
  EXPECT_EQ(RoadReport(Source("0,gg\\x\\x")).title, "roads");
}

TEST_F(LoadTest, RoadWay) {
  // The first 72 bytes of the text; a "[" cut off from its partner there is
  // kept as its symbolic code, so that the error value still decodes.
  Report r = RoadReport(Source("hh([" + std::string(80, 'x') + "])"));
  EXPECT_EQ(r.title, "alive");
  EXPECT_EQ(r.way, "hh(\x1F" + std::string(68, 'x'));
  EXPECT_EQ(RoadReport(Source("((")).way, "yes");
  r = RoadReport(Blob("}]oops["));
  EXPECT_EQ(r.tip, "\xFFoops\x1F");
  EXPECT_EQ(r.way, "}\xFFoops\x1F");
}

TEST_F(LoadTest, RecordLayoutsAreNotLoadedAgain) {
  const Cell* layout = Globals().Find("_")->get();
  size_t size = Globals().size();
  EXPECT_EQ(Call("road", Source("_")).get(), layout);
  EXPECT_EQ(Globals().Find("_")->get(), layout);
  EXPECT_EQ(Globals().size(), size);
}

}  // namespace
}  // namespace mox::builtin_test
