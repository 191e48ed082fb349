#include "addressbook/card_fields.h"

#include <algorithm>
#include <optional>

#include "addressbook/birthday.h"
#include "addressbook/content_line.h"
#include "addressbook/field_table.h"
#include "addressbook/numbers.h"
#include "addressbook/property_value.h"

namespace addressbook {

namespace {

// The TEL column of a line by its types, 0 for none of them.
int telRow(unsigned types) {
  if ((types & Parameters::fax) != 0) return field::fax;
  if ((types & Parameters::cell) != 0) return field::mobile;
  if ((types & Parameters::work) != 0) return field::workPhone;
  if ((types & Parameters::home) != 0) return field::homePhone;
  return 0;
}

// The properties that the program reads.
enum class Property { other, n, tel, email, bday, note, fn, org, nickname, version };

Property propertyOf(const ContentLine& line) {
  struct Known {
    std::string_view name;
    Property property;
  };
  static constexpr Known known[] = {
      {"N", Property::n},       {"TEL", Property::tel},           {"EMAIL", Property::email},
      {"BDAY", Property::bday}, {"NOTE", Property::note},         {"FN", Property::fn},
      {"ORG", Property::org},   {"NICKNAME", Property::nickname}, {"VERSION", Property::version},
  };
  if (!line.isProperty) return Property::other;
  for (const Known& one : known) {
    if (line.name.size() == one.name.size() && equalsIgnoringCase(line.name, one.name)) {
      return one.property;
    }
  }
  return Property::other;
}

// The field a property fills; TEL by the types of its parameters.
int fieldOfProperty(Property property, const Parameters& parameters) {
  switch (property) {
    case Property::n:
      return field::name;
    case Property::tel:
      return telRow(parameters.types);
    case Property::email:
      return field::email;
    case Property::bday:
      return field::birthday;
    case Property::note:
      return field::notes;
    default:
      return 0;
  }
}

int versionOf(std::string_view value) {
  value = trimBlanks(value);
  if (value.starts_with("4")) return 40;
  if (value.starts_with("3")) return 30;
  return 21;
}

// The first line of a kind, and the first of them marked preferred.
struct Choice {
  int first = -1;
  int preferred = -1;

  void offer(int line, bool isPreferred) {
    if (first < 0) first = line;
    if (isPreferred && preferred < 0) preferred = line;
  }
  [[nodiscard]] int chosen() const { return preferred >= 0 ? preferred : first; }
};

// One line, unfolded when it needs to be, taken apart.
class LineReader {
 public:
  LineReader(std::string_view card, const std::vector<CardLine>& lines, int version)
      : card_(card), lines_(lines), version_(version) {}

  // The line's value as the program holds it.
  std::string value(int line) {
    ContentLine parsed = parse(line);
    return decodeValue(parsed.value, valueFormOf(parsed, version_));
  }

  // The first two components of a structured value (N: the family and the
  // given name), decoded.
  std::array<std::string, 2> firstComponents(int line) {
    ContentLine parsed = parse(line);
    ValueForm form = valueFormOf(parsed, version_);
    std::vector<std::string_view> parts = components(parsed.value);
    parts.resize(std::max<std::size_t>(parts.size(), 2));
    return {decodeComponent(parts[0], form), decodeComponent(parts[1], form)};
  }

 private:
  ContentLine parse(int line) {
    const CardLine& at = lines_[static_cast<std::size_t>(line)];
    if (!at.folded) return parseContentLine(at.head);
    // The head alone, when the value does not go on in the folds.
    unfolded_ = unfold(card_, at);
    return parseContentLine(unfolded_);
  }

