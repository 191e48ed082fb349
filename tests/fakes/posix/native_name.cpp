#include "tests/fakes/native_name.h"

namespace testing_support {

std::filesystem::path nativeName(std::string_view programText) { return std::string(programText); }

std::string programText(const std::filesystem::path& path) { return path.string(); }

unsigned systemCodePage() { return 1252; }

}  // namespace testing_support
