// The passes of the static checks, each over one definition table in key
// order (the main expression, under the empty key, first). CheckProgram runs
// them on the GlobalTable; the run-time loaders run them on a table of newly
// loaded definitions, with the GlobalTable's names counting as defined.
// A checking pass returns false after filling the report with the first
// problem it finds; a rewriting pass replaces definitions in place.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "diag/report.h"
#include "program/globals.h"

namespace mox {

// The table being checked, and the names defined outside it: those count as
// defined, but their definitions are not examined.
struct CheckScope {
  GlobalTable& table;
  const GlobalTable* outer = nullptr;

  bool Defines(std::string_view name) const {
    return table.Contains(name) || (outer != nullptr && outer->Contains(name));
  }
};

// "roads": a definition of a name the GlobalTable already has (the strict
// loader never replaces a global).
bool RefuseGlobalNames(const GlobalTable& table, Report& report);

// Pair lets `p q{y}z` become three plain lets (see pair_let.h).
void ExpandPairLets(GlobalTable& table);

// A definition as pair-let expansion and place allocation would leave it,
// where nothing checked between those passes can tell: its pair lets
// expanded, and its places renamed when every binder variable is a plain
// name, there are no more places than letters, and no letter a place gets
// occurs anywhere in it (the funky keys then find nothing, and the names it
// refers to stay the same). A big program's definitions are so rewritten
// as they are parsed, before they are shared: sharing each rewrite anew
// and letting the old tree leave the table took half of its start-up. The
// passes then find nothing left to do in them.
CellRef RewriteAhead(Cell* value);

// "funky": a lambda whose variable is not a definable name.
bool CheckFunkyKeys(const GlobalTable& table, Report& report);

// The names every definition of a table mentions (CollectReferences),
// found once for liveness and pruning, which both follow them. A name is
// the index of its key when the table defines it, else an index past the
// keys into `others`. Views of the table's keys and leaves: valid while the
// table is not changed.
// Numbers appended in blocks of 256 KiB. A big program's reference graph
// has millions of names: a vector doubling to hold them needs its old and
// its new array at once, at the start-up's peak, and ends up to twice as
// large as its contents; blocks of this size are mapped one by one, and
// given back to the system when freed (core/memory.cpp).
class NumberBlocks {
 public:
  void push_back(uint32_t n) {
    if ((size_ & kMask) == 0) blocks_.emplace_back(new uint32_t[kMask + 1]);
    blocks_.back()[size_ & kMask] = n;
    ++size_;
  }
  uint32_t operator[](size_t i) const { return blocks_[i >> kShift][i & kMask]; }
  size_t size() const { return size_; }

 private:
  static constexpr int kShift = 16;
  static constexpr size_t kMask = (size_t{1} << kShift) - 1;
  std::vector<std::unique_ptr<uint32_t[]>> blocks_;
  size_t size_ = 0;
};

struct ReferenceGraph {
  std::vector<std::string_view> keys;    // the table's keys, in order
  std::vector<std::string_view> others;  // mentioned names the table does not define
  NumberBlocks names;                    // every definition's names, in key order
  std::vector<uint32_t> first;           // key k's names: [first[k], first[k + 1])
  // Open addressing over the keys (index + 1, 0 for free): flat, where a
  // node-based map would leave a hundred thousand small blocks behind.
  std::vector<uint32_t> slots;

  std::string_view Name(uint32_t n) const { return n < keys.size() ? keys[n] : others[n - keys.size()]; }
  // The index of a key of the table, or -1.
  int64_t Find(std::string_view name) const;
};
ReferenceGraph BuildReferenceGraph(const GlobalTable& table);

// "alive": every name reachable from the main expression must be defined.
// The road loader words the message "references undefined function".
enum class AliveWording { kProgram, kRoad };
bool CheckLiveness(const CheckScope& scope, const ReferenceGraph& graph, Report& report,
                   AliveWording wording = AliveWording::kProgram);
bool CheckLiveness(const CheckScope& scope, Report& report, AliveWording wording = AliveWording::kProgram);

// Removes every definition that mentions an undefined name, or reaches one
// through references (dead code, once liveness has passed). A removed name
// that `restore_from` defines gets that definition back instead.
void PruneDeadCode(const CheckScope& scope, const ReferenceGraph& graph, const GlobalTable* restore_from);
void PruneDeadCode(const CheckScope& scope, const GlobalTable* restore_from);

// "place": at most 26 local names per definition; the names that are not
// single lower-case letters are renamed to the smallest free letters.
bool AllocatePlaces(GlobalTable& table, Report& report);

// "arity": at most ten leading parameters.
bool CheckArity(const GlobalTable& table, Report& report);

// Backtick expressions: closed ones are evaluated now, open ones become
// records of their line, function and text (see backtick.h). Analysis and
// evaluation look names up in the GlobalTable, so every name the table's
// backtick expressions use must be defined there by then. The program's
// (`program`) may have been shared as it was parsed, its backtick lines
// kept apart (TakeBacktickLineLists). The rewritten definitions are shared
// by the sharing pass: until then each backtick's value is a cell of its
// own, as a later backtick may tell (see backtick.cpp).
void EvaluateBackticks(GlobalTable& table, bool program);

// Replaces every definition by its copy from the sharing table (sharing.h).
void ShareDefinitions(GlobalTable& table);

// "local": no definition may have a free variable.
bool CheckUnboundLocals(GlobalTable& table, Report& report);

// Fills the analysis cache of every definition.
void AnalyseDefinitions(GlobalTable& table);

}  // namespace mox
