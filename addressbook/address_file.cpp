#include "addressbook/address_file.h"

#include <cstdint>
#include <optional>
#include <string_view>

#include "addressbook/conflict_copies.h"
#include "addressbook/file_name_check.h"
#include "addressbook/file_text.h"
#include "addressbook/long_pass.h"
#include "addressbook/record_filter.h"
#include "addressbook/vcard_reader.h"
#include "addressbook/vcard_writer.h"
#include "platform/path_separator.h"
#include "text/cp1252.h"

namespace addressbook {

namespace {

using platform::ControlId;

constexpr std::string_view defaultFileName = "myadr.vcf";

enum class ReadOutcome { read, sameBytes, failed };

// Reads book.currentFile into a new store and fills the table, then reports
// conflict copies beside it. A file that cannot be read as an address book
// is reported (missing: "File ?", no cards: "No Vcards !!") and leaves store
// and table as they were. With skipSameBytes, a file that still holds the
// bytes of the last load or save is left at that.
ReadOutcome readAddressFile(AddressBook& book, const Environment& env, const ShowRecord& showRecord,
                            bool skipSameBytes) {
  const std::string& file = book.currentFile;
  if (!env.files.isFile(file)) {
    env.dialogs.messageBox(file, "File ?");
    return ReadOutcome::failed;
  }
  // The stamp comes first: a change while the file is read then shows as a
  // changed stamp at the next look, never the other way round.
  auto stamp = env.files.stamp(file);
  std::string text = env.files.readFile(file).value_or(std::string());
  DiskFile read = diskFileOf(file, stamp, text);
  if (skipSameBytes && read.path == book.onDisk.path && read.size == book.onDisk.size &&
      read.hash == book.onDisk.hash) {
    book.onDisk.stamp = read.stamp;
    return ReadOutcome::sameBytes;
  }
  normaliseLineEnds(text);
  std::vector<std::size_t> separators = findCards(text);
  std::size_t cards = separators.size();
  if (cards < 1) {
    env.dialogs.messageBox(file, "No Vcards !!");
    return ReadOutcome::failed;
  }

  ProgressDisplay display(env.window, env.clock, file);
  RecordStore store =
      readCards(std::move(text), separators, [&](std::size_t done, std::size_t total) {
        return display.update(done, total, done == total);
      });
  book.table.clear();
  book.store = std::move(store);
  book.changed = false;
  book.onDisk = std::move(read);
  fillTable(book, env, showRecord);
  reportConflictCopies(book, env);
  return ReadOutcome::read;
}

}  // namespace

std::string cutPath(std::string path) {
  if (path.size() > maxPathLength) path.resize(maxPathLength);
  return path;
}

platform::FileDialogRequest addressFileDialog(std::string title, std::string_view currentFile) {
  std::size_t separator = currentFile.find_last_of(platform::pathSeparators);
  std::string_view name =
      separator == std::string_view::npos ? currentFile : currentFile.substr(separator + 1);
  return {.title = std::move(title),
          .filterName = "vcard",
          .filterPattern = "*.vcf",
          .defaultSuffix = "vcf",
          .initialPath = std::string(currentFile),
          .proposedName = std::string(name)};
}

void loadAddressFile(AddressBook& book, const Environment& env, bool askForFile,
                     const ShowRecord& showRecord) {
  BusyGuard busy(book);
  std::string file = cutPath(env.settings.read(platform::setting::addressFile));
  if (!env.files.isFile(file)) {
    // A configuration saved by a UTF-8 editor names the file in UTF-8; the
    // name is written back below in the program's own form.
    std::optional<std::string> decoded = text::cp1252::fromUtf8(file);
    if (decoded && *decoded != file && env.files.isFile(*decoded)) {
      file = std::move(*decoded);
    } else {
      file = cutPath(env.files.currentDirectory() + platform::pathSeparator +
                     std::string(defaultFileName));
      if (!env.files.isFile(file)) env.files.replaceFile(file, emptyAddressFileText);
    }
  }
  if (askForFile) {
    auto chosen = env.dialogs.openFile(addressFileDialog("VCard-File", file));
    if (!chosen || chosen->empty() || !isStorableFileName(*chosen, env.dialogs)) return;
    file = cutPath(*chosen);
  }

  // The store keeps the records of the file named before until the new one
  // has been read; if it cannot be, that name stays in use, so that a later
  // save cannot write those records over the file that failed.
  std::string previous = std::move(book.currentFile);
  book.currentFile = file;
  env.settings.write(platform::setting::addressFile, file);
  if (readAddressFile(book, env, showRecord, false) == ReadOutcome::failed) {
    book.currentFile = previous;
    if (askForFile && !previous.empty())
      env.settings.write(platform::setting::addressFile, previous);
  }
}

bool reloadAddressFile(AddressBook& book, const Environment& env, const ShowRecord& showRecord) {
  BusyGuard busy(book);
  return readAddressFile(book, env, showRecord, true) == ReadOutcome::read;
}

void fillTable(AddressBook& book, const Environment& env, const ShowRecord& showRecord) {
  BusyGuard busy(book);
  std::string filter = text::cp1252::toUpper(env.window.text(ControlId::filterEdit));
  book.table.clear();
  env.window.tableReset();
  ProgressDisplay display(env.window, env.clock, book.currentFile);
  book.table.setSlots(
      filterRecords(book.store, filter, [&](std::size_t examined, std::size_t capacity) {
        return display.update(examined, capacity, false);
      }));
  std::size_t capacity = book.store.hasSlots() ? book.store.capacity() : 0;
  display.update(capacity, capacity, true);
  env.window.tableReset();
  env.window.selectRow(book.table.rowCount() > 0 ? 1 : 0);
  if (showRecord) showRecord(1);
}

}  // namespace addressbook
