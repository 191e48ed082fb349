#include "addressbook/saving.h"

#include <string>

#include "addressbook/address_file.h"
#include "addressbook/file_changes.h"
#include "addressbook/file_name_check.h"
#include "addressbook/vcard_writer.h"

namespace addressbook {

bool saveAddressFile(AddressBook& book, const Environment& env, bool saveAs,
                     const ShowRecord& showRecord, const SortByName& sortByName) {
  std::string previous = book.currentFile;
  if (saveAs || !env.files.isFile(book.currentFile)) {
    auto chosen =
        env.dialogs.saveFile(addressFileDialog("Save VCard-File as...", book.currentFile));
    if (!chosen || chosen->empty() || !isStorableFileName(*chosen, env.dialogs)) return false;
    book.currentFile = cutPath(*chosen);
  }
  env.settings.write(platform::setting::addressFile, book.currentFile);
  env.window.setText(platform::ControlId::filterEdit, "");
  fillTable(book, env, showRecord);
  if (sortByName) sortByName();

  auto keepPrevious = [&] {
    if (book.currentFile != previous) {
      book.currentFile = previous;
      if (!previous.empty()) env.settings.write(platform::setting::addressFile, previous);
    }
  };
  Overwrite overwrite = confirmOverwrite(book, env, book.currentFile);
  if (overwrite == Overwrite::refused) {
    keepPrevious();
    return false;
  }
  // Without any record the file still gets the empty card of a new file: a
  // file without cards could not be loaded again, and the store read from
  // it would have no room for a new record.
  std::string text = addressFileText(book.store);
  if (text.empty()) text = emptyAddressFileText;
  if (overwrite == Overwrite::confirmed) {
    env.backups.beforeOverwritingChanges(book.currentFile, env.files, env.clock, env.dialogs);
  } else {
    env.backups.beforeFirstWrite(book.currentFile, env.files, env.clock, env.dialogs);
  }
  if (!env.files.replaceFile(book.currentFile, text)) {
    env.dialogs.messageBox(book.currentFile, "Speichern fehlgeschlagen !");
    keepPrevious();
    return false;
  }
  book.onDisk = diskFileOf(book.currentFile, env.files.stamp(book.currentFile), text);
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
