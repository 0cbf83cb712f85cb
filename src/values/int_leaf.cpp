// Making and reading integer leaves with their limbs.
#include "values/int_leaf.h"

#include <cstring>

#include "core/deferred_text.h"
#include "core/write_epoch.h"
#include "values/dec_digits.h"

namespace mox {

namespace {

constexpr size_t kTailHead = 2;  // epoch and limb count

size_t LimbsFor(size_t digits) { return (digits + kLimbDigits - 1) / kLimbDigits; }

// A new integer leaf: the sign byte written, ndigits left to fill at
// *digits; with a tail for the limbs when the magnitude may need more than
// one, whose limb area is returned in *limbs (else null).
Cell* StartInteger(bool negative, size_t ndigits, char** digits, uint64_t** limbs) {
  size_t n = ndigits + (negative ? 1 : 0);
  Cell* c;
  *limbs = nullptr;
  if (ndigits > kLimbDigits) {
    c = AllocLeafWithTail(n, kTailHead + LimbsFor(ndigits));
    size_t words;
    uint64_t* tail = LeafTail(c, &words);
    tail[0] = WriteEpoch();
    *limbs = tail + kTailHead;
  } else {
    c = AllocLeaf(n);
  }
  char* p = reinterpret_cast<char*>(c->Bytes());
  if (negative) *p++ = '0';
  *digits = p;
  return c;
}

void SetLimbCount(Cell* c, size_t count) {
  size_t words;
  LeafTail(c, &words)[1] = count;
}

CellRef FinishInteger(Cell* c) {
  CellRef leaf = FinishLeaf(c);
  MOX_ASSERT(IsCanonicalInteger(LeafView(leaf.get())));
  return leaf;
}

// Writes the digits of every limb but the top one, which fill the end of
// the text (the writer of a deferred integer text).
void WriteLowerLimbs(Cell* c) {
  size_t words;
  const uint64_t* tail = LeafTail(c, &words);
  MOX_ASSERT(tail[0] == WriteEpoch() && tail[1] >= 2);
  Limbs lower(tail + kTailHead, tail[1] - 1);
  char* end = reinterpret_cast<char*>(c->Bytes()) + c->StoredLength();
  char* p = end - kLimbDigits * lower.size();
  for (size_t i = lower.size(); i-- > 0; p += kLimbDigits) WriteLimbDigits(p, lower[i]);
}

// Completes a leaf of several limbs, whose tail holds them: the sign and
// the top limb's digits written now, the other limbs' digits deferred. The
// placeholder digits are zeros, so that the unwritten text still has its
// kind, sign and length for any check of its leading bytes. The top limb
// is written as 18 digits followed by 18 zeros, and the 18 bytes from its
// first significant digit copied at once: its own digits, then zeros (the
// text has at least 19 digits, LimbDigitCount(magnitude)).
CellRef DeferLowerLimbs(Cell* c, bool negative, Limbs magnitude, size_t ndigits) {
  MOX_ASSERT(magnitude.size() >= 2 && magnitude.back() != 0 && ndigits > kLimbDigits);
  size_t top = ndigits - (magnitude.size() - 1) * kLimbDigits;
  char* p = reinterpret_cast<char*>(c->Bytes());
  if (negative) *p++ = '0';
  char lead[2 * kLimbDigits];
  WriteLimbDigits(lead, magnitude.back());
  std::memset(lead + kLimbDigits, '0', kLimbDigits);
  std::memcpy(p, lead + kLimbDigits - top, kLimbDigits);
  std::memset(p + kLimbDigits, '0', ndigits - kLimbDigits);
  DeferText(c, WriteLowerLimbs);
  return FinishLeaf(c);
}

// A leaf of several limbs, copied.
CellRef DeferredLimbsLeaf(bool negative, Limbs magnitude) {
  char* p;
  uint64_t* limbs;
  size_t ndigits = LimbDigitCount(magnitude);
  Cell* c = StartInteger(negative, ndigits, &p, &limbs);
  MOX_ASSERT(limbs != nullptr);
  std::memcpy(limbs, magnitude.data(), magnitude.size_bytes());
  SetLimbCount(c, magnitude.size());
  return DeferLowerLimbs(c, negative, magnitude, ndigits);
}

}  // namespace

IntText ReadIntText(std::string_view text) {
  text = text.substr(0, DigitRunLength(text));
  bool negative = text.size() > 1 && text[0] == '0';
  size_t lead = 0;
  while (lead < text.size() && text[lead] == '0') ++lead;
  if (lead == text.size()) return {false, "0"};
  return {negative, text.substr(lead)};
}

std::string_view MagnitudeDigits(const IntText& a) {
  if (a.deferred != nullptr) WriteDeferredText(a.deferred);
  return a.magnitude;
}

IntText ReadIntegerLeaf(const Cell* c) {
  size_t words;
  uint64_t* tail = LeafTail(c, &words);
  if (tail != nullptr && tail[0] == WriteEpoch()) {
    // Unchanged since it was made: the text is canonical, its length the
    // one the leaf was made with.
    std::string_view text(reinterpret_cast<const char*>(c->Bytes()), c->StoredLength());
    bool negative = text.size() > 1 && text[0] == '0';
    return {negative, text.substr(negative ? 1 : 0), Limbs(tail + kTailHead, tail[1]), true,
            c->TextDeferred() ? c : nullptr};
  }
  MOX_ASSERT(!c->TextDeferred());  // deferred texts are written before the epoch moves
  std::string_view text = LeafView(c);
  IntText a = ReadIntText(text);
  // The limbs are stamped only for a text that is all number, of the length
  // the leaf was made with: the path above reads them with that whole text
  // (a program may have written other bytes into it).
  bool whole = a.magnitude.data() + a.magnitude.size() == text.data() + text.size() &&
               text.size() == c->StoredLength();
  if (whole && tail != nullptr && words >= kTailHead + LimbsFor(a.magnitude.size())) {
    tail[1] = ReadLimbs(a.magnitude, tail + kTailHead);
    tail[0] = WriteEpoch();
    a.limbs = Limbs(tail + kTailHead, tail[1]);
    a.has_limbs = true;
  }
  return a;
}

LimbLeafDraft StartLimbLeaf(bool negative, size_t max_digits, size_t max_limbs) {
  size_t max_text = max_digits + (negative ? 1 : 0);
  size_t head = LeafBlockBytes(max_text) / 8;  // the word before the tail
  size_t bytes = 8 * (head + 1 + kTailHead + max_limbs);
  auto* block = static_cast<uint64_t*>(BlockAlloc(bytes));
  return {block + head + 1 + kTailHead, block, bytes, max_limbs, max_text, negative};
}

// The text is placed once its length is known: a shorter one than the
// longest allowed starts the tail earlier, and the limbs move down with it
// (for a sum, one time in eight or so: its length is that of the longer
// operand or one more).
CellRef FinishLimbLeaf(const LimbLeafDraft& d, size_t count) {
  MOX_ASSERT(count <= d.max_limbs);
  Limbs computed(d.limbs, count);
  if (count < 2 || 2 * count < d.max_limbs) {
    CellRef own = LimbsLeaf(d.negative, computed);
    BlockFree(d.block, d.bytes);
    return own;
  }
  size_t ndigits = LimbDigitCount(computed);
  size_t n = ndigits + (d.negative ? 1 : 0);
  MOX_ASSERT(n <= d.max_text);
  Cell* c = StartLeafWithTail(d.block, d.bytes, n);
  size_t words;
  uint64_t* tail = LeafTail(c, &words);
  uint64_t* limbs = tail + kTailHead;
  if (limbs != d.limbs) std::memmove(limbs, d.limbs, count * sizeof(uint64_t));
  tail[0] = WriteEpoch();
  tail[1] = count;
  return DeferLowerLimbs(c, d.negative, Limbs(limbs, count), ndigits);
}

bool IsCanonicalInteger(std::string_view text) {
  if (text.empty()) return false;
  if (text.size() == 1) return IsDigit(static_cast<unsigned char>(text[0]));
  size_t start = text[0] == '0' ? 1 : 0;
  return text[start] >= '1' && text[start] <= '9';
}

CellRef SmallIntegerLeaf(bool negative, uint64_t magnitude) {
  if (magnitude >= kLimbBase) {
    uint64_t limbs[2] = {magnitude % kLimbBase, magnitude / kLimbBase};
    return LimbsLeaf(negative, limbs);
  }
  int n = DigitCount(magnitude);
  char* p;
  uint64_t* limbs;
  Cell* c = StartInteger(negative && magnitude != 0, static_cast<size_t>(n), &p, &limbs);
  WriteDigits(p, magnitude, n);
  return FinishInteger(c);
}

CellRef LimbsLeaf(bool negative, Limbs magnitude) {
  if (magnitude.size() >= 2) return DeferredLimbsLeaf(negative, magnitude);
  char* p;
  uint64_t* limbs;
  Cell* c = StartInteger(negative && !magnitude.empty(), LimbDigitCount(magnitude), &p, &limbs);
  WriteLimbs(magnitude, p);
  if (limbs != nullptr) {
    std::memcpy(limbs, magnitude.data(), magnitude.size_bytes());
    SetLimbCount(c, magnitude.size());
  }
  return FinishInteger(c);
}

CellRef DigitsLeaf(bool negative, std::string_view digits, const Limbs* given) {
  char* p;
  uint64_t* limbs;
  Cell* c = StartInteger(negative && digits != "0", digits.size(), &p, &limbs);
  std::memcpy(p, digits.data(), digits.size());
  if (limbs != nullptr) {
    if (given != nullptr) {
      std::memcpy(limbs, given->data(), given->size_bytes());
      SetLimbCount(c, given->size());
    } else {
      SetLimbCount(c, ReadLimbs(digits, limbs));
    }
  }
  return FinishInteger(c);
}

}  // namespace mox
