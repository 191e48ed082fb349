#include "tools/vcftool/vcftool_command.h"

#include <optional>
#include <string>
#include <vector>

#include "addressbook/field_table.h"
#include "addressbook/record_filter.h"
#include "addressbook/vcard_reader.h"
#include "addressbook/vcard_writer.h"
#include "document/address_text.h"
#include "text/cp1252.h"

namespace vcftool {

namespace {

constexpr std::string_view usage =
    "usage: vcftool dump FILE [FILTER]\n"
    "       vcftool save FILE OUT\n"
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

}  // namespace

int run(std::span<const std::string_view> args, platform::FileSystem& files, std::ostream& out,
        std::ostream& err) {
  if (args.size() >= 2 && args.size() <= 3 && args[0] == "dump") {
    return dump(files, args[1], args.size() == 3 ? args[2] : std::string_view(), out, err);
  }
  if (args.size() == 3 && args[0] == "save") return save(files, args[1], args[2], err);
  if (args.size() == 1 && args[0] == "--help") {
    out << usage;
    return 0;
  }
  err << usage;
  return 2;
}

}  // namespace vcftool
