#include "document/document.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "app/file_commands.h"
#include "app/setting_keys.h"
#include "app/tick.h"
#include "table/control_ids.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_profile_file.h"

namespace {

namespace control = table::control;
using testing_support::ShownMessage;
namespace field = addressbook::field;

constexpr const char* configPath = "/home/anna/.config/zudedo.conf";
constexpr const char* addressPath = "/data/adressen.vcf";
constexpr std::string_view emptyCardFile = "BEGIN:VCARD\r\nEND:VCARD\r\n\r\n";

std::string namedCards(int count, std::string_view prefix = "Name") {
  std::string text;
  for (int i = 1; i <= count; ++i) {
    text += "BEGIN:VCARD\r\nN:" + std::string(prefix) + std::to_string(i) + "\r\nEND:VCARD\r\n";
  }
  return text;
}

// The document on fakes, with the commands that load it.
struct LoadFixture {
  LoadFixture() { window.setContent(records.table); }

  void configure(std::string_view file) { profile.values[{configPath, "VC", "File"}] = file; }
  [[nodiscard]] std::string configuredFile() const {
    auto found = profile.values.find({configPath, "VC", "File"});
    return found == profile.values.end() ? std::string("(none)") : found->second;
  }
  void load(bool askForFile) {
    app::FileCommands commands(document, records, screen, dialogs, files);
    if (askForFile) {
      commands.open(app::filterText(window));
    } else {
      commands.loadConfigured(app::filterText(window));
    }
  }
  // Loads the named file without the dialog, then forgets what the load did.
  void loadFirst(std::string_view path, std::string content) {
    files.files[std::string(path)] = std::move(content);
    configure(path);
    load(false);
    profile.writes.clear();
    window.textWrites.clear();
  }
  // How often a record was shown in the edit fields.
  [[nodiscard]] int shows() const {
    auto found = window.textWrites.find(control::notesEdit);
    return found == window.textWrites.end() ? 0 : found->second;
  }
  [[nodiscard]] std::vector<std::string> column(int column) const {
    std::vector<std::string> cells;
    for (int row = 1; row <= window.rowCount(); ++row) cells.push_back(window.row(row)[column - 1]);
    return cells;
  }

