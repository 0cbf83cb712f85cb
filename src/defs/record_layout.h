// The global `_`: a text literal describing the memory layout of the C
// library records that the bridge hands to programs (addrinfo, dirent,
// fd_set, size_t, socklen_t, time_t).
#pragma once

#include "core/text.h"
#include "program/globals.h"

namespace mox {

// "[" + one record per type + "]"; a record is "[" + type name + its entries
// in offset order + "]", an entry "[" + field + "[" + size + "]]" or, for an
// unnamed gap, "[[" + size + "]]".
Text RecordLayoutText();

// Stores the layout text as a text leaf under the key "_".
void DefineRecordLayouts(GlobalTable& table);

}  // namespace mox
