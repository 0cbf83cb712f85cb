// Test helper: the expression rules transcribed as directly as possible,
// tier by tier, recursing on every tier and nesting level and finding
// brackets with MatchBracket. Slow and recursive, so only for small texts;
// the real parser must build the very same trees.
#pragma once

#include <string_view>

#include "core/cell.h"
#include "front/brackets.h"
#include "front/charset.h"
#include "front/parser.h"
#include "front/tokens.h"

namespace mox::reference {

inline CellRef Parse(std::string_view t);

inline CellRef Op(char c) { return MakeLeaf(std::string_view(&c, 1)); }

inline std::string_view Cut(std::string_view t, int64_t from, int64_t to) {
  return t.substr(static_cast<size_t>(from), static_cast<size_t>(to - from));
}

inline CellRef Atom(std::string_view token) {
  if (token[0] == '(') return Parse(token.substr(1, token.size() - 2));
  return MakeLeaf(token);  // names, numbers, literals, single bytes (and stray-comma runs)
}

inline CellRef Tight(std::string_view t) {  // tier 12
  std::vector<std::string_view> tokens = SplitTokens(t);
  CellRef r = Atom(tokens[0]);
  for (size_t k = 1; k < tokens.size(); ++k) {
    std::string_view tok = tokens[k];
    if (tok[0] != '(') {
      r = MakeApp(std::move(r), Atom(tok));
      continue;
    }
    std::string_view inner = tok.substr(1, tok.size() - 2);
    int64_t start = 0;
    for (int64_t comma : FindTopLevel(inner, ByteSet(","))) {
      r = MakeApp(std::move(r), Parse(Cut(inner, start, comma)));
      start = comma + 1;
    }
    r = MakeApp(std::move(r), Parse(Cut(inner, start, static_cast<int64_t>(inner.size()))));
  }
  return r;
}

inline CellRef Embedded(std::string_view t) {  // tier 11
  std::vector<int64_t> at = FindTopLevel(t, ByteSet(kAffixChars));
  std::vector<int64_t> starts;  // first byte of each run
  for (size_t k = 0; k < at.size(); ++k)
    if (k == 0 || at[k - 1] != at[k] - 1) starts.push_back(at[k]);
  int64_t n = static_cast<int64_t>(t.size());
  CellRef r = Tight(Cut(t, 0, starts.empty() ? n : starts[0]));
  for (size_t k = 0; k < starts.size(); ++k) {
    int64_t end = k + 1 < starts.size() ? starts[k + 1] : n;
    int64_t y = starts[k];
    while (IsAffixOperator(t[y])) ++y;
    CellRef piece = Tight(Cut(t, y, end));
    for (int64_t j = y - 1; j >= starts[k]; --j) piece = MakeApp(Op(t[j]), std::move(piece));
    r = MakeApp(std::move(r), std::move(piece));
  }
  return r;
}

inline CellRef Prefix(std::string_view t) {  // tier 10
  if (IsAffixOperator(t[0])) return MakeApp(Op(t[0]), Prefix(t.substr(1)));
  return Embedded(t);
}

inline CellRef Postfix(std::string_view t) {  // tier 9
  if (t.empty()) return MakeLeaf("}");
  if (IsAffixOperator(t.back())) return MakeApp(Op(t.back()), Postfix(t.substr(0, t.size() - 1)));
  return Prefix(t);
}

inline CellRef Tier(std::string_view t, int tier) {
  static const char* const kOps[9] = {"", ";\\{", "?\n", "&|", "=<>#", "@ ", "+-:.", "*/%'", "^"};
  static const bool kRight[9] = {false, true, false, true, true, false, false, false, true};
  if (tier == 9) return Postfix(t);
  std::vector<int64_t> at = FindTopLevel(t, ByteSet(kOps[tier]));
  if (at.empty()) return Tier(t, tier + 1);
  int64_t n = static_cast<int64_t>(t.size());
  auto after = [&](int64_t op) { return t[op] == '{' ? MatchBracket(t, op) + 1 : op + 1; };
  if (kRight[tier]) {
    CellRef r = Tier(Cut(t, after(at.back()), n), tier + 1);
    for (size_t k = at.size(); k-- > 0;) {
      int64_t start = k == 0 ? 0 : after(at[k - 1]);
      CellRef left = Tier(Cut(t, start, at[k]), tier + 1);
      if (t[at[k]] == '{') {
        std::string_view inner = Cut(t, at[k] + 1, MatchBracket(t, at[k]));
        std::vector<int64_t> commas = FindTopLevel(inner, ByteSet(","));
        int64_t m = static_cast<int64_t>(inner.size());
        CellRef list = Parse(Cut(inner, commas.empty() ? 0 : commas.back() + 1, m));
        for (size_t c = commas.size(); c-- > 0;) {
          int64_t s = c == 0 ? 0 : commas[c - 1] + 1;
          list = MakeApp(Op(','), Parse(Cut(inner, s, commas[c])), std::move(list));
        }
        r = MakeApp(Op('{'), std::move(left), std::move(list), std::move(r));
      } else {
        r = MakeApp(Op(t[at[k]]), std::move(left), std::move(r));
      }
    }
    return r;
  }
  CellRef r = Tier(Cut(t, 0, at[0]), tier + 1);
  for (size_t k = 0; k < at.size(); ++k) {
    int64_t end = k + 1 < at.size() ? at[k + 1] : n;
    CellRef right = Tier(Cut(t, at[k] + 1, end), tier + 1);
    char op = t[at[k]];
    if (op == ' ') r = MakeApp(std::move(r), std::move(right));
    else r = MakeApp(Op(op == '\n' ? 'T' : op), std::move(r), std::move(right));
  }
  return r;
}

inline CellRef Parse(std::string_view t) { return Tier(t, 1); }

}  // namespace mox::reference
