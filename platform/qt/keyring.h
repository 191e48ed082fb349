#pragma once

#include <chrono>

#include "platform/keyring.h"

namespace platform::qt {

// Passwords through QtKeychain (the Secret Service of GNOME and most
// desktops, or KWallet), under the service "Morvi-Telefonbuch", for a
// thread with a QCoreApplication (or QApplication); makeMachineKeyring makes
// one where there is none. Never in a file: QtKeychain's plain-text
// fallback stays off.
//
// Each call waits in a local event loop, so the window's events go on, for
// longestWait at most: a desktop whose keyring does not answer (a session
// bus that starts a keyring service which never gets ready) counts as one
// without a keyring instead of holding the program.
class Keyring : public platform::Keyring {
 public:
  static constexpr std::chrono::seconds longestWait{5};

  [[nodiscard]] std::optional<std::string> password(std::string_view url,
                                                    std::string_view user) override;
  bool keep(std::string_view url, std::string_view user, std::string_view password) override;
};

}  // namespace platform::qt
