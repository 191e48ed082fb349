// vcftool sync: the configuration and password it needs, what it prints,
// and what the file holds afterwards (the synchronisation itself has its
// own tables).

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fakes/fake_carddav_server.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_keyring.h"
#include "tests/fakes/memory_file_system.h"
#include "tools/vcftool/vcftool_command.h"

namespace {

using testing_support::FakeCardDavServer;

constexpr std::string_view book = "/home/anna/myadr.vcf";
constexpr std::string_view config = "/home/anna/.config/zudedo.conf";
constexpr std::string_view configured =
    "[CardDAV]\r\nUrl=http://dav.example/dav/anna/kontakte/\r\nUser=anna\r\n";
// The keyring holds a password for anna, none for bert.
constexpr std::string_view bert =
    "[CardDAV]\r\nUrl=http://dav.example/dav/anna/kontakte/\r\nUser=bert\r\n";

std::string cards(int count) {
  std::string text;
  for (int i = 0; i < count; ++i) {
    text += "BEGIN:VCARD\r\nN:Name" + std::to_string(i) + ";Anna\r\nTEL;HOME:030\r\nEND:VCARD\r\n";
  }
  return text;
}

// vcftool sync myadr.vcf in /home/anna.
int sync(testing_support::MemoryFileSystem& files, FakeCardDavServer& server,
         const std::optional<std::string>& password, std::ostream& out, std::ostream& err) {
  testing_support::FakeClock clock;
  testing_support::FakeKeyring keyring;
  keyring.keep("http://dav.example/dav/anna/kontakte/", "anna", "kept");
  std::vector<std::string_view> args = {"sync", "myadr.vcf"};
  return vcftool::run(args, files, out, err, [&] {
    return vcftool::SyncSetup{server,   clock,    std::string(config),
                              password, &keyring, "/home/anna/.local/state/zudedo"};
  });
}

TEST(VcftoolSync, needsAServerAndAPasswordAndSaysWhatItDid) {
  struct Row {
    std::string_view what;
    std::string configText;
    std::optional<std::string> password;
    std::function<void(testing_support::MemoryFileSystem&, FakeCardDavServer&)> before;
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;  // the start of what is printed there
    std::size_t onServer;
  };
  auto none = [](auto&, auto&) {};
  const Row rows[] = {
      {"no server configured",
       "[VC]\r\nFile=myadr.vcf\r\n",
       "pw",
       none,
       {},
       1,
       "",
       "vcftool: no server configured ([CardDAV] Url= in /home/anna/.config/zudedo.conf)",
       0},
      {"no password",
       std::string(bert),
       std::nullopt,
       none,
       {},
       1,
       "",
       "vcftool: no password: set ZUDEDO_CARDDAV_PASSWORD",
       0},
      {"the keyring's password",
       std::string(configured),
       std::nullopt,
       [](auto&, FakeCardDavServer& server) { server.authorization = "Basic YW5uYTprZXB0"; },
       {},
       0,
       "0 new, 0 changed, 0 deleted here; 3 new, 0 changed, 0 deleted on the server\n",
       "",
       3},
      {"the first synchronisation",
       std::string(configured),
       "pw",
       none,
       {},
       0,
       "0 new, 0 changed, 0 deleted here; 3 new, 0 changed, 0 deleted on the server\n",
       "",
       3},
      {"the server stops answering",
       std::string(configured),
       "pw",
       [](auto&, FakeCardDavServer& server) { server.requestsLeft = 2; },
       {},
       1,
       "",
       "vcftool: the connection broke off: PUT http://dav.example/dav/anna/kontakte/",
       0},
      {"the file changes while the cards are sent",
       std::string(configured),
       "pw",
       [](testing_support::MemoryFileSystem& files, FakeCardDavServer& server) {
         server.beforePut = [&files](FakeCardDavServer&) {
           files.files[std::string(book)] += cards(1);
         };
       },
       {},
       1,
       "",
       "vcftool: myadr.vcf was changed by another program meanwhile",
       3},
  };
  for (const Row& row : rows) {
    testing_support::MemoryFileSystem files;
    files.cwd = "/home/anna";
    files.files[std::string(book)] = cards(3);
    files.files[std::string(config)] = row.configText;
    FakeCardDavServer server;
    row.before(files, server);
    std::ostringstream out;
    std::ostringstream err;
    int status = sync(files, server, row.password, out, err);
    EXPECT_EQ(status, row.status) << row.what << ": " << err.str();
    EXPECT_EQ(out.str(), row.out) << row.what;
    EXPECT_TRUE(err.str().starts_with(row.err)) << row.what << ": " << err.str();
    EXPECT_EQ(server.cards.size(), row.onServer) << row.what;
    // Cards are sent only once the file holds their UIDs.
    if (row.onServer > 0) {
      std::string_view file = files.files[std::string(book)];
      for (const auto& [href, card] : server.cards) {
        std::string uid = card.text.substr(card.text.find("UID:"));
        EXPECT_NE(file.find(uid.substr(0, uid.find('\r'))), std::string::npos) << row.what;
      }
    }
  }
}

// The window runs every five minutes: a run with nothing to do leaves the
// disk alone, the file and what the last run remembered alike. (The run
// after the first still keeps the server's token that covers the cards the
// first one sent.)
TEST(VcftoolSync, aRunWithNothingToDoWritesNothing) {
  testing_support::MemoryFileSystem files;
  files.cwd = "/home/anna";
  files.files[std::string(book)] = cards(3);
  files.files[std::string(config)] = configured;
  FakeCardDavServer server;
  std::ostringstream earlier;
  std::ostringstream err;
  ASSERT_EQ(sync(files, server, "pw", earlier, err), 0) << err.str();
  ASSERT_EQ(sync(files, server, "pw", earlier, err), 0) << err.str();
  int writes = files.replaceCalls;
  std::ostringstream idle;
  EXPECT_EQ(sync(files, server, "pw", idle, err), 0) << err.str();
  EXPECT_EQ(idle.str(),
            "0 new, 0 changed, 0 deleted here; 0 new, 0 changed, 0 deleted on the server\n");
  EXPECT_EQ(files.replaceCalls, writes);
}

}  // namespace
