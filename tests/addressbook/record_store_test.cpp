#include "addressbook/record_store.h"

#include <gtest/gtest.h>

#include <string>

#include "addressbook/field_table.h"

namespace {

using addressbook::capacityFor;
using addressbook::RecordStore;
namespace field = addressbook::field;

TEST(RecordStoreCapacity, isAtLeast999AndOtherwiseOneAndAHalfTimesTheCardsHalvesToEven) {
  struct Case {
    std::size_t cards;
    std::size_t capacity;
  };
  const Case cases[] = {
      {0, 999},     {1, 999},     {666, 999},   {667, 1000},  // 1000.5 -> 1000
      {668, 1002},  {669, 1004},  {671, 1006},  {673, 1010},  // 1003.5, 1006.5, 1009.5
      {1000, 1500}, {1001, 1502}, {1003, 1504}, {1000000, 1500000},
  };
  for (const Case& c : cases) EXPECT_EQ(capacityFor(c.cards), c.capacity) << c.cards << " cards";
}

TEST(RecordStore, aSlotHoldsARecordExactlyWhenItsNameIsSet) {
  RecordStore store;
  EXPECT_FALSE(store.holdsRecord(1));  // no slots yet
  store.reset(999);
  EXPECT_EQ(store.capacity(), 999u);
  store.setField(3, field::email, "a@b");
  store.setField(3, field::notes, "x");
  EXPECT_FALSE(store.holdsRecord(3));
  store.setField(3, field::name, "Meier");
  EXPECT_TRUE(store.holdsRecord(3));
  store.setField(0, field::name, "Scratch");
  EXPECT_FALSE(store.holdsRecord(0));
  EXPECT_FALSE(store.holdsRecord(1000));
  store.setField(3, field::name, "");
  EXPECT_FALSE(store.holdsRecord(3));
  EXPECT_EQ(store.field(3, field::email), "a@b");
}

TEST(RecordStore, resetEmptiesEveryCell) {
  RecordStore store;
  store.reset(999);
  store.setField(999, field::notes, "last");
  store.setField(1, field::name, "first");
  store.reset(1500);
  EXPECT_EQ(store.capacity(), 1500u);
  for (std::size_t slot : {std::size_t{0}, std::size_t{1}, std::size_t{999}, std::size_t{1500}}) {
    for (int f = 1; f <= addressbook::fieldCount(); ++f) EXPECT_EQ(store.field(slot, f), "");
  }
}

TEST(RecordStore, storedValuesAreCopiesThatOutliveTheirSource) {
  RecordStore store;
  store.reset(999);
  std::string value = "Meier;Anna";
  store.setField(1, field::name, value);
  value.assign(value.size(), 'x');
  EXPECT_EQ(store.field(1, field::name), "Meier;Anna");

  // Copying a stored value into another cell, also when the copy needs a new
  // block of the store's memory, keeps both intact.
  const std::string big(3 << 20, 'b');
  store.setField(2, field::notes, big);
  store.setField(3, field::notes, store.field(2, field::notes));
  store.setField(4, field::notes, store.field(1, field::name));
  EXPECT_EQ(store.field(3, field::notes), big);
  EXPECT_EQ(store.field(2, field::notes), big);
  EXPECT_EQ(store.field(4, field::notes), "Meier;Anna");
}

TEST(RecordStore, keepsItsValuesWhenMoved) {
  RecordStore store;
  store.reset(999);
  std::string_view adopted = store.adoptText("N:Short");  // small enough for the string itself
  store.setFieldView(1, field::name, adopted.substr(2));
  store.setField(2, field::name, "Copied");
  RecordStore moved = std::move(store);
  EXPECT_EQ(moved.field(1, field::name), "Short");
  EXPECT_EQ(moved.field(2, field::name), "Copied");
}

}  // namespace
