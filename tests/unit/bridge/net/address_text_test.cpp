// Address texts through the bridge: IPv4 and IPv6 round trips, and the
// host's answers for texts, families and buffers that do not fit.
#include "bridge/net/loopback.h"

namespace mox::builtin_test {
namespace {

using BridgeAddressText = Bridge;

std::string RoundTrip(int family, const char* text) {
  unsigned char binary[16] = {};
  char back[INET6_ADDRSTRLEN] = {};
  EXPECT_EQ(Ans("inet_pton", MakeInt64(family), Addr(text), Addr(binary)), "1");
  CellRef written = Call("inet_ntop", MakeInt64(family), Addr(binary), Addr(back), Size(sizeof back));
  EXPECT_EQ(Num(written), Num(Addr(back)));
  return back;
}

TEST_F(BridgeAddressText, RoundTrips) {
  EXPECT_EQ(RoundTrip(AF_INET, "127.0.0.1"), "127.0.0.1");
  EXPECT_EQ(RoundTrip(AF_INET, "127.200.0.1"), "127.200.0.1");
  EXPECT_EQ(RoundTrip(AF_INET6, "::1"), "::1");
  EXPECT_EQ(RoundTrip(AF_INET6, "fe80:0:0:0:0:0:0:a"), "fe80::a");
  unsigned char binary[4];
  Call("inet_pton", L("2"), Addr("127.1.2.3"), Addr(binary));
  EXPECT_EQ(Ans("ntohl", MakeInt64(*reinterpret_cast<uint32_t*>(binary))), "2130772483");
}

TEST_F(BridgeAddressText, TextsAndBuffersThatDoNotFit) {
  unsigned char binary[16] = {};
  EXPECT_EQ(Ans("inet_pton", L("2"), Addr("256.0.0.1"), Addr(binary)), "0");
  EXPECT_EQ(Ans("inet_pton", L("2"), Addr("::1"), Addr(binary)), "0");
  EXPECT_EQ(Ans("inet_pton", L("12345"), Addr("1.2.3.4"), Addr(binary)), "01");
  EXPECT_EQ(Ans("inet_pton", L("2"), L("[1.2.3.4]"), Addr(binary)), "Z");  // an integer address only
  char small[4];
  EXPECT_EQ(Ans("inet_ntop", L("2"), Addr(binary), Addr(small), Size(sizeof small)), "0");
  EXPECT_EQ(Num(Call("errno")), ENOSPC);
  EXPECT_EQ(Ans("inet_ntop", L("12345"), Addr(binary), Addr(small), Size(sizeof small)), "0");
  EXPECT_EQ(Num(Call("errno")), EAFNOSUPPORT);
}

}  // namespace
}  // namespace mox::builtin_test
