#pragma once

#include <functional>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/file_system.h"
#include "platform/http.h"
#include "platform/keyring.h"

namespace vcftool {

// What sync needs besides the files, made only when it runs.
struct SyncSetup {
  platform::Http& http;
  const platform::Clock& clock;
  std::string configFile;  // the program's configuration file; empty when there is none
  std::optional<std::string> password;  // UTF-8, when the environment gives one
  platform::Keyring* keyring;           // asked when the environment gives none
  std::string stateFolder;              // the program's own, with "backups" below it
};

// Runs one vcftool command line (without the program name):
//   dump FILE [FILTER]   the records the program would show for FILTER
//   save FILE OUT        OUT gets exactly the bytes a save would write
//   sync FILE [--allow-deletes]
//                        synchronises FILE with the CardDAV address book
//                        that the configuration names; a summary on out
//   --help               the usage, on out
// Returns the exit status: 0 done, 1 the file could not be read as an
// address book (or sync failed, the reason on err), 2 wrong use.
// makeSyncSetup is called for sync only.
int run(std::span<const std::string_view> args, platform::FileSystem& files, std::ostream& out,
        std::ostream& err, const std::function<SyncSetup()>& makeSyncSetup = {});

}  // namespace vcftool
