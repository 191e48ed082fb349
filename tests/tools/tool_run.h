#pragma once

#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fakes/memory_file_system.h"
#include "tools/vcftool/vcftool_command.h"

namespace testing_support {

// What one run of vcftool gave: its exit status and what it printed.
struct ToolRun {
  int status = 0;
  std::string out;
  std::string err;
};

// Runs vcftool with args over the files in memory.
inline ToolRun runTool(MemoryFileSystem& files, const std::vector<std::string>& args) {
  std::vector<std::string_view> views(args.begin(), args.end());
  std::ostringstream out;
  std::ostringstream err;
  int status = vcftool::run(views, files, out, err);
  return {status, out.str(), err.str()};
}

}  // namespace testing_support
