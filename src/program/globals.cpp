// The definition tables; see globals.h.
#include "program/globals.h"

#include "core/run_end.h"

namespace mox {

CellRef* GlobalTable::Find(std::string_view key) {
  auto it = map_.find(key);
  return it == map_.end() ? nullptr : &it->second;
}

const CellRef* GlobalTable::Find(std::string_view key) const {
  auto it = map_.find(key);
  return it == map_.end() ? nullptr : &it->second;
}

CellRef* GlobalTable::FindByte(unsigned char b) {
  ByteEntry& e = bytes_[b];
  // A found entry stays valid until an erase moves the epoch; a missing one
  // is looked for again, since the name may have been defined since.
  if (e.entry != nullptr && e.epoch == epoch_) return e.entry;
  e.entry = Find(std::string_view(reinterpret_cast<const char*>(&b), 1));
  e.epoch = epoch_;
  return e.entry;
}

CellRef& GlobalTable::Set(const Text& key, CellRef value) {
  CellRef& entry = map_[key];
  entry = std::move(value);
  return entry;
}

void GlobalTable::Erase(std::string_view key) {
  auto it = map_.find(key);
  if (it == map_.end()) return;
  ++epoch_;
  map_.erase(it);
}

void GlobalTable::Clear() {
  ++epoch_;
  map_.clear();
}

void GlobalTable::CopyFrom(const GlobalTable& from) {
  MOX_ASSERT(map_.empty());
  for (const auto& [key, value] : from) map_.emplace(key, value.Copy());
}

namespace {
const bool kReleased = AtRunEnd([] {
  Globals().Clear();
  EmptyCallDefinitions().clear();
});
}  // namespace

}  // namespace mox
