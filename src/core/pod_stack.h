// A stack of plain records in one malloc'd block that grows by realloc, for
// stacks that may reach millions of entries (the reducer's frames). A
// std::vector copies its elements into a block twice as large beside the
// old one; realloc lets the system move a big block's pages instead (glibc
// remaps them), so the stack never needs its old and its new storage at
// once. For a reduction ten million frames deep the copy was a fifth of
// the run's peak memory.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <type_traits>

#include "core/assert.h"
#include "core/memory.h"

namespace mox {

template <class T>
class PodStack {
  static_assert(std::is_trivially_copyable_v<T>);

 public:
  PodStack() = default;
  PodStack(const PodStack&) = delete;
  PodStack& operator=(const PodStack&) = delete;
  ~PodStack() { std::free(begin_); }

  [[gnu::always_inline]] void push_back(const T& v) {
    if (end_ == capacity_end_) Grow();
    *end_++ = v;
  }
  void pop_back() { --end_; }
  // Shrinking only: the records past n are dropped.
  void resize(size_t n) {
    MOX_ASSERT(n <= size());
    end_ = begin_ + n;
  }
  void clear() { end_ = begin_; }

  bool empty() const { return end_ == begin_; }
  size_t size() const { return static_cast<size_t>(end_ - begin_); }
  T& back() { return end_[-1]; }
  T& operator[](size_t i) { return begin_[i]; }
  T* data() { return begin_; }
  const T* data() const { return begin_; }
  T* begin() { return begin_; }
  T* end() { return end_; }

 private:
  [[gnu::noinline]] void Grow() {
    const size_t n = size(), capacity = n == 0 ? 64 : 2 * n;
    begin_ = static_cast<T*>(CheckedRealloc(begin_, capacity * sizeof(T), "the reducer's stack"));
    end_ = begin_ + n;
    capacity_end_ = begin_ + capacity;
  }

  T* begin_ = nullptr;
  T* end_ = nullptr;
  T* capacity_end_ = nullptr;
};

}  // namespace mox
