#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/win32_file_system.h"
#include "tests/fakes/temp_dir.h"
#include "tests/win32/faulty_win32_file_operations.h"

namespace {

namespace fs = std::filesystem;
using testing_support::FaultyWin32FileOperations;
using testing_support::readBytes;
using testing_support::TempDir;

constexpr std::string_view oldBytes = "BEGIN:VCARD\r\nN:Alt\r\nEND:VCARD\r\n";
const std::string newBytes = "BEGIN:VCARD\r\nN:Neu\r\nEND:VCARD\r\n" + std::string(5000, 'x');

std::vector<std::string> namesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

void setAttribute(const std::string& path, DWORD attribute) {
  std::wstring wide = fs::path(path).wstring();
  ASSERT_TRUE(SetFileAttributesW(wide.c_str(), GetFileAttributesW(wide.c_str()) | attribute));
}

DWORD attributesOf(const std::string& path) {
  return GetFileAttributesW(fs::path(path).wstring().c_str());
}

struct SaveFault {
  const char* name;
  std::function<void(FaultyWin32FileOperations&)> inject;
};

class Win32SaveFault : public testing::TestWithParam<SaveFault> {};

TEST_P(Win32SaveFault, leavesTheOldFileByteForByteAndNoTemporaryFile) {
  TempDir dir;
  std::string target = dir.write("adressen.vcf", oldBytes);
  FaultyWin32FileOperations operations;
  GetParam().inject(operations);
  platform::win32::Win32FileSystem files(operations);

  EXPECT_FALSE(files.replaceFile(target, newBytes));

  EXPECT_EQ(readBytes(target), oldBytes);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"adressen.vcf"});
}

INSTANTIATE_TEST_SUITE_P(
    Faults, Win32SaveFault,
    testing::Values(
        SaveFault{"fullDisk", [](auto& ops) { ops.failingWrite = 0; }},
        SaveFault{"partOfTheBytesThenAFailure",
                  [](auto& ops) {
                    ops.maxBytesPerWrite = 7;
                    ops.failingWrite = 3;
                    ops.writeError = ERROR_WRITE_FAULT;
                  }},
        SaveFault{"aWriteThatStoresNothing", [](auto& ops) { ops.writeStoresNothing = true; }},
        SaveFault{"flushFails", [](auto& ops) { ops.flushError = ERROR_WRITE_FAULT; }},
        SaveFault{"fileCannotBeReplaced", [](auto& ops) { ops.moveError = ERROR_ACCESS_DENIED; }},
        SaveFault{"noTemporaryFileAllowed",
                  [](auto& ops) { ops.createError = ERROR_ACCESS_DENIED; }}),
    [](const testing::TestParamInfo<SaveFault>& row) { return row.param.name; });

TEST(Win32FileSystem, replaceFile_shortWritesAreContinued) {
  TempDir dir;
  std::string target = dir.write("adressen.vcf", oldBytes);
  FaultyWin32FileOperations operations;
  operations.maxBytesPerWrite = 1000;
  platform::win32::Win32FileSystem files(operations);

  EXPECT_TRUE(files.replaceFile(target, newBytes));

  EXPECT_EQ(readBytes(target), newBytes);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"adressen.vcf"});
}

TEST(Win32FileSystem, replaceFile_aReadOnlyTargetIsLeftAlone) {
  TempDir dir;
  std::string target = dir.write("adressen.vcf", oldBytes);
  setAttribute(target, FILE_ATTRIBUTE_READONLY);
  platform::win32::Win32FileOperations operations;
  platform::win32::Win32FileSystem files(operations);

  EXPECT_FALSE(files.replaceFile(target, newBytes));

  EXPECT_EQ(readBytes(target), oldBytes);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"adressen.vcf"});
  SetFileAttributesW(fs::path(target).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32FileSystem, replaceFile_missingFolderOrAFolderInTheWayFails) {
  TempDir dir;
  fs::create_directory(dir.path() / "ordner.vcf");
  platform::win32::Win32FileOperations operations;
  platform::win32::Win32FileSystem files(operations);

  EXPECT_FALSE(files.replaceFile(dir.file("fehlt\\neu.vcf"), newBytes));
  EXPECT_FALSE(files.replaceFile(dir.file("ordner.vcf"), newBytes));
  EXPECT_FALSE(files.replaceFile(dir.file("ordner.vcf\\"), newBytes));

  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"ordner.vcf"});
}

