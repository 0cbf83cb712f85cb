// Bracket matching and the bracket check, messages byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "front/brackets.h"

namespace mox {
namespace {

TEST(MatchBracket, FindsPartnersBothWays) {
  const std::string_view t = "(a[)]b{c})";
  // {from, to}: the literal holds an unbalanced ")"; 'a' is no bracket
  for (auto [from, to] : {std::pair{0, 9}, {2, 4}, {6, 8}, {1, 1}}) {
    EXPECT_EQ(MatchBracket(t, from), to);
    EXPECT_EQ(MatchBracket(t, to), from);
  }
  EXPECT_EQ(MatchBracket("[a[b]c]", 0), 6);
  EXPECT_EQ(MatchBracket("[a[b]c]", 4), 2);
  EXPECT_EQ(MatchBracket("(}", 0), 1);  // kinds of group are not told apart
}

TEST(CheckBrackets, AcceptsBalancedTextsAndCallLists) {
  for (const char* t : {"", "g(a,b)", "K(a,b)", "x~(a,b)", "(a)", "g (a)", "{a,b}", "a,b,c", "[(]",
                        "g{a,(b)}", "f(a)(b,c)", "[,](a,b)", "g ([,])", "g(a,b(c,d))", "{(a,b)}",
                        "g([)](x,y),z)", "f\\x\\g(x,,x)"}) {
    Report report;
    EXPECT_TRUE(CheckBrackets(Text(t), report)) << t << ": " << report.say.c_str();
    EXPECT_TRUE(report.IsAllClear() && report.say.empty() && report.vip.empty()) << t;
  }
}

struct Failure {
  std::string text, title, say, vip, tip;
};

TEST(CheckBrackets, ReportsTheFirstProblemFromTheLeft) {
  const std::string wing =
      "Programmatically generated error. The first character in the program is right wing. "
      "This error can be used by the road function to exit the program immediately with a "
      "short message.";
  auto comma = [](const std::string& code) {
    return Failure{"", "comma", "Comma at [" + code + "] is not part of a valid call list.", code, ""};
  };
  auto with = [](Failure f, std::string text) { return f.text = std::move(text), f; };
  const Failure cases[] = {
      {"[a]]", "match", "Dangling right-bracket at [____c].", "____c", ""},
      {")", "match", "Dangling right-parenthesis at [_____].", "_____", ""},
      {" }", "match", "Dangling right-wing at [____a].", "____a", ""},  // not at offset 0
      {"(]", "match", "'(' at [_____] doesn't fit ']' at [____a].", "_____", "____a"},
      {"a{b(c]", "match", "'(' at [____c] doesn't fit ']' at [____e].", "____c", "____e"},
      {"((", "match", "Dangling left-parenthesis at [____a].", "____a", ""},
      {"{[[]", "match", "Dangling left-bracket at [____a].", "____a", ""},
      {"a{", "match", "Dangling left-wing at [____a].", "____a", ""},
      {"a)(]", "match", "Dangling right-parenthesis at [____a].", "____a", ""},  // the first wins
      // a right wing at offset 0 is the program's own error; its tip is cut at 72
      {"}Bye now", "error", wing, "", "Bye now"},
      {"}", "error", wing, "", ""},
      {"}" + std::string(72, 'x') + "TAIL", "error", wing, "", std::string(72, 'x')},
      with(comma("____d"), "g (a,b)"),
      with(comma("____c"), "-(a,b)"),
      with(comma("____b"), "(a,b)"),
      with(comma("____d"), "g\n(a,b)"),
      with(comma("____d"), "g (a,b,c)"),   // the group's leftmost comma
      with(comma("____f"), "g(a,(b,c))"),  // a group after a comma is no call list
      with(comma("____f"), "x,([,],a,b)"),  // commas in literals are no concern
  };
  for (const Failure& f : cases) {
    Report r;
    EXPECT_FALSE(CheckBrackets(Text(f.text), r)) << f.text;
    EXPECT_EQ(r.title, f.title.c_str()) << f.text;
    EXPECT_EQ(r.say, f.say.c_str()) << f.text;
    EXPECT_EQ(r.vip, f.vip.c_str()) << f.text;
    EXPECT_EQ(r.tip, f.tip.c_str()) << f.text;
    EXPECT_EQ(r.way, "") << f.text;
  }
}

}  // namespace
}  // namespace mox
