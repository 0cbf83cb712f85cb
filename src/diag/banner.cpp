// Formatting Banners: the three art lines, then the non-empty message fields
// in the order way, vip, tip, say, each shown in display decoding.
#include "diag/banner.h"

#include "diag/display.h"

namespace mox {

Text BannerTitleLine(const Text& title) {
  TextBuilder line;
  line.Append("\\/\\oh [");
  line.Append(title);
  line.Append("]     /\\   /  \\\n");
  return line.Flatten();
}

Text FormatBanner(const Report& report) {
  TextBuilder out;
  out.Append(kBannerTop);
  out.Append(BannerTitleLine(report.title));
  out.Append(kBannerBottom);
  const struct {
    const char* tag;
    const Text* field;
  } lines[] = {{" <way> ", &report.way}, {" <vip> ", &report.vip},
               {" <tip> ", &report.tip}, {" <say> ", &report.say}};
  for (const auto& line : lines) {
    if (line.field->empty()) continue;
    out.Append(line.tag);
    out.Append(DisplayDecode(*line.field));
    out.Append("\n");
  }
  return out.Flatten();
}

namespace {

// A Banner with a fixed title and one fixed say line, written as it is.
Text FixedBanner(const char* title, const char* say_line) {
  TextBuilder out;
  out.Append(kBannerTop);
  out.Append(BannerTitleLine(title));
  out.Append(kBannerBottom);
  out.Append(say_line);
  return out.Flatten();
}

}  // namespace

Text UsageBanner() { return FixedBanner("usage", " <say> mox file args...\n"); }

Text AfterBanner() {
  return FixedBanner("after", " <say> The shut function did not return I after SIGHUP.\n");
}

}  // namespace mox
