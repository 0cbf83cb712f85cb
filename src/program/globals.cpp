// The definition tables; see globals.h.
#include "program/globals.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <utility>

#include "core/linear_probe.h"
#include "core/run_end.h"

namespace mox {

namespace {

// The index slot where a search for key starts.
size_t Home(std::string_view key, size_t mask) { return std::hash<std::string_view>()(key) & mask; }

// The first 8 bytes of key (zeros past its end) as a number that orders
// keys as their bytes do, whenever two keys' numbers differ.
uint64_t KeyPrefix(std::string_view key) {
  uint64_t prefix = 0;
  for (size_t i = 0; i < 8; ++i)
    prefix = prefix << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  return prefix;
}

}  // namespace

size_t GlobalTable::SlotOf(std::string_view key) const {
  const size_t mask = index_.size() - 1;
  for (size_t i = Home(key, mask);; i = (i + 1) & mask) {
    const uint32_t n = index_[i];
    if (n == kFree || entries_[n - 1].first.view() == key) return i;
  }
}

CellRef* GlobalTable::Find(std::string_view key) {
  return const_cast<CellRef*>(std::as_const(*this).Find(key));
}

const CellRef* GlobalTable::Find(std::string_view key) const {
  if (size_ == 0) return nullptr;
  const uint32_t n = index_[SlotOf(key)];
  return n == kFree ? nullptr : &entries_[n - 1].second;
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

// The index is kept at most half full, so that a search, which compares
// keys, meets few other entries.
void GlobalTable::GrowIndex() {
  std::vector<uint32_t> old = std::move(index_);
  index_.assign(old.empty() ? 16 : 2 * old.size(), kFree);
  for (uint32_t n : old)
    if (n != kFree) index_[SlotOf(entries_[n - 1].first.view())] = n;
}

CellRef& GlobalTable::Set(const Text& key, CellRef value) {
  if (2 * (size_ + 1) > index_.size()) GrowIndex();
  const size_t slot = SlotOf(key.view());
  if (index_[slot] != kFree) {
    CellRef& entry = entries_[index_[slot] - 1].second;
    entry = std::move(value);
    return entry;
  }
  MOX_ASSERT(entries_.size() < UINT32_MAX);
  const auto n = static_cast<uint32_t>(entries_.size());
  // Still in order when the new key comes after every other one.
  if (sorted_ && !order_.empty() && Text::Compare(entries_[order_.back()].first.view(), key.view()) >= 0)
    sorted_ = false;
  entries_.push_back(GlobalEntry{key, std::move(value)});
  in_table_.push_back(1);
  order_.push_back(n);
  index_[slot] = n + 1;
  ++size_;
  return entries_.back().second;
}

void GlobalTable::Erase(std::string_view key) {
  if (size_ == 0) return;
  size_t i = SlotOf(key);
  if (index_[i] == kFree) return;
  ++epoch_;
  const uint32_t n = index_[i] - 1;
  // Later entries of the probe run move back where their searches pass,
  // so that no tombstones are needed.
  const size_t mask = index_.size() - 1;
  for (size_t j = (i + 1) & mask; index_[j] != kFree; j = (j + 1) & mask) {
    if (StaysAfterErase(i, Home(entries_[index_[j] - 1].first.view(), mask), j)) continue;
    index_[i] = index_[j];
    i = j;
  }
  index_[i] = kFree;
  --size_;
  // The record stays where it is, empty: a number in order_ may name it.
  entries_[n].second = CellRef();
  entries_[n].first = Text();
  in_table_[n] = 0;
  has_erased_ = true;
}

void GlobalTable::Order() const {
  if (has_erased_) {
    std::erase_if(order_, [this](uint32_t n) { return in_table_[n] == 0; });
    has_erased_ = false;
  }
  if (sorted_) return;
  // Sorted by each key's first 8 bytes as one number first: most keys
  // differ there, and the keys are read once instead of at every step.
  struct Keyed {
    uint64_t prefix;
    uint32_t n;
  };
  std::vector<Keyed> keyed;
  keyed.reserve(order_.size());
  for (uint32_t n : order_) keyed.push_back({KeyPrefix(entries_[n].first.view()), n});
  std::sort(keyed.begin(), keyed.end(), [this](const Keyed& x, const Keyed& y) {
    if (x.prefix != y.prefix) return x.prefix < y.prefix;
    return Text::Compare(entries_[x.n].first.view(), entries_[y.n].first.view()) < 0;
  });
  for (size_t i = 0; i < keyed.size(); ++i) order_[i] = keyed[i].n;
  sorted_ = true;
}

void GlobalTable::Clear() {
  ++epoch_;
  // Emptied before the cells are let go: a cell freed here never finds
  // the table half cleared.
  std::deque<GlobalEntry> entries = std::move(entries_);
  entries_.clear();
  in_table_.clear();
  index_.clear();
  order_.clear();
  sorted_ = true;
  has_erased_ = false;
  size_ = 0;
}

void GlobalTable::CopyFrom(const GlobalTable& from) {
  MOX_ASSERT(size_ == 0);
  for (const auto& [key, value] : from) Set(key, value.Copy());
}

namespace {
const bool kReleased = AtRunEnd([] {
  Globals().Clear();
  EmptyCallDefinitions().clear();
});
}  // namespace

}  // namespace mox
