#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "carddav/synchronisation.h"
#include "document/backups.h"
#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http.h"

namespace document {

enum class FileSyncResult {
  synchronised,  // the file and the server hold the same cards
  wouldDelete,   // nothing done: see SyncOutcome::deletions
  failed,        // the server or the network failed: see SyncOutcome::failure
  unreadable,    // the file is missing or holds no card
  fileChanged,   // another program changed the file meanwhile: it was left as that program wrote it
  writeFailed,   // the file (or the state beside the backups) could not be written
};

struct FileSyncOutcome {
  FileSyncResult result = FileSyncResult::synchronised;
  carddav::SyncOutcome sync;
  // A copy of the file as it was that could not be made; the write went on.
  std::optional<std::string> failedBackup;
};

// The synchronisation of an address file with an address book on a CardDAV
// server, for the window and the command line alike: the file is read as a
// load reads it and written as a save writes it (its earlier version in the
// backups first), never over another program's change. What the next run
// needs is kept in the state folder, one file per address file and address
// book.
class FileSync {
 public:
  FileSync(platform::FileSystem& files, const platform::Clock& clock, Backups& backups,
           std::string stateFolder);

  // path: the address file, absolute.
  FileSyncOutcome run(std::string_view path, platform::Http& http, const carddav::Account& account,
                      bool allowDeletes, const carddav::Progress& progress = {});

  // Where the state of path and the account's address book is kept.
  [[nodiscard]] std::string statePath(std::string_view path, const carddav::Account& account) const;

 private:
  // Writes cards over the file, which must still hold what was read of it
  // (remembered); the file then holds those bytes.
  [[nodiscard]] FileSyncResult write(std::string_view path, const std::vector<std::string>& cards,
                                     std::string& remembered, bool overwritesCards,
                                     FileSyncOutcome& outcome);

  platform::FileSystem& files_;
  const platform::Clock& clock_;
  Backups& backups_;
  std::string stateFolder_;
};

}  // namespace document
