#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>

#include "platform/posix/posix_file_operations.h"
#include "tests/fakes/faulty_file_operations.h"
#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::SysResult;
using testing_support::FaultyFileOperations;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

// Every entry below a folder with its content (folders and links by kind).
std::map<std::string, std::string> snapshot(const fs::path& folder) {
  std::map<std::string, std::string> entries;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    std::string name = entry.path().lexically_relative(folder).string();
    if (entry.is_symlink()) {
      entries[name] = "<link to " + fs::read_symlink(entry.path()).string() + ">";
    } else {
      entries[name] = entry.is_directory() ? "<dir>" : readBytes(entry.path());
    }
  }
  return entries;
}

std::string longText() {
  std::string text;
  for (int i = 0; i < 100; ++i) text += "Zeile " + std::to_string(i) + "\r\n";
  return text;
}

mode_t permissionsOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

ino_t inodeOf(const std::string& path) {
  struct stat st {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_ino;
}

mode_t currentUmask() {
  mode_t mask = ::umask(0);
  ::umask(mask);
  return mask;
}

struct FailedReplace {
  const char* name;
  // Prepares folder and faults; returns the path to save to.
  std::function<std::string(const TempDir&, FaultyFileOperations&)> arrange;
};

class ReplaceFailure : public testing::TestWithParam<FailedReplace> {};

TEST_P(ReplaceFailure, returnsFalseAndLeavesTheFolderAsItWas) {
  TempDir dir;
  dir.write("adressen.vcf", "BEGIN:VCARD\r\nN:Alt\r\nEND:VCARD\r\n");
  FaultyFileOperations operations;
  std::string path = GetParam().arrange(dir, operations);
  auto before = snapshot(dir.path());

  platform::PosixFileSystem files(operations);
  EXPECT_FALSE(files.replaceFile(path, longText()));

  EXPECT_EQ(snapshot(dir.path()), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, ReplaceFailure,
    testing::Values(FailedReplace{"missingFolder",
                                  [](const TempDir& dir, FaultyFileOperations&) {
                                    return dir.file("fehlt/adressen.vcf");
                                  }},
                    FailedReplace{"parentIsAFile",
                                  [](const TempDir& dir, FaultyFileOperations&) {
                                    return dir.file("adressen.vcf/neu.vcf");
                                  }},
                    FailedReplace{"targetIsAFolder",
                                  [](const TempDir& dir, FaultyFileOperations&) {
                                    fs::create_directory(dir.path() / "ordner");
                                    return dir.file("ordner");
                                  }},
                    FailedReplace{"renameFails",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    operations.renameError = EIO;
                                    return dir.file("adressen.vcf");
                                  }},
                    FailedReplace{"partialWriteThenError",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    operations.maxBytesPerWrite = 17;
                                    operations.failingWrite = 3;
                                    operations.writeError = EIO;
                                    return dir.file("adressen.vcf");
                                  }},
                    FailedReplace{"diskFull",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    operations.failingWrite = 0;
                                    operations.writeError = ENOSPC;
                                    return dir.file("adressen.vcf");
                                  }},
                    FailedReplace{"writeStoresNothing",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    operations.maxBytesPerWrite = 0;
                                    return dir.file("adressen.vcf");
                                  }},
                    FailedReplace{"syncFails",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    operations.syncError = EIO;
                                    return dir.file("adressen.vcf");
                                  }},
                    FailedReplace{"noRoomForTemporaryFile",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    operations.createError = ENOSPC;
                                    return dir.file("adressen.vcf");
                                  }},
                    FailedReplace{"folderForbidsNewFileAndNoOldFile",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    operations.createError = EACCES;
                                    return dir.file("neu.vcf");
                                  }}),
    [](const testing::TestParamInfo<FailedReplace>& row) { return row.param.name; });

TEST(PosixFileSystem, replaceFile_shortWritesAreContinued) {
  TempDir dir;
  std::string path = dir.write("adressen.vcf", "alt");
  FaultyFileOperations operations;
  operations.maxBytesPerWrite = 7;
  platform::PosixFileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(path, longText()));
  EXPECT_EQ(readBytes(path), longText());
}

TEST(PosixFileSystem, replaceFile_renamesANewFileOverTheOld) {
  TempDir dir;
  std::string path = dir.write("adressen.vcf", "alt");
  auto oldInode = inodeOf(path);
  FaultyFileOperations operations;
  platform::PosixFileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(path, "neu"));

  EXPECT_EQ(readBytes(path), "neu");
  EXPECT_NE(inodeOf(path), oldInode);
  EXPECT_EQ(operations.overwriteOpens, 0);
  EXPECT_EQ(snapshot(dir.path()).size(), 1U);
}

