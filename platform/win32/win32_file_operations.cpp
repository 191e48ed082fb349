#include "platform/win32/win32_file_operations.h"

namespace platform::win32 {

namespace {

Win32Result<HANDLE> openedOrError(HANDLE file) {
  if (file == INVALID_HANDLE_VALUE) return {INVALID_HANDLE_VALUE, GetLastError()};
  return {file, ERROR_SUCCESS};
}

DWORD errorUnless(BOOL succeeded) { return succeeded ? ERROR_SUCCESS : GetLastError(); }

}  // namespace

Win32Result<HANDLE> Win32FileOperations::openForReading(const std::wstring& path) {
  return openedOrError(CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Win32Result<HANDLE> Win32FileOperations::createNew(const std::wstring& path) {
  return openedOrError(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

Win32Result<DWORD> Win32FileOperations::read(HANDLE file, char* buffer, DWORD size) {
  DWORD count = 0;
  if (!ReadFile(file, buffer, size, &count, nullptr)) return {0, GetLastError()};
  return {count, ERROR_SUCCESS};
}

Win32Result<DWORD> Win32FileOperations::write(HANDLE file, const char* bytes, DWORD size) {
  DWORD count = 0;
  if (!WriteFile(file, bytes, size, &count, nullptr)) return {0, GetLastError()};
  return {count, ERROR_SUCCESS};
}

DWORD Win32FileOperations::flush(HANDLE file) { return errorUnless(FlushFileBuffers(file)); }

Win32Result<ULONGLONG> Win32FileOperations::size(HANDLE file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return {0, GetLastError()};
  return {static_cast<ULONGLONG>(size.QuadPart), ERROR_SUCCESS};
}

DWORD Win32FileOperations::close(HANDLE file) { return errorUnless(CloseHandle(file)); }

Win32Result<DWORD> Win32FileOperations::attributes(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {attributes, GetLastError()};
  return {attributes, ERROR_SUCCESS};
}

DWORD Win32FileOperations::setAttributes(const std::wstring& path, DWORD attributes) {
  return errorUnless(SetFileAttributesW(path.c_str(), attributes));
}

DWORD Win32FileOperations::moveOver(const std::wstring& from, const std::wstring& to) {
  return errorUnless(
      MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

DWORD Win32FileOperations::remove(const std::wstring& path) {
  return errorUnless(DeleteFileW(path.c_str()));
}

DWORD Win32FileOperations::makeDirectory(const std::wstring& path) {
  return errorUnless(CreateDirectoryW(path.c_str(), nullptr));
}

Win32Result<std::wstring> Win32FileOperations::currentDirectory() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return {{}, GetLastError()};
  std::wstring folder(size, L'\0');
  DWORD length = GetCurrentDirectoryW(size, folder.data());
  if (length == 0 || length >= size) return {{}, length == 0 ? GetLastError() : ERROR_MORE_DATA};
  folder.resize(length);
  return {folder, ERROR_SUCCESS};
}

}  // namespace platform::win32
