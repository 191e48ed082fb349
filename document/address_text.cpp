#include "document/address_text.h"

#include "addressbook/file_text.h"
#include "addressbook/vcard_reader.h"

namespace document {

AddressText readAddressText(const platform::FileSystem& files, std::string_view path,
                            const DiskFile* remembered) {
  AddressText read;
  if (!files.isFile(path)) return read;
  auto stamp = files.stamp(path);
  read.text = files.readFile(path).value_or(std::string());
  read.disk = diskFileOf(std::string(path), stamp, read.text);
  if (remembered != nullptr && read.disk.path == remembered->path &&
      read.disk.size == remembered->size && read.disk.hash == remembered->hash) {
    read.result = ReadResult::same;
    return read;
  }
  addressbook::prepareFileText(read.text);
  read.cards = addressbook::findCards(read.text);
  read.result = read.cards.empty() ? ReadResult::noCards : ReadResult::read;
  return read;
}

}  // namespace document
