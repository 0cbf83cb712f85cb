// Time records through the bridge: a program's tm is nine ints, 36 bytes, and
// mktime, asctime and strftime must neither write nor read past them.
#include <ctime>
#include <memory>

#include "bridge/clib/bridge_calls.h"

namespace mox::builtin_test {
namespace {

using BridgeTime = Bridge;

TEST_F(BridgeTime, RecordsOfNineFieldsAreEnough) {
  // 2026-12-07 10:20:90, which mktime normalises to 10:21:30, a Monday.
  std::unique_ptr<int[]> record(new int[9]{90, 20, 10, 7, 11, 126, 0, 0, -1});
  std::tm host{};
  host.tm_sec = 90, host.tm_min = 20, host.tm_hour = 10, host.tm_mday = 7;
  host.tm_mon = 11, host.tm_year = 126, host.tm_isdst = -1;
  time_t expected = std::mktime(&host);

  EXPECT_EQ(Num(Call("mktime", Addr(record.get()))), expected);
  EXPECT_EQ(record[0], 30);
  EXPECT_EQ(record[1], 21);
  EXPECT_EQ(record[6], 1);    // Monday
  EXPECT_EQ(record[7], 340);  // days since the first of January

  EXPECT_EQ(Str(Call("asctime", Addr(record.get()))), "Mon Dec  7 10:21:30 2026\n");
  char text[64];
  EXPECT_EQ(Ans("strftime", Addr(text), L("64"), Addr("%Y-%m-%d %H:%M:%S"), Addr(record.get())), "19");
  EXPECT_STREQ(text, "2026-12-07 10:21:30");
  // The zone is local time's at that moment.
  char zone[64];
  std::strftime(zone, sizeof zone, "%z %Z", &host);
  Call("strftime", Addr(text), L("64"), Addr("%z %Z"), Addr(record.get()));
  EXPECT_STREQ(text, zone);
}

}  // namespace
}  // namespace mox::builtin_test
