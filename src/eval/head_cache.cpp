// The slow paths of the head cache: filling a line, and taking a global's
// definition apart (its parameters, its body and the body's template).
#include "eval/head_cache.h"

#include <cstdint>

#include "core/run_end.h"
#include "front/binders.h"
#include "program/analyse.h"

namespace mox {

namespace head_cache {

Lines<kLines> lines;
Lines<256> byte_lines;

HeadLine& Fill(HeadLine& line, Cell* head) {
  Retain(head);
  Release(line.leaf);
  line.leaf = head;
  line.epoch = GlobalTable::Epoch();
  std::string_view key = LeafView(head);
  unsigned char b = head->Bytes()[0];
  line.builtin = (b >= 'a' && b <= 'z') ? FindBuiltin(key) : nullptr;
  line.shape.slot = Globals().Find(key);
  line.definition = CellRef();
  return line;
}

HeadLine& RefreshByte(HeadLine& line, unsigned char b) {
  line.shape.slot = Globals().FindByte(b);  // no builtin has a one-byte name
  line.epoch = GlobalTable::Epoch();
  return line;
}

namespace {

// The parameter of s that the leaf c names (the last of its letter), or -1.
int ParameterOf(const GlobalShape& s, const Cell* c) {
  if (!c->IsLeaf() || !IsOneByteName(c)) return -1;
  for (int i = s.k; i-- > 0;)
    if (s.letters[i] == c->Bytes()[0]) return i;
  return -1;
}

// The head of a body  h a b  of three parameters, a and b the first two;
// null for any other body.
Cell* FirstTwoApplied(const GlobalShape& s) {
  const Cell* b = s.body;
  if (s.k != 3 || !b->IsApp() || b->IsData() || !b->f->IsApp() || b->f->IsData()) return nullptr;
  if (ParameterOf(s, b->f->a) != 0 || ParameterOf(s, b->a) != 1) return nullptr;
  return b->f->f;
}

void FindPair(GlobalShape& s) {
  Cell* h = FirstTwoApplied(s);
  s.pair = h != nullptr && ParameterOf(s, h) == 2;
  // ListParts looks up one-byte names only.
  s.pair_name = h != nullptr && ParameterOf(s, h) < 0 && IsByteGlobalName(h) ? h : nullptr;
}

void TakeApart(HeadLine& line) {
  GlobalShape& s = line.shape;
  line.definition = s.slot->Copy();
  s.k = LeadingLambdas(line.definition.get(), kMaxParameters);
  Cell* d = LambdaLetters(line.definition.get(), s.k, s.letters, &s.mask);
  s.body = d;
  s.parameter_body = ParameterOf(s, d);
  if (s.k >= 1) CompileTemplate(d, s.letters, s.k, s.instance);
  else s.instance = Template{};
  s.builtin = nullptr;
  if (s.k == 0 && d->IsLeaf() && d->Bytes()[0] >= 'a' && d->Bytes()[0] <= 'z' && IsValue(d)) {
    const BuiltinEntry* entry = FindBuiltin(LeafView(d));
    if (entry != nullptr && entry->on_args != nullptr) s.builtin = entry;
  }
  FindPair(s);
}

}  // namespace

const GlobalShape* ShapeMiss(HeadLine& line) {
  if (line.shape.slot == nullptr) return nullptr;
  if (!ShapeIsCurrent(line)) TakeApart(line);
  return &line.shape;
}

const GlobalShape* GlobalForMiss(HeadLine& line, Cell* head) {
  // A name missing before may have been defined since (insertions keep the epoch).
  if (line.shape.slot == nullptr && !IsOneByteName(head)) return ShapeMiss(Fill(line, head));
  return ShapeMiss(line);
}

namespace {

// A line never filled holds nothing to drop.
bool Untouched(const HeadLine& line) { return line.leaf == nullptr && !line.definition && line.shape.slot == nullptr; }

// Drops every cached head (and the counts held on them). Most lines are
// never used in a run; resetting their templates would be most of the cost
// of ending a short run.
void ForgetHeads() {
  for (HeadLine& line : byte_lines.line) {
    if (Untouched(line)) continue;
    line.definition = CellRef();
    line.shape.slot = nullptr;
    line.shape.instance = Template{};
  }
  for (HeadLine& line : lines.line) {
    if (Untouched(line)) continue;
    Release(line.leaf);
    line.leaf = nullptr;
    line.definition = CellRef();
    line.builtin = nullptr;
    line.shape.slot = nullptr;
    line.shape.instance = Template{};
  }
}

const bool kReleased = AtRunEnd(ForgetHeads);

}  // namespace

}  // namespace head_cache

}  // namespace mox
