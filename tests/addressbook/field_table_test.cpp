#include "addressbook/field_table.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "addressbook/card_fields.h"

namespace {

using addressbook::fieldKey;
using addressbook::fieldLabel;
using addressbook::ownField;

TEST(FieldTable, keysAndLabelsInTheirFixedOrder) {
  struct Row {
    std::string_view key;
    std::string_view label;
  };
  const Row rows[] = {{"N", "Name ; Vorname"},
                      {"TEL;WORK", "Telefon dienstlich"},
                      {"TEL;HOME", "Telefon privat"},
                      {"TEL;CELL", "Mobil"},
                      {"TEL;FAX", "Fax"},
                      {"EMAIL", "E-mail - Adresse"},
                      {"BDAY", "Geburtstag (Meldezeit)"},
                      {"NOTE", "Notizen"}};
  for (int row = 1; row <= 8; ++row) {
    EXPECT_EQ(fieldKey(row), rows[row - 1].key) << row;
    EXPECT_EQ(fieldLabel(row), rows[row - 1].label) << row;
  }
  for (int row : {0, 9, -1}) {
    EXPECT_FALSE(fieldKey(row).has_value()) << row;
    EXPECT_FALSE(fieldLabel(row).has_value()) << row;
  }
}

TEST(FieldTable, ownFieldIsTheProgramsOwnSpellingOfAKeyAndAColon) {
  struct Case {
    std::string_view line;
    int row;
  };
  const Case cases[] = {
      {"N:Meier;Anna", 1},
      {"NOTE:abc", 8},
      {"TEL;CELL:0171", 4},
      {"TEL;FAX:1", 5},
      {"BDAY:", 7},
      {"EMAIL:a@b", 6},
      {"Note:abc", 0},
      {"NICKNAME:Bob", 0},
      {"TEL;CELL", 0},
      {"TEL;CELL;X:1", 0},
      {"N;CHARSET=x:a", 0},
      {"END:VCARD", 0},
      {"", 0},
      {"TEL;WORK;FAX:1", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ownField(c.line), c.row) << c.line;
}

TEST(FieldTable, aLineFillsTheFieldOfItsPropertyAndTypeInEverySpelling) {
  struct Case {
    std::string_view line;
    int row;
  };
  const Case cases[] = {
      {"N:Meier;Anna", 1},
      {"NOTE:abc", 8},
      {"note;charset=x:abc", 8},
      {"Note:abc", 8},
      {"NOTE;ENCODING=QUOTED-PRINTABLE:a=3Db", 8},
      {"NICKNAME:Bob", 0},
      {"NAME:x", 0},
      {"FN:Anna Meier", 0},
      {"N", 0},
      {"n;charset=utf-8:x", 1},
      {"item1.N:x", 1},
      {"nd the rest of a quoted-printable value", 0},
      {"TEL:123", 0},
      {"TEL;WORK;FAX:1", 5},  // a work fax is a fax
      {"TEL;FAX;WORK:1", 5},
      {"TEL;HOME;FAX:1", 5},
      {"TEL;TYPE=FAX,WORK:1", 5},
      {"TEL;CELL;WORK:1", 4},
      {"TEL;WORK;VOICE:+49 30 1234", 2},
      {"TEL;VOICE;WORK:1", 2},
      {"TEL;TYPE=WORK:1", 2},
      {"TEL;TYPE=WORK,VOICE:1", 2},
      {"item2.TEL;type=HOME:1", 3},
      {"tel;cell:0171", 4},
      {"TEL;TYPE=CELL:0171", 4},
      {"TEL;type=CELL;type=VOICE;type=pref:0171", 4},
      {"TEL;VALUE=uri;TYPE=\"cell,voice\":tel:+49-170-555", 4},
      {"TEL;TYPE=IPHONE:1", 4},
      {"TEL;MOBILE:1", 4},
      {"TEL;CELLULAR:1", 0},
      {"TEL;PAGER:1", 0},
      {"TEL;TYPE=MAIN:1", 0},
      {"TEL;WOR", 0},
      {"EMAIL;INTERNET:a@b", 6},
      {"email:a@b", 6},
      {"item1.EMAIL;type=INTERNET:a@b", 6},
      {"BDAY;VALUE=date:1970-12-30", 7},
      {"bday:1", 7},
      {" N:Meier", 0},
      {"", 0},
      {"END:VCARD", 0},
      {"\xF1OTE:x", 0},
      {"VERSION:3.0", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(addressbook::fieldOfLine(c.line), c.row) << c.line;
}

// What a card of another program shows: the value of the line each field
// comes from, decoded from the line's encoding.
TEST(FieldTable, aCardShowsTheValuesOfItsLinesInEveryEncoding) {
  namespace field = addressbook::field;
  struct Case {
    std::string_view card;  // between BEGIN:VCARD and END:VCARD
    int field;
    std::string_view shown;
  };
  const Case cases[] = {
      {"VERSION:3.0\r\nN:Meier;Anna;Maria;Dr.;\r\n", field::name, "Meier;Anna"},
      {"VERSION:3.0\r\nN:;Anna;;;\r\n", field::name, ";Anna"},
      {"VERSION:4.0\r\nFN:Anna Meier\r\n", field::name, "Anna Meier"},
      {"VERSION:3.0\r\nN:;;;;\r\nNICKNAME:Bob\r\nORG:Firma;Abteilung\r\n", field::name, "Firma"},
      {"VERSION:3.0\r\nTEL;TYPE=CELL:0171\r\n", field::name, "0171"},
      {"VERSION:3.0\r\nPHOTO:x\r\n", field::name, "(ohne Namen)"},
      {"VERSION:2.1\r\nN:Last;First \\; special\r\n", field::name, "Last;First ; special"},
      {"VERSION:3.0\r\nN:Wi\xC5\x9Bniewski;Pawe\xC5\x82\r\n", field::name,
       "Wi\xC5\x9Bniewski;Pawe\xC5\x82"},
      {"VERSION:3.0\r\nN:M\xC3\xBCller;J\xC3\xBCrgen\r\n", field::name, "M\xFCller;J\xFCrgen"},
      {"VERSION:2.1\r\nN;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;Ren=\r\n=C3=A9\r\n",
       field::name, "M\xFCller;Ren\xE9"},
      {"VERSION:2.1\r\nN;CHARSET=ISO-8859-1;QUOTED-PRINTABLE:M=FCller\r\n", field::name,
       "M\xFCller"},
      {"VERSION:2.1\r\nN;CHARSET=SHIFT_JIS:\x88\xC0\r\n", field::name, "\x88\xC0"},
      {"VERSION:2.1\r\nN:M\xFCller\r\n", field::name, "M\xFCller"},
      {"VERSION:3.0\r\nNOTE:a\\nb\\, c\\; d\\\\\r\n", field::notes,
       "a\x07"
       "b, c; d\\"},
      {"VERSION:2.1\r\nNOTE:a\\nb\r\n", field::notes, "a\\nb"},
      {"VERSION:2.1\r\nNOTE;ENCODING=QUOTED-PRINTABLE:a=0D=0Ab\r\n", field::notes,
       "a\x07"
       "b"},
      {"VERSION:3.0\r\nNOTE:eins\r\n zwei\r\nNOTE:drei\r\n", field::notes, "einszwei"},
      {"VERSION:3.0\r\nEMAIL:a@x\r\nEMAIL;TYPE=INTERNET,PREF:b@x\r\n", field::email, "b@x"},
      {"VERSION:4.0\r\nEMAIL:a@x\r\nEMAIL;PREF=1:b@x\r\n", field::email, "b@x"},
      {"VERSION:3.0\r\nTEL;TYPE=CELL:1\r\nTEL;TYPE=CELL:2\r\n", field::mobile, "1"},
      {"VERSION:3.0\r\nTEL;TYPE=CELL:1\r\nTEL;type=CELL;type=pref:2\r\n", field::mobile, "2"},
      {"VERSION:4.0\r\nTEL;VALUE=uri;TYPE=\"cell,voice\":tel:+49-170-555\r\n", field::mobile,
       "+49-170-555"},
      {"VERSION:3.0\r\nTEL:030 1\r\n", field::homePhone, "030 1"},
      {"VERSION:3.0\r\nTEL;TYPE=PAGER:1\r\nTEL;TYPE=VOICE:2\r\n", field::homePhone, "2"},
      {"VERSION:3.0\r\nTEL:030 1\r\nTEL;TYPE=HOME:030 2\r\n", field::homePhone, "030 2"},
      {"VERSION:3.0\r\nBDAY:19701230\r\n", field::birthday, "30.12.1970"},
      {"VERSION:4.0\r\nBDAY:--1230\r\n", field::birthday, "30.12.0000"},
      {"VERSION:3.0\r\nBDAY;VALUE=date:1970-12-30\r\n", field::birthday, "30.12.1970"},
      {"VERSION:3.0\r\nBDAY:1970-12-30T08:30:00Z\r\n", field::birthday, "30.12.1970 ; 08:30"},
      {"VERSION:4.0\r\nBDAY;VALUE=text:circa 1800\r\n", field::birthday, ""},
  };
  for (const Case& c : cases) {
    std::string card = "BEGIN:VCARD\r\n" + std::string(c.card) + "END:VCARD\r\n";
    addressbook::CardFields fields = addressbook::readCardFields(card);
    EXPECT_EQ(fields.shown[static_cast<std::size_t>(c.field - 1)], c.shown) << c.card;
  }
}

}  // namespace
