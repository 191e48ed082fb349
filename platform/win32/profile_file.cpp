#include "platform/win32/profile_file.h"

#include <windows.h>

#include <algorithm>
#include <string>

#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

// The routines take the room as a DWORD; no setting comes near this.
constexpr std::size_t maxRoom = 1U << 20U;

// The full form of a path, so that the routines never look in the Windows
// folder for a bare name.
std::wstring fullPath(std::string_view path) {
  std::wstring wide = toWide(path);
  DWORD size = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
  if (size == 0) return wide;
  std::wstring full(size, L'\0');
  DWORD length = GetFullPathNameW(wide.c_str(), size, full.data(), nullptr);
  if (length == 0 || length >= size) return wide;
  full.resize(length);
  return full;
}

bool isWritable(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos;
}

}  // namespace

std::string ProfileFile::read(std::string_view path, std::string_view section, std::string_view key,
                              std::string_view defaultValue, std::size_t room) const {
  if (room == 0) return {};
  room = std::min(room, maxRoom);
  std::wstring value(room, L'\0');
  DWORD length = GetPrivateProfileStringW(toWide(section).c_str(), toWide(key).c_str(),
                                          toWide(defaultValue).c_str(), value.data(),
                                          static_cast<DWORD>(room), fullPath(path).c_str());
  value.resize(std::min<std::size_t>(length, room - 1));
  return fromWide(value);
}

bool ProfileFile::write(std::string_view path, std::string_view section, std::string_view key,
                        std::string_view value) {
  if (section.empty() || key.empty() || !isWritable(section) || !isWritable(key) ||
      !isWritable(value)) {
    return false;
  }
  return WritePrivateProfileStringW(toWide(section).c_str(), toWide(key).c_str(),
                                    toWide(value).c_str(), fullPath(path).c_str()) != FALSE;
}

}  // namespace platform::win32
