// No input may crash or hang the reader: each case goes through the whole
// way of a load and a save (line ends, cards, fields, the filter, the file
// text) within a bound on time that leaves room for a slow machine.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <optional>
#include <random>
#include <string>

#include "addressbook/field_table.h"
#include "addressbook/file_text.h"
#include "addressbook/record_filter.h"
#include "addressbook/vcard_reader.h"
#include "addressbook/vcard_writer.h"
#include "tests/addressbook/reading_checks.h"

namespace {

using namespace std::string_literals;
namespace field = addressbook::field;

using testing_support::occurrences;
using testing_support::slowdown;

struct Outcome {
  std::size_t cards = 0;
  addressbook::RecordStore store;
  std::string saved;
  double seconds = 0;
};

// The steps of a load, a fill with a filter and a save.
Outcome readAndSave(std::string text) {
  auto start = std::chrono::steady_clock::now();
  Outcome outcome;
  addressbook::prepareFileText(text);
  outcome.cards = addressbook::countCards(text);
  outcome.store = addressbook::readCards(std::move(text), outcome.cards);
  static_cast<void>(addressbook::filterRecords(outcome.store,
                                               "\xDC"
                                               "X"));
  outcome.saved = addressbook::addressFileText(outcome.store);
  outcome.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  return outcome;
}

constexpr double bound(double seconds) { return seconds * slowdown; }

TEST(BadInput, randomBinaryDataWithCardSeparatorsInIt) {
  std::mt19937 random(20240607);
  std::string text(4 << 20, '\0');
  for (char& c : text) c = static_cast<char>(random() & 0xFF);
  for (int i = 0; i < 2000; ++i) {
    text.replace(random() % (text.size() - 20), 13, "BEGIN:VCARD\r\n");
  }
  std::string normalised = text;
  addressbook::prepareFileText(normalised);
  // Every separator starts a card, except one inside a line that the next
  // line continues as a fold.
  std::size_t expected = 0;
  const std::string_view separator = addressbook::cardSeparator;
  for (std::size_t at = normalised.find(separator); at != std::string::npos;
       at = normalised.find(separator, at + separator.size())) {
    std::size_t next = at + separator.size();
    bool lineStart = at == 0 || normalised[at - 1] == '\n';
    bool folded = next < normalised.size() && (normalised[next] == ' ' || normalised[next] == '\t');
    if (lineStart || !folded) ++expected;
  }
  Outcome outcome = readAndSave(text);
  EXPECT_EQ(outcome.cards, expected);
  EXPECT_GE(outcome.cards, 1000u);
  EXPECT_LT(outcome.seconds, bound(5));
}

TEST(BadInput, nulBytesAreKeptLikeAnyOtherByte) {
  Outcome outcome = readAndSave("\0\0BEGIN:VCARD\r\nN:a\0b\r\n\0\r\nNOTE:\0\r\nEND:VCARD\0\r\n\0"s);
  ASSERT_EQ(outcome.cards, 1u);
  EXPECT_EQ(outcome.store.field(1, field::name), "a\0b"s);
  EXPECT_EQ(outcome.store.field(1, field::notes), "\0"s);
  // The lines the program does not read stay in the card as they came.
  EXPECT_EQ(outcome.saved, "BEGIN:VCARD\r\nN:a\0b\r\n\0\r\nNOTE:\0\r\nEND:VCARD\0\r\n\0\r\n"s);
}

TEST(BadInput, aTenMegabyteLineIsReadWholeAndFolded) {
  const std::string note(10 << 20, 'x');
  Outcome outcome = readAndSave("BEGIN:VCARD\r\nN:Lang\r\nNOTE:" + note + "\r\nEND:VCARD\r\n");
  EXPECT_EQ(outcome.store.field(1, field::notes), note);
  // One fold for every full 70 bytes of the value.
  EXPECT_EQ(occurrences(outcome.saved, "\r\n "), note.size() / 70);
  EXPECT_LT(outcome.seconds, bound(5));

  Outcome binary = readAndSave("BEGIN:VCARD\r\nN:" + std::string(10 << 20, '\xC3'));
  EXPECT_EQ(binary.store.field(1, field::name).size(), 10u << 20);
  EXPECT_LT(binary.seconds, bound(5));
}

TEST(BadInput, aCardOfAMillionFoldedLines) {
  std::string text = "BEGIN:VCARD\r\nNOTE:";
  for (int i = 0; i < 1000000; ++i) text += i % 2 == 0 ? "\r\n a" : "\r\n\tb";
  text += "\r\nN:Gefaltet\r\n";
  Outcome outcome = readAndSave(text);
  EXPECT_EQ(outcome.store.field(1, field::name), "Gefaltet");
  EXPECT_EQ(outcome.store.field(1, field::notes).size(), 1000000u);
  EXPECT_LT(outcome.seconds, bound(5));
}

TEST(BadInput, aMillionEmptyCards) {
  std::string text;
  text.reserve(13 * 1000000);
  for (int i = 0; i < 1000000; ++i) text += "BEGIN:VCARD\r\n";
  Outcome outcome = readAndSave(text);
  EXPECT_EQ(outcome.cards, 1000000u);
  EXPECT_EQ(outcome.store.capacity(), 1500000u);
  EXPECT_EQ(outcome.saved, "");
  EXPECT_LT(outcome.seconds, bound(5));
}

TEST(BadInput, unbalancedLineEnds) {
  struct Case {
    std::string text;
    std::size_t cards;
    std::string_view name;
  };
  const Case cases[] = {
      {std::string(1 << 20, '\r') + "BEGIN:VCARD\rN:a\r", 1, "a"},
      {std::string(1 << 20, '\n') + "BEGIN:VCARD\nN:a\n", 1, "a"},
      {"BEGIN:VCARD\r\r\nN:a\r\n" + std::string(1 << 20, '\r') + std::string(1 << 19, '\n'), 1,
       "a"},
      // the line ends of the minority stay as they are and end no line
      {std::string(1 << 20, '\r') + "BEGIN:VCARD\nN:a\n", 0, ""},
      {"BEGIN:VCARD\rN:a\r" + std::string(1 << 20, '\n'), 0, ""},
  };
  for (const Case& c : cases) {
    Outcome outcome = readAndSave(c.text);
    EXPECT_EQ(outcome.cards, c.cards);
    if (c.cards > 0) {
      EXPECT_EQ(outcome.store.field(1, field::name), c.name);
    }
    EXPECT_LT(outcome.seconds, bound(3));
  }
  std::mt19937 random(7);
  std::string mixed = "BEGIN:VCARD\r\n";
  for (int i = 0; i < (4 << 20); ++i) mixed += "\r\n N"[random() % 4];
  Outcome outcome = readAndSave(mixed);
  EXPECT_LT(outcome.seconds, bound(5));
}

// The byte of a two-byte UTF-8 sequence whose character Windows-1252 has.
std::optional<unsigned char> windows1252Byte(int first, int second) {
  if (first == 0xC2 && second >= 0xA0 && second <= 0xBF) return static_cast<unsigned char>(second);
  if (first == 0xC3 && second >= 0x80 && second <= 0xBF) {
    return static_cast<unsigned char>(second + 0x40);
  }
  struct Pair {
    int first, second;
    unsigned char byte;
  };
  static constexpr Pair beyondLatin1[] = {
      {0xC5, 0x92, 0x8C}, {0xC5, 0x93, 0x9C}, {0xC5, 0xA0, 0x8A}, {0xC5, 0xA1, 0x9A},
      {0xC5, 0xB8, 0x9F}, {0xC5, 0xBD, 0x8E}, {0xC5, 0xBE, 0x9E}, {0xC6, 0x92, 0x83},
      {0xCB, 0x86, 0x88}, {0xCB, 0x9C, 0x98}};
  for (const Pair& pair : beyondLatin1) {
    if (pair.first == first && pair.second == second) return pair.byte;
  }
  return std::nullopt;
}

TEST(BadInput, everyPairOfHighBytesIsEitherOneCharacterOrKeptAsItIs) {
  std::string text;
  for (int first = 0x80; first <= 0xFF; ++first) {
    for (int second = 0x80; second <= 0xFF; ++second) {
      text += "BEGIN:VCARD\r\nN:n\r\nNOTE:";
      text += static_cast<char>(first);
      text += static_cast<char>(second);
      text += "\r\n";
    }
  }
  Outcome outcome = readAndSave(text);
  ASSERT_EQ(outcome.cards, 128u * 128u);
  std::size_t slot = 0;
  for (int first = 0x80; first <= 0xFF; ++first) {
    for (int second = 0x80; second <= 0xFF; ++second) {
      std::string pair{static_cast<char>(first), static_cast<char>(second)};
      auto byte = windows1252Byte(first, second);
      std::string expected = byte ? std::string(1, static_cast<char>(*byte)) : pair;
      EXPECT_EQ(outcome.store.field(++slot, field::notes), expected)
          << std::hex << first << " " << second;
    }
  }
  EXPECT_LT(outcome.seconds, bound(5));
}

TEST(BadInput, aUtf8SequenceCutByTheEndOfTheFile) {
  const std::string endings[] = {"\xC3", "\xE2\x82", "\xF0\x9F\x98", "\xF0", "\xE2"};
  for (const std::string& ending : endings) {
    Outcome outcome = readAndSave("BEGIN:VCARD\r\nN:x" + ending);
    ASSERT_EQ(outcome.cards, 1u);
    EXPECT_EQ(outcome.store.field(1, field::name), "x" + ending);
    EXPECT_EQ(outcome.saved, "BEGIN:VCARD\r\nN:x" + ending + "\r\nEND:VCARD\r\n");
  }
}

TEST(BadInput, absurdBirthdays) {
  const std::string values[] = {
      "99999999999999999999999999-1-1",
      "1.1.99999999999999999999999999",
      "1.1.1;99999999999999999999:1",
      std::string(1 << 20, '-'),
      std::string(1 << 20, 'T'),
      std::string(1 << 20, '.'),
      std::string(1 << 20, ' '),
      "1.1.1;" + std::string(1 << 20, ':'),
      std::string("-").append(1 << 20, '9'),
  };
  for (const std::string& value : values) {
    Outcome outcome = readAndSave("BEGIN:VCARD\r\nN:x\r\nBDAY:" + value + "\r\n");
    EXPECT_EQ(outcome.cards, 1u);
    EXPECT_LT(outcome.seconds, bound(3));
  }
}

TEST(BadInput, separatorsWithoutLineEndsAreNoCards) {
  std::string text;
  for (int i = 0; i < 100000; ++i) text += "BEGIN:VCARD";
  EXPECT_EQ(readAndSave(text).cards, 0u);
  EXPECT_EQ(readAndSave("BEGIN:VCARD\r").cards, 1u);        // a lone CR becomes CR LF
  EXPECT_EQ(readAndSave("BEGIN:VCARD\r\r\n\n").cards, 0u);  // balanced: CR CR LF LF stays
}

}  // namespace
