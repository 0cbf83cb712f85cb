// A small portable stand-in for the part of the GMP interface that mox uses,
// for targets that have no GMP (the WebAssembly build). Same function names
// and argument conventions, in namespace mpshim; include/gmp.h brings them
// into the global namespace so that src/ compiles unchanged against it.
//
// Integers are sign and magnitude: `size` holds the limb count, negative for
// negative numbers, and the top limb is never zero (zero has size 0). Limbs
// are 64-bit words on every target (the callers assume 64-bit limbs), and
// the "ui"/"si"/bit-count arguments are 64-bit too, so that a 32-bit target
// computes what the 64-bit native build computes. Bit operations on negative
// numbers use two's complement, as GMP does.
//
// The algorithms are the schoolbook ones (quadratic products, quotients and
// radix conversions): correct first; the interpreter already keeps small
// numbers away from here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace mpshim {

using mp_limb_t = uint64_t;
using mp_size_t = int64_t;
using mp_bitcnt_t = uint64_t;

struct MpzStruct {
  int alloc;  // limbs at d
  int size;   // limbs in use, negative for a negative number
  mp_limb_t* d;
};
using mpz_t = MpzStruct[1];
using mpz_ptr = MpzStruct*;
using mpz_srcptr = const MpzStruct*;

constexpr int kNumbBits = 64;

// The allocator of limb storage, as GMP's: the interpreter routes it
// through its out-of-memory report. Defaults to malloc, realloc and free.
void mp_set_memory_functions(void* (*alloc)(size_t), void* (*realloc)(void*, size_t, size_t),
                             void (*free)(void*, size_t));

void mpz_init(mpz_ptr z);
void mpz_clear(mpz_ptr z);

void mpz_set_ui(mpz_ptr z, uint64_t v);
void mpz_set_si(mpz_ptr z, int64_t v);
void mpz_set_d(mpz_ptr z, double v);  // truncated toward zero; v finite
int mpz_set_str(mpz_ptr z, const char* text, int base);  // 0, or -1 for a bad text
uint64_t mpz_get_ui(mpz_srcptr z);                        // the low limb of |z|

inline int mpz_sgn(mpz_srcptr z) { return z->size < 0 ? -1 : z->size > 0; }
inline size_t mpz_size(mpz_srcptr z) { return static_cast<size_t>(z->size < 0 ? -z->size : z->size); }
mp_limb_t mpz_getlimbn(mpz_srcptr z, mp_size_t n);
const mp_limb_t* mpz_limbs_read(mpz_srcptr z);
mp_limb_t* mpz_limbs_write(mpz_ptr z, mp_size_t n);  // room for n limbs, contents open
void mpz_limbs_finish(mpz_ptr z, mp_size_t s);       // |s| limbs in use (top zeros dropped), sign of s

int mpz_cmp(mpz_srcptr a, mpz_srcptr b);
int mpz_cmp_ui(mpz_srcptr a, uint64_t b);
int mpz_cmpabs_ui(mpz_srcptr a, uint64_t b);

void mpz_set(mpz_ptr r, mpz_srcptr a);
void mpz_abs(mpz_ptr r, mpz_srcptr a);
void mpz_neg(mpz_ptr r, mpz_srcptr a);
void mpz_add(mpz_ptr r, mpz_srcptr a, mpz_srcptr b);
void mpz_add_ui(mpz_ptr r, mpz_srcptr a, uint64_t b);
void mpz_sub(mpz_ptr r, mpz_srcptr a, mpz_srcptr b);
void mpz_sub_ui(mpz_ptr r, mpz_srcptr a, uint64_t b);
void mpz_mul(mpz_ptr r, mpz_srcptr a, mpz_srcptr b);
void mpz_tdiv_q(mpz_ptr q, mpz_srcptr n, mpz_srcptr d);  // truncated; d non-zero
void mpz_tdiv_r(mpz_ptr r, mpz_srcptr n, mpz_srcptr d);  // sign of n; d non-zero
void mpz_pow_ui(mpz_ptr r, mpz_srcptr b, uint64_t e);   // 0^0 = 1

void mpz_mul_2exp(mpz_ptr r, mpz_srcptr a, mp_bitcnt_t bits);
void mpz_tdiv_q_2exp(mpz_ptr q, mpz_srcptr n, mp_bitcnt_t bits);
void mpz_tdiv_r_2exp(mpz_ptr r, mpz_srcptr n, mp_bitcnt_t bits);
int mpz_tstbit(mpz_srcptr z, mp_bitcnt_t bit);
void mpz_setbit(mpz_ptr z, mp_bitcnt_t bit);
void mpz_clrbit(mpz_ptr z, mp_bitcnt_t bit);
void mpz_combit(mpz_ptr z, mp_bitcnt_t bit);
mp_bitcnt_t mpz_scan1(mpz_srcptr z, mp_bitcnt_t start);  // all ones when there is none
void mpz_ior(mpz_ptr r, mpz_srcptr a, mpz_srcptr b);

// Digits (bit count for base 2) of |z|: exact for powers of two, else exact
// or one too many; 1 for zero.
size_t mpz_sizeinbase(mpz_srcptr z, int base);

// Digit values (not characters), most significant first, to and from limbs.
// mpn_set_str wants room for the largest number of that many digits plus one
// limb and returns the limb count; mpn_get_str needs a non-zero top limb,
// may overwrite the limbs, and returns the digit count.
mp_size_t mpn_set_str(mp_limb_t* r, const unsigned char* digits, size_t count, int base);
size_t mpn_get_str(unsigned char* digits, int base, mp_limb_t* limbs, mp_size_t n);

}  // namespace mpshim
