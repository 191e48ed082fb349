#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/address_text.h"
#include "document/backups.h"
#include "document/conflict_copies.h"
#include "document/disk_file.h"
#include "document/file_name_check.h"
#include "document/file_sync.h"
#include "platform/file_system.h"
#include "platform/settings.h"
#include "table/records.h"
#include "table/screen.h"

namespace document {

// What a load or reload did.
struct LoadOutcome {
  ReadResult result = ReadResult::same;
  std::string path;  // the file it read or tried to read
  // Conflict copies beside the file read that the user has not been told of.
  std::vector<std::string> conflictCopies;
  // The file the configuration names when it was missing at start, and
  // path stood in for it; empty otherwise.
  std::string missingConfiguredFile;
};

enum class SaveResult {
  saved,          // the file holds the records
  changedOnDisk,  // nothing written: another program changed the file since
  failed,         // the write failed; the file is as it was
};

// What a save did.
struct SaveOutcome {
  SaveResult result = SaveResult::saved;
  std::string path;  // the file written or meant to be
  // A copy of the file as it was that could not be made; the save went on.
  std::optional<std::string> failedBackup;
};

// The address file as the user sees it: which file is in use (remembered
// in the configuration), loading it into the records, noticing and
// reloading another program's change, and saving, never over another
// program's change without the user's word. It returns what happened and
// leaves telling the user to its caller.
class Document {
 public:
  // The longest address file path the program keeps; longer ones are cut.
  static constexpr std::size_t maxPathLength = 299;

  // fileSetting: the configuration key that names the address file in use
  // (its default the file of a first start); backupFolder: where copies of
  // address files go before they are first replaced in a run.
  Document(table::Records& records, const table::Screen& screen, platform::FileSystem& files,
           platform::Setting fileSetting, const std::string& backupFolder);

  // The address file in use (Windows-1252), by its absolute path, at most
  // maxPathLength bytes.
  [[nodiscard]] const std::string& currentFile() const { return currentFile_; }

  // The file the configuration names. When it is missing, the same name
  // read as UTF-8 (as an editor may have saved it) when that names a file,
  // else the default file in the current folder, created with one empty
  // card when it is missing too. Absolute.
  [[nodiscard]] std::string configuredFile();

  // Why a chosen name cannot be kept in the configuration as it is.
  [[nodiscard]] FileNameProblem problemWith(std::string_view path) const;

  // The start's load: configuredFile(). When the configuration names a file
  // that is missing (a share not mounted, a stick not in), the default file
  // stands in for it, and the configuration keeps naming the missing file
  // until the user opens a file or saves to another one than the stand-in.
  LoadOutcome loadConfigured(std::string_view filter);

  // Makes path the file in use and loads it into new records, shown through
  // filter. A file that cannot be read as an address book (missing, no
  // cards) leaves the records as they were, and the file used before stays
  // in use and in the configuration.
  LoadOutcome load(std::string_view path, std::string_view filter);
  // The open command's load: a file that the user opened is the one the
  // configuration names from then on, the stand-in too.
  LoadOutcome open(std::string_view path, std::string_view filter);

  // Reloads the file in use when its stamp shows that it changed since this
  // window loaded, saved or last looked at it, and the records hold no
  // unsaved changes (those are kept; the next save asks). Costs one stamp
  // query when nothing changed; a file that still holds the bytes of the
  // last load or save is left at that. Never while a load or fill runs.
  // The result is `read` only when the records were refilled.
  LoadOutcome reloadIfChanged(std::string_view filter);

  // Writes the records to target, which becomes the file in use (and in
  // the configuration): the table is refilled without a filter and sorted
  // by name, the file as it was is copied to the backups (the first time in
  // a run), then replaced. Without any record the file gets the empty card
  // of a new file. The file in use named another way (a link, another
  // letter case) is saved under the name it has. When target is the file this window loaded or
  // saved and another program changed it since, nothing is written (changedOnDisk): the caller
  // finishes with saveOverChanges() or keepPreviousFile(). A failed write leaves the file, the file
  // in use and the change mark as they were.
  SaveOutcome save(std::string_view target);
  // Finishes a save that found another program's changes: copies the file
  // as it is now to the backups and writes over it. A change that lands
  // after the copy is left in place (changedOnDisk again).
  SaveOutcome saveOverChanges();
  // Abandons a save that found another program's changes: the file used
  // before stays in use.
  void keepPreviousFile();

  // Synchronises the file in use with the CardDAV address book of account
  // (FileSync; its state beside the backup folder). What it changed in the
  // file arrives as another program's change does: reloadIfChanged, or the
  // question of the next save when records hold unsaved changes.
  FileSyncOutcome synchronise(platform::Http& http, const carddav::Account& account,
                              bool allowDeletes, const carddav::Progress& progress = {});

 private:
  [[nodiscard]] LoadOutcome read(bool skipSameBytes, std::string_view filter);
  // Whether the file in use still holds what this window loaded or saved;
  // reads it whole into current when its first copy is due.
  [[nodiscard]] bool holdsOwnBytes(std::optional<std::string>& current) const;
  // seen: the file's stamp before the check that it holds this window's
  // bytes (or before its backup copy, over another program's change), for a
  // last look before the new content takes the name; nullptr when the file
  // is not the one in use.
  [[nodiscard]] SaveOutcome write(std::optional<std::string> failedBackup,
                                  const std::optional<platform::FileStamp>* seen);
  // path made absolute, so that the file stays the same when the current
  // folder changes and one file has one name in the backups.
  [[nodiscard]] std::string absolute(std::string path) const;
  // Whether path names the file this window loaded or saved last: by name,
  // or by identity with what that name holds now for another spelling.
  [[nodiscard]] bool isFileInUse(std::string_view path) const;
  void makeCurrent(std::string path);
  // Writes the file in use to the configuration, or the missing file that
  // it stands in for.
  void rememberCurrentFile();
  [[nodiscard]] std::string defaultFile() const;

  table::Records& records_;
  table::Screen screen_;
  platform::FileSystem& files_;
  platform::Setting fileSetting_;
  Backups backups_;
  FileSync fileSync_;
  ConflictCopies conflictCopies_;
  std::string currentFile_;
  // The file used before a save or load that may still be refused.
  std::string previousFile_;
  // The configured file that was missing at start, and the default file
  // that stands in for it; empty when none is missing.
  std::string missingConfigured_;
  std::string standIn_;
  DiskFile onDisk_;
};

}  // namespace document
