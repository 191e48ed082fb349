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
  // In pieces: the check before a save must not cost a copy of the whole
  // file in memory.
  XXH3_state_t state;
  XXH3_64bits_reset(&state);
  std::uint64_t size = 0;
  bool read = files.readInPieces(file.path, [&](std::string_view piece) {
    XXH3_64bits_update(&state, piece.data(), piece.size());
    size += piece.size();
  });
  return read && size == file.size && XXH3_64bits_digest(&state) == file.hash;
}

}  // namespace addressbook
