// Leaves whose text is written when it is first needed. A maker that holds
// a leaf's value in another form in its tail (big integer results carry
// their limbs there) may leave part of the text unwritten: the block has
// its final size, the text's kind and leading bytes are written, the rest
// holds placeholder bytes, and the maker names a writer that completes it.
//
// Every reader of a leaf's bytes sees the finished text: LeafView writes a
// deferred text before returning it, and NoteWrites (core/write_epoch.h),
// which runs before and after every builtin that may touch memory by
// address, writes all deferred texts first, so a program that reads or
// writes raw memory never meets a placeholder. Code that reads a leaf's
// bytes past its leading ones without LeafView calls WriteDeferredText.
#pragma once

#include <cstddef>

#include "core/cell.h"

namespace mox {

using TextWriter = void (*)(Cell* leaf);

// Marks c (a leaf with a tail, its leading bytes written) as deferred and
// remembers `write`, which will write the rest of its text in place.
void DeferText(Cell* c, TextWriter write);

void WriteDeferredTextNow(Cell* c);
inline void WriteDeferredText(const Cell* c) {
  if (c->IsLeaf() && c->TextDeferred()) WriteDeferredTextNow(const_cast<Cell*>(c));
}

// Deferred texts waiting now.
extern size_t g_deferred_texts;
void WriteAllDeferredTexts();

// A deferred leaf is freed unwritten.
void ForgetDeferredText(Cell* c);

}  // namespace mox
