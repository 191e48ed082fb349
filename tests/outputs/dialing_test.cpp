#include "outputs/dialing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "table/control_ids.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_serial_port.h"
#include "tests/fakes/fake_window.h"

namespace {

using platform::ControlId;
namespace control = table::control;
using Lines = std::vector<std::string>;

struct DialingFixture : ::testing::Test {
  DialingFixture() {
    EXPECT_TRUE(port.open("COM3"));
    window.setText(control::workPhoneEdit, "0711 / 123-45");
    window.setText(control::homePhoneEdit, "+49 (30) 555*1#");
    window.setText(control::mobileEdit, "");
  }
  void click(ControlId id) { outputs::phoneCommand(id, connection, window, dialogs); }

  testing_support::FakeSerialPort port;
  outputs::PhoneConnection connection{port};
  testing_support::FakeWindow window;
  testing_support::FakeDialogs dialogs;
};

TEST_F(DialingFixture, eachButtonSendsItsCommandLineInOneWrite) {
  const std::vector<std::pair<ControlId, std::string>> cases = {
      {control::dialWorkButton, "ATD0711 / 123-45\r\n"},
      {control::dialHomeButton, "ATD+49 (30) 555*1#\r\n"},
      {control::dialMobileButton, "ATD\r\n"},
      {control::hangUpWorkButton, "ATH\r\n"},
      {control::hangUpHomeButton, "ATH\r\n"},
      {control::hangUpMobileButton, "ATH\r\n"},
  };
  for (const auto& [button, line] : cases) {
    SCOPED_TRACE(platform::toInt(button));
    port.written.clear();
    click(button);
    EXPECT_EQ(port.written, Lines{line});
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

// A number from a file may hold line breaks and other control characters;
// one click must still send exactly one command line, and nothing in it but
// a number: ";" would end the dial command and run the rest as commands.
TEST_F(DialingFixture, aDialButtonSendsOnlyWhatANumberMayHold) {
  const std::string refused;  // nothing sent, the user is told
  struct Number {
    std::string number, line;
  };
  const std::vector<Number> cases = {
      {"030\r\n555\n1\n", "ATD0305551\r\n"},
      {std::string("\x1B"
                   "0171\t23\0"
                   "4\x7F"
                   "5\x01",
                   13),
       "ATD01712345\r\n"},
      {"\r\n", "ATD\r\n"},
      {"T 0711,,123 / 45-6 (0)", "ATDT 0711,,123 / 45-6 (0)\r\n"},
      {"p0W0711", "ATDp0W0711\r\n"},
      {"0711 123;+CCFC=0,3,\"+49900123456\"", refused},
      {"0711\rAT+CMGS=\"+49900123\"\rATD09001234567", refused},
      {"0711;", refused},
      {"W0711", refused},
      {"0T711", refused},
      {"0711 123 Zentrale", refused},
      {"+49 (30) 555\xB7"
       "1",
       refused},
      {"\x80\xA0\xFF", refused},
  };
  const testing_support::ShownMessage notDialable{std::string(outputs::notDialableText), "Stop",
                                                  platform::MessageButtons::ok,
                                                  platform::MessageIcon::none};
  for (const Number& c : cases) {
    SCOPED_TRACE(c.number);
    port.written.clear();
    dialogs.messages.clear();
    window.setText(control::mobileEdit, c.number);
    click(control::dialMobileButton);
    if (c.line.empty()) {
      EXPECT_TRUE(port.written.empty());
      EXPECT_EQ(dialogs.messages, std::vector<testing_support::ShownMessage>{notDialable});
    } else {
      EXPECT_EQ(port.written, Lines{c.line});
      EXPECT_TRUE(dialogs.messages.empty());
    }
  }
}

TEST_F(DialingFixture, theFieldIsDialledAsTypedAndTwiceWhenClickedTwice) {
  window.setText(control::workPhoneEdit, " 0 8 9 ");
  click(control::dialWorkButton);
  click(control::dialWorkButton);
  EXPECT_EQ(port.written, (Lines{"ATD 0 8 9 \r\n", "ATD 0 8 9 \r\n"}));
}

TEST_F(DialingFixture, theTelephonesAnswerIsLeftUnread) {
  port.waiting = "OK\r\n";
  click(control::dialWorkButton);
  EXPECT_EQ(port.waiting, "OK\r\n");
}

TEST_F(DialingFixture, withoutConnectionNothingIsSentAndTheUserIsTold) {
  port.close();
  click(control::dialHomeButton);
  click(control::hangUpMobileButton);
  EXPECT_TRUE(port.written.empty());
  const testing_support::ShownMessage notReady{
      "COM-Port nicht bereit !", "Stop", platform::MessageButtons::ok, platform::MessageIcon::none};
  EXPECT_EQ(dialogs.messages, (std::vector<testing_support::ShownMessage>{notReady, notReady}));
}

TEST_F(DialingFixture, aFailedWriteIsNotReportedAndKeepsTheConnection) {
  port.writeSucceeds = false;
  click(control::dialMobileButton);
  EXPECT_EQ(port.written, Lines{"ATD\r\n"});
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(connection.isOpen());
  EXPECT_EQ(port.closes, 0);
}

TEST_F(DialingFixture, otherControlsAreNoPhoneCommands) {
  port.close();
  click(control::mailButton);
  click(control::workPhoneEdit);
  EXPECT_TRUE(port.written.empty());
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
