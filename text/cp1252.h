#pragma once

// Windows-1252 text: the ANSI upper-casing of the Windows desktop and the
// conversions to and from Unicode at the edges of the program (the Qt
// widgets, file names of the operating system, UTF-8 input of tools).
// Header-only so that the platform backends can use it without linking.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace text::cp1252 {

namespace detail {

// Unicode code points of the bytes 0x80 to 0x9F. The five bytes that
// Windows-1252 leaves undefined map to the C1 control with the same number,
// as Windows itself maps them, so every byte survives a round trip.
inline constexpr std::array<char16_t, 32> high{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

constexpr std::array<unsigned char, 256> makeUpperTable() {
  std::array<unsigned char, 256> table{};
  for (int c = 0; c < 256; ++c) table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c);
  for (int c = 'a'; c <= 'z'; ++c)
    table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);
  for (int c = 0xE0; c <= 0xFE; ++c) {
    if (c != 0xF7) table[static_cast<std::size_t>(c)] = static_cast<unsigned char>(c - 32);
  }
  table[0x9A] = 0x8A;  // š
  table[0x9C] = 0x8C;  // œ
  table[0x9E] = 0x8E;  // ž
  table[0xFF] = 0x9F;  // ÿ
  return table;
}

}  // namespace detail

// The Windows ANSI upper-casing of one Windows-1252 byte: a-z, à-þ (not ÷),
// š œ ž ÿ; ß and µ stay as they are.
inline constexpr std::array<unsigned char, 256> upperTable = detail::makeUpperTable();

[[nodiscard]] constexpr char toUpper(char c) {
  return static_cast<char>(upperTable[static_cast<unsigned char>(c)]);
}

[[nodiscard]] inline std::string toUpper(std::string_view text) {
  std::string result(text);
  for (char& c : result) c = toUpper(c);
  return result;
}

// The Unicode code point of a byte.
[[nodiscard]] constexpr char32_t toUnicode(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) return detail::high[byte - 0x80];
  return byte;
}

// True for the control characters: the bytes below 0x20 and DEL (0x7F).
[[nodiscard]] constexpr bool isControl(char c) {
  auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F;
}

// True for the five bytes that Windows-1252 does not define.
[[nodiscard]] constexpr bool isUndefined(unsigned char byte) {
  return byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D;
}

// The byte for a code point, including the five undefined bytes (which come
// back from toUnicode as C1 controls); nothing when there is none.
[[nodiscard]] constexpr std::optional<unsigned char> fromUnicode(char32_t codePoint) {
  if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
    return static_cast<unsigned char>(codePoint);
  }
  for (std::size_t i = 0; i < detail::high.size(); ++i) {
    if (detail::high[i] == codePoint) return static_cast<unsigned char>(0x80 + i);
  }
  return std::nullopt;
}

// The byte for a character that Windows-1252 defines (the five undefined
// bytes do not count as characters).
[[nodiscard]] constexpr std::optional<unsigned char> characterFromUnicode(char32_t codePoint) {
  auto byte = fromUnicode(codePoint);
  if (byte && isUndefined(*byte)) return std::nullopt;
  return byte;
}

