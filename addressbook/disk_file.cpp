#include "addressbook/disk_file.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace addressbook {

std::uint64_t hashBytes(std::string_view bytes) { return XXH3_64bits(bytes.data(), bytes.size()); }

DiskFile diskFileOf(std::string path, std::optional<platform::FileStamp> stamp,
                    std::string_view bytes) {
  return {.path = std::move(path), .stamp = stamp, .size = bytes.size(), .hash = hashBytes(bytes)};
}

bool holdsRememberedBytes(const DiskFile& file, const platform::FileSystem& files) {
  auto stamp = files.stamp(file.path);
  if (!stamp || stamp->kind != platform::EntryKind::file) return false;
  // Bytes of another length cannot be the same; no need to read them.
  if (stamp->size != file.size) return false;
  auto bytes = files.readFile(file.path);
  return bytes && hashBytes(*bytes) == file.hash;
}

}  // namespace addressbook
