// The sharing table: open addressing with linear probing over
// representative cells, a slot being a 32-bit reference to the cell and
// eight bits of its hash (the table is the largest structure of the
// start-up besides the cells: the whole hash beside each entry would more
// than double its share of the peak; the hash is computed again when a
// slot moves). A leaf hashes its stored bytes, an application the
// addresses of its two parts (which are representatives). Sharing a graph
// is a bottom-up fold (core/graph_fold.h).
//
// The table's size is any number of slots, not a power of two: an entry's
// home is the hash scaled to the size, so the table grows by half (or
// less, see Grow) instead of doubling, and is held at most 80% full. A big
// program's table, which peaks together with its definitions, thus never
// has more than about twice the room it needs, where doubling at 70% could
// leave it with three times that.
//
// Texts and blobs can be written in place. Such a representative keeps the
// slot of the bytes it was entered with, where no equal leaf can match it
// any more, until the table moves it by its new bytes; either way it is
// found again under its new bytes once it is shared again (entered a second
// time, if no equal representative is there). So equal values still meet
// in one cell, and nothing looks a cell up by its bytes expecting to find
// that very cell.
#include "program/sharing.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <utility>
#include <vector>

#include "core/cell_marks.h"
#include "core/graph_fold.h"
#include "core/hash.h"
#include "core/linear_probe.h"
#include "core/mapped_block.h"
#include "core/memory.h"
#include "core/run_end.h"
#include "program/analyse.h"
#include "program/globals.h"

namespace mox {

namespace {

// A slot is a tag byte, eight bits of the entry's hash (0: the slot is
// free), and a 32-bit reference to the cell (the table owns one count): the
// cell's handle from the pool (core/pool.h), or for a cell without one a
// number, with the top bit set, of the place in the table's list `far`
// that holds its address. The tags are an array of their own, so that a
// probe passes over most other entries by their tags, many to a cache
// line, without reading their references or cells (in a big table each
// such read is a cache miss); the reference at the home slot is fetched
// together with the tag there. The home slot comes from the hash's top
// bits, so the two do not go together.
//
// The table is the largest structure of a big program's start-up besides
// its cells: five bytes a slot instead of eight take more than a third off
// it.
constexpr uint32_t kFarBit = uint32_t{1} << 31;

uint8_t TagOf(uint64_t hash) {
  const auto tag = static_cast<uint8_t>(hash);
  return tag != 0 ? tag : 1;
}

// What a slot holds; moved as a whole when entries move.
struct Slot {
  uint8_t tag;
  uint32_t ref;
};

// The tags and the references, each in one block of its own
// (core/mapped_block.h), resized where it stands: the system moves a big
// block's pages instead of copying them, so the table never needs its old
// and its new arrays at once (for a big program the old ones alone were a
// sixth of the start-up's peak), and keeps its 2 MiB pages.
class SlotArray {
 public:
  SlotArray() = default;
  SlotArray(const SlotArray&) = delete;
  SlotArray& operator=(const SlotArray&) = delete;
  SlotArray(SlotArray&& o) noexcept : tags_(o.tags_), refs_(o.refs_), size_(o.size_) {
    o.tags_ = nullptr;
    o.refs_ = nullptr;
    o.size_ = 0;
  }
  ~SlotArray() { Assign(0); }

  // n free slots (none: the arrays are released).
  void Assign(size_t n) {
    Unmap(tags_, size_);
    Unmap(refs_, size_ * sizeof(uint32_t));
    tags_ = static_cast<uint8_t*>(MapZeroed(n, "the sharing table"));
    refs_ = static_cast<uint32_t*>(MapZeroed(n * sizeof(uint32_t), "the sharing table"));
    size_ = n;
  }
  // n slots, the first ones as they were (up to the old size), any others free.
  void Resize(size_t n) {
    MOX_ASSERT(n != 0);
    tags_ = static_cast<uint8_t*>(RemapZeroed(tags_, size_, n, "the sharing table"));
    refs_ = static_cast<uint32_t*>(
        RemapZeroed(refs_, size_ * sizeof(uint32_t), n * sizeof(uint32_t), "the sharing table"));
    size_ = n;
  }
  void clear() { Assign(0); }

