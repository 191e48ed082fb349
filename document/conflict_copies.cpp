#include "document/conflict_copies.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/path.h"

namespace document {

bool isConflictCopy(std::string_view name, std::string_view fileName) {
  std::size_t dot = fileName.rfind('.');
  if (dot == 0 || dot == std::string_view::npos) dot = fileName.size();
  std::string_view stem = fileName.substr(0, dot);
  std::string_view extension = fileName.substr(dot);
  if (name.size() <= fileName.size() || !name.starts_with(stem) || !name.ends_with(extension))
    return false;
  std::string_view middle = name.substr(stem.size(), name.size() - fileName.size());
  constexpr std::string_view syncthing = ".sync-conflict-";
  if (middle.starts_with(syncthing)) return middle.size() > syncthing.size();
  return middle.starts_with(" (") && middle.ends_with(")") &&
         middle.find("conflicted copy") != std::string_view::npos;
}

std::vector<std::string> ConflictCopies::newBeside(std::string_view file,
                                                   const platform::FileSystem& files) {
  std::string_view folder = platform::path::folderOf(file);
  std::string_view fileName = platform::path::nameOf(file);
  std::vector<std::string> copies;
  auto entries = files.listFolder(platform::path::folderNamed(file));
  if (!entries) return copies;
  for (const platform::FolderEntry& entry : *entries) {
    if (entry.kind != platform::EntryKind::file || !isConflictCopy(entry.name, fileName)) continue;
    std::string path = std::string(folder) + entry.name;
    auto named = named_.find(path);
    if (named != named_.end() && named->second == entry.modifiedNs) continue;
    named_[path] = entry.modifiedNs;
    copies.push_back(std::move(path));
  }
  std::sort(copies.begin(), copies.end());
  return copies;
}

}  // namespace document
