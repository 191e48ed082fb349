#include "table/fill.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "table/control_ids.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_window.h"

namespace {

namespace control = table::control;
namespace field = addressbook::field;
using Names = std::vector<std::string>;

constexpr const char* addressPath = "/data/adressen.vcf";

// Records shown through a window without pixels.
struct FillFixture {
  FillFixture() { window.setContent(records.table); }

  // Fills the table through the text of the search field.
  void fill() { table::fillTable(records, screen, window.text(control::filterEdit), addressPath); }
  // How often a record was shown in the edit fields.
  [[nodiscard]] int shows() const {
    auto found = window.textWrites.find(control::notesEdit);
    return found == window.textWrites.end() ? 0 : found->second;
  }
  [[nodiscard]] Names column(int column) const {
    Names cells;
    for (int row = 1; row <= window.rowCount(); ++row) cells.push_back(window.row(row)[column - 1]);
    return cells;
  }

  testing_support::FakeWindow window;
  testing_support::FakeClock clock;
  table::Records records;
  table::Screen screen{window, window, window, clock};
};

TEST(FillTable, showsEveryNamedSlotWithItsSlotNumberSelectsAndShowsRowOne) {
  FillFixture f;
  f.records.store.reset(999);
  for (int slot = 1; slot <= 5; ++slot) {
    f.records.store.setField(static_cast<std::size_t>(slot), field::name,
                             "N" + std::to_string(slot));
  }
  f.records.store.setField(3, field::workPhone, "030 3");
  f.fill();
  EXPECT_EQ(f.window.rowCount(), 5);
  EXPECT_EQ(f.column(9), (Names{" 1", " 2", " 3", " 4", " 5"}));
  EXPECT_EQ(f.window.row(3), (Names{"N3", "030 3", "", "", "", "", "", "", " 3"}));
  EXPECT_EQ(f.window.selectedRow(), 1);
  EXPECT_EQ(f.shows(), 1);
  EXPECT_GE(f.window.resets, 1);
}

TEST(FillTable, showsOnlyRecordsContainingTheUpperCasedFilter) {
  FillFixture f;
  f.records.store.reset(999);
  f.records.store.setField(1, field::name, "M\xFCller;Hans");
  f.records.store.setField(2, field::name, "Mueller");
  f.records.store.setField(3, field::name, "Anna");
  f.records.store.setField(3, field::birthday, "07.05.1961");
  f.records.store.setField(12, field::name, "Zw\xF6lf");
  f.records.store.setField(14, field::email, "m\xFCller@x");  // no name
  struct Case {
    std::string filter;
    Names slots;
  };
  const Case cases[] = {
      {"m\xFCller", {" 1"}},
      {"M\xDCLLER", {" 1"}},
      {"05.1961", {" 3"}},
      {"12", {}},
      {"", {" 1", " 2", " 3", " 12"}},
      {" ", {}},
  };
  for (const Case& c : cases) {
    f.window.setText(control::filterEdit, c.filter);
    f.window.textWrites.clear();
    f.fill();
    EXPECT_EQ(f.column(9), c.slots) << c.filter;
    EXPECT_EQ(f.window.selectedRow(), c.slots.empty() ? 0 : 1) << c.filter;
    EXPECT_EQ(f.shows(), 1);  // also with no row at all
  }
}

TEST(FillTable, showsTheShareOfSlotsExaminedWhileItRuns) {
  FillFixture f;
  f.clock.tickStep = 32;
  f.records.store.reset(3000);
  f.records.store.setField(1, field::name, "Erster");
  std::vector<std::string> seen;
  f.window.onPendingEvents = [&] { seen.push_back(f.window.status[1]); };
  table::fillTable(f.records, f.screen, "", addressPath);
  // Refreshed now and then with the share of the slots examined so far (one
  // record in 3000 slots: the share of rows shown would stay near 0), and
  // with the whole once the fill has ended.
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(f.window.status[1], "100.00%");
  EXPECT_EQ(f.window.progress, 100);
  const std::string& percent = seen.back();
  ASSERT_TRUE(std::regex_match(percent, std::regex(R"([0-9]{1,3}\.[0-9]{2}%)"))) << percent;
  const double share = std::stod(percent);
  EXPECT_GT(share, 10.0);
  EXPECT_LE(share, 100.0);
  EXPECT_EQ(f.window.status[4], std::string("File: ") + addressPath);
  EXPECT_EQ(f.window.rowCount(), 1);
}

}  // namespace
