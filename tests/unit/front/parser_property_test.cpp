// The parser against a direct transcription of the expression rules on a
// fixed corpus and on pseudo-random bracket-balanced texts: every text that
// passes the bracket check parses, raw and normalised, to the same tree as
// the transcription, and no cell outlives its tree. Deterministic.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "front/brackets.h"
#include "front/normalize.h"
#include "front/parser.h"
#include "support/reference_parser.h"
#include "support/tree_notation.h"

namespace mox {
namespace {

// Compares parser and transcription on a balanced text; the bracket check
// may only object to commas.
void ExpectSameTrees(const std::string& text) {
  Report report;
  if (!CheckBrackets(Text(text), report)) {
    ASSERT_EQ(report.title, "comma") << "unbalanced test text: " << text;
  }
  int64_t live = LiveCells();
  for (const Text& t : {Text(text), NormalizeSource(Text(text))}) {
    std::string got = testing_notation::Show(ParseExpression(t).get());
    std::string want = testing_notation::Show(reference::Parse(t.view()).get());
    ASSERT_EQ(got, want) << "text: [" << t.c_str() << "]";
  }
  EXPECT_EQ(LiveCells(), live);
}

// Edge cases the random texts rarely make: blank and empty pieces, lone
// commas, affix operators around groups, nested empty groups.
TEST(ParserProperty, EdgeCorpus) {
  for (const char* text : {"", " ", "\n", "()", "{}", "[]", "~~", "{,}", "{,,}", "g(,)", "a\n\nb", "a \n b",
                           "a+b*c^d^e-f", "a;b\\c{d,e}f;g", "~!x!~", "f!~x~!y", "a~(b,c)", "K~(,,)", "~(,,K)",
                           "[a b]c[d]", "g[(]{[)]}", "a&b|c=d<e>f#g", "a@b c@d", "12ab34_x", "\t\r\x01\xff",
                           ",a", "a,", "(,)", "x{p q{y}z}w", "a \n ( b ) \n c", "{ a , b }", "$ a ` b \"",
                           "m\\n\\{n,m}(n)", "a^~b", "~a^b~", "~(~)~", "(~)", "g()()", "g(()())"})
    ExpectSameTrees(text);
}

// xorshift64*: a fixed, portable sequence.
struct Random {
  uint64_t state;
  uint64_t Next() {
    state ^= state >> 12;
    state ^= state << 25;
    state ^= state >> 27;
    return state * 0x2545F4914F6CDD1Dull;
  }
  size_t Below(size_t n) { return static_cast<size_t>(Next() % n); }
};

// A balanced text over the bytes that matter to the front end: operands,
// every operator byte, blanks, and bracket groups of all three kinds
// (literals may hold unbalanced parentheses and braces).
std::string BalancedText(Random& rng, size_t length) {
  static const std::string kBytes = "abx_1 2KS,;\\?\n&|=<>#@ +-:.*/%'^~!\"$`\t\r\xff  ,,";
  std::string out;
  std::vector<char> open;  // closing bytes still owed
  int literal = 0;         // depth of [ ] while inside a literal
  while (out.size() < length) {
    size_t roll = rng.Below(20);
    if (roll == 0) {
      out.push_back('[');
      if (literal == 0) open.push_back(']');
      ++literal;
    } else if (roll <= 2 && literal == 0) {
      const bool paren = rng.Below(3) != 0;
      out.push_back(paren ? '(' : '{');
      open.push_back(paren ? ')' : '}');
    } else if (roll <= 4 && literal > 0) {
      --literal;
      out.push_back(']');
      if (literal == 0) open.pop_back();
    } else if (roll <= 5 && literal > 0) {
      out.push_back("(){}"[rng.Below(4)]);
    } else if (roll <= 7 && literal == 0 && !open.empty()) {
      out.push_back(open.back());
      open.pop_back();
    } else {
      out.push_back(kBytes[rng.Below(kBytes.size())]);
    }
  }
  while (literal-- > 1) out.push_back(']');
  while (!open.empty()) {
    out.push_back(open.back());
    open.pop_back();
  }
  return out;
}

TEST(ParserProperty, RandomBalancedTexts) {
  Random rng{0x6D6F78u};
  for (int i = 0; i < 10000; ++i) {
    std::string text = BalancedText(rng, 1 + rng.Below(48));
    ExpectSameTrees(text);
    if (HasFailure()) return;
  }
}

}  // namespace
}  // namespace mox
