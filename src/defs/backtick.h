// Backtick expressions: `X evaluates a closed X once, before the run, and
// turns an open X into a record of where it stands (line, function, text).
#pragma once

#include <cstdint>
#include <vector>

#include "core/cell.h"
#include "core/text.h"

namespace mox {

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

}  // namespace mox
