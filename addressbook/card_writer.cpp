#include "addressbook/card_writer.h"

#include <array>
#include <string_view>
#include <vector>

#include "addressbook/birthday.h"
#include "addressbook/card_fields.h"
#include "addressbook/content_line.h"
#include "addressbook/field_table.h"
#include "addressbook/folding.h"
#include "addressbook/property_value.h"

namespace addressbook {

namespace {

// The family and the given name of a name field ("Meier;Anna").
struct Name {
  std::string_view family;
  std::string_view given;
};

// The given name is all after the first ";", so that a ";" in it stays.
Name split(std::string_view name) {
  std::size_t semicolon = name.find(';');
  if (semicolon == std::string_view::npos) return {name, {}};
  return {name.substr(0, semicolon), name.substr(semicolon + 1)};
}

// "Anna Meier": what FN says of a name.
std::string formattedName(const Name& name) {
  std::string formatted(name.given);
  if (!formatted.empty() && !name.family.empty()) formatted += ' ';
  formatted += name.family;
  return formatted;
}

// The value a field's text becomes in a line of this form.
std::string lineValue(int row, std::string_view text, std::string_view oldValue,
                      const ValueForm& form) {
  switch (row) {
    case field::name: {
      // Only the family and the given name change; the other components
      // (additional names, prefixes, suffixes) stay as they were.
      std::vector<std::string_view> parts = components(oldValue);
      parts.resize(std::max<std::size_t>(parts.size(), 2));
      Name name = split(text);
      std::string family = encodeComponent(name.family, form);
      std::string given = encodeComponent(name.given, form);
      std::string value = family + ';' + given;
      for (std::size_t i = 2; i < parts.size(); ++i) value.append(";").append(parts[i]);
      return value;
    }
    case field::birthday:
      return encodeValue(writeVcardBirthday(text), form, false);
    case field::notes:
      return encodeValue(text, form, true);
    case field::email:
      return encodeValue(text, form, false);
    default: {
      std::string number = encodeValue(text, form, false);
      return isTelUri(oldValue) ? std::string(telScheme) + number : number;
    }
  }
}

// A line: its head as it was (group, name, parameters, ":") and a new value.
void appendLine(std::string& out, std::string_view head, std::string_view value,
                const ValueForm& form) {
  appendLineStart(out, head);
  // A quoted-printable value is not folded: its soft line breaks would be
  // needed instead.
  if (form.quotedPrintable) {
    out.append(value);
  } else {
    appendFolded(out, value);
  }
  endLine(out, lineEnd);
}

class CardRewrite {
 public:
  CardRewrite(std::string_view card, const RecordStore& store, std::size_t slot)
      : card_(card), fields_(readCardFields(card)) {
    for (int row = 1; row <= fieldCount(); ++row) {
      std::string_view now = store.field(slot, row);
      values_[static_cast<std::size_t>(row - 1)] = now;
      changed_[static_cast<std::size_t>(row - 1)] =
          now != fields_.shown[static_cast<std::size_t>(row - 1)];
    }
  }

  void appendTo(std::string& out) {
    std::array<int, 8> insertAfter = insertionPoints();
    for (std::size_t i = 0; i < fields_.lines.size(); ++i) {
      auto index = static_cast<int>(i);
      appendLineOrReplacement(out, index);
      for (int row = 1; row <= fieldCount(); ++row) {
        if (insertAfter[static_cast<std::size_t>(row - 1)] == index) appendNewLine(out, row);
      }
    }
  }

 private:
  [[nodiscard]] bool changed(int row) const { return changed_[static_cast<std::size_t>(row - 1)]; }
  [[nodiscard]] std::string_view value(int row) const {
    return values_[static_cast<std::size_t>(row - 1)];
  }
  [[nodiscard]] int source(int row) const {
    return fields_.source[static_cast<std::size_t>(row - 1)];
  }

  // Where a line for each changed field without a line of its own goes:
  // after the last line of the kinds before it, else after VERSION (or the
  // BEGIN line); never after the END line, nor after a quoted-printable
  // value that ends in a soft line break. -1: no new line.
  [[nodiscard]] std::array<int, 8> insertionPoints() const {
    std::array<int, 8> points{};
    points.fill(-1);
    // The last line a new one may follow: the one before END, else the last.
    int last = static_cast<int>(fields_.lines.size()) - 1;
    for (int i = last; i > 0; --i) {
      std::string_view head = fields_.lines[static_cast<std::size_t>(i)].head;
      if (head.size() >= 4 && equalsIgnoringCase(head.substr(0, 4), "END:")) {
        last = i - 1;
        break;
      }
    }
    for (int row = 1; row <= fieldCount(); ++row) {
      if (!changed(row) || source(row) >= 0 || value(row).empty()) continue;
      int after = std::max(fields_.versionLine, 0);
      for (std::size_t i = 0; i < fields_.lineRows.size(); ++i) {
        int kind = fields_.lineRows[i];
        if (kind >= 1 && kind < row) after = std::max(after, static_cast<int>(i));
      }
      after = std::min(after, std::max(last, 0));
      // Nothing may follow a value that goes on in the next line.
      while (after > 0 && fields_.lines[static_cast<std::size_t>(after)].endsInSoftBreak) --after;
      points[static_cast<std::size_t>(row - 1)] = after;
    }
    return points;
  }

  void appendLineOrReplacement(std::string& out, int index) {
    const CardLine& line = fields_.lines[static_cast<std::size_t>(index)];
    for (int row = 1; row <= fieldCount(); ++row) {
      if (source(row) != index || !changed(row)) continue;
      if (value(row).empty()) return;  // an emptied field takes its line along
      replaceValue(out, line, row, value(row));
      return;
    }
    if (index == fields_.fnLine && changed(field::name) && !value(field::name).empty()) {
      replaceValue(out, line, 0, formattedName(split(value(field::name))));
      return;
    }
    appendLines(out, card_.substr(line.begin, line.end - line.begin));
  }

  // row 0: the FN line.
  void replaceValue(std::string& out, const CardLine& line, int row, std::string_view text) {
    std::string unfolded = unfold(card_, line);
    ContentLine parsed = parseContentLine(unfolded);
    ValueForm form = valueFormOf(parsed, fields_.version);
    auto headLength = static_cast<std::size_t>(parsed.value.data() - unfolded.data());
    std::string_view head = std::string_view(unfolded).substr(0, headLength);
    std::string newValue =
        row == 0 ? encodeValue(text, form, true) : lineValue(row, text, parsed.value, form);
    appendLine(out, head, newValue, form);
  }

  void appendNewLine(std::string& out, int row) {
    ValueForm form;
    form.escaped = fields_.version >= 30;
    form.charset = fields_.version >= 30 ? ValueForm::Charset::utf8 : ValueForm::Charset::unnamed;
    std::string head = std::string(*fieldKey(row)) + ":";
    appendLine(out, head, lineValue(row, value(row), {}, form), form);
  }

  std::string_view card_;
  CardFields fields_;
  std::array<std::string_view, 8> values_;
  std::array<bool, 8> changed_{};
};

}  // namespace

void appendKeptCard(std::string& out, const RecordStore& store, std::size_t slot) {
  std::string_view card = store.card(slot);
  if (!store.changedSinceRead(slot)) {
    appendLines(out, card);
    return;
  }
  CardRewrite(card, store, slot).appendTo(out);
}

}  // namespace addressbook
