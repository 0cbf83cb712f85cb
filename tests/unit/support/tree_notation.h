// Test helper: builds cell trees from a compact notation and prints them
// back. "(f a b)" is ((f a) b); atoms are runs of bytes other than space and
// parentheses; "\\" is the lambda leaf. Only for short literals in tests.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/cell.h"

namespace mox::testing_notation {

inline CellRef Tree(std::string_view s) {
  std::vector<std::vector<CellRef>> groups(1);
  size_t i = 0;
  auto close_group = [&] {
    std::vector<CellRef> items = std::move(groups.back());
    groups.pop_back();
    CellRef t = std::move(items[0]);
    for (size_t k = 1; k < items.size(); ++k) t = MakeApp(std::move(t), std::move(items[k]));
    groups.back().push_back(std::move(t));
  };
  while (i < s.size()) {
    char c = s[i];
    if (c == ' ') {
      ++i;
    } else if (c == '(') {
      groups.emplace_back();
      ++i;
    } else if (c == ')') {
      close_group();
      ++i;
    } else {
      size_t j = i;
      while (j < s.size() && s[j] != ' ' && s[j] != '(' && s[j] != ')') ++j;
      groups.back().push_back(MakeLeaf(s.substr(i, j - i)));
      i = j;
    }
  }
  groups.emplace(groups.begin());  // wrap the top level like a group
  close_group();
  return std::move(groups[0][0]);
}

// Prints a tree in the same notation, fully parenthesised: ((f a) b).
// Iterative, so deep trees are safe to print.
inline std::string Show(const Cell* root) {
  std::string out;
  std::vector<std::pair<const Cell*, char>> stack{{root, 0}};  // a cell, or a byte to write
  while (!stack.empty()) {
    auto [cell, mark] = stack.back();
    stack.pop_back();
    if (cell == nullptr) {
      out.push_back(mark);
    } else if (cell->IsLeaf()) {
      out.append(LeafView(cell));
    } else {
      out.push_back('(');
      stack.insert(stack.end(), {{nullptr, ')'}, {cell->a, 0}, {nullptr, ' '}, {cell->f, 0}});
    }
  }
  return out;
}

}  // namespace mox::testing_notation
