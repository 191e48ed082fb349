#include "addressbook/address_file.h"

#include <gtest/gtest.h>

#include <cmath>
#include <regex>
#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "tests/fakes/fake_clock.h"
#include "tests/fakes/fake_dialogs.h"
#include "tests/fakes/fake_window.h"
#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/memory_profile_file.h"

namespace {

using platform::ControlId;
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

// A clock that moves on by one refresh period every time it is read, so that
// every progress step of a load or fill lets the window handle its events.
class RunningClock : public testing_support::FakeClock {
 public:
  [[nodiscard]] std::uint32_t tickCount() const override { return now_ += 32; }

 private:
  mutable std::uint32_t now_ = 0;
};

struct LoadFixture {
  LoadFixture() { window.setTableContent(book.table); }

  void configure(std::string_view file) { profile.values[{configPath, "VC", "File"}] = file; }
  [[nodiscard]] std::string configuredFile() const {
    auto found = profile.values.find({configPath, "VC", "File"});
    return found == profile.values.end() ? std::string("(none)") : found->second;
  }
  void load(bool askForFile) {
    addressbook::loadAddressFile(book, env, askForFile, [this](int row) { shown.push_back(row); });
  }
  void fill() {
    addressbook::fillTable(book, env, [this](int row) { shown.push_back(row); });
  }
  // Loads the named file without the dialog, then forgets what the load did.
  void loadFirst(std::string_view path, std::string content) {
    files.files[std::string(path)] = std::move(content);
    configure(path);
    load(false);
    profile.writes.clear();
    shown.clear();
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
  addressbook::Environment env{window, dialogs, files, clock, settings};
  addressbook::AddressBook book;
  std::vector<int> shown;
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
  EXPECT_EQ(f.book.currentFile, addressPath);
  EXPECT_EQ(f.configuredFile(), addressPath);
  EXPECT_TRUE(f.dialogs.messages.empty());
  EXPECT_TRUE(f.dialogs.openRequests.empty());
  EXPECT_EQ(f.book.store.capacity(), 999u);
  EXPECT_EQ(f.column(1), (Names{"Meier;Anna", "Schulz"}));
  EXPECT_EQ(f.column(7), (Names{"07.03.1961 ; 08:30", ""}));
  EXPECT_EQ(f.column(9), (Names{" 1", " 3"}));
  EXPECT_EQ(f.window.status[1], "100.00%");
  EXPECT_EQ(f.window.status[4], std::string("File: ") + addressPath);
  EXPECT_EQ(f.window.progress, 100);
  EXPECT_EQ(f.window.selectedRow(), 1);
  EXPECT_EQ(f.shown, (std::vector<int>{1}));
  EXPECT_FALSE(f.book.busy);
  EXPECT_EQ(f.files.replaceCalls, 0);
}

TEST(LoadAddressFile, aMissingConfiguredFileFallsBackToANewDefaultFileInTheCurrentFolder) {
  for (bool configured : {true, false}) {
    LoadFixture f;
    if (configured) f.configure("/data/gone.vcf");  // otherwise the default name myadr.vcf
    f.load(false);
    const std::string fallback = f.files.inCurrentFolder("myadr.vcf");
    ASSERT_TRUE(f.files.isFile(fallback)) << configured;
    EXPECT_EQ(f.files.files[fallback], emptyCardFile);
    EXPECT_EQ(f.files.files[fallback].size(), 26u);
    EXPECT_EQ(f.book.currentFile, fallback);
    EXPECT_EQ(f.configuredFile(), fallback);
    EXPECT_TRUE(f.dialogs.messages.empty());
    EXPECT_EQ(f.book.store.capacity(), 999u);
    EXPECT_EQ(f.window.rowCount(), 0);
    EXPECT_EQ(f.window.status[4], "File: " + fallback);
    EXPECT_EQ(f.shown, (std::vector<int>{1}));
  }
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
    EXPECT_EQ(f.book.currentFile, addressPath);
    EXPECT_EQ(f.column(1), (Names{"Name1", "Name2"}));
    EXPECT_EQ(f.window.resets, resets);
    EXPECT_TRUE(f.shown.empty());
    EXPECT_FALSE(f.book.busy);
  }
}

TEST(LoadAddressFile, theFileChosenInTheDialogIsLoadedAndConfigured) {
  LoadFixture f;
  f.loadFirst(addressPath, namedCards(2));
  f.files.files["/data/other.vcf"] = namedCards(3, "Other");
  f.dialogs.fileAnswers.push_back("/data/other.vcf");
  f.load(true);
  EXPECT_EQ(f.book.currentFile, "/data/other.vcf");
  EXPECT_EQ(f.configuredFile(), "/data/other.vcf");
  EXPECT_EQ(f.column(1), (Names{"Other1", "Other2", "Other3"}));
  EXPECT_EQ(f.window.status[4], "File: /data/other.vcf");
  EXPECT_EQ(f.shown, (std::vector<int>{1}));
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
      {"/data/lower.vcf", "begin:vcard\r\nN:x\r\nend:vcard\r\n", "No Vcards !!"},
      {"/data/blank.vcf", "BEGIN:VCARD \r\nN:x\r\n", "No Vcards !!"},
  };
  for (const Case& c : cases) {
    LoadFixture f;
    f.loadFirst(addressPath, namedCards(2));
    f.book.store.setField(1, field::notes, "unsaved edit");
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
    EXPECT_EQ(f.book.currentFile, addressPath) << c.chosen;
    EXPECT_EQ(f.configuredFile(), addressPath) << c.chosen;
    EXPECT_EQ(f.book.store.field(1, field::notes), "unsaved edit");
    EXPECT_EQ(f.column(1), (Names{"Name1", "Name2"}));
    EXPECT_EQ(f.window.resets, resets);
    EXPECT_TRUE(f.shown.empty());
    EXPECT_FALSE(f.files.isFile(f.files.inCurrentFolder("myadr.vcf")));
    EXPECT_FALSE(f.book.busy);
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
  EXPECT_EQ(f.book.currentFile, "");  // nothing was in use before
  EXPECT_EQ(f.configuredFile(), addressPath);
  EXPECT_FALSE(f.book.store.hasSlots());
  EXPECT_EQ(f.window.rowCount(), 0);
  EXPECT_TRUE(f.shown.empty());
}

TEST(LoadAddressFile, aLongPathIsCutTo299Bytes) {
  LoadFixture f;
  const std::string longPath = "/data/" + std::string(400, 'x') + ".vcf";
  const std::string cut = longPath.substr(0, 299);
  f.files.files[cut] = namedCards(1);
  f.loadFirst(addressPath, namedCards(2));
  f.dialogs.fileAnswers.push_back(longPath);
  f.load(true);
  EXPECT_EQ(f.book.currentFile, cut);
  EXPECT_EQ(f.column(1), (Names{"Name1"}));
}

TEST(LoadAddressFile, aWindowClosedDuringTheLoadStopsItAndShowsTheCardsReadSoFar) {
  LoadFixture f;
  RunningClock clock;
  addressbook::Environment env{f.window, f.dialogs, f.files, clock, f.settings};
  f.files.files[addressPath] = namedCards(500);
  f.configure(addressPath);
  bool busyMeanwhile = false;
  f.window.onPendingEvents = [&] {
    busyMeanwhile = f.book.busy;
    f.window.alive = false;
  };
  addressbook::loadAddressFile(f.book, env, false, [&](int row) { f.shown.push_back(row); });
  EXPECT_TRUE(busyMeanwhile);
  EXPECT_EQ(f.window.pendingEventRuns, 1);
  const int rows = f.window.rowCount();
  EXPECT_GT(rows, 0);
  EXPECT_LT(rows, 500);
  for (int row = 1; row <= rows; ++row) {
    EXPECT_EQ(f.window.row(row)[0], "Name" + std::to_string(row));
  }
  EXPECT_FALSE(f.book.store.holdsRecord(static_cast<std::size_t>(rows) + 1));
  EXPECT_EQ(f.shown, (std::vector<int>{1}));
  EXPECT_FALSE(f.book.busy);
}

TEST(FillTable, showsEveryNamedSlotWithItsSlotNumberSelectsAndShowsRowOne) {
  LoadFixture f;
  f.book.store.reset(999);
  for (int slot = 1; slot <= 5; ++slot) {
    f.book.store.setField(static_cast<std::size_t>(slot), field::name, "N" + std::to_string(slot));
  }
  f.book.store.setField(3, field::workPhone, "030 3");
  f.fill();
  EXPECT_EQ(f.window.rowCount(), 5);
  EXPECT_EQ(f.column(9), (Names{" 1", " 2", " 3", " 4", " 5"}));
  EXPECT_EQ(f.window.row(3), (Names{"N3", "030 3", "", "", "", "", "", "", " 3"}));
  EXPECT_EQ(f.window.selectedRow(), 1);
  EXPECT_EQ(f.shown, (std::vector<int>{1}));
  EXPECT_GE(f.window.resets, 1);
}

TEST(FillTable, showsOnlyRecordsContainingTheUpperCasedFilter) {
  LoadFixture f;
  f.book.store.reset(999);
  f.book.store.setField(1, field::name, "M\xFCller;Hans");
  f.book.store.setField(2, field::name, "Mueller");
  f.book.store.setField(3, field::name, "Anna");
  f.book.store.setField(3, field::birthday, "07.05.1961");
  f.book.store.setField(12, field::name, "Zw\xF6lf");
  f.book.store.setField(14, field::email, "m\xFCller@x");  // no name
  struct Case {
    std::string filter;
    Names slots;
  };
  const Case cases[] = {
      {"m\xFCller", {" 1"}},
      {"M\xDCLLER", {" 1"}},
      {"05.1961", {" 3"}},
      {"12", {}},
      {"", {" 1", " 2", " 3", " 12"}},
      {" ", {}},
  };
  for (const Case& c : cases) {
    f.window.setText(ControlId::filterEdit, c.filter);
    f.shown.clear();
    f.fill();
    EXPECT_EQ(f.column(9), c.slots) << c.filter;
    EXPECT_EQ(f.window.selectedRow(), c.slots.empty() ? 0 : 1) << c.filter;
    EXPECT_EQ(f.shown, (std::vector<int>{1}));  // also with no row at all
  }
}

TEST(FillTable, showsTheShareOfSlotsExaminedWhileItRuns) {
  LoadFixture f;
  RunningClock clock;
  addressbook::Environment env{f.window, f.dialogs, f.files, clock, f.settings};
  f.book.currentFile = addressPath;
  f.book.store.reset(3000);
  f.book.store.setField(1, field::name, "Erster");
  std::vector<std::string> seen;
  f.window.onPendingEvents = [&] { seen.push_back(f.window.status[1]); };
  addressbook::fillTable(f.book, env, {});
  // Refreshed now and then with the share of the slots examined so far (one
  // record in 3000 slots: the share of rows shown would stay near 0).
  ASSERT_FALSE(seen.empty());
  const std::string& percent = f.window.status[1];
  ASSERT_TRUE(std::regex_match(percent, std::regex(R"([0-9]{1,3}\.[0-9]{2}%)"))) << percent;
  const double share = std::stod(percent);
  EXPECT_GT(share, 10.0);
  EXPECT_LE(share, 100.0);
  EXPECT_EQ(f.window.progress, std::lround(share));
  EXPECT_EQ(f.window.status[4], std::string("File: ") + addressPath);
  EXPECT_EQ(f.window.rowCount(), 1);
}

}  // namespace
