#include "platform/win32/shell.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/win32/wide_text.h"
#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readBytes;

// The recording program sits beside this test program as notepad.exe, the
// first place where CreateProcess looks for a program.
fs::path recorder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / "notepad.exe";
}

class Win32ShellTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(recorder()));
    SetEnvironmentVariableW(L"MORVI_RECORD_FILE", record.c_str());
  }
  void TearDown() override { SetEnvironmentVariableW(L"MORVI_RECORD_FILE", nullptr); }

  // The recorded command line, once the program has written it.
  std::string recorded() const {
    for (int wait = 0; wait < 200; ++wait) {
      std::string line = readBytes(record);
      if (line.ends_with('\n')) return line;
      Sleep(50);
    }
    return {};
  }

  testing_support::TempDir dir;
  fs::path record = dir.path() / "aufruf.txt";
  platform::win32::Shell shell;
};

TEST_F(Win32ShellTest, theListOpensInNotepadAsOneArgument) {
  std::string list = dir.file("Ordner mit Leerzeichen \xE4\\prot.txt");

  shell.openFile(list);

  // The command line arrives as UTF-8 from the recorder.
  std::u8string utf8 = fs::path(platform::win32::toWide(list)).u8string();
  EXPECT_EQ(recorded(), "notepad.exe \"" + std::string(utf8.begin(), utf8.end()) + "\"\n");
}

// The test run (scripts/test-windows) registers the recording program as
// the prefix's mail program for mailto.
TEST_F(Win32ShellTest, aMailtoUrlReachesTheRegisteredMailProgram) {
  if (std::getenv("MORVI_TEST_MAIL_PROGRAM") == nullptr) {
    GTEST_SKIP() << "no mail program registered: run scripts/test-windows";
  }

  shell.openUrl("mailto:anna@example.org?Subject=&Body=");

  std::string line = recorded();
  EXPECT_TRUE(line.ends_with(" \"mailto:anna@example.org?Subject=&Body=\"\n")) << line;
}

}  // namespace
