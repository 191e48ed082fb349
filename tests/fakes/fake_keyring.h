#pragma once

#include <map>
#include <optional>
#include <string>
#include <utility>

#include "platform/keyring.h"

namespace testing_support {

// A keyring in memory, by address and user; a desktop without one when
// absent.
class FakeKeyring : public platform::Keyring {
 public:
  std::optional<std::string> password(std::string_view url, std::string_view user) override {
    auto found = passwords.find({std::string(url), std::string(user)});
    if (absent || found == passwords.end()) return std::nullopt;
    return found->second;
  }
  bool keep(std::string_view url, std::string_view user, std::string_view password) override {
    if (absent) return false;
    passwords[{std::string(url), std::string(user)}] = password;
    return true;
  }

  bool absent = false;
  std::map<std::pair<std::string, std::string>, std::string> passwords;
};

}  // namespace testing_support
