// The record layouts. Each record starts as one gap over its whole size and
// its fields are inserted one by one at their offsets, splitting the gap that
// holds them; the result must be the fixed text that programs rely on.
#include "defs/record_layout.h"

#include <string>
#include <vector>

namespace mox {

namespace {

struct Entry {
  std::string name;  // empty for a gap
  int64_t size;
};

struct Field {
  const char* name;
  int64_t offset;
  int64_t size;
};

struct Record {
  const char* name;
  int64_t size;
  std::vector<Field> fields;  // in insertion order
};

const std::vector<Record>& Records() {
  static const std::vector<Record> records = {
      {"addrinfo", 48,
       {{"ai_flags", 0, 4}, {"ai_family", 4, 4}, {"ai_socktype", 8, 4}, {"ai_protocol", 12, 4},
        {"ai_addrlen", 16, 8}, {"ai_addr", 32, 8}, {"ai_canonname", 24, 8}, {"ai_next", 40, 8}}},
      {"dirent", 296,
       {{"d_ino", 0, 4}, {"d_off", 4, 4}, {"d_namlen", 16, 8}, {"d_reclen", 8, 2}, {"d_type", 24, 4},
        {"d_name", 28, 261}}},
      {"fd_set", 520, {}},
      {"size_t", 8, {}},
      {"socklen_t", 4, {}},
      {"time_t", 8, {}},
  };
  return records;
}

// Replaces the gap that holds the field by the gap before it, the field and
// the gap after it (empty gaps are left out).
void InsertField(std::vector<Entry>& entries, const Field& field) {
  int64_t offset = 0;
  for (size_t i = 0; i < entries.size(); ++i) {
    int64_t end = offset + entries[i].size;
    if (field.offset < end) {
      MOX_ASSERT(entries[i].name.empty());          // overlaps a named entry
      MOX_ASSERT(field.offset + field.size <= end);  // runs past its gap
      std::vector<Entry> parts;
      if (field.offset > offset) parts.push_back({"", field.offset - offset});
      parts.push_back({field.name, field.size});
      if (end > field.offset + field.size) parts.push_back({"", end - field.offset - field.size});
      entries.erase(entries.begin() + static_cast<std::ptrdiff_t>(i));
      entries.insert(entries.begin() + static_cast<std::ptrdiff_t>(i), parts.begin(), parts.end());
      return;
    }
    offset = end;
  }
  MOX_FAIL();  // beyond the record
}

void AppendRecord(std::string& out, const Record& record) {
  std::vector<Entry> entries{{"", record.size}};
  for (const Field& field : record.fields) InsertField(entries, field);
  out += "[";
  out += record.name;
  for (const Entry& e : entries) out += "[" + e.name + "[" + std::to_string(e.size) + "]]";
  out += "]";
}

constexpr const char kExpectedLayout[] =
    "[[addrinfo[ai_flags[4]][ai_family[4]][ai_socktype[4]][ai_protocol[4]][ai_addrlen[8]]"
    "[ai_canonname[8]][ai_addr[8]][ai_next[8]]][dirent[d_ino[4]][d_off[4]][d_reclen[2]][[6]]"
    "[d_namlen[8]][d_type[4]][d_name[261]][[7]]][fd_set[[520]]][size_t[[8]]][socklen_t[[4]]]"
    "[time_t[[8]]]]";

}  // namespace

Text RecordLayoutText() {
  std::string out = "[";
  for (const Record& record : Records()) AppendRecord(out, record);
  out += "]";
  MOX_ASSERT(out == kExpectedLayout);
  return Text(out);
}

void DefineRecordLayouts(GlobalTable& table) { table.Set(Text("_"), MakeLeaf(RecordLayoutText())); }

}  // namespace mox
