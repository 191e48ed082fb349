#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/setting_keys.h"
#include "table/control_ids.h"
#include "tests/end_to_end/end_to_end_support.h"

namespace {

namespace fs = std::filesystem;
using platform::ControlId;
namespace control = table::control;
using testing_support::readBytes;
using testing_support::RunningProgram;
using testing_support::TemporaryHome;
using testing_support::waitUntil;
using testing_support::writeBytes;

int currentYear() {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local.tm_year + 1900;
}

// Waits for column of the table to read expected, then compares, so that a
// failure shows what the table holds.
void expectColumn(const RunningProgram& program, int column,
                  const std::vector<std::string>& expected) {
  waitUntil([&] { return program.columnTexts(column) == expected; });
  EXPECT_EQ(program.columnTexts(column), expected);
}

// Four contacts, not in the order of their names.
const std::string addressBook =
    "BEGIN:VCARD\r\nN:Schulz;Peter\r\nTEL;WORK:0711 111\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Albers;Anna\r\nTEL;HOME:030 222\r\nEMAIL:anna@example.org\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Meier;Klaus\r\nTEL;CELL:0172 555\r\nEMAIL:klaus.meier@example.org\r\n"
    "BDAY:1965-01-01T07:45\r\nNOTE:Garten\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Zander;Zoe\r\nTEL;FAX:040 444\r\nEND:VCARD\r\n";

TEST(MainWindowFlow, startUpTableFilterSortAndSelection) {
  TemporaryHome home;
  const std::string work = home.work().string();
  const app::ConfigCandidates candidates =
      platform::configCandidatesOfThisProcess(app::configFileName);
  ASSERT_EQ(candidates.temporaryFolderFile, home.configFile());
  ASSERT_FALSE(fs::exists(candidates.programFile)) << "a configuration beside the test program";
  ASSERT_FALSE(fs::exists(candidates.rootFile)) << "a system-wide configuration";

  // First start with no configuration anywhere: the configuration is made in
  // the user's folder and names an empty address book in the working folder.
  {
    RunningProgram first;
    first.start();
    EXPECT_EQ(first.program.configPath(), home.configFile());
    EXPECT_EQ(readBytes(home.configFile()),
              "[port]\r\nt=1\r\n[VC]\r\nFile=" + work + "/myadr.vcf\r\n");
    EXPECT_EQ(readBytes(home.work() / "myadr.vcf"), "BEGIN:VCARD\r\nEND:VCARD\r\n\r\n");
    EXPECT_FALSE(fs::exists(candidates.programFile));
    EXPECT_EQ(first.rowCount(), 0);
    EXPECT_EQ(first.statusText(4), "File: " + work + "/myadr.vcf");
    EXPECT_TRUE(first.dialogs.messages.empty());
    EXPECT_TRUE(first.closeWindow());
    EXPECT_FALSE(first.window.isAlive());
  }

  // The configuration names an address book in a folder with an umlaut: the
  // configuration holds the path in Windows-1252, the disk in UTF-8.
  const fs::path folder = home.home() / "Adressb\u00fccher";
  fs::create_directory(folder);
  writeBytes(folder / "adressen.vcf", addressBook);
  const std::string config = "[port]\r\nt=1\r\n[VC]\r\nFile=" + home.home().string() +
                             "/Adressb\xFC"
                             "cher/adressen.vcf\r\n";
  writeBytes(home.configFile(), config);

  RunningProgram program;
  program.start();
  EXPECT_TRUE(program.dialogs.messages.empty());
  EXPECT_EQ(readBytes(home.configFile()), config);
  expectColumn(program, 1, {"Schulz;Peter", "Albers;Anna", "Meier;Klaus", "Zander;Zoe"});
  EXPECT_EQ(program.statusText(4), "File: " + home.home().string() +
                                       "/Adressb\xFC"
                                       "cher/adressen.vcf");
  waitUntil([&] { return program.statusText(2) == "Datens\xE4tze: 4"; });
  EXPECT_EQ(program.statusText(2), "Datens\xE4tze: 4");
  EXPECT_EQ(program.text(control::nameEdit), "Schulz");

  // An edit applied to the last contact but not saved.
  program.clickRow(4);
  EXPECT_TRUE(waitUntil([&] { return program.text(control::nameEdit) == "Zander"; }));
  EXPECT_EQ(program.text(control::faxEdit), "040 444");
  program.typeInto(control::workPhoneEdit, "0800 999");
  program.click(control::applyButton);
  EXPECT_EQ(program.cell(4, 2), "0800 999");

  // The filter acts on the timer's tick, not on each key, and keeps the edit.
  program.typeInto(control::filterEdit, "an");
  EXPECT_EQ(program.rowCount(), 4);
  expectColumn(program, 1, {"Albers;Anna", "Zander;Zoe"});
  EXPECT_EQ(program.cell(2, 2), "0800 999");
  waitUntil([&] { return program.statusText(2) == "Datens\xE4tze: 2"; });
  EXPECT_EQ(program.statusText(2), "Datens\xE4tze: 2");
  EXPECT_EQ(program.text(control::nameEdit), "Albers");

  program.click(control::resetFilterButton);
  EXPECT_EQ(program.text(control::filterEdit), "");
  expectColumn(program, 1, {"Schulz;Peter", "Albers;Anna", "Meier;Klaus", "Zander;Zoe"});
  EXPECT_EQ(program.cell(4, 2), "0800 999");
  waitUntil([&] { return program.statusText(2) == "Datens\xE4tze: 4"; });
  EXPECT_EQ(program.statusText(2), "Datens\xE4tze: 4");

  // A click on a header sorts A to Z, the next one Z to A.
  program.clickHeader(1);
  expectColumn(program, 1, {"Albers;Anna", "Meier;Klaus", "Schulz;Peter", "Zander;Zoe"});
  program.clickHeader(1);
  expectColumn(program, 1, {"Zander;Zoe", "Schulz;Peter", "Meier;Klaus", "Albers;Anna"});
  EXPECT_EQ(program.cell(1, 2), "0800 999");

  // A click on a row shows the contact in the edit fields at the next tick.
  program.clickRow(3);
  EXPECT_TRUE(waitUntil([&] { return program.text(control::nameEdit) == "Meier"; }));
  EXPECT_EQ(program.text(control::firstNameEdit), "Klaus");
  EXPECT_EQ(program.text(control::workPhoneEdit), "");
  EXPECT_EQ(program.text(control::mobileEdit), "0172 555");
  EXPECT_EQ(program.text(control::faxEdit), "");
  EXPECT_EQ(program.text(control::emailEdit), "klaus.meier@example.org");
  EXPECT_EQ(program.text(control::notesEdit), "Garten");
  EXPECT_EQ(program.text(control::dayEdit), "1");
  EXPECT_EQ(program.text(control::monthEdit), "1");
  EXPECT_EQ(program.text(control::yearEdit), "1965");
  EXPECT_EQ(program.text(control::hourEdit), "07");
  EXPECT_EQ(program.text(control::minuteEdit), "45");
  // The first of January has always passed: the age is the difference of years.
  EXPECT_EQ(program.text(control::ageLabel),
            std::string("(").append(std::to_string(currentYear() - 1965)).append("J)"));
  EXPECT_EQ(program.text(control::rowLabel), " 3");

  // Closing with the unsaved edit asks first; No leaves the file as it was.
  program.dialogs.answers.push_back(platform::Answer::no);
  EXPECT_TRUE(program.closeWindow());
  EXPECT_EQ(program.dialogs.messages.size(), 1U);
  EXPECT_EQ(readBytes(folder / "adressen.vcf"), addressBook);
}

}  // namespace
