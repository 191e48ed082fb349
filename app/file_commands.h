#pragma once

#include <string_view>

#include "document/document.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "table/records.h"
#include "table/screen.h"

namespace app {

// The commands on the address file as a whole (load, open, save, save as,
// the question before changes are thrown away, the reload of another
// program's change): they ask the user through the dialogs, let the
// document do the work and tell the user what went wrong.
class FileCommands {
 public:
  FileCommands(document::Document& document, table::Records& records, const table::Screen& screen,
               platform::Dialogs& dialogs, platform::FileSystem& files)
      : document_(document), records_(records), screen_(screen), dialogs_(dialogs), files_(files) {}

  // Loads the file the configuration names (see Document::configuredFile),
  // shown through filter.
  void loadConfigured(std::string_view filter);
  // Loads the file the user picks in the open dialog, shown through filter.
  // Commands wait while the dialog is open.
  void open(std::string_view filter);
  // Saves the records to the file in use (with saveAs, or when that file
  // does not exist, to the file the user picks in the save dialog): the
  // search field is emptied first, and another program's change is written
  // over only when the user agrees. Returns whether the file now holds the
  // records.
  bool save(bool saveAs);
  // Before changes would be thrown away: asks whether to save them (Yes,
  // No, Cancel). Returns whether the caller may go on: nothing unsaved, No,
  // or Yes and the save succeeded.
  bool offerToSave();
  // Reloads the file in use when another program changed it and nothing is
  // unsaved (see Document::reloadIfChanged); returns whether the table was
  // refilled.
  bool reloadIfChanged(std::string_view filter);
  // Refills the table from the records through filter.
  void fill(std::string_view filter);

 private:
  document::Document& document_;
  table::Records& records_;
  table::Screen screen_;
  platform::Dialogs& dialogs_;
  platform::FileSystem& files_;
};

}  // namespace app