TEST(Win32FileSystem, replaceFile_createsANewFileAndKeepsTheHiddenMark) {
  TempDir dir;
  platform::win32::Win32FileOperations operations;
  platform::win32::Win32FileSystem files(operations);
  std::string fresh = dir.file("neu.vcf");
  std::string hidden = dir.write("versteckt.conf", "[port]\r\n");
  setAttribute(hidden, FILE_ATTRIBUTE_HIDDEN);

  EXPECT_TRUE(files.replaceFile(fresh, newBytes));
  EXPECT_TRUE(files.replaceFile(hidden, "[port]\r\nt=1\r\n"));

  EXPECT_EQ(readBytes(fresh), newBytes);
  EXPECT_EQ(readBytes(hidden), "[port]\r\nt=1\r\n");
  EXPECT_NE(attributesOf(hidden) & FILE_ATTRIBUTE_HIDDEN, 0U);
  EXPECT_TRUE(files.isHidden(hidden));
  EXPECT_FALSE(files.isHidden(fresh));
}

TEST(Win32FileSystem, windows1252PathsNameTheSameFileForWindows) {
  TempDir dir;
  platform::win32::Win32FileOperations operations;
  platform::win32::Win32FileSystem files(operations);
  // Joined by hand: the test's own narrow paths use the system's code page.
  std::string path = dir.path().string() + "\\M\xFCller \x80.vcf";

  ASSERT_TRUE(files.replaceFile(path, "x"));

  EXPECT_TRUE(fs::exists(dir.path() / L"M\u00FCller \u20AC.vcf"));
  EXPECT_TRUE(files.isFile(path));
  EXPECT_EQ(files.readFile(path), "x");
}

TEST(Win32FileSystem, hiddenAndSystemFilesAreHiddenAndFoldersAreNoFiles) {
  TempDir dir;
  platform::win32::Win32FileOperations operations;
  platform::win32::Win32FileSystem files(operations);
  std::string system = dir.write("system.conf", "x");
  setAttribute(system, FILE_ATTRIBUTE_SYSTEM);

  EXPECT_TRUE(files.isHidden(system));
  EXPECT_FALSE(files.isFile(dir.path().string()));
  EXPECT_FALSE(files.isFile(dir.file("fehlt.vcf")));
  EXPECT_TRUE(files.isFile(system));
}

TEST(Win32FileSystem, readFile_givesTheWholeFileOrNothing) {
  TempDir dir;
  platform::win32::Win32FileOperations operations;
  platform::win32::Win32FileSystem files(operations);
  std::string empty = dir.write("leer.vcf", "");
  std::string full = dir.write("voll.vcf", newBytes);

  EXPECT_EQ(files.readFile(empty), "");
  EXPECT_EQ(files.readFile(full), newBytes);
  EXPECT_EQ(files.readFile(dir.file("fehlt.vcf")), std::nullopt);
  EXPECT_EQ(files.readFile(dir.path().string()), std::nullopt);
}

TEST(Win32FileSystem, currentDirectoryHasNoTrailingSeparator) {
  TempDir dir;
  platform::win32::Win32FileOperations operations;
  platform::win32::Win32FileSystem files(operations);
  wchar_t previous[MAX_PATH] = {};
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0U);

  ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));
  std::string inTemp = files.currentDirectory();
  ASSERT_TRUE(SetCurrentDirectoryW(L"C:\\"));
  std::string atRoot = files.currentDirectory();
  SetCurrentDirectoryW(previous);

  EXPECT_TRUE(fs::equivalent(fs::path(inTemp), dir.path())) << inTemp;
  EXPECT_NE(inTemp.back(), '\\');
  EXPECT_EQ(atRoot, "C:");
}

TEST(Win32FileSystem, createFolder_createsEveryMissingLevel) {
  TempDir dir;
  platform::win32::Win32FileOperations operations;
  platform::win32::Win32FileSystem files(operations);
  std::string file = dir.write("datei", "x");

  EXPECT_TRUE(files.createFolder(dir.file("a\\b/c\\")));
  EXPECT_TRUE(fs::is_directory(dir.path() / "a" / "b" / "c"));
  EXPECT_TRUE(files.createFolder(dir.file("a")));
  EXPECT_FALSE(files.createFolder(file));
  EXPECT_FALSE(files.createFolder(file + "\\unten"));
}

}  // namespace
