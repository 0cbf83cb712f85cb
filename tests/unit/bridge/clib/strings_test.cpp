// Strings and memory through the bridge: texts as C strings (brackets
// included), the 32-bit number conversions, and memory members.
#include <cerrno>
#include <cstring>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeStrings = Bridge;

TEST_F(BridgeStrings, TextsAreStringsWithTheirBrackets) {
  EXPECT_EQ(Ans("strlen", L("[abc]")), "5");
  EXPECT_EQ(Ans("strlen", Blob("abc")), "3");
  EXPECT_EQ(Ans("strlen", L("abc")), "Z");
  EXPECT_EQ(Ans("strnlen", L("[abc]"), L("2")), "2");
  EXPECT_EQ(Ans("strcmp", L("[abc]"), Addr("[abc]")), "0");
  EXPECT_LT(Num(Call("strcmp", L("[abc]"), Addr("[abd]"))), 0);
  EXPECT_EQ(Ans("strcasecmp", L("[ABC]"), Addr("[abc]")), "0");
  EXPECT_EQ(Ans("strncmp", L("[abX]"), Addr("[abY]"), L("3")), "0");
  EXPECT_EQ(Ans("strncasecmp", L("[ab]"), Addr("[AC]"), L("2")), "0");
  EXPECT_EQ(Ans("strspn", L("[aab]"), Addr("[a")), "3");

  CellRef text = L("[hello]");
  const char* bytes = reinterpret_cast<const char*>(text->Bytes());
  EXPECT_EQ(Ptr(Call("strchr", text.Copy(), L("108"))), bytes + 3);
  EXPECT_EQ(Ptr(Call("strrchr", text.Copy(), L("108"))), bytes + 4);
  EXPECT_EQ(Ptr(Call("strstr", text.Copy(), Addr("lo"))), bytes + 4);
  EXPECT_EQ(Ptr(Call("strpbrk", text.Copy(), Addr("ol"))), bytes + 3);
  EXPECT_EQ(Ans("strchr", text.Copy(), L("[l]")), "Z");
  EXPECT_EQ(Ans("strstr", text.Copy(), Addr("xyz")), "0");
}

TEST_F(BridgeStrings, CopiesGoToIntegerDestinations) {
  char buffer[32] = {};
  EXPECT_EQ(Num(Call("strcpy", Addr(buffer), L("[ab]"))), Num(Addr(buffer)));
  Call("strcat", Addr(buffer), Addr("cd"));
  Call("strncat", Addr(buffer), Addr("efgh"), L("2"));
  EXPECT_STREQ(buffer, "[ab]cdef");
  EXPECT_EQ(Ans("strcpy", L("[dest]"), Addr("x")), "Z");  // a text is never written
  Call("strncpy", Addr(buffer), Addr("XY"), L("2"));
  EXPECT_STREQ(buffer, "XYb]cdef");

  CellRef copy = Call("strdup", L("[dup]"));
  EXPECT_EQ(Str(copy), "[dup]");
  EXPECT_EQ(Ans("free", copy.Copy()), "I");
}

TEST_F(BridgeStrings, TokensWithAndWithoutState) {
  char line[] = "a,b;c";
  EXPECT_EQ(Str(Call("strtok", Addr(line), Addr(",;"))), "a");
  EXPECT_EQ(Str(Call("strtok", L("0"), Addr(",;"))), "b");
  EXPECT_EQ(Str(Call("strtok", L("0"), Addr(",;"))), "c");
  EXPECT_EQ(Ans("strtok", L("0"), Addr(",;")), "0");
  char other[] = "x y";
  char* state = nullptr;
  EXPECT_EQ(Str(Call("strtok_r", Addr(other), L("[ ]"), Addr(&state))), "x");
  EXPECT_EQ(Str(Call("strtok_r", L("0"), L("[ ]"), Addr(&state))), "y");
}

TEST_F(BridgeStrings, ConversionsOfAHostWithThirtyTwoBitLongs) {
  EXPECT_EQ(Ans("strtoul", Addr("-1"), L("0"), L("10")), "18446744073709551615");
  EXPECT_EQ(Ans("strtol", Addr("-1"), L("0"), L("10")), "01");
  EXPECT_EQ(Ans("strtol", Addr("ff"), L("0"), L("16")), "255");
  const char* text = "3000000000 rest";
  char* end = nullptr;
  EXPECT_EQ(Ans("strtol", Addr(text), Addr(&end), L("10")), "2147483647");
  EXPECT_EQ(end, text + 10);
  EXPECT_EQ(Ans("errno"), "34");  // ERANGE
  EXPECT_EQ(Ans("strtol", Addr("-3000000000"), L("0"), L("10")), "02147483648");
  EXPECT_EQ(Ans("strtoul", Addr("3000000000"), L("0"), L("10")), "2147483647");
  EXPECT_EQ(Ans("strtol", L("[12]"), L("0"), L("10")), "0");  // "[" is no digit
  EXPECT_EQ(Ans("atoi", Addr(" 42x")), "42");
  EXPECT_EQ(FindBuiltin("atoi")->handler, FindBuiltin("atol")->handler);
  EXPECT_EQ(FindBuiltin("memcpy")->handler, FindBuiltin("memmove")->handler);
  EXPECT_EQ(RealOf(Call("atof", Addr("2.5"))), 2.5);
  EXPECT_EQ(RealOf(Call("strtod", Addr("-0.25e1x"), Addr(&end))), -2.5);
  EXPECT_EQ(*end, 'x');
}

TEST_F(BridgeStrings, MemoryMembers) {
  CellRef m = Call("calloc", L("4"), L("4"));
  unsigned char* p = Ptr<unsigned char>(m);
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p[15], 0);
  EXPECT_EQ(Num(Call("memset", m.Copy(), L("7"), L("16"))), Num(m));
  EXPECT_EQ(p[15], 7);
  Call("memcpy", m.Copy(), MakeInt64(Num(m) + 1), L("15"));  // overlapping: memmove
  p[0] = 'a';
  EXPECT_EQ(Ptr<unsigned char>(Call("memchr", m.Copy(), L("97"), L("16"))), p);
  EXPECT_EQ(Ans("memchr", m.Copy(), L("200"), L("16")), "0");
  EXPECT_EQ(Ans("memcmp", m.Copy(), m.Copy(), L("16")), "0");
  EXPECT_EQ(Ans("bzero", m.Copy(), L("16")), "I");
  EXPECT_EQ(p[5], 0);
  m = Call("realloc", m.Copy(), L("64"));
  ASSERT_NE(Num(m), 0);
  EXPECT_EQ(Ans("free", m.Copy()), "I");
  EXPECT_EQ(Ans("free", L("0")), "I");
  EXPECT_EQ(Ans("free", L("[not an address]")), "I");  // converts as 0
  EXPECT_EQ(Ans("malloc", L("[8]")), "Z");
  CellRef small = Call("malloc", L("8"));
  Call("free", small.Copy());
}

TEST_F(BridgeStrings, Messages) {
  EXPECT_EQ(Str(Call("strerror", L("2"))), std::strerror(2));
  CellRef a = Call("gai_strerror", L("01"));
  std::string first = Str(a);
  CellRef b = Call("gai_strerror", L("02"));
  EXPECT_EQ(Num(a), Num(b));  // one buffer, overwritten
  EXPECT_NE(Str(b), first);
  EXPECT_FALSE(Str(b).empty());
}

}  // namespace
}  // namespace mox::builtin_test
