// Small helpers shared by the inspection and conversion builtins (type,
// rank, wave, real, init, lits, lisp, trim, look, cork, lots): reading
// index and byte arguments, the index rule, truth leaves, the bit patterns
// of reals and numbers, and the bytes of text-like values.
#pragma once

#include <gmp.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "core/cell.h"
#include "values/operand.h"

namespace mox {

// 1 for the leaf K, 0 for the leaf H, -1 for anything else.
int TruthValue(const Cell* c);

// An integer argument that is a byte value 0..255; false otherwise (also
// for integers that only wrap into that range).
bool ByteArgument(Cell* c, unsigned char* byte);

// The index rule of look and cork: a negative n counts from the end (size
// is added once); false when the index is still negative or not below size.
bool ResolveIndex(int64_t n, uint64_t size, uint64_t* index);

// The 64-bit pattern of a real, and a real made from one.
uint64_t RealBits(const Cell* real);
CellRef RealFromBits(uint64_t bits);

// The NumberBits of an integer or numb operand (its text form).
void OperandNumberBits(const Operand& op, mpz_t bits);

// The bytes of a blob (payload) or bracketed text (content; a data
// application is written out into scratch). False when too long to write.
bool SequenceBytes(const Operand& op, std::string* scratch, std::string_view* bytes);

// The content length of a bracketed text or data application, as its
// written-out text would have it, without writing it out (shared parts are
// measured once). False when it does not fit in 64 bits.
bool ContentLength(Cell* data, uint64_t* length);

}  // namespace mox
