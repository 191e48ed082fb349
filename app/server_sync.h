#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/server_account.h"
#include "document/document.h"
#include "platform/dialogs.h"
#include "platform/http.h"
#include "table/records.h"
#include "table/screen.h"

namespace app {

// The synchronisation of the address file in use with the CardDAV address
// book of the configuration, as the window runs it: without being asked
// after the start's load, after each save and now and then, on request
// with the settings dialog's button. It shows what it is doing (in the
// progress bar, as a load does) and how the last run went in the status bar, asks before it deletes
// many cards, and tells a failure in a message box only when the user asked for the run. No server
// configured: it does nothing at all.
class ServerSync {
 public:
  // How long the window waits between runs it starts by itself.
  static constexpr std::uint32_t interval = 5 * 60 * 1000;
  static constexpr std::uint32_t activationInterval = 60 * 1000;
  // The status bar part it writes to.
  static constexpr int statusPart = 5;

  ServerSync(document::Document& document, table::Records& records, const table::Screen& screen,
             platform::Dialogs& dialogs, ServerAccount& account, platform::Http& http)
      : document_(document),
        records_(records),
        screen_(screen),
        dialogs_(dialogs),
        account_(account),
        http_(http) {}

  // Runs now: asked always, otherwise only while no record has unsaved
  // changes (the reload of what the server changed would wait for a save).
  // What it changed in the file is for the caller to reload; returns
  // whether it ran.
  bool run(bool asked);
  // Runs when the last run is at least interval ago (or minimum, when the
  // window became active again).
  bool runWhenDue(std::uint32_t minimum = interval);

 private:
  [[nodiscard]] std::string failureText(const document::FileSyncOutcome& outcome) const;

  document::Document& document_;
  table::Records& records_;
  table::Screen screen_;
  platform::Dialogs& dialogs_;
  ServerAccount& account_;
  platform::Http& http_;
  std::optional<std::uint32_t> lastRun_;
  bool running_ = false;
};

}  // namespace app
