// Every NAME.vcf in tests/data/golden is run through "vcftool dump" and
// "vcftool save" and compared byte for byte with the files beside it:
//   NAME.dump    what dump prints (with the UTF-8 content of NAME.filter as
//                the filter when that file exists)
//   NAME.saved   the bytes that save writes, and that it writes again for
//                the saved file
//   NAME.err     instead of the two above: the message of a file the program
//                refuses (exit status 1, nothing written)
// The expected files were written by hand from the program's reading and
// writing rules; see tests/data/golden/README.md.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "tests/fakes/memory_file_system.h"
#include "tests/fakes/temp_dir.h"
#include "tests/tools/tool_run.h"
#include "tools/vcftool/vcftool_command.h"

namespace {

namespace fs = std::filesystem;

const fs::path goldenDir = fs::path(MORVI_TEST_DATA_DIR) / "golden";

std::optional<std::string> readIfPresent(const fs::path& path) {
  if (!fs::exists(path)) return std::nullopt;
  return testing_support::readBytes(path);
}

std::vector<std::string> goldenNames() {
  std::vector<std::string> names;
  if (!fs::is_directory(goldenDir)) return names;
  for (const auto& entry : fs::directory_iterator(goldenDir)) {
    if (entry.path().extension() == ".vcf") names.push_back(entry.path().stem().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

using testing_support::runTool;
using testing_support::ToolRun;

// Where two byte strings part, with a few escaped bytes of each around it.
std::string difference(std::string_view expected, std::string_view actual) {
  std::size_t at = 0;
  while (at < expected.size() && at < actual.size() && expected[at] == actual[at]) ++at;
  auto excerpt = [at](std::string_view text) {
    std::size_t from = at > 40 ? at - 40 : 0;
    std::string shown;
    for (char c : text.substr(from, 80)) {
      auto byte = static_cast<unsigned char>(c);
      if (byte >= 0x20 && byte < 0x7F && c != '\\') {
        shown += c;
      } else {
        char code[8];
        std::snprintf(code, sizeof code, "\\x%02X", byte);
        shown += code;
      }
    }
    return shown;
  };
  return "first difference at byte " + std::to_string(at) + " (sizes " +
         std::to_string(expected.size()) + " expected, " + std::to_string(actual.size()) +
         " actual)\n  expected: ..." + excerpt(expected) + "\n  actual:   ..." + excerpt(actual);
}

class GoldenFile : public testing::TestWithParam<std::string> {};

TEST_P(GoldenFile, dumpAndSaveGiveTheExpectedBytes) {
  const std::string& name = GetParam();
  auto vcf = readIfPresent(goldenDir / (name + ".vcf"));
  ASSERT_TRUE(vcf.has_value());
  auto expectedDump = readIfPresent(goldenDir / (name + ".dump"));
  auto expectedSaved = readIfPresent(goldenDir / (name + ".saved"));
  auto expectedError = readIfPresent(goldenDir / (name + ".err"));
  auto filter = readIfPresent(goldenDir / (name + ".filter"));
  ASSERT_NE(expectedError.has_value(), expectedDump.has_value() && expectedSaved.has_value())
      << name << " needs either .err or both .dump and .saved";

  testing_support::MemoryFileSystem files;
  const std::string path = name + ".vcf";
  const std::string target = "saved.vcf";
  files.files[path] = *vcf;

  std::vector<std::string> dumpArgs{"dump", path};
  if (filter) dumpArgs.push_back(*filter);
  ToolRun dump = runTool(files, dumpArgs);
  ToolRun save = runTool(files, {"save", path, target});

  if (expectedError) {
    EXPECT_EQ(dump.status, 1);
    EXPECT_EQ(dump.err, *expectedError);
    EXPECT_EQ(dump.out, "");
    EXPECT_EQ(save.status, 1);
    EXPECT_EQ(save.err, *expectedError);
    EXPECT_FALSE(files.isFile(target));
    return;
  }
  EXPECT_EQ(dump.status, 0) << dump.err;
  EXPECT_EQ(dump.err, "");
  EXPECT_TRUE(dump.out == *expectedDump)
      << name << ".dump: " << difference(*expectedDump, dump.out);
  EXPECT_EQ(save.status, 0) << save.err;
  auto saved = files.readFile(target);
  ASSERT_TRUE(saved.has_value()) << "save wrote nothing";
  EXPECT_TRUE(*saved == *expectedSaved) << name << ".saved: " << difference(*expectedSaved, *saved);

  // What the program wrote reads and saves to the same bytes again.
  if (expectedSaved->empty()) return;  // no cards: nothing to read
  files.files["again.vcf"] = *expectedSaved;
  ToolRun again = runTool(files, {"save", "again.vcf", "again-saved.vcf"});
  auto savedAgain = files.readFile("again-saved.vcf");
  ASSERT_TRUE(savedAgain.has_value()) << again.err;
  EXPECT_TRUE(*savedAgain == *expectedSaved)
      << name << ".saved saved again: " << difference(*expectedSaved, *savedAgain);
}

std::string testName(const testing::TestParamInfo<std::string>& info) {
  std::string name = info.param;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Folder, GoldenFile, testing::ValuesIn(goldenNames()), testName);

TEST(GoldenFolder, holdsTheCasesAndNoOrphans) {
  std::vector<std::string> names = goldenNames();
  EXPECT_GE(names.size(), 30u) << "golden folder " << goldenDir << " missing or emptied";
  for (const auto& entry : fs::directory_iterator(goldenDir)) {
    const fs::path& file = entry.path();
    if (file.filename() == "README.md") continue;
    EXPECT_TRUE(std::binary_search(names.begin(), names.end(), file.stem().string()))
        << file.filename() << " has no .vcf beside it";
  }
}

}  // namespace
