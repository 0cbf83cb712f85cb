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

Text UsageBanner() {
  TextBuilder out;
  out.Append(kBannerTop);
  out.Append(BannerTitleLine("usage"));
  out.Append(kBannerBottom);
  out.Append(" <say> mox file args...\n");
  return out.Flatten();
}

}  // namespace mox
