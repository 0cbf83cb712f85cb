// Cell analysis: the facts the reducer asks about every cell, computed once
// and cached in the cell header (analysis value, pending/data flag, and the
// set of free variables a..z).
#pragma once

#include "core/cell.h"
#include "front/binders.h"

namespace mox {

// Fills the cache of c and of every unanalysed cell below it.
void AnalyseUnanalysed(Cell* c);
inline void AnalyseCell(Cell* c) {
  if (!c->Analysed()) AnalyseUnanalysed(c);
}


// Data (a finished, applicable value), or a cell with no redex inside that
// still needs arguments (a partial application or a lambda).
inline bool IsValue(Cell* c) {
  AnalyseCell(c);
  return c->IsData() || (!c->Flag() && c->AnalysisValue() >= 1);
}

// Free variables of an analysed cell (0 for data and literal leaves).
inline uint32_t VariableSet(const Cell* c) {
  if (c->IsData()) return 0;
  if (c->IsLeaf()) {
    unsigned char b = c->Bytes()[0];
    if (IsDigit(b) || b == '[' || b == kVectorByte) return 0;
  }
  return c->Field();
}

constexpr int kNoArity = 11;  // a variable at the head: never saturated
constexpr int kArityFloor = -51;

// Analyses an application whose two parts are analysed already. The whole
// cache and variable set are computed first and stored with one write.
// This runs for nearly every cell the reducer builds, so the parts' headers
// are read once, and the binder shapes, which only an application head can
// have, are looked for only there.
inline void AnalyseApplication(Cell* p) {
  const Cell* f = p->f;
  const Cell* x = p->a;
  const uint64_t hf = f->h, hx = x->h;
  constexpr uint64_t kData = uint64_t{kDataCache} << kCacheShift;
  const bool f_data = (hf & kCacheMask) == kData;
  const bool x_data = (hx & kCacheMask) == kData;
  uint64_t h = p->h & kCountMask;
  int d;
  if (f_data) {
    if (x_data) {
      uint64_t lf = f->Field(), lx = x->Field();
      uint64_t length = (lf >= 2 && lx >= 2 && lf + lx < kFieldLimit) ? lf + lx : 0;
      p->h = h | (length << kFieldShift) | kData;
      return;
    }
    d = 0;
  } else {
    d = static_cast<int>((hf & kValueMask) >> kCacheShift) - kValueBias;
    if (d != kNoArity && d > kArityFloor) --d;
  }
  h |= static_cast<uint64_t>(d + kValueBias) << kCacheShift;
  // x is a redex (saturated or over-applied) when its value is below 1.
  const bool x_pending = !x_data && ((hx & kFlagBit) != 0 || (hx & kValueMask) < (uint64_t{1 + kValueBias} << kCacheShift));
  const bool f_pending = !f_data && (hf & kFlagBit) != 0;
  if (f_data || (hf & kLeafBit) != 0) {  // a plain application
    if (f_pending || x_pending) h |= kFlagBit;
    p->h = h | (uint64_t{VariableSet(f) | VariableSet(x)} << kFieldShift);
    return;
  }
  Binder binder = BinderOf(p);
  if (binder != Binder::kLambda && (f_pending || x_pending)) h |= kFlagBit;  // a lambda node is never pending
  uint32_t vars = 0;
  ForEachScopedPart(p, binder, [&vars](const Cell* part, uint32_t hidden) { vars |= VariableSet(part) & ~hidden; });
  p->h = h | (uint64_t{vars} << kFieldShift);
}

// Makes the application f a and analyses it at once; both parts must be
// analysed already (as every value and every analysed cell's part is).
inline CellRef MakeAnalysedApp(CellRef f, CellRef a) {
  CellRef p = MakeApp(std::move(f), std::move(a));
  AnalyseApplication(p.get());
  return p;
}

// The non-duplicating combinators, which fire without reducing their
// arguments, by the first byte of their head leaf.
struct LazyHeadBytes {
  bool byte[256] = {};
  constexpr LazyHeadBytes() {
    for (char c : std::string_view("&|ABCDEFHIJKLNQRTUVXZ")) byte[static_cast<unsigned char>(c)] = true;
  }
};
inline constexpr LazyHeadBytes kLazyHeads;

// Whether the head of c's spine is one of the lazy combinators.
inline bool HasLazyHead(const Cell* c) {
  while (c->IsApp() && !c->IsData()) c = c->f;
  return c->IsLeaf() && kLazyHeads.byte[c->Bytes()[0]];
}

// A text leaf that names something (a global, an operator, a variable).
bool IsNameLeafText(std::string_view s);

}  // namespace mox
