#include "platform/win32/shell.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// The system folder's notepad.exe; empty when the system names no folder.
std::wstring systemNotepad() {
  wchar_t folder[MAX_PATH] = {};
  UINT length = GetSystemDirectoryW(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return {};
  return std::wstring(folder, length) + L"\\notepad.exe";
}

}  // namespace

Shell::Shell() : notepad_(systemNotepad()) {}

void Shell::openUrl(std::string_view url) {
  std::wstring wideUrl = toWide(url);
  ShellExecuteW(nullptr, L"open", wideUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Shell::openFile(std::string_view path) {
  if (notepad_.empty()) return;
  // The paths are quoted so that a folder with blanks stays one argument; a
  // Windows path cannot itself hold a quote.
  std::wstring commandLine = L"\"" + notepad_ + L"\" \"" + toWide(path) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(notepad_.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                     nullptr, &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace platform::win32
