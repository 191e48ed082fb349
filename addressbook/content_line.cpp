#include "addressbook/content_line.h"

namespace addressbook {

namespace {

bool isNameCharacter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

std::string_view withoutQuotes(std::string_view value) {
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Where the first c stands in text, or its size. The texts are a few bytes
// long: a plain loop is quicker than a call of memchr.
std::size_t indexOf(std::string_view text, char c) {
  std::size_t at = 0;
  while (at < text.size() && text[at] != c) ++at;
  return at;
}

// Where the first stop character outside double quotes stands in text, or
// its size.
std::size_t endOfUnquoted(std::string_view text, char stop) {
  bool quoted = false;
  std::size_t end = 0;
  for (; end < text.size(); ++end) {
    if (text[end] == '"') {
      quoted = !quoted;
    } else if (text[end] == stop && !quoted) {
      break;
    }
  }
  return end;
}

// Calls take(name, value) for each parameter of the parameter text (its
// leading ';' included); a bare parameter has an empty name and the whole
// text as value.
template <typename Take>
void forEachParameter(std::string_view parameters, Take take) {
  while (!parameters.empty()) {
    parameters.remove_prefix(1);  // the ';'
    std::size_t end = endOfUnquoted(parameters, ';');
    std::string_view one = parameters.substr(0, end);
    parameters.remove_prefix(end);
    std::size_t equals = indexOf(one, '=');
    if (equals == one.size()) {
      take(std::string_view(), one);
    } else {
      take(one.substr(0, equals), withoutQuotes(one.substr(equals + 1)));
    }
  }
}

// Calls take(item) for each item of a comma-separated list (quotes around
// the whole list or around single items do not count).
template <typename Take>
void forEachItem(std::string_view list, Take take) {
  while (true) {
    std::size_t comma = indexOf(list, ',');
    take(withoutQuotes(list.substr(0, comma)));
    if (comma == list.size()) return;
    list.remove_prefix(comma + 1);
  }
}

void addType(Parameters& read, std::string_view type) {
  auto is = [&](std::string_view name) { return equalsIgnoringCase(type, name); };
  switch (type.size()) {
    case 3:
      if (is("FAX")) read.types |= Parameters::fax;
      break;
    case 4:
      if (is("WORK")) read.types |= Parameters::work;
      if (is("HOME")) read.types |= Parameters::home;
      if (is("CELL")) read.types |= Parameters::cell;
      if (is("PREF")) read.preferred = true;
      break;
    case 5:
      if (is("PAGER")) read.types |= Parameters::pager;
      break;
    case 6:
      if (is("MOBILE") || is("IPHONE")) read.types |= Parameters::cell;
      break;
    case 16:
      if (is("QUOTED-PRINTABLE")) read.quotedPrintable = true;
      break;
    default:
      break;
  }
}

}  // namespace

ContentLine parseContentLine(std::string_view line) {
  ContentLine parsed;
  std::size_t nameStart = 0;
  std::size_t at = 0;
  while (at < line.size() && isNameCharacter(line[at])) ++at;
  if (at < line.size() && line[at] == '.' && at > 0) {
    parsed.group = line.substr(0, at);
    nameStart = ++at;
    while (at < line.size() && isNameCharacter(line[at])) ++at;
  }
  parsed.name = line.substr(nameStart, at - nameStart);
  if (parsed.name.empty() || at == line.size() || (line[at] != ';' && line[at] != ':')) {
    return parsed;
  }
  std::size_t parametersStart = at;
  at += endOfUnquoted(line.substr(at), ':');
  if (at == line.size()) return parsed;
  parsed.parameters = line.substr(parametersStart, at - parametersStart);
  parsed.value = line.substr(at + 1);
  parsed.isProperty = true;
  return parsed;
}

Parameters readParameters(std::string_view parameters) {
  Parameters read;
  forEachParameter(parameters, [&](std::string_view name, std::string_view value) {
    if (name.empty()) {
      addType(read, value);
    } else if (equalsIgnoringCase(name, "TYPE")) {
      forEachItem(value, [&](std::string_view item) { addType(read, item); });
    } else if (equalsIgnoringCase(name, "PREF")) {
      read.preferred = true;
    } else if (equalsIgnoringCase(name, "ENCODING")) {
      if (equalsIgnoringCase(value, "QUOTED-PRINTABLE")) read.quotedPrintable = true;
    } else if (equalsIgnoringCase(name, "CHARSET")) {
      if (!read.charset) read.charset = value;
    }
  });
  return read;
}

}  // namespace addressbook
