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

TEST(EncodeChar, ModesAndTheSymbolicTable) {
  for (int mode : {0, 1, 2, 3}) {
    EXPECT_EQ(EncodeChar(mode, ' '), ' ');
    EXPECT_EQ(EncodeChar(mode, '\n'), '\n');
  }
  EXPECT_EQ(EncodeChar(kVerbatimMode, 0x05), 0x05);
  EXPECT_EQ(EncodeChar(kQuotedMode, 'a'), 0xE1);
  // symbolic modes fold case; the codes at the ends of the table's runs
  EXPECT_EQ(EncodeChar(0, 'a'), 1);
  EXPECT_EQ(EncodeChar(2, 'J'), 0);
  EXPECT_EQ(EncodeChar(0, 'z'), 26);
  EXPECT_EQ(EncodeChar(0, ','), 10);
  EXPECT_EQ(EncodeChar(0, '_'), 32);
  EXPECT_EQ(EncodeChar(0, ']'), 255);
  EXPECT_EQ(EncodeChar(0, '~'), 127);
  EXPECT_EQ(EncodeChar(0, '?'), 150);
  EXPECT_EQ(EncodeChar(0, '9'), 160);
}

TEST(EncodeChar, SymbolicCodesDecodeBackToTheCharacter) {
  for (int c = '!'; c <= '~'; ++c) {
    if (c == '_' || c == '9') continue;  // shown as the space; 0xA0 has no form
    unsigned char code = EncodeChar(0, static_cast<unsigned char>(c));
    char visible = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    EXPECT_EQ(Decode(std::string(1, static_cast<char>(code))),
              kGreen + std::string(1, visible) + kPlain)
        << "character " << c;
  }
}

TEST(EncodeChar, SymbolicModesRefuseBytesWithoutCode) {
  EXPECT_DEATH(EncodeChar(0, 0x01), "ASSERTION FAILED:");
  EXPECT_DEATH(EncodeChar(2, 0x80), "ASSERTION FAILED:");
}

TEST(CharacterTable, KeepsEveryByte) {
  const unsigned char* table = CharacterTable();
  for (int b = 0; b < 256; ++b) EXPECT_EQ(table[b], b);
}

}  // namespace
}  // namespace mox
