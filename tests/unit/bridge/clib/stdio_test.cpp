// Streams and descriptors through the bridge: the kinds that keep a text
// from being taken for a stream, temporary names, descriptors (a file round
// trip is tests/programs/bridge/file_roundtrip).
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

TEST_F(BridgeStdio, Descriptors) {
  int ends[2];
  ASSERT_EQ(pipe(ends), 0);
  EXPECT_EQ(Ans("write", MakeInt64(ends[1]), L("[abc]"), L("5")), "5");  // the brackets too
  char got[8] = {};
  EXPECT_EQ(Ans("read", MakeInt64(ends[0]), Addr(got), L("8")), "5");
  EXPECT_STREQ(got, "[abc]");
  EXPECT_EQ(Ans("closesocket", MakeInt64(ends[1])), "0");
  EXPECT_EQ(Ans("closesocket", MakeInt64(ends[1])), "01");
  EXPECT_EQ(Ans("errno"), Ans("ebadf"));
  close(ends[0]);
}

}  // namespace
}  // namespace mox::builtin_test
