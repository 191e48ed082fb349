#include "table/tick.h"

#include <gtest/gtest.h>

#include "addressbook/address_file.h"
#include "addressbook/field_table.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_profile_file.h"

namespace {

using platform::ControlId;

struct TickFixture : ::testing::Test {
  TickFixture() {
    book.store.reset(999);
    book.store.setField(1, addressbook::field::name, "M\xFCller;Anna");
    book.store.setField(2, addressbook::field::name, "Meier;Bernd");
    book.store.setField(3, addressbook::field::name, "Schulz;Clara");
    window.setTableContent(book.table);
    addressbook::fillTable(book, env, show);
  }

  void tick() { table::timerTick(state, book, env, show); }

  testing_support::FakeWindow window;
  testing_support::FakeDialogs dialogs;
  testing_support::MemoryFileSystem files;
  testing_support::FakeClock clock;
  testing_support::MemoryProfileFile profile;
  platform::Settings settings{profile, "/zudedo.conf"};
  addressbook::Backups backups{"/backups"};
  addressbook::Environment env{window, dialogs, files, clock, settings, backups};
  addressbook::AddressBook book;
  table::TickState state;
  std::vector<int> shown;
  addressbook::ShowRecord show = [this](int row) { shown.push_back(row); };
};

TEST_F(TickFixture, countIsWrittenOnlyWhenItChanges) {
  tick();
  tick();
  EXPECT_EQ(window.status[2], "Datens\xE4tze: 3");
  EXPECT_EQ(window.statusWrites[2], 1);
}

TEST_F(TickFixture, anEmptyTableAtTheStartWritesNoCount) {
  book.table.clear();
  tick();
  EXPECT_EQ(window.statusWrites[2], 0);
}

TEST_F(TickFixture, aNewSelectionIsShownOnceAndNoSelectionShowsRowZero) {
  shown.clear();
  tick();
  tick();
  EXPECT_EQ(shown, std::vector<int>{1});
  EXPECT_EQ(window.text(ControlId::rowLabel), " 1");
  window.selectRow(0);
  tick();
  EXPECT_EQ(shown, (std::vector<int>{1, 0}));
  EXPECT_EQ(window.text(ControlId::rowLabel), " 0");
}

TEST_F(TickFixture, aFilterChangeRefillsOnceFromTheStoreKeepingUnsavedEdits) {
  tick();
  // An applied edit that was never saved: the file would not have it.
  book.store.setField(3, addressbook::field::name, "M\xFCller;Clara");
  window.setText(ControlId::filterEdit, "m\xFCller");
  int resets = window.resets;
  tick();
  tick();
  EXPECT_EQ(window.resets - resets, 2);  // one fill: cleared, then filled
  EXPECT_EQ(book.table.slots(), (std::vector<std::uint32_t>{1, 3}));
  window.setText(ControlId::filterEdit, "M\xDCLLER");  // differs in case only: refills
  tick();
  EXPECT_EQ(window.resets - resets, 4);
}

TEST_F(TickFixture, theFilterStepWaitsWhileALoadOrFillRuns) {
  tick();
  window.setText(ControlId::filterEdit, "Meier");
  book.busy = true;
  tick();
  EXPECT_EQ(book.table.rowCount(), 3);
  book.busy = false;
  tick();
  EXPECT_EQ(book.table.rowCount(), 1);
}

TEST_F(TickFixture, aRowThatMovedUnderTheSelectionIsShownAgain) {
  tick();
  window.selectRow(2);
  tick();
  shown.clear();
  // A sort puts another record into row 2 while row 2 stays selected.
  book.table.setSlots({2, 3, 1});
  window.selectRow(2);
  tick();
  EXPECT_EQ(shown, std::vector<int>{2});
  tick();
  EXPECT_EQ(shown, std::vector<int>{2});
}

TEST_F(TickFixture, aRecordAlreadyShownIsNotShownAgainWhenOnlyItsRowChanges) {
  tick();
  shown.clear();
  // A new row selected and shown by the command itself (as New does).
  book.table.appendSlot(4);
  window.selectRow(4);
  state.lastShownSlot = 4;
  tick();
  EXPECT_TRUE(shown.empty()) << "typing into the new row would be wiped out";
  EXPECT_EQ(window.text(ControlId::rowLabel), " 4");
}

}  // namespace
