#pragma once

#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"

namespace addressbook {

// Earlier versions of address files, kept in a folder of their own so that
// any of them can be brought back by copying it over the address file.
// A copy is named after its address file and the local time it was made:
// "myadr_<tag>_2026-12-07_155424.vcf", where the tag (eight hex digits of a
// hash of the address file's path) keeps files of the same name in
// different folders apart.
class Backups {
 public:
  static constexpr std::size_t copiesKept = 10;

  // folder: where the copies go (Windows-1252); empty when the system names
  // no such folder, so that every copy fails.
  explicit Backups(std::string folder);

  // Called before the address file at path is written. The first time in
  // a run for a path, it copies the file as it is now, unless it does not
  // exist or its newest copy holds the same bytes; the copy is written like
  // an address file, atomically, and of that file's copies only the newest
  // copiesKept stay. A copy that fails is reported once
  // ("Sicherungskopie fehlgeschlagen !", text: the copy's path, or the
  // address file's without a folder) and is not tried again in this run;
  // the write goes ahead either way.
  void beforeFirstWrite(std::string_view path, platform::FileSystem& files,
                        const platform::Clock& clock, platform::Dialogs& dialogs);

  // Called before the address file at path is written over changes that
  // another program or window made to it: copies the file as it is now,
  // however often this run copied it before, so that those changes can be
  // brought back too. A failure is reported as above.
  void beforeOverwritingChanges(std::string_view path, platform::FileSystem& files,
                                const platform::Clock& clock, platform::Dialogs& dialogs);

 private:
  // Copies an existing file and reports a failure.
  void keepCopy(std::string_view path, platform::FileSystem& files, const platform::Clock& clock,
                platform::Dialogs& dialogs) const;
  // Makes the copy; the path it was meant to have when it fails.
  [[nodiscard]] std::optional<std::string> copy(std::string_view path, platform::FileSystem& files,
                                                const platform::Clock& clock) const;

  std::string folder_;
  std::set<std::string, std::less<>> handled_;
};

}  // namespace addressbook
