// Cells: the one data structure of the interpreter. Every value and every
// piece of program text under evaluation is a graph of cells, shared freely
// and freed by reference counting.
//
// Layout (programs can read cells through raw addresses, so it is fixed):
//   header word, little-endian:
//     bits  0..29  reference count
//     bits 30..55  length / child count / variable set (depends on the cell)
//     bits 56..61  analysis value, biased by 52
//     bit  62      analysis flag
//     bit  63      1 = leaf, 0 = application
//   application: function part at byte 8, argument part at byte 16 (24 bytes)
//   leaf: NUL-terminated bytes from byte 8; the first byte gives the kind.
//
// A leaf block also carries one hidden word *before* the cell, holding the
// number of text bytes it was made with; it lets the allocator free the block
// without reading the (possibly rewritten) text, and gives O(1) lengths. Its
// top bit tells that the block goes on past the text's NUL with a tail of
// words that is no part of the cell as programs see it (the integer
// arithmetic keeps a binary form of big numbers there). The next bit tells
// that the text is not all written yet (core/deferred_text.h). The third
// tells that the word holds a small number's value beside a short length
// (core/value_word.h).
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "core/assert.h"
#include "core/pool.h"
#include "core/text.h"
#include "core/work_stack.h"

namespace mox {

constexpr uint64_t kCountMask = (uint64_t{1} << 30) - 1;
constexpr int kFieldShift = 30;
constexpr uint64_t kFieldLimit = uint64_t{1} << 26;
constexpr uint64_t kFieldMask = (kFieldLimit - 1) << kFieldShift;
constexpr int kCacheShift = 56;
constexpr uint64_t kCacheMask = uint64_t{0x7F} << kCacheShift;
constexpr uint64_t kValueMask = uint64_t{0x3F} << kCacheShift;
constexpr int kValueBias = 52;  // of the analysis value in the cache
constexpr uint64_t kFlagBit = uint64_t{1} << 62;
constexpr uint64_t kLeafBit = uint64_t{1} << 63;
constexpr uint8_t kDataCache = 0x40;  // cache byte of a data cell
constexpr uint64_t kTailBit = uint64_t{1} << 63;      // in the hidden word: a tail follows
constexpr uint64_t kDeferredBit = uint64_t{1} << 62;  // in the hidden word: text partly unwritten
constexpr uint64_t kValueBit = uint64_t{1} << 61;     // in the hidden word: a value, the length below
constexpr uint64_t kValueLengthMask = 31;             // the length's bits beside a value

// Leaf kinds, by first byte.
constexpr unsigned char kVectorByte = 10;
constexpr unsigned char kBlobByte = '(';
constexpr unsigned char kRawByte = ' ';
constexpr unsigned char kCycleByte = ')';
constexpr unsigned char kErrorByte = ']';

// On a host with 4-byte pointers (32-bit WebAssembly) each part is followed
// by 4 zero bytes, so that programs read the same 24-byte layout there.
#if UINTPTR_MAX == UINT32_MAX
#define MOX_PART_HIGH_HALF(name) uint32_t name;
#else
#define MOX_PART_HIGH_HALF(name)
#endif

struct Cell {
  uint64_t h;
  Cell* f;  // application only: function part
  MOX_PART_HIGH_HALF(f_high)
  Cell* a;  // application only: argument part
  MOX_PART_HIGH_HALF(a_high)

  // The parts of a new application (and the zero high halves, if any).
  void SetParts(Cell* function, Cell* argument) {
    f = function;
    a = argument;
#if UINTPTR_MAX == UINT32_MAX
    f_high = 0;
    a_high = 0;
#endif
  }

  bool IsLeaf() const { return (h & kLeafBit) != 0; }
  bool IsApp() const { return (h & kLeafBit) == 0; }
  uint32_t Count() const { return static_cast<uint32_t>(h & kCountMask); }
  uint32_t Field() const { return static_cast<uint32_t>((h & kFieldMask) >> kFieldShift); }
  void SetField(uint64_t v) {
    MOX_ASSERT(v < kFieldLimit);
    h = (h & ~kFieldMask) | (v << kFieldShift);
  }

  // Analysis cache (bits 56..62); 0 means not analysed yet.
  uint8_t CacheByte() const { return static_cast<uint8_t>((h & kCacheMask) >> kCacheShift); }
  bool Analysed() const { return (h & kCacheMask) != 0; }
  bool IsData() const { return (h & kCacheMask) == (uint64_t{kDataCache} << kCacheShift); }
  bool Flag() const { return (h & kFlagBit) != 0; }
  int AnalysisValue() const {
    if (IsData()) return 1;
    return static_cast<int>((h & kValueMask) >> kCacheShift) - kValueBias;
  }
  void SetAnalysisValue(int v) {
    MOX_ASSERT(v >= -kValueBias && v <= 11);
    h = (h & ~kValueMask) | (static_cast<uint64_t>(v + kValueBias) << kCacheShift);
  }
  void SetFlag(bool on) { h = on ? (h | kFlagBit) : (h & ~kFlagBit); }
  void MarkData() { h = (h & ~kCacheMask) | (uint64_t{kDataCache} << kCacheShift); }

