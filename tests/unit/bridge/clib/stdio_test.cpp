// Streams through the bridge: the kinds that keep a text from being taken
// for a stream, streams that may write the program's memory, and temporary
// names (a file round trip is tests/programs/bridge/file_roundtrip).
#include <cstdio>
#include <string_view>

#include "bridge/clib/bridge_calls.h"
#include "core/write_epoch.h"

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

// A stream on the process file system may write the program's memory
// (/proc/self/mem does), so opening one makes every reading builtin a
// writer; a device does not.
TEST_F(BridgeStdio, AStreamOnTheProcessFileSystemMakesReadersWriters) {
  for (const char* path : {"/dev/null", "/proc/self/mem"}) {
    CellRef f = Call("fopen", Addr(path), Addr("r"));
    ASSERT_NE(Num(f), 0) << path;
    EXPECT_EQ(g_memory_lent, std::string_view(path) == "/proc/self/mem") << path;
    const uint64_t epoch = WriteEpoch();
    Ans("strlen", L("[abc]"));
    EXPECT_EQ(WriteEpoch() != epoch, g_memory_lent) << path;
    EXPECT_EQ(Ans("fclose", f.Copy()), "0");
  }
  g_memory_lent = false;
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
