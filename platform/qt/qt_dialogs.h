#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "platform/dialogs.h"
#include "platform/qt/tooltip_controller.h"

namespace platform::qt {

class QtWindow;

// Message boxes, file dialogs and the port settings dialog with Qt Widgets.
// Needs a QApplication. The owner window (may be null) owns the port
// settings dialog and lends it its font and tooltips; message boxes have no
// owner and come to the front.
class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QtWindow* owner);
  ~QtDialogs() override;
  QtDialogs(const QtDialogs&) = delete;
  QtDialogs& operator=(const QtDialogs&) = delete;

  Answer messageBox(std::string_view text, std::string_view caption,
                    MessageButtons buttons = MessageButtons::ok,
                    MessageIcon icon = MessageIcon::none,
                    Answer defaultButton = Answer::yes) override;
  // The path chosen (absolute, Windows-1252). A path with a character that
  // Windows-1252 lacks cannot be used by the program: the user is told and
  // the result is nothing, as after Cancel. (Whether the configuration can
  // hold the name is for the caller to judge.)
  std::optional<std::string> openFile(const FileDialogRequest& request) override;
  std::optional<std::string> saveFile(const FileDialogRequest& request) override;
  std::optional<std::string> portSettings(std::string_view storedPort) override;

 private:
  enum class FileMode { open, save };
  std::optional<std::string> chooseFile(const FileDialogRequest& request, FileMode mode);

  QtWindow* owner_;
  std::unique_ptr<TooltipController> ownTooltips_;  // when there is no owner
};

}  // namespace platform::qt
