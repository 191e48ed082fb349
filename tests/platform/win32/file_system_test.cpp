#include "platform/win32/file_system.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/fakes/temp_dir.h"
#include "tests/platform/win32/faulty_file_operations.h"

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
  platform::win32::FileSystem files(operations);

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
        SaveFault{"noRoomForATemporaryFile", [](auto& ops) { ops.createError = ERROR_DISK_FULL; }}),
    [](const testing::TestParamInfo<SaveFault>& row) { return row.param.name; });

// A file another program holds open: tried again for about two seconds.
TEST(Win32FileSystem, replaceFile_waitsForABusyFileABoundedTime) {
  for (DWORD heldMs : {1000U, INFINITE}) {
    SCOPED_TRACE(heldMs);
    TempDir dir;
    std::string target = dir.write("adressen.vcf", oldBytes);
    HANDLE holder = CreateFileW(fs::path(target).wstring().c_str(), GENERIC_READ, FILE_SHARE_READ,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    platform::win32::FileOperations operations;
    platform::win32::FileSystem files(operations);
    auto start = std::chrono::steady_clock::now();
    std::thread closer([&] {
      if (heldMs != INFINITE) {
        Sleep(heldMs);
        CloseHandle(holder);
      }
    });

    bool saved = files.replaceFile(target, newBytes);
    auto waited = std::chrono::steady_clock::now() - start;
    closer.join();
    if (heldMs == INFINITE) CloseHandle(holder);

    EXPECT_EQ(saved, heldMs != INFINITE);
    EXPECT_EQ(readBytes(target), saved ? std::string(newBytes) : std::string(oldBytes));
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"adressen.vcf"});
    EXPECT_LT(waited, std::chrono::seconds(4));
  }
}

// Where no new file may be created, or the file has a second name, it is
// overwritten in place: the same file, every name showing the new content.
TEST(Win32FileSystem, replaceFile_writesInPlaceWhereNoNewFileMayTakeTheName) {
  for (bool hardLink : {false, true}) {
    SCOPED_TRACE(hardLink ? "second hard link" : "no new files");
    TempDir dir;
    std::string target = dir.write("adressen.vcf", newBytes + newBytes);
    std::wstring second = (dir.path() / "zweiter.vcf").wstring();
    if (hardLink && !CreateHardLinkW(second.c_str(), fs::path(target).wstring().c_str(), nullptr))
      GTEST_SKIP() << "no hard links here: " << GetLastError();
    FaultyWin32FileOperations operations;
    if (!hardLink) operations.createError = ERROR_ACCESS_DENIED;
    platform::win32::FileSystem files(operations);
    auto before = files.stamp(target);

    ASSERT_TRUE(files.replaceFile(target, oldBytes));

    EXPECT_EQ(readBytes(target), oldBytes);
    if (hardLink) {
      EXPECT_EQ(readBytes(second), oldBytes);
    }
    auto after = files.stamp(target);
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->fileId, before->fileId);
    EXPECT_EQ(after->size, oldBytes.size());
  }
}

// The old file steps aside under a temporary name for the last check. A save
// by another program that lands right before is what steps aside: the check
// sees it and puts it back. One that lands during the check, or between the
// two moves of the replacement or of the putting back, takes the name and
// stays.
TEST(Win32FileSystem, replaceFileIf_theLastCheckSeesTheDisplacedFile) {
  const std::string theirs = "BEGIN:VCARD\r\nN:Anderes Programm\r\nEND:VCARD\r\n";
  enum class OtherSave {
    none,
    beforeTheReplace,
    betweenTheMoves,
    duringTheCheck,
    duringThePutBack
  };
  for (OtherSave when : {OtherSave::none, OtherSave::beforeTheReplace, OtherSave::betweenTheMoves,
                         OtherSave::duringTheCheck, OtherSave::duringThePutBack}) {
    SCOPED_TRACE(static_cast<int>(when));
    TempDir dir;
    std::string target = dir.write("adressen.vcf", oldBytes);
    auto otherSave = [&] {
      std::string other = dir.write("anderes.tmp", theirs);
      ASSERT_TRUE(MoveFileExW(fs::path(other).wstring().c_str(), fs::path(target).wstring().c_str(),
                              MOVEFILE_REPLACE_EXISTING));
    };
    FaultyWin32FileOperations operations;
    if (when == OtherSave::beforeTheReplace) operations.beforeReplace = otherSave;
    if (when == OtherSave::betweenTheMoves) operations.betweenTheMoves = otherSave;
    platform::win32::FileSystem files(operations);

    bool saved = files.replaceFileIf(target, newBytes, [&](std::string_view displaced) {
      EXPECT_EQ(readBytes(target), newBytes);
      if (when == OtherSave::duringTheCheck) otherSave();
      // The displaced file is taken for changed; another save lands while it comes back.
      if (when == OtherSave::duringThePutBack) operations.betweenTheMoves = otherSave;
      return readBytes(fs::path(std::string(displaced))) == oldBytes &&
             when != OtherSave::duringTheCheck && when != OtherSave::duringThePutBack;
    });

    EXPECT_EQ(saved, when == OtherSave::none);
    EXPECT_EQ(readBytes(target), when == OtherSave::none ? newBytes : theirs);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"adressen.vcf"});
  }
}

