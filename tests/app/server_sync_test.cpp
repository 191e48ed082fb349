// The window and the CardDAV server: when it synchronises by itself, what
// it shows, and that a window without a server sees none of it.

#include "app/server_sync.h"

#include <gtest/gtest.h>

#include "table/control_ids.h"
#include "tests/fakes/program_fixture.h"

namespace {

using platform::DialogField;
using platform::DialogResult;
using testing_support::FakeCardDavServer;
using testing_support::ProgramFixture;
namespace control = table::control;

constexpr std::string_view address = "http://dav.example/dav/anna/kontakte/";
// "anna" and "geheim"
constexpr std::string_view annasAuthorization = "Basic YW5uYTpnZWhlaW0=";

constexpr std::string_view twoCards =
    "BEGIN:VCARD\r\nN:Meier;Anna\r\nTEL;HOME:0301\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Zander;Clara\r\nEND:VCARD\r\n";

struct Configured : ProgramFixture {
  Configured() : ProgramFixture(std::string(twoCards)) {
    profile.values[{configPath, "CardDAV", "Url"}] = "http://dav.example/dav/anna/kontakte/";
    profile.values[{configPath, "CardDAV", "User"}] = "anna";
  }
  // The server's card that holds text.
  std::string hrefWith(std::string_view text) {
    for (const auto& [href, card] : server.cards) {
      if (card.text.find(text) != std::string::npos) return href;
    }
    return {};
  }
};

TEST(ServerSync, withoutAServerNothingIsAskedOrWritten) {
  ProgramFixture fixture{std::string(twoCards)};
  fixture.start();
  std::size_t files = fixture.files.files.size();
  fixture.clock.tick += app::ServerSync::interval;
  fixture.tick();
  fixture.window.events->activationChanged(true);
  EXPECT_TRUE(fixture.server.requests.empty());
  EXPECT_EQ(fixture.window.status[5], "");
  EXPECT_EQ(fixture.files.files.size(), files);
  EXPECT_EQ(fixture.files.files[ProgramFixture::addressPath], twoCards);
}

TEST(ServerSync, runsAfterTheStartAfterASaveAndWhenTheWindowComesBack) {
  Configured fixture;
  fixture.start();
  EXPECT_EQ(fixture.server.cards.size(), 2U);
  EXPECT_EQ(fixture.window.status[5], "Abgeglichen um 15:54");

  // A change on the phone shows once the window is active again, a minute on.
  std::string href = fixture.hrefWith("Meier");
  std::string card = fixture.server.cards.at(href).text;
  card.replace(card.find("0301"), 4, "0399");
  fixture.server.store(href, card);
  fixture.window.events->activationChanged(true);
  EXPECT_EQ(fixture.window.text(control::homePhoneEdit), "0301");  // too soon
  fixture.clock.tick += 60 * 1000;
  fixture.window.events->activationChanged(true);
  EXPECT_EQ(fixture.window.text(control::homePhoneEdit), "0399");

  // An edit saved here is on the server at once.
  fixture.window.setText(control::homePhoneEdit, "0311");
  fixture.click(control::applyButton);
  fixture.click(control::saveButton);
  EXPECT_NE(fixture.server.cards.at(href).text.find("0311"), std::string::npos);
}

TEST(ServerSync, aFailureShowsInTheStatusBarAndManyDeletionsAreAsked) {
  Configured fixture;
  fixture.server.requestsLeft = 0;
  fixture.start();
  EXPECT_EQ(fixture.window.status[5], "Abgleich 15:54: Die Verbindung zum Server ist abgebrochen.");
  EXPECT_TRUE(fixture.dialogs.messages.empty());  // not asked for: no box

  fixture.server.requestsLeft = -1;
  for (int i = 0; i < 8; ++i) {
    fixture.server.store("/dav/anna/kontakte/p" + std::to_string(i) + ".vcf",
                         "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:p" + std::to_string(i) +
                             "\r\nFN:P\r\nN:P" + std::to_string(i) + ";;;\r\nEND:VCARD\r\n");
  }
  fixture.clock.tick += 60 * 1000;
  fixture.window.events->activationChanged(true);
  EXPECT_EQ(fixture.window.rowCount(), 10);
  for (int i = 0; i < 8; ++i)
    fixture.server.remove("/dav/anna/kontakte/p" + std::to_string(i) + ".vcf");
  fixture.dialogs.answers.push_back(platform::Answer::no);
  fixture.clock.tick += 60 * 1000;
  fixture.window.events->activationChanged(true);
  ASSERT_EQ(fixture.dialogs.messages.size(), 1U);
  EXPECT_EQ(fixture.dialogs.messages[0].text,
            "Abgleich w\xFCrde 8 Eintr\xE4ge l\xF6schen.\r\n\r\nTrotzdem abgleichen?");
  EXPECT_EQ(fixture.window.rowCount(), 10);
  EXPECT_EQ(fixture.window.status[5], "Abgleich nicht ausgef\xFChrt");
}

TEST(ServerSync, theSettingsDialogSetsUpTheServerAndSaysWhatIsWrong) {
  struct : ProgramFixture {
    using ProgramFixture::ProgramFixture;
    std::string configured(const char* key) { return profile.values[{configPath, "CardDAV", key}]; }
  } fixture{std::string(twoCards), std::nullopt};
  fixture.server.authorization = annasAuthorization;
  fixture.start();
  fixture.dialogs.dialogAnswers = {
      DialogResult{control::portOkButton, {{control::serverEdit, "dav.example/dav/anna/"}}},
      DialogResult{control::portOkButton,
                   {{control::serverEdit, " " + std::string(address)},
                    {control::userEdit, "anna "},
                    {control::passwordEdit, "geheim"}}}};
  fixture.click(control::settingsButton);

  std::vector<DialogField> shown{{control::portEdit, ""},
                                 {control::serverEdit, ""},
                                 {control::userEdit, ""},
                                 {control::passwordEdit, ""}};
  ASSERT_EQ(fixture.dialogs.dialogFields.size(), 2U);
  EXPECT_EQ(fixture.dialogs.dialogFields[0], shown);
  // An address that is no web address: said, and the dialog again as typed.
  EXPECT_EQ(fixture.dialogs.messages.at(0).text,
            "Die Adresse des Servers muss mit https:// oder http:// beginnen.");
  EXPECT_EQ(fixture.dialogs.dialogFields[1][1].text, "dav.example/dav/anna/");
  EXPECT_EQ(fixture.configured("Url"), address);
  EXPECT_EQ(fixture.configured("User"), "anna");
  EXPECT_EQ(fixture.keyring.password(address, "anna"), "geheim");
  EXPECT_EQ(fixture.server.cards.size(), 2U);
  EXPECT_EQ(fixture.window.status[5], "Abgeglichen um 15:54");

  // The dialog shows the kept password; a wrong one is said at once.
  fixture.dialogs.dialogAnswers = {
      DialogResult{control::portOkButton, {{control::passwordEdit, "falsch"}}}};
  fixture.click(control::settingsButton);
  EXPECT_EQ(fixture.dialogs.dialogFields[2][3].text, "geheim");
  EXPECT_EQ(fixture.dialogs.messages.back().text, "Benutzer oder Kennwort falsch.");
  EXPECT_EQ(fixture.keyring.password(address, "anna"), "falsch");
}

TEST(ServerSync, withoutAKeyringThePasswordIsAskedForOnceARun) {
  ProgramFixture fixture{std::string(twoCards), std::nullopt};
  fixture.keyring.absent = true;
  fixture.server.authorization = annasAuthorization;
  fixture.profile.values[{ProgramFixture::configPath, "CardDAV", "Url"}] = address;
  fixture.profile.values[{ProgramFixture::configPath, "CardDAV", "User"}] = "anna";
  fixture.dialogs.dialogAnswers = {std::nullopt};
  fixture.start();
  EXPECT_EQ(fixture.dialogs.textDialogTitles, std::vector<std::string>{"Abgleich"});
  EXPECT_EQ(fixture.window.status[5], "Abgleich nicht ausgef\xFChrt");
  // The runs the program starts itself do not ask again.
  fixture.clock.tick += app::ServerSync::interval;
  fixture.tick();
  EXPECT_EQ(fixture.dialogs.textDialogTitles.size(), 1U);
  EXPECT_TRUE(fixture.server.requests.empty());

  // The button asks again, and the password serves the rest of the run.
  fixture.dialogs.dialogAnswers = {
      DialogResult{control::syncNowButton, {}},
      DialogResult{control::passwordQuestionOkButton, {{control::passwordQuestionEdit, "geheim"}}}};
  fixture.click(control::settingsButton);
  EXPECT_EQ(fixture.server.cards.size(), 2U);
  fixture.clock.tick += app::ServerSync::interval;
  std::size_t requests = fixture.server.requests.size();
  fixture.tick();
  EXPECT_GT(fixture.server.requests.size(), requests);
  EXPECT_EQ(fixture.dialogs.textDialogTitles.size(), 3U);
  EXPECT_TRUE(fixture.dialogs.messages.empty());
}

}  // namespace
