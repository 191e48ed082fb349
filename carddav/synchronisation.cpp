#include "carddav/synchronisation.h"

#include <algorithm>
#include <map>
#include <random>
#include <set>

#include "carddav/card_merge.h"
#include "carddav/card_properties.h"
#include "carddav/dav_session.h"
#include "carddav/server_form.h"
#include "carddav/url.h"

namespace carddav {

namespace {

std::string newUid() {
  static constexpr char hex[] = "0123456789abcdef";
  std::random_device device;
  std::mt19937_64 random(
      (static_cast<std::uint64_t>(device()) << 32) ^ device() ^
      static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
  std::uint64_t high = random();
  std::uint64_t low = random();
  // A random UUID: version 4, variant 1.
  high = (high & ~0xF000ULL) | 0x4000ULL;
  low = (low & ~(3ULL << 62)) | (2ULL << 62);
  std::string uid;
  for (int i = 0; i < 32; ++i) {
    std::uint64_t word = i < 16 ? high : low;
    uid += hex[(word >> (60 - 4 * (i % 16))) & 0xF];
    if (i == 7 || i == 11 || i == 15 || i == 19) uid += '-';
  }
  return uid;
}

// The card with a UID line after its BEGIN line (and its VERSION line,
// where that follows), in place of any it had.
std::string withUid(std::string_view card, std::string_view uid) {
  std::string out;
  std::size_t at = 0;
  bool placed = false;
  while (at < card.size()) {
    std::size_t end = card.find('\n', at);
    end = end == std::string_view::npos ? card.size() : end + 1;
    std::string_view line = card.substr(at, end - at);
    at = end;
    bool isUid = line.size() > 4 && (line.substr(0, 4) == "UID:" || line.substr(0, 4) == "uid:");
    if (isUid) continue;
    out += line;
    bool begins = line.starts_with("BEGIN:") || line.starts_with("begin:");
    bool version = line.starts_with("VERSION:") || line.starts_with("version:");
    std::string_view rest = card.substr(at);
    bool versionNext = rest.starts_with("VERSION:") || rest.starts_with("version:");
    if (!placed && ((begins && !versionNext) || version)) {
      out += "UID:" + std::string(uid) + "\r\n";
      placed = true;
    }
  }
  return out;
}

// Whether two cards say the same, in any spelling and order.
bool sameContent(std::string_view a, std::string_view b) {
  // Most often a card is as the last run left it.
  if (a == b) return true;
  auto keys = [](std::string_view card) {
    std::multiset<std::string> set;
    for (CardProperty& property : cardProperties(card)) set.insert(std::move(property.key));
    return set;
  };
  return keys(a) == keys(b);
}

// One synchronisation: the server's view of the collection, what each side
// changed since the state, and the requests and changes that bring the two
// together.
class Run {
 public:
  Run(platform::Http& http, const Account& account, const std::vector<std::string>& cards,
      const std::optional<SyncState>& state, const Progress& progress)
      : session_(http, account),
        account_(account),
        cards_(cards),
        progress_(progress),
        state_(state ? *state : noState),
        hadState_(state.has_value()) {}

  SyncOutcome run(bool allowDeletes) {
    findCollection();
    listServer();
    fetchChanged();
    if (session_.failed()) return failed();
    plan();
    std::size_t deleteThere = 0;
    std::size_t deleteHere = 0;
    for (const Step& step : steps_) {
      if (step.kind == Step::deleteOnServer) ++deleteThere;
      if (step.kind == Step::deleteHere) ++deleteHere;
    }
    if (!allowDeletes && (isMassDelete(deleteThere, serverEtags_.size()) ||
                          isMassDelete(deleteHere, cards_.size()))) {
      outcome_.result = SyncResult::wouldDelete;
      outcome_.deletions = deleteThere + deleteHere;
      outcome_.cards = cards_;
      return outcome_;
    }
    for (std::size_t i = 0; i < steps_.size(); ++i) {
      carryOut(steps_[i]);
      if (session_.failed()) return failed();
      report(i + 1, steps_.size());
    }
    refetchWritten();
    if (session_.failed()) return failed();
    finish();
    return outcome_;
  }

 private:
  struct Step {
    enum Kind { send, takeServer, merge, deleteOnServer, deleteHere, forget } kind;
    std::string uid;
    std::optional<std::size_t> local;  // index into the given cards
    std::string href;                  // the server's card, or where a new one goes
    const SyncedCard* base = nullptr;
  };

  void report(std::size_t done, std::size_t total) const {
    if (progress_) progress_(done, total);
  }

  SyncOutcome failed() {
    outcome_.result = SyncResult::failed;
    outcome_.failure = session_.failure();
    outcome_.status = session_.status();
    outcome_.detail = session_.detail();
    outcome_.cards = cards_;
    outcome_.cardsChanged = false;
    return outcome_;
  }

  // The address book: the address itself, one in the collections it
  // lists (a home set), or the first of the user's homes (the principal of
  // the address or of its well-known path).
  void findCollection() {
    if (!state_.collection.empty()) {
      collection_ = state_.collection;
      return;
    }
    if (auto found = addressBookAmong(account_.url)) {
      collection_ = *found;
      return;
    }
    for (std::string start : {account_.url, originOf(account_.url) + "/.well-known/carddav"}) {
      auto principal = session_.report(start, currentUserPrincipalRequest(), true);
      for (int redirects = 0; !principal && redirects < 3 && !session_.failed(); ++redirects) {
        auto moved =
            session_.send("PROPFIND", start, {{"Depth", "0"}}, currentUserPrincipalRequest().body);
        std::string location = moved ? moved->header("location") : std::string();
        if (location.empty()) break;
        start = resolve(start, location);
        principal = session_.report(start, currentUserPrincipalRequest(), true);
      }
      if (!principal) continue;
      for (const ResourceStatus& resource : principal->resources) {
        if (!resource.currentUserPrincipal) continue;
        std::string principalUrl = resolve(start, *resource.currentUserPrincipal);
        auto homes = session_.report(principalUrl, addressBookHomeSetRequest(), true);
        if (!homes) continue;
        for (const ResourceStatus& home : homes->resources) {
          for (const std::string& href : home.addressBookHomes) {
            if (auto found = addressBookAmong(resolve(principalUrl, href))) {
              collection_ = *found;
              return;
            }
          }
        }
      }
    }
    session_.fail(SyncFailure::noAddressBook, account_.url);
  }

  // The address itself is asked first: what is in an address book are its
  // cards, and a server takes long to list thousands of them.
  std::optional<std::string> addressBookAmong(const std::string& url) {
    for (int depth : {0, 1}) {
      auto listing = session_.report(url, addressBooksRequest(depth), true);
      if (!listing) return std::nullopt;
      for (const ResourceStatus& resource : listing->resources) {
        if (resource.isAddressBook) return resolve(url, resource.href);
      }
    }
    return std::nullopt;
  }

  // serverEtags_: every card of the collection with its ETag, from the
  // changes since the token where the server knows it, else in full.
  void listServer() {
    if (session_.failed()) return;
    if (!state_.syncToken.empty()) {
      if (auto changes =
              session_.report(collection_, syncCollectionRequest(state_.syncToken), true)) {
        for (const SyncedCard& card : state_.cards) serverEtags_[card.href] = card.etag;
        for (const ResourceStatus& resource : changes->resources) {
          if (sameResource(resolve(collection_, resource.href), collection_)) continue;
          if (resource.isGone()) {
            serverEtags_.erase(resource.href);
          } else if (resource.etag) {
            serverEtags_[resource.href] = *resource.etag;
          }
        }
        syncToken_ = changes->syncToken.value_or("");
        return;
      }
    }
    // A refused token, or none: every card again, by UID, so nothing doubles.
    // A server that gave no token last time has no sync report.
    std::optional<Multistatus> all;
    if (!hadState_ || !state_.syncToken.empty()) {
      all = session_.report(collection_, syncCollectionRequest(""), true);
    }
    if (!all) all = session_.report(collection_, etagListingRequest());
    if (!all) return;
    for (const ResourceStatus& resource : all->resources) {
      if (sameResource(resolve(collection_, resource.href), collection_)) continue;
      if (!resource.isGone() && resource.etag) serverEtags_[resource.href] = *resource.etag;
    }
    syncToken_ = all->syncToken.value_or("");
  }

  void fetchChanged() {
    if (session_.failed()) return;
    for (const SyncedCard& card : state_.cards) stateByHref_[card.href] = &card;
    std::vector<std::string> wanted;
    for (const auto& [href, etag] : serverEtags_) {
      auto known = stateByHref_.find(href);
      if (known == stateByHref_.end() || known->second->etag != etag) wanted.push_back(href);
    }
    fetched_ = session_.fetch(collection_, wanted, progress_);
    for (const std::string& href : wanted) {
      // Deleted between the listing and the fetch.
      if (!fetched_.contains(href)) serverEtags_.erase(href);
    }
  }

  void plan() {
    std::map<std::string, const SyncedCard*, std::less<>> baseByUid;
    for (const SyncedCard& card : state_.cards) baseByUid[card.uid] = &card;
    std::map<std::string, std::string, std::less<>> serverByUid;
    std::vector<std::string> serverOrder;
    for (const auto& [href, etag] : serverEtags_) {
      std::string uid;
      if (auto card = fetched_.find(href); card != fetched_.end()) {
        uid = cardUid(card->second.text);
        if (uid.empty()) uid = href;
      } else {
        uid = stateByHref_.at(href)->uid;
      }
      if (serverByUid.try_emplace(uid, href).second) serverOrder.push_back(uid);
    }
    std::set<std::string, std::less<>> planned;
    auto planOne = [&](const std::string& uid, std::optional<std::size_t> local) {
      if (!planned.insert(uid).second) return;
      auto base = baseByUid.find(uid);
      const SyncedCard* baseCard = base == baseByUid.end() ? nullptr : base->second;
      auto server = serverByUid.find(uid);
      std::string href = server == serverByUid.end() ? std::string() : server->second;
      bool serverChanged = !href.empty() && fetched_.contains(href);
      Step step{Step::forget, uid, local, href, baseCard};
      if (local && href.empty()) {
        bool changedHere = !baseCard || !sameContent(cards_[*local], baseCard->card);
        step.kind = changedHere ? Step::send : Step::deleteHere;
        if (step.kind == Step::send) step.href = newHref(uid);
        step.base = nullptr;  // gone from the server: sent as a new card
      } else if (local) {
        bool changedHere = !baseCard || !sameContent(cards_[*local], baseCard->card);
        if (!changedHere && !serverChanged) return;
        step.kind = !changedHere ? Step::takeServer : !serverChanged ? Step::send : Step::merge;
      } else if (!href.empty()) {
        step.kind = baseCard && !serverChanged ? Step::deleteOnServer : Step::takeServer;
      }
      steps_.push_back(std::move(step));
    };
    for (std::size_t i = 0; i < cards_.size(); ++i) planOne(cardUid(cards_[i]), i);
    for (const std::string& uid : serverOrder) planOne(uid, std::nullopt);
    for (const SyncedCard& card : state_.cards) planOne(card.uid, std::nullopt);
  }

  // Where a new card goes: its UID as the name in the collection, so that a
  // card sent again after a run that failed meets itself (412), never a twin.
  std::string newHref(std::string_view uid) const {
    std::string path = collection_.substr(originOf(collection_).size());
    if (!path.ends_with('/')) path += '/';
    return path + pathSegment(uid) + ".vcf";
  }

  void carryOut(const Step& step) {
    switch (step.kind) {
      case Step::send:
        put(step, serverForm(cards_[*step.local], step.uid));
        return;
      case Step::merge: {
        const ServerCard& server = fetched_.at(step.href);
        std::string base = step.base ? step.base->card : std::string();
        std::string merged =
            mergeCards(base, serverForm(cards_[*step.local], step.uid), server.text);
        if (sameContent(merged, server.text)) {
          take(step);
          return;
        }
        if (!sameContent(merged, cards_[*step.local])) ++outcome_.counts.changedHere;
        put(step, merged);
        return;
      }
      case Step::takeServer:
        take(step);
        return;
      case Step::deleteOnServer:
        remove(step);
        return;
      case Step::deleteHere:
        removed_.insert(*step.local);
        ++outcome_.counts.deletedHere;
        return;
      case Step::forget:
        return;
    }
  }

  // The server's card, here. counted: as a change of the server's, not as
  // the server's rewrite of a card sent.
  void take(const Step& step, bool counted = true) {
    const ServerCard& server = fetched_.at(step.href);
    synced_[step.href] = {step.href, server.etag, step.uid, fileForm(server.text)};
    std::string local = fileForm(server.text);
    if (cardUid(local) != step.uid) local = withUid(local, step.uid);
    if (step.local) {
      if (counted && !sameContent(local, cards_[*step.local])) ++outcome_.counts.changedHere;
      replaced_[*step.local] = local;
    } else if (counted) {
      ++outcome_.counts.newHere;
      added_.push_back(local);
    }
  }

  // Sends a card: a new one only where the server has none; a changed one
  // only over the version it was compared with. When the server's card
  // changed in between (412), the two are merged and sent again.
  void put(const Step& step, std::string card) {
    bool isNew = !fetched_.contains(step.href) && !step.base;
    std::string etag = fetched_.contains(step.href) ? fetched_.at(step.href).etag
                       : step.base                  ? step.base->etag
                                                    : std::string();
    for (int attempt = 0; attempt < 3; ++attempt) {
      std::vector<std::pair<std::string, std::string>> headers = {
          {"Content-Type", "text/vcard; charset=utf-8"}};
      if (etag.empty()) {
        headers.emplace_back("If-None-Match", "*");
      } else {
        headers.emplace_back("If-Match", etag);
      }
      auto answer = session_.send("PUT", resolve(collection_, step.href), headers, card);
      if (!answer) return;
      if (answer->status >= 200 && answer->status < 300) {
        written_.push_back(step);
        ++(isNew ? outcome_.counts.newThere : outcome_.counts.changedThere);
        return;
      }
      if (answer->status != 412) {
        session_.fail(SyncFailure::serverError, "PUT " + resolve(collection_, step.href),
                      answer->status);
        return;
      }
      auto server = session_.fetch(collection_, std::vector<std::string>{step.href});
      if (session_.failed()) return;
      auto found = server.find(step.href);
      std::string serverText = found == server.end() ? std::string() : found->second.text;
      etag = found == server.end() ? std::string() : found->second.etag;
      std::string base = step.base ? step.base->card : std::string();
      card = serverText.empty() ? card : mergeCards(base, card, serverText);
    }
    session_.fail(SyncFailure::serverError, "PUT " + resolve(collection_, step.href), 412);
  }

  void remove(const Step& step) {
    auto answer = session_.send("DELETE", resolve(collection_, step.href),
                                {{"If-Match", step.base->etag}}, {});
    if (!answer) return;
    if (answer->status == 412) {
      // Changed on the server since: kept, and brought back here.
      auto server = session_.fetch(collection_, std::vector<std::string>{step.href});
      if (auto found = server.find(step.href); found != server.end()) {
        fetched_[step.href] = found->second;
        take(step);
      }
      return;
    }
    if (answer->status >= 300 && answer->status != 404) {
      session_.fail(SyncFailure::serverError, "DELETE " + resolve(collection_, step.href),
                    answer->status);
      return;
    }
    ++outcome_.counts.deletedThere;
  }

  // Servers rewrite what they are sent: the card as the server keeps it is
  // what both sides hold afterwards.
  void refetchWritten() {
    std::vector<std::string> hrefs;
    hrefs.reserve(written_.size());
    for (const Step& step : written_) hrefs.push_back(step.href);
    std::map<std::string, ServerCard> cards = session_.fetch(collection_, hrefs);
    for (Step step : written_) {
      if (session_.failed()) return;
      auto found = cards.find(step.href);
      if (found == cards.end()) {
        // The server may spell the href it answers with otherwise.
        found = std::ranges::find_if(
            cards, [&](const auto& card) { return samePath(card.first, step.href); });
      }
      if (found == cards.end()) {
        session_.fail(SyncFailure::badAnswer, "a card sent is missing: " + step.href);
        return;
      }
      step.href = found->first;
      fetched_[step.href] = found->second;
      take(step, false);
    }
  }

  void finish() {
    outcome_.cards.clear();
    for (std::size_t i = 0; i < cards_.size(); ++i) {
      if (removed_.contains(i)) continue;
      auto replaced = replaced_.find(i);
      outcome_.cards.push_back(replaced == replaced_.end() ? cards_[i] : replaced->second);
    }
    for (std::string& card : added_) outcome_.cards.push_back(std::move(card));
    outcome_.cardsChanged = outcome_.cards != cards_;
    outcome_.state.collection = collection_;
    outcome_.state.syncToken = syncToken_;
    std::set<std::string> deleted = deletedHrefs();
    for (const SyncedCard& card : state_.cards) {
      // Unchanged on both sides.
      if (serverEtags_.contains(card.href) && !deleted.contains(card.href)) {
        synced_.try_emplace(card.href, card);
      }
    }
    for (auto& [href, card] : synced_) outcome_.state.cards.push_back(std::move(card));
  }

  std::set<std::string> deletedHrefs() const {
    std::set<std::string> hrefs;
    for (const Step& step : steps_) {
      if (step.kind == Step::deleteOnServer) hrefs.insert(step.href);
    }
    return hrefs;
  }

  DavSession session_;
  const Account& account_;
  const std::vector<std::string>& cards_;
  const Progress& progress_;
  static inline const SyncState noState;
  const SyncState& state_;
  bool hadState_;
  std::string collection_;
  std::string syncToken_;
  std::map<std::string, std::string> serverEtags_;
  std::map<std::string, const SyncedCard*> stateByHref_;
  std::map<std::string, ServerCard> fetched_;
  std::vector<Step> steps_;
  std::vector<Step> written_;
  std::map<std::size_t, std::string> replaced_;
  std::set<std::size_t> removed_;
  std::vector<std::string> added_;
  std::map<std::string, SyncedCard> synced_;
  SyncOutcome outcome_;
};

}  // namespace

bool giveUids(std::vector<std::string>& cards) {
  std::set<std::string> seen;
  bool changed = false;
  for (std::string& card : cards) {
    std::string uid = cardUid(card);
    if (!uid.empty() && seen.insert(uid).second) continue;
    uid = newUid();
    seen.insert(uid);
    card = withUid(card, uid);
    changed = true;
  }
  return changed;
}

bool isMassDelete(std::size_t n, std::size_t total) { return n > 5 && n * 4 > total; }

SyncOutcome synchronise(platform::Http& http, const Account& account,
                        const std::vector<std::string>& cards,
                        const std::optional<SyncState>& state, bool allowDeletes,
                        const Progress& progress) {
  return Run(http, account, cards, state, progress).run(allowDeletes);
}

std::string summary(const SyncCounts& counts) {
  auto three = [](int added, int changed, int deleted) {
    return std::to_string(added) + " new, " + std::to_string(changed) + " changed, " +
           std::to_string(deleted) + " deleted";
  };
  return three(counts.newHere, counts.changedHere, counts.deletedHere) + " here; " +
         three(counts.newThere, counts.changedThere, counts.deletedThere) + " on the server";
}

}  // namespace carddav
