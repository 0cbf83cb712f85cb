// Report: how every start-up stage and every run-time error value tells the
// user what went wrong. Five texts; the title "check" with the other fields
// empty is the all-clear value.
#pragma once

#include "core/text.h"

namespace mox {

struct Report {
  Text say;
  Text title = "check";
  Text vip;
  Text tip;
  Text way;

  bool IsAllClear() const { return title == std::string_view("check"); }
};

inline Report AllClearReport() { return Report{}; }

}  // namespace mox
