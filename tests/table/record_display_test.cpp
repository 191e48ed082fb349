#include "table/record_display.h"

#include <gtest/gtest.h>

#include "addressbook/field_table.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_window.h"

namespace {

using platform::ControlId;
using testing_support::FakeClock;
using testing_support::FakeWindow;

struct DisplayFixture : ::testing::Test {
  // One record in slot 3 with the given name and birthday.
  void show(std::string_view name, std::string_view birthday, std::string_view notes = {}) {
    store.reset(999);
    store.setField(3, addressbook::field::name, name);
    store.setField(3, addressbook::field::birthday, birthday);
    store.setField(3, addressbook::field::notes, notes);
    store.setField(3, addressbook::field::email, "anna@example.org");
    rows.setSlots({3});
    table::showRecord(window, rows, clock, 1);
  }

  addressbook::RecordStore store;
  addressbook::RecordTable rows{store};
  FakeWindow window;
  FakeClock clock;
};

TEST_F(DisplayFixture, nameSplitsIntoFamilyAndGivenNameOnly) {
  show("Meier;Anna;Luise", "");
  EXPECT_EQ(window.text(ControlId::nameEdit), "Meier");
  EXPECT_EQ(window.text(ControlId::firstNameEdit), "Anna");
  show("Meier", "");
  EXPECT_EQ(window.text(ControlId::nameEdit), "Meier");
  EXPECT_EQ(window.text(ControlId::firstNameEdit), "");
  EXPECT_EQ(window.text(ControlId::emailEdit), "anna@example.org");
}

TEST_F(DisplayFixture, notesShowTheirLineBreaks) {
  show("Meier", "",
       "a\x07"
       "b");
  EXPECT_EQ(window.text(ControlId::notesEdit), "a\r\nb");
}

TEST_F(DisplayFixture, birthdayFillsDateFieldsWithoutLeadingZerosAndTimeAsStored) {
  show("Meier", "05.03.1970 ; 09:30");
  EXPECT_EQ(window.text(ControlId::dayEdit), "5");
  EXPECT_EQ(window.text(ControlId::monthEdit), "3");
  EXPECT_EQ(window.text(ControlId::yearEdit), "1970");
  EXPECT_EQ(window.text(ControlId::hourEdit), "09");
  EXPECT_EQ(window.text(ControlId::minuteEdit), "30");
}

TEST_F(DisplayFixture, yearsBefore1800AndUnreadableBirthdaysShowNothing) {
  for (std::string_view birthday : {"", "01.01.1799", "1961-03-07T08:30", "kein Datum"}) {
    window.setText(ControlId::ageLabel, "J");
    show("Meier", birthday);
    EXPECT_EQ(window.text(ControlId::yearEdit), "") << birthday;
    EXPECT_EQ(window.text(ControlId::hourEdit), "") << birthday;
    EXPECT_EQ(window.text(ControlId::ageLabel), "") << birthday;
  }
  show("Meier", "01.01.1820");
  EXPECT_EQ(window.text(ControlId::yearEdit), "1820");
}

TEST_F(DisplayFixture, ageCountsTheBirthdayOnlyOnceReached) {
  struct Case {
    platform::Date today;
    std::string_view birthday;
    std::string_view age;
  };
  for (const Case& c :
       {Case{{2026, 12, 6}, "15.06.1970", "(56J)"}, Case{{2026, 6, 14}, "15.06.1970", "(55J)"},
        Case{{2026, 6, 15}, "15.06.1970", "(56J)"}, Case{{2026, 12, 6}, "07.12.1970", "(55J)"},
        Case{{2026, 12, 6}, "01.01.2029", "(-3J)"}}) {
    clock.date = c.today;
    show("Meier", c.birthday);
    EXPECT_EQ(window.text(ControlId::ageLabel), c.age) << c.birthday;
  }
}

TEST_F(DisplayFixture, aRowThatDoesNotExistEmptiesTheFields) {
  show("Meier;Anna", "05.03.1970 ; 09:30", "x");
  table::showRecord(window, rows, clock, 0);
  for (ControlId id :
       {ControlId::nameEdit, ControlId::firstNameEdit, ControlId::emailEdit, ControlId::notesEdit,
        ControlId::dayEdit, ControlId::minuteEdit, ControlId::ageLabel}) {
    EXPECT_EQ(window.text(id), "") << platform::toInt(id);
  }
  show("Meier;Anna", "05.03.1970");
  table::showRecord(window, rows, clock, 2);
  EXPECT_EQ(window.text(ControlId::nameEdit), "");
}

}  // namespace
