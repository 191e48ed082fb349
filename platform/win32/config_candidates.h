#pragma once

#include <string>
#include <string_view>

#include "platform/config_candidates.h"

namespace platform::win32 {

// The places of a configuration file named fileName on Windows: the
// temporary folder (as GetTempPathW gives it, with its final backslash)
// followed by the name, or the bare name when there is no such folder; the
// program's own path with its last four characters (normally ".exe")
// replaced by ".cfg", or nothing when the path is unknown; and the name in
// "c:\". Paths are Windows-1252 and cut to 256 characters.
[[nodiscard]] ConfigCandidates configCandidates(std::string_view temporaryFolder,
                                                std::string_view programPath,
                                                std::string_view fileName);

// The backup folder on Windows: "<programFolder>\backups" in the user's
// local application data folder (Windows-1252, trailing separators
// dropped); empty when there is no such folder.
[[nodiscard]] std::string backupFolder(std::string_view localAppData,
                                       std::string_view programFolder);

}  // namespace platform::win32
