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

bool allDigits(std::string_view text) {
  return !text.empty() && std::ranges::all_of(text, [](char c) { return c >= '0' && c <= '9'; });
}

int numberOf(std::string_view digits) {
  int number = 0;
  std::from_chars(digits.data(), digits.data() + digits.size(), number);
  return number;
}

struct Date {
  int year, month, day;
};

// YYYY-MM-DD, YYYYMMDD, --MMDD, --MM-DD.
std::optional<Date> vcardDate(std::string_view text) {
  std::string digits;
  bool noYear = text.starts_with("--");
  if (noYear) text.remove_prefix(2);
  for (char c : text) {
    if (c != '-') digits += c;
  }
  if (!allDigits(digits) || digits.size() != (noYear ? 4U : 8U)) return std::nullopt;
  if (!noYear && text.find('-') != std::string_view::npos &&
      (text.size() != 10 || text[4] != '-' || text[7] != '-')) {
    return std::nullopt;
  }
  std::string_view all = digits;
  Date date{noYear ? 0 : numberOf(all.substr(0, 4)), numberOf(all.substr(all.size() - 4, 2)),
            numberOf(all.substr(all.size() - 2))};
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return std::nullopt;
  return date;
}

// HH:MM or HHMM at the start of text, whatever follows (seconds, a zone).
std::optional<std::pair<int, int>> vcardTime(std::string_view text) {
  std::string_view hours = text.substr(0, 2);
  text.remove_prefix(hours.size());
  if (text.starts_with(':')) text.remove_prefix(1);
  std::string_view minutes = text.substr(0, 2);
  if (!allDigits(hours) || hours.size() != 2 || !allDigits(minutes) || minutes.size() != 2)
    return std::nullopt;
  int hour = numberOf(hours);
  int minute = numberOf(minutes);
  if (hour > 23 || minute > 59) return std::nullopt;
  return std::pair{hour, minute};
}

}  // namespace

bool isPlainFileBirthday(std::string_view value) {
  auto number = [&](std::size_t at, int highest) {
    std::string_view digits = value.substr(at, 2);
    return digits.size() == 2 && allDigits(digits) && numberOf(digits) <= highest;
  };
  if (value.size() != 10 && value.size() != 16 && value.size() != 19) return false;
  bool date = allDigits(value.substr(0, 4)) && value[4] == '-' && value[7] == '-' &&
              number(5, 12) && numberOf(value.substr(5, 2)) >= 1 && number(8, 31) &&
              numberOf(value.substr(8, 2)) >= 1;
  if (!date || value.size() == 10) return date;
  bool time = value[10] == 'T' && number(11, 23) && value[13] == ':' && number(14, 59);
  return time && (value.size() == 16 || (value[16] == ':' && number(17, 59)));
}

std::optional<std::string> readVcardBirthday(std::string_view value) {
  value = trimBlanks(value);
  std::size_t t = value.find('T');
  auto date = vcardDate(value.substr(0, t));
  if (!date) return std::nullopt;
  char text[64];
  char* end = putPadded(text, date->day, 2);
  *end++ = '.';
  end = putPadded(end, date->month, 2);
  *end++ = '.';
  end = putPadded(end, date->year, 4);
  if (t != std::string_view::npos) {
    if (auto time = vcardTime(value.substr(t + 1))) {
      std::memcpy(end, " ; ", 3);
      end = putPadded(end + 3, time->first, 2);
      *end++ = ':';
      end = putPadded(end, time->second, 2);
    }
  }
  return std::string(text, static_cast<std::size_t>(end - text));
}

std::string writeVcardBirthday(std::string_view display) {
  std::string value(display);
  if (value.empty() || part(value, ';', 1).find('-') != std::string_view::npos) return {};
  displayToFile(value);
  if (value.empty() || value.find('T') != std::string::npos) return value;
  // Without a time the program's file form stays the display form; vCard
  // wants the ISO date.
  std::string_view text = value;
  char iso[64];
  char* end = putPadded(iso, leadingNumber(part(text, '.', 3)), 4);
  *end++ = '-';
  end = putPadded(end, leadingNumber(part(text, '.', 2)), 2);
  *end++ = '-';
  end = putPadded(end, leadingNumber(part(text, '.', 1)), 2);
  return std::string(iso, static_cast<std::size_t>(end - iso));
}

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
