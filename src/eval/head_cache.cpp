// A direct-mapped cache from head leaf to its table entries. Each line holds
// a count on its leaf, so the address cannot be reused by another leaf while
// cached, and a count on the definition it took apart, so that body pointers
// stay valid. Entries of the GlobalTable stay put until an erase, which
// changes the table's epoch and so invalidates every line.
#include "eval/head_cache.h"

#include <cstdint>

#include "core/run_end.h"
#include "front/binders.h"
#include "program/analyse.h"
#include "program/globals.h"

namespace mox {

namespace {

struct Line {
  Cell* leaf = nullptr;
  uint64_t epoch = 0;
  const BuiltinEntry* builtin = nullptr;
  CellRef definition;  // the definition `shape` was taken from
  GlobalShape shape = {};
};

constexpr size_t kLines = 4096;
Line lines[kLines];
// One-byte names (combinator letters, operators) are looked up by their
// byte instead: their leaves are often fresh cells (a comparison's K or H),
// which would only crowd the lines of the longer names out.
Line byte_lines[256];

bool IsOneByteName(const Cell* head) { return head->Bytes()[0] != 0 && head->Bytes()[1] == 0; }

Line& Fill(Line& line, Cell* head) {
  Retain(head);
  Release(line.leaf);
  line.leaf = head;
  line.epoch = Globals().Epoch();
  std::string_view key = LeafView(head);
  unsigned char b = head->Bytes()[0];
  line.builtin = (b >= 'a' && b <= 'z') ? FindBuiltin(key) : nullptr;
  line.shape.slot = Globals().Find(key);
  line.definition = CellRef();
  return line;
}

Line& ByteLine(Cell* head) {
  Line& line = byte_lines[head->Bytes()[0]];
  if (line.shape.slot == nullptr || line.epoch != Globals().Epoch()) {
    line.shape.slot = Globals().FindByte(head->Bytes()[0]);  // no builtin has a one-byte name
    line.epoch = Globals().Epoch();
  }
  return line;
}

Line& Lookup(Cell* head) {
  if (IsOneByteName(head)) return ByteLine(head);
  Line& line = lines[(reinterpret_cast<uintptr_t>(head) >> 4) & (kLines - 1)];
  if (line.leaf == head && line.epoch == Globals().Epoch()) return line;
  return Fill(line, head);
}

void TakeApart(Line& line) {
  GlobalShape& s = line.shape;
  line.definition = s.slot->Copy();
  Cell* d = line.definition.get();
  s.k = LeadingLambdas(d, kMaxParameters);
  s.mask = 0;
  for (int i = 0; i < s.k; ++i, d = d->a) {
    const Cell* v = LambdaVariable(d);
    s.letters[i] = v->IsLeaf() ? v->Bytes()[0] : 0;
    s.mask |= BoundLetter(v);
  }
  s.body = d;
  if (s.k >= 1) CompileTemplate(d, s.letters, s.k, s.instance);
  else s.instance = Template{};
}

}  // namespace

const BuiltinEntry* BuiltinFor(Cell* head) { return IsOneByteName(head) ? nullptr : Lookup(head).builtin; }

const GlobalShape* GlobalFor(Cell* head) {
  Line* line = &Lookup(head);
  // A name missing before may have been defined since (insertions keep the epoch).
  if (line->shape.slot == nullptr && !IsOneByteName(head)) line = &Fill(*line, head);
  if (line->shape.slot == nullptr) return nullptr;
  if (line->definition.get() != line->shape.slot->get()) TakeApart(*line);
  return &line->shape;
}

namespace {

// Drops every cached head (and the counts held on them).
void ForgetHeads() {
  for (Line& line : byte_lines) {
    line.definition = CellRef();
    line.shape.slot = nullptr;
    line.shape.instance = Template{};
  }
  for (Line& line : lines) {
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

}  // namespace mox
