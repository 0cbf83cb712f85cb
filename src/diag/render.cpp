// Display forms of cells, in two passes over the graph, both with explicit
// stacks (values can be nested a million deep).
//
// The rules for an application (f a) look only at a few facts about the
// forms F and A: their first, second and last bytes, whether A is one token,
// and where A's first "[" closes. Pass 1 computes these facts (a Shape)
// bottom-up without building any text and records which rule each
// application takes, in pre-order. Pass 2 walks the graph again in the same
// order and writes the bytes into one buffer; rule 1's "F less its last byte"
// is a pop of the buffer's last byte. Each pass costs time in proportion to
// the output, with no repeated copying. That output can be exponential in
// the number of cells (a value whose parts are shared is written out once
// per path), so both passes give way to an interrupt: the text is then
// empty, and the interrupt ends the run before anyone reads it. And once
// pass 1 has met many parts, it measures the whole form first, each shared
// cell once: a form larger than the machine is then reported as out of
// memory at once, not after the walk has filled the memory.
#include "diag/render.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "core/cell_hash.h"
#include "core/interrupt.h"
#include "core/memory.h"
#include "core/real_text.h"
#include "core/square_brackets.h"

namespace mox {

namespace {

enum class ByteKind : uint8_t { kLetter, kDigit, kMark };

ByteKind KindOf(unsigned char b) {
  if (b == '_' || (b >= 'a' && b <= 'z')) return ByteKind::kLetter;
  if (IsDigit(b)) return ByteKind::kDigit;
  return ByteKind::kMark;
}

int BracketStep(unsigned char b) { return b == '[' ? 1 : b == ']' ? -1 : 0; }

constexpr int64_t kNoPrefix = std::numeric_limits<int64_t>::max();

// Lengths and depths of measured forms stop growing here (a shared graph's
// form can be longer than any integer holds); no form that long is made.
constexpr int64_t kMostMeasured = int64_t{1} << 61;

int64_t Sum(int64_t x, int64_t y) { return std::clamp(x + y, -kMostMeasured, kMostMeasured); }

// What the rules need to know of a (non-empty) form, without its bytes.
// Square-bracket depth counts "[" as +1 and "]" as -1 from the first byte.
struct Shape {
  int64_t length;
  int64_t depth;      // depth after the whole form
  int64_t low;        // least depth after any prefix, the whole form included
  int64_t low_inner;  // least depth after a proper prefix; kNoPrefix for one byte
  unsigned char first, second, last;
  bool token;  // every byte after the first is of the first byte's kind, not a mark
};

Shape ShapeOf(std::string_view s) {
  MOX_ASSERT(!s.empty());
  Shape r{static_cast<int64_t>(s.size()), 0, kNoPrefix, kNoPrefix, 0, 0, 0, true};
  r.first = static_cast<unsigned char>(s.front());
  r.second = s.size() > 1 ? static_cast<unsigned char>(s[1]) : 0;
  r.last = static_cast<unsigned char>(s.back());
  ByteKind kind = KindOf(r.first);
  for (size_t i = 0; i < s.size(); ++i) {
    auto b = static_cast<unsigned char>(s[i]);
    if (i > 0 && (KindOf(b) != kind || kind == ByteKind::kMark)) r.token = false;
    if (i + 1 == s.size()) r.low_inner = r.low;
    r.depth += BracketStep(b);
    r.low = std::min(r.low, r.depth);
  }
  return r;
}

Shape Join(const Shape& x, const Shape& y) {
  Shape r;
  r.length = Sum(x.length, y.length);
  r.depth = Sum(x.depth, y.depth);
  r.low = std::min(x.low, Sum(x.depth, y.low));
  r.low_inner = y.low_inner == kNoPrefix ? x.low : std::min(x.low, Sum(x.depth, y.low_inner));
  r.first = x.first;
  r.second = x.length > 1 ? x.second : y.first;
  r.last = y.last;
  ByteKind kind = KindOf(x.first);
  r.token = x.token && y.token && kind != ByteKind::kMark && KindOf(y.first) == kind;
  return r;
}

// The form less its last byte, for rule 1, where the form starts with "(".
// Only ever the left part of a Join, which reads neither `last` nor
// `low_inner` of its left part.
Shape DropLast(const Shape& f) {
  MOX_ASSERT(f.first == '(' && f.length >= 2);  // forms starting "(" have two bytes
  Shape r = f;
  r.length = f.length - 1;
  r.depth = f.depth - BracketStep(f.last);
  r.low = f.low_inner;
  r.token = r.length == 1;
  return r;
}

const Shape& Literal(std::string_view s) {
  static const Shape open = ShapeOf("("), close = ShapeOf(")"), space = ShapeOf(" "),
                     cray = ShapeOf("cray");
  if (s == "(") return open;
  if (s == ")") return close;
  if (s == " ") return space;
  MOX_ASSERT(s == "cray");
  return cray;
}

// "(/ " once per element, before the "cray" of a vector's form.
Shape VectorPrefix(uint64_t n) {
  Shape r = ShapeOf("(/ ");
  r.length = 3 * static_cast<int64_t>(n);  // n < 2^32
  return r;
}

enum Rule : uint8_t { kJoinList = 1, kAppendText, kSplitToken, kSameKind, kAbut };

bool ClosesAtEnd(const Shape& a) { return a.first == '[' && a.depth == 0 && a.low_inner >= 1; }

Rule ChooseRule(const Shape& f, const Shape& a) {
  if (f.first == '(' && f.second != ')') return kJoinList;
  if (ClosesAtEnd(a)) return kAppendText;
  if (!a.token) return kSplitToken;
  ByteKind fk = KindOf(f.last), ak = KindOf(a.first);
  if (fk != ByteKind::kMark && fk == ak) return kSameKind;
  return kAbut;
}

Shape ApplyRule(Rule rule, const Shape& f, const Shape& a) {
  switch (rule) {
    case kJoinList:
      return Join(Join(Join(DropLast(f), Literal(" ")), a), Literal(")"));
    case kSplitToken:
    case kSameKind:
      return Join(Join(Join(Join(Literal("("), f), Literal(" ")), a), Literal(")"));
    case kAppendText:
    case kAbut:
      break;
  }
  return Join(f, a);
}

void AppendBlobForm(std::string& out, const Cell* c) {
  BlobView blob = BlobPayload(c);
  out += "cape[";
  for (uint64_t i = 0; i < blob.size; ++i) {
    AppendEscaped(out, blob.data[i], true);
  }
  out += "]";
}

// The form of a leaf other than a vector (a null empty vector slot included):
// a view of the cell's own text, or of `scratch` where the form is made.
std::string_view LeafForm(const Cell* c, std::string& scratch) {
  if (c == nullptr) return "U";
  switch (c->First()) {
    case kCycleByte:
    case kErrorByte:
      return "()";
    case kRawByte: {
      double d;
      std::memcpy(&d, c->Bytes() + 1, sizeof d);
      scratch = "real[";
      scratch += RealText(d).view();
      scratch += "]";
      return scratch;
    }
    case kBlobByte:
      scratch.clear();
      AppendBlobForm(scratch, c);
      return scratch;
    default:
      return LeafView(c);
  }
}

bool IsComposite(const Cell* c) {
  return c != nullptr && (c->IsApp() || c->First() == kVectorByte);
}

// A cell being walked: `step` counts the parts done; `aux` is the rule index
// (pass 1) or the rule (pass 2) of an application.
struct Frame {
  const Cell* cell;
  uint64_t aux;
  uint32_t step;
};

const Cell* PartAt(const Cell* c, uint32_t step) {
  if (c->IsApp()) return step == 0 ? c->f : c->a;
  return VectorSlot(c, step);
}
uint32_t PartCount(const Cell* c) { return c->IsApp() ? 2 : VectorSize(c); }

// Pass 1 meets this many parts before it measures the whole form.
constexpr uint64_t kMeasureAfter = uint64_t{1} << 20;

bool FitsInMemory(const Cell* root);

// Pass 1: the Shape of the whole form, and the rule of every application in
// pre-order. False when interrupted, or refused as too long. Measuring
// (kMeasure), only the Shape, each shared cell's once: `rules` is unused.
template <bool kMeasure>
bool ChooseRules(const Cell* root, std::vector<Rule>& rules, Shape* whole) {
  std::string scratch;
  uint64_t parts = 0;
  std::vector<Shape> shapes;  // shapes of finished parts
  std::vector<Frame> stack;
  CellMap<Shape> measured;  // of the cells held more than once
  auto visit = [&](const Cell* c) {
    if (kMeasure && IsComposite(c) && c->Count() > 1) {
      if (const Shape* known = measured.Find(c)) {
        shapes.push_back(*known);
        return;
      }
    }
    if (!IsComposite(c)) {
      shapes.push_back(ShapeOf(LeafForm(c, scratch)));
    } else if (c->IsApp()) {
      stack.push_back({c, rules.size(), 0});
      if (!kMeasure) rules.push_back(kAbut);
    } else {
      uint32_t n = VectorSize(c);
      shapes.push_back(n == 0 ? Literal("cray") : Join(VectorPrefix(n), Literal("cray")));
      stack.push_back({c, 0, 0});
    }
  };
  visit(root);
  while (!stack.empty()) {
    Frame& top = stack.back();
    const Cell* c = top.cell;
    if (top.step > 0 && c->IsLeaf()) {  // a vector element is done: fold it in
      Shape element = shapes.back();
      shapes.pop_back();
      Shape& so_far = shapes.back();
      so_far = Join(Join(Join(so_far, Literal(" ")), element), Literal(")"));
    }
    if (top.step == PartCount(c)) {
      if (c->IsApp()) {
        Shape a = shapes.back();
        shapes.pop_back();
        Shape f = shapes.back();
        Rule rule = ChooseRule(f, a);
        if (!kMeasure) rules[top.aux] = rule;
        shapes.back() = ApplyRule(rule, f, a);
      }
      if (kMeasure && c->Count() > 1) measured.Insert(c, shapes.back());
      stack.pop_back();
      continue;
    }
    if (InterruptNotedEvery(parts)) return false;
    if (!kMeasure && parts == kMeasureAfter && !FitsInMemory(root)) return false;
    const Cell* part = PartAt(c, top.step++);
    visit(part);  // may grow the stack: `top` is not used after this
  }
  MOX_ASSERT(shapes.size() == 1);
  *whole = shapes.back();
  return true;
}

// Whether the whole form may be tried, by its length (as MemoryRequestFits:
// false when refused or interrupted).
bool FitsInMemory(const Cell* root) {
  std::vector<Rule> unused;
  Shape whole{};
  if (!ChooseRules<true>(root, unused, &whole)) return false;
  return MemoryRequestFits(static_cast<uint64_t>(whole.length), "a display form");
}

// Pass 2: the bytes, following the rules chosen in pass 1. False when
// interrupted.
bool WriteForm(const Cell* root, const std::vector<Rule>& rules, std::string& out) {
  std::string scratch;
  uint64_t parts = 0;
  std::vector<Frame> stack;
  size_t next_rule = 0;
  auto visit = [&](const Cell* c) {
    if (!IsComposite(c)) {
      out += LeafForm(c, scratch);
    } else if (c->IsApp()) {
      Rule rule = rules[next_rule++];
      if (rule == kSplitToken || rule == kSameKind) out += "(";
      stack.push_back({c, rule, 0});
    } else {
      for (uint32_t i = 0, n = VectorSize(c); i < n; ++i) out += "(/ ";
      out += "cray";
      stack.push_back({c, 0, 0});
    }
  };
  visit(root);
  while (!stack.empty()) {
    Frame& top = stack.back();
    const Cell* c = top.cell;
    auto rule = static_cast<Rule>(top.aux);
    if (c->IsLeaf()) {
      if (top.step > 0) out += ")";   // close the element before
      if (top.step < PartCount(c)) out += " ";
    } else if (top.step == 1) {
      if (rule == kJoinList) out.pop_back();
      if (rule != kAppendText && rule != kAbut) out += " ";
    } else if (top.step == 2 && rule != kAppendText && rule != kAbut) {
      out += ")";
    }
    if (top.step == PartCount(c)) {
      stack.pop_back();
      continue;
    }
    if (InterruptNotedEvery(parts)) return false;
    const Cell* part = PartAt(c, top.step++);
    visit(part);
  }
  return true;
}

}  // namespace

Text DisplayForm(const Cell* c) {
  MOX_ASSERT(c != nullptr);
  std::vector<Rule> rules;
  Shape whole{};
  if (!ChooseRules<false>(c, rules, &whole)) return Text();
  std::string out;
  out.reserve(static_cast<size_t>(whole.length));
  if (!WriteForm(c, rules, out)) return Text();
  MOX_ASSERT(static_cast<int64_t>(out.size()) == whole.length);
  return Text(out);
}

}  // namespace mox
