// The window with a CardDAV server, Radicale on loopback: set up in the
// settings dialog, an edit saved here arrives on the server with all else
// the card holds, and a change made on a phone shows once the window is
// active again.

#include <gtest/gtest.h>
#include <signal.h>

#include <cstdio>
#include <sstream>
#include <string>

#include "table/control_ids.h"
#include "tests/end_to_end/end_to_end_support.h"

namespace {

namespace control = table::control;
using platform::DialogResult;
using testing_support::readBytes;
using testing_support::RunningProgram;
using testing_support::TemporaryHome;
using testing_support::waitUntil;

// Radicale started for the test by the script the server tests use.
class Radicale {
 public:
  Radicale() {
    pipe_ = popen(
        "/usr/bin/python3 " MORVI_SOURCE_DIR "/tests/carddav/dav_servers.py serve radicale", "r");
    char line[512] = {};
    if (pipe_ == nullptr || std::fgets(line, sizeof line, pipe_) == nullptr) return;
    std::istringstream(line) >> pid_ >> base_ >> collection_;
  }
  ~Radicale() {
    if (pid_ > 0) kill(pid_, SIGTERM);
    if (pipe_ != nullptr) pclose(pipe_);
  }
  Radicale(const Radicale&) = delete;
  Radicale& operator=(const Radicale&) = delete;

  [[nodiscard]] bool running() const { return pid_ > 0; }
  [[nodiscard]] std::string address() const { return base_ + collection_; }

  // What a phone does: the card of this UID, and a changed one in its place.
  platform::HttpResponse card(platform::Http& http, const std::string& uid) const {
    return http.send({"GET", address() + uid + ".vcf", {annasAuthorization}, {}});
  }
  int put(platform::Http& http, const std::string& uid, std::string text,
          const std::string& etag) const {
    return http
        .send({"PUT",
               address() + uid + ".vcf",
               {annasAuthorization,
                {"If-Match", etag},
                {"Content-Type", "text/vcard; charset=utf-8"}},
               std::move(text)})
        .status;
  }

 private:
  // anna, Gehe1m!
  static inline const std::pair<std::string, std::string> annasAuthorization{
      "Authorization", "Basic YW5uYTpHZWhlMW0h"};
  FILE* pipe_ = nullptr;
  int pid_ = 0;
  std::string base_;
  std::string collection_;
};

std::string uidOf(const std::string& file, const std::string& familyName) {
  std::size_t card = file.rfind("BEGIN:VCARD", file.find("N:" + familyName));
  std::size_t uid = file.find("UID:", card) + 4;
  return file.substr(uid, file.find('\r', uid) - uid);
}

void replace(std::string& text, const std::string& old, const std::string& with) {
  std::size_t at = text.find(old);
  ASSERT_NE(at, std::string::npos) << old << " in " << text;
  text.replace(at, old.size(), with);
}

TEST(ServerFlow, setUpInTheDialog_anEditGoesToTheServer_aPhonesChangeComesBack) {
  Radicale server;
  if (!server.running()) GTEST_SKIP() << "needs python3-radicale";
  TemporaryHome home;
  std::string file = home.writeAddressBook(
      "BEGIN:VCARD\r\nN:Meier;Anna\r\nTEL;HOME:030 111\r\nEMAIL:anna@example.org\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nN:Zander;Zoe\r\nTEL;CELL:0170 222\r\nEND:VCARD\r\n");
  RunningProgram program;
  program.start();
  ASSERT_EQ(program.rowCount(), 2);

  program.dialogs.dialogAnswers.push_back(DialogResult{control::portOkButton,
                                                       {{control::serverEdit, server.address()},
                                                        {control::userEdit, "anna"},
                                                        {control::passwordEdit, "Gehe1m!"}}});
  program.click(control::settingsButton);
  EXPECT_TRUE(program.dialogs.messages.empty()) << program.dialogs.messages.at(0).text;
  EXPECT_TRUE(program.statusText(5).starts_with("Abgeglichen um ")) << program.statusText(5);
  std::string config = readBytes(home.configFile());
  EXPECT_NE(config.find("[CardDAV]\r\nUrl=" + server.address() + "\r\nUser=anna\r\n"),
            std::string::npos)
      << config;
  EXPECT_EQ(config.find("Gehe1m!"), std::string::npos) << "the password is kept in no file";

  // An edit saved here is on the server, beside what the card had.
  std::string uid = uidOf(readBytes(file), "Meier");
  program.clickRow(program.rowOf("Meier;Anna"));
  ASSERT_TRUE(waitUntil([&] { return program.text(control::nameEdit) == "Meier"; }));
  program.typeInto(control::mobileEdit, "0160 555");
  program.click(control::applyButton);
  program.click(control::saveButton);
  platform::HttpResponse card = server.card(*program.http, uid);
  ASSERT_EQ(card.status, 200) << uid;
  EXPECT_NE(card.body.find("0160 555"), std::string::npos) << card.body;
  EXPECT_NE(card.body.find("030 111"), std::string::npos) << card.body;
  EXPECT_NE(card.body.find("anna@example.org"), std::string::npos) << card.body;

  // The phone changes the home number; back at the window, a minute on.
  std::string changed = card.body;
  replace(changed, "030 111", "030 999");
  int put = server.put(*program.http, uid, changed, card.header("etag"));
  ASSERT_TRUE(put >= 200 && put < 300) << put;
  program.clock.moved += 60'000;
  program.program.activationChanged(true);
  ASSERT_TRUE(waitUntil([&] { return program.rowOf("Zander;Zoe") != 0; }));
  program.clickRow(program.rowOf("Zander;Zoe"));
  ASSERT_TRUE(waitUntil([&] { return program.text(control::nameEdit) == "Zander"; }));
  program.clickRow(program.rowOf("Meier;Anna"));
  EXPECT_TRUE(waitUntil([&] { return program.text(control::homePhoneEdit) == "030 999"; }))
      << program.text(control::homePhoneEdit);
  EXPECT_EQ(program.text(control::mobileEdit), "0160 555");
}

}  // namespace
