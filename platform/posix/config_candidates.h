#pragma once

#include <string_view>

#include "platform/config_candidates.h"

namespace platform::posix {

// The places of a configuration file named fileName on Linux. The user's
// configuration folder stands for the temporary folder: XDG_CONFIG_HOME, or
// HOME + "/.config" (an XDG_CONFIG_HOME that is not absolute does not count);
// with neither the first candidate is the bare name, relative to the working
// directory. The executable's path with ".exe" (if any) replaced by ".cfg" is
// the second, the name in "/etc" the third. All arguments are Windows-1252; an
// empty executable path gives an empty second candidate, which is never found.
[[nodiscard]] ConfigCandidates configCandidates(std::string_view xdgConfigHome,
                                                std::string_view home,
                                                std::string_view executablePath,
                                                std::string_view fileName);

// The backup folder on Linux: $XDG_STATE_HOME/<programFolder>/backups, else
// ~/.local/state/<programFolder>/backups. An XDG_STATE_HOME that is not
// absolute does not count; empty when there is no folder to build it from.
[[nodiscard]] std::string backupFolder(std::string_view xdgStateHome, std::string_view home,
                                       std::string_view programFolder);

}  // namespace platform::posix
