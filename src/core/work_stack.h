// Work stacks: the reducer's frames and the stacks of the walks over cell
// graphs, which may reach millions of entries. A stack grows in one malloc'd
// block by realloc: a std::vector copies its elements into a block twice as
// large beside the old one, while realloc lets the system move a big
// block's pages (glibc remaps them), so the stack never needs its old and
// its new storage at once. For a reduction ten million frames deep the copy
// was a fifth of the run's peak memory.
//
// A stack's block outlives it: a finished stack gives its block back to a
// few kept ones (WorkRoom), and the next stack starts in the largest. A walk
// of a small definition then allocates nothing, and the checks' dozen walks
// over a generated program ten million cells deep reuse one stack's pages
// instead of having the system clear new ones for each walk, which took up
// to a third of such a start-up. Blocks above kSmallWorkRoom are kept only while
// a KeepWorkRoom lives (the parse and the checks), so that a deep
// evaluation's stack is not held for the rest of the run.
#pragma once

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

#include "core/assert.h"
#include "core/memory.h"

namespace mox {

struct WorkRoom {
  void* block;
  size_t bytes;
};

constexpr size_t kSmallWorkRoom = size_t{512} << 10;

// The largest kept block ({nullptr, 0} when none is kept), now the caller's.
WorkRoom TakeWorkRoom();
// Keeps a block for a later stack, or frees it.
void GiveBackWorkRoom(WorkRoom room);

// While one lives, blocks of any size are kept; when the last one ends,
// those above kSmallWorkRoom are freed.
class KeepWorkRoom {
 public:
  KeepWorkRoom();
  ~KeepWorkRoom();
  KeepWorkRoom(const KeepWorkRoom&) = delete;
  KeepWorkRoom& operator=(const KeepWorkRoom&) = delete;
};

// Whether a T may be moved by copying its bytes and forgetting the old ones,
// as realloc does: true of plain records, and declared true of handles that
// are one pointer (CellRef) and records of them.
template <class T>
inline constexpr bool kRelocatable = std::is_trivially_copyable_v<T>;

template <class T>
class WorkStack {
  static_assert(kRelocatable<T>);

 public:
  WorkStack() = default;
  WorkStack(const WorkStack&) = delete;
  WorkStack& operator=(const WorkStack&) = delete;
  ~WorkStack() {
    clear();
    if (begin_ != nullptr) GiveBackWorkRoom({begin_, Capacity() * sizeof(T)});
  }

  [[gnu::always_inline]] void push_back(T v) {
    if (end_ == capacity_end_) Grow();
    new (end_) T(std::move(v));
    ++end_;
  }
  void pop_back() {
    --end_;
    end_->~T();
  }
  // Shrinking only: the entries past n are dropped.
  void resize(size_t n) {
    MOX_ASSERT(n <= size());
    if constexpr (std::is_trivially_destructible_v<T>) {
      end_ = begin_ + n;
    } else {
      while (size() > n) pop_back();
    }
  }
  void clear() { resize(0); }

  bool empty() const { return end_ == begin_; }
  size_t size() const { return static_cast<size_t>(end_ - begin_); }
  T& back() { return end_[-1]; }
  T& operator[](size_t i) { return begin_[i]; }
  T* data() { return begin_; }
  const T* data() const { return begin_; }
  T* begin() { return begin_; }
  T* end() { return end_; }

 private:
  size_t Capacity() const { return static_cast<size_t>(capacity_end_ - begin_); }

  [[gnu::noinline]] void Grow() {
    const size_t n = size();
    if (begin_ == nullptr) {
      const WorkRoom room = TakeWorkRoom();
      begin_ = end_ = static_cast<T*>(room.block);
      capacity_end_ = begin_ + room.bytes / sizeof(T);
      if (capacity_end_ != end_) return;
    }
    const size_t capacity = n < 32 ? 64 : 2 * n;
    begin_ = static_cast<T*>(CheckedRealloc(begin_, capacity * sizeof(T), "a work stack"));
    end_ = begin_ + n;
    capacity_end_ = begin_ + capacity;
  }

  T* begin_ = nullptr;
  T* end_ = nullptr;
  T* capacity_end_ = nullptr;
};

}  // namespace mox
