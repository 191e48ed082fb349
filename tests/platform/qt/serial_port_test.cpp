#include "platform/qt/serial_port.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/setting_keys.h"
#include "outputs/dialing.h"
#include "outputs/phone_connection.h"
#include "platform/posix/clock.h"
#include "table/control_ids.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/memory_profile_file.h"
#include "tests/fakes/pty_telephone.h"
#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using platform::ControlId;
namespace control = table::control;

struct DevicePathCase {
  std::string portName;
  std::string device;
};

TEST(SerialDevicePath, linkInTheConfigFolderElseTheSerialDevice) {
  testing_support::TempDir links;
  fs::create_symlink("/dev/ttyACM0", links.path() / "com3");
  fs::create_symlink("/nowhere", links.path() / "com4");  // dangling: still the user's choice
  const std::string folder = links.path().string();
  const std::vector<DevicePathCase> cases = {
      {"COM3", folder + "/com3"},
      {"COM4", folder + "/com4"},
      {"COM1", "/dev/ttyS0"},
      {"COM12", "/dev/ttyS11"},
      {"COM03", ""},
      {"COM0", ""},
      {"COM", ""},
      {"COM3x", ""},
      {"LPT1", ""},
      {"COM-3", ""},
      {"COM99999999999", ""},
  };
  for (const DevicePathCase& c : cases) {
    SCOPED_TRACE(c.portName);
    EXPECT_EQ(platform::qt::serialDevicePath(c.portName, folder), c.device);
  }
  EXPECT_EQ(platform::qt::serialDevicePath("COM3", ""), "/dev/ttyS2");
}

TEST(SerialLinkFolder, xdgConfigHomeWhenAbsoluteElseHome) {
  using platform::qt::serialLinkFolder;
  EXPECT_EQ(serialLinkFolder("/cfg", "/home/anna"), "/cfg/zudedo");
  EXPECT_EQ(serialLinkFolder("cfg", "/home/anna"), "/home/anna/.config/zudedo");
  EXPECT_EQ(serialLinkFolder("", "/home/anna"), "/home/anna/.config/zudedo");
  EXPECT_EQ(serialLinkFolder("", ""), "");
}

using testing_support::Answer;
using Telephone = testing_support::PtyTelephone;

// Points XDG_CONFIG_HOME at a temporary folder with a link zudedo/com3 for
// the life of the object.
class PortLink {
 public:
  explicit PortLink(const std::string& device) {
    const char* old = std::getenv("XDG_CONFIG_HOME");
    if (old != nullptr) old_ = old;
    fs::create_directory(config_.path() / "zudedo");
    fs::create_symlink(device, config_.path() / "zudedo" / "com3");
    setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
  }
  ~PortLink() {
    if (old_) {
      setenv("XDG_CONFIG_HOME", old_->c_str(), 1);
    } else {
      unsetenv("XDG_CONFIG_HOME");
    }
  }
  PortLink(const PortLink&) = delete;
  PortLink& operator=(const PortLink&) = delete;

 private:
  testing_support::TempDir config_;
  std::optional<std::string> old_;
};

// The program's side: the real port and clock, fake window and dialogs.
struct Program {
  void connect(std::string_view name = "COM3") {
    outputs::connectPhone(name, connection, window, dialogs, storedPortSetting, clock);
  }
  [[nodiscard]] std::string storedPort() const { return storedPortSetting.read(); }
  [[nodiscard]] std::vector<std::string> captions() const {
    std::vector<std::string> result;
    for (const auto& message : dialogs.messages) result.push_back(message.caption);
    return result;
  }

  platform::qt::SerialPort port;
  outputs::PhoneConnection connection{port};
  testing_support::FakeWindow window;
  testing_support::FakeDialogs dialogs;
  testing_support::MemoryProfileFile profile;
  platform::Settings settings{profile, "/cfg/zudedo.conf"};
  platform::Setting storedPortSetting{settings, app::setting::telephonePort};
  platform::posix::Clock clock;
};

