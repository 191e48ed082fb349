#include "app/file_commands.h"

#include "app/file_messages.h"
#include "table/control_ids.h"
#include "table/fill.h"
#include "table/progress.h"

namespace app {

void FileCommands::loadConfigured(std::string_view filter) {
  table::BusyGuard busy(records_);
  reportLoad(document_.loadConfigured(filter), dialogs_);
}

void FileCommands::open(std::string_view filter) {
  table::BusyGuard busy(records_);
  auto chosen = dialogs_.openFile(addressFileDialog("VCard-File", document_.configuredFile()));
  if (!chosen || chosen->empty() ||
      !acceptFileName(document_.problemWith(*chosen), *chosen, dialogs_)) {
    return;
  }
  reportLoad(document_.open(*chosen, filter), dialogs_);
}

bool FileCommands::save(bool saveAs) {
  std::string target = document_.currentFile();
  if (saveAs || !files_.isFile(target)) {
    auto chosen = dialogs_.saveFile(addressFileDialog("Save VCard-File as...", target));
    if (!chosen || chosen->empty() ||
        !acceptFileName(document_.problemWith(*chosen), *chosen, dialogs_)) {
      return false;
    }
    target = std::move(*chosen);
  }
  screen_.window.setText(table::control::filterEdit, "");
  document::SaveOutcome outcome = document_.save(target);
  // Asked again when another program saves once more while this one writes.
  while (outcome.result == document::SaveResult::changedOnDisk) {
    if (!confirmOverwrite(outcome.path, dialogs_)) {
      document_.keepPreviousFile();
      return false;
    }
    outcome = document_.saveOverChanges();
  }
  reportSave(outcome, dialogs_);
  return outcome.result == document::SaveResult::saved;
}

bool FileCommands::offerToSave() {
  if (!records_.changed) return true;
  platform::Answer answer = askToSaveChanges(document_.currentFile(), dialogs_);
  if (answer == platform::Answer::cancel) return false;
  if (answer == platform::Answer::no) return true;
  return save(false);
}

bool FileCommands::reloadIfChanged(std::string_view filter) {
  document::LoadOutcome outcome = document_.reloadIfChanged(filter);
  if (outcome.result == document::ReadResult::same) return false;
  // Commands wait until the user has read what the reload found.
  table::BusyGuard busy(records_);
  reportLoad(outcome, dialogs_);
  return outcome.result == document::ReadResult::read;
}

void FileCommands::fill(std::string_view filter) {
  table::fillTable(records_, screen_, filter, document_.currentFile());
}

}  // namespace app
