#include "carddav/card_properties.h"

#include <algorithm>

#include "addressbook/card_lines.h"
#include "addressbook/content_line.h"
#include "addressbook/property_value.h"

namespace carddav {

namespace {

using addressbook::ContentLine;

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

// The parameters in one spelling: "TYPE=HOME;TYPE=VOICE" for ";home;voice"
// as well as for ";TYPE=VOICE,HOME".
std::string parameterKey(std::string_view parameters) {
  std::vector<std::string> parts;
  std::size_t start = 1;
  while (start <= parameters.size()) {
    std::size_t end = parameters.find(';', start);
    if (end == std::string_view::npos) end = parameters.size();
    std::string part = upper(parameters.substr(start, end - start));
    start = end + 1;
    std::size_t equals = part.find('=');
    std::string name = equals == std::string::npos ? "TYPE" : part.substr(0, equals);
    std::string values = equals == std::string::npos ? part : part.substr(equals + 1);
    if (name == "ENCODING" || name == "CHARSET" || part.empty()) continue;
    std::erase(values, '"');
    std::size_t from = 0;
    while (from <= values.size()) {
      std::size_t comma = values.find(',', from);
      if (comma == std::string::npos) comma = values.size();
      parts.push_back(name + "=" + values.substr(from, comma - from));
      from = comma + 1;
    }
  }
  std::ranges::sort(parts);
  parts.erase(std::unique(parts.begin(), parts.end()), parts.end());
  std::string key;
  for (const std::string& part : parts) key += ";" + part;
  return key;
}

int versionOf(const std::vector<addressbook::CardLine>& lines, std::string_view card) {
  for (const addressbook::CardLine& line : lines) {
    std::string unfolded = addressbook::unfold(card, line);
    ContentLine parsed = addressbook::parseContentLine(unfolded);
    if (parsed.isProperty && addressbook::equalsIgnoringCase(parsed.name, "VERSION")) {
      std::string_view value = parsed.value;
      if (value.starts_with("4")) return 40;
      if (value.starts_with("3")) return 30;
    }
  }
  return 21;
}

std::string valueKey(const ContentLine& line, int version) {
  addressbook::ValueForm form = addressbook::valueFormOf(line, version);
  std::string key;
  for (std::string_view component : addressbook::components(line.value)) {
    key += addressbook::decodeComponent(component, form);
    key += ';';
  }
  while (!key.empty() && key.back() == ';') key.pop_back();
  return key;
}

// The card with CR LF line ends: crlf holds it where it had LF alone.
std::string_view withCrLf(std::string_view card, std::string& crlf) {
  if (card.find("\r\n") != std::string_view::npos || card.find('\n') == std::string_view::npos) {
    return card;
  }
  for (char c : card) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return crlf;
}

// The line without its folds and its line end.
std::string lineText(std::string_view card, const addressbook::CardLine& line) {
  std::string text = addressbook::unfold(card, line);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  return text;
}

}  // namespace

std::vector<CardProperty> cardProperties(std::string_view card) {
  std::string crlf;
  card = withCrLf(card, crlf);
  std::vector<addressbook::CardLine> lines = addressbook::cardLines(card);
  int version = versionOf(lines, card);
  std::vector<CardProperty> properties;
  for (const addressbook::CardLine& line : lines) {
    std::string unfolded = lineText(card, line);
    ContentLine parsed = addressbook::parseContentLine(unfolded);
    if (!parsed.isProperty) continue;
    std::string name = upper(parsed.name);
    if (name == "BEGIN" || name == "END") continue;
    std::string key = name + "." + upper(parsed.group) + parameterKey(parsed.parameters) + ":" +
                      valueKey(parsed, version);
    properties.push_back({std::move(unfolded), std::move(name), std::move(key)});
  }
  return properties;
}

std::string cardUid(std::string_view card) {
  std::string crlf;
  card = withCrLf(card, crlf);
  // Only the UID line is unfolded: a line's head holds its name.
  for (const addressbook::CardLine& line : addressbook::cardLines(card)) {
    ContentLine head = addressbook::parseContentLine(line.head);
    if (!head.isProperty || !addressbook::equalsIgnoringCase(head.name, "UID")) continue;
    std::string text = lineText(card, line);
    std::string_view value = addressbook::parseContentLine(text).value;
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
      value.remove_prefix(1);
    while (!value.empty() && (value.back() == ' ' || value.back() == '\t')) value.remove_suffix(1);
    return std::string(value);
  }
  return {};
}

bool isSingle(std::string_view name) {
  static constexpr std::string_view singles[] = {"N",    "FN",  "BDAY", "ANNIVERSARY", "GENDER",
                                                 "KIND", "UID", "REV",  "PRODID",      "VERSION"};
  return std::ranges::find(singles, name) != std::end(singles);
}

}  // namespace carddav