// Writes to the line until it takes no more bytes, even after the kernel has
// had time to move what it holds between its buffers.
void fillLine(int fd) {
  const std::string block(4096, 'x');
  bool tookSome = true;
  while (tookSome) {
    tookSome = false;
    while (::write(fd, block.data(), block.size()) > 0) tookSome = true;
    std::this_thread::sleep_for(20ms);
  }
}

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The resident memory of this process, in bytes.
long long residentBytes() {
  std::ifstream statm("/proc/self/statm");
  long long pages = 0;
  long long resident = 0;
  statm >> pages >> resident;
  return resident * sysconf(_SC_PAGESIZE);
}

// Runs the event loop for a while, as the main window does between clicks.
void runEventLoop(std::chrono::milliseconds time) {
  QEventLoop loop;
  QTimer::singleShot(time, &loop, &QEventLoop::quit);
  loop.exec();
}

// Runs the event loop until the telephone has sent at least count more
// bytes, for at least minimum and at most four seconds.
void runEventLoopWhileFlooded(const Telephone& telephone, std::size_t count,
                              std::chrono::milliseconds minimum = 0ms) {
  const std::size_t target = telephone.floodedBytes() + count;
  const auto start = Clock::now();
  while (Clock::now() - start < 4s &&
         (Clock::now() - start < minimum || telephone.floodedBytes() < target)) {
    runEventLoop(50ms);
  }
}

struct ProbeCase {
  Answer answer;
  bool found;
};

TEST(QtSerialPort, probeFindsOnlyATelephoneThatAnswersWithin200Milliseconds) {
  const std::vector<ProbeCase> cases = {{Answer::ok, true},
                                        {Answer::echoThenOk, true},
                                        {Answer::after300Milliseconds, false},
                                        {Answer::never, false}};
  for (const ProbeCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.answer));
    Telephone telephone(c.answer);
    PortLink link(telephone.slave());
    telephone.start();
    Program program;
    auto start = Clock::now();
    program.connect();
    EXPECT_LT(secondsSince(start), 1.0);

    EXPECT_EQ(telephone.receivedAtLeast(4), "AT\r\n");
    EXPECT_EQ(program.port.isOpen(), c.found);
    EXPECT_EQ(program.storedPort(), c.found ? "COM3" : "");
    EXPECT_EQ(program.captions(), c.found ? std::vector<std::string>{}
                                          : std::vector<std::string>{"kein Telefon gefunden !"});
  }
}

TEST(QtSerialPort, dialAndHangUpSendExactlyTheirBytes) {
  Telephone telephone(Answer::ok);
  PortLink link(telephone.slave());
  telephone.start();
  Program program;
  program.connect();
  ASSERT_TRUE(program.port.isOpen());

  program.window.setText(control::mobileEdit, "0171 / 23#-5*");
  outputs::phoneCommand(control::dialMobileButton, program.connection, program.window,
                        program.dialogs);
  outputs::phoneCommand(control::hangUpHomeButton, program.connection, program.window,
                        program.dialogs);
  const std::string expected = "AT\r\nATD0171 / 23#-5*\r\nATH\r\n";
  EXPECT_EQ(telephone.receivedAtLeast(expected.size()), expected);
  EXPECT_TRUE(program.dialogs.messages.empty());
}

