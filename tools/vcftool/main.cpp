#include <iostream>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine_file_system.h"
#include "text/cp1252.h"
#include "tools/vcftool/vcftool_command.h"

int main(int argc, char** argv) {
  // Paths and the filter arrive as UTF-8; the program works in Windows-1252.
  std::vector<std::string> converted;
  for (int i = 1; i < argc; ++i) {
    std::string_view arg = argv[i];
    converted.push_back(text::cp1252::fromUtf8(arg).value_or(std::string(arg)));
  }
  std::vector<std::string_view> args;
  for (int i = 1; i < argc; ++i) {
    // The filter (third argument of dump) is converted inside the command.
    bool isFilter = i == 3 && std::string_view(argv[1]) == "dump";
    args.emplace_back(isFilter ? std::string_view(argv[i])
                               : std::string_view(converted[static_cast<std::size_t>(i - 1)]));
  }
  auto files = platform::makeMachineFileSystem();
  return vcftool::run(args, *files, std::cout, std::cerr);
}
