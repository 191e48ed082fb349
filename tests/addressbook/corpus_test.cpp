// Real vCard files written by other programs (the shared corpus, see its
// README): every one loads quickly; a well-formed one saves unchanged to its
// own bytes and, with one field changed, to its own lines but that field's;
// a dozen of them are checked against values read from the files by hand.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "addressbook/card_lines.h"
#include "addressbook/field_table.h"
#include "addressbook/file_text.h"
#include "addressbook/vcard_reader.h"
#include "addressbook/vcard_writer.h"
#include "tests/addressbook/reading_checks.h"
#include "tests/fakes/temp_dir.h"

namespace {

namespace fs = std::filesystem;
namespace field = addressbook::field;

using testing_support::occurrences;
using testing_support::slowdown;

const fs::path corpusDir = MORVI_CORPUS_DIR;

// Every file of the corpus, as its path relative to the corpus folder.
std::vector<std::string> corpusFiles() {
  std::vector<std::string> files;
  if (!fs::is_directory(corpusDir)) return files;
  for (const auto& entry : fs::recursive_directory_iterator(corpusDir)) {
    if (!entry.is_regular_file()) continue;
    std::string name = entry.path().filename().string();
    if (name == "README.md" || name == "MANIFEST.tsv") continue;
    files.push_back(fs::relative(entry.path(), corpusDir).generic_string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

struct Loaded {
  std::size_t cards = 0;
  addressbook::RecordStore store;
  // As the reader took it, from its first card on, its last line ended.
  std::string text;
};

// Reads a file's text as a load does; no cards leaves the store without slots.
Loaded loadText(std::string text) {
  Loaded loaded;
  addressbook::prepareFileText(text);
  std::vector<std::size_t> cards = addressbook::findCards(text);
  loaded.cards = cards.size();
  if (cards.empty()) return loaded;
  loaded.text = text.substr(cards.front());
  if (!loaded.text.ends_with("\r\n")) loaded.text += "\r\n";
  loaded.store = addressbook::readCards(std::move(text), std::move(cards));
  return loaded;
}

Loaded loadFile(const std::string& file) {
  return loadText(testing_support::readBytes(corpusDir / file));
}

// The files that the corpus marks as broken on purpose.
std::set<std::string, std::less<>> malformedFiles() {
  std::set<std::string, std::less<>> files;
  std::ifstream manifest(corpusDir / "MANIFEST.tsv");
  std::string line;
  std::getline(manifest, line);  // column names
  while (std::getline(manifest, line)) {
    if (line.find("malformed") != std::string::npos) files.insert(line.substr(0, line.find('\t')));
  }
  return files;
}

std::vector<std::string> wellFormedFiles() {
  std::set<std::string, std::less<>> malformed = malformedFiles();
  std::vector<std::string> files = corpusFiles();
  std::erase_if(files, [&](const std::string& file) { return malformed.contains(file); });
  return files;
}

std::vector<std::size_t> namedSlots(const addressbook::RecordStore& store) {
  std::vector<std::size_t> slots;
  if (!store.hasSlots()) return slots;
  for (std::size_t slot = 1; slot <= store.capacity(); ++slot) {
    if (store.holdsRecord(slot)) slots.push_back(slot);
  }
  return slots;
}

// Empty when both stores hold the same named records in the same order,
// otherwise where they part.
std::string compareRecords(const addressbook::RecordStore& first,
                           const addressbook::RecordStore& second) {
  std::vector<std::size_t> a = namedSlots(first);
  std::vector<std::size_t> b = namedSlots(second);
  if (a.size() != b.size()) {
    return std::to_string(a.size()) + " records became " + std::to_string(b.size());
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    for (int f = 1; f <= addressbook::fieldCount(); ++f) {
      if (first.field(a[i], f) != second.field(b[i], f)) {
        return "record " + std::to_string(i + 1) + " field " +
               std::string(*addressbook::fieldKey(f)) + ": \"" + std::string(first.field(a[i], f)) +
               "\" became \"" + std::string(second.field(b[i], f)) + "\"";
      }
    }
  }
  return {};
}

TEST(Corpus, holdsEveryFileOfItsManifest) {
  std::ifstream manifest(corpusDir / "MANIFEST.tsv");
  ASSERT_TRUE(manifest.good()) << "no corpus at " << corpusDir;
  std::vector<std::string> listed;
  std::string line;
  std::getline(manifest, line);  // column names
  while (std::getline(manifest, line)) {
    if (!line.empty()) listed.push_back(line.substr(0, line.find('\t')));
  }
  std::sort(listed.begin(), listed.end());
  EXPECT_EQ(listed.size(), 198u);
  EXPECT_EQ(corpusFiles(), listed);
}

TEST(Corpus, everyFileLoadsWithinASecondAndGivesNoMoreCardsThanBeginLines) {
  for (const std::string& file : corpusFiles()) {
    std::string bytes = testing_support::readBytes(corpusDir / file);
    auto start = std::chrono::steady_clock::now();
    Loaded loaded = loadText(bytes);
    std::size_t named = namedSlots(loaded.store).size();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 1.0 * slowdown) << file;
    std::string upper = loaded.text;
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_LE(loaded.cards, occurrences(upper, "BEGIN:VCARD")) << file;
    EXPECT_LE(named, loaded.cards) << file;
  }
  // No card of a well-formed file is lost: each one shows as a record.
  for (const std::string& file : wellFormedFiles()) {
    Loaded loaded = loadFile(file);
    EXPECT_EQ(namedSlots(loaded.store).size(), loaded.cards) << file;
  }
}

TEST(Corpus, aWellFormedFileSavedUnchangedGivesItsOwnBytes) {
  for (const std::string& file : wellFormedFiles()) {
    Loaded loaded = loadFile(file);
    // CR LF line ends, no byte-order mark.
    EXPECT_TRUE(addressbook::addressFileText(loaded.store) == loaded.text) << file;
  }
}

TEST(Corpus, anyFileReadSavedAndReadAgainGivesTheSameRecords) {
  for (const std::string& file : corpusFiles()) {
    Loaded first = loadFile(file);
    Loaded second = loadText(addressbook::addressFileText(first.store));
    EXPECT_EQ(compareRecords(first.store, second.store), "") << file;
  }
}

// The lines of a text, each with its folds.
std::vector<std::string_view> linesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  for (const addressbook::CardLine& line : addressbook::cardLines(text)) {
    lines.push_back(text.substr(line.begin, line.end - line.begin));
  }
  return lines;
}

// Empty when after differs from before in exactly one line (one changed,
// added or taken out), else what else differs.
std::string oneLineDiffers(std::string_view before, std::string_view after) {
  std::vector<std::string_view> a = linesOf(before);
  std::vector<std::string_view> b = linesOf(after);
  std::size_t head = 0;
  while (head < a.size() && head < b.size() && a[head] == b[head]) ++head;
  std::size_t tail = 0;
  while (tail < a.size() - head && tail < b.size() - head &&
         a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
    ++tail;
  }
  std::size_t removed = a.size() - head - tail;
  std::size_t added = b.size() - head - tail;
  if (removed + added >= 1 && removed <= 1 && added <= 1) return {};
  return std::to_string(removed) + " lines became " + std::to_string(added) + " from line " +
         std::to_string(head + 1);
}

TEST(Corpus, aWellFormedFileWithOneFieldChangedDiffersInThatLineOnly) {
  struct Change {
    int field;
    std::string value;
  };
  const Change changes[] = {
      {field::mobile, "0170 1234567"},
      {field::email, "neu@example.org"},
      {field::notes, "Neu, mit Komma; \xFC und \x07zweiter Zeile"},
      {field::notes, ""},
  };
  for (const std::string& file : wellFormedFiles()) {
    for (const Change& change : changes) {
      Loaded loaded = loadFile(file);
      std::vector<std::size_t> slots = namedSlots(loaded.store);
      if (slots.empty()) continue;
      std::size_t slot = slots.front();
      if (loaded.store.field(slot, change.field) == change.value) continue;
      loaded.store.setField(slot, change.field, change.value);
      std::string saved = addressbook::addressFileText(loaded.store);
      EXPECT_EQ(oneLineDiffers(loaded.text, saved), "") << file << " field " << change.field;
      // An emptied field may show the next line of its kind.
      if (change.value.empty()) continue;
      Loaded again = loadText(saved);
      EXPECT_EQ(again.store.field(1, change.field), change.value)
          << file << " field " << change.field;
    }
  }
}

struct FieldValue {
  std::size_t slot;
  int field;
  std::string value;
};

struct CorpusCase {
  std::string file;
  std::size_t cards;
  std::size_t named;
  std::vector<FieldValue> fields;
};

TEST(Corpus, handCheckedValuesOfFilesThatHoldTheKnownTraps) {
  const CorpusCase cases[] = {
      // CR LF; a card with FN only shows its FN
      {"khard/minimal.vcf", 1, 1, {{1, field::name, "minimal contact"}}},
      // LF only; NICKNAME is no name
      {"radicale/contact1.vcf", 1, 1, {{1, field::name, "Contact"}}},
      // BEGIN:vCard starts a card; FAX,WORK is a fax; the preferred e-mail shows
      {"kcontacts/vcard1.vcf",
       1,
       1,
       {{1, field::name, "Frank Dawson"},
        {1, field::workPhone, "+1-919-676-9515"},
        {1, field::fax, "+1-919-676-9564"},
        {1, field::email, "Frank_Dawson@Lotus.com"}}},
      {"evolution-data-server/vcard-1.vcf", 1, 1, {{1, field::name, "Frank Dawson"}}},
      // grouped item1.TEL without a type shows as the private number; TYPE=CELL;
      // 3.0 escapes and a fold inside a word
      {"ez-vcard/gmail-single.vcf",
       1,
       1,
       {{1, field::name, "Dartmouth;Greg"},
        {1, field::workPhone, ""},
        {1, field::homePhone, "555 555 2222"},
        {1, field::mobile, "555 555 1111"},
        {1, field::email, "gdartmouth@hotmail.com"},
        {1, field::birthday, "10.09.1960"},
        {1, field::notes,
         "This is GMail's note field.\x07It should be added as a NOTE type.\x07"
         "ACustomField: CustomField"}}},
      // TEL;WORK;VOICE and TEL;WORK;FAX; a quoted-printable note over four
      // lines with soft line breaks; BDAY 19220310
      {"ez-vcard/outlook-2007.vcf",
       1,
       1,
       {{1, field::name, "Angstadt;Michael"},
        {1, field::workPhone, "(111) 555-1111"},
        {1, field::homePhone, "(111) 555-2222"},
        {1, field::mobile, "(111) 555-4444"},
        {1, field::fax, "(111) 555-3333"},
        {1, field::email, "mike.angstadt@gmail.com"},
        {1, field::birthday, "10.03.1922"},
        {1, field::notes,
         "This is the NOTE field\t\x07I assume it encodes this text inside a NOTE vCard "
         "type.\x07"
         "But I'm not sure because there's text formatting going on here.\x07It does "
         "not preserve the formatting"}}},
      // quoted-printable UTF-8 with a soft line break: Cyrillic letters stay UTF-8
      {"gammu/quoted-printable-new-line.vcf",
       1,
       1,
       {{1, field::name, "- PRIMA;\xD0\x9F\xD0\x9E\xD0\xA0\xD0\x9A\xD0\xA1"},
        {1, field::mobile, "+222222222222"},
        {1, field::email, ""}}},
      // raw Windows-1252; the additional name stays out of the name field
      {"folkerkinzel-vcards/MultiAnsiFilterTests-German.vcf",
       1,
       1,
       {{1, field::name, "N\xFC\xDFlebaum;S\xF6ren"}}},
      // UTF-16 with a byte-order mark
      {"folkerkinzel-vcards/MultiAnsiFilterTests-v3Utf16Bom.vcf",
       2,
       2,
       {{1, field::name, "Kinzel;Folker"},
        {1, field::homePhone, "0123-45678"},
        {1, field::email, "email1@wumms.de"},
        {1, field::birthday, "11.03.1978"},
        {2, field::name, "KMS;WSF"},
        {2, field::email, " blabl\xF6@blub.com"}}},
      // CR CR LF: the folded photo stays one line
      {"ez-vcard/John_Doe_IPHONE.vcf",
       1,
       1,
       {{1, field::name, "Doe;John"},
        {1, field::email, "john.doe@ibm.com"},
        {1, field::workPhone, "905-777-1234"},
        {1, field::homePhone, "905-666-1234"},
        {1, field::mobile, "905-555-1234"},
        {1, field::fax, "905-888-1234"},
        {1, field::birthday, "06.06.2012"}}},
      // birthdays
      {"syncevolution/Google-CardDAV.vcf",
       1,
       1,
       {{1, field::name, "Doe;John"},
        {1, field::birthday, "30.12.1970"},
        {1, field::email, "john.doe@home.com"},
        {1, field::workPhone, "business 1"},
        {1, field::homePhone, "home"},
        {1, field::mobile, "mobile"},
        {1, field::fax, "work fax"},
        {1, field::notes, "A test contact."}}},
      {"calcard/054.vcf",
       1,
       1,
       {{1, field::name, ";Given Name"}, {1, field::birthday, "25.10.1980"}}},
      // --0203 (no year); tel: URIs with quoted type lists, the preferred one
      {"calcard/049.vcf",
       1,
       1,
       {{1, field::name, "Perreault;Simon"},
        {1, field::birthday, "03.02.0000"},
        {1, field::email, "simon.perreault@viagenie.ca"},
        {1, field::workPhone, "+1-418-656-9254;ext=102"},
        {1, field::mobile, "+1-418-262-6501"}}},
      // two N, three BDAY: the first shows; the preferred of three e-mails
      {"calcard/048.vcf",
       1,
       1,
       {{1, field::name, "Public;John"},
        {1, field::birthday, "15.04.1996"},
        {1, field::email, "jane_doe@abc.com"},
        {1, field::notes, "This fax number is operational 0800 to 1715 EST, Mon-Fri."}}},
      {"khard/text-bday.vcf", 1, 1, {{1, field::name, "text birthday"}, {1, field::birthday, ""}}},
      // an empty N: the FN shows
      {"radicale/contact4-with-bday-no-year.vcf",
       1,
       1,
       {{1, field::name, "Test bday without year Thunderbird CardBook"},
        {1, field::birthday, "01.01.1604"}}},
      {"kcontacts/vcard5.vcf", 1, 1, {{1, field::birthday, "19.07.1955 ; 00:00"}}},
      // size
      {"folkerkinzel-vcards/LargeFile.vcf",
       1000,
       1000,
       {{1, field::name, "Schmitt;Kasey"}, {1000, field::name, "Stehr;Florine"}}},
  };
  for (const CorpusCase& c : cases) {
    Loaded loaded = loadFile(c.file);
    EXPECT_EQ(loaded.cards, c.cards) << c.file;
    EXPECT_EQ(namedSlots(loaded.store).size(), c.named) << c.file;
    if (c.cards > 0) {
      EXPECT_EQ(loaded.store.capacity(), c.cards == 1000 ? 1500u : 999u) << c.file;
    }
    for (const FieldValue& value : c.fields) {
      ASSERT_TRUE(loaded.store.hasSlots()) << c.file;
      EXPECT_EQ(loaded.store.field(value.slot, value.field), value.value)
          << c.file << " slot " << value.slot << " " << *addressbook::fieldKey(value.field);
    }
  }
}

}  // namespace
