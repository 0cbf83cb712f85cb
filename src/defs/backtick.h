// Backtick expressions: `X evaluates a closed X once, before the run, and
// turns an open X into a record of where it stands (line, function, text).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/cell.h"
#include "core/text.h"
#include "program/globals.h"

namespace mox {

inline bool IsBacktickLeaf(const Cell* c) { return IsOneByteLeaf(c, '`'); }

// Line numbers of backtick leaves. Until the backtick pass, each backtick
// leaf carries its line in its length field (put there when the text was
// defined); the pass takes the lines out first and clears the fields, so
// that the cell analysis never reads a line number as a set of variables.
//
// The lines are kept as pairs in one array, sorted by leaf once all are
// taken: a program of a hundred thousand definitions has twice as many
// backticks, and a node for each, left behind in the heap when the pass
// is over, cost its start-up more than the pairs do. A pair is one word,
// the leaf's handle from the pool (core/pool.h) above its line: the array
// lives through the whole pass, while the sharing table takes in the
// rewritten definitions at the start-up's peak. Leaves without a handle
// (every leaf when the pool is off) are kept with their addresses apart.
class BacktickStamps {
 public:
  void Take(Cell* leaf);  // a stamped leaf: its line is kept, its field cleared
  void Seal();            // all are taken: lookups may start
  // The line taken from this leaf; 0 if none was.
  uint32_t LineOf(const Cell* leaf) const;
  bool empty() const { return near_.empty() && far_.empty(); }

 private:
  struct Stamp {
    const Cell* leaf;
    uint32_t line;
  };
  std::vector<uint64_t> near_;  // handle << 32 | line
  std::vector<Stamp> far_;
  bool sealed_ = false;
};
void TakeBacktickStamps(Cell* tree, BacktickStamps& stamps);

// The tree rewritten bottom-up: every application (` X), X rewritten first
// to X', becomes the value of X' (Evaluate) when X' is closed and is not
// the leaf "U", and otherwise ((((U line) [name]) [shown]) X'), `shown` the
// display form of X'. By U a b c d e = e (V a b) (V c d) that is a function
// that hands (V line [name]) and (V [shown] X') to its argument.
CellRef RewriteBackticks(Cell* tree, const Text& name, const BacktickStamps& stamps);

// Line numbers of backticks kept apart from the leaves, by definition: for
// a big program shared as it was parsed, whose backtick leaves are all one
// cell (define.cpp). A definition's lines are in the order of its text.
class BacktickLineLists {
 public:
  // The definition `key` has the lines [begin, end) of the list that Seal
  // will be given; a later definition of the same key replaces an earlier
  // one's, and begins after it.
  void Add(const Text& key, size_t begin, size_t end);
  // All are added: the list itself comes, and lookups may start.
  void Seal(std::vector<int64_t> lines);
  std::span<const int64_t> Of(const Text& key) const;
  bool empty() const { return entries_.empty(); }

 private:
  struct Entry {
    Text key;
    uint32_t begin, end;
  };
  std::vector<int64_t> lines_;
  std::vector<Entry> entries_;  // in key order once sealed
};

// RewriteBackticks for a tree whose backtick leaves carry no line: the tree
// is rewritten as the tree it stands for (a sub-graph met twice is
// rewritten twice), and the k-th backtick leaf met in the order of the
// text gets the k-th of `lines`.
CellRef RewriteBackticksInOrder(Cell* tree, const Text& name, std::span<const int64_t> lines);

// Whether the code of the backticks of `table` can see nothing of how its
// cells are shared: whether each name that code may come to apply (those
// its expressions mention, the names mentioned by their definitions in
// `table` or `prelude`, and so on, with every one-byte name, which the
// element of a text is when it is applied) is either defined there or a
// builtin whose answer depends on its arguments' values alone, that
// changes no cell and that does not look into the sharing table: the
// number operators, comparisons, sign, negation and size; and whether no
// definition of the program among them may change while backticks are
// evaluated (a global without parameters, one whose parameters lead to a
// backtick). The evaluation of such code then comes to the same whether or
// not equal parts of the program were one cell while it ran.
bool BackticksBlindToSharing(const GlobalTable& table, const GlobalTable& prelude);

}  // namespace mox
