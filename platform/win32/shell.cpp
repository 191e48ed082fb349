#include "platform/win32/shell.h"

#include <windows.h>
// After windows.h, which it builds on.
#include <shellapi.h>

#include <string>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

void Shell::openUrl(std::string_view url) {
  std::wstring wideUrl = toWide(url);
  ShellExecuteW(nullptr, L"open", wideUrl.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void Shell::openFile(std::string_view path) {
  // The path is quoted so that a folder with blanks stays one argument; a
  // Windows path cannot itself hold a quote.
  std::wstring commandLine = L"notepad.exe \"" + toWide(path) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                     &startup, &process)) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
}

}  // namespace platform::win32
