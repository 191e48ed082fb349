#include "platform/ini_profile_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/machine_file_system.h"
#include "tests/fakes/native_name.h"
#include "tests/fakes/temp_dir.h"

namespace {

using testing_support::readBytes;

class IniProfileFileTest : public testing::Test {
 protected:
  std::string path() const { return dir.file("zudedo.conf"); }
  std::string contents() const { return readBytes(path()); }
  std::string read(std::string_view section, std::string_view key,
                   std::string_view defaultValue = "<default>", std::size_t room = 256) const {
    return profile.read(path(), section, key, defaultValue, room);
  }

  testing_support::TempDir dir;
  std::unique_ptr<platform::FileSystem> files = platform::makeMachineFileSystem();
  platform::IniProfileFile profile{*files};
};

// Written by hand: comments, blank lines, odd spacing and case, LF only.
constexpr std::string_view handWritten =
    "; Einstellungen\n"
    "# von Hand\n"
    "\n"
    "[Andere]\n"
    "Schl\xFCssel = Wert ; kein Kommentar\n"
    "  [ PORT ]  \n"
    "  T =  1\n"
    "\tCOMX\t=\tCOM1  \n"
    "; Ende von port\n"
    "\n"
    "[vc]\n"
    "file=C:\\Daten\\alt.vcf\n";

TEST_F(IniProfileFileTest, write_changesOnlyTheLineOfTheKey) {
  dir.write("zudedo.conf", handWritten);

  ASSERT_TRUE(profile.write(path(), "port", "comx", "COM3"));

  std::string expected(handWritten);
  expected.replace(expected.find("COM1  "), 6, "COM3");
  EXPECT_EQ(contents(), expected);
  EXPECT_EQ(read("port", "comx"), "COM3");
}

TEST_F(IniProfileFileTest, write_addsKeysAfterTheLastKeyAndSectionsAtTheEnd) {
  dir.write("zudedo.conf", handWritten);

  ASSERT_TRUE(profile.write(path(), "PORT", "neu", "ja"));
  ASSERT_TRUE(profile.write(path(), "Extra", "k", "v"));

  std::string expected(handWritten);
  expected.insert(expected.find("; Ende von port"), "neu=ja\n");
  expected += "[Extra]\nk=v\n";
  EXPECT_EQ(contents(), expected);
}

TEST_F(IniProfileFileTest, read_matchesNamesRegardlessOfCaseAndSpacing) {
  dir.write("zudedo.conf", handWritten);

  struct Case {
    std::string_view section, key, expected;
  };
  for (const Case& c :
       {Case{"port", "t", "1"}, Case{"Port", "comx", "COM1"},
        Case{"VC", "File", "C:\\Daten\\alt.vcf"},
        Case{"andere", "SCHL\xFCSSEL", "Wert ; kein Kommentar"}, Case{" port ", " t ", "1"}}) {
    EXPECT_EQ(read(c.section, c.key), c.expected) << c.section << "/" << c.key;
  }
}

TEST_F(IniProfileFileTest, read_givesTheDefaultForAnythingMissing) {
  EXPECT_EQ(read("port", "t", "fehlt"), "fehlt");  // no file

  dir.write("zudedo.conf", handWritten);
  struct Case {
    std::string_view section, key;
  };
  for (const Case& c : {Case{"nix", "t"}, Case{"port", "nix"}, Case{"port", "file"},
                        Case{"Ende von port", "t"}, Case{"; Einstellungen", "t"}}) {
    EXPECT_EQ(read(c.section, c.key, "fehlt"), "fehlt") << c.section << "/" << c.key;
  }
}

TEST_F(IniProfileFileTest, read_cutsTheValueToTheRoomLessOne) {
  std::string value(300, 'x');
  ASSERT_TRUE(profile.write(path(), "VC", "File", value));

  EXPECT_EQ(read("VC", "File", "", 256), std::string(255, 'x'));
  EXPECT_EQ(read("VC", "File", "", 301), value);
  EXPECT_EQ(read("VC", "File", "", 2), "x");
  EXPECT_EQ(read("VC", "File", "", 1), "");
  EXPECT_EQ(read("VC", "File", "", 0), "");
  EXPECT_EQ(read("VC", "fehlt", "myadr.vcf", 4), "mya");
}

TEST_F(IniProfileFileTest, write_onAFirstStartCreatesFileSectionsAndKeysInOrder) {
  ASSERT_TRUE(profile.write(path(), "port", "t", "1"));
  EXPECT_EQ(contents(), "[port]\r\nt=1\r\n");

  ASSERT_TRUE(profile.write(path(), "VC", "File", "C:\\Daten\\myadr.vcf"));
  ASSERT_TRUE(profile.write(path(), "port", "comx", "COM3"));

  EXPECT_EQ(contents(), "[port]\r\nt=1\r\ncomx=COM3\r\n[VC]\r\nFile=C:\\Daten\\myadr.vcf\r\n");
}

TEST_F(IniProfileFileTest, write_newLinesFollowTheFilesLineEnds) {
  struct Case {
    std::string_view before, after;
  };
  for (const Case& c : {
           Case{"[port]\nt=1\n", "[port]\nt=1\ncomx=COM3\n"},
           Case{"[port]\r\nt=1\r\n", "[port]\r\nt=1\r\ncomx=COM3\r\n"},
           Case{"[port]\r\nt=1", "[port]\r\nt=1\r\ncomx=COM3\r\n"},
           Case{"[port]", "[port]\r\ncomx=COM3\r\n"},
           Case{"[port]\nt=1\r", "[port]\nt=1\r\ncomx=COM3\n"},
           Case{"", "[port]\r\ncomx=COM3\r\n"},
       }) {
    dir.write("zudedo.conf", c.before);
    ASSERT_TRUE(profile.write(path(), "port", "comx", "COM3"));
    EXPECT_EQ(contents(), c.after) << c.before;
    EXPECT_EQ(read("port", "t", ""), c.before.find("t=1") != std::string_view::npos ? "1" : "");
  }
}

TEST_F(IniProfileFileTest, write_emptyValueKeepsTheKey) {
  ASSERT_TRUE(profile.write(path(), "port", "comx", "COM3"));
  ASSERT_TRUE(profile.write(path(), "port", "comx", ""));

  EXPECT_EQ(contents(), "[port]\r\ncomx=\r\n");
  EXPECT_EQ(read("port", "comx", "COM9"), "");
}

// Also run on Windows systems set to other code pages, which it checks.
TEST_F(IniProfileFileTest, windows1252ValuesAndPathsRoundTripByteForByte) {
  if (const char* codePage = std::getenv("MORVI_TEST_ANSI_CODE_PAGE")) {
    EXPECT_EQ(testing_support::systemCodePage(), std::stoul(codePage));
  }
  std::string path = dir.file("Einstellungen f\xFCr M\xFCller.conf");
  std::string value = "C:\\Daten\\m\xFC.vcf \\n \\\\ \x80";

  ASSERT_TRUE(profile.write(path, "VC", "File", value));

  EXPECT_EQ(profile.read(path, "VC", "File", "", 256), value);
  EXPECT_EQ(readBytes(dir.path() / u8"Einstellungen f\u00FCr M\u00FCller.conf"),
            "[VC]\r\nFile=" + value + "\r\n");
}

TEST_F(IniProfileFileTest, read_dropsAPairOfQuotesAndTheBlanksAround) {
  dir.write("zudedo.conf",
            "[q]\n"
            "double= \"a b \" \n"
            "single='x'\n"
            "mixed=\"x'\n"
            "lone=\"\n"
            "inner=a\"b\"\n"
            "empty=\"\"\n");

  EXPECT_EQ(read("q", "double"), "a b ");
  EXPECT_EQ(read("q", "single"), "x");
  EXPECT_EQ(read("q", "mixed"), "\"x'");
  EXPECT_EQ(read("q", "lone"), "\"");
  EXPECT_EQ(read("q", "inner"), "a\"b\"");
  EXPECT_EQ(read("q", "empty"), "");
}

TEST_F(IniProfileFileTest, theFirstOfRepeatedSectionsAndKeysCounts) {
  dir.write("zudedo.conf", "[port]\nt=1\nt=2\n[port]\ncomx=COM7\n");

  EXPECT_EQ(read("port", "t"), "1");
  EXPECT_EQ(read("port", "comx"), "<default>");

  ASSERT_TRUE(profile.write(path(), "port", "t", "3"));
  EXPECT_EQ(contents(), "[port]\nt=3\nt=2\n[port]\ncomx=COM7\n");
}

TEST_F(IniProfileFileTest, write_refusesWhatCouldNotBeReadBack) {
  dir.write("zudedo.conf", handWritten);
  struct Case {
    std::string_view section, key, value;
  };
  for (const Case& c :
       {Case{"port", "comx", "COM3\r\n[VC]"}, Case{"port", "comx", "a\rb"},
        Case{"port", "comx", "a\nb"}, Case{"port", "comx", {"a\0b", 3}},
        Case{"po\nrt", "comx", "x"}, Case{"port]", "comx", "x"}, Case{"port", "co=mx", "x"},
        Case{"port", "co\r\nmx", "x"}, Case{"port", "[x]", "x"}, Case{"port", ";x", "x"},
        Case{"port", "#x", "x"}, Case{"", "comx", "x"}, Case{"port", " ", "x"}}) {
    EXPECT_FALSE(profile.write(path(), c.section, c.key, c.value)) << c.section << "/" << c.key;
  }
  EXPECT_EQ(contents(), handWritten);
}

TEST_F(IniProfileFileTest, write_ofTheSameValueLeavesTheFileAlone) {
  ASSERT_TRUE(profile.write(path(), "VC", "File", "a.vcf"));
  struct stat before = {};
  ASSERT_EQ(::stat(path().c_str(), &before), 0);

  ASSERT_TRUE(profile.write(path(), "vc", "FILE", "a.vcf"));

  struct stat after = {};
  ASSERT_EQ(::stat(path().c_str(), &after), 0);
  EXPECT_EQ(after.st_ino, before.st_ino);
}

// A file that exists but cannot be read.
class UnreadableFile : public platform::FileSystem {
 public:
  bool isFile(std::string_view) const override { return true; }
  std::optional<std::string> readFile(std::string_view) const override { return std::nullopt; }
  bool readInPieces(std::string_view, const std::function<void(std::string_view)>&) const override {
    return false;
  }
  bool replaceFileIf(std::string_view, std::string_view, const DisplacedCheck&) override {
    ++replaces;
    return true;
  }
  bool recreateFile(std::string_view, std::string_view) override { return false; }
  bool removeFile(std::string_view) override { return false; }
  std::string currentDirectory() const override { return "/"; }
  bool isHidden(std::string_view) const override { return false; }
  std::optional<platform::FileStamp> stamp(std::string_view) const override {
    return platform::FileStamp{.kind = platform::EntryKind::file};
  }
  std::optional<std::vector<platform::FolderEntry>> listFolder(std::string_view) const override {
    return std::nullopt;
  }

  int replaces = 0;
};

TEST(IniProfileFile, write_neverReplacesAFileItCouldNotRead) {
  UnreadableFile files;
  platform::IniProfileFile profile(files);

  EXPECT_FALSE(profile.write("/etc/zudedo.conf", "port", "t", "1"));
  EXPECT_EQ(files.replaces, 0);
  EXPECT_EQ(profile.read("/etc/zudedo.conf", "port", "t", "d", 10), "d");
}

}  // namespace
