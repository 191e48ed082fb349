#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "document/disk_file.h"
#include "platform/file_system.h"

namespace document {

enum class ReadResult {
  read,     // the file was read
  same,     // it still holds the remembered bytes: nothing more was done
  missing,  // no file of that name ("File ?")
  noCards,  // a file without a single card ("No Vcards !!")
};

// An address file as a load reads it.
struct AddressText {
  ReadResult result = ReadResult::missing;
  // The whole file with CR LF line ends, and where each of its cards begins.
  std::string text;
  std::vector<std::size_t> cards;
  // What is known of the file as read: its stamp (taken before the read, so
  // that a change during the read shows as a changed stamp later) and the
  // hash of its bytes as they were.
  DiskFile disk;
};

// Reads the address file at path. A file that exists but cannot be read
// counts as empty, so as a file without cards. With remembered, a file that
// still holds the remembered bytes gives `same` and is not parsed.
[[nodiscard]] AddressText readAddressText(const platform::FileSystem& files, std::string_view path,
                                          const DiskFile* remembered = nullptr);

}  // namespace document
