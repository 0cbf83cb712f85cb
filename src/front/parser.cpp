// The expression parser: the infix tiers, the postfix and prefix affix
// operators, the joins, and the loop that runs the work stack (see
// parse_machine.h for the machine itself).
//
// Every bracket's partner is found once per call (FindPartners), so a scan
// steps over a bracket group in constant time. A piece is scanned once to
// learn which infix tiers occur at its depth zero; the loosest of them
// splits it, and its parts are scanned again only for the tiers that
// remain (none at all when that was the only one). Each byte is thus
// scanned a bounded number of times, and parsing takes linear time.
#include "front/parser.h"

#include <array>

#include "front/brackets.h"
#include "front/charset.h"
#include "front/parse_machine.h"

namespace mox {
namespace parse {
namespace {

// Tier t (1..8) is bit t-1. Tiers 1, 3, 4 and 8 group to the right.
constexpr uint8_t kRightTiers = 0x01 | 0x04 | 0x08 | 0x80;

constexpr std::array<uint8_t, 256> BuildTierBits() {
  std::array<uint8_t, 256> t{};
  const std::string_view tiers[8] = {";\\{", "?\n", "&|", "=<>#", "@ ", "+-:.", "*/%'", "^"};
  for (int k = 0; k < 8; ++k)
    for (unsigned char c : tiers[k]) t[c] = static_cast<uint8_t>(1 << k);
  return t;
}
constexpr std::array<uint8_t, 256> kTierBit = BuildTierBits();

CellRef EmptyLeaf() { return MakeLeaf("}", 1); }

// Infix tiers present at depth zero in [from, to).
uint8_t TiersIn(const Machine& m, int64_t from, int64_t to) {
  uint8_t found = 0;
  for (int64_t i = from; i < to; ++i) {
    const unsigned char c = m.At(i);
    found |= kTierBit[c];
    if (IsOpeningBracket(c)) i = m.Partner(i);
  }
  return found;
}

// ---- splits ----------------------------------------------------------------------

// Starts a split of [from, to) at its depth-zero bytes that pass `wanted`:
// lays out ops[ob] = from, the operators, to; reserves the part slots and
// leaves the stepping task. Returns false, having done nothing, when no
// byte qualifies.
template <class Wanted>
bool Split(Machine& m, int64_t from, int64_t to, Wanted wanted, Job job, uint8_t tiers, int64_t dest) {
  const int64_t ob = static_cast<int64_t>(m.ops.size());
  m.ops.push_back(from);
  for (int64_t i = from; i < to; ++i) {
    const unsigned char c = m.At(i);
    if (wanted(c)) m.ops.push_back(i);
    if (IsOpeningBracket(c)) i = m.Partner(i);
  }
  const int64_t k = static_cast<int64_t>(m.ops.size()) - ob - 1;
  if (k == 0) {
    m.ops.pop_back();
    return false;
  }
  m.ops.push_back(to);
  const int64_t base = m.ReserveSlots(job == Job::kSplitTier1 ? 2 * k + 1 : k + 1);
  m.Push(job, dest, base, ob, k, 0, tiers);
  return true;
}

void SplitTier(Machine& m, int64_t from, int64_t to, uint8_t tier, uint8_t rest, int64_t dest) {
  auto in_tier = [tier](unsigned char c) { return kTierBit[c] == tier; };
  const Job job = tier == 1 ? Job::kSplitTier1 : (tier & kRightTiers) ? Job::kSplitRight : Job::kSplitLeft;
  const bool split = Split(m, from, to, in_tier, job, rest, dest);
  MOX_ASSERT(split);
}

// A brace list: the elements between depth-zero commas, each a whole
// expression, folded to the right with the leaf ",".
void RunBraceList(Machine& m, int64_t from, int64_t to, int64_t dest) {
  auto comma = [](unsigned char c) { return c == ','; };
  if (!Split(m, from, to, comma, Job::kSplitRight, kAllTiers, dest))
    m.Push(Job::kParse, dest, from, to, 0, 0, kAllTiers);
}

// ---- one piece -------------------------------------------------------------------

// Postfix affix operators apply from the inside out, then prefix ones, then
// the tight tiers take what is left.
void RunParse(Machine& m, int64_t from, int64_t to, uint8_t tiers, int64_t dest) {
  if (tiers != 0) {
    const uint8_t found = TiersIn(m, from, to);
    MOX_ASSERT((found & ~tiers) == 0);
    if (found != 0) {
      const uint8_t tier = found & static_cast<uint8_t>(-found);
      SplitTier(m, from, to, tier, found & static_cast<uint8_t>(~tier), dest);
      return;
    }
  }
  if (from == to) {
    m.Slot(dest) = EmptyLeaf();
    return;
  }
  int64_t tail = to;
  while (tail > from && IsAffixOperator(m.At(tail - 1))) --tail;
  if (tail == from) {  // nothing but affix operators, around the empty text
    CellRef tree = EmptyLeaf();
    for (int64_t j = from; j < to; ++j) tree = MakeApp(m.ByteLeaf(m.At(j)), std::move(tree));
    m.Slot(dest) = std::move(tree);
    return;
  }
  int64_t head = from;
  while (IsAffixOperator(m.At(head))) ++head;
  if (head != from || tail != to) m.Push(Job::kWrap, dest, from, head, tail, to);
  RunCore(m, head, tail, dest);
}

// ---- joins -----------------------------------------------------------------------

void RunWrap(Machine& m, const Task& t) {
  CellRef tree = std::move(m.Slot(t.dest));
  for (int64_t j = t.b - 1; j >= t.a; --j) tree = MakeApp(m.ByteLeaf(m.At(j)), std::move(tree));
  for (int64_t j = t.c; j < t.d; ++j) tree = MakeApp(m.ByteLeaf(m.At(j)), std::move(tree));
  m.Slot(t.dest) = std::move(tree);
}

// Left: ((op L) R) from the left, a space as plain application and a
// newline as the leaf "T". Right: ((op L) R) from the right. Tier 1 as
// right, with (((op L) C) R) for a "{" whose brace list C has its own slot.
CellRef Fold(Machine& m, const Task& t) {
  const int64_t base = t.a, k = t.c;
  auto op = [&m, &t](int64_t j) { return m.At(m.ops[static_cast<size_t>(t.b + 1 + j)]); };
  CellRef tree;
  if (t.job == Job::kSplitLeft) {
    tree = std::move(m.Slot(base));
    for (int64_t j = 0; j < k; ++j) {
      CellRef right = std::move(m.Slot(base + j + 1));
      const unsigned char c = op(j);
      if (c == ' ') tree = MakeApp(std::move(tree), std::move(right));
      else tree = MakeApp(m.ByteLeaf(c == '\n' ? 'T' : c), std::move(tree), std::move(right));
    }
  } else if (t.job == Job::kSplitRight) {
    tree = std::move(m.Slot(base + k));
    for (int64_t j = k - 1; j >= 0; --j)
      tree = MakeApp(m.ByteLeaf(op(j)), std::move(m.Slot(base + j)), std::move(tree));
  } else {
    tree = std::move(m.Slot(base + 2 * k));
    for (int64_t j = k - 1; j >= 0; --j) {
      CellRef left = std::move(m.Slot(base + 2 * j));
      if (op(j) == '{') {
        CellRef list = std::move(m.Slot(base + 2 * j + 1));
        tree = MakeApp(m.ByteLeaf('{'), std::move(left), std::move(list), std::move(tree));
      } else {
        tree = MakeApp(m.ByteLeaf(op(j)), std::move(left), std::move(tree));
      }
    }
  }
  return tree;
}

// One step of a split: parse part d (and the brace list after it in tier
// 1), or after the last part join them and free their slots and offsets.
void RunSplit(Machine& m, Task t) {
  const int64_t k = t.c, j = t.d;
  if (j > k) {
    m.Slot(t.dest) = Fold(m, t);
    m.slots.resize(static_cast<size_t>(t.a));
    m.ops.resize(static_cast<size_t>(t.b));
    return;
  }
  const int64_t* bounds = m.ops.data() + t.b;
  const int64_t before = bounds[j], end = bounds[j + 1];
  const int64_t start = j == 0 ? before : m.At(before) == '{' ? m.Partner(before) + 1 : before + 1;
  ++t.d;
  m.tasks.push_back(t);
  int64_t slot = t.a + j;
  if (t.job == Job::kSplitTier1) {
    slot = t.a + 2 * j;
    if (j < k && m.At(end) == '{') m.Push(Job::kBraceList, slot + 1, end + 1, m.Partner(end));
  }
  m.Push(Job::kParse, slot, start, end, 0, 0, t.tiers);
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
    case Job::kSplitLeft:
    case Job::kSplitRight:
    case Job::kSplitTier1:
      return RunSplit(m, t);
    case Job::kChain:
      return RunChain(m, t);
  }
}

}  // namespace
}  // namespace parse

std::vector<int64_t> FindTopLevel(std::string_view text, const ByteSet& set) {
  std::vector<int64_t> found;
  const int64_t n = static_cast<int64_t>(text.size());
  for (int64_t i = 0; i < n;) {
    const auto c = static_cast<unsigned char>(text[static_cast<size_t>(i)]);
    if (set.Has(c)) found.push_back(i);
    const int64_t next = IsBracket(c) ? MatchBracket(text, i) : i;
    MOX_ASSERT(next >= i);
    i = next + 1;
  }
  return found;
}

CellRef ParseExpression(std::string_view text, LeafMaker make_leaf) {
  using namespace parse;
  Machine m{text, FindPartners(text), {}, {}, {}, {}, make_leaf, {}};
  m.slots.resize(1);
  m.Push(Job::kParse, 0, 0, static_cast<int64_t>(text.size()), 0, 0, kAllTiers);
  while (!m.tasks.empty()) {
    const Task t = m.tasks.back();
    m.tasks.pop_back();
    Run(m, t);
  }
  MOX_ASSERT(m.slots.size() == 1 && m.ops.empty() && m.items.empty());
  return std::move(m.slots[0]);
}

}  // namespace mox
