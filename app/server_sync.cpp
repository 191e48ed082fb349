#include "app/server_sync.h"

#include <cstdio>
#include <utility>

#include "table/progress.h"

namespace app {

namespace {

std::string timeOfDay(const platform::LocalTime& time) {
  char text[8];
  std::snprintf(text, sizeof text, "%02d:%02d", time.hour % 100, time.minute % 100);
  return text;
}

}  // namespace

std::string ServerSync::failureText(const document::FileSyncOutcome& outcome) const {
  using document::FileSyncResult;
  switch (outcome.result) {
    case FileSyncResult::unreadable:
      return "Die Adressdatei ist nicht lesbar.";
    case FileSyncResult::fileChanged:
      return "Die Adressdatei wurde w\xE4hrend des Abgleichs ge\xE4ndert.";
    case FileSyncResult::writeFailed:
      return "Die Adressdatei oder der Stand des Abgleichs ist nicht schreibbar.";
    default:
      break;
  }
  switch (outcome.sync.failure) {
    case carddav::SyncFailure::unreachable:
      return "Der Server ist nicht erreichbar.";
    case carddav::SyncFailure::timedOut:
      return "Der Server antwortet nicht.";
    case carddav::SyncFailure::certificate:
      return "Das Zertifikat des Servers ist nicht vertrauensw\xFCrdig.";
    case carddav::SyncFailure::tooLarge:
      return "Eine Antwort des Servers ist zu gro\xDF.";
    case carddav::SyncFailure::broken:
      return "Die Verbindung zum Server ist abgebrochen.";
    case carddav::SyncFailure::unauthorised:
      return "Benutzer oder Kennwort falsch.";
    case carddav::SyncFailure::noAddressBook:
      return "Unter dieser Adresse ist kein Adressbuch.";
    case carddav::SyncFailure::serverError:
      return "Der Server meldet einen Fehler (" + std::to_string(outcome.sync.status) + ").";
    case carddav::SyncFailure::badAnswer:
      return "Eine Antwort des Servers ist unlesbar.";
    case carddav::SyncFailure::none:
      break;
  }
  return "Der Abgleich ist fehlgeschlagen.";
}

bool ServerSync::run(bool asked) {
  if (running_ || records_.busy || (!asked && records_.changed)) return false;
  // Also without a server: the configuration is read once an interval.
  lastRun_ = screen_.clock.tickCount();
  if (!account_.configured()) {
    if (asked) {
      dialogs_.messageBox("F\xFCr den Abgleich ist kein Server eingetragen.", "Abgleich",
                          platform::MessageButtons::ok, platform::MessageIcon::exclamation);
    }
    return false;
  }
  // Commands wait meanwhile, as during a load.
  table::BusyGuard busy(records_);
  running_ = true;
  std::optional<carddav::Account> account = account_.forRun(asked);
  if (!account) {
    running_ = false;
    screen_.statusBar.setText(statusPart, "Abgleich nicht ausgef\xFChrt");
    return false;
  }
  screen_.statusBar.setText(statusPart, "Abgleich mit dem Server ...");
  table::ProgressDisplay progress(screen_, document_.currentFile());
  auto showProgress = [&](std::size_t done, std::size_t total) {
    progress.update(done, total, done == total);
  };
  document::FileSyncOutcome outcome = document_.synchronise(http_, *account, false, showProgress);
  if (outcome.result == document::FileSyncResult::wouldDelete) {
    std::string question = "Abgleich w\xFCrde " + std::to_string(outcome.sync.deletions) +
                           " Eintr\xE4ge l\xF6schen.\r\n\r\nTrotzdem abgleichen?";
    platform::Answer answer = dialogs_.messageBox(
        question, "Abgleich", platform::MessageButtons::yesNo, platform::MessageIcon::exclamation);
    if (answer == platform::Answer::yes) {
      outcome = document_.synchronise(http_, *account, true, showProgress);
    }
  }
  running_ = false;
  if (outcome.result == document::FileSyncResult::synchronised) {
    screen_.statusBar.setText(statusPart, "Abgeglichen um " + timeOfDay(screen_.clock.now()));
    return true;
  }
  if (outcome.result == document::FileSyncResult::wouldDelete) {
    screen_.statusBar.setText(statusPart, "Abgleich nicht ausgef\xFChrt");
    return true;
  }
  if (outcome.sync.failure == carddav::SyncFailure::unauthorised) account_.refused();
  std::string text = failureText(outcome);
  screen_.statusBar.setText(statusPart, "Abgleich " + timeOfDay(screen_.clock.now()) + ": " + text);
  if (asked) {
    dialogs_.messageBox(text, "Abgleich", platform::MessageButtons::ok,
                        platform::MessageIcon::exclamation);
  }
  return true;
}

bool ServerSync::runWhenDue(std::uint32_t minimum) {
  if (lastRun_ && screen_.clock.tickCount() - *lastRun_ < minimum) return false;
  return run(false);
}

}  // namespace app
