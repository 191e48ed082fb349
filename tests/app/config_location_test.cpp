#include "app/config_location.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/ini_profile_file.h"
#include "platform/machine_file_system.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/file_marks.h"
#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

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
  std::unique_ptr<platform::FileSystem> machineFiles = platform::makeMachineFileSystem();
  platform::FileSystem& files = *machineFiles;
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
  testing_support::hideFile(dir.path() / "config" / ".zudedo.conf");
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
  auto files = platform::makeMachineFileSystem();
  platform::IniProfileFile profile(*files);
  testing_support::FakeClock clock;

  EXPECT_EQ(app::locateConfigFile(candidates, *files, profile, clock),
            candidates.temporaryFolderFile);

  EXPECT_EQ(readBytes(candidates.temporaryFolderFile), created);
  EXPECT_TRUE(testing_support::isPrivateFolder(dir.path() / "home" / ".config"));
}

}  // namespace
