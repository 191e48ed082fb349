#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "table/control_ids.h"
#include "tests/end_to_end/end_to_end_support.h"

namespace {

using platform::ControlId;
namespace control = table::control;
using testing_support::readBytes;
using testing_support::RunningProgram;
using testing_support::ShownMessage;
using testing_support::TemporaryHome;
using testing_support::waitUntil;
using testing_support::writeBytes;

void expectMessage(const ShownMessage& shown, const std::string& text, const std::string& caption,
                   platform::MessageButtons buttons, platform::MessageIcon icon) {
  EXPECT_EQ(shown.text, text);
  EXPECT_EQ(shown.caption, caption);
  EXPECT_EQ(shown.buttons, buttons);
  EXPECT_EQ(shown.icon, icon);
}

// Clicks the row of the contact and waits until the edit fields show it.
void select(RunningProgram& program, const std::string& name, const std::string& familyName) {
  int row = program.rowOf(name);
  ASSERT_NE(row, 0) << name;
  program.clickRow(row);
  ASSERT_TRUE(waitUntil([&] { return program.text(control::nameEdit) == familyName; }))
      << "shown: " << program.text(control::nameEdit);
}

const std::string schulzCard =
    "BEGIN:VCARD\r\nN:Schulz;Peter\r\nTEL;WORK:0711 111\r\nEMAIL:peter@example.org\r\n"
    "BDAY:1970-01-01T08:30\r\nEND:VCARD\r\n";
const std::string albersCard =
    "BEGIN:VCARD\r\nN:Albers;Anna\r\nTEL;HOME:030 222\r\nEMAIL:anna@example.org\r\nEND:VCARD\r\n";
// A note of 95 characters, folded after its 69th.
const std::string zanderCard =
    "BEGIN:VCARD\r\nN:Zander;Zoe\r\nBDAY:07.03.1961\r\n"
    "NOTE:Klingel defekt, bitte vorher anrufen; Hinterhaus, dritter Stock links\r\n"
    " , Schluessel beim Nachbarn\r\nEND:VCARD\r\n";

TEST(EditingFlow, applySaveNewDeleteAndCloseWithUnsavedChanges) {
  TemporaryHome home;
  const std::string file = (home.home() / "adressen.vcf").string();
  writeBytes(file, schulzCard + albersCard + zanderCard);
  const std::string config = "[port]\r\nt=1\r\n[VC]\r\nFile=" + file + "\r\n";
  writeBytes(home.configFile(), config);

  RunningProgram program;
  program.start();
  ASSERT_EQ(program.rowCount(), 3);

  // Change a contact in the edit fields, apply, save.
  select(program, "Albers;Anna", "Albers");
  program.typeInto(control::nameEdit, "M\xFCller");
  program.typeInto(control::mobileEdit, "0171 333");
  program.typeInto(control::notesEdit, "Hof\nTor");
  program.typeInto(control::dayEdit, "7");
  program.typeInto(control::monthEdit, "3");
  program.typeInto(control::yearEdit, "1961");
  program.typeInto(control::hourEdit, "9");
  program.click(control::applyButton);
  program.click(control::saveButton);
  const std::string muellerCard =
      "BEGIN:VCARD\r\nN:M\xFCller;Anna\r\nTEL;HOME:030 222\r\nTEL;CELL:0171 333\r\n"
      "EMAIL:anna@example.org\r\nBDAY:1961-03-07T09:00\r\nNOTE:Hof\x07Tor\r\nEND:VCARD\r\n";
  EXPECT_EQ(readBytes(file), schulzCard + muellerCard + zanderCard);
  EXPECT_EQ(program.columnTexts(1),
            (std::vector<std::string>{"M\xFCller;Anna", "Schulz;Peter", "Zander;Zoe"}));
  EXPECT_EQ(readBytes(home.configFile()), config);

  // A new contact goes to the end of the file.
  program.click(control::newButton);
  EXPECT_TRUE(waitUntil([&] { return program.text(control::rowLabel) == " 4"; }));
  EXPECT_EQ(program.window.focusedControl(), control::nameEdit);
  EXPECT_EQ(program.text(control::nameEdit), "");
  EXPECT_EQ(program.text(control::notesEdit), "");
  program.typeInto(control::nameEdit, "Neumann");
  program.typeInto(control::firstNameEdit, "Nina");
  program.typeInto(control::workPhoneEdit, "089 444");
  program.click(control::applyButton);
  program.click(control::saveButton);
  const std::string neumannCard =
      "BEGIN:VCARD\r\nN:Neumann;Nina\r\nTEL;WORK:089 444\r\nEND:VCARD\r\n";
  EXPECT_EQ(readBytes(file), schulzCard + muellerCard + zanderCard + neumannCard);

  // Delete asks, then saves at once.
  select(program, "Zander;Zoe", "Zander");
  program.dialogs.answers.push_back(platform::Answer::yes);
  program.click(control::deleteButton);
  ASSERT_EQ(program.dialogs.messages.size(), 1U);
  expectMessage(program.dialogs.messages[0], "Zander;Zoe", "Datensatz  3 l\xF6schen ?",
                platform::MessageButtons::yesNo, platform::MessageIcon::exclamation);
  EXPECT_EQ(readBytes(file), schulzCard + muellerCard + neumannCard);
  EXPECT_EQ(program.columnTexts(1),
            (std::vector<std::string>{"M\xFCller;Anna", "Neumann;Nina", "Schulz;Peter"}));

  // Closing with an applied edit that is not saved: Cancel keeps the window,
  // Yes saves and closes.
  select(program, "Neumann;Nina", "Neumann");
  program.typeInto(control::faxEdit, "089 445");
  program.click(control::applyButton);
  program.dialogs.answers.push_back(platform::Answer::cancel);
  EXPECT_FALSE(program.closeWindow());
  EXPECT_TRUE(program.window.isAlive());
  ASSERT_EQ(program.dialogs.messages.size(), 2U);
  expectMessage(program.dialogs.messages[1], file, "\xC4nderungen speichern ?",
                platform::MessageButtons::yesNoCancel, platform::MessageIcon::exclamation);
  EXPECT_EQ(readBytes(file), schulzCard + muellerCard + neumannCard);

  program.dialogs.answers.push_back(platform::Answer::yes);
  EXPECT_TRUE(program.closeWindow());
  EXPECT_FALSE(program.window.isAlive());
  EXPECT_EQ(program.dialogs.messages.size(), 3U);
  EXPECT_EQ(
      readBytes(file),
      schulzCard + muellerCard +
          "BEGIN:VCARD\r\nN:Neumann;Nina\r\nTEL;WORK:089 444\r\nTEL;FAX:089 445\r\nEND:VCARD\r\n");
}

// When the current file has gone, the save that follows a delete asks for a
// file; cancelled, it leaves the deleted row in the table as it was until the
// next fill, and the next save leaves the record out.
TEST(EditingFlow, aDeletedRowWhoseSaveIsCancelledStaysAsItWas) {
  TemporaryHome home;
  const std::string file = home.writeAddressBook(schulzCard + albersCard + zanderCard);
  RunningProgram program;
  program.start();
  std::filesystem::remove(file);

  select(program, "Albers;Anna", "Albers");
  program.dialogs.answers.push_back(platform::Answer::yes);
  program.click(control::deleteButton);
  ASSERT_EQ(program.dialogs.saveRequests.size(), 1U);
  const std::vector<std::string> names{"Schulz;Peter", "Albers;Anna", "Zander;Zoe"};
  program.control(control::recordTable)->repaint();
  EXPECT_EQ(program.columnTexts(1), names);
  EXPECT_EQ(program.cell(2, 3), "030 222");

  select(program, "Schulz;Peter", "Schulz");
  select(program, "Albers;Anna", "Albers");
  EXPECT_EQ(program.text(control::firstNameEdit), "Anna");
  EXPECT_EQ(program.text(control::homePhoneEdit), "030 222");
  EXPECT_EQ(program.text(control::emailEdit), "anna@example.org");

  program.dialogs.fileAnswers.push_back(file);
  program.click(control::saveButton);
  EXPECT_EQ(readBytes(file), schulzCard + zanderCard);
  EXPECT_EQ(program.columnTexts(1), (std::vector<std::string>{"Schulz;Peter", "Zander;Zoe"}));
  program.closeWindow();
}

// A row clicked after a sort (or a refill) may bear the number the selected
// row had before; it must still be shown, and Apply clicked before any tick
// must never write the contact of the edit fields over the clicked one.
TEST(EditingFlow, rowClickedRightAfterASortIsShownBeforeApplyWritesIt) {
  TemporaryHome home;
  const std::string file = home.writeAddressBook(schulzCard + albersCard + zanderCard);
  RunningProgram program;
  program.start();
  select(program, "Albers;Anna", "Albers");  // row 2

  program.clickHeader(1);  // Albers moves to row 1, Schulz to row 2
  program.clickRow(2, true);
  program.click(control::applyButton);  // before any tick
  EXPECT_EQ(program.text(control::nameEdit), "Schulz");
  EXPECT_EQ(program.columnTexts(1),
            (std::vector<std::string>{"Albers;Anna", "Schulz;Peter", "Zander;Zoe"}));
  program.clickHeader(1);  // Z to A: Schulz stays in row 2
  program.clickRow(1, true);
  EXPECT_TRUE(waitUntil([&] { return program.text(control::nameEdit) == "Zander"; },
                        std::chrono::seconds(1)))
      << "shown: " << program.text(control::nameEdit);
  program.dialogs.answers.push_back(platform::Answer::no);
  program.closeWindow();
}

}  // namespace
