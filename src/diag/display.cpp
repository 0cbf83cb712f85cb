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

// Symbolic code of each visible byte; 0 where there is none. Code 0 itself
// (the letter J) is told apart by the separate `has` table.
struct SymbolTable {
  std::array<unsigned char, 256> code{};
  std::array<bool, 256> has{};
};

const SymbolTable& Symbols() {
  static const SymbolTable table = [] {
    SymbolTable t;
    for (size_t i = 0; i < kHighSymbols.size(); ++i) {
      auto c = static_cast<unsigned char>(kHighSymbols[i]);
      t.code[c] = static_cast<unsigned char>(0x7F + i);
      t.has[c] = true;
    }
    for (size_t i = 0; i < kLowSymbols.size(); ++i) {
      auto c = static_cast<unsigned char>(kLowSymbols[i]);
      t.code[c] = static_cast<unsigned char>(i - 1);  // index 0 wraps to 0xFF
      t.has[c] = true;
    }
    return t;
  }();
  return table;
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

unsigned char EncodeChar(int mode, unsigned char c) {
  if (c == ' ' || c == '\n' || mode == kVerbatimMode) return c;
  if (mode == kQuotedMode) return static_cast<unsigned char>(c + 0x80);
  if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
  if (c < '!' || c > '~' || !Symbols().has[c]) MOX_FATAL_TAG("nopqchar");
  return Symbols().code[c];
}

const unsigned char* CharacterTable() {
  static const std::array<unsigned char, 256> table = [] {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = EncodeChar(kVerbatimMode, static_cast<unsigned char>(b));
    return t;
  }();
  return table.data();
}

}  // namespace mox
