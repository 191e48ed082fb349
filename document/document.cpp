#include "document/document.h"

#include <functional>
#include <utility>

#include "addressbook/vcard_reader.h"
#include "addressbook/vcard_writer.h"
#include "platform/path.h"
#include "table/fill.h"
#include "table/progress.h"
#include "table/record_display.h"
#include "table/sorting.h"
#include "text/cp1252.h"

namespace document {

namespace {

std::string cutPath(std::string path) {
  if (path.size() > Document::maxPathLength) path.resize(Document::maxPathLength);
  return path;
}

}  // namespace

Document::Document(table::Records& records, const table::Screen& screen,
                   platform::FileSystem& files, platform::Setting fileSetting,
                   const std::string& backupFolder)
    : records_(records),
      screen_(screen),
      files_(files),
      fileSetting_(fileSetting),
      backups_(backupFolder),
      // The state of synchronisations lives beside the backups.
      fileSync_(files, screen.clock, backups_,
                backupFolder.empty() ? std::string()
                                     : std::string(platform::path::folderOf(backupFolder))) {}

std::string Document::configuredFile() {
  std::string file = cutPath(fileSetting_.read());
  if (files_.isFile(file)) return absolute(std::move(file));
  // A configuration saved by a UTF-8 editor names the file in UTF-8; the
  // name is written back by the load in the program's own form.
  std::optional<std::string> decoded = text::cp1252::fromUtf8(file);
  if (decoded && *decoded != file && files_.isFile(*decoded)) return absolute(std::move(*decoded));
  file = defaultFile();
  if (!files_.isFile(file)) files_.replaceFile(file, addressbook::emptyAddressFileText);
  return file;
}

std::string Document::defaultFile() const {
  return cutPath(platform::path::join(files_.currentDirectory(), fileSetting_.key().defaultValue));
}

LoadOutcome Document::loadConfigured(std::string_view filter) {
  std::string named = cutPath(fileSetting_.read());
  std::string file = configuredFile();
  bool standsIn = file == defaultFile() && file != named && !named.empty() &&
                  named != fileSetting_.key().defaultValue;
  if (!standsIn) return load(file, filter);
  missingConfigured_ = named;
  standIn_ = file;
  LoadOutcome outcome = load(file, filter);
  outcome.missingConfiguredFile = named;
  return outcome;
}

FileNameProblem Document::problemWith(std::string_view path) const {
  return fileNameProblem(path, fileSetting_.key().room - 1);
}

std::string Document::absolute(std::string path) const {
  if (path.empty() || platform::path::isAbsolute(path)) return path;
  return cutPath(platform::path::join(files_.currentDirectory(), path));
}

bool Document::isFileInUse(std::string_view path) const {
  if (path == onDisk_.path) return true;
  if (onDisk_.path.empty()) return false;
  // Another spelling of the same file (a link, another letter case) names
  // what the name in use names now, which another program may have
  // replaced since the load.
  auto stamp = files_.stamp(path);
  auto inUse = files_.stamp(onDisk_.path);
  return stamp && inUse && stamp->volume == inUse->volume && stamp->fileId == inUse->fileId &&
         stamp->fileId != 0;
}

void Document::makeCurrent(std::string path) {
  previousFile_ = std::exchange(currentFile_, absolute(std::move(path)));
  rememberCurrentFile();
}

void Document::rememberCurrentFile() {
  bool standsIn = !missingConfigured_.empty() && currentFile_ == standIn_;
  fileSetting_.write(standsIn ? missingConfigured_ : currentFile_);
}

void Document::keepPreviousFile() {
  if (currentFile_ == previousFile_) return;
  currentFile_ = previousFile_;
  if (!currentFile_.empty()) rememberCurrentFile();
}

LoadOutcome Document::load(std::string_view path, std::string_view filter) {
  table::BusyGuard busy(records_);
  // The records of the file named before stay until the new one has been
  // read; if it cannot be, that name stays in use, so that a later save
  // cannot write those records over the file that failed.
  makeCurrent(cutPath(std::string(path)));
  LoadOutcome outcome = read(false, filter);
  if (outcome.result != ReadResult::read) keepPreviousFile();
  return outcome;
}

LoadOutcome Document::open(std::string_view path, std::string_view filter) {
  LoadOutcome outcome = load(path, filter);
  if (outcome.result == ReadResult::read && !missingConfigured_.empty()) {
    // The user chose a file: the missing one is no longer the one to keep.
    missingConfigured_.clear();
    rememberCurrentFile();
  }
  return outcome;
}

LoadOutcome Document::reloadIfChanged(std::string_view filter) {
  if (records_.busy || records_.changed || onDisk_.path.empty() || onDisk_.path != currentFile_)
    return {};
  auto stamp = files_.stamp(currentFile_);
  if (stamp == onDisk_.stamp) return {};
  // Text typed into the edit fields and not applied yet would be lost, and
  // what the user types on would land in another record: the reload waits,
  // as it does for unsaved changes.
  if (table::fieldsHoldTypedText(records_, screen_)) return {};
  // Whatever the reload finds, it is not tried again until the file changes
  // once more: a file that is gone or holds no cards is reported only once.
  onDisk_.stamp = stamp;
  if (!stamp || stamp->kind != platform::EntryKind::file) return {};
  table::BusyGuard busy(records_);
  return read(true, filter);
}

LoadOutcome Document::read(bool skipSameBytes, std::string_view filter) {
  LoadOutcome outcome;
  outcome.path = currentFile_;
  AddressText read = readAddressText(files_, currentFile_, skipSameBytes ? &onDisk_ : nullptr);
  outcome.result = read.result;
  if (read.result == ReadResult::same) onDisk_.stamp = read.disk.stamp;
  if (read.result != ReadResult::read) return outcome;

  table::ProgressDisplay display(screen_, currentFile_);
  addressbook::StoreReader reader(std::move(read.text), std::move(read.cards));
  while (reader.cardsRead() < reader.total()) {
    reader.readThrough(reader.cardsRead() + table::cardsPerStep);
    if (!display.update(reader.cardsRead(), reader.total(), reader.cardsRead() == reader.total()))
      break;
  }
  addressbook::RecordStore store = reader.takeStore();
  records_.table.clear();
  records_.store = std::move(store);
  records_.changed = false;
  onDisk_ = std::move(read.disk);
  table::fillTable(records_, screen_, filter, currentFile_);
  outcome.conflictCopies = conflictCopies_.newBeside(currentFile_, files_);
  return outcome;
}

SaveOutcome Document::save(std::string_view target) {
  std::string chosen = absolute(cutPath(std::string(target)));
  // The file in use under another spelling keeps the name it has: on disk,
  // in the configuration and for its backups.
  bool inUse = isFileInUse(chosen);
  makeCurrent(inUse ? onDisk_.path : std::move(chosen));
  table::fillTable(records_, screen_, "", currentFile_);
  table::sortByName(records_.table, screen_.view);
  // Taken before the check: the last look before the new content takes the
  // name compares with it, so that a change in between is not missed.
  std::optional<platform::FileStamp> seen = files_.stamp(currentFile_);
  std::optional<std::string> current;
  if (inUse && !holdsOwnBytes(current)) {
    SaveOutcome outcome;
    outcome.result = SaveResult::changedOnDisk;
    outcome.path = currentFile_;
    return outcome;
  }
  const std::optional<platform::FileStamp>* lastLook = inUse ? &seen : nullptr;
  if (!backups_.isFirstWrite(currentFile_)) return write(std::nullopt, lastLook);
  return write(backups_.beforeFirstWrite(currentFile_, files_, screen_.clock, current), lastLook);
}

SaveOutcome Document::saveOverChanges() {
  // The backup copy holds the file as this stamp shows it; a change that
  // lands after it is left in place and asked about again.
  std::optional<platform::FileStamp> seen = files_.stamp(currentFile_);
  std::optional<std::string> failedBackup =
      backups_.beforeOverwritingChanges(currentFile_, files_, screen_.clock);
  return write(std::move(failedBackup), &seen);
}

bool Document::holdsOwnBytes(std::optional<std::string>& current) const {
  if (!backups_.isFirstWrite(currentFile_)) return holdsRememberedBytes(onDisk_, files_);
  // The copy for the backups needs the bytes anyway: one read serves both.
  auto stamp = files_.stamp(currentFile_);
  if (!stamp || stamp->kind != platform::EntryKind::file || stamp->size != onDisk_.size)
    return false;
  current = files_.readFile(currentFile_);
  return current && onDisk_.holds(*current);
}

SaveOutcome Document::write(std::optional<std::string> failedBackup,
                            const std::optional<platform::FileStamp>* seen) {
  SaveOutcome outcome{.path = currentFile_, .failedBackup = std::move(failedBackup)};
  std::string text = addressbook::savedFileText(records_.store);
  // Another program may save the file while the backup copy and the new
  // content are written: the last look, at the file the new content
  // displaces, leaves such a change in place and asks.
  bool changedMeanwhile = false;
  platform::FileSystem::DisplacedCheck lastLook;
  if (seen != nullptr) {
    lastLook = [&](std::string_view displaced) {
      DiskFile there = onDisk_;
      there.path = displaced;
      changedMeanwhile = files_.stamp(displaced) != *seen && !holdsRememberedBytes(there, files_);
      return !changedMeanwhile;
    };
  }
  if (!files_.replaceFileIf(currentFile_, text, lastLook)) {
    outcome.result = changedMeanwhile ? SaveResult::changedOnDisk : SaveResult::failed;
    if (!changedMeanwhile) keepPreviousFile();
    return outcome;
  }
  onDisk_ = diskFileOf(currentFile_, files_.stamp(currentFile_), text);
  records_.changed = false;
  // Saved to another file than the stand-in: that one is in use now.
  if (currentFile_ != standIn_) missingConfigured_.clear();
  return outcome;
}

FileSyncOutcome Document::synchronise(platform::Http& http, const carddav::Account& account,
                                      bool allowDeletes, const carddav::Progress& progress) {
  return fileSync_.run(currentFile_, http, account, allowDeletes, progress);
}

}  // namespace document