// A telephone that reports calls, or a GPS receiver linked as a port, keeps
// sending lines that nobody asked for.
TEST(QtSerialPort, lineThatKeepsSendingCostsNoMemoryAndStillTakesADial) {
  Telephone telephone(Answer::ok);
  PortLink link(telephone.slave());
  telephone.start();
  Program program;
  program.connect();
  ASSERT_TRUE(program.port.isOpen());
  runEventLoop(100ms);
  const long long before = residentBytes();

  telephone.flood("+CLIP: \"07111234567\",129,,,,0\r\nRING\r\n");
  program.window.setText(control::workPhoneEdit, "0711 / 123-45");
  QElapsedTimer sinceFloodStarted;
  sinceFloodStarted.start();
  qint64 dialledAfter = -1;
  QObject context;
  QTimer::singleShot(300ms, &context, [&] {
    dialledAfter = sinceFloodStarted.elapsed();
    outputs::phoneCommand(control::dialWorkButton, program.connection, program.window,
                          program.dialogs);
  });
  runEventLoopWhileFlooded(telephone, 32U << 20, 1s);
  const long long after = residentBytes();
  const std::size_t flooded = telephone.floodedBytes();
  telephone.stopFlood();

  EXPECT_EQ(telephone.receivedEndingWith("ATD0711 / 123-45\r\n"), "AT\r\nATD0711 / 123-45\r\n");
  EXPECT_TRUE(program.dialogs.messages.empty());
  EXPECT_LT(dialledAfter, 800) << "the event loop kept its timers waiting";
  EXPECT_GT(flooded, 16U << 20) << "the flood was too thin to show a growth";
  EXPECT_LT(after - before, 8 << 20) << flooded << " bytes flooded";
  ::testing::Test::RecordProperty("floodedBytes", std::to_string(flooded));
  ::testing::Test::RecordProperty("residentBytesBefore", std::to_string(before));
  ::testing::Test::RecordProperty("residentBytesAfter", std::to_string(after));
}

TEST(QtSerialPort, missingDeviceCannotBeOpened) {
  testing_support::TempDir nothing;
  PortLink link((nothing.path() / "ttyUSB7").string());
  Program program;
  program.connect("com3");
  EXPECT_FALSE(program.port.isOpen());
  ASSERT_EQ(program.dialogs.messages.size(), 1U);
  EXPECT_EQ(program.dialogs.messages[0].text, "COM3");
  EXPECT_EQ(program.dialogs.messages[0].caption, "Open ?");
}

TEST(QtSerialPort, deviceThatGoesAwayReportsNothingWaitingAndFailsToWrite) {
  Telephone telephone(Answer::never);
  PortLink link(telephone.slave());
  platform::qt::SerialPort port;
  ASSERT_TRUE(port.open("COM3"));
  telephone.send("RING\r\n");
  std::this_thread::sleep_for(50ms);
  ASSERT_EQ(port.bytesWaiting(), 6U);
  telephone.hangUp();

  // The line error hides what had arrived before.
  EXPECT_EQ(port.bytesWaiting(), 0U);
  auto start = Clock::now();
  EXPECT_FALSE(port.write("ATH\r\n"));
  EXPECT_LT(secondsSince(start), 1.5);
  EXPECT_TRUE(port.isOpen()) << "the connection is held until the next attempt";
  port.close();
  EXPECT_FALSE(port.isOpen());
}

TEST(QtSerialPort, portInUseCannotBeOpenedTwice) {
  Telephone telephone(Answer::never);
  PortLink link(telephone.slave());
  platform::qt::SerialPort first;
  platform::qt::SerialPort second;
  ASSERT_TRUE(first.open("COM3"));
  EXPECT_FALSE(second.open("COM3"));
  EXPECT_FALSE(second.isOpen());
  first.close();
  EXPECT_TRUE(second.open("COM3"));
}

// Only what arrives after a command counts as its answer; what arrives at
// other times is discarded.
TEST(QtSerialPort, answerThatArrivedWithoutEventLoopIsCountedAndReadExactly) {
  Telephone telephone(Answer::echoThenOk);
  PortLink link(telephone.slave());
  telephone.start();
  platform::qt::SerialPort port;
  ASSERT_TRUE(port.open("COM3"));
  telephone.send("RING\r\n");
  std::this_thread::sleep_for(50ms);
  ASSERT_TRUE(port.write("AT\r\n"));
  std::this_thread::sleep_for(200ms);
  ASSERT_EQ(port.bytesWaiting(), 9U);
  EXPECT_EQ(port.read(4), "AT\r\r");
  EXPECT_EQ(port.read(100), "\nOK\r\n");
  EXPECT_EQ(port.bytesWaiting(), 0U);
  EXPECT_EQ(port.read(100), "");

  telephone.send("RING\r\n");
  runEventLoop(50ms);
  EXPECT_EQ(port.bytesWaiting(), 0U);
}

