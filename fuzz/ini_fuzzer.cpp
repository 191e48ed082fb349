// The INI profile file over a configuration file of any bytes: reads of a few
// keys with various rooms, one write, and the checks that the write changed
// only the key's own line (or added lines), that every other key still reads
// as before, and that the written key reads back as written.

#include <fuzzer/FuzzedDataProvider.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/setting_keys.h"
#include "fuzz/fuzz_check.h"
#include "platform/ini_profile_file.h"
#include "platform/settings.h"
#include "tests/fakes/memory_file_system.h"

namespace {

using fuzzing::check;
using fuzzing::checkEqual;

constexpr std::string_view path = "/fuzz/zudedo.conf";
constexpr std::string_view missing = "\x01missing";
constexpr std::size_t fullRoom = 1 << 20;

struct Name {
  std::string section;
  std::string key;
};

// One of the program's own keys, or names made of the input.
Name consumeName(FuzzedDataProvider& input) {
  constexpr std::array own{app::setting::addressFile, app::setting::telephonePort,
                           app::setting::created};
  auto choice = input.ConsumeIntegralInRange<std::size_t>(0, own.size());
  if (choice < own.size()) {
    return {std::string(own[choice].section), std::string(own[choice].key)};
  }
  std::string section = input.ConsumeRandomLengthString(24);
  return {section, input.ConsumeRandomLengthString(24)};
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trim(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

char asciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
  a = trim(a);
  b = trim(b);
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (asciiLower(a[i]) != asciiLower(b[i])) return false;
  }
  return true;
}

// What a read gives for a value as written: without the blanks around it
// and without one pair of enclosing quotes.
std::string readForm(std::string_view value) {
  value = trim(value);
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
  }
  return std::string(value);
}

// The lines of text, each with its line end (the last one may have none).
std::vector<std::string_view> lines(std::string_view text) {
  std::vector<std::string_view> result;
  while (!text.empty()) {
    std::size_t lf = text.find('\n');
    std::size_t length = lf == std::string_view::npos ? text.size() : lf + 1;
    result.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return result;
}

// A write leaves every line as it was, except that it may replace the key's
// own line (same text up to its "="), give the last line a line end, and add
// up to two lines (a section and the key).
void checkLinesKept(std::string_view before, std::string_view after) {
  std::vector<std::string_view> old = lines(before);
  std::vector<std::string_view> now = lines(after);
  std::size_t prefix = 0;
  while (prefix < old.size() && prefix < now.size() && old[prefix] == now[prefix]) ++prefix;
  std::size_t suffix = 0;
  while (suffix < old.size() - prefix && suffix < now.size() - prefix &&
         old[old.size() - 1 - suffix] == now[now.size() - 1 - suffix]) {
    ++suffix;
  }
  std::size_t oldChanged = old.size() - prefix - suffix;
  std::size_t newChanged = now.size() - prefix - suffix;
  check(oldChanged <= 1, "a write changes at most one line");
  check(newChanged <= 3, "a write adds at most two lines");
  if (oldChanged == 0) return;
  check(newChanged >= 1, "a write removes no line");
  std::string_view line = old[prefix];
  std::string_view replacement = now[prefix];
  bool lastGotLineEnd = prefix + 1 == old.size() && line.back() != '\n' &&
                        replacement.starts_with(line) && replacement.size() - line.size() <= 2;
  std::size_t equals = line.find('=');
  bool keyLineReplaced = newChanged == 1 && equals != std::string_view::npos &&
                         replacement.substr(0, equals + 1) == line.substr(0, equals + 1);
  if (!lastGotLineEnd && !keyLineReplaced) {
    checkEqual(replacement, line, "the one line a write changes is the key's or the last");
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  bool fileExists = input.ConsumeBool();
  std::vector<Name> readNames;
  std::vector<std::size_t> rooms;
  for (int i = 0; i < 3; ++i) {
    readNames.push_back(consumeName(input));
    rooms.push_back(input.ConsumeIntegralInRange<std::size_t>(0, 300));
  }
  Name written = consumeName(input);
  std::string value = input.ConsumeRandomLengthString(80);
  std::string file = input.ConsumeRemainingBytesAsString();

  testing_support::MemoryFileSystem files;
  if (fileExists) files.files[std::string(path)] = file;
  platform::IniProfileFile profile(files);

  std::vector<std::string> before;
  for (std::size_t i = 0; i < readNames.size(); ++i) {
    const Name& name = readNames[i];
    std::string full = profile.read(path, name.section, name.key, missing, fullRoom);
    std::string cut = profile.read(path, name.section, name.key, missing, rooms[i]);
    checkEqual(cut, std::string_view(full).substr(0, rooms[i] == 0 ? 0 : rooms[i] - 1),
               "a read with less room gives the start of the value");
    before.push_back(std::move(full));
  }

  std::optional<std::string> old = files.readFile(path);
  bool stored = profile.write(path, written.section, written.key, value);
  std::optional<std::string> now = files.readFile(path);
  if (!stored) {
    check(now == old, "a refused write leaves the file as it was");
    return 0;
  }
  check(now.has_value(), "a write leaves a file");
  checkLinesKept(old.value_or(std::string()), *now);
  checkEqual(profile.read(path, written.section, written.key, missing, fullRoom), readForm(value),
             "the written key reads back as written");
  for (std::size_t i = 0; i < readNames.size(); ++i) {
    const Name& name = readNames[i];
    if (sameName(name.section, written.section) && sameName(name.key, written.key)) continue;
    checkEqual(profile.read(path, name.section, name.key, missing, fullRoom), before[i],
               "a write leaves the other keys as they were");
  }
  return 0;
}
