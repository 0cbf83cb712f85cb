// Display decoding of message texts and the internal character code.
//
// Inside program texts a character is stored one of three ways, told apart
// by byte range: 0x21..0x7E is the printable character itself (plain);
// 0xA1..0xFE is a quoted printable character stored as character + 0x80
// (red); 0x00..0x20, 0x7F..0x9F and 0xFF are symbolic codes (green; 0x20 is
// the space). Decoding maps them back to visible bytes and wraps each run of
// red or green bytes in colour escapes.
#pragma once

#include "core/text.h"

namespace mox {

inline constexpr const char kRedEscape[] = "\033[31m";
inline constexpr const char kGreenEscape[] = "\033[32m";
inline constexpr const char kPlainEscape[] = "\033[m";

// The visible form of a message text: a newline byte shows as ",", quoted
// and symbolic bytes as the characters they stand for, each change of class
// announced by its escape, and a final plain escape when the text does not
// end plain. The byte 0xA0 has no visible form: fatal tag "charnopq".
Text DisplayDecode(const Text& t);

}  // namespace mox
