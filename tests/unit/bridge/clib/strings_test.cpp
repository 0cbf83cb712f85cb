// Strings and memory through the bridge: integer destinations, the 32-bit
// conversions, overlapping copies, raw integers, one message buffer.
#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeStrings = Bridge;

TEST_F(BridgeStrings, ConversionsOfAHostWithThirtyTwoBitLongs) {
  EXPECT_EQ(Ans("strtoul", Addr("-1"), L("0"), L("10")), "18446744073709551615");
  EXPECT_EQ(Ans("strtol", Addr("-1"), L("0"), L("10")), "01");
  const char* text = "3000000000 rest";
  char* end = nullptr;
  EXPECT_EQ(Ans("strtol", Addr(text), Addr(&end), L("10")), "2147483647");
  EXPECT_EQ(end, text + 10);
  EXPECT_EQ(Ans("errno"), "34");  // ERANGE
  EXPECT_EQ(Ans("strtoul", Addr("-3000000000"), L("0"), L("10")), "18446744071562067968");
  EXPECT_EQ(Ans("atol", Addr(" 42x")), "42");
}

TEST_F(BridgeStrings, MemoryAndRawIntegers) {
  CellRef m = Call("calloc", L("2"), L("8"));
  unsigned char* p = Ptr<unsigned char>(m);
  EXPECT_EQ(Num(Call("memset", m.Copy(), L("7"), L("15"))), Num(m));
  Call("memcpy", MakeInt64(Num(m) + 1), m.Copy(), L("15"));  // overlapping: memmove
  EXPECT_EQ(p[15], 7);
  EXPECT_EQ(Ans("free", m.Copy()), "I");
  EXPECT_EQ(Ans("free", L("[no address]")), "I");  // converts as 0
  EXPECT_EQ(Ans("strcpy", L("[dest]"), Addr("x")), "Z");  // a text is never a destination
}

TEST_F(BridgeStrings, NameErrorMessagesShareOneBuffer) {
  CellRef a = Call("gai_strerror", L("01"));
  std::string first = Str(a);
  CellRef b = Call("gai_strerror", L("02"));
  EXPECT_EQ(Num(a), Num(b));
  EXPECT_NE(Str(b), first);
}

}  // namespace
}  // namespace mox::builtin_test
