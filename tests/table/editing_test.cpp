#include "table/editing.h"

#include <gtest/gtest.h>

#include "addressbook/field_table.h"
#include "table/control_ids.h"
#include "tests/fakes/program_fixture.h"

namespace {

using platform::Answer;
using platform::ControlId;
namespace control = table::control;
using platform::MessageButtons;
using platform::MessageIcon;
using testing_support::ProgramFixture;
using testing_support::ShownMessage;

constexpr std::string_view twoCards =
    "BEGIN:VCARD\r\nN:Meier;Anna\r\nTEL;WORK:0711 "
    "1\r\nBDAY:1970-03-05T09:30\r\nNOTE:alt\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Zander;Bernd\r\nEMAIL:b@example.org\r\nEND:VCARD\r\n";

struct EditingFixture : ::testing::Test {
  EditingFixture() {
    fixture.start();
    fixture.tick();
  }
  std::vector<std::string> row(int r) { return fixture.window.row(r); }
  void type(ControlId id, std::string_view text) { fixture.window.setText(id, text); }
  ShownMessage ok(std::string_view text, std::string_view caption) {
    return {std::string(text), std::string(caption), MessageButtons::ok, MessageIcon::none};
  }
  const addressbook::RecordStore& store() { return fixture.program.records().store; }

