#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace platform::win32 {

// The outcome of one Win32 call: its value, or the GetLastError code of its
// failure.
template <typename T>
struct Win32Result {
  T value{};
  DWORD error = ERROR_SUCCESS;

  [[nodiscard]] bool ok() const { return error == ERROR_SUCCESS; }
};

// The Win32 calls that reading and replacing a file need, one method each,
// so that tests can make single calls fail underneath the real logic. Paths
// are UTF-16. Methods returning DWORD give ERROR_SUCCESS or the error code.
class FileOperations {
 public:
  virtual ~FileOperations() = default;

  // An existing file opened for reading; others may read and write it too.
  [[nodiscard]] virtual Win32Result<HANDLE> openForReading(const std::wstring& path);
  // A new file opened for writing; fails with ERROR_FILE_EXISTS when the
  // name is taken.
  [[nodiscard]] virtual Win32Result<HANDLE> createNew(const std::wstring& path);
  // An existing file opened for reading and writing, its content untouched;
  // others may only read it meanwhile.
  [[nodiscard]] virtual Win32Result<HANDLE> openForUpdate(const std::wstring& path);
  // Bytes read (0 at the end of the file).
  [[nodiscard]] virtual Win32Result<DWORD> read(HANDLE file, char* buffer, DWORD size);
  // Bytes stored, which may be fewer than size.
  [[nodiscard]] virtual Win32Result<DWORD> write(HANDLE file, const char* bytes, DWORD size);
  virtual DWORD flush(HANDLE file);
  [[nodiscard]] virtual Win32Result<ULONGLONG> size(HANDLE file);
  // Cuts or extends the file to this length (an extension takes its room on
  // the disk) and goes back to its start.
  virtual DWORD setLength(HANDLE file, ULONGLONG size);
  virtual DWORD close(HANDLE file);

  // The file's attributes (GetFileAttributesW).
  [[nodiscard]] virtual Win32Result<DWORD> attributes(const std::wstring& path);
  virtual DWORD setAttributes(const std::wstring& path, DWORD attributes);
  // Moves a file over another one, replacing it in one step, and returns
  // only when the move is on the disk.
  virtual DWORD moveOver(const std::wstring& from, const std::wstring& to);
  // Moves a file to a name that no file has; fails when one has.
  virtual DWORD move(const std::wstring& from, const std::wstring& to);
  // Gives replaced's name to replacement, which takes over replaced's
  // attributes and access control list; replaced goes on under the name
  // displaced (ReplaceFileW).
  virtual DWORD replace(const std::wstring& replaced, const std::wstring& replacement,
                        const std::wstring& displaced);
  virtual DWORD remove(const std::wstring& path);
  virtual DWORD makeDirectory(const std::wstring& path);
  [[nodiscard]] virtual Win32Result<std::wstring> currentDirectory();

  // Identity, size and times of what the path names, links followed
  // (GetFileInformationByHandle); a folder too.
  [[nodiscard]] virtual Win32Result<BY_HANDLE_FILE_INFORMATION> information(
      const std::wstring& path);
  // Removes a file, or a link itself rather than what it points to; refuses
  // a folder with ERROR_ACCESS_DENIED.
  virtual DWORD removeEntry(const std::wstring& path);
  // Every entry of the folder as FindFirstFileW and FindNextFileW give it,
  // "." and ".." included when the folder has them.
  [[nodiscard]] virtual Win32Result<std::vector<WIN32_FIND_DATAW>> listDirectory(
      const std::wstring& folder);
  // Lets the time pass while the program's windows go on painting; takes no
  // input meanwhile.
  virtual void wait(DWORD milliseconds);
};

}  // namespace platform::win32
