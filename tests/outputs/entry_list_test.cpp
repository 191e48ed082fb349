#include "outputs/entry_list.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "table/control_ids.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_shell.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/memory_file_system.h"

namespace {

using platform::ControlId;
namespace control = table::control;

std::string blanks(std::size_t count) { return std::string(count, ' '); }

struct LineCase {
  std::string name;
  std::map<ControlId, std::string> fields;
  std::string line;
};

TEST(EntryListLine, fixedColumnsThenTheOptionalBirthdayAndTime) {
  const std::string fourteenSixteen = "0123456789ABCDEF";
  const std::vector<LineCase> cases = {
      {"one business number",
       {{control::nameEdit, "Muster"},
        {control::firstNameEdit, "Anna"},
        {control::workPhoneEdit, "0711 1234"}},
       "Muster" + blanks(14) + "Anna" + blanks(16) + "0711 1234" + blanks(5) + blanks(62) + "\r\n"},
      {"all columns, long texts cut",
       {{control::nameEdit,
         "Mustermann-L\xFC"
         "denscheidt"},
        {control::firstNameEdit, "Anna-Maria-Theresia-X"},
        {control::workPhoneEdit, fourteenSixteen},
        {control::homePhoneEdit, "2"},
        {control::mobileEdit, "3"},
        {control::faxEdit, "4"},
        {control::emailEdit, "anna.mustermann@example.org"}},
       "Mustermann-L\xFC"
       "densche"
       "Anna-Maria-Theresia-"
       "0123456789ABCD"
       "2" +
           blanks(13) + "3" + blanks(13) + "4" + blanks(13) +
           "anna.mustermann@exa"
           "m\r\n"},
      {"birthday without time",
       {{control::dayEdit, "5"}, {control::monthEdit, "3"}, {control::yearEdit, "1970"}},
       blanks(116) + "5.3.1970    \r\n"},
      {"birthday with time",
       {{control::dayEdit, "5"},
        {control::monthEdit, "3"},
        {control::yearEdit, "1970"},
        {control::hourEdit, "09"},
        {control::minuteEdit, "30"}},
       blanks(116) + "5.3.1970    09:30\r\n"},
      {"time without day",
       {{control::monthEdit, "3"}, {control::hourEdit, "9"}, {control::minuteEdit, ""}},
       blanks(116) + "9:\r\n"},
      {"age is no column", {{control::ageLabel, "(56J)"}}, blanks(116) + "\r\n"},
  };
  for (const LineCase& c : cases) {
    SCOPED_TRACE(c.name);
    table::ShownFields fields;
    for (const auto& [id, text] : c.fields) fields.set(id, text);
    std::string list = "davor\r\n";
    outputs::appendEntryListLine(list, fields);
    EXPECT_EQ(list, "davor\r\n" + c.line);
  }
}

struct EntryListFixture : ::testing::Test {
  EntryListFixture() {
    store.reset(999);
    setRecord(2, "Muster;Anna", "0711 1234", "");
    setRecord(5, "Berger;Bernd", "", "05.03.1970 ; 09:30");
    setRecord(7, "Zander;Clara", "", "24.12.1980");
    window.setContent(rows);
  }
  void setRecord(std::size_t slot, std::string_view name, std::string_view work,
                 std::string_view birthday) {
    store.setField(slot, addressbook::field::name, name);
    store.setField(slot, addressbook::field::workPhone, work);
    store.setField(slot, addressbook::field::birthday, birthday);
  }
  void writeList() { outputs::writeEntryList(screen, rows, files, shell); }
  [[nodiscard]] std::string list() const {
    return files.files.at(files.inCurrentFolder("prot.txt"));
  }

  addressbook::RecordStore store;
  table::RecordTable rows{store};
  testing_support::FakeWindow window;
  testing_support::FakeClock clock;
  table::Screen screen{window, window, window, clock};
  testing_support::MemoryFileSystem files;
  testing_support::FakeShell shell;
};

TEST_F(EntryListFixture, listsTheShownRowsInTableOrderAndOpensTheFile) {
  rows.setSlots({7, 2, 5});  // sorted and filtered: the table's order counts
  window.selectRow(2);
  files.files[files.inCurrentFolder("prot.txt")] = "an old list that must go\r\n";
  writeList();

  const std::string zander =
      "Zander" + blanks(14) + "Clara" + blanks(15) + blanks(76) + "24.12.1980    \r\n";
  const std::string muster =
      "Muster" + blanks(14) + "Anna" + blanks(16) + "0711 1234" + blanks(5) + blanks(62) + "\r\n";
  const std::string berger =
      "Berger" + blanks(14) + "Bernd" + blanks(15) + blanks(76) + "5.3.1970    09:30\r\n";
  EXPECT_EQ(list(), zander + muster + berger + "\r\n");
  EXPECT_EQ(shell.files, std::vector<std::string>{files.inCurrentFolder("prot.txt")});
  EXPECT_TRUE(shell.urls.empty());

  // Neither the edit fields, where the user may be typing, nor the
  // selection change.
  EXPECT_EQ(window.text(control::nameEdit), "");
  EXPECT_EQ(window.selectedRow(), 2);
  EXPECT_EQ(window.status[1], "100.00%");
  EXPECT_EQ(window.progress, 100);
}

TEST_F(EntryListFixture, emptyTableGivesOnlyALineEndAndStillOpens) {
  writeList();
  EXPECT_EQ(list(), "\r\n");
  EXPECT_EQ(shell.files.size(), 1U);
}

TEST_F(EntryListFixture, rootFolderGetsNoDoubleSeparator) {
  files.cwd = std::string(1, platform::path::separator);
  writeList();
  const std::string atRoot = files.cwd + "prot.txt";
  EXPECT_TRUE(files.files.contains(atRoot));
  EXPECT_EQ(shell.files, std::vector<std::string>{atRoot});
}

TEST_F(EntryListFixture, aWindowClosedWhileTheListIsBuiltWritesAndOpensNothing) {
  rows.setSlots({2, 5, 7});
  window.onPendingEvents = [&] { window.alive = false; };
  writeList();
  EXPECT_EQ(window.pendingEventRuns, 1);
  EXPECT_EQ(files.recreateCalls, 0);
  EXPECT_TRUE(shell.files.empty());
}

TEST_F(EntryListFixture, aListThatCannotBeWrittenIsNotOpened) {
  rows.setSlots({2});
  files.failWrites = true;
  writeList();
  EXPECT_EQ(files.recreateCalls, 1);
  EXPECT_TRUE(shell.files.empty());
}

}  // namespace
