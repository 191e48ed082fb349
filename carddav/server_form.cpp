#include "carddav/server_form.h"

#include <algorithm>
#include <vector>

#include "addressbook/card_fields.h"
#include "addressbook/content_line.h"
#include "addressbook/property_value.h"
#include "carddav/card_properties.h"
#include "text/cp1252.h"

namespace carddav {

namespace {

using addressbook::ContentLine;
using addressbook::ValueForm;

bool hasName(const ContentLine& line, std::string_view name) {
  return addressbook::equalsIgnoringCase(line.name, name);
}

// Values of these properties are text: a comma or semicolon in them is
// escaped in vCard 3.0. N, ADR and ORG are structured and kept in their
// components.
bool isText(const ContentLine& line) {
  static constexpr std::string_view texts[] = {"FN",    "NOTE",     "TITLE",      "ROLE",
                                               "LABEL", "NICKNAME", "CATEGORIES", "X-"};
  return std::ranges::any_of(texts, [&](std::string_view name) {
    return name == "X-" ? line.name.size() > 2 &&
                              addressbook::equalsIgnoringCase(line.name.substr(0, 2), "X-")
                        : hasName(line, name);
  });
}

bool isStructured(const ContentLine& line) {
  return hasName(line, "N") || hasName(line, "ADR") || hasName(line, "ORG");
}

// The parameters of a line in the spelling of vCard 3.0: bare types of 2.1
// ("TEL;HOME;VOICE") as one TYPE parameter; of a 2.1 line, whose value is
// written anew, its charset and quoted-printable encoding dropped and BASE64
// as "b".
std::string parametersOf(std::string_view parameters, bool from21) {
  std::vector<std::string_view> types;
  std::string kept;
  std::size_t start = 1;
  while (start < parameters.size()) {
    std::size_t end = std::min(parameters.find(';', start), parameters.size());
    std::string_view part = parameters.substr(start, end - start);
    start = end + 1;
    std::size_t equals = part.find('=');
    if (equals == std::string_view::npos) {
      if (addressbook::equalsIgnoringCase(part, "QUOTED-PRINTABLE")) continue;
      if (addressbook::equalsIgnoringCase(part, "BASE64")) {
        kept += ";ENCODING=b";
        continue;
      }
      if (!part.empty()) types.push_back(part);
      continue;
    }
    std::string_view name = part.substr(0, equals);
    std::string_view value = part.substr(equals + 1);
    if (from21 && addressbook::equalsIgnoringCase(name, "CHARSET")) continue;
    if (from21 && addressbook::equalsIgnoringCase(name, "ENCODING")) {
      if (addressbook::equalsIgnoringCase(value, "BASE64") ||
          addressbook::equalsIgnoringCase(value, "B")) {
        kept += ";ENCODING=b";
      }
      continue;
    }
    kept += ';';
    kept += part;
  }
  if (types.empty()) return kept;
  std::string typed = ";TYPE=";
  for (std::size_t i = 0; i < types.size(); ++i) {
    if (i > 0) typed += ',';
    typed += types[i];
  }
  return typed + kept;
}

bool isBase64(std::string_view parameters) {
  for (std::size_t i = 0; i + 6 <= parameters.size(); ++i) {
    if (addressbook::equalsIgnoringCase(parameters.substr(i, 6), "BASE64")) return true;
  }
  return false;
}

// The value of a 2.1 line written anew as 3.0 writes it: UTF-8, escaped.
std::string valueOf(const ContentLine& line) {
  if (isBase64(line.parameters)) return std::string(line.value);
  ValueForm from = addressbook::valueFormOf(line, 21);
  ValueForm to;
  to.charset = from.charset == ValueForm::Charset::other ? ValueForm::Charset::other
                                                         : ValueForm::Charset::utf8;
  to.escaped = true;
  if (!isStructured(line)) {
    return addressbook::encodeValue(addressbook::decodeValue(line.value, from), to, isText(line));
  }
  std::string value;
  bool first = true;
  for (std::string_view component : addressbook::components(line.value)) {
    if (!first) value += ';';
    first = false;
    value += addressbook::encodeComponent(addressbook::decodeComponent(component, from), to);
  }
  return value;
}

// The value of a line of vCard 3.0 or 4.0 in UTF-8. Some programs wrote
// such cards in Windows-1252, with the program's 0x07 for a line break in
// a note: their bytes are converted, their escapes kept.
std::string utf8ValueOf(const ContentLine& line) {
  std::string_view value = line.value;
  if (text::cp1252::textFromUtf8(value) && value.find('\x07') == std::string_view::npos) {
    return std::string(value);
  }
  std::string converted;
  for (char c : text::cp1252::textToUtf8(value)) {
    converted += c == '\x07' ? std::string("\\n") : std::string(1, c);
  }
  return converted;
}

std::string trimmed(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  return std::string(text);
}

}  // namespace

std::string serverForm(std::string_view card, std::string_view uid) {
  addressbook::CardFields fields = addressbook::readCardFields(fileForm(card));
  std::string body;
  bool hasUid = false;
  bool hasFn = false;
  for (const CardProperty& property : cardProperties(fileForm(card))) {
    ContentLine line = addressbook::parseContentLine(property.line);
    if (property.name == "VERSION") continue;
    hasUid = hasUid || property.name == "UID";
    hasFn = hasFn || property.name == "FN";
    std::string head(line.group.empty() ? "" : std::string(line.group) + ".");
    head += line.name;
    if (fields.version >= 30) {
      body += head + parametersOf(line.parameters, false) + ":" + utf8ValueOf(line) + "\r\n";
    } else {
      body += head + parametersOf(line.parameters, true) + ":" + valueOf(line) + "\r\n";
    }
  }
  std::string out = "BEGIN:VCARD\r\nVERSION:";
  out += fields.version >= 40 ? "4.0\r\n" : "3.0\r\n";
  if (!hasUid) out += "UID:" + std::string(uid) + "\r\n";
  if (!hasFn) {
    ValueForm utf8;
    utf8.charset = ValueForm::Charset::utf8;
    utf8.escaped = true;
    // The name as the window shows it: "family;given" becomes "given family".
    std::string_view shown = fields.shown[0];
    std::size_t semicolon = shown.find(';');
    std::string name = semicolon == std::string_view::npos
                           ? std::string(shown)
                           : trimmed(std::string(shown.substr(semicolon + 1)) + " " +
                                     std::string(shown.substr(0, semicolon)));
    if (name.empty()) name = addressbook::unnamedCard;
    out += "FN:" + addressbook::encodeValue(name, utf8, true) + "\r\n";
  }
  return out + body + "END:VCARD\r\n";
}

std::string fileForm(std::string_view card) {
  std::string out;
  out.reserve(card.size() + card.size() / 16);
  for (std::size_t i = 0; i < card.size(); ++i) {
    if (card[i] == '\n' && (i == 0 || card[i - 1] != '\r')) out += '\r';
    out += card[i];
  }
  if (!out.ends_with("\r\n")) out += "\r\n";
  return out;
}

}  // namespace carddav
