#include "platform/win32/serial_port.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/clock.h"

namespace {

using platform::win32::serialDeviceName;
using platform::win32::waitingBytes;

TEST(Win32SerialPort, portNamesBecomeDeviceNamesThatReachCom10AndAbove) {
  EXPECT_EQ(serialDeviceName("COM3"), L"\\\\.\\COM3");
  EXPECT_EQ(serialDeviceName("COM12"), L"\\\\.\\COM12");
  EXPECT_EQ(serialDeviceName("COM256"), L"\\\\.\\COM256");
  for (const char* bad : {"", "COM", "COM0", "COM03", "com3", "COM3 ", "COM-1", "LPT1", "COM3x"}) {
    EXPECT_EQ(serialDeviceName(bad), L"") << bad;
  }
}

// A pseudo-terminal holds less than the bound, so the telephone of the test
// run cannot show it: the counts are given as ClearCommError reports them.
TEST(Win32SerialPort, theWaitingCountStaysWithinTheBufferAndIsZeroAfterALineError) {
  constexpr DWORD bound = platform::SerialPort::receiveBufferBytes;
  struct Status {
    DWORD errors, inQueue;
    std::size_t waiting;
  };
  for (Status status :
       {Status{0, 0, 0}, Status{0, 4, 4}, Status{0, bound, bound}, Status{0, bound + 1, bound},
        Status{0, 1'000'000, bound}, Status{CE_RXPARITY | CE_BREAK, 4, 4}, Status{CE_OVERRUN, 4, 0},
        Status{CE_RXOVER, bound + 1, 0}, Status{CE_FRAME, 4, 0}, Status{CE_IOE, 4, 0},
        Status{CE_TXFULL, 4, 0}}) {
    EXPECT_EQ(waitingBytes(status.errors, status.inQueue), status.waiting)
        << status.errors << " " << status.inQueue;
  }
}

TEST(Win32SerialPort, aPortThatIsNotThereDoesNotOpen) {
  platform::win32::SerialPort port;

  EXPECT_FALSE(port.open("COM9"));
  EXPECT_FALSE(port.open("LPT1"));
  EXPECT_FALSE(port.isOpen());
  EXPECT_FALSE(port.write("AT\r\n"));
  EXPECT_EQ(port.bytesWaiting(), 0U);
  EXPECT_EQ(port.read(10), "");
}

// The telephone of the test run (scripts/test-windows): a pseudo-terminal
// on the Linux side, shown by Wine as this port, that answers "OK" to every
// AT command.
const char* telephonePort() { return std::getenv("MORVI_TEST_TELEPHONE_PORT"); }

// What the telephone has answered: the bytes read until its four-byte
// "OK\r\n" has come, for at most about a second.
std::string answerOf(platform::win32::SerialPort& port, platform::win32::Clock& clock) {
  std::string answer;
  for (int wait = 0; wait < 50 && answer.size() < 4; ++wait) {
    answer += port.read(port.bytesWaiting());
    if (answer.size() < 4) clock.sleep(20);
  }
  return answer;
}

TEST(Win32SerialPort, aTelephoneAnswersTheDialCommandAfterThePause) {
  if (telephonePort() == nullptr) GTEST_SKIP() << "no telephone: run scripts/test-windows";
  platform::win32::SerialPort port;
  platform::win32::Clock clock;

  // Twice, so that closing the port leaves it ready for the next dial.
  for (int round = 0; round < 2; ++round) {
    ASSERT_TRUE(port.open(telephonePort())) << round;
    EXPECT_TRUE(port.isOpen());
    ASSERT_TRUE(port.write("ATDT0301234567\r\n"));
    clock.sleep(200);

    EXPECT_EQ(answerOf(port, clock), "OK\r\n") << round;
    EXPECT_EQ(port.bytesWaiting(), 0U);
    port.close();
    EXPECT_FALSE(port.isOpen());
  }
}

TEST(Win32SerialPort, anAnswerLeftUnreadIsNoPartOfTheNextCommandsAnswer) {
  if (telephonePort() == nullptr) GTEST_SKIP() << "no telephone: run scripts/test-windows";
  platform::win32::SerialPort port;
  platform::win32::Clock clock;
  ASSERT_TRUE(port.open(telephonePort()));

  // The telephone answers this one too; its "OK" is left in the queue.
  ASSERT_TRUE(port.write("AT\r"));
  clock.sleep(200);
  ASSERT_TRUE(port.write("ATDT0301234567\r\n"));
  clock.sleep(200);

  std::string answer = answerOf(port, clock);
  clock.sleep(100);
  answer += port.read(port.bytesWaiting());
  EXPECT_EQ(answer, "OK\r\n");
}

}  // namespace
