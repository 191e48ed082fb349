#include "document/disk_file.h"

#include "addressbook/content_hash.h"

namespace document {

bool DiskFile::holds(std::string_view bytes) const {
  return bytes.size() == size && addressbook::hashBytes(bytes) == hash;
}

DiskFile diskFileOf(std::string path, std::optional<platform::FileStamp> stamp,
                    std::string_view bytes) {
  return {.path = std::move(path),
          .stamp = stamp,
          .size = bytes.size(),
          .hash = addressbook::hashBytes(bytes)};
}

bool holdsRememberedBytes(const DiskFile& file, const platform::FileSystem& files) {
  auto stamp = files.stamp(file.path);
  if (!stamp || stamp->kind != platform::EntryKind::file) return false;
  // Bytes of another length cannot be the same; no need to read them.
  if (stamp->size != file.size) return false;
  // In pieces: the check before a save must not cost a copy of the whole
  // file in memory.
  addressbook::ContentHash hash;
  std::uint64_t size = 0;
  bool read = files.readInPieces(file.path, [&](std::string_view piece) {
    hash.add(piece);
    size += piece.size();
  });
  return read && size == file.size && hash.value() == file.hash;
}

}  // namespace document
