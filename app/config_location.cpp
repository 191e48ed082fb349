#include "app/config_location.h"

#include "app/setting_keys.h"
#include "platform/path.h"

namespace app {

namespace {

constexpr std::string_view createdValue = "1";
// The pause between writing a candidate and looking for it.
constexpr int settleMilliseconds = 200;

// A file counts only when it is an ordinary file that is not hidden.
bool exists(std::string_view path, const platform::FileSystem& files) {
  return !platform::path::nameOf(path).empty() && !files.isHidden(path) && files.isFile(path);
}

// Writes the marker key and looks whether the file is there after the pause;
// the write's own result is not trusted.
bool create(std::string_view path, const platform::FileSystem& files,
            platform::ProfileFile& profile, platform::Clock& clock) {
  const platform::SettingKey& created = setting::created;
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
  // The folder without its final separator; none for a bare name or a file
  // in the root.
  std::string_view folder = platform::path::folderOf(candidates.temporaryFolderFile);
  if (folder.size() > 1) files.createFolder(folder.substr(0, folder.size() - 1));
  if (create(candidates.temporaryFolderFile, files, profile, clock)) {
    return candidates.temporaryFolderFile;
  }
  if (create(candidates.programFile, files, profile, clock)) return candidates.programFile;
  return candidates.rootFile;
}

}  // namespace app