  std::string_view card_;
  const std::vector<CardLine>& lines_;
  int version_;
  std::string unfolded_;
};

std::string nameOf(const std::array<std::string, 2>& familyAndGiven) {
  const auto& [family, given] = familyAndGiven;
  return given.empty() ? family : family + ';' + given;
}

}  // namespace

int fieldOfLine(std::string_view line) {
  ContentLine parsed = parseContentLine(line);
  return fieldOfProperty(propertyOf(parsed), readParameters(parsed.parameters));
}

bool isTelUri(std::string_view value) {
  return value.size() >= telScheme.size() &&
         equalsIgnoringCase(value.substr(0, telScheme.size()), telScheme);
}

CardFields readCardFields(std::string_view card) {
  CardFields fields;
  fields.source.fill(-1);
  fields.lines = cardLines(card);
  fields.lineRows.assign(fields.lines.size(), 0);

  int nameLine = -1;
  int orgLine = -1;
  int nicknameLine = -1;
  std::array<Choice, 9> choices;  // by field row
  Choice untypedTel;
  std::string unfolded;
  for (std::size_t i = 0; i < fields.lines.size(); ++i) {
    const CardLine& at = fields.lines[i];
    ContentLine line = parseContentLine(at.head);
    if (!line.isProperty && at.folded) {
      // Folded before its colon (rare, but allowed): the whole line tells.
      unfolded = unfold(card, at);
      line = parseContentLine(unfolded);
    }
    Property property = propertyOf(line);
    if (property == Property::other) continue;
    auto index = static_cast<int>(i);
    // Only numbers and e-mails are chosen by their parameters.
    Parameters parameters;
    if (property == Property::tel || property == Property::email) {
      parameters = readParameters(line.parameters);
    }
    int row = fieldOfProperty(property, parameters);
    if (row == field::name) {
      if (nameLine < 0) nameLine = index;
    } else if (row != 0) {
      choices[static_cast<std::size_t>(row)].offer(index, parameters.preferred);
    } else if (property == Property::version) {
      fields.version = versionOf(line.value);
      fields.versionLine = index;
    } else if (property == Property::fn) {
      row = field::name;
      if (fields.fnLine < 0) fields.fnLine = index;
    } else if (property == Property::org) {
      if (orgLine < 0) orgLine = index;
    } else if (property == Property::nickname) {
      if (nicknameLine < 0) nicknameLine = index;
    } else if (property == Property::tel && (parameters.types & Parameters::pager) == 0) {
      untypedTel.offer(index, parameters.preferred);
    }
    fields.lineRows[i] = row;
  }

  LineReader reader(card, fields.lines, fields.version);
  for (int row = field::workPhone; row <= field::notes; ++row) {
    fields.source[static_cast<std::size_t>(row - 1)] =
        choices[static_cast<std::size_t>(row)].chosen();
  }
  int& home = fields.source[field::homePhone - 1];
  if (home < 0) home = untypedTel.chosen();
  for (int row = field::workPhone; row <= field::notes; ++row) {
    int line = fields.source[static_cast<std::size_t>(row - 1)];
    if (line < 0) continue;
    std::string value = reader.value(line);
    if (row <= field::fax && isTelUri(value)) value.erase(0, telScheme.size());
    if (row == field::birthday) {
      std::optional<std::string> shown = readVcardBirthday(value);
      if (!shown) {
        shown = value;
        convertBirthday(*shown);
      }
      value = std::move(*shown);
    }
    fields.shown[static_cast<std::size_t>(row - 1)] = std::move(value);
  }

  fields.source[field::name - 1] = nameLine;
  std::string& name = fields.shown[field::name - 1];
  if (nameLine >= 0) name = nameOf(reader.firstComponents(nameLine));
  // Without a name in N, the card shows what else names it.
  for (int line : {fields.fnLine, orgLine, nicknameLine}) {
    if (!name.empty() || line < 0) continue;
    name = line == orgLine ? std::move(reader.firstComponents(line)[0]) : reader.value(line);
  }
  if (name.empty()) name = fields.shown[field::email - 1];
  for (int row = field::workPhone; name.empty() && row <= field::fax; ++row) {
    name = fields.shown[static_cast<std::size_t>(row - 1)];
  }
  if (name.empty()) name = unnamedCard;
  return fields;
}

}  // namespace addressbook
