#include "tools/vcftool/vcftool_command.h"

#include <optional>
#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "addressbook/record_filter.h"
#include "addressbook/vcard_reader.h"
#include "addressbook/vcard_writer.h"
#include "app/setting_keys.h"
#include "carddav/synchronisation.h"
#include "document/address_text.h"
#include "document/file_sync.h"
#include "platform/ini_profile_file.h"
#include "platform/path.h"
#include "platform/settings.h"
#include "text/cp1252.h"

namespace vcftool {

namespace {

constexpr std::string_view usage =
    "usage: vcftool dump FILE [FILTER]\n"
    "       vcftool save FILE OUT\n"
    "       vcftool sync FILE [--allow-deletes]\n"
    "       vcftool --help\n";

// Reads path as the program reads an address file; reports the program's
// message and gives nothing when that would stop the load.
std::optional<addressbook::RecordStore> readAddressFile(platform::FileSystem& files,
                                                        std::string_view path, std::ostream& err) {
  document::AddressText read = document::readAddressText(files, path);
  switch (read.result) {
    case document::ReadResult::read:
    case document::ReadResult::same:
      break;
    case document::ReadResult::missing:
      err << "File ?: " << text::cp1252::toUtf8(path) << '\n';
      return std::nullopt;
    case document::ReadResult::noCards:
      err << "No Vcards !!: " << text::cp1252::toUtf8(path) << '\n';
      return std::nullopt;
  }
  return addressbook::readCards(std::move(read.text), std::move(read.cards));
}

// A field as readable UTF-8 that keeps every byte visible: a backslash is
// doubled, control bytes and the undefined bytes are written as \xNN.
std::string printable(std::string_view value) {
  static constexpr char hex[] = "0123456789ABCDEF";
  std::string out;
  text::cp1252::forEachCharacter(value, [&](char32_t codePoint) {
    // The five undefined bytes read as the C1 controls of their numbers.
    bool control = codePoint < 0x20 || codePoint == 0x7F || (codePoint >= 0x80 && codePoint < 0xA0);
    if (codePoint == '\\') {
      out += "\\\\";
    } else if (control) {
      out += "\\x";
      out += hex[codePoint >> 4];
      out += hex[codePoint & 0x0F];
    } else {
      text::cp1252::appendUtf8(out, codePoint);
    }
  });
  return out;
}

int dump(platform::FileSystem& files, std::string_view path, std::string_view utf8Filter,
         std::ostream& out, std::ostream& err) {
  auto filter = text::cp1252::textFromUtf8(utf8Filter);
  if (!filter) {
    err << "vcftool: the filter is not UTF-8\n";
    return 2;
  }
  auto store = readAddressFile(files, path, err);
  if (!store) return 1;
  out << "capacity " << store->capacity() << '\n';
  for (std::uint32_t slot : addressbook::filterRecords(*store, text::cp1252::toUpper(*filter))) {
    out << slot;
    for (int f = 1; f <= addressbook::fieldCount(); ++f)
      out << '\t' << printable(store->field(slot, f));
    out << '\n';
  }
  return 0;
}

int save(platform::FileSystem& files, std::string_view path, std::string_view target,
         std::ostream& err) {
  auto store = readAddressFile(files, path, err);
  if (!store) return 1;
  if (!files.replaceFile(target, addressbook::savedFileText(*store))) {
    err << "vcftool: cannot write " << text::cp1252::toUtf8(target) << '\n';
    return 1;
  }
  return 0;
}

std::string failureText(const carddav::SyncOutcome& sync, std::string_view url) {
  switch (sync.failure) {
    case carddav::SyncFailure::unreachable:
      return "cannot reach the server: " + sync.detail;
    case carddav::SyncFailure::timedOut:
      return "the server did not answer in time: " + sync.detail;
    case carddav::SyncFailure::certificate:
      return "the server's certificate was refused: " + sync.detail;
    case carddav::SyncFailure::tooLarge:
      return "an answer of the server was too large: " + sync.detail;
    case carddav::SyncFailure::broken:
      return "the connection broke off: " + sync.detail;
    case carddav::SyncFailure::unauthorised:
      return "the server refused the user name or the password";
    case carddav::SyncFailure::noAddressBook:
      return "no address book found at " + std::string(url);
    case carddav::SyncFailure::serverError:
      return "the server answered " + std::to_string(sync.status) + " to " + sync.detail;
    case carddav::SyncFailure::badAnswer:
      return "an answer of the server could not be read: " + sync.detail;
    case carddav::SyncFailure::none:
      break;
  }
  return "failed";
}

int sync(platform::FileSystem& files, std::string_view path, bool allowDeletes,
         const SyncSetup& setup, std::ostream& out, std::ostream& err) {
  platform::IniProfileFile profile(files);
  platform::Settings settings(profile, setup.configFile);
  carddav::Account account{
      settings.read(app::setting::carddavUrl),
      text::cp1252::textToUtf8(settings.read(app::setting::carddavUser)),
      {},
  };
  if (setup.configFile.empty() || account.url.empty()) {
    err << "vcftool: no server configured ([CardDAV] Url= in "
        << text::cp1252::toUtf8(setup.configFile.empty() ? std::string("zudedo.conf")
                                                         : setup.configFile)
        << ")\n";
    return 1;
  }
  std::optional<std::string> password = setup.password;
  if (!password && !account.user.empty() && setup.keyring)
    password = setup.keyring->password(account.url, account.user);
  if (!account.user.empty() && !password) {
    err << "vcftool: no password: set ZUDEDO_CARDDAV_PASSWORD or keep it in the keyring "
           "through the program's settings dialog\n";
    return 1;
  }
  account.password = password.value_or("");
  document::Backups backups(platform::path::join(setup.stateFolder, "backups"));
  document::FileSync fileSync(files, setup.clock, backups, setup.stateFolder);
  std::string absolute = platform::path::isAbsolute(path)
                             ? std::string(path)
                             : platform::path::join(files.currentDirectory(), path);
  document::FileSyncOutcome outcome = fileSync.run(absolute, setup.http, account, allowDeletes);
  std::string name = text::cp1252::toUtf8(path);
  if (outcome.failedBackup) {
    err << "vcftool: could not keep a copy of " << name << " in the backups\n";
  }
  switch (outcome.result) {
    case document::FileSyncResult::synchronised:
      out << carddav::summary(outcome.sync.counts) << '\n';
      return 0;
    case document::FileSyncResult::wouldDelete:
      err << "vcftool: the synchronisation would delete " << outcome.sync.deletions
          << " cards; nothing was done (--allow-deletes allows it)\n";
      return 1;
    case document::FileSyncResult::failed:
      err << "vcftool: " << failureText(outcome.sync, account.url) << '\n';
      return 1;
    case document::FileSyncResult::unreadable:
      err << "vcftool: cannot read " << name << " as an address file\n";
      return 1;
    case document::FileSyncResult::fileChanged:
      err << "vcftool: " << name << " was changed by another program meanwhile; run sync again\n";
      return 1;
    case document::FileSyncResult::writeFailed:
      err << "vcftool: cannot write " << name << " or the synchronisation's state\n";
      return 1;
  }
  return 1;
}

}  // namespace

int run(std::span<const std::string_view> args, platform::FileSystem& files, std::ostream& out,
        std::ostream& err, const std::function<SyncSetup()>& makeSyncSetup) {
  if (args.size() >= 2 && args.size() <= 3 && args[0] == "dump") {
    return dump(files, args[1], args.size() == 3 ? args[2] : std::string_view(), out, err);
  }
  if (args.size() == 3 && args[0] == "save") return save(files, args[1], args[2], err);
  bool allowDeletes = args.size() == 3 && args[2] == "--allow-deletes";
  if ((args.size() == 2 || allowDeletes) && args[0] == "sync" && makeSyncSetup) {
    return sync(files, args[1], allowDeletes, makeSyncSetup(), out, err);
  }
  if (args.size() == 1 && args[0] == "--help") {
    out << usage;
    return 0;
  }
  err << usage;
  return 2;
}

}  // namespace vcftool