  testing_support::FakeWindow window;
  testing_support::FakeDialogs dialogs;
  testing_support::MemoryFileSystem files;
  testing_support::FakeClock clock;
  testing_support::MemoryProfileFile profile;
  platform::Settings settings{profile, configPath};
  table::Records records;
  table::Screen screen{window, window, window, clock};
  document::Document document{records, screen, files,
                              platform::Setting{settings, app::setting::addressFile},
                              "/home/anna/.local/state/zudedo/backups"};
};

using Names = std::vector<std::string>;

TEST(LoadAddressFile, readsTheConfiguredFileAndShowsItsRecords) {
  LoadFixture f;
  f.files.files[addressPath] =
      "BEGIN:VCARD\r\nN:Meier;Anna\r\nBDAY:1961-03-07T08:30\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nFN:ohne Namen\r\nEND:VCARD\r\n"
      "BEGIN:VCARD\r\nN:Schulz\r\nEND:VCARD\r\n";
  f.configure(addressPath);
  f.load(false);
  EXPECT_EQ(f.document.currentFile(), addressPath);
  EXPECT_EQ(f.configuredFile(), addressPath);
  EXPECT_TRUE(f.dialogs.messages.empty());
  EXPECT_TRUE(f.dialogs.openRequests.empty());
  EXPECT_EQ(f.records.store.capacity(), 999u);
  EXPECT_EQ(f.column(1), (Names{"Meier;Anna", "ohne Namen", "Schulz"}));
  EXPECT_EQ(f.column(7), (Names{"07.03.1961 ; 08:30", "", ""}));
  EXPECT_EQ(f.column(9), (Names{" 1", " 2", " 3"}));
  EXPECT_EQ(f.window.status[1], "100.00%");
  EXPECT_EQ(f.window.status[4], std::string("File: ") + addressPath);
  EXPECT_EQ(f.window.progress, 100);
  EXPECT_EQ(f.window.selectedRow(), 1);
  EXPECT_EQ(f.shows(), 1);
  EXPECT_FALSE(f.records.busy);
  EXPECT_EQ(f.files.replaceCalls, 0);
}

TEST(LoadAddressFile, aMissingConfiguredFileFallsBackToANewDefaultFileInTheCurrentFolder) {
  // Without a name the default name myadr.vcf is used; a name in UTF-8
  // counts only when that file exists. A configured file that is missing
  // (a share not mounted) is named to the user and stays configured.
  for (std::string_view configured : {"/data/gone.vcf", "", "/data/M\xC3\xBCller.vcf",
                                      "/data/\xC5\x81\xC3\xB3"
                                      "d\xC5\xBA.vcf"}) {
    SCOPED_TRACE(configured);
    LoadFixture f;
    if (!configured.empty()) f.configure(configured);
    f.load(false);
    const std::string fallback = f.files.inCurrentFolder("myadr.vcf");
    ASSERT_TRUE(f.files.isFile(fallback)) << configured;
    EXPECT_EQ(f.files.files[fallback], emptyCardFile);
    EXPECT_EQ(f.files.files[fallback].size(), 26u);
    EXPECT_EQ(f.document.currentFile(), fallback);
    EXPECT_EQ(f.records.store.capacity(), 999u);
    EXPECT_EQ(f.window.rowCount(), 0);
    EXPECT_EQ(f.window.status[4], "File: " + fallback);
    EXPECT_EQ(f.shows(), 1);
    if (configured.empty()) {
      EXPECT_EQ(f.configuredFile(), fallback);
      EXPECT_TRUE(f.dialogs.messages.empty());
      continue;
    }
    EXPECT_EQ(f.configuredFile(), configured);
    const ShownMessage missing{
        std::string(configured) + "\r\nwurde nicht gefunden. Angezeigt wird " + fallback +
            ".\r\nBeim n\xE4"
            "chsten Start wird die Datei wieder gesucht.",
        "Datei nicht gefunden", platform::MessageButtons::ok, platform::MessageIcon::exclamation};
    EXPECT_EQ(f.dialogs.messages, std::vector<ShownMessage>{missing});
  }
}

// The missing file stays configured while the stand-in is saved, and gives
// way to a file the user opens or saves to.
TEST(LoadAddressFile, aMissingConfiguredFileStaysConfiguredUntilTheUserChoosesAnother) {
  enum class Then { save, failedOpen, openStandIn, openOther, saveAsOther };
  struct Case {
    Then then;
    bool keepsMissing;
  };
  for (const Case& c :
       {Case{Then::save, true}, Case{Then::failedOpen, true}, Case{Then::openStandIn, false},
        Case{Then::openOther, false}, Case{Then::saveAsOther, false}}) {
    SCOPED_TRACE(static_cast<int>(c.then));
    LoadFixture f;
    f.configure("/share/adressen.vcf");
    f.load(false);
    const std::string standIn = f.files.inCurrentFolder("myadr.vcf");
    f.files.files[addressPath] = namedCards(1);
    app::FileCommands commands(f.document, f.records, f.screen, f.dialogs, f.files);
    switch (c.then) {
      case Then::save:
        f.records.changed = true;
        commands.save(false);
        break;
      case Then::failedOpen:
        f.dialogs.fileAnswers.push_back("/data/fehlt.vcf");
        commands.open("");
        break;
      case Then::openStandIn:
        f.dialogs.fileAnswers.push_back(standIn);
        commands.open("");
        break;
      case Then::openOther:
        f.dialogs.fileAnswers.push_back(addressPath);
        commands.open("");
        break;
      case Then::saveAsOther:
        f.dialogs.fileAnswers.push_back("/data/neu.vcf");
        commands.save(true);
        break;
    }
    EXPECT_EQ(f.configuredFile(),
              c.keepsMissing ? "/share/adressen.vcf" : f.document.currentFile());
  }
}

TEST(LoadAddressFile, aConfiguredNameInUtf8OpensThatFileAndIsWrittenBackInWindows1252) {
  LoadFixture f;
  f.files.files["/data/M\xFCller \x80.vcf"] = namedCards(2);
  f.configure("/data/M\xC3\xBCller \xE2\x82\xAC.vcf");
  f.load(false);
  EXPECT_EQ(f.document.currentFile(), "/data/M\xFCller \x80.vcf");
  EXPECT_EQ(f.configuredFile(), "/data/M\xFCller \x80.vcf");
  EXPECT_EQ(f.column(1), (Names{"Name1", "Name2"}));
  EXPECT_FALSE(f.files.isFile("/home/anna/myadr.vcf"));
}

TEST(LoadAddressFile, anExistingDefaultFileIsLoadedUnchanged) {
  LoadFixture f;
  f.files.files[f.files.inCurrentFolder("myadr.vcf")] = "BEGIN:VCARD\nN:Vorhanden\n";
  f.configure("/data/gone.vcf");
  f.load(false);
  EXPECT_EQ(f.files.files[f.files.inCurrentFolder("myadr.vcf")], "BEGIN:VCARD\nN:Vorhanden\n");
  EXPECT_EQ(f.files.replaceCalls, 0);
  EXPECT_EQ(f.column(1), (Names{"Vorhanden"}));
}

TEST(LoadAddressFile, theOpenDialogStartsAtTheCurrentFileAndCancellingChangesNothing) {
  for (std::optional<std::string> answer :
       {std::optional<std::string>(), std::optional<std::string>("")}) {
    LoadFixture f;
    f.loadFirst(addressPath, namedCards(2));
    f.dialogs.fileAnswers.push_back(answer);
    int resets = f.window.resets;
    f.load(true);
    ASSERT_EQ(f.dialogs.openRequests.size(), 1u);
    const platform::FileDialogRequest& request = f.dialogs.openRequests[0];
    EXPECT_EQ(request.title, "VCard-File");
    EXPECT_EQ(request.filterName, "vcard");
    EXPECT_EQ(request.filterPattern, "*.vcf");
    EXPECT_EQ(request.defaultSuffix, "vcf");
    EXPECT_EQ(request.initialPath, addressPath);
    EXPECT_EQ(request.proposedName, "adressen.vcf");
    EXPECT_TRUE(f.profile.writes.empty());
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.document.currentFile(), addressPath);
    EXPECT_EQ(f.column(1), (Names{"Name1", "Name2"}));
    EXPECT_EQ(f.window.resets, resets);
    EXPECT_EQ(f.shows(), 0);
    EXPECT_FALSE(f.records.busy);
  }
}

