#include "app/program.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window_definition.h"
#include "app/port_settings_dialog.h"
#include "app/setting_keys.h"
#include "app/tooltips.h"
#include "outputs/dialing.h"
#include "outputs/entry_list.h"
#include "outputs/mail.h"
#include "outputs/port_settings.h"
#include "table/columns.h"
#include "table/control_ids.h"
#include "table/editing.h"
#include "table/progress.h"
#include "table/record_display.h"

namespace app {

using platform::ControlId;
namespace control = table::control;

namespace {
constexpr std::array sortModes{table::SortMode::textAscending, table::SortMode::textDescending,
                               table::SortMode::dateAscending};
}  // namespace

const std::array<Program::Command, 17> Program::commands_{{
    {control::applyButton, &Program::apply},
    {control::deleteButton, &Program::deleteSelected},
    {control::newButton, &Program::addNew},
    {control::duplicateButton, &Program::duplicate},
    {control::openButton, &Program::openFile},
    {control::saveButton, &Program::save},
    {control::saveAsButton, &Program::saveAs},
    {control::listButton, &Program::writeList},
    {control::settingsButton, &Program::portSettings},
    {control::mailButton, &Program::mail},
    {control::dialWorkButton, &Program::telephone},
    {control::dialHomeButton, &Program::telephone},
    {control::dialMobileButton, &Program::telephone},
    {control::hangUpWorkButton, &Program::telephone},
    {control::hangUpHomeButton, &Program::telephone},
    {control::hangUpMobileButton, &Program::telephone},
    {control::resetFilterButton, &Program::resetFilter},
}};

Program::Program(Services services, ConfigCandidates candidates, std::string backupFolder,
                 std::optional<std::string> serverPassword)
    : services_(services),
      screen_{services.window, services.recordView, services.statusBar, services.clock},
      candidates_(std::move(candidates)),
      backupFolder_(std::move(backupFolder)),
      serverPassword_(std::move(serverPassword)),
      phone_(services.serial) {}

FileCommands Program::fileCommands() {
  return {*document_, records_, screen_, services_.dialogs, services_.files};
}

platform::Setting Program::telephonePort() { return {*settings_, setting::telephonePort}; }

void Program::start() {
  platform::Window& window = services_.window;
  window.show();
  settings_.emplace(services_.profile, locateConfigFile(candidates_, services_.files,
                                                        services_.profile, services_.clock));
  window.startTimer(mainWindowDefinition().timerMilliseconds);
  services_.recordView.setContent(records_.table);
  table::setupTableColumns(services_.recordView);
  document_.emplace(records_, screen_, services_.files,
                    platform::Setting{*settings_, setting::addressFile}, backupFolder_);
  fileCommands().loadConfigured(filterText(window));
  serverAccount_.emplace(*settings_, services_.keyring, services_.dialogs, serverPassword_);
  serverSync_.emplace(*document_, records_, screen_, services_.dialogs, *serverAccount_,
                      services_.http);
  synchronise(false);
  attachMainTooltips(window);
  outputs::setPhoneButtonsVisible(window, false);
  platform::Setting port = telephonePort();
  outputs::connectPhone(port.read(), phone_, window, services_.dialogs, port, services_.clock);
  window.setEventHandler(this);
}

void Program::timerExpired() {
  FileCommands files = fileCommands();
  timerTick(tick_, records_, screen_, files, !commandRunning_);
  if (!commandRunning_ && !records_.busy && serverSync_->runWhenDue()) {
    files.reloadIfChanged(filterText(services_.window));
  }
  runHeldBackCommands();
}

void Program::synchronise(bool asked) {
  if (serverSync_->run(asked)) fileCommands().reloadIfChanged(filterText(services_.window));
}

void Program::controlClicked(ControlId id) {
  if (records_.busy) {
    // Runs once the load or fill has finished; a second click on the same
    // button meanwhile adds nothing.
    if (std::find(heldBack_.begin(), heldBack_.end(), id) == heldBack_.end())
      heldBack_.push_back(id);
    return;
  }
  // The edit fields must belong to the selected row before a command reads
  // them: a row clicked since the last tick would otherwise get the values
  // of the record shown before.
  table::followSelection(records_, screen_);
  run(id);
  runHeldBackCommands();
}

void Program::run(ControlId id) {
  for (const Command& entry : commands_) {
    if (entry.id == id) {
      // The command's message boxes let events through; a reload must not
      // replace the records under it.
      bool outer = std::exchange(commandRunning_, true);
      (this->*entry.operation)(id);
      commandRunning_ = outer;
      return;
    }
  }
}

void Program::runHeldBackCommands() {
  while (!records_.busy && !heldBack_.empty()) {
    ControlId id = heldBack_.front();
    heldBack_.pop_front();
    table::followSelection(records_, screen_);
    run(id);
  }
}

void Program::columnClicked(int column) {
  table::sortTable(records_.table, services_.recordView, column,
                   sortModes[static_cast<std::size_t>(sortCycle_)]);
  sortCycle_ = (sortCycle_ + 1) % static_cast<int>(sortModes.size());
}

void Program::activationChanged(bool active) {
  if (!active) {
    savedFocus_ = services_.window.focusedControl();
    return;
  }
  if (savedFocus_ != ControlId::none) {
    services_.window.setFocus(savedFocus_);
    savedFocus_ = ControlId::none;
  }
  if (commandRunning_) return;
  // Back at the window, the user may look for a change made on the phone.
  serverSync_->runWhenDue(ServerSync::activationInterval);
  fileCommands().reloadIfChanged(filterText(services_.window));
}

bool Program::closeRequested() {
  // A load or fill in progress holds the window open until it has finished.
  if (records_.busy) return false;
  return fileCommands().offerToSave();
}

void Program::openFile(ControlId) {
  FileCommands files = fileCommands();
  if (!files.offerToSave()) return;
  files.open(filterText(services_.window));
}

void Program::save(ControlId) {
  if (fileCommands().save(false)) synchronise(false);
}

void Program::saveAs(ControlId) {
  if (fileCommands().save(true)) synchronise(false);
}

void Program::apply(ControlId) { table::applyEdits(records_, screen_, services_.dialogs); }

void Program::deleteSelected(ControlId) {
  // The address book is saved at once, so that a deleted record is gone
  // from the file too.
  if (table::deleteRecord(records_, screen_, services_.dialogs) && fileCommands().save(false)) {
    synchronise(false);
  }
}

void Program::addNew(ControlId) { table::newRecord(records_, screen_, services_.dialogs, false); }

void Program::duplicate(ControlId) { table::newRecord(records_, screen_, services_.dialogs, true); }

void Program::writeList(ControlId) {
  table::BusyGuard busy(records_);
  outputs::writeEntryList(screen_, records_.table, services_.files, services_.shell);
  // The list named its own file while it was written; the file in use again.
  table::showFileName(screen_, document_->currentFile());
}

void Program::portSettings(ControlId) {
  platform::Setting port = telephonePort();
  std::string storedPort = port.read();
  std::vector<platform::DialogField> fields = serverAccount_->fields();
  fields.insert(fields.begin(), {control::portEdit, storedPort});
  std::optional<platform::DialogResult> result;
  while ((result = services_.dialogs.askForTexts(portSettingsDialog(), fields)) &&
         !ServerAccount::isUsableAddress(platform::textOf(result->fields, control::serverEdit))) {
    services_.dialogs.messageBox("Die Adresse des Servers muss mit https:// oder http:// beginnen.",
                                 "Einstellungen", platform::MessageButtons::ok,
                                 platform::MessageIcon::exclamation);
    fields = std::move(result->fields);
  }
  if (!result) return;
  std::string_view enteredPort = platform::textOf(result->fields, control::portEdit);
  bool syncNow = result->button == control::syncNowButton;
  // OK tries the port again; the other button only a changed one.
  if (!syncNow || enteredPort != storedPort) {
    outputs::applyPortSettings(enteredPort, phone_, services_.window, services_.dialogs, port,
                               services_.clock);
  }
  // A changed account is tried at once, so that a wrong address or password
  // shows while the user still has them in mind.
  bool changed = serverAccount_->change(result->fields);
  if (syncNow || (changed && serverAccount_->configured())) synchronise(true);
}

void Program::mail(ControlId) { outputs::composeMail(services_.window, services_.shell); }

void Program::telephone(ControlId id) {
  outputs::phoneCommand(id, phone_, services_.window, services_.dialogs);
}

void Program::resetFilter(ControlId) { services_.window.setText(control::filterEdit, ""); }

}  // namespace app
