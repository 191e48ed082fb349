#include "addressbook/file_text.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

using namespace std::string_literals;

struct Case {
  std::string input;
  std::string expected;
};

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (c == '\r') {
      out += "\\r";
    } else if (c == '\n') {
      out += "\\n";
    } else {
      out += c;
    }
  }
  return out;
}

TEST(NormaliseLineEnds, judgesTheLineEndsByCountingCrAndLf) {
  const Case cases[] = {
      {"", ""},
      {"no line end", "no line end"},
      {"a\r\nb\r\n", "a\r\nb\r\n"},
      {"a\nb\n", "a\r\nb\r\n"},
      {"a\rb\r", "a\r\nb\r\n"},
      // as many lone CRs as lone LFs: nothing changes
      {"a\rb\nc\r\n", "a\rb\nc\r\n"},
      {"\n\r", "\n\r"},
      // more LFs: every LF ends a line with CR LF, a lone CR stays
      {"a\r\nb\nc\r\n", "a\r\nb\r\nc\r\n"},
      {"a\rb\nc\n", "a\rb\r\nc\r\n"},
      {"\r\n\n", "\r\n\r\n"},
      {"\n\n\n", "\r\n\r\n\r\n"},
      // more CRs: every CR ends a line with CR LF, a lone LF stays
      {"a\r\r\n", "a\r\n\r\n"},  // CR CR LF gives an empty line
      {"a\nb\rc\r", "a\nb\r\nc\r\n"},
      {"\r\r\r", "\r\n\r\n\r\n"},
      {"x\r\ny\r", "x\r\ny\r\n"},
      {"\0\r\0"s, "\0\r\n\0"s},
  };
  for (const Case& c : cases) {
    std::string text = c.input;
    addressbook::normaliseLineEnds(text);
    EXPECT_EQ(text, c.expected) << escaped(c.input);
  }
}

TEST(ConvertUtf8Letters, turnsEveryWindows1252CharacterIntoItsByte) {
  const Case cases[] = {
      {"M\xC3\xBCller", "M\xFCller"},
      {"\xC3\xB6\xC3\xBC\xC3\xA9", "\xF6\xFC\xE9"},
      {"\xC3\xA4\xC3\x84\xC3\x9F", "\xE4\xC4\xDF"},  // ä Ä ß
      {"\xE2\x82\xAC", "\x80"},                      // €
      {"\xE2\x80\x9E\xE2\x80\x9C", "\x84\x93"},      // „ “
      {"\xC5\xA0\xC5\xBD\xC5\xB8", "\x8A\x8E\x9F"},  // Š Ž Ÿ
      {"\xC2\xA0\xC2\xBF\xC3\xBF", "\xA0\xBF\xFF"},
      {"\xE2\x84\xA2", "\x99"},  // ™
      // characters Windows-1252 lacks stay as they were
      {"\xC2\x80\xC2\x81\xC2\x9F", "\xC2\x80\xC2\x81\xC2\x9F"},  // C1 controls
      {"\xC4\x80", "\xC4\x80"},                                  // Ā
      {"\xE6\x97\xA5", "\xE6\x97\xA5"},                          // 日
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},                  // emoji
      // invalid or cut sequences stay as bytes
      {"\xC3", "\xC3"},
      {"a\xC3", "a\xC3"},
      {"\xE2\x82", "\xE2\x82"},
      {"\xC3x", "\xC3x"},
      {"\xC0\xAF\xC1\xBF", "\xC0\xAF\xC1\xBF"},  // overlong
      {"\xE0\x80\xAF", "\xE0\x80\xAF"},          // overlong
      {"\xED\xA0\x80", "\xED\xA0\x80"},          // surrogate
      {"\xF5\x80\x80\x80", "\xF5\x80\x80\x80"},
      {"\xBC\xC3", "\xBC\xC3"},
      {"\xE4\xF6\xFC", "\xE4\xF6\xFC"},  // Windows-1252 text as it is
      // a byte that does not start a character does not hide the next one
      {"\xC3\xC3\xBC", "\xC3\xFC"},
      {"\xE2\xC3\xA9", "\xE2\xE9"},
      {"", ""},
      {"plain ASCII", "plain ASCII"},
  };
  for (const Case& c : cases) {
    std::string text = c.input;
    std::string& result = addressbook::convertUtf8Letters(text);
    EXPECT_EQ(text, c.expected) << c.input;
    EXPECT_EQ(&result, &text);
  }
}

}  // namespace
