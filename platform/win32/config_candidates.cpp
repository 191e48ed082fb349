#include "platform/win32/config_candidates.h"

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace platform {

namespace {

constexpr std::string_view rootConfigFolder = "c:\\";
constexpr std::string_view configExtension = ".cfg";
constexpr std::size_t replacedSuffixLength = 4;  // ".exe"
constexpr std::string_view backupsBelowProgram = "\\backups";

// A path of the system in the program's form, or "" when it has none: that
// path could not be named again.
std::string fromSystem(std::wstring_view path) {
  return win32::pathFromWide(path).value_or(std::string());
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

// The user's local application data folder: the known folder, else the
// LOCALAPPDATA variable; "" when neither names one.
std::wstring localAppData() {
  PWSTR known = nullptr;
  std::wstring folder;
  if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known)) && known)
    folder = known;
  CoTaskMemFree(known);
  if (!folder.empty()) return folder;
  DWORD size = GetEnvironmentVariableW(L"LOCALAPPDATA", nullptr, 0);
  if (size == 0) return {};
  folder.assign(size, L'\0');
  DWORD length = GetEnvironmentVariableW(L"LOCALAPPDATA", folder.data(), size);
  if (length == 0 || length >= size) return {};
  folder.resize(length);
  return folder;
}

}  // namespace

namespace win32 {

ConfigCandidates configCandidates(std::string_view temporaryFolder, std::string_view programPath,
                                  std::string_view fileName) {
  ConfigCandidates candidates;
  candidates.temporaryFolderFile =
      cutConfigPath(std::string(temporaryFolder) + std::string(fileName));
  if (programPath.size() >= replacedSuffixLength) {
    std::string program(programPath.substr(0, programPath.size() - replacedSuffixLength));
    candidates.programFile = cutConfigPath(program + std::string(configExtension));
  }
  candidates.rootFile = std::string(rootConfigFolder) + std::string(fileName);
  return candidates;
}

std::string backupFolder(std::string_view localAppData, std::string_view programFolder) {
  std::string folder(localAppData);
  while (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
  if (folder.empty()) return {};
  return folder + "\\" + std::string(programFolder) + std::string(backupsBelowProgram);
}

}  // namespace win32

ConfigCandidates configCandidatesOfThisProcess(std::string_view fileName) {
  return win32::configCandidates(temporaryFolder(), programPath(), fileName);
}

std::string backupFolderOfThisProcess(std::string_view programFolder) {
  // A folder that could not be named again: no backups rather than backups
  // in a wrong place.
  std::string folder = fromSystem(localAppData());
  if (folder.empty()) return {};
  return win32::backupFolder(folder, programFolder);
}

}  // namespace platform
