#include "outputs/phone_connection.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/setting_keys.h"
#include "outputs/port_settings.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_serial_port.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/memory_profile_file.h"

namespace {

using platform::ControlId;
using testing_support::ShownMessage;

constexpr const char* configPath = "/cfg/zudedo.conf";

ShownMessage okBox(std::string text, std::string caption) {
  return {std::move(text), std::move(caption), platform::MessageButtons::ok,
          platform::MessageIcon::none};
}

// A telephone link with fake port, window, dialogs, clock and settings; the
// stored port starts as COM9 and the phone buttons start hidden.
struct PhoneBench {
  PhoneBench() {
    storedPortSetting.write("COM9");
    profile.writes.clear();
    outputs::setPhoneButtonsVisible(window, false);
  }

  void connect(std::string_view name) {
    outputs::connectPhone(name, connection, window, dialogs, storedPortSetting, clock);
  }
  [[nodiscard]] std::string storedPort() const { return storedPortSetting.read(); }
  void applyPortSettings(outputs::PhoneConnection& link, std::string_view entered) {
    outputs::applyPortSettings(entered, link, window, dialogs, storedPortSetting, clock);
  }
  [[nodiscard]] bool buttonsShown() const {
    for (ControlId id : outputs::phoneButtons) {
      if (!window.isVisible(id)) return false;
    }
    return true;
  }

