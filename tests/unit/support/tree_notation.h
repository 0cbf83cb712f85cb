// Test helper: builds cell trees from a compact notation and prints them
// back. "(f a b)" is ((f a) b); atoms are runs of bytes other than space and
// parentheses; "\\" is the lambda leaf. Only for short literals in tests.
#pragma once

#include <string>
#include <string_view>
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
inline std::string Show(const Cell* c) {
  if (c->IsLeaf()) return std::string(LeafView(c));
  return "(" + Show(c->f) + " " + Show(c->a) + ")";
}

}  // namespace mox::testing_notation
