// Source normalisation, the token rule, definable names, keys and place
// codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "front/names.h"
#include "front/normalize.h"
#include "front/tokens.h"

namespace mox {
namespace {

TEST(Normalize, CollapsesBlanksOnlyBetweenOperandsAndKeepsLiterals) {
  const char* const cases[][2] = {
      {"", ""}, {" \n \n ", ""}, {"  a  b \n", "a b"}, {"a + b", "a+b"}, {"g (x)", "g (x)"},
      {"( x )", "(x)"}, {"(x) (y)", "(x) (y)"},  // one-sided test for parentheses
      {"{ a }", "{a}"}, {"a {b} c", "a{b}c"}, {"f\\x\\\n   x\n  y", "f\\x\\x y"}, {"a ,\n b", "a,b"},
      {"K \n\n\n S", "K S"}, {"a\r\nb", "a\r b"}, {"a\t b", "a\t b"},  // \r and \t are operands
      {"[ a  b ]", "[ a  b ]"}, {"[a [b]  c] d", "[a [b]  c] d"}, {"x  [ ( \n ]  + y", "x [ ( \n ]+y"},
  };
  for (const auto& [source, normal] : cases) EXPECT_EQ(NormalizeSource(source), normal) << source;
}

TEST(Tokens, SplitByTheTokenRule) {
  using V = std::vector<std::string_view>;
  const std::pair<const char*, V> cases[] = {
      {"VKZ", {"V", "K", "Z"}}, {"foo12", {"foo", "12"}}, {"12ab", {"12", "ab"}}, {"a_b", {"a_b"}},
      {"g(x)(y)", {"g", "(x)", "(y)"}}, {"(a(b))[c]12", {"(a(b))", "[c]", "12"}}, {"a\rb", {"a", "\r", "b"}},
      // a stray comma extends the token before it
      {"a,b", {"a,", "b"}}, {",,K", {",,", "K"}}, {"(a),", {"(a)", ","}},
  };
  for (const auto& [piece, tokens] : cases) EXPECT_EQ(SplitTokens(piece), tokens) << piece;
}

TEST(Names, DefinableNamesAndKeys) {
  for (const char* yes : {"abc", "_x", "_", "S", "[+]", "[\\]", "[{]", "[,]", "[\"]", "\x01", "\x7f", "\xff"})
    EXPECT_TRUE(IsDefinableName(yes)) << yes;
  for (const char* no : {"", "a1", "Ab", "[ab]", "[a]", "+", "1", "[(]", "[ ]", "SK", "(", "[+", "\xff\xff"})
    EXPECT_FALSE(IsDefinableName(no)) << no;
  EXPECT_FALSE(IsDefinableName(std::string_view("\0", 1)));
  EXPECT_EQ(GlobalKey("[\\]"), "\\");
  EXPECT_EQ(GlobalKey("plus"), "plus");
}

TEST(Names, PlaceCodes) {
  const std::pair<int64_t, const char*> cases[] = {
      {0, "_____"}, {1, "____a"}, {19, "____u"},  // u comes before s and t
      {24, "____z"}, {25, "____x"}, {63, "____~"}, {64, "___a_"}, {64 * 64 * 27 + 37, "__0_A"},
      {(int64_t{1} << 30) - 1, "~~~~~"}, {int64_t{1} << 30, "!!!!!"},
  };
  for (const auto& [offset, code] : cases) EXPECT_EQ(PlaceCode(offset), code) << offset;
}

}  // namespace
}  // namespace mox