  unsigned char* Bytes() { return reinterpret_cast<unsigned char*>(this) + 8; }
  const unsigned char* Bytes() const { return reinterpret_cast<const unsigned char*>(this) + 8; }
  // First payload byte of a leaf; 0 for an application.
  unsigned char First() const { return IsLeaf() ? Bytes()[0] : 0; }
  // Number of text bytes the leaf was made with (the hidden word).
  uint64_t StoredLength() const {
    uint64_t w = Hidden();
    return w & ((w & kValueBit) != 0 ? kValueLengthMask : ~(kTailBit | kDeferredBit));
  }
  bool HasTail() const { return (Hidden() & kTailBit) != 0; }
  bool TextDeferred() const { return (Hidden() & kDeferredBit) != 0; }
  uint64_t& Hidden() { return reinterpret_cast<uint64_t*>(this)[-1]; }
  uint64_t Hidden() const { return reinterpret_cast<const uint64_t*>(this)[-1]; }
};
static_assert(sizeof(Cell) == 24);

// ---- counting --------------------------------------------------------------

void FreeCell(Cell* c);        // count is 1: free it and release its parts
[[noreturn]] void CountOverflow();

// Adds a count to a cell that exists (the hot paths know it does).
inline void Hold(Cell* c) {
  uint64_t h = c->h + 1;
  if ((h & kCountMask) == 0) [[unlikely]] CountOverflow();  // the count was full
  c->h = h;
}

inline void Retain(Cell* c) {
  if (c != nullptr) Hold(c);
}

inline void Release(Cell* c) {
  if (c == nullptr) return;
  if ((c->h & kCountMask) > 1) {
    --c->h;
    return;
  }
  FreeCell(c);
}

// An owning reference: holds exactly one count of its cell (or is null after
// a move). Copies are explicit, with Copy(), so every count is visible.
class CellRef {
 public:
  CellRef() = default;
  explicit CellRef(Cell* adopt) : p_(adopt) {}  // takes over one count
  static CellRef Share(Cell* c) {               // adds a count
    Retain(c);
    return CellRef(c);
  }
  CellRef(CellRef&& o) noexcept : p_(o.p_) { o.p_ = nullptr; }
  CellRef& operator=(CellRef&& o) noexcept {
    Cell* old = p_;
    p_ = o.p_;
    o.p_ = nullptr;
    Release(old);
    return *this;
  }
  CellRef(const CellRef&) = delete;
  CellRef& operator=(const CellRef&) = delete;
  ~CellRef() { Release(p_); }

  CellRef Copy() const {
    Retain(p_);
    return CellRef(p_);
  }
  Cell* get() const { return p_; }
  Cell* operator->() const {
    MOX_ASSERT(p_ != nullptr);
    return p_;
  }
  explicit operator bool() const { return p_ != nullptr; }
  Cell* Leak() {  // gives up the count to the caller
    Cell* p = p_;
    p_ = nullptr;
    return p;
  }

