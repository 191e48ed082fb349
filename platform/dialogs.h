#pragma once

#include <optional>
#include <string>
#include <string_view>

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
  // The chosen path, or nothing when the user cancelled.
  virtual std::optional<std::string> openFile(const FileDialogRequest& request) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogRequest& request) = 0;
  // The port settings dialog: shows the given port, returns the entered text
  // when OK was pressed, nothing when the dialog was closed otherwise.
  virtual std::optional<std::string> portSettings(std::string_view storedPort) = 0;
};

}  // namespace platform
