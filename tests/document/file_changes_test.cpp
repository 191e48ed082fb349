#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "document/conflict_copies.h"
#include "table/control_ids.h"
#include "tests/fakes/program_fixture.h"

namespace {

using platform::Answer;
using platform::ControlId;
namespace control = table::control;
using platform::MessageButtons;
using platform::MessageIcon;
using testing_support::MemoryFileSystem;
using testing_support::ProgramFixture;
using testing_support::ShownMessage;

const std::string threeCards =
    "BEGIN:VCARD\r\nN:Zander;Clara\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Albers;Bernd\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Meier;Anna\r\nEND:VCARD\r\n";
// As threeCards, one letter changed: same size.
const std::string threeCardsChanged =
    "BEGIN:VCARD\r\nN:Zandor;Clara\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Albers;Bernd\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Meier;Anna\r\nEND:VCARD\r\n";
const std::string ottoCard = "BEGIN:VCARD\r\nN:Otto;Olga\r\nEND:VCARD\r\n";
const std::string path = ProgramFixture::addressPath;

ShownMessage changedQuestion() {
  return {path +
              "\r\nwurde seit dem Laden von einem anderen Programm ge\xE4ndert.\r\n"
              "Trotzdem speichern ?",
          "Datei ge\xE4ndert", MessageButtons::yesNo, MessageIcon::exclamation, Answer::no};
}

struct Window {
  Window() {
    fixture.start();
    fixture.tick();
  }
  // Applies a mobile number to the selected row (Zander) without saving.
  void applyMobile(std::string_view number) {
    fixture.window.setText(control::mobileEdit, number);
    fixture.click(control::applyButton);
  }
  // The mobile number that the table shows for a name, or "-" without a row.
  std::string mobileOf(std::string_view name) {
    for (int row = 1; row <= fixture.window.rowCount(); ++row) {
      auto cells = fixture.window.row(row);
      if (cells[0] == name) return cells[3];
    }
    return "-";
  }
  int questions() {
    int count = 0;
    for (const auto& shown : fixture.dialogs.messages)
      count += shown.caption == "Datei ge\xE4ndert";
    return count;
  }
  MemoryFileSystem& files() { return fixture.files; }
  const table::Records& records() { return fixture.program.records(); }
  const document::Document& document() { return fixture.program.document(); }

