#include "tests/fakes/file_marks.h"

namespace testing_support {

void hideFile(const std::filesystem::path&) {}

bool isPrivateFolder(const std::filesystem::path& path) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::file_status status = fs::status(path, error);
  constexpr fs::perms others = fs::perms::group_all | fs::perms::others_all;
  return !error && fs::is_directory(status) && (status.permissions() & others) == fs::perms::none;
}

}  // namespace testing_support
