#include "app/program.h"

#include <gtest/gtest.h>

#include "table/control_ids.h"
#include "tests/fakes/program_fixture.h"

namespace {

using platform::ControlId;
namespace control = table::control;
using testing_support::ProgramFixture;

constexpr std::string_view threeCards =
    "BEGIN:VCARD\r\nN:Meier;Anna\r\nBDAY:1970-03-05\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:albers;Bernd\r\nBDAY:1971-01-01\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Zander;Clara\r\nEND:VCARD\r\n";

TEST(ProgramStart, showsTheWindowLoadsTheFileAndOnlyThenTakesTheEvents) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.start();
  EXPECT_TRUE(fixture.window.shown);
  EXPECT_EQ(fixture.window.timerMilliseconds, 100);
  EXPECT_EQ(fixture.window.rowCount(), 3);
  EXPECT_EQ(fixture.window.status[4], std::string("File: ") + ProgramFixture::addressPath);
  EXPECT_EQ(fixture.window.text(control::nameEdit), "Meier");
  EXPECT_EQ(fixture.window.tooltips.size(), 11u);
  EXPECT_EQ(fixture.window.columns.size(), 9u);
  EXPECT_EQ(fixture.window.events, &fixture.program);
  EXPECT_EQ(fixture.program.configPath(), ProgramFixture::configPath);
}

TEST(ProgramEvents, columnClicksCycleThroughThreeSortsSharedByAllColumns) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.start();
  auto names = [&] {
    std::vector<std::string> texts;
    for (int row = 1; row <= fixture.window.rowCount(); ++row)
      texts.push_back(fixture.window.row(row)[0]);
    return texts;
  };
  fixture.window.events->columnClicked(1);
  EXPECT_EQ(names(), (std::vector<std::string>{"albers;Bernd", "Meier;Anna", "Zander;Clara"}));
  fixture.window.events->columnClicked(1);
  EXPECT_EQ(names(), (std::vector<std::string>{"Zander;Clara", "Meier;Anna", "albers;Bernd"}));
  fixture.window.events->columnClicked(7);  // date: empty first, then 1970, 1971
  EXPECT_EQ(names(), (std::vector<std::string>{"Zander;Clara", "Meier;Anna", "albers;Bernd"}));
  fixture.window.events->columnClicked(8);  // hidden: nothing moves, the cycle still advances
  fixture.window.events->columnClicked(1);  // so this one sorts descending
  EXPECT_EQ(names(), (std::vector<std::string>{"Zander;Clara", "Meier;Anna", "albers;Bernd"}));
}

TEST(ProgramEvents, focusComesBackAfterSwitchingWindows) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.start();
  fixture.window.setFocus(control::emailEdit);
  fixture.window.events->activationChanged(false);
  fixture.window.setFocus(ControlId::none);
  fixture.window.events->activationChanged(true);
  EXPECT_EQ(fixture.window.focusedControl(), control::emailEdit);
  fixture.window.setFocus(control::nameEdit);
  fixture.window.events->activationChanged(true);  // nothing remembered any more
  EXPECT_EQ(fixture.window.focusedControl(), control::nameEdit);
}

TEST(ProgramEvents, resetFilterEmptiesTheFilterAndTheNextTickShowsAll) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.start();
  fixture.window.setText(control::filterEdit, "meier");
  fixture.tick();
  EXPECT_EQ(fixture.window.rowCount(), 1);
  fixture.click(control::resetFilterButton);
  EXPECT_EQ(fixture.window.text(control::filterEdit), "");
  fixture.tick();
  EXPECT_EQ(fixture.window.rowCount(), 3);
  int resets = fixture.window.resets;
  fixture.click(control::resetFilterButton);  // already empty: no refill
  fixture.tick();
  EXPECT_EQ(fixture.window.resets, resets);
}

TEST(ProgramEvents, commandsDuringALoadRunAfterItAndOnlyOnce) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.start();
  fixture.dialogs.fileAnswers.push_back(std::string(ProgramFixture::addressPath));
  // While the open command loads, the user clicks reset-filter twice and
  // open again.
  int clicks = 0;
  fixture.window.onPendingEvents = [&] {
    if (clicks++ > 0) return;
    fixture.window.setText(control::filterEdit, "x");
    fixture.click(control::resetFilterButton);
    fixture.click(control::resetFilterButton);
    fixture.click(control::openButton);
    EXPECT_EQ(fixture.window.text(control::filterEdit), "x");
  };
  fixture.click(control::openButton);
  EXPECT_EQ(fixture.window.text(control::filterEdit), "");
  EXPECT_EQ(fixture.dialogs.openRequests.size(), 2u);
}

