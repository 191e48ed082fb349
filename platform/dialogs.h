#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window_definition.h"

namespace platform {

enum class MessageButtons { ok, yesNo, yesNoCancel };
// exclamation is the warning triangle (MB_ICONEXCLAMATION, MB_ICONWARNING).
enum class MessageIcon { none, exclamation };
enum class Answer { ok, yes, no, cancel };

struct FileDialogRequest {
  std::string title;          // Windows-1252
  std::string filterName;     // "vcard"
  std::string filterPattern;  // "*.vcf"
  std::string defaultSuffix;  // "vcf"
  std::string initialPath;    // folder or file the dialog starts in
  std::string proposedName;   // file name offered in the name field
  // What the user is told when the chosen name has a character without a
  // Windows-1252 form: a box with this caption and this text followed by the
  // name as chosen (which only the dialog can show as it is).
  std::string refusalCaption;
  std::string refusalText;
};

// The text of one edit field of a dialog (Windows-1252).
struct DialogField {
  ControlId id;
  std::string text;
  bool operator==(const DialogField&) const = default;
};

// How a dialog of a DialogDefinition was closed: the button pressed, and
// every edit field of the dialog with its text, in definition order.
struct DialogResult {
  ControlId button;
  std::vector<DialogField> fields;
  bool operator==(const DialogResult&) const = default;
};

// Modal dialogs. Texts are Windows-1252 bytes; CR LF breaks lines.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // defaultButton is the button that Enter presses in a box with Yes and No.
  virtual Answer messageBox(std::string_view text, std::string_view caption,
                            MessageButtons buttons = MessageButtons::ok,
                            MessageIcon icon = MessageIcon::none,
                            Answer defaultButton = Answer::yes) = 0;
  // The chosen path (absolute, Windows-1252), or nothing when the user
  // cancelled or chose a name without a Windows-1252 form (after the
  // request's refusal was shown).
  virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
  // The dialog of the definition, modal over the main window, its edit
  // fields filled from fields by id (the others empty) and the focus on its
  // default button: the button that closed it and the text of every field;
  // nothing when it was closed otherwise (Esc, the close box).
  virtual std::optional<DialogResult> askForTexts(const DialogDefinition& dialog,
                                                  std::span<const DialogField> fields) = 0;
  // The same for a dialog with one edit field, which shows text: the
  // field's text when the default button closed the dialog, else nothing.
  [[nodiscard]] std::optional<std::string> askForText(const DialogDefinition& dialog,
                                                      std::string_view text);
};

// The first button of the dialog, which is its default button; none when it
// has no button.
[[nodiscard]] ControlId defaultButtonOf(const DialogDefinition& dialog);
// The first edit field of the dialog; none when it has none.
[[nodiscard]] ControlId firstFieldOf(const DialogDefinition& dialog);
// The text of the field with this id among fields; empty when it is not one.
[[nodiscard]] std::string_view textOf(std::span<const DialogField> fields, ControlId id);

}  // namespace platform
