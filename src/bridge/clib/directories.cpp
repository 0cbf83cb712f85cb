// Directory reading: opendir, readdir and closedir, with results of one shape
// on every host. readdir fills a fixed 296-byte `dirent` record owned by the
// handle (little-endian): d_ino 4 bytes at 0 (always 0), d_off 4 at 4,
// d_reclen 2 at 8 (296), d_namlen 8 at 16, d_type 4 at 24 (0x4000 directory,
// 0x8000 regular file, 0x2000 device, 0xC000 symbolic link), d_name at 28
// (at most 260 bytes and a NUL).
//
// d_off is a hash of the next entry's name (5381, then hash * 33 + unit for
// each UTF-16 code unit, AND 0x7FFFFFFF), or 0x7FFFFFFF after the last entry.
// Names are the host's bytes; for the hash they are read as UTF-8, a byte
// that is no part of a valid sequence counting as one unit of its own value.
//
// Choices made here:
// - opendir reads the whole directory at once and readdir hands out the
//   entries sorted bytewise by name ("." and ".." included), so that a
//   listing is the same on every file system and later changes to the
//   directory do not show (C leaves both open).
// - Pipes and sockets count as devices (0x2000): special files that are
//   neither directories nor regular files.
// - A name too long for d_name (never on Linux, whose names have at most 255
//   bytes) gives the record of a name that cannot be converted: d_name "?",
//   d_namlen 1, d_off -1 and the other fields 0.
// - readdir of a handle that is not open answers 0 with errno EBADF, as
//   closedir does.
// - A handle is the address of its record with a serial number in bits 48
//   to 62, which a user-space address leaves clear: the allocator may hand
//   a closed record's memory to the next opendir, and the serial keeps the
//   old handle from naming the new directory (until 32,768 more opens).
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "bridge/c_function.h"
#include "bridge/families.h"

namespace mox {

namespace {

constexpr size_t kRecordSize = 296;
constexpr size_t kNameOffset = 28;
constexpr size_t kLongestName = 260;
constexpr uint32_t kLastEntry = 0x7FFFFFFF;

struct Entry {
  std::string name;
  uint32_t type;
};

struct Directory {
  std::vector<Entry> entries;  // sorted by name
  size_t next = 0;
  unsigned char record[kRecordSize];
};

using Handle = uint64_t;
constexpr int kSerialShift = 48;
constexpr Handle kSerials = Handle{1} << 15;

std::map<Handle, std::unique_ptr<Directory>>& OpenDirectories() {
  static std::map<Handle, std::unique_ptr<Directory>> open;
  return open;
}

// The open directory of a handle, or null with errno EBADF.
Directory* Find(Handle handle) {
  auto it = OpenDirectories().find(handle);
  if (it != OpenDirectories().end()) return it->second.get();
  errno = EBADF;
  return nullptr;
}

uint32_t TypeOfMode(mode_t mode) {
  if (S_ISDIR(mode)) return 0x4000;
  if (S_ISREG(mode)) return 0x8000;
  if (S_ISLNK(mode)) return 0xC000;
  return 0x2000;
}

uint32_t TypeOf(DIR* dir, const dirent& e) {
  switch (e.d_type) {
    case DT_DIR: return 0x4000;
    case DT_REG: return 0x8000;
    case DT_LNK: return 0xC000;
    case DT_UNKNOWN: break;  // some file systems do not say
    default: return 0x2000;
  }
  struct stat st;
  if (fstatat(dirfd(dir), e.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return 0x8000;
  return TypeOfMode(st.st_mode);
}

// One code point of UTF-8 at s[i]; its length in *length. A byte that does
// not start a valid sequence is taken as the code point of its own value.
uint32_t DecodeUtf8(std::string_view s, size_t i, size_t* length) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
  unsigned char b = byte(i);
  size_t n = b < 0x80 ? 1 : b >= 0xC2 && b < 0xE0 ? 2 : b >= 0xE0 && b < 0xF0 ? 3 : b >= 0xF0 && b < 0xF5 ? 4 : 0;
  *length = 1;
  if (n <= 1 || i + n > s.size()) return b;
  uint32_t cp = b & (0x7F >> n);
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return b;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  bool overlong = (n == 3 && cp < 0x800) || (n == 4 && cp < 0x10000);
  if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp < 0xE000)) return b;
  *length = n;
  return cp;
}

uint32_t NameHash(std::string_view name) {
  uint32_t hash = 5381;
  for (size_t i = 0, n; i < name.size(); i += n) {
    uint32_t cp = DecodeUtf8(name, i, &n);
    if (cp < 0x10000) {
      hash = hash * 33 + cp;
    } else {
      hash = hash * 33 + (0xD800 + ((cp - 0x10000) >> 10));
      hash = hash * 33 + (0xDC00 + ((cp - 0x10000) & 0x3FF));
    }
  }
  return hash & kLastEntry;
}

template <typename T>
void Put(unsigned char* record, size_t offset, T v) {
  std::memcpy(record + offset, &v, sizeof v);
}

void FillRecord(Directory* d, const Entry& e) {
  unsigned char* r = d->record;
  std::memset(r, 0, kRecordSize);
  if (e.name.size() > kLongestName) {
    Put<int32_t>(r, 4, -1);
    Put<uint64_t>(r, 16, 1);
    r[kNameOffset] = '?';
    return;
  }
  uint32_t next = d->next < d->entries.size() ? NameHash(d->entries[d->next].name) : kLastEntry;
  Put<uint32_t>(r, 4, next);
  Put<uint16_t>(r, 8, kRecordSize);
  Put<uint64_t>(r, 16, e.name.size());
  Put<uint32_t>(r, 24, e.type);
  std::memcpy(r + kNameOffset, e.name.data(), e.name.size());
}

// errno as the host's opendir sets it: ENOENT for an empty or missing path,
// EACCES, ENOTDIR.
Handle OpenDirectory(const char* path) {
  static Handle serial = 0;
  DIR* dir = ::opendir(path);
  if (dir == nullptr) return 0;
  auto d = std::make_unique<Directory>();
  while (const dirent* e = ::readdir(dir)) d->entries.push_back({e->d_name, TypeOf(dir, *e)});
  ::closedir(dir);
  std::sort(d->entries.begin(), d->entries.end(), [](const Entry& a, const Entry& b) { return a.name < b.name; });
  serial = (serial + 1) % kSerials;
  Handle handle = reinterpret_cast<uintptr_t>(d.get()) | serial << kSerialShift;
  OpenDirectories()[handle] = std::move(d);
  return handle;
}

unsigned char* ReadDirectory(Handle handle) {
  Directory* d = Find(handle);
  if (d == nullptr || d->next == d->entries.size()) return nullptr;
  const Entry& e = d->entries[d->next++];
  FillRecord(d, e);
  return d->record;
}

int CloseDirectory(Handle handle) {
  if (Find(handle) == nullptr) return -1;  // null, or closed already
  OpenDirectories().erase(handle);
  return 0;
}

constexpr BuiltinBinding kDirectories[] = {
    CFunction<OpenDirectory, Number(Address)>("opendir"),
    CFunction<ReadDirectory, Number(Integer)>("readdir"),
    CFunction<CloseDirectory, Number(Integer)>("closedir"),
};

}  // namespace

BuiltinFamily DirectoryBuiltins() { return kDirectories; }

}  // namespace mox
