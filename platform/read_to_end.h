#pragma once

#include <cstddef>
#include <cstdint>
#include <new>
#include <optional>
#include <stdexcept>
#include <string>

namespace platform {

// Reads an open file to its end through read(buffer, room), which gives the
// bytes it stored (0 at the end) or nothing on failure. The buffer starts one
// byte larger than expectedSize, so that a file of the expected size needs a
// single read and then sees its end; a file that grows or shrinks meanwhile
// is read as far as it goes. Nothing when a read fails or memory runs out,
// never the part read so far.
template <typename Read>
[[nodiscard]] std::optional<std::string> readToEnd(std::uint64_t expectedSize, Read read) {
  try {
    std::string content(static_cast<std::size_t>(expectedSize) + 1, '\0');
    std::size_t filled = 0;
    for (;;) {
      if (filled == content.size()) content.resize(content.size() * 2);
      std::optional<std::size_t> count = read(content.data() + filled, content.size() - filled);
      if (!count) return std::nullopt;
      if (*count == 0) break;
      filled += *count;
    }
    content.resize(filled);
    return content;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  } catch (const std::length_error&) {
    return std::nullopt;
  }
}

}  // namespace platform
