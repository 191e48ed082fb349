// The UID a card is matched by, in the spellings servers and phones write.

#include "carddav/card_properties.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

TEST(CardProperties, theUidOfACardInAnySpelling) {
  const struct {
    std::string_view what;
    std::string_view card;
    std::string_view uid;
  } cases[] = {
      {"plain", "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:abc-1\r\nN:Kurz;Eva\r\nEND:VCARD\r\n", "abc-1"},
      {"small letters, blanks around", "BEGIN:VCARD\r\nuid: abc-2 \t\r\nEND:VCARD\r\n", "abc-2"},
      {"in a group", "BEGIN:VCARD\r\nitem1.UID:abc-3\r\nEND:VCARD\r\n", "abc-3"},
      {"with a parameter", "BEGIN:VCARD\r\nUID;VALUE=text:abc-4\r\nEND:VCARD\r\n", "abc-4"},
      {"folded", "BEGIN:VCARD\r\nUID:urn:uuid:0123\r\n 4567\r\nEND:VCARD\r\n", "urn:uuid:01234567"},
      {"LF line ends", "BEGIN:VCARD\nN:Kurz;Eva\nUID:abc-5\nEND:VCARD\n", "abc-5"},
      {"the first of two", "BEGIN:VCARD\r\nUID:first\r\nUID:second\r\nEND:VCARD\r\n", "first"},
      {"none", "BEGIN:VCARD\r\nN:Kurz;Eva\r\nEND:VCARD\r\n", ""},
      {"only in another line's value",
       "BEGIN:VCARD\r\nNOTE:see\r\n UID:not-this\r\nX-UID:nor-this\r\nEND:VCARD\r\n", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(carddav::cardUid(c.card), c.uid) << c.what;
}

}  // namespace
