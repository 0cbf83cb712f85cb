// Stands in for the system's GMP header in builds that use the portable
// integers of port/mp (CMake option MOX_GMP_SHIM): brings the stand-ins into
// the global namespace under the names the interpreter calls.
#pragma once

#include "../mp_shim.h"

#define GMP_NUMB_BITS 64

using mpshim::mp_bitcnt_t;
using mpshim::mp_limb_t;
using mpshim::mp_size_t;
using mpshim::mpz_ptr;
using mpshim::mpz_srcptr;
using mpshim::mpz_t;

using mpshim::mp_set_memory_functions;
using mpshim::mpn_get_str;
using mpshim::mpn_set_str;
using mpshim::mpz_abs;
using mpshim::mpz_add;
using mpshim::mpz_add_ui;
using mpshim::mpz_clear;
using mpshim::mpz_clrbit;
using mpshim::mpz_cmp;
using mpshim::mpz_cmp_ui;
using mpshim::mpz_cmpabs_ui;
using mpshim::mpz_combit;
using mpshim::mpz_get_ui;
using mpshim::mpz_getlimbn;
using mpshim::mpz_init;
using mpshim::mpz_ior;
using mpshim::mpz_limbs_finish;
using mpshim::mpz_limbs_read;
using mpshim::mpz_limbs_write;
using mpshim::mpz_mul;
using mpshim::mpz_mul_2exp;
using mpshim::mpz_neg;
using mpshim::mpz_pow_ui;
using mpshim::mpz_scan1;
using mpshim::mpz_set;
using mpshim::mpz_set_d;
using mpshim::mpz_set_si;
using mpshim::mpz_set_str;
using mpshim::mpz_set_ui;
using mpshim::mpz_setbit;
using mpshim::mpz_sgn;
using mpshim::mpz_size;
using mpshim::mpz_sizeinbase;
using mpshim::mpz_sub;
using mpshim::mpz_sub_ui;
using mpshim::mpz_tdiv_q;
using mpshim::mpz_tdiv_q_2exp;
using mpshim::mpz_tdiv_r;
using mpshim::mpz_tdiv_r_2exp;
using mpshim::mpz_tstbit;
