#include <gtest/gtest.h>

#include "table/control_ids.h"
#include "tests/fakes/program_fixture.h"

namespace {

using platform::Answer;
using platform::ControlId;
namespace control = table::control;
using platform::MessageButtons;
using platform::MessageIcon;
using testing_support::ProgramFixture;
using testing_support::ShownMessage;

// Saved unchanged, the cards come back as they were, the lines of the second
// card that the program does not show included.
constexpr std::string_view threeCards =
    "BEGIN:VCARD\r\nN:Zander;Clara\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nVERSION:3.0\r\nN:albers;Bernd\r\nADR:;;Weg "
    "1\r\nBDAY:1961-03-07\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Meier;Anna\r\nEND:VCARD\r\n";

struct SavingFixture : ::testing::Test {
  SavingFixture() {
    fixture.start();
    fixture.tick();
  }
  // An applied edit of the selected row's mobile number.
  void applyMobile(std::string_view number) {
    fixture.window.setText(control::mobileEdit, number);
    fixture.click(control::applyButton);
  }
  std::string& file() { return fixture.files.files[ProgramFixture::addressPath]; }
  const table::Records& records() { return fixture.program.records(); }
  const document::Document& document() { return fixture.program.document(); }
  std::vector<std::string> names() {
    std::vector<std::string> texts;
    for (int row = 1; row <= fixture.window.rowCount(); ++row)
      texts.push_back(fixture.window.row(row)[0]);
    return texts;
  }
  ShownMessage question() {
    return {ProgramFixture::addressPath, "\xC4nderungen speichern ?", MessageButtons::yesNoCancel,
            MessageIcon::exclamation};
  }

  ProgramFixture fixture{std::string(threeCards)};
};

TEST_F(SavingFixture, saveShowsAllRowsSortedByNameAndWritesSlotOrder) {
  fixture.window.setText(control::filterEdit, "a");
  fixture.tick();
  fixture.click(control::saveButton);
  EXPECT_EQ(fixture.window.text(control::filterEdit), "");
  EXPECT_EQ(names(), (std::vector<std::string>{"albers;Bernd", "Meier;Anna", "Zander;Clara"}));
  EXPECT_EQ(file(), threeCards);
  EXPECT_TRUE(fixture.dialogs.saveRequests.empty());
  // The save's sort leaves the column-click cycle where it was: the next
  // click still sorts ascending.
  fixture.window.events->columnClicked(1);
  EXPECT_EQ(names().front(), "albers;Bernd");
}

TEST_F(SavingFixture, saveAsAsksForTheFileAndRemembersIt) {
  fixture.dialogs.fileAnswers.push_back(std::string("/home/anna/neu.vcf"));
  fixture.click(control::saveAsButton);
  ASSERT_EQ(fixture.dialogs.saveRequests.size(), 1u);
  const platform::FileDialogRequest& request = fixture.dialogs.saveRequests[0];
  EXPECT_EQ(request.title, "Save VCard-File as...");
  EXPECT_EQ(request.filterName, "vcard");
  EXPECT_EQ(request.filterPattern, "*.vcf");
  EXPECT_EQ(request.defaultSuffix, "vcf");
  EXPECT_EQ(request.initialPath, ProgramFixture::addressPath);
  EXPECT_EQ(request.proposedName, "adressen.vcf");
  EXPECT_EQ(fixture.files.files["/home/anna/neu.vcf"], threeCards);
  EXPECT_EQ(document().currentFile(), "/home/anna/neu.vcf");
  EXPECT_EQ((fixture.profile.values[{ProgramFixture::configPath, "VC", "File"}]),
            "/home/anna/neu.vcf");
}

TEST_F(SavingFixture, cancelledSaveAsChangesNothing) {
  applyMobile("0170");
  fixture.click(control::saveAsButton);
  EXPECT_EQ(file(), threeCards);
  EXPECT_TRUE(records().changed);
  EXPECT_EQ(document().currentFile(), ProgramFixture::addressPath);
}

TEST_F(SavingFixture, aMissingFileIsAskedFor) {
  fixture.files.files.erase(ProgramFixture::addressPath);
  fixture.dialogs.fileAnswers.push_back(std::string("/home/anna/x.vcf"));
  fixture.click(control::saveButton);
  EXPECT_EQ(fixture.dialogs.saveRequests.size(), 1u);
  EXPECT_EQ(fixture.files.files["/home/anna/x.vcf"], threeCards);
}

TEST_F(SavingFixture, aFailedSaveSaysSoKeepsEverythingAndALaterSaveSucceeds) {
  applyMobile("0170 1");
  fixture.files.failWrites = true;
  fixture.click(control::saveButton);
  EXPECT_EQ(fixture.dialogs.messages.back(),
            (ShownMessage{ProgramFixture::addressPath, "Speichern fehlgeschlagen !",
                          MessageButtons::ok, MessageIcon::none}));
  EXPECT_EQ(file(), threeCards);
  EXPECT_TRUE(records().changed);
  fixture.dialogs.fileAnswers.push_back(std::string("/home/anna/anders.vcf"));
  fixture.click(control::saveAsButton);  // fails too: the old name stays in use
  EXPECT_EQ(document().currentFile(), ProgramFixture::addressPath);
  fixture.files.failWrites = false;
  fixture.click(control::saveButton);
  EXPECT_NE(file().find("TEL;CELL:0170 1"), std::string::npos);
  EXPECT_FALSE(records().changed);
}

// Names that the configuration would not give back as they are: the next
// start would open another file than the one saved or opened.
TEST_F(SavingFixture, bothDialogsRefuseNamesTheConfigurationCannotHold) {
  const std::string blank = "Dieser Dateiname beginnt oder endet mit einem Leerzeichen:\r\n";
  const std::string control = "Dieser Dateiname enth\xE4lt Steuerzeichen:\r\n";
  const std::string tooLong =
      "Dieser Dateiname ist zu lang (h\xF6"
      "chstens 255 Zeichen):\r\n";
  const std::string longest = "/home/anna/" + std::string(240, 'x') + ".vcf";
  ASSERT_EQ(longest.size(), 255u);
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"/home/anna/neu.vcf ", blank},      {" neu.vcf", blank},
      {"/home/anna/neu\r\n.vcf", control}, {"/home/anna/neu.vcf\n", control},
      {"/home/anna/a\tb.vcf", control},    {longest + "x", tooLong},
  };
  for (const auto& [name, problem] : refused) {
    SCOPED_TRACE(name);
    for (ControlId button : {control::saveAsButton, control::openButton}) {
      fixture.dialogs.messages.clear();
      fixture.dialogs.fileAnswers.push_back(name);
      fixture.click(button);
      const ShownMessage refusal{problem + name, "Dateiname ?", MessageButtons::ok,
                                 MessageIcon::exclamation};
      EXPECT_EQ(fixture.dialogs.messages, std::vector<ShownMessage>{refusal});
      EXPECT_FALSE(fixture.files.isFile(name));
      EXPECT_EQ(document().currentFile(), ProgramFixture::addressPath);
      EXPECT_EQ((fixture.profile.values[{ProgramFixture::configPath, "VC", "File"}]),
                ProgramFixture::addressPath);
      EXPECT_EQ(fixture.window.rowCount(), 3);
    }
  }
  for (const std::string& name : {longest, std::string("/home/anna/mit Leerzeichen.vcf")}) {
    fixture.dialogs.fileAnswers.push_back(name);
    fixture.click(control::saveAsButton);
    EXPECT_EQ(fixture.files.files[name], threeCards);
    EXPECT_EQ((fixture.profile.values[{ProgramFixture::configPath, "VC", "File"}]), name);
  }
}

