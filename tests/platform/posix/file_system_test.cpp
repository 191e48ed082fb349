#include "platform/posix/file_system.h"

#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <functional>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "platform/posix/file_operations.h"
#include "tests/fakes/posix/faulty_file_operations.h"
#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using platform::posix::SysResult;
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
  struct stat st = {};
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

ino_t inodeOf(const std::string& path) {
  struct stat st = {};
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

  friend void PrintTo(const FailedReplace& row, std::ostream* out) { *out << row.name; }
};

class ReplaceFailure : public testing::TestWithParam<FailedReplace> {};

TEST_P(ReplaceFailure, returnsFalseAndLeavesTheFolderAsItWas) {
  TempDir dir;
  dir.write("adressen.vcf", "BEGIN:VCARD\r\nN:Alt\r\nEND:VCARD\r\n");
  FaultyFileOperations operations;
  std::string path = GetParam().arrange(dir, operations);
  auto before = snapshot(dir.path());

  platform::posix::FileSystem files(operations);
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
                    FailedReplace{"noRoomForAnInPlaceWrite",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    operations.createError = EACCES;
                                    operations.reserveError = ENOSPC;
                                    return dir.file("adressen.vcf");
                                  }},
                    FailedReplace{"noRoomForAFileWithASecondName",
                                  [](const TempDir& dir, FaultyFileOperations& operations) {
                                    fs::create_hard_link(dir.path() / "adressen.vcf",
                                                         dir.path() / "zweiter.vcf");
                                    operations.reserveError = ENOSPC;
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
  platform::posix::FileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(path, longText()));
  EXPECT_EQ(readBytes(path), longText());
}

TEST(PosixFileSystem, replaceFile_renamesANewFileOverTheOld) {
  TempDir dir;
  std::string path = dir.write("adressen.vcf", "alt");
  auto oldInode = inodeOf(path);
  FaultyFileOperations operations;
  platform::posix::FileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(path, "neu"));

  EXPECT_EQ(readBytes(path), "neu");
  EXPECT_NE(inodeOf(path), oldInode);
  EXPECT_EQ(operations.updateOpens, 0);
  EXPECT_EQ(snapshot(dir.path()).size(), 1U);
}

TEST(PosixFileSystem, replaceFile_keepsThePermissionsOfTheOldFile) {
  TempDir dir;
  for (mode_t mode : {0640, 0604, 0600, 0755}) {
    std::string path = dir.write("adressen.vcf", "alt");
    ASSERT_EQ(::chmod(path.c_str(), mode), 0);
    platform::posix::FileOperations operations;
    platform::posix::FileSystem files(operations);

    ASSERT_TRUE(files.replaceFile(path, "neu"));
    EXPECT_EQ(permissionsOf(path), mode) << std::oct << mode;
  }
}

TEST(PosixFileSystem, replaceFile_newFileGetsTheUsualPermissions) {
  TempDir dir;
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

  ASSERT_TRUE(files.replaceFile(dir.file("link.vcf"), "neu"));

  EXPECT_TRUE(fs::is_symlink(dir.path() / "link.vcf"));
  EXPECT_EQ(readBytes(dir.file("ziel.vcf")), "neu");
}

TEST(PosixFileSystem, replaceFile_linkLoopFails) {
  TempDir dir;
  fs::create_symlink("b", dir.path() / "a");
  fs::create_symlink("a", dir.path() / "b");
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

  EXPECT_FALSE(files.replaceFile(dir.file("a"), "neu"));
  EXPECT_EQ(snapshot(dir.path()).size(), 2U);
}

// The last check looks at the file the new content displaces: after the
// swap of names under the temporary name, else right before the rename or
// the in-place write. Its no leaves all as it was.
TEST(PosixFileSystem, replaceFileIf_aLastCheckThatSaysNoLeavesTheFolderAsItWas) {
  const std::string old = "BEGIN:VCARD\r\nN:Alt\r\nEND:VCARD\r\n";
  for (const char* way : {"by swap", "by rename", "in place"}) {
    SCOPED_TRACE(way);
    TempDir dir;
    std::string path = dir.write("adressen.vcf", old);
    auto before = snapshot(dir.path());
    FaultyFileOperations operations;
    if (way == std::string("by rename")) operations.exchangeError = EINVAL;
    if (way == std::string("in place")) operations.createError = EACCES;
    platform::posix::FileSystem files(operations);
    int checks = 0;
    EXPECT_FALSE(files.replaceFileIf(path, longText(), [&](std::string_view displaced) {
      ++checks;
      EXPECT_EQ(readBytes(std::string(displaced)), old);
      // Beside it, the new content waits whole (under a temporary name, or
      // already under the file's name).
      auto now = snapshot(dir.path());
      if (way == std::string("in place")) {
        EXPECT_EQ(now, before);
      } else {
        EXPECT_EQ(now.size(), before.size() + 1);
        EXPECT_TRUE(std::ranges::any_of(now, [](const auto& e) { return e.second == longText(); }));
      }
      return false;
    }));
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(snapshot(dir.path()), before);
  }
}

