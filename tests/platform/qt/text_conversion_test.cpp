#include "platform/qt/text_conversion.h"

#include <gtest/gtest.h>

#include "tests/platform/qt/qt_test_support.h"

namespace {

using namespace platform::qt;
using testing_support::qs;

TEST(TextConversion, everyByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 0; byte < 256; ++byte) all += static_cast<char>(byte);
  QString text = toQString(all);
  EXPECT_EQ(text.size(), 256);
  EXPECT_EQ(toCp1252(text), all);
  EXPECT_EQ(toCp1252Exact(text), all);
}

TEST(TextConversion, theHighBytesAreTheirWindowsCharacters) {
  EXPECT_EQ(toQString("\x80\x8A\x9F\xE4\xDF"), qs(u"€ŠŸäß"));
  EXPECT_EQ(toCp1252(qs(u"„Grüße“ – 5 €")),
            "\x84Gr\xFC\xDF"
            "e\x93 \x96 5 \x80");
}

TEST(TextConversion, charactersWithoutAByteKeepTheirUtf8SequenceButNoExactForm) {
  struct Case {
    QString text;
    std::string bytes;
    bool roundTrip;
  };
  const Case cases[] = {
      {qs(u"Ω"), "\xCE\xA9", true},
      {qs(u"a\U0001F600b"),
       "a\xF0\x9F\x98\x80"
       "b",
       true},
      {QString(QChar(0xD800)) + QLatin1Char('x'), "?x", false},  // a lone surrogate
      {qs(u"Matěj Жук"), "Mat\xC4\x9Bj \xD0\x96\xD1\x83\xD0\xBA", true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toCp1252(c.text), c.bytes);
    EXPECT_EQ(toQString(c.bytes) == c.text, c.roundTrip);
    EXPECT_EQ(toCp1252Exact(c.text), std::nullopt);
  }
  // Windows-1252 text that merely looks like UTF-8 of a Windows-1252
  // character stays as it is.
  EXPECT_EQ(toQString("\xC3\xA9"), qs(u"Ã©"));
}

TEST(TextConversion, lineBreaks) {
  EXPECT_EQ(fromCrLf(qs(u"a\r\nb\r\n")), qs(u"a\nb\n"));
  EXPECT_EQ(toCrLf(qs(u"a\nb")), qs(u"a\r\nb"));
}

}  // namespace
