// Decimal digit texts to and from GMP integers.
#include "values/mpz_text.h"

#include <vector>

#include "core/interrupt.h"

namespace mox {

void MpzFromDigits(mpz_t z, std::string_view digits) {
  size_t skip = 0;
  while (skip < digits.size() && digits[skip] == '0') ++skip;
  digits.remove_prefix(skip);
  if (digits.empty()) {
    mpz_set_ui(z, 0);
    return;
  }
  std::vector<unsigned char> values(digits.size());
  for (size_t i = 0; i < digits.size(); ++i) values[i] = static_cast<unsigned char>(digits[i] - '0');
  // log2(10) < 3.33 bits per digit, plus the extra limb mpn_set_str wants.
  mp_size_t room = static_cast<mp_size_t>(digits.size() * 10 / 3 / GMP_NUMB_BITS + 2);
  mp_limb_t* limbs = mpz_limbs_write(z, room);
  mp_size_t n = mpn_set_str(limbs, values.data(), values.size(), 10);
  while (n > 0 && limbs[n - 1] == 0) --n;
  mpz_limbs_finish(z, n);
}

std::string MpzDigits(const mpz_t z) {
  size_t n = mpz_size(z);
  if (n == 0) return "0";
  std::vector<mp_limb_t> copy(mpz_limbs_read(z), mpz_limbs_read(z) + n);  // mpn_get_str clobbers
  std::string out(mpz_sizeinbase(z, 10) + 1, '\0');
  auto* raw = reinterpret_cast<unsigned char*>(out.data());
  size_t len = mpn_get_str(raw, 10, copy.data(), static_cast<mp_size_t>(n));
  size_t lead = 0;
  while (lead + 1 < len && raw[lead] == 0) ++lead;
  for (size_t i = lead; i < len; ++i) out[i - lead] = static_cast<char>('0' + raw[i]);
  out.resize(len - lead);
  return out;
}

bool MpzPower(mpz_t out, const mpz_t base, uint64_t e) {
  if (e == 0) {
    mpz_set_ui(out, 1);
    return true;
  }
  Mpz b;
  mpz_set(b.z, base);  // out may be base
  mpz_set(out, b.z);
  for (int bit = 62 - __builtin_clzll(e); bit >= 0; --bit) {
    if (InterruptNoted()) return false;
    mpz_mul(out, out, out);
    if (((e >> bit) & 1) != 0) mpz_mul(out, out, b.z);
  }
  return !InterruptNoted();
}

}  // namespace mox
