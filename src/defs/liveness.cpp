// Liveness and pruning: the passes that follow references between
// definitions. Liveness walks from the main expression and insists that
// every name it reaches is defined; pruning then removes the dead
// definitions that mention undefined names, directly or through others.
// Names are handled as views of the table's keys and of the definitions'
// leaves; neither changes while these passes look at them.
#include <map>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "defs/check_passes.h"
#include "defs/define.h"
#include "defs/references.h"

namespace mox {

namespace {

struct KeyLess {
  bool operator()(std::string_view a, std::string_view b) const { return Text::Compare(a, b) < 0; }
};

void ReportUndefined(Report& report, std::string_view referrer, std::string_view name, AliveWording wording) {
  report.title = "alive";
  const char* phrase = wording == AliveWording::kRoad ? " references undefined function " : " references undefined ";
  report.say = Text("Alive function ") + Text(referrer) + Text(phrase) + DisplayName(name) + Text(".");
  report.vip = ShortenSubject(Text(referrer));
  report.tip = ShortenSubject(Text(name));
}

}  // namespace

bool CheckLiveness(const CheckScope& scope, Report& report, AliveWording wording) {
  std::map<std::string_view, std::string_view, KeyLess> worklist;  // name -> its referrer
  worklist.emplace(std::string_view(), "nowhere");
  std::unordered_set<std::string_view> visited;
  while (!worklist.empty()) {
    auto [name, referrer] = *worklist.begin();
    worklist.erase(worklist.begin());
    if (referrer.empty()) referrer = "TOP";
    visited.insert(name);
    const CellRef* definition = scope.table.Find(name);
    if (definition == nullptr) {
      // Defined outside, checked there. A name that a loaded text defines
      // itself is examined in its own definition, whatever the outside has.
      if (scope.Defines(name)) continue;
      ReportUndefined(report, referrer, name, wording);
      return false;
    }
    for (std::string_view m : ReferenceViews(definition->get())) {
      if (visited.count(m) == 0) worklist[m] = name;
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
    for (std::string_view name : ReferenceViews(value.get())) {
      auto target = index.find(name);
      if (target != index.end()) {
        referrers[target->second].push_back(i);
      } else if (!doomed[i] && !scope.Defines(name)) {
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
    const CellRef* saved = restore_from != nullptr ? restore_from->Find(name.view()) : nullptr;
    if (saved != nullptr) {
      table.Set(name, saved->Copy());
    } else {
      table.Erase(name.view());
    }
  }
}

}  // namespace mox
