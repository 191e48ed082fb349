#include "platform/posix/config_candidates.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace {

namespace fs = std::filesystem;

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
    platform::ConfigCandidates candidates =
        platform::posix::configCandidates(c.xdgConfigHome, c.home, c.executable, "zudedo.conf");
    EXPECT_EQ(candidates.temporaryFolderFile, c.first) << c.xdgConfigHome << " | " << c.home;
    EXPECT_EQ(candidates.programFile, c.second) << c.executable;
    EXPECT_EQ(candidates.rootFile, "/etc/zudedo.conf");
  }
}

TEST(ConfigCandidates, longPathsAreCutTo256Bytes) {
  std::string folder = "/" + std::string(300, 'a');
  platform::ConfigCandidates candidates =
      platform::posix::configCandidates(folder, "", folder, "zudedo.conf");

  EXPECT_EQ(candidates.temporaryFolderFile, folder.substr(0, 256));
  EXPECT_EQ(candidates.programFile, folder.substr(0, 256));
}

TEST(ConfigCandidates, ofThisProcessNameTheExecutable) {
  std::string executable = fs::read_symlink("/proc/self/exe").string();

  platform::ConfigCandidates candidates = platform::configCandidatesOfThisProcess("zudedo.conf");

  EXPECT_EQ(candidates.programFile, executable + ".cfg");
  EXPECT_EQ(candidates.rootFile, "/etc/zudedo.conf");
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
    EXPECT_EQ(platform::posix::backupFolder(c.xdgStateHome, c.home, "zudedo"), c.folder)
        << c.xdgStateHome << c.home;
  }
}

}  // namespace
