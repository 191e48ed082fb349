#include "addressbook/field_table.h"

#include <array>
#include <cstddef>

namespace addressbook {

namespace {

// Each row is written as key "#" label.
constexpr std::array<std::string_view, 8> rowTexts{
    "N#Name ; Vorname",
    "TEL;WORK#Telefon dienstlich",
    "TEL;HOME#Telefon privat",
    "TEL;CELL#Mobil",
    "TEL;FAX#Fax",
    "EMAIL#E-mail - Adresse",
    "BDAY#Geburtstag (Meldezeit)",
    "NOTE#Notizen",
};

struct Row {
  std::string_view key;
  std::string_view label;
};

constexpr std::array<Row, 8> makeRows() {
  std::array<Row, 8> rows{};
  for (std::size_t i = 0; i < rowTexts.size(); ++i) {
    std::string_view text = rowTexts[i];
    std::size_t hash = text.find('#');
    rows[i] = {text.substr(0, hash), text.substr(hash + 1)};
  }
  return rows;
}

constexpr std::array<Row, 8> rows = makeRows();

// For each first letter, the rows whose key starts with it, in table order
// (0 marks an unused place), so a line is compared only with keys it may have.
using RowList = std::array<int, 8>;
constexpr std::array<RowList, 256> makeRowsByFirstLetter() {
  std::array<RowList, 256> table{};
  for (std::size_t i = 0; i < rows.size(); ++i) {
    RowList& list = table[static_cast<unsigned char>(rows[i].key.front())];
    std::size_t place = 0;
    while (list[place] != 0) ++place;
    list[place] = static_cast<int>(i) + 1;
  }
  return table;
}

constexpr std::array<RowList, 256> rowsByFirstLetter = makeRowsByFirstLetter();

}  // namespace

std::optional<std::string_view> fieldKey(int row) {
  if (row < 1 || row > fieldCount()) return std::nullopt;
  return rows[static_cast<std::size_t>(row - 1)].key;
}

std::optional<std::string_view> fieldLabel(int row) {
  if (row < 1 || row > fieldCount()) return std::nullopt;
  return rows[static_cast<std::size_t>(row - 1)].label;
}

int ownField(std::string_view line) {
  if (line.empty()) return 0;
  for (int row : rowsByFirstLetter[static_cast<unsigned char>(line.front())]) {
    if (row == 0) break;
    std::string_view key = rows[static_cast<std::size_t>(row - 1)].key;
    if (line.size() > key.size() && line[key.size()] == ':' && line.starts_with(key)) return row;
  }
  return 0;
}

}  // namespace addressbook
