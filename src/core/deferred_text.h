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
//
// The leaves waiting are kept in a list, in no order, with their writers;
// each leaf keeps its place in the list (plus one) in the high half of the
// word before its tail, so that it leaves the list in constant time when
// it is written or freed. Joining and leaving are inline: a chain of big
// sums does both at every step.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/cell.h"

namespace mox {

using TextWriter = void (*)(Cell* leaf);

struct DeferredText {
  Cell* leaf;
  TextWriter write;
};
// The list: g_deferred_texts entries from g_deferred_list on, with room for
// g_deferred_room.
extern DeferredText* g_deferred_list;
extern size_t g_deferred_texts;
extern size_t g_deferred_room;
void GrowDeferredList();

namespace deferred_detail {

constexpr uint64_t kSizeMask = 0xFFFFFFFFu;

inline size_t PlaceOf(const Cell* c) {
  uint64_t place = *TailHead(c) >> 32;
  MOX_ASSERT(place != 0 && place <= g_deferred_texts && g_deferred_list[place - 1].leaf == c);
  return place - 1;
}

inline void SetPlace(Cell* c, uint64_t place) {
  uint64_t* head = TailHead(c);
  *head = (*head & kSizeMask) | (place << 32);
}

}  // namespace deferred_detail

// Marks c (a leaf with a tail, its leading bytes written) as deferred and
// remembers `write`, which will write the rest of its text in place.
inline void DeferText(Cell* c, TextWriter write) {
  MOX_ASSERT(c->IsLeaf() && c->HasTail() && !c->TextDeferred());
  if (g_deferred_texts == g_deferred_room) GrowDeferredList();
  g_deferred_list[g_deferred_texts++] = {c, write};
  deferred_detail::SetPlace(c, g_deferred_texts);
  c->Hidden() |= kDeferredBit;
}

// Takes c out of the list, unwritten (it is freed, or about to be written),
// moving the last entry into its place.
inline void ForgetDeferredText(Cell* c) {
  size_t i = deferred_detail::PlaceOf(c);
  deferred_detail::SetPlace(c, 0);
  c->Hidden() &= ~kDeferredBit;
  size_t last = --g_deferred_texts;
  if (i != last) {
    g_deferred_list[i] = g_deferred_list[last];
    deferred_detail::SetPlace(g_deferred_list[i].leaf, i + 1);
  }
}

void WriteDeferredTextNow(Cell* c);
inline void WriteDeferredText(const Cell* c) {
  if (c->IsLeaf() && c->TextDeferred()) WriteDeferredTextNow(const_cast<Cell*>(c));
}

void WriteAllDeferredTexts();

}  // namespace mox