TEST(ProgramEvents, closingDuringALoadIsRefusedWithoutAQuestion) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.start();
  fixture.window.setText(control::mobileEdit, "0170 9");
  fixture.click(control::applyButton);
  fixture.dialogs.answers = {platform::Answer::no};  // open: discard the edit
  fixture.dialogs.fileAnswers.push_back(std::string(ProgramFixture::addressPath));
  std::vector<bool> closeAllowed;
  fixture.window.onPendingEvents = [&] {
    closeAllowed.push_back(fixture.window.events->closeRequested());
  };
  fixture.click(control::openButton);
  // Every close that arrives while the load and its fill let events through
  // is refused.
  ASSERT_FALSE(closeAllowed.empty());
  EXPECT_EQ(closeAllowed, std::vector<bool>(closeAllowed.size(), false));
  EXPECT_EQ(fixture.dialogs.messages.size(), 1u) << "only the question of the open command";
  EXPECT_EQ(fixture.window.rowCount(), 3);
}

TEST(ProgramStart, probesTheStoredPortAndShowsThePhoneButtonsWhenATelephoneAnswers) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.profile.values[{ProgramFixture::configPath, "port", "comx"}] = "COM3";
  fixture.start();
  EXPECT_EQ(fixture.serial.opened, std::vector<std::string>{"COM3"});
  EXPECT_EQ(fixture.serial.written, std::vector<std::string>{"AT\r\n"});
  EXPECT_TRUE(fixture.window.isVisible(control::dialWorkButton));
  EXPECT_TRUE(fixture.window.isVisible(control::hangUpMobileButton));
  fixture.click(control::dialWorkButton);
  EXPECT_EQ(fixture.serial.written.back(), "ATD\r\n");  // Meier has no work number
}

TEST(ProgramStart, aSilentTelephoneIsReportedAndTheButtonsStayHidden) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.profile.values[{ProgramFixture::configPath, "port", "comx"}] = "COM3";
  fixture.serial.answerToProbe = "";
  fixture.start();
  ASSERT_EQ(fixture.dialogs.messages.size(), 1u);
  EXPECT_EQ(fixture.dialogs.messages[0].caption, "kein Telefon gefunden !");
  EXPECT_FALSE(fixture.window.isVisible(control::dialWorkButton));
  EXPECT_EQ(fixture.window.events, &fixture.program);
}

TEST(ProgramEvents, mailAndListButtonsReachTheShell) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.start();
  fixture.window.setText(control::emailEdit, "anna@example.org");
  fixture.click(control::mailButton);
  EXPECT_EQ(fixture.shell.urls, std::vector<std::string>{"mailto:anna@example.org?Subject=&Body="});
  fixture.click(control::listButton);
  EXPECT_EQ(fixture.shell.files,
            std::vector<std::string>{fixture.files.inCurrentFolder("prot.txt")});
  // Three lines of 116 characters and CR LF, two of them with a birthday
  // ("5.3.1970" and four blanks), then the closing CR LF.
  EXPECT_EQ(fixture.files.files[fixture.files.inCurrentFolder("prot.txt")].size(),
            3 * 118 + 2 * 12 + 2);
  // The status bar names the address file again, not the list.
  EXPECT_EQ(fixture.window.status[4], std::string("File: ") + ProgramFixture::addressPath);
}

// The list leaves the edit fields alone: what the user typed there stays,
// and an Apply right after it writes it into the selected record only. A
// click on the list button while the list is being built waits for it.
TEST(ProgramEvents, theListKeepsTheEditFieldsAndHoldsCommandsBack) {
  ProgramFixture fixture{std::string(threeCards)};
  fixture.start();
  fixture.tick();
  fixture.window.setText(control::mobileEdit, "0170 9");
  std::vector<std::string> last = fixture.window.row(3);
  int runs = 0;
  fixture.window.onPendingEvents = [&] {
    if (runs++ == 0) fixture.click(control::listButton);
  };
  fixture.click(control::listButton);
  EXPECT_EQ(runs, 2);  // the second list ran after the first, not inside it
  EXPECT_EQ(fixture.shell.files.size(), 2u);
  EXPECT_EQ(fixture.window.text(control::mobileEdit), "0170 9");
  fixture.click(control::applyButton);
  EXPECT_EQ(fixture.window.row(1)[3], "0170 9");
  EXPECT_EQ(fixture.window.row(3), last);
}

}  // namespace
