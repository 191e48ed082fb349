#include "addressbook/conflict_copies.h"

#include <algorithm>
#include <string>
#include <vector>

namespace addressbook {

namespace {

// Both separators: paths of Windows use the backslash.
constexpr std::string_view pathSeparators = "/\\";

}  // namespace

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

void reportConflictCopies(AddressBook& book, const Environment& env) {
  const std::string& file = book.currentFile;
  std::size_t separator = file.find_last_of(pathSeparators);
  std::string folder =
      separator == std::string::npos ? std::string() : file.substr(0, separator + 1);
  std::string_view fileName = std::string_view(file).substr(folder.size());
  std::string listed = folder.empty() ? "." : folder.substr(0, std::max<std::size_t>(separator, 1));
  auto entries = env.files.listFolder(listed);
  if (!entries) return;

  std::vector<std::string> copies;
  for (const platform::FolderEntry& entry : *entries) {
    if (entry.kind != platform::EntryKind::file || !isConflictCopy(entry.name, fileName)) continue;
    std::string path = folder + entry.name;
    auto reported = book.reportedConflictCopies.find(path);
    if (reported != book.reportedConflictCopies.end() && reported->second == entry.modifiedNs)
      continue;
    book.reportedConflictCopies[path] = entry.modifiedNs;
    copies.push_back(std::move(path));
  }
  if (copies.empty()) return;
  std::sort(copies.begin(), copies.end());
  std::string text = "\xC4nderungen eines anderen Ger\xE4ts stehen in:";
  for (const std::string& copy : copies) text += "\r\n" + copy;
  text +=
      "\r\nZum Ansehen mit dem \xD6"
      "ffnen-Knopf laden.";
  env.dialogs.messageBox(text, "Konfliktkopie", platform::MessageButtons::ok,
                         platform::MessageIcon::exclamation);
}

}  // namespace addressbook
