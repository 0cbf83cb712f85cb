// Classifying the program's value; see result.h.
#include "driver/result.h"

#include "diag/error_value.h"
#include "diag/render.h"
#include "program/globals.h"
#include "values/int_convert.h"

namespace mox {

void ClassifyResult(Report& report, CellRef result) {
  Cell* r = result.get();
  MOX_ASSERT(r != nullptr);
  if (r->IsLeaf() && r->First() == kCycleByte) {
    Text name(LeafView(r).substr(1));
    report.say = Text("Cycle detected on function ") + name + Text(".");
    report.title = "cycle";
    report.vip = ShortenedForm(name);
    return;
  }
  if (IsErrorValue(r)) {
    report = DecodeErrorValue(LeafView(r->a));
    return;
  }
  if (PassesIntegerTest(r)) {
    Globals().Set(Text(), std::move(result));
    return;
  }
  Text shown = DisplayForm(r);
  report.say = Text("The program must return an integer. Instead we encountered:\n") + shown;
  report.title = "range";
  report.tip = ShortenedForm(shown);
}

}  // namespace mox
