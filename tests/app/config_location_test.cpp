#include "app/config_location.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/ini_profile_file.h"
#include "platform/posix/posix_file_operations.h"
#include "platform/posix/posix_file_system.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

struct CandidateCase {
  std::string_view xdgConfigHome, home, executable;
  std::string_view first, second;
};

TEST(ConfigCandidates, standForTheWindowsPlaces) {
  for (const CandidateCase& c : {
           CandidateCase{"/x/cfg", "/home/u", "/opt/morvi/morvi", "/x/cfg/zudedo.conf",
                         "/opt/morvi/morvi.cfg"},
           CandidateCase{"/x/cfg/", "/home/u", "/opt/morvi.exe", "/x/cfg/zudedo.conf",
                         "/opt/morvi.cfg"},
           CandidateCase{"", "/home/u/", "/opt/MORVI.EXE", "/home/u/.config/zudedo.conf",
                         "/opt/MORVI.EXE.cfg"},
           CandidateCase{"relativ/cfg", "/home/u", "/bin/m\xFC", "/home/u/.config/zudedo.conf",
                         "/bin/m\xFC.cfg"},
           CandidateCase{"", "", "/bin/morvi", "zudedo.conf", "/bin/morvi.cfg"},
           CandidateCase{"/", "", "", "/zudedo.conf", ""},
       }) {
    app::ConfigCandidates candidates = app::configCandidates(c.xdgConfigHome, c.home, c.executable);
    EXPECT_EQ(candidates.temporaryFolderFile, c.first) << c.xdgConfigHome << " | " << c.home;
    EXPECT_EQ(candidates.programFile, c.second) << c.executable;
    EXPECT_EQ(candidates.rootFile, "/etc/zudedo.conf");
  }
}

TEST(BackupFolder, isInTheUsersStateFolder) {
  struct Case {
    std::string_view xdgStateHome, home, folder;
  };
  for (const Case& c :
       {Case{"/x/state", "/home/u", "/x/state/zudedo/backups"},
        Case{"/x/state/", "/home/u", "/x/state/zudedo/backups"},
        Case{"relativ", "/home/u/", "/home/u/.local/state/zudedo/backups"},
        Case{"", "/home/m\xFC", "/home/m\xFC/.local/state/zudedo/backups"}, Case{"", "", ""}}) {
    EXPECT_EQ(app::backupFolder(c.xdgStateHome, c.home), c.folder) << c.xdgStateHome << c.home;
  }
}

TEST(ConfigCandidates, longPathsAreCutTo256Bytes) {
  std::string folder = "/" + std::string(300, 'a');
  app::ConfigCandidates candidates = app::configCandidates(folder, "", folder);

  EXPECT_EQ(candidates.temporaryFolderFile, folder.substr(0, 256));
  EXPECT_EQ(candidates.programFile, folder.substr(0, 256));
}

TEST(ConfigCandidates, ofThisProcessNameTheExecutable) {
  std::string executable = fs::read_symlink("/proc/self/exe").string();

  app::ConfigCandidates candidates = app::configCandidatesOfThisProcess();

  EXPECT_EQ(candidates.programFile, executable + ".cfg");
  EXPECT_EQ(candidates.rootFile, "/etc/zudedo.conf");
}

// Which candidate a start chooses, depending on what is on disk.
struct LocateCase {
  const char* name;
  std::function<void(const TempDir&)> arrange;
  int chosen;                // 1, 2 or 3
  std::vector<int> sleeps;   // recorded by the clock
  bool hiddenFirst = false;  // the first candidate's name starts with '.'
};

constexpr std::string_view created = "[port]\r\nt=1\r\n";
constexpr std::string_view existing = "[VC]\r\nFile=vorhanden.vcf\r\n";

class LocateConfigFile : public testing::TestWithParam<LocateCase> {
 protected:
  void SetUp() override {
    fs::create_directory(dir.path() / "bin");
    fs::create_directory(dir.path() / "etc");
    candidates.temporaryFolderFile =
        dir.file(GetParam().hiddenFirst ? "config/.zudedo.conf" : "config/zudedo.conf");
    candidates.programFile = dir.file("bin/morvi.cfg");
    candidates.rootFile = dir.file("etc/zudedo.conf");
  }

  const std::string& candidate(int number) const {
    return number == 1   ? candidates.temporaryFolderFile
           : number == 2 ? candidates.programFile
                         : candidates.rootFile;
  }

