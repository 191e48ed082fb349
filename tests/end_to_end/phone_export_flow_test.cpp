// Contacts that phones and servers exported, opened with the open button, one
// contact changed in the edit fields, saved: the file keeps all the export
// had, and another program's reader (python3-vobject) finds just the change.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "table/control_ids.h"
#include "tests/end_to_end/end_to_end_support.h"

namespace {

namespace control = table::control;
namespace fs = std::filesystem;
using testing_support::readBytes;
using testing_support::RunningProgram;
using testing_support::TemporaryHome;
using testing_support::waitUntil;
using testing_support::writeBytes;

// What vobject reads differently in the two files (see vobject_difference.py).
std::string peerDifference(const fs::path& before, const fs::path& after) {
  std::string command = "PYTHONIOENCODING=utf-8 /usr/bin/python3 '" MORVI_SOURCE_DIR
                        "/tests/end_to_end/vobject_difference.py' '" +
                        before.string() + "' '" + after.string() + "' 2>&1";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[4096];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  return out;
}

TEST(PhoneExportFlow, aChangedContactKeepsAllTheExportHadAndAPeerReadsTheChange) {
  struct Case {
    std::string export_;   // in the corpus
    std::string name;      // the contact's row
    std::string newNote;   // typed over the note when not empty (Windows-1252)
    std::string kept;      // lines that must stay as they were
    std::string cellLine;  // the mobile number's line after the change
    std::string peerSees;  // what vobject reads differently
  };
  const Case cases[] = {
      {"ez-vcard/John_Doe_IPHONE.vcf", "Doe;John", "",
       "item3.ADR;type=HOME;type=pref:;;Silicon Alley 5,;New York;New York;12345;United States "
       "of America\r\n",
       "TEL;type=CELL;type=VOICE;type=pref:0170 5550123\r\n",
       "1: - TEL;TYPE=CELL,VOICE,pref:'905-555-1234'\n"
       "1: + TEL;TYPE=CELL,VOICE,pref:'0170 5550123'\n"},
      {"calcard/009.vcf", "Mustermann;M\xE4x", "", "FN;CHARSET=UTF-8:M\xC3\xA4x Mustermann\r\n",
       "TEL;CELL;VOICE:0170 5550123\r\n",
       "1: - TEL:'+49123456789'\n1: + TEL:'0170 5550123'\n4: unreadable\n5: unreadable\n"},
      {"syncevolution/Google-CardDAV.vcf", "Doe;John",
       "Gr\xFC\xDF"
       "e aus K\xF6ln, am Rhein",
       "UID:6f354d698b7ccd22\r\nBDAY;VALUE=DATE:1970-12-30\r\n"
       "ADR;TYPE=HOME:PO;neighborhood;home address\\n;City;State;ZIP;Country\r\n",
       "TEL;TYPE=CELL:0170 5550123\r\n",
       "1: - NOTE:'A test contact.'\n1: - TEL;TYPE=CELL:'mobile'\n"
       "1: + NOTE:'Gr\xC3\xBC\xC3\x9F"
       "e aus K\xC3\xB6ln, am Rhein'\n"
       "1: + TEL;TYPE=CELL:'0170 5550123'\n"},
  };
  for (const Case& c : cases) {
    TemporaryHome home;
    home.writeAddressBook("BEGIN:VCARD\r\nN:Vorher\r\nEND:VCARD\r\n");
    const fs::path exported = home.home() / "export.vcf";
    fs::copy_file(fs::path(MORVI_CORPUS_DIR) / c.export_, exported);
    const std::string original = readBytes(exported);

    RunningProgram program;
    program.start();
    program.dialogs.fileAnswers.push_back(exported.string());
    program.click(control::openButton);
    ASSERT_TRUE(waitUntil([&] { return program.rowOf(c.name) != 0; })) << c.export_;
    program.clickRow(program.rowOf(c.name));
    ASSERT_TRUE(waitUntil([&] { return program.text(control::rowLabel) != ""; }));
    program.typeInto(control::mobileEdit, "0170 5550123");
    if (!c.newNote.empty()) program.typeInto(control::notesEdit, c.newNote);
    program.click(control::applyButton);
    program.click(control::saveButton);

    const std::string saved = readBytes(exported);
    EXPECT_NE(saved.find(c.kept), std::string::npos) << c.export_;
    EXPECT_NE(saved.find(c.cellLine), std::string::npos) << c.export_;
    // Photos stay byte for byte (the iPhone's CR CR LF line ends aside).
    for (std::size_t at = original.find("PHOTO"); at != std::string::npos;
         at = original.find("PHOTO", at + 1)) {
      std::string photoLine = original.substr(at, original.find('\n', at) - at);
      if (photoLine.ends_with('\r')) photoLine.pop_back();
      EXPECT_NE(saved.find(photoLine), std::string::npos) << c.export_;
    }
    EXPECT_EQ(peerDifference(fs::path(MORVI_CORPUS_DIR) / c.export_, exported), c.peerSees)
        << c.export_;
    program.closeWindow();
  }
}

}  // namespace
