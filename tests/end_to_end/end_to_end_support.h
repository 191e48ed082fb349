#pragma once

// The whole program as main() puts it together, run in a home folder of its
// own and driven through its window as a user would drive it.

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/config_location.h"
#include "app/main_window_definition.h"
#include "app/program.h"
#include "platform/ini_profile_file.h"
#include "platform/machine_http.h"
#include "platform/posix/clock.h"
#include "platform/posix/file_operations.h"
#include "platform/posix/file_system.h"
#include "platform/posix/shell.h"
#include "platform/qt/serial_port.h"
#include "platform/qt/window.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_keyring.h"
#include "tests/fakes/pty_telephone.h"
#include "tests/fakes/temp_dir.h"

namespace testing_support {

// Processes events (the program's timer among them) until condition holds
// or limit has passed; returns whether it holds.
bool waitUntil(const std::function<bool()>& condition,
               std::chrono::milliseconds limit = std::chrono::seconds(5));

// A fresh home for the life of the object: HOME, XDG_CONFIG_HOME and
// XDG_STATE_HOME point into a temporary folder and the working directory is
// a folder there; all of them are restored afterwards.
class TemporaryHome {
 public:
  TemporaryHome();
  ~TemporaryHome();
  TemporaryHome(const TemporaryHome&) = delete;
  TemporaryHome& operator=(const TemporaryHome&) = delete;

  [[nodiscard]] const std::filesystem::path& home() const { return home_; }
  // $XDG_CONFIG_HOME
  [[nodiscard]] const std::filesystem::path& config() const { return config_; }
  // The working directory of the program.
  [[nodiscard]] const std::filesystem::path& work() const { return work_; }
  [[nodiscard]] std::string configFile() const { return (config_ / "zudedo.conf").string(); }
  // Writes the cards to ~/adressen.vcf and a configuration that names that
  // file; returns its path.
  std::string writeAddressBook(std::string_view cards) const;
  // Where the program keeps the copies of address files.
  [[nodiscard]] std::filesystem::path backups() const { return state_ / "zudedo" / "backups"; }

 private:
  TempDir dir_;
  std::filesystem::path home_;
  std::filesystem::path config_;
  std::filesystem::path state_;
  std::filesystem::path work_;
  std::optional<std::string> oldHome_;
  std::optional<std::string> oldConfig_;
  std::optional<std::string> oldState_;
  std::filesystem::path oldWork_;
};

// The system's clock, whose tick count a test may move on, so that what
// waits for minutes happens at once.
class MovableClock : public platform::Clock {
 public:
  [[nodiscard]] std::uint32_t tickCount() const override { return clock_.tickCount() + moved; }
  [[nodiscard]] platform::Date today() const override { return clock_.today(); }
  [[nodiscard]] platform::LocalTime now() const override { return clock_.now(); }
  void sleep(int milliseconds) override { clock_.sleep(milliseconds); }

  std::uint32_t moved = 0;

 private:
  platform::posix::Clock clock_;
};

// The real services of main(), the real window, and dialogs that answer from
// scripts. Construct it inside a TemporaryHome: it reads the environment.
class RunningProgram {
 public:
  RunningProgram();
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // The start-up of main(); returns once the window is on the screen.
  void start();

  [[nodiscard]] QWidget* control(platform::ControlId id) const { return window.control(id); }
  [[nodiscard]] std::string text(platform::ControlId id) const { return window.text(id); }
  // A mouse click on a button.
  void click(platform::ControlId id);
  // Clicks into an edit field, selects all it holds and types text
  // (Windows-1252; "\n" is the Enter key) over it: ASCII through
  // QTest::keyClicks, other letters as key events.
  void typeInto(platform::ControlId id, std::string_view text);

  // The table as the view shows it, in Windows-1252; rows and columns count
  // from 1.
  [[nodiscard]] int rowCount() const;
  [[nodiscard]] std::string cell(int row, int column) const;
  [[nodiscard]] std::vector<std::string> columnTexts(int column) const;
  // The first row whose column 1 is name, or 0.
  [[nodiscard]] int rowOf(std::string_view name) const;
  // Clicks a row; first, as a user looks before clicking, waits until the
  // row label has caught up with the selection (the timer's tick does that
  // after a refill or a sort), unless atOnce.
  void clickRow(int row, bool atOnce = false);
  void clickHeader(int column);
  [[nodiscard]] std::string statusText(int part) const;

  // The close box: returns whether the window went.
  bool closeWindow();

  platform::posix::FileOperations fileOperations;
  platform::posix::FileSystem files{fileOperations};
  platform::IniProfileFile profile{files};
  MovableClock clock;
  platform::posix::Shell shell;
  platform::qt::SerialPort serial;
  platform::qt::Window window{app::mainWindowDefinition()};
  FakeDialogs dialogs;
  std::unique_ptr<platform::Http> http = platform::makeMachineHttp();
  // Never the keyring of the one who runs the tests.
  FakeKeyring keyring;
  app::Program program;
};

// A pseudo-terminal whose master end plays a telephone on a thread of its
// own: it collects every byte the program sends and answers each "AT" line
// with "OK".
class Telephone {
 public:
  Telephone() { line_.start(); }

  // The device the program opens.
  [[nodiscard]] const std::string& slave() const { return line_.slave(); }
  [[nodiscard]] std::string received() const { return line_.received(); }
  // Waits (processing events) until at least count bytes have arrived;
  // returns what has arrived.
  [[nodiscard]] std::string receivedAtLeast(std::size_t count) const;

 private:
  PtyTelephone line_;
};

// A stand-in for xdg-open, first on PATH for the life of the object, that
// records how many arguments it got and the first one, byte for byte.
class RecordingOpener {
 public:
  RecordingOpener();
  ~RecordingOpener();
  RecordingOpener(const RecordingOpener&) = delete;
  RecordingOpener& operator=(const RecordingOpener&) = delete;

  // The next call ("1\n" and the argument), waiting up to five seconds; it
  // is then forgotten so that the next one can be told apart.
  std::string takeCall();

 private:
  TempDir dir_;
  std::filesystem::path record_;
  std::optional<std::string> oldPath_;
};

}  // namespace testing_support
