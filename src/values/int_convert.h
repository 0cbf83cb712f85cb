// The shared integer conversion: an integer value (decimal text, a leading
// "0" as minus sign) to a signed 64-bit number, from the low 64 bits of its
// magnitude, negated in two's complement when negative. Used for the exit
// code, counts, indexes and every integer that crosses into C.
#pragma once

#include <cstdint>

#include "core/cell.h"
#include "core/value_word.h"
#include "values/dec_digits.h"

namespace mox {

// The integer test of the run driver: a leaf starting with "K", with "0"
// not followed by "0", or with another digit; or the list form J K x.
bool PassesIntegerTest(const Cell* c);

// The conversion itself; a value that is not an integer converts as 0.
int64_t IntegerToInt64(const Cell* c);

// The low 64 bits of the magnitude that the conversion reads, and whether
// the text is negative: the decimal digits after the leading "0" that marks
// a negative, up to the first byte that is not a digit (so a leaf that is no
// number reads as 0); a list-form integer through its text.
uint64_t IntegerMagnitude64(const Cell* c, bool* negative);

// The value of an integer leaf of at most 18 digits (false for any other
// cell): the fast path of arithmetic and comparison, inline because most
// numbers a program computes with are this small. A number that arithmetic
// made, or that was read here before, carries its value beside its text;
// another is read from its text, and keeps its value for the next reader.
inline bool SmallIntegerValue(const Cell* c, int64_t* v) {
  if (c->IsApp()) return false;
  if (TrustedValue(c, v)) return true;
  const unsigned char* p = c->Bytes();
  if (!IsDigit(p[0])) return false;
  uint32_t n = c->Field();  // the text's length, kept in the header
  bool negative = p[0] == '0' && n > 1;
  if (negative) {
    if (p[1] == '0') return false;  // a numb
    ++p;
    --n;
  }
  if (n == 0 || n > 18) return false;
  int64_t m = 0;
  for (uint32_t i = 0; i < n; ++i) {
    unsigned digit = p[i] - unsigned{'0'};
    if (digit > 9) return false;  // a byte written in by the program: the slow path reads up to it
    m = m * 10 + digit;
  }
  *v = negative ? -m : m;
  KeepValue(c, *v);
  return true;
}

// NumberLeaf for any m, with a new pool block when the free ones are used up.
CellRef NumberLeafAnyway(uint64_t m, bool negative);

// A new number leaf of n bytes whose digits are written: its sign, and
// its whole header in one store (one count, analysed as a value of one
// argument, the length in the field), as finishing and analysing a
// number's leaf would make it.
inline CellRef FinishNumberLeaf(Cell* c, size_t n, bool negative) {
  constexpr uint64_t kNumberHeader = kLeafBit | (uint64_t{1 + kValueBias} << kCacheShift) | 1;
  if (negative) c->Bytes()[0] = '0';
  c->h = kNumberHeader | (uint64_t{n} << kFieldShift);
  return CellRef(c);
}

// The number leaf of m's decimal digits, with a leading "0" when negative,
// written straight into the new leaf. Inline, as every small result of
// arithmetic is made here; a number below 10^8 in a block at hand calls
// nothing, and so needs no stack frame.
inline CellRef NumberLeaf(uint64_t m, bool negative) {
  if (m >= 100000000) return NumberLeafAnyway(m, negative);
  size_t n = static_cast<size_t>(DigitCount(m)) + (negative ? 1 : 0);
  void* block = PoolTryAlloc(LeafBlockBytes(n));
  if (block == nullptr) return NumberLeafAnyway(m, negative);
  int64_t v = negative ? -static_cast<int64_t>(m) : static_cast<int64_t>(m);
  Cell* c = StartLeaf(static_cast<uint64_t*>(block), ValueWord(n, v), n);
  WriteShortDigits(reinterpret_cast<char*>(c->Bytes()) + n, static_cast<uint32_t>(m));
  return FinishNumberLeaf(c, n, negative);
}

// The number leaf of a signed 64-bit value ("05" for -5, "0" for zero).
inline CellRef MakeInt64(int64_t v) {
  uint64_t m = v < 0 ? ~static_cast<uint64_t>(v) + 1 : static_cast<uint64_t>(v);
  return NumberLeaf(m, v < 0);
}
// The number leaf of an unsigned 64-bit value, as "%llu" writes it.
inline CellRef MakeUint64(uint64_t v) { return NumberLeaf(v, false); }

}  // namespace mox
