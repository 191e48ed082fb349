#include "app/program.h"

#include <algorithm>
#include <utility>

#include "addressbook/address_file.h"
#include "addressbook/field_table.h"
#include "addressbook/file_changes.h"
#include "addressbook/long_pass.h"
#include "addressbook/saving.h"
#include "app/tooltips.h"
#include "outputs/dialing.h"
#include "outputs/entry_list.h"
#include "outputs/mail.h"
#include "outputs/port_settings.h"
#include "table/columns.h"
#include "table/editing.h"
#include "table/record_display.h"

namespace app {

using platform::ControlId;

namespace {
constexpr int timerMilliseconds = 100;
constexpr std::array sortModes{SortMode::textAscending, SortMode::textDescending,
                               SortMode::dateAscending};
}  // namespace

const std::array<Program::Command, 17> Program::commands_{{
    {ControlId::applyButton, &Program::apply},
    {ControlId::deleteButton, &Program::deleteSelected},
    {ControlId::newButton, &Program::addNew},
    {ControlId::duplicateButton, &Program::duplicate},
    {ControlId::openButton, &Program::openFile},
    {ControlId::saveButton, &Program::save},
    {ControlId::saveAsButton, &Program::saveAs},
    {ControlId::listButton, &Program::writeList},
    {ControlId::settingsButton, &Program::portSettings},
    {ControlId::mailButton, &Program::mail},
    {ControlId::dialWorkButton, &Program::telephone},
    {ControlId::dialHomeButton, &Program::telephone},
    {ControlId::dialMobileButton, &Program::telephone},
    {ControlId::hangUpWorkButton, &Program::telephone},
    {ControlId::hangUpHomeButton, &Program::telephone},
    {ControlId::hangUpMobileButton, &Program::telephone},
    {ControlId::resetFilterButton, &Program::resetFilter},
}};

Program::Program(Services services, ConfigCandidates candidates, std::string backupFolder)
    : services_(services),
      candidates_(std::move(candidates)),
      backups_(std::move(backupFolder)),
      phone_(services.serial) {}

addressbook::Environment Program::environment() {
  return {services_.window, services_.dialogs, services_.files,
          services_.clock,  *settings_,        backups_};
}

addressbook::ShowRecord Program::showRecordFn() {
  return [this](int row) { showRecord(row); };
}

addressbook::SortByName Program::sortByNameFn() {
  return [this] { sortByName(); };
}

void Program::showRecord(int row) {
  table::showRecord(services_.window, book_.table, services_.clock, row);
  tick_.lastShownSlot = book_.table.slotOfRow(row);
}

void Program::sortByName() {
  sortTable(book_.table, services_.window, addressbook::field::name, SortMode::textAscending);
}

void Program::start() {
  platform::Window& window = services_.window;
  window.show();
  settings_.emplace(services_.profile, locateConfigFile(candidates_, services_.files,
                                                        services_.profile, services_.clock));
  window.startTimer(timerMilliseconds);
  window.setTableContent(book_.table);
  table::setupTableColumns(window);
  addressbook::loadAddressFile(book_, environment(), false, showRecordFn());
  attachMainTooltips(window);
  outputs::setPhoneButtonsVisible(window, false);
  outputs::connectPhone(settings_->read(platform::setting::telephonePort), phone_, window,
                        services_.dialogs, *settings_, services_.clock);
  window.setEventHandler(this);
}

void Program::timerExpired() {
  table::timerTick(tick_, book_, environment(), showRecordFn());
  runHeldBackCommands();
}

void Program::command(ControlId id, int notification) {
  if (notification != 0 && notification != 1) return;
  if (book_.busy) {
    // Runs once the load or fill has finished; a second click on the same
    // button meanwhile adds nothing.
    if (std::find(heldBack_.begin(), heldBack_.end(), id) == heldBack_.end())
      heldBack_.push_back(id);
    return;
  }
  // The edit fields must belong to the selected row before a command reads
  // them: a row clicked since the last tick would otherwise get the values
  // of the record shown before.
  table::followSelection(tick_, book_, environment(), showRecordFn());
  run(id);
  runHeldBackCommands();
}

void Program::run(ControlId id) {
  for (const Command& entry : commands_) {
    if (entry.id == id) {
      // The command's message boxes let events through; a reload must not
      // replace the store under it.
      bool outer = std::exchange(book_.commandRunning, true);
      (this->*entry.operation)(id);
      book_.commandRunning = outer;
      return;
    }
  }
}

void Program::runHeldBackCommands() {
  while (!book_.busy && !heldBack_.empty()) {
    ControlId id = heldBack_.front();
    heldBack_.pop_front();
    table::followSelection(tick_, book_, environment(), showRecordFn());
    run(id);
  }
}

void Program::columnClicked(int column) {
  sortTable(book_.table, services_.window, column, sortModes[static_cast<std::size_t>(sortCycle_)]);
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
  addressbook::reloadIfChangedOnDisk(book_, environment(), showRecordFn());
}

bool Program::closeRequested() {
  // A load or fill in progress holds the window open until it has finished.
  if (book_.busy) return false;
  return addressbook::offerToSaveChanges(book_, environment(), showRecordFn(), sortByNameFn());
}

void Program::openFile(ControlId) {
  if (!addressbook::offerToSaveChanges(book_, environment(), showRecordFn(), sortByNameFn()))
    return;
  addressbook::loadAddressFile(book_, environment(), true, showRecordFn());
}

void Program::save(ControlId) {
  addressbook::saveAddressFile(book_, environment(), false, showRecordFn(), sortByNameFn());
}

void Program::saveAs(ControlId) {
  addressbook::saveAddressFile(book_, environment(), true, showRecordFn(), sortByNameFn());
}

void Program::apply(ControlId) { table::applyEdits(book_, environment()); }

void Program::deleteSelected(ControlId) {
  table::deleteRecord(book_, environment(), showRecordFn(), sortByNameFn());
}

void Program::addNew(ControlId) { table::newRecord(book_, environment(), false, showRecordFn()); }

void Program::duplicate(ControlId) { table::newRecord(book_, environment(), true, showRecordFn()); }

void Program::writeList(ControlId) {
  addressbook::BusyGuard busy(book_);
  outputs::writeEntryList(services_.window, book_.table, services_.clock, services_.files,
                          services_.shell);
}

void Program::portSettings(ControlId) {
  outputs::openPortSettings(phone_, services_.window, services_.dialogs, *settings_,
                            services_.clock);
}

void Program::mail(ControlId) { outputs::composeMail(services_.window, services_.shell); }

void Program::telephone(ControlId id) {
  outputs::phoneCommand(id, phone_, services_.window, services_.dialogs);
}

void Program::resetFilter(ControlId) { services_.window.setText(ControlId::filterEdit, ""); }

}  // namespace app
