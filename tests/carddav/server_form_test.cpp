// Cards as they go to the server: the program's own lines and a card of
// vCard 2.1 from a phone export, in vCard 3.0 as servers want it.

#include "carddav/server_form.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

TEST(ServerForm, cardsBecomeVersion3InUtf8WithTypesEscapesFnAndUid) {
  const struct {
    std::string_view what;
    std::string_view card;
    std::string_view expected;
  } cases[] = {
      {"the program's own lines: Windows-1252, a note's line break as 0x07",
       "BEGIN:VCARD\r\nN:M\xFC"
       "ller;Hans, Jr.\r\nTEL;WORK:030 1\r\nEMAIL:h@x.de\r\n"
       "NOTE:Zeile 1\x07Zeile, 2; \\ Ende\r\nEND:VCARD\r\n",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u-1\r\nFN:Hans\\, Jr. M\xC3\xBCller\r\n"
       "N:M\xC3\xBCller;Hans\\, Jr.\r\nTEL;TYPE=WORK:030 1\r\nEMAIL:h@x.de\r\n"
       "NOTE:Zeile 1\\nZeile\\, 2\\; \\\\ Ende\r\nEND:VCARD\r\n"},
      {"vCard 2.1: quoted-printable UTF-8, bare types, a folded BASE64 photo",
       "BEGIN:VCARD\r\nVERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3="
       "BCrgen\r\n"
       "TEL;HOME;VOICE:030\r\nPHOTO;ENCODING=BASE64;TYPE=JPEG:\r\n /9j/4AAQ\r\n\r\n"
       "NOTE;ENCODING=QUOTED-PRINTABLE:a=0D=0Ab,c\r\nEND:VCARD\r\n",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u-1\r\nFN:J\xC3\xBCrgen M\xC3\xBCller\r\n"
       "N:M\xC3\xBCller;J\xC3\xBCrgen\r\nTEL;TYPE=HOME,VOICE:030\r\n"
       "PHOTO;ENCODING=b;TYPE=JPEG:/9j/4AAQ\r\nNOTE:a\\nb\\,c\r\nEND:VCARD\r\n"},
      {"vCard 3.0 in Windows-1252 with bare types and 0x07 in the note",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nN:M\xFCller;Anna\r\nFN:Anna M\xFCller\r\n"
       "TEL;WORK;VOICE:0711\r\nNOTE:Kollegin\x07Geburtstag\r\nEND:VCARD\r\n",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:u-1\r\nN:M\xC3\xBCller;Anna\r\nFN:Anna M\xC3\xBCller\r\n"
       "TEL;TYPE=WORK,VOICE:0711\r\nNOTE:Kollegin\\nGeburtstag\r\nEND:VCARD\r\n"},
      {"vCard 3.0 with UID and FN: as it is, the program's added line typed",
       "BEGIN:VCARD\nVERSION:3.0\nUID:x\nFN:A\nN:A;;;\nTEL;CELL:1\nX-A;q=\"a,b\":c\\,d\nEND:"
       "VCARD\n",
       "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:x\r\nFN:A\r\nN:A;;;\r\nTEL;TYPE=CELL:1\r\n"
       "X-A;q=\"a,b\":c\\,d\r\nEND:VCARD\r\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(carddav::serverForm(c.card, "u-1"), c.expected) << c.what;
  }
}

}  // namespace
