// Test helper: a cell tree in the bracket notation (F A) with leaves written
// as their raw text, e.g. ((+ a) ((* b) c)). Iterative, so deep trees are
// safe to print.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/cell.h"

namespace mox {

inline std::string TreeString(const Cell* root) {
  std::string out;
  std::vector<std::pair<const Cell*, char>> stack{{root, 0}};
  while (!stack.empty()) {
    auto [cell, mark] = stack.back();
    stack.pop_back();
    if (cell == nullptr) {
      out.push_back(mark);
    } else if (cell->IsLeaf()) {
      out.append(LeafView(cell));
    } else {
      out.push_back('(');
      stack.push_back({nullptr, ')'});
      stack.push_back({cell->a, 0});
      stack.push_back({nullptr, ' '});
      stack.push_back({cell->f, 0});
    }
  }
  return out;
}

inline std::string TreeString(const CellRef& root) { return TreeString(root.get()); }

}  // namespace mox
