#include "platform/dialogs.h"

#include <algorithm>
#include <array>
#include <utility>

namespace platform {

namespace {

ControlId firstOf(const DialogDefinition& dialog, bool (*wanted)(ControlKind)) {
  auto found = std::ranges::find_if(dialog.controls, wanted, &ControlDefinition::kind);
  return found == dialog.controls.end() ? ControlId::none : found->id;
}

bool isButton(ControlKind kind) { return kind == ControlKind::button; }

}  // namespace

std::optional<std::string> Dialogs::askForText(const DialogDefinition& dialog,
                                               std::string_view text) {
  std::array given{DialogField{firstFieldOf(dialog), std::string(text)}};
  std::optional<DialogResult> result = askForTexts(dialog, given);
  if (!result || result->button != defaultButtonOf(dialog) || result->fields.empty())
    return std::nullopt;
  return std::move(result->fields.front().text);
}

ControlId defaultButtonOf(const DialogDefinition& dialog) { return firstOf(dialog, &isButton); }

ControlId firstFieldOf(const DialogDefinition& dialog) { return firstOf(dialog, &isLineEdit); }

std::string_view textOf(std::span<const DialogField> fields, ControlId id) {
  auto found = std::ranges::find(fields, id, &DialogField::id);
  return found == fields.end() ? std::string_view() : std::string_view(found->text);
}

}  // namespace platform