// Another program that saves right before the swap: the check sees its file
// displaced and puts it back, so its change is neither lost nor overwritten.
// One that saves during the check replaces the new content: its file stays.
TEST(PosixFileSystem, replaceFileIf_anotherSaveMeanwhileIsWhatStays) {
  const std::string old = "BEGIN:VCARD\r\nN:Alt\r\nEND:VCARD\r\n";
  const std::string theirs = "BEGIN:VCARD\r\nN:Anderes Programm\r\nEND:VCARD\r\n";
  for (bool duringTheCheck : {false, true}) {
    SCOPED_TRACE(duringTheCheck ? "during the check" : "right before the swap");
    TempDir dir;
    std::string path = dir.write("adressen.vcf", old);
    auto otherSave = [&] {
      writeBytes(dir.file("anderes.tmp"), theirs);
      fs::rename(dir.path() / "anderes.tmp", path);
    };
    FaultyFileOperations operations;
    if (!duringTheCheck) operations.beforeExchange = otherSave;
    platform::posix::FileSystem files(operations);

    EXPECT_FALSE(files.replaceFileIf(path, longText(), [&](std::string_view displaced) {
      if (duringTheCheck) otherSave();
      return readBytes(std::string(displaced)) == old && !duringTheCheck;
    }));

    EXPECT_EQ(snapshot(dir.path()), (std::map<std::string, std::string>{{"adressen.vcf", theirs}}));
  }
}

TEST(PosixFileSystem, replaceFile_writesInPlaceWhenTheFolderForbidsNewFiles) {
  TempDir dir;
  std::string path = dir.write("adressen.vcf", longText());
  auto oldInode = inodeOf(path);
  FaultyFileOperations operations;
  operations.createError = EACCES;
  operations.maxBytesPerWrite = 5;
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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

// An access control list in the kernel's form for a file of mode 0660 that
// also grants the user with this id read and write.
std::string accessListFor(std::uint32_t user) {
  std::string list;
  auto append = [&list](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) list += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  constexpr std::uint32_t undefinedId = 0xFFFFFFFF;
  append(2, 4);  // version
  for (auto [tag, perm, id] :
       {std::tuple{0x01U, 6U, undefinedId}, std::tuple{0x02U, 6U, user},
        std::tuple{0x04U, 6U, undefinedId}, std::tuple{0x10U, 6U, undefinedId},
        std::tuple{0x20U, 0U, undefinedId}}) {
    append(tag, 2);
    append(perm, 2);
    append(id, 4);
  }
  return list;
}

constexpr const char* accessList = "system.posix_acl_access";
constexpr const char* folderDefaultList = "system.posix_acl_default";
constexpr const char* purpose = "user.zweck";

void setAttribute(const std::string& path, const char* name, std::string_view value) {
  ASSERT_EQ(::setxattr(path.c_str(), name, value.data(), value.size(), 0), 0)
      << name << ": " << std::strerror(errno);
}

// The attribute's value, or nothing when the file does not have it.
std::optional<std::string> attributeOf(const std::string& path, const char* name) {
  std::string value(4096, '\0');
  ssize_t length = ::getxattr(path.c_str(), name, value.data(), value.size());
  if (length < 0) return std::nullopt;
  value.resize(static_cast<std::size_t>(length));
  return value;
}

TEST(PosixFileSystem, replaceFile_keepsTheAccessListAndExtendedAttributes) {
  // The folder hands its own list down to new files; the saved file must
  // still have the old file's list, or none where the old one had none.
  for (bool oldFileHasList : {true, false}) {
    TempDir dir;
    setAttribute(dir.path().string(), folderDefaultList, accessListFor(4711));
    std::string path = dir.write("adressen.vcf", "alt");
    ASSERT_EQ(::removexattr(path.c_str(), accessList), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0660), 0);
    if (oldFileHasList) setAttribute(path, accessList, accessListFor(4712));
    setAttribute(path, purpose, "Telefonliste");
    auto oldInode = inodeOf(path);
    platform::posix::FileOperations operations;
    platform::posix::FileSystem files(operations);

    ASSERT_TRUE(files.replaceFile(path, "neu"));

    EXPECT_NE(inodeOf(path), oldInode);
    EXPECT_EQ(attributeOf(path, accessList),
              oldFileHasList ? std::optional(accessListFor(4712)) : std::nullopt);
    EXPECT_EQ(attributeOf(path, purpose), "Telefonliste");
    EXPECT_EQ(permissionsOf(path), 0660U);
  }
}