TEST(PosixFileSystem, replaceFile_keepsThePermissionsOfTheOldFile) {
  TempDir dir;
  for (mode_t mode : {0640, 0604, 0600, 0755}) {
    std::string path = dir.write("adressen.vcf", "alt");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    platform::PosixFileOperations operations;
    platform::PosixFileSystem files(operations);

    ASSERT_TRUE(files.replaceFile(path, "neu"));
    EXPECT_EQ(permissionsOf(path), mode) << std::oct << mode;
  }
}

TEST(PosixFileSystem, replaceFile_newFileGetsTheUsualPermissions) {
  TempDir dir;
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(dir.file("neu.vcf"), "neu"));

  EXPECT_EQ(readBytes(dir.file("neu.vcf")), "neu");
  EXPECT_EQ(permissionsOf(dir.file("neu.vcf")), 0666 & ~currentUmask());
}

TEST(PosixFileSystem, replaceFile_savesThroughASymbolicLink) {
  TempDir dir;
  fs::create_directory(dir.path() / "daten");
  std::string target = dir.write("daten/adressen.vcf", "alt");
  fs::create_directory(dir.path() / "links");
  fs::create_symlink("../daten/adressen.vcf", dir.path() / "links" / "zwischen.vcf");
  fs::create_symlink("zwischen.vcf", dir.path() / "links" / "adressen.vcf");
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(dir.file("links/adressen.vcf"), "neu"));

  EXPECT_EQ(readBytes(target), "neu");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "links" / "adressen.vcf"));
  EXPECT_EQ(fs::read_symlink(dir.path() / "links" / "adressen.vcf"), "zwischen.vcf");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "links" / "zwischen.vcf"));
  EXPECT_EQ(snapshot(dir.path() / "daten").size(), 1U);
}

TEST(PosixFileSystem, replaceFile_danglingLinkCreatesItsTarget) {
  TempDir dir;
  fs::create_symlink("ziel.vcf", dir.path() / "link.vcf");
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(dir.file("link.vcf"), "neu"));

  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.vcf"));
  EXPECT_EQ(readBytes(dir.file("ziel.vcf")), "neu");
}

TEST(PosixFileSystem, replaceFile_linkLoopFails) {
  TempDir dir;
  fs::create_symlink("b", dir.path() / "a");
  fs::create_symlink("a", dir.path() / "b");
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  EXPECT_FALSE(files.replaceFile(dir.file("a"), "neu"));
  EXPECT_EQ(snapshot(dir.path()).size(), 2U);
}

TEST(PosixFileSystem, replaceFile_writesInPlaceWhenTheFolderForbidsNewFiles) {
  TempDir dir;
  std::string path = dir.write("adressen.vcf", longText());
  auto oldInode = inodeOf(path);
  FaultyFileOperations operations;
  operations.createError = EACCES;
  operations.maxBytesPerWrite = 5;
  platform::PosixFileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(path, "kurz"));

  EXPECT_EQ(readBytes(path), "kurz");
  EXPECT_EQ(inodeOf(path), oldInode);
}

TEST(PosixFileSystem, replaceFile_inPlaceWriteThatFailsIsReported) {
  TempDir dir;
  std::string path = dir.write("adressen.vcf", "alt");
  FaultyFileOperations operations;
  operations.createError = EROFS;
  operations.failingWrite = 1;
  operations.maxBytesPerWrite = 2;
  platform::PosixFileSystem files(operations);

  EXPECT_FALSE(files.replaceFile(path, longText()));
}

struct Recreation {
  const char* name;
  // Puts something under "prot.txt" in a folder that also holds
  // "fremd/datei.txt", someone else's file.
  std::function<void(const TempDir&)> arrange;
  bool written;
};

class RecreateFile : public testing::TestWithParam<Recreation> {};

