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

// The recording program, built beside this test program as notepad.exe:
// where Windows would look first for a program of that name.
fs::path recorder() {
  wchar_t self[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, self, MAX_PATH);
  return fs::path(self).parent_path() / "notepad.exe";
}

std::string utf8(const fs::path& path) {
  std::u8string text = path.u8string();
  return {text.begin(), text.end()};
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
};

TEST_F(Win32ShellTest, theListOpensInNotepadNamedByItsFullPathWithTheListAsOneArgument) {
  platform::win32::Shell shell(recorder().wstring());
  std::string list = dir.file("Ordner mit Leerzeichen \xE4\\prot.txt");

  shell.openFile(list);

  // The command line arrives as UTF-8 from the recorder.
  EXPECT_EQ(recorded(), "\"" + utf8(recorder()) + "\" \"" +
                            utf8(fs::path(platform::win32::toWide(list))) + "\"\n");
}

// A notepad.exe beside the program and one in the current folder (both the
// recording program) are never started: the system's own Notepad shows the
// list.
TEST_F(Win32ShellTest, notepadComesFromTheSystemFolderAndNeverFromWhereItWasPut) {
  if (std::getenv("DISPLAY") == nullptr) GTEST_SKIP() << "no display: run scripts/test-windows";
  fs::copy_file(recorder(), dir.path() / "notepad.exe");
  wchar_t previousFolder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, previousFolder);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));
  std::string list = dir.write("prot.txt", "Muster              Anna\r\n\r\n");

  platform::win32::Shell().openFile(list);

  // Notepad's window, once it names the list it has read.
  auto notepadWithTheList = [] {
    HWND notepad = FindWindowW(L"Notepad", nullptr);
    wchar_t title[64] = {};
    if (notepad != nullptr) GetWindowTextW(notepad, title, 64);
    return std::wstring_view(title).starts_with(L"prot.txt") ? notepad : nullptr;
  };
  HWND notepad = nullptr;
  for (int wait = 0; wait < 200 && notepad == nullptr; ++wait) {
    notepad = notepadWithTheList();
    if (notepad == nullptr) Sleep(50);
  }
  SetCurrentDirectoryW(previousFolder);
  ASSERT_NE(notepad, nullptr) << readBytes(record);
  PostMessageW(notepad, WM_CLOSE, 0, 0);
  EXPECT_FALSE(fs::exists(record)) << readBytes(record);
}

// The test run (scripts/test-windows) registers the recording program as
// the prefix's mail program for mailto.
TEST_F(Win32ShellTest, aMailtoUrlReachesTheRegisteredMailProgram) {
  if (std::getenv("MORVI_TEST_MAIL_PROGRAM") == nullptr) {
    GTEST_SKIP() << "no mail program registered: run scripts/test-windows";
  }

  platform::win32::Shell().openUrl("mailto:anna@example.org?Subject=&Body=");

  std::string line = recorded();
  EXPECT_TRUE(line.ends_with(" \"mailto:anna@example.org?Subject=&Body=\"\n")) << line;
}

}  // namespace
