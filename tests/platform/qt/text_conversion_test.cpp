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

TEST(TextConversion, charactersWithoutAByteBecomeQuestionMarksOrNothing) {
  struct Case {
    QString text;
    std::string lossy;
  };
  const Case cases[] = {
      {qs(u"Ω"), "?"},
      {qs(u"a\U0001F600b"), "a?b"},                       // one pair, one mark
      {QString(QChar(0xD800)) + QLatin1Char('x'), "?x"},  // a lone surrogate
      {qs(u"Жук"), "???"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(toCp1252(c.text), c.lossy);
    EXPECT_EQ(toCp1252Exact(c.text), std::nullopt);
  }
}

TEST(TextConversion, lineBreaks) {
  EXPECT_EQ(fromCrLf(qs(u"a\r\nb\r\n")), qs(u"a\nb\n"));
  EXPECT_EQ(toCrLf(qs(u"a\nb")), qs(u"a\r\nb"));
}

}  // namespace
