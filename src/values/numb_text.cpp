// `numb` texts to and from their magnitude bits and sign.
#include "values/numb_text.h"

#include <string>

#include "values/dec_digits.h"
#include "values/mpz_text.h"

namespace mox {

void ReadNumbText(std::string_view text, mpz_t m, bool* negative) {
  text = text.substr(0, DigitRunLength(text));
  MOX_ASSERT(text.size() >= 2 && text[0] == '0' && text[1] == '0');
  text.remove_prefix(2);
  size_t zeros = 0;
  while (zeros < text.size() && text[zeros] == '0') ++zeros;
  MpzFromDigits(m, text.substr(zeros));
  *negative = zeros > 0;
  if (zeros == 0) return;
  // The lowest set bit of the whole bit form is j = zeros + 1, that is bit
  // zeros - 1 of M; the digits give the bits above it.
  mpz_mul_2exp(m, m, zeros);
  mpz_setbit(m, zeros - 1);
}

CellRef NumbTextLeaf(const mpz_t m, bool negative) {
  std::string text = "00";
  if (mpz_sgn(m) == 0 || !negative) {
    if (mpz_sgn(m) != 0) text += MpzDigits(m);
  } else {
    mp_bitcnt_t low = mpz_scan1(m, 0);
    text.append(low + 1, '0');
    Mpz rest;
    mpz_tdiv_q_2exp(rest.z, m, low + 1);
    if (mpz_sgn(rest.z) != 0) text += MpzDigits(rest.z);
  }
  return MakeLeaf(text);
}

}  // namespace mox
