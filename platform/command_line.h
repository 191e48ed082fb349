#pragma once

#include <string>
#include <vector>

namespace platform {

// The program's command-line arguments after its name, as UTF-8. Linux gives
// them as they were typed; on Windows they come from the UTF-16 command line
// rather than from argv, whose ANSI code page would turn a character it
// lacks into '?'.
[[nodiscard]] std::vector<std::string> utf8Arguments(int argc, char** argv);

}  // namespace platform
