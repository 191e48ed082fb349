#include "platform/posix/config_candidates.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "text/cp1252.h"

namespace platform {

namespace posix {

namespace {

constexpr std::string_view rootConfigFolder = "/etc/";
constexpr std::string_view windowsExtension = ".exe";
constexpr std::string_view configExtension = ".cfg";
constexpr std::string_view backupsBelowProgram = "/backups";

std::string withoutTrailingSlashes(std::string_view folder) {
  while (!folder.empty() && folder.back() == '/') folder.remove_suffix(1);
  return std::string(folder);
}

// An XDG base folder: the variable's value, else the default below home.
// A relative value is invalid and ignored, as the XDG base directory rules
// say.
std::string xdgFolder(std::string_view variable, std::string_view home,
                      std::string_view belowHome) {
  if (!variable.empty() && variable.front() == '/') return std::string(variable);
  if (!home.empty()) return withoutTrailingSlashes(home) + std::string(belowHome);
  return {};
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
                                  std::string_view executablePath, std::string_view fileName) {
  ConfigCandidates candidates;
  std::string folder = xdgFolder(xdgConfigHome, home, "/.config");
  if (folder.empty()) {
    candidates.temporaryFolderFile = std::string(fileName);
  } else {
    candidates.temporaryFolderFile =
        cutConfigPath(withoutTrailingSlashes(folder) + "/" + std::string(fileName));
  }
  if (!executablePath.empty()) {
    std::string program(executablePath);
    if (program.ends_with(windowsExtension))
      program.resize(program.size() - windowsExtension.size());
    candidates.programFile = cutConfigPath(program + std::string(configExtension));
  }
  candidates.rootFile = std::string(rootConfigFolder) + std::string(fileName);
  return candidates;
}

std::string backupFolder(std::string_view xdgStateHome, std::string_view home,
                         std::string_view programFolder) {
  std::string state = xdgFolder(xdgStateHome, home, "/.local/state");
  if (state.empty()) return {};
  return withoutTrailingSlashes(state) + "/" + std::string(programFolder) +
         std::string(backupsBelowProgram);
}

}  // namespace posix

ConfigCandidates configCandidatesOfThisProcess(std::string_view fileName) {
  std::error_code error;
  std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", error);
  return posix::configCandidates(posix::environment("XDG_CONFIG_HOME"), posix::environment("HOME"),
                                 error ? std::string() : posix::fromSystem(executable.native()),
                                 fileName);
}

std::string backupFolderOfThisProcess(std::string_view programFolder) {
  return posix::backupFolder(posix::environment("XDG_STATE_HOME"), posix::environment("HOME"),
                             programFolder);
}

}  // namespace platform
