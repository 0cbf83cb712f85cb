// Liveness and pruning: the passes that follow references between
// definitions. Liveness walks from the main expression and insists that
// every name it reaches is defined; pruning then removes the dead
// definitions that mention undefined names, directly or through others.
// Names are handled as views of the table's keys and of the definitions'
// leaves; neither changes while these passes look at them.
#include <algorithm>
#include <map>
#include <unordered_map>
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

// For every definition, whether it reaches an undefined name through its
// references (Tarjan's strongly connected components, without host
// recursion). A component is doomed when one of its definitions names an
// undefined name or a doomed component; components are completed after
// every component they reach, so that is known when a component is. Only
// the forward references are followed: a list of the reverse ones would
// cost as much as the graph's list of names, at the peak of a big
// program's start-up.
std::vector<char> FindDoomed(const ReferenceGraph& graph, const std::vector<char>& undefined) {
  const auto n = static_cast<uint32_t>(graph.keys.size());
  constexpr uint32_t kUnvisited = UINT32_MAX;
  std::vector<char> doomed(n, 0), on_stack(n, 0);
  std::vector<uint32_t> order(n, kUnvisited), low(n);  // visiting order, lowest reachable on the stack
  std::vector<uint32_t> members;                        // of components not yet completed
  struct Frame {
    uint32_t node;
    uint32_t next;  // the next of its references to follow
  };
  std::vector<Frame> path;
  uint32_t visited = 0;
  auto visit = [&](uint32_t v) {
    order[v] = low[v] = visited++;
    members.push_back(v);
    on_stack[v] = 1;
    path.push_back({v, graph.first[v]});
  };
  for (uint32_t root = 0; root < n; ++root) {
    if (order[root] != kUnvisited) continue;
    visit(root);
    while (!path.empty()) {
      Frame& frame = path.back();
      const uint32_t v = frame.node;
      if (frame.next < graph.first[v + 1]) {
        const uint32_t t = graph.names[frame.next++];
        if (t >= n) {
          if (undefined[t - n]) doomed[v] = 1;
        } else if (order[t] == kUnvisited) {
          visit(t);  // invalidates frame
        } else if (on_stack[t]) {
          low[v] = std::min(low[v], order[t]);
        } else if (doomed[t]) {
          doomed[v] = 1;  // a completed component
        }
        continue;
      }
      path.pop_back();
      if (low[v] == order[v]) {  // v completes its component
        size_t first = members.size();
        char any = 0;
        do any |= doomed[members[--first]];
        while (members[first] != v);
        for (size_t i = first; i < members.size(); ++i) {
          doomed[members[i]] = any;
          on_stack[members[i]] = 0;
        }
        members.resize(first);
      }
      if (!path.empty()) {
        const uint32_t u = path.back().node;
        low[u] = std::min(low[u], low[v]);
        if (!on_stack[v] && doomed[v]) doomed[u] = 1;
      }
    }
  }
  return doomed;
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

void PruneDeadCode(const CheckScope& scope, const ReferenceGraph& graph, const GlobalTable* restore_from) {
  GlobalTable& table = scope.table;
  const size_t n = graph.keys.size();
  MOX_ASSERT(n == table.size());
  // A name defined neither here nor outside dooms its referrers.
  std::vector<char> undefined(graph.others.size());
  for (size_t o = 0; o < graph.others.size(); ++o) undefined[o] = !scope.Defines(graph.others[o]);
  const std::vector<char> doomed = FindDoomed(graph, undefined);
  std::vector<Text> dead;
  for (size_t k = 0; k < n; ++k)
    if (doomed[k]) dead.emplace_back(graph.keys[k]);
  for (const Text& name : dead) {
    const CellRef* saved = restore_from != nullptr ? restore_from->Find(name.view()) : nullptr;
    if (saved != nullptr) {
      *table.Find(name.view()) = saved->Copy();
    } else {
      table.Erase(name.view());
    }
  }
}

void PruneDeadCode(const CheckScope& scope, const GlobalTable* restore_from) {
  PruneDeadCode(scope, BuildReferenceGraph(scope.table), restore_from);
}

}  // namespace mox
