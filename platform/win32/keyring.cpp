#include <windows.h>
// After windows.h, which it builds on.
#include <wincred.h>

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/keyring_entry_name.h"
#include "platform/machine_keyring.h"
#include "platform/win32/wide_text.h"

namespace platform::win32 {

namespace {

struct CredentialFreer {
  void operator()(CREDENTIALW* credential) const { CredFree(credential); }
};

std::wstring targetOf(std::string_view url, std::string_view user) {
  return wideFromUtf8("Morvi-Telefonbuch:" + keyringEntryName(url, user));
}

// Passwords in the Credential Manager of the user's Windows account: one
// generic credential for each server and user, with the user as its user
// name and the password's UTF-8 bytes as its secret, kept on this computer
// only (a roaming profile does not carry it to others).
class Keyring : public platform::Keyring {
 public:
  std::optional<std::string> password(std::string_view url, std::string_view user) override {
    CREDENTIALW* read = nullptr;
    if (!CredReadW(targetOf(url, user).c_str(), CRED_TYPE_GENERIC, 0, &read)) return std::nullopt;
    std::unique_ptr<CREDENTIALW, CredentialFreer> credential(read);
    // Windows matches target names whatever their letters' case: the
    // credential of "Anna" is found for "anna" as well (and keeping one
    // replaces the other). The user name, kept as given, tells them apart.
    if (credential->UserName == nullptr || utf8FromWide(credential->UserName) != user) {
      return std::nullopt;
    }
    if (credential->CredentialBlobSize == 0) return std::string();
    return std::string(reinterpret_cast<const char*>(credential->CredentialBlob),
                       credential->CredentialBlobSize);
  }

  bool keep(std::string_view url, std::string_view user, std::string_view password) override {
    if (password.size() > CRED_MAX_CREDENTIAL_BLOB_SIZE) return false;
    std::wstring target = targetOf(url, user);
    std::wstring userName = wideFromUtf8(user);
    CREDENTIALW credential{};
    credential.Type = CRED_TYPE_GENERIC;
    credential.TargetName = target.data();
    credential.UserName = userName.data();
    credential.CredentialBlobSize = static_cast<DWORD>(password.size());
    // CredWriteW only reads the secret.
    credential.CredentialBlob = reinterpret_cast<BYTE*>(const_cast<char*>(password.data()));
    credential.Persist = CRED_PERSIST_LOCAL_MACHINE;
    return CredWriteW(&credential, 0) != FALSE;
  }
};

}  // namespace

}  // namespace platform::win32

namespace platform {

std::unique_ptr<Keyring> makeMachineKeyring() { return std::make_unique<win32::Keyring>(); }

}  // namespace platform
