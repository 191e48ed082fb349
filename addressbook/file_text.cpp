#include "addressbook/file_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "addressbook/cp1252.h"

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

}  // namespace

void normaliseLineEnds(std::string& text) {
  auto cr = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
  auto lf = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
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

std::string readFileText(const platform::FileSystem& files, std::string_view path) {
  std::string text = files.readFile(path).value_or(std::string());
  normaliseLineEnds(text);
  return text;
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
    auto lead = static_cast<unsigned char>(value.front());
    if (lead >= 0xC2) {
      cp1252::Utf8Char c = cp1252::decodeUtf8(value);
      if (c.length > 1) {
        if (auto byte = cp1252::characterFromUnicode(c.codePoint)) {
          out += static_cast<char>(*byte);
          value.remove_prefix(c.length);
          continue;
        }
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
