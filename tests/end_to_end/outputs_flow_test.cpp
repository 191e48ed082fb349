#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "outputs/phone_connection.h"
#include "table/control_ids.h"
#include "tests/end_to_end/end_to_end_support.h"

namespace {

namespace fs = std::filesystem;
using platform::ControlId;
namespace control = table::control;
using testing_support::readBytes;
using testing_support::RecordingOpener;
using testing_support::RunningProgram;
using testing_support::Telephone;
using testing_support::TemporaryHome;
using testing_support::waitUntil;
using testing_support::writeBytes;

std::string blanks(std::size_t count) { return std::string(count, ' '); }

bool phoneButtonsShown(const RunningProgram& program) {
  for (ControlId id : outputs::phoneButtons) {
    if (!program.window.isVisible(id) || !program.control(id)->isVisible()) return false;
  }
  return true;
}

bool phoneButtonsHidden(const RunningProgram& program) {
  for (ControlId id : outputs::phoneButtons) {
    if (program.window.isVisible(id)) return false;
  }
  return true;
}

const std::string addressBook =
    "BEGIN:VCARD\r\nN:Schulz;Peter\r\nTEL;WORK:0711 / 123-45\r\nTEL;HOME:030 333\r\n"
    "TEL;CELL:0171 333\r\nEMAIL:m\xFCller@example.org\r\nBDAY:1970-01-01T08:30\r\nEND:VCARD\r\n"
    "BEGIN:VCARD\r\nN:Albers;Anna\r\nTEL;HOME:030 222\r\nEND:VCARD\r\n";

TEST(OutputsFlow, telephoneSettingsMailAndEntryList) {
  TemporaryHome home;
  // Two telephones, on COM3 and COM4.
  Telephone com3;
  Telephone com4;
  fs::create_directory(home.config() / "zudedo");
  fs::create_symlink(com3.slave(), home.config() / "zudedo" / "com3");
  fs::create_symlink(com4.slave(), home.config() / "zudedo" / "com4");
  const std::string file = (home.home() / "adressen.vcf").string();
  writeBytes(file, addressBook);
  writeBytes(home.configFile(), "[port]\r\nt=1\r\ncomx=COM3\r\n[VC]\r\nFile=" + file + "\r\n");
  RecordingOpener opener;

  RunningProgram program;
  ASSERT_TRUE(phoneButtonsHidden(program));
  program.start();
  EXPECT_EQ(com3.receivedAtLeast(4), "AT\r\n");
  EXPECT_TRUE(phoneButtonsShown(program));
  EXPECT_TRUE(program.dialogs.messages.empty());
  ASSERT_EQ(program.text(control::nameEdit), "Schulz");

  // Dial the number shown, then one typed over the stored one, then hang up.
  program.click(control::dialWorkButton);
  program.typeInto(control::mobileEdit, "0170 999");
  program.click(control::dialMobileButton);
  program.click(control::hangUpHomeButton);
  std::string sent = "AT\r\nATD0711 / 123-45\r\nATD0170 999\r\nATH\r\n";
  EXPECT_EQ(com3.receivedAtLeast(sent.size()), sent);

  // The settings dialog moves the telephone to COM4.
  program.dialogs.textAnswers.push_back(" com4 ");
  program.click(control::settingsButton);
  EXPECT_EQ(program.dialogs.textDialogs, std::vector<std::string>{"COM3"});
  EXPECT_EQ(com4.receivedAtLeast(4), "AT\r\n");
  EXPECT_TRUE(phoneButtonsShown(program));
  EXPECT_TRUE(program.dialogs.messages.empty());
  EXPECT_EQ(readBytes(home.configFile()),
            "[port]\r\nt=1\r\ncomx=COM4\r\n[VC]\r\nFile=" + file + "\r\n");
  program.click(control::dialHomeButton);
  program.click(control::hangUpMobileButton);
  sent = "AT\r\nATD030 333\r\nATH\r\n";
  EXPECT_EQ(com4.receivedAtLeast(sent.size()), sent);
  EXPECT_EQ(com3.received(), "AT\r\nATD0711 / 123-45\r\nATD0170 999\r\nATH\r\n");

  // Mail: the address as xdg-open's one argument, in UTF-8.
  program.click(control::mailButton);
  EXPECT_EQ(opener.takeCall(),
            "1\nmailto:m\xC3\xBC"
            "ller@example.org?Subject=&Body=");

  // The list of the entries in the table's order, sorted by name here.
  program.clickHeader(1);
  ASSERT_EQ(program.cell(1, 1), "Albers;Anna");
  program.click(control::listButton);
  const std::string list = (home.work() / "prot.txt").string();
  EXPECT_EQ(opener.takeCall(), "1\n" + list);
  EXPECT_EQ(readBytes(list),
            "Albers" + blanks(14) + "Anna" + blanks(16) + blanks(14) + "030 222" + blanks(7) +
                blanks(14) + blanks(14) + blanks(20) + "\r\n" +  //
                "Schulz" + blanks(14) + "Peter" + blanks(15) + "0711 / 123-45 " + "030 333" +
                blanks(7) + "0171 333" + blanks(6) + blanks(14) + "m\xFCller@example.org" +
                blanks(2) + "1.1.1970    08:30\r\n" +  //
                "\r\n");
  EXPECT_TRUE(program.dialogs.messages.empty());
}

// Texts read from the file are shown whole however long they are, so the
// mail link carries the whole address up to the link's own limit.
TEST(OutputsFlow, longFieldsFromTheFileReachTheMailLinkWhole) {
  TemporaryHome home;
  const std::string address = std::string(50'000, 'm') + "@example.org";
  const std::string number = std::string(33'000, '1');
  home.writeAddressBook("BEGIN:VCARD\r\nN:Lang;Lena\r\nTEL;WORK:" + number +
                        "\r\nEMAIL:" + address + "\r\nEND:VCARD\r\n");
  RecordingOpener opener;
  RunningProgram program;
  program.start();
  ASSERT_TRUE(waitUntil([&] { return program.text(control::nameEdit) == "Lang"; }));
  // Compared by size and equality: a failure must not print the texts.
  EXPECT_EQ(program.text(control::workPhoneEdit).size(), number.size());
  EXPECT_TRUE(program.text(control::workPhoneEdit) == number);
  EXPECT_TRUE(program.text(control::emailEdit) == address);

  program.click(control::mailButton);
  std::string call = opener.takeCall();
  EXPECT_EQ(call.size(), 2 + 49'999U);
  EXPECT_TRUE(call == "1\n" + ("mailto:" + address).substr(0, 49'999));
  program.closeWindow();
}

}  // namespace
