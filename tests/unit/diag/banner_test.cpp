// Banners: the fixed art, the field order and the decoding of field lines.
#include <gtest/gtest.h>

#include <string>

#include "diag/banner.h"

namespace mox {
namespace {

const std::string kTop = "                        /\\\n";
const std::string kBottom = "/\\uck_________/\\_/  \\_/    \\_\n";

TEST(Banner, FixedArtLines) {
  EXPECT_EQ(kTop.size(), 27u);
  EXPECT_EQ(kBottom.size(), 30u);
  EXPECT_EQ(std::string(kBannerTop), kTop);
  EXPECT_EQ(std::string(kBannerBottom), kBottom);
  EXPECT_EQ(BannerTitleLine("cycle"), "\\/\\oh [cycle]     /\\   /  \\\n");
  // a longer title widens the line; nothing pads or cuts it
  EXPECT_EQ(BannerTitleLine("longtitle"), "\\/\\oh [longtitle]     /\\   /  \\\n");
}

TEST(Banner, UsageAndAfterBanners) {
  EXPECT_EQ(UsageBanner(),
            kTop + "\\/\\oh [usage]     /\\   /  \\\n" + kBottom + " <say> mox file args...\n");
  EXPECT_EQ(AfterBanner(), kTop + "\\/\\oh [after]     /\\   /  \\\n" + kBottom +
                               " <say> The shut function did not return I after SIGHUP.\n");
}

TEST(Banner, FieldsInWayVipTipSayOrderAndEmptyOnesSkipped) {
  Report r;
  r.say = "S";
  r.tip = "T";
  r.title = "range";
  r.vip = "V";
  r.way = "W";
  std::string head = kTop + "\\/\\oh [range]     /\\   /  \\\n" + kBottom;
  EXPECT_EQ(FormatBanner(r), head + " <way> W\n <vip> V\n <tip> T\n <say> S\n");
  r.vip = Text();
  r.way = Text();
  r.tip = Text();
  EXPECT_EQ(FormatBanner(r), head + " <say> S\n");
}

TEST(Banner, FieldsAreDecodedButTheTitleIsNot) {
  Report r;
  r.title = "a b";
  r.say = "x\ny";
  r.tip = Text("\xE1", 1);
  EXPECT_EQ(FormatBanner(r), kTop + "\\/\\oh [a b]     /\\   /  \\\n" + kBottom +
                                 " <tip> \033[31ma\033[m\n <say> x\033[32m,\033[my\n");
}

}  // namespace
}  // namespace mox
