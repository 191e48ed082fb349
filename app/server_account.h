#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "carddav/synchronisation.h"
#include "platform/dialogs.h"
#include "platform/keyring.h"
#include "platform/settings.h"

namespace app {

// The CardDAV account of the configuration (the address and the user in
// section "CardDAV") and its password, which lives in the desktop's keyring
// and never in a file: for scripts the environment may give it instead.
// Where neither holds one, the first synchronisation of a run asks for it
// and it is kept for the run (and in the keyring, when there is one).
class ServerAccount {
 public:
  // fromEnvironment: UTF-8, stands in for the keyring.
  ServerAccount(platform::Settings& settings, platform::Keyring& keyring,
                platform::Dialogs& dialogs, std::optional<std::string> fromEnvironment);

  // Whether a server is configured.
  [[nodiscard]] bool configured() const;
  // The account for a synchronisation: nothing when no server is configured
  // or the user would not give the password. A question the user closed is
  // not repeated by the runs the program starts by itself, only by asked ones.
  [[nodiscard]] std::optional<carddav::Account> forRun(bool asked);
  // The server refused the password: the next run asked for asks again
  // rather than trying it once more.
  void refused();

  // The settings dialog's fields: the address, the user and the password
  // (Windows-1252).
  [[nodiscard]] std::vector<platform::DialogField> fields();
  // Whether the address of the fields is one the program can use: empty
  // (no server), or http:// or https:// and no longer than the
  // configuration keeps.
  [[nodiscard]] static bool isUsableAddress(std::string_view address);
  // Takes over what the settings dialog was closed with (a usable address);
  // returns whether the account changed.
  bool change(std::span<const platform::DialogField> fields);

 private:
  [[nodiscard]] std::string url() const;
  [[nodiscard]] std::string user() const;  // UTF-8
  // The password known without asking: the environment's, the one of this
  // run, the keyring's.
  [[nodiscard]] std::optional<std::string> knownPassword();

  platform::Settings& settings_;
  platform::Keyring& keyring_;
  platform::Dialogs& dialogs_;
  std::optional<std::string> fromEnvironment_;
  // The password of this run, UTF-8, and the account it belongs to.
  std::optional<std::string> password_;
  std::string passwordFor_;
  // What the settings dialog showed in its password field.
  std::string shownPassword_;
  // The user closed the question for the password.
  bool declined_ = false;
  // The server refused the keyring's password: ask instead.
  bool keyringRefused_ = false;
};

}  // namespace app
