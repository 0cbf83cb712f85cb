// Bracketed texts as lists of elements. The content of a bracketed text
// (the bytes between its outer "[" and "]") is read from the end: when the
// last byte is "]", the last element is the whole nested group from its
// matching "[" (found by counting "]" up and "[" down backwards), otherwise
// it is that one byte. A "]" without a match (texts written in place can
// hold one) counts as a one-byte element.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/cell.h"

namespace mox {

// Where the last element of a non-empty content begins.
size_t LastElementStart(std::string_view content);

// The content of a bracketed text leaf (its text less the outer brackets).
std::string_view BracketedContent(const Cell* leaf);

// A new bracketed text leaf "[" + content + "]".
CellRef MakeBracketed(std::string_view content);
// The same from two pieces, joined.
CellRef MakeBracketed(std::string_view first, std::string_view second);

// The shared one-character leaf of a byte: equal one-byte elements are the
// same cell for the whole run. The bytes "]", ")", "(" and space, whose
// one-byte leaves would be an error tag, a cycle marker, a blob and a real,
// give new one-character texts "[[r]]", "[)]", "[(]" and "[ ]" instead.
CellRef ByteElement(unsigned char b);

// The leaf of one element: a shared one-character leaf for one byte, a
// bracketed text for a nested group.
CellRef ElementLeaf(std::string_view element);

// The written-out content of a data value (as WriteOutData below makes it),
// streamed as a sequence of non-empty byte pieces without writing it out.
// An interrupt (core/interrupt.h) ends the stream early.
class DataContentStream {
 public:
  explicit DataContentStream(Cell* data) : work_{{data, 0}} {}

  // The next non-empty piece (valid while the data lives); false at the end.
  bool Next(std::string_view* piece);

 private:
  struct Item {
    Cell* cell;
    char bracket;  // 0: the content of the cell; else this one byte
  };
  std::vector<Item> work_;
  uint64_t pieces_ = 0;
};

// The written-out content of a data value: a bracketed text leaf gives its
// content, a data application d e the content of d followed by e as a
// nested group ("[" + content of e + "]"). False when the memory check
// refuses it (core/memory.h) or an interrupt came.
bool WriteOutData(Cell* data, std::string* out);

// Whether out may grow by `more` bytes: a written-out content can be far
// larger than the shared cells that stand for it, so each time its buffer
// must grow, twice its size is put to the memory check first.
bool RoomToGrow(const std::string& out, size_t more);

}  // namespace mox
