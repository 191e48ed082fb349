#include "document/file_sync.h"

#include <cstdio>

#include "addressbook/content_hash.h"
#include "addressbook/vcard_reader.h"
#include "addressbook/vcard_writer.h"
#include "document/address_text.h"
#include "platform/path.h"

namespace document {

FileSync::FileSync(platform::FileSystem& files, const platform::Clock& clock, Backups& backups,
                   std::string stateFolder)
    : files_(files), clock_(clock), backups_(backups), stateFolder_(std::move(stateFolder)) {}

std::string FileSync::statePath(std::string_view path, const carddav::Account& account) const {
  std::string key = std::string(path) + "\n" + account.url;
  char tag[17];
  std::snprintf(tag, sizeof tag, "%016llx",
                static_cast<unsigned long long>(addressbook::hashBytes(key)));
  std::string_view name = platform::path::nameOf(path);
  return platform::path::join(stateFolder_,
                              std::string(name.substr(0, 64)) + "_" + tag + ".carddav");
}

FileSyncResult FileSync::write(std::string_view path, const std::vector<std::string>& cards,
                               std::string& remembered, bool overwritesCards,
                               FileSyncOutcome& outcome) {
  std::string bytes;
  for (const std::string& card : cards) bytes += card;
  if (cards.empty()) bytes = addressbook::emptyAddressFileText;
  auto failedBackup = overwritesCards ? backups_.beforeOverwritingChanges(path, files_, clock_)
                                      : backups_.beforeFirstWrite(path, files_, clock_);
  if (failedBackup) outcome.failedBackup = failedBackup;
  bool changedMeanwhile = false;
  bool written = files_.replaceFileIf(path, bytes, [&](std::string_view displaced) {
    changedMeanwhile = files_.readFile(displaced) != remembered;
    return !changedMeanwhile;
  });
  if (changedMeanwhile) return FileSyncResult::fileChanged;
  if (!written) return FileSyncResult::writeFailed;
  remembered = std::move(bytes);
  return FileSyncResult::synchronised;
}

FileSyncOutcome FileSync::run(std::string_view path, platform::Http& http,
                              const carddav::Account& account, bool allowDeletes,
                              const carddav::Progress& progress) {
  FileSyncOutcome outcome;
  // Without its state a run could not tell a card deleted here from one
  // new on the server.
  if (stateFolder_.empty()) {
    outcome.result = FileSyncResult::writeFailed;
    return outcome;
  }
  AddressText read = readAddressText(files_, path);
  std::optional<std::string> remembered = files_.readFile(path);
  if (read.result == ReadResult::missing || read.result == ReadResult::noCards || !remembered) {
    outcome.result = FileSyncResult::unreadable;
    return outcome;
  }
  // The cards as a save would write them: only those that hold a record.
  std::string text = addressbook::addressFileText(
      addressbook::readCards(std::move(read.text), std::move(read.cards)));
  std::vector<std::string> cards;
  std::vector<std::size_t> starts = addressbook::findCards(text);
  for (std::size_t i = 0; i < starts.size(); ++i) {
    std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
    cards.push_back(text.substr(starts[i], end - starts[i]));
  }
  if (carddav::giveUids(cards)) {
    outcome.result = write(path, cards, *remembered, false, outcome);
    if (outcome.result != FileSyncResult::synchronised) return outcome;
  }

  std::string statePath = this->statePath(path, account);
  std::optional<std::string> stateBytes = files_.readFile(statePath);
  std::optional<carddav::SyncState> state;
  if (stateBytes) state = carddav::readSyncState(*stateBytes);
  outcome.sync = carddav::synchronise(http, account, cards, state, allowDeletes, progress);
  if (outcome.sync.result == carddav::SyncResult::failed) {
    outcome.result = FileSyncResult::failed;
    return outcome;
  }
  if (outcome.sync.result == carddav::SyncResult::wouldDelete) {
    outcome.result = FileSyncResult::wouldDelete;
    return outcome;
  }
  if (outcome.sync.cardsChanged) {
    const carddav::SyncCounts& counts = outcome.sync.counts;
    bool overwrites = counts.changedHere > 0 || counts.deletedHere > 0;
    outcome.result = write(path, outcome.sync.cards, *remembered, overwrites, outcome);
    // Without the cards here, the state would not describe them: the next
    // run compares everything again.
    if (outcome.result != FileSyncResult::synchronised) return outcome;
  }
  std::string newState = carddav::writeSyncState(outcome.sync.state);
  if (newState == stateBytes) return outcome;
  files_.createFolder(stateFolder_);
  if (!files_.replaceFile(statePath, newState)) outcome.result = FileSyncResult::writeFailed;
  return outcome;
}

}  // namespace document
