#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include "addressbook/backups.h"
#include "addressbook/disk_file.h"
#include "addressbook/record_store.h"
#include "addressbook/record_table.h"
#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/settings.h"
#include "platform/window.h"

namespace addressbook {

// The address book in use: its records, the rows the table shows of them,
// and the file they came from.
struct AddressBook {
  RecordStore store;
  RecordTable table{store};
  std::string currentFile;  // Windows-1252 path, at most 299 bytes
  // Applied edits that the file does not have yet.
  bool changed = false;
  // True while a load or a fill runs; commands and the filter step of the
  // timer wait until it is false again.
  bool busy = false;
  // True while a command runs: its message boxes let events through, and the
  // store must not be replaced by a reload under it.
  bool commandRunning = false;
  // The address file as loaded or saved last.
  DiskFile onDisk;
  // Conflict copies of synchronising programs already reported in this run,
  // by path, with the modification time they had then.
  std::map<std::string, std::int64_t, std::less<>> reportedConflictCopies;
};

// The services a load, fill or save works with.
struct Environment {
  platform::Window& window;
  platform::Dialogs& dialogs;
  platform::FileSystem& files;
  platform::Clock& clock;
  platform::Settings& settings;
  Backups& backups;
};

// Shows a table row (1-based) in the edit fields.
using ShowRecord = std::function<void(int row)>;
// Sorts the table's rows by name, A to Z.
using SortByName = std::function<void()>;

}  // namespace addressbook
