#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <string>
#include <thread>

#include "tests/fakes/temp_dir.h"

namespace {

using testing_support::readBytes;

// An address book of some megabytes, so that saving it takes a while.
std::string largeAddressBook(char variant) {
  std::string text;
  for (int i = 0; i < 40000; ++i) {
    text += "BEGIN:VCARD\r\nN:Name" + std::to_string(i) + variant + ";Vorname\r\n";
    text += "TEL;WORK:0711 555 " + std::to_string(i) + "\r\nEMAIL:person" + std::to_string(i) +
            "@example.org\r\nNOTE:" + std::string(120, variant) + "\r\nEND:VCARD\r\n";
  }
  return text;
}

// Starts "vcftool save SOURCE TARGET", the program's own way of saving.
pid_t startSave(const std::string& source, const std::string& target) {
  pid_t child = fork();
  if (child == 0) {
    std::string tool = std::string(MORVI_BIN_DIR) + "/vcftool";
    execl(tool.c_str(), tool.c_str(), "save", source.c_str(), target.c_str(), nullptr);
    _exit(127);
  }
  return child;
}

TEST(CrashSafety, aSaveKilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  testing_support::TempDir dir;
  std::string oldBytes = largeAddressBook('a');
  std::string source = dir.write("neu.vcf", largeAddressBook('b'));
  std::string target = dir.file("adressen.vcf");

  // The bytes a complete save writes, and how long the shortest of a few
  // complete saves takes, so that the kills below fall inside a save.
  int status = 0;
  auto shortest = std::chrono::steady_clock::duration::max();
  for (int run = 0; run < 3; ++run) {
    auto started = std::chrono::steady_clock::now();
    waitpid(startSave(source, target), &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    shortest = std::min(shortest, std::chrono::steady_clock::now() - started);
  }
  std::string newBytes = readBytes(target);
  ASSERT_NE(newBytes, oldBytes);

  std::mt19937 random(20261207);
  auto limit = std::chrono::duration_cast<std::chrono::microseconds>(shortest).count() * 9 / 10;
  int interrupted = 0;
  for (int run = 0; run < 40; ++run) {
    testing_support::writeBytes(target, oldBytes);
    pid_t child = startSave(source, target);
    std::this_thread::sleep_for(std::chrono::microseconds(random() % (limit + 1)));
    kill(child, SIGKILL);
    waitpid(child, &status, 0);
    if (WIFSIGNALED(status)) ++interrupted;
    std::string found = readBytes(target);
    ASSERT_TRUE(found == oldBytes || found == newBytes)
        << "run " << run << ": the file holds " << found.size() << " bytes of neither content";
  }
  // Most kills must have hit a save in progress, or the test proves nothing.
  EXPECT_GT(interrupted, 25);
}

}  // namespace
