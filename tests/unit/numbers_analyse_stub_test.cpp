// A stand-in for the cell analysis while the reducer's own is not linked:
// marks bracketed text leaves and applications of data to data as data,
// everything else as an ordinary value. Weak, so the real one replaces it.
// TODO(numbers): delete once AnalyseCell is defined in src/eval.
#include <vector>

#include "eval/analyse.h"

namespace mox {

__attribute__((weak)) void AnalyseCell(Cell* root) {
  std::vector<Cell*> work{root};
  while (!work.empty()) {
    Cell* c = work.back();
    if (c->Analysed()) {
      work.pop_back();
      continue;
    }
    if (c->IsLeaf()) {
      if (c->Bytes()[0] == '[') {
        c->MarkData();
      } else {
        c->SetAnalysisValue(1);
      }
      work.pop_back();
      continue;
    }
    if (!c->f->Analysed() || !c->a->Analysed()) {
      work.push_back(c->f);
      work.push_back(c->a);
      continue;
    }
    if (c->f->IsData() && c->a->IsData()) {
      c->MarkData();
    } else {
      c->SetAnalysisValue(1);
    }
    work.pop_back();
  }
}

}  // namespace mox
