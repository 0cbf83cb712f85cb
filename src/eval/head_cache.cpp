// The slow paths of the head cache: filling a line, and taking a global's
// definition apart (its parameters, its body and the body's template).
#include "eval/head_cache.h"

#include <cstdint>

#include "core/run_end.h"
#include "front/binders.h"
#include "program/analyse.h"

namespace mox {

namespace head_cache {

HeadLine lines[kLines];
HeadLine byte_lines[256];

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

void TakeApart(HeadLine& line) {
  GlobalShape& s = line.shape;
  line.definition = s.slot->Copy();
  s.k = LeadingLambdas(line.definition.get(), kMaxParameters);
  Cell* d = LambdaLetters(line.definition.get(), s.k, s.letters, &s.mask);
  s.body = d;
  s.parameter_body = -1;
  if (d->IsLeaf() && IsOneByteName(d))
    for (int i = s.k; i-- > 0 && s.parameter_body < 0;)
      if (s.letters[i] == d->Bytes()[0]) s.parameter_body = i;
  if (s.k >= 1) CompileTemplate(d, s.letters, s.k, s.instance);
  else s.instance = Template{};
  s.builtin = nullptr;
  if (s.k == 0 && d->IsLeaf() && d->Bytes()[0] >= 'a' && d->Bytes()[0] <= 'z' && IsValue(d)) {
    const BuiltinEntry* entry = FindBuiltin(LeafView(d));
    if (entry != nullptr && entry->on_args != nullptr) s.builtin = entry;
  }
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
  for (HeadLine& line : byte_lines) {
    if (Untouched(line)) continue;
    line.definition = CellRef();
    line.shape.slot = nullptr;
    line.shape.instance = Template{};
  }
  for (HeadLine& line : lines) {
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
