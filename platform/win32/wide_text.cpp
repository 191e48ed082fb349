#include "platform/win32/wide_text.h"

#include <windows.h>

#include <climits>

namespace platform::win32 {

namespace {

constexpr UINT windows1252 = 1252;

// The Win32 conversions count in int; longer texts are converted in pieces
// of this size, which never splits a character (one byte is one UTF-16 unit
// in Windows-1252, and a surrogate pair has no Windows-1252 byte anyway).
constexpr std::size_t maxPiece = INT_MAX / 2;

int toInt(std::size_t size) { return static_cast<int>(size); }

std::string convertPiece(std::wstring_view piece, BOOL* lost) {
  DWORD flags = WC_NO_BEST_FIT_CHARS;
  int size = WideCharToMultiByte(windows1252, flags, piece.data(), toInt(piece.size()), nullptr, 0,
                                 "?", lost);
  std::string result(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(windows1252, flags, piece.data(), toInt(piece.size()), result.data(), size,
                      "?", lost);
  return result;
}

}  // namespace

std::wstring toWide(std::string_view text) {
  std::wstring result;
  while (!text.empty()) {
    std::string_view piece = text.substr(0, maxPiece);
    int size = MultiByteToWideChar(windows1252, 0, piece.data(), toInt(piece.size()), nullptr, 0);
    std::size_t start = result.size();
    result.resize(start + static_cast<std::size_t>(size));
    MultiByteToWideChar(windows1252, 0, piece.data(), toInt(piece.size()), result.data() + start,
                        size);
    text.remove_prefix(piece.size());
  }
  return result;
}

std::string fromWide(std::wstring_view text) {
  std::string result;
  while (!text.empty()) {
    std::wstring_view piece = text.substr(0, maxPiece);
    result += convertPiece(piece, nullptr);
    text.remove_prefix(piece.size());
  }
  return result;
}

bool hasWindows1252Form(std::wstring_view text) {
  while (!text.empty()) {
    std::wstring_view piece = text.substr(0, maxPiece);
    BOOL lost = FALSE;
    convertPiece(piece, &lost);
    if (lost) return false;
    text.remove_prefix(piece.size());
  }
  return true;
}

}  // namespace platform::win32
