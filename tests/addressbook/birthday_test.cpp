#include "addressbook/birthday.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

struct Case {
  std::string_view value;
  std::string_view converted;
};

void expectConversions(std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    std::string value(c.value);
    std::string& result = addressbook::convertBirthday(value);
    EXPECT_EQ(value, c.converted) << "from \"" << c.value << "\"";
    EXPECT_EQ(&result, &value);
  }
}

TEST(ConvertBirthday, fileFormToDisplayForm) {
  expectConversions({
      {"", ""},
      {"1961-03-07", "07.03.1961"},
      {"1961-03-07T08:30", "07.03.1961 ; 08:30"},
      {"1961-3-7", "07.03.1961"},
      {"1961-03-07T08:30:00Z", "07.03.1961 ; 08:30:00Z"},  // the time is copied as it is
      {"1953-10-15T23:10:00Z", "15.10.1953 ; 23:10:00Z"},
      {"1961-03-07T08:30T99", "07.03.1961 ; 08:30"},  // up to the next T
      {"1961-03-07T", "07.03.1961"},
      {"--03-07", "03.00.0000"},
      {"--0203", "203.00.0000"},  // longer numbers keep their digits
      {"7-3", "00.03.0007"},      // a missing part counts 0
      {"-", "00.00.0000"},
      {"12345-1-1", "01.01.12345"},
      {" 1961- 03-\t07", "07.03.1961"},  // blanks and tabs before a number
      {"x-y-z", "00.00.0000"},
      {"2000-02-31", "31.02.2000"},  // the length of the month is not checked
      {"1987-09-27T08:30:00-06:00", "27.09.1987 ; 08:30:00-06:00"},
  });
}

TEST(ConvertBirthday, displayFormToFileForm) {
  expectConversions({
      {"07.03.1961 ; 08:30", "1961-03-07T08:30"},
      {"07.03.1961;8:30", "1961-03-07T08:30"},
      {"7.3.1961 ; 8:5", "1961-03-07T08:05"},
      {"07.03.1961 ; 08:30:15", "1961-03-07T08:30:15"},
      {"07.03.1961 ; 08:30:00", "1961-03-07T08:30"},  // seconds only when not 0
      {"07.03.1961;23:59:59", "1961-03-07T23:59:59"},
      {"07.03.1961;00:00", "1961-03-07T00:00"},
      {"07.03.61;08:30", "0061-03-07T08:30"},
      {"07.03.1961 ; 08:30 ; 5", "1961-03-07T08:30"},           // the time ends at the next ";"
      {"0 7 . 0 3 . 1 9 6 1 ; 0 8 : 3 0", "1961-03-07T08:30"},  // every blank goes first
      // without a time the value stays in display form, only without blanks
      {"07.03.1961", "07.03.1961"},
      {" 07 . 03 . 1961 ", "07.03.1961"},
      {"7.3.61", "7.3.61"},
      {"07.03.1961;", "07.03.1961;"},
      {"31.12.0", "31.12.0"},
      {"30.02.1961", "30.02.1961"},
  });
}

TEST(ConvertBirthday, rejectedDisplayFormsBecomeEmpty) {
  expectConversions({
      {"31.13.1961", ""},
      {"32.01.2000", ""},
      {"00.01.2000", ""},
      {"01.00.2000", ""},
      {"07.03.1961 ; 24:00", ""},
      {"07.03.1961 ; 23:60", ""},
      {"07.03.1961 ; 23:59:60", ""},
      {"07.03.1961 ; 0830", ""},  // no time colon
      {"07.03.1961 ; x", ""},
      {"07.03", ""},  // not three parts
      {"1.2.3.4", ""},
      {"19801025", ""},
      {"circa 1800", ""},
      {"   ", ""},
      {"a.b.c", ""},
  });
}

TEST(ConvertBirthday, displayFormsWithATimeGoBackAndForth) {
  for (std::string_view display : {"07.03.1961 ; 08:30", "01.12.2000 ; 23:59:01"}) {
    std::string value(display);
    addressbook::convertBirthday(value);
    addressbook::convertBirthday(value);
    EXPECT_EQ(value, display);
  }
}

TEST(ConvertBirthday, aUtcOffsetInTheTimeDoesNotMakeADisplayFormAFileForm) {
  expectConversions({{"1987-09-27T08:30:00-06:00", "27.09.1987 ; 08:30:00-06:00"},
                     {"27.09.1987 ; 08:30:00-06:00", "1987-09-27T08:30"},
                     {"27.09.1987;-", ""}});
}

}  // namespace
