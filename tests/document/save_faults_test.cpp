#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "app/program.h"
#include "platform/ini_profile_file.h"
#include "platform/posix/file_system.h"
#include "table/control_ids.h"
#include "tests/fakes/fake_carddav_server.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_keyring.h"
#include "tests/fakes/fake_serial_port.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/posix/faulty_file_operations.h"
#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::ControlId;
namespace control = table::control;
using testing_support::readBytes;

constexpr std::string_view oldFile =
    "BEGIN:VCARD\r\nN:Meier;Anna\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:Zander;Bernd\r\nEND:VCARD\r\n";

struct Fault {
  std::string_view name;
  // Sets the fault up; returns the path the save goes to (empty: the file in use).
  std::string (*inject)(testing_support::FaultyFileOperations& ops,
                        const testing_support::TempDir& dir);
};

const Fault faults[] = {
    {"missingFolder", [](auto&, const auto& dir) { return dir.file("fehlt/neu.vcf"); }},
    {"parentIsAFile", [](auto&, const auto& dir) { return dir.write("datei", "x") + "/neu.vcf"; }},
    {"fileCannotBeReplaced",
     [](auto& ops, const auto&) {
       ops.renameError = EPERM;
       return std::string();
     }},
    {"writeStoresOnlyPartThenFails",
     [](auto& ops, const auto&) {
       ops.maxBytesPerWrite = 7;
       ops.failingWrite = 3;
       ops.writeError = EIO;
       return std::string();
     }},
    {"fullDisk",
     [](auto& ops, const auto&) {
       ops.failingWrite = 0;
       ops.writeError = ENOSPC;
       return std::string();
     }},
    {"fullDiskInAFolderWithoutCreateRights",
     [](auto& ops, const auto&) {
       ops.createError = EACCES;
       ops.reserveError = ENOSPC;
       return std::string();
     }},
};

class SaveFault : public ::testing::TestWithParam<Fault> {};

TEST_P(SaveFault, leavesTheOldFileKeepsTheEditsAndALaterSaveSucceeds) {
  testing_support::TempDir dir;
  std::string address = dir.write("adressen.vcf", oldFile);
  std::string config = dir.write("zudedo.conf", "[VC]\r\nFile=" + address + "\r\n");
  testing_support::FaultyFileOperations ops;
  platform::posix::FileSystem files(ops);
  platform::IniProfileFile profile(files);
  testing_support::FakeWindow window;
  testing_support::FakeDialogs dialogs;
  testing_support::FakeClock clock;
  testing_support::FakeSerialPort serial;
  testing_support::FakeShell shell;
  testing_support::TempDir state;
  testing_support::FakeCardDavServer server;
  testing_support::FakeKeyring keyring;
  app::Program program(
      {window, window, window, dialogs, profile, files, clock, serial, shell, server, keyring},
      {config, dir.file("programm.cfg"), dir.file("etc.conf")}, state.file("backups"));
  program.start();
  window.events->timerExpired();
  window.setText(control::mobileEdit, "0170 1234");
  window.events->controlClicked(control::applyButton);

  std::string target = GetParam().inject(ops, dir);
  if (target.empty()) {
    window.events->controlClicked(control::saveButton);
  } else {
    dialogs.fileAnswers.push_back(target);
    window.events->controlClicked(control::saveAsButton);
  }

  EXPECT_EQ(readBytes(address), oldFile);
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir.path()))
    names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected{"adressen.vcf", "zudedo.conf"};
  if (std::string(GetParam().name) == "parentIsAFile")
    expected.insert(expected.begin() + 1, "datei");
  EXPECT_EQ(names, expected) << "a temporary file was left behind";
  ASSERT_FALSE(dialogs.messages.empty());
  EXPECT_EQ(dialogs.messages.back().caption, "Speichern fehlgeschlagen !");
  EXPECT_EQ(dialogs.messages.back().text, target.empty() ? address : target);
  EXPECT_EQ(program.document().currentFile(), address);
  EXPECT_TRUE(program.records().changed);

  ops = testing_support::FaultyFileOperations();
  window.events->controlClicked(control::saveButton);
  EXPECT_EQ(readBytes(address),
            "BEGIN:VCARD\r\nN:Meier;Anna\r\nTEL;CELL:0170 1234\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nN:Zander;Bernd\r\nEND:VCARD\r\n");
  EXPECT_FALSE(program.records().changed);
}

INSTANTIATE_TEST_SUITE_P(Faults, SaveFault, ::testing::ValuesIn(faults),
                         [](const auto& fault) { return std::string(fault.param.name); });

}  // namespace
