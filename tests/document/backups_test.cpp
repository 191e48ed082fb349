#include "document/backups.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "platform/path.h"
#include "table/control_ids.h"
#include "tests/fakes/program_fixture.h"

namespace {

using platform::ControlId;
namespace control = table::control;
using testing_support::ProgramFixture;

using Files = std::map<std::string, std::string, std::less<>>;

// Saved by the program as it is: a save without edits writes the same bytes.
constexpr std::string_view twoCards =
    "BEGIN:VCARD\r\nN:Meier;Anna\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Zander;Clara\r\nEND:VCARD\r\n";

const std::string backupFolder = ProgramFixture::backupFolder;

// The copies of address files named stem, in name order (oldest first
// within a series), with their content.
std::vector<std::pair<std::string, std::string>> copies(const Files& files,
                                                        std::string_view stem = "adressen") {
  std::vector<std::pair<std::string, std::string>> found;
  for (const auto& [path, bytes] : files) {
    if (path.starts_with(backupFolder + "/" + std::string(stem) + "_") && path.ends_with(".vcf"))
      found.emplace_back(path.substr(backupFolder.size() + 1), bytes);
  }
  return found;
}

// Types a mobile number into the shown card and applies it.
void applyMobile(ProgramFixture& fixture, std::string_view mobile) {
  fixture.window.setText(control::mobileEdit, mobile);
  fixture.click(control::applyButton);
}

// Where a run starts and which file its configuration names.
struct Place {
  std::string folder = "/home/anna";
  std::string configured = ProgramFixture::addressPath;
};

// One run of the program over the files the runs before it left, at the
// given hour (10:00 unless the clock was set back) and second: it starts,
// applies the mobile number (when there is one) and saves.
Files run(const Files& files, int second, std::string_view mobile, int hour = 10,
          const Place& place = {}) {
  ProgramFixture fixture{""};
  fixture.files.files = files;
  fixture.files.cwd = place.folder;
  fixture.profile.values[{ProgramFixture::configPath, "VC", "File"}] = place.configured;
  fixture.clock.hour = hour;
  fixture.clock.minute = 0;
  fixture.clock.second = second;
  fixture.start();
  fixture.tick();
  if (!mobile.empty()) applyMobile(fixture, mobile);
  fixture.click(control::saveButton);
  EXPECT_TRUE(fixture.dialogs.messages.empty());
  return fixture.files.files;
}

TEST(Backups, onlyTheFirstWriteOfARunCopiesTheFileAsItWas) {
  ProgramFixture fixture{std::string(twoCards)};
  fixture.start();
  fixture.tick();
  applyMobile(fixture, "0170 1");
  fixture.click(control::saveButton);
  applyMobile(fixture, "0170 2");
  fixture.click(control::saveButton);
  fixture.dialogs.answers = {platform::Answer::yes};
  fixture.click(control::deleteButton);  // saves too

  auto made = copies(fixture.files.files);
  ASSERT_EQ(made.size(), 1u);
  EXPECT_TRUE(made[0].first.ends_with("_2026-12-06_155424.vcf")) << made[0].first;
  EXPECT_EQ(made[0].second, twoCards);
  EXPECT_EQ(fixture.files.files[ProgramFixture::addressPath],
            "BEGIN:VCARD\r\nN:Zander;Clara\r\nEND:VCARD\r\n");
  EXPECT_EQ(fixture.dialogs.messages.size(), 1u) << "only the delete question";
}

TEST(Backups, theFirstSaveOfARunReadsTheAddressFileOnceForTheCheckAndTheCopy) {
  ProgramFixture fixture{std::string(twoCards)};
  fixture.start();
  fixture.tick();
  applyMobile(fixture, "0170 1");
  fixture.files.readCalls = 0;
  fixture.click(control::saveButton);
  ASSERT_EQ(copies(fixture.files.files).size(), 1u);
  EXPECT_EQ(fixture.files.readCalls, 1);
}

TEST(Backups, anotherProgramsChangesAreCopiedBeforeTheyAreWrittenOver) {
  ProgramFixture fixture{std::string(twoCards)};
  fixture.start();
  fixture.tick();
  applyMobile(fixture, "0170 1");
  fixture.click(control::saveButton);
  const std::string otherProgram = "BEGIN:VCARD\r\nN:Berger;Bernd\r\nEND:VCARD\r\n";
  fixture.files.replaceFile(ProgramFixture::addressPath, otherProgram);
  fixture.clock.second += 1;
  applyMobile(fixture, "0170 2");
  fixture.dialogs.answers = {platform::Answer::yes};
  fixture.click(control::saveButton);

  auto made = copies(fixture.files.files);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[0].second, twoCards);
  EXPECT_EQ(made[1].second, otherProgram);
  ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
  EXPECT_EQ(fixture.dialogs.messages[0].caption, "Datei ge\xE4ndert");
}

