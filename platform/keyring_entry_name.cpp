#include "platform/keyring_entry_name.h"

namespace platform {

std::string keyringEntryName(std::string_view url, std::string_view user) {
  std::string name;
  name.reserve(user.size() + 1 + url.size());
  for (char c : user) {
    if (c == '%') {
      name += "%25";
    } else if (c == '@') {
      name += "%40";
    } else {
      name += c;
    }
  }
  name += '@';
  name += url;
  return name;
}

}  // namespace platform
