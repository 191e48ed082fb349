#include "addressbook/address_file.h"

#include <cstdint>
#include <string_view>

#include "addressbook/cp1252.h"
#include "addressbook/file_text.h"
#include "addressbook/numbers.h"
#include "addressbook/record_filter.h"
#include "addressbook/vcard_reader.h"

namespace addressbook {

namespace {

using platform::ControlId;

constexpr std::string_view defaultFileName = "myadr.vcf";
constexpr std::string_view emptyCard = "BEGIN:VCARD\r\nEND:VCARD\r\n\r\n";
constexpr char pathSeparator = '/';

// Marks the address book busy for the lifetime of the guard.
class BusyGuard {
 public:
  explicit BusyGuard(AddressBook& book) : book_(book), previous_(book.busy) { book.busy = true; }
  ~BusyGuard() { book_.busy = previous_; }
  BusyGuard(const BusyGuard&) = delete;
  BusyGuard& operator=(const BusyGuard&) = delete;

 private:
  AddressBook& book_;
  bool previous_;
};

// part × 100 / whole with exactly two decimals and "%" (37.50%), written
// without the locale so that the point stays a point.
std::string percentText(std::size_t part, std::size_t whole) {
  std::uint64_t hundredths = (std::uint64_t{part} * 20000 + whole) / (2 * std::uint64_t{whole});
  return std::to_string(hundredths / 100) + "." +
         padded(static_cast<std::int64_t>(hundredths % 100), 2) + "%";
}

int roundedPercent(std::size_t part, std::size_t whole) {
  return static_cast<int>((std::uint64_t{part} * 200 + whole) / (2 * std::uint64_t{whole}));
}

// Lets the window breathe while a long pass runs: about every 32 ms of the
// tick count, and at the end of the pass, it handles pending events and
// shows how far the pass has come. Returns false once the window is gone.
class ProgressDisplay {
 public:
  ProgressDisplay(const Environment& env, std::string_view file)
      : env_(env), file_(file), lastPeriod_(env.clock.tickCount() / 32) {}

  bool update(std::size_t done, std::size_t total, bool last) {
    std::uint32_t period = env_.clock.tickCount() / 32;
    if (period == lastPeriod_ && !last) return true;
    lastPeriod_ = period;
    env_.window.processPendingEvents();
    if (!env_.window.isAlive()) return false;
    env_.window.setStatusText(1, percentText(done, total));
    env_.window.setStatusText(4, "File: " + file_);
    env_.window.setProgress(roundedPercent(done, total));
    return true;
  }

 private:
  const Environment& env_;
  std::string file_;
  std::uint32_t lastPeriod_;
};

}  // namespace

std::string cutPath(std::string path) {
  if (path.size() > maxPathLength) path.resize(maxPathLength);
  return path;
}

platform::FileDialogRequest addressFileDialog(std::string title, std::string_view currentFile) {
  std::size_t separator = currentFile.find_last_of(pathSeparator);
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
    file = cutPath(env.files.currentDirectory() + pathSeparator + std::string(defaultFileName));
    if (!env.files.isFile(file)) env.files.replaceFile(file, emptyCard);
  }
  if (askForFile) {
    auto chosen = env.dialogs.openFile(addressFileDialog("VCard-File", file));
    if (!chosen || chosen->empty()) return;
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

  ProgressDisplay display(env, file);
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
  std::string filter = cp1252::toUpper(env.window.text(ControlId::filterEdit));
  book.table.clear();
  env.window.tableReset();
  ProgressDisplay display(env, book.currentFile);
  book.table.setSlots(
      filterRecords(book.store, filter, [&](std::size_t examined, std::size_t capacity) {
        return display.update(examined, capacity, false);
      }));
  env.window.tableReset();
  env.window.selectRow(book.table.rowCount() > 0 ? 1 : 0);
  if (showRecord) showRecord(1);
}

}  // namespace addressbook