  size_t size() const { return size_; }
  bool empty() const { return size_ == 0; }
  uint8_t tag(size_t i) const { return tags_[i]; }
  uint32_t ref(size_t i) const { return refs_[i]; }
  const uint8_t* tags() const { return tags_; }
  const uint32_t* refs() const { return refs_; }
  bool IsFree(size_t i) const { return tags_[i] == 0; }
  Slot Get(size_t i) const { return {tags_[i], refs_[i]}; }
  void Put(size_t i, Slot s) {
    tags_[i] = s.tag;
    refs_[i] = s.ref;
  }
  void Free(size_t i) { Put(i, Slot{0, 0}); }

 private:
  uint8_t* tags_ = nullptr;
  uint32_t* refs_ = nullptr;
  size_t size_ = 0;
};

struct Table {
  SlotArray slots;
  size_t used = 0;
  // Addresses of the entries without a handle, by their numbers; a free
  // place holds the next free one's number, shifted, with the low bit set
  // (cells are 8-aligned). A plain vector, so leak checkers see the cells.
  std::vector<uintptr_t> far;
  uint32_t far_free = kNoHandle;
  // The entries placed since the table was last pruned to its values, while
  // `tracking`: a loaded text then prunes only what it and the run added
  // (see KeepOnlySharedValues). Any other erasure stops the tracking.
  std::vector<Cell*> added;
  bool tracking = false;
  // A big refill not grown yet (see SizeSharingTableForRefill).
  bool refill = false;
};

// Never destroyed: a run that ends on a report leaves the table as it is.
Table& Shared() {
  static Table& table = *new Table;
  return table;
}

uint64_t AppHash(const Cell* f, const Cell* a) {
  return MixBits(reinterpret_cast<uintptr_t>(f) * 0x9e3779b97f4a7c15ULL + reinterpret_cast<uintptr_t>(a));
}

// The home slot of a hash: its top 32 bits scaled to the size (which stays
// below 2^32 slots).
size_t Home(const Table& t, uint64_t hash) {
  return static_cast<size_t>(((hash >> 32) * static_cast<uint64_t>(t.slots.size())) >> 32);
}
size_t After(const Table& t, size_t i) { return i + 1 == t.slots.size() ? 0 : i + 1; }

// The cell that a reference stands for.
inline Cell* CellOf(const Table& t, uint32_t ref) {
  if ((ref & kFarBit) != 0) return reinterpret_cast<Cell*>(t.far[ref & ~kFarBit]);
  return static_cast<Cell*>(PoolAddress(ref));
}
// The cell in slot i; null when the slot is free.
inline Cell* CellIn(const Table& t, size_t i) { return t.slots.IsFree(i) ? nullptr : CellOf(t, t.slots.ref(i)); }

// A reference to c, for a slot it is entered in: its handle, or a place
// of its own in `far`.
uint32_t RefTo(Table& t, Cell* c) {
  const uint32_t handle = PoolHandle(c);
  if (handle != kNoHandle) return handle;
  const auto address = reinterpret_cast<uintptr_t>(c);
  MOX_ASSERT((address & 1) == 0);
  if (t.far_free != kNoHandle) {
    const uint32_t place = t.far_free;
    t.far_free = static_cast<uint32_t>(t.far[place] >> 1);
    t.far[place] = address;
    return place | kFarBit;
  }
  MOX_ASSERT(t.far.size() < kFarBit);  // the table holds fewer than 2^32 entries
  t.far.push_back(address);
  return static_cast<uint32_t>(t.far.size() - 1) | kFarBit;
}
// Gives up a reference of an entry leaving the table.
void DropRef(Table& t, uint32_t ref) {
  if ((ref & kFarBit) == 0) return;
  const uint32_t place = ref & ~kFarBit;
  t.far[place] = (uintptr_t{t.far_free} << 1) | 1;
  t.far_free = place;
}

// The slot holding a cell equal to the key, or the free slot where it belongs.
template <class Equal>
size_t Probe(const Table& t, uint64_t hash, Equal&& equal) {
  const uint8_t tag = TagOf(hash);
  const size_t home = Home(t, hash);
  __builtin_prefetch(t.slots.refs() + home);
  for (size_t i = home;; i = After(t, i)) {
    const uint8_t there = t.slots.tag(i);
    if (there == 0 || (there == tag && equal(CellOf(t, t.slots.ref(i))))) return i;
  }
}

uint64_t HashOf(const Cell* c) { return c->IsApp() ? AppHash(c->f, c->a) : HashBytes(LeafView(c)); }

// Gives the table n slots (n above the number of entries), moving every
// entry to a slot reachable from its new home, in place: the array is
// grown before the moves or shrunk after them. Each slot is visited once;
// an entry not yet moved is taken out and entered again from its new home,
// over moved entries only: where its probe meets one not yet moved, the
// two change places and the other one goes on. A moved entry thus never has
// an unmoved one in its probe run, and taking those out never breaks a run.
// One bit per slot tells the moved ones. Entries keep their tags and
// references: only their places change.
//
// Homes scale with the size, so a growing table is visited from its end
// and a shrinking one from its start: an entry's new home then lies among
// the slots visited already, where it meets moved entries only, and the
// moves run through the array in order instead of hopping from one entry
// not yet moved to the next.
void Resize(Table& t, size_t n) {
  MOX_ASSERT(t.used < n && n < (uint64_t{1} << 32));
  const size_t old_size = t.slots.size();
  const bool growing = n > old_size;
  if (growing) t.slots.Resize(n);
  std::vector<uint64_t> moved((std::max(n, old_size) + 63) / 64);
  auto is_moved = [&](size_t i) { return (moved[i / 64] >> (i % 64)) & 1; };
  auto target = [&](uint64_t hash) { return static_cast<size_t>(((hash >> 32) * uint64_t{n}) >> 32); };
  // Every move reads the entry's cell for its hash, a cache miss in a big
  // table: the cells of the slots a little ahead are fetched meanwhile.
  constexpr size_t kAhead = 16;
  for (size_t step = 0; step < old_size; ++step) {
    const size_t i = growing ? old_size - 1 - step : step;  // slots past the old size start free
    if (step + kAhead < old_size) {
      const size_t ahead = growing ? i - kAhead : i + kAhead;
      if (!t.slots.IsFree(ahead)) __builtin_prefetch(CellOf(t, t.slots.ref(ahead)));
    }
    if (t.slots.IsFree(i) || is_moved(i)) continue;
    Slot carried = t.slots.Get(i);
    t.slots.Free(i);
    for (;;) {
      const uint64_t hash = HashOf(CellOf(t, carried.ref));
      size_t j = target(hash);
      while (!t.slots.IsFree(j) && is_moved(j)) j = j + 1 == n ? 0 : j + 1;
      moved[j / 64] |= uint64_t{1} << (j % 64);
      const Slot there = t.slots.Get(j);
      t.slots.Put(j, carried);
      if (there.tag == 0) break;
      carried = there;  // an entry not yet moved: it goes on from its own home
    }
  }
  if (!growing && n < old_size) t.slots.Resize(n);
}

// The table is kept at most 80% full: linear probing over slots passed over
// by their tags still finds an entry in a few probes, and the table, the
// largest structure of the start-up, stays small.
bool Fits(size_t used, size_t capacity) { return 5 * used <= 4 * capacity; }

// The room for `used` entries that a table is given when it is sized anew.
size_t RoomFor(size_t used) {
  size_t capacity = 1024;
  while (!Fits(used, capacity)) capacity += capacity / 2;
  return capacity;
}

// Room for one entry more than there are cells alive: every entry is one.
size_t RoomForLiveCells() {
  const auto cells = static_cast<size_t>(LiveCells());
  return (cells + 1) / 4 * 5 + 5;  // Fits(cells + 1) holds
}

// Grows by half: each move costs a read of the entry's cell, so growing
// by less would cost more time, and by more, more room at the peak. But
// every entry is a cell alive, so the table never needs room for more
// entries than there are cells: it grows by less when that room is less,
// by an eighth at least, so that a table that keeps filling as fast as
// cells are made still moves each entry a bounded number of times. A big
// program's table, which comes to hold nearly all its cells in the
// backtick pass, is so sized for them instead of for half as many again.
void Grow(Table& t) {
  if (t.slots.empty()) {
    t.slots.Assign(RoomFor(0));
    return;
  }
  const size_t size = t.slots.size();
  if (t.refill) {
    t.refill = false;
    Resize(t, std::max(size + size / 8, RoomForLiveCells()));
    return;
  }
  Resize(t, std::max(size + size / 8, std::min(size + size / 2, RoomForLiveCells())));
}

size_t FindLeaf(const Table& t, std::string_view bytes, uint64_t hash) {
  return Probe(t, hash, [&](Cell* c) { return c->IsLeaf() && LeafView(c) == bytes; });
}

size_t FindApp(const Table& t, const Cell* f, const Cell* a, uint64_t hash) {
  return Probe(t, hash, [&](Cell* c) { return c->IsApp() && c->f == f && c->a == a; });
}

// The list of added entries is no longer complete, or would cost more than
// a pass over the whole table: the next pruning goes over the whole table.
void StopTracking(Table& t) {
  t.tracking = false;
  t.added = std::vector<Cell*>();
}

// Puts c, whose count the table already holds, into the free slot i.
void Place(Table& t, size_t i, Cell* c, uint64_t hash) {
  t.slots.Put(i, Slot{TagOf(hash), RefTo(t, c)});
  ++t.used;
  if (!t.tracking) return;
  t.added.push_back(c);
  if (t.added.size() > t.used / 2) StopTracking(t);
}

// Enters c (taking a count) into the free slot i found for it.
Cell* Enter(Table& t, size_t i, Cell* c, uint64_t hash) {
  Retain(c);
  Place(t, i, c, hash);
  return c;
}

void Reserve(Table& t) {
  if (t.slots.empty() || !Fits(t.used + 1, t.slots.size())) Grow(t);
}

// A name leaf analysed against a definition that has since been replaced
// by one with a different number of parameters.
bool IsStaleName(Cell* c) {
  if (!c->IsLeaf() || !c->Analysed() || c->IsData()) return false;
  std::string_view text = LeafView(c);
  if (!IsNameLeafText(text)) return false;
  const CellRef* definition = Globals().Find(text);
  return definition != nullptr && LeadingLambdas(definition->get(), kNoArity) != c->AnalysisValue();
}

// Representative of a leaf. A stale name (one that a definition's cells
// held while a backtick's load changed its arity) is not entered: a fresh
// copy, analysed afresh when it is used, stands for it.
Cell* ShareLeaf(Table& t, Cell* c) {
  Reserve(t);
  std::string_view bytes = LeafView(c);
  uint64_t hash = HashBytes(bytes);
  size_t i = FindLeaf(t, bytes, hash);
  if (!t.slots.IsFree(i)) return CellIn(t, i);
  if (!IsStaleName(c)) return Enter(t, i, c, hash);
  Cell* fresh = MakeLeaf(bytes).Leak();  // the table's count
  Place(t, i, fresh, hash);
  return fresh;
}

// The representative that an application c gets when none equal to it is
// entered: c itself when its parts are the representatives f and a, else a
// new application of them. The table is to hold the count returned.
Cell* NewRepresentative(Cell* c, Cell* f, Cell* a) {
  if (f == c->f && a == c->a) {
    Retain(c);
    return c;
  }
  return MakeApp(CellRef::Share(f), CellRef::Share(a)).Leak();
}

// Representative of an application whose parts have representatives f and
// a; *entered tells whether it was entered just now.
Cell* ShareApp(Table& t, Cell* c, Cell* f, Cell* a, bool* entered = nullptr) {
  Reserve(t);
  uint64_t hash = AppHash(f, a);
  size_t i = FindApp(t, f, a, hash);
  if (entered != nullptr) *entered = t.slots.IsFree(i);
  if (!t.slots.IsFree(i)) return CellIn(t, i);
  Cell* rep = NewRepresentative(c, f, a);
  Place(t, i, rep, hash);
  return rep;
}

// A part with a single holder is no representative (the table holds one
// count of each), which spares the search for freshly built graphs.
bool PartsMayBeRepresentatives(const Cell* c) { return c->f->Count() != 1 && c->a->Count() != 1; }

// An application whose parts are already representatives is found at once.
Cell* FindByParts(const Table& t, Cell* c) {
  if (t.slots.empty() || !PartsMayBeRepresentatives(c)) return nullptr;
  return CellIn(t, FindApp(t, c->f, c->a, AppHash(c->f, c->a)));
}

// The slot that holds c itself, found through c's hash; false when c is
// no representative (or a text written in place since it was entered, which
// then stays until the table is emptied).
bool FindEntry(const Table& t, Cell* c, size_t* index) {
  if (t.slots.empty()) return false;
  for (size_t i = Home(t, HashOf(c)); !t.slots.IsFree(i); i = After(t, i)) {
    if (CellIn(t, i) == c) {
      *index = i;
      return true;
    }
  }
  return false;
}

// The slot of a representative, found by identity: by its hash (an
// application's parts are the representatives it was entered with), or for
// a text written in place since it was entered, by a search of the table.
size_t SlotOf(const Table& t, Cell* c) {
  size_t found;
  if (FindEntry(t, c, &found)) return found;
  for (size_t i = 0; i < t.slots.size(); ++i) {
    if (CellIn(t, i) == c) return i;
  }
  MOX_FAIL();  // c is an entry of the table
}

// Empties slot i, moving later entries of its probe run back so that every
// entry stays reachable from its home slot (linear probing needs no
// tombstones this way). A text written in place since its slot was chosen
// may be judged by its new home: only that entry can then be missed by a
// search, as it already is by its old bytes.
void EraseSlot(Table& t, size_t i) {
  if (t.tracking) StopTracking(t);
  DropRef(t, t.slots.ref(i));
  // Each later entry of the run is read for its home, a cache miss in a
  // big table: the first few are fetched at once instead of one by one.
  constexpr int kAhead = 8;
  for (size_t j = After(t, i), k = 0; k < kAhead && !t.slots.IsFree(j); j = After(t, j), ++k)
    __builtin_prefetch(CellIn(t, j));
  for (size_t j = After(t, i); !t.slots.IsFree(j); j = After(t, j)) {
    if (StaysAfterErase(i, Home(t, HashOf(CellIn(t, j))), j)) continue;
    t.slots.Put(i, t.slots.Get(j));
    i = j;
  }
  t.slots.Free(i);
  --t.used;
}

// Calls visit(Cell*) for the cell of every entry. A big table's cells are
// visited in the order of their addresses: its slots are in no order at
// all, and a pass that read the cells slot by slot missed the cache at
// every entry. A small table's, which the cache holds, slot by slot. visit
// must not change the table.
template <class Visit>
void ForEachEntry(const Table& t, Visit&& visit) {
  constexpr size_t kBig = size_t{1} << 16;
  if (t.used < kBig) {
    for (size_t i = 0; i < t.slots.size(); ++i) {
      if (!t.slots.IsFree(i)) visit(CellIn(t, i));
    }
    return;
  }
  CellMarks entries;
  for (size_t i = 0; i < t.slots.size(); ++i) {
    if (!t.slots.IsFree(i)) entries.Mark(CellIn(t, i));
  }
  entries.ForEach(visit);
}

// The run keeps the table: what stays is moved into one of its own size.
void ShrinkToFit(Table& t) {
  size_t capacity = RoomFor(t.used + 1);
  if (capacity < t.slots.size()) Resize(t, capacity);
}

// Keeps the representatives that pass `keep` and releases the others.
// Work is done in place: the table is the largest structure of the
// start-up, and a second copy of it would double its share of the peak.
// Each slot holds its own count, so a dropped cell can be released at once:
// whatever it frees is no representative. `keep` is asked about cells only,
// so entries may move while it is asked.
template <class Keep>
void KeepSlots(Table& t, Keep&& keep) {
  for (size_t i = 0; i < t.slots.size(); ++i) {
    while (!t.slots.IsFree(i) && !keep(CellIn(t, i))) {
      Cell* dropped = CellIn(t, i);
      EraseSlot(t, i);
      Release(dropped);
    }
  }
  ShrinkToFit(t);
}

// The representatives of the leaves met lately in one fold, by address. A
// graph's leaves are mostly a few names and numbers met over and over (the
// parser gives each of them one cell already), and hashing and comparing
// their bytes at every meeting took a third of the instructions of a big
// program's last sharing pass. Nothing leaves the table during a fold, so a
// remembered representative stays one.
class RecentLeaves {
 public:
  Cell* Share(Table& t, Cell* leaf) {
    Line& line = lines_[(reinterpret_cast<uintptr_t>(leaf) >> 3) % kLines];
    if (line.leaf != leaf) line = {leaf, ShareLeaf(t, leaf)};
    return line.rep;
  }

