// The Banner: the four-part ASCII-art block that shows a Report on standard
// error, and the fixed usage and interrupt banners.
#pragma once

#include "core/text.h"
#include "diag/report.h"

namespace mox {

inline constexpr const char kBannerTop[] = "                        /\\\n";
inline constexpr const char kBannerBottom[] = "/\\uck_________/\\_/  \\_/    \\_\n";

// Title line: "\/\oh [" + title + "]     /\   /  \" + newline.
Text BannerTitleLine(const Text& title);
Text FormatBanner(const Report& report);

// The usage banner written when mox is run without a program file.
Text UsageBanner();
// The banner written after an interrupt when `shut` does not return I.
Text AfterBanner();

}  // namespace mox