// Saves by someone other than root run in a child process under other ids,
// as setpriv would start them; the kernel needs only the numbers, no
// entries in /etc/passwd. Anna and Bernd are members of the team.
constexpr uid_t anna = 54321;
constexpr uid_t bernd = 54322;
constexpr uid_t carl = 54323;
constexpr gid_t team = 54320;
constexpr gid_t berndsOwnGroup = 54332;
constexpr int cannotChangeUser = 77;
constexpr const char* needsRoot =
    "saving as another user needs root to change the user and group ids (setresuid)";

// replaceFile as Bernd (his own group first, the team besides); nothing
// when the process cannot change its ids.
std::optional<bool> replaceAsBernd(const std::string& path, std::string_view bytes) {
  if (::geteuid() != 0) return std::nullopt;
  pid_t child = ::fork();
  if (child == 0) {
    const gid_t groups[] = {team};
    if (::setgroups(1, groups) != 0 ||
        ::setresgid(berndsOwnGroup, berndsOwnGroup, berndsOwnGroup) != 0 ||
        ::setresuid(bernd, bernd, bernd) != 0)
      ::_exit(cannotChangeUser);
    platform::posix::FileOperations operations;
    platform::posix::FileSystem files(operations);
    ::_exit(files.replaceFile(path, bytes) ? 0 : 1);
  }
  int status = 0;
  if (child < 0 || ::waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
      WEXITSTATUS(status) == cannotChangeUser)
    return std::nullopt;
  return WEXITSTATUS(status) == 0;
}

void giveTo(const fs::path& path, uid_t owner, gid_t group, mode_t mode) {
  ASSERT_EQ(::chown(path.c_str(), owner, group), 0);
  ASSERT_EQ(::chmod(path.c_str(), mode), 0);
}

struct SharedFolderSave {
  const char* name;
  uid_t fileOwner;    // the file's group is the team
  mode_t folderMode;  // the folder belongs to Anna and the team
  bool secondName;    // the file has a hard link beside it
  bool replaced;      // a new file takes the name (otherwise it is overwritten)

  friend void PrintTo(const SharedFolderSave& row, std::ostream* out) { *out << row.name; }
};

class SaveInASharedFolder : public testing::TestWithParam<SharedFolderSave> {};

TEST_P(SaveInASharedFolder, keepsOwnerGroupModeAccessListAttributesAndLinks) {
  if (::geteuid() != 0) GTEST_SKIP() << needsRoot;
  const SharedFolderSave& row = GetParam();
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  fs::path folder = dir.path() / "geteilt";
  fs::create_directory(folder);
  std::string path = (folder / "adressen.vcf").string();
  writeBytes(path, longText());
  giveTo(path, row.fileOwner, team, 0660);
  setAttribute(path, accessList, accessListFor(carl));
  setAttribute(path, purpose, "Telefonliste");
  if (row.secondName) fs::create_hard_link(path, folder / "zweiter.vcf");
  giveTo(folder, anna, team, row.folderMode);
  auto oldInode = inodeOf(path);

  auto saved = replaceAsBernd(path, "neu");
  if (!saved) GTEST_SKIP() << needsRoot;

  EXPECT_TRUE(*saved);
  EXPECT_EQ(readBytes(path), "neu");
  struct stat st = {};
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, row.fileOwner);
  EXPECT_EQ(st.st_gid, team);
  EXPECT_EQ(st.st_mode & 07777, 0660U);
  EXPECT_EQ(attributeOf(path, accessList), accessListFor(carl));
  EXPECT_EQ(attributeOf(path, purpose), "Telefonliste");
  EXPECT_EQ(st.st_ino != oldInode, row.replaced);
  EXPECT_EQ(st.st_nlink, row.secondName ? 2U : 1U);
  if (row.secondName) {
    EXPECT_EQ(readBytes(folder / "zweiter.vcf"), "neu");
  }
  EXPECT_EQ(snapshot(folder).size(), row.secondName ? 2U : 1U) << "a temporary file was left";
}

