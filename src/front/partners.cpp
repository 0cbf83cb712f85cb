// The bracket partner table: one pass with an explicit stack of open groups.
#include "front/partners.h"

#include <vector>

#include "core/assert.h"
#include "core/square_brackets.h"

namespace mox {
namespace {

class PartnerWriter {
 public:
  PartnerWriter(BracketPartners& p, size_t n) : p_(p) {
    if (n < (uint64_t{1} << 32)) p_.narrow.reset(new uint32_t[n]);
    else p_.wide.reset(new int64_t[n]);
  }
  void Pair(int64_t a, int64_t b) {
    Set(a, b);
    Set(b, a);
  }

 private:
  void Set(int64_t i, int64_t v) {
    if (p_.narrow) p_.narrow[i] = static_cast<uint32_t>(v);
    else p_.wide[i] = v;
  }
  BracketPartners& p_;
};

// Offset of the "]" closing the literal that opens at i.
int64_t LiteralEnd(std::string_view s, int64_t i) {
  size_t end = ClosingSquare(s, static_cast<size_t>(i));
  MOX_ASSERT(end != kNoPartner);
  return static_cast<int64_t>(end);
}

}  // namespace

BracketPartners FindPartners(std::string_view s) {
  BracketPartners partners;
  PartnerWriter writer(partners, s.size());
  std::vector<int64_t> open;
  const int64_t n = static_cast<int64_t>(s.size());
  for (int64_t i = 0; i < n; ++i) {
    switch (s[i]) {
      case '[': {
        int64_t end = LiteralEnd(s, i);
        writer.Pair(i, end);
        i = end;
        break;
      }
      case '(':
      case '{':
        open.push_back(i);
        break;
      case ')':
      case '}':
        MOX_ASSERT(!open.empty());
        writer.Pair(open.back(), i);
        open.pop_back();
        break;
      case ']':
        MOX_FAIL();
      default:
        break;
    }
  }
  MOX_ASSERT(open.empty());
  return partners;
}

}  // namespace mox
