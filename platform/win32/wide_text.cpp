#include "platform/win32/wide_text.h"

#include <windows.h>

#include "text/cp1252.h"

namespace platform::win32 {

namespace {

// Calls take(code point, or nothing for a lone surrogate) for every
// character of UTF-16 text.
template <typename Take>
void forEachCodePoint(std::wstring_view text, Take take) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    char32_t unit = text[i];
    bool high = unit >= 0xD800 && unit <= 0xDBFF;
    if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      take(std::optional<char32_t>(0x10000 + ((unit - 0xD800) << 10) + (text[i + 1] - 0xDC00)));
      ++i;
    } else if (unit >= 0xD800 && unit <= 0xDFFF) {
      take(std::optional<char32_t>());
    } else {
      take(std::optional<char32_t>(unit));
    }
  }
}

}  // namespace

std::wstring toWide(std::string_view text) {
  std::wstring result;
  result.reserve(text.size());
  text::cp1252::forEachCharacter(text, [&](char32_t codePoint) {
    if (codePoint < 0x10000) {
      result += static_cast<wchar_t>(codePoint);
    } else {
      result += static_cast<wchar_t>(0xD800 + ((codePoint - 0x10000) >> 10));
      result += static_cast<wchar_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    }
  });
  return result;
}

std::string fromWide(std::wstring_view text) {
  std::string result;
  result.reserve(text.size());
  forEachCodePoint(text, [&](std::optional<char32_t> codePoint) {
    if (codePoint) {
      text::cp1252::appendCharacter(result, *codePoint);
    } else {
      result += '?';
    }
  });
  return result;
}

bool hasWindows1252Form(std::wstring_view text) {
  bool complete = true;
  forEachCodePoint(text, [&](std::optional<char32_t> codePoint) {
    if (!codePoint || !text::cp1252::fromUnicode(*codePoint)) complete = false;
  });
  return complete;
}

std::optional<std::string> pathFromWide(std::wstring_view path) {
  std::string converted = fromWide(path);
  if (toWide(converted) != path) return std::nullopt;
  return converted;
}

std::wstring wideFromUtf8(std::string_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), size, wide.data(), size);
  wide.resize(static_cast<std::size_t>(length));
  return wide;
}

std::string utf8FromWide(std::wstring_view text) {
  if (text.empty()) return {};
  int size = static_cast<int>(text.size());
  // At most three bytes for each UTF-16 unit.
  std::string utf8(text.size() * 3, '\0');
  int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), size, utf8.data(),
                                   static_cast<int>(utf8.size()), nullptr, nullptr);
  utf8.resize(static_cast<std::size_t>(length));
  return utf8;
}

}  // namespace platform::win32
