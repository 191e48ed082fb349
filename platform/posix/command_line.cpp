#include "platform/command_line.h"

namespace platform {

std::vector<std::string> utf8Arguments(int argc, char** argv) {
  return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

}  // namespace platform
