#include "addressbook/birthday.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "addressbook/numbers.h"

namespace addressbook {

namespace {

// The text between the first marker and the next one (or the end).
std::string_view between(std::string_view text, char marker) {
  std::size_t first = text.find(marker);
  if (first == std::string_view::npos) return {};
  return part(text.substr(first + 1), marker, 1);
}

// Writes number in decimal, zero-padded to at least width digits, at out;
// returns the end. Room for 21 characters is needed.
char* putPadded(char* out, std::int64_t number, std::size_t width) {
  char digits[24];
  std::uint64_t magnitude =
      number < 0 ? 0 - static_cast<std::uint64_t>(number) : static_cast<std::uint64_t>(number);
  char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  auto length = static_cast<std::size_t>(end - digits);
  if (number < 0) *out++ = '-';
  for (; length < width; --width) *out++ = '0';
  std::memcpy(out, digits, length);
  return out + length;
}

void fileToDisplay(std::string& value) {
  std::string_view text = value;
  std::int64_t year = leadingNumber(part(text, '-', 1));
  std::int64_t month = leadingNumber(part(text, '-', 2));
  std::int64_t day = leadingNumber(part(text, '-', 3));
  std::string_view time = between(text, 'T');
  char date[80];
  char* end = putPadded(date, day, 2);
  *end++ = '.';
  end = putPadded(end, month, 2);
  *end++ = '.';
  end = putPadded(end, year, 4);
  auto dateLength = static_cast<std::size_t>(end - date);
  if (time.empty()) {
    value.assign(date, dateLength);
    return;
  }
  // The time stays where it is in value; the date and " ; " replace what
  // stands before it, and what follows it goes.
  auto timeStart = static_cast<std::size_t>(time.data() - value.data());
  value.resize(timeStart + time.size());
  std::memcpy(end, " ; ", 3);
  value.replace(0, timeStart, date, dateLength + 3);
}

void displayToFile(std::string& value) {
  std::erase(value, ' ');
  std::string_view text = value;
  std::string_view date = part(text, ';', 1);
  if (std::count(date.begin(), date.end(), '.') != 2) return value.clear();
  std::int64_t day = leadingNumber(part(date, '.', 1));
  std::int64_t month = leadingNumber(part(date, '.', 2));
  std::int64_t year = leadingNumber(part(date, '.', 3));
  if (month < 1 || month > 12 || day < 1 || day > 31) return value.clear();
  std::string_view time = between(text, ';');
  if (time.empty()) return;
  if (time.find(':') == std::string_view::npos) return value.clear();
  std::int64_t hours = leadingNumber(part(time, ':', 1));
  std::int64_t minutes = leadingNumber(part(time, ':', 2));
  std::int64_t seconds = leadingNumber(part(time, ':', 3));
  if (hours > 23 || minutes > 59 || seconds > 59) return value.clear();
  char iso[128];
  char* end = putPadded(iso, year, 4);
  *end++ = '-';
  end = putPadded(end, month, 2);
  *end++ = '-';
  end = putPadded(end, day, 2);
  *end++ = 'T';
  end = putPadded(end, hours, 2);
  *end++ = ':';
  end = putPadded(end, minutes, 2);
  if (seconds != 0) {
    *end++ = ':';
    end = putPadded(end, seconds, 2);
  }
  value.assign(iso, static_cast<std::size_t>(end - iso));
}

}  // namespace

std::string& convertBirthday(std::string& value) {
  if (value.empty()) return value;
  if (part(value, ';', 1).find('-') != std::string_view::npos) {
    fileToDisplay(value);
  } else {
    displayToFile(value);
  }
  return value;
}

}  // namespace addressbook
