#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>

#include "platform/profile_file.h"

namespace platform {

// One key of the configuration file, with its default and the room that a
// reader gives the value (a longer value is cut to room - 1 bytes).
struct SettingKey {
  std::string_view section;
  std::string_view key;
  std::string_view defaultValue;
  std::size_t room;
};

// The complete set of keys the program reads or writes.
namespace setting {
inline constexpr SettingKey created{"port", "t", "", 2};
inline constexpr SettingKey telephonePort{"port", "comx", "", 98};
inline constexpr SettingKey addressFile{"VC", "File", "myadr.vcf", 256};
}  // namespace setting

// The configuration file in use: every read and write goes to the file at
// once, nothing is cached.
class Settings {
 public:
  Settings(ProfileFile& profile, std::string path) : profile_(profile), path_(std::move(path)) {}

  [[nodiscard]] std::string read(const SettingKey& key) const {
    return profile_.read(path_, key.section, key.key, key.defaultValue, key.room);
  }
  bool write(const SettingKey& key, std::string_view value) {
    return profile_.write(path_, key.section, key.key, value);
  }
  [[nodiscard]] const std::string& path() const { return path_; }

 private:
  ProfileFile& profile_;
  std::string path_;
};

}  // namespace platform
