// Storage, comparison and arithmetic of the stand-in integers.
#include <cstdlib>
#include <cstring>

#include "limbs.h"

namespace mpshim {

namespace {

bool IsNegative(mpz_srcptr z) { return z->size < 0; }

Limbs OneLimb(uint64_t v) { return v == 0 ? Limbs{} : Limbs{v}; }

// Sum of two signed magnitudes.
void SignedSum(mpz_ptr r, bool an, const Limbs& a, bool bn, const Limbs& b) {
  if (an == bn) {
    Assign(r, an, AddLimbs(a, b));
  } else if (CompareLimbs(a, b) >= 0) {
    Assign(r, an, SubLimbs(a, b));
  } else {
    Assign(r, bn, SubLimbs(b, a));
  }
}

void* DefaultRealloc(void* p, size_t, size_t n) { return std::realloc(p, n); }
void DefaultFree(void* p, size_t) { std::free(p); }

void* (*g_realloc)(void*, size_t, size_t) = DefaultRealloc;
void (*g_free)(void*, size_t) = DefaultFree;

}  // namespace

// Limb storage only grows through realloc, so the allocation function
// itself is never needed.
void mp_set_memory_functions(void* (*)(size_t), void* (*realloc)(void*, size_t, size_t),
                             void (*free)(void*, size_t)) {
  g_realloc = realloc != nullptr ? realloc : DefaultRealloc;
  g_free = free != nullptr ? free : DefaultFree;
}

void mpz_init(mpz_ptr z) {
  z->alloc = 0;
  z->size = 0;
  z->d = nullptr;
}

void mpz_clear(mpz_ptr z) {
  g_free(z->d, static_cast<size_t>(z->alloc) * sizeof(mp_limb_t));
  mpz_init(z);
}

mp_limb_t* mpz_limbs_write(mpz_ptr z, mp_size_t n) {
  if (n > z->alloc) {
    void* grown = g_realloc(z->d, static_cast<size_t>(z->alloc) * sizeof(mp_limb_t),
                            static_cast<size_t>(n) * sizeof(mp_limb_t));
    if (grown == nullptr) std::abort();  // out of memory, as GMP aborts
    z->d = static_cast<mp_limb_t*>(grown);
    z->alloc = static_cast<int>(n);
  }
  return z->d;
}

void mpz_limbs_finish(mpz_ptr z, mp_size_t s) {
  mp_size_t n = s < 0 ? -s : s;
  while (n > 0 && z->d[n - 1] == 0) --n;
  z->size = static_cast<int>(s < 0 ? -n : n);
}

const mp_limb_t* mpz_limbs_read(mpz_srcptr z) { return z->d; }

mp_limb_t mpz_getlimbn(mpz_srcptr z, mp_size_t n) {
  return n >= 0 && static_cast<size_t>(n) < mpz_size(z) ? z->d[n] : 0;
}

void mpz_set_ui(mpz_ptr z, uint64_t v) { Assign(z, false, OneLimb(v)); }

void mpz_set_si(mpz_ptr z, int64_t v) {
  uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  Assign(z, v < 0, OneLimb(magnitude));
}

uint64_t mpz_get_ui(mpz_srcptr z) { return mpz_getlimbn(z, 0); }

int mpz_cmp(mpz_srcptr a, mpz_srcptr b) {
  if (mpz_sgn(a) != mpz_sgn(b)) return mpz_sgn(a) < mpz_sgn(b) ? -1 : 1;
  int c = CompareLimbs(MagnitudeOf(a), MagnitudeOf(b));
  return IsNegative(a) ? -c : c;
}

int mpz_cmpabs_ui(mpz_srcptr a, uint64_t b) { return CompareLimbs(MagnitudeOf(a), OneLimb(b)); }

int mpz_cmp_ui(mpz_srcptr a, uint64_t b) { return IsNegative(a) ? -1 : mpz_cmpabs_ui(a, b); }

void mpz_set(mpz_ptr r, mpz_srcptr a) { Assign(r, mpz_sgn(a) < 0, MagnitudeOf(a)); }

void mpz_abs(mpz_ptr r, mpz_srcptr a) { Assign(r, false, MagnitudeOf(a)); }

void mpz_neg(mpz_ptr r, mpz_srcptr a) { Assign(r, mpz_sgn(a) > 0, MagnitudeOf(a)); }

void mpz_add(mpz_ptr r, mpz_srcptr a, mpz_srcptr b) {
  SignedSum(r, IsNegative(a), MagnitudeOf(a), IsNegative(b), MagnitudeOf(b));
}

void mpz_sub(mpz_ptr r, mpz_srcptr a, mpz_srcptr b) {
  SignedSum(r, IsNegative(a), MagnitudeOf(a), mpz_sgn(b) > 0, MagnitudeOf(b));
}

void mpz_add_ui(mpz_ptr r, mpz_srcptr a, uint64_t b) {
  SignedSum(r, IsNegative(a), MagnitudeOf(a), false, OneLimb(b));
}

void mpz_sub_ui(mpz_ptr r, mpz_srcptr a, uint64_t b) {
  SignedSum(r, IsNegative(a), MagnitudeOf(a), b != 0, OneLimb(b));
}

void mpz_mul(mpz_ptr r, mpz_srcptr a, mpz_srcptr b) {
  Assign(r, IsNegative(a) != IsNegative(b), MulLimbs(MagnitudeOf(a), MagnitudeOf(b)));
}

void mpz_tdiv_q(mpz_ptr q, mpz_srcptr n, mpz_srcptr d) {
  Limbs quotient, remainder;
  DivModLimbs(MagnitudeOf(n), MagnitudeOf(d), &quotient, &remainder);
  Assign(q, IsNegative(n) != IsNegative(d), quotient);
}

void mpz_tdiv_r(mpz_ptr r, mpz_srcptr n, mpz_srcptr d) {
  Limbs quotient, remainder;
  DivModLimbs(MagnitudeOf(n), MagnitudeOf(d), &quotient, &remainder);
  Assign(r, IsNegative(n), remainder);
}

void mpz_pow_ui(mpz_ptr r, mpz_srcptr b, uint64_t e) {
  Limbs result{1}, square = MagnitudeOf(b);
  bool negative = IsNegative(b) && (e & 1) != 0;
  for (uint64_t k = e; k != 0; k >>= 1) {
    if (k & 1) result = MulLimbs(result, square);
    if (k > 1) square = MulLimbs(square, square);
  }
  Assign(r, negative, result);
}

}  // namespace mpshim