 private:
  static constexpr size_t kLines = 16;
  struct Line {
    Cell* leaf = nullptr;
    Cell* rep = nullptr;
  };
  Line lines_[kLines];
};

// New representatives whose slots are still to be found. Say a part of an
// application c was made a representative just now, standing for a cell
// that c alone holds. An entry equal to c would have that part too, so it
// would have been made since, while the fold was inside c's argument, and
// could not equal c, which is bigger. So c needs no search: it is made a
// representative at once and waits here to be placed with others. In a big
// table each slot is a cache miss, and where each search waits for the
// search of the part below it, placements do not wait for one another (the
// slots of the next few are fetched meanwhile). A big program's expression,
// a long chain, is nearly all such applications. Every search of the table
// places them all first, so that it sees every entry made.
class Unplaced {
 public:
  explicit Unplaced(Table& t) : t_(t) {}

  void Add(Cell* rep) {
    if (n_ == kMost) PlaceAll();
    cells_[n_++] = rep;
  }

  void PlaceAll() {
    for (size_t i = 0; i < n_; ++i) hashes_[i] = AppHash(cells_[i]->f, cells_[i]->a);
    constexpr size_t kFetched = 8;
    for (size_t i = 0; i < n_; ++i) {
      Reserve(t_);
      if (i + kFetched < n_) {
        const size_t home = Home(t_, hashes_[i + kFetched]);
        __builtin_prefetch(&t_.slots.refs()[home]);
        __builtin_prefetch(&t_.slots.tags()[home]);
      }
      Cell* c = cells_[i];
      const size_t slot = FindApp(t_, c->f, c->a, hashes_[i]);
      MOX_ASSERT(t_.slots.IsFree(slot));
      Place(t_, slot, c, hashes_[i]);
    }
    n_ = 0;
  }

