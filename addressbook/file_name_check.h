#pragma once

#include <string_view>

#include "platform/dialogs.h"

namespace addressbook {

// Whether the configuration gives the name of an address file back exactly
// as it is, so that the next start opens this very file: at most 255 bytes,
// no blank at either end (the configuration reader drops them) and no
// control character (a line break would end the value). When it does not,
// the user is told why, with the name (caption "Dateiname ?"), and the
// result is false.
[[nodiscard]] bool isStorableFileName(std::string_view path, platform::Dialogs& dialogs);

}  // namespace addressbook
