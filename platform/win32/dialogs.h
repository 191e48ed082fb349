#pragma once

#include "platform/dialogs.h"
#include "platform/win32/window.h"

namespace platform::win32 {

// Message boxes, the common file dialogs and the small dialogs of a
// DialogDefinition on the Win32 API. Message boxes have no owner, are task-modal and come to the
// foreground; the file dialogs and the small dialogs are owned by the
// main window.
class Dialogs final : public platform::Dialogs {
 public:
  explicit Dialogs(Window& owner) : owner_(owner) {}

  Answer messageBox(std::string_view text, std::string_view caption,
                    MessageButtons buttons = MessageButtons::ok,
                    MessageIcon icon = MessageIcon::none,
                    Answer defaultButton = Answer::yes) override;
  // The refusal of a name without a Windows-1252 form has a warning icon.
  // The current directory stays as it was, a file that does not exist is
  // accepted, and an existing one is replaced without a question.
  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;
  std::optional<DialogResult> askForTexts(const DialogDefinition& dialog,
                                          std::span<const DialogField> fields) override;

 private:
  enum class FileMode { open, save };
  std::optional<std::string> chooseFile(const FileDialogRequest& request, FileMode mode);

  Window& owner_;
};

}  // namespace platform::win32