TEST(LoadAddressFile, theFileChosenInTheDialogIsLoadedAndConfigured) {
  LoadFixture f;
  f.loadFirst(addressPath, namedCards(2));
  f.files.files["/data/other.vcf"] = namedCards(3, "Other");
  f.dialogs.fileAnswers.push_back("/data/other.vcf");
  f.load(true);
  EXPECT_EQ(f.document.currentFile(), "/data/other.vcf");
  EXPECT_EQ(f.configuredFile(), "/data/other.vcf");
  EXPECT_EQ(f.column(1), (Names{"Other1", "Other2", "Other3"}));
  EXPECT_EQ(f.window.status[4], "File: /data/other.vcf");
  EXPECT_EQ(f.shows(), 1);
}

TEST(LoadAddressFile, aFileThatCannotBeLoadedIsReportedAndChangesNothingElse) {
  struct Case {
    std::string_view chosen;
    std::optional<std::string> content;  // nothing: the file is missing
    std::string_view caption;
  };
  const Case cases[] = {
      {"/data/missing.vcf", std::nullopt, "File ?"},
      {"/data/empty.vcf", "", "No Vcards !!"},
      {"/data/blank.vcf", "BEGIN:VCARD \r\nN:x\r\n", "No Vcards !!"},
  };
  for (const Case& c : cases) {
    LoadFixture f;
    f.loadFirst(addressPath, namedCards(2));
    f.records.store.setField(1, field::notes, "unsaved edit");
    if (c.content) f.files.files[std::string(c.chosen)] = *c.content;
    f.dialogs.fileAnswers.push_back(std::string(c.chosen));
    const int resets = f.window.resets;
    f.load(true);
    ASSERT_EQ(f.dialogs.messages.size(), 1u) << c.chosen;
    EXPECT_EQ(f.dialogs.messages[0],
              (ShownMessage{std::string(c.chosen), std::string(c.caption),
                            platform::MessageButtons::ok, platform::MessageIcon::none}));
    // The records of the previous file stay, and so does its name, so that a
    // later save writes them back where they came from.
    EXPECT_EQ(f.document.currentFile(), addressPath) << c.chosen;
    EXPECT_EQ(f.configuredFile(), addressPath) << c.chosen;
    EXPECT_EQ(f.records.store.field(1, field::notes), "unsaved edit");
    EXPECT_EQ(f.column(1), (Names{"Name1", "Name2"}));
    EXPECT_EQ(f.window.resets, resets);
    EXPECT_EQ(f.shows(), 0);
    EXPECT_FALSE(f.files.isFile(f.files.inCurrentFolder("myadr.vcf")));
    EXPECT_FALSE(f.records.busy);
  }
}

