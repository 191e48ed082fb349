#include "addressbook/birthday.h"

#include <algorithm>
#include <cstdint>
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

std::string fileToDisplay(std::string_view value) {
  std::int64_t year = leadingNumber(part(value, '-', 1));
  std::int64_t month = leadingNumber(part(value, '-', 2));
  std::int64_t day = leadingNumber(part(value, '-', 3));
  std::string result = padded(day, 2) + "." + padded(month, 2) + "." + padded(year, 4);
  std::string_view time = between(value, 'T');
  if (!time.empty()) result.append(" ; ").append(time);
  return result;
}

std::string displayToFile(std::string value) {
  std::erase(value, ' ');
  std::string_view text = value;
  std::string_view date = part(text, ';', 1);
  if (std::count(date.begin(), date.end(), '.') != 2) return {};
  std::int64_t day = leadingNumber(part(date, '.', 1));
  std::int64_t month = leadingNumber(part(date, '.', 2));
  std::int64_t year = leadingNumber(part(date, '.', 3));
  if (month < 1 || month > 12 || day < 1 || day > 31) return {};
  std::string_view time = between(text, ';');
  if (time.empty()) return value;
  if (time.find(':') == std::string_view::npos) return {};
  std::int64_t hours = leadingNumber(part(time, ':', 1));
  std::int64_t minutes = leadingNumber(part(time, ':', 2));
  std::int64_t seconds = leadingNumber(part(time, ':', 3));
  if (hours > 23 || minutes > 59 || seconds > 59) return {};
  std::string iso = padded(year, 4) + "-" + padded(month, 2) + "-" + padded(day, 2) + "T" +
                    padded(hours, 2) + ":" + padded(minutes, 2);
  if (seconds != 0) iso += ":" + padded(seconds, 2);
  return iso;
}

}  // namespace

std::string& convertBirthday(std::string& value) {
  if (value.empty()) return value;
  // Only a "-" in the date tells the file form: a display form's time may
  // carry a UTC offset such as 08:30:00-06:00, and taking that for a file
  // form would turn the birthday into nonsense on the next save.
  if (part(value, ';', 1).find('-') != std::string_view::npos) {
    value = fileToDisplay(value);
  } else {
    value = displayToFile(std::move(value));
  }
  return value;
}

}  // namespace addressbook
