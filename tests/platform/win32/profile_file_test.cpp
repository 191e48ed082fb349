#include <windows.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/ini_profile_file.h"
#include "platform/win32/file_operations.h"
#include "platform/win32/file_system.h"
#include "tests/fakes/temp_dir.h"

namespace {

using testing_support::readBytes;
using testing_support::TempDir;

class Win32ProfileFileTest : public testing::Test {
 protected:
  std::string path() const { return dir.file("zudedo.conf"); }
  std::string read(std::string_view section, std::string_view key,
                   std::string_view defaultValue = "<default>", std::size_t room = 256) const {
    return profile.read(path(), section, key, defaultValue, room);
  }

  TempDir dir;
  platform::win32::FileOperations operations;
  platform::win32::FileSystem files{operations};
  platform::IniProfileFile profile{files};
};

TEST_F(Win32ProfileFileTest, aFirstStartWritesTheKeysInTheOrderOfWriting) {
  ASSERT_TRUE(profile.write(path(), "port", "t", "1"));
  ASSERT_TRUE(profile.write(path(), "VC", "File", "C:\\Daten\\myadr.vcf"));
  ASSERT_TRUE(profile.write(path(), "port", "comx", "COM3"));

  EXPECT_EQ(readBytes(path()),
            "[port]\r\nt=1\r\ncomx=COM3\r\n[VC]\r\nFile=C:\\Daten\\myadr.vcf\r\n");
}

TEST_F(Win32ProfileFileTest, namesMatchRegardlessOfCaseAndMissingThingsGiveTheDefault) {
  EXPECT_EQ(read("port", "comx"), "<default>");  // no file
  ASSERT_TRUE(profile.write(path(), "VC", "File", "a.vcf"));

  EXPECT_EQ(read("vc", "FILE"), "a.vcf");
  EXPECT_EQ(read("VC", "fehlt"), "<default>");
  EXPECT_EQ(read("fehlt", "File"), "<default>");
}

TEST_F(Win32ProfileFileTest, valuesAreCutToTheRoomLessOne) {
  ASSERT_TRUE(profile.write(path(), "VC", "File", std::string(300, 'x')));

  EXPECT_EQ(read("VC", "File", "", 256), std::string(255, 'x'));
  EXPECT_EQ(read("VC", "fehlt", "myadr.vcf", 4), "mya");
  EXPECT_EQ(read("VC", "File", "", 1), "");
  EXPECT_EQ(read("VC", "File", "", 0), "");
}

TEST_F(Win32ProfileFileTest, anEmptyValueKeepsTheKeyAndReplacesTheValue) {
  ASSERT_TRUE(profile.write(path(), "port", "comx", "COM3"));
  ASSERT_TRUE(profile.write(path(), "port", "comx", ""));

  EXPECT_EQ(read("port", "comx"), "");
  EXPECT_EQ(readBytes(path()), "[port]\r\ncomx=\r\n");
}

// Run on systems set to other code pages too, which the test checks.
TEST_F(Win32ProfileFileTest, windows1252TextsAreStoredAsTheirBytesWhateverTheAnsiCodePage) {
  if (const char* codePage = std::getenv("MORVI_TEST_ANSI_CODE_PAGE")) {
    EXPECT_EQ(GetACP(), std::stoul(codePage));
  }
  const std::string value = "C:\\D\xE4ten\\M\xFCller \x80.vcf";
  ASSERT_TRUE(profile.write(path(), "VC", "File", value));

  EXPECT_EQ(read("VC", "File"), value);
  EXPECT_EQ(readBytes(path()), "[VC]\r\nFile=" + value + "\r\n");
}

TEST_F(Win32ProfileFileTest, aBareNameIsInTheWorkingDirectoryNotTheWindowsFolder) {
  wchar_t previous[MAX_PATH] = {};
  ASSERT_NE(GetCurrentDirectoryW(MAX_PATH, previous), 0U);
  ASSERT_TRUE(SetCurrentDirectoryW(dir.path().c_str()));

  bool written = profile.write("zudedo.conf", "port", "t", "1");
  std::string back = profile.read("zudedo.conf", "port", "t", "", 8);
  SetCurrentDirectoryW(previous);

  EXPECT_TRUE(written);
  EXPECT_EQ(back, "1");
  EXPECT_EQ(readBytes(path()), "[port]\r\nt=1\r\n");
}

TEST_F(Win32ProfileFileTest, textsThatWouldBreakTheLineAreRefused) {
  ASSERT_TRUE(profile.write(path(), "port", "t", "1"));
  const std::string before = readBytes(path());

  EXPECT_FALSE(profile.write(path(), "VC", "File", "a.vcf\r\n[port]\r\ncomx=COM9"));
  EXPECT_FALSE(profile.write(path(), "V\nC", "File", "x"));
  EXPECT_FALSE(profile.write(path(), "VC", std::string("Fi\0le", 5), "x"));
  EXPECT_FALSE(profile.write(path(), "", "File", "x"));
  EXPECT_FALSE(profile.write(path(), "VC", "", "x"));

  EXPECT_EQ(readBytes(path()), before);
}

}  // namespace
