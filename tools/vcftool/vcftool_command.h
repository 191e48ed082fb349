#pragma once

#include <ostream>
#include <span>
#include <string_view>

#include "platform/file_system.h"

namespace vcftool {

// Runs one vcftool command line (without the program name):
//   dump FILE [FILTER]   the records the program would show for FILTER
//   save FILE OUT        OUT gets exactly the bytes a save would write
//   --help               the usage, on out
// Returns the exit status: 0 done, 1 the file could not be read as an
// address book, 2 wrong use.
int run(std::span<const std::string_view> args, platform::FileSystem& files, std::ostream& out,
        std::ostream& err);

}  // namespace vcftool
