// The synchronisation against a CardDAV server in memory: what each side
// changed since the last run, and the faults a real server shows. A side is
// described as the names and numbers the program would show of its cards.

#include "carddav/synchronisation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "addressbook/card_fields.h"
#include "tests/fakes/fake_carddav_server.h"

namespace {

using carddav::SyncOutcome;
using carddav::SyncResult;
using testing_support::FakeCardDavServer;

// A card of the program's own lines, and one as a phone writes it.
std::string own(std::string_view name, std::string_view home) {
  return "BEGIN:VCARD\r\nN:" + std::string(name) + "\r\nTEL;HOME:" + std::string(home) +
         "\r\nEND:VCARD\r\n";
}
std::string phone(std::string_view uid, std::string_view name, std::string_view cell) {
  return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + std::string(uid) +
         "\r\nFN:x\r\nN:" + std::string(name) + ";;;\r\nTEL;TYPE=CELL:" + std::string(cell) +
         "\r\nEND:VCARD\r\n";
}

std::string describe(std::string_view card) {
  addressbook::CardFields fields = addressbook::readCardFields(card);
  std::string text;
  for (std::size_t f = 0; f < fields.shown.size(); ++f) {
    if (!fields.shown[f].empty()) text += (text.empty() ? "" : "|") + fields.shown[f];
  }
  return text;
}

struct World {
  FakeCardDavServer server;
  std::vector<std::string> cards;
  std::optional<carddav::SyncState> state;

