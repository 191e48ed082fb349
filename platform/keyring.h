#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// Passwords kept by the desktop for this program, by the server's address
// and the user name (UTF-8). The password of the CardDAV server lives here
// and never in a file of the program.
class Keyring {
 public:
  virtual ~Keyring() = default;
  // The password kept for user at url; nothing when none is kept or the
  // desktop has no keyring.
  [[nodiscard]] virtual std::optional<std::string> password(std::string_view url,
                                                            std::string_view user) = 0;
  // Keeps password for user at url (replacing one kept before); false when
  // the desktop has no keyring.
  virtual bool keep(std::string_view url, std::string_view user, std::string_view password) = 0;
};

}  // namespace platform