TEST_F(SavingFixture, closingWithNothingUnsavedAsksNothing) {
  EXPECT_TRUE(fixture.window.events->closeRequested());
  EXPECT_TRUE(fixture.dialogs.messages.empty());
}

TEST_F(SavingFixture, closingWithUnsavedEditsAsksAndFollowsTheAnswer) {
  applyMobile("0170 2");
  fixture.dialogs.answers = {Answer::cancel};
  EXPECT_FALSE(fixture.window.events->closeRequested());
  EXPECT_EQ(fixture.dialogs.messages.back(), question());
  EXPECT_EQ(file(), threeCards);

  fixture.dialogs.answers = {Answer::no};
  EXPECT_TRUE(fixture.window.events->closeRequested());
  EXPECT_EQ(file(), threeCards);

  fixture.dialogs.answers = {Answer::yes};
  EXPECT_TRUE(fixture.window.events->closeRequested());
  EXPECT_NE(file().find("TEL;CELL:0170 2"), std::string::npos);
}

TEST_F(SavingFixture, yesKeepsTheWindowOpenWhenTheSaveFails) {
  applyMobile("0170 3");
  fixture.files.failWrites = true;
  fixture.dialogs.answers = {Answer::yes};
  EXPECT_FALSE(fixture.window.events->closeRequested());
  EXPECT_TRUE(records().changed);
}

TEST_F(SavingFixture, openingAnotherFileAsksFirst) {
  fixture.files.files["/home/anna/andere.vcf"] = "BEGIN:VCARD\r\nN:Otto\r\nEND:VCARD\r\n";
  applyMobile("0170 4");
  fixture.dialogs.answers = {Answer::cancel};
  fixture.click(control::openButton);
  EXPECT_TRUE(fixture.dialogs.openRequests.empty());
  EXPECT_EQ(fixture.window.rowCount(), 3);

  fixture.dialogs.answers = {Answer::yes};
  fixture.dialogs.fileAnswers.push_back(std::string("/home/anna/andere.vcf"));
  fixture.click(control::openButton);
  EXPECT_NE(file().find("TEL;CELL:0170 4"), std::string::npos);
  EXPECT_EQ(fixture.window.rowCount(), 1);
  EXPECT_FALSE(records().changed);
}

TEST_F(SavingFixture, aFileThatCannotBeOpenedLeavesTheBookAndItsFileInUse) {
  fixture.files.files["/home/anna/kaputt.vcf"] = "BEGIN:VCARD \r\nN:x\r\nEND:VCARD\r\n";
  fixture.dialogs.fileAnswers.push_back(std::string("/home/anna/kaputt.vcf"));
  fixture.click(control::openButton);
  EXPECT_EQ(fixture.dialogs.messages.back().caption, "No Vcards !!");
  EXPECT_EQ(fixture.window.rowCount(), 3);
  fixture.click(control::saveButton);
  EXPECT_EQ(fixture.files.files["/home/anna/kaputt.vcf"], "BEGIN:VCARD \r\nN:x\r\nEND:VCARD\r\n");
  EXPECT_EQ(file(), threeCards);
}

}  // namespace
