// Name resolution through the bridge: result lists walked at the programs'
// record offsets, passive lookups, the host's codes for failures, and
// freeing that forgives addresses no lookup gave.
#include <netdb.h>

#include <cstring>

#include "bridge/net/loopback.h"

namespace mox::builtin_test {
namespace {

using BridgeResolution = Bridge;

// The programs' addrinfo record, read at its documented offsets.
template <typename T>
T Field(const unsigned char* record, size_t offset) {
  T v;
  std::memcpy(&v, record + offset, sizeof v);
  return v;
}

struct Hints {
  unsigned char bytes[48] = {};
  Hints(int32_t flags, int32_t family, int32_t socktype) {
    std::memcpy(bytes + 0, &flags, 4);
    std::memcpy(bytes + 4, &family, 4);
    std::memcpy(bytes + 8, &socktype, 4);
    std::memset(bytes + 16, 0xAB, 32);  // what programs leave there does not matter
  }
};

// The IPv4 addresses of a list, as "a.b.c.d:port" each, walked by ai_next.
std::string WalkIpv4(const unsigned char* record) {
  std::string seen;
  for (int guard = 0; record != nullptr && guard < 16; ++guard) {
    EXPECT_EQ(Field<int32_t>(record, 4), AF_INET);
    EXPECT_EQ(Field<int32_t>(record, 8), SOCK_STREAM);
    EXPECT_EQ(Field<uint64_t>(record, 16), sizeof(sockaddr_in));
    auto* address = Field<const sockaddr_in*>(record, 32);
    char text[INET_ADDRSTRLEN];
    inet_ntop(AF_INET, &address->sin_addr, text, sizeof text);
    seen += std::string(text) + ":" + std::to_string(ntohs(address->sin_port)) + " ";
    record = Field<const unsigned char*>(record, 40);
  }
  return seen;
}

TEST_F(BridgeResolution, NumericHostInTheProgramsLayout) {
  Hints hints(AI_CANONNAME, AF_INET, SOCK_STREAM);
  unsigned char* list = nullptr;
  EXPECT_EQ(Ans("getaddrinfo", Addr("127.0.0.1"), Addr("80"), Addr(hints.bytes), Addr(&list)), "0");
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(WalkIpv4(list), "127.0.0.1:80 ");
  EXPECT_STREQ(Field<const char*>(list, 24), "127.0.0.1");  // the canonical name
  EXPECT_EQ(Ans("freeaddrinfo", Addr(list)), "I");
  EXPECT_EQ(Ans("freeaddrinfo", Addr(list)), "I");  // freed already: nothing happens
}

TEST_F(BridgeResolution, PassiveLookupWithoutANode) {
  Hints hints(0, AF_INET, SOCK_STREAM);
  int32_t passive = static_cast<int32_t>(Num(Call("ai_passive")));
  std::memcpy(hints.bytes, &passive, 4);
  unsigned char* list = nullptr;
  EXPECT_EQ(Ans("getaddrinfo", L("0"), Addr("5000"), Addr(hints.bytes), Addr(&list)), "0");
  EXPECT_EQ(WalkIpv4(list), "0.0.0.0:5000 ");
  EXPECT_EQ(Ans("freeaddrinfo", Addr(list)), "I");
}

TEST_F(BridgeResolution, FailuresAnswerTheHostsCodes) {
  unsigned char* untouched = reinterpret_cast<unsigned char*>(&untouched);
  unsigned char* slot = untouched;
  EXPECT_EQ(Num(Call("getaddrinfo", L("0"), L("0"), L("0"), Addr(&slot))), EAI_NONAME);
  EXPECT_EQ(slot, untouched);
  // Raw integers: a text reads as 0, a null node.
  EXPECT_EQ(Num(Call("getaddrinfo", L("[127.0.0.1]"), L("0"), L("0"), Addr(&slot))), EAI_NONAME);
  Hints numeric(AI_NUMERICHOST, AF_INET, 0);
  EXPECT_EQ(Num(Call("getaddrinfo", Addr("not an address"), L("0"), Addr(numeric.bytes), Addr(&slot))), EAI_NONAME);
  EXPECT_EQ(Str(Call("gai_strerror", MakeInt64(EAI_NONAME))), gai_strerror(EAI_NONAME));
  // With no slot the list has nowhere to go and is released at once.
  EXPECT_EQ(Ans("getaddrinfo", Addr("127.0.0.1"), L("0"), L("0"), L("0")), "0");
  EXPECT_EQ(Ans("freeaddrinfo", L("0")), "I");
  EXPECT_EQ(Ans("freeaddrinfo", Addr(&slot)), "I");
}

TEST_F(BridgeResolution, NameOfASocketAddress) {
  sockaddr_in a = Loopback(8080);
  char host[64] = {}, service[16] = {};
  EXPECT_EQ(Ans("getnameinfo", Addr(&a), Size(sizeof a), Addr(host), Size(sizeof host), Addr(service),
                Size(sizeof service), MakeInt64(NI_NUMERICHOST | NI_NUMERICSERV)),
            "0");
  EXPECT_STREQ(host, "127.0.0.1");
  EXPECT_STREQ(service, "8080");
  EXPECT_EQ(Num(Call("getnameinfo", Addr(&a), L("3"), Addr(host), Size(sizeof host), L("0"), L("0"), L("0"))),
            EAI_FAMILY);
}

}  // namespace
}  // namespace mox::builtin_test
