#include "tools/vcftool/vcftool_command.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/memory_file_system.h"
#include "tests/tools/tool_run.h"

namespace {

using testing_support::runTool;
using testing_support::ToolRun;

TEST(VcftoolUse, wrongCommandLinesExitWithTwoAndTheUsage) {
  const std::vector<std::vector<std::string>> wrong{{},
                                                    {"dump"},
                                                    {"save", "a.vcf"},
                                                    {"save", "a.vcf", "b.vcf", "c.vcf"},
                                                    {"dump", "a.vcf", "x", "y"},
                                                    {"list", "a.vcf"},
                                                    {"DUMP", "a.vcf"},
                                                    {"--help", "a.vcf"}};
  for (const auto& args : wrong) {
    testing_support::MemoryFileSystem files;
    files.files["a.vcf"] = "BEGIN:VCARD\r\nN:A\r\nEND:VCARD\r\n";
    ToolRun run = runTool(files, args);
    EXPECT_EQ(run.status, 2) << args.size() << " arguments";
    EXPECT_NE(run.err.find("usage: vcftool dump FILE [FILTER]"), std::string::npos);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(files.replaceCalls, 0);
  }
}

TEST(VcftoolUse, helpPrintsTheUsageAndSucceeds) {
  testing_support::MemoryFileSystem files;
  ToolRun help = runTool(files, {"--help"});
  ToolRun wrong = runTool(files, {});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out, wrong.err);
  EXPECT_EQ(help.err, "");
}

TEST(VcftoolUse, aMissingFileIsReportedWithItsPathInUtf8) {
  testing_support::MemoryFileSystem files;
  ToolRun dump = runTool(files, {"dump", "/tmp/M\xFCller.vcf"});
  EXPECT_EQ(dump.status, 1);
  EXPECT_EQ(dump.err, "File ?: /tmp/M\xC3\xBCller.vcf\n");
  EXPECT_EQ(dump.out, "");
  ToolRun save = runTool(files, {"save", "/tmp/gone.vcf", "/tmp/out.vcf"});
  EXPECT_EQ(save.status, 1);
  EXPECT_EQ(save.err, "File ?: /tmp/gone.vcf\n");
  EXPECT_EQ(files.replaceCalls, 0);
}

TEST(VcftoolUse, aFilterThatIsNoUtf8IsWrongUse) {
  testing_support::MemoryFileSystem files;
  files.files["a.vcf"] = "BEGIN:VCARD\r\nN:A\r\nEND:VCARD\r\n";
  for (std::string filter : {"\xC3", "\xFC"}) {  // cut UTF-8, Latin-1 byte
    ToolRun run = runTool(files, {"dump", "a.vcf", filter});
    EXPECT_EQ(run.status, 2);
    EXPECT_EQ(run.out, "");
    EXPECT_FALSE(run.err.empty());
  }
}

TEST(VcftoolUse, aFilterFindsLettersThatWindows1252Lacks) {
  testing_support::MemoryFileSystem files;
  files.files["a.vcf"] =
      "BEGIN:VCARD\r\nN:Mat\xC4\x9Bj\r\nEND:VCARD\r\nBEGIN:VCARD\r\nN:Matej\r\nEND:VCARD\r\n";
  ToolRun run = runTool(files, {"dump", "a.vcf", "\xC4\x9B"});  // ě
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "capacity 999\n1\tMat\xC4\x9Bj\t\t\t\t\t\t\t\n");
}

TEST(VcftoolUse, anEmptyFilterShowsEveryNamedRecord) {
  testing_support::MemoryFileSystem files;
  files.files["a.vcf"] = "BEGIN:VCARD\r\nN:A\r\nBEGIN:VCARD\r\nNOTE:x\r\nBEGIN:VCARD\r\nN:C\r\n";
  ToolRun run = runTool(files, {"dump", "a.vcf", ""});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "capacity 999\n1\tA\t\t\t\t\t\t\t\n3\tC\t\t\t\t\t\t\t\n");
}

TEST(VcftoolUse, aSaveThatCannotWriteSaysSoAndFails) {
  testing_support::MemoryFileSystem files;
  files.files["a.vcf"] = "BEGIN:VCARD\r\nN:A\r\nEND:VCARD\r\n";
  files.failWrites = true;
  ToolRun run = runTool(files, {"save", "a.vcf", "b.vcf"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "vcftool: cannot write b.vcf\n");
  EXPECT_FALSE(files.isFile("b.vcf"));
}

// The program's own new file (one empty card) saved onto itself stays a
// file that loads: a save without records writes the empty card.
TEST(VcftoolUse, aBookWithoutRecordsSavedOntoItselfStillLoads) {
  testing_support::MemoryFileSystem files;
  files.files["myadr.vcf"] = "BEGIN:VCARD\r\nEND:VCARD\r\n\r\n";
  ToolRun save = runTool(files, {"save", "myadr.vcf", "myadr.vcf"});
  EXPECT_EQ(save.status, 0) << save.err;
  EXPECT_EQ(files.files["myadr.vcf"], "BEGIN:VCARD\r\nEND:VCARD\r\n\r\n");
  EXPECT_EQ(runTool(files, {"dump", "myadr.vcf"}).status, 0);
}

}  // namespace