// Appends the UTF-8 form of a code point.
inline void appendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes one well-formed UTF-8 sequence at the start of text (no overlong
// forms, no surrogates). Returns the code point and the sequence length, or
// a length of 0 when text does not start with such a sequence.
struct Utf8Char {
  char32_t codePoint;
  std::size_t length;
};

[[nodiscard]] constexpr Utf8Char decodeUtf8(std::string_view text) {
  if (text.empty()) return {0, 0};
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  unsigned char lead = byte(0);
  if (lead < 0x80) return {lead, 1};
  std::size_t length = 0;
  char32_t cp = 0;
  char32_t minimum = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, cp = lead & 0x1F, minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, cp = lead & 0x0F, minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, cp = lead & 0x07, minimum = 0x10000;
  } else {
    return {0, 0};
  }
  if (text.size() < length) return {0, 0};
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return {0, 0};
    cp = (cp << 6) | (byte(i) & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return {0, 0};
  return {cp, length};
}

// The program's texts are Windows-1252 bytes with one addition: a character
// that Windows-1252 lacks (a Polish or Cyrillic letter that a card brought,
// or that the user typed) stands in them as its UTF-8 sequence. Where text
// is shown, such a sequence is that character; everything else is read byte
// by byte. Turning a text into characters and back gives the same bytes.

// Whether a UTF-8 sequence in a program text stands for its character: one
// that Windows-1252 lacks, of the scripts whose letters follow a letter of
// Windows-1252 in the sequence's bytes only when that letter stands right
// before a sign: Latin Extended, Greek, Cyrillic, Armenian, Hebrew, Arabic,
// and everything from U+0800 on (Indic, East Asian, ...). The others (the
// C1 controls, IPA and the combining marks, Syriac, Thaana, N'Ko) would
// also read "Stra\xDF\x96" ("Stra\u00DFe" and a dash) or "\xC9\xBB" as letters.
[[nodiscard]] constexpr bool standsForItself(char32_t codePoint) {
  bool script = (codePoint >= 0x100 && codePoint < 0x250) ||
                (codePoint >= 0x370 && codePoint < 0x700) || codePoint >= 0x800;
  return script && !fromUnicode(codePoint);
}

// Calls take(code point) for each character of a program text.
template <typename Take>
void forEachCharacter(std::string_view text, Take take) {
  while (!text.empty()) {
    auto lead = static_cast<unsigned char>(text.front());
    if (lead >= 0xC2) {
      Utf8Char c = decodeUtf8(text);
      if (c.length > 0 && standsForItself(c.codePoint)) {
        take(c.codePoint);
        text.remove_prefix(c.length);
        continue;
      }
    }
    take(toUnicode(lead));
    text.remove_prefix(1);
  }
}

// Appends a character to a program text: its Windows-1252 byte, or its
// UTF-8 sequence when that stands for it; any other character (a C1
// control, an IPA letter, ...), which would not read back, becomes '?'.
inline void appendCharacter(std::string& out, char32_t codePoint) {
  if (auto byte = fromUnicode(codePoint)) {
    out += static_cast<char>(*byte);
  } else if (standsForItself(codePoint)) {
    appendUtf8(out, codePoint);
  } else {
    out += '?';
  }
}

// A program text as UTF-8: every character of it, as forEachCharacter reads
// it, in its UTF-8 form.
[[nodiscard]] inline std::string textToUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  forEachCharacter(text, [&](char32_t codePoint) { appendUtf8(out, codePoint); });
  return out;
}

// UTF-8 as a program text (each character as appendCharacter puts it);
// nothing when the text is not valid UTF-8.
[[nodiscard]] inline std::optional<std::string> textFromUtf8(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  while (!utf8.empty()) {
    Utf8Char c = decodeUtf8(utf8);
    if (c.length == 0) return std::nullopt;
    appendCharacter(out, c.codePoint);
    utf8.remove_prefix(c.length);
  }
  return out;
}

// Windows-1252 bytes as UTF-8, byte by byte.
[[nodiscard]] inline std::string toUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size() + text.size() / 8);
  for (char c : text) appendUtf8(out, toUnicode(static_cast<unsigned char>(c)));
  return out;
}

// UTF-8 as Windows-1252 bytes; nothing when the text is not valid UTF-8 or
// holds a character that has no Windows-1252 byte.
[[nodiscard]] inline std::optional<std::string> fromUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  while (!text.empty()) {
    Utf8Char c = decodeUtf8(text);
    if (c.length == 0) return std::nullopt;
    auto byte = fromUnicode(c.codePoint);
    if (!byte) return std::nullopt;
    out += static_cast<char>(*byte);
    text.remove_prefix(c.length);
  }
  return out;
}

}  // namespace text::cp1252
