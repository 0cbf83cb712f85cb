// Banners byte for byte: the art around the title, the field order, empty
// fields skipped, and fields (not the title) decoded for display.
#include <gtest/gtest.h>

#include <string>

#include "diag/banner.h"

namespace mox {
namespace {

const std::string kTop = "                        /\\\n";
const std::string kBottom = "/\\uck_________/\\_/  \\_/    \\_\n";

std::string Head(const std::string& title) { return kTop + "\\/\\oh [" + title + "]     /\\   /  \\\n" + kBottom; }

TEST(Banner, FixedBanners) {
  // a longer title widens the line; nothing pads or cuts it
  EXPECT_EQ(BannerTitleLine("longtitle"), "\\/\\oh [longtitle]     /\\   /  \\\n");
  EXPECT_EQ(UsageBanner(), Head("usage") + " <say> mox file args...\n");
  EXPECT_EQ(AfterBanner(), Head("after") + " <say> The shut function did not return I after SIGHUP.\n");
}

TEST(Banner, FieldsInWayVipTipSayOrderAndEmptyOnesSkipped) {
  Report r;
  r.say = "S";
  r.tip = "T";
  r.title = "range";
  r.vip = "V";
  r.way = "W";
  EXPECT_EQ(FormatBanner(r), Head("range") + " <way> W\n <vip> V\n <tip> T\n <say> S\n");
  r.vip = Text();
  r.way = Text();
  r.tip = Text();
  EXPECT_EQ(FormatBanner(r), Head("range") + " <say> S\n");
}

TEST(Banner, FieldsAreDecodedButTheTitleIsNot) {
  Report r;
  r.title = "a b";
  r.say = "x\ny";
  r.tip = Text("\xE1", 1);
  EXPECT_EQ(FormatBanner(r), Head("a b") + " <tip> \033[31ma\033[m\n <say> x\033[32m,\033[my\n");
}

}  // namespace
}  // namespace mox
