#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/profile_file.h"

namespace app {

// The longest configuration path the program keeps; longer candidates are cut.
inline constexpr std::size_t maxConfigPathLength = 256;
inline constexpr std::string_view configFileName = "zudedo.conf";

// The three places for the configuration file, most preferred first.
struct ConfigCandidates {
  std::string temporaryFolderFile;  // in the user's configuration folder
  std::string programFile;          // beside the executable, as ".cfg"
  std::string rootFile;             // the system-wide file
};

// Builds the candidates from the environment's XDG_CONFIG_HOME and HOME and
// the executable's own path (all Windows-1252; empty when unknown). An
// XDG_CONFIG_HOME that is not absolute does not count. With no folder for
// the first candidate it is the bare name, relative to the working
// directory; with no executable path the second one is empty and never found.
[[nodiscard]] ConfigCandidates configCandidates(std::string_view xdgConfigHome,
                                                std::string_view home,
                                                std::string_view executablePath);

// The candidates of this process: its environment and /proc/self/exe.
[[nodiscard]] ConfigCandidates configCandidatesOfThisProcess();

// The folder for the copies of earlier versions of address files, in the
// user's state folder: $XDG_STATE_HOME/zudedo/backups, else
// ~/.local/state/zudedo/backups (Windows-1252). An XDG_STATE_HOME that is not
// absolute does not count; empty when there is no folder to build it from.
[[nodiscard]] std::string backupFolder(std::string_view xdgStateHome, std::string_view home);

// The backup folder of this process, from its environment.
[[nodiscard]] std::string backupFolderOfThisProcess();

// Chooses the configuration file: the first candidate that exists (a regular
// file whose name does not start with '.'); when none does, creates the first
// and then the second by writing [port] t=1, each checked after a pause of
// 200 ms; failing both, the third, which is neither written nor checked.
// The first candidate's folder is created (user only) before it is written.
[[nodiscard]] std::string locateConfigFile(const ConfigCandidates& candidates,
                                           platform::FileSystem& files,
                                           platform::ProfileFile& profile, platform::Clock& clock);

}  // namespace app
