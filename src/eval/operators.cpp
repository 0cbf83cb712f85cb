// Reading which branch a truth value takes from the current definitions.
#include "eval/operators.h"

#include "core/run_end.h"

namespace mox {

int TruthBranch(Cell* r) {
  if (!r->IsLeaf() || !head_cache::IsOneByteName(r) || !IsGlobalHeadLeaf(r)) return -1;
  return LetterBranch(r->Bytes()[0]);
}

namespace {

// An answer read from the definitions of one-byte names, with the
// definitions it was read from: LetterBranch's, from the letter's and, when
// its body names another global (H a = I), that one's; ListParts', from
// J's and from the V its body names. It stands while the table's epoch and
// both definitions are the same (a definition replaced in place is another
// cell: a count is held on each, so that no other cell takes its address).
// A name that was not defined is never kept: defining it moves no epoch.
struct KeptBranch {
  uint64_t epoch = 0;
  const CellRef* slot = nullptr;
  CellRef definition;
  const CellRef* then_slot = nullptr;
  CellRef then_definition;
  int branch = -1;
  // ListParts' only: the byte of J, and the name leaf of V in J's body (a
  // part of J's definition) when V builds pairs, else null.
  unsigned char byte = 0;
  Cell* pair = nullptr;

  void Keep(const CellRef* letter_slot, const CellRef* other_slot) {
    *this = {GlobalTable::Epoch(), letter_slot, letter_slot->Copy(), other_slot,
             other_slot != nullptr ? other_slot->Copy() : CellRef()};
  }

  bool Stands() const {
    return epoch == GlobalTable::Epoch() && slot->get() == definition.get() &&
           (then_slot == nullptr || then_slot->get() == then_definition.get());
  }
};

// The answers for K and H, which every comparison that takes a branch asks,
// and ListParts', which every list taken apart asks. Never destroyed: a
// count let go as the process exits could free a cell after what freeing
// reads is gone (each run's end lets go of them).
KeptBranch* const kept_answers = new KeptBranch[3];
KeptBranch* const kept_truths = kept_answers;  // by the letter: K, then H
KeptBranch& kept_pair = kept_answers[2];

void ForgetKeptBranches() {
  for (int i = 0; i < 3; ++i) kept_answers[i] = KeptBranch();
}

const bool kReleased = AtRunEnd(ForgetKeptBranches);

// LetterBranch read from the definitions; `kept` (null: none) records
// them with the answer when every name looked up was defined.
int ReadLetterBranch(unsigned char r, KeptBranch* kept) {
  const GlobalShape* g = GlobalForByte(r);
  if (g == nullptr) return -1;
  const CellRef* slot = g->slot;
  const GlobalShape* h = nullptr;
  int branch = -1;
  if (g->k == 2) {
    branch = g->parameter_body;
  } else {
    Cell* then = g->body;  // read before the next lookup, which may refill a line
    if (g->k != 1 || g->parameter_body >= 0 || !then->IsLeaf() || !head_cache::IsOneByteName(then) || !IsGlobalHeadLeaf(then)) return -1;
    h = GlobalForByte(then->Bytes()[0]);
    if (h == nullptr) return -1;
    branch = h->k == 1 && h->parameter_body == 0 ? 1 : -1;
  }
  if (kept != nullptr) {
    kept->Keep(slot, h != nullptr ? h->slot : nullptr);
    kept->branch = branch;
  }
  return branch;
}

}  // namespace

int LetterBranch(unsigned char r) {
  if (r != 'K' && r != 'H') return ReadLetterBranch(r, nullptr);
  KeptBranch& kept = kept_truths[r == 'H'];
  if (kept.Stands()) return kept.branch;
  return ReadLetterBranch(r, &kept);
}

namespace {

// The name leaf of V in J's body when the global of byte j is J and V's
// definition builds pairs (see ListParts), else null; kept in kept_pair.
// The leaf is analysed.
[[gnu::noinline]] Cell* ReadPairName(unsigned char j) {
  const GlobalShape* g = GlobalForByte(j);
  if (g == nullptr) return nullptr;
  const CellRef* slot = g->slot;
  Cell* pair = g->pair_name;  // read before the next lookup, which may refill a line
  const GlobalShape* v = nullptr;
  if (pair != nullptr) {
    v = GlobalForByte(pair->Bytes()[0]);
    if (v == nullptr) return nullptr;
  }
  kept_pair.Keep(slot, v != nullptr ? v->slot : nullptr);
  kept_pair.byte = j;
  kept_pair.pair = v != nullptr && v->pair ? pair : nullptr;
  if (kept_pair.pair != nullptr) AnalyseCell(kept_pair.pair);
  return kept_pair.pair;
}

}  // namespace

bool ListParts(Cell* v, Cell** h, Cell** t) {
  // The arities are also read from the leaves as they were analysed, as the
  // applications built on them are: cells made before a load that changed
  // them keep the arities they were made with.
  if (!v->IsApp() || v->IsData() || !v->f->IsApp() || v->f->IsData() || v->AnalysisValue() != 1) return false;
  Cell* j = v->f->f;
  if (!head_cache::IsByteGlobalName(j)) return false;
  unsigned char byte = j->Bytes()[0];
  // The kept answer, with a pair leaf already analysed, calls nothing.
  Cell* pair = kept_pair.pair;
  if (kept_pair.byte != byte || !kept_pair.Stands() || (pair != nullptr && !pair->Analysed()))
    pair = ReadPairName(byte);
  if (pair == nullptr || pair->IsData() || pair->Flag() || pair->AnalysisValue() != 3) return false;
  *h = v->f->a;
  *t = v->a;
  return true;
}

}  // namespace mox
