#pragma once

#include <cstddef>
#include <random>
#include <string>
#include <string_view>

namespace platform {

// Tries at a free temporary name before a save gives up.
inline constexpr int maxTemporaryNameTries = 100;

// The name of the temporary file a save writes beside its target: the
// folder, a '.', the target's name (at most 100 characters, so that the
// whole stays within the system's limit for one name), a '.' and six random
// letters. For the narrow names of POSIX and the wide ones of Windows.
template <typename Char>
[[nodiscard]] std::basic_string<Char> temporaryName(std::basic_string_view<Char> folder,
                                                    std::basic_string_view<Char> name,
                                                    std::mt19937& random) {
  static constexpr std::size_t maxNameStem = 100;
  static constexpr std::string_view letters =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  std::uniform_int_distribution<std::size_t> pick(0, letters.size() - 1);
  std::basic_string<Char> result(folder);
  result += Char('.');
  result += name.substr(0, maxNameStem);
  result += Char('.');
  for (int i = 0; i < 6; ++i) result += static_cast<Char>(letters[pick(random)]);
  return result;
}

}  // namespace platform
