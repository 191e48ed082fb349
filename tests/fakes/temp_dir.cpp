#include "tests/fakes/temp_dir.h"

#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "tests/fakes/native_name.h"

namespace testing_support {

TempDir::TempDir() {
  static constexpr std::string_view letters = "abcdefghijklmnopqrstuvwxyz0123456789";
  std::random_device seed;
  std::mt19937 random(seed());
  std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
  // create_directory reports false for a name that exists already, so two
  // tests never share a folder.
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::string name = "morvi-test-";
    for (int i = 0; i < 6; ++i) name += letters[pick(random)];
    std::filesystem::path candidate = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::create_directory(candidate)) {
      std::filesystem::permissions(candidate, std::filesystem::perms::owner_all);
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("no free name for a temporary folder");
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::file(std::string_view name) const {
  return programText(path_ / nativeName(name));
}

std::string TempDir::write(std::string_view name, std::string_view bytes) const {
  writeBytes(path_ / nativeName(name), bytes);
  return file(name);
}

std::string readBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace testing_support
