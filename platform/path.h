#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// Paths as the program holds them: a folder part (up to and including the
// last separator) and a name part. Windows takes '/' as a separator as well
// as '\'; elsewhere only '/' separates. For the narrow paths of the program
// and the wide paths of Windows alike.
namespace platform::path {

// The character that joins a folder and a name on the system the program is
// built for: '\' on Windows, '/' elsewhere.
inline constexpr char separator = static_cast<char>(std::filesystem::path::preferred_separator);

template <typename Char>
[[nodiscard]] constexpr bool isSeparator(Char c) {
  return c == Char('/') || (separator == '\\' && c == Char('\\'));
}

// Where the name part begins: after the last separator, 0 for a bare name.
template <typename Char>
[[nodiscard]] constexpr std::size_t nameStart(std::basic_string_view<Char> path) {
  for (std::size_t at = path.size(); at > 0; --at) {
    if (isSeparator(path[at - 1])) return at;
  }
  return 0;
}

// The folder part with its final separator; empty for a bare name.
template <typename Char>
[[nodiscard]] constexpr std::basic_string_view<Char> folderOf(std::basic_string_view<Char> path) {
  return path.substr(0, nameStart(path));
}
[[nodiscard]] constexpr std::string_view folderOf(std::string_view path) {
  return folderOf<char>(path);
}
[[nodiscard]] constexpr std::wstring_view folderOf(std::wstring_view path) {
  return folderOf<wchar_t>(path);
}

// What follows the last separator.
template <typename Char>
[[nodiscard]] constexpr std::basic_string_view<Char> nameOf(std::basic_string_view<Char> path) {
  return path.substr(nameStart(path));
}
[[nodiscard]] constexpr std::string_view nameOf(std::string_view path) {
  return nameOf<char>(path);
}
[[nodiscard]] constexpr std::wstring_view nameOf(std::wstring_view path) {
  return nameOf<wchar_t>(path);
}

// The folder part without its final separator, as a folder is named on its
// own: "." for a bare name, the separator itself for a name in the root.
[[nodiscard]] inline std::string folderNamed(std::string_view path) {
  std::string_view folder = folderOf(path);
  if (folder.empty()) return ".";
  if (folder.size() > 1) folder.remove_suffix(1);
  return std::string(folder);
}

// Whether the path names its file from a root ("/data/a.vcf"; on Windows
// also "\\server\\share\\a.vcf" and "C:\\a.vcf") rather than from the current
// folder.
[[nodiscard]] constexpr bool isAbsolute(std::string_view path) {
  if (!path.empty() && isSeparator(path[0])) return true;
  return separator == '\\' && path.size() >= 2 && path[1] == ':';
}

// name in folder, joined with the separator the folder's path uses already
// (on Windows that may be '/' as well as '\'), else with the system's; no
// separator is added when the folder ends with one, and a bare name stays
// bare when there is no folder.
[[nodiscard]] inline std::string join(std::string_view folder, std::string_view name) {
  std::string joined(folder);
  if (!joined.empty() && !isSeparator(joined.back())) {
    std::size_t last = nameStart(folder);
    joined += last > 0 ? folder[last - 1] : separator;
  }
  joined += name;
  return joined;
}

}  // namespace platform::path
