#include "addressbook/vcard_writer.h"

#include <algorithm>
#include <cstring>
#include <string_view>

#include "addressbook/birthday.h"
#include "addressbook/field_table.h"

namespace addressbook {

namespace {

constexpr std::string_view lineEnd = "\r\n";
constexpr std::string_view fold = "\r\n ";
constexpr std::size_t foldLength = 70;

constexpr std::string_view cardStart = "BEGIN:VCARD";

// Ends the line written so far with the line end given. A reader takes
// "BEGIN:VCARD" + CR LF for the start of a card wherever it stands, so a
// line that would end in that text gets one more fold before its last byte;
// reading removes the fold again and the value is unchanged.
void endLine(std::string& out, std::string_view end) {
  if (out.ends_with(cardStart)) out.insert(out.size() - 1, fold);
  out.append(end);
}

// The position of the first CR or LF, or npos.
std::size_t firstLineBreak(std::string_view text) {
  const void* cr = std::memchr(text.data(), '\r', text.size());
  const void* lf = std::memchr(text.data(), '\n', text.size());
  if (cr == nullptr && lf == nullptr) return std::string_view::npos;
  const char* first = static_cast<const char*>(cr == nullptr   ? lf
                                               : lf == nullptr ? cr
                                                               : std::min(cr, lf));
  return static_cast<std::size_t>(first - text.data());
}

// A CR LF inside the value itself gets a blank after it, so that it
// continues the line instead of starting one of its own. A lone CR or LF
// (left in a value by a file with mixed line ends) is written as a blank:
// written as it is, it would change how the next read counts the line ends
// and cut the value there.
void appendValuePart(std::string& out, std::string_view part) {
  for (std::size_t at = firstLineBreak(part); at != std::string_view::npos;
       at = firstLineBreak(part)) {
    out.append(part.substr(0, at));
    if (part.substr(at, lineEnd.size()) == lineEnd) {
      endLine(out, fold);
      part.remove_prefix(at + lineEnd.size());
    } else {
      out += ' ';
      part.remove_prefix(at + 1);
    }
  }
  out.append(part);
}

// Folds a value of more than 70 bytes: for p = 70, 140, ... up to its length a
// fold goes in front of the p-th byte of the text with the earlier folds in
// it, which puts the folds after bytes 69, 136, 203, ... of the value.
void appendFolded(std::string& out, std::string_view value) {
  std::size_t folds = value.size() > foldLength ? value.size() / foldLength : 0;
  std::size_t taken = 0;
  for (std::size_t t = 1; t <= folds; ++t) {
    std::size_t foldAfter = 67 * t + 2;
    appendValuePart(out, value.substr(taken, foldAfter - taken));
    endLine(out, fold);
    taken = foldAfter;
  }
  appendValuePart(out, value.substr(taken));
}

std::size_t estimatedSize(const RecordStore& store) {
  std::size_t size = 0;
  for (std::size_t slot = 1; slot <= store.capacity(); ++slot) {
    if (!store.holdsRecord(slot)) continue;
    size += 24;
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

}  // namespace addressbook
