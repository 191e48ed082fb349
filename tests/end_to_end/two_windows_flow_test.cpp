#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "table/control_ids.h"
#include "tests/end_to_end/end_to_end_support.h"

namespace {

using platform::Answer;
using platform::ControlId;
namespace control = table::control;
using testing_support::readBytes;
using testing_support::RunningProgram;
using testing_support::TemporaryHome;
using testing_support::waitUntil;
using testing_support::writeBytes;

const std::string schulzCard = "BEGIN:VCARD\r\nN:Schulz;Peter\r\nEND:VCARD\r\n";
const std::string albersCard = "BEGIN:VCARD\r\nN:Albers;Anna\r\nEND:VCARD\r\n";

// Clicks the contact's row and waits until the edit fields show it.
void select(RunningProgram& window, const std::string& name, const std::string& familyName) {
  int row = window.rowOf(name);
  ASSERT_NE(row, 0) << name;
  window.clickRow(row);
  ASSERT_TRUE(waitUntil([&] { return window.text(control::nameEdit) == familyName; }));
}

// Two windows on one address file: B holds an unsaved edit while A deletes
// a contact, which A saves at once. B's save asks; No keeps A's file, Yes
// writes B's records and A's state stays in the backups. A, with nothing unsaved, then shows B's
// file.
TEST(TwoWindows, aSaveOverTheOtherWindowsDeleteAsksFirst) {
  TemporaryHome home;
  const std::string file = (home.home() / "adressen.vcf").string();
  writeBytes(file, schulzCard + albersCard);
  writeBytes(home.configFile(), "[port]\r\nt=1\r\n[VC]\r\nFile=" + file + "\r\n");

  RunningProgram a;
  a.start();
  RunningProgram b;
  b.start();
  ASSERT_EQ(a.rowCount(), 2);
  ASSERT_EQ(b.rowCount(), 2);

  select(b, "Schulz;Peter", "Schulz");
  b.typeInto(control::mobileEdit, "0170 1");
  b.click(control::applyButton);

  select(a, "Albers;Anna", "Albers");
  a.dialogs.answers = {Answer::yes};
  a.click(control::deleteButton);
  const std::string deletedByA = schulzCard;
  ASSERT_EQ(readBytes(file), deletedByA);

  b.dialogs.answers = {Answer::no};
  b.click(control::saveButton);
  ASSERT_FALSE(b.dialogs.messages.empty());
  EXPECT_EQ(b.dialogs.messages.back().caption, "Datei ge\xE4ndert");
  EXPECT_EQ(b.dialogs.messages.back().defaultButton, Answer::no);
  EXPECT_EQ(readBytes(file), deletedByA);
  EXPECT_EQ(b.rowCount(), 2);

  b.dialogs.answers = {Answer::yes};
  b.click(control::saveButton);
  EXPECT_EQ(readBytes(file),
            "BEGIN:VCARD\r\nN:Schulz;Peter\r\nTEL;CELL:0170 1\r\nEND:VCARD\r\n" + albersCard);
  EXPECT_EQ(b.dialogs.messages.size(), 2u);
  // Each window copied the file before its first write: the file as both
  // loaded it, and A's state that B's Yes replaced.
  std::vector<std::string> backups;
  for (const auto& entry : std::filesystem::directory_iterator(home.backups()))
    backups.push_back(readBytes(entry.path().string()));
  std::sort(backups.begin(), backups.end());
  EXPECT_EQ(backups, (std::vector<std::string>{schulzCard, schulzCard + albersCard}));

  a.typeInto(control::filterEdit, "Albers");
  EXPECT_TRUE(waitUntil([&] { return a.rowCount() == 1 && a.cell(1, 1) == "Albers;Anna"; }));
  EXPECT_EQ(a.dialogs.messages.size(), 1u);
}

}  // namespace