TEST(LoadAddressFile, aConfiguredFileWithoutCardsIsReportedAtStart) {
  LoadFixture f;
  f.files.files[addressPath] = "keine Karten\r\n";
  f.configure(addressPath);
  f.load(false);
  ASSERT_EQ(f.dialogs.messages.size(), 1u);
  EXPECT_EQ(f.dialogs.messages[0].text, addressPath);
  EXPECT_EQ(f.dialogs.messages[0].caption, "No Vcards !!");
  EXPECT_EQ(f.document.currentFile(), "");  // nothing was in use before
  EXPECT_EQ(f.configuredFile(), addressPath);
  EXPECT_FALSE(f.records.store.hasSlots());
  EXPECT_EQ(f.window.rowCount(), 0);
  EXPECT_EQ(f.shows(), 0);
}

TEST(LoadAddressFile, aLongPathIsCutTo299Bytes) {
  LoadFixture f;
  f.files.cwd = "/data/" + std::string(400, 'x');
  const std::string cut = (f.files.cwd + "/myadr.vcf").substr(0, 299);
  f.load(false);
  EXPECT_EQ(f.document.currentFile(), cut);
  EXPECT_EQ(f.files.files[cut], emptyCardFile);
}

TEST(LoadAddressFile, aWindowClosedDuringTheLoadStopsItAndShowsTheCardsReadSoFar) {
  LoadFixture f;
  f.clock.tickStep = 32;
  f.files.files[addressPath] = namedCards(500);
  f.configure(addressPath);
  bool busyMeanwhile = false;
  f.window.onPendingEvents = [&] {
    busyMeanwhile = f.records.busy;
    f.window.alive = false;
  };
  f.load(false);
  EXPECT_TRUE(busyMeanwhile);
  EXPECT_EQ(f.window.pendingEventRuns, 1);
  const int rows = f.window.rowCount();
  EXPECT_GT(rows, 0);
  EXPECT_LT(rows, 500);
  for (int row = 1; row <= rows; ++row) {
    EXPECT_EQ(f.window.row(row)[0], "Name" + std::to_string(row));
  }
  EXPECT_FALSE(f.records.store.holdsRecord(static_cast<std::size_t>(rows) + 1));
  EXPECT_EQ(f.shows(), 1);
  EXPECT_FALSE(f.records.busy);
}

TEST(ReadAddressText, givesTheWholeFileWithCrLfLineEndsAndWhereItsCardsBegin) {
  testing_support::MemoryFileSystem files;
  files.files["/a/lf.vcf"] = "BEGIN:VCARD\nN:A\n";
  files.files["/a/empty.vcf"] = "";
  document::AddressText lf = document::readAddressText(files, "/a/lf.vcf");
  EXPECT_EQ(lf.result, document::ReadResult::read);
  EXPECT_EQ(lf.text, "BEGIN:VCARD\r\nN:A\r\n");
  EXPECT_EQ(lf.cards, std::vector<std::size_t>{0});
  document::AddressText empty = document::readAddressText(files, "/a/empty.vcf");
  EXPECT_EQ(empty.result, document::ReadResult::noCards);
  EXPECT_EQ(empty.text, "");
  document::AddressText missing = document::readAddressText(files, "/a/missing.vcf");
  EXPECT_EQ(missing.result, document::ReadResult::missing);
  EXPECT_EQ(missing.text, "");
}

}  // namespace
