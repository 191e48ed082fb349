#pragma once

#include <string_view>

#include "platform/config_candidates.h"

namespace platform {

// The places of the configuration file on Linux. The user's configuration
// folder stands for the temporary folder: XDG_CONFIG_HOME, or HOME + "/.config"
// (an XDG_CONFIG_HOME that is not absolute does not count); with neither the
// first candidate is the bare name, relative to the working directory. The
// executable's path with ".exe" (if any) replaced by ".cfg" is the second,
// "/etc/zudedo.conf" the third. All arguments are Windows-1252; an empty
// executable path gives an empty second candidate, which is never found.
[[nodiscard]] ConfigCandidates configCandidates(std::string_view xdgConfigHome,
                                                std::string_view home,
                                                std::string_view executablePath);

}  // namespace platform
