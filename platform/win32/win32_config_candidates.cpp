#include "platform/win32/win32_config_candidates.h"

#include <windows.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace platform {

namespace {

constexpr std::string_view rootConfigFile = "c:\\zudedo.conf";
constexpr std::string_view configExtension = ".cfg";
constexpr std::size_t replacedSuffixLength = 4;  // ".exe"

std::string cutPath(std::string path) {
  if (path.size() > maxConfigPathLength) path.resize(maxConfigPathLength);
  return path;
}

// A path of the system in the program's Windows-1252, or "" when it names
// something that has no such form: that path could not be named again.
std::string fromSystem(std::wstring_view path) {
  return win32::hasWindows1252Form(path) ? win32::fromWide(path) : std::string();
}

std::string temporaryFolder() {
  wchar_t folder[MAX_PATH + 1] = {};
  DWORD length = GetTempPathW(MAX_PATH + 1, folder);
  if (length == 0 || length > MAX_PATH) return {};
  return fromSystem(std::wstring_view(folder, length));
}

std::string programPath() {
  // Long paths are possible; the buffer grows until the whole path fits.
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      return fromSystem(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace

namespace win32 {

ConfigCandidates configCandidates(std::string_view temporaryFolder, std::string_view programPath) {
  ConfigCandidates candidates;
  candidates.temporaryFolderFile =
      cutPath(std::string(temporaryFolder) + std::string(configFileName));
  if (programPath.size() >= replacedSuffixLength) {
    std::string program(programPath.substr(0, programPath.size() - replacedSuffixLength));
    candidates.programFile = cutPath(program + std::string(configExtension));
  }
  candidates.rootFile = std::string(rootConfigFile);
  return candidates;
}

}  // namespace win32

ConfigCandidates configCandidatesOfThisProcess() {
  return win32::configCandidates(temporaryFolder(), programPath());
}

}  // namespace platform