// A probe that meets a flood keeps the first bytes after its command, no
// more than the bound; the port takes in and discards bytes again afterwards.
TEST(QtSerialPort, answerIsKeptUpToTheBound) {
  Telephone telephone(Answer::never);
  PortLink link(telephone.slave());
  telephone.start();
  platform::qt::SerialPort port;
  ASSERT_TRUE(port.open("COM3"));
  ASSERT_TRUE(port.write("AT\r\n"));
  telephone.flood("OK\r\n");
  for (auto waited = 0ms; waited < 2s && telephone.floodedBytes() < 8192; waited += 10ms) {
    std::this_thread::sleep_for(10ms);
  }
  ASSERT_EQ(port.bytesWaiting(),
            static_cast<std::size_t>(platform::qt::SerialPort::receiveBufferBytes));
  EXPECT_TRUE(port.read(platform::qt::SerialPort::receiveBufferBytes).starts_with("OK\r\nOK\r\n"));
  std::size_t floodedBefore = telephone.floodedBytes();
  runEventLoopWhileFlooded(telephone, 1U << 20);
  EXPECT_GT(telephone.floodedBytes(), floodedBefore + (1U << 20))
      << "the port stopped taking bytes in";
  telephone.stopFlood();
}

// The telephone never reads: once the line's buffers are full no byte is
// accepted any more.
TEST(QtSerialPort, writeToALineThatNeverTakesBytesGivesUpWithinTheBound) {
  Telephone telephone(Answer::never);  // its thread is never started
  PortLink link(telephone.slave());
  platform::qt::SerialPort port;
  ASSERT_TRUE(port.open("COM3"));
  auto start = Clock::now();
  EXPECT_FALSE(port.write(std::string(1 << 20, 'x')));
  double seconds = secondsSince(start);
  EXPECT_GE(seconds, 0.9);
  EXPECT_LT(seconds, 1.5);
  EXPECT_TRUE(port.isOpen());

  // What did not go out is dropped: the next command follows at once.
  telephone.start();
  EXPECT_TRUE(port.write("ATH\r\n"));
  std::string received = telephone.receivedEndingWith("ATH\r\n");
  EXPECT_TRUE(received.ends_with("ATH\r\n"));
  EXPECT_LT(received.size(), 100'000U);
}

TEST(QtSerialPort, probeOfALineThatTakesNoBytesEndsWithinTheBound) {
  Telephone telephone(Answer::never);
  PortLink link(telephone.slave());
  // Fill the line before the program comes: nothing it writes will go out.
  int filler = ::open(telephone.slave().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
  ASSERT_NE(filler, -1);
  fillLine(filler);
  // Opening the port may discard what the line holds (Qt 6.8 flushes both
  // directions as it opens a port, Qt 6.4 does not), which would give the
  // probe room again. A line whose output is stopped, as by a device that
  // never releases its flow control, takes no bytes through that flush and
  // through the port's new settings.
  ASSERT_EQ(::tcflow(filler, TCOOFF), 0);
  Program program;
  auto start = Clock::now();
  program.connect();
  double seconds = secondsSince(start);
  EXPECT_GE(seconds, 1.1) << "the probe should have waited for the line";
  EXPECT_LT(seconds, 1.5);
  EXPECT_FALSE(program.port.isOpen());
  EXPECT_EQ(program.captions(), std::vector<std::string>{"kein Telefon gefunden !"});
  ::close(filler);
}

}  // namespace
