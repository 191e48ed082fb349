#include "app/config_location.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/settings.h"
#include "text/cp1252.h"

namespace app {

namespace {

constexpr std::string_view rootConfigFile = "/etc/zudedo.conf";
constexpr std::string_view windowsExtension = ".exe";
constexpr std::string_view configExtension = ".cfg";
constexpr std::string_view createdValue = "1";
// The pause between writing a candidate and looking for it.
constexpr int settleMilliseconds = 200;

std::string cutPath(std::string path) {
  if (path.size() > maxConfigPathLength) path.resize(maxConfigPathLength);
  return path;
}

std::string withoutTrailingSlashes(std::string_view folder) {
  while (!folder.empty() && folder.back() == '/') folder.remove_suffix(1);
  return std::string(folder);
}

std::string configFolder(std::string_view xdgConfigHome, std::string_view home) {
  // A relative XDG_CONFIG_HOME is invalid and ignored, as the XDG base
  // directory rules say.
  if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/') return std::string(xdgConfigHome);
  if (!home.empty()) return withoutTrailingSlashes(home) + "/.config";
  return {};
}

std::string_view folderOf(std::string_view path) {
  auto slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash);
}

std::string_view nameOf(std::string_view path) {
  auto slash = path.rfind('/');
  return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A file counts only when it is an ordinary file that is not hidden.
bool exists(std::string_view path, const platform::FileSystem& files) {
  std::string_view name = nameOf(path);
  return !name.empty() && name.front() != '.' && files.isFile(path);
}

// Writes the marker key and looks whether the file is there after the pause;
// the write's own result is not trusted.
bool create(std::string_view path, const platform::FileSystem& files,
            platform::ProfileFile& profile, platform::Clock& clock) {
  const platform::SettingKey& created = platform::setting::created;
  profile.write(path, created.section, created.key, createdValue);
  clock.sleep(settleMilliseconds);
  return exists(path, files);
}

// Text from the system (UTF-8) as Windows-1252, or its raw bytes when it has
// no such form.
std::string fromSystem(std::string_view text) {
  auto converted = text::cp1252::fromUtf8(text);
  return converted ? std::move(*converted) : std::string(text);
}

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? fromSystem(value) : std::string();
}

}  // namespace

ConfigCandidates configCandidates(std::string_view xdgConfigHome, std::string_view home,
                                  std::string_view executablePath) {
  ConfigCandidates candidates;
  std::string folder = configFolder(xdgConfigHome, home);
  if (folder.empty()) {
    candidates.temporaryFolderFile = std::string(configFileName);
  } else {
    candidates.temporaryFolderFile =
        cutPath(withoutTrailingSlashes(folder) + "/" + std::string(configFileName));
  }
  if (!executablePath.empty()) {
    std::string program(executablePath);
    if (program.ends_with(windowsExtension))
      program.resize(program.size() - windowsExtension.size());
    candidates.programFile = cutPath(program + std::string(configExtension));
  }
  candidates.rootFile = std::string(rootConfigFile);
  return candidates;
}

ConfigCandidates configCandidatesOfThisProcess() {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return configCandidates(environment("XDG_CONFIG_HOME"), environment("HOME"),
                          error ? std::string() : fromSystem(executable.string()));
}

std::string locateConfigFile(const ConfigCandidates& candidates, platform::FileSystem& files,
                             platform::ProfileFile& profile, platform::Clock& clock) {
  for (const std::string* candidate :
       {&candidates.temporaryFolderFile, &candidates.programFile, &candidates.rootFile}) {
    if (exists(*candidate, files)) return *candidate;
  }
  std::string_view folder = folderOf(candidates.temporaryFolderFile);
  if (!folder.empty()) files.createFolder(folder);
  if (create(candidates.temporaryFolderFile, files, profile, clock)) {
    return candidates.temporaryFolderFile;
  }
  if (create(candidates.programFile, files, profile, clock)) return candidates.programFile;
  return candidates.rootFile;
}

}  // namespace app
