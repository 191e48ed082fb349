#include "addressbook/field_table.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

using addressbook::fieldKey;
using addressbook::fieldLabel;
using addressbook::matchField;

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

TEST(FieldTable, matchFieldIsAnUpperCasedPrefixTestWhoseLastMatchWins) {
  struct Case {
    std::string_view line;
    int row;
  };
  const Case cases[] = {
      {"N:Meier;Anna", 1},
      {"NOTE:abc", 8},  // N matches too, NOTE comes later
      {"note;charset=x:abc", 8},
      {"Note:abc", 8},
      {"NICKNAME:Bob", 1},
      {"NAME:x", 1},
      {"N", 1},
      {"n;charset=utf-8:x", 1},
      {"TEL:123", 0},
      {"TEL;WORK;FAX:1", 2},
      {"TEL;FAX;WORK:1", 5},
      {"TEL;HOME;FAX:1", 3},
      {"TEL;WORK;VOICE:+49 30 1234", 2},
      {"TEL;VOICE;WORK:1", 0},
      {"TEL;TYPE=WORK:1", 0},
      {"tel;cell:0171", 4},
      {"TEL;CELLULAR:1", 4},
      {"TEL;WOR", 0},  // shorter than the key
      {"EMAIL;INTERNET:a@b", 6},
      {"email:a@b", 6},
      {"item1.EMAIL:a@b", 0},
      {"BDAY;VALUE=date:1970-12-30", 7},
      {"bday:1", 7},
      {" N:Meier", 0},
      {"", 0},
      {"END:VCARD", 0},
      {"\xF1OTE:x", 0},  // ñ upper-cases to Ñ, not N
      {"VERSION:3.0", 0},
  };
  for (const Case& c : cases) EXPECT_EQ(matchField(c.line), c.row) << c.line;
}

}  // namespace
