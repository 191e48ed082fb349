#include "app/server_account.h"

#include <utility>

#include "addressbook/content_line.h"
#include "app/port_settings_dialog.h"
#include "app/setting_keys.h"
#include "table/control_ids.h"
#include "text/cp1252.h"

namespace app {

namespace {

namespace control = table::control;

std::string_view trimmed(std::string_view text) {
  constexpr std::string_view blanks = " \t";
  std::size_t first = text.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return addressbook::equalsIgnoringCase(text.substr(0, prefix.size()), prefix);
}

}  // namespace

ServerAccount::ServerAccount(platform::Settings& settings, platform::Keyring& keyring,
                             platform::Dialogs& dialogs, std::optional<std::string> fromEnvironment)
    : settings_(settings),
      keyring_(keyring),
      dialogs_(dialogs),
      fromEnvironment_(std::move(fromEnvironment)) {}

std::string ServerAccount::url() const {
  return std::string(trimmed(settings_.read(setting::carddavUrl)));
}

std::string ServerAccount::user() const {
  return text::cp1252::textToUtf8(trimmed(settings_.read(setting::carddavUser)));
}

bool ServerAccount::configured() const { return !url().empty(); }

std::optional<std::string> ServerAccount::knownPassword() {
  if (fromEnvironment_) return fromEnvironment_;
  std::string user = this->user();
  // Without a user the server asks for no password.
  if (user.empty()) return std::string();
  std::string key = url() + '\n' + user;
  if (password_ && passwordFor_ == key) return password_;
  if (keyringRefused_) return std::nullopt;
  std::optional<std::string> kept = keyring_.password(url(), user);
  if (kept) {
    password_ = kept;
    passwordFor_ = key;
  }
  return kept;
}

std::optional<carddav::Account> ServerAccount::forRun(bool asked) {
  if (!configured()) return std::nullopt;
  if (std::optional<std::string> password = knownPassword())
    return carddav::Account{url(), user(), *password};
  if (declined_ && !asked) return std::nullopt;
  std::optional<std::string> typed = dialogs_.askForText(serverPasswordDialog(), "");
  declined_ = !typed;
  if (!typed) return std::nullopt;
  password_ = text::cp1252::textToUtf8(*typed);
  passwordFor_ = url() + '\n' + user();
  keyring_.keep(url(), user(), *password_);
  return carddav::Account{url(), user(), *password_};
}

void ServerAccount::refused() {
  if (fromEnvironment_) return;
  password_.reset();
  keyringRefused_ = true;
  declined_ = false;
}

std::vector<platform::DialogField> ServerAccount::fields() {
  std::optional<std::string> password = knownPassword();
  shownPassword_ = password ? text::cp1252::textFromUtf8(*password).value_or("") : "";
  return {{control::serverEdit, settings_.read(setting::carddavUrl)},
          {control::userEdit, settings_.read(setting::carddavUser)},
          {control::passwordEdit, shownPassword_}};
}

bool ServerAccount::isUsableAddress(std::string_view address) {
  address = trimmed(address);
  if (address.empty()) return true;
  return address.size() < setting::carddavUrl.room &&
         (startsWithNoCase(address, "https://") || startsWithNoCase(address, "http://"));
}

bool ServerAccount::change(std::span<const platform::DialogField> fields) {
  std::string_view url = trimmed(platform::textOf(fields, control::serverEdit));
  std::string_view user = trimmed(platform::textOf(fields, control::userEdit));
  std::string_view password = platform::textOf(fields, control::passwordEdit);
  bool changed = false;
  // Written only when changed: a configuration without a server stays as
  // it was, byte for byte.
  if (url != trimmed(settings_.read(setting::carddavUrl))) {
    settings_.write(setting::carddavUrl, url);
    changed = true;
  }
  if (user != trimmed(settings_.read(setting::carddavUser))) {
    settings_.write(setting::carddavUser, user);
    changed = true;
  }
  if (password != shownPassword_) changed = true;
  if (!changed) return false;
  keyringRefused_ = false;
  declined_ = false;
  password_.reset();
  if (!password.empty() && !url.empty()) {
    password_ = text::cp1252::textToUtf8(password);
    passwordFor_ = this->url() + '\n' + this->user();
    keyring_.keep(this->url(), this->user(), *password_);
  }
  return true;
}

}  // namespace app
