#include "document/backups.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

#include "platform/path.h"

namespace document {

namespace {

// Characters of the address file's name kept in a copy's name, so that the
// copy's name stays within the system's limit of 255 bytes for one name even
// when every character takes three bytes there.
constexpr std::size_t maxStemLength = 60;
// Copies of one file within the same second get "-2", "-3", ... appended.
constexpr int maxCopiesPerSecond = 9;
// "2026-12-07_155424"
constexpr std::size_t timeLength = 17;

// Digits of a copy's running number.
constexpr int sequenceDigits = 6;

// One copy of an address file in the backup folder.
struct Copy {
  std::string name;
  // Copies count up from one, so that the newest is known whatever the
  // clock said when they were made; copies named before the count was
  // introduced count as 0.
  std::uint64_t sequence = 0;
  std::string age;  // the time and a same-second count
};

// What the names of one address file's copies have before and after their
// running number and time: "myadr_1a2b3c4d_" and ".vcf".
struct CopyNaming {
  std::string prefix;
  std::string suffix;

  explicit CopyNaming(std::string_view path) {
    std::string_view name = platform::path::nameOf(path);
    std::size_t dot = name.rfind('.');
    std::string_view stem = dot == std::string_view::npos || dot == 0 ? name : name.substr(0, dot);
    // The standard library's hash is enough to tell a user's few address
    // files apart; it only has to stay the same from one run to the next.
    std::size_t pathHash = std::hash<std::string_view>{}(path);
    char tag[9];
    std::snprintf(tag, sizeof tag, "%08x", static_cast<unsigned>(pathHash & 0xFFFFFFFFU));
    prefix = std::string(stem.substr(0, maxStemLength)) + "_" + tag + "_";
    suffix = std::string(name.substr(stem.size()));
  }

  [[nodiscard]] std::string name(std::uint64_t sequence, std::string_view time) const {
    char number[24];
    std::snprintf(number, sizeof number, "%0*llu_", sequenceDigits,
                  static_cast<unsigned long long>(sequence));
    return prefix + number + std::string(time) + suffix;
  }

  // The copy a name in the folder is, if it is one of these copies: the
  // prefix, a running number and "_" (not in the oldest copies), a time,
  // perhaps a same-second count, and the suffix.
  [[nodiscard]] std::optional<Copy> copyNamed(const std::string& name) const {
    std::string_view rest = name;
    if (!rest.starts_with(prefix) || !rest.ends_with(suffix)) return std::nullopt;
    rest.remove_prefix(prefix.size());
    rest.remove_suffix(suffix.size());
    Copy copy;
    copy.name = name;
    std::size_t digits = 0;
    while (digits < rest.size() && rest[digits] >= '0' && rest[digits] <= '9') ++digits;
    if (digits > 0 && digits <= 18 && digits < rest.size() && rest[digits] == '_') {
      for (std::size_t i = 0; i < digits; ++i)
        copy.sequence = copy.sequence * 10 + static_cast<std::uint64_t>(rest[i] - '0');
      rest.remove_prefix(digits + 1);
    }
    if (rest.size() < timeLength) return std::nullopt;
    for (std::size_t i = 0; i < rest.size(); ++i) {
      bool separator = i == 4 || i == 7 || i == 10 || i == timeLength;
      char expected = i == 10 ? '_' : '-';
      if (separator ? rest[i] != expected : (rest[i] < '0' || rest[i] > '9')) return std::nullopt;
    }
    if (rest.size() == timeLength + 1) return std::nullopt;
    copy.age = std::string(rest);
    return copy;
  }
};

std::string timeText(const platform::LocalTime& time) {
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d_%02d%02d%02d", time.date.year, time.date.month,
                time.date.day, time.hour, time.minute, time.second);
  return text;
}

// Whether the file at path holds exactly bytes; a file of another length is
// not read.
bool holdsBytes(const std::string& path, std::string_view bytes,
                const platform::FileSystem& files) {
  auto stamp = files.stamp(path);
  if (!stamp || stamp->size != bytes.size()) return false;
  return files.readFile(path) == bytes;
}

// The file's copies in the folder, oldest first: by running number, then
// by time; a same-second count ("-2") sorts after the name without one.
std::vector<Copy> copiesIn(const std::string& folder, const CopyNaming& naming,
                           const platform::FileSystem& files) {
  std::vector<Copy> copies;
  auto entries = files.listFolder(folder);
  if (!entries) return copies;
  for (const platform::FolderEntry& entry : *entries) {
    if (entry.kind != platform::EntryKind::file) continue;
    if (auto copy = naming.copyNamed(entry.name)) copies.push_back(std::move(*copy));
  }
  std::sort(copies.begin(), copies.end(), [](const Copy& a, const Copy& b) {
    return a.sequence != b.sequence ? a.sequence < b.sequence : a.age < b.age;
  });
  return copies;
}

}  // namespace

Backups::Backups(std::string folder) : folder_(std::move(folder)) {}

bool Backups::isFirstWrite(std::string_view path) const { return !handled_.contains(path); }

std::optional<std::string> Backups::beforeFirstWrite(std::string_view path,
                                                     platform::FileSystem& files,
                                                     const platform::Clock& clock,
                                                     const std::optional<std::string>& current) {
  if (!handled_.insert(std::string(path)).second) return std::nullopt;
  return keepCopy(path, files, clock, current);
}

std::optional<std::string> Backups::beforeOverwritingChanges(std::string_view path,
                                                             platform::FileSystem& files,
                                                             const platform::Clock& clock) {
  handled_.insert(std::string(path));
  return keepCopy(path, files, clock, std::nullopt);
}

std::optional<std::string> Backups::keepCopy(std::string_view path, platform::FileSystem& files,
                                             const platform::Clock& clock,
                                             std::optional<std::string> current) const {
  if (!current && !files.isFile(path)) return std::nullopt;
  if (folder_.empty()) return std::string(path);
  CopyNaming naming(path);
  std::string time = timeText(clock.now());
  std::vector<Copy> earlier = copiesIn(folder_, naming, files);
  std::uint64_t sequence = earlier.empty() ? 1 : earlier.back().sequence + 1;
  std::string target = platform::path::join(folder_, naming.name(sequence, time));
  std::optional<std::string> bytes = current ? std::move(current) : files.readFile(path);
  if (!bytes || !files.createFolder(folder_)) return target;

  if (!earlier.empty() &&
      holdsBytes(platform::path::join(folder_, earlier.back().name), *bytes, files))
    return std::nullopt;
  for (int count = 2; files.isFile(target); ++count) {
    if (count > maxCopiesPerSecond) return target;
    target =
        platform::path::join(folder_, naming.name(sequence, time + '-' + std::to_string(count)));
  }
  if (!files.replaceFile(target, *bytes)) return target;

  std::size_t othersKept = copiesKept - 1;
  if (earlier.size() > othersKept) {
    for (std::size_t i = 0; i < earlier.size() - othersKept; ++i)
      files.removeFile(platform::path::join(folder_, earlier[i].name));
  }
  return std::nullopt;
}

}  // namespace document