  TempDir dir;
  app::ConfigCandidates candidates;
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files{operations};
  platform::IniProfileFile profile{files};
  testing_support::FakeClock clock;
};

TEST_P(LocateConfigFile, choosesTheFirstUsableCandidate) {
  const LocateCase& c = GetParam();
  c.arrange(dir);
  auto before = [&](int number) { return readBytes(candidate(number)); };
  std::string second = before(2);
  std::string third = before(3);

  std::string chosen = app::locateConfigFile(candidates, files, profile, clock);

  EXPECT_EQ(chosen, candidate(c.chosen));
  EXPECT_EQ(clock.sleeps, c.sleeps);
  // Only a candidate that was created holds the marker; files found stay
  // as they were and the third is never written.
  bool secondCreated = c.chosen == 2 && c.sleeps.size() == 2;
  EXPECT_EQ(readBytes(candidate(2)), secondCreated ? std::string(created) : second);
  EXPECT_EQ(readBytes(candidate(3)), third);
  if (c.chosen == 1 && !c.sleeps.empty()) {
    EXPECT_EQ(readBytes(candidate(1)), created);
  }
}

void writeFirst(const TempDir& dir) {
  fs::create_directory(dir.path() / "config");
  writeBytes(dir.path() / "config" / "zudedo.conf", existing);
}
void writeHiddenFirst(const TempDir& dir) {
  fs::create_directory(dir.path() / "config");
  writeBytes(dir.path() / "config" / ".zudedo.conf", existing);
}
void writeSecond(const TempDir& dir) { writeBytes(dir.path() / "bin" / "morvi.cfg", existing); }
void writeThird(const TempDir& dir) { writeBytes(dir.path() / "etc" / "zudedo.conf", existing); }
void folderAsFirst(const TempDir& dir) {
  fs::create_directories(dir.path() / "config" / "zudedo.conf");
}
void noProgramFolder(const TempDir& dir) { fs::remove(dir.path() / "bin"); }

INSTANTIATE_TEST_SUITE_P(
    Starts, LocateConfigFile,
    testing::Values(
        LocateCase{"onlySecondExists", writeSecond, 2, {}},
        LocateCase{"firstAndSecondExist",
                   [](const TempDir& d) {
                     writeFirst(d);
                     writeSecond(d);
                   },
                   1,
                   {}},
        LocateCase{"onlyThirdExists", writeThird, 3, {}},
        LocateCase{"secondAndThirdExist",
                   [](const TempDir& d) {
                     writeSecond(d);
                     writeThird(d);
                   },
                   2,
                   {}},
        LocateCase{"noneExists_firstIsCreated", [](const TempDir&) {}, 1, {200}},
        LocateCase{"folderNamedLikeFirst_secondIsCreated", folderAsFirst, 2, {200, 200}},
        LocateCase{"folderNamedLikeFirst_secondExists",
                   [](const TempDir& d) {
                     folderAsFirst(d);
                     writeSecond(d);
                   },
                   2,
                   {}},
        LocateCase{"hiddenFirst_secondExists",
                   [](const TempDir& d) {
                     writeHiddenFirst(d);
                     writeSecond(d);
                   },
                   2,
                   {},
                   true},
        LocateCase{"hiddenFirst_notSeenAfterWritingEither", writeHiddenFirst, 2, {200, 200}, true},
        LocateCase{"neitherCanBeWritten_thirdUnwritten",
                   [](const TempDir& d) {
                     folderAsFirst(d);
                     noProgramFolder(d);
                   },
                   3,
                   {200, 200}}),
    [](const testing::TestParamInfo<LocateCase>& row) { return row.param.name; });

TEST(LocateConfigFileFolder, missingConfigFolderIsCreatedForTheUserOnly) {
  TempDir dir;
  app::ConfigCandidates candidates{dir.file("home/.config/zudedo.conf"), "", "/nonexistent/x"};
  platform::PosixFileOperations operations;
  platform::PosixFileSystem files(operations);
  platform::IniProfileFile profile(files);
  testing_support::FakeClock clock;

  EXPECT_EQ(app::locateConfigFile(candidates, files, profile, clock),
            candidates.temporaryFolderFile);

  EXPECT_EQ(readBytes(candidates.temporaryFolderFile), created);
  struct stat st {};
  ASSERT_EQ(::stat(dir.file("home/.config").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0077, 0U);
}

}  // namespace
