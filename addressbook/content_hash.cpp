#include "addressbook/content_hash.h"

#define XXH_INLINE_ALL
#include <xxhash.h>

namespace addressbook {

struct ContentHash::State {
  XXH3_state_t xxh;
};

std::uint64_t hashBytes(std::string_view bytes) { return XXH3_64bits(bytes.data(), bytes.size()); }

ContentHash::ContentHash() : state_(std::make_unique<State>()) { XXH3_64bits_reset(&state_->xxh); }

ContentHash::~ContentHash() = default;

void ContentHash::add(std::string_view piece) {
  XXH3_64bits_update(&state_->xxh, piece.data(), piece.size());
}

std::uint64_t ContentHash::value() const { return XXH3_64bits_digest(&state_->xxh); }

}  // namespace addressbook