TEST(Win32FileSystem, replaceFile_shortWritesAreContinued) {
  TempDir dir;
  std::string target = dir.write("adressen.vcf", oldBytes);
  FaultyWin32FileOperations operations;
  operations.maxBytesPerWrite = 1000;
  platform::win32::FileSystem files(operations);

  EXPECT_TRUE(files.replaceFile(target, newBytes));

  EXPECT_EQ(readBytes(target), newBytes);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"adressen.vcf"});
}

TEST(Win32FileSystem, replaceFile_aReadOnlyTargetIsLeftAlone) {
  TempDir dir;
  std::string target = dir.write("adressen.vcf", oldBytes);
  setAttribute(target, FILE_ATTRIBUTE_READONLY);
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);

  EXPECT_FALSE(files.replaceFile(target, newBytes));

  EXPECT_EQ(readBytes(target), oldBytes);
  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"adressen.vcf"});
  SetFileAttributesW(fs::path(target).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST(Win32FileSystem, replaceFile_missingFolderOrAFolderInTheWayFails) {
  TempDir dir;
  fs::create_directory(dir.path() / "ordner.vcf");
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);

  EXPECT_FALSE(files.replaceFile(dir.file("fehlt\\neu.vcf"), newBytes));
  EXPECT_FALSE(files.replaceFile(dir.file("ordner.vcf"), newBytes));
  EXPECT_FALSE(files.replaceFile(dir.file("ordner.vcf\\"), newBytes));

  EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"ordner.vcf"});
}

TEST(Win32FileSystem, replaceFile_createsANewFileAndKeepsTheHiddenMark) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
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
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  // Joined by hand: the test's own narrow paths use the system's code page.
  std::string path = dir.path().string() + "\\M\xFCller \x80.vcf";

  ASSERT_TRUE(files.replaceFile(path, "x"));

  EXPECT_TRUE(fs::exists(dir.path() / L"M\u00FCller \u20AC.vcf"));
  EXPECT_TRUE(files.isFile(path));
  EXPECT_EQ(files.readFile(path), "x");
}

TEST(Win32FileSystem, hiddenAndSystemFilesAreHiddenAndFoldersAreNoFiles) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  std::string system = dir.write("system.conf", "x");
  setAttribute(system, FILE_ATTRIBUTE_SYSTEM);

  EXPECT_TRUE(files.isHidden(system));
  EXPECT_FALSE(files.isFile(dir.path().string()));
  EXPECT_FALSE(files.isFile(dir.file("fehlt.vcf")));
  EXPECT_TRUE(files.isFile(system));
}

TEST(Win32FileSystem, readFile_givesTheWholeFileOrNothing) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  std::string empty = dir.write("leer.vcf", "");
  std::string full = dir.write("voll.vcf", newBytes);

  EXPECT_EQ(files.readFile(empty), "");
  EXPECT_EQ(files.readFile(full), newBytes);
  EXPECT_EQ(files.readFile(dir.file("fehlt.vcf")), std::nullopt);
  EXPECT_EQ(files.readFile(dir.path().string()), std::nullopt);
}

TEST(Win32FileSystem, currentDirectoryHasNoTrailingSeparator) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
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
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  std::string file = dir.write("datei", "x");

  EXPECT_TRUE(files.createFolder(dir.file("a\\b/c\\")));
  EXPECT_TRUE(fs::is_directory(dir.path() / "a" / "b" / "c"));
  EXPECT_TRUE(files.createFolder(dir.file("a")));
  EXPECT_FALSE(files.createFolder(file));
  EXPECT_FALSE(files.createFolder(file + "\\unten"));
}

