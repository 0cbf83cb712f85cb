// Character sets, source normalisation, the token rule, names, keys and
// place codes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "front/charset.h"
#include "front/names.h"
#include "front/normalize.h"
#include "front/tokens.h"

namespace mox {
namespace {

std::string MembersOf(bool (*member)(unsigned char)) {
  std::string s;
  for (int c = 0; c < 256; ++c)
    if (member(static_cast<unsigned char>(c))) s.push_back(static_cast<char>(c));
  return s;
}

TEST(Charset, SetsHoldExactlyTheirBytes) {
  EXPECT_EQ(MembersOf(IsSeparator), std::string("\n #%&'*+,-./:;<=>?@\\^|"));
  EXPECT_EQ(MembersOf(IsAffixOperator), std::string("!\"$`~"));
  // Not whitespace, not operators: tab, carriage return, high bytes.
  for (unsigned char c : std::string_view("\t\r\xff" "Aa_0")) {
    EXPECT_FALSE(IsOperatorChar(c)) << int(c);
    EXPECT_FALSE(IsSeparator(c)) << int(c);
  }
  // Brackets and the blanks are operator characters but no operator names.
  for (unsigned char c : {'(', ')', '[', ']', ' ', '\n'}) {
    EXPECT_TRUE(IsOperatorChar(c));
    EXPECT_FALSE(IsOperatorNameChar(c));
  }
  ByteSet commas(",{");
  EXPECT_TRUE(commas.Has(',') && commas.Has('{'));
  EXPECT_FALSE(commas.Has('}') || commas.Has(static_cast<unsigned char>(0xAC)));
}

TEST(Normalize, CollapsesBlanksOnlyBetweenOperands) {
  EXPECT_EQ(NormalizeSource("  a  b \n"), "a b");
  EXPECT_EQ(NormalizeSource("a + b"), "a+b");
  EXPECT_EQ(NormalizeSource("g (x)"), "g (x)");
  EXPECT_EQ(NormalizeSource("( x )"), "(x)");
  EXPECT_EQ(NormalizeSource("(x) (y)"), "(x) (y)");  // one-sided test for parentheses
  EXPECT_EQ(NormalizeSource("{ a }"), "{a}");
  EXPECT_EQ(NormalizeSource("a {b} c"), "a{b}c");
  EXPECT_EQ(NormalizeSource("f\\x\\\n   x\n  y"), "f\\x\\x y");
  EXPECT_EQ(NormalizeSource("a ,\n b"), "a,b");
  EXPECT_EQ(NormalizeSource("K \n\n\n S"), "K S");
}

TEST(Normalize, KeepsTextLiteralsVerbatim) {
  EXPECT_EQ(NormalizeSource("[ a  b ]"), "[ a  b ]");
  EXPECT_EQ(NormalizeSource("[a [b]  c] d"), "[a [b]  c] d");
  EXPECT_EQ(NormalizeSource("x  [ ( \n ]  + y"), "x [ ( \n ]+y");
}

TEST(Normalize, BlankTextsAndOrdinaryControlBytes) {
  EXPECT_EQ(NormalizeSource(""), "");
  EXPECT_EQ(NormalizeSource(" \n \n "), "");
  EXPECT_EQ(NormalizeSource("a\r\nb"), "a\r b");  // \r is an operand, not a blank
  EXPECT_EQ(NormalizeSource("a\t b"), "a\t b");
}

std::vector<std::string> Tokens(std::string_view piece) {
  std::vector<std::string> out;
  for (std::string_view t : SplitTokens(piece)) out.emplace_back(t);
  return out;
}

TEST(Tokens, SplitByTheTokenRule) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Tokens("Lb"), (V{"L", "b"}));
  EXPECT_EQ(Tokens("VKZ"), (V{"V", "K", "Z"}));
  EXPECT_EQ(Tokens("foo12"), (V{"foo", "12"}));
  EXPECT_EQ(Tokens("x1"), (V{"x", "1"}));
  EXPECT_EQ(Tokens("a_b"), (V{"a_b"}));
  EXPECT_EQ(Tokens("plus"), (V{"plus"}));
  EXPECT_EQ(Tokens("g(x)(y)"), (V{"g", "(x)", "(y)"}));
  EXPECT_EQ(Tokens("[ab]c"), (V{"[ab]", "c"}));
  EXPECT_EQ(Tokens("(a(b))[c]12"), (V{"(a(b))", "[c]", "12"}));
  EXPECT_EQ(Tokens("a\rb"), (V{"a", "\r", "b"}));
  EXPECT_EQ(Tokens("12ab"), (V{"12", "ab"}));
  // A stray comma extends the token before it.
  EXPECT_EQ(Tokens("a,b"), (V{"a,", "b"}));
  EXPECT_EQ(Tokens(",,K"), (V{",,", "K"}));
  EXPECT_EQ(Tokens("(a),"), (V{"(a)", ","}));
}

TEST(Names, DefinableNames) {
  for (const char* yes : {"abc", "_x", "_", "S", "[+]", "[\\]", "[{]", "[,]", "[\"]"})
    EXPECT_TRUE(IsDefinableName(yes)) << yes;
  for (const char* no : {"", "a1", "Ab", "[ab]", "[a]", "+", "1", "[(]", "[ ]", "SK", "(", "[+"})
    EXPECT_FALSE(IsDefinableName(no)) << no;
  EXPECT_TRUE(IsDefinableName("\x01"));
  EXPECT_TRUE(IsDefinableName("\x1f"));
  EXPECT_TRUE(IsDefinableName("\x7f"));
  EXPECT_TRUE(IsDefinableName("\xff"));
  EXPECT_FALSE(IsDefinableName(std::string_view("\0", 1)));
  EXPECT_FALSE(IsDefinableName("\xff\xff"));
}

TEST(Names, GlobalKeys) {
  EXPECT_EQ(GlobalKey("[\\]"), "\\");
  EXPECT_EQ(GlobalKey("[+]"), "+");
  EXPECT_EQ(GlobalKey("K"), "K");
  EXPECT_EQ(GlobalKey("plus"), "plus");
}

TEST(Names, PlaceCodes) {
  EXPECT_EQ(PlaceCode(0), "_____");
  EXPECT_EQ(PlaceCode(1), "____a");
  EXPECT_EQ(PlaceCode(19), "____u");  // u comes before s and t
  EXPECT_EQ(PlaceCode(24), "____z");  // z before x and y
  EXPECT_EQ(PlaceCode(25), "____x");
  EXPECT_EQ(PlaceCode(63), "____~");
  EXPECT_EQ(PlaceCode(64), "___a_");
  EXPECT_EQ(PlaceCode(64 * 64 * 27 + 37), "__0_A");
  EXPECT_EQ(PlaceCode((int64_t{1} << 30) - 1), "~~~~~");
  EXPECT_EQ(PlaceCode(int64_t{1} << 30), "!!!!!");
}

}  // namespace
}  // namespace mox
