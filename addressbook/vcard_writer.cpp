#include "addressbook/vcard_writer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "addressbook/birthday.h"
#include "addressbook/card_writer.h"
#include "addressbook/field_table.h"
#include "addressbook/folding.h"

namespace addressbook {

namespace {

std::size_t estimatedSize(const RecordStore& store) {
  std::size_t size = 0;
  for (std::size_t slot = 1; slot <= store.capacity(); ++slot) {
    if (!store.holdsRecord(slot)) continue;
    size += 24 + store.card(slot).size();
    for (int f = 1; f <= fieldCount(); ++f) {
      std::size_t value = store.field(slot, f).size();
      if (value > 0) size += 16 + value + value / 20;
    }
  }
  return size;
}

}  // namespace

std::string addressFileText(const RecordStore& store) {
  std::string out;
  if (!store.hasSlots()) return out;
  out.reserve(estimatedSize(store));
  std::string birthday;
  for (std::size_t slot = 1; slot <= store.capacity(); ++slot) {
    if (!store.holdsRecord(slot)) continue;
    if (!store.card(slot).empty()) {
      appendKeptCard(out, store, slot);
      continue;
    }
    out.append("BEGIN:VCARD").append(lineEnd);
    for (int f = 1; f <= fieldCount(); ++f) {
      std::string_view value = store.field(slot, f);
      if (value.empty()) continue;
      out.append(*fieldKey(f)).append(":");
      if (f == field::birthday) {
        birthday.assign(value);
        value = convertBirthday(birthday);
      }
      appendFolded(out, value);
      endLine(out, lineEnd);
    }
    out.append("END:VCARD").append(lineEnd);
  }
  return out;
}

std::string savedFileText(const RecordStore& store) {
  std::string text = addressFileText(store);
  if (text.empty()) text = emptyAddressFileText;
  return text;
}

}  // namespace addressbook
