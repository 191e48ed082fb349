#include "addressbook/file_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string_view>

#include "text/cp1252.h"

namespace addressbook {

namespace {

std::size_t countCrLf(std::string_view text) {
  std::size_t pairs = 0;
  for (std::size_t i = 1; i < text.size(); ++i) {
    if (text[i] == '\n' && text[i - 1] == '\r') ++pairs;
  }
  return pairs;
}

// Rewrites text from its end, so the longer result can share its memory.
// lineEnd(i) tells whether the byte at i ends a line and how many bytes the
// line end takes there (counted backwards from i).
template <typename LineEnd>
void rewriteFromEnd(std::string& text, std::size_t newSize, LineEnd lineEnd) {
  std::size_t oldSize = text.size();
  text.resize(newSize);
  std::size_t out = newSize;
  std::size_t in = oldSize;
  while (in > 0) {
    std::size_t taken = lineEnd(text, in - 1);
    if (taken > 0) {
      text[--out] = '\n';
      text[--out] = '\r';
      in -= taken;
    } else {
      text[--out] = text[--in];
    }
  }
}

// Whether text is UTF-16 and, if so, whether its high bytes come first.
std::optional<bool> utf16ByteOrder(std::string_view text) {
  using namespace std::string_view_literals;
  if (text.starts_with("\xFF\xFE"sv) || text.starts_with("B\0E\0G\0"sv)) return false;
  if (text.starts_with("\xFE\xFF"sv) || text.starts_with("\0B\0E\0G"sv)) return true;
  return std::nullopt;
}

bool endsInCrCr(std::string_view text, std::size_t lf) {
  return lf >= 2 && text[lf - 1] == '\r' && text[lf - 2] == '\r';
}

void mergeDoubledCarriageReturns(std::string& text) {
  std::size_t lf = text.find('\n');
  if (lf == std::string::npos || !endsInCrCr(text, lf)) return;
  for (; lf != std::string::npos; lf = text.find('\n', lf + 1)) {
    if (!endsInCrCr(text, lf)) return;
  }
  std::size_t out = 0;
  for (std::size_t in = 0; in < text.size(); ++in) {
    if (text[in] == '\r' && in + 2 < text.size() && text[in + 1] == '\r' && text[in + 2] == '\n') {
      continue;
    }
    text[out++] = text[in];
  }
  text.resize(out);
}

}  // namespace

void decodeUtf16File(std::string& text) {
  std::optional<bool> bigEndian = utf16ByteOrder(text);
  if (!bigEndian) return;
  auto unitAt = [&](std::size_t i) {
    auto first = static_cast<unsigned char>(text[i]);
    auto second = static_cast<unsigned char>(text[i + 1]);
    return static_cast<char32_t>(*bigEndian ? first << 8 | second : second << 8 | first);
  };
  constexpr char32_t replacement = 0xFFFD;
  std::string utf8;
  utf8.reserve(text.size());
  std::size_t i = text.starts_with("\xFF\xFE") || text.starts_with("\xFE\xFF") ? 2 : 0;
  for (; i + 1 < text.size(); i += 2) {
    char32_t unit = unitAt(i);
    if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < text.size()) {
      char32_t low = unitAt(i + 2);
      if (low >= 0xDC00 && low < 0xE000) {
        text::cp1252::appendUtf8(utf8, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
        i += 2;
        continue;
      }
    }
    bool lone = unit >= 0xD800 && unit < 0xE000;
    text::cp1252::appendUtf8(utf8, lone ? replacement : unit);
  }
  text = std::move(utf8);
}

// 0x01 in every byte of word that equals the byte repeated in pattern.
std::uint64_t equalBytes(std::uint64_t word, std::uint64_t pattern) {
  constexpr std::uint64_t low7 = 0x7F7F7F7F7F7F7F7FULL;
  std::uint64_t x = word ^ pattern;
  return (~(((x & low7) + low7) | x | low7)) >> 7;
}

// The sum of the eight bytes of lanes.
std::size_t sumBytes(std::uint64_t lanes) {
  constexpr std::uint64_t byteMask = 0x00FF00FF00FF00FFULL;
  lanes = (lanes & byteMask) + ((lanes >> 8) & byteMask);
  return static_cast<std::size_t>((lanes * 0x0001000100010001ULL) >> 48);
}

void normaliseLineEnds(std::string& text) {
  std::size_t cr = 0;
  std::size_t lf = 0;
  {
    const char* p = text.data();
    std::size_t n = text.size();
    while (n >= 8) {
      // Each byte lane counts at most 255 words before it is summed up.
      std::uint64_t crLanes = 0;
      std::uint64_t lfLanes = 0;
      for (int i = 0; i < 255 && n >= 8; ++i, p += 8, n -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, 8);
        crLanes += equalBytes(word, 0x0D0D0D0D0D0D0D0DULL);
        lfLanes += equalBytes(word, 0x0A0A0A0A0A0A0A0AULL);
      }
      cr += sumBytes(crLanes);
      lf += sumBytes(lfLanes);
    }
    for (; n > 0; ++p, --n) {
      cr += *p == '\r';
      lf += *p == '\n';
    }
  }
  if (cr == lf) return;
  std::size_t pairs = countCrLf(text);
  if (lf > cr) {
    rewriteFromEnd(text, text.size() + lf - pairs, [](const std::string& t, std::size_t i) {
      if (t[i] != '\n') return std::size_t{0};
      return i > 0 && t[i - 1] == '\r' ? std::size_t{2} : std::size_t{1};
    });
  } else {
    rewriteFromEnd(text, text.size() + cr - pairs, [](const std::string& t, std::size_t i) {
      if (t[i] == '\n' && i > 0 && t[i - 1] == '\r') return std::size_t{2};
      return t[i] == '\r' ? std::size_t{1} : std::size_t{0};
    });
  }
}

void prepareFileText(std::string& text) {
  decodeUtf16File(text);
  mergeDoubledCarriageReturns(text);
  normaliseLineEnds(text);
}

bool mayHoldUtf8Letters(std::string_view value) {
  const char* p = value.data();
  std::size_t n = value.size();
  constexpr std::uint64_t highBits = 0x8080808080808080ULL;
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    if (word & highBits) return true;
  }
  for (; n > 0; ++p, --n) {
    if (static_cast<unsigned char>(*p) >= 0x80) return true;
  }
  return false;
}

void appendWithUtf8Letters(std::string& out, std::string_view value) {
  while (!value.empty()) {
    // Bytes below C2 never start a sequence that is converted.
    std::size_t run = 0;
    while (run < value.size() && static_cast<unsigned char>(value[run]) < 0xC2) ++run;
    out.append(value.substr(0, run));
    value.remove_prefix(run);
    if (value.empty()) break;
    text::cp1252::Utf8Char c = text::cp1252::decodeUtf8(value);
    if (c.length > 1) {
      if (auto byte = text::cp1252::characterFromUnicode(c.codePoint)) {
        out += static_cast<char>(*byte);
        value.remove_prefix(c.length);
        continue;
      }
    }
    out += value.front();
    value.remove_prefix(1);
  }
}

std::string& convertUtf8Letters(std::string& text) {
  if (!mayHoldUtf8Letters(text)) return text;
  std::string converted;
  converted.reserve(text.size());
  appendWithUtf8Letters(converted, text);
  text = std::move(converted);
  return text;
}

}  // namespace addressbook
