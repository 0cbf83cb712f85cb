// Schoolbook magnitude arithmetic on 64-bit limbs; 128-bit intermediates
// carry the double-width products and partial remainders.
#include "limbs.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace mpshim {

namespace {

using Wide = unsigned __int128;
constexpr int kBits = 64;

}  // namespace

void Trim(Limbs& a) {
  while (!a.empty() && a.back() == 0) a.pop_back();
}

int CompareLimbs(const Limbs& a, const Limbs& b) {
  if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
  for (size_t i = a.size(); i-- > 0;) {
    if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
  }
  return 0;
}

Limbs AddLimbs(const Limbs& a, const Limbs& b) {
  const Limbs& big = a.size() >= b.size() ? a : b;
  const Limbs& small = a.size() >= b.size() ? b : a;
  Limbs r(big.size() + 1);
  mp_limb_t carry = 0;
  for (size_t i = 0; i < big.size(); ++i) {
    Wide s = Wide{big[i]} + (i < small.size() ? small[i] : 0) + carry;
    r[i] = static_cast<mp_limb_t>(s);
    carry = static_cast<mp_limb_t>(s >> kBits);
  }
  r[big.size()] = carry;
  Trim(r);
  return r;
}

Limbs SubLimbs(const Limbs& a, const Limbs& b) {
  Limbs r(a.size());
  mp_limb_t borrow = 0;
  for (size_t i = 0; i < a.size(); ++i) {
    mp_limb_t x = a[i], y = i < b.size() ? b[i] : 0;
    mp_limb_t d = x - y - borrow;
    borrow = (x < y || (x == y && borrow)) ? 1 : 0;
    r[i] = d;
  }
  Trim(r);
  return r;
}

Limbs MulLimbs(const Limbs& a, const Limbs& b) {
  if (a.empty() || b.empty()) return {};
  Limbs r(a.size() + b.size());
  for (size_t i = 0; i < a.size(); ++i) {
    mp_limb_t carry = 0;
    for (size_t j = 0; j < b.size(); ++j) {
      Wide p = Wide{a[i]} * b[j] + r[i + j] + carry;
      r[i + j] = static_cast<mp_limb_t>(p);
      carry = static_cast<mp_limb_t>(p >> kBits);
    }
    r[i + b.size()] = carry;
  }
  Trim(r);
  return r;
}

void MulAddLimb(Limbs& a, mp_limb_t m, mp_limb_t add) {
  mp_limb_t carry = add;
  for (mp_limb_t& limb : a) {
    Wide p = Wide{limb} * m + carry;
    limb = static_cast<mp_limb_t>(p);
    carry = static_cast<mp_limb_t>(p >> kBits);
  }
  if (carry != 0) a.push_back(carry);
  Trim(a);
}

mp_limb_t DivLimb(Limbs& a, mp_limb_t d) {
  Wide rem = 0;
  for (size_t i = a.size(); i-- > 0;) {
    Wide cur = (rem << kBits) | a[i];
    a[i] = static_cast<mp_limb_t>(cur / d);
    rem = cur % d;
  }
  Trim(a);
  return static_cast<mp_limb_t>(rem);
}

Limbs ShiftLeftLimbs(const Limbs& a, uint64_t bits) {
  if (a.empty()) return {};
  size_t limbs = static_cast<size_t>(bits / kBits);
  unsigned s = static_cast<unsigned>(bits % kBits);
  Limbs r(a.size() + limbs + 1, 0);
  for (size_t i = 0; i < a.size(); ++i) {
    r[i + limbs] |= a[i] << s;
    if (s != 0) r[i + limbs + 1] = a[i] >> (kBits - s);
  }
  Trim(r);
  return r;
}

