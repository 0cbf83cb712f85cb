// Bracket matching and the bracket check, messages byte for byte.
#include <gtest/gtest.h>

#include <string>

#include "front/brackets.h"

namespace mox {
namespace {

TEST(MatchBracket, FindsPartnersBothWays) {
  const std::string_view t = "(a[)]b{c})";
  EXPECT_EQ(MatchBracket(t, 0), 9);
  EXPECT_EQ(MatchBracket(t, 9), 0);
  EXPECT_EQ(MatchBracket(t, 2), 4);  // the literal holds an unbalanced ")"
  EXPECT_EQ(MatchBracket(t, 4), 2);
  EXPECT_EQ(MatchBracket(t, 6), 8);
  EXPECT_EQ(MatchBracket(t, 8), 6);
  EXPECT_EQ(MatchBracket(t, 1), 1);  // not a bracket
  EXPECT_EQ(MatchBracket("[a[b]c]", 0), 6);
  EXPECT_EQ(MatchBracket("[a[b]c]", 4), 2);
  EXPECT_EQ(MatchBracket("(}", 0), 1);  // kinds of group are not told apart
}

TEST(MatchBracket, WordsOfTheKinds) {
  EXPECT_EQ(BracketWord('('), "parenthesis");
  EXPECT_EQ(BracketWord(')'), "parenthesis");
  EXPECT_EQ(BracketWord('['), "bracket");
  EXPECT_EQ(BracketWord(']'), "bracket");
  EXPECT_EQ(BracketWord('{'), "wing");
  EXPECT_EQ(BracketWord('}'), "wing");
}

struct Outcome {
  bool ok;
  Report report;
};

Outcome Check(const Text& text) {
  Outcome o{false, AllClearReport()};
  o.ok = CheckBrackets(text, o.report);
  return o;
}

void ExpectPasses(const char* text) {
  Outcome o = Check(text);
  EXPECT_TRUE(o.ok) << text << ": " << o.report.say.c_str();
  EXPECT_TRUE(o.report.IsAllClear()) << text;
  EXPECT_TRUE(o.report.say.empty() && o.report.vip.empty() && o.report.tip.empty() && o.report.way.empty());
}

void ExpectFails(const Text& text, const char* title, const char* say, const char* vip, const char* tip) {
  Outcome o = Check(text);
  EXPECT_FALSE(o.ok) << text.c_str();
  EXPECT_EQ(o.report.title, title) << text.c_str();
  EXPECT_EQ(o.report.say, say) << text.c_str();
  EXPECT_EQ(o.report.vip, vip) << text.c_str();
  EXPECT_EQ(o.report.tip, tip) << text.c_str();
  EXPECT_EQ(o.report.way, "") << text.c_str();
}

TEST(CheckBrackets, AcceptsBalancedTextsAndCallLists) {
  for (const char* t : {"", "g(a,b)", "K(a,b)", "x~(a,b)", "(a)", "g (a)", "{a,b}", "a,b,c", "[(]",
                        "g{a,(b)}", "f(a)(b,c)", "[,](a,b)", "g ([,])", "g(a,b(c,d))", "{(a,b)}",
                        "g([)](x,y),z)", "f\\x\\g(x,,x)"})
    ExpectPasses(t);
}

TEST(CheckBrackets, DanglingAndMisfitBrackets) {
  ExpectFails("[a]]", "match", "Dangling right-bracket at [____c].", "____c", "");
  ExpectFails(")", "match", "Dangling right-parenthesis at [_____].", "_____", "");
  ExpectFails("a}", "match", "Dangling right-wing at [____a].", "____a", "");
  ExpectFails("(]", "match", "'(' at [_____] doesn't fit ']' at [____a].", "_____", "____a");
  ExpectFails("(}", "match", "'(' at [_____] doesn't fit '}' at [____a].", "_____", "____a");
  ExpectFails("a{b(c]", "match", "'(' at [____c] doesn't fit ']' at [____e].", "____c", "____e");
  ExpectFails("((", "match", "Dangling left-parenthesis at [____a].", "____a", "");
  ExpectFails("{[[]", "match", "Dangling left-bracket at [____a].", "____a", "");
  ExpectFails("a{", "match", "Dangling left-wing at [____a].", "____a", "");
  // The first problem from the left wins, even when a later one is worse.
  ExpectFails("a)(]", "match", "Dangling right-parenthesis at [____a].", "____a", "");
}

TEST(CheckBrackets, LeadingRightWingIsTheProgramsOwnError) {
  const char* say =
      "Programmatically generated error. The first character in the program is right wing. "
      "This error can be used by the road function to exit the program immediately with a "
      "short message.";
  ExpectFails("}Bye now", "error", say, "", "Bye now");
  ExpectFails("}", "error", say, "", "");
  std::string longer = "}" + std::string(72, 'x') + "TAIL";
  ExpectFails(Text(longer), "error", say, "", std::string(72, 'x').c_str());
  // Only at offset 0: elsewhere a stray wing is a dangling one.
  ExpectFails(" }", "match", "Dangling right-wing at [____a].", "____a", "");
}

TEST(CheckBrackets, CommasOutsideCallLists) {
  const char* tail = "] is not part of a valid call list.";
  auto say = [tail](const char* code) { return std::string("Comma at [") + code + tail; };
  ExpectFails("g (a,b)", "comma", say("____d").c_str(), "____d", "");
  ExpectFails("-(a,b)", "comma", say("____c").c_str(), "____c", "");
  ExpectFails("(a,b)", "comma", say("____b").c_str(), "____b", "");
  ExpectFails("g\n(a,b)", "comma", say("____d").c_str(), "____d", "");
  // The inner group follows a comma, a separator; its own comma is named.
  ExpectFails("g(a,(b,c))", "comma", say("____f").c_str(), "____f", "");
  // The leftmost comma of the group is the one reported.
  ExpectFails("g (a,b,c)", "comma", say("____d").c_str(), "____d", "");
  // Commas in literals and brace lists are no concern of the rule.
  ExpectFails("x,([,],a,b)", "comma", say("____f").c_str(), "____f", "");
}

}  // namespace
}  // namespace mox
