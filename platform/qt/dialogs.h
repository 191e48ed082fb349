#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/dialogs.h"
#include "platform/qt/tooltip_controller.h"

namespace platform::qt {

class Window;

// Message boxes, file dialogs and the small dialogs of a DialogDefinition
// with Qt Widgets. Needs a QApplication. The owner window (may be null) owns
// the small dialogs and lends them its font and tooltips; message boxes have
// no owner and come to the front.
class Dialogs final : public platform::Dialogs {
 public:
  explicit Dialogs(Window* owner);
  ~Dialogs() override;
  Dialogs(const Dialogs&) = delete;
  Dialogs& operator=(const Dialogs&) = delete;

  Answer messageBox(std::string_view text, std::string_view caption,
                    MessageButtons buttons = MessageButtons::ok,
                    MessageIcon icon = MessageIcon::none,
                    Answer defaultButton = Answer::yes) override;
  // The refusal of a name without a Windows-1252 form has a warning icon
  // and the dialog as its owner. (Whether the configuration can hold the
  // name is for the caller to judge.)
  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;
  std::optional<DialogResult> askForTexts(const DialogDefinition& dialog,
                                          std::span<const DialogField> fields) override;

 private:
  enum class FileMode { open, save };
  std::optional<std::string> chooseFile(const FileDialogRequest& request, FileMode mode);

  Window* owner_;
  std::unique_ptr<TooltipController> ownTooltips_;  // when there is no owner
};

}  // namespace platform::qt