Limbs ShiftRightLimbs(const Limbs& a, uint64_t bits) {
  uint64_t limbs = bits / kBits;
  if (limbs >= a.size()) return {};
  unsigned s = static_cast<unsigned>(bits % kBits);
  Limbs r(a.size() - limbs);
  for (size_t i = 0; i < r.size(); ++i) {
    mp_limb_t lo = a[i + limbs] >> s;
    mp_limb_t hi = (s != 0 && i + limbs + 1 < a.size()) ? a[i + limbs + 1] << (kBits - s) : 0;
    r[i] = lo | hi;
  }
  Trim(r);
  return r;
}

// Long division (Knuth's algorithm D): the divisor is shifted until its top
// bit is set, so that the quotient digit estimated from the top two limbs of
// the remainder is at most two too large.
void DivModLimbs(const Limbs& a, const Limbs& b, Limbs* q, Limbs* r) {
  if (b.empty()) std::abort();  // division by zero, as GMP faults
  if (CompareLimbs(a, b) < 0) {
    *q = {};
    *r = a;
    return;
  }
  if (b.size() == 1) {
    *q = a;
    mp_limb_t rem = DivLimb(*q, b[0]);
    *r = rem ? Limbs{rem} : Limbs{};
    return;
  }
  unsigned s = static_cast<unsigned>(__builtin_clzll(b.back()));
  Limbs v = ShiftLeftLimbs(b, s);
  Limbs u = ShiftLeftLimbs(a, s);
  size_t n = v.size(), m = a.size() - b.size();
  u.resize(a.size() + 1, 0);
  Limbs quotient(m + 1, 0);
  const Wide base = Wide{1} << kBits;
  for (size_t j = m + 1; j-- > 0;) {
    Wide top = (Wide{u[j + n]} << kBits) | u[j + n - 1];
    Wide qhat = top / v[n - 1];
    Wide rhat = top % v[n - 1];
    while (qhat >= base || qhat * v[n - 2] > ((rhat << kBits) | u[j + n - 2])) {
      --qhat;
      rhat += v[n - 1];
      if (rhat >= base) break;
    }
    // u[j .. j+n] -= qhat * v, remembering whether it went below zero.
    mp_limb_t mulCarry = 0, borrow = 0;
    for (size_t i = 0; i < n; ++i) {
      Wide p = qhat * v[i] + mulCarry;
      mulCarry = static_cast<mp_limb_t>(p >> kBits);
      mp_limb_t low = static_cast<mp_limb_t>(p);
      mp_limb_t x = u[i + j];
      mp_limb_t d = x - low - borrow;
      borrow = (x < low || (x == low && borrow)) ? 1 : 0;
      u[i + j] = d;
    }
    mp_limb_t x = u[j + n];
    u[j + n] = x - mulCarry - borrow;
    bool negative = x < mulCarry || (x == mulCarry && borrow);
    if (negative) {  // qhat was one too large: add v back
      --qhat;
      mp_limb_t carry = 0;
      for (size_t i = 0; i < n; ++i) {
        Wide sum = Wide{u[i + j]} + v[i] + carry;
        u[i + j] = static_cast<mp_limb_t>(sum);
        carry = static_cast<mp_limb_t>(sum >> kBits);
      }
      u[j + n] += carry;
    }
    quotient[j] = static_cast<mp_limb_t>(qhat);
  }
  Trim(quotient);
  *q = std::move(quotient);
  u.resize(n);
  Trim(u);
  *r = ShiftRightLimbs(u, s);
}

Limbs MagnitudeOf(mpz_srcptr z) {
  size_t n = mpz_size(z);
  return n == 0 ? Limbs{} : Limbs(z->d, z->d + n);
}

void Assign(mpz_ptr z, bool negative, const Limbs& magnitude) {
  mp_limb_t* d = mpz_limbs_write(z, static_cast<mp_size_t>(magnitude.size()));
  if (!magnitude.empty()) std::memcpy(d, magnitude.data(), magnitude.size() * sizeof(mp_limb_t));
  mp_size_t n = static_cast<mp_size_t>(magnitude.size());
  mpz_limbs_finish(z, negative ? -n : n);
}

}  // namespace mpshim
