#pragma once

#include <string>

#include "platform/clock.h"
#include "platform/config_candidates.h"
#include "platform/file_system.h"
#include "platform/profile_file.h"

namespace app {

using platform::ConfigCandidates;

// Chooses the configuration file: the first candidate that exists (a regular
// file that is not hidden); when none does, creates the first and then the
// second by writing [port] t=1, each checked after a pause of 200 ms;
// failing both, the third, which is neither written nor checked. The first
// candidate's folder is created (user only) before it is written.
[[nodiscard]] std::string locateConfigFile(const ConfigCandidates& candidates,
                                           platform::FileSystem& files,
                                           platform::ProfileFile& profile, platform::Clock& clock);

}  // namespace app
