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

// What the names of one address file's copies have before and after their
// time: "myadr_1a2b3c4d_" and ".vcf".
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

  [[nodiscard]] std::string name(std::string_view time) const {
    return prefix + std::string(time) + suffix;
  }

  // Whether a name in the folder is one of these copies: the prefix, a
  // time, perhaps a same-second count, and the suffix.
  [[nodiscard]] bool matches(std::string_view name) const {
    if (!name.starts_with(prefix) || !name.ends_with(suffix)) return false;
    name.remove_prefix(prefix.size());
    name.remove_suffix(suffix.size());
    if (name.size() < timeLength) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
      bool separator = i == 4 || i == 7 || i == 10 || i == timeLength;
      char expected = i == 10 ? '_' : '-';
      if (separator ? name[i] != expected : (name[i] < '0' || name[i] > '9')) return false;
    }
    return name.size() != timeLength + 1;
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

// The names of the file's copies in the folder, oldest first.
std::vector<std::string> copiesIn(const std::string& folder, const CopyNaming& naming,
                                  const platform::FileSystem& files) {
  std::vector<std::string> names;
  auto entries = files.listFolder(folder);
  if (!entries) return names;
  for (const platform::FolderEntry& entry : *entries) {
    if (entry.kind == platform::EntryKind::file && naming.matches(entry.name))
      names.push_back(entry.name);
  }
  // Between prefix and suffix the time leads, so that part sorts by age; a
  // same-second count ("-2") sorts after the name without one.
  auto age = [&](const std::string& name) {
    return std::string_view(name).substr(naming.prefix.size(),
                                         name.size() - naming.prefix.size() - naming.suffix.size());
  };
  std::sort(names.begin(), names.end(),
            [&](const std::string& a, const std::string& b) { return age(a) < age(b); });
  return names;
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
  std::string target = platform::path::join(folder_, naming.name(time));
  std::optional<std::string> bytes = current ? std::move(current) : files.readFile(path);
  if (!bytes || !files.createFolder(folder_)) return target;

  std::vector<std::string> earlier = copiesIn(folder_, naming, files);
  if (!earlier.empty() && holdsBytes(platform::path::join(folder_, earlier.back()), *bytes, files))
    return std::nullopt;
  for (int count = 2; files.isFile(target); ++count) {
    if (count > maxCopiesPerSecond) return target;
    target = platform::path::join(folder_, naming.name(time + '-' + std::to_string(count)));
  }
  if (!files.replaceFile(target, *bytes)) return target;

  // The copy just made stays even if a clock set back makes it look older
  // than the others.
  std::size_t othersKept = copiesKept - 1;
  if (earlier.size() > othersKept) {
    for (std::size_t i = 0; i < earlier.size() - othersKept; ++i)
      files.removeFile(platform::path::join(folder_, earlier[i]));
  }
  return std::nullopt;
}

}  // namespace document
