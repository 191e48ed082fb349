#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>

#include "app/config_location.h"
#include "app/file_commands.h"
#include "app/server_account.h"
#include "app/server_sync.h"
#include "app/tick.h"
#include "document/document.h"
#include "outputs/phone_connection.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/keyring.h"
#include "platform/profile_file.h"
#include "platform/record_view.h"
#include "platform/serial_port.h"
#include "platform/settings.h"
#include "platform/shell.h"
#include "platform/status_bar.h"
#include "platform/window.h"
#include "table/records.h"
#include "table/screen.h"
#include "table/sorting.h"

namespace app {

// The operating-system services the program runs on.
struct Services {
  platform::Window& window;
  platform::RecordView& recordView;
  platform::StatusBar& statusBar;
  platform::Dialogs& dialogs;
  platform::ProfileFile& profile;
  platform::FileSystem& files;
  platform::Clock& clock;
  platform::SerialPort& serial;
  platform::Shell& shell;
  platform::Http& http;
  platform::Keyring& keyring;
};

// The running program: its state for the whole run, the start-up after the
// window has been built, and the handling of the window's events.
class Program : public platform::WindowEvents {
 public:
  // backupFolder: where copies of address files go before they are first
  // replaced in a run (Windows-1252); serverPassword: the CardDAV server's
  // password when the environment gives one.
  Program(Services services, ConfigCandidates candidates, std::string backupFolder,
          std::optional<std::string> serverPassword = std::nullopt);

  // Shows the window, finds the configuration, starts the timer, loads the
  // address file, attaches the tooltips, connects the telephone and finally
  // takes over the window's events.
  void start();

  void timerExpired() override;
  void controlClicked(platform::ControlId id) override;
  void columnClicked(int column) override;
  // Also reloads the address file when another program changed it.
  void activationChanged(bool active) override;
  bool closeRequested() override;

  [[nodiscard]] const table::Records& records() const { return records_; }
  [[nodiscard]] const document::Document& document() const { return *document_; }
  [[nodiscard]] const std::string& configPath() const { return settings_->path(); }

 private:
  using Operation = void (Program::*)(platform::ControlId);
  struct Command {
    platform::ControlId id;
    Operation operation;
  };
  static const std::array<Command, 17> commands_;

  [[nodiscard]] FileCommands fileCommands();
  [[nodiscard]] platform::Setting telephonePort();
  void run(platform::ControlId id);
  void runHeldBackCommands();
  // Synchronises with the CardDAV server (ServerSync::run) and reloads what
  // that changed.
  void synchronise(bool asked);

  void apply(platform::ControlId);
  void deleteSelected(platform::ControlId);
  void addNew(platform::ControlId);
  void duplicate(platform::ControlId);
  void openFile(platform::ControlId);
  void save(platform::ControlId);
  void saveAs(platform::ControlId);
  void writeList(platform::ControlId);
  void portSettings(platform::ControlId);
  void mail(platform::ControlId);
  void telephone(platform::ControlId id);
  void resetFilter(platform::ControlId);

  Services services_;
  table::Screen screen_;
  ConfigCandidates candidates_;
  std::string backupFolder_;
  std::optional<platform::Settings> settings_;
  table::Records records_;
  std::optional<document::Document> document_;
  std::optional<std::string> serverPassword_;
  std::optional<ServerAccount> serverAccount_;
  std::optional<ServerSync> serverSync_;
  TickState tick_;
  int sortCycle_ = 0;
  platform::ControlId savedFocus_ = platform::ControlId::none;
  outputs::PhoneConnection phone_;
  // Commands that arrived while a load or fill was running, in order.
  std::deque<platform::ControlId> heldBack_;
  // True while a command runs: its message boxes let events through, and the
  // records must not be replaced by a reload under it.
  bool commandRunning_ = false;
};

}  // namespace app