TEST_P(RecreateFile, writesANewFileAndNeverThroughALink) {
  TempDir dir;
  fs::create_directory(dir.path() / "fremd");
  std::string foreign = dir.write("fremd/datei.txt", "fremd");
  GetParam().arrange(dir);
  // A snapshot would wait on a FIFO; the cases that refuse hold none.
  std::map<std::string, std::string> before;
  if (!GetParam().written) before = snapshot(dir.path());
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  bool written = files.recreateFile(dir.file("prot.txt"), "Liste\r\n");

  EXPECT_EQ(written, GetParam().written);
  EXPECT_EQ(readBytes(foreign), "fremd");
  EXPECT_FALSE(fs::exists(dir.path() / "fremd" / "prot.txt"));
  if (written) {
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(dir.path() / "prot.txt")));
    EXPECT_EQ(readBytes(dir.path() / "prot.txt"), "Liste\r\n");
  } else {
    EXPECT_EQ(snapshot(dir.path()), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    PosixFileSystem, RecreateFile,
    testing::Values(Recreation{"nothingThere", [](const TempDir&) {}, true},
                    Recreation{"oldList",
                               [](const TempDir& dir) { dir.write("prot.txt", "alte Liste"); },
                               true},
                    Recreation{"linkToAForeignFile",
                               [](const TempDir& dir) {
                                 fs::create_symlink("fremd/datei.txt", dir.path() / "prot.txt");
                               },
                               true},
                    Recreation{"danglingLink",
                               [](const TempDir& dir) {
                                 fs::create_symlink("fremd/prot.txt", dir.path() / "prot.txt");
                               },
                               true},
                    Recreation{"hardLinkToAForeignFile",
                               [](const TempDir& dir) {
                                 fs::create_hard_link(dir.path() / "fremd" / "datei.txt",
                                                      dir.path() / "prot.txt");
                               },
                               true},
                    Recreation{"fifo",
                               [](const TempDir& dir) {
                                 ASSERT_EQ(::mkfifo(dir.file("prot.txt").c_str(), 0600), 0);
                               },
                               true},
                    Recreation{"folder",
                               [](const TempDir& dir) {
                                 fs::create_directory(dir.path() / "prot.txt");
                                 dir.write("prot.txt/inhalt", "bleibt");
                               },
                               false}),
    [](const testing::TestParamInfo<Recreation>& row) { return row.param.name; });

TEST(PosixFileSystem, windows1252PathsAreUtf8OnDisk) {
  TempDir dir;
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);
  std::string path = dir.path().string() + "/M\xFCller \x80.vcf";

  ASSERT_TRUE(files.replaceFile(path, "neu"));

  EXPECT_EQ(readBytes(dir.path() / "M\xC3\xBCller \xE2\x82\xAC.vcf"), "neu");
  EXPECT_TRUE(files.isFile(path));
  EXPECT_EQ(files.readFile(path), "neu");
}

TEST(PosixFileSystem, isFile_onlyRegularFilesCount) {
  TempDir dir;
  dir.write("datei.vcf", "x");
  fs::create_directory(dir.path() / "ordner");
  fs::create_symlink("datei.vcf", dir.path() / "link.vcf");
  fs::create_symlink("fehlt.vcf", dir.path() / "kaputt.vcf");
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  EXPECT_TRUE(files.isFile(dir.file("datei.vcf")));
  EXPECT_TRUE(files.isFile(dir.file("link.vcf")));
  EXPECT_FALSE(files.isFile(dir.file("ordner")));
  EXPECT_FALSE(files.isFile(dir.file("kaputt.vcf")));
  EXPECT_FALSE(files.isFile(dir.file("fehlt.vcf")));
  EXPECT_FALSE(files.isFile("/dev/null"));
}

TEST(PosixFileSystem, readFile_givesTheWholeFileOrNothing) {
  TempDir dir;
  std::string content = longText() + std::string("\0\xFF", 2);
  dir.write("datei.vcf", content);
  dir.write("leer.vcf", "");
  fs::create_directory(dir.path() / "ordner");
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  EXPECT_EQ(files.readFile(dir.file("datei.vcf")), content);
  EXPECT_EQ(files.readFile(dir.file("fifo")), std::nullopt);
  EXPECT_EQ(files.readFile(dir.file("leer.vcf")), "");
  EXPECT_EQ(files.readFile(dir.file("fehlt.vcf")), std::nullopt);
  EXPECT_EQ(files.readFile(dir.file("ordner")), std::nullopt);
  EXPECT_EQ(files.readFile("/dev/null"), std::nullopt);
}

