#include "addressbook/saving.h"

#include <string>

#include "addressbook/address_file.h"
#include "addressbook/vcard_writer.h"

namespace addressbook {

bool saveAddressFile(AddressBook& book, const Environment& env, bool saveAs,
                     const ShowRecord& showRecord, const SortByName& sortByName) {
  std::string previous = book.currentFile;
  if (saveAs || !env.files.isFile(book.currentFile)) {
    auto chosen =
        env.dialogs.saveFile(addressFileDialog("Save VCard-File as...", book.currentFile));
    if (!chosen || chosen->empty()) return false;
    book.currentFile = cutPath(*chosen);
  }
  env.settings.write(platform::setting::addressFile, book.currentFile);
  env.window.setText(platform::ControlId::filterEdit, "");
  fillTable(book, env, showRecord);
  if (sortByName) sortByName();

  env.backups.beforeFirstWrite(book.currentFile, env.files, env.clock, env.dialogs);
  if (!env.files.replaceFile(book.currentFile, addressFileText(book.store))) {
    env.dialogs.messageBox(book.currentFile, "Speichern fehlgeschlagen !");
    if (book.currentFile != previous) {
      book.currentFile = previous;
      if (!previous.empty()) env.settings.write(platform::setting::addressFile, previous);
    }
    return false;
  }
  book.changed = false;
  return true;
}

bool offerToSaveChanges(AddressBook& book, const Environment& env, const ShowRecord& showRecord,
                        const SortByName& sortByName) {
  if (!book.changed) return true;
  platform::Answer answer = env.dialogs.messageBox(book.currentFile, "\xC4nderungen speichern ?",
                                                   platform::MessageButtons::yesNoCancel,
                                                   platform::MessageIcon::exclamation);
  if (answer == platform::Answer::cancel) return false;
  if (answer == platform::Answer::no) return true;
  return saveAddressFile(book, env, false, showRecord, sortByName);
}

}  // namespace addressbook
