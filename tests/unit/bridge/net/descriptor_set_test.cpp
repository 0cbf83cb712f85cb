// The fd_set operation: a descriptor is added once, up to 64 of them.
#include <cstring>

#include "bridge/net/loopback.h"

namespace mox::builtin_test {
namespace {

using BridgeDescriptorSet = Bridge;

uint32_t CountOf(const unsigned char* set) {
  uint32_t n;
  std::memcpy(&n, set, 4);
  return n;
}

int64_t EntryOf(const unsigned char* set, int i) {
  int64_t d;
  std::memcpy(&d, set + 8 + 8 * i, 8);
  return d;
}

TEST_F(BridgeDescriptorSet, AddsEachDescriptorOnceUpToSixtyFour) {
  EXPECT_EQ(FindBuiltin("fd_set")->arity, 2);
  unsigned char set[520 + 8] = {};
  std::memset(set + 520, 0x5A, 8);  // past the record: never written
  EXPECT_EQ(Ans("fd_set", L("7"), Addr(set)), "I");
  EXPECT_EQ(Ans("fd_set", L("7"), Addr(set)), "I");
  EXPECT_EQ(Ans("fd_set", L("3"), Addr(set)), "I");
  EXPECT_EQ(CountOf(set), 2u);
  EXPECT_EQ(EntryOf(set, 0), 7);
  EXPECT_EQ(EntryOf(set, 1), 3);
  for (int d = 100; d < 200; ++d) Call("fd_set", MakeInt64(d), Addr(set));
  EXPECT_EQ(CountOf(set), 64u);
  EXPECT_EQ(EntryOf(set, 63), 161);
  EXPECT_EQ(set[520], 0x5A);
  EXPECT_EQ(Ans("fd_set", L("1"), L("0")), "I");  // no record
  EXPECT_EQ(Ans("fd_set", L("[1]"), Addr(set)), "Z");
}

}  // namespace
}  // namespace mox::builtin_test
