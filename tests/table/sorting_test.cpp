#include "table/sorting.h"

#include <gtest/gtest.h>

#include "addressbook/field_table.h"
#include "table/columns.h"
#include "tests/fakes/fake_window.h"

namespace {

using table::SortMode;

struct SortFixture : ::testing::Test {
  SortFixture() {
    table::setupTableColumns(window);
    window.setContent(rows);
  }

  // Fills slots 1.. with names (and birthdays) and shows them in slot order.
  void records(std::initializer_list<std::pair<std::string_view, std::string_view>> entries) {
    store.reset(999);
    std::vector<std::uint32_t> slots;
    for (const auto& [name, birthday] : entries) {
      auto slot = static_cast<std::uint32_t>(slots.size() + 1);
      store.setField(slot, addressbook::field::name, name);
      store.setField(slot, addressbook::field::birthday, birthday);
      slots.push_back(slot);
    }
    rows.setSlots(slots);
  }

  std::vector<std::string> column(int c) const {
    std::vector<std::string> texts;
    for (int row = 1; row <= rows.rowCount(); ++row) texts.push_back(rows.cell(row, c));
    return texts;
  }

  addressbook::RecordStore store;
  table::RecordTable rows{store};
  testing_support::FakeWindow window;
};

TEST_F(SortFixture, textOrderIgnoresCaseAndPutsPrefixesFirst) {
  records(
      {{"Maier", ""}, {"meier", ""}, {"Mai", ""}, {"Meier", ""}, {"ALBERS", ""}, {"albers", ""}});
  table::sortTable(rows, window, 1, SortMode::textAscending);
  EXPECT_EQ(column(1),
            (std::vector<std::string>{"ALBERS", "albers", "Mai", "Maier", "meier", "Meier"}));
  table::sortTable(rows, window, 1, SortMode::textDescending);
  EXPECT_EQ(column(1).front(), "meier");
  EXPECT_EQ(column(1).back(), "albers");
}

TEST_F(SortFixture, umlautsCompareEqualToTheirCapitals) {
  records({{"M\xFCller", ""}, {"M\xDCLLER", ""}, {"Mz", ""}, {"m\xFCller", ""}});
  table::sortTable(rows, window, 1, SortMode::textAscending);
  // Ü (0xDC) sorts after Z; the spellings of Müller compare equal and keep
  // their order.
  EXPECT_EQ(column(1), (std::vector<std::string>{"Mz", "M\xFCller", "M\xDCLLER", "m\xFCller"}));
}

TEST_F(SortFixture, dateModeOrdersByYearMonthDayAndEmptyFirst) {
  records({{"A", "01.01.1971"},
           {"B", "05.03.1970"},
           {"C", ""},
           {"D", "05.03.1970 ; 09:30"},
           {"E", "10.01.1970"},
           {"F", "04.03.1970"}});
  table::sortTable(rows, window, addressbook::field::birthday, SortMode::dateAscending);
  EXPECT_EQ(column(1), (std::vector<std::string>{"C", "E", "F", "B", "D", "A"}));
}

TEST_F(SortFixture, hiddenColumnsAndEmptyTablesStayAsTheyAre) {
  records({{"B", ""}, {"A", ""}});
  table::sortTable(rows, window, 8, SortMode::textAscending);   // notes: width 0
  table::sortTable(rows, window, 9, SortMode::textDescending);  // slot number: width 0
  table::sortTable(rows, window, 10, SortMode::textAscending);  // no such column
  EXPECT_EQ(column(1), (std::vector<std::string>{"B", "A"}));
  rows.clear();
  table::sortTable(rows, window, 1, SortMode::textAscending);
  EXPECT_EQ(rows.rowCount(), 0);
}

TEST_F(SortFixture, selectionFollowsItsRecordAndSlotNumbersTravelWithTheRows) {
  records({{"C", ""}, {"A", ""}, {"B", ""}});
  window.selectRow(1);  // C in slot 1
  table::sortTable(rows, window, 1, SortMode::textAscending);
  EXPECT_EQ(window.selectedRow(), 3);
  EXPECT_EQ(rows.cell(3, 1), "C");
  EXPECT_EQ(rows.cell(3, 9), " 1");
}

}  // namespace
