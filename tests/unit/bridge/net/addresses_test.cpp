// Addresses through the bridge: resolution lists walked at the programs'
// record offsets and freed, texts of IPv4 and IPv6 addresses, and the
// fd_set operation.
#include <arpa/inet.h>
#include <netdb.h>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeAddresses = Bridge;

// A list walked by ai_next (at 40): "address:port/addrlen " per record.
std::string Walk(const void* record) {
  std::string seen;
  for (int guard = 0; record != nullptr && guard < 8; ++guard, record = At<void*>(record, 40)) {
    auto* in = At<sockaddr_in*>(record, 32);
    char text[16];
    seen += std::string(inet_ntop(At<int32_t>(record, 4), &in->sin_addr, text, 16)) + ":" +
            std::to_string(ntohs(in->sin_port)) + "/" + std::to_string(At<uint64_t>(record, 16)) + " ";
  }
  return seen;
}

TEST_F(BridgeAddresses, ResolutionInTheProgramsLayout) {
  int32_t hints[12] = {AI_CANONNAME, AF_INET, SOCK_STREAM, 0, -1, -1, -1, -1, -1, -1, -1, -1};
  void* list = nullptr;
  EXPECT_EQ(Ans("getaddrinfo", Addr("127.0.0.1"), Addr("80"), Addr(hints), Addr(&list)), "0");
  EXPECT_EQ(Walk(list), "127.0.0.1:80/16 ");
  EXPECT_STREQ(At<char*>(list, 24), "127.0.0.1");
  EXPECT_EQ(Ans("freeaddrinfo", Addr(list)), "I");
  EXPECT_EQ(Ans("freeaddrinfo", Addr(list)), "I");  // freed already: left alone

  // The hints and the slot may sit at any address.
  unsigned char odd[1 + 48 + 8];
  std::memcpy(odd + 1, hints, 48);
  EXPECT_EQ(Ans("getaddrinfo", Addr("127.0.0.1"), Addr("81"), Addr(odd + 1), Addr(odd + 49)), "0");
  EXPECT_EQ(Walk(At<void*>(odd, 49)), "127.0.0.1:81/16 ");
  EXPECT_EQ(Ans("freeaddrinfo", Addr(At<void*>(odd, 49))), "I");

  hints[0] = static_cast<int32_t>(Num(Call("ai_passive")));
  EXPECT_EQ(Ans("getaddrinfo", L("0"), Addr("5000"), Addr(hints), Addr(&list)), "0");
  EXPECT_EQ(Walk(list), "0.0.0.0:5000/16 ");
  EXPECT_EQ(Ans("freeaddrinfo", Addr(list)), "I");
}

TEST_F(BridgeAddresses, ResolutionFailures) {
  void* slot = &slot;
  // Raw integers: a text reads as 0, so this is no node and no service.
  EXPECT_EQ(Num(Call("getaddrinfo", L("[127.0.0.1]"), L("0"), L("0"), Addr(&slot))), EAI_NONAME);
  EXPECT_EQ(slot, &slot);
  EXPECT_EQ(Ans("getaddrinfo", Addr("127.0.0.1"), L("0"), L("0"), L("0")), "0");  // released at once
  EXPECT_EQ(Ans("freeaddrinfo", Addr(&slot)), "I");
}

TEST_F(BridgeAddresses, TextForms) {
  unsigned char binary[16];
  char text[46];
  for (auto [family, form] : {std::pair{AF_INET, "127.1.2.3"}, {AF_INET6, "::1"}, {AF_INET6, "fe80::a"}}) {
    EXPECT_EQ(Ans("inet_pton", MakeInt64(family), Addr(form), Addr(binary)), "1");
    EXPECT_EQ(Str(Call("inet_ntop", MakeInt64(family), Addr(binary), Addr(text), L("46"))), form);
  }
  EXPECT_EQ(Ans("inet_pton", L("2"), L("[1.2.3.4]"), Addr(binary)), "Z");
}

TEST_F(BridgeAddresses, DescriptorSetTakesEachOnceUpToSixtyFour) {
  unsigned char set[528] = {};
  for (int d : {7, 7, 3}) EXPECT_EQ(Ans("fd_set", MakeInt64(d), Addr(set)), "I");
  EXPECT_EQ(At<uint32_t>(set, 0), 2u);
  EXPECT_EQ(At<int64_t>(set, 16), 3);
  for (int d = 100; d < 200; ++d) Call("fd_set", MakeInt64(d), Addr(set));
  EXPECT_EQ(At<uint32_t>(set, 0), 64u);
  EXPECT_EQ(At<int64_t>(set, 512), 161);
  EXPECT_EQ(At<int64_t>(set, 520), 0);  // nothing past the record
}

}  // namespace
}  // namespace mox::builtin_test
