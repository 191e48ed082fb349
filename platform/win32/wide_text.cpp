#include "platform/win32/wide_text.h"

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

}  // namespace platform::win32
