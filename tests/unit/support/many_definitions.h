// Test and benchmark helper: a generated program of many definitions that
// call each other in a chain, with multi-letter locals, lets and pair lets,
// operators, literals and (unless asked not to) backticks; every tenth one
// is followed by a dead one that mentions an undefined name, so pruning has
// work to do. The first definition, fna(first, count), returns count plus
// the number of definitions less one.
#pragma once

#include <string>

namespace mox::testing_programs {

// A lower-case name for i: "fn" and its base-26 digits.
inline std::string DefinitionName(int i) {
  std::string s = "fn";
  do {
    s += static_cast<char>('a' + i % 26);
    i /= 26;
  } while (i > 0);
  return s;
}

// The main expression `main` and n such definitions.
inline std::string ManyDefinitions(const std::string& main, int n, bool backticks = true) {
  const std::string tick = backticks ? "`" : "";
  std::string s = main;
  for (int i = 0; i < n; ++i) {
    const std::string name = DefinitionName(i);
    const std::string next = i + 1 < n ? DefinitionName(i + 1) + "(q,count+1)" : "count";
    s += "," + name + "\\first\\count\\";
    s += "p q{V first [text " + std::to_string(i) + "]}";
    s += "total{count*2+" + std::to_string(i) + "}";
    s += "K(" + next + ",S(K total)(I p)" + tick + "(K 1 2)" + tick + "(total))";
    if (i % 10 == 9) s += ",dead" + name + "\\x\\x+undefined" + name;
  }
  return s;
}

}  // namespace mox::testing_programs
