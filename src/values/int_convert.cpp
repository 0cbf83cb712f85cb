// Integer conversion at the edges: number leaves to and from 64-bit words.
#include "values/int_convert.h"

#include "values/number_bits.h"

namespace mox {

bool PassesIntegerTest(const Cell* c) {
  if (c->IsLeaf()) {
    unsigned char b0 = c->Bytes()[0];
    if (b0 == 'K') return true;
    if (b0 == '0') return c->Bytes()[1] != '0';
    return IsDigit(b0);
  }
  const Cell* f = c->f;
  return f->IsApp() && IsLeafText(f->f, "J") && IsLeafText(f->a, "K");
}

uint64_t IntegerMagnitude64(const Cell* c, bool* negative) {
  *negative = false;
  CellRef text;  // a list-form integer converts through its text
  if (c->IsApp()) {
    if (!PassesIntegerTest(c)) return 0;
    text = NumberListText(c);
    if (!text) return 0;
    c = text.get();
  }
  std::string_view s = LeafView(c);
  *negative = s.size() > 1 && s[0] == '0';
  if (*negative) s.remove_prefix(1);
  uint64_t v = 0;
  for (char ch : s) {
    if (!IsDigit(static_cast<unsigned char>(ch))) break;
    v = v * 10 + static_cast<uint64_t>(ch - '0');  // wraps: keeps the low 64 bits
  }
  return v;
}

CellRef NumberLeafAnyway(uint64_t m, bool negative) {
  int digits = DigitCount(m);
  size_t n = static_cast<size_t>(digits) + (negative ? 1 : 0);
  Cell* c = AllocLeaf(n);
  WriteDigits(reinterpret_cast<char*>(c->Bytes()) + n - digits, m, digits);
  if (m <= static_cast<uint64_t>(kValueWordMax))
    c->Hidden() = ValueWord(n, negative ? -static_cast<int64_t>(m) : static_cast<int64_t>(m));
  return FinishNumberLeaf(c, n, negative);  // n < 22: a small leaf, as NumberLeaf makes
}

int64_t IntegerToInt64(const Cell* c) {
  bool negative;
  uint64_t v = IntegerMagnitude64(c, &negative);
  if (negative) v = ~v + 1;
  return static_cast<int64_t>(v);
}

}  // namespace mox
