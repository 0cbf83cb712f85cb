// Formats a double as sign, 17 significant digits and a four-digit exponent.
#include "core/real_text.h"

#include <cstdio>

namespace mox {

Text RealText(double d) {
  char buf[48];
  int n = std::snprintf(buf, sizeof buf, "%+1.16e", d);
  MOX_ASSERT(n > 0 && n < static_cast<int>(sizeof buf));
  // "+d.dddddddddddddddde+" is 21 bytes; the exponent digits follow.
  constexpr int kDigitsAt = 21;
  std::string_view printed(buf, static_cast<size_t>(n));
  std::string_view pad = n == 23 ? "00" : n == 24 ? "0" : "";
  if (pad.empty()) return Text(printed);
  TextBuilder out;
  out.Append(printed.substr(0, kDigitsAt));
  out.Append(pad);
  out.Append(printed.substr(kDigitsAt));
  return out.Flatten();
}

}  // namespace mox
