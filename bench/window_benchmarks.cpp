#include "bench/window_benchmarks.h"

#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <array>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>

#include "addressbook/address_file.h"
#include "addressbook/field_table.h"
#include "app/main_window_definition.h"
#include "app/program.h"
#include "bench/address_book_generator.h"
#include "bench/null_services.h"
#include "platform/ini_profile_file.h"
#include "platform/posix/posix_file_operations.h"
#include "platform/posix/posix_file_system.h"
#include "platform/posix/system_clock.h"
#include "platform/posix/xdg_shell.h"
#include "platform/qt/qt_serial_port.h"
#include "platform/qt/qt_window.h"
#include "table/columns.h"
#include "table/record_display.h"
#include "table/tick.h"

namespace bench {

namespace {

using platform::ControlId;

// The generated address books of this part of the run, with a configuration
// naming each, in a temporary folder of their own.
class Books {
 public:
  Books() {
    std::string folder =
        (std::filesystem::temp_directory_path() / "morvi-bench-qt-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) std::abort();
    folder_ = folder;
  }
  ~Books() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  Books(const Books&) = delete;
  Books& operator=(const Books&) = delete;

  // The configuration file naming the address book of that many cards.
  const std::string& config(std::size_t cards) {
    auto found = configs_.find(cards);
    if (found != configs_.end()) return found->second;
    std::string stem = (folder_ / ("book-" + std::to_string(cards))).string();
    writeAddressBook(stem + ".vcf", cards);
    std::ofstream(stem + ".conf", std::ios::binary) << "[VC]\r\nFile=" << stem << ".vcf\r\n";
    return configs_.emplace(cards, stem + ".conf").first->second;
  }

 private:
  std::filesystem::path folder_;
  std::map<std::size_t, std::string> configs_;
};

Books& books() {
  static Books instance;
  return instance;
}

// The machine's real services around a real Qt window.
struct RealServices {
  explicit RealServices(const std::string& configPath) : settings(profile, configPath) {}

  platform::qt::QtWindow window{app::mainWindowDefinition()};
  NullDialogs dialogs;
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files{operations};
  platform::SystemClock clock;
  platform::IniProfileFile profile{files};
  platform::Settings settings;
  addressbook::Backups backups{""};  // loads and fills copy nothing
  platform::qt::QtSerialPort serial;
  platform::XdgShell shell;
  addressbook::Environment env{window, dialogs, files, clock, settings, backups};
};

// From a changed search text to the table's model holding the new rows: the
// timer tick that notices the change, the fill from the store, the model
// reset. The text alternates between two spellings of MÜLLER, so every tick
// sees a change and every fill finds the same rows.
void keystrokeBenchmark(benchmark::State& state) {
  auto cards = static_cast<std::size_t>(state.range(0));
  RealServices services(books().config(cards));
  addressbook::AddressBook book;
  services.window.setTableContent(book.table);
  table::setupTableColumns(services.window);
  addressbook::ShowRecord show = [&](int row) {
    table::showRecord(services.window, book.table, services.clock, row);
  };
  addressbook::loadAddressFile(book, services.env, false, show);
  table::TickState tick;
  table::timerTick(tick, book, services.env, show);
  QCoreApplication::processEvents();

  bool upper = false;
  for (auto _ : state) {
    state.PauseTiming();
    upper = !upper;
    services.window.setText(ControlId::filterEdit, upper ? "M\xDCLLER" : "M\xFCller");
    state.ResumeTiming();
    table::timerTick(tick, book, services.env, show);
  }
  if (services.window.table() == nullptr ||
      services.window.table()->model()->rowCount() != book.table.rowCount() ||
      book.table.rowCount() == 0 || book.table.rowCount() >= static_cast<int>(cards)) {
    state.SkipWithError("the model does not hold the filtered rows");
  }
  state.counters["rows"] = book.table.rowCount();
}

// Start-up with an address book of that many cards: the window shown, the
// configuration found, the file loaded and the table filled, then one round
// of painting.
void startUpBenchmark(benchmark::State& state) {
  auto cards = static_cast<std::size_t>(state.range(0));
  const std::string& config = books().config(cards);
  int rows = 0;
  for (auto _ : state) {
    RealServices services(config);
    app::Program program({services.window, services.dialogs, services.profile, services.files,
                          services.clock, services.serial, services.shell},
                         {config, "", ""}, /*backupFolder=*/"");  // the start-up saves nothing
    program.start();
    QCoreApplication::processEvents();
    rows = program.addressBook().table.rowCount();
    state.PauseTiming();
    // Closing and destroying the window is not part of the start-up.
    services.window.setEventHandler(nullptr);
    state.ResumeTiming();
  }
  if (static_cast<std::size_t>(rows) != cards) state.SkipWithError("the table is not filled");
}

// Selecting the entry whose note holds that many megabytes (lines of 999
// bytes), after an entry with a short note: the edit fields filled and the
// window painted.
void longNoteBenchmark(benchmark::State& state) {
  auto megabytes = static_cast<std::size_t>(state.range(0));
  platform::qt::QtWindow window{app::mainWindowDefinition()};
  platform::SystemClock clock;
  addressbook::AddressBook book;
  book.store.reset(999);
  std::string note;
  note.reserve(megabytes * 1'000'000);
  while (note.size() < megabytes * 1'000'000) note += std::string(999, 'x') + "\x07";
  book.store.setField(1, addressbook::field::name, "Kurz;Anna");
  book.store.setField(2, addressbook::field::name, "Lang;Bernd");
  book.store.setField(2, addressbook::field::notes, note);
  book.table.setSlots({1, 2});
  window.setTableContent(book.table);
  table::setupTableColumns(window);
  window.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    window.selectRow(1);
    table::showRecord(window, book.table, clock, 1);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    window.selectRow(2);
    table::showRecord(window, book.table, clock, 2);
    QCoreApplication::processEvents();
  }
  if (window.text(ControlId::notesEdit).size() != note.size() + note.size() / 1000)
    state.SkipWithError("the note is not shown whole");
}

}  // namespace

void registerWindowBenchmarks() {
  for (std::int64_t cards : {100'000, 1'000'000}) {
    benchmark::RegisterBenchmark("BM_Keystroke", keystrokeBenchmark)
        ->Arg(cards)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  benchmark::RegisterBenchmark("BM_SelectLongNote", longNoteBenchmark)
      ->Arg(50)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("BM_StartUp", startUpBenchmark)
      ->Arg(100'000)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime()
      ->Iterations(5);
}

}  // namespace bench
