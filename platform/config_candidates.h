#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The longest configuration path the program keeps; longer candidates are cut.
inline constexpr std::size_t maxConfigPathLength = 256;

[[nodiscard]] inline std::string cutConfigPath(std::string path) {
  if (path.size() > maxConfigPathLength) path.resize(maxConfigPathLength);
  return path;
}

// The three places for the configuration file, most preferred first.
struct ConfigCandidates {
  std::string temporaryFolderFile;  // in the user's temporary or configuration folder
  std::string programFile;          // beside the executable, as ".cfg"
  std::string rootFile;             // the system-wide file
};

// The candidates of this process for a configuration file of this name, as
// the system it runs on names them (Windows-1252 paths).
[[nodiscard]] ConfigCandidates configCandidatesOfThisProcess(std::string_view fileName);

// The folder for the copies of earlier versions of address files: the
// program's folder of that name in the user's state folder as the system
// names it, with "backups" below it (Windows-1252); empty when the system
// gives no such folder.
[[nodiscard]] std::string backupFolderOfThisProcess(std::string_view programFolder);

}  // namespace platform
