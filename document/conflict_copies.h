#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace document {

// Whether name, beside the file named fileName, is a conflict copy of it
// that a synchronising program made when two devices changed the file at
// once: "myadr.sync-conflict-20261207-155424-F5XLXQ4.vcf" (Syncthing),
// "myadr (conflicted copy 2026-12-07 155424).vcf" (Nextcloud),
// "myadr (Annas conflicted copy 2026-12-07).vcf" (Dropbox).
[[nodiscard]] bool isConflictCopy(std::string_view name, std::string_view fileName);

// The conflict copies beside one address file that the user has been told of.
class ConflictCopies {
 public:
  // The paths, sorted, of the conflict copies beside file that have not
  // been named yet, or that changed since they were; from now on they count
  // as named.
  [[nodiscard]] std::vector<std::string> newBeside(std::string_view file,
                                                   const platform::FileSystem& files);

 private:
  // By path, with the modification time they had when named.
  std::map<std::string, std::int64_t, std::less<>> named_;
};

}  // namespace document
