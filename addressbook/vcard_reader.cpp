#include "addressbook/vcard_reader.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "addressbook/birthday.h"
#include "addressbook/card_fields.h"
#include "addressbook/content_line.h"
#include "addressbook/field_table.h"
#include "addressbook/file_text.h"
#include "addressbook/folding.h"
#include "addressbook/numbers.h"

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

  // whole: the card from its BEGIN line on; body: what follows that line.
  // A card of the program's own lines is read as they are; any other card
  // field by field from its properties, and its text is kept.
  void read(std::string_view whole, std::string_view body, std::size_t slot) {
    Lines lines = whole.starts_with(cardSeparator) ? readOwnLines(body, slot) : Lines::others;
    bool own = lines == Lines::own || (lines == Lines::folded && readFolded(body, slot));
    if (own) return;
    // Nothing but stray line breaks: saved, it would be the empty card.
    if (writesEmptyCard(whole)) {
      for (int f = 1; f <= fieldCount(); ++f) store_.setFieldView(slot, f, {});
      return;
    }
    readOthers(whole, slot);
  }

 private:
  // What a card's lines turned out to be, as far as they were read.
  enum class Lines { own, folded, others };

  // Reads a card up to its first fold or its first line that is none of the
  // program's own.
  Lines readOwnLines(std::string_view card, std::size_t slot) {
    Lines lines = Lines::own;
    forEachLine(card, [&](std::string_view line, bool continuesCard) {
      if (continuesCard && !line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        lines = Lines::folded;
      } else if (!storeOwnLine(line, slot, false)) {
        lines = Lines::others;
      }
      return lines == Lines::own;
    });
    return lines;
  }

  // The card holds folded lines: start over on an unfolded copy.
  bool readFolded(std::string_view card, std::size_t slot) {
    for (int f = 1; f <= fieldCount(); ++f) store_.setFieldView(slot, f, {});
    unfolded_.assign(card);
    removeAll(unfolded_, "\r\n ");
    removeAll(unfolded_, "\r\n\t");
    bool own = true;
    forEachLine(unfolded_, [&](std::string_view line, bool) {
      own = storeOwnLine(line, slot, true);
      return own;
    });
    return own;
  }

  // A card that holds more than the program's own lines.
  void readOthers(std::string_view whole, std::size_t slot) {
    CardFields fields = readCardFields(whole);
    for (int f = 1; f <= fieldCount(); ++f) {
      store_.setField(slot, f, fields.shown[static_cast<std::size_t>(f - 1)]);
    }
    store_.setCard(slot, whole);
  }

  // Stores the value of one of the program's own lines; false for any other
  // line, and for a birthday that the program's own form cannot show (which
  // the card keeps as it came). Values that need no change stay views of the
  // file text unless the line itself is temporary.
  bool storeOwnLine(std::string_view line, std::size_t slot, bool lineIsTemporary) {
    if (line.empty() || line == cardEnd) return true;
    int f = ownField(line);
    if (f == 0) return false;
    std::string_view value = line.substr(fieldKey(f)->size() + 1);
    if (f == field::birthday) {
      value_.clear();
      appendWithUtf8Letters(value_, value);
      if (!value.empty() && !showsAndSavesAgain(value_)) return false;
      store_.setField(slot, f, value_);
    } else if (mayHoldUtf8Letters(value)) {
      value_.clear();
      appendWithUtf8Letters(value_, value);
      store_.setField(slot, f, value_);
    } else if (lineIsTemporary) {
      store_.setField(slot, f, value);
    } else {
      store_.setFieldView(slot, f, value);
    }
    return true;
  }

  // Whether the program can show a birthday of the file and write the shown
  // value back; value becomes the shown form. A value in display form is
  // checked by its conversion; one in file form always converts, and unless
  // it is in the form the program writes, the shown value is converted back
  // to see whether it can be.
  bool showsAndSavesAgain(std::string& value) {
    bool check =
        !isPlainFileBirthday(value) && part(value, ';', 1).find('-') != std::string_view::npos;
    if (convertBirthday(value).empty()) return false;
    if (!check) return true;
    birthdayCheck_ = value;
    return !convertBirthday(birthdayCheck_).empty();
  }

  static constexpr std::string_view cardEnd = "END:VCARD";

  RecordStore& store_;
  std::string unfolded_;
  std::string value_;
  std::string birthdayCheck_;
};

std::vector<std::size_t> findCards(std::string_view text) {
  constexpr std::string_view byteOrderMark = "\xEF\xBB\xBF";
  std::size_t firstLine = text.starts_with(byteOrderMark) ? byteOrderMark.size() : 0;
  auto isLineStart = [&](std::size_t at) {
    return at == firstLine || (at > 0 && text[at - 1] == '\n');
  };
  // Whether a card starts at the 'V' or 'v' at v: the card separator, unless
  // the next line continues its line as a fold (a card that another program
  // nests in an AGENT line); or a line of it in another letter case, as
  // other programs write it ("begin:vcard", "BEGIN:vCard").
  constexpr std::size_t vAt = 6;  // "BEGIN:" before it
  auto startsCard = [&](std::size_t v) {
    std::size_t at = v - vAt;
    std::string_view candidate = text.substr(at, cardSeparator.size());
    if (candidate == cardSeparator) {
      std::size_t next = at + cardSeparator.size();
      bool folded = next < text.size() && (text[next] == ' ' || text[next] == '\t');
      return isLineStart(at) || !folded;
    }
    return candidate.size() == cardSeparator.size() && isLineStart(at) &&
           equalsIgnoringCase(candidate, cardSeparator);
  };
  std::vector<std::size_t> separators;
  std::size_t upper = 0;
  for (char v : {'V', 'v'}) {
    for (std::size_t at = findFrom(text, std::string_view(&v, 1), vAt);
         at != std::string_view::npos; at = findFrom(text, std::string_view(&v, 1), at + 1)) {
      if (startsCard(at)) separators.push_back(at - vAt);
    }
    if (v == 'V') upper = separators.size();
  }
  std::inplace_merge(separators.begin(), separators.begin() + static_cast<std::ptrdiff_t>(upper),
                     separators.end());
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
    std::size_t begin = separators_[slot - 1];
    std::size_t end = slot < total() ? separators_[slot] : text_.size();
    std::string_view whole = text_.substr(begin, end - begin);
    reader_->read(whole, whole.substr(cardSeparator.size()), slot);
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
