#pragma once

#include <string_view>

#include "platform/settings.h"

namespace app {

// The configuration file's name, wherever it is kept.
inline constexpr std::string_view configFileName = "zudedo.conf";
// The program's folder in the user's state folder, which holds the backups.
inline constexpr std::string_view stateFolderName = "zudedo";

// The complete set of keys the program reads or writes.
namespace setting {
inline constexpr platform::SettingKey created{"port", "t", "", 2};
inline constexpr platform::SettingKey telephonePort{"port", "comx", "", 98};
inline constexpr platform::SettingKey addressFile{"VC", "File", "myadr.vcf", 256};
// The CardDAV address book the address file is synchronised with (the
// collection, or the server's address), and the user; no URL: none.
inline constexpr platform::SettingKey carddavUrl{"CardDAV", "Url", "", 1024};
inline constexpr platform::SettingKey carddavUser{"CardDAV", "User", "", 256};
}  // namespace setting

}  // namespace app