  ProgramFixture fixture{std::string(twoCards)};
};

TEST_F(EditingFixture, applyWritesEveryFieldIntoRowAndStore) {
  type(control::nameEdit, "Meyer");
  type(control::firstNameEdit, "");
  type(control::mobileEdit, "0170 5");
  type(control::dayEdit, "5");
  type(control::monthEdit, "3");
  type(control::yearEdit, "1970");
  type(control::hourEdit, "9");
  type(control::minuteEdit, "");
  type(control::notesEdit, "eins\r\nzwei");
  fixture.click(control::applyButton);
  EXPECT_TRUE(fixture.dialogs.messages.empty());
  EXPECT_EQ(row(1)[0], "Meyer");
  EXPECT_EQ(row(1)[3], "0170 5");
  EXPECT_EQ(row(1)[6], "05.03.1970 ; 09:00");
  EXPECT_EQ(row(1)[7], "eins\x07zwei");
  EXPECT_EQ(store().field(1, addressbook::field::mobile), "0170 5");
  EXPECT_TRUE(fixture.program.records().changed);
  // The file is not written by apply.
  EXPECT_EQ(fixture.files.files[ProgramFixture::addressPath], twoCards);
}

TEST_F(EditingFixture, failingBirthdayChecksReportEachAndKeepOnlyTheBirthday) {
  type(control::firstNameEdit, "Anne");
  type(control::dayEdit, "32");
  type(control::monthEdit, "3");
  type(control::yearEdit, "2051");
  type(control::hourEdit, "25");
  type(control::minuteEdit, "60");
  fixture.click(control::applyButton);
  EXPECT_EQ(fixture.dialogs.messages,
            (std::vector<ShownMessage>{ok("Tag?", "Datum?"), ok("Jahr?", "Datum?"),
                                       ok("Stunde?", "Zeit?"), ok("Minute?", "Zeit?")}));
  EXPECT_EQ(row(1)[0], "Meier;Anne");
  EXPECT_EQ(row(1)[6], "05.03.1970 ; 09:30");
}

TEST_F(EditingFixture, birthdayLimitsAndEmptyDateFields) {
  struct Case {
    std::string_view day, month, year, hour;
    std::string_view expected;  // the birthday afterwards
    std::size_t messages;
    std::string_view firstMessage = {};
  };
  for (const Case& c :
       {Case{"31", "2", "1850", "", "31.02.1850", 0}, Case{"1", "1", "2050", "", "01.01.2050", 0},
        Case{"1", "1", "1849", "", "", 1, "Jahr?"}, Case{"1", "0", "2000", "", "", 1, "Monat?"},
        Case{"", "", "", "9", "", 0}, Case{"", "", "2000", "", "", 2},
        Case{"1", "1", "2000", "23", "01.01.2000 ; 23:00", 0},
        Case{"1", "1", "2000", "24", "", 1, "Stunde?"}}) {
    fixture.dialogs.messages.clear();
    type(control::dayEdit, c.day);
    type(control::monthEdit, c.month);
    type(control::yearEdit, c.year);
    type(control::hourEdit, c.hour);
    type(control::minuteEdit, "");
    std::string before = row(1)[6];
    fixture.click(control::applyButton);
    EXPECT_EQ(row(1)[6], c.expected.empty() ? before : std::string(c.expected)) << c.year;
    EXPECT_EQ(fixture.dialogs.messages.size(), c.messages) << c.year;
    if (!c.firstMessage.empty() && !fixture.dialogs.messages.empty()) {
      EXPECT_EQ(fixture.dialogs.messages.front().text, c.firstMessage) << c.year;
    }
  }
}

TEST_F(EditingFixture, applyWithoutSelectionWritesNothing) {
  fixture.window.selectRow(0);
  type(control::nameEdit, "Neu");
  fixture.click(control::applyButton);
  EXPECT_EQ(fixture.dialogs.messages,
            std::vector<ShownMessage>{ok("kein Datensatz markiert !", "Stop!")});
  EXPECT_EQ(row(1)[0], "Meier;Anna");
  EXPECT_FALSE(fixture.program.records().changed);
}

TEST_F(EditingFixture, emptyNamesFreeTheSlotSoTheNextSaveLeavesItOut) {
  type(control::nameEdit, "");
  type(control::firstNameEdit, "");
  fixture.click(control::applyButton);
  EXPECT_FALSE(store().holdsRecord(1));
  fixture.click(control::saveButton);
  EXPECT_EQ(fixture.files.files[ProgramFixture::addressPath],
            "BEGIN:VCARD\r\nN:Zander;Bernd\r\nEMAIL:b@example.org\r\nEND:VCARD\r\n");
}

TEST_F(EditingFixture, newAndDuplicateTakeSeparateSlotsAndShowTheNewRow) {
  fixture.click(control::newButton);
  EXPECT_EQ(fixture.window.rowCount(), 3);
  EXPECT_EQ(row(3), (std::vector<std::string>{"", "", "", "", "", "", "", "", " 3"}));
  EXPECT_EQ(fixture.window.selectedRow(), 3);
  EXPECT_EQ(fixture.window.scrolledTo, 3);
  EXPECT_EQ(fixture.window.focusedControl(), control::nameEdit);
  fixture.click(control::newButton);  // the first new row keeps slot 3
  EXPECT_EQ(row(4)[8], " 4");
  fixture.window.selectRow(1);
  fixture.click(control::duplicateButton);
  EXPECT_EQ(row(5)[0], "Meier;Anna");
  EXPECT_EQ(row(5)[6], "05.03.1970 ; 09:30");
  EXPECT_EQ(row(5)[8], " 5");
  EXPECT_EQ(fixture.window.text(control::nameEdit), "Meier");
}

TEST_F(EditingFixture, duplicateNeedsASelectionAndBothNeedAFreeSlot) {
  fixture.window.selectRow(0);
  fixture.click(control::duplicateButton);
  EXPECT_EQ(fixture.dialogs.messages.back().text, "duplizieren ? (Datensatz selektieren !)");
  EXPECT_EQ(fixture.window.rowCount(), 2);
  for (int i = 0; i < 997; ++i) fixture.click(control::newButton);  // slots 3 to 999
  fixture.dialogs.messages.clear();
  fixture.click(control::newButton);
  fixture.click(control::duplicateButton);  // no slot: reported before the selection is looked at
  EXPECT_EQ(fixture.dialogs.messages.size(), 2u);
  EXPECT_EQ(fixture.dialogs.messages[0].text, "Speicher ? (nach Programm-Neustart OK !)");
  EXPECT_EQ(fixture.dialogs.messages[1].text, "Speicher ? (nach Programm-Neustart OK !)");
}

TEST_F(EditingFixture, deleteAsksAndNoChangesNothing) {
  fixture.dialogs.answers.push_back(Answer::no);
  fixture.click(control::deleteButton);
  ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
  EXPECT_EQ(fixture.dialogs.messages[0],
            (ShownMessage{"Meier;Anna", "Datensatz  1 l\xF6schen ?", MessageButtons::yesNo,
                          MessageIcon::exclamation}));
  EXPECT_TRUE(store().holdsRecord(1));
  EXPECT_EQ(fixture.files.replaceCalls, 0);
}

TEST_F(EditingFixture, deleteYesSavesAtOnceWithEveryOtherAppliedEdit) {
  fixture.window.selectRow(2);
  fixture.tick();
  type(control::faxEdit, "0711 9");
  fixture.click(control::applyButton);
  fixture.window.selectRow(1);
  fixture.tick();
  fixture.click(control::deleteButton);
  EXPECT_EQ(
      fixture.files.files[ProgramFixture::addressPath],
      "BEGIN:VCARD\r\nN:Zander;Bernd\r\nTEL;FAX:0711 9\r\nEMAIL:b@example.org\r\nEND:VCARD\r\n");
  EXPECT_EQ(fixture.window.rowCount(), 1);
  EXPECT_FALSE(fixture.program.records().changed);
}

// The file that remains must load again and give room for new records.
TEST_F(EditingFixture, deletingTheLastEntryLeavesTheEmptyCardOfANewFile) {
  fixture.click(control::deleteButton);
  fixture.click(control::deleteButton);
  EXPECT_EQ(fixture.window.rowCount(), 0);
  EXPECT_EQ(fixture.files.files[ProgramFixture::addressPath], "BEGIN:VCARD\r\nEND:VCARD\r\n\r\n");

  ProgramFixture restarted{fixture.files.files[ProgramFixture::addressPath]};
  restarted.start();
  restarted.click(control::newButton);
  EXPECT_TRUE(restarted.dialogs.messages.empty());
  EXPECT_EQ(restarted.window.rowCount(), 1);
}

TEST_F(EditingFixture, deleteWithoutSelectionIsRefused) {
  fixture.window.selectRow(0);
  fixture.click(control::deleteButton);
  EXPECT_EQ(fixture.dialogs.messages,
            std::vector<ShownMessage>{ok("kein Datensatz markiert !", "Stop!")});
}

}  // namespace