  SyncOutcome sync(bool allowDeletes = false) {
    carddav::giveUids(cards);
    SyncOutcome outcome = carddav::synchronise(
        server, {std::string(FakeCardDavServer::origin) + "/dav/anna/kontakte/", "anna", "pw"},
        cards, state, allowDeletes);
    if (outcome.result == SyncResult::done) {
      cards = outcome.cards;
      state = outcome.state;
    }
    return outcome;
  }
  [[nodiscard]] std::vector<std::string> here() const {
    std::vector<std::string> shown;
    for (const std::string& card : cards) shown.push_back(describe(card));
    std::ranges::sort(shown);
    return shown;
  }
  [[nodiscard]] std::vector<std::string> there() const {
    std::vector<std::string> shown;
    for (const auto& [href, card] : server.cards) shown.push_back(describe(card.text));
    std::ranges::sort(shown);
    return shown;
  }
  // The server's href of the card that shows name.
  [[nodiscard]] std::string hrefOf(std::string_view name) const {
    for (const auto& [href, card] : server.cards) {
      if (describe(card.text).starts_with(name)) return href;
    }
    return {};
  }
  std::string& cardOf(std::string_view name) {
    return *std::ranges::find_if(
        cards, [&](const std::string& card) { return describe(card).starts_with(name); });
  }
};

void replace(std::string& text, std::string_view from, std::string_view to) {
  text.replace(text.find(from), from.size(), to);
}

// Two cards in the file and one on a phone, synchronised once; then the
// row's changes on either side and one more run.
TEST(Synchronisation, changesOnEitherSideSinceTheLastRun) {
  struct Row {
    std::string_view what;
    std::function<void(World&)> change;
    std::vector<std::string> both;  // what each side shows afterwards
    std::string summary;
  };
  const std::vector<std::string> start = {"Kurz;Eva|0301", "M\xFCller;Hans|0302", "Nowak;Ewa|0171"};
  const Row rows[] = {
      {"nothing", [](World&) {}, start,
       "0 new, 0 changed, 0 deleted here; 0 new, 0 changed, 0 deleted on the server"},
      {"a number changed on the phone",
       [](World& w) { w.server.store(w.hrefOf("Nowak"), phone("p1", "Nowak;Ewa", "0172")); },
       {"Kurz;Eva|0301", "M\xFCller;Hans|0302", "Nowak;Ewa|0172"},
       "0 new, 1 changed, 0 deleted here; 0 new, 0 changed, 0 deleted on the server"},
      {"a number changed here",
       [](World& w) { replace(w.cardOf("Kurz"), "0301", "0399"); },
       {"Kurz;Eva|0399", "M\xFCller;Hans|0302", "Nowak;Ewa|0171"},
       "0 new, 0 changed, 0 deleted here; 0 new, 1 changed, 0 deleted on the server"},
      {"a card new on each side",
       [](World& w) {
         w.cards.push_back(own("Neu;Nina", "0303"));
         w.server.store(FakeCardDavServer::collection.data() + std::string("p2.vcf"),
                        phone("p2", "Handy;Hugo", "0173"));
       },
       {"Handy;Hugo|0173", "Kurz;Eva|0301", "M\xFCller;Hans|0302", "Neu;Nina|0303",
        "Nowak;Ewa|0171"},
       "1 new, 0 changed, 0 deleted here; 1 new, 0 changed, 0 deleted on the server"},
      {"different fields changed on each side",
       [](World& w) {
         std::string card = w.server.cards.at(w.hrefOf("Kurz")).text;
         replace(card, "0301", "0311");
         w.server.store(w.hrefOf("Kurz"), card);
         replace(w.cardOf("Kurz"), "Kurz;Eva", "Kurz;Eva Maria");
       },
       {"Kurz;Eva Maria|0311", "M\xFCller;Hans|0302", "Nowak;Ewa|0171"},
       "0 new, 1 changed, 0 deleted here; 0 new, 1 changed, 0 deleted on the server"},
      {"the same name changed otherwise on each side: this side's stays, the other in the note",
       [](World& w) {
         std::string card = w.server.cards.at(w.hrefOf("Kurz")).text;
         replace(card, "Kurz;Eva", "Lang;Eva");
         w.server.store(w.hrefOf("Kurz"), card);
         replace(w.cardOf("Kurz"), "Kurz;Eva", "Kurz;Eve");
       },
       {"Kurz;Eve|0301|Beim Abgleich anders auf dem Server: N:Lang;Eva", "M\xFCller;Hans|0302",
        "Nowak;Ewa|0171"},
       "0 new, 1 changed, 0 deleted here; 0 new, 1 changed, 0 deleted on the server"},
      {"deleted here",
       [](World& w) { std::erase(w.cards, w.cardOf("Kurz")); },
       {"M\xFCller;Hans|0302", "Nowak;Ewa|0171"},
       "0 new, 0 changed, 0 deleted here; 0 new, 0 changed, 1 deleted on the server"},
      {"deleted on the phone",
       [](World& w) { w.server.remove(w.hrefOf("Nowak")); },
       {"Kurz;Eva|0301", "M\xFCller;Hans|0302"},
       "0 new, 0 changed, 1 deleted here; 0 new, 0 changed, 0 deleted on the server"},
      {"deleted here, changed on the phone: kept",
       [](World& w) {
         std::erase(w.cards, w.cardOf("Nowak"));
         w.server.store(w.hrefOf("Nowak"), phone("p1", "Nowak;Ewa", "0172"));
       },
       {"Kurz;Eva|0301", "M\xFCller;Hans|0302", "Nowak;Ewa|0172"},
       "1 new, 0 changed, 0 deleted here; 0 new, 0 changed, 0 deleted on the server"},
      {"deleted on the phone, changed here: kept",
       [](World& w) {
         w.server.remove(w.hrefOf("Kurz"));
         replace(w.cardOf("Kurz"), "0301", "0399");
       },
       {"Kurz;Eva|0399", "M\xFCller;Hans|0302", "Nowak;Ewa|0171"},
       "0 new, 0 changed, 0 deleted here; 1 new, 0 changed, 0 deleted on the server"},
      {"a token the server no longer knows: everything compared again, nothing doubled",
       [](World& w) {
         w.server.store(w.hrefOf("Nowak"), phone("p1", "Nowak;Ewa", "0172"));
         w.server.oldestToken = w.server.version;
       },
       {"Kurz;Eva|0301", "M\xFCller;Hans|0302", "Nowak;Ewa|0172"},
       "0 new, 1 changed, 0 deleted here; 0 new, 0 changed, 0 deleted on the server"},
      {"a server without sync reports",
       [](World& w) {
         w.server.noSyncReport = true;
         replace(w.cardOf("Kurz"), "0301", "0399");
       },
       {"Kurz;Eva|0399", "M\xFCller;Hans|0302", "Nowak;Ewa|0171"},
       "0 new, 0 changed, 0 deleted here; 0 new, 1 changed, 0 deleted on the server"},
  };
  for (const Row& row : rows) {
    World world;
    world.cards = {own("Kurz;Eva", "0301"), own("M\xFCller;Hans", "0302")};
    world.server.store(std::string(FakeCardDavServer::collection) + "p1.vcf",
                       phone("p1", "Nowak;Ewa", "0171"));
    ASSERT_EQ(world.sync().result, SyncResult::done) << row.what;
    ASSERT_EQ(world.here(), start) << row.what;
    row.change(world);
    SyncOutcome outcome = world.sync();
    EXPECT_EQ(outcome.result, SyncResult::done) << row.what << ": " << outcome.detail;
    EXPECT_EQ(carddav::summary(outcome.counts), row.summary) << row.what;
    EXPECT_EQ(world.here(), row.both) << row.what;
    EXPECT_EQ(world.there(), row.both) << row.what;
    // A run right after changes nothing, with one request.
    world.server.requests.clear();
    EXPECT_EQ(carddav::summary(world.sync().counts), rows[0].summary) << row.what;
    EXPECT_EQ(world.server.requests.size(), 1U) << row.what;
  }
}

TEST(Synchronisation, theFirstRunMatchesCardsByUid) {
  World world;
  world.cards = {phone("same", "Kurz;Eva", "0171"), own("M\xFCller;Hans", "0302")};
  world.server.store("/dav/anna/kontakte/other-name.vcf", phone("same", "Kurz;Eva", "0171"));
  ASSERT_EQ(world.sync().result, SyncResult::done);
  EXPECT_EQ(world.there(), (std::vector<std::string>{"Kurz;Eva|0171", "M\xFCller;Hans|0302"}));
  EXPECT_EQ(world.here(), world.there());
}

// A server takes long to list thousands of cards: the first run asks the
// address book for itself alone, lists its cards once and fetches them in
// one request, as it fetches those it sent.
TEST(Synchronisation, theFirstRunListsAndFetchesTheCardsOnce) {
  World world;
  world.cards = {own("Kurz;Eva", "0301"), own("M\xFCller;Hans", "0302")};
  world.server.store("/dav/anna/kontakte/p1.vcf", phone("p1", "Nowak;Ewa", "0171"));
  world.server.store("/dav/anna/kontakte/p2.vcf", phone("p2", "Handy;Hugo", "0173"));
  ASSERT_EQ(world.sync().result, SyncResult::done);
  std::vector<std::string> requests = world.server.requests;
  for (std::string& request : requests) {
    if (request.starts_with("PUT ")) request = "PUT";
  }
  const std::string report = "REPORT /dav/anna/kontakte/ depth 0";
  EXPECT_EQ(requests, (std::vector<std::string>{"PROPFIND /dav/anna/kontakte/ depth 0", report,
                                                report, "PUT", "PUT", report}));
  EXPECT_EQ(world.here(), world.there());
}

TEST(Synchronisation, aCardSentIsFoundInAnAnswerThatSpellsItsHrefOtherwise) {
  World world;
  world.cards = {phone("eva@example.org", "Kurz;Eva", "0171"), own("M\xFCller;Hans", "0302")};
  world.server.decodesHrefs = true;
  SyncOutcome outcome = world.sync();
  EXPECT_EQ(outcome.result, SyncResult::done) << outcome.detail;
  EXPECT_EQ(world.here(), world.there());
}

TEST(Synchronisation, aServerStoppedHalfWayLeavesNothingLostOrDoubled) {
  // Seven requests: the address book's own properties, its sync report,
  // four cards sent, and fetching them back.
  for (int stopAfter = 1; stopAfter < 7; ++stopAfter) {
    World world;
    for (int i = 0; i < 4; ++i)
      world.cards.push_back(own("Name" + std::to_string(i) + ";A", "030"));
    world.server.requestsLeft = stopAfter;
    EXPECT_EQ(world.sync().result, SyncResult::failed) << stopAfter;
    world.server.requestsLeft = -1;
    EXPECT_EQ(world.sync().result, SyncResult::done) << stopAfter;
    EXPECT_EQ(world.there().size(), 4U) << stopAfter;
    EXPECT_EQ(world.here(), world.there()) << stopAfter;
  }
}

TEST(Synchronisation, manyDeletionsWaitForTheUsersWord) {
  World world;
  for (int i = 0; i < 8; ++i) world.cards.push_back(own("Name" + std::to_string(i) + ";A", "030"));
  ASSERT_EQ(world.sync().result, SyncResult::done);
  world.cards.resize(2);
  SyncOutcome refused = world.sync();
  EXPECT_EQ(refused.result, SyncResult::wouldDelete);
  EXPECT_EQ(refused.deletions, 6U);
  EXPECT_EQ(world.there().size(), 8U);
  EXPECT_EQ(world.sync(true).counts.deletedThere, 6);
  EXPECT_EQ(world.there().size(), 2U);
}

TEST(Synchronisation, aCardChangedOnTheServerWhileItIsSentIsMerged) {
  World world;
  world.cards = {own("Kurz;Eva", "0301")};
  ASSERT_EQ(world.sync().result, SyncResult::done);
  replace(world.cardOf("Kurz"), "Kurz;Eva", "Kurz;Eva Maria");
  // The phone's change lands after the listing: the PUT meets 412.
  std::string href = world.hrefOf("Kurz");
  std::string phoneCard = world.server.cards.at(href).text;
  replace(phoneCard, "0301", "0311");
  world.server.requestsLeft = -1;
  world.server.beforePut = [&](FakeCardDavServer& server) { server.store(href, phoneCard); };
  SyncOutcome outcome = world.sync();
  EXPECT_EQ(outcome.result, SyncResult::done) << outcome.detail;
  EXPECT_EQ(world.there(), (std::vector<std::string>{"Kurz;Eva Maria|0311"}));
  EXPECT_EQ(world.here(), world.there());
}

}  // namespace
