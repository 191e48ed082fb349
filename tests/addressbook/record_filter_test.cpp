#include "addressbook/record_filter.h"

#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "addressbook/field_table.h"

namespace {

using addressbook::containsUpper;
using addressbook::filterRecords;
namespace field = addressbook::field;

TEST(ContainsUpper, comparesTheAnsiUpperCaseOfTheTextWithTheFilter) {
  struct Case {
    std::string_view text;
    std::string_view upperFilter;
    bool contains;
  };
  const Case cases[] = {
      {"M\xFCller;Hans", "M\xDCLLER", true},  // Müller
      {"m\xFCller", "M\xDCLLER", true},
      {"MUELLER", "M\xDCLLER", false},
      {"07.05.1961", "05.1961", true},
      {"05.07.1961", "05.1961", false},
      {"Meier", "", true},
      {"", "", true},
      {"", "A", false},
      {"ab", "ABC", false},
      {"abc", "ABC", true},
      {"xxabc", "ABC", true},
      {"aab", "AB", true},  // a false start before the match
      {"Stra\xDF"
       "e",
       "STRA\xDF"
       "E",
       true},  // ß stays ß
      {"\x9A"
       "imek",
       "\x8AIMEK", true},       // š -> Š
      {"\xFF", "\x9F", true},   // ÿ -> Ÿ
      {"\xF7", "\xD7", false},  // ÷ is no letter
      {"\xB5", "\xB5", true},   // µ stays
      {"Mit Blank", " ", true},
      {"Ohne", " ", false},
      {"a\x07"
       "b",
       "A\x07"
       "B",
       true},
      {"abc", "abc", false},  // the filter is compared as given
  };
  for (const Case& c : cases) {
    EXPECT_EQ(containsUpper(c.text, c.upperFilter), c.contains)
        << "\"" << c.text << "\" / \"" << c.upperFilter << "\"";
  }
}

TEST(FilterRecords, givesTheNamedSlotsInOrderWhoseFieldsContainTheFilter) {
  addressbook::RecordStore store;
  store.reset(999);
  store.setField(2, field::name, "Meier");
  store.setField(2, field::birthday, "07.05.1961");
  store.setField(5, field::email, "nur@mail");  // no name: never shown
  store.setField(12, field::name, "Zw\xF6lf");
  store.setField(40, field::name, "Schulz");
  store.setField(40, field::notes, "Slot 12");
  store.setField(999, field::name, "Letzter");
  using Slots = std::vector<std::uint32_t>;
  EXPECT_EQ(filterRecords(store, ""), (Slots{2, 12, 40, 999}));
  EXPECT_EQ(filterRecords(store, "12"), (Slots{40}));  // slot 12 itself is not searched
  EXPECT_EQ(filterRecords(store, "05.1961"), (Slots{2}));
  EXPECT_EQ(filterRecords(store, "NUR"), (Slots{}));
  EXPECT_EQ(filterRecords(store, "L"), (Slots{12, 40, 999}));
  EXPECT_EQ(filterRecords(addressbook::RecordStore(), ""), (Slots{}));
}

TEST(RecordFilter, examinesAsFarAsAskedOverTheSlotsOfTheCapacity) {
  addressbook::RecordStore store;
  store.reset(3000);
  for (std::size_t slot = 1; slot <= 3000; ++slot) store.setField(slot, field::name, "x");
  addressbook::RecordFilter filter(store, "");
  EXPECT_EQ(filter.capacity(), 3000u);
  filter.examineBefore(1024);
  EXPECT_FALSE(filter.finished());
  std::vector<std::uint32_t> slots = filter.takeSlots();
  EXPECT_EQ(slots.size(), 1023u);
  EXPECT_EQ(slots.back(), 1023u);
  filter.examineBefore(5000);
  EXPECT_TRUE(filter.finished());
}

}  // namespace
