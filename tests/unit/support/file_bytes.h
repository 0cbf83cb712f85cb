// Test and benchmark helper: a file's whole contents, NUL bytes included
// (empty when it cannot be read).
#pragma once

#include <cstdio>
#include <string>

namespace mox::testing_files {

inline std::string FileBytes(const std::string& path) {
  std::string s;
  if (FILE* f = std::fopen(path.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    std::fclose(f);
  }
  return s;
}

}  // namespace mox::testing_files
