// What a head leaf names: a builtin, a global definition, or nothing. The
// answers are cached by leaf cell (shared name leaves are the same cell), so
// contraction finds them without searching the name tables. For a global the
// cache also keeps its definition taken apart: the parameter letters and the
// body under the leading lambdas.
//
// Every contraction asks, so the hit is inline here: one line read and two
// comparisons; filling a line and taking a definition apart are in
// head_cache.cpp.
#pragma once

#include "core/cell.h"
#include "eval/template.h"
#include "program/builtin_table.h"
#include "program/globals.h"

namespace mox {

struct GlobalShape {
  CellRef* slot;      // the GlobalTable entry
  int k;              // leading lambda layers
  Cell* body;         // under them (borrowed from the definition)
  uint32_t mask;      // the parameter letters as a set
  unsigned char letters[kMaxParameters];
  int parameter_body;  // the parameter the body is (the last of its letter), or -1
  Template instance;  // the body compiled for these parameters, when small
  // A definition without parameters that is the name of a builtin taking
  // its arguments as they are (an operator such as + bound to plus): that
  // builtin; otherwise null.
  const BuiltinEntry* builtin;
  // A body of three parameters that builds a pair (ListParts): V a b, the
  // first two given to a global of a one-byte name V, names V here; f a b,
  // the third applied to the first two, sets `pair`.
  Cell* pair_name;
  bool pair;
};

// One cached head. A line for a longer name holds a count on its leaf, so
// the address cannot be reused by another leaf while cached, and a count on
// the definition it took apart, so that body pointers stay valid. Entries of
// the GlobalTable stay put until an erase, which changes the table's epoch
// and so invalidates every line.
struct HeadLine {
  Cell* leaf = nullptr;  // longer names only; one-byte names use their byte
  uint64_t epoch = 0;
  const BuiltinEntry* builtin = nullptr;
  CellRef definition;  // the definition `shape` was taken from
  GlobalShape shape = {};
};

namespace head_cache {

// Lines that are never destroyed: each run's end empties the lines it used
// (and lets go of their counts), so destroying thousands of lines as the
// process exits would only add to every short run's time.
template <size_t N>
union Lines {
  HeadLine line[N];
  constexpr Lines() : line() {}
  ~Lines() {}
};

constexpr size_t kLines = 4096;
extern Lines<kLines> lines;
// One-byte names (combinator letters, operators) are looked up by their
// byte instead: their leaves are often fresh cells (a comparison's K or H),
// which would only crowd the lines of the longer names out.
extern Lines<256> byte_lines;

HeadLine& Fill(HeadLine& line, Cell* head);
HeadLine& RefreshByte(HeadLine& line, unsigned char b);
const GlobalShape* GlobalForMiss(HeadLine& line, Cell* head);
const GlobalShape* ShapeMiss(HeadLine& line);

inline bool IsOneByteName(const Cell* head) { return head->Bytes()[0] != 0 && head->Bytes()[1] == 0; }

// A leaf of a one-byte name that can be called as a global: \ and { head
// lambda and let nodes, whatever they are bound to. (A byte no global has,
// a digit or a marker, finds no shape when looked up.)
inline bool IsByteGlobalName(const Cell* c) {
  return c->IsLeaf() && IsOneByteName(c) && c->Bytes()[0] != '\\' && c->Bytes()[0] != '{';
}

[[gnu::always_inline]] inline HeadLine& LookupByte(unsigned char b) {
  HeadLine& line = byte_lines.line[b];
  if (line.shape.slot != nullptr && line.epoch == GlobalTable::Epoch()) [[likely]] return line;
  return RefreshByte(line, b);
}

[[gnu::always_inline]] inline HeadLine& Lookup(Cell* head) {
  if (IsOneByteName(head)) return LookupByte(head->Bytes()[0]);
  HeadLine& line = lines.line[(reinterpret_cast<uintptr_t>(head) >> 4) & (kLines - 1)];
  if (line.leaf == head && line.epoch == GlobalTable::Epoch()) [[likely]] return line;
  return Fill(line, head);
}

// Whether the line's shape was taken from its global's current definition.
[[gnu::always_inline]] inline bool ShapeIsCurrent(const HeadLine& line) {
  return line.shape.slot != nullptr && line.definition.get() == line.shape.slot->get();
}

// The line's global with its current definition taken apart, or null.
[[gnu::always_inline]] inline const GlobalShape* ShapeOf(HeadLine& line) {
  if (ShapeIsCurrent(line)) [[likely]] return &line.shape;
  return ShapeMiss(line);
}

}  // namespace head_cache

// The builtin a lower-case head names, or null.
inline const BuiltinEntry* BuiltinFor(Cell* head) {
  return head_cache::IsOneByteName(head) ? nullptr : head_cache::Lookup(head).builtin;
}

// The global a head names, with its current definition taken apart; null
// when the GlobalTable has no entry for the head's text.
[[gnu::always_inline]] inline const GlobalShape* GlobalFor(Cell* head) {
  HeadLine& line = head_cache::Lookup(head);
  if (head_cache::ShapeIsCurrent(line)) [[likely]] return &line.shape;
  return head_cache::GlobalForMiss(line, head);
}
// The same for a one-byte name given by its byte.
[[gnu::always_inline]] inline const GlobalShape* GlobalForByte(unsigned char b) {
  return head_cache::ShapeOf(head_cache::LookupByte(b));
}

}  // namespace mox