std::int64_t nanosecondsNow() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

TEST(Win32FileSystem, stamp_namesTheFileAndChangesWithEveryWrite) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  std::string path = dir.write("adressen.vcf", oldBytes);
  std::string other = dir.write("andere.vcf", oldBytes);

  auto first = files.stamp(path);
  ASSERT_TRUE(first.has_value());
  EXPECT_EQ(first->kind, platform::EntryKind::file);
  EXPECT_EQ(first->size, oldBytes.size());
  // Nanoseconds since 1970, not FILETIME's steps since 1601.
  EXPECT_LT(std::abs(first->modifiedNs - nanosecondsNow()), std::int64_t{3600} * 1'000'000'000);
  EXPECT_EQ(files.stamp(path), first);
  auto second = files.stamp(other);
  ASSERT_TRUE(second.has_value());
  EXPECT_EQ(second->volume, first->volume);
  EXPECT_NE(second->fileId, first->fileId);

  // Written in place: the same file with another size and a later time.
  HANDLE handle = CreateFileW(fs::path(path).wstring().c_str(), GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(handle, INVALID_HANDLE_VALUE);
  Sleep(20);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(handle, "\r\n", 2, &written, nullptr));
  SetFilePointer(handle, 0, nullptr, FILE_END);
  ASSERT_TRUE(WriteFile(handle, "x", 1, &written, nullptr));
  CloseHandle(handle);
  auto rewritten = files.stamp(path);
  ASSERT_TRUE(rewritten.has_value());
  EXPECT_EQ(rewritten->fileId, first->fileId);
  EXPECT_EQ(rewritten->size, oldBytes.size() + 1);
  EXPECT_GT(rewritten->modifiedNs, first->modifiedNs);

  // Replaced: another file under the same name.
  ASSERT_TRUE(files.replaceFile(path, newBytes));
  auto replaced = files.stamp(path);
  ASSERT_TRUE(replaced.has_value());
  EXPECT_NE(replaced->fileId, first->fileId);
  EXPECT_EQ(replaced->size, newBytes.size());

  EXPECT_EQ(files.stamp(dir.file("fehlt.vcf")), std::nullopt);
  auto folder = files.stamp(dir.path().string());
  ASSERT_TRUE(folder.has_value());
  EXPECT_EQ(folder->kind, platform::EntryKind::folder);
}

TEST(Win32FileSystem, listFolder_givesFilesAndFoldersInTheProgramsForm) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  dir.write("adressen.vcf", oldBytes);
  fs::create_directory(dir.path() / "alt");
  std::ofstream(dir.path() / L"M\u00FCller \u20AC.vcf") << "x";
  // A Cyrillic name stands as its UTF-8 sequence; a name whose
  // Windows-1252 characters spell one ("\u00D0\u2013" would read as "\u0416") could
  // not be named again.
  std::ofstream(dir.path() / L"\u0416.vcf") << "x";
  std::ofstream(dir.path() / L"\u00D0\u2013.vcf") << "x";

  for (const std::string& folder : {dir.path().string(), dir.path().string() + "\\"}) {
    auto entries = files.listFolder(folder);
    ASSERT_TRUE(entries.has_value()) << folder;
    std::vector<std::pair<std::string, platform::EntryKind>> seen;
    for (const platform::FolderEntry& entry : *entries) {
      seen.emplace_back(entry.name, entry.kind);
      EXPECT_LT(std::abs(entry.modifiedNs - nanosecondsNow()), std::int64_t{3600} * 1'000'000'000)
          << entry.name;
    }
    std::ranges::sort(seen);
    std::vector<std::pair<std::string, platform::EntryKind>> expected = {
        {"M\xFCller \x80.vcf", platform::EntryKind::file},
        {"adressen.vcf", platform::EntryKind::file},
        {"alt", platform::EntryKind::folder},
        {"\xD0\x96.vcf", platform::EntryKind::file}};
    EXPECT_EQ(seen, expected);
  }
  auto empty = files.listFolder(dir.file("alt"));
  ASSERT_TRUE(empty.has_value());
  EXPECT_TRUE(empty->empty());
  EXPECT_EQ(files.listFolder(dir.file("fehlt")), std::nullopt);
  EXPECT_EQ(files.listFolder(dir.file("adressen.vcf")), std::nullopt);
  EXPECT_EQ(files.listFolder(""), std::nullopt);
}

