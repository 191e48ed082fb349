#include "carddav/sync_state.h"

#include <charconv>

namespace carddav {

namespace {

constexpr std::string_view header = "Morvi-Telefonbuch CardDAV state 1\n";

void put(std::string& out, std::string_view value) {
  out += std::to_string(value.size());
  out += ':';
  out += value;
  out += '\n';
}

// Reads one value that put wrote, from the front of bytes.
std::optional<std::string> take(std::string_view& bytes) {
  std::size_t size = 0;
  auto [end, error] = std::from_chars(bytes.data(), bytes.data() + bytes.size(), size);
  auto digits = static_cast<std::size_t>(end - bytes.data());
  if (error != std::errc() || digits == 0 || digits >= bytes.size() || bytes[digits] != ':' ||
      bytes.size() - digits - 1 < size + 1 || bytes[digits + 1 + size] != '\n') {
    return std::nullopt;
  }
  std::string value(bytes.substr(digits + 1, size));
  bytes.remove_prefix(digits + size + 2);
  return value;
}

}  // namespace

std::string writeSyncState(const SyncState& state) {
  std::string out(header);
  put(out, state.collection);
  put(out, state.syncToken);
  put(out, std::to_string(state.cards.size()));
  for (const SyncedCard& card : state.cards) {
    put(out, card.href);
    put(out, card.etag);
    put(out, card.uid);
    put(out, card.card);
  }
  return out;
}

std::optional<SyncState> readSyncState(std::string_view bytes) {
  if (!bytes.starts_with(header)) return std::nullopt;
  bytes.remove_prefix(header.size());
  SyncState state;
  auto collection = take(bytes);
  auto token = take(bytes);
  auto count = take(bytes);
  if (!collection || !token || !count) return std::nullopt;
  std::string_view countText = *count;
  std::size_t cards = 0;
  if (std::from_chars(countText.data(), countText.data() + countText.size(), cards).ec !=
      std::errc()) {
    return std::nullopt;
  }
  state.collection = std::move(*collection);
  state.syncToken = std::move(*token);
  for (std::size_t i = 0; i < cards; ++i) {
    auto href = take(bytes);
    auto etag = take(bytes);
    auto uid = take(bytes);
    auto card = take(bytes);
    if (!href || !etag || !uid || !card) return std::nullopt;
    state.cards.push_back({std::move(*href), std::move(*etag), std::move(*uid), std::move(*card)});
  }
  if (!bytes.empty()) return std::nullopt;
  return state;
}

}  // namespace carddav
