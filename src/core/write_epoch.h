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

inline uint64_t WriteEpoch() { return g_write_epoch; }
inline void NoteWrites() {
  if (g_deferred_texts != 0) WriteAllDeferredTexts();
  StampValuesIn(++g_write_epoch);
}

}  // namespace mox
