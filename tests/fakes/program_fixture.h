#pragma once

#include <optional>
#include <string>
#include <utility>

#include "app/program.h"
#include "tests/fakes/fake_carddav_server.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_keyring.h"
#include "tests/fakes/fake_serial_port.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_profile_file.h"

namespace testing_support {

// The whole program on fakes: an address file in memory, the configuration
// naming it, and a window without pixels.
struct ProgramFixture {
  static constexpr const char* configPath = "/home/anna/.config/zudedo.conf";
  static constexpr const char* addressPath = "/home/anna/adressen.vcf";
  static constexpr const char* backupFolder = "/home/anna/.local/state/zudedo/backups";

  // serverPassword: the environment's, standing in for the keyring.
  explicit ProgramFixture(std::string addressFile, std::optional<std::string> serverPassword = "pw")
      : program{app::Services{window, window, window, dialogs, profile, files, clock, serial, shell,
                              server, keyring},
                app::ConfigCandidates{configPath, "/opt/morvi/morvi-telefonbuch.cfg",
                                      "/etc/zudedo.conf"},
                backupFolder, std::move(serverPassword)} {
    files.files[addressPath] = std::move(addressFile);
    files.files[configPath] = "";
    profile.values[{configPath, "VC", "File"}] = addressPath;
  }

  app::Program& start() {
    program.start();
    return program;
  }
  // One timer expiry as the window delivers it.
  void tick() { window.events->timerExpired(); }
  void click(platform::ControlId id) { window.events->controlClicked(id); }

  FakeWindow window;
  FakeDialogs dialogs;
  MemoryProfileFile profile;
  MemoryFileSystem files;
  FakeClock clock;
  FakeSerialPort serial;
  FakeShell shell;
  FakeCardDavServer server;
  FakeKeyring keyring;
  app::Program program;
};

}  // namespace testing_support
