// The expression parser as a machine with an explicit work stack, so that
// neither nesting depth nor operator count ever deepens the host stack.
//
// A task computes the tree of one piece of text into a numbered result
// slot. A piece that splits schedules the parses of its parts into fresh
// slots together with a join task beneath them; the join runs once the
// parts are done and frees those slots again. Slots and operator offsets
// are therefore used strictly last-in first-out.
//
// Every bracket's partner is found once per call (FindPartners), and each
// scan of a piece steps over bracket groups in constant time. A piece is
// scanned once to learn which infix tiers occur at its depth zero; the
// loosest of them splits it, and its parts are rescanned only for the tiers
// that remain. So each byte is scanned a bounded number of times.
#include "front/parser.h"

#include <array>

#include "front/brackets.h"
#include "front/partners.h"
#include "front/tokens.h"

namespace mox {
namespace {

// ---- infix tiers -------------------------------------------------------------

// Tier t (1..8) is bit t-1. Tiers 1, 3, 4 and 8 group to the right.
constexpr uint8_t kAllTiers = 0xFF;
constexpr uint8_t kRightTiers = 0x01 | 0x04 | 0x08 | 0x80;

constexpr std::array<uint8_t, 256> BuildTierBits() {
  std::array<uint8_t, 256> t{};
  const std::string_view tiers[8] = {";\\{", "?\n", "&|", "=<>#", "@ ", "+-:.", "*/%'", "^"};
  for (int k = 0; k < 8; ++k)
    for (unsigned char c : tiers[k]) t[c] = static_cast<uint8_t>(1 << k);
  return t;
}
constexpr std::array<uint8_t, 256> kTierBit = BuildTierBits();

// ---- the machine -------------------------------------------------------------

enum class Job : uint8_t {
  kParse, kCore, kBraceList, kWrap, kPieces, kTier1Pieces, kFoldTier1, kFoldRight, kFoldLeft, kChain
};

// Fields by job:
//   kParse      [a, b) text, `tiers` the infix tiers that may occur in it
//   kCore       [a, b) text without leading or trailing affix operators
//   kBraceList  [a, b) text between the braces
//   kWrap       apply the affix bytes [a, b) (last one innermost), then
//               [c, d) (first one innermost) to the tree in `dest`
//   kPieces     schedules part d of the split of text [e, f): parts in
//               slots from a, operator offsets ops[b, c), each part parsed
//               with `tiers`
//   kTier1Pieces  the same for tier 1, whose parts and slots differ
//   kFold*      parts in slots from a, operator offsets ops[b, c)
//   kChain      slots [a, a + b) joined by left-nested application
struct Task {
  Job job;
  uint8_t tiers;
  int64_t dest;
  int64_t a, b, c, d, e, f;
};

// Tight-tier material collected by one core scan.
enum class ItemKind : uint8_t { kLeaf, kSub, kAffixed };
struct Item {
  ItemKind kind;
  int64_t a, b, c;  // kLeaf: token [a, b); kSub: text [a, b) parsed whole;
                    // kAffixed: affix run [a, b), operand [b, c)
};

struct Machine {
  std::string_view text;
  BracketPartners partners;
  std::vector<Task> tasks;
  std::vector<CellRef> slots;
  std::vector<int64_t> ops;
  std::vector<Item> items;

