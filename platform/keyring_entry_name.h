#pragma once

#include <string>
#include <string_view>

namespace platform {

// The name a password is kept under in the desktop's keyring, the same on
// every system: the user before the server's address as in a URL,
// "anna%40firma.de@https://dav.firma.de/". The user's '%' and '@' are
// escaped as in a URL, so the first '@' always ends the user and no two
// pairs of address and user share a name.
[[nodiscard]] std::string keyringEntryName(std::string_view url, std::string_view user);

}  // namespace platform
