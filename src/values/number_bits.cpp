// Number texts and list forms to and from their bit form.
#include "values/number_bits.h"

#include <vector>

#include "values/bigint.h"
#include "values/mpz_text.h"
#include "values/numb_text.h"

namespace mox {

namespace {

bool IsNumbText(std::string_view text) { return text.size() >= 2 && text[0] == '0' && text[1] == '0'; }

}  // namespace

void NumberBitsOfText(std::string_view text, mpz_t bits) {
  bool negative;
  if (IsNumbText(text)) {
    ReadNumbText(text, bits, &negative);
  } else {
    IntText a = ReadIntText(text);
    MpzFromDigits(bits, a.magnitude);
    negative = a.negative;
  }
  mpz_mul_2exp(bits, bits, 2);
  if (!negative) mpz_setbit(bits, 1);
  if (!IsNumbText(text)) mpz_setbit(bits, 0);
}

CellRef NumberTextOfBits(const mpz_t bits) {
  bool integer = mpz_tstbit(bits, 0) != 0;
  bool negative = mpz_tstbit(bits, 1) == 0;
  Mpz m;
  mpz_tdiv_q_2exp(m.z, bits, 2);
  if (mpz_sgn(m.z) == 0) negative = false;
  if (!integer) return NumbTextLeaf(m.z, negative);
  if (negative) mpz_neg(m.z, m.z);
  return IntegerLeafFromMpz(m.z);
}

bool IsNumberList(const Cell* c) {
  if (!c->IsApp() || !c->f->IsApp()) return false;
  const Cell* head = c->f;
  return IsOneByteLeaf(head->f, 'J') && (IsOneByteLeaf(head->a, 'K') || IsOneByteLeaf(head->a, 'H'));
}

CellRef NumberListText(const Cell* c) {
  std::vector<bool> flags;
  while (IsNumberList(c)) {
    flags.push_back(IsOneByteLeaf(c->f->a, 'K'));
    c = c->a;
  }
  Mpz bits;
  if (IsOneByteLeaf(c, 'K')) {
    mpz_set_ui(bits.z, 0);
  } else if (c->IsLeaf() && IsDigit(c->Bytes()[0])) {
    NumberBitsOfText(LeafView(c), bits.z);
  } else {
    return CellRef();
  }
  if (flags.empty()) return CellRef();
  mpz_mul_2exp(bits.z, bits.z, flags.size());
  for (size_t i = 0; i < flags.size(); ++i)
    if (flags[i]) mpz_setbit(bits.z, i);
  return NumberTextOfBits(bits.z);
}

bool SplitNumberText(std::string_view text, CellRef* tail) {
  Mpz bits;
  NumberBitsOfText(text, bits.z);
  bool flag = mpz_tstbit(bits.z, 0) != 0;
  mpz_tdiv_q_2exp(bits.z, bits.z, 1);
  if (mpz_sgn(bits.z) == 0) {
    *tail = MakeLeaf("K", 1);
  } else if (mpz_cmp_ui(bits.z, 1) == 0) {
    *tail = MakeApp(MakeLeaf("J", 1), MakeLeaf("K", 1), MakeLeaf("K", 1));
  } else {
    *tail = NumberTextOfBits(bits.z);
  }
  return flag;
}

}  // namespace mox
