#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>

#include "platform/qt/tooltip_controller.h"

namespace platform::qt {

// The "Einstellungen" dialog in which the user names the telephone's port:
// a caption, the port field (tooltip "z.B. COM3 oder COM12") and OK, which
// has the focus when the dialog opens. OK accepts; closing the dialog in any
// other way rejects.
class PortSettingsDialog : public QDialog {
 public:
  // Placed at (596, 289) of the owner's client area when there is an owner.
  PortSettingsDialog(const QString& storedPort, const QFont& font, TooltipController& tooltips,
                     QWidget* owner);

  [[nodiscard]] QLineEdit* portEdit() const { return port_; }
  [[nodiscard]] QPushButton* okButton() const { return ok_; }

 private:
  QLineEdit* port_;
  QPushButton* ok_;
};

}  // namespace platform::qt
