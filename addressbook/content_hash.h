#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace addressbook {

// A fast 64-bit hash (XXH3) of bytes, to tell whether a file still holds
// the bytes it was loaded or saved with.
[[nodiscard]] std::uint64_t hashBytes(std::string_view bytes);

// hashBytes of bytes that arrive in pieces: the same value as one call over
// all of them together.
class ContentHash {
 public:
  ContentHash();
  ~ContentHash();
  ContentHash(const ContentHash&) = delete;
  ContentHash& operator=(const ContentHash&) = delete;

  void add(std::string_view piece);
  [[nodiscard]] std::uint64_t value() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace addressbook
