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

#include "addressbook/field_table.h"
#include "app/file_commands.h"
#include "app/main_window_definition.h"
#include "app/program.h"
#include "app/setting_keys.h"
#include "app/tick.h"
#include "bench/address_book_generator.h"
#include "bench/null_services.h"
#include "document/document.h"
#include "platform/ini_profile_file.h"
#include "platform/machine_http.h"
#include "platform/machine_keyring.h"
#include "platform/posix/clock.h"
#include "platform/posix/file_operations.h"
#include "platform/posix/file_system.h"
#include "platform/posix/shell.h"
#include "platform/qt/serial_port.h"
#include "platform/qt/window.h"
#include "table/columns.h"
#include "table/control_ids.h"
#include "table/record_display.h"

namespace bench {

namespace {

using platform::ControlId;
namespace control = table::control;

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

  platform::qt::Window window{app::mainWindowDefinition()};
  NullDialogs dialogs;
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files{operations};
  platform::posix::Clock clock;
  platform::IniProfileFile profile{files};
  platform::Settings settings;
  platform::qt::SerialPort serial;
  platform::posix::Shell shell;
  std::unique_ptr<platform::Http> http = platform::makeMachineHttp();
  std::unique_ptr<platform::Keyring> keyring = platform::makeMachineKeyring();
};

// From a changed search text to the table's model holding the new rows: the
// timer tick that notices the change, the fill from the store, the model
// reset. The text alternates between two spellings of MÜLLER, so every tick
// sees a change and every fill finds the same rows.
void keystrokeBenchmark(benchmark::State& state) {
  auto cards = static_cast<std::size_t>(state.range(0));
  RealServices services(books().config(cards));
  table::Records records;
  table::Screen screen{services.window, services.window, services.window, services.clock};
  // Loads and fills copy nothing to backups.
  document::Document document{records, screen, services.files,
                              platform::Setting{services.settings, app::setting::addressFile}, ""};
  app::FileCommands commands(document, records, screen, services.dialogs, services.files);
  services.window.setContent(records.table);
  table::setupTableColumns(services.window);
  commands.loadConfigured("");
  app::TickState tick;
  app::timerTick(tick, records, screen, commands, true);
  QCoreApplication::processEvents();

  bool upper = false;
  for (auto _ : state) {
    state.PauseTiming();
    upper = !upper;
    services.window.setText(control::filterEdit, upper ? "M\xDCLLER" : "M\xFCller");
    state.ResumeTiming();
    app::timerTick(tick, records, screen, commands, true);
  }
  if (services.window.table() == nullptr ||
      services.window.table()->model()->rowCount() != records.table.rowCount() ||
      records.table.rowCount() == 0 || records.table.rowCount() >= static_cast<int>(cards)) {
    state.SkipWithError("the model does not hold the filtered rows");
  }
  state.counters["rows"] = records.table.rowCount();
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
    app::Program program({services.window, services.window, services.window, services.dialogs,
                          services.profile, services.files, services.clock, services.serial,
                          services.shell, *services.http, *services.keyring},
                         {config, "", ""}, /*backupFolder=*/"");  // the start-up saves nothing
    program.start();
    QCoreApplication::processEvents();
    rows = program.records().table.rowCount();
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
  platform::qt::Window window{app::mainWindowDefinition()};
  platform::posix::Clock clock;
  table::Records records;
  table::Screen screen{window, window, window, clock};
  records.store.reset(999);
  std::string note;
  note.reserve(megabytes * 1'000'000);
  while (note.size() < megabytes * 1'000'000) note += std::string(999, 'x') + "\x07";
  records.store.setField(1, addressbook::field::name, "Kurz;Anna");
  records.store.setField(2, addressbook::field::name, "Lang;Bernd");
  records.store.setField(2, addressbook::field::notes, note);
  records.table.setSlots({1, 2});
  window.setContent(records.table);
  table::setupTableColumns(window);
  window.show();
  QCoreApplication::processEvents();
  for (auto _ : state) {
    state.PauseTiming();
    window.selectRow(1);
    table::showRecord(records, screen, 1);
    QCoreApplication::processEvents();
    state.ResumeTiming();
    window.selectRow(2);
    table::showRecord(records, screen, 2);
    QCoreApplication::processEvents();
  }
  if (window.text(control::notesEdit).size() != note.size() + note.size() / 1000)
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
