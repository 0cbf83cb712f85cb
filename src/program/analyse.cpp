// Cell analysis. A cell is analysed once; afterwards every question the
// reducer asks about it (how many arguments its head still needs, whether
// some argument inside it is a redex, which variables occur free in it, is
// it data) is a read of its header.
//
// The walk is iterative: unanalysed cells wait on an explicit stack, so a
// freshly parsed expression of any depth is analysed without host recursion.
#include "program/analyse.h"

#include "core/work_stack.h"
#include "front/charset.h"
#include "program/globals.h"

namespace mox {

namespace {

bool IsLowerName(std::string_view s) {
  for (char ch : s)
    if (!IsNameChar(static_cast<unsigned char>(ch))) return false;
  return !s.empty();
}

void AnalyseLeaf(Cell* c) {
  unsigned char b = c->Bytes()[0];
  if (IsDigit(b)) {  // a number: the commonest fresh leaf
    c->SetAnalysisValue(1);
    return;
  }
  if (b == '`' || b == kCycleByte || b == kVectorByte) {
    c->SetAnalysisValue(1);
    return;
  }
  if (b == kErrorByte) {
    c->SetAnalysisValue(2);
    return;
  }
  if (b == '[') {
    c->MarkData();
    return;
  }
  if (b >= 'A' && b <= 'Z' && c->Bytes()[1] == 0) {  // a combinator letter (a truth value K or H)
    if (CellRef* slot = Globals().FindByte(b)) {
      c->SetAnalysisValue(LeadingLambdas(slot->get(), kNoArity));
      c->SetFlag(false);
      return;
    }
  }
  std::string_view text = LeafView(c);
  if (!IsNameLeafText(text)) {
    c->SetAnalysisValue(1);
    return;
  }
  CellRef* slot = text.size() == 1 ? Globals().FindByte(b) : Globals().Find(text);
  if (slot != nullptr) {
    c->SetAnalysisValue(LeadingLambdas(slot->get(), kNoArity));
    c->SetFlag(false);
    return;
  }
  if (text.size() == 1 && b >= 'a' && b <= 'z') {  // a parameter variable
    c->SetAnalysisValue(kNoArity);
    c->SetField(uint32_t{1} << (b - 'a'));
    return;
  }
  // A name that no global holds can only have been made while the program
  // ran: a text's one-byte element such as a control byte or a byte of 128
  // or more. It stays a plain value; applied, it meets the undefined-name
  // rule of the instantiation and the run ends with its error value.
  c->SetAnalysisValue(1);
}

}  // namespace

bool IsNameLeafText(std::string_view s) {
  if (IsLowerName(s)) return true;
  if (s.size() != 1) return false;
  unsigned char b = static_cast<unsigned char>(s[0]);
  return (b >= 'A' && b <= 'Z') || (b < 32 && b != '\n') || b >= 127 || IsOperatorNameChar(b);
}

void AnalyseUnanalysed(Cell* root) {
  if (root->IsLeaf()) return AnalyseLeaf(root);
  if (root->f->Analysed() && root->a->Analysed()) return AnalyseApplication(root);
  WorkStack<Cell*> stack;
  stack.push_back(root);
  while (!stack.empty()) {
    Cell* c = stack.back();
    if (c->Analysed()) {
      stack.pop_back();
    } else if (c->IsLeaf()) {
      AnalyseLeaf(c);
      stack.pop_back();
    } else if (!c->f->Analysed()) {
      stack.push_back(c->f);
    } else if (!c->a->Analysed()) {
      stack.push_back(c->a);
    } else {
      AnalyseApplication(c);
      stack.pop_back();
    }
  }
}

}  // namespace mox
