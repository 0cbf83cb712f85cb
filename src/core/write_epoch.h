// The write epoch: a counter that moves on whenever bytes of live cells may
// have been changed in place (a builtin that writes texts, blobs or process
// memory, or hands an address to the C library). Anything derived from a
// leaf's bytes and kept beside them, such as the binary form of a big
// number, is trusted only while the epoch it was made in is still current.
//
// The same moments are the only ones at which a program can read memory
// by address, so every deferred text (core/deferred_text.h) is written
// first: no raw reader meets a placeholder, and no deferred text outlives
// its epoch (its tail, from which it is written, stays trusted).
#pragma once

#include <cstdint>

#include "core/deferred_text.h"
#include "core/value_word.h"

namespace mox {

extern uint64_t g_write_epoch;
// Set once the program has lent memory of its own to the C library to
// write into later (a stream's buffer, which stdio fills on calls that
// only read the program's memory), or opened a stream through which
// writes reach that memory (/proc/self/mem): from then on every builtin
// that reads memory is taken as writing it too.
extern bool g_memory_lent;

inline uint64_t WriteEpoch() { return g_write_epoch; }
// Before memory is read by address: every deferred text is written.
inline void NoteReads() {
  if (g_deferred_texts != 0) WriteAllDeferredTexts();
}
// Around a write to memory: the same, and the epoch moves on.
inline void NoteWrites() {
  NoteReads();
  StampValuesIn(++g_write_epoch);
}

}  // namespace mox
