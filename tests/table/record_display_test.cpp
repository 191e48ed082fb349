#include "table/record_display.h"

#include <gtest/gtest.h>

#include "addressbook/field_table.h"
#include "table/control_ids.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_window.h"

namespace {

using platform::ControlId;
namespace control = table::control;
using testing_support::FakeClock;
using testing_support::FakeWindow;

struct DisplayFixture : ::testing::Test {
  // One record in slot 3 with the given name and birthday.
  void show(std::string_view name, std::string_view birthday, std::string_view notes = {}) {
    records.store.reset(999);
    records.store.setField(3, addressbook::field::name, name);
    records.store.setField(3, addressbook::field::birthday, birthday);
    records.store.setField(3, addressbook::field::notes, notes);
    records.store.setField(3, addressbook::field::email, "anna@example.org");
    records.table.setSlots({3});
    table::showRecord(records, screen, 1);
  }

  table::Records records;
  FakeWindow window;
  FakeClock clock;
  table::Screen screen{window, window, window, clock};
};

TEST_F(DisplayFixture, nameSplitsIntoFamilyAndGivenNameOnly) {
  show("Meier;Anna;Luise", "");
  EXPECT_EQ(window.text(control::nameEdit), "Meier");
  EXPECT_EQ(window.text(control::firstNameEdit), "Anna");
  show("Meier", "");
  EXPECT_EQ(window.text(control::nameEdit), "Meier");
  EXPECT_EQ(window.text(control::firstNameEdit), "");
  EXPECT_EQ(window.text(control::emailEdit), "anna@example.org");
}

TEST_F(DisplayFixture, notesShowTheirLineBreaks) {
  show("Meier", "",
       "a\x07"
       "b");
  EXPECT_EQ(window.text(control::notesEdit), "a\r\nb");
}

TEST_F(DisplayFixture, birthdayFillsDateFieldsWithoutLeadingZerosAndTimeAsStored) {
  show("Meier", "05.03.1970 ; 09:30");
  EXPECT_EQ(window.text(control::dayEdit), "5");
  EXPECT_EQ(window.text(control::monthEdit), "3");
  EXPECT_EQ(window.text(control::yearEdit), "1970");
  EXPECT_EQ(window.text(control::hourEdit), "09");
  EXPECT_EQ(window.text(control::minuteEdit), "30");
}

TEST_F(DisplayFixture, yearsBefore1800AndUnreadableBirthdaysShowNothing) {
  for (std::string_view birthday : {"", "01.01.1799", "1961-03-07T08:30", "kein Datum"}) {
    window.setText(control::ageLabel, "J");
    show("Meier", birthday);
    EXPECT_EQ(window.text(control::yearEdit), "") << birthday;
    EXPECT_EQ(window.text(control::hourEdit), "") << birthday;
    EXPECT_EQ(window.text(control::ageLabel), "") << birthday;
  }
  show("Meier", "01.01.1820");
  EXPECT_EQ(window.text(control::yearEdit), "1820");
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
    EXPECT_EQ(window.text(control::ageLabel), c.age) << c.birthday;
  }
}

TEST_F(DisplayFixture, aRowThatDoesNotExistEmptiesTheFields) {
  show("Meier;Anna", "05.03.1970 ; 09:30", "x");
  table::showRecord(records, screen, 0);
  for (ControlId id :
       {control::nameEdit, control::firstNameEdit, control::emailEdit, control::notesEdit,
        control::dayEdit, control::minuteEdit, control::ageLabel}) {
    EXPECT_EQ(window.text(id), "") << platform::toInt(id);
  }
  show("Meier;Anna", "05.03.1970");
  table::showRecord(records, screen, 2);
  EXPECT_EQ(window.text(control::nameEdit), "");
}

}  // namespace
