// The hot paths of the address book on generated address books of 1,000 to
// 1,000,000 cards in the program's own form: loading the file, the filter
// pass of the table fill, and building and writing the file text of a save,
// and the entry list of every record written to prot.txt; and the load and
// the save of address books in the form phones and servers write (the
// BM_Phone benchmarks). Each is next to the physical floor of reading the
// file once and finding its cards.
//
// bench/report runs this program and compares the results with the floor.

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "addressbook/record_filter.h"
#include "addressbook/vcard_writer.h"
#include "app/file_commands.h"
#include "app/setting_keys.h"
#include "bench/address_book_generator.h"
#include "bench/null_services.h"
#include "bench/window_benchmarks.h"
#include "document/disk_file.h"
#include "document/document.h"
#include "outputs/entry_list.h"
#include "platform/ini_profile_file.h"
#include "platform/posix/clock.h"
#include "platform/posix/file_operations.h"
#include "platform/posix/file_system.h"
#include "platform/settings.h"

extern char** environ;

namespace bench {

namespace {

constexpr std::array<std::size_t, 4> cardCounts{1'000, 10'000, 100'000, 1'000'000};
constexpr std::array<std::size_t, 2> phoneCardCounts{1'000, 1'000'000};

// The filter MÜLLER in Windows-1252, as the fill gets it (already upper case).
constexpr std::string_view muellerFilter = "M\xDCLLER";

// The option under which this program loads one file in a child process to
// measure the memory a load needs (see peakRssOfLoad).
constexpr std::string_view loadRssOption = "--morvi-load-rss=";

// An address book as the program holds it, with the services a load runs
// with: the real file system, INI file and clock, and a window and dialogs
// that do nothing.
struct Services {
  explicit Services(const std::string& configPath) : settings(profile, configPath) {}

  // Loads the configured file as the program does at start-up.
  void load() { app::FileCommands(document, records, screen, dialogs, files).loadConfigured(""); }

  NullWindow window;
  NullDialogs dialogs;
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files{operations};
  platform::posix::Clock clock;
  platform::IniProfileFile profile{files};
  platform::Settings settings;
  table::Records records;
  table::Screen screen{window, window, window, clock};
  // Loads and fills copy nothing to backups.
  document::Document document{records, screen, files,
                              platform::Setting{settings, app::setting::addressFile}, ""};
};

// Kilobytes of a line such as "VmHWM:  1234 kB" of /proc/self/status.
long statusKilobytes(std::string_view name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.starts_with(name) && line.size() > name.size() && line[name.size()] == ':') {
      return std::strtol(line.c_str() + name.size() + 1, nullptr, 10);
    }
  }
  return -1;
}

// The child side of peakRssOfLoad: one load of the configured file, then
// the high-water mark of the resident memory before and after it and the
// number of rows shown, on standard output.
int runLoadForRss(const std::string& configPath) {
  long before = statusKilobytes("VmHWM");
  auto services = std::make_unique<Services>(configPath);
  services->load();
  long after = statusKilobytes("VmHWM");
  std::printf("%ld %ld %d %d\n", before, after, services->records.table.rowCount(),
              services->dialogs.messages);
  return 0;
}

struct LoadRss {
  double baseMb = 0;  // the process before the load
  double peakMb = 0;  // the whole process after the load (high-water mark)
  int rows = 0;
};

// The resident memory that loading the file of one configuration needs, as
// the high-water mark (VmHWM) of a fresh process that does nothing but that
// one load. getrusage's ru_maxrss cannot be used for this: it only grows over
// the life of a process (this one has held larger books before), and after
// an exec it carries over the high-water mark of the process image replaced,
// while VmHWM belongs to the new image alone.
std::optional<LoadRss> peakRssOfLoad(const std::string& configPath) {
  int pipeEnds[2];
  if (pipe(pipeEnds) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  std::string self = "/proc/self/exe";
  std::string option = std::string(loadRssOption) + configPath;
  std::vector<char*> argv{self.data(), option.data(), nullptr};
  pid_t child = 0;
  int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(pipeEnds[1]);
  std::string output;
  if (spawned == 0) {
    char buffer[256];
    ssize_t got = 0;
    while ((got = read(pipeEnds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR)) {
      if (got > 0) output.append(buffer, static_cast<std::size_t>(got));
    }
  }
  close(pipeEnds[0]);
  if (spawned != 0) return std::nullopt;
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  std::istringstream fields(output);
  long before = 0;
  long after = 0;
  LoadRss rss;
  int messages = 0;
  if (!(fields >> before >> after >> rss.rows >> messages) || messages != 0) return std::nullopt;
  rss.baseMb = static_cast<double>(before) / 1024.0;
  rss.peakMb = static_cast<double>(after) / 1024.0;
  return rss;
}

double megabytes(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The benchmark's own temporary folder: the generated address books (one per
// card count, made on first use and kept for the whole run), a configuration
// file naming each, the file a save writes, and the one loaded address book
// that the filter and save benchmarks work on.
class Workspace {
 public:
  struct Book {
    std::string file;
    std::string config;
    std::uint64_t bytes = 0;
    std::optional<LoadRss> loadRss;  // measured once
  };

  Workspace() {
    std::string folder = (std::filesystem::temp_directory_path() / "morvi-bench-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
      std::perror("mkdtemp");
      std::exit(1);
    }
    folder_ = folder;
  }
  ~Workspace() {
    loaded_.reset();
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  Workspace(const Workspace&) = delete;
  Workspace& operator=(const Workspace&) = delete;

  Book& book(std::size_t cards, CardForm form = CardForm::own) {
    auto found = books_.find({form, cards});
    if (found != books_.end()) return found->second;
    Book book;
    std::string stem =
        (folder_ / ((form == CardForm::own ? "book-" : "phone-") + std::to_string(cards))).string();
    book.file = stem + ".vcf";
    book.config = stem + ".conf";
    book.bytes = writeAddressBook(book.file, cards, form);
    std::ofstream config(book.config, std::ios::binary);
    config << "[VC]\r\nFile=" << book.file << "\r\n";
    if (book.bytes == 0 || !config.flush()) {
      std::fprintf(stderr, "cannot write %s\n", book.file.c_str());
      std::exit(1);
    }
    return books_.emplace(std::pair{form, cards}, std::move(book)).first->second;
  }

  struct Loaded {
    std::size_t cards = 0;
    CardForm form = CardForm::own;
    std::unique_ptr<Services> services;
  };

  // The address book of cards cards, loaded; the one loaded before is
  // dropped first so that only one large store is held at a time.
  Loaded& loaded(std::size_t cards, CardForm form = CardForm::own) {
    if (loaded_ && loaded_->cards == cards && loaded_->form == form) return *loaded_;
    loaded_.reset();
    Book& file = book(cards, form);
    auto loaded = std::make_unique<Loaded>();
    loaded->cards = cards;
    loaded->form = form;
    loaded->services = std::make_unique<Services>(file.config);
    loaded->services->load();
    loaded_ = std::move(loaded);
    return *loaded_;
  }

  [[nodiscard]] std::string savePath() const { return (folder_ / "saved.vcf").string(); }
  [[nodiscard]] std::string folder() const { return folder_.string(); }

 private:
  std::filesystem::path folder_;
  std::map<std::pair<CardForm, std::size_t>, Book> books_;
  std::unique_ptr<Loaded> loaded_;
};

// Reads the whole file into fresh memory with one read of its length and
// counts its card separators: no program can load the file faster.
void floorBenchmark(benchmark::State& state, Workspace& workspace, CardForm form) {
  auto cards = static_cast<std::size_t>(state.range(0));
  const Workspace::Book& book = workspace.book(cards, form);
  std::size_t found = 0;
  for (auto _ : state) {
    int fd = open(book.file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat info = {};
    if (fd < 0 || fstat(fd, &info) != 0) {
      state.SkipWithError("cannot open the address book");
      break;
    }
    auto size = static_cast<std::size_t>(info.st_size);
    auto buffer = std::make_unique_for_overwrite<char[]>(size);
    std::size_t have = 0;
    while (have < size) {
      ssize_t got = read(fd, buffer.get() + have, size - have);
      if (got <= 0) break;
      have += static_cast<std::size_t>(got);
    }
    close(fd);
    found = 0;
    constexpr std::string_view separator = "BEGIN:VCARD";
    const char* at = buffer.get();
    const char* end = buffer.get() + have;
    while (const void* hit =
               memmem(at, static_cast<std::size_t>(end - at), separator.data(), separator.size())) {
      ++found;
      at = static_cast<const char*>(hit) + separator.size();
    }
    benchmark::DoNotOptimize(found);
  }
  if (found != cards) state.SkipWithError("wrong number of cards");
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * book.bytes));
  state.counters["file_mb"] = megabytes(book.bytes);
}

// loadAddressFile as the program runs it at start-up or on open: the
// configured file read, split, parsed into a new store that replaces the old
// one (the old store is destroyed inside the measurement, as in the
// program), and the table filled with every record.
void loadBenchmark(benchmark::State& state, Workspace& workspace, CardForm form) {
  auto cards = static_cast<std::size_t>(state.range(0));
  Workspace::Book& file = workspace.book(cards, form);
  auto services = std::make_unique<Services>(file.config);
  // Every measured load replaces a store of the same size.
  services->load();
  for (auto _ : state) {
    services->load();
  }
  if (services->dialogs.messages != 0) {
    state.SkipWithError(services->dialogs.lastMessage.c_str());
    return;
  }
  if (static_cast<std::size_t>(services->records.table.rowCount()) != cards) {
    state.SkipWithError("wrong number of rows");
    return;
  }
  if (!file.loadRss) file.loadRss = peakRssOfLoad(file.config);
  if (!file.loadRss || static_cast<std::size_t>(file.loadRss->rows) != cards) {
    state.SkipWithError("the load in a child process failed");
    return;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * file.bytes));
  state.counters["file_mb"] = megabytes(file.bytes);
  state.counters["peak_rss_mb"] = file.loadRss->peakMb;
  state.counters["base_rss_mb"] = file.loadRss->baseMb;
}

// The filter pass of the table fill over a loaded store.
void filterBenchmark(benchmark::State& state, Workspace& workspace, std::string_view filter) {
  auto cards = static_cast<std::size_t>(state.range(0));
  const addressbook::RecordStore& store = workspace.loaded(cards).services->records.store;
  std::size_t rows = 0;
  for (auto _ : state) {
    std::vector<std::uint32_t> slots = addressbook::filterRecords(store, filter);
    rows = slots.size();
    benchmark::DoNotOptimize(slots.data());
  }
  if (filter.empty() ? rows != cards : rows == 0) state.SkipWithError("wrong number of rows");
  state.counters["rows"] = static_cast<double>(rows);
}

// The bytes of a save built from a loaded store and written to a file (one
// plain write of all bytes, no sync), with what the save does around the
// write: the file it replaces read and hashed, to see that nobody changed
// it, and the hash of the bytes written kept for the next save. The counter
// text_ms is the part of the time that building the text takes.
void saveBenchmark(benchmark::State& state, Workspace& workspace, CardForm form) {
  auto cards = static_cast<std::size_t>(state.range(0));
  const addressbook::RecordStore& store = workspace.loaded(cards, form).services->records.store;
  std::string path = workspace.savePath();
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files{operations};
  std::string first = addressbook::addressFileText(store);
  if (!files.replaceFile(path, first)) {
    state.SkipWithError("cannot write the saved file");
    return;
  }
  document::DiskFile written = document::diskFileOf(path, files.stamp(path), first);
  first = std::string();
  std::size_t bytes = 0;
  std::chrono::duration<double, std::milli> building{};
  for (auto _ : state) {
    if (!document::holdsRememberedBytes(written, files)) {
      state.SkipWithError("the saved file changed");
      break;
    }
    // A new file each time: cutting the old one to length 0 and writing it
    // again makes ext4 start writing it back at close (auto_da_alloc).
    state.PauseTiming();
    unlink(path.c_str());
    state.ResumeTiming();
    auto start = std::chrono::steady_clock::now();
    std::string text = addressbook::addressFileText(store);
    building += std::chrono::steady_clock::now() - start;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    std::size_t done = 0;
    while (fd >= 0 && done < text.size()) {
      ssize_t put = write(fd, text.data() + done, text.size() - done);
      if (put <= 0) break;
      done += static_cast<std::size_t>(put);
    }
    if (fd < 0 || close(fd) != 0 || done != text.size()) {
      state.SkipWithError("cannot write the saved file");
      break;
    }
    written = document::diskFileOf(path, files.stamp(path), text);
    bytes = text.size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
  state.counters["file_mb"] = megabytes(bytes);
  // The share of the time spent building the text rather than writing it.
  state.counters["text_ms"] =
      building.count() /
      static_cast<double>(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

// The system calls of the machine, with the workspace as the working
// folder, so that the list lands there.
class WorkspaceFileOperations : public platform::posix::FileOperations {
 public:
  explicit WorkspaceFileOperations(std::string folder) : folder_(std::move(folder)) {}
  platform::posix::SysResult<std::string> currentDirectory() override { return {folder_, 0}; }

 private:
  std::string folder_;
};

// The list button on a loaded address book whose table shows every record:
// the list text built from the rows and written to a new prot.txt.
void listBenchmark(benchmark::State& state, Workspace& workspace) {
  auto cards = static_cast<std::size_t>(state.range(0));
  const table::Records& records = workspace.loaded(cards).services->records;
  NullWindow window;
  platform::posix::Clock clock;
  table::Screen screen{window, window, window, clock};
  WorkspaceFileOperations operations(workspace.folder());
  platform::posix::FileSystem files(operations);
  NullShell shell;
  for (auto _ : state) {
    outputs::writeEntryList(screen, records.table, files, shell);
  }
  struct stat list = {};
  std::string path = workspace.folder() + "/" + std::string(outputs::entryListFileName);
  if (static_cast<std::size_t>(records.table.rowCount()) != cards ||
      shell.openedFiles != static_cast<int>(state.iterations()) ||
      ::stat(path.c_str(), &list) != 0) {
    state.SkipWithError("the list was not written");
    return;
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * list.st_size);
  state.counters["file_mb"] = megabytes(static_cast<std::uint64_t>(list.st_size));
}

void registerBenchmarks(Workspace& workspace) {
  // Grouped by card count, so that the loaded store of one count serves the
  // filter and save benchmarks before the next count is loaded.
  for (std::size_t cards : cardCounts) {
    auto arg = static_cast<std::int64_t>(cards);
    benchmark::RegisterBenchmark(
        "BM_Floor",
        [&workspace](benchmark::State& state) { floorBenchmark(state, workspace, CardForm::own); })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "BM_Load",
        [&workspace](benchmark::State& state) { loadBenchmark(state, workspace, CardForm::own); })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "BM_Filter",
        [&workspace](benchmark::State& state) { filterBenchmark(state, workspace, muellerFilter); })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "BM_FilterAll",
        [&workspace](benchmark::State& state) { filterBenchmark(state, workspace, {}); })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "BM_Save",
        [&workspace](benchmark::State& state) { saveBenchmark(state, workspace, CardForm::own); })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "BM_List", [&workspace](benchmark::State& state) { listBenchmark(state, workspace); })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
  // Address books as phones and servers write them.
  for (std::size_t cards : phoneCardCounts) {
    auto arg = static_cast<std::int64_t>(cards);
    benchmark::RegisterBenchmark("BM_PhoneFloor",
                                 [&workspace](benchmark::State& state) {
                                   floorBenchmark(state, workspace, CardForm::phone);
                                 })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "BM_PhoneLoad",
        [&workspace](benchmark::State& state) { loadBenchmark(state, workspace, CardForm::phone); })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(
        "BM_PhoneSave",
        [&workspace](benchmark::State& state) { saveBenchmark(state, workspace, CardForm::phone); })
        ->Arg(arg)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }
}

}  // namespace

}  // namespace bench

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]).starts_with(bench::loadRssOption)) {
    return bench::runLoadForRss(std::string(argv[1] + bench::loadRssOption.size()));
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  // The window benchmarks run offscreen unless told otherwise.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int noArguments = 1;
  QApplication application(noArguments, argv);
  bench::Workspace workspace;
  bench::registerBenchmarks(workspace);
  bench::registerWindowBenchmarks();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
