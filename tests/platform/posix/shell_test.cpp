#include "platform/posix/shell.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// Puts a folder in front of PATH for the life of the object.
class PathInFront {
 public:
  explicit PathInFront(const fs::path& folder) {
    const char* old = std::getenv("PATH");
    if (old != nullptr) old_ = old;
    std::string path = folder.string();
    if (old_) path += ":" + *old_;
    setenv("PATH", path.c_str(), 1);
  }
  ~PathInFront() {
    if (old_) {
      setenv("PATH", old_->c_str(), 1);
    } else {
      unsetenv("PATH");
    }
  }
  PathInFront(const PathInFront&) = delete;
  PathInFront& operator=(const PathInFront&) = delete;

 private:
  std::optional<std::string> old_;
};

// Child processes of this test program that have ended but were not reaped.
int zombieChildren() {
  int zombies = 0;
  const std::string self = std::to_string(getpid());
  std::error_code error;
  for (const auto& entry : fs::directory_iterator("/proc", error)) {
    std::ifstream stat(entry.path() / "stat");
    std::string line;
    if (!std::getline(stat, line)) continue;
    // pid (comm) state ppid ...; comm may hold blanks and parentheses.
    std::size_t close = line.rfind(')');
    if (close == std::string::npos) continue;
    std::istringstream rest(line.substr(close + 1));
    std::string state, parent;
    rest >> state >> parent;
    if (state == "Z" && parent == self) ++zombies;
  }
  return zombies;
}

// A stand-in for xdg-open that records how many arguments it got and the
// first one, byte for byte.
struct RecordingOpener {
  RecordingOpener() {
    fs::create_directory(bin);
    const std::string script =
        "#!/bin/sh\n"
        "out='" +
        record.string() +
        "'\n"
        "printf '%s\\n' \"$#\" > \"$out.tmp\"\n"
        "printf '%s' \"$1\" >> \"$out.tmp\"\n"
        "mv \"$out.tmp\" \"$out\"\n";
    testing_support::writeBytes(bin / "xdg-open", script);
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  }

  // What the opener recorded, waiting up to ten seconds for it.
  std::string call() const {
    for (auto waited = 0ms; waited < 10s; waited += 20ms) {
      if (fs::exists(record)) return testing_support::readBytes(record);
      std::this_thread::sleep_for(20ms);
    }
    return "(xdg-open was not started)";
  }

  testing_support::TempDir dir;
  fs::path bin = dir.path() / "bin";
  fs::path record = dir.path() / "call";
  PathInFront path{bin};
};

void expectNoZombieStays() {
  for (auto waited = 0ms; waited < 5s && zombieChildren() > 0; waited += 20ms) {
    std::this_thread::sleep_for(20ms);
  }
  EXPECT_EQ(zombieChildren(), 0);
}

TEST(XdgShell, urlArrivesAsOneUtf8ArgumentAndTheOpenerIsReaped) {
  RecordingOpener opener;
  platform::posix::Shell shell;
  shell.openUrl("mailto:m\xFCller@example.org?Subject=&Body=a b & c; \x80");
  EXPECT_EQ(opener.call(),
            "1\nmailto:m\xC3\xBCller@example.org?Subject=&Body=a b & c; \xE2\x82\xAC");
  expectNoZombieStays();
}

TEST(XdgShell, filePathIsNeverSeenByAShell) {
  RecordingOpener opener;
  platform::posix::Shell shell;
  shell.openFile("/tmp/Ordner mit Leerzeichen/$(touch x) `y` 'z'/prot.txt");
  EXPECT_EQ(opener.call(), "1\n/tmp/Ordner mit Leerzeichen/$(touch x) `y` 'z'/prot.txt");
  expectNoZombieStays();
}

TEST(XdgShell, missingOpenerIsNoError) {
  testing_support::TempDir empty;
  PathInFront path{empty.path()};
  setenv("PATH", empty.path().c_str(), 1);
  platform::posix::Shell shell;
  shell.openUrl("mailto:anna@example.org?Subject=&Body=");
  shell.openFile("/tmp/prot.txt");
  expectNoZombieStays();
}

}  // namespace
