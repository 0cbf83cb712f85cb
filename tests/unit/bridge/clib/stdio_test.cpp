// Streams through the bridge: the kinds that keep a text from being taken
// for a stream, and temporary names (a file round trip is
// tests/programs/bridge/file_roundtrip).
#include <cstdio>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeStdio = Bridge;

TEST_F(BridgeStdio, StreamsAndStringsThereAreIntegersOnly) {
  EXPECT_EQ(Ptr<FILE>(Call("stdout")), stdout);
  EXPECT_EQ(Ans("fputs", L("[text]"), Call("stdout")), "Z");
  EXPECT_EQ(Ans("fclose", L("[f]")), "Z");
  EXPECT_EQ(Ans("fopen", Addr("/dev/null"), L("[r]")), "0");  // the mode "[r]" is no mode
  CellRef f = Call("fopen", Addr("/dev/null"), Blob(std::string_view("r", 2)));  // a blob's payload
  ASSERT_NE(Num(f), 0);
  EXPECT_EQ(Ans("fclose", f.Copy()), "0");
}

TEST_F(BridgeStdio, TemporaryNames) {
  char buffer[L_tmpnam];
  EXPECT_EQ(Num(Call("tmpnam", Addr(buffer))), Num(Addr(buffer)));
  std::string own = Str(Call("tmpnam", L("0")));
  EXPECT_NE(own, buffer);
  EXPECT_EQ(own.rfind(P_tmpdir "/", 0), 0u);
}

}  // namespace
}  // namespace mox::builtin_test
