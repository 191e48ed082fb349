// The reader against a plain model of the file format, written here step by
// step as the format is defined (line ends, cards, unfolding, lines, keys,
// values), on many small random files built from the pieces that matter.
// The reader itself takes shortcuts (views into the file text, a second pass
// only for cards with folds); the model takes none. What the reader shows of
// cards that other programs wrote is checked line by line in the field table
// test and on real files in the corpus test.

#include "addressbook/vcard_reader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "addressbook/birthday.h"
#include "addressbook/field_table.h"
#include "addressbook/file_text.h"
#include "addressbook/vcard_writer.h"

namespace {

using namespace std::string_literals;
namespace field = addressbook::field;

std::string replaceAll(std::string text, std::string_view from, std::string_view to) {
  std::string out;
  std::size_t at = 0;
  for (std::size_t hit = text.find(from); hit != std::string::npos; hit = text.find(from, at)) {
    out.append(text, at, hit - at).append(to);
    at = hit + from.size();
  }
  out.append(text, at);
  return out;
}

std::string modelLineEnds(std::string text) {
  auto cr = std::count(text.begin(), text.end(), '\r');
  auto lf = std::count(text.begin(), text.end(), '\n');
  if (lf > cr) return replaceAll(replaceAll(text, "\r\n", "\n"), "\n", "\r\n");
  if (cr > lf) return replaceAll(replaceAll(text, "\r\n", "\r"), "\r", "\r\n");
  return text;
}

// Code points of the Windows-1252 bytes 0x80 to 0x9F (0 where undefined).
constexpr std::array<char32_t, 32> high1252{
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

int modelByteOf(char32_t cp) {
  if (cp >= 0xA0 && cp <= 0xFF) return static_cast<int>(cp);
  for (std::size_t i = 0; i < high1252.size(); ++i) {
    if (high1252[i] != 0 && high1252[i] == cp) return 0x80 + static_cast<int>(i);
  }
  return -1;
}

std::string modelUtf8Letters(std::string_view text) {
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    unsigned char lead = byte(i);
    std::size_t length = lead >= 0xC2 && lead <= 0xDF   ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3
                         : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                        : 0;
    char32_t cp = length == 2 ? lead & 0x1F : length == 3 ? lead & 0x0F : lead & 0x07;
    bool wellFormed = length > 0 && i + length <= text.size();
    for (std::size_t k = 1; wellFormed && k < length; ++k) {
      wellFormed = (byte(i + k) & 0xC0) == 0x80;
      cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (wellFormed) {
      char32_t minimum = length == 2 ? 0x80 : length == 3 ? 0x800 : 0x10000;
      wellFormed = cp >= minimum && cp <= 0x10FFFF && (cp < 0xD800 || cp > 0xDFFF);
    }
    int converted = wellFormed ? modelByteOf(cp) : -1;
    if (converted >= 0) {
      out += static_cast<char>(converted);
      i += length;
    } else {
      out += text[i++];
    }
  }
  return out;
}

// The row of one of the program's own lines, key and ":" spelled exactly as
// the program writes them; 0 for any other line.
int modelOwnRow(std::string_view line) {
  static const char* keys[] = {
      "N:", "TEL;WORK:", "TEL;HOME:", "TEL;CELL:", "TEL;FAX:", "EMAIL:", "BDAY:", "NOTE:"};
  for (int k = 0; k < 8; ++k) {
    if (line.starts_with(keys[k])) return k + 1;
  }
  return 0;
}

bool modelStartsCard(std::string_view text, std::size_t at) {
  const std::string_view separator = "BEGIN:VCARD\r\n";
  std::string_view candidate = text.substr(at, separator.size());
  bool lineStart = at == 0 || text[at - 1] == '\n';
  if (candidate == separator) {
    // Inside a line, a fold after it makes it part of the line.
    std::string_view next = text.substr(at + separator.size(), 1);
    return lineStart || (next != " " && next != "\t");
  }
  if (!lineStart) return false;
  return candidate.size() == separator.size() &&
         std::ranges::equal(candidate, separator, [](char a, char b) {
           return std::toupper(static_cast<unsigned char>(a)) == b;
         });
}

// A card of the program's own lines gives its fields (for a key given twice
// the last line counts); any other card is kept as it came, and the model
// does not say what it shows.
struct ModelCard {
  std::string text;
  bool own = true;
  std::array<std::string, 8> fields;
};

// Whether every line is empty or the END line once the line breaks at its
// start (and the blanks after them) are gone: stray line breaks only.
bool holdsNothing(const std::string& body) {
  std::regex strayBreaks("^[\r\n]+[ \t]*");
  std::size_t lineStart = 0;
  for (std::size_t lineEnd = 0; lineEnd != std::string::npos; lineStart = lineEnd + 2) {
    lineEnd = body.find("\r\n", lineStart);
    std::string line = std::regex_replace(body.substr(lineStart, lineEnd - lineStart), strayBreaks,
                                          "", std::regex_constants::format_first_only);
    if (!line.empty() && line != "END:VCARD") return false;
  }
  return true;
}

ModelCard modelCard(std::string text) {
  ModelCard card;
  card.text = text;
  card.own = text.starts_with("BEGIN:VCARD\r\n");
  std::string body = replaceAll(replaceAll(text.substr(13), "\r\n ", ""), "\r\n\t", "");
  std::size_t lineStart = 0;
  while (card.own) {
    std::size_t lineEnd = body.find("\r\n", lineStart);
    std::string line = body.substr(
        lineStart, lineEnd == std::string::npos ? std::string::npos : lineEnd - lineStart);
    int row = modelOwnRow(line);
    std::string value = modelUtf8Letters(line.substr(line.find(':') + 1));
    if (row == field::birthday && !value.empty()) {
      // A birthday that the program cannot show and write back again keeps
      // its card as it came.
      addressbook::convertBirthday(value);
      std::string written = value;
      if (value.empty() || addressbook::convertBirthday(written).empty()) card.own = false;
    }
    if (row > 0) {
      card.fields[static_cast<std::size_t>(row - 1)] = value;
    } else if (!line.empty() && line != "END:VCARD") {
      card.own = false;
    }
    if (lineEnd == std::string::npos) break;
    lineStart = lineEnd + 2;
  }
  if (!card.own && card.text.starts_with("BEGIN:VCARD\r\n") && holdsNothing(card.text.substr(13)))
    card = ModelCard{};  // saved, it would be the empty card
  return card;
}

std::vector<ModelCard> modelRead(std::string text) {
  text = modelLineEnds(std::move(text));
  std::vector<std::size_t> starts;
  for (std::size_t at = 0; at < text.size(); ++at) {
    if (modelStartsCard(text, at)) starts.push_back(at);
  }
  std::vector<ModelCard> cards;
  for (std::size_t i = 0; i < starts.size(); ++i) {
    std::size_t end = i + 1 < starts.size() ? starts[i + 1] : text.size();
    cards.push_back(modelCard(text.substr(starts[i], end - starts[i])));
  }
  return cards;
}

std::string escaped(std::string_view text) {
  std::string out;
  for (char c : text) {
    auto b = static_cast<unsigned char>(c);
    if (b >= 0x20 && b < 0x7F) {
      out += c;
    } else {
      char code[8];
      std::snprintf(code, sizeof code, "\\x%02X", b);
      out += code;
    }
  }
  return out;
}

TEST(ReadCards, agreesWithAPlainModelOfTheFormatOnRandomFiles) {
  // Files of random lines: a line start (mostly one of the program's own
  // keys, else another spelling or another property), some value pieces,
  // and a line end of any kind.
  const std::vector<std::string> starts{
      "BEGIN:VCARD", "BEGIN:VCARD", "N:",        "N:",    "TEL;WORK:", "TEL;HOME:", "TEL;CELL:",
      "TEL;FAX:",    "EMAIL:",      "BDAY:",     "BDAY:", "NOTE:",     "END:VCARD", "",
      "n:",          "begin:vcard", "NICKNAME:", "TEL:",  "note;x=1:", "N",         " N:",
      "BEGIN:vCard", "X-A:"};
  const std::vector<std::string> pieces{"a",
                                        ";",
                                        ":",
                                        "-",
                                        ".",
                                        "T",
                                        "12",
                                        "1961-03-07T08:30",
                                        "07.03.1961;8:30",
                                        "\xC3",
                                        "\xBC",
                                        "\xA4",
                                        "\xE2\x82\xAC",
                                        "\xC2\x80",
                                        "\xE2",
                                        "\x82",
                                        "\x07",
                                        "\0"s,
                                        "\r\n ",
                                        "\r\n\t",
                                        " ",
                                        "BEGIN:VCARD"};
  const std::vector<std::string> lineEnds{"\r\n", "\r\n", "\r\n", "\r\n", "\r", "\n", ""};
  std::mt19937 random(12345);
  for (int round = 0; round < 20000; ++round) {
    std::string text;
    std::size_t lines = random() % 14;
    for (std::size_t line = 0; line < lines; ++line) {
      text += starts[random() % starts.size()];
      for (std::size_t i = random() % 4; i > 0; --i) text += pieces[random() % pieces.size()];
      text += lineEnds[random() % lineEnds.size()];
    }
    std::vector<ModelCard> expected = modelRead(text);

    std::string normalised = text;
    addressbook::normaliseLineEnds(normalised);
    std::size_t cards = addressbook::countCards(normalised);
    ASSERT_EQ(cards, expected.size()) << escaped(text);
    if (cards == 0) continue;
    addressbook::RecordStore store = addressbook::readCards(normalised, cards);
    ASSERT_EQ(store.capacity(), 999u);
    for (std::size_t slot = 1; slot <= cards; ++slot) {
      const ModelCard& card = expected[slot - 1];
      ASSERT_EQ(escaped(store.card(slot)), escaped(card.own ? "" : card.text))
          << "slot " << slot << " of " << escaped(text);
      for (int f = 1; card.own && f <= 8; ++f) {
        ASSERT_EQ(escaped(store.field(slot, f)),
                  escaped(card.fields[static_cast<std::size_t>(f - 1)]))
            << "slot " << slot << " field " << f << " of " << escaped(text);
      }
    }
  }
}

TEST(ReadCards, recordsWithoutLineBreaksOrCardStartsSurviveASave) {
  // Values the program can hold and write: no CR or LF, no UTF-8 look-alikes,
  // birthdays in display form.
  const std::vector<std::string> pieces{"a",    "Z",    " ",    "  ",   "\t",   ":",
                                        ";",    "=",    "\\n",  ".",    "-",    "0123456789",
                                        "\x07", "\xFC", "\xDF", "\x80", "BEGIN"};
  const std::vector<std::string> birthdays{"", "07.03.1961", "07.03.1961 ; 08:30",
                                           "29.02.2000 ; 23:59:59", "7.3.61"};
  std::mt19937 random(99);
  for (int round = 0; round < 300; ++round) {
    addressbook::RecordStore store;
    store.reset(999);
    std::size_t records = 1 + random() % 5;
    for (std::size_t slot = 1; slot <= records; ++slot) {
      for (int f = 1; f <= 8; ++f) {
        std::string value;
        if (f == field::birthday) {
          value = birthdays[random() % birthdays.size()];
        } else {
          std::size_t length = random() % 60;
          for (std::size_t i = 0; i < length; ++i) value += pieces[random() % pieces.size()];
        }
        if (f == field::name && value.empty()) value += 'x';
        store.setField(slot, f, value);
      }
    }
    std::string text = addressbook::addressFileText(store);
    std::string normalised = text;
    addressbook::normaliseLineEnds(normalised);
    ASSERT_EQ(normalised, text);
    ASSERT_EQ(addressbook::countCards(text), records);
    addressbook::RecordStore again = addressbook::readCards(text, records);
    for (std::size_t slot = 1; slot <= records; ++slot) {
      for (int f = 1; f <= 8; ++f) {
        ASSERT_EQ(escaped(again.field(slot, f)), escaped(store.field(slot, f)))
            << "slot " << slot << " field " << f << " of " << escaped(text);
      }
    }
  }
}

TEST(StoreReader, readsAsFarAsAskedAndTheStoreHoldsWhatWasRead) {
  std::string text;
  for (int i = 1; i <= 300; ++i) text += "BEGIN:VCARD\r\nN:" + std::to_string(i) + "\r\n";
  std::vector<std::size_t> separators = addressbook::findCards(text);
  addressbook::StoreReader all(text, separators);
  EXPECT_EQ(all.total(), 300u);
  for (std::size_t step = 64; all.cardsRead() < all.total(); step += 64) {
    all.readThrough(step);
    EXPECT_EQ(all.cardsRead(), std::min<std::size_t>(step, 300));
  }
  EXPECT_EQ(all.takeStore().field(300, field::name), "300");

  addressbook::StoreReader stopped(text, separators);
  stopped.readThrough(128);
  addressbook::RecordStore part = stopped.takeStore();
  EXPECT_EQ(part.field(128, field::name), "128");
  EXPECT_EQ(part.field(129, field::name), "");
  EXPECT_EQ(part.capacity(), 999u);
}

}  // namespace
