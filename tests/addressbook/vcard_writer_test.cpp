// The writer on stores built in the test: values that no file read gives
// (typed by the user or set by the editing commands). What a file read
// gives is covered by the golden files of tests/data/golden.

#include "addressbook/vcard_writer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "addressbook/field_table.h"
#include "addressbook/file_text.h"
#include "addressbook/vcard_reader.h"

namespace {

using addressbook::addressFileText;
using addressbook::RecordStore;
namespace field = addressbook::field;

RecordStore storeWith(std::initializer_list<std::tuple<std::size_t, int, std::string>> cells) {
  RecordStore store;
  store.reset(999);
  for (const auto& [slot, f, value] : cells) store.setField(slot, f, value);
  return store;
}

TEST(AddressFileText, writesTheNonEmptyFieldsInTableOrderWithBirthdaysInFileForm) {
  RecordStore store = storeWith({{4, field::birthday, "07.03.1961 ; 08:30"},
                                 {4, field::homePhone, "030 123"},
                                 {4, field::name, "Meier;Anna"}});
  EXPECT_EQ(addressFileText(store),
            "BEGIN:VCARD\r\nN:Meier;Anna\r\nTEL;HOME:030 123\r\nBDAY:1961-03-07T08:30\r\n"
            "END:VCARD\r\n");
}

TEST(AddressFileText, writesBirthdaysAsTheConversionGivesThem) {
  struct Case {
    std::string record;
    std::string line;
  };
  const Case cases[] = {
      {"07.03.1961", "BDAY:07.03.1961"}, {"07.03.1961 ; 08:30:15", "BDAY:1961-03-07T08:30:15"},
      {"31.13.1961", "BDAY:"},  // rejected: the key stays, the value goes
      {"07.03.1961 ; 24:00", "BDAY:"},   {"1961-03-07T08:30", "BDAY:07.03.1961 ; 08:30"},
  };
  for (const Case& c : cases) {
    RecordStore store = storeWith({{1, field::name, "A"}, {1, field::birthday, c.record}});
    EXPECT_EQ(addressFileText(store), "BEGIN:VCARD\r\nN:A\r\n" + c.line + "\r\nEND:VCARD\r\n")
        << c.record;
  }
}

TEST(AddressFileText, skipsSlotsWithoutANameAndKeepsTheOrderOfTheOthers) {
  RecordStore store = storeWith({{3, field::name, "Drei"},
                                 {7, field::name, "Sieben"},
                                 {9, field::name, "Neun"},
                                 {0, field::name, "Scratch"},
                                 {5, field::email, "no@name"}});
  store.setField(7, field::name, "");  // deleted
  EXPECT_EQ(addressFileText(store),
            "BEGIN:VCARD\r\nN:Drei\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:Neun\r\nEND:VCARD\r\n");
}

TEST(AddressFileText, givesNoBytesForAStoreWithoutRecords) {
  EXPECT_EQ(addressFileText(RecordStore()), "");
  EXPECT_EQ(addressFileText(storeWith({{1, field::email, "a@b"}})), "");
}

TEST(AddressFileText, writesNoteLineBreaksAsTheirByteOnOneLine) {
  RecordStore store = storeWith({{1, field::name, "A"}, {1, field::notes, "eins\x07zwei\x07"}});
  EXPECT_EQ(addressFileText(store), "BEGIN:VCARD\r\nN:A\r\nNOTE:eins\x07zwei\x07\r\nEND:VCARD\r\n");
}

// A lone CR or LF that a file with mixed line ends left in a value would
// make the next read count the line ends differently and cut the value (or
// start a line of its own); it is written as a blank instead. A name of
// nothing but such a byte keeps its record.
TEST(AddressFileText, writesALoneCrOrLfOfTheValueAsABlank) {
  for (std::string_view name : {"Meier\rAnna", "Meier\nAnna", "\r"}) {
    RecordStore store = storeWith({{1, field::name, std::string(name)}, {1, field::notes, "x"}});
    std::string text = addressFileText(store);
    std::string expectedName(name);
    std::replace(expectedName.begin(), expectedName.end(), name.size() > 1 ? name[5] : name[0],
                 ' ');
    EXPECT_EQ(text, "BEGIN:VCARD\r\nN:" + expectedName + "\r\nNOTE:x\r\nEND:VCARD\r\n");
    std::string normalised = text;
    addressbook::normaliseLineEnds(normalised);
    EXPECT_EQ(normalised, text);
    RecordStore again = addressbook::readCards(text, addressbook::countCards(text));
    EXPECT_EQ(again.field(1, field::name), expectedName);
    EXPECT_EQ(again.field(1, field::notes), "x");
  }
}

TEST(AddressFileText, continuesACrLfOfTheValueWithABlank) {
  RecordStore store = storeWith({{1, field::name, "A"}, {1, field::notes, "eins\r\nzwei\r\n"}});
  EXPECT_EQ(addressFileText(store),
            "BEGIN:VCARD\r\nN:A\r\nNOTE:eins\r\n zwei\r\n \r\nEND:VCARD\r\n");

  // The folds are placed by the bytes of the value, not moved by those blanks.
  std::string note = std::string(10, 'a') + "\r\n" + std::string(70, 'b');  // 82 bytes
  RecordStore folded = storeWith({{1, field::name, "A"}, {1, field::notes, note}});
  EXPECT_EQ(addressFileText(folded), "BEGIN:VCARD\r\nN:A\r\nNOTE:" + std::string(10, 'a') +
                                         "\r\n " + std::string(57, 'b') + "\r\n " +
                                         std::string(13, 'b') + "\r\nEND:VCARD\r\n");
}

// A reader starts a card at "BEGIN:VCARD" + CR LF wherever it stands, so no
// written line may end in that text, whether the value ends there or a fold
// or a line break of the value falls right after it.
TEST(AddressFileText, neverEndsALineWithTheCardStartAndTheValueSurvives) {
  std::string atFold = std::string(58, 'x') + "BEGIN:VCARD" + "yy";
  struct Case {
    std::string note;
    std::string readBack;  // a CR LF of the value itself is folded away
  };
  for (const Case& c : {Case{"Termin BEGIN:VCARD", "Termin BEGIN:VCARD"}, Case{atFold, atFold},
                        Case{"a BEGIN:VCARD\r\nb", "a BEGIN:VCARDb"}}) {
    RecordStore store = storeWith({{1, field::name, "Meier"}, {1, field::notes, c.note}});
    std::string text = addressFileText(store);
    EXPECT_EQ(addressbook::countCards(text), 1u) << c.note;
    RecordStore again = addressbook::readCards(text, addressbook::countCards(text));
    EXPECT_EQ(again.field(1, field::notes), c.readBack);
  }
  RecordStore store =
      storeWith({{1, field::name, "Meier"}, {1, field::notes, "Termin BEGIN:VCARD"}});
  EXPECT_EQ(addressFileText(store),
            "BEGIN:VCARD\r\nN:Meier\r\nNOTE:Termin BEGIN:VCAR\r\n D\r\nEND:VCARD\r\n");
}

}  // namespace

