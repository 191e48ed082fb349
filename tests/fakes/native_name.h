#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace testing_support {

// The program's services take paths as Windows-1252 text. On Windows the
// file system's names are UTF-16 and are converted with code page 1252 (as
// the services do), never with the system's ANSI code page; on Linux a name
// is the bytes it is given.
[[nodiscard]] std::filesystem::path nativeName(std::string_view programText);
[[nodiscard]] std::string programText(const std::filesystem::path& path);
// The code page that the system's narrow texts use: the ANSI code page on
// Windows, 1252 elsewhere, where the services do not depend on one.
[[nodiscard]] unsigned systemCodePage();

}  // namespace testing_support
