// Class-aware comparison of values. Numbers and texts are compared in place
// on their stored digits and bytes, big integers on the limbs they carry
// (so that comparing results of arithmetic never writes their deferred
// texts); only a `numb` whose text differs is read into its exact value.
#include "values/value_order.h"

#include <vector>

#include "core/text.h"
#include "values/bigint.h"
#include "values/content_order.h"
#include "values/int_convert.h"
#include "values/numb.h"
#include "values/operand.h"
#include "values/structural_order.h"
#include "values/value_class.h"

namespace mox {

namespace {

Order FromSign(int c) { return c < 0 ? Order::kBelow : (c > 0 ? Order::kAbove : Order::kEqual); }

std::string_view Payload(const Cell* blob) {
  BlobView b = BlobPayload(blob);
  return {reinterpret_cast<const char*>(b.data), static_cast<size_t>(b.size)};
}

Order NumbOrder(std::string_view x, std::string_view y) {
  if (x == y) return Order::kEqual;
  Numb a, b;
  NumbFromText(x, &a);
  NumbFromText(y, &b);
  return FromSign(CompareNumbs(a, b));
}

Order RealOrder(double x, double y) {
  if (x < y) return Order::kBelow;
  if (x > y) return Order::kAbove;
  return x == y ? Order::kEqual : Order::kUnordered;
}

// Two operands of one class other than vector.
Order SameClassOrder(const Operand& a, const Operand& b) {
  switch (a.cls) {
    case ValueClass::kBlob: return FromSign(Text::Compare(Payload(a.cell), Payload(b.cell)));
    case ValueClass::kVoid: return FromSign(StructuralOrder(a.cell, b.cell));
    case ValueClass::kInteger: return FromSign(CompareIntegers(OperandInteger(a), OperandInteger(b)));
    case ValueClass::kNumb: return NumbOrder(a.text, b.text);
    case ValueClass::kReal: return RealOrder(RealValue(a.cell), RealValue(b.cell));
    case ValueClass::kText: return FromSign(CompareContents(a.cell, b.cell));
    default: MOX_FAIL();
  }
}

// One pair of values (or of vector slots, which may be empty). Two distinct
// vectors are not decided here: *descend asks the caller to walk them.
Order PairOrder(Cell* x, Cell* y, bool top, bool* descend) {
  *descend = false;
  bool by_value = top && x != nullptr && x->IsLeaf() && x->Bytes()[0] == kRawByte;
  if (x == y && !by_value) return Order::kEqual;
  if (x == nullptr || y == nullptr) return x == nullptr ? Order::kBelow : Order::kAbove;
  // Two integer leaves are taken apart in place: a big one may carry its
  // limbs with its text not yet written, and ReadOperand would write it.
  if (IsIntegerLeaf(x) && IsIntegerLeaf(y)) return FromSign(CompareIntegers(ReadIntegerLeaf(x), ReadIntegerLeaf(y)));
  Operand a, b;
  ReadOperand(x, &a);
  ReadOperand(y, &b);
  if (a.cls != b.cls) return a.cls < b.cls ? Order::kBelow : Order::kAbove;
  if (a.cls != ValueClass::kVector) return SameClassOrder(a, b);
  *descend = true;
  return Order::kEqual;
}

// Any two values, vectors walked child by child on a stack of their own.
[[gnu::noinline]] Order GeneralOrder(Cell* a, Cell* b) {
  bool descend;
  Order order = PairOrder(a, b, true, &descend);
  if (!descend) return order;
  struct Frame {
    const Cell* x;
    const Cell* y;
    size_t next;  // index of the next pair of children
  };
  std::vector<Frame> stack{{a, b, 0}};
  while (!stack.empty()) {
    Frame& f = stack.back();
    size_t nx = VectorSize(f.x), ny = VectorSize(f.y);
    if (f.next == nx || f.next == ny) {
      if (nx != ny) return nx < ny ? Order::kBelow : Order::kAbove;
      stack.pop_back();  // equal: the enclosing vector goes on
      continue;
    }
    Cell* cx = VectorSlot(f.x, f.next);
    Cell* cy = VectorSlot(f.y, f.next);
    ++f.next;
    order = PairOrder(cx, cy, false, &descend);
    if (descend) {
      stack.push_back({cx, cy, 0});
    } else if (order != Order::kEqual) {
      return order;
    }
  }
  return Order::kEqual;
}

}  // namespace

// Two small integers, the common case, on a path with no stack frame.
Order ValueOrder(Cell* a, Cell* b) {
  int64_t x, y;
  if (SmallIntegerValue(a, &x) && SmallIntegerValue(b, &y))
    return x < y ? Order::kBelow : (x > y ? Order::kAbove : Order::kEqual);
  return GeneralOrder(a, b);
}

}  // namespace mox
