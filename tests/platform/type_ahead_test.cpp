#include "platform/type_ahead.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/name_table.h"

namespace {

using Names = testing_support::NameTable;

struct Typing {
  const char* what;
  int currentRow;
  std::string typed;
  int expectedRow;
};

TEST(TypeAhead, typedLettersLeadToTheNextNameStartingWithThem) {
  const Names names({
      "Albers;Anna",   // 1
      "schulz;Peter",  // 2
      "Schmidt;Karl",  // 3
      "\xD6zdemir;Ay\xFE"
      "e",                  // 4
      "Sommer;Lea",         // 5
      "\xD0\x96ukov;Ivan",  // 6
      "\xD0\x96"
      "danova;Olga",  // 7
      "Zander;Zoe",   // 8
  });
  const std::vector<Typing> cases{
      {"no current row: from the first", 0, "s", 2},
      {"a new search starts below the current row", 2, "s", 3},
      {"and goes on from the first row after the last", 5, "s", 2},
      {"letter case aside", 1, "S", 2},
      {"the ANSI upper-casing beyond ASCII", 1, "\xF6", 4},
      {"further letters keep a row that still fits", 2, "sc", 2},
      {"and move on where it no longer does", 2, "schm", 3},
      {"one letter again steps to the next name with it", 3, "ss", 5},
      {"and on from the first row", 5, "sss", 2},
      {"a letter outside Windows-1252", 1, "\xD0\x96", 6},
      {"is one letter typed again too", 6, "\xD0\x96\xD0\x96", 7},
      {"the only fitting row is the current one", 8, "z", 8},
      {"a current row beyond the table", 12, "a", 1},
      {"other columns do not count", 1, "sonn", 0},
      {"no name fits", 1, "x", 0},
      {"nothing typed", 3, "", 0},
  };
  for (const Typing& typing : cases) {
    EXPECT_EQ(platform::typeAheadRow(names, typing.currentRow, typing.typed), typing.expectedRow)
        << typing.what;
  }
}

TEST(TypeAhead, anEmptyTableHasNoRowToGoTo) {
  EXPECT_EQ(platform::typeAheadRow(Names({}), 0, "a"), 0);
}

}  // namespace
