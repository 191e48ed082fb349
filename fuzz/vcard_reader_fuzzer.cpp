// The bytes as an address file: read as a load reads it, saved, and the saved
// text read again as the next load would. Checks what a save and reload must
// keep: one card per record, in order; every value of a record the program
// wrote as the store held it (up to the UTF-8 letters, which every read
// converts again); every card of another program kept, showing what it
// showed; and, with one field of each such card changed, the new value.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "addressbook/birthday.h"
#include "addressbook/field_table.h"
#include "addressbook/file_text.h"
#include "addressbook/record_store.h"
#include "addressbook/vcard_reader.h"
#include "addressbook/vcard_writer.h"
#include "fuzz/fuzz_check.h"

namespace {

using addressbook::RecordStore;
using fuzzing::check;
using fuzzing::checkEqual;

bool isDigits(std::string_view text) {
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return !text.empty();
}

int number(std::string_view digits) {
  int value = 0;
  for (char c : digits) value = value * 10 + (c - '0');
  return value;
}

// A birthday as the program itself writes it into the record: DD.MM.YYYY
// with a valid day and month, optionally " ; HH:MM" with a valid time. Such a
// value must come back from a save unchanged.
bool isPlainBirthday(std::string_view value) {
  if (value.size() != 10 && value.size() != 18) return false;
  std::string_view day = value.substr(0, 2);
  std::string_view month = value.substr(3, 2);
  std::string_view year = value.substr(6, 4);
  if (!isDigits(day) || value[2] != '.' || !isDigits(month) || value[5] != '.' || !isDigits(year)) {
    return false;
  }
  if (number(day) < 1 || number(day) > 31 || number(month) < 1 || number(month) > 12) return false;
  if (value.size() == 10) return true;
  std::string_view hour = value.substr(13, 2);
  std::string_view minute = value.substr(16, 2);
  return value.substr(10, 3) == " ; " && isDigits(hour) && value[15] == ':' && isDigits(minute) &&
         number(hour) <= 23 && number(minute) <= 59;
}

RecordStore readAsLoad(std::string text) {
  addressbook::prepareFileText(text);
  std::size_t cards = addressbook::countCards(text);
  RecordStore store = addressbook::readCards(std::move(text), cards);
  check(store.hasSlots(), "a read store has slots");
  check(store.capacity() == addressbook::capacityFor(cards), "capacity follows the card count");
  return store;
}

// Whether text holds a CR or LF that is not part of a CR LF.
bool holdsLoneLineBreak(std::string_view text) {
  for (std::size_t i = 0; i < text.size(); ++i) {
    bool pairedCr = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
    bool pairedLf = text[i] == '\n' && i > 0 && text[i - 1] == '\r';
    if ((text[i] == '\r' && !pairedCr) || (text[i] == '\n' && !pairedLf)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  RecordStore first = readAsLoad(text);

  std::size_t records = 0;
  for (std::size_t slot = 1; slot <= first.capacity(); ++slot) {
    if (first.holdsRecord(slot)) ++records;
  }

  std::string saved = addressbook::addressFileText(first);
  check(saved.empty() == (records == 0), "a save without records writes no bytes");

  // The next load prepares the saved text; the writer ends every line with
  // CR LF, so that must change nothing.
  std::string normalised = saved;
  addressbook::prepareFileText(normalised);
  checkEqual(normalised, saved, "the line ends of a saved file need no normalising");
  check(addressbook::countCards(saved) == records, "a saved file holds one card per record");

  RecordStore second = readAsLoad(saved);
  std::size_t row = 0;
  for (std::size_t slot = 1; slot <= first.capacity(); ++slot) {
    if (!first.holdsRecord(slot)) continue;
    ++row;
    check(second.holdsRecord(row), "every saved record is read back as a record");
    if (!first.card(slot).empty()) {
      check(!second.card(row).empty(), "a card of another program stays one");
      if (holdsLoneLineBreak(first.card(slot))) continue;  // saved as a blank
      for (int f = 1; f <= addressbook::fieldCount(); ++f) {
        checkEqual(second.field(row, f), first.field(slot, f), "a kept card shows the same");
      }
      continue;
    }
    for (int f = 1; f <= addressbook::fieldCount(); ++f) {
      std::string_view before = first.field(slot, f);
      std::string_view after = second.field(row, f);
      if (f != addressbook::field::birthday) {
        // A lone CR or LF inside a value is written as a blank (a value holds
        // no CR LF pair: the reader splits lines there).
        std::string expected(before);
        std::replace_if(
            expected.begin(), expected.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
        addressbook::convertUtf8Letters(expected);
        checkEqual(after, expected, "a value survives save and reload");
        continue;
      }
      std::string written(before);
      addressbook::convertBirthday(written);
      if (written.empty()) {
        checkEqual(after, "", "a birthday the file cannot take is saved empty");
      } else if (after.empty()) {
        std::fprintf(stderr, "\nbirthday in the record ");
        fuzzing::printEscaped(before);
        std::fprintf(stderr, ", written as ");
        fuzzing::printEscaped(written);
        fuzzing::fail("a birthday written to the file is read back");
      }
      if (isPlainBirthday(before)) checkEqual(after, before, "a plain birthday survives a save");
    }
  }

  // A changed field of a kept card: the next read shows the new value.
  const std::string_view number = "0170 5550123";
  std::size_t changed = 0;
  for (std::size_t slot = 1; slot <= first.capacity(); ++slot) {
    if (first.holdsRecord(slot) && !first.card(slot).empty()) {
      first.setField(slot, addressbook::field::mobile, number);
      ++changed;
    }
  }
  if (changed == 0) return 0;
  RecordStore third = readAsLoad(addressbook::addressFileText(first));
  row = 0;
  for (std::size_t slot = 1; slot <= first.capacity(); ++slot) {
    if (!first.holdsRecord(slot)) continue;
    ++row;
    check(third.holdsRecord(row), "a changed card is read back as a record");
    if (!first.card(slot).empty()) {
      checkEqual(third.field(row, addressbook::field::mobile), number, "a changed number is read");
    }
  }
  return 0;
}