// Pieces of a file larger than one piece join to the file; whatever
// readFile cannot read, readInPieces cannot either.
TEST(PosixFileSystem, readInPieces_handsOverTheFileInOrder) {
  TempDir dir;
  std::string content;
  while (content.size() < 700'000) content += longText();
  dir.write("gross.vcf", content);
  dir.write("leer.vcf", "");
  fs::create_directory(dir.path() / "ordner");
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  for (const char* name : {"gross.vcf", "leer.vcf", "ordner", "fehlt.vcf"}) {
    std::string joined;
    int pieces = 0;
    bool read = files.readInPieces(dir.file(name), [&](std::string_view piece) {
      joined += piece;
      ++pieces;
    });
    auto whole = files.readFile(dir.file(name));
    EXPECT_EQ(read, whole.has_value()) << name;
    EXPECT_EQ(joined, whole.value_or("")) << name;
    if (std::string_view(name) == "gross.vcf") {
      EXPECT_GT(pieces, 1);
    }
  }
}

TEST(PosixFileSystem, readFile_copesWithAFileThatChangedSize) {
  TempDir dir;
  std::string path = dir.write("datei.vcf", longText());
  for (std::uint64_t size : {std::uint64_t{0}, std::uint64_t{10}, std::uint64_t{1'000'000}}) {
    FaultyFileOperations operations;
    operations.reportedSize = size;
    platform::PosixFileSystem files(operations);

    EXPECT_EQ(files.readFile(path), longText()) << size;
  }
}

// A folder name without a Windows-1252 form comes back as ".", so that it
// is not converted a second time when the program hands it back.
TEST(PosixFileSystem, currentDirectory_isWindows1252WithoutTrailingSlash) {
  TempDir dir;
  fs::create_directory(dir.path() / "M\xC3\xBCller");
  fs::create_directory(dir.path() / "roh\xFF");
  fs::path previous = fs::current_path();
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  fs::current_path(dir.path() / "M\xC3\xBCller");
  std::string converted = files.currentDirectory();
  fs::current_path(dir.path() / "roh\xFF");
  std::string raw = files.currentDirectory();
  fs::current_path("/");
  std::string root = files.currentDirectory();
  fs::current_path(previous);

  std::string base = fs::canonical(dir.path()).string();
  EXPECT_EQ(converted, base + "/M\xFCller");
  EXPECT_EQ(raw, ".");
  EXPECT_EQ(root, "/");
}

TEST(PosixFileSystem, createFolder_createsEveryMissingLevelForTheUserOnly) {
  TempDir dir;
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);
  std::string folder = dir.file("a/b/c");

  ASSERT_TRUE(files.createFolder(folder + "/"));

  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(permissionsOf(dir.file("a")), 0700 & ~currentUmask());
  EXPECT_EQ(permissionsOf(folder), 0700 & ~currentUmask());
  EXPECT_TRUE(files.createFolder(folder));
}

TEST(PosixFileSystem, createFolder_failsWhenAFileIsInTheWay) {
  TempDir dir;
  dir.write("datei", "x");
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  EXPECT_FALSE(files.createFolder(dir.file("datei")));
  EXPECT_FALSE(files.createFolder(dir.file("datei/unter")));
  EXPECT_EQ(readBytes(dir.file("datei")), "x");
}

// The stamp must tell a rewrite within the same second and a replace by
// rename from an untouched file; a link is followed to its file.
TEST(PosixFileSystem, stamp_tellsTimeToTheNanosecondIdentityAndKind) {
  TempDir dir;
  std::string path = dir.write("datei.vcf", "abc");
  fs::create_directory(dir.path() / "ordner");
  fs::create_symlink("datei.vcf", dir.path() / "verweis.vcf");
  timespec times[2] = {{0, UTIME_OMIT}, {1'700'000'000, 123'456'789}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  auto first = files.stamp(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->kind, platform::EntryKind::file);
  EXPECT_EQ(first->size, 3u);
  EXPECT_EQ(first->modifiedNs, 1'700'000'000'123'456'789);
  EXPECT_EQ(first->fileId, inodeOf(path));
  EXPECT_EQ(files.stamp(dir.file("verweis.vcf")), first);

  std::string other = dir.write("neu.vcf", "abc");
  ASSERT_EQ(::utimensat(AT_FDCWD, other.c_str(), times, 0), 0);
  fs::rename(other, path);
  auto replaced = files.stamp(path);
  ASSERT_TRUE(replaced);
  EXPECT_NE(replaced->fileId, first->fileId);
  EXPECT_EQ(replaced->modifiedNs, first->modifiedNs);

  EXPECT_EQ(files.stamp(dir.file("ordner"))->kind, platform::EntryKind::folder);
  EXPECT_EQ(files.stamp(dir.file("fehlt.vcf")), std::nullopt);
}

TEST(PosixFileSystem, listFolder_namesEntriesInWindows1252WithKindAndTime) {
  TempDir dir;
  std::string path = dir.write("M\xC3\xBCller.vcf", "abc");
  timespec times[2] = {{0, UTIME_OMIT}, {1'700'000'000, 5}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
  fs::create_directory(dir.path() / "ordner");
  dir.write("\xE6\x97\xA5.vcf", "no Windows-1252 form");
  fs::create_symlink("fehlt", dir.path() / "kaputt");
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);

  auto entries = files.listFolder(dir.path().string());
  ASSERT_TRUE(entries);
  std::map<std::string, platform::FolderEntry> byName;
  for (auto& entry : *entries) byName[entry.name] = entry;
  ASSERT_EQ(byName.size(), 2u);
  EXPECT_EQ(byName["M\xFCller.vcf"].kind, platform::EntryKind::file);
  EXPECT_EQ(byName["M\xFCller.vcf"].modifiedNs, 1'700'000'000'000'000'005);
  EXPECT_EQ(byName["ordner"].kind, platform::EntryKind::folder);
  EXPECT_EQ(files.listFolder(dir.file("fehlt")), std::nullopt);
}

}  // namespace
