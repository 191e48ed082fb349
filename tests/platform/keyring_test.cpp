// The machine's keyring (QtKeychain on Linux, the Credential Manager on
// Windows). ctest says in MORVI_TEST_KEYRING which desktop it gives:
// "kept" where passwords can be kept (the prefix under Wine, a GNOME keyring
// of the test's own), "none" where there is no keyring (no session bus, or
// one whose keyring never answers). Run without it, the cases are skipped,
// so that they never write into the keyring of the one who runs them.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <ranges>
#include <string>
#include <string_view>

#include "platform/machine_keyring.h"

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

std::string_view desktop() {
  const char* given = std::getenv("MORVI_TEST_KEYRING");
  return given == nullptr ? "" : given;
}

// An address no earlier run kept anything for, should the keyring outlive
// the test.
std::string freshServer() {
  return "https://dav.example.org/" + std::to_string(Clock::now().time_since_epoch().count());
}

TEST(KeyringTest, keptPasswordsComeBackForTheirOwnServerAndUserOnly) {
  if (desktop() != "kept") GTEST_SKIP() << "no keyring the test may write into";
  const std::string server = freshServer();
  struct Entry {
    std::string url, user, password;
  };
  struct Lookup {
    std::string url, user;
    std::string_view what;
  };
  const Entry kept[] = {
      {server + "/anna/", "anna", "geheim"},
      {server + "/anna/", "Jürgen", "Süße Äpfel & Öl"},
      {server + "/polski/", "anna", "Zażółć gęślą jaźń"},
      {server + "/", "anna@firma.de", "mit@und%"},
      {server + "/leer/", "anna", ""},
  };
  const Lookup missing[] = {
      {server + "/anna/", "bernd", "another user at a kept server"},
      {server + "/bernd/", "anna", "a kept user at another server"},
      {server + "/anna", "anna", "a server whose address differs by its last slash"},
      {server + "/anna/", "ANNA", "a kept user's name in other letters"},
      {"firma.de@" + server + "/", "anna", "the user and server that together spell a kept pair"},
  };
  auto keyring = platform::makeMachineKeyring();

  for (const Entry& entry : kept) {
    EXPECT_TRUE(keyring->keep(entry.url, entry.user, entry.password)) << entry.user;
  }
  ASSERT_TRUE(keyring->keep(server + "/anna/", "anna", "neu")) << "replacing";

  EXPECT_EQ(keyring->password(server + "/anna/", "anna"), "neu");
  for (const Entry& entry : kept | std::views::drop(1)) {
    EXPECT_EQ(keyring->password(entry.url, entry.user), entry.password) << entry.user;
  }
  for (const Lookup& lookup : missing) {
    EXPECT_EQ(keyring->password(lookup.url, lookup.user), std::nullopt) << lookup.what;
  }
}

TEST(KeyringTest, aDesktopWithoutKeyringSaysSoWithinTheWait) {
  if (desktop() != "none") GTEST_SKIP() << "not told that the desktop has no keyring";
  // The Linux backend waits five seconds at most for each answer.
  const auto bound = 5s + 1s;
  const auto started = Clock::now();
  auto keyring = platform::makeMachineKeyring();

  EXPECT_EQ(keyring->password("https://dav.example.org/", "anna"), std::nullopt);
  const auto read = Clock::now();
  EXPECT_FALSE(keyring->keep("https://dav.example.org/", "anna", "geheim"));
  const auto kept = Clock::now();

  using std::chrono::milliseconds, std::chrono::duration_cast;
  std::cout << "no keyring: password after " << duration_cast<milliseconds>(read - started).count()
            << " ms, keep after " << duration_cast<milliseconds>(kept - read).count() << " ms\n";
  EXPECT_LT(read - started, bound);
  EXPECT_LT(kept - read, bound);
}

}  // namespace
