// Character classes through the bridge: truth answers, the members computed
// without C, and values that are no character.
#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeCharacterClasses = Bridge;

TEST_F(BridgeCharacterClasses, ClassesAnswerTruth) {
  EXPECT_EQ(Ans("isalpha", L("65")), "K");
  EXPECT_EQ(Ans("isalpha", L("48")), "H");
  EXPECT_EQ(Ans("isdigit", L("48")), "K");
  EXPECT_EQ(Ans("isspace", L("10")), "K");
  EXPECT_EQ(Ans("isblank", L("9")), "K");
  EXPECT_EQ(Ans("isupper", L("97")), "H");
  EXPECT_EQ(Ans("islower", L("97")), "K");
  EXPECT_EQ(Ans("ispunct", L("33")), "K");
  EXPECT_EQ(Ans("isgraph", L("32")), "H");
  EXPECT_EQ(Ans("isprint", L("32")), "K");
  EXPECT_EQ(Ans("isalnum", L("01")), "H");  // EOF
  EXPECT_EQ(Ans("isalpha", L("[A]")), "Z");
}

TEST_F(BridgeCharacterClasses, ValuesBeyondCharactersAreInNoClass) {
  EXPECT_EQ(Ans("isalpha", L("4294967361")), "K");  // 2^32 + 65 narrows to 65
  EXPECT_EQ(Ans("isprint", L("100000")), "H");
  EXPECT_EQ(Ans("isprint", L("0100000")), "H");
  EXPECT_EQ(Ans("toupper", L("100000")), "100000");
}

TEST_F(BridgeCharacterClasses, AsciiMembersNeedNoC) {
  EXPECT_EQ(Ans("isascii", L("127")), "K");
  EXPECT_EQ(Ans("isascii", L("200")), "H");
  EXPECT_EQ(Ans("isascii", L("01")), "H");  // unsigned 32-bit comparison
  EXPECT_EQ(Ans("isascii", L("4294967297")), "K");
  EXPECT_EQ(Ans("toascii", L("200")), "72");
  EXPECT_EQ(Ans("toascii", L("01")), "127");
  EXPECT_EQ(Ans("tolower", L("65")), "97");
  EXPECT_EQ(Ans("toupper", L("97")), "65");
  EXPECT_EQ(Ans("tolower", Real(65)), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
