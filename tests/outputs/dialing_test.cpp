#include "outputs/dialing.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_serial_port.h"
#include "tests/fakes/fake_window.h"

namespace {

using platform::ControlId;
using Lines = std::vector<std::string>;

struct DialingFixture : ::testing::Test {
  DialingFixture() {
    EXPECT_TRUE(port.open("COM3"));
    window.setText(ControlId::workPhoneEdit, "0711 / 123-45");
    window.setText(ControlId::homePhoneEdit,
                   "+49 (30) 555\xB7"
                   "1");
    window.setText(ControlId::mobileEdit, "");
  }
  void click(ControlId id) { outputs::phoneCommand(id, connection, window, dialogs); }

  testing_support::FakeSerialPort port;
  outputs::PhoneConnection connection{port};
  testing_support::FakeWindow window;
  testing_support::FakeDialogs dialogs;
};

TEST_F(DialingFixture, eachButtonSendsItsCommandLineInOneWrite) {
  const std::vector<std::pair<ControlId, std::string>> cases = {
      {ControlId::dialWorkButton, "ATD0711 / 123-45\r\n"},
      {ControlId::dialHomeButton,
       "ATD+49 (30) 555\xB7"
       "1\r\n"},
      {ControlId::dialMobileButton, "ATD\r\n"},
      {ControlId::hangUpWorkButton, "ATH\r\n"},
      {ControlId::hangUpHomeButton, "ATH\r\n"},
      {ControlId::hangUpMobileButton, "ATH\r\n"},
  };
  for (const auto& [button, line] : cases) {
    SCOPED_TRACE(platform::toInt(button));
    port.written.clear();
    click(button);
    EXPECT_EQ(port.written, Lines{line});
  }
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(DialingFixture, theFieldIsDialledAsTypedAndTwiceWhenClickedTwice) {
  window.setText(ControlId::workPhoneEdit, " 0 8 9 ");
  click(ControlId::dialWorkButton);
  click(ControlId::dialWorkButton);
  EXPECT_EQ(port.written, (Lines{"ATD 0 8 9 \r\n", "ATD 0 8 9 \r\n"}));
}

TEST_F(DialingFixture, theTelephonesAnswerIsLeftUnread) {
  port.waiting = "OK\r\n";
  click(ControlId::dialWorkButton);
  EXPECT_EQ(port.waiting, "OK\r\n");
}

TEST_F(DialingFixture, withoutConnectionNothingIsSentAndTheUserIsTold) {
  port.close();
  click(ControlId::dialHomeButton);
  click(ControlId::hangUpMobileButton);
  EXPECT_TRUE(port.written.empty());
  const testing_support::ShownMessage notReady{
      "COM-Port nicht bereit !", "Stop", platform::MessageButtons::ok, platform::MessageIcon::none};
  EXPECT_EQ(dialogs.messages, (std::vector<testing_support::ShownMessage>{notReady, notReady}));
}

TEST_F(DialingFixture, aFailedWriteIsNotReportedAndKeepsTheConnection) {
  port.writeSucceeds = false;
  click(ControlId::dialMobileButton);
  EXPECT_EQ(port.written, Lines{"ATD\r\n"});
  EXPECT_TRUE(dialogs.messages.empty());
  EXPECT_TRUE(connection.isOpen());
  EXPECT_EQ(port.closes, 0);
}

TEST_F(DialingFixture, otherControlsAreNoPhoneCommands) {
  port.close();
  click(ControlId::mailButton);
  click(ControlId::workPhoneEdit);
  EXPECT_TRUE(port.written.empty());
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
