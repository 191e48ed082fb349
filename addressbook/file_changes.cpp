#include "addressbook/file_changes.h"

#include <string>

#include "addressbook/address_file.h"

namespace addressbook {

Overwrite confirmOverwrite(const AddressBook& book, const Environment& env,
                           std::string_view target) {
  if (target != book.onDisk.path || holdsRememberedBytes(book.onDisk, env.files))
    return Overwrite::unchanged;
  std::string text = std::string(target) +
                     "\r\nwurde seit dem Laden von einem anderen Programm ge\xE4ndert."
                     "\r\nTrotzdem speichern ?";
  platform::Answer answer =
      env.dialogs.messageBox(text, "Datei ge\xE4ndert", platform::MessageButtons::yesNo,
                             platform::MessageIcon::exclamation, platform::Answer::no);
  return answer == platform::Answer::yes ? Overwrite::confirmed : Overwrite::refused;
}

bool reloadIfChangedOnDisk(AddressBook& book, const Environment& env,
                           const ShowRecord& showRecord) {
  if (book.busy || book.commandRunning || book.changed || book.onDisk.path.empty() ||
      book.onDisk.path != book.currentFile) {
    return false;
  }
  auto stamp = env.files.stamp(book.currentFile);
  if (stamp == book.onDisk.stamp) return false;
  // Whatever the reload finds, it is not tried again until the file changes
  // once more: a file that is gone or holds no cards is reported only once.
  book.onDisk.stamp = stamp;
  if (!stamp || stamp->kind != platform::EntryKind::file) return false;
  return reloadAddressFile(book, env, showRecord);
}

}  // namespace addressbook
