#include "tests/fakes/file_marks.h"

#include <windows.h>

namespace testing_support {

void hideFile(const std::filesystem::path& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) {
    SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_HIDDEN);
  }
}

bool isPrivateFolder(const std::filesystem::path& path) {
  return std::filesystem::is_directory(path);
}

}  // namespace testing_support
