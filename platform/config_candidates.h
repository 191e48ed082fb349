#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The longest configuration path the program keeps; longer candidates are cut.
inline constexpr std::size_t maxConfigPathLength = 256;
inline constexpr std::string_view configFileName = "zudedo.conf";

// The three places for the configuration file, most preferred first.
struct ConfigCandidates {
  std::string temporaryFolderFile;  // in the user's temporary or configuration folder
  std::string programFile;          // beside the executable, as ".cfg"
  std::string rootFile;             // the system-wide file
};

// The candidates of this process, as the system it runs on names them
// (Windows-1252 paths).
[[nodiscard]] ConfigCandidates configCandidatesOfThisProcess();

}  // namespace platform
