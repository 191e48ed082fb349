#include "addressbook/numbers.h"

#include <limits>

namespace addressbook {

std::int64_t leadingNumber(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  constexpr std::int64_t limit = std::numeric_limits<std::int64_t>::max();
  std::int64_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    int digit = text[i] - '0';
    value = value > (limit - digit) / 10 ? limit : value * 10 + digit;
  }
  return negative ? -value : value;
}

std::string padded(std::int64_t number, int width) {
  std::string digits = std::to_string(number < 0 ? -number : number);
  if (static_cast<int>(digits.size()) < width) {
    digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
  }
  return number < 0 ? "-" + digits : digits;
}

std::string withNumber(std::string_view text, std::int64_t number) {
  std::string result(text);
  result += std::to_string(number);
  return result;
}

std::string_view part(std::string_view text, char delimiter, int k) {
  for (int piece = 1;; ++piece) {
    std::size_t end = text.find(delimiter);
    if (piece == k) return text.substr(0, end);
    if (end == std::string_view::npos) return {};
    text.remove_prefix(end + 1);
  }
}

std::string_view trimBlanks(std::string_view text) {
  std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return {};
  std::size_t last = text.find_last_not_of(' ');
  return text.substr(first, last - first + 1);
}

}  // namespace addressbook
