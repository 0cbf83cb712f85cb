// The definition-by-definition passes of the static checks (liveness and
// pruning, which look at the reference graph, are in liveness.cpp).
#include "defs/check_passes.h"

#include <utility>
#include <vector>

#include "defs/backtick.h"
#include "defs/define.h"
#include "defs/funky.h"
#include "defs/pair_let.h"
#include "defs/rename.h"
#include "diag/render.h"
#include "front/binders.h"
#include "program/analyse.h"
#include "program/sharing.h"

namespace mox {

namespace {

constexpr size_t kMaxPlaces = 26;
constexpr int kMaxArity = 10;

// " in function NAME." for a named definition, "." for the main expression.
Text InFunction(const Text& key) {
  return key.empty() ? Text(".") : Text(" in function ") + key + Text(".");
}

}  // namespace

bool RefuseGlobalNames(const GlobalTable& table, Report& report) {
  for (const auto& [key, value] : table) {
    if (key.empty() || !Globals().Contains(key.view())) continue;
    report.title = "roads";
    report.say = Text("Attempt to redefine function ") + key + Text(" using the road function.");
    report.vip = ShortenSubject(key);
    return false;
  }
  return true;
}

void ExpandPairLets(GlobalTable& table) {
  for (auto& [key, value] : table) value = RewritePairLets(value.get());
}

CellRef RewriteAhead(Cell* value) {
  CellRef expanded = RewritePairLets(value);
  const PlaceLists lists = CollectPlaces(expanded.get());
  if (!lists.only_names || lists.multi.size() + lists.single.size() > kMaxPlaces) return expanded;
  const RenameList renames = PlaceRenames(lists);
  for (const Rename& r : renames)
    if ((lists.letters >> (r.letter - 'a')) & 1) return expanded;
  return RenameLocals(expanded.get(), renames);
}

bool CheckFunkyKeys(const GlobalTable& table, Report& report) {
  for (const auto& [key, value] : table) {
    CellRef funky = FindFunkyKey(value.get());
    if (!funky) continue;
    Text shown = DisplayForm(funky.get());
    report.title = "funky";
    report.say = Text("Funky key in expression ") + shown + InFunction(key);
    if (!key.empty()) report.vip = ShortenSubject(key);
    report.tip = ShortenedForm(shown);
    return false;
  }
  return true;
}

bool AllocatePlaces(GlobalTable& table, Report& report) {
  for (auto& [key, value] : table) {
    if (!MayHaveNamedPlaces(value.get())) continue;
    PlaceLists lists = CollectPlaces(value.get());
    if (lists.multi.size() + lists.single.size() > kMaxPlaces) {
      report.title = "place";
      report.say = key.empty() ? Text("Place error.") : Text("Place error in function ") + key + Text(".");
      if (!key.empty()) report.vip = ShortenSubject(key);
      return false;
    }
    const RenameList renames = PlaceRenames(lists);
    if (!renames.empty()) value = RenameLocals(value.get(), renames);
  }
  return true;
}

bool CheckArity(const GlobalTable& table, Report& report) {
  for (const auto& [key, value] : table) {
    if (LeadingLambdas(value.get(), kMaxArity + 1) <= kMaxArity) continue;
    report.title = "arity";
    report.say = Text("Arity of function ") + key + Text(" may not exceed ten.");
    report.vip = ShortenSubject(key);
    return false;
  }
  return true;
}

void EvaluateBackticks(GlobalTable& table, bool program) {
  const BacktickLineLists in_order = program ? TakeBacktickLineLists() : BacktickLineLists();
  BacktickStamps stamps;
  if (in_order.empty()) {
    for (auto& [key, value] : table) TakeBacktickStamps(value.get(), stamps);
    if (stamps.empty()) return;
    stamps.Seal();
  }
  // Evaluation may load code and so add definitions: walk the keys as they
  // stand now, and look each one up afresh.
  std::vector<Text> keys;
  for (const auto& entry : table) keys.push_back(entry.first);
  for (const Text& key : keys) {
    CellRef* entry = table.Find(key.view());
    if (entry == nullptr) continue;
    const std::span<const int64_t> lines = in_order.Of(key);
    if (!in_order.empty() && lines.empty()) continue;
    CellRef rewritten = in_order.empty() ? RewriteBackticks(entry->Copy().get(), key, stamps)
                                         : RewriteBackticksInOrder(entry->Copy().get(), key, lines);
    entry = table.Find(key.view());
    if (entry != nullptr) *entry = std::move(rewritten);
  }
}

void ShareDefinitions(GlobalTable& table) {
  for (auto& [key, value] : table) value = ShareValue(value.get());
}

bool CheckUnboundLocals(GlobalTable& table, Report& report) {
  for (auto& [key, value] : table) {
    AnalyseCell(value.get());
    uint32_t free = VariableSet(value.get());
    if (free == 0) continue;
    char letter = 'a';
    while (((free >> (letter - 'a')) & 1) == 0) ++letter;
    report.title = "local";
    report.say = Text("Local variable ") + Text(std::string_view(&letter, 1)) +
                 (key.empty() ? Text(" unbound.") : Text(" unbound in function ") + key + Text("."));
    report.vip = ShortenedForm(key);
    report.tip = Text(std::string_view(&letter, 1));
    return false;
  }
  return true;
}

void AnalyseDefinitions(GlobalTable& table) {
  for (auto& [key, value] : table) AnalyseCell(value.get());
}

}  // namespace mox
