// Stands in for Notepad and for the mail program in the Windows tests:
// appends its command line, as UTF-8 and followed by a line end, to the file
// named by MORVI_RECORD_FILE, and ends.

#include <windows.h>

#include <string>

int main() {
  wchar_t recordFile[MAX_PATH] = {};
  if (GetEnvironmentVariableW(L"MORVI_RECORD_FILE", recordFile, MAX_PATH) == 0) return 1;
  const wchar_t* commandLine = GetCommandLineW();
  int size = WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, nullptr, 0, nullptr, nullptr);
  std::string line(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, commandLine, -1, line.data(), size, nullptr, nullptr);
  line.back() = '\n';
  HANDLE file = CreateFileW(recordFile, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  bool stored = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
                written == line.size();
  CloseHandle(file);
  return stored ? 0 : 1;
}
