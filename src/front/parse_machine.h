// The state of one ParseExpression call, shared by the infix tiers
// (parser.cpp) and the tight tiers (parse_tight.cpp).
//
// The parser is a machine with an explicit work stack, so that neither
// nesting depth nor operator count ever deepens the host stack. A task
// computes the tree of one piece of text into a numbered result slot. A
// piece that falls into parts (an operator split, an application chain)
// reserves one slot per part and leaves one stepping task on the stack: it
// schedules the parts one by one and, after the last, joins their trees and
// frees the slots. Slots, operator offsets and chain items are therefore
// used strictly last-in first-out, and each open construct keeps exactly
// one task pending.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>
#include <vector>

#include "core/cell.h"
#include "core/work_stack.h"
#include "front/partners.h"

namespace mox::parse {

enum class Job : uint8_t { kParse, kCore, kBraceList, kWrap, kSplitLeft, kSplitRight, kSplitTier1, kChain };

// Fields by job:
//   kParse       text [a, b); `tiers`: the infix tiers that may occur in it
//   kCore        text [a, b), neither starting nor ending with an affix
//   kBraceList   text [a, b) between two braces
//   kWrap        applies the affix bytes [a, b) (the last one innermost),
//                then [c, d) (the first one innermost) to the tree in dest
//   kSplit*      parts in slots from a; ops[b] is the start of the text,
//                ops[b+1 .. b+c] its c operators, ops[b+c+1] its end;
//                d is the next part to schedule (c+1: join); parts are
//                parsed with `tiers`
//   kChain       parts in slots from a, items[b .. b+c); d is the next item
//                to schedule (c: join by left-nested application)
struct Task {
  Job job;
  uint8_t tiers;
  int64_t dest;
  int64_t a, b, c, d;
};

// Material of an application chain, collected by one scan of the tight
// tiers: kLeaf the token [a, b); kSub the text [a, b) parsed as a whole
// expression; kAffixed the affix run [a, b) applied to the operand [b, c).
enum class ItemKind : uint8_t { kLeaf, kSub, kAffixed };
struct Item {
  ItemKind kind;
  int64_t a, b, c;
};

struct Machine {
  std::string_view text;
  BracketPartners partners;
  WorkStack<Task> tasks;
  std::vector<CellRef> slots;
  WorkStack<int64_t> ops;
  WorkStack<Item> items;
  CellRef (*make_leaf)(std::string_view bytes);  // null: a new cell each time
  // One leaf for each operator byte, shared by every place it is used: an
  // operator's leaf is a quarter of the cells of a parsed tree, and the
  // checks share equal leaves in the end anyway. The backtick stays apart:
  // each of its leaves is stamped with its own line number.
  mutable std::array<CellRef, 256> byte_leaves;

  CellRef NewLeaf(std::string_view bytes) const {
    if (make_leaf == nullptr || bytes == "`") return MakeLeaf(bytes);
    return make_leaf(bytes);
  }

  unsigned char At(int64_t i) const { return static_cast<unsigned char>(text[static_cast<size_t>(i)]); }
  int64_t Partner(int64_t i) const { return partners.At(i); }
  CellRef& Slot(int64_t i) { return slots[static_cast<size_t>(i)]; }
  int64_t ReserveSlots(int64_t n) {
    const int64_t base = static_cast<int64_t>(slots.size());
    slots.resize(static_cast<size_t>(base + n));
    return base;
  }
  void Push(Job job, int64_t dest, int64_t a, int64_t b, int64_t c = 0, int64_t d = 0, uint8_t tiers = 0) {
    tasks.push_back(Task{job, tiers, dest, a, b, c, d});
  }
  CellRef Leaf(int64_t from, int64_t to) const {
    return NewLeaf(text.substr(static_cast<size_t>(from), static_cast<size_t>(to - from)));
  }
  CellRef ByteLeaf(unsigned char c) const {
    std::string_view bytes(reinterpret_cast<const char*>(&c), 1);
    if (c == '`') return NewLeaf(bytes);
    CellRef& leaf = byte_leaves[c];
    if (!leaf) leaf = NewLeaf(bytes);
    return leaf.Copy();
  }
};

constexpr uint8_t kAllTiers = 0xFF;

// Tight tiers (parse_tight.cpp): embedded affix operators and juxtaposition
// with call lists, on a text that neither starts nor ends with an affix.
// They only schedule tasks; they never call back into the infix tiers.
void RunCore(Machine& m, int64_t from, int64_t to, int64_t dest);
void RunChain(Machine& m, Task t);

}  // namespace mox::parse
