// Liveness and pruning: the passes that follow references between
// definitions. Liveness walks from the main expression and insists that
// every name it reaches is defined; pruning then removes the dead
// definitions that mention undefined names, directly or through others.
#include <map>
#include <unordered_map>
#include <vector>

#include "defs/check_passes.h"
#include "defs/define.h"
#include "defs/references.h"

namespace mox {

bool CheckLiveness(const CheckScope& scope, Report& report, AliveWording wording) {
  std::map<Text, Text, TextOrder> worklist;  // name -> the name that referred to it
  worklist.emplace(Text(), Text("nowhere"));
  NameSet visited;
  while (!worklist.empty()) {
    auto first = worklist.begin();
    Text name = first->first;
    Text referrer = first->second.empty() ? Text("TOP") : first->second;
    worklist.erase(first);
    visited.insert(name);
    auto it = scope.table.find(name);
    if (it == scope.table.end()) {
      if (scope.Defines(name.view())) continue;  // defined outside, checked there
      report.title = "alive";
      report.say = Text("Alive function ") + referrer +
                   Text(wording == AliveWording::kRoad ? " references undefined function " : " references undefined ") +
                   DisplayName(name.view()) + Text(".");
      report.vip = ShortenSubject(referrer);
      report.tip = ShortenSubject(name);
      return false;
    }
    for (Text& m : CollectReferences(it->second.get())) {
      if (visited.count(m) == 0) worklist[std::move(m)] = name;
    }
  }
  return true;
}

void PruneDeadCode(const CheckScope& scope, const GlobalTable* restore_from) {
  GlobalTable& table = scope.table;
  std::vector<std::string_view> keys;  // views of the table's keys, in order
  std::unordered_map<std::string_view, size_t> index;
  for (const auto& entry : table) {
    index.emplace(entry.first.view(), keys.size());
    keys.push_back(entry.first.view());
  }
  // Reverse edges: for each definition, the definitions that mention it.
  std::vector<std::vector<size_t>> referrers(keys.size());
  std::vector<char> doomed(keys.size(), 0);
  std::vector<size_t> stack;
  size_t i = 0;
  for (const auto& [key, value] : table) {
    for (const Text& name : CollectReferences(value.get())) {
      auto target = index.find(name.view());
      if (target != index.end()) {
        referrers[target->second].push_back(i);
      } else if (!doomed[i] && !scope.Defines(name.view())) {
        doomed[i] = 1;
        stack.push_back(i);
      }
    }
    ++i;
  }
  while (!stack.empty()) {
    size_t d = stack.back();
    stack.pop_back();
    for (size_t r : referrers[d]) {
      if (doomed[r]) continue;
      doomed[r] = 1;
      stack.push_back(r);
    }
  }
  std::vector<Text> dead;
  for (size_t k = 0; k < keys.size(); ++k)
    if (doomed[k]) dead.emplace_back(keys[k]);
  for (const Text& name : dead) {
    const CellRef* saved = nullptr;
    if (restore_from != nullptr) {
      auto it = restore_from->find(name);
      if (it != restore_from->end()) saved = &it->second;
    }
    if (saved != nullptr) {
      table[name] = saved->Copy();
    } else {
      EraseDefinition(table, name.view());
    }
  }
}

}  // namespace mox
