#pragma once

// Windows-1252 bytes to QString and back, at the edge between the program's
// texts and the widgets. Line breaks: the program writes CR LF, Qt uses LF.

#include <QString>
#include <QStringView>
#include <optional>
#include <string>
#include <string_view>

#include "text/cp1252.h"

namespace platform::qt {

// A program text (Windows-1252, with the UTF-8 sequences of the characters
// it lacks) as the characters it stands for.
[[nodiscard]] inline QString toQString(std::string_view cp1252) {
  QString text;
  text.reserve(static_cast<qsizetype>(cp1252.size()));
  text::cp1252::forEachCharacter(cp1252, [&](char32_t codePoint) {
    if (codePoint < 0x10000) {
      text.append(QChar(static_cast<char16_t>(codePoint)));
    } else {
      text.append(QChar(QChar::highSurrogate(codePoint)));
      text.append(QChar(QChar::lowSurrogate(codePoint)));
    }
  });
  return text;
}

namespace detail {

// Calls sink(code point, or nothing for a lone surrogate) for every
// character of text.
template <typename Sink>
void forEachCodePoint(QStringView text, Sink sink) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t codePoint = text[i].unicode();
    if (QChar::isHighSurrogate(codePoint) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    sink(QChar::isSurrogate(codePoint) ? std::optional<char32_t>() : codePoint);
  }
}

}  // namespace detail

// The program text of the characters: Windows-1252 bytes, and the UTF-8
// sequence of a character that Windows-1252 lacks; a lone surrogate, which
// is no character, becomes '?'.
[[nodiscard]] inline std::string toCp1252(QStringView text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  detail::forEachCodePoint(text, [&](std::optional<char32_t> codePoint) {
    if (codePoint) {
      text::cp1252::appendCharacter(bytes, *codePoint);
    } else {
      bytes += '?';
    }
  });
  return bytes;
}

// Nothing when a character has no Windows-1252 byte (a path must name the
// file in Windows-1252 itself).
[[nodiscard]] inline std::optional<std::string> toCp1252Exact(QStringView text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  bool complete = true;
  detail::forEachCodePoint(text, [&](std::optional<char32_t> codePoint) {
    auto byte = codePoint ? text::cp1252::fromUnicode(*codePoint) : std::nullopt;
    if (byte) {
      bytes += static_cast<char>(*byte);
    } else {
      complete = false;
    }
  });
  if (!complete) return std::nullopt;
  return bytes;
}

// CR LF line breaks as the LF that Qt's widgets break lines at.
[[nodiscard]] inline QString fromCrLf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return text;
}

[[nodiscard]] inline QString toCrLf(QString text) {
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text;
}

}  // namespace platform::qt
