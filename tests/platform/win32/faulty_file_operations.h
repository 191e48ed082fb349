#pragma once

#include <algorithm>
#include <functional>
#include <optional>
#include <utility>

#include "platform/win32/file_operations.h"

namespace testing_support {

// The real Win32 calls, with faults injected into single ones.
class FaultyWin32FileOperations : public platform::win32::FileOperations {
 public:
  std::optional<DWORD> createError;
  std::optional<DWORD> flushError;
  std::optional<DWORD> moveError;  // ReplaceFileW too
  std::optional<DWORD> removeError;
  std::optional<DWORD> readError;
  DWORD maxBytesPerWrite = MAXDWORD;
  int failingWrite = -1;  // this write (counted from 0) and all after it fail
  DWORD writeError = ERROR_DISK_FULL;
  bool writeStoresNothing = false;

  // Called once, by the next ReplaceFileW, right before it.
  std::function<void()> beforeReplace;
  // Called once, by the next ReplaceFileW, between its two moves: the old
  // file is aside, and the replacement then finds the name taken.
  std::function<void()> betweenTheMoves;

  int writes = 0;
  int waits = 0;

  platform::win32::Win32Result<HANDLE> createNew(const std::wstring& path) override {
    if (createError) return {INVALID_HANDLE_VALUE, *createError};
    return platform::win32::FileOperations::createNew(path);
  }
  platform::win32::Win32Result<DWORD> write(HANDLE file, const char* bytes, DWORD size) override {
    if (failingWrite >= 0 && writes++ >= failingWrite) return {0, writeError};
    if (writeStoresNothing) return {0, ERROR_SUCCESS};
    return platform::win32::FileOperations::write(file, bytes, std::min(size, maxBytesPerWrite));
  }
  DWORD flush(HANDLE file) override {
    if (flushError) return *flushError;
    return platform::win32::FileOperations::flush(file);
  }
  platform::win32::Win32Result<DWORD> read(HANDLE file, char* buffer, DWORD size) override {
    if (readError) return {0, *readError};
    return platform::win32::FileOperations::read(file, buffer, size);
  }
  DWORD removeEntry(const std::wstring& path) override {
    if (removeError) return *removeError;
    return platform::win32::FileOperations::removeEntry(path);
  }
  DWORD replace(const std::wstring& replaced, const std::wstring& replacement,
                const std::wstring& displaced) override {
    if (moveError) return *moveError;
    if (auto racer = std::exchange(beforeReplace, nullptr)) racer();
    if (auto racer = std::exchange(betweenTheMoves, nullptr)) {
      if (!MoveFileExW(replaced.c_str(), displaced.c_str(), 0))
        return ERROR_UNABLE_TO_MOVE_REPLACEMENT;
      racer();
      if (!MoveFileExW(replacement.c_str(), replaced.c_str(), 0))
        return ERROR_UNABLE_TO_MOVE_REPLACEMENT_2;
      return ERROR_SUCCESS;
    }
    return platform::win32::FileOperations::replace(replaced, replacement, displaced);
  }
  // Counts instead of waiting.
  void wait(DWORD) override { ++waits; }
  DWORD moveOver(const std::wstring& from, const std::wstring& to) override {
    if (moveError) return *moveError;
    return platform::win32::FileOperations::moveOver(from, to);
  }
};

}  // namespace testing_support
