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

[[nodiscard]] inline QString toQString(std::string_view cp1252) {
  QString text(static_cast<qsizetype>(cp1252.size()), Qt::Uninitialized);
  QChar* out = text.data();
  for (char byte : cp1252) {
    *out++ =
        QChar(static_cast<char16_t>(text::cp1252::toUnicode(static_cast<unsigned char>(byte))));
  }
  return text;
}

namespace detail {

// Calls sink(byte or nothing) for every code point of text; a lone
// surrogate counts as a code point without a byte.
template <typename Sink>
void forEachByte(QStringView text, Sink sink) {
  for (qsizetype i = 0; i < text.size(); ++i) {
    char32_t codePoint = text[i].unicode();
    if (QChar::isHighSurrogate(codePoint) && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
      codePoint = QChar::surrogateToUcs4(text[i], text[i + 1]);
      ++i;
    }
    if (QChar::isSurrogate(codePoint)) {
      sink(std::optional<unsigned char>());
    } else {
      sink(text::cp1252::fromUnicode(codePoint));
    }
  }
}

}  // namespace detail

// A character without a Windows-1252 byte becomes '?'.
[[nodiscard]] inline std::string toCp1252(QStringView text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  detail::forEachByte(text, [&](std::optional<unsigned char> byte) {
    bytes += byte ? static_cast<char>(*byte) : '?';
  });
  return bytes;
}

// Nothing when a character has no Windows-1252 byte.
[[nodiscard]] inline std::optional<std::string> toCp1252Exact(QStringView text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  bool complete = true;
  detail::forEachByte(text, [&](std::optional<unsigned char> byte) {
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
