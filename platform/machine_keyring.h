#pragma once

#include <memory>

#include "platform/keyring.h"

namespace platform {

// The desktop's keyring through the backend the program is built with (the
// Secret Service or KWallet through QtKeychain on Linux, the Credential
// Manager on Windows).
[[nodiscard]] std::unique_ptr<Keyring> makeMachineKeyring();

}  // namespace platform
