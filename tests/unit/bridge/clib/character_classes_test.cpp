// Character classes through the bridge: values that are no character answer
// without a table read, and the members computed without C.
#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeCharacterClasses = Bridge;

TEST_F(BridgeCharacterClasses, ClassesAndAsciiMembers) {
  EXPECT_EQ(Ans("isalpha", L("65")), "K");
  EXPECT_EQ(Ans("isdigit", L("65")), "H");
  EXPECT_EQ(Ans("isprint", L("100000")), "H");  // no character: no table read
  EXPECT_EQ(Ans("isprint", L("0100000")), "H");
  EXPECT_EQ(Ans("toupper", L("97")), "65");
  EXPECT_EQ(Ans("isascii", L("127")), "K");
  EXPECT_EQ(Ans("isascii", L("200")), "H");
  EXPECT_EQ(Ans("isascii", L("01")), "H");  // an unsigned 32-bit comparison
  EXPECT_EQ(Ans("toascii", L("200")), "72");
}

}  // namespace
}  // namespace mox::builtin_test
