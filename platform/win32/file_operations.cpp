#include "platform/win32/file_operations.h"

namespace platform::win32 {

namespace {

Win32Result<HANDLE> openedOrError(HANDLE file) {
  if (file == INVALID_HANDLE_VALUE) return {INVALID_HANDLE_VALUE, GetLastError()};
  return {file, ERROR_SUCCESS};
}

DWORD errorUnless(BOOL succeeded) { return succeeded ? ERROR_SUCCESS : GetLastError(); }

}  // namespace

Win32Result<HANDLE> FileOperations::openForReading(const std::wstring& path) {
  return openedOrError(CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Win32Result<HANDLE> FileOperations::createNew(const std::wstring& path) {
  return openedOrError(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
}

Win32Result<HANDLE> FileOperations::openForUpdate(const std::wstring& path) {
  return openedOrError(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

Win32Result<DWORD> FileOperations::read(HANDLE file, char* buffer, DWORD size) {
  DWORD count = 0;
  if (!ReadFile(file, buffer, size, &count, nullptr)) return {0, GetLastError()};
  return {count, ERROR_SUCCESS};
}

Win32Result<DWORD> FileOperations::write(HANDLE file, const char* bytes, DWORD size) {
  DWORD count = 0;
  if (!WriteFile(file, bytes, size, &count, nullptr)) return {0, GetLastError()};
  return {count, ERROR_SUCCESS};
}

DWORD FileOperations::flush(HANDLE file) { return errorUnless(FlushFileBuffers(file)); }

Win32Result<ULONGLONG> FileOperations::size(HANDLE file) {
  LARGE_INTEGER size{};
  if (!GetFileSizeEx(file, &size)) return {0, GetLastError()};
  return {static_cast<ULONGLONG>(size.QuadPart), ERROR_SUCCESS};
}

DWORD FileOperations::setLength(HANDLE file, ULONGLONG size) {
  LARGE_INTEGER end{};
  end.QuadPart = static_cast<LONGLONG>(size);
  LARGE_INTEGER start{};
  return errorUnless(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file) &&
                     SetFilePointerEx(file, start, nullptr, FILE_BEGIN));
}

DWORD FileOperations::close(HANDLE file) { return errorUnless(CloseHandle(file)); }

Win32Result<DWORD> FileOperations::attributes(const std::wstring& path) {
  DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return {attributes, GetLastError()};
  return {attributes, ERROR_SUCCESS};
}

DWORD FileOperations::setAttributes(const std::wstring& path, DWORD attributes) {
  return errorUnless(SetFileAttributesW(path.c_str(), attributes));
}

DWORD FileOperations::moveOver(const std::wstring& from, const std::wstring& to) {
  return errorUnless(
      MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
}

DWORD FileOperations::move(const std::wstring& from, const std::wstring& to) {
  return errorUnless(MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH));
}

DWORD FileOperations::replace(const std::wstring& replaced, const std::wstring& replacement,
                              const std::wstring& displaced) {
  return errorUnless(
      ReplaceFileW(replaced.c_str(), replacement.c_str(), displaced.c_str(), 0, nullptr, nullptr));
}

DWORD FileOperations::remove(const std::wstring& path) {
  return errorUnless(DeleteFileW(path.c_str()));
}

DWORD FileOperations::makeDirectory(const std::wstring& path) {
  return errorUnless(CreateDirectoryW(path.c_str(), nullptr));
}

Win32Result<std::wstring> FileOperations::currentDirectory() {
  DWORD size = GetCurrentDirectoryW(0, nullptr);
  if (size == 0) return {{}, GetLastError()};
  std::wstring folder(size, L'\0');
  DWORD length = GetCurrentDirectoryW(size, folder.data());
  if (length == 0 || length >= size) return {{}, length == 0 ? GetLastError() : ERROR_MORE_DATA};
  folder.resize(length);
  return {folder, ERROR_SUCCESS};
}

Win32Result<BY_HANDLE_FILE_INFORMATION> FileOperations::information(const std::wstring& path) {
  // No access beyond the attributes, so that a file others hold open (even
  // exclusively for writing) can still be looked at; backup semantics open
  // folders as well.
  HANDLE file = CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES,
                            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {{}, GetLastError()};
  BY_HANDLE_FILE_INFORMATION information{};
  DWORD error = errorUnless(GetFileInformationByHandle(file, &information));
  CloseHandle(file);
  return {information, error};
}

DWORD FileOperations::removeEntry(const std::wstring& path) {
  // The entry itself is opened, never what a link points to, and removed
  // through its handle once it is known not to be a folder.
  HANDLE entry =
      CreateFileW(path.c_str(), DELETE | FILE_READ_ATTRIBUTES,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                  FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (entry == INVALID_HANDLE_VALUE) return GetLastError();
  BY_HANDLE_FILE_INFORMATION information{};
  DWORD error = errorUnless(GetFileInformationByHandle(entry, &information));
  if (error == ERROR_SUCCESS) {
    DWORD attributes = information.dwFileAttributes;
    bool isFolder = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
                    (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
    if (isFolder) {
      error = ERROR_ACCESS_DENIED;
    } else {
      FILE_DISPOSITION_INFO disposition{};
      disposition.DeleteFile = TRUE;
      error = errorUnless(
          SetFileInformationByHandle(entry, FileDispositionInfo, &disposition, sizeof disposition));
    }
  }
  // The entry goes when its last handle is closed.
  CloseHandle(entry);
  return error;
}

Win32Result<std::vector<WIN32_FIND_DATAW>> FileOperations::listDirectory(
    const std::wstring& folder) {
  std::wstring pattern = folder;
  if (!pattern.empty() && pattern.back() != L'\\' && pattern.back() != L'/') pattern += L'\\';
  pattern += L'*';
  std::vector<WIN32_FIND_DATAW> entries;
  WIN32_FIND_DATAW entry{};
  HANDLE search = FindFirstFileW(pattern.c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    // A folder without any entry (a drive's root can be one) has nothing
    // to find.
    if (error == ERROR_FILE_NOT_FOUND) {
      DWORD attributes = GetFileAttributesW(folder.c_str());
      if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return {std::move(entries), ERROR_SUCCESS};
    }
    return {{}, error};
  }
  do {
    entries.push_back(entry);
  } while (FindNextFileW(search, &entry));
  DWORD error = GetLastError();
  FindClose(search);
  if (error != ERROR_NO_MORE_FILES) return {{}, error};
  return {std::move(entries), ERROR_SUCCESS};
}

void FileOperations::wait(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) {
      DispatchMessageW(&message);
    }
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_PAINT);
  }
}

}  // namespace platform::win32
