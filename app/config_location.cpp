#include "app/config_location.h"

#include "platform/path_separator.h"
#include "platform/settings.h"

namespace app {

namespace {

constexpr std::string_view createdValue = "1";
// The pause between writing a candidate and looking for it.
constexpr int settleMilliseconds = 200;

std::string_view folderOf(std::string_view path) {
  auto separator = path.find_last_of(platform::pathSeparators);
  return separator == std::string_view::npos ? std::string_view() : path.substr(0, separator);
}

std::string_view nameOf(std::string_view path) {
  auto separator = path.find_last_of(platform::pathSeparators);
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

// A file counts only when it is an ordinary file that is not hidden.
bool exists(std::string_view path, const platform::FileSystem& files) {
  return !nameOf(path).empty() && !files.isHidden(path) && files.isFile(path);
}

// Writes the marker key and looks whether the file is there after the pause;
// the write's own result is not trusted.
bool create(std::string_view path, const platform::FileSystem& files,
            platform::ProfileFile& profile, platform::Clock& clock) {
  const platform::SettingKey& created = platform::setting::created;
  profile.write(path, created.section, created.key, createdValue);
  clock.sleep(settleMilliseconds);
  return exists(path, files);
}

}  // namespace

std::string locateConfigFile(const ConfigCandidates& candidates, platform::FileSystem& files,
                             platform::ProfileFile& profile, platform::Clock& clock) {
  for (const std::string* candidate :
       {&candidates.temporaryFolderFile, &candidates.programFile, &candidates.rootFile}) {
    if (exists(*candidate, files)) return *candidate;
  }
  std::string_view folder = folderOf(candidates.temporaryFolderFile);
  if (!folder.empty()) files.createFolder(folder);
  if (create(candidates.temporaryFolderFile, files, profile, clock)) {
    return candidates.temporaryFolderFile;
  }
  if (create(candidates.programFile, files, profile, clock)) return candidates.programFile;
  return candidates.rootFile;
}

}  // namespace app
