#include "addressbook/address_file.h"

#include <cstdint>
#include <optional>
#include <string_view>

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
  auto keepPrevious = [&] {
    book.currentFile = previous;
    if (askForFile && !previous.empty())
      env.settings.write(platform::setting::addressFile, previous);
  };
  book.currentFile = file;
  env.settings.write(platform::setting::addressFile, file);
  if (!env.files.isFile(file)) {
    env.dialogs.messageBox(file, "File ?");
    keepPrevious();
    return;
  }
  std::string text = readFileText(env.files, file);
  std::vector<std::size_t> separators = findCards(text);
  std::size_t cards = separators.size();
  if (cards < 1) {
    env.dialogs.messageBox(file, "No Vcards !!");
    keepPrevious();
    return;
  }

  ProgressDisplay display(env.window, env.clock, file);
  RecordStore store =
      readCards(std::move(text), separators, [&](std::size_t done, std::size_t total) {
        return display.update(done, total, done == total);
      });
  book.table.clear();
  book.store = std::move(store);
  book.changed = false;
  fillTable(book, env, showRecord);
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
