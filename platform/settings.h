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

// One key of the configuration file in use.
class Setting {
 public:
  Setting(Settings& settings, const SettingKey& key) : settings_(settings), key_(key) {}

  [[nodiscard]] std::string read() const { return settings_.read(key_); }
  bool write(std::string_view value) { return settings_.write(key_, value); }
  [[nodiscard]] const SettingKey& key() const { return key_; }

 private:
  Settings& settings_;
  SettingKey key_;
};

}  // namespace platform
