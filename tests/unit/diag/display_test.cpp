// Display decoding of message texts: green runs for blanks and symbolic
// bytes, red runs for quoted ones, each change of class by its own escape.
#include <gtest/gtest.h>

#include <string>

#include "diag/display.h"

namespace mox {
namespace {

const std::string kRed = "\033[31m", kGreen = "\033[32m", kPlain = "\033[m";

std::string Decode(const std::string& s) { return std::string(DisplayDecode(Text(s)).view()); }

TEST(DisplayDecode, RunsOfEachClass) {
  const std::string quoted = "\xE1\xE2";  // "ab" stored quoted
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"a  b", "a" + kGreen + "  " + kPlain + "b"},
      {"x\ny", "x" + kGreen + "," + kPlain + "y"},
      {"ab ", "ab" + kGreen + " " + kPlain},  // closed at the end
      {quoted, kRed + "ab" + kPlain},
      {quoted + " c", kRed + "ab" + kGreen + " " + kPlain + "c"},  // no reset in between
      {"\xA1\xFE", kRed + "!~" + kPlain},
      {std::string("\x00\x01\x09\x0B\x1A\x1B\x1F\xFF\x7F\x80\x8F\x96\x97\x9F", 14),
       kGreen + "JAIKZ([]~!\\?08" + kPlain},
  };
  for (const auto& [text, shown] : cases) EXPECT_EQ(Decode(text), shown) << text;
}

TEST(DisplayDecode, ByteA0HasNoVisibleForm) { EXPECT_DEATH(Decode("a\xA0"), "ASSERTION FAILED:"); }

}  // namespace
}  // namespace mox
