// convertBirthday on any bytes, and on its own results. A file-form value
// read into a display form with a time, once written back and read again,
// must keep its date and then stay the same on every further save and read.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "addressbook/birthday.h"
#include "fuzz/fuzz_check.h"

namespace {

using fuzzing::check;
using fuzzing::checkEqual;

std::string converted(std::string_view value) {
  std::string result(value);
  addressbook::convertBirthday(result);
  return result;
}

// The text before the first ";", where the date stands.
std::string_view dateText(std::string_view value) { return value.substr(0, value.find(';')); }

// The date of a display form: the text before the first ";", without blanks.
std::string datePart(std::string_view display) {
  std::string date(dateText(display));
  std::erase(date, ' ');
  return date;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  std::string display = converted(input);
  std::string again = converted(display);
  static_cast<void>(converted(again));

  check(!input.empty() || display.empty(), "an empty birthday stays empty");

  // Read from the file form (a "-" before the first ";"): the record now
  // holds a display form. Only one with a time is a value that the writer
  // turns into the file form again.
  bool fromFile = dateText(input).find('-') != std::string_view::npos;
  if (!fromFile) return 0;
  check(!display.empty(), "a file-form birthday always gives a display form");
  check(dateText(display).find('-') == std::string_view::npos,
        "a display form is not taken for the file form");
  if (display.find(" ; ") == std::string::npos) return 0;

  // again is what a save writes: the file form with the time, the display
  // form when nothing stands between the first and the next ";", or empty
  // when the time is not one.
  if (again.empty()) return 0;
  std::string reread = converted(again);
  checkEqual(datePart(reread), datePart(display), "the date survives a save and a read");
  checkEqual(converted(reread), again, "a second save writes the same value");
  return 0;
}
