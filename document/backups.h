#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"

namespace document {

// Earlier versions of address files, kept in a folder of their own so that
// any of them can be brought back by copying it over the address file.
// A copy is named after its address file, a running number and the local
// time it was made: "myadr_<tag>_000042_2026-12-07_155424.vcf", where the
// tag (eight hex digits of a hash of the address file's absolute path)
// keeps files of the same name in different folders apart. The running
// number, not the time, tells which copies were made last, so that a clock
// set back does not make the newest copies look oldest.
class Backups {
 public:
  static constexpr std::size_t copiesKept = 10;

  // folder: where the copies go (Windows-1252); empty when the system names
  // no such folder, so that every copy fails.
  explicit Backups(std::string folder);

  // Whether the next write of the address file at path is its first in
  // this run, so that beforeFirstWrite will copy it.
  [[nodiscard]] bool isFirstWrite(std::string_view path) const;

  // Called before the address file at path is written. The first time in
  // a run for a path, it copies the file as it is now (current: its bytes,
  // when the caller has just read them), unless it does not exist or its
  // newest copy holds the same bytes; the copy is written like an address
  // file, atomically, and of that file's copies only the newest copiesKept
  // stay. A copy that fails is not tried again in this run; the result is
  // then the copy's path (the address file's without a folder), which the
  // caller reports, and the write goes ahead either way.
  [[nodiscard]] std::optional<std::string> beforeFirstWrite(
      std::string_view path, platform::FileSystem& files, const platform::Clock& clock,
      const std::optional<std::string>& current = std::nullopt);

  // Called before the address file at path is written over changes that
  // another program or window made to it: copies the file as it is now,
  // however often this run copied it before, so that those changes can be
  // brought back too. A failure gives its path as above.
  [[nodiscard]] std::optional<std::string> beforeOverwritingChanges(std::string_view path,
                                                                    platform::FileSystem& files,
                                                                    const platform::Clock& clock);

 private:
  // Copies the file when it exists; the path of a copy that failed.
  [[nodiscard]] std::optional<std::string> keepCopy(std::string_view path,
                                                    platform::FileSystem& files,
                                                    const platform::Clock& clock,
                                                    std::optional<std::string> current) const;

  std::string folder_;
  std::set<std::string, std::less<>> handled_;
};

}  // namespace document