 private:
  static constexpr size_t kMost = 512;
  Table& t_;
  size_t n_ = 0;
  Cell* cells_[kMost];
  uint64_t hashes_[kMost];
};

// A representative met in ShareValue's fold, with the low bit set when it
// is a new one standing for a cell that has no other holder (cells are
// 8-aligned; one word keeps the fold's stack of results as cheap as for
// plain addresses).
using Met = uintptr_t;
Met MetOf(Cell* rep, bool only) { return reinterpret_cast<uintptr_t>(rep) | (only ? 1 : 0); }
Cell* RepOf(Met m) { return reinterpret_cast<Cell*>(m & ~uintptr_t{1}); }
bool IsOnly(Met m) { return (m & 1) != 0; }

}  // namespace

CellRef ShareValue(Cell* root) {
  Table& t = Shared();
  RecentLeaves leaves;
  Unplaced unplaced(t);
  // Results are representatives, borrowed from the table.
  Met met = FoldBottomUp<Met>(
      root, [&](Cell* leaf) { return MetOf(leaves.Share(t, leaf), false); },
      [&](Cell* c, Met f, Met a) {
        const bool alone = c->Count() == 1;
        if (IsOnly(f) || IsOnly(a)) {
          Cell* rep = NewRepresentative(c, RepOf(f), RepOf(a));
          unplaced.Add(rep);
          return MetOf(rep, alone);
        }
        unplaced.PlaceAll();
        bool entered;
        Cell* rep = ShareApp(t, c, RepOf(f), RepOf(a), &entered);
        return MetOf(rep, entered && alone);
      },
      [&](Cell* c, Met* found) {
        if (!PartsMayBeRepresentatives(c)) return false;  // no search, so the batch may wait
        unplaced.PlaceAll();
        Cell* rep = FindByParts(t, c);
        *found = MetOf(rep, false);
        return rep != nullptr;
      });
  unplaced.PlaceAll();
  return CellRef::Share(RepOf(met));
}

CellRef ShareLeafBytes(std::string_view bytes) {
  Table& t = Shared();
  Reserve(t);
  uint64_t hash = HashBytes(bytes);
  size_t i = FindLeaf(t, bytes, hash);
  if (t.slots.IsFree(i)) {
    CellRef made = MakeLeaf(bytes);
    Enter(t, i, made.get(), hash);
  }
  return CellRef::Share(CellIn(t, i));
}

namespace {

// Keeps c when it is a value, with what must stay below it. The parts of a
// value are values too, except the body of a lambda: such parts, and what
// lies below them, are kept as well, so that every application in the table
// still has representatives as its parts. mark(cell) marks a cell to keep
// and tells whether what lies below it is still to be seen.
template <class Mark>
void KeepIfValue(Cell* c, std::vector<Cell*>& work, Mark&& mark) {
  if (!IsValue(c) || !mark(c) || c->IsLeaf()) return;
  auto rescue = [&](Cell* part) {
    if (!IsValue(part) && mark(part)) work.push_back(part);
  };
  rescue(c->a);
  while (!work.empty()) {
    Cell* r = work.back();
    work.pop_back();
    if (r->IsLeaf()) continue;
    rescue(r->f);
    rescue(r->a);
  }
}

// Cells are marked by address: finding each one's slot would cost a probe,
// a cache miss in a big table, for nearly every cell of a program whose
// definitions are all lambdas.
void KeepAllValues(Table& t) {
  CellMarks kept;
  std::vector<Cell*> work;
  ForEachEntry(t, [&](Cell* c) { KeepIfValue(c, work, [&](Cell* x) { return kept.Mark(x); }); });
  work = std::vector<Cell*>();
  KeepSlots(t, [&](Cell* c) { return kept.Has(c); });
}

// The table was pruned last time and has lost no entry since, so all but
// the added entries are kept, with everything below them: only added ones
// can go. A loaded text thus costs what it adds, not the whole table.
void KeepAddedValues(Table& t) {
  std::vector<Cell*> added = std::move(t.added);
  StopTracking(t);
  std::sort(added.begin(), added.end());
  std::vector<bool> kept(added.size());
  auto mark = [&](Cell* c) {
    auto at = std::lower_bound(added.begin(), added.end(), c);
    if (at == added.end() || *at != c || kept[at - added.begin()]) return false;
    kept[at - added.begin()] = true;
    return true;
  };
  std::vector<Cell*> work;
  for (Cell* c : added) KeepIfValue(c, work, mark);
  for (size_t i = 0; i < added.size(); ++i) {
    if (kept[i]) continue;
    EraseSlot(t, SlotOf(t, added[i]));
    Release(added[i]);
  }
  ShrinkToFit(t);
}

}  // namespace

void KeepOnlySharedValues() {
  Table& t = Shared();
  t.refill = false;
  if (t.tracking) KeepAddedValues(t);
  else KeepAllValues(t);
  t.tracking = true;
}

namespace {

// Whether the table holds a stale name. Names go stale when a load
// changes definitions, and every load asks: so only the names merged just
// now (`merged`) and the entries added since the last pruning need a look,
// unless the table has stopped tracking those or no load made the change.
bool HoldsStaleName(const Table& t, const GlobalTable* merged) {
  if (!t.tracking || merged == nullptr) {
    for (size_t i = 0; i < t.slots.size(); ++i)
      if (!t.slots.IsFree(i) && IsStaleName(CellIn(t, i))) return true;
    return false;
  }
  for (Cell* c : t.added)
    if (IsStaleName(c)) return true;
  if (t.slots.empty()) return false;
  for (const auto& [key, value] : *merged) {
    if (!IsNameLeafText(key.view())) continue;
    const size_t i = FindLeaf(t, key.view(), HashBytes(key.view()));
    if (!t.slots.IsFree(i) && IsStaleName(CellIn(t, i))) return true;
  }
  return false;
}

}  // namespace

void ForgetStaleNames(const GlobalTable* merged) {
  Table& t = Shared();
  if (!HoldsStaleName(t, merged)) return;
  // A cell is dropped when it is a stale name or one of its parts is
  // dropped (the parts of representatives are representatives). Each is
  // judged after its parts (explicit stack), the verdicts kept by address:
  // looking the parts' slots up instead cost a probe, a cache miss in a big
  // table, for every entry.
  CellMarks judged, dropped;
  std::vector<Cell*> stack;
  ForEachEntry(t, [&](Cell* root) {
    stack.push_back(root);
    while (!stack.empty()) {
      Cell* c = stack.back();
      if (judged.Has(c)) {
        stack.pop_back();
      } else if (c->IsLeaf() || (judged.Has(c->f) && judged.Has(c->a))) {
        judged.Mark(c);
        if (c->IsLeaf() ? IsStaleName(c) : dropped.Has(c->f) || dropped.Has(c->a)) dropped.Mark(c);
        stack.pop_back();
      } else {
        stack.push_back(judged.Has(c->f) ? c->a : c->f);
      }
    }
  });
  KeepSlots(t, [&](Cell* c) { return !dropped.Has(c); });
}

void ClearSharingTable() {
  Table& t = Shared();
  StopTracking(t);
  // Taken out first: the table is empty while the cells are let go.
  Table old{std::move(t.slots), t.used, std::move(t.far), t.far_free, {}, false, false};
  t.slots.clear();
  t.refill = false;
  t.far = std::vector<uintptr_t>();
  t.far_free = kNoHandle;
  t.used = 0;
  ForEachEntry(old, [](Cell* c) { Release(c); });
}

void SizeSharingTableForRefill(size_t entries) {
  Table& t = Shared();
  MOX_ASSERT(t.used == 0);
  // The refill is sized at once, while moving is free, for the entries
  // the table held before it was emptied: a program shared as it was
  // parsed comes back with about as many. A big one is also given room
  // for a third of the cells alive at least: a program of many similar
  // definitions comes out of the sharing with about that many entries
  // (100,000 generated ones with a backtick each: 32%), and room for every
  // cell was a fifth of its start-up's peak. A big refill that needs more,
  // such as one huge definition of distinct cells, grows once, straight to
  // room for every cell alive, so that no entry moves twice (by halves,
  // each of ten million moved three times). A small refill grows as it
  // goes: the room would mostly be given back, by a move of every entry,
  // once the table keeps its values alone.
  constexpr size_t kBigRefill = size_t{1} << 20;
  const size_t room = RoomForLiveCells();
  const bool big = room > kBigRefill;
  const size_t wanted = std::min(room, std::max(big ? room / 3 : 0, RoomFor(entries)));
  if (wanted > 2 * t.slots.size() && wanted < (uint64_t{1} << 32)) {
    t.slots.Assign(wanted);
    t.refill = big;
  }
}

void ReleaseShared(CellRef value) {
  Table& t = Shared();
  std::vector<Cell*> work{value.Leak()};  // one count of each is ours to give up
  while (!work.empty()) {
    Cell* c = work.back();
    work.pop_back();
    size_t slot;
    // Held by us and the table only: the table lets go of it as well.
    if (c->Count() == 2 && FindEntry(t, c, &slot)) {
      EraseSlot(t, slot);
      Release(c);
    }
    if (c->Count() > 1 || c->IsLeaf()) {
      Release(c);
      continue;
    }
    // Ours is the last count: c dies, and its parts lose a holder each,
    // which may leave them to the table alone.
    Cell* f = c->f;
    Cell* a = c->a;
    Hold(f);
    Hold(a);
    Release(c);
    work.push_back(a);
    work.push_back(f);
  }
}

namespace {
const bool kReleased = AtRunEnd(ClearSharingTable);
}  // namespace

bool IsSharedApplication(Cell* c) { return c->IsApp() && FindByParts(Shared(), c) == c; }

size_t SharingTableSize() { return Shared().used; }

void ReserveSharingTable(size_t entries) {
  Table& t = Shared();
  const size_t room = RoomFor(std::max(entries, t.used + 1));
  if (room <= t.slots.size() || room >= (uint64_t{1} << 32)) return;
  if (t.slots.empty()) t.slots.Assign(room);
  else Resize(t, room);
}

}  // namespace mox
