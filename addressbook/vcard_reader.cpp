#include "addressbook/vcard_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "addressbook/birthday.h"
#include "addressbook/field_table.h"
#include "addressbook/file_text.h"

namespace addressbook {

namespace {

// The next occurrence of pattern at or after from. The search runs over
// windows that double in size, so that each call reads about as far as the
// match lies, even where the bytes it is given are checked whole (a memory
// checker does that), and a file of a million tiny cards stays quick to
// check.
std::size_t findFrom(std::string_view text, std::string_view pattern, std::size_t from) {
  for (std::size_t window = 4096; from < text.size(); window *= 2) {
    std::size_t end = std::min(text.size(), from + window);
    std::size_t hit = text.substr(0, end).find(pattern, from);
    if (hit != std::string_view::npos) return hit;
    if (end == text.size()) break;
    from = end - (pattern.size() - 1);
  }
  return std::string_view::npos;
}

// Removes every occurrence of pattern in one pass from left to right, as a
// replace-all does: removal may bring new occurrences together, which stay.
void removeAll(std::string& text, std::string_view pattern) {
  std::size_t out = 0;
  std::size_t in = 0;
  while (true) {
    std::size_t next = text.find(pattern.front(), in);
    std::size_t end = next == std::string::npos ? text.size() : next;
    if (out != in) std::memmove(text.data() + out, text.data() + in, end - in);
    out += end - in;
    in = end;
    if (next == std::string::npos) break;
    if (text.compare(in, pattern.size(), pattern) == 0) {
      in += pattern.size();
    } else {
      text[out++] = text[in++];
    }
  }
  text.resize(out);
}

// Calls lineFn for every line of card (split at CR LF) until it returns false.
template <typename LineFn>
bool forEachLine(std::string_view card, LineFn lineFn) {
  std::size_t start = 0;
  std::size_t search = 0;
  while (true) {
    const void* hit = search < card.size()
                          ? std::memchr(card.data() + search, '\n', card.size() - search)
                          : nullptr;
    if (hit == nullptr) return lineFn(card.substr(start), start != 0);
    auto lf = static_cast<std::size_t>(static_cast<const char*>(hit) - card.data());
    search = lf + 1;
    if (lf == start || card[lf - 1] != '\r') continue;  // a lone LF is part of the line
    if (!lineFn(card.substr(start, lf - 1 - start), start != 0)) return false;
    start = lf + 1;
  }
}

}  // namespace

class StoreReader::CardReader {
 public:
  explicit CardReader(RecordStore& store) : store_(store) {}

  void read(std::string_view card, std::size_t slot) {
    bool folded = false;
    forEachLine(card, [&](std::string_view line, bool continuesCard) {
      if (continuesCard && !line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        folded = true;
        return false;
      }
      storeLine(line, slot, false);
      return true;
    });
    if (folded) readFolded(card, slot);
  }

 private:
  // The card holds folded lines: start over on an unfolded copy.
  void readFolded(std::string_view card, std::size_t slot) {
    for (int f = 1; f <= fieldCount(); ++f) store_.setFieldView(slot, f, {});
    unfolded_.assign(card);
    removeAll(unfolded_, "\r\n ");
    removeAll(unfolded_, "\r\n\t");
    forEachLine(unfolded_, [&](std::string_view line, bool) {
      storeLine(line, slot, true);
      return true;
    });
  }

  // Stores the value of a line that matches a key. Values that need no change
  // stay views of the file text unless the line itself is temporary.
  void storeLine(std::string_view line, std::size_t slot, bool lineIsTemporary) {
    int f = matchField(line);
    if (f == 0) return;
    std::size_t colon = line.find(':');
    std::string_view value =
        colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
    if (f == field::birthday) {
      value_.clear();
      appendWithUtf8Letters(value_, value);
      store_.setField(slot, f, convertBirthday(value_));
    } else if (mayHoldUtf8Letters(value)) {
      value_.clear();
      appendWithUtf8Letters(value_, value);
      store_.setField(slot, f, value_);
    } else if (lineIsTemporary) {
      store_.setField(slot, f, value);
    } else {
      store_.setFieldView(slot, f, value);
    }
  }

  RecordStore& store_;
  std::string unfolded_;
  std::string value_;
};

std::vector<std::size_t> findCards(std::string_view text) {
  std::vector<std::size_t> separators;
  for (std::size_t at = findFrom(text, cardSeparator, 0); at != std::string_view::npos;
       at = findFrom(text, cardSeparator, at + cardSeparator.size())) {
    separators.push_back(at);
  }
  return separators;
}

std::size_t countCards(std::string_view text) { return findCards(text).size(); }

StoreReader::StoreReader(std::string text, std::vector<std::size_t> separators)
    : separators_(std::move(separators)) {
  store_.reset(capacityFor(separators_.size()));
  if (separators_.empty()) return;
  text_ = store_.adoptText(std::move(text));
  reader_ = std::make_unique<CardReader>(store_);
}

StoreReader::~StoreReader() = default;

void StoreReader::readThrough(std::size_t last) {
  last = std::min(last, total());
  for (std::size_t slot = cardsRead_ + 1; slot <= last; ++slot) {
    std::size_t pos = separators_[slot - 1] + cardSeparator.size();
    std::size_t end = slot < total() ? separators_[slot] : text_.size();
    reader_->read(text_.substr(pos, end - pos), slot);
  }
  cardsRead_ = std::max(cardsRead_, last);
}

RecordStore StoreReader::takeStore() { return std::move(store_); }

RecordStore readCards(std::string text, std::vector<std::size_t> separators) {
  StoreReader reader(std::move(text), std::move(separators));
  reader.readThrough(reader.total());
  return reader.takeStore();
}

RecordStore readCards(std::string text, std::size_t cardCount) {
  std::vector<std::size_t> separators = findCards(text);
  separators.resize(std::min(separators.size(), cardCount));
  return readCards(std::move(text), std::move(separators));
}

}  // namespace addressbook
