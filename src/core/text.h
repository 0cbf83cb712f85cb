// Text: the interpreter's byte strings outside cells (names, file contents,
// messages, Report fields). A Text is a shared, counted, copy-on-write
// buffer; copying a Text handle adds a holder, it never copies bytes.
// A Text may hold NUL bytes; its length decides where it ends, and the byte
// at index length is always NUL so that C functions can read it.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "core/assert.h"

namespace mox {

// The record of a text, its length + 1 bytes (NUL at index length) right
// after it in the same block: no pointer to them, since a program's names
// are mostly shorter than one, and a big program has a hundred thousand.
struct TextRep {
  int64_t length;
  uint64_t count;
  unsigned char* bytes() { return reinterpret_cast<unsigned char*>(this + 1); }
  const unsigned char* bytes() const { return reinterpret_cast<const unsigned char*>(this + 1); }
};

class Text {
 public:
  Text();  // the empty text
  Text(const char* s);  // NOLINT: implicit from literals is intended
  Text(const void* bytes, size_t n);
  Text(std::string_view s) : Text(s.data(), s.size()) {}
  static Text FromInt64(int64_t v);     // "%lli"
  static Text FromUint64(uint64_t v);   // "%llu"

  Text(const Text& o) : r_(o.r_) { ++r_->count; }
  Text(Text&& o) noexcept : r_(o.r_) { o.r_ = nullptr; }
  Text& operator=(const Text& o);
  Text& operator=(Text&& o) noexcept;
  ~Text() { Drop(); }

  int64_t size() const { return r_->length; }
  bool empty() const { return r_->length == 0; }
  const unsigned char* data() const { return r_->bytes(); }
  const char* c_str() const { return reinterpret_cast<const char*>(r_->bytes()); }
  std::string_view view() const {
    return {reinterpret_cast<const char*>(r_->bytes()), static_cast<size_t>(r_->length)};
  }
  uint64_t holders() const { return r_->count; }

  // Byte at 0 <= i <= length (length gives the NUL).
  unsigned char At(int64_t i) const {
    MOX_ASSERT(i >= 0);
    MOX_ASSERT(i <= r_->length);
    return r_->bytes()[i];
  }
  unsigned char First() const {
    MOX_ASSERT(r_->length >= 0);
    return r_->bytes()[0];
  }
  // Pointer to byte i for writing; copies first when others hold the text.
  unsigned char* MutableAt(int64_t i);

  void Append(const Text& piece);
  void Append(std::string_view piece);
  void Append(const char* piece) { Append(std::string_view(piece)); }
  Text Substr(int64_t start, int64_t count) const;

  friend bool operator==(const Text& a, const Text& b) {
    return a.r_ == b.r_ || a.view() == b.view();
  }
  friend bool operator==(const Text& a, std::string_view b) { return a.view() == b; }
  friend bool operator==(const Text& a, const char* b) { return a.view() == b; }
  friend bool operator!=(const Text& a, const Text& b) { return !(a == b); }
  // Bytewise order as unsigned bytes, a prefix before the longer text.
  friend bool operator<(const Text& a, const Text& b) { return Compare(a.view(), b.view()) < 0; }

  static int Compare(std::string_view a, std::string_view b) { return a.compare(b); }

 private:
  explicit Text(TextRep* r) : r_(r) {}
  void Drop();
  TextRep* r_;
};

Text Concat(const Text& a, const Text& b);
Text operator+(const Text& a, const Text& b);

// Orders name-keyed tables: bytewise, unsigned, shorter first on a prefix.
// Transparent, so tables can be searched with a string_view.
struct TextOrder {
  using is_transparent = void;
  bool operator()(const Text& a, const Text& b) const { return Text::Compare(a.view(), b.view()) < 0; }
  bool operator()(std::string_view a, const Text& b) const { return Text::Compare(a, b.view()) < 0; }
  bool operator()(const Text& a, std::string_view b) const { return Text::Compare(a.view(), b) < 0; }
};

// Assembles long texts (messages, renderings) piece by piece in one
// growing buffer; Flatten makes the Text.
class TextBuilder {
 public:
  void Append(const Text& piece) { buf_.append(piece.view()); }
  void Append(std::string_view piece) { buf_.append(piece); }
  void Append(const char* piece) { buf_.append(piece); }
  void AppendByte(unsigned char b) { buf_.push_back(static_cast<char>(b)); }
  int64_t Length() const { return static_cast<int64_t>(buf_.size()); }
  Text Flatten() const { return Text(buf_); }

 private:
  std::string buf_;
};

}  // namespace mox