INSTANTIATE_TEST_SUITE_P(
    Users, SaveInASharedFolder,
    testing::Values(SharedFolderSave{"memberSavesHisFileOfTheTeam", bernd, 0770, false, true},
                    SharedFolderSave{"memberSavesAnothersFile", anna, 0770, false, false},
                    SharedFolderSave{"fileWithASecondName", bernd, 0770, true, false},
                    SharedFolderSave{"folderWithoutCreateRights", bernd, 0750, false, false}),
    [](const testing::TestParamInfo<SharedFolderSave>& row) { return row.param.name; });

// A small file system of its own that can really be filled, unmounted again
// at the end.
class SmallFileSystem {
 public:
  explicit SmallFileSystem(fs::path where) : where_(std::move(where)) {
    fs::create_directory(where_);
    mounted_ = ::mount("morvi-test", where_.c_str(), "tmpfs", 0, "size=64k,mode=0755") == 0;
  }
  ~SmallFileSystem() {
    if (mounted_) ::umount2(where_.c_str(), MNT_DETACH);
  }
  SmallFileSystem(const SmallFileSystem&) = delete;
  SmallFileSystem& operator=(const SmallFileSystem&) = delete;

  [[nodiscard]] bool mounted() const { return mounted_; }
  // Writes a further file until no byte fits any more.
  void fill() const {
    std::string path = (where_ / "fuellung").string();
    int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    ASSERT_GE(fd, 0);
    std::string block(1024, 'x');
    while (::write(fd, block.data(), block.size()) > 0) {
    }
    ::close(fd);
  }

 private:
  fs::path where_;
  bool mounted_ = false;
};

TEST(PosixFileSystemAsUser, fullDiskInAFolderWithoutCreateRightsLeavesTheFileAsItWas) {
  TempDir dir;
  ASSERT_EQ(::chmod(dir.path().c_str(), 0755), 0);
  SmallFileSystem disk(dir.path() / "klein");
  if (!disk.mounted()) GTEST_SKIP() << "cannot mount a small tmpfs here (needs CAP_SYS_ADMIN)";
  std::string path = dir.file("klein/adressen.vcf");
  writeBytes(path, longText());
  giveTo(path, bernd, berndsOwnGroup, 0644);
  disk.fill();
  std::string larger;
  for (int i = 0; i < 20; ++i) larger += longText();

  auto saved = replaceAsBernd(path, larger);
  if (!saved) GTEST_SKIP() << needsRoot;

  EXPECT_FALSE(*saved);
  EXPECT_EQ(readBytes(path), longText());
}

TEST(PosixFileSystem, windows1252PathsAreUtf8OnDisk) {
  TempDir dir;
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);
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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
    platform::posix::FileSystem files(operations);

    EXPECT_EQ(files.readFile(path), longText()) << size;
  }
}

// Part of a file would load as an address book with records missing, which
// the next save would then write back as the whole book.
TEST(PosixFileSystem, readFile_aReadErrorPartWayGivesNothing) {
  TempDir dir;
  std::string path = dir.write("datei.vcf", longText());
  for (int failingRead : {0, 1, 5}) {
    FaultyFileOperations operations;
    operations.maxBytesPerRead = 100;
    operations.failingRead = failingRead;
    platform::posix::FileSystem files(operations);

    EXPECT_EQ(files.readFile(path), std::nullopt) << failingRead;
  }
}

// A folder name without a Windows-1252 form comes back as ".", so that it
// is not converted a second time when the program hands it back.
TEST(PosixFileSystem, currentDirectory_isWindows1252WithoutTrailingSlash) {
  TempDir dir;
  fs::create_directory(dir.path() / "M\xC3\xBCller");
  fs::create_directory(dir.path() / "roh\xFF");
  fs::path previous = fs::current_path();
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);
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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
  platform::posix::FileOperations operations;
  platform::posix::FileSystem files(operations);

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
