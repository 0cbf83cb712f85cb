// The leaves with deferred texts: a list of them and their writers. Each
// leaf keeps its place in the list (plus one) in the high half of the word
// before its tail, so that it leaves the list in constant time when it is
// written or freed.
#include "core/deferred_text.h"

#include <vector>

namespace mox {

namespace {

struct Waiting {
  Cell* leaf;
  TextWriter write;
};

// Made before main and never destroyed: cells may die during static
// destruction.
std::vector<Waiting>& waiting = *new std::vector<Waiting>;

constexpr uint64_t kSizeMask = 0xFFFFFFFFu;

size_t PlaceOf(const Cell* c) {
  uint64_t place = *TailHead(c) >> 32;
  MOX_ASSERT(place != 0 && place <= waiting.size() && waiting[place - 1].leaf == c);
  return place - 1;
}

void SetPlace(Cell* c, uint64_t place) {
  uint64_t* head = TailHead(c);
  *head = (*head & kSizeMask) | (place << 32);
}

// Takes c out of the list, moving the last entry into its place.
void Leave(Cell* c) {
  size_t i = PlaceOf(c);
  SetPlace(c, 0);
  c->Hidden() &= ~kDeferredBit;
  if (i + 1 != waiting.size()) {
    waiting[i] = waiting.back();
    SetPlace(waiting[i].leaf, i + 1);
  }
  waiting.pop_back();
  g_deferred_texts = waiting.size();
}

}  // namespace

size_t g_deferred_texts = 0;

void DeferText(Cell* c, TextWriter write) {
  MOX_ASSERT(c->IsLeaf() && c->HasTail() && !c->TextDeferred());
  MOX_ASSERT(waiting.size() < kSizeMask);
  waiting.push_back({c, write});
  SetPlace(c, waiting.size());
  c->Hidden() |= kDeferredBit;
  g_deferred_texts = waiting.size();
}

void WriteDeferredTextNow(Cell* c) {
  TextWriter write = waiting[PlaceOf(c)].write;
  Leave(c);
  write(c);
}

void WriteAllDeferredTexts() {
  while (!waiting.empty()) WriteDeferredTextNow(waiting.back().leaf);
}

void ForgetDeferredText(Cell* c) { Leave(c); }

}  // namespace mox
