// Text storage: one allocation holds the record and its bytes.
#include "core/text.h"

#include "core/memory.h"

#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace mox {

namespace {
TextRep* NewRep(size_t n) {
  if (n > SIZE_MAX - sizeof(TextRep) - 1) OutOfMemory("a text", n);  // the sum below would wrap
  auto* r = static_cast<TextRep*>(CheckedMalloc(sizeof(TextRep) + n + 1, "a text"));
  r->length = static_cast<int64_t>(n);
  r->bytes()[n] = 0;
  r->count = 1;
  return r;
}

TextRep* EmptyRep() {
  // Shared by every empty Text; its count starts high and never reaches 0.
  static TextRep* empty = [] {
    TextRep* r = NewRep(0);
    r->count = uint64_t{1} << 62;
    return r;
  }();
  return empty;
}
}  // namespace

Text::Text() : r_(EmptyRep()) { ++r_->count; }

Text::Text(const char* s) : Text(s, std::strlen(s)) {}

Text::Text(const void* bytes, size_t n) {
  if (n == 0) {
    r_ = EmptyRep();
    ++r_->count;
    return;
  }
  r_ = NewRep(n);
  std::memcpy(r_->bytes(), bytes, n);
}

Text Text::FromInt64(int64_t v) {
  char buf[32];
  int n = std::snprintf(buf, sizeof buf, "%" PRId64, v);
  return Text(buf, static_cast<size_t>(n));
}

Text Text::FromUint64(uint64_t v) {
  char buf[32];
  int n = std::snprintf(buf, sizeof buf, "%" PRIu64, v);
  return Text(buf, static_cast<size_t>(n));
}

Text& Text::operator=(const Text& o) {
  ++o.r_->count;  // first, so that self-assignment is safe
  Drop();
  r_ = o.r_;
  return *this;
}

Text& Text::operator=(Text&& o) noexcept {
  if (this != &o) {
    Drop();
    r_ = o.r_;
    o.r_ = nullptr;
  }
  return *this;
}

void Text::Drop() {
  if (r_ != nullptr && --r_->count == 0) std::free(r_);
  r_ = nullptr;
}

unsigned char* Text::MutableAt(int64_t i) {
  MOX_ASSERT(i >= 0);
  MOX_ASSERT(i <= r_->length);
  if (r_->count > 1) {
    TextRep* copy = NewRep(static_cast<size_t>(r_->length));
    std::memcpy(copy->bytes(), r_->bytes(), static_cast<size_t>(r_->length));
    Drop();
    r_ = copy;
  }
  return r_->bytes() + i;
}

void Text::Append(const Text& piece) { Append(piece.view()); }

void Text::Append(std::string_view piece) {
  if (piece.empty()) return;
  size_t old = static_cast<size_t>(r_->length);
  TextRep* joined = NewRep(old + piece.size());
  std::memcpy(joined->bytes(), r_->bytes(), old);
  std::memcpy(joined->bytes() + old, piece.data(), piece.size());
  Drop();
  r_ = joined;
}

Text Text::Substr(int64_t start, int64_t count) const {
  MOX_ASSERT(start >= 0);
  MOX_ASSERT(count >= 0);
  MOX_ASSERT(start <= r_->length);
  if (count > r_->length - start) count = r_->length - start;
  return Text(r_->bytes() + start, static_cast<size_t>(count));
}

Text Concat(const Text& a, const Text& b) {
  Text t = a;
  t.Append(b);
  return t;
}

Text operator+(const Text& a, const Text& b) { return Concat(a, b); }

}  // namespace mox
