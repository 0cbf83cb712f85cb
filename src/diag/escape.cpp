// The escaped form of file paths; see escape.h.
#include "diag/escape.h"

namespace mox {

Text EscapedForm(const Text& t) {
  static const char kHex[] = "0123456789ABCDEF";
  TextBuilder out;
  for (int64_t i = 0; i < t.size(); ++i) {
    unsigned char b = t.At(i);
    if (b < 0x20 || b >= 0x7F || b == '[' || b == ']') {
      char esc[4] = {'[', kHex[b >> 4], kHex[b & 15], ']'};
      out.Append(std::string_view(esc, 4));
    } else {
      out.AppendByte(b);
    }
  }
  return out.Flatten();
}

}  // namespace mox
