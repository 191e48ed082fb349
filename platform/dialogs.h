#pragma once

#include <optional>
#include <string>
#include <string_view>

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
  // The dialog of the definition, modal over the main window, with text in
  // its edit field and the focus on its default button: the field's text
  // when the default button was pressed, nothing when the dialog was closed
  // in any other way.
  virtual std::optional<std::string> askForText(const DialogDefinition& dialog,
                                                std::string_view text) = 0;
};

}  // namespace platform
