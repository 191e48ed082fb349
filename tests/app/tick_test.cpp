#include "app/tick.h"

#include <gtest/gtest.h>

#include "addressbook/field_table.h"
#include "app/file_commands.h"
#include "app/setting_keys.h"
#include "document/document.h"
#include "table/control_ids.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_profile_file.h"

namespace {

namespace control = table::control;

// Three records in the table, row 1 selected but not shown yet.
struct TickFixture : ::testing::Test {
  TickFixture() {
    records.store.reset(999);
    records.store.setField(1, addressbook::field::name, "M\xFCller;Anna");
    records.store.setField(2, addressbook::field::name, "Meier;Bernd");
    records.store.setField(3, addressbook::field::name, "Schulz;Clara");
    window.setContent(records.table);
    records.table.setSlots({1, 2, 3});
    window.selectRow(1);
  }

  void tick() { app::timerTick(state, records, screen, commands, true); }
  // How often a record was shown in the edit fields.
  [[nodiscard]] int shows() const {
    auto found = window.textWrites.find(control::notesEdit);
    return found == window.textWrites.end() ? 0 : found->second;
  }

  testing_support::FakeWindow window;
  testing_support::FakeDialogs dialogs;
  testing_support::MemoryFileSystem files;
  testing_support::FakeClock clock;
  testing_support::MemoryProfileFile profile;
  platform::Settings settings{profile, "/zudedo.conf"};
  table::Records records;
  table::Screen screen{window, window, window, clock};
  document::Document document{records, screen, files,
                              platform::Setting{settings, app::setting::addressFile}, "/backups"};
  app::FileCommands commands{document, records, screen, dialogs, files};
  app::TickState state;
};

TEST_F(TickFixture, countIsWrittenOnlyWhenItChanges) {
  tick();
  tick();
  EXPECT_EQ(window.status[2], "Datens\xE4tze: 3");
  EXPECT_EQ(window.statusWrites[2], 1);
}

TEST_F(TickFixture, anEmptyTableAtTheStartWritesNoCount) {
  records.table.clear();
  tick();
  EXPECT_EQ(window.statusWrites[2], 0);
}

TEST_F(TickFixture, aNewSelectionIsShownOnceAndNoSelectionShowsRowZero) {
  tick();
  tick();
  EXPECT_EQ(shows(), 1);
  EXPECT_EQ(window.text(control::nameEdit), "M\xFCller");
  EXPECT_EQ(window.text(control::rowLabel), " 1");
  window.selectRow(0);
  tick();
  EXPECT_EQ(shows(), 2);
  EXPECT_EQ(window.text(control::nameEdit), "");
  EXPECT_EQ(window.text(control::rowLabel), " 0");
}

TEST_F(TickFixture, aFilterChangeRefillsOnceFromTheStoreKeepingUnsavedEdits) {
  tick();
  // An applied edit that was never saved: the file would not have it.
  records.store.setField(3, addressbook::field::name, "M\xFCller;Clara");
  window.setText(control::filterEdit, "m\xFCller");
  int resets = window.resets;
  tick();
  tick();
  EXPECT_EQ(window.resets - resets, 2);  // one fill: cleared, then filled
  EXPECT_EQ(records.table.slots(), (std::vector<std::uint32_t>{1, 3}));
  window.setText(control::filterEdit, "M\xDCLLER");  // differs in case only: refills
  tick();
  EXPECT_EQ(window.resets - resets, 4);
}

TEST_F(TickFixture, theFilterStepWaitsWhileALoadOrFillRuns) {
  tick();
  window.setText(control::filterEdit, "Meier");
  records.busy = true;
  tick();
  EXPECT_EQ(records.table.rowCount(), 3);
  records.busy = false;
  tick();
  EXPECT_EQ(records.table.rowCount(), 1);
}

TEST_F(TickFixture, aRowThatMovedUnderTheSelectionIsShownAgain) {
  tick();
  window.selectRow(2);
  tick();
  int before = shows();
  // A sort puts another record into row 2 while row 2 stays selected.
  records.table.setSlots({2, 3, 1});
  window.selectRow(2);
  tick();
  EXPECT_EQ(shows() - before, 1);
  EXPECT_EQ(window.text(control::nameEdit), "Schulz");
  tick();
  EXPECT_EQ(shows() - before, 1);
}

TEST_F(TickFixture, aRecordAlreadyShownIsNotShownAgainWhenOnlyItsRowChanges) {
  tick();
  int before = shows();
  // A new row selected and shown by the command itself (as New does).
  records.table.appendSlot(4);
  window.selectRow(4);
  records.shownSlot = 4;
  tick();
  EXPECT_EQ(shows(), before) << "typing into the new row would be wiped out";
  EXPECT_EQ(window.text(control::rowLabel), " 4");
}

}  // namespace
