#pragma once

#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "carddav/sync_state.h"
#include "platform/http.h"

namespace carddav {

// Where the address book is kept on a server, and who is asking.
struct Account {
  // The address book collection, or any address on the server from which
  // it can be found: the server itself, a principal, a home set.
  std::string url;
  std::string user;
  std::string password;
};

enum class SyncResult {
  done,         // both sides hold the same cards
  wouldDelete,  // nothing done: more cards would be deleted than allowed
  failed,       // stopped: see failure; what was done is finished next time
};

enum class SyncFailure {
  none,
  unreachable,    // no connection to the server
  timedOut,       // the server did not answer in time
  certificate,    // the server's certificate was refused
  tooLarge,       // an answer larger than a card or a listing can be
  broken,         // the connection broke off
  unauthorised,   // the server refused the user or the password (401)
  noAddressBook,  // no address book found at the address
  serverError,    // the server answered a request with an error status
  badAnswer,      // an answer that could not be read
};

struct SyncCounts {
  int newHere = 0;
  int changedHere = 0;
  int deletedHere = 0;
  int newThere = 0;
  int changedThere = 0;
  int deletedThere = 0;
};

struct SyncOutcome {
  SyncResult result = SyncResult::done;
  SyncFailure failure = SyncFailure::none;
  int status = 0;      // the HTTP status of a serverError
  std::string detail;  // the transport's words, the request that failed
  // wouldDelete: the cards that would be deleted, on both sides together.
  std::size_t deletions = 0;
  SyncCounts counts;
  // done: the address file's cards afterwards (each from BEGIN to END, CR
  // LF) and whether they differ from those given; the state to keep.
  std::vector<std::string> cards;
  bool cardsChanged = false;
  SyncState state;
};

// How far a run has come: done of total steps of its current stage (the
// fetching of the server's cards, then the writing on both sides).
using Progress = std::function<void(std::size_t done, std::size_t total)>;

// Gives each card without a UID, or with the UID of a card before it (a
// duplicated entry), a new one. Returns whether any card changed: the file
// must hold them before the first synchronisation sends a card, so that a
// card sent by a run that then failed is known by its UID the next time.
bool giveUids(std::vector<std::string>& cards);

// Whether deleting n of total cards on one side needs the user's word:
// more than five, and more than a quarter.
[[nodiscard]] bool isMassDelete(std::size_t n, std::size_t total);

// Brings the cards of an address file (each with a UID: giveUids) and the
// server's address book to the same cards. state: what the last run
// remembered for this file and collection, nothing for the first run (cards
// are then matched by UID). Without allowDeletes, a run that would delete
// too many cards on one side (isMassDelete) does nothing.
[[nodiscard]] SyncOutcome synchronise(platform::Http& http, const Account& account,
                                      const std::vector<std::string>& cards,
                                      const std::optional<SyncState>& state, bool allowDeletes,
                                      const Progress& progress = {});

// "n new, n changed, n deleted here; n new, n changed, n deleted on the server"
[[nodiscard]] std::string summary(const SyncCounts& counts);

}  // namespace carddav
