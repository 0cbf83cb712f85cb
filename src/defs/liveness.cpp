// Liveness and pruning: the passes that follow references between
// definitions. Liveness walks from the main expression and insists that
// every name it reaches is defined; pruning then removes the dead
// definitions that mention undefined names, directly or through others.
// Names are handled as views of the table's keys and of the definitions'
// leaves; neither changes while these passes look at them.
#include <map>
#include <unordered_map>
#include <vector>

#include "defs/check_passes.h"
#include "defs/define.h"
#include "defs/references.h"
#include "program/sharing.h"

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

int64_t ReferenceGraph::Find(std::string_view name) const {
  const size_t mask = slots.size() - 1;
  for (size_t i = std::hash<std::string_view>()(name) & mask; slots[i] != 0; i = (i + 1) & mask) {
    if (keys[slots[i] - 1] == name) return slots[i] - 1;
  }
  return -1;
}

ReferenceGraph BuildReferenceGraph(const GlobalTable& table) {
  ReferenceGraph graph;
  graph.keys.reserve(table.size());
  for (const auto& entry : table) graph.keys.push_back(entry.first.view());
  size_t capacity = 16;
  while (capacity < 2 * graph.keys.size()) capacity *= 2;
  graph.slots.assign(capacity, 0);
  for (size_t k = 0; k < graph.keys.size(); ++k) {
    size_t i = std::hash<std::string_view>()(graph.keys[k]) & (capacity - 1);
    while (graph.slots[i] != 0) i = (i + 1) & (capacity - 1);
    graph.slots[i] = static_cast<uint32_t>(k + 1);
  }
  std::unordered_map<std::string_view, uint32_t> other_index;
  graph.first.reserve(table.size() + 1);
  for (const auto& [key, value] : table) {
    graph.first.push_back(static_cast<uint32_t>(graph.names.size()));
    for (std::string_view name : ReferenceViews(value.get())) {
      int64_t known = graph.Find(name);
      if (known >= 0) {
        graph.names.push_back(static_cast<uint32_t>(known));
        continue;
      }
      auto [other, fresh] = other_index.emplace(name, static_cast<uint32_t>(graph.others.size()));
      if (fresh) graph.others.push_back(name);
      graph.names.push_back(static_cast<uint32_t>(graph.keys.size()) + other->second);
    }
  }
  graph.first.push_back(static_cast<uint32_t>(graph.names.size()));
  return graph;
}

bool CheckLiveness(const CheckScope& scope, const ReferenceGraph& graph, Report& report, AliveWording wording) {
  struct Pending {
    std::string_view referrer;
    uint32_t index;  // in the graph (ReferenceGraph::Name)
  };
  std::map<std::string_view, Pending, KeyLess> worklist;  // name -> its referrer
  const int64_t main = graph.Find(std::string_view());
  constexpr uint32_t kNoIndex = UINT32_MAX;  // the main expression, when the table has none
  worklist.emplace(std::string_view(), Pending{"nowhere", main >= 0 ? static_cast<uint32_t>(main) : kNoIndex});
  // By index: a set of a hundred thousand views would leave as many small
  // blocks behind in the heap.
  std::vector<char> visited(graph.keys.size() + graph.others.size());
  while (!worklist.empty()) {
    auto [name, pending] = *worklist.begin();
    worklist.erase(worklist.begin());
    std::string_view referrer = pending.referrer.empty() ? "TOP" : pending.referrer;
    if (pending.index != kNoIndex) visited[pending.index] = 1;
    if (pending.index == kNoIndex || pending.index >= graph.keys.size()) {
      // Defined outside, checked there. A name that a loaded text defines
      // itself is examined in its own definition, whatever the outside has.
      if (scope.Defines(name)) continue;
      ReportUndefined(report, referrer, name, wording);
      return false;
    }
    const size_t k = pending.index;
    for (uint32_t i = graph.first[k]; i < graph.first[k + 1]; ++i) {
      const uint32_t m = graph.names[i];
      if (visited[m] == 0) worklist[graph.Name(m)] = {name, m};
    }
  }
  return true;
}

bool CheckLiveness(const CheckScope& scope, Report& report, AliveWording wording) {
  return CheckLiveness(scope, BuildReferenceGraph(scope.table), report, wording);
}

void PruneDeadCode(const CheckScope& scope, const ReferenceGraph& graph, const GlobalTable* restore_from,
                   bool share) {
  GlobalTable& table = scope.table;
  const size_t n = graph.keys.size();
  MOX_ASSERT(n == table.size());
  // A name defined neither here nor outside dooms its referrers.
  std::vector<char> undefined(graph.others.size());
  for (size_t o = 0; o < graph.others.size(); ++o) undefined[o] = !scope.Defines(graph.others[o]);
  std::vector<char> doomed(n, 0);
  std::vector<uint32_t> stack;
  // Reverse edges, for each definition the definitions that mention it:
  // referrers of k are by[from[k] .. from[k + 1]), counted first, then laid out.
  std::vector<uint32_t> from(n + 1, 0);
  for (size_t r = 0; r < graph.names.size(); ++r)
    if (graph.names[r] < n) ++from[graph.names[r] + 1];
  for (size_t k = 0; k < n; ++k) from[k + 1] += from[k];
  std::vector<uint32_t> by(from[n]);
  std::vector<uint32_t> next(from.begin(), from.end() - 1);
  for (uint32_t i = 0; i < n; ++i) {
    for (uint32_t r = graph.first[i]; r < graph.first[i + 1]; ++r) {
      const uint32_t target = graph.names[r];
      if (target < n) {
        by[next[target]++] = i;
      } else if (!doomed[i] && undefined[target - n]) {
        doomed[i] = 1;
        stack.push_back(i);
      }
    }
  }
  next = std::vector<uint32_t>();
  while (!stack.empty()) {
    uint32_t d = stack.back();
    stack.pop_back();
    for (uint32_t j = from[d]; j < from[d + 1]; ++j) {
      const uint32_t r = by[j];
      if (doomed[r]) continue;
      doomed[r] = 1;
      stack.push_back(r);
    }
  }
  std::vector<Text> dead;
  for (size_t k = 0; k < n; ++k)
    if (doomed[k]) dead.emplace_back(graph.keys[k]);
  for (const Text& name : dead) {
    const CellRef* saved = restore_from != nullptr ? restore_from->Find(name.view()) : nullptr;
    CellRef* entry = table.Find(name.view());
    CellRef old = std::move(*entry);
    if (saved != nullptr) {
      *entry = saved->Copy();
    } else {
      table.Erase(name.view());
    }
    if (share) ReleaseShared(std::move(old));
  }
}

void PruneDeadCode(const CheckScope& scope, const GlobalTable* restore_from) {
  PruneDeadCode(scope, BuildReferenceGraph(scope.table), restore_from);
}

}  // namespace mox