  testing_support::FakeSerialPort port;
  outputs::PhoneConnection connection{port};
  testing_support::FakeWindow window;
  testing_support::FakeDialogs dialogs;
  testing_support::FakeClock clock;
  testing_support::MemoryProfileFile profile;
  platform::Settings settings{profile, configPath};
  platform::Setting storedPortSetting{settings, app::setting::telephonePort};
};

struct PhoneFixture : ::testing::Test, PhoneBench {};

struct PortNameCase {
  std::string entry;
  std::optional<std::string> opened;    // the port name handed to the port
  std::optional<ShownMessage> message;  // the one message box, if any
};

TEST_F(PhoneFixture, portEntriesAreNormalizedOrRejected) {
  const std::vector<PortNameCase> cases = {
      {"com3", "COM3", {}},
      {"COM03", "COM3", {}},
      {"  COM12 ", "COM12", {}},
      {"COM3:", "COM3", {}},
      {"COM 7", "COM7", {}},
      {"COM\t\n4", "COM4", {}},
      {"COM3.6", "COM4", {}},
      {"COM2.5", "COM3", {}},
      {"COM.5", "COM1", {}},
      {"COM1e1", "COM10", {}},
      {"COM", {}, okBox("COM", "COMx ?")},
      {"COM0", {}, okBox("COM0", "COMx ?")},
      {"COM0.4", {}, okBox("COM0.4", "COMx ?")},
      {"LPT1", {}, okBox("LPT1", "COMx ?")},
      {"COMx", {}, okBox("COMX", "COMx ?")},
      {"com-3", {}, okBox("COM-3", "COMx ?")},
      {"COM99999999999", {}, okBox("COM99999999999", "COMx ?")},
      {"COM1e999", {}, okBox("COM1E999", "COMx ?")},
      {"CO", {}, okBox("CO", "COMx ?")},
      {"\tCOM3", {}, okBox("\tCOM3", "COMx ?")},
      {"   ", {}, okBox("", "COMx ?")},
      {"c\xF4m1", {}, okBox("C\xD4M1", "COMx ?")},
      {"", {}, {}},
  };
  for (const PortNameCase& testCase : cases) {
    SCOPED_TRACE("entry \"" + testCase.entry + "\"");
    PhoneBench fixture;
    fixture.connect(testCase.entry);

    std::vector<std::string> expectedOpened;
    if (testCase.opened) expectedOpened.push_back(*testCase.opened);
    EXPECT_EQ(fixture.port.opened, expectedOpened);
    EXPECT_EQ(fixture.storedPort(), testCase.opened.value_or("COM9"));
    std::vector<ShownMessage> expectedMessages;
    if (testCase.message) expectedMessages.push_back(*testCase.message);
    EXPECT_EQ(fixture.dialogs.messages, expectedMessages);
    EXPECT_EQ(fixture.buttonsShown(), testCase.opened.has_value());
    EXPECT_EQ(fixture.port.isOpen(), testCase.opened.has_value());
    if (!testCase.opened) {
      EXPECT_TRUE(fixture.port.written.empty());
    }
  }
}

struct ProbeCase {
  std::string name;
  std::string answer;
  bool lineError;
  bool found;
};

TEST_F(PhoneFixture, probeAcceptsOnlyAnAnswerHoldingOk) {
  const std::vector<ProbeCase> cases = {
      {"plain OK", "OK\r\n", false, true},
      {"echo before OK", "AT\r\r\nOK\r\n", false, true},
      {"OK inside other text", "xxOKxx", false, true},
      {"lower-case ok", "ok\r\n", false, false},
      {"no answer", "", false, false},
      {"error answer", "ERROR\r\n", false, false},
      {"line error", "OK\r\n", true, false},
  };
  for (const ProbeCase& testCase : cases) {
    SCOPED_TRACE(testCase.name);
    PhoneBench fixture;
    fixture.port.answerToProbe = testCase.answer;
    fixture.port.lineError = testCase.lineError;
    fixture.connect("COM3");

    EXPECT_EQ(fixture.port.written, std::vector<std::string>{"AT\r\n"});
    EXPECT_EQ(fixture.clock.sleeps, std::vector<int>{200});
    EXPECT_EQ(fixture.port.isOpen(), testCase.found);
    EXPECT_EQ(fixture.buttonsShown(), testCase.found);
    if (testCase.found) {
      EXPECT_EQ(fixture.storedPort(), "COM3");
      EXPECT_TRUE(fixture.dialogs.messages.empty());
      EXPECT_TRUE(fixture.port.waiting.empty()) << "the whole answer is taken";
    } else {
      EXPECT_EQ(fixture.storedPort(), "COM9");
      EXPECT_TRUE(fixture.profile.writes.empty());
      EXPECT_EQ(fixture.dialogs.messages,
                std::vector<ShownMessage>{okBox("COM3", "kein Telefon gefunden !")});
    }
  }
}

TEST_F(PhoneFixture, portThatCannotBeOpenedIsNamedAndNotProbed) {
  port.openSucceeds = false;
  connect(" com03");
  EXPECT_EQ(port.opened, std::vector<std::string>{"COM3"});
  EXPECT_TRUE(port.written.empty());
  EXPECT_TRUE(clock.sleeps.empty());
  EXPECT_EQ(dialogs.messages, std::vector<ShownMessage>{okBox("COM3", "Open ?")});
  EXPECT_EQ(storedPort(), "COM9");
  EXPECT_FALSE(buttonsShown());
}

// The wait must fall between the command and the look at the answer.
TEST_F(PhoneFixture, answerIsCountedOnlyAfterTheWait) {
  struct LateTelephone : testing_support::FakeSerialPort {
    explicit LateTelephone(testing_support::FakeClock& clock) : clock_(clock) {}
    bool write(std::string_view bytes) override {
      written.emplace_back(bytes);
      writtenAt = clock_.tick;
      return true;
    }
    [[nodiscard]] std::size_t bytesWaiting() override {
      if (clock_.tick >= writtenAt + 200) waiting = "OK\r\n";
      return waiting.size();
    }
    testing_support::FakeClock& clock_;
    std::uint32_t writtenAt = 0;
  } telephone{clock};
  outputs::PhoneConnection late{telephone};
  outputs::connectPhone("COM5", late, window, dialogs, storedPortSetting, clock);
  EXPECT_TRUE(telephone.isOpen());
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PhoneFixture, anOpenConnectionIsClosedBeforeEveryAttempt) {
  connect("COM3");
  ASSERT_TRUE(port.isOpen());
  EXPECT_EQ(port.closes, 0);

  connect("COM3");  // the same port again: closed, reopened, probed again
  EXPECT_EQ(port.closes, 1);
  EXPECT_EQ(port.opened, (std::vector<std::string>{"COM3", "COM3"}));
  EXPECT_EQ(port.written, (std::vector<std::string>{"AT\r\n", "AT\r\n"}));
  EXPECT_TRUE(port.isOpen());

  connect("");
  EXPECT_EQ(port.closes, 2);
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(port.opened.size(), 2U);
  EXPECT_TRUE(dialogs.messages.empty());
}

TEST_F(PhoneFixture, buttonsAreExactlyTheSixPhoneButtons) {
  window.visible.clear();
  outputs::setPhoneButtonsVisible(window, false);
  std::vector<int> hidden;
  for (const auto& [id, shown] : window.visible) {
    EXPECT_FALSE(shown);
    hidden.push_back(platform::toInt(id));
  }
  EXPECT_EQ(hidden, (std::vector<int>{1300, 1301, 1302, 1303, 1304, 1350}));
}

// --- the settings dialog ----------------------------------------------------

// A port that notes, at the moment it is opened, what the user would see.
struct WatchedPort : testing_support::FakeSerialPort {
  bool open(std::string_view portName) override {
    if (onOpen) onOpen();
    return FakeSerialPort::open(portName);
  }
  std::function<void()> onOpen;
};

TEST_F(PhoneFixture, anEnteredPortIsTriedAfterTheButtonsAndTheStoredPortAreCleared) {
  WatchedPort watchedPort;
  outputs::PhoneConnection watched{watchedPort};
  outputs::connectPhone("COM2", watched, window, dialogs, storedPortSetting, clock);
  ASSERT_TRUE(buttonsShown());
  profile.writes.clear();

  std::optional<std::string> storedAtOpen;
  bool buttonsShownAtOpen = true;
  watchedPort.onOpen = [&] {
    storedAtOpen = storedPort();
    buttonsShownAtOpen = buttonsShown();
  };
  applyPortSettings(watched, "com5");

  EXPECT_EQ(storedAtOpen, "");
  EXPECT_FALSE(buttonsShownAtOpen);
  EXPECT_EQ(watchedPort.closes, 1);
  EXPECT_EQ(watchedPort.opened, (std::vector<std::string>{"COM2", "COM5"}));
  EXPECT_EQ(profile.writes,
            (std::vector<std::pair<std::string, std::string>>{{"comx", ""}, {"comx", "COM5"}}));
  EXPECT_TRUE(buttonsShown());
}

TEST_F(PhoneFixture, failedAttemptFromTheDialogLeavesNoStoredPort) {
  port.answerToProbe = "";
  applyPortSettings(connection, "COM4");
  EXPECT_EQ(storedPort(), "");
  EXPECT_FALSE(buttonsShown());
  EXPECT_FALSE(port.isOpen());
  EXPECT_EQ(dialogs.messages, std::vector<ShownMessage>{okBox("COM4", "kein Telefon gefunden !")});
}

TEST_F(PhoneFixture, emptyEntryHidesButtonsClearsThePortAndTriesNothing) {
  connect("COM3");
  ASSERT_TRUE(buttonsShown());
  applyPortSettings(connection, "");
  EXPECT_FALSE(buttonsShown());
  EXPECT_EQ(storedPort(), "");
  EXPECT_EQ(port.opened, std::vector<std::string>{"COM3"});
  EXPECT_TRUE(port.isOpen()) << "the connection stays open until the next attempt";
  EXPECT_TRUE(dialogs.messages.empty());
}

}  // namespace
