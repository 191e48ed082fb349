#include "platform/win32/config_candidates.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/win32/file_operations.h"
#include "platform/win32/file_system.h"
#include "platform/win32/wide_text.h"
#include "tests/fakes/temp_dir.h"

namespace {

using platform::ConfigCandidates;
using platform::win32::configCandidates;
using testing_support::readBytes;
using testing_support::TempDir;

TEST(Win32ConfigCandidates, areTheTemporaryFolderTheProgramAndDriveC) {
  ConfigCandidates candidates = configCandidates("C:\\Users\\Anna\\AppData\\Local\\Temp\\",
                                                 "C:\\Programme\\Morvi\\TB.EXE", "zudedo.conf");

  EXPECT_EQ(candidates.temporaryFolderFile, "C:\\Users\\Anna\\AppData\\Local\\Temp\\zudedo.conf");
  EXPECT_EQ(candidates.programFile, "C:\\Programme\\Morvi\\TB.cfg");
  EXPECT_EQ(candidates.rootFile, "c:\\zudedo.conf");
}

TEST(Win32ConfigCandidates, withoutATemporaryFolderOrProgramPath) {
  ConfigCandidates candidates = configCandidates("", "", "zudedo.conf");

  EXPECT_EQ(candidates.temporaryFolderFile, "zudedo.conf");
  EXPECT_EQ(candidates.programFile, "");
  EXPECT_EQ(candidates.rootFile, "c:\\zudedo.conf");
}

TEST(Win32ConfigCandidates, theLastFourCharactersAreReplacedWhateverTheyAre) {
  EXPECT_EQ(configCandidates("", "C:\\M\xFC\\tb.com", "zudedo.conf").programFile,
            "C:\\M\xFC\\tb.cfg");
  EXPECT_EQ(configCandidates("", "C:\\tb", "zudedo.conf").programFile, "C.cfg");
  EXPECT_EQ(configCandidates("", "tb", "zudedo.conf").programFile, "");
}

TEST(Win32ConfigCandidates, longPathsAreCutTo256Characters) {
  std::string folder = "C:\\" + std::string(300, 'a') + "\\";
  ConfigCandidates candidates = configCandidates(folder, folder + "tb.exe", "zudedo.conf");

  EXPECT_EQ(candidates.temporaryFolderFile, folder.substr(0, 256));
  EXPECT_EQ(candidates.programFile, folder.substr(0, 256));
}

TEST(Win32ConfigCandidates, ofThisProcessNameItsTemporaryFolderAndExecutable) {
  wchar_t temporary[MAX_PATH + 1] = {};
  ASSERT_NE(GetTempPathW(MAX_PATH + 1, temporary), 0U);
  wchar_t program[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameW(nullptr, program, MAX_PATH), 0U);
  std::string programPath = platform::win32::fromWide(program);

  ConfigCandidates candidates = platform::configCandidatesOfThisProcess("zudedo.conf");

  EXPECT_EQ(candidates.temporaryFolderFile, platform::win32::fromWide(temporary) + "zudedo.conf");
  EXPECT_TRUE(candidates.temporaryFolderFile.ends_with("\\zudedo.conf"));
  ASSERT_TRUE(programPath.ends_with(".exe"));
  EXPECT_EQ(candidates.programFile, programPath.substr(0, programPath.size() - 4) + ".cfg");
  EXPECT_EQ(candidates.rootFile, "c:\\zudedo.conf");
}

// A user whose name has no Windows-1252 form: the configuration is still in
// the temporary folder, and a file can be written there.
TEST(Win32ConfigCandidates, aTemporaryFolderNamedInCyrillicWorks) {
  TempDir dir;
  std::filesystem::path folder = dir.path() / L"\u0418\u0432\u0430\u043D";
  std::filesystem::create_directory(folder);
  wchar_t previous[MAX_PATH + 1] = {};
  GetEnvironmentVariableW(L"TMP", previous, MAX_PATH + 1);
  ASSERT_TRUE(SetEnvironmentVariableW(L"TMP", (folder.wstring() + L"\\").c_str()));
  ConfigCandidates candidates = platform::configCandidatesOfThisProcess("zudedo.conf");
  SetEnvironmentVariableW(L"TMP", previous[0] != 0 ? previous : nullptr);

  EXPECT_EQ(platform::win32::toWide(candidates.temporaryFolderFile),
            (folder / L"zudedo.conf").wstring());
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  ASSERT_TRUE(files.replaceFile(candidates.temporaryFolderFile, "[port]\r\n"));
  EXPECT_EQ(readBytes(folder / L"zudedo.conf"), "[port]\r\n");
}

TEST(Win32BackupFolder, isZudedoBackupsInTheLocalApplicationData) {
  EXPECT_EQ(platform::win32::backupFolder("C:\\Users\\M\xFCller\\AppData\\Local", "zudedo"),
            "C:\\Users\\M\xFCller\\AppData\\Local\\zudedo\\backups");
  EXPECT_EQ(platform::win32::backupFolder("C:\\Daten\\\\", "zudedo"), "C:\\Daten\\zudedo\\backups");
  EXPECT_EQ(platform::win32::backupFolder("", "zudedo"), "");
  EXPECT_EQ(platform::win32::backupFolder("\\", "zudedo"), "");
}

TEST(Win32BackupFolder, ofThisProcessIsBelowLocalAppData) {
  wchar_t local[MAX_PATH] = {};
  DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", local, MAX_PATH);
  ASSERT_GT(length, 0U);
  ASSERT_LT(length, static_cast<DWORD>(MAX_PATH));

  std::string folder = platform::backupFolderOfThisProcess("zudedo");

  EXPECT_EQ(folder, platform::win32::fromWide(local) + "\\zudedo\\backups");
}

}  // namespace
