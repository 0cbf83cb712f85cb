// Display decoding of message texts and the character code encoder.
#include <gtest/gtest.h>

#include <string>

#include "diag/display.h"

namespace mox {
namespace {

const std::string kRed = "\033[31m", kGreen = "\033[32m", kPlain = "\033[m";

std::string Decode(const std::string& s) { return std::string(DisplayDecode(Text(s)).view()); }

TEST(DisplayDecode, SpacesAndNewlinesAreGreenRuns) {
  EXPECT_EQ(Decode("a b"), "a" + kGreen + " " + kPlain + "b");
  EXPECT_EQ(Decode("a  b"), "a" + kGreen + "  " + kPlain + "b");
  EXPECT_EQ(Decode("x\ny"), "x" + kGreen + "," + kPlain + "y");
  EXPECT_EQ(Decode("ab "), "ab" + kGreen + " " + kPlain);  // closed at the end
  EXPECT_EQ(Decode(""), "");
  EXPECT_EQ(Decode("plain"), "plain");
}

TEST(DisplayDecode, QuotedBytesAreRedAndClassesSwitchDirectly) {
  std::string quoted = {'\xE1', '\xE2'};  // "ab" stored quoted
  EXPECT_EQ(Decode(quoted), kRed + "ab" + kPlain);
  // red straight to green straight to plain, with no reset in between
  EXPECT_EQ(Decode(quoted + " c"), kRed + "ab" + kGreen + " " + kPlain + "c");
  EXPECT_EQ(Decode(std::string("\xA1\xFE", 2)), kRed + "!~" + kPlain);
}

TEST(DisplayDecode, SymbolicBytes) {
  std::string s = {'\x00', '\x01', '\x09', '\x0B', '\x1A', '\x1B', '\x1F', '\xFF',
                   '\x7F', '\x80', '\x8F', '\x96', '\x97', '\x9F'};
  EXPECT_EQ(Decode(s), kGreen + "JAIKZ([]~!\\?08" + kPlain);
}

TEST(DisplayDecode, ByteA0HasNoVisibleForm) {
  EXPECT_DEATH(Decode("a\xA0"), "ASSERTION FAILED:");
}


}  // namespace
}  // namespace mox
