#pragma once

#include <filesystem>

namespace testing_support {

// Marks an existing file as hidden the way the system does: on Windows with
// the hidden attribute; on Linux a name starting with '.' is all it takes.
void hideFile(const std::filesystem::path& path);

// Whether the folder exists and is closed to everyone but its owner. Windows
// folders take their access rights from the folder above, so there any
// folder counts.
[[nodiscard]] bool isPrivateFolder(const std::filesystem::path& path);

}  // namespace testing_support