TEST(Backups, theTenNewestCopiesStayAndTheEleventhRunRemovesTheOldest) {
  Files files = ProgramFixture{std::string(twoCards)}.files.files;
  for (int second = 1; second <= 11; ++second)
    files = run(files, second, "0170 " + std::to_string(second));

  auto made = copies(files);
  ASSERT_EQ(made.size(), 10u);
  EXPECT_TRUE(made.front().first.ends_with("_2026-12-06_100002.vcf")) << made.front().first;
  EXPECT_NE(made.front().second.find("0170 1\r\n"), std::string::npos);
  EXPECT_NE(made.back().second.find("0170 10\r\n"), std::string::npos);
  for (const auto& [name, bytes] : made) EXPECT_NE(bytes, twoCards) << name;
}

// A clock set back (a dead clock battery) names copies as if they were
// older; they are still the newest.
TEST(Backups, theTenMadeLastStayWhateverTheClockSays) {
  Files files = ProgramFixture{std::string(twoCards)}.files.files;
  for (int second = 1; second <= 10; ++second)
    files = run(files, second, "0170 " + std::to_string(second));
  for (int second = 11; second <= 14; ++second)
    files = run(files, second, "0170 " + std::to_string(second), 8);

  auto made = copies(files);
  ASSERT_EQ(made.size(), 10u);
  for (int second = 5; second <= 13; ++second) {
    std::string content = "0170 " + std::to_string(second) + "\r\n";
    EXPECT_TRUE(std::ranges::any_of(made, [&](const auto& copy) {
      return copy.second.find(content) != std::string::npos;
    })) << content;
  }
}

// Books of the same name in two folders, and one book named relatively and
// absolutely: one series per file.
TEST(Backups, eachAddressFileHasOneSeriesOfItsOwn) {
  Files files = ProgramFixture{""}.files.files;
  files["/home/anna/a/myadr.vcf"] = std::string(twoCards);
  files["/home/anna/b/myadr.vcf"] = std::string(twoCards);
  const Place a{"/home/anna/a", "myadr.vcf"};
  const Place b{"/home/anna/b", "myadr.vcf"};
  files = run(files, 1, "0170 a", 10, a);
  for (int second = 2; second <= 12; ++second)
    files = run(files, second, "0170 " + std::to_string(second), 10, b);
  files = run(files, 13, "", 10, Place{"/", "/home/anna/b/myadr.vcf"});

  auto made = copies(files, "myadr");
  ASSERT_EQ(made.size(), 11u);
  EXPECT_EQ(std::ranges::count_if(made, [](const auto& copy) { return copy.second == twoCards; }),
            1);
}

TEST(Backups, contentLikeTheNewestCopyIsNotCopiedAgain) {
  Files files = ProgramFixture{std::string(twoCards)}.files.files;
  for (int second = 1; second <= 3; ++second) files = run(files, second, "");
  files = run(files, 4, "0170 4");
  files = run(files, 5, "");
  files = run(files, 6, "");

  auto made = copies(files);
  ASSERT_EQ(made.size(), 2u);
  EXPECT_EQ(made[0].second, twoCards);
  EXPECT_NE(made[1].second.find("0170 4"), std::string::npos);
}

TEST(Backups, aCopyThatCannotBeMadeIsReportedOnceAndTheSavesGoOn) {
  ProgramFixture fixture{std::string(twoCards)};
  fixture.files.files["/home/anna/.local/state"] = "a file where the folder would be";
  fixture.start();
  fixture.tick();
  for (std::string_view mobile : {"0170 1", "0170 2"}) {
    applyMobile(fixture, mobile);
    fixture.click(control::saveButton);
    EXPECT_NE(fixture.files.files[ProgramFixture::addressPath].find(mobile), std::string::npos);
    EXPECT_FALSE(fixture.program.records().changed);
  }

  ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
  EXPECT_EQ(fixture.dialogs.messages[0].caption, "Sicherungskopie fehlgeschlagen !");
  EXPECT_TRUE(fixture.dialogs.messages[0].text.starts_with(backupFolder + "/adressen_"))
      << fixture.dialogs.messages[0].text;
  EXPECT_TRUE(copies(fixture.files.files).empty());
}

TEST(Backups, aCopyIsNamedAfterTheFilesNameAndJoinedWithTheSystemsSeparator) {
  // Windows separates with either slash; elsewhere a backslash is a letter
  // of the name.
  const bool windows = platform::path::separator == '\\';
  const std::string folder = windows ? "C:\\Users\\anna\\AppData\\Local\\zudedo\\backups"
                                     : "/home/anna/.local/state/zudedo/backups";
  const std::string address =
      windows ? "C:\\Users\\anna\\Documents\\adressen.vcf" : "/home/anna/Mai\\Juni.vcf";
  const std::string expectedStart = windows ? folder + "\\adressen_" : folder + "/Mai\\Juni_";
  testing_support::MemoryFileSystem files;
  testing_support::FakeClock clock;
  files.files[address] = std::string(twoCards);

  EXPECT_EQ(document::Backups{folder}.beforeFirstWrite(address, files, clock), std::nullopt);
  // A later run with the same content finds that copy in the folder.
  EXPECT_EQ(document::Backups{folder}.beforeFirstWrite(address, files, clock), std::nullopt);

  std::vector<std::string> made;
  for (const auto& [path, bytes] : files.files) {
    if (path != address) made.push_back(path);
  }
  ASSERT_EQ(made.size(), 1u);
  EXPECT_TRUE(made[0].starts_with(expectedStart)) << made[0];
}

}  // namespace
