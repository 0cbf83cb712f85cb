// Display decoding and the character code encoder. Both directions come from
// the same two symbol strings, so they cannot drift apart.
#include "diag/display.h"

#include <array>

#include "core/assert.h"

namespace mox {

namespace {

// Visible forms of the symbolic bytes 0x7F.. (index byte - 0x7F). The last
// entry, "9", is the code 0xA0 that decoding refuses.
constexpr std::string_view kHighSymbols = "~!@#$%^&*<>-|+/=\\.`'\":;?0123456789";
// Visible forms of 0xFF and 0x00..0x20 (index byte + 1, modulo 256). The
// last entry, "_", is the code 0x20, which decoding shows as the space.
constexpr std::string_view kLowSymbols = "]JABCDEFGHI,KLMNOPQRSTUVWXYZ(){}[_";

enum class Shade { kPlain, kRed, kGreen };

Shade ShadeOf(unsigned char b) {
  if (b >= 0x21 && b <= 0x7E) return Shade::kPlain;
  if (b >= 0xA1 && b <= 0xFE) return Shade::kRed;
  if (b == 0xA0) MOX_FATAL_TAG("charnopq");
  return Shade::kGreen;
}

const char* EscapeOf(Shade s) {
  switch (s) {
    case Shade::kRed:
      return kRedEscape;
    case Shade::kGreen:
      return kGreenEscape;
    case Shade::kPlain:
      break;
  }
  return kPlainEscape;
}

unsigned char VisibleByte(unsigned char b) {
  if (b == '\n') return ',';
  if (b >= 0x20 && b <= 0x7E) return b;
  if (b >= 0xA1) {
    if (b <= 0xFE) return static_cast<unsigned char>(b - 0x80);
    return static_cast<unsigned char>(kLowSymbols[0]);  // 0xFF
  }
  if (b >= 0x7F) return static_cast<unsigned char>(kHighSymbols[b - 0x7F]);
  return static_cast<unsigned char>(kLowSymbols[b + 1]);
}

}  // namespace

Text DisplayDecode(const Text& t) {
  TextBuilder out;
  Shade current = Shade::kPlain;
  for (int64_t i = 0; i < t.size(); ++i) {
    unsigned char b = t.At(i);
    Shade s = ShadeOf(b);
    if (s != current) {
      out.Append(EscapeOf(s));
      current = s;
    }
    out.AppendByte(VisibleByte(b));
  }
  if (current != Shade::kPlain) out.Append(kPlainEscape);
  return out.Flatten();
}

}  // namespace mox