 private:
  Cell* p_ = nullptr;
};
// One pointer: a work stack may move it by its bytes.
template <>
inline constexpr bool kRelocatable<CellRef> = true;

// ---- making cells ------------------------------------------------------------

inline CellRef MakeApp(CellRef f, CellRef a) {
  MOX_ASSERT(f && a);
  Cell* c = static_cast<Cell*>(PoolAllocApp());
  c->h = 1;
  c->SetParts(f.Leak(), a.Leak());
  return CellRef(c);
}
inline CellRef MakeApp(CellRef f, CellRef a, CellRef b) {
  return MakeApp(MakeApp(std::move(f), std::move(a)), std::move(b));
}
inline CellRef MakeApp(CellRef f, CellRef a, CellRef b, CellRef c) {
  return MakeApp(MakeApp(std::move(f), std::move(a), std::move(b)), std::move(c));
}

// A leaf holding n bytes (plus the NUL). The length field is set for number
// and bracketed texts shorter than 2^26 bytes.
CellRef MakeLeaf(const void* bytes, size_t n);
inline CellRef MakeLeaf(std::string_view s) { return MakeLeaf(s.data(), s.size()); }
CellRef MakeLeaf(const char* s);
// A one-byte leaf such as K, H, J or Z (inline: every comparison makes one).
inline CellRef MakeLetter(char c);
// The truth values of the language: K for true, H for false.
inline CellRef MakeTruth(bool yes) { return MakeLetter(yes ? 'K' : 'H'); }
inline CellRef MakeLeaf(const Text& t) { return MakeLeaf(t.data(), static_cast<size_t>(t.size())); }

// A leaf of n bytes whose contents the caller fills (Bytes() after the call);
// the length field is set from the first byte by FinishLeaf. Both are
// inline for the small leaves (numbers, truth values) that arithmetic and
// comparisons make all the time; larger leaves take AllocLargeLeaf.
inline Cell* AllocLeaf(size_t n);
inline CellRef FinishLeaf(Cell* c);
Cell* AllocLargeLeaf(size_t n);

// A leaf of n bytes, as AllocLeaf, followed by a tail of `words` 64-bit
// words (8-aligned, after the NUL) for the caller's own use; FinishLeaf
// completes it as any leaf.
Cell* AllocLeafWithTail(size_t n, size_t words);
// The word before a tail: its size in words (low half), and the place of a
// deferred text among those waiting (high half, core/deferred_text.cpp).
inline uint64_t* TailHead(const Cell* c) {
  auto* block = reinterpret_cast<uint64_t*>(const_cast<Cell*>(c)) - 1;
  return block + (16 + c->StoredLength() + 1 + 7) / 8;
}
// The tail of a leaf and its size in words; null when it has none.
inline uint64_t* LeafTail(const Cell* c, size_t* words) {
  if (!c->HasTail()) return nullptr;
  uint64_t* head = TailHead(c);
  *words = static_cast<uint32_t>(*head);
  return head + 1;
}

// A vector leaf of n slots, all empty (null).
CellRef MakeVector(size_t n);
// A blob: "(" + length digits + ")" + the n data bytes.
CellRef MakeBlob(const void* data, size_t n);
// A blob of n payload bytes that the caller fills from *payload on.
Cell* AllocBlob(uint64_t n, unsigned char** payload);
// A raw leaf: a space and the 8 bytes of the double, least significant first.
CellRef MakeReal(double d);

// ---- reading cells -----------------------------------------------------------

// The text of a cell by its kind (no copy): number and bracketed texts by
// their length, a blob with its data, a raw leaf as 9 bytes, the empty leaf
// as one NUL byte, a vector as its marker byte and child references, other
// leaves up to the first NUL; an application has the empty text.
std::string_view LeafView(const Cell* c);

// Vector slots (unaligned references after the marker byte).
inline uint32_t VectorSize(const Cell* v) { return v->Field(); }
inline Cell* VectorSlot(const Cell* v, size_t i) {
  Cell* p;
  std::memcpy(&p, v->Bytes() + 1 + 8 * i, sizeof p);
  return p;
}
inline void SetVectorSlot(Cell* v, size_t i, Cell* adopted) {
  std::memcpy(v->Bytes() + 1 + 8 * i, &adopted, sizeof adopted);
}

// Blob payload: parses the "(" length ")" prefix.
struct BlobView {
  const unsigned char* data;
  uint64_t size;
};
BlobView BlobPayload(const Cell* c);

inline bool IsLeafText(const Cell* c, std::string_view s) {
  return c->IsLeaf() && LeafView(c) == s;
}
// A leaf whose whole text is the one byte b.
inline bool IsOneByteLeaf(const Cell* c, unsigned char b) {
  return c->IsLeaf() && c->Bytes()[0] == b && c->Bytes()[1] == 0;
}
inline bool IsDigit(unsigned char b) { return b >= '0' && b <= '9'; }

// A leaf block: the hidden word (the text's length), the header, the text
// and its NUL, rounded up to 8 bytes.
inline size_t LeafBlockBytes(uint64_t n) { return (16 + n + 1 + 7) & ~size_t{7}; }
inline Cell* StartLeaf(uint64_t* block, uint64_t hidden, size_t n) {
  block[0] = hidden;
  Cell* c = reinterpret_cast<Cell*>(block + 1);
  c->h = kLeafBit | 1;
  c->Bytes()[n] = 0;
  return c;
}
inline Cell* AllocLeaf(size_t n) {
  if (n > kPoolMax - 17) return AllocLargeLeaf(n);
  return StartLeaf(static_cast<uint64_t*>(PoolAlloc(LeafBlockBytes(n))), n, n);
}
// A leaf of n text bytes made in a block of `bytes` bytes from BlockAlloc,
// with room for it: what lies past the text becomes the leaf's tail (the
// tail's size is what frees the block). A maker that learns its text's
// length only once the tail is filled allocates for the longest text.
inline Cell* StartLeafWithTail(uint64_t* block, size_t bytes, size_t n) {
  size_t text = LeafBlockBytes(n);
  MOX_ASSERT(text + 8 <= bytes && bytes % 8 == 0);
  block[text / 8] = (bytes - text - 8) / 8;
  return StartLeaf(block, n | kTailBit, n);
}
// Numbers and bracketed texts keep their length in the header's field.
inline bool NeedsLengthField(unsigned char first) { return IsDigit(first) || first == '['; }
inline CellRef FinishLeaf(Cell* c) {
  uint64_t n = c->StoredLength();
  if (NeedsLengthField(c->Bytes()[0]) && n < kFieldLimit) c->SetField(n);
  return CellRef(c);
}

inline CellRef MakeLetter(char c) {
  Cell* leaf = AllocLeaf(1);
  leaf->Bytes()[0] = static_cast<unsigned char>(c);
  return FinishLeaf(leaf);
}

// Cells alive now (made and not yet freed); for leak checks in tests.
int64_t LiveCells();

}  // namespace mox
