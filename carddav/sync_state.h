#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace carddav {

// A card as it was after the last synchronisation, on both sides alike.
struct SyncedCard {
  std::string href;  // as the server sent it
  std::string etag;  // with its quotes
  std::string uid;
  std::string card;  // the server's text, in file form: the base of a three-way merge
};

// What a synchronisation remembers for the next one of the same address
// file and collection.
struct SyncState {
  std::string collection;  // the address book's URL
  std::string syncToken;   // empty: none yet, or the server has none
  std::vector<SyncedCard> cards;
};

// The state as its file holds it: a first line naming the format, then
// each value with its length before it, so that any bytes (a card's line
// breaks, a tab in a UID) stand in it as they are.
[[nodiscard]] std::string writeSyncState(const SyncState& state);

// The state of a file that writeSyncState wrote; nothing for any other
// bytes (another version, a file cut short), which the synchronisation
// takes as no state: every card is compared again.
[[nodiscard]] std::optional<SyncState> readSyncState(std::string_view bytes);

}  // namespace carddav
