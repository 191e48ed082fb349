#include "carddav/card_merge.h"

#include <algorithm>
#include <map>
#include <vector>

#include "addressbook/content_line.h"
#include "carddav/card_properties.h"

namespace carddav {

namespace {

using Counts = std::map<std::string, int, std::less<>>;

Counts countKeys(const std::vector<CardProperty>& properties) {
  Counts counts;
  for (const CardProperty& property : properties) ++counts[property.key];
  return counts;
}

// Takes one of key from counts; false when none is left.
bool take(Counts& counts, const std::string& key) {
  auto found = counts.find(key);
  if (found == counts.end() || found->second == 0) return false;
  --found->second;
  return true;
}

bool isBookkeeping(std::string_view name) {
  return name == "UID" || name == "REV" || name == "PRODID" || name == "VERSION";
}

// The note gets the server's line of a single property that this side
// changed otherwise: at the end of the first note, or as a note of its own.
void keepInNote(std::vector<CardProperty>& result, const CardProperty& serverLine) {
  std::string text;
  for (char c : std::string(conflictNote) + serverLine.line) {
    if (c == '\\' || c == ',' || c == ';') text += '\\';
    text += c;
  }
  auto note = std::ranges::find(result, std::string("NOTE"), &CardProperty::name);
  if (note != result.end()) {
    note->line += "\\n" + text;
  } else {
    result.push_back({"NOTE:" + text, "NOTE", {}});
  }
}

}  // namespace

std::string mergeCards(std::string_view base, std::string_view local, std::string_view server) {
  std::vector<CardProperty> baseLines = cardProperties(base);
  std::vector<CardProperty> localLines = cardProperties(local);
  Counts inLocal = countKeys(localLines);
  Counts removedHere;
  for (const CardProperty& line : baseLines) {
    if (!take(inLocal, line.key)) ++removedHere[line.key];
  }
  Counts inBase = countKeys(baseLines);
  std::vector<CardProperty> addedHere;
  for (const CardProperty& line : localLines) {
    if (!take(inBase, line.key)) addedHere.push_back(line);
  }

  // The server's lines, without those this side removed; where such a line
  // stood, a place is held for this side's new line of its property.
  struct Entry {
    CardProperty line;
    bool fromServer = true;
    bool placeHolder = false;
  };
  std::vector<Entry> result;
  for (CardProperty& line : cardProperties(server)) {
    bool removed = take(removedHere, line.key);
    result.push_back({std::move(line), true, removed});
  }
  Counts inServer = countKeys(cardProperties(server));
  for (CardProperty& line : addedHere) {
    if (take(inServer, line.key)) continue;  // the server made the same change
    auto sameName = [&](const Entry& entry) { return entry.line.name == line.name; };
    auto held = std::ranges::find_if(
        result, [&](const Entry& entry) { return entry.placeHolder && sameName(entry); });
    if (held != result.end()) {
      *held = {std::move(line), false, false};
      continue;
    }
    auto at = std::ranges::find_if(
        result, [&](const Entry& entry) { return !entry.placeHolder && sameName(entry); });
    result.insert(at, {std::move(line), false, false});
  }

  // A single property given twice, once on each side.
  std::vector<CardProperty> merged;
  std::vector<CardProperty> overruled;
  std::map<std::string, std::size_t, std::less<>> kept;  // name: index in merged
  std::vector<bool> keptFromServer;
  for (Entry& entry : result) {
    if (entry.placeHolder) continue;
    auto found = kept.find(entry.line.name);
    bool conflict = isSingle(entry.line.name) && found != kept.end() &&
                    keptFromServer[found->second] != entry.fromServer;
    if (!conflict) {
      kept.try_emplace(entry.line.name, merged.size());
      merged.push_back(std::move(entry.line));
      keptFromServer.push_back(entry.fromServer);
    } else if (isBookkeeping(entry.line.name) == entry.fromServer) {
      // The server's bookkeeping line, or this side's value of the others.
      if (!entry.fromServer) overruled.push_back(merged[found->second]);
      merged[found->second] = std::move(entry.line);
      keptFromServer[found->second] = entry.fromServer;
    } else if (!isBookkeeping(entry.line.name)) {
      overruled.push_back(std::move(entry.line));
    }
  }
  for (const CardProperty& line : overruled) keepInNote(merged, line);

  std::string card = "BEGIN:VCARD\r\n";
  for (const CardProperty& line : merged) card += line.line + "\r\n";
  return card + "END:VCARD\r\n";
}

}  // namespace carddav