// A card that another program wrote, read, one field changed, and saved: only
// that field's line changes, in the card's own spelling and encoding.
TEST(KeptCard, aChangedFieldChangesTheValueOfItsOwnLineOnly) {
  struct Case {
    std::string_view what;
    std::string card;  // between BEGIN:VCARD and END:VCARD
    int field;
    std::string value;
    std::string saved;  // the card's lines as saved
  };
  const Case cases[] = {
      {"group, name and parameters stay",
       "VERSION:3.0\r\nN:M;A\r\nitem2.TEL;type=CELL;type=pref:0171\r\n", field::mobile, "0172",
       "VERSION:3.0\r\nN:M;A\r\nitem2.TEL;type=CELL;type=pref:0172\r\n"},
      {"a tel: URI stays one", "VERSION:4.0\r\nFN:A\r\nTEL;VALUE=uri;TYPE=\"cell\":tel:+49-170\r\n",
       field::mobile, "+49 171",
       "VERSION:4.0\r\nFN:A\r\nTEL;VALUE=uri;TYPE=\"cell\":tel:+49 171\r\n"},
      {"a new line follows the last line of the kinds before it",
       "VERSION:3.0\r\nN:M;A\r\nFN:A M\r\nADR:;;Weg 1\r\nTEL;TYPE=CELL:1\r\nNOTE:x\r\n", field::fax,
       "030 9",
       "VERSION:3.0\r\nN:M;A\r\nFN:A M\r\nADR:;;Weg 1\r\nTEL;TYPE=CELL:1\r\nTEL;FAX:030 "
       "9\r\nNOTE:x\r\n"},
      {"a line of a lone LF and blanks does not become a fold of the new line",
       "VERSION:3.0\r\nFN:A\r\n\n xyz\r\n", field::mobile, "0171",
       "VERSION:3.0\r\nFN:A\r\nTEL;CELL:0171\r\nxyz\r\n"},
      {"without lines of earlier kinds after VERSION", "VERSION:3.0\r\nORG:X\r\n", field::name,
       "Neu", "VERSION:3.0\r\nN:Neu;\r\nORG:X\r\n"},
      {"an emptied field takes its line",
       "VERSION:3.0\r\nN:M;A\r\nEMAIL;TYPE=HOME:a@x\r\nUID:1\r\n", field::email, "",
       "VERSION:3.0\r\nN:M;A\r\nUID:1\r\n"},
      {"further name components stay and FN follows",
       "VERSION:3.0\r\nN:Meier;Anna;Maria;Dr.;\r\nFN:Dr. Anna Maria Meier\r\n", field::name,
       "Neu;Anna", "VERSION:3.0\r\nN:Neu;Anna;Maria;Dr.;\r\nFN:Anna Neu\r\n"},
      {"3.0 text in UTF-8 with escapes", "VERSION:3.0\r\nN:M;A\r\nNOTE:alt\r\n", field::notes,
       "\xE4, ; \\ \x07\xC5\x9B",
       "VERSION:3.0\r\nN:M;A\r\nNOTE:\xC3\xA4\\, \\; \\\\ \\n\xC5\x9B\r\n"},
      {"a ; in the given name is escaped", "VERSION:2.1\r\nN:M;A\r\n", field::name, "M;A;B",
       "VERSION:2.1\r\nN:M;A\\;B\r\n"},
      {"2.1 quoted-printable in its charset",
       "VERSION:2.1\r\nN:M;A\r\nNOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:a=\r\nb\r\n",
       field::notes, "\xFC=\x07x",
       "VERSION:2.1\r\nN:M;A\r\nNOTE;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:=C3=BC=3D=0D=0Ax\r\n"},
      {"a birthday in the ISO form", "VERSION:3.0\r\nN:M;A\r\nBDAY;VALUE=date:19701230\r\n",
       field::birthday, "02.01.1971", "VERSION:3.0\r\nN:M;A\r\nBDAY;VALUE=date:1971-01-02\r\n"},
      {"the same value changes nothing", "VERSION:3.0\r\nN:M;A;;;\r\nFN:A M\r\nX-A:1\r\n",
       field::name, "M;A", "VERSION:3.0\r\nN:M;A;;;\r\nFN:A M\r\nX-A:1\r\n"},
  };
  for (const Case& c : cases) {
    std::string text = "BEGIN:VCARD\r\n" + c.card + "END:VCARD\r\n";
    RecordStore store = addressbook::readCards(text, 1);
    store.setField(1, c.field, c.value);
    EXPECT_EQ(addressFileText(store), "BEGIN:VCARD\r\n" + c.saved + "END:VCARD\r\n") << c.what;
  }
}
