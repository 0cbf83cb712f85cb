// Names and places: definable names, keys and place codes.
#include "front/names.h"

#include "core/alphabet.h"
#include "front/charset.h"

namespace mox {

Text PlaceCode(int64_t offset) {
  constexpr int64_t kLimit = int64_t{1} << 30;
  MOX_ASSERT(offset >= 0 && offset <= kLimit);
  if (offset == kLimit) return Text("!!!!!");
  char code[5];
  for (int k = 4; k >= 0; --k) {
    code[k] = kDigitAlphabet[offset % 64];
    offset /= 64;
  }
  return Text(code, 5);
}

bool IsDefinableName(std::string_view name) {
  if (name.empty()) return false;
  if (name.size() == 3 && name[0] == '[' && name[2] == ']') return IsOperatorNameChar(name[1]);
  bool all_name_chars = true;
  for (unsigned char c : name) all_name_chars = all_name_chars && IsNameChar(c);
  if (all_name_chars) return true;
  if (name.size() != 1) return false;
  unsigned char c = name[0];
  return (c >= 'A' && c <= 'Z') || (c >= 1 && c <= 31) || c >= 127;
}

Text GlobalKey(std::string_view name) {
  MOX_ASSERT(IsDefinableName(name));
  if (name.size() == 3 && name[0] == '[') return Text(name.substr(1, 1));
  return Text(name);
}

}  // namespace mox
