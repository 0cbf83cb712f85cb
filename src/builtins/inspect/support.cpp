// Argument reading, the index rule and the bit and byte views shared by the
// inspection builtins.
#include "builtins/inspect/support.h"

#include "core/graph_fold.h"
#include "values/bigint.h"
#include "values/number_bits.h"
#include "values/sequences.h"
#include "values/text_elements.h"
#include "values/value_class.h"

namespace mox {

int TruthValue(const Cell* c) {
  if (IsOneByteLeaf(c, 'K')) return 1;
  if (IsOneByteLeaf(c, 'H')) return 0;
  return -1;
}

bool ByteArgument(Cell* c, unsigned char* byte) {
  Operand op;
  ReadOperand(c, &op);
  if (op.cls != ValueClass::kInteger) return false;
  IntText t = ReadIntText(op.text);
  if (t.negative || t.magnitude.size() > 3) return false;
  unsigned v = 0;
  for (char d : t.magnitude) v = v * 10 + static_cast<unsigned>(d - '0');
  if (v > 255) return false;
  *byte = static_cast<unsigned char>(v);
  return true;
}

bool ResolveIndex(int64_t n, uint64_t size, uint64_t* index) {
  if (n < 0) {
    uint64_t back = ~static_cast<uint64_t>(n) + 1;  // |n|, safe for INT64_MIN
    if (back > size) return false;
    *index = size - back;
    return true;
  }
  if (static_cast<uint64_t>(n) >= size) return false;
  *index = static_cast<uint64_t>(n);
  return true;
}

uint64_t RealBits(const Cell* real) {
  uint64_t bits;
  std::memcpy(&bits, real->Bytes() + 1, sizeof bits);
  return bits;
}

CellRef RealFromBits(uint64_t bits) {
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return MakeReal(d);
}

void OperandNumberBits(const Operand& op, mpz_t bits) {
  MOX_ASSERT(op.cls == ValueClass::kInteger || op.cls == ValueClass::kNumb);
  NumberBitsOfText(op.text, bits);
}

bool SequenceBytes(const Operand& op, std::string* scratch, std::string_view* bytes) {
  MOX_ASSERT(op.cls == ValueClass::kBlob || op.cls == ValueClass::kText);
  return JoinBytes(op, scratch, bytes);
}

namespace {

// a + b into *sum; false on overflow.
bool AddLength(uint64_t a, uint64_t b, uint64_t* sum) { return !__builtin_add_overflow(a, b, sum); }

}  // namespace

bool ContentLength(Cell* data, uint64_t* length) {
  constexpr uint64_t kTooLong = ~uint64_t{0};
  auto leaf = [](Cell* c) -> uint64_t { return BracketedContent(c).size(); };
  auto app = [](Cell*, uint64_t f, uint64_t a) {
    uint64_t sum;
    if (f == kTooLong || a == kTooLong || !AddLength(f, a, &sum) || !AddLength(sum, 2, &sum)) return kTooLong;
    return sum;
  };
  *length = FoldBottomUp<uint64_t>(data, leaf, app);
  return *length != kTooLong;
}

}  // namespace mox
