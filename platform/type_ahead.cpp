#include "platform/type_ahead.h"

#include <algorithm>
#include <string>
#include <vector>

#include "text/cp1252.h"

namespace platform {

namespace {

bool startsWithIgnoringCase(std::string_view text, std::string_view upperPrefix) {
  if (text.size() < upperPrefix.size()) return false;
  return std::ranges::equal(text.substr(0, upperPrefix.size()), upperPrefix,
                            [](char a, char b) { return text::cp1252::toUpper(a) == b; });
}

}  // namespace

int typeAheadRow(const TableContent& content, int currentRow, std::string_view typed) {
  std::vector<char32_t> letters;
  text::cp1252::forEachCharacter(typed, [&](char32_t letter) { letters.push_back(letter); });
  int rows = content.rowCount();
  if (letters.empty() || rows <= 0) return 0;

  bool oneLetterAgain = letters.size() > 1 && std::ranges::all_of(letters, [&](char32_t letter) {
                          return letter == letters.front();
                        });
  std::string wanted;
  if (oneLetterAgain) {
    text::cp1252::appendCharacter(wanted, letters.front());
  } else {
    wanted = typed;
  }
  wanted = text::cp1252::toUpper(wanted);

  bool startsBelow = letters.size() == 1 || oneLetterAgain;
  int first = startsBelow ? currentRow + 1 : currentRow;
  if (first < 1 || first > rows) first = 1;
  for (int step = 0; step < rows; ++step) {
    int row = (first - 1 + step) % rows + 1;
    if (startsWithIgnoringCase(content.cell(row, 1), wanted)) return row;
  }
  return 0;
}

}  // namespace platform