  unsigned char At(int64_t i) const { return static_cast<unsigned char>(text[static_cast<size_t>(i)]); }
  int64_t Partner(int64_t i) const { return partners.At(i); }
  CellRef& Slot(int64_t i) { return slots[static_cast<size_t>(i)]; }
  int64_t ReserveSlots(int64_t n) {
    int64_t base = static_cast<int64_t>(slots.size());
    slots.resize(static_cast<size_t>(base + n));
    return base;
  }
  void Push(Job job, int64_t dest, int64_t a, int64_t b, int64_t c = 0, int64_t d = 0,
            uint8_t tiers = 0, int64_t e = 0, int64_t f = 0) {
    tasks.push_back(Task{job, tiers, dest, a, b, c, d, e, f});
  }
  CellRef Leaf(int64_t from, int64_t to) const { return MakeLeaf(text.data() + from, static_cast<size_t>(to - from)); }
  CellRef ByteLeaf(unsigned char c) const { return MakeLeaf(&c, 1); }
};

CellRef EmptyLeaf() { return MakeLeaf("}", 1); }

// Infix tiers present at depth zero in [from, to).
uint8_t TiersIn(const Machine& m, int64_t from, int64_t to) {
  uint8_t found = 0;
  for (int64_t i = from; i < to; ++i) {
    unsigned char c = m.At(i);
    found |= kTierBit[c];
    if (IsOpeningBracket(c)) i = m.Partner(i);
  }
  return found;
}

// Appends to m.ops the depth-zero offsets in [from, to) whose byte passes
// `wanted`.
template <class Wanted>
void CollectOps(Machine& m, int64_t from, int64_t to, Wanted wanted) {
  for (int64_t i = from; i < to; ++i) {
    unsigned char c = m.At(i);
    if (wanted(c)) m.ops.push_back(i);
    if (IsOpeningBracket(c)) i = m.Partner(i);
  }
}

// ---- splitting on infix operators --------------------------------------------------

// A split's parts are scheduled one at a time, each when the one before it
// is done, so that a long operator chain never fills the task stack.
//
// Tier 1 (; \ {, to the right). Part j < k is the left part of operator j,
// from the end of the operator before it (past the closing brace of a brace
// list) to the operator; it goes to slot 2j, and a "{" also owns the brace
// list up to its partner, slot 2j+1. Part k, the tail, goes to slot 2k.
void RunTier1Piece(Machine& m, const Task& t) {
  const int64_t base = t.a, ob = t.b, k = t.c - t.b, j = t.d;
  if (j < k) m.Push(Job::kTier1Pieces, 0, base, ob, t.c, j + 1, t.tiers, t.e, t.f);
  auto after = [&m](int64_t op) { return m.At(op) == '{' ? m.Partner(op) + 1 : op + 1; };
  const int64_t start = j == 0 ? t.e : after(m.ops[ob + j - 1]);
  if (j == k) {
    m.Push(Job::kParse, base + 2 * k, start, t.f, 0, 0, t.tiers);
    return;
  }
  const int64_t op = m.ops[ob + j];
  if (m.At(op) == '{') m.Push(Job::kBraceList, base + 2 * j + 1, op + 1, m.Partner(op));
  m.Push(Job::kParse, base + 2 * j, start, op, 0, 0, t.tiers);
}

// Tiers 2 to 8 and brace lists: part j runs between operators j-1 and j.
void RunPiece(Machine& m, const Task& t) {
  const int64_t base = t.a, ob = t.b, k = t.c - t.b, j = t.d;
  if (j < k) m.Push(Job::kPieces, 0, base, ob, t.c, j + 1, t.tiers, t.e, t.f);
  const int64_t start = j == 0 ? t.e : m.ops[ob + j - 1] + 1;
  const int64_t end = j == k ? t.f : m.ops[ob + j];
  m.Push(Job::kParse, base + j, start, end, 0, 0, t.tiers);
}

// Collects the operators of a split into m.ops, reserves the slots of its
// parts and schedules the join and the first part. Returns false, having
// done nothing, when there is no operator.
template <class Wanted>
bool Split(Machine& m, int64_t from, int64_t to, Wanted wanted, Job fold, uint8_t tiers, int64_t dest) {
  const int64_t ob = static_cast<int64_t>(m.ops.size());
  CollectOps(m, from, to, wanted);
  const int64_t k = static_cast<int64_t>(m.ops.size()) - ob;
  if (k == 0) return false;
  const bool tier1 = fold == Job::kFoldTier1;
  const int64_t base = m.ReserveSlots(tier1 ? 2 * k + 1 : k + 1);
  m.Push(fold, dest, base, ob, ob + k);
  m.Push(tier1 ? Job::kTier1Pieces : Job::kPieces, 0, base, ob, ob + k, 0, tiers, from, to);
  return true;
}

void SplitTier(Machine& m, int64_t from, int64_t to, uint8_t tier, uint8_t rest, int64_t dest) {
  auto in_tier = [tier](unsigned char c) { return kTierBit[c] == tier; };
  const Job fold = tier == 1 ? Job::kFoldTier1 : (tier & kRightTiers) ? Job::kFoldRight : Job::kFoldLeft;
  const bool split = Split(m, from, to, in_tier, fold, rest, dest);
  MOX_ASSERT(split);
}

// A brace list: the elements between depth-zero commas, each a whole
// expression, folded to the right with the leaf ",".
void RunBraceList(Machine& m, int64_t from, int64_t to, int64_t dest) {
  auto comma = [](unsigned char c) { return c == ','; };
  if (!Split(m, from, to, comma, Job::kFoldRight, kAllTiers, dest))
    m.Push(Job::kParse, dest, from, to, 0, 0, kAllTiers);
}

// ---- the tight tiers -----------------------------------------------------------

// Adds the arguments of the call list whose parentheses enclose [from, to).
void AddCallArguments(Machine& m, int64_t from, int64_t to) {
  int64_t start = from;
  for (int64_t i = from; i < to; ++i) {
    unsigned char c = m.At(i);
    if (c == ',') {
      m.items.push_back(Item{ItemKind::kSub, start, i, 0});
      start = i + 1;
    }
    if (IsOpeningBracket(c)) i = m.Partner(i);
  }
  m.items.push_back(Item{ItemKind::kSub, start, to, 0});
}

// Collects the items of [from, to): the tokens of the text before the first
// depth-zero affix run (a leading group is a parenthesised expression, a
// later one a call list whose arguments join the application chain), then
// one item per affix run with the operand that follows it.
void CollectItems(Machine& m, int64_t from, int64_t to) {
  auto partner = [&m](int64_t i) { return m.Partner(i); };
  m.items.clear();
  int64_t i = from;
  while (i < to && !IsAffixOperator(m.At(i))) {
    if (m.At(i) == '(') {
      const int64_t close = m.Partner(i);
      if (i == from) m.items.push_back(Item{ItemKind::kSub, i + 1, close, 0});
      else AddCallArguments(m, i + 1, close);
      i = close + 1;
      continue;
    }
    const int64_t end = TokenEnd(m.text, i, to, kClassAffix, partner);
    m.items.push_back(Item{ItemKind::kLeaf, i, end, 0});
    i = end;
  }
  while (i < to) {
    const int64_t run = i;
    while (IsAffixOperator(m.At(i))) ++i;
    const int64_t operand = i;
    for (; i < to && !IsAffixOperator(m.At(i)); ++i)
      if (IsOpeningBracket(m.At(i))) i = m.Partner(i);
    m.items.push_back(Item{ItemKind::kAffixed, run, operand, i});
  }
}

void EmitItem(Machine& m, const Item& item, int64_t slot) {
  switch (item.kind) {
    case ItemKind::kLeaf:
      m.Slot(slot) = m.Leaf(item.a, item.b);
      break;
    case ItemKind::kSub:
      m.Push(Job::kParse, slot, item.a, item.b, 0, 0, kAllTiers);
      break;
    case ItemKind::kAffixed:
      m.Push(Job::kWrap, slot, item.a, item.b, item.b, item.b);
      m.Push(Job::kCore, slot, item.b, item.c);
      break;
  }
}

// Embedded affix operators and tight juxtaposition on a text that neither
// starts nor ends with an affix operator.
void RunCore(Machine& m, int64_t from, int64_t to, int64_t dest) {
  MOX_ASSERT(from < to);
  CollectItems(m, from, to);
  const int64_t n = static_cast<int64_t>(m.items.size());
  if (n == 1) {
    EmitItem(m, m.items[0], dest);
    return;
  }
  const int64_t base = m.ReserveSlots(n);
  m.Push(Job::kChain, dest, base, n);
  for (int64_t j = n - 1; j >= 0; --j) EmitItem(m, m.items[static_cast<size_t>(j)], base + j);
}

// ---- one piece -----------------------------------------------------------------

void RunParse(Machine& m, int64_t from, int64_t to, uint8_t tiers, int64_t dest) {
  if (tiers != 0) {
    const uint8_t found = TiersIn(m, from, to);
    MOX_ASSERT((found & ~tiers) == 0);
    if (found != 0) {
      const uint8_t tier = found & static_cast<uint8_t>(-found);
      const uint8_t rest = found & static_cast<uint8_t>(~tier);
      SplitTier(m, from, to, tier, rest, dest);
      return;
    }
  }
  if (from == to) {
    m.Slot(dest) = EmptyLeaf();
    return;
  }
  int64_t tail = to;  // trailing affix operators: postfix
  while (tail > from && IsAffixOperator(m.At(tail - 1))) --tail;
  if (tail == from) {  // nothing but affix operators, around the empty text
    CellRef tree = EmptyLeaf();
    for (int64_t j = from; j < to; ++j) tree = MakeApp(m.ByteLeaf(m.At(j)), std::move(tree));
    m.Slot(dest) = std::move(tree);
    return;
  }
  int64_t head = from;  // leading affix operators: prefix
  while (IsAffixOperator(m.At(head))) ++head;
  if (head != from || tail != to) m.Push(Job::kWrap, dest, from, head, tail, to);
  RunCore(m, head, tail, dest);
}

// ---- joins ---------------------------------------------------------------------

void RunWrap(Machine& m, const Task& t) {
  CellRef tree = std::move(m.Slot(t.dest));
  for (int64_t j = t.b - 1; j >= t.a; --j) tree = MakeApp(m.ByteLeaf(m.At(j)), std::move(tree));
  for (int64_t j = t.c; j < t.d; ++j) tree = MakeApp(m.ByteLeaf(m.At(j)), std::move(tree));
  m.Slot(t.dest) = std::move(tree);
}

// Frees the slots from `base` and the operator offsets from `ob`, which the
// finished join was the last to use.
void Release(Machine& m, int64_t base, int64_t ob) {
  m.slots.resize(static_cast<size_t>(base));
  m.ops.resize(static_cast<size_t>(ob));
}

void RunFold(Machine& m, const Task& t) {
  const int64_t base = t.a, ob = t.b, k = t.c - t.b;
  MOX_ASSERT(static_cast<int64_t>(m.ops.size()) == t.c);
  CellRef tree;
  if (t.job == Job::kFoldLeft) {
    tree = std::move(m.Slot(base));
    for (int64_t j = 0; j < k; ++j) {
      const unsigned char op = m.At(m.ops[ob + j]);
      CellRef right = std::move(m.Slot(base + j + 1));
      if (op == ' ') tree = MakeApp(std::move(tree), std::move(right));
      else tree = MakeApp(m.ByteLeaf(op == '\n' ? 'T' : op), std::move(tree), std::move(right));
    }
  } else if (t.job == Job::kFoldRight) {
    tree = std::move(m.Slot(base + k));
    for (int64_t j = k - 1; j >= 0; --j)
      tree = MakeApp(m.ByteLeaf(m.At(m.ops[ob + j])), std::move(m.Slot(base + j)), std::move(tree));
  } else {
    tree = std::move(m.Slot(base + 2 * k));
    for (int64_t j = k - 1; j >= 0; --j) {
      const unsigned char op = m.At(m.ops[ob + j]);
      CellRef left = std::move(m.Slot(base + 2 * j));
      if (op == '{') tree = MakeApp(m.ByteLeaf(op), std::move(left), std::move(m.Slot(base + 2 * j + 1)), std::move(tree));
      else tree = MakeApp(m.ByteLeaf(op), std::move(left), std::move(tree));
    }
  }
  m.Slot(t.dest) = std::move(tree);
  Release(m, base, ob);
}

void RunChain(Machine& m, const Task& t) {
  CellRef tree = std::move(m.Slot(t.a));
  for (int64_t j = 1; j < t.b; ++j) tree = MakeApp(std::move(tree), std::move(m.Slot(t.a + j)));
  m.Slot(t.dest) = std::move(tree);
  m.slots.resize(static_cast<size_t>(t.a));
}

void Run(Machine& m, const Task& t) {
  switch (t.job) {
    case Job::kParse:
      return RunParse(m, t.a, t.b, t.tiers, t.dest);
    case Job::kCore:
      return RunCore(m, t.a, t.b, t.dest);
    case Job::kBraceList:
      return RunBraceList(m, t.a, t.b, t.dest);
    case Job::kWrap:
      return RunWrap(m, t);
    case Job::kPieces:
      return RunPiece(m, t);
    case Job::kTier1Pieces:
      return RunTier1Piece(m, t);
    case Job::kChain:
      return RunChain(m, t);
    case Job::kFoldTier1:
    case Job::kFoldRight:
    case Job::kFoldLeft:
      return RunFold(m, t);
  }
}

}  // namespace

std::vector<int64_t> FindTopLevel(std::string_view text, const ByteSet& set) {
  std::vector<int64_t> found;
  const int64_t n = static_cast<int64_t>(text.size());
  for (int64_t i = 0; i < n;) {
    if (set.Has(static_cast<unsigned char>(text[static_cast<size_t>(i)]))) found.push_back(i);
    const int64_t next = MatchBracket(text, i);
    MOX_ASSERT(next >= i);
    i = next + 1;
  }
  return found;
}

CellRef ParseExpression(std::string_view text) {
  Machine m{text, FindPartners(text), {}, {}, {}, {}};
  m.slots.resize(1);
  m.Push(Job::kParse, 0, 0, static_cast<int64_t>(text.size()), 0, 0, kAllTiers);
  while (!m.tasks.empty()) {
    const Task t = m.tasks.back();
    m.tasks.pop_back();
    Run(m, t);
  }
  MOX_ASSERT(m.slots.size() == 1 && m.ops.empty());
  return std::move(m.slots[0]);
}

}  // namespace mox
