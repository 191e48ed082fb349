// The search keystroke and the start-up through the real Win32 window, for
// the Windows program under Wine or on Windows. A plain program (Google
// Benchmark is not built for Windows): it writes generated address books
// into the temporary folder and prints the median of several runs beside
// the floor, the time to read the address file once and count its cards.
//
//   wine build-windows/bin/windows-window-bench.exe [cards for the keystroke]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/file_commands.h"
#include "app/main_window_definition.h"
#include "app/program.h"
#include "app/setting_keys.h"
#include "app/tick.h"
#include "bench/address_book_generator.h"
#include "bench/null_services.h"
#include "platform/ini_profile_file.h"
#include "platform/machine_http.h"
#include "platform/machine_keyring.h"
#include "platform/win32/clock.h"
#include "platform/win32/common_controls.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/file_system.h"
#include "platform/win32/serial_port.h"
#include "platform/win32/shell.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/window.h"
#include "table/columns.h"
#include "table/control_ids.h"
#include "table/record_display.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::ControlId;
namespace control = table::control;

constexpr int runs = 5;

double milliseconds(Clock::duration duration) {
  return std::chrono::duration<double, std::milli>(duration).count();
}

double median(std::vector<double> times) {
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// An address book of that many cards and a configuration naming it.
struct Book {
  std::string file;
  std::string config;
};

Book makeBook(std::size_t cards) {
  std::wstring folder = std::filesystem::temp_directory_path().wstring();
  std::string stem =
      platform::win32::fromWide((std::filesystem::path(folder) / L"morvi-bench-").wstring()) +
      std::to_string(cards);
  Book book{stem + ".vcf", stem + ".conf"};
  bench::writeAddressBook(book.file, cards);
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  platform::IniProfileFile(files).write(book.config, "VC", "File", book.file);
  return book;
}

// Reading the file once and counting its cards: what no load can beat.
double floorTime(const Book& book, std::size_t cards) {
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    Clock::time_point start = Clock::now();
    std::optional<std::string> text = files.readFile(book.file);
    std::size_t found = 0;
    std::string_view rest = text ? std::string_view(*text) : std::string_view();
    for (std::size_t at = rest.find("BEGIN:VCARD"); at != std::string_view::npos;
         at = rest.find("BEGIN:VCARD", at + 1)) {
      ++found;
    }
    times.push_back(milliseconds(Clock::now() - start));
    if (found != cards) std::printf("floor: %zu cards found of %zu\n", found, cards);
  }
  return median(times);
}

// The real services of Windows around a real window.
struct Services {
  explicit Services(const std::string& config) : settings(profile, config) {}

  platform::win32::Window window{app::mainWindowDefinition()};
  bench::NullDialogs dialogs;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files{operations};
  platform::win32::Clock clock;
  platform::IniProfileFile profile{files};
  platform::Settings settings;
  platform::win32::SerialPort serial;
  platform::win32::Shell shell;
  std::unique_ptr<platform::Http> http = platform::makeMachineHttp();
  std::unique_ptr<platform::Keyring> keyring = platform::makeMachineKeyring();
};

// From a changed search text to the repainted table: the tick that notices
// the change, the fill from the store, the list view told and painted. The
// text alternates between two spellings of MÜLLER, so every tick refills.
double keystrokeTime(const Book& book, int& rows) {
  Services services(book.config);
  table::Records records;
  table::Screen screen{services.window, services.window, services.window, services.clock};
  // Loads and fills copy nothing to backups.
  document::Document document{records, screen, services.files,
                              platform::Setting{services.settings, app::setting::addressFile}, ""};
  app::FileCommands commands(document, records, screen, services.dialogs, services.files);
  services.window.setContent(records.table);
  table::setupTableColumns(services.window);
  services.window.show();
  commands.loadConfigured("");
  app::TickState tick;
  app::timerTick(tick, records, screen, commands, true);
  services.window.processPendingEvents();
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    services.window.setText(control::filterEdit, run % 2 == 0 ? "M\xDCLLER" : "M\xFCller");
    Clock::time_point start = Clock::now();
    app::timerTick(tick, records, screen, commands, true);
    services.window.paintNow();
    times.push_back(milliseconds(Clock::now() - start));
  }
  rows = records.table.rowCount();
  return median(times);
}

// The window built and shown, the configuration found, the file loaded and
// the table filled and painted.
double startUpTime(const Book& book, int& rows) {
  std::vector<double> times;
  for (int run = 0; run < runs; ++run) {
    Clock::time_point start = Clock::now();
    Services services(book.config);
    app::Program program({services.window, services.window, services.window, services.dialogs,
                          services.profile, services.files, services.clock, services.serial,
                          services.shell, *services.http, *services.keyring},
                         {book.config, "", ""}, "");
    program.start();
    services.window.processPendingEvents();
    services.window.paintNow();
    times.push_back(milliseconds(Clock::now() - start));
    rows = program.records().table.rowCount();
    services.window.setEventHandler(nullptr);
  }
  return median(times);
}

}  // namespace

int main(int argc, char** argv) {
  platform::win32::initCommonControls();
  std::size_t keystrokeCards = argc > 1 ? std::stoul(argv[1]) : 1'000'000;
  constexpr std::size_t startUpCards = 100'000;

  Book large = makeBook(keystrokeCards);
  int rows = 0;
  double floor = floorTime(large, keystrokeCards);
  double keystroke = keystrokeTime(large, rows);
  std::printf("keystroke, %zu cards: %.0f ms (%d rows shown), floor %.0f ms, %.2f x floor\n",
              keystrokeCards, keystroke, rows, floor, keystroke / floor);

  Book small = makeBook(startUpCards);
  double startUp = startUpTime(small, rows);
  std::printf("start-up, %zu cards: %.0f ms (%d rows shown)\n", startUpCards, startUp, rows);
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  for (const Book* book : {&large, &small}) {
    files.removeFile(book->file);
    files.removeFile(book->config);
  }
  return 0;
}