  ProgramFixture fixture{threeCards};
};

// What another program does to the address file between the load and the
// save of a window that holds an applied edit.
struct DiskSituation {
  const char* name;
  std::function<void(MemoryFileSystem&)> change;
  bool asks;
  // The file is gone, so the save first asks where to write; the user
  // picks the same path.
  bool asksForFile = false;
  bool folder = false;
};

class BeforeASave : public testing::TestWithParam<DiskSituation> {};

TEST_P(BeforeASave, asksWhenTheBytesOnDiskChangedAndFollowsTheAnswer) {
  const DiskSituation& situation = GetParam();
  for (Answer answer : {Answer::yes, Answer::no}) {
    if (!situation.asks && answer == Answer::no) continue;
    SCOPED_TRACE(answer == Answer::yes ? "Yes" : "No");
    Window window;
    window.applyMobile("0170 9");
    situation.change(window.files());
    auto onDisk = window.files().files;
    if (situation.asksForFile) window.fixture.dialogs.fileAnswers.push_back(path);
    window.fixture.dialogs.answers = {answer};

    window.fixture.click(control::saveButton);

    EXPECT_EQ(window.questions(), situation.asks ? 1 : 0);
    if (situation.asks) {
      EXPECT_EQ(window.fixture.dialogs.messages.front(), changedQuestion());
    }
    bool written = answer == Answer::yes && !situation.folder;
    if (written) {
      EXPECT_NE(window.files().files[path].find("TEL;CELL:0170 9"), std::string::npos);
    } else {
      EXPECT_EQ(window.files().files, onDisk);
    }
    EXPECT_EQ(window.records().changed, !written);
    EXPECT_EQ(window.mobileOf("Zander;Clara"), "0170 9");
    EXPECT_EQ(window.fixture.window.rowCount(), 3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    OnDisk, BeforeASave,
    testing::Values(
        DiskSituation{"unchanged", [](MemoryFileSystem&) {}, false},
        DiskSituation{"touchedButSameBytes", [](MemoryFileSystem& files) { files.touch(path); },
                      false},
        DiskSituation{"changedBytesSameSizeAndTime",
                      [](MemoryFileSystem& files) { files.files[path] = threeCardsChanged; }, true},
        DiskSituation{"changedSize", [](MemoryFileSystem& files) { files.files[path] += ottoCard; },
                      true},
        DiskSituation{"replacedByRename",
                      [](MemoryFileSystem& files) { files.replaceFile(path, threeCardsChanged); },
                      true},
        DiskSituation{"removed", [](MemoryFileSystem& files) { files.files.erase(path); }, true,
                      true},
        DiskSituation{"madeAFolder",
                      [](MemoryFileSystem& files) {
                        files.files.erase(path);
                        files.folders.insert(path);
                      },
                      true, true, true}),
    [](const testing::TestParamInfo<DiskSituation>& param) { return param.param.name; });

TEST(BeforeAWrite, saveAsOntoTheFileInUseInAnySpellingAndTheDeleteAskToo) {
  // The file in use by its name, relative to the current folder, and by a
  // second name (a link: one identity), changed in place or replaced by
  // another program; a Yes saves it under the name in use.
  const std::string secondName = "/srv/kontakte.vcf";
  for (bool replaced : {false, true}) {
    for (const std::string& chosen : {path, std::string("adressen.vcf"), secondName}) {
      SCOPED_TRACE(chosen + (replaced ? " replaced" : " changed in place"));
      Window window;
      window.files().fileIds[path] = window.files().fileIds[secondName] = 77;
      window.fixture.window.events->activationChanged(true);  // the load's identity was 0
      if (replaced) window.files().replaceFile(path, threeCardsChanged);
      window.files().files[path] = window.files().files[secondName] = threeCardsChanged;
      window.files().fileIds[secondName] = window.files().fileIds[path];
      window.fixture.dialogs.fileAnswers.push_back(chosen);
      window.fixture.dialogs.answers = {Answer::no};
      window.fixture.click(control::saveAsButton);
      EXPECT_EQ(window.questions(), 1);
      EXPECT_EQ(window.files().files[secondName], threeCardsChanged);

      window.fixture.dialogs.fileAnswers.push_back(chosen);
      window.fixture.dialogs.answers = {Answer::yes};
      window.fixture.click(control::saveAsButton);
      EXPECT_EQ(window.questions(), 2);
      EXPECT_EQ(window.document().currentFile(), path);
      EXPECT_EQ(window.files().files[secondName], threeCardsChanged);
    }
  }
  Window window;
  window.files().files[path] = threeCardsChanged;
  window.fixture.dialogs.fileAnswers.push_back(path);
  window.fixture.dialogs.answers = {Answer::no};
  window.fixture.click(control::saveAsButton);
  EXPECT_EQ(window.questions(), 1);

  window.fixture.dialogs.answers = {Answer::yes, Answer::no};  // delete Zander, then not saved
  window.fixture.click(control::deleteButton);
  EXPECT_EQ(window.questions(), 2);
  EXPECT_EQ(window.files().files[path], threeCardsChanged);
  EXPECT_TRUE(window.records().changed);
  EXPECT_EQ(window.mobileOf("Zander;Clara"), "-");

  // Save as elsewhere writes without a question and makes that file the one in use.
  window.fixture.dialogs.fileAnswers.push_back(std::string("/home/anna/neu.vcf"));
  window.fixture.click(control::saveAsButton);
  EXPECT_EQ(window.questions(), 2);
  EXPECT_EQ(window.files().files["/home/anna/neu.vcf"].find("Zander"), std::string::npos);
  EXPECT_FALSE(window.records().changed);
}

// Another program saves while this window writes its backup copy and new
// content, once or again after the user said to write over its change: each
// change stays unless the user says to write over it, and then it is in the
// backups.
TEST(BeforeAWrite, aSaveRacingAnotherProgramsSaveAsks) {
  const std::string secondChange = threeCardsChanged + ottoCard;
  struct Case {
    std::deque<Answer> answers;
    int racingWrites;
  };
  for (const Case& race :
       {Case{{Answer::no}, 1}, Case{{Answer::yes}, 1}, Case{{Answer::yes, Answer::no}, 2},
        Case{{Answer::yes, Answer::yes}, 2}}) {
    SCOPED_TRACE(testing::Message() << race.answers.size() << " answers, last "
                                    << (race.answers.back() == Answer::yes ? "Yes" : "No"));
    Window window;
    window.applyMobile("0170 9");
    MemoryFileSystem& files = window.files();
    files.whileNextWrite = [&] { files.replaceFile(path, threeCardsChanged); };
    if (race.racingWrites == 2) {
      window.fixture.dialogs.whileOpen = [&] {
        files.whileNextWrite = [&] { files.replaceFile(path, secondChange); };
      };
    }
    window.fixture.dialogs.answers = race.answers;
    window.fixture.click(control::saveButton);
    EXPECT_EQ(window.questions(), static_cast<int>(race.answers.size()));
    bool saved = race.answers.back() == Answer::yes;
    const std::string& lastChange = race.racingWrites == 2 ? secondChange : threeCardsChanged;
    EXPECT_EQ(files.files[path] == lastChange, !saved);
    EXPECT_EQ(files.files[path].find("TEL;CELL:0170 9") != std::string::npos, saved);
    auto inBackups = [&](const std::string& bytes) {
      return std::ranges::any_of(files.files, [&](const auto& file) {
        return file.first.starts_with(ProgramFixture::backupFolder) && file.second == bytes;
      });
    };
    if (saved) {
      EXPECT_TRUE(inBackups(lastChange));
    }
  }
}

TEST(BeforeAWrite, aFileWrittenByThisWindowIsNotAskedAboutAgain) {
  Window window;
  window.applyMobile("1");
  window.fixture.click(control::saveButton);
  window.applyMobile("2");
  window.fixture.click(control::saveButton);
  EXPECT_EQ(window.questions(), 0);
  EXPECT_NE(window.files().files[path].find("TEL;CELL:2"), std::string::npos);
}

// Another program's change is picked up when the window comes back or the
// search text changes, unless this window holds unsaved changes.
TEST(AnotherProgramsChange, isReloadedOnActivationAndOnASearchChangeWhenNothingIsUnsaved) {
  for (bool bySearch : {false, true}) {
    SCOPED_TRACE(bySearch ? "search" : "activation");
    Window window;
    window.fixture.window.selectRow(2);
    window.files().replaceFile(path, threeCards + ottoCard);
    if (bySearch) {
      window.fixture.window.setText(control::filterEdit, "o");
      window.fixture.tick();
      EXPECT_EQ(window.fixture.window.rowCount(), 1);  // Otto;Olga
    } else {
      window.fixture.window.events->activationChanged(false);
      window.fixture.window.events->activationChanged(true);
      EXPECT_EQ(window.fixture.window.rowCount(), 4);
    }
    EXPECT_EQ(window.fixture.window.selectedRow(), 1);
    EXPECT_EQ(window.mobileOf("Otto;Olga"), "");
    // The reloaded file is the one remembered: saving it asks nothing.
    window.fixture.click(control::saveButton);
    EXPECT_EQ(window.questions(), 0);
  }
}

// Applied edits and text typed into the fields but not applied yet: the
// reload waits, the typed text stays with its contact, the next save asks.
// (A search of its own shows its first row, typed or not.)
TEST(AnotherProgramsChange, keepsUnsavedAndTypedEditsAndTheNextSaveAsks) {
  for (bool applied : {true, false}) {
    for (bool bySearch : applied ? std::vector{false, true} : std::vector{false}) {
      SCOPED_TRACE(std::string(applied ? "applied, " : "typed, ") +
                   (bySearch ? "search" : "activation"));
      Window window;
      if (applied) {
        window.applyMobile("0170 5");
      } else {
        window.fixture.window.setText(control::mobileEdit, "0170 5");
      }
      window.files().replaceFile(path, threeCards + ottoCard);
      if (bySearch) {
        window.fixture.window.setText(control::filterEdit, "a");
        window.fixture.tick();
        window.fixture.window.setText(control::filterEdit, "");
        window.fixture.tick();
      } else {
        window.fixture.window.events->activationChanged(true);
      }
      EXPECT_EQ(window.fixture.window.rowCount(), 3);
      EXPECT_EQ(window.fixture.window.text(control::mobileEdit), "0170 5");
      if (!applied) window.fixture.click(control::applyButton);
      EXPECT_EQ(window.mobileOf("Zander;Clara"), "0170 5");
      window.fixture.dialogs.answers = {Answer::no};
      window.fixture.click(control::saveButton);
      EXPECT_EQ(window.questions(), 1);
    }
  }
}

// Changes that only the stamp and the bytes tell: the same size with new
// bytes, and a change that lands while the load reads the file.
TEST(AnotherProgramsChange, ofTheSameSizeOrDuringTheLoadIsReloaded) {
  for (bool duringTheLoad : {false, true}) {
    SCOPED_TRACE(duringTheLoad ? "during the load" : "same size");
    testing_support::ProgramFixture fixture{threeCards};
    if (duringTheLoad) {
      fixture.files.duringNextRead = [&] { fixture.files.replaceFile(path, threeCardsChanged); };
    }
    fixture.start();
    fixture.tick();
    if (!duringTheLoad) fixture.files.replaceFile(path, threeCardsChanged);
    ASSERT_EQ(fixture.window.row(1)[0], "Zander;Clara");
    fixture.window.events->activationChanged(true);
    EXPECT_EQ(fixture.window.row(1)[0], "Zandor;Clara");
  }
}

// The delete's question lets events in; a reload then would replace the
// store under the command, which would clear the slot of another contact.
TEST(AnotherProgramsChange, isNotReloadedWhileACommandAsks) {
  Window window;
  window.fixture.dialogs.whileOpen = [&] {
    window.files().replaceFile(path, ottoCard + threeCards);
    window.fixture.window.events->activationChanged(true);
  };
  window.fixture.click(control::deleteButton);  // Zander, then Yes to overwrite
  EXPECT_EQ(window.questions(), 1);
  EXPECT_EQ(window.files().files[path],
            "BEGIN:VCARD\r\nN:Albers;Bernd\r\nEND:VCARD\r\n"
            "BEGIN:VCARD\r\nN:Meier;Anna\r\nEND:VCARD\r\n");
}

TEST(AnotherProgramsChange, anUnchangedFileCostsOneStampPerKeystrokeAndSameBytesNoReload) {
  Window window;
  window.fixture.window.selectRow(2);
  int reads = window.files().readCalls;
  int stamps = window.files().stampCalls;
  window.fixture.window.setText(control::filterEdit, "z");
  window.fixture.tick();
  EXPECT_EQ(window.files().stampCalls, stamps + 1);
  EXPECT_EQ(window.files().readCalls, reads);
  EXPECT_EQ(window.fixture.window.rowCount(), 1);

  // Touched with the same bytes: read once to compare, not reloaded.
  window.fixture.window.setText(control::filterEdit, "");
  window.fixture.tick();
  window.fixture.window.selectRow(3);
  window.files().touch(path);
  window.fixture.window.events->activationChanged(true);
  window.fixture.window.events->activationChanged(true);
  EXPECT_EQ(window.fixture.window.selectedRow(), 3);
  EXPECT_EQ(window.files().readCalls, reads + 1);
}

TEST(AnotherProgramsChange, aFileThatLostItsCardsIsReportedOnceAndNotLoaded) {
  Window window;
  window.files().replaceFile(path, "");
  window.fixture.window.events->activationChanged(true);
  window.fixture.window.events->activationChanged(true);
  ASSERT_EQ(window.fixture.dialogs.messages.size(), 1u);
  EXPECT_EQ(window.fixture.dialogs.messages[0].caption, "No Vcards !!");
  EXPECT_EQ(window.fixture.window.rowCount(), 3);
}

TEST(ConflictCopy, isRecognisedByTheNamesOfThreeSynchronisingPrograms) {
  struct Case {
    const char* name;
    bool copy;
  };
  const Case cases[] = {
      {"myadr.sync-conflict-20261207-155424-F5XLXQ4.vcf", true},
      {"myadr (conflicted copy 2026-12-07 155424).vcf", true},
      {"myadr (Annas conflicted copy 2026-12-07).vcf", true},
      {"myadr (Anna's conflicted copy 2026-12-07) (1).vcf", true},
      {"myadr.vcf", false},
      {"myadr (Kopie).vcf", false},
      {"myadr2.sync-conflict-20261207-155424-F5XLXQ4.vcf", false},
      {"myadr.sync-conflict-20261207-155424-F5XLXQ4.txt", false},
      {"myadr.sync-conflict-.vcf", false},
      {"andere (conflicted copy 2026-12-07 155424).vcf", false},
      {"myadr (conflicted copy 2026-12-07 155424).vcf.bak", false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(document::isConflictCopy(c.name, "myadr.vcf"), c.copy) << c.name;
  EXPECT_TRUE(document::isConflictCopy("adressen.sync-conflict-1-2-X", "adressen"));
}

TEST(ConflictCopy, eachCopyIsReportedOnceAfterALoadOrReload) {
  const std::string syncthing = "/home/anna/adressen.sync-conflict-20261207-155424-F5XLXQ4.vcf";
  const std::string nextcloud = "/home/anna/adressen (conflicted copy 2026-12-07 155424).vcf";
  ProgramFixture fixture{threeCards};
  fixture.files.files[syncthing] = ottoCard;
  fixture.files.files["/home/anna/adressen (Kopie).vcf"] = ottoCard;
  fixture.files.folders.insert("/home/anna/adressen (conflicted copy 2026-12-08 101010).vcf");
  fixture.start();
  ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
  EXPECT_EQ(fixture.dialogs.messages[0],
            (ShownMessage{"\xC4nderungen eines anderen Ger\xE4ts stehen in:\r\n" + syncthing +
                              "\r\nZum Ansehen mit dem \xD6"
                              "ffnen-Knopf laden.",
                          "Konfliktkopie", MessageButtons::ok, MessageIcon::exclamation}));

  // A reload after another change names only the new copy.
  fixture.files.replaceFile(nextcloud, ottoCard);
  fixture.files.replaceFile(ProgramFixture::addressPath, threeCards + ottoCard);
  fixture.window.events->activationChanged(true);
  ASSERT_EQ(fixture.dialogs.messages.size(), 2u);
  EXPECT_NE(fixture.dialogs.messages[1].text.find(nextcloud), std::string::npos);
  EXPECT_EQ(fixture.dialogs.messages[1].text.find(syncthing), std::string::npos);

  // Nothing new: no message; a copy written again counts as new.
  fixture.files.replaceFile(ProgramFixture::addressPath, threeCards);
  fixture.window.events->activationChanged(true);
  EXPECT_EQ(fixture.dialogs.messages.size(), 2u);
  fixture.files.touch(syncthing);
  fixture.files.replaceFile(ProgramFixture::addressPath, threeCards + ottoCard);
  fixture.window.events->activationChanged(true);
  ASSERT_EQ(fixture.dialogs.messages.size(), 3u);
  EXPECT_NE(fixture.dialogs.messages[2].text.find(syncthing), std::string::npos);
}

}  // namespace