TEST(Win32FileSystem, recreateFile_writesANewFileInsteadOfAFileButNeverAFolder) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  std::string path = dir.write("kopie.vcf", newBytes);
  fs::create_directory(dir.path() / "ordner.vcf");
  std::string fresh = dir.file("neu.vcf");

  EXPECT_TRUE(files.recreateFile(path, oldBytes));
  EXPECT_TRUE(files.recreateFile(fresh, ""));
  EXPECT_FALSE(files.recreateFile(dir.file("ordner.vcf"), oldBytes));
  EXPECT_FALSE(files.recreateFile(dir.file("fehlt\\neu.vcf"), oldBytes));

  EXPECT_EQ(readBytes(path), oldBytes);
  EXPECT_EQ(readBytes(fresh), "");
  EXPECT_TRUE(fs::is_directory(dir.path() / "ordner.vcf"));
}

TEST(Win32FileSystem, recreateFile_replacesALinkAndLeavesItsTarget) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  std::string target = dir.write("ziel.vcf", oldBytes);
  std::string link = dir.file("verweis.vcf");
  if (!CreateSymbolicLinkW(fs::path(link).wstring().c_str(), fs::path(target).wstring().c_str(),
                           SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE)) {
    GTEST_SKIP() << "no symbolic links here: " << GetLastError();
  }

  EXPECT_TRUE(files.recreateFile(link, newBytes));

  EXPECT_EQ(readBytes(target), oldBytes);
  EXPECT_EQ(readBytes(link), newBytes);
  EXPECT_EQ(attributesOf(link) & FILE_ATTRIBUTE_REPARSE_POINT, 0U);
}

TEST(Win32FileSystem, recreateFileAndRemoveFile_failWhenTheOldEntryCannotGo) {
  TempDir dir;
  FaultyWin32FileOperations operations;
  operations.removeError = ERROR_SHARING_VIOLATION;
  platform::win32::FileSystem files(operations);
  std::string path = dir.write("kopie.vcf", oldBytes);

  EXPECT_FALSE(files.recreateFile(path, newBytes));
  EXPECT_FALSE(files.removeFile(path));

  EXPECT_EQ(readBytes(path), oldBytes);
}

TEST(Win32FileSystem, removeFile_removesFilesNeverFolders_andAMissingFileCounts) {
  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files(operations);
  std::string path = dir.write("alt.vcf", oldBytes);
  fs::create_directory(dir.path() / "ordner");

  EXPECT_TRUE(files.removeFile(path));
  EXPECT_TRUE(files.removeFile(path));
  EXPECT_TRUE(files.removeFile(dir.file("fehlt\\alt.vcf")));
  EXPECT_FALSE(files.removeFile(dir.file("ordner")));

  EXPECT_FALSE(fs::exists(path));
  EXPECT_TRUE(fs::is_directory(dir.path() / "ordner"));
}

TEST(Win32FileSystem, readInPieces_handsOverTheWholeFileInBoundedPieces) {
  TempDir dir;
  std::string large(600 * 1024, '\0');
  for (std::size_t i = 0; i < large.size(); ++i) large[i] = static_cast<char>('a' + i % 26);
  std::string path = dir.write("gross.vcf", large);
  std::string empty = dir.write("leer.vcf", "");
  FaultyWin32FileOperations operations;
  platform::win32::FileSystem files(operations);

  std::string joined;
  std::size_t largestPiece = 0;
  auto take = [&](std::string_view piece) {
    joined += piece;
    largestPiece = std::max(largestPiece, piece.size());
  };
  EXPECT_TRUE(files.readInPieces(path, take));
  EXPECT_EQ(joined, large);
  EXPECT_LT(largestPiece, large.size());

  joined.clear();
  EXPECT_TRUE(files.readInPieces(empty, take));
  EXPECT_EQ(joined, "");
  EXPECT_FALSE(files.readInPieces(dir.file("fehlt.vcf"), take));
  EXPECT_FALSE(files.readInPieces(dir.path().string(), take));
  operations.readError = ERROR_IO_DEVICE;
  EXPECT_FALSE(files.readInPieces(path, take));
}

}  // namespace
