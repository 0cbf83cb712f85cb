// Joining, cutting and repeating the sequence values: byte strings (blob
// payloads and bracketed text contents) and vectors. Used by the arithmetic
// builtins. Results are new cells; inputs are borrowed.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/cell.h"

namespace mox {

constexpr uint64_t kMaxVectorSize = (uint64_t{1} << 26) - 1;

// The empty vector of `cray`: one cell made at the first call and kept for
// the run; every call returns it with a new count.
CellRef EmptyVector();
// A blob whose payload is first followed by second. A size the program
// chose is put to the memory check (core/memory.h) by the caller: the cuts
// and halves of a blob that exists need none.
CellRef MakeJoinedBlob(std::string_view first, std::string_view second);

// s without its first n bytes (n > 0) or its last -n bytes (n <= 0); false
// when |n| exceeds the length.
bool CutBytes(std::string_view s, int64_t n, std::string_view* kept);

// s repeated n times, as a blob payload or as a bracketed text content;
// null when the memory check refuses it.
CellRef RepeatBytes(std::string_view s, uint64_t n, bool blob);

// a's children followed by b's; null past kMaxVectorSize.
CellRef JoinVectors(const Cell* a, const Cell* b);
// n > 0: the first size - n children; n <= 0: the last size + n. Null when
// |n| exceeds the size.
CellRef CutVector(const Cell* v, int64_t n);
// The children repeated n times; null for n < 0 or past kMaxVectorSize.
CellRef RepeatVector(const Cell* v, int64_t n);
// x as a new last child (an empty slot when x is a leaf beginning "U");
// null when v is full.
CellRef AppendToVector(const Cell* v, Cell* x);
// x as a new first child; null when v is full.
CellRef PrependToVector(Cell* x, const Cell* v);

}  // namespace mox
