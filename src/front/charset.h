// The lexical character sets of the language as one 256-entry class table,
// so that every membership test is a single load. Only the space and the
// newline are whitespace; every other byte (tab, carriage return, bytes of
// 128 and more) is an ordinary character.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace mox {

// The sets as byte strings (the table below is built from them).
inline constexpr std::string_view kSeparatorChars = "\n #%&'*+,-./:;<=>?@\\^|";
inline constexpr std::string_view kOperatorChars = "~!@#$%^&*<>-|+/=\\.`'\":;?(){},[] \n";
inline constexpr std::string_view kAffixChars = "~!\"$`";
inline constexpr std::string_view kOperatorNameChars = "{,}~!@#$%^&*<>-|+/=\\.`'\":;?";
static_assert(kSeparatorChars.size() == 22 && kOperatorChars.size() == 33);
static_assert(kAffixChars.size() == 5 && kOperatorNameChars.size() == 27);

// Class bits of a byte.
enum : uint16_t {
  kClassSeparator = 1 << 0,
  kClassOperator = 1 << 1,
  kClassAffix = 1 << 2,
  kClassOperatorName = 1 << 3,
  kClassOpen = 1 << 4,    // ( [ {
  kClassClose = 1 << 5,   // ) ] }
  kClassName = 1 << 6,    // lower-case letters and _
  kClassDigit = 1 << 7,   // 0..9
  kClassBlank = 1 << 8,   // space and newline
};

namespace detail {
constexpr std::array<uint16_t, 256> BuildClassTable() {
  std::array<uint16_t, 256> t{};
  for (unsigned char c : kSeparatorChars) t[c] |= kClassSeparator;
  for (unsigned char c : kOperatorChars) t[c] |= kClassOperator;
  for (unsigned char c : kAffixChars) t[c] |= kClassAffix;
  for (unsigned char c : kOperatorNameChars) t[c] |= kClassOperatorName;
  for (unsigned char c : std::string_view("([{")) t[c] |= kClassOpen;
  for (unsigned char c : std::string_view(")]}")) t[c] |= kClassClose;
  for (int c = 'a'; c <= 'z'; ++c) t[c] |= kClassName;
  t['_'] |= kClassName;
  for (int c = '0'; c <= '9'; ++c) t[c] |= kClassDigit;
  t[' '] |= kClassBlank;
  t['\n'] |= kClassBlank;
  return t;
}
}  // namespace detail

inline constexpr std::array<uint16_t, 256> kByteClass = detail::BuildClassTable();

inline bool HasClass(unsigned char c, uint16_t bits) { return (kByteClass[c] & bits) != 0; }
inline bool IsSeparator(unsigned char c) { return HasClass(c, kClassSeparator); }
inline bool IsOperatorChar(unsigned char c) { return HasClass(c, kClassOperator); }
inline bool IsAffixOperator(unsigned char c) { return HasClass(c, kClassAffix); }
inline bool IsOperatorNameChar(unsigned char c) { return HasClass(c, kClassOperatorName); }
inline bool IsBracket(unsigned char c) { return HasClass(c, kClassOpen | kClassClose); }
inline bool IsOpeningBracket(unsigned char c) { return HasClass(c, kClassOpen); }
inline bool IsClosingBracket(unsigned char c) { return HasClass(c, kClassClose); }
inline bool IsNameChar(unsigned char c) { return HasClass(c, kClassName); }
inline bool IsBlank(unsigned char c) { return HasClass(c, kClassBlank); }

// A set of bytes for the depth-zero scans (FindTopLevel).
struct ByteSet {
  uint64_t bits[4] = {0, 0, 0, 0};

  constexpr ByteSet() = default;
  constexpr explicit ByteSet(std::string_view members) {
    for (unsigned char c : members) bits[c >> 6] |= uint64_t{1} << (c & 63);
  }
  constexpr bool Has(unsigned char c) const { return ((bits[c >> 6] >> (c & 63)) & 1) != 0; }
};

}  // namespace mox
