#include "platform/win32/wide_text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using platform::win32::fromWide;
using platform::win32::hasWindows1252Form;
using platform::win32::pathFromWide;
using platform::win32::toWide;

TEST(WideText, everyByteSurvivesTheRoundTrip) {
  std::string all;
  for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);

  std::wstring wide = toWide(all);

  ASSERT_EQ(wide.size(), all.size());
  EXPECT_TRUE(hasWindows1252Form(wide));
  EXPECT_EQ(fromWide(wide), all);
}

TEST(WideText, usesCodePage1252WhateverTheSystemUses) {
  EXPECT_EQ(toWide("M\xFCller \x80 \x84\x93\x94 \x8A \x81"),
            L"M\u00FCller \u20AC \u201E\u201C\u201D \u0160 \u0081");
  EXPECT_EQ(fromWide(L"Stra\u00DFe \u20AC\u2026"),
            "Stra\xDF"
            "e \x80\x85");
}

TEST(WideText, charactersWithoutAByteKeepTheirUtf8SequenceNeverALookAlike) {
  // U+0142 (l with stroke) would be "best fitted" to a plain l.
  std::wstring polish = L"\u0141\u00F3d\u017A \u0142";

  EXPECT_FALSE(hasWindows1252Form(polish));
  EXPECT_EQ(fromWide(polish),
            "\xC5\x81\xF3"
            "d\xC5\xBA \xC5\x82");
  EXPECT_EQ(toWide(fromWide(polish)), polish);
  EXPECT_FALSE(hasWindows1252Form(L"\U0001F4DE"));
  EXPECT_EQ(toWide(fromWide(L"\U0001F4DE")), L"\U0001F4DE");
  EXPECT_EQ(fromWide(std::wstring(1, wchar_t(0xD800))), "?");
}

// A path crosses into the program only where it comes back the same.
TEST(WideText, aPathIsTakenWhereItComesBackTheSame) {
  EXPECT_EQ(pathFromWide(L"C:\\Users\\\u0418\u0432\u0430\u043D\\Temp\\"),
            "C:\\Users\\\xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD\\Temp\\");
  EXPECT_EQ(pathFromWide(L"C:\\M\u00FCller"), "C:\\M\xFCller");
  EXPECT_EQ(pathFromWide(L"C:\\\u00D0\u2013"), std::nullopt);
  EXPECT_EQ(pathFromWide(std::wstring(1, wchar_t(0xD800))), std::nullopt);
}

TEST(WideText, emptyAndEmbeddedNulStayAsTheyAre) {
  EXPECT_EQ(toWide(""), L"");
  EXPECT_EQ(fromWide(L""), "");
  EXPECT_EQ(toWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

}  // namespace
